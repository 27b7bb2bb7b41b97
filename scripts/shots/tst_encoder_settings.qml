import QtQuick 2.15
import QtTest 1.2

// Renders the encoder settings window with a machine that is on and homed,
// all three encoders present and fed back, readings in motion (Y's peak
// over half its limit, so drawn yellow) and the restart notice of a changed
// feedback, in Russian and in English, into encoder-settings-ru.png and
// encoder-settings-en.png in the current folder. Run by
// scripts/shoot-windows.sh.
TestCase {
    name: "EncoderSettingsShots"
    when: windowShown

    property var win: root.encoderSettingsWindow

    function shoot(lang, file) {
        root.lang = lang
        wait(200)
        verify(probe.grabWindow(win, file), "written " + file)
    }

    function test_shots() {
        root.cncRunningGet(true)
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        root.encoderScaleGet(400, 410, 200)
        root.stepperScaleGet(80, 80.5, 80)
        root.encExistGet(true, true, true)
        root.homeExistsGet(true, true, true)
        root.encXEnabled = true
        root.encYEnabled = true
        root.encZEnabled = true
        root.maxDivX = 2
        root.maxDivY = 1.5
        root.maxDivZ = 1
        root.encStepperMaxDivEnabled = true
        root.halStepperXGet(125.5)
        root.halEncXGet(125.482)
        root.halStepperYGet(84.25)
        root.halEncYGet(84.31)
        root.halStepperZGet(12.4)
        root.halEncZGet(12.395)
        root.encStepperXDivGet(0.018)
        root.encStepperYDivGet(-0.06)
        root.encStepperZDivGet(0.005)
        root.encStepperXMaxDivGet(0.21)
        root.encStepperYMaxDivGet(0.96)
        root.encStepperZMaxDivGet(0.04)
        probe.setValue(root.encoderState, "encoderRestartNeeded", true)
        win.bringToFront()
        tryVerify(function() { return win.visible })
        shoot("ru", "encoder-settings-ru.png")
        shoot("en", "encoder-settings-en.png")
        root.lang = "ru"
    }
}

import QtQuick 2.15
import QtTest 1.2

// Renders the direct control window, extra panel open, with a machine that
// is on and calibrated, in Russian and in English, into
// direct-control-ru.png and direct-control-en.png in the current folder.
// Run by scripts/shoot-windows.sh.
TestCase {
    name: "DirectControlShots"
    when: windowShown

    property var win: root.executionInterface

    function shoot(lang, file) {
        root.lang = lang
        wait(200)
        verify(probe.grabWindow(win, file), "written " + file)
    }

    function test_shots() {
        root.cncRunning = true
        root.machineOn = true
        root.jointHomedGet(true, true, true, true, true)
        root.machineHomed2 = true
        root.bAxisEnabled = true
        root.relX = 10
        root.relY = 5
        root.jointPosGet([125.5, 84.25, 12.4, 90])
        root.jointPos2Get([3.5, 0, 0])
        root.encoderStepGet(0.005)
        root.setMachineSpeedSlider(40)
        for (var i = 0; i < 16; ++i)
            root.doutListChangeEnabled(i, true)
        root.doutGet(0, true)
        root.halESTOP = false
        root.halHomeX = true
        win.extraOpen = true
        win.bringToFront()
        tryVerify(function() { return win.visible })
        shoot("ru", "direct-control-ru.png")
        shoot("en", "direct-control-en.png")
        root.lang = "ru"
    }
}

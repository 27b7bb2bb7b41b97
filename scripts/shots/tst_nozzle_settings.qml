import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/nozzleBaseCalibration.js" as Base

// Renders the nozzle settings window on the simulated machine's settings
// (six nozzles on a KESTRAVO base) in debug mode with both XY encoders on,
// the machine calibrated, after an automatic measurement of the base whose
// result waits for "Сохранить" or "Отмена". In Russian and in English, into
// nozzle-settings-ru.png and nozzle-settings-en.png in the current folder.
// Run by scripts/shoot-windows.sh.
TestCase {
    name: "NozzleSettingsShots"
    when: windowShown

    property var win: root.nozzleSettingsWindow

    // The measurement's result again in each language: its text is made when
    // it ends.
    function measured() {
        probe.call(win, "discardResult")
        var yArr = [0, 20.02, 35.01, 49.98, 65.03, 80.0, 94.97]
        probe.call(win, "autoDone", [{ "ok": true, "type": 0, "count": 6, "xCurr": 12.4, "yArr": yArr,
                                       "zLow": 8.5, "zLowest": 3.2, "text": Base.resultText(12.4, yArr, 6) }])
    }

    function shoot(lang, file) {
        root.lang = lang
        measured()
        wait(200)
        verify(probe.grabWindow(win, file), "written " + file)
    }

    function test_shots() {
        tryVerify(function() { return root.cupModel.count >= 6 }, 10000)
        root.cncRunningGet(true)
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        probe.setValue(root.machineState, "machineHomed2", true)
        root.encExistGet(true, true, true)
        root.homeExistsGet(true, true, true)
        root.encXEnabled = true
        root.encYEnabled = true
        root.debugMode = true
        probe.call(root, "jointPosGet", [[40, 60, 10, 0]])
        win.bringToFront()
        tryVerify(function() { return win.visible })
        shoot("ru", "nozzle-settings-ru.png")
        shoot("en", "nozzle-settings-en.png")
        probe.call(win, "discardResult")
        root.debugMode = false
        root.lang = "ru"
    }
}

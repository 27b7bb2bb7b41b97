import QtQuick 2.15
import QtTest 1.2

// Drives the real program (root = its main window, worker = its back end).
TestCase {
    id: testCase
    name: "Shell"
    when: windowShown

    SignalSpy { id: translateSpy; target: root; signalName: "translate" }

    function lastLog() {
        var log = root.logModel
        return log.count > 0 ? probe.entry(log, log.count - 1) : null
    }

    function cleanup() {
        root.lang = "ru"
    }

    // F4 opens the job screen and F12 closes every tool window; F1 is kept
    // for the direct-control window and opens nothing yet.
    function test_applicationKeys_data() {
        return [
            { tag: "F1", key: Qt.Key_F1, shown: "" },
            { tag: "F4", key: Qt.Key_F4, shown: "smtInterface" },
        ]
    }
    function test_applicationKeys(data) {
        var names = ["smtInterface", "camera1Window", "camera2Window", "cameraSettings"]
        keyClick(data.key)
        for (var i = 0; i < names.length; ++i)
            compare(root.findToolWindow(names[i]).visible, names[i] === data.shown, names[i])
        keyClick(Qt.Key_F12)
        for (i = 0; i < names.length; ++i)
            verify(!root.findToolWindow(names[i]).visible, names[i])
    }

    // Started: the first log line (the stored values themselves:
    // tst_wiring.cpp).
    function test_started() {
        compare(probe.entry(root.logModel, 0).message, "Программа запущена")
    }

    function test_languageSwitch() {
        compare(root.title, "Kestravo — установщик компонентов")
        root.lang = "en"
        compare(translateSpy.count, 1)
        compare(root.title, "Kestravo — component placer")
        root.logAdd(root.t + qsTranslate("main", "Программа запущена"))
        compare(lastLog().message, "Program started")
        root.lang = "ru"
        compare(translateSpy.count, 2)
    }

    // The error window shows each distinct text once while it is open; the
    // log keeps every occurrence.
    function test_errorShownOncePerDistinctText() {
        var window = probe.find(root, "errorWindow")
        window.close()
        var before = root.logModel.count
        root.errorMessage("Питатель L3 пуст", true, "")
        root.errorMessage("Питатель L3 пуст", true, "")
        verify(window.visible)
        compare(window.messages.count, 1)
        compare(root.logModel.count, before + 2)
        compare(lastLog().message, "Ошибка: Питатель L3 пуст")
        root.errorMessage("Проверьте насадку", true, "warning")
        compare(window.messages.count, 2)
        window.close()
        root.errorAdd("строка ошибки")
        compare(probe.entry(root.errorListModel, root.errorListModel.count - 1).message, "строка ошибки")
    }

    // A jog caps the speed slider by the XY velocity limit: 50 over a top
    // speed of 1000 is 5 %, the slider step below it is 19 (4.6 %).
    function test_jogCapsTheSpeedByTheVelocityLimit() {
        var vel = root.maxVel
        var limit = root.maxVelXYLimit
        root.maxVel = [800, 1000, 20, 360, 10, 10]
        root.maxVelXYLimit = 50
        root.setMachineSpeedSlider(100)
        compare(root.machineSpeed, 100)
        root.machineMove(0, true, 10, true)
        root.machineMove(0, true, 10, false)
        compare(root.machineSpeedSliderValue, 19)
        verify(root.machineSpeed <= 5 && root.machineSpeed > 4.5, root.machineSpeed)
        // Below the cap nothing changes.
        root.setMachineSpeedSlider(10)
        root.machineMove(1, false, 10, true)
        root.machineMove(1, false, 10, false)
        compare(root.machineSpeedSliderValue, 10)
        root.maxVel = vel
        root.maxVelXYLimit = limit
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// Run control in the whole program: a program of starting and ending G-code
// runs from "Начать" through the nozzle confirmation, the start key pauses
// and an operator stop sends the ending G-code once the machine is idle,
// the screen cannot be closed during a run, an operator panel waits for its
// main button, and the screen's counters and buttons follow the run state.
// The machine link is detached: each block is recorded and answered as done
// (at once, or when the test says so).
TestCase {
    id: testCase
    name: "RunControl"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null

    readonly property string startBlock: "g0 x1\ng0 zMax\n"
    readonly property string endBlock: "g0 y1\ng0 zMax\n"

    function control(name) {
        var item = findChild(screen.contentItem, name)
        verify(item !== null, name)
        return item
    }
    function run(name) { return probe.value(screen, name) }

    function initTestCase() {
        verify(probe.detachMachineLink())
        call("clearProject")
        root.allowRunWithoutFiducials = true
        root.calibBeforeRun = false
        root.projectAoiEnabled = false
        root.startingGcode = "g0 x1"
        root.endingGcode = "g0 y1"
        root.endingGCodeOnUserStop = true
        root.progAutoRestart = false
        Rig.calibrate()
    }

    // Every case starts from the screen shown afresh with its program of two
    // rows, no run, every block answered at once.
    function init() { showScreen(false) }
    function showScreen(nozzleWarning) {
        probe.setMachineLinkAnswers(true)
        if (run("executing"))
            root.appError("test error")
        root.cupWarningEnabled = nozzleWarning
        probe.setValue(screen, "executing", false)
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 2000)
        compare(jobModel.rowCount, 2)
    }
    // The number of items called `name` under `item`.
    function countNamed(item, name) {
        var n = item.objectName === name ? 1 : 0
        for (var i = 0; i < item.children.length; ++i)
            n += countNamed(item.children[i], name)
        return n
    }
    function call(name) { probe.call(root.projectActions, name, []) }

    function cleanupTestCase() {
        probe.setMachineLinkAnswers(true)
        probe.setValue(screen, "executing", false)
        screen.close()
        root.machineOnGet(false)
        probe.attachMachineLink()
    }

    function test_programRunsFromStart() {
        showScreen(true)
        verify(screen.startEnabled)
        verify(run("cupWarning"))                    // armed when the screen was shown
        var log = root.logModel.count
        var sent = probe.machineLinkTexts().length
        var start = control("startButton")
        mouseClick(start)
        // The nozzle confirmation comes first.
        verify(run("nozzleConfirmShown"))
        var confirm = screen.nozzleConfirm
        verify(confirm.visible)
        verify(!run("executing"))
        mouseClick(findChild(confirm.contentItem, "nozzleConfirmYes"))
        verify(!confirm.visible)
        tryVerify(function() { return !run("executing") && jobModel.getComplete(1) !== "" }, 5000)
        compare(Rig.completes(jobModel), ["выполнено", "выполнено"])
        compare(probe.machineLinkTexts().slice(sent), [startBlock, endBlock])
        compare(Rig.logMessages(log), ["Программа расстановки запущена",
                                   "Программа расстановки завершена. Установлено компонентов: 0"])
        verify(run("lastRunFinished"))
        verify(!run("cupWarning"))                   // every stop disarms it
        verify(!root.activityRunning("placement"))
        compare(run("pcbCounter"), 0)                // nothing placed: no board
    }

    function test_startKeyPausesAndStopSendsTheEndingGCode() {
        probe.setMachineLinkAnswers(false)
        var sent = probe.machineLinkTexts().length
        root.progStartBtnPressed()                   // the start key starts a run (no confirmation now)
        verify(run("executing"))
        verify(root.activityRunning("placement"))
        compare(probe.machineLinkTexts().slice(sent), [startBlock])
        compare(control("startButton").text, "Остановить")
        // Closing is refused during a run.
        screen.close()
        verify(screen.visible)
        // The key pauses; the pause button shows it.
        root.progStartBtnPressed()
        verify(run("paused"))
        verify(control("pauseButton").checked)
        // The block still completes its row; the next one is held.
        probe.answerMachineLink(true)
        compare(jobModel.getComplete(0), "выполнено")
        compare(probe.machineLinkTexts().length, sent + 1)
        // "Остановить" while the channel is idle: the ending G-code goes out at once.
        mouseClick(control("startButton"))
        verify(!run("executing"))
        verify(!run("paused"))
        compare(probe.machineLinkTexts().slice(sent), [startBlock, endBlock])
        probe.answerMachineLink(true)
        compare(probe.machineLinkTexts().length, sent + 2)
        verify(!run("lastRunFinished"))
    }

    function test_stopWhileABlockRuns() {
        probe.setMachineLinkAnswers(false)
        var sent = probe.machineLinkTexts().length
        root.progStartBtnPressed()
        verify(run("executing"))
        compare(root.startStopF(), true)              // the operator stops
        verify(!run("executing"))
        compare(probe.machineLinkTexts().length, sent + 1)
        probe.answerMachineLink(true)                 // the machine becomes idle
        compare(probe.machineLinkTexts().slice(sent), [startBlock, endBlock])
        probe.answerMachineLink(true)
        // An error stop sends nothing.
        root.progStartBtnPressed()
        verify(run("executing"))
        root.appError("test error")
        verify(!run("executing"))
        probe.answerMachineLink(true)
        compare(probe.machineLinkTexts().slice(sent + 2), [startBlock])
    }

    function test_operatorPanel() {
        probe.setMachineLinkAnswers(false)
        root.progStartBtnPressed()
        verify(run("executing"))
        var beeps = worker.beepCount()
        probe.forget("panel")
        verify(probe.callRecording(root.jobPort, "showPanel", ["tapeChange", {}, "@recorder"], "panel"))
        var area = control("operatorPanel")
        verify(area.visible)
        verify(run("operatorPanelShown"))
        verify(findChild(area, "operatorPanelText").text.indexOf("Произведите смену ленты") === 0)
        compare(worker.beepCount(), beeps + 1)
        verify(!control("pauseButton").enabled)
        // The start key presses the main button.
        root.progStartBtnPressed()
        compare(probe.recorded("panel"), [["continue"]])
        verify(!area.visible)
        verify(!run("operatorPanelShown"))
        // A button of the panel itself.
        probe.callRecording(root.jobPort, "showPanel", ["notRecognised", {}, "@recorder"], "panel")
        // The buttons of the panel before are gone, the new ones laid out.
        tryVerify(function() {
            var b = findChild(area, "panelButton_skip")
            return countNamed(area, "panelButton_skip") === 1 && b.visible && b.width > 0 && b.x > 0
        })
        mouseClick(findChild(area, "panelButton_skip"))
        compare(probe.recorded("panel"), [["continue"], ["skip"]])
        verify(!area.visible)
        root.appError("test error")
        probe.answerMachineLink(true)
        verify(!run("executing"))
    }

    function test_boardCounterReset() {
        probe.setValue(screen, "pcbCounter", 3)
        compare(control("pcbCounterText").text, "Закончено плат: 3")
        mouseClick(control("pcbCounterResetButton"))
        mouseClick(control("pcbCounterResetYes"))
        compare(run("pcbCounter"), 0)
        compare(control("pcbCounterText").text, "Закончено плат: 0")
    }

    function test_missedComponentsWindow() {
        probe.setMachineLinkAnswers(false)
        root.progStartBtnPressed()
        verify(run("executing"))
        // The run skips a component.
        var missed = probe.call(screen, "missedJobModel")
        probe.call(missed, "append", [{ "op": "Питатель: снизу №1", "enabled": 1, "opFunc": "setupFeeder", "p1": 0 }])
        probe.call(missed, "appendChild", [{ "op": "R1", "enabled": 1, "p2": "element" }])
        probe.answerMachineLink(true)
        probe.answerMachineLink(true)
        verify(!run("executing"))
        var w = screen.missedWindow
        verify(w.visible)
        verify(!screen.startEnabled)
        screen.close()
        verify(screen.visible)
        mouseClick(findChild(w.contentItem, "dontPlaceMissedButton"))
        verify(!w.visible)
        verify(!run("placingMissedComponents"))
        compare(missed.rowCount, 0)
        verify(screen.startEnabled)
    }

}

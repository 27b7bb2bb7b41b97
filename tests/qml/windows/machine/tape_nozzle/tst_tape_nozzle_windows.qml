import QtQuick 2.15
import QtTest 1.2
import "../../../common/ProgramRig.js" as Rig
import "../../../common"

// The tape centring and nozzle settings windows in the whole program as
// ./run.sh starts it (the simulated machine's settings store and demo
// project), with the machine link detached: the stand-in machine walks and
// answers every block, so that the simulated head camera looks where the
// program sends it. The slots of a nozzle base measured and saved:
// tst_tape_nozzle_on_machine.qml (test_2_nozzleSlotsFound), the blocks
// saved tst_nozzleBaseCalibration.qml's.
//
// The demo's bottom bank holds 8 mm tapes at pick points (60, 20), (70, 20)
// ... (100, 20); the camera sees 30 mm left of and 15 mm above the nozzle.
// Tapes off their place centred by the window's run: tst_tape_nozzle_on_machine.qml
// (test_1_tapesRecentred), the log lines tst_tapeCentring.qml's.
TestCase {
    id: testCase
    name: "TapeNozzleWindows"
    when: windowShown

    SignalSpy { id: estop; target: root; signalName: "setEstop" }

    property var tape: root.tapeCentringWindow
    property var nozzles: root.nozzleSettingsWindow

    MachineStandIn { id: machine }
    function moveTo(p) { machine.moveTo(p) }

    function near(a, b, tolerance, what) {
        verify(Math.abs(a - b) <= tolerance, what + ": " + a + " instead of " + b)
    }
    function logLines() {
        var out = []
        for (var i = 0; i < tape.log.count; ++i)
            out.push(String(probe.entry(tape.log, i).text) + " | " + String(probe.entry(tape.log, i).colour))
        return out
    }
    function feeder(i) { return probe.entry(root.bottomFeedersModel, i) }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.elementCount > 0 }, 10000)
        tryVerify(function() { return root.bottomFeedersModel.count >= 10 }, 5000)
        verify(tape !== null)
        verify(nozzles !== null)
        root.camera1Delay = 100
        root.vsEnabled = false
        verify(machine.takeOver())
        for (var i = 0; i < 10; ++i)
            places.push([Number(feeder(i).caseX), Number(feeder(i).caseY)])
    }
    property var places: []
    // Every case starts with the feeders where the demo has them, both
    // windows closed, the tapes in place, the machine on, homed and
    // calibrated with its encoders, the head high.
    function init() {
        for (var i = 0; i < places.length; ++i) {
            verify(probe.call(root, "setFeederValue", ["B", i, "caseX", places[i][0]]))
            verify(probe.call(root, "setFeederValue", ["B", i, "caseY", places[i][1]]))
        }
        tape.close()
        nozzles.close()
        worker.simWorldClearTapeOffsets()
        Rig.calibrate()
        root.encExistGet(true, true, true)
        root.encXEnabled = true
        root.encYEnabled = true
        root.debugMode = true                // the nozzle auto calibration is offered
        root.encoderScaleGet(200, 200, 200)
        root.cupBaseType = 0
        root.vcCount = 6
        root.vcdY = 15
        root.vcX2 = 32
        moveTo([200, 200, 25, 0])
    }
    function cleanupTestCase() {
        machine.giveBack()
        worker.simWorldClearTapeOffsets()
        tape.close()
        nozzles.close()
    }

    // ---- tape centring

    function test_menuAndOpening() {
        root.showToolWindow("tapeCentring")
        verify(tape.visible)
        // A bank chosen takes its whole range.
        tape.rangeEnd = 1
        tape.currBankModel = "U"
        tape.currBankModel = "B"
        compare([tape.rangeFirst, tape.rangeEnd], [0, root.feederCountB])
        verify(tape.canStart)
        // Not calibrated: no start.
        probe.setValue(root.machineState, "machineHomed2", false)
        verify(!tape.canStart)
        probe.setValue(root.machineState, "machineHomed2", true)
    }

    // A hole the camera cannot see (the tape lies 2.2 mm along from its
    // place: the hole in view belongs to the pocket beside): the operator
    // points at the pick point by hand.
    function test_holeNotFoundThenByHand() {
        verify(worker.simWorldSetTapeOffset("B", 0, 0, 2.2))
        var x0 = Number(feeder(0).caseX), y0 = Number(feeder(0).caseY)
        root.showToolWindow("tapeCentring")
        tape.rangeFirst = 0
        tape.rangeEnd = 1
        verify(probe.call(tape, "start"))
        tryVerify(function() { return tape.error === "notFound1" }, 30000)
        verify(probe.call(tape, "manualStart"))
        verify(tape.manual)
        tryVerify(function() { return root.gCodeDone }, 5000)
        // The camera over the stored pick point; the operator jogs 2.2 mm on.
        near(root.cameraPosX, x0, 0.001, "camera X")
        near(root.cameraPosY, y0, 0.001, "camera Y")
        moveTo([machine.at[0], machine.at[1] + 2.2, machine.at[2], 0])
        verify(probe.call(tape, "manualDone"))
        tryVerify(function() { return !tape.running }, 10000)
        near(Number(feeder(0).caseY), y0 + 2.2, 0.001, "pick Y")
        verify(logLines()[0].indexOf("Питатель №1 отцентрирован ВРУЧНУЮ, корректировка по X: 0.00, по Y: 2.20") === 0,
               logLines()[0])
        tape.close()
    }

    // ---- nozzle settings

    function test_autoCalibrationButton() {
        root.showToolWindow("nozzleSettings")
        verify(nozzles.visible)
        var button = findChild(nozzles.contentItem, "autoButton")
        moveTo([20.1, 30.2, 12, 0])
        verify(button.enabled)
        // Without both XY encoders the walls cannot be felt: no start.
        root.encExistGet(true, false, true)
        verify(!button.enabled)
        verify(!probe.call(nozzles, "startAuto"))
        root.encExistGet(true, true, true)
        // The head 5 mm or less below the top of the Z range: no start.
        moveTo([20.1, 30.2, 25, 0])
        verify(!button.enabled)
    }

    // No wall where the head was lowered: E-stop, the message, no change.
    function test_noWallStopsTheMachine() {
        var takeBefore = String(probe.entry(root.cupModel, 0).takeM)
        moveTo([20.1, 30.2, 12, 0])
        root.encStepperYDivGet(0)
        estop.clear()
        root.showToolWindow("nozzleSettings")
        verify(probe.call(nozzles, "startAuto"))
        tryVerify(function() { return !nozzles.measuring }, 60000)
        compare(estop.count, 1)
        compare(nozzles.message, "Ошибка при автокалибровке насадок! Сопротивление движению по Y не зафиксировано!")
        compare(probe.value(nozzles, "result"), null)
        compare(String(probe.entry(root.cupModel, 0).takeM), takeBefore)
        nozzles.close()
    }
}

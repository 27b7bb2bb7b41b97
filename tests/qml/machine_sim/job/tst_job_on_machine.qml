import QtQuick 2.15
import QtTest 1.2

// The job's foundation on the real LinuxCNC of the simulated machine:
// homing and calibration through homeWait, a block through gCodeWait and
// the gate, pause and resume by the machine's start key, and what switching
// the machine off does to calibration. Each case brings the machine to the
// state it needs itself. The blocks' texts are the job libraries'
// (tst_waiters.qml); here: how many reach the machine and where it ends.
TestCase {
    id: testCase
    name: "JobOnMachine"
    when: windowShown

    SignalSpy { id: sent; target: root; signalName: "sendGCode" }
    SignalSpy { id: relXY; target: root; signalName: "relXYSend" }
    SignalSpy { id: override; target: root; signalName: "feedOverrideSend" }

    function initTestCase() {
        root.iniFile = Qt.resolvedUrl("../../../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        tryCompare(root, "cncRunning", true, 45000)     // auto-start
        // LinuxCNC coming up puts the speed slider on 13.
        compare(root.machineSpeedSliderValue, 13)
    }

    function cleanupTestCase() {
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function cleanup() {
        probe.setValue(root.smtInterface, "paused", false)
        probe.setValue(root.smtInterface, "executing", false)
        root.setActivity("test", false)
        root.jobPort.stopAll()
    }

    function switchOn() {
        if (!root.machineOn)
            root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
    }

    // Homes and calibrates through homeWait; returns when its continuation ran.
    function homeAndCalibrate() {
        switchOn()
        probe.forget("home")
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        // The flags are cleared at once and the homing activity runs.
        verify(!root.machineHomed2)
        verify(root.activityRunning("homing"))
        verify(root.executing)
        tryVerify(function() { return probe.hits("home") === 1 }, 30000)
        verify(root.machineHomed)
        verify(root.machineHomed2)
        verify(root.calibrated)
        verify(!root.activityRunning("homing"))
    }

    function test_homingThroughHomeWait() {
        override.clear()
        homeAndCalibrate()
        var homed = probe.value(root, "jointHomed")
        compare(homed, [true, true, true, true, true])
        // Calibration gained sends the current speed as the feed override.
        verify(override.count >= 1)
        compare(override.signalArguments[override.count - 1][0], Math.ceil(root.machineSpeed))
        var found = false
        for (var i = 0; i < root.logModel.count; ++i)
            if (String(probe.entry(root.logModel, i).message).indexOf("Калибровка выполнена") >= 0)
                found = true
        verify(found, "the log says the calibration is done")
    }

    function test_gCodeWaitRunsOneBlockThroughTheGate() {
        homeAndCalibrate()
        root.setActivity("test", true)
        sent.clear()
        probe.forget("done")
        probe.callRecording(root, "gCodeWait", ["g0 x20 y30", true, "@recorder"], "done")
        tryVerify(function() { return probe.hits("done") === 1 }, 20000)
        compare(sent.count, 1)
        tryVerify(function() { return Math.abs(root.jointPosXRel - 20) < 0.01 && Math.abs(root.jointPosYRel - 30) < 0.01 },
                  2000)
        tryCompare(root, "gCodeDone", true, 2000)

        // positionWait: a move of the given axes only, completed on arrival.
        sent.clear()
        probe.forget("done")
        probe.callRecording(root, "positionWait", [35.5, false, false, false, "@recorder"], "done")
        compare(sent.count, 1)
        tryVerify(function() { return probe.hits("done") === 1 }, 20000)
        verify(Math.abs(root.jointPosYRel - 30) < 0.01)
        // Already there: called at once, nothing sent.
        sent.clear()
        probe.callRecording(root, "positionWait", [35.5, 30, false, false, "@recorder"], "done")
        compare(probe.hits("done"), 2)
        compare(sent.count, 0)
    }

    // Two blocks handed over at once: the second waits for the first and is
    // sent when the channel is idle, and each sender hears of its own block.
    function test_blocksHandedOverTogetherAreQueued() {
        homeAndCalibrate()
        sent.clear()
        probe.forget("answers")
        probe.callRecording(root, "gCodeSend", ["g0 x40 y10", false, "@recorder"], "answers")
        probe.callRecording(root, "gCodeSend", ["g0 x45 y12", false, "@recorder"], "answers")
        compare(sent.count, 1)
        compare(root.gCodeGate.queued, 1)
        verify(!root.gCodeDone)
        verify(root.executing)
        tryVerify(function() { return probe.hits("answers") === 2 }, 20000)
        compare(probe.recorded("answers"), [[true], [true]])
        compare(sent.count, 2)
        tryVerify(function() { return Math.abs(root.jointPosXRel - 45) < 0.01 }, 2000)
        tryCompare(root, "executing", false, 2000)
    }

    // The start key pauses a run; a block handed to gCodeWait during the
    // pause is held, and the key again sends it.
    function test_startKeyPausesAndResumes() {
        homeAndCalibrate()
        probe.setValue(root.smtInterface, "executing", true)      // a run is in progress
        verify(root.activityRunning("placement"))
        pressStartKey()
        tryVerify(function() { return probe.value(root.smtInterface, "paused") === true }, 5000)
        sent.clear()
        probe.forget("done")
        probe.callRecording(root, "gCodeWait", ["g0 x60 y20", false, "@recorder"], "done")
        wait(500)
        compare(sent.count, 0)
        pressStartKey()
        tryVerify(function() { return probe.value(root.smtInterface, "paused") === false }, 5000)
        tryCompare(sent, "count", 1, 2000)
        tryVerify(function() { return probe.hits("done") === 1 }, 20000)
        tryVerify(function() { return Math.abs(root.jointPosXRel - 60) < 0.01 }, 2000)
    }

    // Without a run the key goes through the start action, which is not
    // allowed here (no program): nothing starts.
    function test_startKeyWithoutARunIsGated() {
        homeAndCalibrate()
        var logCount = root.logModel.count
        pressStartKey()
        wait(500)
        verify(!probe.value(root.smtInterface, "executing"))
        verify(!probe.value(root.smtInterface, "nozzleConfirmShown"))
        verify(!probe.value(root.smtInterface, "paused"))
        for (var i = logCount; i < root.logModel.count; ++i)
            verify(String(probe.entry(root.logModel, i).message).indexOf("Программа расстановки") < 0)
    }

    function test_machineOffClearsCalibration() {
        homeAndCalibrate()
        relXY.clear()
        override.clear()
        root.relX = 5
        root.setMachineOn(false)
        tryCompare(root, "machineOn", false, 5000)
        verify(!root.machineHomed2)
        verify(!root.calibrated)
        verify(!root.machineHomed)
        compare(root.relX, 0)
        compare(relXY.count, 1)
        compare(relXY.signalArguments[0][0], 0)
        compare(relXY.signalArguments[0][1], 0)
        // Calibration lost: the override goes back to 100 %.
        compare(override.signalArguments[override.count - 1][0], 100)
        compare(override.signalArguments[override.count - 1][1], true)
        // On again: still not calibrated until homed.
        switchOn()
        verify(!root.machineHomed2)
        compare(relXY.count, 2)
    }

    // A program of starting and ending G-code runs from "Начать" on the real
    // machine; both rows are done and the head ends where the ending G-code
    // put it.
    function test_programOfStartAndEndGCodeRuns() {
        homeAndCalibrate()
        var screen = root.smtInterface
        probe.call(root.projectActions, "clearProject", [])
        root.allowRunWithoutFiducials = true
        root.calibBeforeRun = false
        root.projectAoiEnabled = false
        root.cupWarningEnabled = false
        root.startingGcode = "g0 x15 y25"
        root.endingGcode = "g0 x30 y12"
        probe.call(root, "showToolWindow", ["smtInterface"])
        var jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 2000)
        compare(jobModel.rowCount, 2)
        tryVerify(function() { return screen.startEnabled }, 5000)
        sent.clear()
        mouseClick(findChild(screen.contentItem, "startButton"))
        verify(probe.value(screen, "executing"))
        tryVerify(function() { return !probe.value(screen, "executing") }, 30000)
        compare([jobModel.getComplete(0), jobModel.getComplete(1)], ["выполнено", "выполнено"])
        compare(sent.count, 2)
        tryVerify(function() { return Math.abs(root.jointPosXRel - 30) < 0.01 && Math.abs(root.jointPosYRel - 12) < 0.01 },
                  2000)
        verify(probe.value(screen, "lastRunFinished"))
        screen.close()
    }

    // The key reads 0 while pressed.
    function pressStartKey() {
        compare(probe.halcmd(["sets", "start-pause", "0"]), 0)
        wait(250)
        compare(probe.halcmd(["sets", "start-pause", "1"]), 0)
    }
}

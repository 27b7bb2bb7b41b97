import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// The machine state of the main window without a running LinuxCNC: the
// callbacks of the machine link, the effects of switching on and off, the
// speed slider, the activity registry, the G-code gate's queue (the machine
// link answers every block at once with a failure while LinuxCNC is down),
// the coordinate helper, the camera keys and the application's error signal.
TestCase {
    id: testCase
    name: "MachineState"
    when: windowShown

    SignalSpy { id: sent; target: root; signalName: "sendGCode" }
    SignalSpy { id: override; target: root; signalName: "feedOverrideSend" }
    SignalSpy { id: relXY; target: root; signalName: "relXYSend" }
    SignalSpy { id: appError; target: root; signalName: "appError" }
    SignalSpy { id: heightSent; target: root; signalName: "currVCHeightSend" }
    SignalSpy { id: slowAcc; target: root; signalName: "needSlowAccSend" }
    SignalSpy { id: shafts; target: root; signalName: "allowMoveShaftsSend" }
    SignalSpy { id: dout; target: root; signalName: "setDoutOn" }
    SignalSpy { id: machineOnSent; target: root; signalName: "setMachineOn" }
    SignalSpy { id: machineHomeSent; target: root; signalName: "machineHome" }
    SignalSpy { id: shaftOptions; target: root; signalName: "sendShaftsMovingState" }

    // Every case starts with the G-code gate idle: the link's late answers
    // to the blocks of the case before have come.
    function init() {
        tryCompare(root, "gCodeDone", true, 5000)
        for (var spy of [sent, override, relXY, appError, heightSent, slowAcc, shafts, dout, machineOnSent])
            spy.clear()
    }
    function cleanup() {
        root.machineOnGet(false)
        root.jointHomedGet(false, false, false, false, false)
        root.setActivity("test", false)
        root.setActivity("placement", false)
        root.autoCalibOnStart = false
        probe.setValue(root.machineState, "cncRunning", false)
        root.currVC = -1
    }

    function test_sliderMapping_data() {
        return [
            { tag: "13", slider: 13, speed: Math.pow(13, 1.849485) / 50, sent: 3 },
            { tag: "above 100 is 100", slider: 250, speed: 100, sent: 100 },
        ]
    }
    function test_sliderMapping(data) {
        root.setMachineSpeedSlider(7)
        Rig.calibrate()
        override.clear()
        root.setMachineSpeedSlider(data.slider)
        verify(Math.abs(root.machineSpeed - data.speed) < 1e-5, root.machineSpeed)
        compare(override.count, 1)
        compare(override.signalArguments[0][0], data.sent)
        compare(override.signalArguments[0][1], true)
    }

    function test_speedIsNotSentWhileNotCalibrated() {
        root.setMachineSpeedSlider(20)
        override.clear()
        root.setMachineSpeedSlider(60)
        compare(override.count, 0)
        // Calibration gained sends the current speed, lost sends 100.
        Rig.calibrate()
        compare(override.count, 1)
        compare(override.signalArguments[0][0], Math.ceil(root.machineSpeed))
        root.machineOnGet(false)
        compare(override.signalArguments[override.count - 1][0], 100)
    }

    function test_switchingOnAndOffClearsHomingAndOrigin() {
        Rig.calibrate()
        verify(root.machineHomed && root.machineHomed2 && root.calibrated)
        root.relX = 3
        root.relY = 4
        relXY.clear()
        root.machineOnGet(false)
        verify(!root.machineHomed && !root.machineHomed2 && !root.calibrated)
        compare(root.relX, 0)
        compare(root.relY, 0)
        compare(relXY.count, 1)
        root.machineOnGet(true)
        verify(!root.machineHomed2)
        compare(relXY.count, 2)
        verify(!root.machineEStop)
        root.setEstop()
        verify(root.machineEStop)
        root.machineOnGet(false)
        root.machineOnGet(true)
        verify(!root.machineEStop)
        // An axis losing its home ends the homed-and-calibrated state.
        Rig.calibrate()
        root.jointHomedGet(true, false, true, true, true)
        verify(!root.machineHomed2)
    }

    // The nozzle on the head tells the link its length.
    function test_nozzleHeightSent() {
        root.cupModel.setProperty(2, "cupLength", 31.5)
        heightSent.clear()
        root.currVC = 2
        compare(heightSent.count, 1)
        compare(heightSent.signalArguments[0][0], 31.5)
        root.currVC = -1
        compare(heightSent.signalArguments[1][0], 0)
    }

    function test_activitiesMakeTheMachineBusy() {
        verify(!root.executing)
        slowAcc.clear()
        root.setActivity("test", true)
        root.setActivity("test", true)
        verify(root.executing)
        verify(root.activityRunning("test"))
        compare(probe.value(root.machineState, "activityCount"), 1)
        // A long activity ends the gentle accelerations of the set-up.
        compare(slowAcc.count, 1)
        compare(slowAcc.signalArguments[0][0], false)
        root.setActivity("test", false)
        verify(!root.executing)
        compare(slowAcc.signalArguments[1][0], true)
    }

    function test_shaftsMayTurnWhenOnAndIdleOrPaused() {
        shafts.clear()
        root.machineOnGet(true)
        compare(shafts.signalArguments[shafts.count - 1][0], true)
        root.setActivity("placement", true)
        compare(shafts.signalArguments[shafts.count - 1][0], false)
        probe.setValue(root.smtInterface, "executing", true)
        probe.setValue(root.smtInterface, "paused", true)
        compare(shafts.signalArguments[shafts.count - 1][0], true)
        probe.setValue(root.smtInterface, "paused", false)
        probe.setValue(root.smtInterface, "executing", false)
        root.setActivity("placement", false)
        compare(shafts.signalArguments[shafts.count - 1][0], true)
    }

    // While LinuxCNC is down the machine link fails every block at once: the
    // second block waits for the first's answer and each sender hears of its
    // own block.
    function test_gateQueuesAndAnswersEveryBlock() {
        probe.forget("a")
        probe.forget("b")
        probe.callRecording(root, "gCodeSend", ["g0 x1", false, "@recorder"], "a")
        probe.callRecording(root, "gCodeSend", ["g0 x2", true, "@recorder"], "b")
        root.gCodeSend("g0 x3", false, null)
        verify(!root.gCodeDone)
        verify(root.executing)
        tryCompare(sent, "count", 3, 5000)
        tryCompare(root, "gCodeDone", true, 5000)
        compare(probe.recorded("a"), [[false]])
        compare(probe.recorded("b"), [[false]])
        compare(sent.signalArguments[0][0], "g0 x1")
        compare(sent.signalArguments[1][0], "g0 x2")
        compare(sent.signalArguments[1][1], true)
        compare(sent.signalArguments[2][0], "g0 x3")
        verify(!root.executing)
    }

    // A stop takes the blocks still queued behind the running one: none of
    // them moves the machine, and their senders are told they failed.
    function test_aStopDropsTheQueuedBlocks_data() {
        return [
            { tag: "error", stop: function() { root.appError("test") } },
            { tag: "machine off", stop: function() { root.machineOnGet(false) } },
        ]
    }
    function test_aStopDropsTheQueuedBlocks(data) {
        root.machineOnGet(true)
        probe.forget("queued")
        root.gCodeSend("g0 x1", false, null)
        probe.callRecording(root, "gCodeSend", ["g0 x2", false, "@recorder"], "queued")
        root.gCodeSend("g0 x3", false, null)
        data.stop()
        compare(probe.recorded("queued"), [[false]])
        tryCompare(root, "gCodeDone", true, 5000)
        compare(sent.count, 1)
        compare(sent.signalArguments[0][0], "g0 x1")
    }

    // The machine link is told the whole state when LinuxCNC comes up, not
    // only its changes, and the shaft options whenever they change.
    function test_linkToldTheStateWhenLinuxCncComesUp() {
        root.longPressBRotate = false
        shaftOptions.clear()
        root.cncRunningGet(true)
        compare(slowAcc.count, 1)
        compare(slowAcc.signalArguments[0][0], true)
        compare(shafts.count, 1)
        compare(shafts.signalArguments[0][0], false)
        compare(heightSent.count, 1)
        compare(heightSent.signalArguments[0][0], 0)
        compare(shaftOptions.count, 1)
        compare([shaftOptions.signalArguments[0][0], shaftOptions.signalArguments[0][1]], [false, true])
        root.longPressBRotate = true
        compare(shaftOptions.count, 2)
        compare([shaftOptions.signalArguments[1][0], shaftOptions.signalArguments[1][1]], [true, true])
    }

    // A start that failed leaves LinuxCNC stopped and says so.
    function test_cncStartFailed() {
        root.cncStarting = true
        root.cncStartFailedGet()
        verify(!root.cncStarting)
        verify(!root.cncRunning)
        compare(probe.entry(root.logModel, root.logModel.count - 1).message, "Не удалось запустить LinuxCNC")
    }

    function test_machineMoveTo_data() {
        return [
            { tag: "zero is a coordinate", args: [0, 0, false, false], text: "G0 X0.000 Y0.000" },
            { tag: "all four", args: [1.0004, -2, 3, 180], text: "G0 X1.000 Y-2.000 Z3.000 A180.000" },
            { tag: "nothing given", args: [false, false, false, false], text: "" },
            { tag: "NaN", args: [NaN, 5, false, false], text: "" },
        ]
    }
    function test_machineMoveTo(data) {
        root.machineMoveTo(data.args[0], data.args[1], data.args[2], data.args[3])
        if (data.text === "") {
            compare(sent.count, 0)
        } else {
            compare(sent.count, 1)
            compare(sent.signalArguments[0][0], data.text)
            compare(sent.signalArguments[0][1], false)
        }
        tryCompare(root, "gCodeDone", true, 5000)
    }

    function test_machineMoveToWaitsForAnIdleChannel() {
        root.gCodeSend("g0 x1", false, null)
        verify(!root.gCodeDone)
        root.machineMoveTo(5, 5, false, false)
        tryCompare(root, "gCodeDone", true, 5000)
        compare(sent.count, 1)
    }

    function test_machineWait() {
        probe.call(root, "jointPosGet", [[10, 20, 30, 40]])
        root.relX = 1
        verify(root.machineWait(9.005, false, false, false))
        verify(!root.machineWait(9.02, false, false, false))
        verify(root.machineWait(false, 20, 30, 40))
        verify(root.machineWait(false, false, false, false))
        verify(!root.machineWait(NaN, false, false, false))
        root.relX = 0
    }

    function test_machineErrorsRaiseTheErrorSignal_data() {
        return [
            { tag: "following error", text: "joint 0 following error", raised: 1 },
            { tag: "realtime delay", text: "Unexpected realtime delay on task 0 with period 1000000", raised: 0 },
        ]
    }
    function test_machineErrorsRaiseTheErrorSignal(data) {
        root.machineErrorGet(data.text)
        compare(appError.count, data.raised)
        compare(root.machineError, data.text)
    }

    function test_cameraKeysLightTheirCamera() {
        probe.setValue(root.machineState, "cncRunning", true)
        keyClick(Qt.Key_F6)
        compare(dout.count, 1)
        compare(dout.signalArguments[0][0], 4)
        compare(dout.signalArguments[0][1], true)
        keyClick(Qt.Key_F5)
        compare(dout.signalArguments[1][1], false)
        // Not while a placement runs.
        root.setActivity("placement", true)
        keyClick(Qt.Key_F6)
        compare(dout.count, 2)
        root.closeAllToolWindows()
    }

    // LinuxCNC up with automatic calibration: the machine is switched on,
    // then, once on, homed through homeWait.
    function test_autoCalibrationOnStart() {
        root.autoCalibOnStart = true
        root.homeExistsGet(true, true, true)
        root.cncRunningGet(true)
        compare(root.machineSpeedSliderValue, 13)
        tryCompare(machineOnSent, "count", 1, 2000)
        compare(machineOnSent.signalArguments[0][0], true)
        root.machineOnGet(true)
        tryVerify(function() { return root.activityRunning("homing") }, 2000)
        root.jobPort.stopAll()
        verify(!root.activityRunning("homing"))
        root.homeExistsGet(false, false, false)
    }
    // Homing with the nozzle-on-head check on starts the vacuum sensor
    // first (here its emulator on a pseudo-terminal); once homed, the check
    // runs before the sequence can end.
    function test_homeWaitStartsTheVacuumSensorForTheHeadCheck() {
        var link = probe.startVsEmulator(30)
        verify(link !== "")
        var file = root.vsFileName
        root.vsFileName = link
        root.nozzleOnHeadCheckEnabled = true
        root.nozzleOnHeadCheckX = 10
        root.nozzleOnHeadCheckY = 10
        root.updateNozzleOnHeadCheck()
        root.maxVelGet(250, 250, 100, 360, 100, 100)
        root.maxAccGet(1000, 1000, 500, 1000)
        root.machineOnGet(true)
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryCompare(root, "vsRunning", true, 5000)
        verify(root.activityRunning("homing"))
        // Not homed yet: the continuation waits.
        compare(probe.hits("home"), 0)
        var blocks = sent.count
        root.jointHomedGet(true, true, true, true, true)
        tryVerify(function() { return sent.count > blocks }, 2000)
        compare(String(sent.signalArguments[blocks][0]).indexOf("g0 zMax\nm64 p0\nm65 p1\n"), 0)
        compare(probe.hits("home"), 0)
        verify(!root.machineHomed2)
        root.jobPort.stopAll()
        verify(!root.activityRunning("homing"))
        root.vsStop()
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        root.vsFileName = file
    }

    // Homing with the machine off does nothing and continues at once.
    function test_homeWaitWithTheMachineOff() {
        probe.forget("home")
        var homes = machineHomeSent.count
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        compare(probe.hits("home"), 1)
        compare(machineHomeSent.count, homes)
        verify(!root.activityRunning("homing"))
    }

    function test_noAutoCalibrationWhileEStopIsPressed() {
        root.autoCalibOnStart = true
        root.homeExistsGet(true, true, true)
        root.halESTOPGet(1)
        root.cncRunningGet(true)
        // The start-up timer runs out and decides.
        var timer = probe.value(root.machineState, "autoCalibTimer")
        verify(timer.running)
        tryVerify(function() { return !timer.running }, 5000)
        compare(machineOnSent.count, 0)
        root.halESTOPGet(0)
        root.homeExistsGet(false, false, false)
    }
}

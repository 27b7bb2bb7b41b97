import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig
import "../../../../qml/main/machine/warmUp.js" as WarmUp

// The direct control window in the real program, without LinuxCNC: the
// machine state is set on the main window and the commands are read from
// its signals. The machine link is there but not connected: it answers
// every G-code block as failed, later, from its thread; a test that needs a
// block to succeed answers it first (fakeDone) and then waits for the
// link's late answer (settle).
TestCase {
    id: testCase
    name: "ExecutionInterface"
    when: windowShown

    // Program objects come through properties or probe.find: an object
    // returned by a program function would lose its script side to the
    // garbage collector.
    property var win: root.executionInterface
    property int fakeDone: 0

    SignalSpy { id: moveSpy; target: root; signalName: "machineMove" }
    SignalSpy { id: stepSpy; target: root; signalName: "machineMoveStep" }
    SignalSpy { id: zUpSpy; target: root; signalName: "zUpSend" }
    SignalSpy { id: sendSpy; target: root; signalName: "sendGCode" }
    SignalSpy { id: doneSpy; target: root; signalName: "getGcodeDone" }
    SignalSpy { id: diagSpy; target: root; signalName: "diagOpenedSend" }
    SignalSpy { id: abortSpy; target: root; signalName: "setAbort" }
    SignalSpy { id: doutSpy; target: root; signalName: "setDoutOn" }
    SignalSpy { id: homeSpy; target: root; signalName: "machineHome" }
    SignalSpy { id: pwmSpy; target: root; signalName: "startPWMVibroSend" }
    SignalSpy { id: machineOnSpy; target: root; signalName: "setMachineOn" }

    function item(name) {
        var found = probe.find(win, name)
        verify(found !== null, "no item " + name)
        return found
    }
    function activity(name) { return root.activityRunning(name) }
    // The arguments of a recorded signal as a plain list.
    function args(spy, i) { return Array.prototype.slice.call(spy.signalArguments[i]) }
    // Every block sent has had the link's answer.
    function settle() {
        tryVerify(function() { return doneSpy.count >= sendSpy.count + fakeDone }, 5000, "the link's answers")
        wait(0)
    }
    // The link reports a block done before its own (failed) answer comes.
    function answer(successful) {
        fakeDone += 1
        root.getGcodeDone(successful)
    }
    function clearSpies() {
        var spies = [moveSpy, stepSpy, zUpSpy, sendSpy, doneSpy, diagSpy, abortSpy, doutSpy,
                     homeSpy, pwmSpy, machineOnSpy]
        for (var i = 0; i < spies.length; ++i)
            spies[i].clear()
        fakeDone = 0
    }
    // LinuxCNC runs, the machine is on, homed and calibrated.
    function readyMachine() {
        root.cncRunning = true
        if (!root.machineOn)
            root.machineOn = true
        root.jointHomedGet(true, true, true, true, true)
        root.machineHomed2 = true
    }
    // The window in front with the keys on its jog handler.
    function showWindow() {
        win.bringToFront()
        win.requestActivate()
        tryVerify(function() { return probe.focusWindowName() === "executionInterface" }, 5000, "the window active")
        tryVerify(function() { return win.jogHandler.activeFocus }, 5000, "keys on the jog handler")
    }
    function showExtraPanel() {
        showWindow()
        mouseClick(item("extraToggle"))
    }
    // Stops recorded for every axis 0..6 since `from`.
    function stoppedAxes(from) {
        var axes = []
        for (var i = from; i < moveSpy.count; ++i) {
            var a = moveSpy.signalArguments[i]
            if (a[3] === false && axes.indexOf(a[0]) < 0)
                axes.push(a[0])
        }
        return axes.sort()
    }
    function autoRepeat(key, modifiers) {
        verify(probe.sendKey(false, key, modifiers, true))
        verify(probe.sendKey(true, key, modifiers, true))
    }

    function initTestCase() {
        verify(win !== null)
    }
    // The machine as a fresh program has it, for the test files after this one.
    function cleanupTestCase() {
        root.machineHomed2 = false
        root.jointHomedGet(false, false, false, false, false)
        root.machineOn = false
        root.cncRunning = false
        root.setMachineSpeedSlider(1)
        root.prerunDone = false
        root.workAreaX1 = 0
        root.workAreaY1 = 0
        root.workAreaX2 = 500
        root.workAreaY2 = 500
        root.camera2X = 0
        root.camera2Y = 0
        root.jointPosGet([0, 0, 0, 0])
        for (var i = 0; i < 16; ++i) {
            root.doutGet(i, false)
            root.doutListChangeEnabled(i, false)
        }
        root.logModel.clear()
        root.errorListModel.clear()
        settle()
    }
    function init() {
        settle()
        root.closeAllToolWindows()
        root.setMachineSpeedSlider(13)
        root.debugMode = false
        readyMachine()
        win.extraOpen = false
        clearSpies()
    }
    function cleanup() {
        probe.call(win, "removeKeyHandler", [])
        win.warmUp.stop()
        root.jobPort.stopAll()
        root.closeAllToolWindows()
        settle()
        root.setActivity("test", false)
        activateMain()
    }
    function activateMain() {
        root.requestActivate()
        tryVerify(function() { return probe.focusWindowName() === "main" }, 5000, "the main window active")
    }

    // ---- the window itself
    function test_opensByF1AndMenu_data() {
        return [ { tag: "F1" }, { tag: "menu" } ]
    }
    function test_opensByF1AndMenu(data) {
        verify(!win.visible)
        if (data.tag === "F1") {
            activateMain()
            keyClick(Qt.Key_F1)
        } else {
            root.menuBar.executionInterfaceItem.trigger()
        }
        tryVerify(function() { return win.visible })
    }

    // The extra panel asks for the machine's diagnostics while it is shown.
    function test_extraPanelDiagnostics() {
        showExtraPanel()
        win.close()
        compare([diagSpy.count, args(diagSpy, 0), args(diagSpy, 1)], [2, [true], [false]])
    }

    // ---- speed
    // The window's slider and Ctrl+-/+ drive the machine speed (what the
    // speed then is: tst_machine_state.qml).
    function test_slider() {
        showWindow()
        item("speedSlider").value = 40
        compare(root.machineSpeedSliderValue, 40)
        keyClick(Qt.Key_Minus, Qt.ControlModifier)
        compare(root.machineSpeedSliderValue, 39)
        keyClick(Qt.Key_Plus, Qt.ControlModifier)
        compare(root.machineSpeedSliderValue, 40)
        // The keys are not jogs.
        compare(moveSpy.count, 0)
    }

    // ---- jogging by keys and buttons (what each key does: tst_jog_lib.qml)
    function test_keyJog() {
        showWindow()
        keyPress(Qt.Key_PageDown)
        autoRepeat(Qt.Key_PageDown, Qt.NoModifier)
        keyRelease(Qt.Key_PageDown)
        compare(moveSpy.count, 2)
        compare(args(moveSpy, 0), [2, false, root.machineSpeed, true])
        compare(args(moveSpy, 1), [2, false, root.machineSpeed, false])
        compare(stepSpy.count, 0)
    }

    // A window that installs its own key handler gets every key instead.
    function test_installedKeyHandler() {
        showWindow()
        probe.forget("keys")
        probe.callRecording(win, "installKeyHandler", ["@recorder"], "keys")
        keyPress(Qt.Key_Right)
        keyRelease(Qt.Key_Right)
        keyClick(Qt.Key_A)
        compare(moveSpy.count, 0)
        compare(probe.hits("keys"), 4)
        compare(probe.recorded("keys").map(function(call) { return call[1] }), [true, false, true, false])
    }

    function test_homeKeyRaisesZ() {
        showWindow()
        keyClick(Qt.Key_Home)
        compare(zUpSpy.count, 1)
        compare(moveSpy.count, 0)
    }

    function test_nothingMovesWhileNotCalibrated() {
        root.machineHomed2 = false
        showWindow()
        keyPress(Qt.Key_Right)
        keyRelease(Qt.Key_Right)
        keyClick(Qt.Key_Up, Qt.ControlModifier)
        compare(moveSpy.count, 0)
        compare(stepSpy.count, 0)
        verify(!item("jogX+").enabled)
    }

    function test_jogButton() {
        showWindow()
        var button = item("jogX-")
        mousePress(button)
        compare(moveSpy.count, 1)
        compare(args(moveSpy, 0), [0, false, root.machineSpeed, true])
        mouseRelease(button)
        compare(moveSpy.count, 2)
        compare(args(moveSpy, 1), [0, false, root.machineSpeed, false])
    }

    function test_stepButton() {
        showWindow()
        // The "1" button under "Вверх": one step on press, slow jog when held.
        var buttons = []
        var stack = [win.contentItem]
        while (stack.length > 0) {
            var it = stack.pop()
            if (it.kind === "step" && it.axis === 2 && it.dir === true)
                buttons.push(it)
            for (var i = 0; i < it.children.length; ++i)
                stack.push(it.children[i])
        }
        compare(buttons.length, 1)
        buttons[0].holdDelay = 1
        mousePress(buttons[0])
        compare(stepSpy.count, 1)
        compare(args(stepSpy, 0), [2, true, 0])
        tryCompare(moveSpy, "count", 1)
        compare(args(moveSpy, 0), [2, true, 0.05, true])
        mouseRelease(buttons[0])
        compare(moveSpy.count, 2)
        compare(args(moveSpy, 1), [2, true, 0.05, false])
    }

    // Focus loss and hiding stop every axis, not only the one that runs.
    function test_stopsEveryJoint_data() {
        return [
            { tag: "window deactivated" },
            { tag: "command line takes the keys" },
            { tag: "window hidden" },
        ]
    }
    function test_stopsEveryJoint(data) {
        showWindow()
        keyPress(Qt.Key_PageDown)
        compare(moveSpy.count, 1)
        if (data.tag === "window deactivated")
            activateMain()
        else if (data.tag === "command line takes the keys")
            mouseClick(item("commandField"))
        else
            win.close()
        tryVerify(function() { return moveSpy.count > 1 })
        compare(stoppedAxes(1), [0, 1, 2, 3, 4, 5, 6])
        compare(moveSpy.count, 8)
        compare(args(moveSpy, 3), [2, false, root.machineSpeed, false])
        keyRelease(Qt.Key_PageDown)
        // The keys come back (a click in the window, the window shown or
        // activated again); the next loss stops every axis again.
        if (data.tag === "command line takes the keys") {
            mouseClick(item("readoutX"))
            tryVerify(function() { return win.jogHandler.activeFocus })
        } else {
            showWindow()
        }
        activateMain()
        tryVerify(function() { return moveSpy.count === 15 })
        compare(stoppedAxes(8), [0, 1, 2, 3, 4, 5, 6])
    }

    // ---- command line
    function typeCommand(text) {
        var field = item("commandField")
        field.forceActiveFocus()
        field.text = text
        keyClick(Qt.Key_Return)
    }
    // Return sends the typed block; Up and Down recall the history (what
    // they recall: tst_commandHistory_lib.qml).
    function test_commandLine() {
        showWindow()
        var field = item("commandField")
        typeCommand("g0 x10 y20")
        compare(sendSpy.count, 1)
        compare(args(sendSpy, 0), ["g0 x10 y20", false])
        compare(field.text, "")
        settle()
        typeCommand("m64 p1")
        settle()
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Up)
        compare(field.text, "g0 x10 y20")
        keyClick(Qt.Key_Down)
        compare(field.text, "m64 p1")
    }

    function test_commandLineGates() {
        showWindow()
        var field = item("commandField")
        // While G-code runs nothing is sent and the text stays.
        root.gCodeGate.running = true
        typeCommand("g0 x1")
        root.gCodeGate.running = false
        compare(sendSpy.count, 0)
        compare(field.text, "g0 x1")
        // Losing calibration clears the field and disables it.
        root.machineHomed2 = false
        compare(field.text, "")
        field.text = "g0 x2"
        verify(!win.sendCommand())
        compare(sendSpy.count, 0)
    }

    // ---- machine buttons
    function test_calibrateButton() {
        root.machineHomed2 = false
        showWindow()
        mouseClick(item("calibrateButton"))
        compare(homeSpy.count, 1)
        verify(activity("homing"))
        root.jobPort.stopAll()
    }

    function test_machineOnButton() {
        showWindow()
        mouseClick(item("machineOnButton"))
        compare(machineOnSpy.count, 1)
        compare(machineOnSpy.signalArguments[0][0], false)
    }

    // ---- outputs
    function test_outputs() {
        for (var i = 0; i < 16; ++i)
            root.doutListChangeEnabled(i, true)
        showWindow()
        var compressor = item("dout0")
        mouseClick(compressor)
        compare(args(doutSpy, 0), [0, true])
        root.doutGet(0, true)
        verify(compressor.lit)
        mouseClick(compressor)
        compare(args(doutSpy, 1), [0, false])
        root.doutGet(0, false)
    }

    // The button's action (which one: tst_directControl_lib.qml) reaches its
    // signal: the PWM run or the bank's G-code.
    function test_vibrationFeederButton_data() {
        return [
            { tag: "PWM bank", pwm: true, g1: "", busy: false, spy: "pwm", args: [12, 40, 3] },
            { tag: "G-code bank", pwm: false, g1: "m64 p6\ng4 p1\nm65 p6", busy: false, spy: "send",
              args: ["m64 p6\ng4 p1\nm65 p6\ng0", false] },
        ]
    }
    function test_vibrationFeederButton(data) {
        root.doutListChangeEnabled(6, true)
        var bank = root.vibroBankModel
        var saved = []
        for (var i = 0; i < bank.count; ++i) {
            saved.push(probe.entry(bank, i))
            bank.setProperty(i, "bankEnabled", false)
        }
        var values = { "bankEnabled": true, "pwm": data.pwm, "g1": data.g1, "pwmFreq": 12,
                       "pwmDutyCycle": 40, "pwmLength": 3 }
        for (var k in values)
            bank.setProperty(0, k, values[k])
        root.setActivity("test", data.busy)
        showWindow()
        mouseClick(item("dout6"))
        var spies = { "pwm": pwmSpy, "send": sendSpy, "dout": doutSpy }
        for (var name in spies)
            compare(spies[name].count, name === data.spy ? 1 : 0, name)
        compare(args(spies[data.spy], 0), data.args)
        root.instruments.pwmVibroDoneGet()
        for (i = 0; i < saved.length; ++i)
            for (k in values)
                if (saved[i][k] !== undefined)
                    bank.setProperty(i, k, saved[i][k])
    }

    // ---- canned motions
    function test_cannedMotions_data() {
        return [
            { tag: "начало работы", button: "cannedStart", setting: "startingGcode", text: "m64 p0\ng0 x5 y5",
              sent: "m64 p0\ng0 x5 y5" },
            { tag: "к камере", button: "cannedToCamera", setting: "preCameraGcode", text: "m64 p4",
              sent: "m64 p4\ng0 zMax\ng0 x210.500 y33.250" },
        ]
    }
    function test_cannedMotions(data) {
        root.camera2X = 210.5
        root.camera2Y = 33.25
        root[data.setting] = data.text
        showExtraPanel()
        var button = item(data.button)
        mouseClick(button)
        compare(sendSpy.count, 1)
        compare(args(sendSpy, 0), [data.sent + "\ng0 zMax\n", true])
        settle()
        // Not while anything executes, not while not calibrated.
        root.setActivity("test", true)
        verify(!button.enabled)
        verify(!win.runCanned(data.setting))
        root.setActivity("test", false)
        root.machineHomed2 = false
        verify(!win.runCanned(data.setting))
        compare(sendSpy.count, 1)
        root[data.setting] = ""
    }

    function test_cannedMotionWithoutGCode() {
        root.startingGcode = ""
        showWindow()
        verify(!win.runCanned("startingGcode"))
        compare(sendSpy.count, 0)
        compare(Rig.lastLog(), "G-код не задан")
    }

    // The calibration-mark buttons need their marks switched on (when each
    // is allowed: tst_directControl_lib.qml); the second
    // takes the head camera over the second mark (here the machine link,
    // with no LinuxCNC, fails the move: the trip ends and leaves nothing
    // running).
    function test_calibrationMarkButtons() {
        root.calibEnabled = true
        root.calib2Enabled = false
        showExtraPanel()
        verify(item("cannedCalib1").enabled)
        verify(!item("cannedCalib2").enabled)
        verify(!win.toCalibrationMark(2))
        root.calib2Enabled = true
        root.calibX2 = 120.5
        root.calibY2 = 260.25
        verify(item("cannedCalib2").enabled)
        mouseClick(item("cannedCalib2"))
        compare(sendSpy.count, 1)
        compare(args(sendSpy, 0), ["g0 zMax\nG0 X120.500 Y260.250\n\ng0 zMax\n", true])
        tryVerify(function() { return !root.activityRunning("secondCalibrationMark") }, 3000)
        tryVerify(function() { return !root.executing }, 3000)
        root.calibEnabled = false
        root.calib2Enabled = false
        root.closeAllToolWindows()
    }
    // Centring the head camera on the mark it sees: allowed as the first
    // calibration-mark button is; it lights the head camera, shows its
    // window and runs as an activity. Here the camera has no device, so the
    // mark is not found: nothing is sent, the activity ends and the operator
    // is told.
    function test_centreOnMarkButton() {
        root.calibEnabled = false
        showExtraPanel()
        verify(!win.centreOnMark())
        root.calibEnabled = true
        var timeout = root.headCameraRequest.timeoutMs
        root.headCameraRequest.timeoutMs = 200
        mouseClick(item("centreOnMark"))
        verify(activity("centreOnMark"))
        compare(args(doutSpy, doutSpy.count - 1), [4, false])
        tryVerify(function() { return !activity("centreOnMark") }, 5000, "the centring ends")
        compare(sendSpy.count, 0)
        compare(Rig.lastLog(), "Не удалось навести камеру на знак")
        verify(!root.executing)
        root.headCameraRequest.timeoutMs = timeout
        root.calibEnabled = false
        root.closeAllToolWindows()
    }
    // The nozzle buttons run the job's nozzle change: a click takes that
    // nozzle, a click on the nozzle on the head returns it; the head holds a
    // nozzle once its block has run.
    function test_nozzleButtons() {
        root.cupModel.setProperty(1, "takeM", "g0 x20 y30\nm64 p3")
        root.cupModel.setProperty(1, "setupM", "g0 x20 y30\nm65 p3")
        root.currVC = -1
        showWindow()
        mouseClick(item("nozzle1"))
        verify(activity("nozzleChange"), Rig.lastLog())
        compare(sendSpy.count, 1)
        compare(args(sendSpy, 0), ["g0 x20 y30\nm64 p3\ng0 zMax\n", true])
        // Nothing else starts while the change runs.
        verify(!item("nozzle0").enabled)
        verify(!win.changeNozzle(0))
        answer(true)
        tryVerify(function() { return !activity("nozzleChange") }, 5000)
        compare(root.currVC, 1)
        settle()
        compare(item("nozzle1").tooltip, "Вернуть")
        mouseClick(item("nozzle1"))
        compare(sendSpy.count, 2)
        compare(args(sendSpy, 1), ["g0 x20 y30\nm65 p3\ng0 zMax\n", true])
        answer(true)
        tryVerify(function() { return !activity("nozzleChange") }, 5000)
        compare(root.currVC, -1)
        settle()
        // A failed block ends the change with an error and leaves nothing running.
        mouseClick(item("nozzle1"))
        compare(sendSpy.count, 3)
        settle()
        tryVerify(function() { return !activity("nozzleChange") && !root.executing }, 5000)
        compare(root.currVC, -1)
        root.cupModel.setProperty(1, "takeM", "")
        root.cupModel.setProperty(1, "setupM", "")
    }

    // The basket drop needs a nozzle on the head and runs the job's basket step.
    function test_basketButton() {
        root.basketGcode = "g0 x5 y6"
        root.maxVelGet(100, 120, 40, 720, 30, 30)
        root.maxAccGet(1000, 1000, 500, 2000)
        root.currVC = -1
        showExtraPanel()
        verify(!item("cannedBasket").enabled)
        verify(!win.dropToBasket())
        root.currVC = 0
        verify(item("cannedBasket").enabled)
        mouseClick(item("cannedBasket"))
        verify(activity("basketDrop"), Rig.lastLog())
        compare(sendSpy.count, 1)
        compare(args(sendSpy, 0), ["g0 zMax\ng1 f7200  acc100  x++0 y++0\ng1 f2400   acc50  z++0\n"
                                   + "g0 x5 y6\nm65 p1\ng0 zMax\n", true])
        answer(true)
        tryVerify(function() { return !activity("basketDrop") }, 5000)
        settle()
        root.currVC = -1
        root.basketGcode = ""
    }

    function test_editCannedGCode() {
        root.endingGcode = "m65 p0"
        var editor = win.gCodeEditor
        verify(win.editCanned("endingGcode", "G-код окончания работы"))
        verify(editor.visible)
        compare(editor.text, "m65 p0")
        editor.text = "m65 p0\ng0 x0 y0"
        verify(editor.save())
        verify(!editor.visible)
        compare(root.endingGcode, "m65 p0\ng0 x0 y0")
        tryVerify(function() { return probe.iniValue(settingsFile, "device/endingGcode") === "m65 p0\ng0 x0 y0" },
                  5000, "written to the settings store")
        root.endingGcode = ""
    }

    // ---- warm-up run
    function warmUpArea() {
        root.workAreaX1 = 0
        root.workAreaY1 = 10
        root.workAreaX2 = 300
        root.workAreaY2 = 250
        root.maxVelGet(100, 120, 40, 720, 30, 30)
        root.maxAccGet(500, 600, 300, 2000)
    }
    function test_warmUpProgram() {
        warmUpArea()
        showWindow()
        var button = item("warmUpButton")
        mouseClick(button)
        verify(win.warmUp.running)
        verify(activity("warmUp"))
        compare(root.machineSpeedSliderValue, 100)
        compare(sendSpy.count, 1)
        // The program of the work area and the machine maxima (its lines:
        // tst_warmUp_lib.qml).
        var program = WarmUp.program({ "x1": 0, "y1": 10, "x2": 300, "y2": 250 }, 15,
                                     [100, 120, 40, 720, 30, 30], [500, 600, 300, 2000])
        compare(args(sendSpy, 0), [program + "\ng0 zMax\n", true])
        // The program done: the warm-up is done, calibration marks are off.
        answer(true)
        verify(root.prerunDone)
        verify(!win.warmUp.running)
        verify(!activity("warmUp"))
        compare(abortSpy.count, 1)
    }

    function test_warmUpStops_data() {
        return [
            { tag: "by the button", error: false },
            { tag: "calibration lost", error: false },
            { tag: "the block fails", error: true },
        ]
    }
    function test_warmUpStops(data) {
        warmUpArea()
        root.prerunDone = false
        root.errorListModel.clear()
        showWindow()
        var button = item("warmUpButton")
        mouseClick(button)
        verify(win.warmUp.running)
        if (data.tag === "by the button")
            mouseClick(button)
        else if (data.tag === "calibration lost")
            root.machineHomed2 = false
        // The link answers the block as failed (it is not connected).
        settle()
        verify(!win.warmUp.running)
        verify(!activity("warmUp"))
        verify(!root.prerunDone)
        verify(abortSpy.count >= 1)
        compare(Rig.lastLog(), "Прогонка аппарата остановлена")
        compare(root.executing, false)
    }

    function test_warmUpRefusedWithoutMachineMaxima() {
        root.maxVelGet(undefined, undefined, undefined, undefined, undefined, undefined)
        showWindow()
        verify(!win.warmUp.start())
        verify(!win.warmUp.running)
        verify(!activity("warmUp"))
        compare(sendSpy.count, 0)
    }
}

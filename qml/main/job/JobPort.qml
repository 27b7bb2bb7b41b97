import QtQuick 2.15
import "waiters.js" as Waiters
import "sequencer.js" as Sequencer
import "marks.js" as Marks
import "picking.js" as Picking
import "component.js" as Cycle

// The one piece between the job's step libraries and the rest of the
// program. The libraries see only `port` (a plain object of functions); this
// item fills it from the main window, the machine state, the G-code gate,
// the job screen and the timers, and forwards the awaited events (position,
// homing, pause, block done, machine off, errors) to them. The step
// functions are reachable by name through `steps`; the run control is
// `sequencer`, the head-camera steps `marks` (their part of the port is
// MarkPort).
Item {
    id: jobPort
    property var app
    property var machineState
    property var gate

    // The run's pause (the job screen owns it).
    property bool paused: app.smtInterface ? app.smtInterface.paused : false
    property bool nozzleChanging: false
    property var steps: ({})
    property var waiters: null
    property var sequencer: null
    property var marks: null
    property var picking: null
    // The component cycle: travel height, placement angle and target of the
    // component being placed, the group's next placements, a skipped feeder.
    property var component: null

    // What a stop resets beyond the waiters, by kind ("vision", "steps",
    // "rlc", "vacuumErrors", "programmer", "signals", "feeders"): the step
    // libraries add their own with addReset(kind, fn).
    property var resetHooks: ({})
    function addReset(kind, fn) {
        var hooks = resetHooks
        if (!hooks[kind])
            hooks[kind] = []
        hooks[kind].push(fn)
    }
    function runResets(kind) {
        var list = resetHooks[kind] || []
        for (var i = 0; i < list.length; ++i)
            list[i]()
    }

    // The board-move dialog of the mark search agrees (the start key); the
    // marks library fills it.
    property var boardMoveAgreeHook: function() {}

    // The calibration-mark search (the marks library's calibrate).
    property var calibrationMarkHook: function(shortForm, done) { done(false) }

    MarkPort {
        id: markPort
        app: jobPort.app
        machineState: jobPort.machineState
        jobPort: jobPort
    }
    property alias markPort: markPort

    PickPort {
        id: pickPort
        app: jobPort.app
        machineState: jobPort.machineState
        jobPort: jobPort
    }
    property alias pickPort: pickPort

    // Single-shot timers made on demand; `cancel()` stops one.
    Component {
        id: timerComponent
        Timer { repeat: false }
    }
    function after(ms, fn) {
        var t = timerComponent.createObject(jobPort, { "interval": Math.max(0, ms) })
        var handle = {
            "cancelled": false,
            "cancel": function() {
                if (handle.cancelled)
                    return
                handle.cancelled = true
                t.stop()
                t.destroy()
            }
        }
        t.triggered.connect(function() {
            if (handle.cancelled)
                return
            handle.cancelled = true
            t.destroy()
            jobPort.guarded(fn)()
        })
        t.start()
        return handle
    }

    readonly property var port: ({
        "sendGCode": function(text, safeH, onDone) {
            jobPort.gate.send(text, safeH, onDone ? jobPort.guarded(onDone) : null)
        },
        "gCodeDone": function() { return !jobPort.gate.running },
        "homed": function() { return jobPort.machineState.machineHomed },
        "machineOn": function() { return jobPort.machineState.machineOn },
        "paused": function() { return jobPort.paused },
        "busy": function() { return jobPort.machineState.activityCount > 0 },
        "nozzleChanging": function() { return jobPort.nozzleChanging },
        "position": function() {
            var s = jobPort.machineState
            return { "x": s.jointPosXRel, "y": s.jointPosYRel, "z": Number(s.jointPos[2]), "a": Number(s.jointPos[3]) }
        },
        "after": function(ms, fn) { return jobPort.after(ms, fn) },
        "home": function() { jobPort.app.machineHome(true) },
        "clearHomed": function() {
            var s = jobPort.machineState
            s.machineXHomed = s.machineYHomed = s.machineZHomed = s.machineAHomed = s.machineBHomed = false
            s.machineHomed2 = false
        },
        "setHomedAndCalibrated": function(on) { jobPort.machineState.machineHomed2 = on === true },
        "calibrationEnabled": function() { return jobPort.app.calibEnabled === true },
        "calibrationMark": function(shortForm, done) { jobPort.calibrationMarkHook(shortForm, done) },
        "startVacuumSensorForHeadCheck": function() {
            var a = jobPort.app
            if (a.nozzleOnHeadCheckActive && !a.vsRunning && !a.vsStarting)
                a.vsStart(a.vsFileName)
        },
        "rowComplete": function(text) { jobPort.sequencer.rowComplete(text) },
        "log": function(text, color) { jobPort.app.logAdd(text, color) },
        "fail": function(text) { jobPort.fail(text) },

        // ---- run control (sequencer.js)
        "run": function() { return jobPort.app.smtInterface },
        "model": function() { return opModel },
        "missedModel": function() { return missedModel },
        "setting": function(name) { return jobPort.app[name] },
        "step": function(name) {
            var f = jobPort.steps[name]
            return typeof f === "function" ? f : null
        },
        "later": function(fn) { Qt.callLater(jobPort.guarded(fn)) },
        "startAllowed": function() { return jobPort.app.smtInterface.startEnabled },
        "homedAndCalibrated": function() { return jobPort.machineState.machineHomed2 },
        "setPaused": function(on) { jobPort.app.smtInterface.paused = on === true },
        "selectRow": function(row) { jobPort.app.smtInterface.selectRow(row) },
        "stopwatch": function(action) {
            var a = jobPort.app
            if (action === "start") a.stopwatchStart()
            else if (action === "stop") a.stopwatchStop()
            else if (action === "pause") a.stopwatchPause()
            else if (action === "resume") a.stopwatchResume()
        },
        "runSeconds": function() { return Number(jobPort.app.stopwatchTimeInt) || 0 },
        "boardCount": function() {
            var a = jobPort.app
            return a.pcbMulti ? a.smtInterface.creation.keptBoardCount() : 1
        },
        "countFinishedBoards": function(n) {
            jobPort.app.pcbFinishedCount += n
            jobPort.app.projectStatisticsWindow.appendPcbCount(n)
        },
        "playFinalSound": function() { jobPort.app.beep() },
        "beep": function() { jobPort.app.beep() },
        "saveProject": function() {
            var a = jobPort.app
            if (String(a.projectName) === "")
                return
            a.saveAllFeeders()
            a.saveProject(a.projectName)
        },
        "closeWindow": function(name) {
            var w = jobPort.app.findToolWindow(name)
            if (w && w.visible)
                w.close()
        },
        "startVacuumSensor": function() {
            var a = jobPort.app
            if (a.vsEnabled && !a.vsRunning && !a.vsStarting)
                a.vsStart(a.vsFileName)
        },
        "resetVibration": function() { jobPort.app.instruments.pwmVibroDone = false },
        "recalcUsedRefs": function() { jobPort.app.smtInterface.recalcUsedRefsBeforeRun() },
        "resetVision": function() { jobPort.runResets("vision") },
        "stopWaiters": function() { jobPort.stopAll() },
        "resetSteps": function() { jobPort.runResets("steps") },
        "resetRlc": function() { jobPort.runResets("rlc") },
        "resetVacuumErrors": function() { jobPort.runResets("vacuumErrors") },
        "resetProgrammer": function() { jobPort.resetProgrammer() },
        "disconnectSignals": function() { jobPort.runResets("signals") },
        "resetFeeders": function() { jobPort.resetFeeders() },
        "showMissedWindow": function(shown) { jobPort.app.smtInterface.showMissedWindow(shown) },
        "showNozzleConfirm": function(shown) { jobPort.app.smtInterface.showNozzleConfirm(shown) },
        "boardMoveAgree": function() { jobPort.boardMoveAgreeHook() },
        // For the step libraries: an operator panel, a placed component.
        "showPanel": function(name, values, onButton) {
            return jobPort.sequencer.showPanel(name, values, onButton ? jobPort.guarded(onButton) : null)
        },
        "componentPlaced": function(ep) { jobPort.sequencer.componentPlaced(ep) }
    })

    // An operator panel for a step or a tool window: see panels.js.
    function showPanel(name, values, onButton) { return sequencer.showPanel(name, values, onButton) }

    // The programmer stops waiting and its output goes off.
    function resetProgrammer() {
        var i = app.instruments
        i.programmerStartWaiting(false)
        if (machineState.doutTriggered(i.programmerDout))
            app.setDoutOn(i.programmerDout, false)
        runResets("programmer")
    }

    // The run-time state of every feeder of the four banks.
    function resetFeeders() {
        app.clearFeederRunState()
        runResets("feeders")
    }

    // A fault of the program itself inside a step (a script error) must not
    // leave a run waiting for ever: it is reported and stops the run like
    // any failure. Every continuation the steps hand out runs through this.
    function guarded(fn) {
        return function() {
            try {
                return fn.apply(null, arguments)
            } catch (e) {
                jobPort.internalError(e)
            }
        }
    }
    function internalError(e) {
        var where = e && e.stack ? String(e.stack).split("\n")[0] : ""
        console.warn("Job step failed:", e, where)
        fail(qsTr("Внутренняя ошибка программы: ") + (e && e.message ? e.message : String(e)))
    }

    // A step cannot go on: the operator is told and whatever runs stops.
    function fail(text) {
        app.errorMessage(app.t + text, false, "")
        app.appError(String(text))
    }

    // ---- the waiters, with the homing activity around homeWait
    function homeWait(f) {
        if (!machineState.machineOn) {
            waiters.homeWait(f)
            return
        }
        machineState.setActivity("homing", true)
        waiters.homeWait(function() {
            jobPort.machineState.setActivity("homing", false)
            if (f)
                f()
        })
    }
    function stopAll() {
        waiters.stopAll()
        // Blocks still queued behind the running one belong to what just
        // stopped: none of them may move the machine now. A nozzle change
        // under way keeps its blocks, as its G-code waiter goes on.
        if (!nozzleChanging)
            gate.clear()
        if (marks) {
            marks.stopAll()
            markPort.cameraStop()
            markPort.closeBoardMoveDialog()
            machineState.calibrating = false
        }
        if (picking)
            picking.stopAll()
        if (component)
            component.stopAll()
        pickPort.cameraStop()
        machineState.setActivity("homing", false)
    }

    Component.onCompleted: {
        waiters = Waiters.create(port)
        sequencer = Sequencer.create(port)
        // A gCodeWait row is done when its block is.
        waiters.rowDriver = sequencer.make
        markPort.install(port)
        pickPort.install(port)
        marks = Marks.create(port, { "delayWait": waiters.delayWait, "gCodeWait": waiters.gCodeWait,
                                     "homeWait": jobPort.homeWait })
        calibrationMarkHook = marks.calibrate
        picking = Picking.create(port, waiters)
        component = Cycle.create(port, waiters, picking)
        boardMoveAgreeHook = markPort.boardMoveAgree
        // A stop: the camera stops calculating.
        addReset("vision", function() { jobPort.markPort.cameraStop() })
        steps = {
            "delayWait": waiters.delayWait,
            "positionWait": waiters.positionWait,
            "gCodeWait": waiters.gCodeWait,
            "homeWait": jobPort.homeWait,
            "justCalibrateWait": waiters.justCalibrateWait,
            "findRefPoints": marks.findRefPoints,
            "setupDots": marks.setupDots,
            "refPointWait": marks.refPointWait,
            "toSecondCalibSign": marks.toSecondCalibSign,
            "centerAtRef": marks.centerAtRef,
            "nozzleOnHeadCheckFunc": marks.nozzleOnHeadCheckFunc,
            "cupWait": picking.cupWait,
            "cupWaitDummy": picking.cupWaitDummy,
            "elGetWait": picking.elGetWait,
            "vsMeasureWait": picking.vsMeasureWait,
            "placerWait": picking.placerWait,
            "setupFeeder": component.setupFeeder,
            "setupElement": component.setupElement,
            "elWait": component.elWait,
            "elSetupCoordsWithCorrections": component.elSetupCoordsWithCorrections,
            "elSetupWait": component.elSetupWait,
            "elToBasketWait": component.elToBasketWait,
            "rlcWait": component.rlcWait,
            "elProgramWait": component.elProgramWait,
            // The inspection window runs the run's inspection row.
            "aoi": function(f) { jobPort.app.aoiInterface.runRow(f) }
        }
        // A stop: the meter is set up anew in the next run.
        addReset("rlc", function() { jobPort.component.resetRlc() })
    }

    Connections {
        target: jobPort.machineState
        function onPositionUpdated() { jobPort.waiters.positionGet() }
        function onMachineHomedChanged() { jobPort.waiters.homedGet() }
        function onMachineOnChanged() {
            if (!jobPort.machineState.machineOn)
                jobPort.stopAll()
            jobPort.sequencer.machineOnGet()
        }
        function onMachineHomed2Changed() { jobPort.sequencer.homedAndCalibratedGet() }
    }
    onPausedChanged: {
        waiters.pauseGet()
        picking.pauseGet()
        component.pauseGet()
        sequencer.pauseGet()
    }
    // The vacuum sensor's answers, for the step waiting for one.
    Connections {
        target: jobPort.app
        function onVsMeasureSignal(value) { jobPort.picking.vsMeasureGet(value, jobPort.app.vsMeasureTime) }
        function onVsMeasureFailedSignal(message) { jobPort.picking.vsMeasureFailedGet(message) }
        function onVsStartedSignal() { jobPort.picking.vsStartedGet() }
        function onVsStartFailedSignal(message) { jobPort.picking.vsStartFailedGet(message) }
    }
    Connections {
        target: jobPort.app
        function onAppError() {
            jobPort.stopAll()
            jobPort.sequencer.appErrorGet()
        }
        function onGetGcodeDone(successful) { jobPort.sequencer.gCodeDoneGet(successful) }
    }
}

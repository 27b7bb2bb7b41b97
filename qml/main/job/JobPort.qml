import QtQuick 2.15
import "waiters.js" as Waiters

// The one piece between the job's step libraries and the rest of the
// program. The libraries see only `port` (a plain object of functions); this
// item fills it from the main window, the machine state, the G-code gate and
// the timers, and forwards the awaited events (position, homing, pause) to
// them. The step functions are reachable by name through `steps`.
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

    // The calibration-mark search; the marks library replaces it. Until then
    // it succeeds only when the calibration mark is switched off.
    property var calibrationMarkHook: function(shortForm, done) {
        if (!jobPort.app.calibEnabled) {
            done(true)
            return
        }
        jobPort.app.errorMessage(jobPort.app.t + qsTr("Поиск калибровочного знака недоступен в этой версии программы"),
                                 false, "")
        done(false)
    }

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
            fn()
        })
        t.start()
        return handle
    }

    readonly property var port: ({
        "sendGCode": function(text, safeH, onDone) { jobPort.gate.send(text, safeH, onDone) },
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
        "rowComplete": function(text) {
            if (jobPort.app.smtInterface && typeof jobPort.app.smtInterface.rowComplete === "function")
                jobPort.app.smtInterface.rowComplete(text)
        },
        "log": function(text, color) { jobPort.app.logAdd(text, color) },
        "fail": function(text) { jobPort.fail(text) }
    })

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
        machineState.setActivity("homing", false)
    }

    Component.onCompleted: {
        waiters = Waiters.create(port)
        steps = {
            "delayWait": waiters.delayWait,
            "positionWait": waiters.positionWait,
            "gCodeWait": waiters.gCodeWait,
            "homeWait": jobPort.homeWait,
            "justCalibrateWait": waiters.justCalibrateWait
        }
    }

    Connections {
        target: jobPort.machineState
        function onPositionUpdated() { jobPort.waiters.positionGet() }
        function onMachineHomedChanged() { jobPort.waiters.homedGet() }
        function onMachineOnChanged() { if (!jobPort.machineState.machineOn) jobPort.stopAll() }
    }
    onPausedChanged: waiters.pauseGet()
    Connections {
        target: jobPort.app
        function onAppError() { jobPort.stopAll() }
    }
}

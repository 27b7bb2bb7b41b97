.pragma library
.import "../lib/coords.js" as Coords

// The waiting primitives every step of a job is built from. Each takes its
// continuation `f` last, does one thing (starts a timer, hands one G-code
// block to the gate, commands homing) and returns; the awaited event comes
// back through one of the event entries below and calls `f`.
//
// Each waiter keeps its state on its own function object: `waiting` (a result
// counts only while it is set, so a late one after a stop does nothing) and
// `f`, its continuation.
//
// `create(port)` makes one set of waiters over a port (see JobPort.qml; the
// tests give a fake machine). Event entries the port's owner calls:
//   positionGet()      the machine position changed
//   pauseGet()         the pause state changed
//   homedGet()         the homed state changed
//   stopAll()          a stop: every waiter stops waiting
// and `rowDriver`, the function whose completion marks the current row done.

var TOLERANCE = 0.01

function create(port) {
    var w = {}
    w.rowDriver = null

    // ---- delayWait(delay, f): one single-shot timer; false or undefined
    // mean 1000 ms (0 is a real delay of 0 ms).
    function delayWait(delay, f) {
        if (delayWait.timer)
            delayWait.timer.cancel()
        var ms = (delay === false || delay === undefined || delay === null) ? 1000 : Number(delay)
        if (!isFinite(ms) || ms < 0)
            ms = 0
        delayWait.f = f
        delayWait.waiting = true
        delayWait.timer = port.after(ms, function() {
            delayWait.timer = null
            if (!delayWait.waiting)
                return
            delayWait.waiting = false
            var cont = delayWait.f
            delayWait.f = null
            if (cont)
                cont()
        })
    }
    delayWait.waiting = false
    delayWait.timer = null
    delayWait.f = null

    // ---- positionWait(x, y, z, a, f): false means "any" for a coordinate.
    // X and Y are compared in the user frame, Z and A in joint coordinates.
    function positionWait(x, y, z, a, f) {
        positionWait.waiting = false
        var move = Coords.moveText(x, y, z, a)
        if (move.text === null) {
            port.fail(qsTr("Неверная координата %1: перемещение не выполнено").arg(move.error))
            return
        }
        positionWait.target = [x, y, z, a]
        positionWait.f = f
        if (Coords.near(port.position(), x, y, z, a, TOLERANCE)) {
            positionWait.f = null
            if (f)
                f()
            return
        }
        positionWait.waiting = true
        if (move.text !== "")
            port.sendGCode(move.text, false, null)
    }
    positionWait.waiting = false
    positionWait.target = null
    positionWait.f = null

    function positionCheck() {
        if (!positionWait.waiting || port.paused() || !port.busy())
            return
        var t = positionWait.target
        if (!Coords.near(port.position(), t[0], t[1], t[2], t[3], TOLERANCE))
            return
        positionWait.waiting = false
        var cont = positionWait.f
        positionWait.f = null
        if (cont)
            cont()
    }

    // ---- gCodeWait(text, safeH, f, enablePauseBefore, enablePauseAfter)
    function gCodeWait(text, safeH, f, enablePauseBefore, enablePauseAfter) {
        var before = enablePauseBefore === undefined ? true : enablePauseBefore !== false
        var after = enablePauseAfter === true
        gCodeWait.safeH = safeH === true
        gCodeWait.text = String(text) + (gCodeWait.safeH ? "\ng0 zMax\n" : "\ng0")
        gCodeWait.f = f
        gCodeWait.pauseAfter = after
        gCodeWait.completedInPause = false
        gCodeWait.sent = false
        gCodeWait.ticket += 1
        gCodeWait.waiting = true
        if (before && port.paused())
            return      // sent on leaving pause
        gCodeSendNow()
    }
    gCodeWait.waiting = false
    gCodeWait.sent = false
    gCodeWait.ticket = 0
    gCodeWait.text = ""
    gCodeWait.safeH = false
    gCodeWait.f = null
    gCodeWait.pauseAfter = false
    gCodeWait.completedInPause = false

    function gCodeSendNow() {
        var ticket = gCodeWait.ticket
        gCodeWait.sent = true
        port.sendGCode(gCodeWait.text, gCodeWait.safeH, function(successful) {
            gCodeDoneGet(ticket, successful)
        })
    }

    function gCodeDoneGet(ticket, successful) {
        if (!gCodeWait.waiting || ticket !== gCodeWait.ticket)
            return
        if (successful === false) {
            // A failed block never completes its waiter; the step stops here
            // and the error stops whatever runs.
            gCodeWait.waiting = false
            gCodeWait.f = null
            port.fail(qsTr("Блок G-кода не выполнен"))
            return
        }
        if (!(port.busy() || port.nozzleChanging()) || !port.gCodeDone() || !port.homed())
            return
        if (gCodeWait.pauseAfter && port.paused()) {
            gCodeWait.completedInPause = true
            return
        }
        gCodeComplete()
    }

    function gCodeComplete() {
        gCodeWait.waiting = false
        gCodeWait.completedInPause = false
        var cont = gCodeWait.f
        gCodeWait.f = null
        if (cont && cont === w.rowDriver)
            port.rowComplete(qsTr("выполнено"))
        if (cont && (port.busy() || port.nozzleChanging()))
            cont()
    }

    // ---- homeWait(f)
    function homeWait(f) {
        homeWait.waiting = false
        if (homeWait.guard) {
            homeWait.guard.cancel()
            homeWait.guard = null
        }
        if (!port.machineOn()) {
            if (f)
                f()
            return
        }
        homeWait.f = f
        homeWait.calibrating = false
        port.startVacuumSensorForHeadCheck()
        port.clearHomed()
        port.home()
        homeWait.guard = port.after(100, function() {
            homeWait.guard = null
            homeWait.waiting = true
            homeCheck()
        })
    }
    homeWait.waiting = false
    homeWait.calibrating = false
    homeWait.guard = null
    homeWait.f = null

    function homeCheck() {
        if (!homeWait.waiting || homeWait.calibrating || !port.homed())
            return
        homeWait.calibrating = true
        port.calibrationMark(false, function(ok) {
            if (!homeWait.waiting)
                return
            homeWait.waiting = false
            homeWait.calibrating = false
            // With the calibration mark switched off the sequence still
            // fails when it finds a nozzle left on the head.
            if (ok === true)
                port.setHomedAndCalibrated(true)
            var cont = homeWait.f
            homeWait.f = null
            if (cont)
                cont()
        })
    }

    // ---- justCalibrateWait(f): the short calibration-mark search.
    function justCalibrateWait(f) {
        justCalibrateWait.waiting = false
        if (!port.calibrationEnabled()) {
            if (f)
                f()
            return
        }
        justCalibrateWait.f = f
        justCalibrateWait.waiting = true
        justCalibrateWait.ticket += 1
        var ticket = justCalibrateWait.ticket
        port.calibrationMark(true, function(ok) {
            if (!justCalibrateWait.waiting || ticket !== justCalibrateWait.ticket)
                return
            justCalibrateWait.waiting = false
            var cont = justCalibrateWait.f
            justCalibrateWait.f = null
            var row = cont && cont === w.rowDriver
            if (ok === true) {
                if (row)
                    port.rowComplete(qsTr("выполнено"))
                if (cont)
                    cont()
            } else {
                if (row)
                    port.rowComplete(qsTr("не выполнено"))
                // Losing the homed-and-calibrated flag stops the run.
                port.setHomedAndCalibrated(false)
            }
        })
    }
    justCalibrateWait.waiting = false
    justCalibrateWait.ticket = 0
    justCalibrateWait.f = null

    // ---- event entries
    w.positionGet = function() { positionCheck() }
    w.homedGet = function() { homeCheck() }
    w.pauseGet = function() {
        if (port.paused())
            return
        if (gCodeWait.waiting && !gCodeWait.sent)
            gCodeSendNow()
        else if (gCodeWait.waiting && gCodeWait.completedInPause)
            gCodeComplete()
        positionCheck()
    }

    // Every waiter stops waiting; the G-code waiter goes on only while a
    // nozzle change is under way.
    w.stopAll = function() {
        delayWait.waiting = false
        delayWait.f = null
        if (delayWait.timer) {
            delayWait.timer.cancel()
            delayWait.timer = null
        }
        positionWait.waiting = false
        positionWait.f = null
        if (!port.nozzleChanging()) {
            gCodeWait.waiting = false
            gCodeWait.f = null
        }
        homeWait.waiting = false
        homeWait.calibrating = false
        homeWait.f = null
        if (homeWait.guard) {
            homeWait.guard.cancel()
            homeWait.guard = null
        }
        justCalibrateWait.waiting = false
        justCalibrateWait.f = null
    }

    // True while any waiter waits.
    w.waiting = function() {
        return delayWait.waiting || positionWait.waiting || gCodeWait.waiting || homeWait.waiting
                || homeWait.guard !== null || justCalibrateWait.waiting
    }

    w.delayWait = delayWait
    w.positionWait = positionWait
    w.gCodeWait = gCodeWait
    w.homeWait = homeWait
    w.justCalibrateWait = justCalibrateWait
    return w
}

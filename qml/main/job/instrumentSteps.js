.pragma library
.import "componentInstruments.js" as CI
.import "pickTexts.js" as PT

// The instrument steps of the component cycle: the value check of the held
// part with the RLC meter between the pick and the camera (rlcWait), and
// its programming in the programmer socket before it is placed
// (elProgramWait).
//
// Made by the component cycle with create(port, waiters, cycle). `cycle`
// gives the component being placed and what the cycle does with a part:
//   element()            the component's state (setupElement): ticket,
//                        model, index, feeder, zTravel, centering, camera3,
//                        feederCentering, found, elX, elY, elA, shiftX,
//                        shiftY, programmed
//   nozzle(feeder)       the feeder's nozzle record
//   reject()             the held part to the basket; the same placement
//                        again with a new part
//   skip(model, index)   the operator skipped the feeder
//   mayNotThrow(feeder)  the part may not go to the basket
//   quietAfterPanel()    a failure right after a panel's continue is quiet
// As every step library, each step keeps its state on its function object,
// and its ticket (with the component's) turns away an answer, a block end or
// a panel button meant for an earlier start.
//
// Port functions used, beyond those of the job foundation (after, later,
// log, fail, run, setting, showPanel; blocks go through the waiters):
//   setting(name)                maxVel, maxAcc, rlcX, rlcY, rlcZ,
//                                programmerInterface (0: output 10 and the
//                                machine's inputs, 1: the executable),
//                                programmerScriptPath, programmerWait,
//                                programmerX, programmerY, programmerZ,
//                                programmerA, vacuumDelay,
//                                slowPickPlaceSpeed, postCameraGcode,
//                                postCameraGcode3, workAreaZ1, workAreaZ2
//   rlc.running() -> bool        the meter was started and answers
//   rlc.start(onDone)            opens the meter
//   rlc.setNominal(letter, value, onDone)
//                                sets it up for a part of type letter ("R",
//                                "L", "C") and nominal `value` (base units)
//   rlc.measure(onDone)          one reading
//                                onDone({ ok: true[, value (base units),
//                                text (the meter's text of it)] } or
//                                { ok: false, message })
//   rlc.cancel()                 no answer is awaited any more
//   programmer.listen(onResult)  the programmer's next verdict goes to
//                                onResult(result): "success", "error",
//                                "timeout" or the executable's exit code
//   programmer.cancel()          no verdict is awaited any more
//   programmer.runScript(path, seconds)   runs the programmer executable
//   setDoutOn(n, on)             a digital output of the machine
//   rowErrorUp()                 the current row's error count + 1
//   openFeederSettings(model, index), openRlcSettings()

// The meter answers every request within a few seconds on its own (busy
// readings repeat for up to 9 s); a meter that does not is given up after
// this long.
var RLC_ANSWER_MS = 20000
// The executable gets this much longer than its own limit to report.
var SCRIPT_GRACE_MS = 5000

function create(port, waiters, cycle) {
    var s = {}

    function setting(name) { return port.setting(name) }
    function run() { return port.run() || {} }
    function env() { return { "maxVel": setting("maxVel"), "maxAcc": setting("maxAcc") } }
    function element() { return cycle.element() }
    function cancelTimer(h) {
        if (h)
            h.cancel()
        return null
    }

    // ================================================================
    // rlcWait(ep, f): the held part at the meter; f() when its value is
    // within the feeder's range.
    function rlcWait(ep, f) {
        var r = rlcWait
        r.ticket += 1
        var t = r.ticket
        r.f = f
        r.elTicket = element().ticket
        var e = element()
        var feeder = e.feeder
        // Out-of-range parts are counted per feeder, as recognition failures
        // are.
        var key = String(e.model) + ":" + e.index
        if (key !== r.feederKey)
            r.errorCount = 0
        r.feederKey = key
        var range = CI.rlcRange(feeder)
        if (!range.ok) {
            port.fail(range.error)
            return
        }
        r.range = range
        var nozzle = cycle.nozzle(feeder)
        if (!nozzle) {
            port.fail(qsTr("Насадка №%1 не настроена: проверка не выполнена")
                      .arg(PT.clampInt(feeder.cupNumber, 0, 1000, 0) + 1))
            return
        }
        var e2 = env()
        e2.rlcX = setting("rlcX")
        e2.rlcY = setting("rlcY")
        e2.rlcZ = setting("rlcZ")
        var move = CI.rlcMoveText(feeder, nozzle, e2)
        if (!move.ok) {
            port.fail(move.error)
            return
        }
        waiters.gCodeWait(move.text, false, function() { if (rlcLive(t)) measure(t) })
    }
    rlcWait.ticket = 0
    rlcWait.f = null
    rlcWait.elTicket = -1
    rlcWait.feederKey = ""
    rlcWait.errorCount = 0
    rlcWait.range = null
    // The nominal the meter was last set up for ({ letter, value }), null
    // when it is not known.
    rlcWait.nominal = null
    // The meter failed: it is opened again before the next reading.
    rlcWait.reopen = false
    rlcWait.request = 0
    rlcWait.guard = null

    var rw = rlcWait

    function rlcLive(t) { return t === rw.ticket && element().ticket === rw.elTicket }

    // One request to the meter; the answer (or the give-up) goes to
    // onAnswer(result) unless a later request or start came meanwhile.
    function ask(t, send, onAnswer) {
        rw.request += 1
        var id = rw.request
        rw.guard = cancelTimer(rw.guard)
        rw.guard = port.after(RLC_ANSWER_MS, function() {
            rw.guard = null
            if (id !== rw.request || !rlcLive(t))
                return
            rw.request += 1
            port.rlc.cancel()
            onAnswer({ "ok": false, "message": qsTr("Нет ответа от измерителя.") })
        })
        send(function(result) {
            if (id !== rw.request || !rlcLive(t))
                return
            rw.request += 1
            rw.guard = cancelTimer(rw.guard)
            onAnswer(result || { "ok": false, "message": "" })
        })
    }
    function message(result) {
        return result && result.message !== undefined && result.message !== null ? String(result.message) : ""
    }

    // Open the meter when it is not, set it up when the nominal changed,
    // then the readings.
    function measure(t) {
        if (!port.rlc.running() || rw.reopen) {
            ask(t, function(done) { port.rlc.start(done) }, function(result) {
                if (result.ok !== true) {
                    meterFailed(t, qsTr("Не удалось запустить измеритель RLC: ") + message(result))
                    return
                }
                rw.reopen = false
                // A meter opened anew holds no set-up of ours.
                rw.nominal = null
                setUp(t)
            })
            return
        }
        setUp(t)
    }

    function setUp(t) {
        var wanted = { "letter": rw.range.letter, "value": rw.range.nominal }
        if (rw.nominal && rw.nominal.letter === wanted.letter && rw.nominal.value === wanted.value) {
            readings(t, CI.RLC_READINGS)
            return
        }
        ask(t, function(done) { port.rlc.setNominal(wanted.letter, wanted.value, done) }, function(result) {
            if (result.ok !== true) {
                rw.nominal = null
                meterFailed(t, qsTr("Не удалось настроить измеритель RLC: ") + message(result))
                return
            }
            rw.nominal = wanted
            readings(t, CI.RLC_READINGS)
        })
    }

    // `left` readings; the last one counts.
    function readings(t, left) {
        ask(t, function(done) { port.rlc.measure(done) }, function(result) {
            if (result.ok !== true) {
                meterFailed(t, qsTr("Измеритель RLC сообщает об ошибке измерения: ") + message(result))
                return
            }
            if (!isFinite(PT.num(result.value))) {
                meterFailed(t, qsTr("Измеритель RLC сообщает об ошибке измерения: ")
                            + qsTr("получено значение, не являющееся числом"))
                return
            }
            if (left > 1) {
                readings(t, left - 1)
                return
            }
            judge(t, result)
        })
    }

    function judge(t, result) {
        if (CI.inRange(result.value, rw.range)) {
            rw.errorCount = 0
            var cont = rw.f
            rw.f = null
            if (cont)
                cont()
            return
        }
        port.rowErrorUp()
        rw.errorCount += 1
        var range = CI.rangeText(result.text, result.value, rw.range)
        var text = qsTr("Номинал компонента не соответствует заявленному. ") + range
        var e = element()
        if (rw.errorCount === 1 && !cycle.mayNotThrow(e.feeder)) {
            port.log(text + qsTr(". Сброс в корзину."), "yellow")
            cycle.reject()
            return
        }
        port.log(text + qsTr(". Ожидание оператора."), "red")
        rlcPanel(t, { "range": range })
    }

    function meterFailed(t, text) {
        rw.reopen = true
        port.log(text, "red")
        rlcPanel(t, { "error": text })
    }

    // "Продолжить" drops the part and takes the next one, "Повторить
    // измерение" measures the held part again.
    function rlcPanel(t, values) {
        port.showPanel("rlcError", values, function(id) {
            if (!rlcLive(t))
                return
            var e = element()
            if (id === "rlcFeederSettings") {
                port.openFeederSettings(e.model, e.index)
            } else if (id === "rlcSettings") {
                port.openRlcSettings()
            } else if (id === "skip") {
                cycle.skip(e.model, e.index)
            } else if (id === "continue") {
                cycle.quietAfterPanel()
                cycle.reject()
            } else if (id === "remeasure") {
                measure(t)
            }
        })
    }

    // ================================================================
    // elProgramWait(ep, f): the held part into the programmer socket, then
    // programmed; f() once it is back at the travel height, programmed.
    function elProgramWait(ep, f) {
        var p = elProgramWait
        p.ticket += 1
        var t = p.ticket
        p.f = f
        p.elTicket = element().ticket
        p.lift = ""
        var e = element()
        var feeder = e.feeder
        var nozzle = cycle.nozzle(feeder)
        if (!nozzle) {
            port.fail(qsTr("Насадка №%1 не настроена: программирование не выполнено")
                      .arg(PT.clampInt(feeder.cupNumber, 0, 1000, 0) + 1))
            return
        }
        var socket = { "x": setting("programmerX"), "y": setting("programmerY"), "z": setting("programmerZ"),
                       "a": CI.socketAngle(setting("programmerA"), PT.feederRot(feeder)) }
        var measured = { "mode": e.feederCentering, "found": e.found, "elX": e.elX, "elY": e.elY, "elA": e.elA,
                         "shiftX": e.shiftX, "shiftY": e.shiftY, "corners": PT.num(feeder.centerType) === 3,
                         "forbidAngle": PT.isTrue(feeder.forbidAngle) }
        if (e.feederCentering === 2 && !e.centering) {
            // The mean offset of the parts centred before.
            measured.found = true
            measured.elX = PT.num(feeder.centeringX) || 0
            measured.elY = PT.num(feeder.centeringY) || 0
            measured.elA = PT.num(feeder.centeringA) || 0
        }
        var target = CI.socketTarget(socket, feeder, nozzle, measured,
                                     { "workAreaZ1": setting("workAreaZ1"), "workAreaZ2": setting("workAreaZ2") })
        if (!target.ok) {
            port.fail(target.error)
            return
        }
        var e2 = env()
        e2.zTravel = e.zTravel
        e2.vacuumDelay = setting("vacuumDelay")
        e2.slowPickPlaceSpeed = setting("slowPickPlaceSpeed")
        e2.soft = run().softPlacement === true || PT.isTrue(feeder.slowPlace)
        e2.centred = e.centering === true
        e2.postCameraGcode = setting(e.camera3 ? "postCameraGcode3" : "postCameraGcode")
        var texts = CI.programmerTexts(target, feeder, e2)
        if (!texts.ok) {
            port.fail(texts.error)
            return
        }
        p.lift = texts.lift
        waiters.gCodeWait(texts.place, false, function() { if (programLive(t)) program(t) })
    }
    elProgramWait.ticket = 0
    elProgramWait.f = null
    elProgramWait.elTicket = -1
    elProgramWait.lift = ""
    elProgramWait.waiting = 0
    elProgramWait.pulse = null
    elProgramWait.guard = null

    var pw = elProgramWait

    function programLive(t) { return t === pw.ticket && element().ticket === pw.elTicket }

    // One try: the start pulse on the output (its verdict comes from the
    // machine's inputs) or a run of the executable.
    function program(t) {
        pw.waiting += 1
        var id = pw.waiting
        var seconds = CI.programmerWait(setting("programmerWait"))
        var script = PT.num(setting("programmerInterface")) === 1
        pw.guard = cancelTimer(pw.guard)
        port.programmer.listen(function(result) {
            if (id === pw.waiting && programLive(t))
                verdict(t, result)
        })
        pw.guard = port.after(seconds * 1000 + (script ? SCRIPT_GRACE_MS : 0), function() {
            pw.guard = null
            if (id === pw.waiting && programLive(t))
                verdict(t, "timeout")
        })
        if (script) {
            port.programmer.runScript(setting("programmerScriptPath"), seconds)
            return
        }
        pw.pulse = cancelTimer(pw.pulse)
        port.setDoutOn(CI.PROGRAMMER_DOUT, true)
        pw.pulse = port.after(CI.PROGRAMMER_PULSE_MS, function() {
            pw.pulse = null
            port.setDoutOn(CI.PROGRAMMER_DOUT, false)
        })
    }

    function verdict(t, result) {
        pw.waiting += 1
        pw.guard = cancelTimer(pw.guard)
        port.programmer.cancel()
        if (String(result) === "success") {
            waiters.gCodeWait(pw.lift, false, function() {
                if (!programLive(t))
                    return
                element().programmed = true
                var cont = pw.f
                pw.f = null
                if (cont)
                    cont()
            })
            return
        }
        var panel = CI.programmerPanel(result)
        port.showPanel(panel.name, panel.values, function(id) {
            if (!programLive(t))
                return
            var e = element()
            if (id === "retry") {
                program(t)
            } else if (id === "basket") {
                cycle.reject()
            } else if (id === "skip") {
                cycle.skip(e.model, e.index)
            }
        })
    }

    // ---- a stop: nothing is awaited any more; a start pulse still on ends
    s.stopAll = function() {
        rw.ticket += 1
        rw.f = null
        rw.request += 1
        rw.guard = cancelTimer(rw.guard)
        if (port.rlc)
            port.rlc.cancel()
        pw.ticket += 1
        pw.f = null
        pw.waiting += 1
        pw.guard = cancelTimer(pw.guard)
        if (pw.pulse) {
            pw.pulse = cancelTimer(pw.pulse)
            port.setDoutOn(CI.PROGRAMMER_DOUT, false)
        }
        if (port.programmer)
            port.programmer.cancel()
    }
    // A new run sets the meter up anew and counts its failures from 0.
    s.resetRlc = function() {
        rw.nominal = null
        rw.errorCount = 0
        rw.feederKey = ""
    }

    s.rlcWait = rlcWait
    s.elProgramWait = elProgramWait
    return s
}

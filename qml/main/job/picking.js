.pragma library
.import "../lib/geometry.js" as Geometry
.import "program.js" as Program
.import "pickTexts.js" as PT
.import "componentChecks.js" as Checks
.import "looseParts.js" as LP

// Picking steps of a job: the pick of one component from its feeder and its
// move to the component camera (elGetWait; loose parts are searched by the
// head camera first, see looseParts.js, with placerWait for one head-camera
// result), the nozzle change with the
// clogging check (cupWait, cupWaitDummy), one fresh vacuum reading
// (vsMeasureWait) and the tape-change panel when a feeder runs out. The texts
// come from pickTexts.js; this library sends them, waits and writes the
// feeder's new run state back.
//
// `create(port, waiters)` as every step library: `waiters` are the waiting
// primitives of waiters.js over the same port. Each step keeps its state on
// its own function object; its `ticket` goes up on every start and on
// stopAll(), so a block end, a sensor reading or a panel button that arrives
// for an older start does nothing. A continuation that completes at once is
// called through port.later(), never from inside the call that started it.
//
// Port functions this library uses, beyond those of the job foundation
// (sendGCode, paused, after, later, log, fail, run, model, setting, step,
// showPanel):
//   setting(name) -> value           maxVel, maxAcc, vacuumDelay,
//                                   slowPickPlaceSpeed, vsEnabled,
//                                   vsControlType (1: relative control),
//                                   workAreaX1, workAreaY1, workAreaZ2,
//                                   shift1, shift2, camera3Enabled,
//                                   camera2MaxElementSize, camera2X/Y,
//                                   camera2Height, camera2MinHeight,
//                                   camera3X/Y, camera3Height,
//                                   camera3MinHeight, preCameraGcode,
//                                   preCameraGcode3, rlcEnabled,
//                                   checkCloggingPrepareTime, basketGcode,
//                                   tapeChangeGCode,
//                                   dontStopProgramOnFeederErrors,
//                                   programmerA
//   feederOf(model, index) -> record or null   (model: bank letter)
//   runState(model, index) -> object (optional) the feeder's state of this
//                                   run; its centeringCurrCount counts the
//                                   parts centred on the camera
//   setFeederValue(model, index, name, value)  a field of a feeder record
//   nozzles() -> [nozzle record]     the nozzle list (cupModel)
//   tapeBank(n), vibrationBank(n) -> record or null
//   currVC() -> int, setCurrVC(n)    the nozzle on the head (-1: none); the
//                                   port also hands the nozzle's length to
//                                   the machine link
//   setNozzleChanging(on)            a nozzle change is under way (cupWaiting)
//   outputOn(n) -> bool, setDoutOn(n, on)   digital outputs of the machine
//   machineMoveIncr(axis, direction, speed, distance)
//                                   incremental jog (the cover-tape pull)
//   feederCheck() -> bool            the feeder editor checks a pick
//   travelHeight() -> mm             travel height of the component in a run
//   placementAngle(ep, feeder) -> degrees
//   placementTarget(ep, feeder) -> { x, y, z, a } with camera correction
//   morePlacements() -> bool         more placements of the group follow
//   programmingPending() -> bool     (optional) the part is to be programmed
//                                   before it is placed: it goes over the
//                                   camera turned as into the programmer
//   switchToEquivalent(model, index, logText) -> bool   (optional) the group
//                                   goes on from the next equivalent feeder
//                                   (false: there is none to go to)
//   noShiftOnStart() -> bool         the first tape part is already released
//   setSupposedAngle(camera3, angle) the component camera's assumed angle
//   vibration.done() -> bool         the last vibration of this run finished
//   vibration.start(freq, dutyCycle, length, onDone)
//                                   the PWM vibration of a vibration bank;
//                                   onDone() when the running one ends
//   vacuum.start(), vacuum.running() -> bool, vacuum.starting() -> bool
//   vacuum.measure()                 ask the sensor for a reading now
//   vacuum.now() -> ms               the sensor clock (ms since midnight)
//   vacuum.before() -> kPa           the reading kept by "(vsMeasureBeforeGet)"
//   vacuum.storeBefore()             keep the last reading as that one
//   vacuum.message() -> text         the last start or measure failure
//   skipFeeder(model, index)         the operator skipped the feeder: its
//                                   group goes to the missed list, the run
//                                   goes on with the next row
//   openFeederSettings(model, index), openSensorSettings()
//   and for loose parts those listed in looseParts.js (headCamera.start,
//   headCamera.placerLoad, headCamera.placerRequest, switchToEquivalent,
//   componentCamera.start).
// Event entries the port's owner calls: vsMeasureGet(value, msecs),
// vsMeasureFailedGet(message), vsStartedGet(), vsStartFailedGet(message),
// pauseGet(), stopAll().

var DAY_MS = 24 * 3600 * 1000
// A sensor that is starting gets this long, a request this long for its answer
// (the sensor gives up on its own after 1.5 s).
var VS_START_MS = 10000
var VS_ANSWER_MS = 2000
// Clogged readings in a row before the operator is asked.
var CLOGGED_TRIES = 2
// The feeder's centring type of corner centring.
var CENTER_CORNERS = 3

function num(v) { return PT.num(v) }

// True when the nozzle holds its part: with relative control the vacuum fell
// from `before` by less than the nozzle's vsPressureDiff, with absolute
// control the reading `after` is above its vsPressure. A reading that is
// not a number holds nothing.
function vacuumHeld(nozzle, relative, before, after) {
    if (!nozzle)
        return false
    if (relative === true)
        return num(before) - num(after) < num(nozzle.vsPressureDiff)
    return num(after) > num(nozzle.vsPressure)
}

// True when the sensor time `msecs` lies after `since` (both ms since
// midnight; a reading just past midnight is after a request just before).
function takenAfter(msecs, since) {
    var d = ((num(msecs) - num(since)) % DAY_MS + DAY_MS) % DAY_MS
    return d > 0 && d < DAY_MS / 2
}

function create(port, waiters) {
    var p = {}

    function setting(name) { return port.setting(name) }
    function inRun() {
        var r = port.run()
        return !!r && r.executing === true
    }
    function relativeVacuum() { return num(setting("vsControlType")) === 1 }
    function nozzleOf(n) {
        var list = port.nozzles() || []
        return n >= 0 && n < list.length ? list[n] : null
    }
    function feederText(model, index) {
        return Program.feederName(model) + "  №" + (Number(index) + 1)
    }
    function env(acc, zTravel, side) {
        return { "maxVel": setting("maxVel"), "maxAcc": setting("maxAcc"), "acc": acc, "zTravel": zTravel,
                 "vacuumDelay": setting("vacuumDelay"), "slowPickPlaceSpeed": setting("slowPickPlaceSpeed"),
                 "relativeVacuum": relativeVacuum(), "side": side, "shift1": setting("shift1"),
                 "shift2": setting("shift2") }
    }

    // ---- feederRot(feeder), camera23Choose(feeder)
    function feederRot(feeder) { return PT.feederRot(feeder) }
    function camera23Choose(feeder) {
        return PT.camera23Choose(feeder, { "camera3Enabled": setting("camera3Enabled"),
                                           "camera2MaxElementSize": setting("camera2MaxElementSize") })
    }

    // ---- vsMeasureWait(f): one vacuum reading taken after this call.
    // f(result) with result { ok: true, value } or { ok: false, message };
    // the result also stays in vsMeasureWait.result.
    function vsMeasureWait(f) {
        var v = vsMeasureWait
        v.ticket += 1
        v.f = f
        v.result = null
        v.waiting = ""
        cancelGuard()
        var t = v.ticket
        if (port.vacuum.running()) {
            request(t)
            return
        }
        if (port.vacuum.starting()) {
            v.waiting = "start"
            guard(t, VS_START_MS)
            return
        }
        port.later(function() {
            if (t === v.ticket)
                vsDone({ "ok": false, "message": vsMessage(qsTr("Датчик разрежения не запущен")) })
        })
    }
    vsMeasureWait.ticket = 0
    vsMeasureWait.f = null
    vsMeasureWait.result = null
    vsMeasureWait.waiting = ""     // "", "start" or "value"
    vsMeasureWait.since = 0
    vsMeasureWait.guard = null

    var vs = vsMeasureWait

    function vsMessage(fallback) {
        var m = port.vacuum.message()
        return m === undefined || m === null || String(m) === "" ? fallback : String(m)
    }
    function request(t) {
        vs.waiting = "value"
        vs.since = port.vacuum.now()
        guard(t, VS_ANSWER_MS)
        port.vacuum.measure()
    }
    function guard(t, ms) {
        cancelGuard()
        vs.guard = port.after(ms, function() {
            vs.guard = null
            if (t === vs.ticket && vs.waiting !== "")
                vsDone({ "ok": false, "message": qsTr("Нет ответа от датчика.") })
        })
    }
    function cancelGuard() {
        if (vs.guard) {
            vs.guard.cancel()
            vs.guard = null
        }
    }
    function vsDone(result) {
        cancelGuard()
        vs.waiting = ""
        vs.result = result
        var cont = vs.f
        vs.f = null
        if (cont)
            cont(result)
    }

    p.vsMeasureGet = function(value, msecs) {
        if (vs.waiting !== "value" || !takenAfter(msecs, vs.since))
            return
        var n = num(value)
        vsDone(isFinite(n) ? { "ok": true, "value": n }
                           : { "ok": false, "message": qsTr("Получено некорректное значение с датчика! ") })
    }
    p.vsMeasureFailedGet = function(message) {
        if (vs.waiting !== "")
            vsDone({ "ok": false, "message": String(message) })
    }
    p.vsStartedGet = function() {
        if (vs.waiting === "start")
            request(vs.ticket)
    }
    p.vsStartFailedGet = function(message) {
        if (vs.waiting === "start")
            vsDone({ "ok": false, "message": String(message) })
    }

    // ---- blocks sent straight to the machine, held while paused; their end
    // always arrives, so what they did to the head is recorded even after a
    // stop.
    var held = null
    function sendSafe(text, onDone) {
        if (port.paused()) {
            held = { "text": text, "onDone": onDone }
            return
        }
        port.sendGCode(text + "\ng0 zMax\n", true, onDone)
    }
    p.pauseGet = function() {
        loose.pauseGet()
        if (port.paused() || !held)
            return
        var h = held
        held = null
        sendSafe(h.text, h.onDone)
    }

    // ---- cupWait(nCup, f): the nozzle on the head becomes nCup (-1: none).
    function cupWait(nCup, f) {
        var c = cupWait
        c.ticket += 1
        c.wanted = PT.clampInt(nCup, -1, 1000, -1)
        c.f = f
        c.clogged = 0
        var t = c.ticket
        if (port.outputOn(1)) {
            toBasket(t, function() { change(t) })
            return
        }
        change(t)
    }
    cupWait.ticket = 0
    cupWait.wanted = -1
    cupWait.f = null
    cupWait.clogged = 0

    var cup = cupWait

    function currVC() { return PT.clampInt(port.currVC(), -1, 1000, -1) }

    // The first nozzle row of nozzle n not yet reported gets `text`.
    function markNozzleRow(n, text) {
        var model = port.model()
        if (!model)
            return
        for (var row = 0; row < model.rowCount; ++row) {
            if (String(model.getOpFunc(row)).indexOf("cupWait") >= 0 && Number(model.getP1(row, -1)) === n
                    && String(model.getComplete(row)) === "") {
                model.setComplete(row, text)
                return
            }
        }
    }

    // The held part is dropped into the basket first.
    function toBasket(t, next) {
        var step = port.step("elToBasketWait")
        if (step) {
            step(function() { if (t === cup.ticket) next() })
            return
        }
        var r = PT.basketText({ "basketGcode": setting("basketGcode"), "maxVel": setting("maxVel"),
                                "maxAcc": setting("maxAcc"), "acc": PT.pickAcc(inRun()), "feederMaxAcc": null,
                                "screenHidden": false })
        if (!r.ok) {
            port.fail(r.error)
            return
        }
        sendSafe(r.text, function(ok) {
            if (ok === false) {
                port.fail(qsTr("Блок G-кода не выполнен"))
                return
            }
            if (t === cup.ticket)
                next()
        })
    }

    function change(t) {
        var wanted = cup.wanted
        if (currVC() === wanted) {
            markNozzleRow(wanted, qsTr("не выполнено"))
            port.later(function() { if (t === cup.ticket) cupFinish() })
            return
        }
        var plan = PT.nozzleChange(currVC(), wanted, port.nozzles())
        if (!plan.ok) {
            port.fail(plan.error)
            return
        }
        port.setNozzleChanging(true)
        nozzleBlocks(plan.blocks, 0, t)
    }

    // Put-back, then take: the head holds a block's nozzle only once the
    // block has run; a block that fails leaves the head as the last good
    // block left it.
    function nozzleBlocks(blocks, i, t) {
        if (i >= blocks.length) {
            afterTake(t)
            return
        }
        var wanted = cup.wanted
        sendSafe(blocks[i].text, function(ok) {
            if (ok === false) {
                if (t === cup.ticket)
                    port.setNozzleChanging(false)
                port.fail(PT.nozzleChangeAbortText(currVC(), wanted))
                return
            }
            port.setCurrVC(blocks[i].currVC)
            if (t === cup.ticket)
                nozzleBlocks(blocks, i + 1, t)
        })
    }

    function cloggingCheckWanted(nozzle) {
        return setting("vsEnabled") === true && PT.needsCloggingCheck(nozzle, inRun())
    }

    function afterTake(t) {
        var nozzle = nozzleOf(cup.wanted)
        if (cup.wanted < 0 || !cloggingCheckWanted(nozzle)) {
            cupDone(t)
            return
        }
        var started = false
        if (!port.vacuum.running() && !port.vacuum.starting()) {
            port.vacuum.start()
            started = true
        }
        var text = PT.cloggingCheckText(relativeVacuum(), started, setting("checkCloggingPrepareTime"))
        sendChangeBlock(t, text, function() { measureClogging(t) })
    }

    // A block of the nozzle change: a failed one ends the change with an
    // error, a good one goes on with `next` unless a stop came meanwhile.
    function sendChangeBlock(t, text, next) {
        sendSafe(text, function(ok) {
            if (ok === false) {
                if (t === cup.ticket)
                    port.setNozzleChanging(false)
                port.fail(qsTr("Блок G-кода не выполнен"))
                return
            }
            if (t === cup.ticket)
                next()
        })
    }

    function measureClogging(t) {
        var nozzle = nozzleOf(cup.wanted)
        vsMeasureWait(function(result) {
            if (t !== cup.ticket)
                return
            if (!result.ok) {
                port.log(qsTr("Ошибка связи с датчиком разрежения!"), "red")
                cloggingPanel(t, { "control": "failure", "message": result.message })
                return
            }
            var relative = relativeVacuum()
            var before = port.vacuum.before()
            if (!PT.isClogged(nozzle, relative, before, result.value)) {
                sendChangeBlock(t, PT.CLOGGING_DONE_TEXT, function() { cupDone(t) })
                return
            }
            cup.clogged += 1
            if (cup.clogged < CLOGGED_TRIES) {
                measureClogging(t)
                return
            }
            port.log(qsTr("Датчик разрежения сообщил о забитости насадки!"), "red")
            cloggingPanel(t, relative
                          ? { "control": "relative", "before": before, "after": result.value,
                              "difference": num(before) - result.value, "threshold": nozzle.vsPressureDiff }
                          : { "control": "absolute", "measured": result.value, "threshold": nozzle.vsPressure })
        })
    }

    // The change waits at the panel; "Продолжить" measures again.
    function cloggingPanel(t, values) {
        port.showPanel("nozzleClogging", values, function(id) {
            if (t !== cup.ticket)
                return
            if (id === "sensorSettings") {
                port.openSensorSettings()
            } else if (id === "continue") {
                if (!port.vacuum.running() && !port.vacuum.starting())
                    port.vacuum.start()
                measureClogging(t)
            }
        })
    }

    function cupDone(t) {
        port.setNozzleChanging(false)
        markNozzleRow(cup.wanted, qsTr("выполнено"))
        cupFinish()
    }
    function cupFinish() {
        var cont = cup.f
        cup.f = null
        if (cont)
            cont()
    }

    // ---- cupWaitDummy(nCup, f): the row of a nozzle; the change itself
    // comes when its feeder row starts.
    function cupWaitDummy(nCup, f) {
        var n = PT.clampInt(nCup, -1, 1000, -1)
        if (currVC() === n)
            markNozzleRow(n, qsTr("не выполнено"))
        port.later(function() { if (f) f() })
    }

    // ---- elGetWait(model, index, ep, f, onlyToCamera). The steps of a pick
    // follow each other through their own continuations: a call without
    // arguments starts nothing.
    function elGetWait(model, index, ep, f, onlyToCamera) {
        if (arguments.length === 0)
            return
        var g = elGetWait
        g.ticket += 1
        var t = g.ticket
        g.model = model
        g.index = index
        g.ep = ep
        g.nFunc = f
        g.step = 0
        var feeder = port.feederOf(model, index)
        if (!feeder) {
            port.fail(qsTr("Питатель не найден: взятие не выполнено"))
            return
        }
        g.feeder = feeder
        g.acc = PT.pickAcc(inRun())
        g.zTravel = inRun() ? port.travelHeight() : setting("workAreaZ2")
        if (onlyToCamera === true) {
            if (!g.gCodeCamera) {
                port.fail(qsTr("Перемещение к камере не задано"))
                return
            }
            g.step = 2
            waiters.gCodeWait(g.gCodeCamera, false, function() { if (t === g.ticket) pickDone() })
            return
        }
        g.cup = PT.clampInt(feeder.cupNumber, 0, 1000, 0)
        var check = port.feederCheck() === true
        g.needRlc = setting("rlcEnabled") === true && PT.isTrue(feeder.rlcEnabled) && !check && inRun()
        var mode = num(feeder.centering)
        g.needCamera = (mode === 1 || (mode === 2 && centredCount(model, index, feeder) < num(feeder.centeringCount)))
                && !check
        g.needPWM = false
        g.gCodeCamera = ""
        g.angle = num(port.placementAngle(ep, feeder))
        var offset = PT.pickOffset(feeder.packageSettings, g.angle)
        g.xShift = offset.xShift
        g.yShift = offset.yShift
        if (!port.outputOn(0))
            port.setDoutOn(0, true)
        if (runsOut(t))
            return
        pick(t)
    }
    elGetWait.ticket = 0
    elGetWait.step = 0
    elGetWait.gCodeCamera = ""
    elGetWait.xShift = 0
    elGetWait.yShift = 0
    // Where the move to the camera put the head.
    elGetWait.cameraX = NaN
    elGetWait.cameraY = NaN
    elGetWait.needRlc = false
    elGetWait.needPWM = false
    elGetWait.needCamera = false

    var g = elGetWait
    var loose = LP.create(port, waiters, elGetWait)

    // Parts of the feeder centred on the camera in this run: the run's own
    // count when the port keeps one, else the record's; none before the
    // first.
    function centredCount(model, index, feeder) {
        var state = typeof port.runState === "function" ? port.runState(model, index) : null
        var n = state && state.centeringCurrCount !== undefined ? num(state.centeringCurrCount)
                                                                : num(feeder.centeringCurrCount)
        return isFinite(n) ? n : 0
    }

    // ---- a feeder that runs out waits at the tape-change panel
    function runsOut(t) {
        var feeder = g.feeder
        var type = num(feeder.type)
        if (type === 1 || type === 5) {
            var capacity = type === 1 ? PT.trayCapacity(feeder) : PT.stripCapacity(feeder)
            var n = num(feeder.caseCurrNumber)
            if (!isFinite(n) || n < 0) {
                n = 0
                port.setFeederValue(g.model, g.index, "caseCurrNumber", 0)
            }
            if (capacity <= 0 || n < capacity)
                return false
            var missedPass = port.run() && port.run().placingMissedComponents === true
            if (!PT.isTrue(feeder.caseStopEnabled) || (setting("dontStopProgramOnFeederErrors") === true && !missedPass)) {
                port.setFeederValue(g.model, g.index, "caseCurrNumber", 0)
                g.feeder = port.feederOf(g.model, g.index)
                return false
            }
            tapeChange(t, type === 1 ? qsTr("Жду замены/пополнения поддона! Остановка! Питатель: ")
                                     : qsTr("Жду замены/пополнения отрезка ленты! Остановка! Питатель: "))
            return true
        }
        if ((type === 0 || type === 3 || type === 4) && PT.isTrue(feeder.tapeEnabled) && num(feeder.inTapeNow) <= 0) {
            tapeChange(t, qsTr("Жду замены ленты! Остановка! Питатель: "))
            return true
        }
        return false
    }

    function tapeChange(t, logText) {
        port.log(logText + feederText(g.model, g.index), "yellow")
        port.showPanel("tapeChange", {}, function(id) {
            if (t !== g.ticket)
                return
            if (id === "feederSettings") {
                port.openFeederSettings(g.model, g.index)
            } else if (id === "skip") {
                port.skipFeeder(g.model, g.index)
            } else if (id === "continue") {
                var feeder = port.feederOf(g.model, g.index) || {}
                var type = num(feeder.type)
                if (type === 1 || type === 2 || type === 5)
                    port.setFeederValue(g.model, g.index, "caseCurrNumber", 0)
                else
                    port.setFeederValue(g.model, g.index, "inTapeNow", (num(feeder.inTapeNow) || 0) + (num(feeder.inTape) || 0))
                elGetWait(g.model, g.index, g.ep, g.nFunc)
            }
        })
        var gcode = setting("tapeChangeGCode")
        if (gcode !== undefined && gcode !== null && String(gcode).trim() !== "")
            port.sendGCode(String(gcode) + "\ng0 zMax\n", true, null)
    }

    // ---- the pick block of the feeder's kind, then the camera
    function pick(t) {
        var feeder = g.feeder
        var nozzle = nozzleOf(g.cup)
        if (!nozzle) {
            port.fail(qsTr("Насадка №%1 не настроена: взятие не выполнено").arg(g.cup + 1))
            return
        }
        var e = env(g.acc, g.zTravel, g.model)
        var bankNumber = PT.clampInt(feeder.bankNumber, 0, 3, 0)
        var r
        switch (num(feeder.type)) {
        case 0:
            port.vacuum.storeBefore()
            r = PT.gcodeFeederText(feeder, g.needCamera ? null : port.placementTarget(g.ep, feeder), g.needCamera, e)
            break
        case 1:
            r = PT.trayText(feeder, nozzle, e)
            break
        case 3:
            e.noShiftOnStart = port.noShiftOnStart() === true
            e.morePlacements = inRun() && port.morePlacements() === true
            r = PT.tapeText(feeder, port.tapeBank(bankNumber), nozzle, e)
            break
        case 4:
            r = PT.vibrationText(feeder, port.vibrationBank(bankNumber), nozzle, e)
            break
        case 5:
            r = PT.stripText(feeder, nozzle, e)
            break
        case 2:
            e.camera1XShift = setting("camera1XShift")
            e.camera1YShift = setting("camera1YShift")
            loose.pick({ "live": function() { return t === g.ticket }, "model": g.model, "index": g.index,
                         "feeder": feeder, "nozzle": nozzle, "env": e, "needCamera": g.needCamera,
                         "camera3": camera23Choose(feeder),
                         "onPicked": function(built) { sendBuilt(t, feeder, nozzle, e, built) },
                         "tapeChange": function(logText) { tapeChange(t, logText) } })
            return
        default:
            port.fail(qsTr("Неизвестный тип питателя: взятие не выполнено"))
            return
        }
        sendBuilt(t, feeder, nozzle, e, r)
    }

    // The pick block `r` of the feeder's kind, with the move to the camera
    // or the ending of a part that does not go there.
    function sendBuilt(t, feeder, nozzle, e, r) {
        if (!r.ok) {
            port.fail(r.error)
            return
        }
        g.needPWM = !!r.pwm
        var separate = g.needRlc || g.needPWM
        var text = r.text
        if (g.needCamera) {
            var move = cameraMove(feeder, nozzle, e)
            if (!move.ok) {
                port.fail(move.error)
                return
            }
            g.gCodeCamera = move.text
            if (!separate)
                text += "\n" + move.text
        } else {
            var tail = PT.noCameraTail(feeder, e)
            if (tail === null) {
                port.fail(PT.pickNumberError())
                return
            }
            if (tail !== "")
                text += "\n" + tail
        }
        if (r.state)
            writeTapeState(r.state)
        if (r.jog)
            port.machineMoveIncr(r.jog.axis, r.jog.direction, r.jog.speed, r.jog.distance)
        if (g.needPWM && (!inRun() || !port.vibration.done())) {
            port.vibration.start(r.pwm.freq, r.pwm.dutyCycle, r.pwm.length, function() {
                if (t === g.ticket)
                    sendPick(t, text, r.pwm)
            })
            return
        }
        sendPick(t, text, r.pwm)
    }

    function writeTapeState(state) {
        var names = ["bandSemiStep", "release2CompsDone", "noShiftOnStartDone", "lastGetX", "lastGetY"]
        for (var i = 0; i < names.length; ++i)
            port.setFeederValue(g.model, g.index, names[i], state[names[i]])
    }

    // The held part over the component camera (camera 3 for large parts).
    function cameraMove(feeder, nozzle, e) {
        var three = camera23Choose(feeder)
        var c = three ? "camera3" : "camera2"
        var camera = { "preCameraGcode": setting(three ? "preCameraGcode3" : "preCameraGcode"),
                       "cameraX": setting(c + "X"), "cameraY": setting(c + "Y"),
                       "cameraMinHeight": setting(c + "MinHeight"), "cameraHeight": setting(c + "Height"),
                       "workAreaX1": setting("workAreaX1"), "workAreaY1": setting("workAreaY1"),
                       "workAreaZ2": setting("workAreaZ2") }
        for (var k in camera)
            e[k] = camera[k]
        var x = num(camera.cameraX) + g.xShift, y = num(camera.cameraY) + g.yShift
        // A part to be programmed first is turned as it goes into the socket.
        var angle = typeof port.programmingPending === "function" && port.programmingPending() === true
                ? Geometry.minAngle(num(setting("programmerA")) - feederRot(feeder)) : g.angle
        // Corner centring starts with the first side of the part over the
        // camera.
        if (num(feeder.centerType) === CENTER_CORNERS) {
            var start = Checks.cornerStart(angle, feederRot(feeder), feeder.elWidth, feeder.elHeight)
            var at = start ? Checks.cornerCameraTarget(camera.cameraX, camera.cameraY, start, g.xShift, g.yShift)
                           : { "x": NaN, "y": NaN }
            x = at.x
            y = at.y
        }
        g.cameraX = x
        g.cameraY = y
        var move = PT.cameraMoveText(x, y, num(feeder.centering) === 1 ? angle : null, feeder, nozzle, e)
        if (move.ok)
            port.setSupposedAngle(three, Geometry.minAngle(angle + feederRot(feeder)))
        return move
    }

    function sendPick(t, text, pwm) {
        g.step = 1
        waiters.gCodeWait(text, false, function() {
            if (t !== g.ticket)
                return
            if (pwm && inRun())
                port.vibration.start(pwm.freq, pwm.dutyCycle, pwm.length, function() {})
            afterPick(t)
        })
    }

    // An RLC check or a vibration came between: the move to the camera
    // follows on its own.
    function afterPick(t) {
        if (g.needRlc) {
            var rlc = port.step("rlcWait")
            if (!rlc) {
                port.fail(qsTr("Проверка номинала недоступна: взятие не выполнено"))
                return
            }
            rlc(g.ep, function() { if (t === g.ticket) toCamera(t) })
            return
        }
        toCamera(t)
    }

    function toCamera(t) {
        if (!g.needCamera || !(g.needRlc || g.needPWM)) {
            pickDone()
            return
        }
        g.step = 2
        waiters.gCodeWait(g.gCodeCamera, false, function() { if (t === g.ticket) pickDone() })
    }

    function pickDone() {
        var cont = g.nFunc
        g.nFunc = null
        if (cont)
            cont()
    }

    // ---- a stop: every step forgets what it waits for
    p.stopAll = function() {
        g.ticket += 1
        g.nFunc = null
        cup.ticket += 1
        cup.f = null
        vs.ticket += 1
        vs.f = null
        vs.waiting = ""
        cancelGuard()
        held = null
        port.setNozzleChanging(false)
        loose.stopAll()
    }

    p.elGetWait = elGetWait
    p.cupWait = cupWait
    p.cupWaitDummy = cupWaitDummy
    p.vsMeasureWait = vsMeasureWait
    p.placerWait = loose.placerWait
    // The head camera gets a loose-part feeder's search settings (the start
    // of its group).
    p.loadSearchSettings = function(model, index, feeder) { loose.loadSettings(model, index, feeder) }
    p.feederRot = feederRot
    p.camera23Choose = camera23Choose
    p.vacuumHeld = vacuumHeld
    return p
}

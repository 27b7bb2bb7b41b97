.pragma library
.import "../lib/coords.js" as Coords
.import "gcodeTexts.js" as GT

// The check for a nozzle left on the head: with the compressor on and the
// valve open, a nozzle on the head holds a vacuum; without one the vacuum
// rises only when the bare head comes down onto the check surface. The
// finding is compared with the nozzle the program thinks is on the head
// (currVC, -1 for none).
//
// `create(port, waiters)` as every step library. Port functions this
// library uses, beyond those of the job foundation:
//   setting(name) -> value           nozzleOnHeadCheckX/Y/Z,
//                                   nozzleOnHeadCheckSpeedXY/Z,
//                                   nozzleOnHeadCheckXYMatchCalib, calibX/Y,
//                                   vsMeasureHighPressure1/2, maxVel, maxAcc
//   vacuum.start()                   start the vacuum sensor
//   vacuum.running() -> bool
//   vacuum.latest() -> { value, time }  the last reading (kPa) and when it
//                                   came (ms); an unchanged time means no
//                                   fresh reading
//   vacuum.setFast(on)               readings every 20 ms instead of 100 ms
//   abortMotion()                    stop the running block's motion (its
//                                   onDone still comes)
//   currVC() -> int, setCurrVC(n)    the nozzle on the head
//   showError(text, type)            error window ("warning" for a notice)

var SENSOR_START_TRIES = 10
var SENSOR_START_MS = 1000
var SAMPLE_MS = 100
// Below this the compressor is not delivering.
var MIN_COMPRESSOR_VACUUM = 15
// A rise larger than this while the head comes down is a nozzle touching.
var RISE = 4

function create(port, waiters) {
    var h = {}

    function num(name) { return Number(port.setting(name)) }

    function nozzleOnHeadTexts() {
        var vc = Number(port.currVC())
        if (vc === -1)
            return { "result": "error",
                     "text": qsTr("Насадка установлена на голове! Снимите ее, верните в базу, после чего нажмите \"ОК\".") }
        return { "result": "ok",
                 "warning": qsTr("Насадка №%1 находится на голове. Если это верно, не снимайте ее!").arg(vc + 1) }
    }

    // nozzleOnHeadCheckFunc(start, f): f(ok) at the end; the finding stays
    // in nozzleOnHeadCheckFunc.result ("ok" or "error") until the next check.
    function nozzleOnHeadCheckFunc(start, f) {
        var c = nozzleOnHeadCheckFunc
        c.ticket += 1
        c.f = f
        c.result = null
        c.text = ""
        c.warning = ""
        c.tries = 0
        c.moved = false
        if (port.vacuum.running()) {
            toCheckPoint()
            return
        }
        port.vacuum.start()
        waitSensor(c.ticket)
    }
    nozzleOnHeadCheckFunc.ticket = 0
    nozzleOnHeadCheckFunc.f = null
    nozzleOnHeadCheckFunc.result = null
    nozzleOnHeadCheckFunc.text = ""
    nozzleOnHeadCheckFunc.warning = ""
    nozzleOnHeadCheckFunc.tries = 0
    nozzleOnHeadCheckFunc.moved = false
    nozzleOnHeadCheckFunc.before = 0
    nozzleOnHeadCheckFunc.lastTime = null
    nozzleOnHeadCheckFunc.stale = 0
    nozzleOnHeadCheckFunc.aborted = false
    nozzleOnHeadCheckFunc.sampler = null

    var c = nozzleOnHeadCheckFunc

    // Step 1: up to ten seconds for the sensor to run.
    function waitSensor(ticket) {
        port.after(SENSOR_START_MS, function() {
            if (ticket !== c.ticket)
                return
            if (port.vacuum.running()) {
                toCheckPoint()
                return
            }
            c.tries += 1
            if (c.tries >= SENSOR_START_TRIES) {
                finish("error", qsTr("Датчик разрежения не запустился: проверка насадки на голове невозможна"))
                return
            }
            waitSensor(ticket)
        })
    }

    // Step 2: compressor on, over the check point, the valve opened and
    // closed twice.
    function toCheckPoint() {
        var t = c.ticket
        var matchCalib = port.setting("nozzleOnHeadCheckXYMatchCalib") === true
        var x = Coords.fixed(num(matchCalib ? "calibX" : "nozzleOnHeadCheckX"), 2)
        var y = Coords.fixed(num(matchCalib ? "calibY" : "nozzleOnHeadCheckY"), 2)
        var xy = GT.xySpeed(num("nozzleOnHeadCheckSpeedXY"), 100, port.setting("maxVel"), port.setting("maxAcc"))
        if (x === null || y === null || xy === null) {
            finish("error", qsTr("Неверные настройки проверки насадки на голове"))
            return
        }
        c.moved = true
        waiters.gCodeWait("g0 zMax\n" + "m64 p0\nm65 p1\n" + xy + " x" + x + " y" + y + "\n"
                          + "m64 p1\ng4 p0.2\nm65 p1\ng4 p0.2\nm64 p1\ng4 p0.2\nm65 p1\ng4 p1\n", true, function() {
            if (t !== c.ticket)
                return
            // Step 3: the valve closed, the compressor must hold a vacuum.
            if (Number(port.vacuum.latest().value) < MIN_COMPRESSOR_VACUUM) {
                finish("error", qsTr("Низкое разрежение при включенном компрессоре и закрытом пневмоклапане. Проверьте, подключен ли компрессор!"))
                return
            }
            waiters.gCodeWait("m64 p1\ng4 p2\n", true, function() {
                if (t === c.ticket)
                    valveOpen()
            })
        })
    }

    // Step 4: the valve open; a narrow nozzle on the head holds a vacuum.
    function valveOpen() {
        var value = Number(port.vacuum.latest().value)
        if (value > num("vsMeasureHighPressure2")) {
            var found = nozzleOnHeadTexts()
            finish(found.result, found.text, found.warning)
            return
        }
        lowerHead(value)
    }

    // Step 5: the head comes down to the check height while the sensor is
    // sampled; a rise means a nozzle touches.
    function lowerHead(before) {
        var t = c.ticket
        var z = Coords.fixed(num("nozzleOnHeadCheckZ"), 1)
        var zs = GT.zSpeed(num("nozzleOnHeadCheckSpeedZ"), 100, port.setting("maxVel"), port.setting("maxAcc"))
        if (z === null || zs === null) {
            finish("error", qsTr("Неверные настройки проверки насадки на голове"))
            return
        }
        c.before = before
        c.lastTime = port.vacuum.latest().time
        c.stale = 0
        c.aborted = false
        c.finding = null
        port.vacuum.setFast(true)
        port.sendGCode(zs + " z" + z + "\ng4 p1\n", false, function(ok) {
            if (t !== c.ticket)
                return
            stopSampling()
            port.vacuum.setFast(false)
            if (c.aborted) {
                finish(c.finding.result, c.finding.text, c.finding.warning)
                return
            }
            if (ok === false) {
                finish("error", qsTr("Блок G-кода не выполнен"))
                return
            }
            if (Number(port.currVC()) === -1) {
                finish("ok", "")
                return
            }
            port.setCurrVC(-1)
            finish("error", qsTr("Программа не обнаружила насадку на голове. Возможно, она была снята вручную. Если это не так, то снимите ее с головы и установите в базу, после чего нажмите \"ОК\"."))
        })
        sample(t)
    }

    function sample(ticket) {
        c.sampler = port.after(SAMPLE_MS, function() {
            c.sampler = null
            if (ticket !== c.ticket || c.aborted)
                return
            var s = port.vacuum.latest()
            if (s.time === c.lastTime) {
                c.stale += 1
                if (c.stale >= 2) {
                    abort({ "result": "error", "text": qsTr("Датчик разрежения не дал своевременный ответ!") })
                    return
                }
            } else {
                c.stale = 0
                c.lastTime = s.time
                var value = Number(s.value)
                if (Math.abs(value - c.before) > RISE && value > num("vsMeasureHighPressure1")) {
                    abort(nozzleOnHeadTexts())
                    return
                }
            }
            sample(ticket)
        })
    }

    function stopSampling() {
        if (c.sampler) {
            c.sampler.cancel()
            c.sampler = null
        }
    }

    // The finding is known; the motion is stopped and its end awaited.
    function abort(finding) {
        c.aborted = true
        c.finding = finding
        stopSampling()
        port.abortMotion()
    }

    // Step 6: compressor and valve off, head up; then the verdict.
    function finish(result, text, warning) {
        var t = c.ticket
        c.result = result
        c.text = text || ""
        c.warning = warning || ""
        if (!c.moved) {
            report()
            return
        }
        var zs = GT.zSpeed(num("nozzleOnHeadCheckSpeedZ"), 100, port.setting("maxVel"), port.setting("maxAcc")) || "g0 "
        waiters.gCodeWait("m65 p0\nm65 p1\n" + zs + " zMax\n", true, function() {
            if (t === c.ticket)
                report()
        })
    }

    function report() {
        if (c.result !== "ok" && c.text !== "")
            port.showError(c.text, "")
        if (c.result === "ok" && c.warning !== "")
            port.showError(c.warning, "warning")
        var cont = c.f
        c.f = null
        if (cont)
            cont(c.result === "ok")
    }

    h.passed = function() { return c.result === "ok" }
    h.stopAll = function() {
        c.ticket += 1
        c.f = null
        stopSampling()
    }
    h.nozzleOnHeadCheckFunc = nozzleOnHeadCheckFunc
    return h
}

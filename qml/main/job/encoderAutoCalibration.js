.pragma library
.import "../lib/coords.js" as Coords
.import "../lib/encoderCalibration.js" as Enc
.import "markCamera.js" as MarkCamera

// The automatic calibration of the belt and encoder strip scales: the head
// camera visits three marks on the table (the second Y_s from the first along
// Y, the third X_s from the second along X), centres on each, and the motor
// and encoder readings of X and Y between them give the distances the
// scales are judged by (encoderCalibration.js).
//
// `create(port, waiters)`: waiters are a set of the job's waiting primitives
// (waiters.js) over the same port. Port functions used: setting(name),
// position(), after(ms, fn), headCamera.{start, stop, request},
// setDoutOn(n, on), encoderReadings() -> { encX, encY, stepperX, stepperY }.
//
//   calibrate(options, done): options { sizeX, sizeY, encoder, stepper };
//   done(result) once: the result of Enc.autoResult (result.ok) or
//   { ok: false, text } when a mark was not found or a move failed.
//   stopAll(): the calibration stops where it is; done is not called.

// Settling of the camera after a move, on top of its own delay.
var SETTLE_MS = 500
// A mark counts as centred within this many millimetres of the centre.
var CENTRE_MM = 0.1
// Centring moves per mark before the mark counts as not found.
var MAX_MOVES = 10

function create(port, waiters) {
    var c = {}
    var point = { "ref": {} }
    var camera = MarkCamera.create(port, function() { return point })
    var refPointWait = camera.refPointWait

    function num(name) { return Number(port.setting(name)) }

    // The marks are recognised with the calibration mark's settings.
    function markSettings() {
        return MarkCamera.markCameraSettings({ "type": num("calibRefPointType"), "indiv": true,
                                               "roi": port.setting("calibROIPercent"),
                                               "t1": port.setting("calibThreshold1"),
                                               "t2": port.setting("calibThreshold2"),
                                               "inv": port.setting("calibCameraInverse") === true,
                                               "size": port.setting("calibRefPointSize"),
                                               "size2": port.setting("calibRefPointSize2"),
                                               "photo": "", "templateMathCoeff": 80 },
                                             port.setting("camera1Exposure"))
    }

    function calibrate(options, done) {
        calibrate.ticket += 1
        calibrate.options = options || {}
        calibrate.done = done
        calibrate.step = 0
        calibrate.moves = 0
        calibrate.centredOnce = false
        calibrate.record = { "encoder": calibrate.options.encoder === true,
                             "stepper": calibrate.options.stepper === true,
                             "sizeX": Number(calibrate.options.sizeX), "sizeY": Number(calibrate.options.sizeY),
                             "scales": { "encoderX": num("encoderScaleX"), "encoderY": num("encoderScaleY"),
                                         "stepperX": num("stepperScaleX"), "stepperY": num("stepperScaleY") } }
        calibrate.home = null
        calibrate.running = true
        port.setDoutOn(4, false)
        port.headCamera.start()
        settle()
    }
    calibrate.ticket = 0
    calibrate.running = false
    calibrate.done = null
    calibrate.options = {}
    calibrate.step = 0
    calibrate.moves = 0
    calibrate.centredOnce = false
    calibrate.record = {}
    calibrate.home = null

    function alive(t) { return calibrate.running && t === calibrate.ticket }

    function move(text) {
        var t = calibrate.ticket
        waiters.gCodeWait(text, false, function() { if (alive(t)) settle() }, false)
    }

    function settle() {
        var t = calibrate.ticket
        waiters.delayWait(num("camera1Delay") + SETTLE_MS, function() {
            if (!alive(t))
                return
            refPointWait(function() { if (alive(t)) measured() }, 0, markSettings())
        })
    }

    function relWord(axis, d) {
        var v = Coords.fixed(Math.abs(d), 3)
        if (v === null)
            return null
        if (Number(v) === 0)
            return ""
        return " " + axis + (d > 0 ? "++" : "--") + v
    }

    function measured() {
        if (!refPointWait.found)
            return finish({ "ok": false, "text": qsTr("Репер не найден!") })
        var dx = refPointWait.dx, dy = refPointWait.dy
        var off = Math.sqrt(dx * dx + dy * dy)
        if (off > CENTRE_MM || !calibrate.centredOnce) {
            if (calibrate.moves >= MAX_MOVES)
                return finish({ "ok": false, "text": qsTr("Репер не найден!") })
            if (off <= CENTRE_MM)
                calibrate.centredOnce = true
            calibrate.moves += 1
            var wx = relWord("x", dx), wy = relWord("y", dy)
            if (wx === null || wy === null)
                return finish({ "ok": false, "text": qsTr("Репер не найден!") })
            move("g0 zMax\ng0" + wx + wy + "\n")
            return
        }
        recordMark()
    }

    function recordMark() {
        var r = calibrate.record
        var pos = port.position()
        var at = { "x": refPointWait.x - num("camera1XShift"), "y": refPointWait.y - num("camera1YShift") }
        var e = port.encoderReadings()
        var step = calibrate.step
        if (step === 0) {
            calibrate.home = { "x": Number(pos.x), "y": Number(pos.y) }
            r.p1 = at
            r.encY1 = e.encY
            r.motorY1 = e.stepperY
        } else if (step === 1) {
            r.p2 = at
            r.encY2 = e.encY
            r.motorY2 = e.stepperY
            r.encX2 = e.encX
            r.motorX2 = e.stepperX
        } else {
            r.p3 = at
            r.encX3 = e.encX
            r.motorX3 = e.stepperX
            return backToFirst(Enc.autoResult(r))
        }
        calibrate.step = step + 1
        calibrate.moves = 0
        calibrate.centredOnce = false
        var target = Enc.autoTarget(calibrate.step, pos.x, pos.y, r.sizeX, r.sizeY)
        var text = MarkCamera.xyText("g0 ", target.x, target.y)
        if (text === null)
            return finish({ "ok": false, "text": qsTr("Расстояния между реперами указаны неправильно!") })
        move("g0 zMax\n" + text + "\n")
    }

    function backToFirst(result) {
        var t = calibrate.ticket
        var text = MarkCamera.xyText("g0 ", calibrate.home.x, calibrate.home.y)
        if (text === null)
            return finish({ "ok": false, "text": qsTr("Расстояния между реперами указаны неправильно!") })
        waiters.gCodeWait("g0 zMax\n" + text + "\n", false, function() { if (alive(t)) finish(result) }, false)
    }

    function finish(result) {
        calibrate.running = false
        camera.stopAll()
        port.headCamera.stop()
        var cont = calibrate.done
        calibrate.done = null
        if (cont)
            cont(result)
    }

    c.stopAll = function() {
        calibrate.ticket += 1
        calibrate.running = false
        calibrate.done = null
        camera.stopAll()
    }
    c.running = function() { return calibrate.running }
    c.calibrate = calibrate
    return c
}

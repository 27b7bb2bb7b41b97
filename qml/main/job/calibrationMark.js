.pragma library
.import "../lib/coords.js" as Coords
.import "gcodeTexts.js" as GT
.import "markCamera.js" as MarkCamera
.import "nozzleOnHead.js" as NozzleOnHead

// The calibration mark on the machine table: the search after homing and
// for the "Калибровка" row, which corrects the offset between the encoder
// zero and the head camera (relX, relY), the check against the second
// calibration mark, and centring the head camera on a mark.
//
// `create(port, waiters, camera)`: camera is a markCamera.js measurement
// over the same port. The port functions are those listed in marks.js.

var MAX_CENTRING_MOVES = MarkCamera.MAX_CENTRING_MOVES
// Calibration mark: centre again while farther (mm).
var CALIB_CENTRE_MM = 0.1
// A calibration correction larger than this (either axis, mm) means the
// wrong mark or a slipped belt: the calibration fails.
var MAX_CALIB_CORRECTION = 2.0

function create(port, waiters, camera) {
    var k = {}
    var headCheck = NozzleOnHead.create(port, waiters)
    var refPointWait = camera.refPointWait
    var xyText = MarkCamera.xyText

    function setting(name) { return port.setting(name) }
    function num(name) { return Number(port.setting(name)) }
    function shiftX() { return num("camera1XShift") }
    function shiftY() { return num("camera1YShift") }
    function moveFailed() {
        port.fail(qsTr("Неверные координаты перемещения камеры: перемещение не выполнено"))
    }

    // ---- calibrate(shortForm, done): the calibration-mark search, after
    // every homing (full form) and for the "Калибровка" row (short form:
    // true or "justCalibrate"). done(ok) once; this is the job port's
    // calibrationMark(shortForm, done).
    function calibrate(shortForm, done) {
        calibrate.ticket += 1
        var t = calibrate.ticket
        var isShort = shortForm === true || shortForm === "justCalibrate"
        calibrate.shortForm = isShort
        calibrate.done = done
        calibrate.moves = 0
        calibrate.centred = false
        var checkPending = !isShort && port.setting("nozzleOnHeadCheckEnabled") === true && !headCheck.passed()
        if (!port.calibrationEnabled()) {
            if (isShort) {
                calibrationEnd(false)
                return
            }
            if (!checkPending) {
                port.setRelXY(0, 0)
                calibrationEnd(true)
                return
            }
            headCheck.nozzleOnHeadCheckFunc(true, function(ok) {
                if (t !== calibrate.ticket)
                    return
                if (!ok) {
                    port.setHomedAndCalibrated(false)
                    calibrationEnd(false)
                    return
                }
                port.setRelXY(0, 0)
                calibrationEnd(true)
            })
            return
        }
        port.setRelXY(0, 0)
        port.setCalibrating(true)
        if (!checkPending) {
            calibrationMove()
            return
        }
        port.headCamera.start()
        headCheck.nozzleOnHeadCheckFunc(true, function(ok) {
            if (t !== calibrate.ticket)
                return
            if (!ok) {
                port.headCamera.stop()
                port.setHomedAndCalibrated(false)
                port.setCalibrating(false)
                calibrationEnd(false)
                return
            }
            calibrationMove()
        })
    }
    calibrate.ticket = 0
    calibrate.shortForm = false
    calibrate.done = null
    calibrate.moves = 0
    calibrate.centred = false

    function calibrationEnd(ok) {
        var cont = calibrate.done
        calibrate.done = null
        if (cont)
            cont(ok)
    }

    // Step 2: to the mark.
    function calibrationMove() {
        var t = calibrate.ticket
        port.headCamera.start()
        var text
        if (calibrate.shortForm) {
            var cx = num("calibX"), cy = num("calibY")
            var z = GT.zSpeed(100, 15, setting("maxVel"), setting("maxAcc"))
            var xy = GT.xySpeed(100, 15, setting("maxVel"), setting("maxAcc"))
            if (z === null || xy === null || !isFinite(cx) || !isFinite(cy)) {
                port.log(qsTr("Неизвестны скорости осей или координаты калибровочного знака"), "red")
                calibrationDone(false)
                return
            }
            port.sendCalibXY(cx, cy)
            text = "m65 p4\n" + z + " zMax\n" + xy + " xCalib yCalib\n"
        } else {
            text = "m65 p4\n" + String(setting("calibGcode") || "")
        }
        waiters.gCodeWait(text, true, function() { if (t === calibrate.ticket) calibrationSettle() })
    }

    // Steps 3 and 4.
    function calibrationSettle() {
        var t = calibrate.ticket
        waiters.delayWait(num("camera1Delay") + 200, function() {
            if (t !== calibrate.ticket)
                return
            refPointWait(function() { if (t === calibrate.ticket) calibrationMeasured() }, -1)
        })
    }

    // Step 5.
    function calibrationMeasured() {
        var t = calibrate.ticket
        if (!refPointWait.found) {
            port.log(qsTr("Калибровочный знак не найден"), "red")
            calibrationZUp(false)
            return
        }
        var x = refPointWait.x - shiftX(), y = refPointWait.y - shiftY()
        var pos = port.position()
        var dr = Math.sqrt(Math.pow(x - Number(pos.x), 2) + Math.pow(y - Number(pos.y), 2))
        if (dr > CALIB_CENTRE_MM || !calibrate.centred) {
            if (calibrate.moves >= MAX_CENTRING_MOVES) {
                port.log(qsTr("Не удалось навести камеру на калибровочный знак за %1 перемещений")
                         .arg(MAX_CENTRING_MOVES), "red")
                calibrationZUp(false)
                return
            }
            if (dr <= CALIB_CENTRE_MM)
                calibrate.centred = true
            calibrate.moves += 1
            var text = xyText("g0 ", x, y)
            if (text === null) {
                calibrationZUp(false)
                return
            }
            waiters.gCodeWait(text, false, function() { if (t === calibrate.ticket) calibrationSettle() })
            return
        }
        var relX = refPointWait.x - num("calibX") - shiftX()
        var relY = refPointWait.y - num("calibY") - shiftY()
        if (!(Math.abs(relX) <= MAX_CALIB_CORRECTION && Math.abs(relY) <= MAX_CALIB_CORRECTION)) {
            port.log(qsTr("Калибровочный знак смещен на X: %1 Y: %2 мм, допустимо не более %3 мм")
                     .arg(relX.toFixed(2)).arg(relY.toFixed(2)).arg(MAX_CALIB_CORRECTION.toFixed(1)), "red")
            calibrationZUp(false)
            return
        }
        port.setRelXY(relX, relY)
        calibrationZUp(true)
    }

    function calibrationZUp(ok) {
        var t = calibrate.ticket
        waiters.gCodeWait("g0 zMax\n", true, function() {
            if (t !== calibrate.ticket)
                return
            // Step 6.
            var after = String(setting("afterCalibGcode") || "")
            if (!ok || calibrate.shortForm || after.trim() === "") {
                calibrationDone(ok)
                return
            }
            waiters.gCodeWait(after, true, function() { if (t === calibrate.ticket) calibrationDone(true) })
        })
    }

    // Step 7.
    function calibrationDone(ok) {
        port.headCamera.stop()
        if (ok) {
            port.setCalibrated(true)
        } else {
            port.showError(qsTr("Ошибка при поиске калибровочного знака!"), "")
            port.setHomedAndCalibrated(false)
        }
        port.setCalibrating(false)
        calibrationEnd(ok)
    }

    // ---- toSecondCalibSign(start, f): the camera over the second
    // calibration mark, and the verdict on how far it was found from where
    // it should be. f(ok) at the end.
    function toSecondCalibSign(start, f) {
        toSecondCalibSign.ticket += 1
        var t = toSecondCalibSign.ticket
        toSecondCalibSign.f = f
        port.setDoutOn(4, false)
        port.headCamera.start()
        var tx = Coords.fixed(num("calibX2"), 3), ty = Coords.fixed(num("calibY2"), 3)
        if (tx === null || ty === null) {
            moveFailed()
            return
        }
        var text = "g0 zMax\n" + "G0 X" + tx + " Y" + ty + "\n"
        waiters.gCodeWait(text, true, function() {
            if (t !== toSecondCalibSign.ticket)
                return
            waiters.delayWait(num("camera1Delay"), function() {
                if (t !== toSecondCalibSign.ticket)
                    return
                refPointWait(function() { if (t === toSecondCalibSign.ticket) secondMarkMeasured() }, -1)
            })
        })
    }
    toSecondCalibSign.ticket = 0
    toSecondCalibSign.f = null

    function secondMarkMeasured() {
        var ok = false
        if (!refPointWait.found) {
            port.showError(qsTr("Калибровочный знак не найден!"), "")
        } else {
            var ex = Math.abs(refPointWait.x - shiftX() - num("calibX2"))
            var ey = Math.abs(refPointWait.y - shiftY() - num("calibY2"))
            if (ex > 1)
                port.showError(qsTr("Калибровочный знак смещен по оси X! Обратитесь в службу поддержки."), "")
            else if (ey > 1.5)
                port.showError(qsTr("Скорее всего, произошел перескок ремня! Обратитесь к руководству по эксплуатации установщика."), "")
            else if (ey >= 0.5)
                port.showError(qsTr("Калибровочный знак смещен на ") + ey.toFixed(2)
                               + qsTr("мм. Натяжение ремней оси Y некорректно. Оси X и Y неперпендикулярны!"), "")
            else
                ok = true
        }
        port.headCamera.stop()
        var cont = toSecondCalibSign.f
        toSecondCalibSign.f = null
        if (cont)
            cont(ok)
    }

    // ---- centerAtRef(start, f, settings): centres the head camera on the
    // mark it sees (the calibration mark's recognition settings unless
    // others are given), to a tenth of a millimetre and then to one encoder
    // step. f(true) when centred, f(false) when the mark is not found or does
    // not come to the centre within MAX_CENTRING_MOVES moves.
    function centerAtRef(start, f, settings) {
        centerAtRef.ticket += 1
        centerAtRef.f = f
        centerAtRef.moves = 0
        centerAtRef.settings = settings || null
        port.headCamera.start()
        centerMeasure()
    }
    centerAtRef.ticket = 0
    centerAtRef.f = null
    centerAtRef.moves = 0
    centerAtRef.settings = null

    function centerMeasure() {
        var t = centerAtRef.ticket
        waiters.delayWait(num("camera1Delay"), function() {
            if (t !== centerAtRef.ticket)
                return
            refPointWait(function() { if (t === centerAtRef.ticket) centerStep() }, -1, centerAtRef.settings)
        })
    }

    function encoderStep(name) {
        var scale = Math.abs(num(name))
        return scale > 0 && isFinite(scale) ? 1 / scale : 0
    }

    function stepWord(axis, error, step) {
        if (!(step > 0) || !(Math.abs(error) > 0.6 * step))
            return ""
        return " " + axis + (error > 0 ? "++" : "--") + Coords.fixed(step, 3)
    }

    function centerStep() {
        var t = centerAtRef.ticket
        if (!refPointWait.found) {
            port.headCamera.notFound()
            centerEnd(false)
            return
        }
        var ex = refPointWait.dx, ey = refPointWait.dy
        var text = ""
        if (Math.abs(ex) > CALIB_CENTRE_MM || Math.abs(ey) > CALIB_CENTRE_MM) {
            text = xyText("g0 ", refPointWait.x - shiftX(), refPointWait.y - shiftY())
            if (text === null) {
                centerEnd(false)
                return
            }
        } else {
            var words = stepWord("x", ex, encoderStep("encoderScaleX")) + stepWord("y", ey, encoderStep("encoderScaleY"))
            if (words === "") {
                centerEnd(true)
                return
            }
            text = "g0" + words
        }
        if (centerAtRef.moves >= MAX_CENTRING_MOVES) {
            port.headCamera.notFound()
            centerEnd(false)
            return
        }
        centerAtRef.moves += 1
        waiters.gCodeWait(text, false, function() { if (t === centerAtRef.ticket) centerMeasure() })
    }

    function centerEnd(ok) {
        var cont = centerAtRef.f
        centerAtRef.f = null
        if (cont)
            cont(ok)
    }

    // Every step stops; the waiters are stopped by their owner.
    k.stopAll = function() {
        calibrate.ticket += 1
        calibrate.done = null
        toSecondCalibSign.ticket += 1
        toSecondCalibSign.f = null
        centerAtRef.ticket += 1
        centerAtRef.f = null
        headCheck.stopAll()
    }
    k.calibrate = calibrate
    k.toSecondCalibSign = toSecondCalibSign
    k.centerAtRef = centerAtRef
    k.headCheck = headCheck
    return k
}

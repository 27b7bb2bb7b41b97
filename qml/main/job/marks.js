.pragma library
.import "../lib/coords.js" as Coords
.import "boardCorrection.js" as BC
.import "gcodeTexts.js" as GT
.import "nozzleOnHead.js" as NozzleOnHead

// Steps of a job that use the head camera: the reference-mark search, the
// calibration-mark search, solder dots and the service moves onto a mark.
// Like every step library, `create(port, waiters)` makes one set over a port;
// `waiters` are the waiting primitives of waiters.js made over the same port
// (its homeWait may be the job port's wrapper that registers the homing
// activity). Each step keeps its state on its own function object; `ticket`
// goes up on every start and on stopAll(), so a camera result, a panel button
// or a dialog answer that arrives for an older start does nothing.
//
// Port functions this library uses, beyond those of the job foundation
// (sendGCode, position, after, rowComplete, log, fail, calibrationEnabled,
// setHomedAndCalibrated, ...):
//   setting(name) -> value          a machine setting, the root property of
//                                   that name (camera1XShift, camera1PPMCorr,
//                                   camera1Delay, workAreaX1, calibX, maxVel...)
//   homedAndCalibrated() -> bool     machineHomed2
//   refListMulti() -> [preview]      the run's reference marks in search order
//   refList() -> [mark]              the project's marks (not deleted), each
//                                   with refId and previews[row][col]
//   dotGroup(index) -> [dot preview] group `index` of dotAA
//   feederOf(model, index) -> record or null
//   onCheckScreen() -> bool          the inspection check screen runs the search
//   rowErrorUp()                     the current row's error count goes up by one
//   headCamera.start()               capture on (the window shown as the
//                                   settings say)
//   headCamera.stop()                stop calculating; during a run the
//                                   window is hidden
//   headCamera.request(settings, onResult)
//                                   one fresh recognition result with these
//                                   settings: onResult({ found, x, y }) once,
//                                   x, y in pixels from the frame centre (y
//                                   down, as the camera item reports it); a
//                                   timeout is { found: false, timeout: true }.
//                                   settings: { mode ("circle", "square",
//                                   "templateRef"), indiv (false: the general
//                                   reference-mark settings replace roi, t1,
//                                   t2, inv), roi, t1, t2, inv, calcSize,
//                                   calcSize2, exposure, photo,
//                                   templateMathCoeff }
//   headCamera.crossHair(on)         the camera window open with its cross-hair
//                                   (on), back as before (off)
//   headCamera.notFound()            the camera window's not-found animation
//   showPanel(name, values, onButton)
//                                   raises the operator panel `name`;
//                                   values: { text, buttons: [{ id, text,
//                                   main, enabled }] }; onButton(id) once,
//                                   the panel closes on every button
//   showBoardMoveDialog(values, onAnswer)
//                                   values: { title, text }; onAnswer("yes",
//                                   "no" or "cancel")
//   moveBoard(dx, dy)                moves the board in the project (design mm)
//   stopByOperator()                 stops the run as the operator's stop does
//   openRefSettings(mark)            the reference-mark settings window: the
//                                   mark's own settings, or null for the
//                                   general ones
//   setRelXY(x, y)                   relX, relY and relXYSend
//   sendCalibXY(x, y)                calibXYSend: the words XCalib, YCalib
//   setCalibrating(on), setCalibrated(on)
//   setCalibFound(found, x, y)       calibFound, calibFoundX, calibFoundY
//   setDoutOn(n, on)                 a digital output of the machine
//   showError(text, type)            error window (type "warning" for a notice)
// and those of nozzleOnHead.js for the nozzle-on-head check.

// Recognition results averaged per measurement.
var SAMPLES = 3
// A camera answer that takes longer counts as not found.
var CAMERA_WAIT_MS = 3000
// Centring moves of one measurement loop before it gives up.
var MAX_CENTRING_MOVES = 10
// Reference mark: centre again while farther from the camera centre (mm).
var REF_CENTRE_MM = 1.0
// Calibration mark: centre again while farther (mm).
var CALIB_CENTRE_MM = 0.1
// A calibration correction larger than this (either axis, mm) means the
// wrong mark or a slipped belt: the calibration fails.
var MAX_CALIB_CORRECTION = 2.0

function finite(v) {
    return v !== null && v !== undefined && v !== "" && typeof v !== "boolean" && isFinite(Number(v))
}

// Recognition settings of a reference mark record.
function markCameraSettings(ref, exposure) {
    var type = Number(ref.type)
    return { "mode": type === 0 ? "circle" : (type === 1 ? "square" : "templateRef"),
             "indiv": ref.indiv === true, "roi": ref.roi, "t1": ref.t1, "t2": ref.t2, "inv": ref.inv === true,
             "calcSize": ref.size, "calcSize2": ref.size2, "exposure": exposure, "photo": ref.photo,
             "templateMathCoeff": ref.templateMathCoeff }
}

// Text of a camera move: "g0 x<X> y<Y>" (3 decimals), null when X or Y is not
// a finite number.
function xyText(prefix, x, y) {
    var tx = Coords.fixed(x, 3), ty = Coords.fixed(y, 3)
    if (tx === null || ty === null)
        return null
    return prefix + "x" + tx + " y" + ty
}

function create(port, waiters) {
    var m = {}
    var headCheck = NozzleOnHead.create(port, waiters)

    function setting(name) { return port.setting(name) }
    function num(name) { return Number(port.setting(name)) }
    function shiftX() { return num("camera1XShift") }
    function shiftY() { return num("camera1YShift") }
    function env() { return { "workAreaX1": num("workAreaX1"), "workAreaY2": num("workAreaY2") } }
    function calibCameraSettings() {
        return markCameraSettings({ "type": num("calibRefPointType"), "indiv": true, "roi": setting("calibROIPercent"),
                                    "t1": setting("calibThreshold1"), "t2": setting("calibThreshold2"),
                                    "inv": setting("calibCameraInverse") === true,
                                    "size": setting("calibRefPointSize"), "size2": setting("calibRefPointSize2"),
                                    "photo": "", "templateMathCoeff": 80 }, setting("camera1Exposure"))
    }
    function moveFailed() {
        port.fail(qsTr("Неверные координаты перемещения камеры: перемещение не выполнено"))
    }

    // ---- refPointWait(f, n, settings): one measurement of reference mark n
    // of the run's list, or of the calibration mark with n = -1 (other
    // recognition settings than the mark's own when `settings` is given). Takes SAMPLES
    // recognition results; the mark is found only when every one was. Then
    // refPointWait.found, .x, .y (machine position of the mark's centre) and
    // .dx, .dy (its offset from the camera centre, mm) hold the result, the
    // mark's preview (fidX, fidY) or the calibration state is updated, and
    // f() is called.
    function refPointWait(f, n, settings) {
        refPointWait.ticket += 1
        refPointWait.f = f
        refPointWait.n = n
        refPointWait.samples = []
        refPointWait.found = false
        if (settings)
            refPointWait.settings = settings
        else if (n < 0)
            refPointWait.settings = calibCameraSettings()
        else
            refPointWait.settings = markCameraSettings(findRefPoints.list[n].ref || {}, setting("camera1Exposure"))
        takeSample(refPointWait.ticket)
    }
    refPointWait.ticket = 0
    refPointWait.f = null
    refPointWait.n = -1
    refPointWait.samples = []
    refPointWait.found = false
    refPointWait.x = 0
    refPointWait.y = 0
    refPointWait.dx = 0
    refPointWait.dy = 0

    function takeSample(ticket) {
        var answered = false
        var timer = port.after(CAMERA_WAIT_MS, function() {
            if (answered)
                return
            answered = true
            sampleGet(ticket, { "found": false, "timeout": true })
        })
        port.headCamera.request(refPointWait.settings, function(result) {
            if (answered)
                return
            answered = true
            timer.cancel()
            sampleGet(ticket, result)
        })
    }

    function sampleGet(ticket, r) {
        if (ticket !== refPointWait.ticket)
            return
        if (!r || r.found !== true || !finite(r.x) || !finite(r.y)) {
            measured(false)
            return
        }
        refPointWait.samples.push({ "x": Number(r.x), "y": Number(r.y) })
        if (refPointWait.samples.length < SAMPLES)
            takeSample(ticket)
        else
            measured(true)
    }

    function measured(found) {
        var s = refPointWait.samples
        var x = 0, y = 0
        for (var i = 0; i < s.length; ++i) {
            x += s[i].x
            y += s[i].y
        }
        var ppm = num("camera1PPMCorr")
        var pos = port.position()
        var dx = found ? x / s.length / ppm : 0
        var dy = found ? -y / s.length / ppm : 0
        var fx = dx + Number(pos.x) + shiftX()
        var fy = dy + Number(pos.y) + shiftY()
        found = found && ppm > 0 && isFinite(fx) && isFinite(fy)
        refPointWait.found = found
        refPointWait.dx = found ? dx : 0
        refPointWait.dy = found ? dy : 0
        refPointWait.x = found ? fx : 0
        refPointWait.y = found ? fy : 0
        var n = refPointWait.n
        if (n < 0) {
            port.setCalibFound(found, refPointWait.x, refPointWait.y)
        } else if (found) {
            findRefPoints.list[n].fidX = fx
            findRefPoints.list[n].fidY = fy
        }
        var cont = refPointWait.f
        refPointWait.f = null
        if (cont)
            cont()
    }

    // ---- findRefPoints(f): measures the run's reference marks, then checks
    // the shift of the first one.
    function findRefPoints(f) {
        findRefPoints.ticket += 1
        findRefPoints.f = f
        findRefPoints.list = port.refListMulti() || []
        findRefPoints.currPoint = 0
        findRefPoints.moves = 0
        findRefPoints.shift = null
        findRefPoints.fidNotFound = -1
        for (var i = 0; i < findRefPoints.list.length; ++i) {
            findRefPoints.list[i].fidX = BC.NOT_MEASURED
            findRefPoints.list[i].fidY = BC.NOT_MEASURED
        }
        if (!port.homedAndCalibrated()) {
            if (findRefPoints.homing) {
                findRefPoints.homing = false
                port.fail(qsTr("Поиск реперных знаков невозможен: станок не прошел калибровку"))
                return
            }
            findRefPoints.homing = true
            var ticket = findRefPoints.ticket
            waiters.homeWait(function() {
                if (ticket === findRefPoints.ticket)
                    findRefPoints(f)
            })
            return
        }
        findRefPoints.homing = false
        var count = findRefPoints.list.length
        port.rowComplete(qsTr("%1 из %2").arg(0).arg(count))
        if (count === 0) {
            finishSearch()
            return
        }
        port.headCamera.start()
        var t = findRefPoints.ticket
        waiters.delayWait(10, function() { if (t === findRefPoints.ticket) moveToPoint() })
    }
    findRefPoints.ticket = 0
    findRefPoints.f = null
    findRefPoints.list = []
    findRefPoints.currPoint = 0
    findRefPoints.moves = 0
    findRefPoints.shift = null
    findRefPoints.fidNotFound = -1
    findRefPoints.homing = false

    function currPreview() { return findRefPoints.list[findRefPoints.currPoint] }

    function refMoveText(x, y, first) {
        if (!port.onCheckScreen())
            return xyText("m65 p4\ng0 zMax\n g0 ", x, y)
        var prefix = GT.xySpeed(100, first ? 20 : 100, setting("maxVel"), setting("maxAcc"))
        var move = prefix === null ? null : xyText(" ", x, y)
        return move === null ? null : "g0 zMax\n" + prefix + move
    }

    // Step 1: the camera over the current point.
    function moveToPoint() {
        var n = findRefPoints.currPoint
        var p = currPreview()
        var e = env()
        var target = BC.designPoint(p, e)
        var first = findRefPoints.list[0]
        if (n > 0 && BC.markState(first) === "ok") {
            target = { "x": Number(first.fidX) + Number(p.rX) - Number(first.rX),
                       "y": Number(first.fidY) - (Number(p.rY) - Number(first.rY)) }
        }
        findRefPoints.moves = 0
        var text = refMoveText(target.x - shiftX(), target.y - shiftY(), n === 0)
        if (text === null) {
            moveFailed()
            return
        }
        var t = findRefPoints.ticket
        waiters.gCodeWait(text + "\n", true, function() { if (t === findRefPoints.ticket) settleAndMeasure() })
    }

    // Steps 2 and 3: let the camera settle, measure.
    function settleAndMeasure() {
        var t = findRefPoints.ticket
        waiters.delayWait(num("camera1Delay"), function() {
            if (t !== findRefPoints.ticket)
                return
            refPointWait(function() { if (t === findRefPoints.ticket) pointMeasured() }, findRefPoints.currPoint)
        })
    }

    // Step 4.
    function pointMeasured() {
        if (!refPointWait.found) {
            pointNotFound()
            return
        }
        var dx = refPointWait.dx, dy = refPointWait.dy
        if (dx * dx + dy * dy <= REF_CENTRE_MM * REF_CENTRE_MM) {
            nextPoint()
            return
        }
        if (findRefPoints.moves >= MAX_CENTRING_MOVES) {
            port.log(qsTr("Не удалось навести камеру на реперный знак за %1 перемещений").arg(MAX_CENTRING_MOVES),
                     "red")
            pointNotFound()
            return
        }
        findRefPoints.moves += 1
        var text = xyText("m65 p4\ng0 zMax\n g0 ", refPointWait.x - shiftX(), refPointWait.y - shiftY())
        if (text === null) {
            moveFailed()
            return
        }
        var t = findRefPoints.ticket
        waiters.gCodeWait(text + "\n", true, function() { if (t === findRefPoints.ticket) settleAndMeasure() })
    }

    // The mark stays failed (0, 0) and the operator decides on the panel.
    function pointNotFound() {
        var n = findRefPoints.currPoint
        var p = currPreview()
        p.fidX = 0
        p.fidY = 0
        if (findRefPoints.fidNotFound !== n)
            port.rowErrorUp()
        findRefPoints.fidNotFound = n
        showRefPanel()
    }

    function showRefPanel() {
        var p = currPreview()
        var ref = p.ref || null
        var t = findRefPoints.ticket
        port.headCamera.crossHair(true)
        port.showPanel("refPointNotFound", {
            "text": qsTr("Не удалось найти реперный знак! Если реперный знак оказался за границей области поиска, подведите к нему камеру с помощью \"Ручного управления\" и нажмите кнопку \"Повторить поиск\". Если реперный знак не виден по причине неверных настроек распознавания, измените настройки поиска реперных знаков и нажмите \"Повторить поиск\". Если программа не может распознать реперный знак из-за того, что он поврежден, нужно с помощью \"Ручного управления\" навести перекрестие камеры на реперный знак и нажать кнопку \"Указать перекрестием\"."),
            "buttons": [
                { "id": "retry", "text": qsTr("        Повторить поиск"), "main": true, "enabled": true },
                { "id": "crossHair", "text": qsTr("Указать перекрестием"), "main": false, "enabled": true },
                { "id": "skip", "text": qsTr("Пропустить"), "main": false, "enabled": true },
                { "id": "commonSettings", "text": qsTr("Общие настройки"), "main": false,
                  "enabled": !(ref && ref.indiv === true) },
                { "id": "indivSettings", "text": qsTr("Индивидуальные настройки"), "main": false, "enabled": true }
            ]
        }, function(id) {
            if (t !== findRefPoints.ticket)
                return
            refPanelButton(id)
        })
    }

    function refPanelButton(id) {
        var p = currPreview()
        switch (id) {
        case "retry":
            port.headCamera.crossHair(false)
            findRefPoints.moves = 0
            var t = findRefPoints.ticket
            refPointWait(function() { if (t === findRefPoints.ticket) pointMeasured() }, findRefPoints.currPoint)
            break
        case "crossHair":
            port.headCamera.crossHair(false)
            var pos = port.position()
            p.fidX = Number(pos.x) + shiftX()
            p.fidY = Number(pos.y) + shiftY()
            port.log(qsTr("Положение реперного знака указано перекрестием: X: %1 Y: %2")
                     .arg(Number(p.fidX).toFixed(3)).arg(Number(p.fidY).toFixed(3)), "yellow")
            nextPoint()
            break
        case "skip":
            port.headCamera.crossHair(false)
            // Placements that need this mark are not placed.
            p.used = false
            port.log(qsTr("Реперный знак пропущен оператором"), "yellow")
            nextPoint()
            break
        case "commonSettings":
        case "indivSettings":
            port.openRefSettings(id === "indivSettings" ? (p.ref || null) : null)
            showRefPanel()
            break
        default:
            showRefPanel()
            break
        }
    }

    function nextPoint() {
        var list = findRefPoints.list
        port.rowComplete(qsTr("%1 из %2").arg(findRefPoints.currPoint + 1).arg(list.length))
        var n = findRefPoints.currPoint + 1
        while (n < list.length && list[n].used === false)
            ++n
        if (n < list.length) {
            findRefPoints.currPoint = n
            moveToPoint()
            return
        }
        checkBoardShift()
    }

    // After the last point: the shift of the first mark against the design.
    function checkBoardShift() {
        var list = findRefPoints.list
        if (list.length < 2) {
            finishSearch()
            return
        }
        var shift = BC.calcShift(list[0], list[1], env())
        if (!shift.ok) {
            if (BC.markState(list[0]) === "ok" && BC.markState(list[1]) === "ok")
                port.log(shift.error, "red")
            finishSearch()
            return
        }
        findRefPoints.shift = shift
        if (!(Math.abs(shift.fSX) + Math.abs(shift.fSY) >= num("maxPcbSetupError"))) {
            finishSearch()
            return
        }
        var t = findRefPoints.ticket
        port.showBoardMoveDialog({
            "title": qsTr("Обнаружен сдвиг"),
            "text": qsTr("Обнаружен сдвиг первого реперного знака по X: ") + shift.fSX.toFixed(2) + qsTr(" по Y: ")
                    + shift.fSY.toFixed(2)
                    + qsTr(".\nПодвинуть плату в проекте на соответствующее расстояние?\nЕсли плата установлена правильно, рекомендуется согласиться.")
        }, function(answer) {
            if (t !== findRefPoints.ticket)
                return
            if (answer === "cancel") {
                port.stopByOperator()
                return
            }
            if (answer === "yes") {
                port.moveBoard(-shift.fSX, shift.fSY)
                shift.fSX = 0
                shift.fSY = 0
            }
            finishSearch()
        })
    }

    // Steps 5 and 6.
    function finishSearch() {
        port.headCamera.stop()
        var t = findRefPoints.ticket
        waiters.delayWait(100, function() {
            if (t !== findRefPoints.ticket)
                return
            var cont = findRefPoints.f
            findRefPoints.f = null
            if (cont)
                cont()
        })
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

    // ---- setupDots(index, f): the dots of group `index`, in order.
    function setupDots(index, f) {
        setupDots.ticket += 1
        setupDots.f = f
        setupDots.group = port.dotGroup(index) || []
        setupDots.number = 0
        nextDot()
    }
    setupDots.ticket = 0
    setupDots.f = null
    setupDots.group = []
    setupDots.number = 0

    function refById(list, id) {
        if (!(Number(id) >= 0))
            return null
        for (var i = 0; i < list.length; ++i)
            if (Number(list[i].refId) === Number(id))
                return list[i]
        return null
    }

    function dotBlock(dot) {
        var record = dot.dot || dot
        var feeder = port.feederOf(dot.model, dot.index)
        if (!feeder)
            return { "error": qsTr("Не найден дозатор точки") }
        var refs = port.refList() || []
        var marks = BC.marksFor(refById(refs, record.preferredRef1), refById(refs, record.preferredRef2),
                                refs.length > 0 ? refs[0] : null, refs.length > 1 ? refs[1] : null, 0, 0, 0)
        var p = BC.dotSetupCoords(dot, marks, env())
        if (!p.ok)
            return { "error": p.error }
        var first = Number(feeder.type) === 6
        var x = p.x - shiftX() - num(first ? "d1XShift" : "d2XShift")
        var y = p.y - shiftY() - num(first ? "d1YShift" : "d2YShift")
        var move = xyText("g0 ", x, y)
        if (move === null)
            return { "error": qsTr("Неверные координаты точки: нанесение невозможно") }
        return { "text": "g0 zMax\n" + move + "\n" + String(feeder.gCode || "") + "\n" + "g0 zMax\n" }
    }

    function nextDot() {
        var group = setupDots.group
        port.rowComplete(String(setupDots.number))
        if (setupDots.number >= group.length) {
            var cont = setupDots.f
            setupDots.f = null
            if (cont)
                cont()
            return
        }
        var block = dotBlock(group[setupDots.number])
        if (block.error) {
            port.fail(block.error)
            return
        }
        var t = setupDots.ticket
        waiters.gCodeWait(block.text, true, function() {
            if (t !== setupDots.ticket)
                return
            setupDots.number += 1
            nextDot()
        })
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

    // Every step stops: results, buttons and answers still on their way do
    // nothing. The waiters are stopped by their owner.
    m.stopAll = function() {
        refPointWait.ticket += 1
        refPointWait.f = null
        findRefPoints.ticket += 1
        findRefPoints.f = null
        findRefPoints.homing = false
        calibrate.ticket += 1
        calibrate.done = null
        setupDots.ticket += 1
        setupDots.f = null
        toSecondCalibSign.ticket += 1
        toSecondCalibSign.f = null
        centerAtRef.ticket += 1
        centerAtRef.f = null
        headCheck.stopAll()
    }

    m.refPointWait = refPointWait
    m.findRefPoints = findRefPoints
    m.calibrate = calibrate
    m.setupDots = setupDots
    m.toSecondCalibSign = toSecondCalibSign
    m.centerAtRef = centerAtRef
    m.nozzleOnHeadCheckFunc = headCheck.nozzleOnHeadCheckFunc
    m.headCheck = headCheck
    return m
}

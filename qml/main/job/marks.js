.pragma library
.import "boardCorrection.js" as BC
.import "gcodeTexts.js" as GT
.import "markCamera.js" as MarkCamera
.import "calibrationMark.js" as CalibrationMark

// Steps of a job that use the head camera: the reference-mark search, the
// calibration-mark search, solder dots and the service moves onto a mark.
// The reference-mark search and the dots live here; one measurement is in
// markCamera.js, the calibration mark in calibrationMark.js, the
// nozzle-on-head check in nozzleOnHead.js; all are reached through the
// object made here. Every coordinate of a block goes through coords.js.
//
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
//                                   raises the run's operator panel `name`
//                                   (panels.js: "refNotFound" with values
//                                   { ownSettings }); onButton(id) for each
//                                   button pressed; the panel closes unless
//                                   the button keeps it (the settings ones)
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

var MAX_CENTRING_MOVES = MarkCamera.MAX_CENTRING_MOVES
// Reference mark: centre again while farther from the camera centre (mm).
var REF_CENTRE_MM = 1.0

function create(port, waiters) {
    var m = {}
    var camera = MarkCamera.create(port, function(n) { return findRefPoints.list[n] })
    var calibration = CalibrationMark.create(port, waiters, camera)
    var refPointWait = camera.refPointWait
    var xyText = MarkCamera.xyText

    function setting(name) { return port.setting(name) }
    function num(name) { return Number(port.setting(name)) }
    function shiftX() { return num("camera1XShift") }
    function shiftY() { return num("camera1YShift") }
    function env() { return { "workAreaX1": num("workAreaX1"), "workAreaY2": num("workAreaY2") } }
    function moveFailed() {
        port.fail(qsTr("Неверные координаты перемещения камеры: перемещение не выполнено"))
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

    // The operator panel of a mark that was not found (panels.js declares
    // its text and buttons; the settings buttons keep it shown).
    function showRefPanel() {
        var p = currPreview()
        var ref = p.ref || null
        var t = findRefPoints.ticket
        port.headCamera.crossHair(true)
        port.showPanel("refNotFound", { "ownSettings": ref !== null && ref.indiv === true }, function(id) {
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
        case "commonSettings":
        case "ownSettings":
            port.openRefSettings(id === "ownSettings" ? (p.ref || null) : null)
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

    // Every step stops: results, buttons and answers still on their way do
    // nothing. The waiters are stopped by their owner.
    m.stopAll = function() {
        camera.stopAll()
        findRefPoints.ticket += 1
        findRefPoints.f = null
        findRefPoints.homing = false
        setupDots.ticket += 1
        setupDots.f = null
        calibration.stopAll()
    }

    m.refPointWait = refPointWait
    m.findRefPoints = findRefPoints
    m.setupDots = setupDots
    m.calibrate = calibration.calibrate
    m.toSecondCalibSign = calibration.toSecondCalibSign
    m.centerAtRef = calibration.centerAtRef
    m.nozzleOnHeadCheckFunc = calibration.headCheck.nozzleOnHeadCheckFunc
    m.headCheck = calibration.headCheck
    return m
}

.pragma library
.import "../lib/geometry.js" as Geometry
.import "checkTable.js" as Check

// Optical inspection of placed components: the head camera photographs
// every component of the first board of a good panel (the templates, kept
// with the project as each component's `elPhoto`), and later every
// component of every board, whose photo is compared with its template
// (Worker::makeAoi) and judged against the permitted difference.
//
// Plain functions first (frames, clips, the judgement, which placements are
// photographed, the refusals), then `create(port, waiters)`: the two
// procedures as step functions over the job's port and waiting primitives.
//
// Port functions used, beyond the job foundation's (sendGCode, gCodeDone,
// machineOn, homedAndCalibrated, busy, run, rowComplete, setting, log,
// later):
//   setting(name)        camera1PPMCorr, camera1XShift, camera1YShift,
//                        camera1DelayAoi, maxVel, maxAcc, aoiThreshold,
//                        aoiErosion, allowRunWithoutFiducials,
//                        endingGCodeOnUserStop, endingGcode
//   showError(text)      an operator error
//   aoi.refCount()       reference marks of the project
//   aoi.allExcluded()    every board of a panel is excluded
//   aoi.components()     the enabled components ({ elWidth, elHeight, ... })
//   aoi.buildList(templates) -> [placement] or null (the operator was told)
//                        templates: the first board's marks and placements
//                        only, nearest order; otherwise every board (the
//                        running job's list when the job screen is shown)
//   aoi.findMarks(f)     the reference-mark search, then f()
//   aoi.targetOf(ep) -> { ok, x, y, boardAngle }   corrected machine target
//   aoi.templateOf(el), aoi.setTemplate(el, photo), aoi.photoSize(photo)
//                        -> { width, height } (0 x 0 for none)
//   aoi.objectOf(ep)     the inspection object of a placement's board
//   aoi.storeResult(object, { aoiPhoto, diffPhoto, aoiDiff, aoiShift })
//   aoi.clearResults()
//   aoi.acc()            acceleration percent of the approach moves
//   aoi.setState(kind, scanning)   "templates", "inspection" or "" (idle)
//   aoi.stopMarks()      the mark search in progress stops
//   aoi.showWindow()     the inspection window, maximised (the run's row)
//   headCamera.ensureCapture(f)    frames on request, then f()
//   headCamera.fullField()          the displayed field back to 100 %
//   headCamera.scanPhoto(f)         f({ width, height }) of a fresh scan
//                                   photo of the whole frame, or f(null)
//   headCamera.clip(x, y, width, height, angle) -> photo ("" for none)
//   compare(template, photo, threshold, erosion) -> { diffImage, diff, shift }

// The template frame and the inspection frame, times the component size.
var TEMPLATE_FACTOR = 1.3
var AOI_FACTOR = 1.1
// The inspection photo shown over its template.
var AOI_TO_TEMPLATE = AOI_FACTOR / TEMPLATE_FACTOR
// A template may differ this much (pixels) from the frame computed now.
var SIZE_TOLERANCE = 1

function num(v) {
    return v === null || v === undefined || v === "" || typeof v === "boolean" ? NaN : Number(v)
}

// ---- judgement

// (limit - difference) / limit; 0 when the difference exceeds the limit
// (or either is not a number).
function quality(diff, limit) {
    var d = num(diff), l = num(limit)
    if (!isFinite(d) || !(l > 0) || d > l)
        return 0
    return Math.min(1, Math.max(0, (l - d) / l))
}

// Border of an inspection object on the board view: 3 px while selected,
// none while no mask is loaded, 4 px when the difference exceeds the limit,
// 2 px otherwise.
function borderWidth(loaded, selected, diff, limit) {
    if (selected)
        return 3
    if (!loaded)
        return 0
    return num(diff) > num(limit) ? 4 : 2
}

// Its colour: white while selected, otherwise from red (quality 0) to green
// (quality 1): red = 1 - quality, green = quality.
function borderColor(selected, q) {
    if (selected)
        return "#ffffff"
    var k = Math.min(1, Math.max(0, num(q) || 0))
    function hex(v) {
        var s = Math.round(v * 255).toString(16)
        return s.length < 2 ? "0" + s : s
    }
    return "#" + hex(1 - k) + hex(k) + "00"
}

// "Отличия: " with the difference to one decimal and "%".
function diffText(diff) {
    var d = num(diff)
    return qsTr("Отличия: ") + (isFinite(d) ? d.toFixed(1) : "0.0") + "%"
}

// ---- the board view

// The largest zoom "Автомасштаб" accepts (view pixels per mm).
var MAX_ZOOM = 10000

// The zoom and scroll that show `box` ({ x, y, w, h } in design mm) in a
// view of viewW x viewH pixels with a 0.95 margin: { scale, x, y } (the
// content position of the view's top-left corner); null when the box has no
// size or the zoom would exceed MAX_ZOOM.
function autoScale(box, viewW, viewH) {
    if (!box || !(num(box.w) > 0) || !(num(box.h) > 0) || !(num(viewW) > 0) || !(num(viewH) > 0))
        return null
    var scale = 0.95 * Math.min(viewW / box.w, viewH / box.h)
    if (!isFinite(scale) || scale > MAX_ZOOM)
        return null
    return { "scale": scale, "x": (box.x + box.w / 2) * scale - viewW / 2,
             "y": (box.y + box.h / 2) * scale - viewH / 2 }
}

// The box round items { x, y, w, h } (design mm); null for none.
function boxOf(items) {
    var x1 = Infinity, y1 = Infinity, x2 = -Infinity, y2 = -Infinity
    for (var i = 0; i < items.length; ++i) {
        var it = items[i]
        var x = num(it.x), y = num(it.y), w = num(it.w), h = num(it.h)
        if (!isFinite(x) || !isFinite(y) || !isFinite(w) || !isFinite(h))
            continue
        x1 = Math.min(x1, x)
        y1 = Math.min(y1, y)
        x2 = Math.max(x2, x + w)
        y2 = Math.max(y2, y + h)
    }
    return x2 > x1 && y2 > y1 ? { "x": x1, "y": y1, "w": x2 - x1, "h": y2 - y1 } : null
}

// ---- frames and clips

// Frame of a component of width x height mm at `ppm` pixels per mm times
// `factor`, in whole pixels; null when it has no size.
function frameSize(width, height, ppm, factor) {
    var w = Math.round(num(width) * num(ppm) * num(factor))
    var h = Math.round(num(height) * num(ppm) * num(factor))
    return w > 0 && h > 0 ? { "width": w, "height": h } : null
}

// The rectangle of the camera photo (frame W x H) to clip for a frame of
// fw x fh around the photo's centre, turned by `rotation` (the component's
// turn on its board) plus `measured` (the board's measured turn), clockwise
// seen from above as the camera shows it: the top-left corner of the turned
// frame in the unturned photo and the turn (PhotoClipper turns the photo
// back by it).
function clipRect(W, H, fw, fh, rotation, measured) {
    var angle = num(rotation) + (num(measured) || 0)
    var r = angle * Math.PI / 180
    var c = Math.cos(r), s = Math.sin(r)
    return { "x": Math.round(W / 2 - c * fw / 2 + s * fh / 2), "y": Math.round(H / 2 - c * fh / 2 - s * fw / 2),
             "width": fw, "height": fh, "angle": angle }
}

// A template of size `photo` still fits the frame computed now.
function sizeMatches(photo, frame) {
    return !!photo && !!frame && Math.abs(num(photo.width) - frame.width) <= SIZE_TOLERANCE
            && Math.abs(num(photo.height) - frame.height) <= SIZE_TOLERANCE
}

// ---- what is photographed

// The placements to visit, in list order: for templates only those of board
// (row 0, column 0); never disabled ones nor those switched off for the
// run. `entries` are { ep, target } with target { x, y, boardAngle } the
// corrected machine position. Each row: { ep, el, x, y, rotation (the
// component's turn on its board), boardAngle, rotWidth, rotHeight }.
function workRows(entries, templates) {
    var rows = []
    for (var i = 0; i < entries.length; ++i) {
        var ep = entries[i].ep
        var t = entries[i].target
        if (!ep || ep.disabled || ep.disabledTemp)
            continue
        if (templates && (Number(ep.row) !== 0 || Number(ep.col) !== 0))
            continue
        rows.push({ "ep": ep, "el": ep.el, "x": num(t.x), "y": num(t.y),
                    "rotation": Geometry.minAngle(num(ep.rotation) || 0),
                    "boardAngle": num(t.boardAngle) || 0, "rotWidth": num(ep.rotWidth),
                    "rotHeight": num(ep.rotHeight) })
    }
    return rows
}

// ---- refusals: "" when the procedure may start, else the operator text

function marksText() { return qsTr("Проверьте расстановку реперных знаков!") }
function excludedText() { return qsTr("Все платы исключены из расстановки!") }

// ctx: { refCount, allowWithoutMarks, allExcluded }
function templatesRefusal(ctx) {
    if (num(ctx.refCount) < 2 && ctx.allowWithoutMarks !== true)
        return marksText()
    if (ctx.allExcluded === true)
        return excludedText()
    return ""
}

// ctx as above and components: the enabled components, each with
// { template: { width, height } (0 x 0 for none), frame } where frame is the
// template frame computed now (frameSize with TEMPLATE_FACTOR).
function inspectionRefusal(ctx, components) {
    if (num(ctx.refCount) < 2 && ctx.allowWithoutMarks !== true)
        return marksText()
    var i
    for (i = 0; i < components.length; ++i) {
        var t = components[i].template
        if (!t || !(num(t.width) > 1) || !(num(t.height) > 1))
            return qsTr("Не для всех элементов созданы проверочные шаблоны! Нужно заново создать шаблоны.")
    }
    for (i = 0; i < components.length; ++i)
        if (!sizeMatches(components[i].template, components[i].frame))
            return qsTr("Не для всех элементов корректны размеры проверочных шаблонов! Нужно заново создать шаблоны.")
    if (ctx.allExcluded === true)
        return excludedText()
    return ""
}

function photoFailedText() { return qsTr("Камера не дала снимок: инспекция остановлена") }

// ================================================================
// The procedures. creatingTemplatesC() and makingAoiC(onEnd) start them
// (false when refused or busy); creatingTemplatesF() / makingAoiF() start
// or stop them as the window's buttons do; stopAll() abandons whatever
// runs (no continuation, no ending G-code). gCodeDoneGet(ok) takes up an
// ending G-code waiting for the machine.
function create(port, waiters) {
    var a = {}
    // kind: "templates", "inspection" or "" (idle); inRun: an inspection of
    // a placement run; onEnd: the run's continuation.
    var st = { "kind": "", "ticket": 0, "scanning": false, "inRun": false, "onEnd": null, "rows": [], "index": 0 }
    var endingArmed = false

    function setting(name) { return port.setting(name) }
    function inRun() {
        var r = port.run()
        return !!r && r.executing === true
    }
    function alive(t) { return t === st.ticket && st.kind !== "" }
    function state() { port.aoi.setState(st.kind, st.scanning) }

    function context() {
        return { "refCount": port.aoi.refCount(), "allowWithoutMarks": setting("allowRunWithoutFiducials") === true,
                 "allExcluded": port.aoi.allExcluded() === true }
    }
    function frameOf(el, factor) {
        return frameSize(el.elWidth, el.elHeight, setting("camera1PPMCorr"), factor)
    }

    // ---- the ending G-code: when the machine is on, calibrated and idle,
    // at once or after the block that runs
    function endingWanted() {
        return setting("endingGCodeOnUserStop") === true && String(setting("endingGcode") || "") !== ""
    }
    function endingConditions() {
        return endingWanted() && port.machineOn() && port.homedAndCalibrated() && !port.busy()
    }
    function sendEnding() {
        endingArmed = false
        port.sendGCode(String(setting("endingGcode")) + "\ng0 zMax\n", true, null)
    }
    function ending() {
        if (!endingConditions())
            return
        if (port.gCodeDone())
            sendEnding()
        else
            endingArmed = true
    }
    a.gCodeDoneGet = function(ok) {
        if (!endingArmed)
            return
        if (ok === false) {
            endingArmed = false
            return
        }
        if (endingConditions())
            sendEnding()
    }

    function begin(kind) {
        st.ticket += 1
        st.kind = kind
        st.scanning = true
        st.rows = []
        st.index = 0
        endingArmed = false
        state()
        return st.ticket
    }
    function idle() {
        st.ticket += 1
        st.kind = ""
        st.scanning = false
        st.rows = []
        st.onEnd = null
        state()
    }

    // ---- creating templates
    function creatingTemplatesC() {
        if (st.kind !== "")
            return false
        // The saved templates stay until each one's new photo is there.
        var refusal = templatesRefusal(context())
        if (refusal !== "") {
            port.showError(refusal)
            return false
        }
        var list = port.aoi.buildList(true)
        if (!list)
            return false
        st.inRun = false
        st.onEnd = null
        var t = begin("templates")
        scan(t, list, true)
        return true
    }

    // ---- inspection
    function makingAoiC(onEnd) {
        if (st.kind !== "")
            return false
        var run = inRun()
        var refusal = inspectionRefusal(context(), componentFrames())
        if (refusal !== "") {
            port.showError(refusal)
            if (run)
                port.rowComplete(qsTr("не выполнено"))
            return false
        }
        var list = port.aoi.buildList(false)
        if (!list) {
            if (run)
                port.rowComplete(qsTr("не выполнено"))
            return false
        }
        port.aoi.clearResults()
        st.inRun = run
        st.onEnd = onEnd || null
        var t = begin("inspection")
        scan(t, list, false)
        return true
    }

    function componentFrames() {
        var list = port.aoi.components()
        var out = []
        for (var i = 0; i < list.length; ++i)
            out.push({ "template": port.aoi.photoSize(port.aoi.templateOf(list[i])),
                       "frame": frameOf(list[i], TEMPLATE_FACTOR) })
        return out
    }

    // Marks first (a run has measured them already), then the rows.
    function scan(t, list, templates) {
        var next = function() { if (alive(t)) fill(t, list, templates) }
        if (!st.inRun && num(port.aoi.refCount()) >= 2)
            port.aoi.findMarks(next)
        else
            port.headCamera.ensureCapture(next)
    }

    function fill(t, list, templates) {
        var entries = []
        for (var i = 0; i < list.length; ++i) {
            var target = port.aoi.targetOf(list[i])
            if (target && target.ok)
                entries.push({ "ep": list[i], "target": target })
        }
        st.rows = workRows(entries, templates)
        if (!templates)
            for (i = 0; i < st.rows.length; ++i)
                st.rows[i].object = port.aoi.objectOf(st.rows[i].ep)
        st.scanning = false
        st.index = 0
        state()
        walk(t)
    }

    // One row: go there, settle, photograph; then the next.
    function walk(t) {
        if (!alive(t))
            return
        if (st.index >= st.rows.length) {
            finish()
            return
        }
        var row = st.rows[st.index]
        port.headCamera.fullField()
        var text = Check.approachText(row.x, row.y, setting("camera1XShift"), setting("camera1YShift"),
                                      port.aoi.acc(), setting("maxVel"), setting("maxAcc"), false)
        if (text === null) {
            abandon(qsTr("Неверные координаты перемещения камеры: перемещение не выполнено"))
            return
        }
        waiters.gCodeWait(text, true, function() {
            if (!alive(t))
                return
            waiters.delayWait(num(setting("camera1DelayAoi")) || 0, function() {
                if (alive(t))
                    photograph(t, row)
            })
        })
    }

    function photograph(t, row) {
        var templates = st.kind === "templates"
        port.headCamera.scanPhoto(function(frame) {
            if (!alive(t))
                return
            var size = frameOf(row.el, templates ? TEMPLATE_FACTOR : AOI_FACTOR)
            if (!frame || !size) {
                abandon(photoFailedText())
                return
            }
            var r = clipRect(num(frame.width), num(frame.height), size.width, size.height, row.rotation,
                             row.boardAngle)
            var photo = port.headCamera.clip(r.x, r.y, r.width, r.height, r.angle)
            if (!photo) {
                abandon(photoFailedText())
                return
            }
            if (templates) {
                port.aoi.setTemplate(row.el, photo)
            } else {
                var c = port.compare(port.aoi.templateOf(row.el), photo, num(setting("aoiThreshold")),
                                     num(setting("aoiErosion")))
                port.aoi.storeResult(row.object, { "aoiPhoto": photo, "diffPhoto": c.diffImage,
                                                   "aoiDiff": num(c.diff), "aoiShift": c.shift })
            }
            st.index += 1
            walk(t)
        })
    }

    // A fault on the way: the operator is told, the procedure ends (a run's
    // row is not done; the run goes on).
    function abandon(text) {
        port.showError(text)
        end(qsTr("не выполнено"), false)
    }

    function finish() {
        end(qsTr("выполнено"), true)
    }

    // The procedure ends: a run's row gets `rowText` and the run goes on;
    // otherwise the ending G-code when `withEnding`.
    function end(rowText, withEnding) {
        var wasRun = st.inRun
        var onEnd = st.onEnd
        idle()
        st.inRun = false
        if (wasRun) {
            port.rowComplete(rowText)
        } else if (withEnding) {
            ending()
        }
        if (onEnd)
            onEnd()
    }

    // The operator's stop: the current move's continuation is abandoned; an
    // inspection of a run leaves its row "прервано" and the run goes on.
    function stopByUser() {
        if (st.scanning && !st.inRun)
            port.aoi.stopMarks()
        var wasRun = st.inRun
        end(qsTr("прервано"), !wasRun)
    }

    a.creatingTemplatesF = function() {
        if (st.kind !== "") {
            stopByUser()
            return false
        }
        return creatingTemplatesC()
    }
    a.makingAoiF = function() {
        if (st.kind !== "") {
            stopByUser()
            return false
        }
        return makingAoiC(null)
    }
    a.stopAll = function() {
        endingArmed = false
        st.inRun = false
        idle()
    }
    a.creatingTemplatesC = creatingTemplatesC
    a.makingAoiC = makingAoiC
    a.kind = function() { return st.kind }
    a.scanning = function() { return st.scanning }
    a.inRun = function() { return st.inRun }
    a.rows = function() { return st.rows }
    a.index = function() { return st.index }
    a.endingArmed = function() { return endingArmed }

    // ---- the run's row "aoi": the inspection, then the run goes on; an
    // inspection that is refused at once lets the run go on at once.
    a.aoi = function(f) {
        port.aoi.showWindow()
        if (st.kind !== "")
            port.rowComplete(qsTr("не выполнено"))
        var started = makingAoiC(function() { if (f) f() })
        if (!started && f)
            port.later(f)
    }
    return a
}

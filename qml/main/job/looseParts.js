.pragma library
.import "program.js" as Program
.import "pickTexts.js" as PT

// Loose parts: components lying anywhere on a placer area, found by the head
// camera and picked where they lie. The area is searched in numbered windows
// (the feeder's placerX / placerY). A contour search ("placerContours")
// finds parts by their outline and takes them at A 0; a template search
// looks over the area by outline first, then centres the camera over one
// candidate and matches the feeder's photo ("placerTemplateCenter"), which
// also tells its angle and whether it lies upside down.
//
// Plain builders first (no port, no state), then `create(port, waiters,
// state)`: the search of one pick, run for picking.js's elGetWait. `state`
// is elGetWait's function object; the search keeps its state there (mStep,
// placerX, placerY, count, initStep, endStep, placerEmpty, placerDone,
// placerAfterFlip, placerAfterRemove, placerFlipTryCounter,
// saveObjCoordsFlag, placerObjCentersX, placerObjCentersY, ...).
//
// Port functions used, beyond those of picking.js (setting, after, log,
// fail, paused, position, feederCheck, setFeederValue, skipFeeder,
// showPanel, openFeederSettings):
//   setting(name) -> value          camera1Delay, camera1PPMCorr,
//                                   camera1XShift, camera1YShift,
//                                   camera1Exposure,
//                                   autoSwithToSimilarFeedersWhenPlacerEmpty,
//                                   dontStopProgramOnFeederErrors
//   headCamera.start()              the head camera captures
//   headCamera.placerLoad(settings) the search settings (searchSettings
//                                   below) go onto the head camera
//   headCamera.placerRequest(settings, onResult)
//                                   one result with these settings:
//                                   onResult({ found, flipped, x, y, angle,
//                                   centersX, centersY, angles, timeout }),
//                                   pixels from the frame centre, y down
//   componentCamera.start(camera3)  (optional) the component camera captures
//   switchToEquivalent(model, index, logText) -> bool   (optional) the group
//                                   goes on with the next equivalent feeder;
//                                   logText leads the log line naming it.
//                                   Absent or false: no switch.
//   skipFeeder(model, index, logText, color)   the feeder's group is
//                                   skipped; the log line is logText (the
//                                   operator's skip text when absent)

// A part found upside down is flipped (or removed) at most this many times
// in a row; then the operator is asked.
var FLIP_TRIES = 4
// Template looks at candidates of one window that find nothing, before the
// search goes on with the next window.
var TEMPLATE_TRIES = 3
// The head camera waits this long after a move when the setting is missing.
var DEFAULT_CAMERA_DELAY_MS = 500
// Scale of the templates and the picture for the template match, by the
// feeder's placerTemplateHighRes (0 normal, 1 fine, 2 full resolution).
var TEMPLATE_MULT = [0.3, 0.6, 1]

var CONTOURS = "placerContours"
var TEMPLATE_CENTRE = "placerTemplateCenter"
var TEMPLATE_WHOLE = "placerTemplate"

function num(v) { return PT.num(v) }
function isTrue(v) { return PT.isTrue(v) }

function merged(base, extra) { return PT.merged(base, extra) }

// ---- builders

// The search windows of a feeder: [{ x, y }] (see PT.placerWindows).
function windows(feeder) {
    return feeder ? PT.placerWindows(feeder.placerX, feeder.placerY) : []
}

// True when the feeder finds its parts by template, false by contour.
function byTemplate(feeder) {
    return !!feeder && num(feeder.placerType) === 1
}

function templMult(highRes) {
    return TEMPLATE_MULT[PT.clampInt(highRes, 0, TEMPLATE_MULT.length - 1, 0)]
}

// The head camera's search settings of a loose-part feeder (bank letter
// `model`, index from 0): mode placerContours, the feeder's region,
// thresholds, inversion, exposure (`globalExposure` when the feeder has
// none) and part size in mm; for a template search the template photo and,
// with flipped detection, the photo of the part upside down.
function searchSettings(model, index, feeder, globalExposure) {
    var template = byTemplate(feeder)
    var exposure = PT.finite(feeder.camera1Exposure) ? num(feeder.camera1Exposure) : num(globalExposure)
    var s = { "indiv": true, "mode": CONTOURS, "roi": num(feeder.camera1Roi), "t1": num(feeder.camera1T1),
              "templMatchCoeff": num(feeder.camera1T2), "inv": isTrue(feeder.camera1Inv),
              "calcSize": num(feeder.elWidth), "calcSize2": num(feeder.elHeight), "exposure": exposure,
              "templMult": templMult(feeder.placerTemplateHighRes),
              "templateType": PT.clampInt(feeder.placerTemplateType, 0, 1, 1),
              "flippedEnabled": template && isTrue(feeder.elFlippedEnabled),
              "flippedTemplMatchCoeff": num(feeder.elFlippedMatchPercent) }
    if (template)
        s.photo = "image://worker/" + model + index
    if (s.flippedEnabled)
        s.flippedPhoto = "image://worker/flipped_" + model + index
    return s
}

// One head-camera result `r` (pixels from the frame centre, y down) as
// machine positions, the camera standing at `pos` { x, y } with
// env { camera1PPMCorr, camera1XShift, camera1YShift }:
// { found, flipped, x, y, angle, centersX, centersY, angles }. Not found
// when a number is missing.
function headCameraResult(r, pos, env) {
    var ppm = num(env.camera1PPMCorr)
    var baseX = num(pos.x) + num(env.camera1XShift)
    var baseY = num(pos.y) + num(env.camera1YShift)
    function mx(px) { return num(px) / ppm + baseX }
    function my(py) { return -num(py) / ppm + baseY }
    var out = { "found": false, "flipped": false, "x": 0, "y": 0, "angle": 0, "centersX": [], "centersY": [],
                "angles": [] }
    if (!r || r.found !== true || r.timeout === true || !(ppm > 0))
        return out
    var x = mx(r.x), y = my(r.y), angle = num(r.angle)
    if (!isFinite(x) || !isFinite(y) || !isFinite(angle))
        return out
    out.found = true
    out.flipped = r.flipped === true
    out.x = x
    out.y = y
    out.angle = angle
    var xs = r.centersX || [], ys = r.centersY || [], as = r.angles || []
    for (var i = 0; i < Math.min(xs.length, ys.length); ++i) {
        var cx = mx(xs[i]), cy = my(ys[i])
        if (!isFinite(cx) || !isFinite(cy))
            continue
        out.centersX.push(cx)
        out.centersY.push(cy)
        out.angles.push(isFinite(num(as[i])) ? num(as[i]) : 0)
    }
    return out
}

// The window a search starts at: the feeder's caseCurrNumber when it names
// one of `count` windows, else the first.
function startWindow(caseCurrNumber, count) {
    var n = num(caseCurrNumber)
    return n >= 0 && n < count && Math.floor(n) === n ? n : 0
}

// The last window a search starting at `start` tries: the one before it.
function lastWindow(start, count) {
    return (start + count - 1) % count
}

// The pick block of a part found upside down with the G-code that turns it
// over (action 0) or takes it away (action 1) appended: { ok, text } or a
// refusal when that G-code is empty (the part would stay on the nozzle).
function flippedText(pickText, feeder, action) {
    var remove = action === 1
    var g = remove ? feeder.elFlippedRemoveGCode : feeder.elFlippedGCode
    g = g === undefined || g === null ? "" : String(g)
    if (g.trim() === "")
        return PT.refused(remove ? qsTr("Не задан G-код удаления перевёрнутого компонента: взятие не выполнено")
                                 : qsTr("Не задан G-код переворота компонента: взятие не выполнено"))
    return { "ok": true, "text": pickText + "\n" + g }
}

// ---- the search of one pick

function create(port, waiters, state) {
    var lp = {}
    var g = state

    function setting(name) { return port.setting(name) }
    function inRun() {
        var r = port.run()
        return !!r && r.executing === true
    }
    function feederText(model, index) {
        return Program.feederName(model) + "  №" + (Number(index) + 1)
    }
    function cameraDelay() {
        var ms = num(setting("camera1Delay"))
        return ms >= 0 ? ms : DEFAULT_CAMERA_DELAY_MS
    }

    // ---- placerWait(f): one head-camera result with placerWait.settings,
    // into placerWait.found, flipped, x, y (machine position of the part),
    // angle and, when found, centersX, centersY, angles (every part seen);
    // then f(). A result that comes while the run is paused is not taken:
    // the camera is asked again when the pause ends.
    function placerWait(f) {
        var w = placerWait
        w.ticket += 1
        w.f = f
        w.heldBack = false
        ask(w.ticket)
    }
    placerWait.ticket = 0
    placerWait.f = null
    placerWait.heldBack = false
    placerWait.settings = null
    placerWait.found = false
    placerWait.flipped = false
    placerWait.x = 0
    placerWait.y = 0
    placerWait.angle = 0
    placerWait.centersX = []
    placerWait.centersY = []
    placerWait.angles = []

    var pw = placerWait

    function ask(t) {
        port.headCamera.placerRequest(pw.settings || {}, function(r) {
            if (t !== pw.ticket)
                return
            if (port.paused()) {
                pw.heldBack = true
                return
            }
            var c = headCameraResult(r, port.position(), { "camera1PPMCorr": setting("camera1PPMCorr"),
                                                           "camera1XShift": setting("camera1XShift"),
                                                           "camera1YShift": setting("camera1YShift") })
            for (var k in c)
                pw[k] = c[k]
            var cont = pw.f
            pw.f = null
            if (cont)
                cont()
        })
    }

    lp.pauseGet = function() {
        if (port.paused() || !pw.heldBack)
            return
        pw.heldBack = false
        ask(pw.ticket)
    }

    // ---- the search settings of a feeder onto the head camera
    lp.loadSettings = function(model, index, feeder) {
        if (typeof port.headCamera.placerLoad === "function")
            port.headCamera.placerLoad(searchSettings(model, index, feeder, setting("camera1Exposure")))
    }

    // ---- pick(ctx): find one part and build its pick block.
    // ctx: live() (false once the pick is stale), model, index, feeder,
    // nozzle, env (pickTexts env with camera1XShift, camera1YShift),
    // needCamera (the part goes on to the component camera), camera3,
    // onPicked(r) (r from PT.placerPickText: the block to send),
    // tapeChange(logText) (the tape-change panel of the empty placer).
    var ctx = null

    function guard(fn) {
        var c = ctx
        return function() {
            if (c === ctx && c.live())
                fn()
        }
    }

    lp.pick = function(c) {
        ctx = c
        var feeder = c.feeder
        var list = windows(feeder)
        if (list.length === 0) {
            port.fail(qsTr("Неверные настройки питателя"))
            return
        }
        var key = String(c.model) + ":" + c.index
        if (key !== g.placerKey) {
            g.placerObjCentersX = []
            g.placerObjCentersY = []
            g.placerKey = key
        }
        g.placerX = list.map(function(w) { return w.x })
        g.placerY = list.map(function(w) { return w.y })
        g.count = list.length
        g.initStep = startWindow(feeder.caseCurrNumber, g.count)
        if (num(feeder.caseCurrNumber) !== g.initStep)
            port.setFeederValue(c.model, c.index, "caseCurrNumber", g.initStep)
        g.endStep = lastWindow(g.initStep, g.count)
        g.window = g.initStep
        g.placerEmpty = false
        g.placerDone = false
        g.placerAfterFlip = false
        g.placerAfterRemove = false
        g.placerFlipTryCounter = 0
        g.templateMisses = 0
        g.search = searchSettings(c.model, c.index, feeder, setting("camera1Exposure"))
        // Parts seen by the last wide look of this feeder are looked at
        // without a new one.
        if (byTemplate(feeder) && isTrue(feeder.placerLessPhotos) && g.placerObjCentersX.length > 0) {
            port.headCamera.start()
            look()
            return
        }
        toWindow()
    }

    function env() { return ctx.env }

    // Sub-step 0: the camera over the current window, or the empty placer.
    function toWindow() {
        g.mStep = 0
        port.headCamera.start()
        if (g.placerEmpty) {
            emptyPlacer()
            return
        }
        var r = PT.placerWindowText({ "x": g.placerX[g.window], "y": g.placerY[g.window] }, env())
        if (!r.ok) {
            port.fail(r.error)
            return
        }
        waiters.gCodeWait(r.text, false, guard(wideLook))
    }

    // Sub-steps 1 and 2: every part in the window by its outline.
    function wideLook() {
        g.mStep = 1
        pw.settings = merged(g.search, { "mode": CONTOURS })
        port.after(cameraDelay(), guard(function() {
            g.mStep = 2
            placerWait(guard(function() {
                // A contour search decides on the next result.
                if (!byTemplate(ctx.feeder)) {
                    g.mStep = 5
                    placerWait(guard(result))
                    return
                }
                if (isTrue(ctx.feeder.placerLessPhotos)) {
                    g.placerObjCentersX = pw.found ? pw.centersX.slice() : []
                    g.placerObjCentersY = pw.found ? pw.centersY.slice() : []
                    g.saveObjCoordsFlag = pw.found
                }
                look()
            }))
        }))
    }

    // Sub-step 3 (template search): the camera over a candidate: the part
    // looked at last (`again`: turned over just now, or the operator asks),
    // the next part of the last wide look, or the part the wide look found;
    // none: the next window.
    function look(again) {
        g.mStep = 3
        var x, y
        if (again === true) {
            x = g.partX
            y = g.partY
        } else if (isTrue(ctx.feeder.placerLessPhotos)) {
            if (g.placerObjCentersX.length === 0) {
                nextWindow()
                return
            }
            x = g.placerObjCentersX.shift()
            y = g.placerObjCentersY.shift()
        } else if (pw.found) {
            x = pw.x
            y = pw.y
        } else {
            nextWindow()
            return
        }
        g.partX = x
        g.partY = y
        var r = PT.placerLookText(x, y, env())
        if (!r.ok) {
            port.fail(r.error)
            return
        }
        waiters.gCodeWait(r.text, false, guard(closeLook))
    }

    // Sub-steps 4 and 5: the template match over the candidate; after a
    // flip the part may have moved, so the whole view is matched.
    function closeLook() {
        g.mStep = 4
        pw.settings = merged(g.search, { "mode": g.placerAfterFlip ? TEMPLATE_WHOLE : TEMPLATE_CENTRE })
        port.after(cameraDelay(), guard(function() {
            g.mStep = 5
            placerWait(guard(result))
        }))
    }

    // Sub-step 6: pick what was found, or look on.
    function result() {
        g.mStep = 6
        var feeder = ctx.feeder
        var template = byTemplate(feeder)
        if (!pw.found) {
            if (g.placerAfterFlip)
                flipPanel("notRecognisedAfterFlip")
            else if (template)
                templateMiss()
            else
                nextWindow()
            return
        }
        if (template) {
            g.partX = pw.x
            g.partY = pw.y
        }
        var pick = PT.placerPickText({ "x": pw.x, "y": pw.y, "angle": pw.angle }, feeder, ctx.nozzle, env())
        if (!pick.ok) {
            port.fail(pick.error)
            return
        }
        if (template && pw.flipped && isTrue(feeder.elFlippedEnabled) && port.feederCheck() !== true) {
            upsideDown(pick)
            return
        }
        g.placerDone = true
        g.placerAfterFlip = false
        g.placerAfterRemove = false
        g.placerFlipTryCounter = 0
        port.setFeederValue(ctx.model, ctx.index, "lastGetX", pick.x)
        port.setFeederValue(ctx.model, ctx.index, "lastGetY", pick.y)
        if (ctx.needCamera && port.componentCamera && typeof port.componentCamera.start === "function")
            port.componentCamera.start(ctx.camera3)
        ctx.onPicked(pick)
    }

    // A part upside down: taken and turned over (then looked at again where
    // it was), or taken away (then the window is searched again). Either
    // counts towards FLIP_TRIES.
    function upsideDown(pick) {
        var feeder = ctx.feeder
        if (g.placerFlipTryCounter >= FLIP_TRIES) {
            flipPanel("flipFailures")
            return
        }
        var remove = num(feeder.elFlippedAction) === 1
        var r = flippedText(pick.text, feeder, remove ? 1 : 0)
        if (!r.ok) {
            port.fail(r.error)
            return
        }
        g.placerFlipTryCounter += 1
        waiters.gCodeWait(r.text, false, guard(function() {
            g.placerAfterFlip = !remove
            g.placerAfterRemove = remove
            if (remove) {
                g.placerObjCentersX = []
                g.placerObjCentersY = []
                toWindow()
            } else {
                look(true)
            }
        }))
    }

    // Nothing matched the template at the candidate: the next candidate of
    // the wide look, or a new wide look; after TEMPLATE_TRIES the next
    // window.
    function templateMiss() {
        g.templateMisses += 1
        if (g.templateMisses >= TEMPLATE_TRIES) {
            nextWindow()
            return
        }
        if (isTrue(ctx.feeder.placerLessPhotos) && g.placerObjCentersX.length > 0)
            look()
        else
            toWindow()
    }

    // Nothing (more) in this window: the next one, or, after the last one,
    // the placer is empty.
    function nextWindow() {
        g.templateMisses = 0
        g.placerObjCentersX = []
        g.placerObjCentersY = []
        if (g.window === g.endStep) {
            g.placerEmpty = true
        } else {
            g.window = (g.window + 1) % g.count
            port.setFeederValue(ctx.model, ctx.index, "caseCurrNumber", g.window)
        }
        toWindow()
    }

    function emptyPlacer() {
        var model = ctx.model, index = ctx.index
        if (setting("autoSwithToSimilarFeedersWhenPlacerEmpty") === true && typeof port.switchToEquivalent === "function"
                && port.switchToEquivalent(model, index, qsTr("Компоненты в россыпи не найдены! Переключаюсь на питатель: "))
                   === true)
            return
        if (inRun() && setting("dontStopProgramOnFeederErrors") === true) {
            port.skipFeeder(model, index, qsTr("Компоненты в россыпи не найдены! Пропускаю питатель: ")
                            + feederText(model, index), "red")
            return
        }
        ctx.tapeChange(qsTr("Компоненты в россыпи не найдены! Остановка! Питатель: "))
    }

    // The panels of a part that does not come the right way up.
    function flipPanel(name) {
        var c = ctx
        port.showPanel(name, {}, function(id) {
            if (c !== ctx || !c.live())
                return
            if (id === "retryRecognition") {
                look(true)
            } else if (id === "continue") {
                g.placerAfterFlip = false
                g.placerAfterRemove = false
                g.placerFlipTryCounter = 0
                g.templateMisses = 0
                g.placerObjCentersX = []
                g.placerObjCentersY = []
                toWindow()
            } else if (id === "skip") {
                port.skipFeeder(c.model, c.index)
            } else if (id === "feederSettings") {
                port.openFeederSettings(c.model, c.index)
            }
        })
    }

    lp.stopAll = function() {
        ctx = null
        pw.ticket += 1
        pw.f = null
        pw.heldBack = false
    }

    lp.placerWait = placerWait
    return lp
}

.pragma library
.import "../lib/coords.js" as Coords

// One measurement of a mark with the head camera, shared by the mark steps
// (marks.js, calibrationMark.js): the recognition settings of a mark, the
// averaged result of a few pictures, the conversion to machine position.
//
// `create(port, pointOf)`: pointOf(n) is reference mark n of the run (a
// mark preview with ref, fidX, fidY). Port functions used: setting(name),
// position(), after(ms, fn), headCamera.request(settings, onResult),
// setCalibFound(found, x, y) (see marks.js for their shapes).

// Recognition results averaged per measurement.
var SAMPLES = 3
// A camera answer that takes longer counts as not found.
var CAMERA_WAIT_MS = 3000
// Centring moves of one measurement loop before it gives up.
var MAX_CENTRING_MOVES = 10

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

// Text of a camera move: prefix + "x<X> y<Y>" (3 decimals), null when X or
// Y is not a finite number.
function xyText(prefix, x, y) {
    var tx = Coords.fixed(x, 3), ty = Coords.fixed(y, 3)
    if (tx === null || ty === null)
        return null
    return prefix + "x" + tx + " y" + ty
}

function create(port, pointOf) {
    var c = {}

    function setting(name) { return port.setting(name) }
    function num(name) { return Number(port.setting(name)) }
    function shiftX() { return num("camera1XShift") }
    function shiftY() { return num("camera1YShift") }

    // Recognition settings of the calibration mark.
    function calibCameraSettings() {
        return markCameraSettings({ "type": num("calibRefPointType"), "indiv": true, "roi": setting("calibROIPercent"),
                                    "t1": setting("calibThreshold1"), "t2": setting("calibThreshold2"),
                                    "inv": setting("calibCameraInverse") === true,
                                    "size": setting("calibRefPointSize"), "size2": setting("calibRefPointSize2"),
                                    "photo": "", "templateMathCoeff": 80 }, setting("camera1Exposure"))
    }

    // ---- refPointWait(f, n, settings): one measurement of reference mark n
    // of the run's list (pointOf(n)), or of the calibration mark with n = -1;
    // `settings` replaces the mark's own recognition settings. Takes SAMPLES
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
            refPointWait.settings = markCameraSettings(pointOf(n).ref || {}, setting("camera1Exposure"))
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
            pointOf(n).fidX = fx
            pointOf(n).fidY = fy
        }
        var cont = refPointWait.f
        refPointWait.f = null
        if (cont)
            cont()
    }

    // A result or a timeout still on its way does nothing.
    c.stopAll = function() {
        refPointWait.ticket += 1
        refPointWait.f = null
    }
    c.refPointWait = refPointWait
    return c
}

import QtQuick 2.15

// The one way the job's steps and the windows ask a camera for a result.
// It loads the recognition settings wanted (the project's reference-mark
// settings, one mark's own, the calibration mark's, or any set given) onto
// the camera item, keeps the camera capturing and calculating while a
// request is pending, collects the next results and hands their mean to the
// caller, or reports "not found" when the camera stays silent for
// `timeoutMs`. One request at a time: a new one replaces the pending one.
Item {
    id: request
    property var app
    property var camera
    property var cameraWindow
    // Pixels per millimetre of this camera where it looks.
    property real pixelsPerMm: 1
    property int timeoutMs: 5000
    // Results dropped after new settings are loaded.
    property int settleFrames: 2

    property bool calculating: false
    // A step that asks several times in a row keeps the camera capturing
    // between its requests.
    property bool hold: false
    // Frames are needed while a request is pending or held (the camera
    // window adds its own need while it is shown).
    property bool qmlCapture: calculating || hold
    onQmlCaptureChanged: if (cameraWindow) cameraWindow.qmlCapture = qmlCapture

    property var pending: null
    property int ticket: 0

    // ---- recognition settings
    // The settings of a reference mark of the project: its own when it has
    // individual settings, the project's otherwise. `ref` has the fields of
    // a reference-mark record (indiv, type, size, size2, inv, roi, t1, t2,
    // templateMathCoeff, photo).
    function markSettings(ref) {
        var own = ref && (ref.indiv === true || ref.indiv === 1)
        var type = own ? Number(ref.type) : Number(app.pcbRefPointType)
        var size = own ? Number(ref.size) : Number(app.pcbRefPointSize)
        var size2 = own ? Number(ref.size2) : Number(app.pcbRefPointSize2)
        return {
            "mode": type === 0 ? "circle" : (type === 1 ? "square" : "templateRef"),
            "param1": own ? Number(ref.t1) : Number(app.pcbThreshold1),
            "param2": own ? Number(ref.t2) : Number(app.pcbThreshold2),
            "roiPercent": own ? Number(ref.roi) : Number(app.pcbROIPercent),
            "inverse": own ? ref.inv === true || ref.inv === 1 : app.pcbCameraInverse === true,
            "targetSize": size * pixelsPerMm,
            "targetSize2": size2 * pixelsPerMm,
            "templMatchCoeff": own ? Number(ref.templateMathCoeff) : Number(app.pcbRefTemplateMathCoeff),
            "exposure": Number(app.camera1Exposure),
            "photo": own ? String(ref.photo || "") : String(app.pcbRefPointPhoto || "")
        }
    }
    // The calibration mark on the machine table.
    function calibrationMarkSettings() {
        return {
            "mode": Number(app.calibRefPointType) === 1 ? "square" : "circle",
            "param1": Number(app.calibThreshold1),
            "param2": Number(app.calibThreshold2),
            "roiPercent": Number(app.calibROIPercent),
            "inverse": app.calibCameraInverse === true,
            "targetSize": Number(app.calibRefPointSize) * pixelsPerMm,
            "targetSize2": Number(app.calibRefPointSize2) * pixelsPerMm,
            "exposure": Number(app.camera1Exposure)
        }
    }
    // A picture named by a data URL or an image address; "" none.
    function imageOf(source) {
        if (typeof source !== "string" || source === "")
            return app.invalidImage
        app.makeQImage(source)
        return app.makeQImageResult
    }
    // A list property of the camera item as a plain array of numbers.
    function numbers(list) {
        var out = []
        for (var i = 0; list && i < list.length; ++i)
            out.push(Number(list[i]))
        return out
    }
    // Puts a set of settings on the camera item; absent fields stay.
    function load(settings) {
        if (!settings)
            return
        var names = ["param1", "param2", "roiPercent", "inverse", "targetSize", "targetSize2",
                     "targetSizeTolerance", "templMatchCoeff", "exposure", "templMult", "templateType",
                     "flippedEnabled", "flippedTemplMatchCoeff"]
        for (var i = 0; i < names.length; ++i) {
            var v = settings[names[i]]
            if (v === undefined || (typeof v === "number" && !isFinite(v)))
                continue
            camera[names[i]] = v
        }
        // A template (a picture kept as a data URL in its record).
        if (settings.photo !== undefined) {
            var image = app.invalidImage
            if (typeof settings.photo === "string" && settings.photo !== "") {
                app.makeQImage(settings.photo)
                image = app.makeQImageResult
            }
            camera.compareImage = image
        }
        // The part lying upside down (the loose-part search).
        if (settings.flippedPhoto !== undefined)
            camera.compareFlippedImage = imageOf(settings.flippedPhoto)
        if (settings.mode !== undefined)
            camera.mode = String(settings.mode)
    }

    // ---- requests
    // Loads `settings` (null keeps the camera's), takes the next `count`
    // results (the camera settles on the first of them) and calls
    // `onResult({found, x, y, angle, width, height, samples, timeout,
    // frames})`: found only when every one of them found the object; x, y
    // the mean offset in pixels from the frame centre; frames the single
    // results (each also with the camera's exAngle and pin results:
    // pinCountCorrect, pinCount, avgPinDist, minPinDist, maxPinDist).
    function ask(settings, count, onResult) {
        cancel()
        load(settings)
        ticket += 1
        pending = { "ticket": ticket, "count": Math.max(1, Number(count) || 1), "results": [], "onResult": onResult,
                    "skip": settleFrames }
        calculating = true
        timeout.restart()
    }
    // Forgets the pending request; its caller hears nothing more.
    function cancel() {
        timeout.stop()
        pending = null
        calculating = false
    }

    function finish(result) {
        var p = pending
        cancel()
        if (p && p.onResult)
            p.onResult(result)
    }

    function frameResult() {
        var p = pending
        if (!p)
            return
        // Frames already on their way were analysed with the old settings.
        if (p.skip > 0) {
            p.skip -= 1
            timeout.restart()
            return
        }
        if (p.results.length < p.count) {
            // The pin results and the long side's angle come from the same
            // frame: the camera publishes them before its updated().
            p.results.push({
                "found": camera.objFound === true,
                "x": Number(camera.objCenterX), "y": Number(camera.objCenterY),
                "angle": Number(camera.objAngle),
                "width": Number(camera.objWidth), "height": Number(camera.objHeight),
                "exAngle": Number(camera.exAngle),
                "pinCountCorrect": camera.pinCountCorrect === true, "pinCount": Number(camera.pinCount),
                "avgPinDist": Number(camera.avgPinDist), "minPinDist": Number(camera.minPinDist),
                "maxPinDist": Number(camera.maxPinDist),
                // Every part the outline search saw, and whether the template
                // matched the part lying upside down.
                "flipped": camera.flipped === true, "centersX": numbers(camera.objCentersX),
                "centersY": numbers(camera.objCentersY), "angles": numbers(camera.objsA)
            })
            timeout.restart()
            return
        }
        // The result after the collected ones ends the request.
        var found = true, x = 0, y = 0
        for (var i = 0; i < p.results.length; ++i) {
            var r = p.results[i]
            if (!r.found || !isFinite(r.x) || !isFinite(r.y))
                found = false
            x += r.x
            y += r.y
        }
        var n = p.results.length
        var last = p.results[n - 1]
        finish({ "found": found, "x": found ? x / n : 0, "y": found ? y / n : 0, "angle": last.angle,
                 "width": last.width, "height": last.height, "samples": n, "timeout": false,
                 "flipped": last.flipped, "centersX": last.centersX, "centersY": last.centersY,
                 "angles": last.angles, "frames": p.results })
    }

    Connections {
        target: request.camera
        enabled: request.pending !== null
        function onUpdated() { request.frameResult() }
    }
    Timer {
        id: timeout
        interval: request.timeoutMs
        onTriggered: request.finish({ "found": false, "x": 0, "y": 0, "angle": 0, "width": 0, "height": 0,
                                      "samples": request.pending ? request.pending.results.length : 0,
                                      "timeout": true })
    }
}

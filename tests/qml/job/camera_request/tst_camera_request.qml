import QtQuick 2.15
import QtTest 1.2

// Asking the head camera through its request object, on the simulated
// camera: the generic simulated board has round 1 mm marks every 10 mm in
// machine coordinates, drawn at 20 pixels per millimetre.
TestCase {
    id: testCase
    name: "CameraRequest"
    when: windowShown

    property var camera1: findChild(root, "camera1")
    property var heads: root.headCameraRequest

    function initTestCase() {
        root.camera1Name = "sim:board"
        root.camera1MM = 20
        root.pcbRefPointSize = 1
        root.pcbROIPercent = 50
        root.pcbThreshold1 = 150
        root.pcbThreshold2 = 50
        root.pcbRefPointType = 0
        // The drawn discs measure a little larger than 1 mm.
        camera1.targetSizeTolerance = 15
    }
    function cleanup() {
        probe.call(heads, "cancel")
    }
    function cleanupTestCase() {
        camera1.mode = ""
        root.closeAllToolWindows()
    }

    // The stage 2 mm right of and 1 mm above the mark at (100, 50): the mark
    // is 40 px left of and 20 px below the frame centre.
    function test_markFoundAtItsOffset() {
        probe.call(root, "jointPosGet", [[102, 51, 0, 0]])
        var ref = { "indiv": true, "type": 0, "size": 1, "size2": 1, "inv": false, "roi": 40, "t1": 150, "t2": 50,
                    "templateMathCoeff": 80 }
        var settings = probe.call(heads, "markSettings", [ref])
        compare(settings.mode, "circle")
        compare(settings.targetSize, 20)
        probe.forget("mark")
        probe.callRecording(heads, "ask", [settings, 3, "@recorder"], "mark")
        // Frames are wanted while the request is pending.
        verify(probe.value(root.findToolWindow("camera1Window"), "qmlCapture"))
        tryVerify(function() { return probe.hits("mark") === 1 }, 8000)
        var r = probe.recorded("mark")[0][0]
        verify(r.found, JSON.stringify(r))
        compare(r.timeout, false)
        compare(r.samples, 3)
        verify(Math.abs(r.x + 40) < 1.0, r.x)
        verify(Math.abs(r.y - 20) < 1.0, r.y)
        // Converted as the steps do: the mark's machine position.
        verify(Math.abs(r.x / root.camera1PPMCorr + 102 - 100) < 0.05)
        verify(Math.abs(-r.y / root.camera1PPMCorr + 51 - 50) < 0.05)
        verify(!probe.value(heads, "calculating"))
        verify(!probe.value(root.findToolWindow("camera1Window"), "qmlCapture"))
    }

    // A camera that delivers nothing times out as not found.
    function test_silentCameraTimesOut() {
        root.camera1Name = ""
        probe.setValue(heads, "timeoutMs", 300)
        probe.forget("silent")
        probe.callRecording(heads, "ask", [probe.call(heads, "calibrationMarkSettings"), 3, "@recorder"], "silent")
        tryVerify(function() { return probe.hits("silent") === 1 }, 3000)
        var r = probe.recorded("silent")[0][0]
        compare(r.found, false)
        compare(r.timeout, true)
        probe.setValue(heads, "timeoutMs", 5000)
        root.camera1Name = "sim:board"
    }

    SignalSpy { id: framesSpy; target: camera1; signalName: "frameProcessed" }

    Canvas {
        id: canvas
        width: 24
        height: 16
        property bool drawn: false
        onPainted: drawn = true
        onPaint: {
            var ctx = getContext("2d")
            ctx.fillStyle = "#000000"
            ctx.fillRect(0, 0, width, height)
            ctx.fillStyle = "#ffffff"
            ctx.fillRect(4, 4, 8, 8)
        }
    }

    // A mark with a template: its picture, kept as a data URL, reaches the
    // camera as the compared image; a mark without one clears it.
    function test_templatePictureReachesTheCamera() {
        canvas.requestPaint()
        tryVerify(function() { return canvas.drawn })
        var url = canvas.toDataURL("image/png")
        verify(url.indexOf("data:image/png;base64,") === 0)
        var settings = probe.call(heads, "markSettings", [{ "indiv": true, "type": 2, "size": 1, "size2": 1,
                                                           "roi": 40, "t1": 150, "t2": 50, "photo": url }])
        compare(settings.mode, "templateRef")
        probe.call(heads, "load", [settings])
        compare(probe.value(camera1, "mode"), "templateRef")
        verify(probe.greyAt(camera1, "compareImage", 6, 6) > 200)
        verify(probe.greyAt(camera1, "compareImage", 1, 1) < 50)
        compare(probe.greyAt(camera1, "compareImage", 23, 15) >= 0, true)
        compare(probe.greyAt(camera1, "compareImage", 24, 15), -1)
        probe.call(heads, "load", [probe.call(heads, "markSettings", [{ "indiv": false }])])
        compare(probe.greyAt(camera1, "compareImage", 1, 1), -1)
    }

    // A cancelled request answers nothing, and a new one replaces the old.
    function test_cancelledAndReplacedRequests() {
        probe.call(root, "jointPosGet", [[102, 51, 0, 0]])
        probe.forget("old")
        probe.forget("new")
        var settings = probe.call(heads, "markSettings", [{ "indiv": false }])
        probe.callRecording(heads, "ask", [settings, 3, "@recorder"], "old")
        probe.callRecording(heads, "ask", [settings, 1, "@recorder"], "new")
        tryVerify(function() { return probe.hits("new") === 1 }, 8000)
        compare(probe.recorded("new")[0][0].samples, 1)
        probe.callRecording(heads, "ask", [settings, 3, "@recorder"], "old")
        probe.call(heads, "cancel")
        // Twice the frames the request asked for, the camera kept capturing.
        root.showToolWindow("camera1Window")
        framesSpy.clear()
        tryVerify(function() { return framesSpy.count >= 6 }, 8000)
        compare(probe.hits("old"), 0)
    }

}

import QtQuick 2.15
import QtTest 1.2

// The camera items of the real program on the simulated camera.
TestCase {
    id: testCase
    name: "Camera"
    when: windowShown

    property var camera1: findChild(root, "camera1")
    property var camera2: findChild(root, "camera2")

    SignalSpy { id: photoSpy; signalName: "photoChanged" }
    SignalSpy { id: processedSpy; signalName: "frameProcessed" }

    function initTestCase() {
        verify(camera1 !== null)
        verify(camera2 !== null)
        // On a board mark: marks lie every 10 mm.
        root.jointPosGet([100, 50, 0, 0])
        root.camera1Name = "sim:board"
        root.showToolWindow("camera1Window")
        tryCompare(camera1, "opened", true, 5000)
    }

    function cleanupTestCase() {
        root.closeAllToolWindows()
    }

    // Waits until the camera has processed `count` more frames.
    function waitForFrames(camera, count) {
        processedSpy.target = camera
        processedSpy.clear()
        for (var i = 0; i < count; ++i)
            processedSpy.wait(3000)
    }

    // The picture of the image provider, as the program's QML gets it.
    function fetch(url) {
        worker.makeQImage(url)
        return root.makeQImageResultSize
    }

    function test_showsSimulatedFrames() {
        compare(camera1.name, "sim:board")
        verify(camera1.capture)
        compare(camera1.frameWidth, 640)
        compare(camera1.frameHeight, 480)
        tryVerify(function() { return camera1.fps > 5 }, 5000)
        processedSpy.target = camera1
        processedSpy.clear()
        processedSpy.wait(2000)
        verify(camera1.visible)
    }

    function test_propertiesForwarded() {
        camera1.roiPercent = 150
        compare(camera1.roiPercent, 100)
        camera1.roiPercent = 50
        // The zoom reaches the processing object: the shown image shrinks.
        root.camera1ShowPercent = 50
        compare(camera1.showPercent, 50)
        waitForFrames(camera1, 2)
        verify(camera1.makeScan())
        compare(fetch("image://camera1/photo"), Qt.size(320, 240))
        root.camera1ShowPercent = 100
        waitForFrames(camera1, 2)
        verify(camera1.makeScan())
        compare(fetch("image://camera1/photo"), Qt.size(640, 480))
    }

    // A photo, clipped around the frame centre, shows the mark under the
    // camera; moving the machine 5 mm moves the mark away.
    function test_photoAndClip() {
        photoSpy.target = camera1
        photoSpy.clear()
        camera1.requestPhoto()
        photoSpy.wait(3000)
        compare(fetch("image://camera1/photo"), Qt.size(640, 480))
        verify(probe.greyAt(camera1, "photo", 320, 240) > 170)

        camera1.clipPhoto(300, 220, 40, 30, 0)
        compare(fetch("image://camera1/clipPhoto"), Qt.size(40, 30))
        verify(probe.greyAt(root, "makeQImageResult", 20, 20) > 170)
        verify(probe.greyAt(root, "makeQImageResult", 1, 1) < 130)

        // Turned by 90°: a 30 x 40 clip centred on the frame centre.
        camera1.clipPhoto(320 + 20, 240 - 15, 30, 40, 90)
        compare(fetch("image://camera1/clipPhoto"), Qt.size(30, 40))
        verify(probe.greyAt(root, "makeQImageResult", 15, 20) > 170)

        root.jointPosGet([105, 50, 0, 0])
        photoSpy.clear()
        waitForFrames(camera1, 3)
        camera1.requestPhoto()
        photoSpy.wait(3000)
        verify(probe.greyAt(camera1, "photo", 320, 240) < 130)
        verify(probe.greyAt(camera1, "photo", 320 + 5 * 20, 240) > 170)
        root.jointPosGet([100, 50, 0, 0])
    }

    function test_otherIdsGiveOnePixel() {
        compare(fetch("image://camera1/invalid"), Qt.size(1, 1))
        compare(fetch("image://worker/invalid"), Qt.size(1, 1))
        compare(fetch("image://worker/screenShot1"), Qt.size(1, 1))
    }

    function test_cameraListsAndModes() {
        worker.readCameraList()
        var list = probe.value(root, "cameraList")
        verify(list.indexOf("sim:board") >= 0)
        verify(list.indexOf("sim:component") >= 0)
        for (var i = 0; i < list.length; ++i)
            verify(list[i].slice(-6) !== "index1")
        root.readCameraModes(1)
        compare(probe.value(root, "camera1Modes"), ["640x480", "1280x720", "1280x960"])
    }

    // The board scan: fields of the head camera composed into a file.
    function test_boardScan() {
        camera1.mode = "scan"
        camera1.roiPercent = 50
        waitForFrames(camera1, 2)
        // Field of view 16 x 12 mm (320 x 240 pixels at 20 px/mm).
        root.scanStart(32, 12, 16, 12, 20)
        root.scanStep(0, 0)
        root.jointPosGet([116, 50, 0, 0])
        waitForFrames(camera1, 3)
        root.scanStep(16, 0)
        var file = String(settingsFile).replace("settings.ini", "boardScan")
        root.scanFinish(file)
        verify(worker.checkFileExistance("file://" + file + ".png"))
        // The picture is 32 x 12 mm at 600 dots per inch; the photo editor
        // loads it and clips from it.
        verify(worker.photoEditorUploadPhoto("file://" + file + ".png"))
        compare(fetch("image://worker/photoEditorUploadPhoto"), Qt.size(Math.round(32 * 600 / 25.4), Math.round(12 * 600 / 25.4)))
        // The board corner is at X 92: marks at 100, 110 and 120 mm, i.e. 8,
        // 18 and 28 mm from it, 6 mm down; nothing bright between them.
        var dpmm = 600 / 25.4
        verify(probe.greyAt(root, "makeQImageResult", Math.round(8 * dpmm), Math.round(6 * dpmm)) > 170)
        verify(probe.greyAt(root, "makeQImageResult", Math.round(18 * dpmm), Math.round(6 * dpmm)) > 170)
        verify(probe.greyAt(root, "makeQImageResult", Math.round(28 * dpmm), Math.round(6 * dpmm)) > 170)
        verify(probe.greyAt(root, "makeQImageResult", Math.round(13 * dpmm), Math.round(6 * dpmm)) < 130)
        verify(probe.greyAt(root, "makeQImageResult", Math.round(23 * dpmm), Math.round(6 * dpmm)) < 130)
        worker.clipPhoto(10, 20, 100, 50, 0)
        compare(fetch("image://worker/photoEditorUploadPhotoClipped"), Qt.size(100, 50))
        verify(!worker.photoEditorUploadPhoto("file:///no/such/picture.png"))
        compare(fetch("image://worker/invalid"), Qt.size(1, 1))
        camera1.mode = ""
        root.jointPosGet([100, 50, 0, 0])
    }

    // The component camera on its own simulated scene, mirrored.
    function test_componentCamera() {
        root.camera2Name = "sim:component"
        root.showToolWindow("camera2Window")
        tryCompare(camera2, "opened", true, 5000)
        // A 3.2 x 1.6 mm part taken by the nozzle from a pocket under it,
        // seen at 40 pixels per mm.
        worker.simWorldGet({ "feeders": [{ "bank": "B", "index": 0, "pockets": [[100, 50]], "pickZ": 10,
                                           "width": 3.2, "height": 1.6 }], "componentScale": 40 })
        root.jointPosGet([100, 50, 0, 0])
        root.doutGet(1, true)
        verify(worker.simWorldHoldsPart())
        // Frames drawn before the pick may still be on their way.
        waitForFrames(camera2, 2)
        photoSpy.target = camera2
        photoSpy.clear()
        camera2.requestPhoto()
        photoSpy.wait(3000)
        // The simulated component camera has the one mode 1280 x 960.
        compare(fetch("image://camera2/photo"), Qt.size(1280, 960))
        // The terminals of the component, left and right of the nozzle;
        // the body's edge 0.8 mm above the middle, nothing 1 mm above it.
        verify(probe.greyAt(camera2, "photo", 640 - 52, 480) > 170)
        verify(probe.greyAt(camera2, "photo", 640 + 52, 480) > 170)
        verify(probe.greyAt(camera2, "photo", 640, 480 - 40) < 80)
        root.doutGet(1, false)
        worker.simWorldResetParts()
    }
}

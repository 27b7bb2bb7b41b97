import QtQuick 2.15
import QtTest 1.2

// The camera items of the real program on the simulated camera: the
// settings reach them, their pictures reach the program through the image
// providers (the frames, photos, clips and scans themselves:
// tst_camera_item.cpp, tst_camera_images.cpp).
TestCase {
    id: testCase
    name: "Camera"
    when: windowShown

    property var camera1: findChild(root, "camera1")
    property var camera2: findChild(root, "camera2")

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

    function test_propertiesForwarded() {
        compare(camera1.name, "sim:board")
        // The zoom reaches the processing object: the shown image shrinks.
        root.camera1ShowPercent = 50
        compare(camera1.showPercent, 50)
        waitForFrames(camera1, 2)
        verify(camera1.makeScan())
        compare(fetch("image://camera1/photo"), Qt.size(320, 240))
        root.camera1ShowPercent = 100
    }

    // The camera list and a camera's modes reach the program.
    function test_cameraListsAndModes() {
        worker.readCameraList()
        verify(probe.value(root, "cameraList").indexOf("sim:board") >= 0)
        root.readCameraModes(1)
        compare(probe.value(root, "camera1Modes"), ["640x480", "1280x720", "1280x960"])
    }

    // The board scan: fields of the head camera composed into a file (the
    // composition and its scale: tst_camera_images.cpp, boardScanComposesAt600Dpi).
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
        // The photo editor loads it, 32 x 12 mm at 600 dots per inch, and
        // clips from it.
        verify(worker.photoEditorUploadPhoto("file://" + file + ".png"))
        compare(fetch("image://worker/photoEditorUploadPhoto"),
                Qt.size(Math.round(32 * 600 / 25.4), Math.round(12 * 600 / 25.4)))
        worker.clipPhoto(10, 20, 100, 50, 0)
        compare(fetch("image://worker/photoEditorUploadPhotoClipped"), Qt.size(100, 50))
        camera1.mode = ""
        root.jointPosGet([100, 50, 0, 0])
    }

}

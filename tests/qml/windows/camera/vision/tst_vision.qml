import QtQuick 2.15
import QtTest 1.2

// Recognition, inspection and field calibration in the running program on
// the simulated cameras.
TestCase {
    id: testCase
    name: "Vision"
    when: windowShown

    property var camera1: findChild(root, "camera1")
    property var camera2: findChild(root, "camera2")

    SignalSpy { id: updatedSpy; signalName: "updated" }
    SignalSpy { id: photoSpy; signalName: "photoChanged" }

    // Moves of the field calibration go straight to the simulated stage.
    property var moves: []
    Connections {
        id: stage
        target: null
        function onMoveRequested(x, y) {
            var m = testCase.moves.slice()
            m.push([x, y])
            testCase.moves = m
            root.jointPosGet([x, y, 0, 0])
            stage.target.moveDone(true)
        }
    }

    function initTestCase() {
        root.jointPosGet([100, 50, 0, 0])
        root.camera1Name = "sim:board"
        root.showToolWindow("camera1Window")
        tryCompare(camera1, "opened", true, 5000)
    }

    function cleanupTestCase() {
        camera1.mode = ""
        camera2.mode = ""
        root.closeAllToolWindows()
    }

    // Waits for `count` further results of a camera.
    function results(camera, count) {
        updatedSpy.target = camera
        updatedSpy.clear()
        for (var i = 0; i < count; ++i)
            updatedSpy.wait(3000)
    }

    function setUpMarkSearch() {
        camera1.mode = "circle"
        camera1.param1 = 150
        camera1.param2 = 50
        camera1.roiPercent = 50
        camera1.targetSize = 20
        camera1.targetSizeTolerance = 15
    }

    // The 1 mm marks of the simulated board, 20 px/mm: the found centre
    // follows the machine position.
    function test_markFollowsTheMachine() {
        root.jointPosGet([100, 50, 0, 0])
        setUpMarkSearch()
        // The camera may just have been switched back to the board.
        tryVerify(function() { return camera1.objFound }, 5000)
        results(camera1, 2)
        verify(camera1.objFound)
        verify(Math.abs(camera1.objCenterX) < 0.25)
        verify(Math.abs(camera1.objCenterY) < 0.25)
        root.jointPosGet([100.35, 49.8, 0, 0])
        results(camera1, 3)
        verify(camera1.objFound)
        // The board moves left and down in the picture when X and Y grow... here
        // the camera moved +X (mark to the left) and -Y (mark upwards).
        verify(Math.abs(camera1.objCenterX + 7) < 0.25, camera1.objCenterX)
        verify(Math.abs(camera1.objCenterY + 4) < 0.25, camera1.objCenterY)
        root.jointPosGet([100, 50, 0, 0])
        // A target size that does not fit finds nothing.
        camera1.targetSize = 30
        results(camera1, 3)
        verify(!camera1.objFound)
        camera1.targetSize = 20
    }

    // The component on the nozzle turns with A; its outline gives the angle.
    function test_componentOnNozzle() {
        root.camera2Name = "sim:component"
        root.showToolWindow("camera2Window")
        tryCompare(camera2, "opened", true, 5000)
        camera2.mode = "element"
        camera2.param1 = 150
        camera2.param2 = 5
        camera2.roiPercent = 80
        // A 3.2 x 1.6 mm part taken by the nozzle from a pocket under it.
        worker.simWorldGet({ "feeders": [{ "bank": "B", "index": 0, "pockets": [[100, 50]], "pickZ": 10,
                                           "width": 3.2, "height": 1.6 }] })
        root.jointPosGet([100, 50, 0, 0])
        root.doutGet(1, true)
        verify(worker.simWorldHoldsPart())
        root.jointPosGet([100, 50, 0, 2.5])
        results(camera2, 3)
        verify(camera2.objFound)
        // The outline of a part of 64 x 32 px gives its angle to about 0.3 degrees.
        verify(Math.abs(Math.abs(camera2.objAngle) - 2.5) < 0.35, camera2.objAngle)
        verify(Math.abs(camera2.objCenterX) < 0.5)
        verify(Math.abs(camera2.objCenterY) < 0.5)
        verify(Math.abs(camera2.objWidth - 64) <= 1, camera2.objWidth)
        root.jointPosGet([100, 50, 0, 0])
        root.doutGet(1, false)
        compare(worker.simWorldReleases().length, 1)
        worker.simWorldResetParts()
        camera2.mode = ""
    }

    // Inspection: a large clip of a photo found again in the photo.
    function test_inspectionByDifference() {
        camera1.mode = ""
        photoSpy.target = camera1
        photoSpy.clear()
        camera1.requestPhoto()
        photoSpy.wait(3000)
        camera1.clipPhoto(30, 15, 600, 440, 0)
        worker.makeQImage("image://camera1/clipPhoto")
        var clip = root.makeQImageResult
        worker.makeQImage("image://camera1/photo")
        var photo = root.makeQImageResult
        root.makeAoi(photo, clip, 100, 1)
        compare(root.makeAoiResultDiff, 0)
        compare(root.makeAoiResultShift, Qt.vector2d(-10, 5))
        // Reference and clip of the same size: the fixed failed result.
        root.makeAoi(photo, photo, 100, 1)
        compare(root.makeAoiResultDiff, 100)
        compare(root.makeAoiResultShift, Qt.vector2d(0, 0))
    }

    // The whole measuring procedure on the simulated board: the marks lie
    // where they should, so the stored grid has no offsets.
    function test_fieldCalibration() {
        var path = String(root.programPath).replace("file://", "") + "/fieldCalibration.ini"
        probe.removeFile(path)
        var w = root.findToolWindow("fieldCalibration")
        verify(w !== null)
        root.fieldCalibStartX = 10
        root.fieldCalibStartY = 10
        root.fieldCalibStepX = 20
        root.fieldCalibStepY = 20
        root.fieldCalibCountX = 3
        root.fieldCalibCountY = 2
        root.calibThreshold1 = 150
        root.calibThreshold2 = 50
        root.calibRefPointSize = 1
        root.camera1Delay = 30
        moves = []
        w.externalMoves = true
        stage.target = w
        w.start()
        tryVerify(function() { return w.waitingForTurn || !w.running }, 20000)
        verify(w.waitingForTurn, w.status + " " + JSON.stringify(moves) + " " + camera1.mode + " " + camera1.targetSize)
        // Two rows: two end marks and three points each.
        compare(moves.length, 10)
        compare(moves[0], [10, 490])
        compare(moves[1], [50, 490])
        w.continueAfterTurn()
        tryCompare(w, "running", false, 20000)
        compare(moves.length, 20)
        tryCompare(root, "fieldCalibrationAvailable", true, 3000)
        compare(Number(probe.iniValue(path, "xCount")), 3)
        compare(Number(probe.iniValue(path, "yCount")), 34)
        for (var i = 0; i < 3; ++i) {
            verify(Math.abs(Number(probe.iniValue(path, i + "/nX")) - Number(probe.iniValue(path, i + "/rX"))) < 0.02)
            verify(Math.abs(Number(probe.iniValue(path, i + "/nY")) - Number(probe.iniValue(path, i + "/rY"))) < 0.02)
        }
        compare(Number(probe.iniValue(path, "1/rX")), 30)
        compare(Number(probe.iniValue(path, "0/rY")), 510)
        probe.removeFile(path)
    }

    // A mark that is not there stops the procedure with the operator message.
    function test_fieldCalibrationMissingMark() {
        var w = root.findToolWindow("fieldCalibration")
        root.fieldCalibStartX = 5 // between the marks
        w.externalMoves = true
        stage.target = w
        moves = []
        w.start()
        tryCompare(w, "running", false, 10000)
        compare(moves.length, 1)
        verify(w.status.length > 0)
        stage.target = null
        w.externalMoves = false
        root.fieldCalibStartX = 10
    }

    // Losing the home position stops the procedure, also while the operator
    // turns the plate.
    function test_fieldCalibrationHomeLost() {
        var w = root.findToolWindow("fieldCalibration")
        root.fieldCalibCountY = 1
        root.jointHomedGet(true, true, true, true, true)
        w.externalMoves = true
        stage.target = w
        moves = []
        w.start()
        tryCompare(w, "waitingForTurn", true, 10000)
        root.jointHomedGet(false, false, false, false, false)
        compare(w.waitingForTurn, false)
        compare(w.running, false)
        verify(w.status.indexOf("исходное") >= 0, w.status)
        stage.target = null
        w.externalMoves = false
        root.fieldCalibCountY = 2
    }

    // Nine views of the circle grid, shown by a simulated camera playing a
    // folder of rendered views (520 px focal length at 640 x 480), give a
    // calibration that is stored for a 1280 px wide frame and can be applied.
    function test_lensCalibrationFromViews() {
        var settings = root.findToolWindow("cameraSettings")
        var start = findChild(settings, "camera1LensCalibrationButton")
        var photo = findChild(settings, "camera1LensPhotoButton")
        var undistort = findChild(settings, "camera1UndistortBox")
        camera1.mode = ""
        root.camera1Name = String(Qt.resolvedUrl("../../../../data/lens_grid")).replace("file://", "")
        tryCompare(camera1, "opened", true, 5000)
        start.clicked()
        compare(camera1.mode, "calib1")
        for (var i = 1; i <= 9; ++i) {
            tryCompare(camera1, "calMode", 1, 5000)
            photo.clicked()
            if (i < 9)
                tryCompare(camera1, "calFramesCaptured", i, 5000)
        }
        tryCompare(camera1, "calMode", 0, 10000)
        compare(camera1.mode, "")
        tryCompare(camera1, "calFramesCaptured", 0, 3000)
        tryCompare(camera1, "calibrationIsAccepted", true, 10000)
        var matrix = probe.value(root, "camera1CameraMatrix")
        compare(matrix.length, 9)
        verify(Math.abs(matrix[0] - 2 * 520) < 2 * 520 * 0.02, matrix[0])
        verify(Math.abs(matrix[4] - 2 * 520) < 2 * 520 * 0.02, matrix[4])
        compare(probe.value(root, "camera1DistCoeffs").length, 8)
        verify(undistort.enabled)
        undistort.checked = true
        undistort.clicked()
        compare(root.camera1CalibrationEnabled, true)
        undistort.checked = false
        undistort.clicked()
        compare(root.camera1CalibrationEnabled, false)
        root.camera1Name = "sim:board"
        tryCompare(camera1, "opened", true, 5000)
    }

    // Lens calibration buttons switch the camera into the calibration modes
    // and back to the mode it had.
    function test_lensCalibrationModes() {
        camera1.mode = "circle"
        var start = findChild(root.findToolWindow("cameraSettings"), "camera1LensCalibrationButton")
        verify(start !== null)
        start.clicked()
        compare(camera1.calMode, 1)
        compare(camera1.mode, "calib1")
        var photo = findChild(root.findToolWindow("cameraSettings"), "camera1LensPhotoButton")
        photo.clicked()
        compare(camera1.mode, "calib2")
        start.clicked()
        compare(camera1.calMode, 0)
        compare(camera1.mode, "circle")
    }
}

import QtQuick 2.15
import QtTest 1.2

// Recognition, inspection and field calibration in the running program on
// the simulated cameras. The simulated board has round 1 mm marks every 10 mm
// in machine coordinates, seen at 20 px/mm.
//
// A camera's results reach the main thread queued behind the frames taken
// before a move or a setting: a result is awaited by its state (tryVerify),
// and then held for two further results.
TestCase {
    id: testCase
    name: "Vision"
    when: windowShown

    property var camera1: findChild(root, "camera1")
    property var camera2: findChild(root, "camera2")

    SignalSpy { id: updatedSpy; signalName: "updated" }
    SignalSpy { id: photoSpy; signalName: "photoChanged" }

    // The field calibration's moves go to the simulated stage; a move is
    // answered once the head camera shows what lies at the new position: a
    // mark where the 10 mm grid has one (centred as far off as the move put
    // it), none between the marks.
    property var moves: []
    property var pendingMove: null
    Connections {
        id: stage
        target: null
        function onMoveRequested(x, y) {
            testCase.moves = testCase.moves.concat([[x, y]])
            root.jointPosGet([x, y, 0, 0])
            testCase.pendingMove = [x, y]
        }
    }
    Connections {
        target: testCase.pendingMove ? testCase.camera1 : null
        function onUpdated() {
            if (!testCase.showsPosition(testCase.pendingMove))
                return
            testCase.pendingMove = null
            stage.target.moveDone(true)
        }
    }
    function showsPosition(p) {
        var dx = (Math.round(p[0] / 10) * 10 - p[0]) * 20, dy = (p[1] - Math.round(p[1] / 10) * 10) * 20
        if (Math.abs(dx) > 10 || Math.abs(dy) > 10)
            return !camera1.objFound
        return camera1.objFound && Math.abs(camera1.objCenterX - dx) < 3 && Math.abs(camera1.objCenterY - dy) < 3
    }

    function init() {
        root.jointPosGet([100, 50, 0, 0])
        root.jointHomedGet(true, true, true, true, true)
        if (root.camera1Name !== "sim:board")
            root.camera1Name = "sim:board"
        root.showToolWindow("camera1Window")
        tryCompare(camera1, "opened", true, 5000)
        camera1.mode = ""
        camera1.targetSize = 20
        camera1.targetSizeTolerance = 15
    }

    function cleanup() {
        var w = root.findToolWindow("fieldCalibration")
        if (w.running || w.waitingForTurn)
            w.stop("")
        w.externalMoves = false
        stage.target = null
        pendingMove = null
        probe.removeFile(fieldFile())
    }

    function cleanupTestCase() {
        camera1.mode = ""
        camera2.mode = ""
        root.closeAllToolWindows()
    }

    // `check` true on a result of the camera and on the two after it.
    function settled(camera, check, message) {
        tryVerify(check, 5000, message)
        updatedSpy.target = camera
        updatedSpy.clear()
        for (var i = 0; i < 2; ++i) {
            updatedSpy.wait(3000)
            verify(check(), message)
        }
    }

    // The 1 mm marks of the simulated board: the found centre follows the
    // machine position; a target size that does not fit finds nothing.
    function test_markFollowsTheMachine() {
        camera1.mode = "circle"
        camera1.param1 = 150
        camera1.param2 = 50
        camera1.roiPercent = 50
        settled(camera1, function() {
            return camera1.objFound && Math.abs(camera1.objCenterX) < 0.25 && Math.abs(camera1.objCenterY) < 0.25
        }, "centred")
        // The camera moved +X (the mark to the left) and -Y (the mark upwards).
        root.jointPosGet([100.35, 49.8, 0, 0])
        settled(camera1, function() {
            return camera1.objFound && Math.abs(camera1.objCenterX + 7) < 0.25 && Math.abs(camera1.objCenterY + 4) < 0.25
        }, "moved")
        camera1.targetSize = 30
        settled(camera1, function() { return !camera1.objFound }, "size")
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
        root.doutGet(1, true)
        verify(worker.simWorldHoldsPart())
        root.jointPosGet([100, 50, 0, 2.5])
        // The outline of a part of 64 x 32 px gives its angle to about 0.3 degrees.
        settled(camera2, function() {
            return camera2.objFound && Math.abs(Math.abs(camera2.objAngle) - 2.5) < 0.35
                    && Math.abs(camera2.objCenterX) < 0.5 && Math.abs(camera2.objCenterY) < 0.5
                    && Math.abs(camera2.objWidth - 64) <= 1
        }, "part")
        root.jointPosGet([100, 50, 0, 0])
        root.doutGet(1, false)
        compare(worker.simWorldReleases().length, 1)
        worker.simWorldResetParts()
        camera2.mode = ""
    }

    // Inspection: a large clip of a photo found again in the photo.
    function test_inspectionByDifference() {
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

    function fieldFile() { return String(root.programPath).replace("file://", "") + "/fieldCalibration.ini" }

    // Starts the measuring procedure over `rows` rows of three marks 20 mm
    // apart from (startX, 10), its moves going to the stage.
    function startFieldCalibration(startX, rows) {
        var w = root.findToolWindow("fieldCalibration")
        verify(w !== null)
        root.fieldCalibStartX = startX
        root.fieldCalibStartY = 10
        root.fieldCalibStepX = 20
        root.fieldCalibStepY = 20
        root.fieldCalibCountX = 3
        root.fieldCalibCountY = rows
        root.calibThreshold1 = 150
        root.calibThreshold2 = 50
        root.calibRefPointSize = 1
        root.camera1Delay = 30
        moves = []
        w.externalMoves = true
        stage.target = w
        w.start()
        return w
    }

    // The whole procedure on the simulated board: the marks lie where they
    // should, so the stored grid has no offsets.
    function test_fieldCalibration() {
        var w = startFieldCalibration(10, 2)
        tryVerify(function() { return w.waitingForTurn || !w.running }, 20000)
        verify(w.waitingForTurn, w.status + " " + JSON.stringify(moves))
        // Two rows: two end marks and three points each.
        compare(moves.length, 10)
        compare(moves[0], [10, 490])
        compare(moves[1], [50, 490])
        w.continueAfterTurn()
        tryCompare(w, "running", false, 20000)
        compare(moves.length, 20)
        tryCompare(root, "fieldCalibrationAvailable", true, 3000)
        var path = fieldFile()
        compare(Number(probe.iniValue(path, "xCount")), 3)
        compare(Number(probe.iniValue(path, "yCount")), 34)
        for (var i = 0; i < 3; ++i) {
            verify(Math.abs(Number(probe.iniValue(path, i + "/nX")) - Number(probe.iniValue(path, i + "/rX"))) < 0.02)
            verify(Math.abs(Number(probe.iniValue(path, i + "/nY")) - Number(probe.iniValue(path, i + "/rY"))) < 0.02)
        }
        compare(Number(probe.iniValue(path, "1/rX")), 30)
        compare(Number(probe.iniValue(path, "0/rY")), 510)
    }

    // A mark that is not there stops the procedure with the operator message.
    function test_fieldCalibrationMissingMark() {
        var w = startFieldCalibration(5, 2) // between the marks
        tryCompare(w, "running", false, 10000)
        compare(moves.length, 1)
        verify(w.status.length > 0)
        verify(!probe.fileExists(fieldFile()))
    }

    // Losing the home position stops the procedure, also while the operator
    // turns the plate.
    function test_fieldCalibrationHomeLost() {
        var w = startFieldCalibration(10, 1)
        tryCompare(w, "waitingForTurn", true, 10000)
        root.jointHomedGet(false, false, false, false, false)
        compare(w.waitingForTurn, false)
        compare(w.running, false)
        verify(w.status.indexOf("исходное") >= 0, w.status)
    }

    // Nine views of the circle grid, shown by a simulated camera playing a
    // folder of rendered views (520 px focal length at 640 x 480), give a
    // calibration that is stored for a 1280 px wide frame and can be applied.
    // The buttons switch the camera into the calibration modes and back.
    function test_lensCalibrationFromViews() {
        var settings = root.findToolWindow("cameraSettings")
        var start = findChild(settings, "camera1LensCalibrationButton")
        var photo = findChild(settings, "camera1LensPhotoButton")
        var undistort = findChild(settings, "camera1UndistortBox")
        // Started and given up again: the mode the camera had comes back.
        camera1.mode = "circle"
        start.clicked()
        compare(camera1.calMode, 1)
        compare(camera1.mode, "calib1")
        photo.clicked()
        compare(camera1.mode, "calib2")
        start.clicked()
        compare(camera1.calMode, 0)
        compare(camera1.mode, "circle")

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
    }
}

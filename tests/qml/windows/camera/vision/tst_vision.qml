import QtQuick 2.15
import QtTest 1.2

// The work-field and lens calibrations in the running program on the
// simulated head camera. The simulated board has round 1 mm marks every
// 10 mm in machine coordinates, seen at 20 px/mm.
TestCase {
    id: testCase
    name: "Vision"
    when: windowShown

    property var camera1: findChild(root, "camera1")

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
        root.closeAllToolWindows()
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
    }
}

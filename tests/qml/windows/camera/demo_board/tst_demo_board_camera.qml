import QtQuick 2.15
import QtTest 1.2

// The head camera of the program started as ./run.sh starts it (the
// simulated machine's settings store and demo project; the runner lays them
// out when KESTRAVO_TEST_SIM names sim/): it sees the demo board's marks at
// their machine positions through the camera offset, and where the real
// board has been moved or turned.
TestCase {
    id: testCase
    name: "DemoBoardCamera"
    when: windowShown

    property var camera1: findChild(root, "camera1")
    property var refs: []

    SignalSpy { id: updatedSpy; signalName: "updated" }

    // Results of frames taken before a move can still be on their way:
    // `check` is awaited, then held over two further results.
    function settled(check, message) {
        tryVerify(check, 5000, message)
        updatedSpy.target = camera1
        updatedSpy.clear()
        for (var i = 0; i < 2; ++i) {
            updatedSpy.wait(3000)
            verify(check(), message)
        }
    }
    function centred() {
        return camera1.objFound && Math.abs(camera1.objCenterX) < 0.5 && Math.abs(camera1.objCenterY) < 0.5
    }

    // Machine position of a design point.
    function machine(rX, rY) { return [rX + root.workAreaX1, root.workAreaY2 - rY] }

    // Puts the machine where the program puts it to look at the design point
    // (rX, rY): its machine position less the camera offset.
    function lookAt(rX, rY) {
        var m = machine(rX, rY)
        root.jointPosGet([m[0] - root.camera1XShift, m[1] - root.camera1YShift, 0, 0])
    }

    // The mark's position as the program computes it from a result.
    function measured() {
        return [camera1.objCenterX / root.camera1MM + root.machineState.cameraPosX,
                -camera1.objCenterY / root.camera1MM + root.machineState.cameraPosY]
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.refCount >= 2 }, 10000)
        var list = []
        for (var i = 0; i < root.refCount; ++i)
            list.push({ "rX": root.refList[i].rX, "rY": root.refList[i].rY, "size": root.refList[i].size })
        refs = list
        demoProject = String(root.projectName)
        verify(root.camera1XShift !== 0 || root.camera1YShift !== 0)
        compare(root.camera1MM, 20)
        root.showToolWindow("camera1Window")
        tryCompare(camera1, "opened", true, 5000)
        camera1.mode = "circle"
        camera1.param1 = 150
        camera1.param2 = 50
        camera1.roiPercent = 50
        camera1.targetSize = refs[0].size * root.camera1MM
        camera1.targetSizeTolerance = 15
    }

    property string demoProject: ""
    function cleanup() {
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        camera1.targetSize = refs[0].size * root.camera1MM
        if (String(root.projectName) !== demoProject) {
            probe.call(root, "openProjectSeq", [demoProject])
            tryVerify(function() { return worker.simWorld().marks.length === refs.length }, 5000)
        }
    }

    function cleanupTestCase() {
        camera1.mode = ""
        root.closeAllToolWindows()
    }

    // Over each mark as the program moves there, the camera finds it off by
    // the board's displacement (moved and turned about its first mark:
    // tst_simulated_world.cpp; in place, through the job on the machine:
    // tst_marks_on_machine.qml). The world the program hands over (marks,
    // camera offset, calibration marks) is tst_simulatedWorld_lib.qml's; a
    // mark missing from it is not seen here.
    function test_marksSeenWhereTheBoardIs() {
        var data = { "dx": -0.4, "dy": 0.25, "angle": -0.3 }
        worker.simWorldSetBoardDisplacement(data.dx, data.dy, data.angle)
        var pivot = machine(refs[0].rX, refs[0].rY)
        var a = data.angle * Math.PI / 180
        for (var i = 0; i < refs.length; ++i) {
            var m = machine(refs[i].rX, refs[i].rY)
            var vx = m[0] - pivot[0], vy = m[1] - pivot[1]
            var real = [pivot[0] + vx * Math.cos(a) - vy * Math.sin(a) + data.dx,
                        pivot[1] + vx * Math.sin(a) + vy * Math.cos(a) + data.dy]
            lookAt(refs[i].rX, refs[i].rY)
            var expectedX = (real[0] - m[0]) * root.camera1MM
            var expectedY = -(real[1] - m[1]) * root.camera1MM
            settled(function() {
                return camera1.objFound && Math.abs(camera1.objCenterX - expectedX) < 0.5
                        && Math.abs(camera1.objCenterY - expectedY) < 0.5
            }, "mark " + i + " expected at " + expectedX + ", " + expectedY)
            var p = measured()
            verify(Math.abs(p[0] - real[0]) < 0.03 && Math.abs(p[1] - real[1]) < 0.03, JSON.stringify(p))
        }
    }

    // A changed camera offset reaches the world; without a project the
    // camera shows its calibration plate again.
    function test_followsTheSettings() {
        var old = root.camera1XShift
        root.camera1XShift = old + 5
        tryVerify(function() { return worker.simWorld().cameraShift[0] === old + 5 }, 2000)
        root.camera1XShift = old
        tryVerify(function() { return worker.simWorld().cameraShift[0] === old }, 2000)
        probe.call(root.projectActions, "clearProject")
        root.projectName = ""
        tryVerify(function() { return worker.simWorld().marks.length === 0 }, 2000)
        compare(worker.simWorld().tableMarks.length, 0)
        // A plate mark lies on every 10 mm.
        root.jointPosGet([100, 50, 0, 0])
        settled(centred, "plate mark")
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../../common/ProgramRig.js" as Rig
import "../../../common"

// The camera position calibration window in the whole program as ./run.sh
// starts it: the simulated head camera and component camera, a chip lying
// on the simulated table, and both cameras mounted off where the settings
// say. The machine link is detached; the stand-in machine walks and answers
// every block, so that the simulated nozzle takes the chip and puts it down.
// The offsets found must be the real ones within 0.02 mm.
TestCase {
    id: testCase
    name: "CameraCalibrationWindow"
    when: windowShown

    property var win: null
    readonly property real headDx: 0.3
    readonly property real headDy: -0.2
    readonly property real camDx: 0.25
    readonly property real camDy: -0.15

    MachineStandIn { id: machine; at: [200, 200, 30, 0]; zMax: root.workAreaZ2; outputs: [1] }

    function near(actual, expected, eps, what) {
        verify(Math.abs(actual - expected) <= eps, what + ": " + actual + " instead of " + expected)
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0 }, 10000)
        win = probe.find(root, "cameraAutoCalibration")
        verify(win !== null)
        verify(probe.detachMachineLink())
        probe.setMachineLinkAnswers(false)
        root.maxVelGet(250, 250, 100, 360, 100, 100)
        root.maxAccGet(1000, 1000, 500, 1000)
        root.camera1Delay = 100
        root.camera2Delay = 100
        root.camera2MinHeight = 10
        root.vsEnabled = false
        root.cameraACGetX = 430
        root.cameraACGetY = 400
        root.cameraACGetZ = 2
        root.cameraACElThickness = 1.5
        root.cameraACObj = 0
        root.cameraACVC = 4
        root.cameraACCamera1T1 = 100
        root.cameraACCamera2T1 = 100
        Rig.calibrate()
        probe.setValue(root.machineState, "currVC", 4)
        machine.moveTo(machine.at)
        machine.start()
    }

    function cleanupTestCase() {
        machine.stop()
        worker.simWorldSetCameraFaults({})
        worker.simWorldSetTableObject({})
        root.doutGet(1, false)
        win.close()
        root.machineOnGet(false)
        probe.attachMachineLink()
    }

    // A machine error raised elsewhere stops the sequence and frees the machine.
    function test_aMachineErrorStopsIt() {
        win.show()
        probe.call(win, "start", [])
        verify(win.running)
        verify(root.activityRunning("cameraCalibration"))
        root.appError("test")
        tryVerify(function() { return !win.running }, 5000)
        verify(!root.activityRunning("cameraCalibration"))
        win.close()
    }

    function test_offsetsRecovered() {
        // A chip of 2 x 1.25 mm, 1.5 mm thick, where the nozzle (15 mm long,
        // 1 mm press) touches it at Z 16, away from the board.
        verify(worker.simWorldSetTableObject({ "x": 430, "y": 400, "width": 2, "height": 1.25, "thickness": 1.5,
                                               "pickZ": 16 }))
        var shiftX = root.camera1XShift, shiftY = root.camera1YShift
        var camX = root.camera2X, camY = root.camera2Y
        verify(worker.simWorldSetCameraFaults({ "headDx": headDx, "headDy": headDy, "componentX": camX + camDx,
                                                "componentY": camY + camDy }))
        root.pcbCorrX = 0.1
        root.pcbCorrY = 0.1
        var log = root.logModel.count
        win.show()
        verify(win.canStart)
        probe.call(win, "start", [])
        verify(win.running)
        tryVerify(function() { return !win.running }, 60000)
        var s = JSON.parse(JSON.stringify(win.calibState))
        compare(s.error, "", JSON.stringify(s) + JSON.stringify(Rig.logMessages(log)))
        verify(s.applied)
        near(root.camera1XShift, shiftX + headDx, 0.02, "head camera X offset")
        near(root.camera1YShift, shiftY + headDy, 0.02, "head camera Y offset")
        near(root.camera2X, camX + camDx, 0.02, "component camera X")
        near(root.camera2Y, camY + camDy, 0.02, "component camera Y")
        // The correction is what the head camera finds, to about one of its
        // pixels (0.05 mm).
        near(root.pcbCorrX, 0, 0.05, "placement correction X")
        near(root.pcbCorrY, 0, 0.05, "placement correction Y")
        // The chip lies where it was.
        var o = worker.simWorldTableObject()
        verify(o.present)
        near(o.x, 430, 0.02, "chip X")
        near(o.y, 400, 0.02, "chip Y")
        compare(s.before.camera1XShift, shiftX)

        // "Восстановить старые параметры" puts the old ones back.
        probe.call(win, "restore", [])
        compare(root.camera1XShift, shiftX)
        compare(root.camera2Y, camY)
        compare(root.pcbCorrX, 0.1)
    }
}

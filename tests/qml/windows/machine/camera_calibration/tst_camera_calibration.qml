import QtQuick 2.15
import QtTest 1.2
import "../../../common"

// The camera position calibration window in the whole program as ./run.sh
// starts it, the machine link detached: the stand-in machine walks and
// answers every block. The offsets it finds on the simulated cameras are
// tst_camcal_on_machine.qml's (test_cameraOffsetsRecovered), "Восстановить
// старые параметры" tst_cameraAutoCalibration.qml's (test_restore).
TestCase {
    id: testCase
    name: "CameraCalibrationWindow"
    when: windowShown

    property var win: null

    MachineStandIn { id: machine; at: [200, 200, 30, 0]; zMax: root.workAreaZ2; outputs: [1] }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0 }, 10000)
        win = probe.find(root, "cameraAutoCalibration")
        verify(win !== null)
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
        verify(machine.takeOver())
        probe.setValue(root.machineState, "currVC", 4)
    }

    function cleanupTestCase() {
        machine.giveBack()
        root.doutGet(1, false)
        win.close()
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
}

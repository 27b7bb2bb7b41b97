import QtQuick 2.15
import QtTest 1.2

// The work-field calibration end to end: the real LinuxCNC of the simulated
// machine moves the head, the simulated head camera follows the machine
// position and finds the board's marks, and the table reaches the machine
// link.
TestCase {
    id: testCase
    name: "FieldOnMachine"
    when: windowShown

    property var camera1: findChild(root, "camera1")

    function initTestCase() {
        root.iniFile = Qt.resolvedUrl("../../../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        tryCompare(root, "cncRunning", true, 45000)     // auto-start
        root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
        root.machineHome(true)
        tryVerify(function() {
            var homed = probe.value(root, "jointHomed")
            return homed[0] && homed[1] && homed[2] && homed[3] && homed[4]
        }, 20000)
        wait(1000)
        root.camera1Name = "sim:board"
        root.showToolWindow("camera1Window")
        tryCompare(camera1, "opened", true, 5000)
    }

    function cleanupTestCase() {
        camera1.mode = ""
        root.closeAllToolWindows()
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function test_gridMeasuredOnTheMachine() {
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
        root.camera1Delay = 100
        w.externalMoves = false
        w.start()
        tryVerify(function() { return w.waitingForTurn || !w.running }, 60000)
        verify(w.waitingForTurn, w.status)
        // The head stands over the last mark of the first pass.
        var pos = probe.value(root, "jointPos")
        verify(Math.abs(pos[0] - 50) < 0.01 || Math.abs(pos[0] - 10) < 0.01, JSON.stringify(pos))
        w.continueAfterTurn()
        tryCompare(w, "running", false, 60000)
        verify(w.status.length >= 0)
        tryCompare(root, "fieldCalibrationAvailable", true, 5000)
        compare(Number(probe.iniValue(path, "xCount")), 3)
        // The simulated machine has no field error: measured and nominal agree.
        for (var i = 0; i < 3; ++i) {
            verify(Math.abs(Number(probe.iniValue(path, i + "/nX")) - Number(probe.iniValue(path, i + "/rX"))) < 0.05,
                   probe.iniValue(path, i + "/nX") + " " + probe.iniValue(path, i + "/rX"))
            verify(Math.abs(Number(probe.iniValue(path, i + "/nY")) - Number(probe.iniValue(path, i + "/rY"))) < 0.05,
                   probe.iniValue(path, i + "/nY") + " " + probe.iniValue(path, i + "/rY"))
        }
        probe.removeFile(path)
    }
}

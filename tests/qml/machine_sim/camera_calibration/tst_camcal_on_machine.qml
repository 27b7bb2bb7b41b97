import QtQuick 2.15
import QtTest 1.2
import "../common"

// The camera position calibration on the real LinuxCNC of the simulated
// machine, as ./run.sh starts it: a chip lies on the simulated table, the
// head camera sees 0.3 mm / -0.2 mm beyond the offset the settings give it
// and the component camera stands 0.25 mm / -0.15 mm off its set position.
// The window finds the chip, picks it with nozzle 5, looks at it over the
// component camera at four turns, puts it back and finds it again: the real
// offsets must come out within 0.02 mm, the chip must lie where it was, and
// the placement correction must be what the head camera sees (about one of
// its pixels, 0.05 mm).
MachineSimCase {
    id: testCase
    name: "CameraCalibrationOnMachine"

    readonly property real headDx: -0.37
    readonly property real headDy: 0.44
    readonly property real camDx: -0.31
    readonly property real camDy: 0.23

    // The settings keep two decimals: allow for the binary rounding of
    // a difference of exactly eps.
    function near(actual, expected, eps, what) {
        verify(Math.abs(actual - expected) <= eps + 1e-9, what + ": " + actual + " instead of " + expected)
    }

    function initTestCase() {
        waitForDemoProject(false)
        startLinuxCnc(true)
    }

    function cleanupTestCase() {
        worker.simWorldSetCameraFaults({})
        worker.simWorldSetTableObject({})
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function test_cameraOffsetsRecovered() {
        root.calibEnabled = false
        root.vsEnabled = false
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        root.setMachineSpeedSlider(100)
        root.camera1Delay = 200
        root.camera2Delay = 200
        root.camera2MinHeight = 10
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        verify(root.machineHomed2, JSON.stringify(loggedErrors()))

        // A chip of 2 x 1.25 mm, 1.5 mm thick, away from the board; nozzle 5
        // (15 mm long, pressed 1 mm) touches it at Z 16.
        root.cameraACGetX = 430
        root.cameraACGetY = 400
        root.cameraACGetZ = 2
        root.cameraACElThickness = 1.5
        root.cameraACObj = 0
        root.cameraACVC = 4
        root.cameraACCamera1T1 = 100
        root.cameraACCamera2T1 = 100
        verify(worker.simWorldSetTableObject({ "x": 430, "y": 400, "width": 2, "height": 1.25, "thickness": 1.5,
                                               "pickZ": 16 }))
        var shiftX = root.camera1XShift, shiftY = root.camera1YShift
        var camX = root.camera2X, camY = root.camera2Y
        verify(worker.simWorldSetCameraFaults({ "headDx": headDx, "headDy": headDy, "componentX": camX + camDx,
                                                "componentY": camY + camDy }))

        var win = probe.find(root, "cameraAutoCalibration")
        win.show()
        tryVerify(function() { return win.canStart }, 5000)
        probe.call(win, "start", [])
        verify(win.running)
        tryVerify(function() { return !win.running }, 240000)
        var s = JSON.parse(JSON.stringify(win.calibState))
        compare(s.error, "", JSON.stringify(s) + " " + JSON.stringify(loggedErrors()))
        verify(s.applied, JSON.stringify(s))
        compare(loggedErrors(), [])
        console.log("recovery residuals (mm): head camera",
                    (root.camera1XShift - shiftX - headDx).toFixed(4), (root.camera1YShift - shiftY - headDy).toFixed(4),
                    "component camera", (root.camera2X - camX - camDx).toFixed(4), (root.camera2Y - camY - camDy).toFixed(4),
                    "correction", root.pcbCorrX.toFixed(4), root.pcbCorrY.toFixed(4))
        near(root.camera1XShift, shiftX + headDx, 0.02, "head camera X offset")
        near(root.camera1YShift, shiftY + headDy, 0.02, "head camera Y offset")
        near(root.camera2X, camX + camDx, 0.02, "component camera X")
        near(root.camera2Y, camY + camDy, 0.02, "component camera Y")
        near(root.pcbCorrX, 0, 0.05, "placement correction X")
        near(root.pcbCorrY, 0, 0.05, "placement correction Y")
        var o = worker.simWorldTableObject()
        verify(o.present)
        near(o.x, 430, 0.03, "chip X")
        near(o.y, 400, 0.03, "chip Y")
        verify(!worker.simWorldHoldsPart())
        win.close()
    }
}

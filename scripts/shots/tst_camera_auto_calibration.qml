import QtQuick 2.15
import QtTest 1.2

// Renders the camera position auto-calibration window on the simulated
// machine's settings, calibrated, with nozzle 5 over the object, after a
// finished calibration whose new values were applied (the values before
// and after, the way back to the old ones). In Russian and in English, into
// camera-auto-calibration-ru.png and camera-auto-calibration-en.png in the
// current folder. Run by scripts/shoot-windows.sh.
TestCase {
    name: "CameraAutoCalibrationShots"
    when: windowShown

    property var win: probe.find(root, "cameraAutoCalibration")

    function shoot(lang, file) {
        root.lang = lang
        wait(200)
        verify(probe.grabWindow(win, file), "written " + file)
    }

    function test_shots() {
        verify(win !== null)
        root.cncRunningGet(true)
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        probe.setValue(root.machineState, "machineHomed2", true)
        probe.setValue(root.machineState, "currVC", 4)
        probe.call(root, "jointPosGet", [[430, 400, 10, 0]])
        root.cameraACGetX = 430
        root.cameraACGetY = 400
        root.cameraACGetZ = 2
        root.cameraACElThickness = 1.5
        root.cameraACObj = 0
        root.cameraACVC = 4
        root.cameraACCamera1T1 = 100
        root.cameraACCamera2T1 = 120
        var before = { "camera1XShift": -30, "camera1YShift": 15, "camera2X": 250, "camera2Y": 80,
                       "pcbCorrX": 0, "pcbCorrY": 0 }
        var after = { "camera1XShift": -29.702, "camera1YShift": 14.795, "camera2X": 250.248,
                      "camera2Y": 79.853, "pcbCorrX": 0.031, "pcbCorrY": -0.018 }
        probe.call(win, "stateChanged", [{ "running": false, "step": 0, "error": "", "errorText": "",
                                           "before": before, "after": after, "applied": true }])
        win.bringToFront()
        tryVerify(function() { return win.visible })
        shoot("ru", "camera-auto-calibration-ru.png")
        shoot("en", "camera-auto-calibration-en.png")
        root.lang = "ru"
    }
}

import QtQuick 2.15
import QtTest 1.2

// Renders the belt and encoder strip calibration window after a manual
// measurement of X over a 200 mm object (the strip reads 0.3 % short, the
// belt 0.1 % long), with the reminder about the field correction, in Russian
// and in English, into encoder-calibration-ru.png and
// encoder-calibration-en.png in the current folder. Run by
// scripts/shoot-windows.sh.
TestCase {
    name: "EncoderCalibrationShots"
    when: windowShown

    property var win: root.encoderCalibrationWindow

    function readings(enc, motor) {
        root.halEncXGet(enc)
        root.halStepperXGet(motor)
    }

    // The measurement again in each language: its texts are made when it ends.
    function measure() {
        probe.call(win, "cancel")
        root.fieldCalibrationEnabled = true
        readings(20, 20)
        verify(probe.call(win, "markStart"))
        readings(20 + 200 * 0.997, 20 + 200 * 1.001)
        verify(probe.call(win, "markEnd"))
    }

    function shoot(lang, file) {
        root.lang = lang
        measure()
        wait(200)
        verify(probe.grabWindow(win, file), "written " + file)
    }

    function test_shots() {
        root.cncRunningGet(true)
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        root.encoderScaleGet(400, 410, 200)
        root.stepperScaleGet(80, 80.5, 80)
        root.encExistGet(true, true, true)
        root.homeExistsGet(true, true, true)
        root.encCalibSize = 200
        win.bringToFront()
        tryVerify(function() { return win.visible })
        shoot("ru", "encoder-calibration-ru.png")
        shoot("en", "encoder-calibration-en.png")
        probe.call(win, "cancel")
        root.lang = "ru"
    }
}

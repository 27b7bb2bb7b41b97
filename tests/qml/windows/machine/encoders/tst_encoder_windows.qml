import QtQuick 2.15
import QtTest 1.2

// The encoders in the whole program without a running LinuxCNC: the feedback
// wishes and limits go where they belong, the difference watch stops the
// machine, axes without home switch and encoder home in place, and the
// manual calibration from its two ends to the scales written into a machine
// configuration of the test's own. The rules and texts themselves are the
// library's (tst_encoderCalibration_lib.qml), the configuration's writing
// tst_scale_editor.cpp's.
TestCase {
    id: testCase
    name: "EncoderWindows"
    when: windowShown

    SignalSpy { id: encoderEnabled; target: root; signalName: "setEncoderEnabled" }
    SignalSpy { id: estop; target: root; signalName: "setEstop" }
    SignalSpy { id: disableHome; target: root; signalName: "disableHome" }

    property string iniPath: ""
    readonly property string iniText: "[DISPLAY]\nDISPLAY = linuxcncrsh --path /\n"
        + "[AXIS_X]\nMIN_LIMIT = -5\nMAX_LIMIT = 500\n"
        + "[JOINT_0]\nMIN_LIMIT = -5\nMAX_LIMIT = 500\nSTEP_SCALE = 80\nENCODER_SCALE = 400\n"
        + "[JOINT_1]\nMIN_LIMIT = -5\nMAX_LIMIT = 500\nSTEP_SCALE = 80.5\nENCODER_SCALE = 410\n"
        + "[JOINT_2]\nMIN_LIMIT = -5\nMAX_LIMIT = 30\nSTEP_SCALE = 80\nENCODER_SCALE = 200\n"

    function initTestCase() {
        verify(root.encoderSettingsWindow !== null)
        verify(root.encoderCalibrationWindow !== null)
        iniPath = probe.tempPath() + "/machine.ini"
    }
    function init() {
        verify(probe.writeText(iniPath, iniText))
        root.iniFile = probe.fileUrl(iniPath)
        root.encoderScaleGet(400, 410, 200)
        root.stepperScaleGet(80, 80.5, 80)
        root.encExistGet(true, true, true)
        root.homeExistsGet(true, true, true)
        root.encXEnabled = true
        root.encYEnabled = true
        root.encZEnabled = true
        root.encStepperMaxDivEnabled = false
        root.maxDivX = 2
        root.maxDivY = 2
        root.maxDivZ = 1
        root.fieldCalibrationEnabled = false
        for (var spy of [encoderEnabled, estop, disableHome])
            spy.clear()
    }
    function cleanup() {
        probe.call(root.encoderCalibrationWindow, "cancel")
        root.encoderCalibrationWindow.close()
        root.encoderSettingsWindow.close()
        root.machineOnGet(false)
        root.jointHomedGet(false, false, false, false, false)
        probe.setValue(root.machineState, "cncRunning", false)
        root.setActivity("encoderCalibration", false)
    }
    function args(spy, i) { return [spy.signalArguments[i][0], spy.signalArguments[i][1]] }
    function homed() {
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
    }
    function logHas(text) {
        for (var i = 0; i < root.logModel.count; ++i)
            if (String(probe.entry(root.logModel, i).message).indexOf(text) >= 0)
                return true
        return false
    }

    // ---- wishes

    function test_everyFeedbackChangeIsSent() {
        root.encXEnabled = false
        root.encZEnabled = false
        root.encXEnabled = true
        compare(encoderEnabled.count, 3)
        compare(args(encoderEnabled, 0), [0, false])
        compare(args(encoderEnabled, 1), [2, false])
        compare(args(encoderEnabled, 2), [0, true])
        // From the window: sent and stored.
        root.encoderSettingsWindow.bringToFront()
        probe.call(root.encoderState, "setEncoderEnabledWish", [1, false])
        compare(args(encoderEnabled, 3), [1, false])
        compare(worker.storedSetting("device", "encYEnabled"), false)
    }

    // Without a Z home switch the Z encoder is always wanted.
    function test_zFeedbackForcedWithoutZSwitch() {
        root.encZEnabled = false
        encoderEnabled.clear()
        root.homeExistsGet(true, true, false)
        compare(root.encZEnabled, true)
        compare(args(encoderEnabled, 0), [2, true])
        root.homeExistsGet(true, true, true)
        root.encZEnabled = false
        compare(root.encZEnabled, false)
        root.encZEnabled = true
    }

    // ---- the difference watch

    // One row for each input of the watch.
    function test_watch_data() {
        return [
            { tag: "2.1 on X with limit 2 stops", axis: 0, peak: 2.1, watch: true, enabled: true, exists: true, homed: true,
              stops: true },
            { tag: "1.1 on Z with limit 1 stops", axis: 2, peak: 1.1, watch: true, enabled: true, exists: true, homed: true,
              stops: true },
            { tag: "watch off: nothing", axis: 0, peak: 2.1, watch: false, enabled: true, exists: true, homed: true,
              stops: false },
        ]
    }
    function test_watch(data) {
        var letters = ["X", "Y", "Z"]
        root["enc" + letters[data.axis] + "Enabled"] = data.enabled
        root.encExistGet(data.axis === 0 ? data.exists : true, data.axis === 1 ? data.exists : true,
                         data.axis === 2 ? data.exists : true)
        root.encStepperMaxDivEnabled = data.watch
        if (data.homed)
            homed()
        estop.clear()
        root["encStepper" + letters[data.axis] + "MaxDivGet"](data.peak)
        compare(estop.count, data.stops ? 1 : 0)
        var text = "По оси " + letters[data.axis] + " превышено максимально допустимое расхождение пути двигателя и энкодера!"
        if (data.stops) {
            // The operator learns why a moment later.
            verify(!logHas(text))
            tryVerify(function() { return logHas(text) }, 2000)
        } else {
            verify(!probe.value(root.encoderState, "errorTimer").running)
            verify(!logHas(text))
        }
        root.logModel.clear()
    }

    // ---- axes without home switch and encoder

    function test_noHomeNoEncoder_data() {
        return [
            { tag: "X without switch and encoder", home: [false, true], exists: [false, true], enabled: [true, true],
              calls: [[0, 30], [0, 30]], text: "На оси X отсутствует" },
        ]
    }
    function test_noHomeNoEncoder(data) {
        root.calibX = 30
        root.calibY = 250
        root.homeExistsGet(data.home[0], data.home[1], true)
        root.encExistGet(data.exists[0], data.exists[1], true)
        root.encXEnabled = data.enabled[0]
        root.encYEnabled = data.enabled[1]
        root.logModel.clear()
        disableHome.clear()
        root.cncRunningGet(true)
        var calls = []
        for (var i = 0; i < disableHome.count; ++i)
            calls.push([disableHome.signalArguments[i][0], disableHome.signalArguments[i][1]])
        compare(calls, data.calls)
        compare(logHas(" отсутствует концевой датчик и отключен/отсутствует энкодер."), data.text !== "")
        if (data.text !== "")
            verify(logHas(data.text))
        root.cncRunningGet(false)
        root.encXEnabled = true
        root.encYEnabled = true
    }

    // ---- the watch window

    function test_windowsOpenFromTheMenu() {
        verify(root.openLocked("encoderSettings"))
        verify(root.encoderSettingsWindow.visible)
        verify(root.openLocked("encoderCalibration"))
        verify(root.encoderCalibrationWindow.visible)
    }

    // ---- manual calibration

    function measure(axis, belt, strip, start, end) {
        root.encoderCalibrationWindow.bringToFront()
        root.encoderCalibrationWindow.calibType = 0
        root.encoderCalibrationWindow.axis = axis
        root.encoderCalibrationWindow.calibrateBelt = belt
        root.encoderCalibrationWindow.calibrateStrip = strip
        root.encCalibSize = 200
        var enc = axis === 0 ? "halEncXGet" : "halEncYGet"
        var motor = axis === 0 ? "halStepperXGet" : "halStepperYGet"
        root[enc](start.enc)
        root[motor](start.motor)
        verify(probe.call(root.encoderCalibrationWindow, "markStart"))
        root[enc](end.enc)
        root[motor](end.motor)
        verify(probe.call(root.encoderCalibrationWindow, "markEnd"))
    }
    function iniLine(section, key) {
        var lines = probe.readText(iniPath).split("\n")
        var inside = false
        for (var i = 0; i < lines.length; ++i) {
            if (lines[i].charAt(0) === "[")
                inside = lines[i] === "[" + section + "]"
            else if (inside && lines[i].indexOf(key + " =") === 0)
                return lines[i]
        }
        return ""
    }

    function test_manualCalibration_data() {
        return [
            { tag: "strip X 211 of 200: refused", axis: 0, belt: false, strip: true, enc: 211, motor: 200,
              acceptable: false, good: false, encoder: null, stepper: null, axisName: "X" },
            { tag: "belt Y 199 of 200: good", axis: 1, belt: true, strip: false, enc: 250, motor: 199,
              acceptable: true, good: true, encoder: null, stepper: ["STEP_SCALE = 80.000000", "STEP_SCALE = 80.097500"],
              axisName: "Y" },
        ]
    }
    function test_manualCalibration(data) {
        homed()
        measure(data.axis, data.belt, data.strip, { enc: 10, motor: -3 }, { enc: 10 + data.enc, motor: -3 + data.motor })
        var r = probe.value(root.encoderCalibrationWindow, "manualResult")
        compare(r.acceptable, data.acceptable)
        compare(r.good, data.good)
        var result = probe.find(root.encoderCalibrationWindow.contentItem, "resultText")
        compare(result.text, r.text)
        if (!data.acceptable) {
            verify(!root.encoderCalibrationWindow.canSave)
            verify(!probe.call(root.encoderCalibrationWindow, "save"))
            compare(probe.readText(iniPath), iniText)
            return
        }
        verify(root.encoderCalibrationWindow.canSave)
        verify(probe.call(root.encoderCalibrationWindow, "save"))
        compare(result.text, "Новый масштабный коэффициент для оси " + data.axisName
                + " сохранен! Для применения изменений, перезагрузите LinuxCNC!")
        compare([iniLine("JOINT_0", "ENCODER_SCALE"), iniLine("JOINT_1", "ENCODER_SCALE")],
                data.encoder || ["ENCODER_SCALE = 400", "ENCODER_SCALE = 410"])
        compare([iniLine("JOINT_0", "STEP_SCALE"), iniLine("JOINT_1", "STEP_SCALE")],
                data.stepper || ["STEP_SCALE = 80", "STEP_SCALE = 80.5"])
        compare(iniLine("JOINT_2", "ENCODER_SCALE"), "ENCODER_SCALE = 200")
    }

    // A scale that is 0 or not known never reaches the configuration, here
    // the other axis's current one (every case: tst_encoderCalibration_lib.qml).
    function test_unusableScaleNeverWritten() {
        root.encoderScaleGet(400, 0, 200)
        homed()
        measure(0, false, true, { enc: 0, motor: 0 }, { enc: 201, motor: 200 })
        verify(probe.value(root.encoderCalibrationWindow, "manualResult").acceptable)
        verify(!probe.call(root.encoderCalibrationWindow, "save"))
        compare(probe.readText(iniPath), iniText)
        verify(logHas("Недопустимый масштабный коэффициент"))
        root.logModel.clear()
    }

    function test_cancelAndLostHome() {
        homed()
        measure(0, false, true, { enc: 0, motor: 0 }, { enc: 201, motor: 200 })
        probe.call(root.encoderCalibrationWindow, "cancel")
        compare(probe.find(root.encoderCalibrationWindow.contentItem, "resultText").text, "Калибровка отменена")
        verify(!root.encoderCalibrationWindow.canSave)
        // Losing the home in the middle ends the calibration.
        root.halEncXGet(0)
        verify(probe.call(root.encoderCalibrationWindow, "markStart"))
        verify(root.encoderCalibrationWindow.manualStarted)
        root.jointHomedGet(false, true, true, true, true)
        verify(!root.encoderCalibrationWindow.manualStarted)
        compare(probe.find(root.encoderCalibrationWindow.contentItem, "resultText").text, "Калибровка отменена")
        verify(!probe.call(root.encoderCalibrationWindow, "markEnd"))
        // Not homed: no start.
        verify(!probe.call(root.encoderCalibrationWindow, "markStart"))
    }

    function test_fieldCorrectionOffForTheMeasurement() {
        root.fieldCalibrationEnabled = true
        homed()
        root.encoderCalibrationWindow.bringToFront()
        verify(probe.call(root.encoderCalibrationWindow, "markStart"))
        compare(root.fieldCalibrationEnabled, false)
    }
}

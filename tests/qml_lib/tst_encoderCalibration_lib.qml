import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/encoderCalibration.js" as Enc
import "JobRig.js" as J

// Encoder supervision and scale calibration: the difference watch, the
// axes that home in place, the manual and automatic
// calibration's verdicts and new scales, and what "Сохранить" may write.
TestCase {
    name: "EncoderCalibrationLibrary"

    function near(actual, expected, eps, what) {
        verify(Math.abs(actual - expected) <= eps, (what || "") + ": " + actual + " instead of " + expected)
    }

    // ---- the difference watch

    function test_maxDivExceeded_data() {
        var on = { homed: true, watchEnabled: true, encoderExists: true, encoderEnabled: true }
        function row(tag, changes, peak, limit, stops) {
            var s = { tag: tag, peak: peak, limit: limit, stops: stops }
            for (var k in on)
                s[k] = changes[k] !== undefined ? changes[k] : on[k]
            return s
        }
        return [
            row("2.1 on X with limit 2 stops", {}, 2.1, 2, true),
            row("a negative peak counts by its magnitude", {}, -2.1, 2, true),
            row("exactly the limit does not stop", {}, 2, 2, false),
            row("encoder disabled: nothing", { encoderEnabled: false }, 2.1, 2, false),
            row("not homed: nothing", { homed: false }, 2.1, 2, false),
            row("a broken reading stops", {}, NaN, 2, true),
        ]
    }
    function test_maxDivExceeded(data) {
        compare(Enc.maxDivExceeded({ homed: data.homed, watchEnabled: data.watchEnabled, encoderExists: data.encoderExists,
                                     encoderEnabled: data.encoderEnabled, peak: data.peak, limit: data.limit }),
                data.stops)
    }

    function test_maxDivValue_data() {
        return [
            { tag: "rounded to a half", value: 2.3, result: 2.5 },
            { tag: "below 1", value: 0.2, result: 1 },
            { tag: "above 10", value: 25, result: 10 },
            { tag: "NaN keeps the default", value: NaN, result: 2 },
        ]
    }
    function test_maxDivValue(data) {
        compare(Enc.maxDivValue(data.value, 2), data.result)
    }

    function test_calibSizeValue() {
        compare(Enc.calibSizeValue(100, 400), 150)
        compare(Enc.calibSizeValue(900, 400), 400)
        compare(Enc.calibSizeValue(NaN, 400), null)
        compare(Enc.calibSizeValue(200, 100), null)
    }

    // ---- axes without home switch and encoder

    function test_noHomeNoEncoder_data() {
        return [
            { tag: "switch", home: true, enabled: false, exists: false, result: false },
            { tag: "working encoder", home: false, enabled: true, exists: true, result: false },
            { tag: "encoder disabled", home: false, enabled: false, exists: true, result: true },
        ]
    }
    function test_noHomeNoEncoder(data) {
        compare(Enc.noHomeNoEncoder(data.home, data.enabled, data.exists), data.result)
    }

    function test_noHomeNoEncoderWarning_data() {
        var tail = " отсутствует концевой датчик и отключен/отсутствует энкодер. Перед нажатием кнопки \"Вкл\", "
            + "вручную переместите оси X и Y так, чтобы первый калибровочный знак оказался в центре поля зрения камеры."
        return [
            { tag: "both", x: true, y: true, text: "На осях X и Y" + tail,
              calls: [[0, 12.5], [0, 12.5], [1, 340], [1, 340]] },
        ]
    }
    function test_noHomeNoEncoderWarning(data) {
        compare(Enc.noHomeNoEncoderWarning(data.x, data.y), data.text)
        compare(Enc.disableHomeCalls(data.x, data.y, 12.5, 340), data.calls)
    }

    // ---- manual calibration

    function manual(encEnd, changes) {
        return Enc.manualResult(J.merged({ axis: 0, size: 200, encoder: true, stepper: false,
                                           encStart: 10, encEnd: 10 + encEnd, motorStart: 5,
                                           motorEnd: 205, encoderScale: 400, stepperScale: 80 },
                                         changes))
    }

    function test_manualVerdict_data() {
        return [
            { tag: "201 of 200 is good", d: 201, acceptable: true, good: true },
            { tag: "202 of 200 is acceptable only", d: 202, acceptable: true, good: false },
            { tag: "210 of 200 is refused", d: 210, acceptable: false, good: false },
            { tag: "a reversed move counts by its length", d: -201, acceptable: true, good: true },
        ]
    }
    function test_manualVerdict(data) {
        var r = manual(data.d)
        verify(r.ok)
        compare(r.acceptable, data.acceptable)
        compare(r.good, data.good)
        near(r.encError, Math.abs(Math.abs(data.d) - 200) / 200, 1e-12, "relative error")
        if (data.acceptable)
            near(r.newEncoderScale, Math.abs(data.d) / 200 * 400, 1e-9, "new scale")
        else
            compare(r.newEncoderScale, null)
    }

    function test_manualText() {
        compare(manual(205).text, "Калибровка проведена!\n"
                + "Расстояние по энкодеру: 205.0000 мм, новый масштабный коэффициент: 410.0000 меток/мм\n"
                + "Масштабный коэффициент сильно отличается от предыдущего значения. Перед сохранением, "
                + "проверьте пожалуйста правильность проведенной калибровки!\n"
                + "Для сохранения нажмите \"Сохранить\".")
    }

    function test_manualBothKinds() {
        // The belt is 3 % off: acceptable only, whatever the strip says.
        var r = manual(200.5, { stepper: true, motorStart: 0, motorEnd: 206 })
        verify(r.acceptable)
        verify(!r.good)
        compare(r.newStepperScale, 206 / 200 * 80)
        compare(r.newEncoderScale, 200.5 / 200 * 400)
        verify(r.text.indexOf("новый масштабный коэффициент: 82.4000 шагов/мм") > 0, r.text)
        // The belt alone: the strip's readings do not matter.
        var belt = manual(260, { encoder: false, stepper: true, motorStart: 0, motorEnd: 201 })
        verify(belt.good)
        compare(belt.newEncoderScale, null)
        // One kind refused refuses both.
        var refused = manual(201, { stepper: true, motorStart: 0, motorEnd: 230 })
        verify(!refused.acceptable)
        compare(refused.newEncoderScale, null)
        compare(refused.newStepperScale, null)
    }

    function test_manualRefusals_data() {
        return [
            { tag: "nothing chosen", changes: { encoder: false, stepper: false } },
            { tag: "start unknown", changes: { encStart: NaN } },
        ]
    }
    function test_manualRefusals(data) {
        var r = manual(201, data.changes)
        verify(!r.ok)
        verify(!r.acceptable)
        compare(r.newEncoderScale, null)
        verify(r.text !== "")
    }

    // ---- what "Сохранить" writes

    property var current: ({ encoderX: 400, encoderY: 410, stepperX: 80, stepperY: 81 })

    function test_scalesToSave_data() {
        return [
            { tag: "encoder X: Y keeps its value", fresh: { encoderX: 402 }, encoder: [402, 410], stepper: null },
            { tag: "a reversed strip keeps its sign", fresh: { encoderX: -402 }, encoder: [-402, 410], stepper: null },
        ]
    }
    function test_scalesToSave(data) {
        var s = Enc.scalesToSave(current, data.fresh)
        compare(s.error, "")
        compare(s.encoder, data.encoder)
        compare(s.stepper, data.stepper)
    }

    function test_scalesToSaveRefused_data() {
        return [
            { tag: "new scale 0", current: current, fresh: { encoderX: 0 } },
            { tag: "untouched axis unknown (0)", current: { encoderX: 400, encoderY: 0, stepperX: 80, stepperY: 81 },
              fresh: { encoderX: 402 } },
            { tag: "nothing calibrated", current: current, fresh: {} },
        ]
    }
    function test_scalesToSaveRefused(data) {
        var s = Enc.scalesToSave(data.current, data.fresh)
        compare(s.encoder, null)
        compare(s.stepper, null)
        verify(s.error !== "")
    }

    // ---- automatic calibration

    function auto(changes) {
        // Marks: 1 at (50, 100), 2 at (50, 300), 3 at (200, 300): Y_s 200, X_s 150.
        var scales = { encoderX: 400, encoderY: 410, stepperX: 80, stepperY: 81 }
        return Enc.autoResult(J.merged({ sizeX: 150, sizeY: 200, encoder: true, stepper: true,
                                         p1: { x: 50, y: 100 }, p2: { x: 50, y: 300 },
                                         p3: { x: 200, y: 300 }, encY1: 1, motorY1: 2, encY2: 202,
                                         motorY2: 202, encX2: 3, motorX2: 4, encX3: 153.75,
                                         motorX3: 154, scales: scales }, changes))
    }

    function test_autoArithmetic() {
        var r = auto()
        verify(r.ok)
        near(r.distances.encoderY, 201, 1e-9, "encoder Y")
        near(r.distances.encoderX, 150.75, 1e-9, "encoder X")
        near(r.newScales.encoderY, 201 / 200 * 410, 1e-9, "new encoder Y")
        near(r.newScales.encoderX, 150.75 / 150 * 400, 1e-9, "new encoder X")
        near(r.newScales.stepperX, 80, 1e-9, "new motor X")
        near(r.angle, 90, 1e-9, "angle")
        verify(r.good)
    }

    function test_autoVerdict_data() {
        return [
            { tag: "3 % on the motor of X: acceptable", changes: { motorX3: 158.5 }, good: false, acceptable: true,
              colour: "yellow" },
            { tag: "6 % on encoder Y: refused", changes: { encY2: 213 }, good: false, acceptable: false,
              colour: "red" },
            { tag: "encoders only: the motors do not count", changes: { stepper: false, motorX3: 500 }, good: true,
              acceptable: true, colour: "blue" },
        ]
    }
    function test_autoVerdict(data) {
        var r = auto(data.changes)
        compare(r.good, data.good)
        compare(r.acceptable, data.acceptable)
        compare(r.colour, data.colour)
    }

    function test_autoScalesOfSelectedKinds() {
        var r = auto({ stepper: false })
        compare(r.newScales.stepperX, null)
        compare(r.newScales.stepperY, null)
        r = auto({ encoder: false })
        compare(r.newScales.encoderX, null)
    }

    function test_autoAngle() {
        // Mark 3 lies 1 mm high over 150 mm: the legs are not square.
        var r = auto({ p3: { x: 200, y: 301 } })
        near(r.angle, 90 + Math.atan(1 / 150) * 180 / Math.PI, 1e-9, "angle")
        verify(r.text.indexOf("\nУгол: 90.382") > 0, r.text)
        compare(Enc.angleAt({ x: 0, y: 0 }, { x: 0, y: 0 }, { x: 1, y: 0 }).toString(), "NaN")
    }

    function test_autoRefusals() {
        verify(!auto({ sizeX: 0 }).ok)
        verify(!auto({ sizeY: NaN }).ok)
        verify(!auto({ encoder: false, stepper: false }).ok)
        verify(!auto({ encX3: undefined }).ok)
    }

    function test_autoTarget() {
        compare(Enc.autoTarget(0, 10, 20, 150, 200), null)
        compare(Enc.autoTarget(1, 10, 20, 150, 200), { x: 10, y: 220 })
        compare(Enc.autoTarget(2, 10, 220, 150, 200), { x: 160, y: 220 })
    }
}

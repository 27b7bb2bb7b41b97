.pragma library

// Encoder supervision and the calibration of the belt (steps per unit) and
// encoder strip (counts per unit) scales of X and Y: pure functions of their
// arguments, so that the windows and the machine state only adapt them.

// A calibration whose relative error stays below ACCEPTABLE may be saved;
// below GOOD it is a good one.
var ACCEPTABLE = 0.05
var GOOD = 0.01

// Allowed difference between motor and encoder path, per axis.
var MAX_DIV_MIN = 1
var MAX_DIV_MAX = 10
var MAX_DIV_STEP = 0.5

// Smallest object (or mark distance) a calibration measures against.
var CALIB_SIZE_MIN = 150

var LETTERS = ["X", "Y", "Z"]

function isNumber(v) {
    return v !== null && v !== undefined && v !== "" && typeof v !== "boolean" && isFinite(Number(v))
}

// ---- settings bounds

// The allowed difference as stored: 1 to 10 in steps of 0.5; anything that
// is not a number gives `fallback`.
function maxDivValue(value, fallback) {
    if (!isNumber(value))
        return fallback
    var v = Math.round(Number(value) / MAX_DIV_STEP) * MAX_DIV_STEP
    return Math.max(MAX_DIV_MIN, Math.min(MAX_DIV_MAX, v))
}

// A calibration size within CALIB_SIZE_MIN and the axis's work-area length;
// null when it is not a number or the axis is shorter than the minimum.
function calibSizeValue(value, axisLength) {
    if (!isNumber(value) || !isNumber(axisLength) || Number(axisLength) < CALIB_SIZE_MIN)
        return null
    return Math.max(CALIB_SIZE_MIN, Math.min(Number(axisLength), Number(value)))
}

// ---- the difference watch

// The colour of a difference (current or peak) against the axis limit.
function divColour(value, limit) {
    var v = Math.abs(Number(value)), l = Number(limit)
    if (!isFinite(v) || !(l > 0))
        return "white"
    if (v > l)
        return "red"
    if (v > l / 2)
        return "yellow"
    return "white"
}

// Whether a new peak difference stops the machine: only while the machine is
// homed, the watch is on, and the axis's encoder exists and is wanted.
// `s`: { homed, watchEnabled, encoderExists, encoderEnabled, peak, limit }.
function maxDivExceeded(s) {
    if (!s || s.homed !== true || s.watchEnabled !== true || s.encoderExists !== true || s.encoderEnabled !== true)
        return false
    var peak = Number(s.peak), limit = Number(s.limit)
    if (!isFinite(limit))
        return false
    // A peak that is not a number is a broken reading: stop as well.
    return !isFinite(peak) || Math.abs(peak) > limit
}

function maxDivErrorText(axis) {
    return qsTr("По оси %1 превышено максимально допустимое расхождение пути двигателя и энкодера! Возможные причины: ослаб или перескочил ремень; двигатель пропустил шаги; энкодер работает некорректно.")
        .arg(LETTERS[axis] || String(axis))
}

// ---- axes without a home switch and without a working encoder

function noHomeNoEncoder(homeExists, encoderEnabled, encoderExists) {
    return homeExists !== true && (encoderEnabled !== true || encoderExists !== true)
}

// The warning when LinuxCNC has started, "" when X and Y are fine.
function noHomeNoEncoderWarning(noX, noY) {
    var axes
    if (noX && noY)
        axes = qsTr("осях X и Y")
    else if (noX)
        axes = qsTr("оси X")
    else if (noY)
        axes = qsTr("оси Y")
    else
        return ""
    return qsTr("На %1 отсутствует концевой датчик и отключен/отсутствует энкодер. Перед нажатием кнопки \"Вкл\", вручную переместите оси X и Y так, чтобы первый калибровочный знак оказался в центре поля зрения камеры.")
        .arg(axes)
}

// The disableHome calls for such axes, each twice in a row: [axis, position]
// pairs; the axis then homes in place at the first calibration mark.
function disableHomeCalls(noX, noY, calibX, calibY) {
    var out = []
    if (noX)
        out.push([0, Number(calibX)], [0, Number(calibX)])
    if (noY)
        out.push([1, Number(calibY)], [1, Number(calibY)])
    return out
}

// ---- scales

// A scale that may go into the machine configuration: a finite number other
// than 0 (a negative one reverses the counting direction).
function scaleUsable(v) {
    return isNumber(v) && Number(v) !== 0
}

function relativeError(d, size) {
    return Math.abs((Number(d) - Number(size)) / Number(size))
}

function fmt(v, decimals) {
    return Number(v).toFixed(decimals)
}

// ---- manual calibration
//
// `m`: { axis: 0 | 1, size (S), encoder: bool, stepper: bool (what is
// calibrated), encStart, encEnd, motorStart, motorEnd (readings),
// encoderScale, stepperScale (current scales of that axis) }.
// Result: { ok (a result exists), acceptable, good, encDistance,
// motorDistance, encError, motorError, newEncoderScale, newStepperScale
// (null when that kind is not calibrated or not acceptable), text }.
function manualResult(m) {
    var r = { "ok": false, "acceptable": false, "good": false, "encDistance": NaN, "motorDistance": NaN,
              "encError": NaN, "motorError": NaN, "newEncoderScale": null, "newStepperScale": null, "text": "" }
    var size = Number(m.size)
    if (m.encoder !== true && m.stepper !== true) {
        r.text = qsTr("Выберите, что калибровать: ремень и/или энкодерную ленту.")
        return r
    }
    if (!isNumber(m.size) || !(size > 0)) {
        r.text = qsTr("Размер калибровочного объекта указан неправильно!")
        return r
    }
    var kinds = []
    if (m.encoder === true)
        kinds.push({ "start": m.encStart, "end": m.encEnd, "scale": m.encoderScale, "name": "enc" })
    if (m.stepper === true)
        kinds.push({ "start": m.motorStart, "end": m.motorEnd, "scale": m.stepperScale, "name": "motor" })
    var acceptable = true, good = true
    for (var i = 0; i < kinds.length; ++i) {
        var k = kinds[i]
        if (!isNumber(k.start) || !isNumber(k.end)) {
            r.text = qsTr("Показания энкодера или двигателя неизвестны!")
            return r
        }
        var d = Math.abs(Number(k.end) - Number(k.start))
        var e = relativeError(d, size)
        if (k.name === "enc") {
            r.encDistance = d
            r.encError = e
        } else {
            r.motorDistance = d
            r.motorError = e
        }
        if (!(e < ACCEPTABLE))
            acceptable = false
        if (!(e < GOOD))
            good = false
    }
    r.ok = true
    r.acceptable = acceptable
    r.good = acceptable && good
    if (!acceptable) {
        r.text = qsTr("Масштабный коэффициент очень сильно отличается от предыдущего значения! Калибровка не будет сохранена!")
        return r
    }
    var lines = qsTr("Калибровка проведена!")
    if (m.encoder === true) {
        r.newEncoderScale = r.encDistance / size * Number(m.encoderScale)
        lines += "\n" + qsTr("Расстояние по энкодеру: %1 мм, новый масштабный коэффициент: %2 меток/мм")
            .arg(fmt(r.encDistance, 4)).arg(fmt(r.newEncoderScale, 4))
    }
    if (m.stepper === true) {
        r.newStepperScale = r.motorDistance / size * Number(m.stepperScale)
        lines += "\n" + qsTr("Расстояние по двигателю: %1 мм, новый масштабный коэффициент: %2 шагов/мм")
            .arg(fmt(r.motorDistance, 4)).arg(fmt(r.newStepperScale, 4))
    }
    if (!r.good)
        lines += "\n" + qsTr("Масштабный коэффициент сильно отличается от предыдущего значения. Перед сохранением, проверьте пожалуйста правильность проведенной калибровки!")
    lines += "\n" + qsTr("Для сохранения нажмите \"Сохранить\".")
    r.text = lines
    return r
}

// ---- what "Сохранить" writes
//
// `current`: { encoderX, encoderY, stepperX, stepperY } as read from the
// configuration; `fresh`: the new scales of the calibrated axes and kinds
// (same names, absent or null when not calibrated). A kind is written when at
// least one axis of it was calibrated, with the current value for the other
// axis. Result: { encoder: [x, y] or null, stepper: [x, y] or null, error }:
// with an error (a scale that is not a usable number) nothing is written.
function scalesToSave(current, fresh) {
    var out = { "encoder": null, "stepper": null, "error": "" }
    var kinds = [["encoder", "encoderX", "encoderY"], ["stepper", "stepperX", "stepperY"]]
    for (var i = 0; i < kinds.length; ++i) {
        var k = kinds[i]
        var fx = fresh[k[1]], fy = fresh[k[2]]
        var has = function(v) { return v !== undefined && v !== null }
        if (!has(fx) && !has(fy))
            continue
        var pair = [has(fx) ? fx : current[k[1]], has(fy) ? fy : current[k[2]]]
        if (!scaleUsable(pair[0]) || !scaleUsable(pair[1])) {
            out.encoder = null
            out.stepper = null
            out.error = qsTr("Недопустимый масштабный коэффициент (%1, %2): ini-файл не изменен.")
                .arg(String(pair[0])).arg(String(pair[1]))
            return out
        }
        out[k[0]] = [Number(pair[0]), Number(pair[1])]
    }
    if (out.encoder === null && out.stepper === null)
        out.error = qsTr("Нет новых масштабных коэффициентов для сохранения.")
    return out
}

// ---- automatic calibration
//
// Three marks: the second Y_s from the first along Y, the third X_s from the
// second along X. `a`: { sizeX (X_s), sizeY (Y_s), encoder, stepper (the
// kinds selected), p1, p2, p3 ({x, y} recorded positions), encY1, motorY1
// (at mark 1), encY2, motorY2, encX2, motorX2 (at mark 2), encX3, motorX3
// (at mark 3), scales { encoderX, encoderY, stepperX, stepperY } }.
// Result: { ok, distances, errors, newScales (same names as scales; null
// for a kind not selected), acceptable, good, angle (degrees, at mark 2),
// text, colour ("blue" good, "yellow" acceptable, "red" otherwise) }.
function autoResult(a) {
    var r = { "ok": false, "acceptable": false, "good": false, "angle": NaN, "text": "", "colour": "red",
              "distances": {}, "errors": {},
              "newScales": { "encoderX": null, "encoderY": null, "stepperX": null, "stepperY": null } }
    var sx = Number(a.sizeX), sy = Number(a.sizeY)
    if (!(sx > 0) || !(sy > 0) || !isFinite(sx) || !isFinite(sy)) {
        r.text = qsTr("Расстояния между реперами указаны неправильно!")
        return r
    }
    if (a.encoder !== true && a.stepper !== true) {
        r.text = qsTr("Выберите, что калибровать: ремень и/или энкодерную ленту.")
        return r
    }
    var legs = {
        "encoderX": [a.encX2, a.encX3, sx], "encoderY": [a.encY1, a.encY2, sy],
        "stepperX": [a.motorX2, a.motorX3, sx], "stepperY": [a.motorY1, a.motorY2, sy]
    }
    var names = ["encoderX", "encoderY", "stepperX", "stepperY"]
    var acceptable = true, good = true
    for (var i = 0; i < names.length; ++i) {
        var n = names[i]
        var leg = legs[n]
        var selected = n.indexOf("encoder") === 0 ? a.encoder === true : a.stepper === true
        if (!selected)
            continue
        if (!isNumber(leg[0]) || !isNumber(leg[1])) {
            r.text = qsTr("Показания энкодера или двигателя неизвестны!")
            return r
        }
        var d = Math.abs(Number(leg[1]) - Number(leg[0]))
        var e = relativeError(d, leg[2])
        r.distances[n] = d
        r.errors[n] = e
        r.newScales[n] = d / leg[2] * Number(a.scales[n])
        if (!(e < ACCEPTABLE))
            acceptable = false
        if (!(e < GOOD))
            good = false
    }
    r.angle = angleAt(a.p1, a.p2, a.p3)
    r.ok = true
    r.acceptable = acceptable
    r.good = acceptable && good
    r.colour = r.good ? "blue" : (acceptable ? "yellow" : "red")
    var text = ""
    var line = function(label, n) {
        return "\n" + label + fmt(a.scales[n], 3) + qsTr(" после: ") + fmt(r.newScales[n], 3)
    }
    if (a.encoder === true) {
        text += line(qsTr("Энкодер X, меток/мм: до: "), "encoderX")
        text += line(qsTr("Энкодер Y, меток/мм: до: "), "encoderY")
    }
    if (a.stepper === true) {
        text += line(qsTr("Двигатель X, шагов/мм: до: "), "stepperX")
        text += line(qsTr("Двигатель Y, шагов/мм: до: "), "stepperY")
    }
    text += "\n" + qsTr("Угол: ") + (isFinite(r.angle) ? fmt(r.angle, 3) : "?")
    if (!acceptable)
        text += "\n" + qsTr("Масштабный коэффициент очень сильно отличается от предыдущего значения! Калибровка не будет сохранена!")
    r.text = text
    return r
}

// The angle between the legs mark 2 → mark 1 and mark 2 → mark 3, degrees.
function angleAt(p1, p2, p3) {
    if (!p1 || !p2 || !p3)
        return NaN
    var ax = Number(p1.x) - Number(p2.x), ay = Number(p1.y) - Number(p2.y)
    var bx = Number(p3.x) - Number(p2.x), by = Number(p3.y) - Number(p2.y)
    var la = Math.sqrt(ax * ax + ay * ay), lb = Math.sqrt(bx * bx + by * by)
    if (!(la > 0) || !(lb > 0))
        return NaN
    var c = Math.max(-1, Math.min(1, (ax * bx + ay * by) / (la * lb)))
    return Math.acos(c) * 180 / Math.PI
}

// Where the automatic calibration moves from the mark the camera is centred
// on at (x, y): step 0 nowhere (the camera is over the first mark), step 1 to
// the second mark at (x, y + Y_s), step 2 to the third at (x + X_s, y).
function autoTarget(step, x, y, sizeX, sizeY) {
    if (step === 1)
        return { "x": Number(x), "y": Number(y) + Number(sizeY) }
    if (step === 2)
        return { "x": Number(x) + Number(sizeX), "y": Number(y) }
    return null
}

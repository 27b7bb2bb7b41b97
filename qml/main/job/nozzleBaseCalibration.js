.pragma library
.import "../lib/coords.js" as Coords

// The arithmetic of the nozzle base auto-calibration: the constants of the
// two kinds of base, the single encoder step the head feels the slot walls
// with, the G-code texts of the measurement, the result, and the take and
// return G-code written for every nozzle. Plain functions of their
// arguments.
//
// The slots are measured in order: slot 0 is a preliminary measurement of
// the first slot (Y, then the X wall), slots 1 ... n are nozzles 1 ... n,
// the first slot measured again. yArr holds the Y centre of every slot by
// that index, so nozzle i (from 0, as the nozzle list counts) takes
// yArr[i + 1], never yArr[i].

// Base kinds (cupBaseType): 0 the machine's own with 6 nozzles, 1 JUKI with 8.
var bases = [
    { "xTravel": 0.8, "yTravel": 0.8, "xSense": 0.08, "ySense": 0.1, "zLowFromStart": 1.5,
      "xBackOff": 0.6 },
    { "xTravel": 0.6, "yTravel": 0.6, "xSense": 0.06, "ySense": 0.1, "zLowFromStart": -0.5,
      "xBackOff": 0.2 }
]
// The constants of a base kind; anything but 1 is the machine's own base.
function base(type) {
    return bases[Number(type) === 1 ? 1 : 0]
}

// The head moves at least this far per step: an encoder finer than that
// would give steps the text cannot carry (and the travel limit would take
// thousands of dwells to reach).
var MIN_STEP_MM = 0.001
// Decimals of a step move.
var STEP_DECIMALS = 4
// Dwell after each single step and after the approach, seconds.
var STEP_DWELL = 0.4
var APPROACH_DWELL = 0.5
// Feed of the moves back from a wall.
var BACK_FEED = 100

// One encoder step of an axis with `scale` counts per mm, at least
// MIN_STEP_MM; null for a scale that is 0 or not a number.
function encoderStep(scale) {
    var s = Number(scale)
    if (!isFinite(s) || s === 0)
        return null
    return Math.max(Math.abs(1 / s), MIN_STEP_MM)
}

// The step as written into G-code (STEP_DECIMALS decimals); the head
// travels exactly this.
function stepWord(step) {
    return Coords.fixed(step, STEP_DECIMALS)
}

// One step of `axis` ("x" or "y") towards `sign` (+1, -1) and the dwell.
function stepText(axis, sign, step) {
    var w = stepWord(step)
    if (w === null)
        return null
    return "g0 " + axis + (sign > 0 ? "++" : "--") + w + "\ng4 p" + STEP_DWELL
}

// Over the slot at the safe height, then the dwell.
function approachText(x, y) {
    var tx = Coords.fixed(x, 2), ty = Coords.fixed(y, 2)
    if (tx === null || ty === null)
        return null
    return "g0 zMax\ng0 x" + tx + " y" + ty + "\ng4 p" + APPROACH_DWELL
}

// Into the slot: down to zLow, touching zLowest (type 0) or the bottom of
// the base (type 1), and back to zLow.
function lowerText(type, zLow, zLowest, zBottom) {
    var a = Coords.fixed(zLow, 2), b = Coords.fixed(Number(type) === 1 ? zBottom : zLowest, 2)
    if (a === null || b === null)
        return null
    return "g0 z" + a + "\ng0 z" + b + "\ng0 z" + a
}

// Away from a wall, back to `value` on `axis`.
function backText(axis, value) {
    var v = Coords.fixed(value, 2)
    return v === null ? null : "g1 f" + BACK_FEED + " " + axis + v
}

// Contact with the wall ahead: the axis's divergence of step generator and
// encoder moved by more than `sense` from the remembered one, the way the
// head went (the comparison is strict).
function contact(sign, remembered, current, sense) {
    var d = Number(remembered) - Number(current)
    return sign > 0 ? d < -Number(sense) : d > Number(sense)
}

// The Y of nozzle `index` (from 0).
function nozzleY(yArr, index) {
    return yArr[index + 1]
}

// "X: " X "; " and, for each nozzle i from 1, i ":  Y " its Y "; ".
function resultText(xCurr, yArr, count) {
    var text = "X: " + Number(xCurr).toFixed(2) + "; "
    for (var i = 1; i <= count; ++i)
        text += i + ":  Y " + Number(yArr[i]).toFixed(2) + "; "
    return text
}

// The take (takeM) and return (setupM) G-code of one nozzle: {takeM,
// setupM}, or null when a value is not a number. p: {type, xCurr, y,
// zLowest, zLow, vcX2, vcZBottom}. X and Y with two decimals, Z and the
// clear-of-slot X of type 0 with one. The take's lines are joined by line
// feeds; every line of the return ends with one.
function nozzleTexts(p) {
    var type = Number(p.type) === 1 ? 1 : 0
    var x = Coords.fixed(p.xCurr, 2), y = Coords.fixed(p.y, 2)
    var zLow = Coords.fixed(p.zLow, 1)
    if (x === null || y === null || zLow === null)
        return null
    var take, back
    if (type === 0) {
        var zLowest = Coords.fixed(p.zLowest, 1), clear1 = Coords.fixed(p.vcX2, 1), clear2 = Coords.fixed(p.vcX2, 2)
        if (zLowest === null || clear1 === null)
            return null
        take = ["G0 zMax", "G0 X" + x + " Y" + y + " A0", "(setLowErrorLimit)", "G1 F5000 Z" + zLowest,
                "G1 F5000 Z" + zLow, "G1 F5000 X" + clear1, "G1 F15000 zMax", "M64 P0"]
        back = ["M65 P0", "G0 zMax", "G0 X" + clear2 + " Y" + y + " A0", "(setLowErrorLimit)", "G1 F15000 Z" + zLow,
                "G1 F5000 X" + x, "zMax", "G0"]
    } else {
        var bottom = Coords.fixed(p.vcZBottom, 1), clear = Coords.fixed(Number(p.xCurr) + 9.7, 2)
        if (bottom === null || clear === null)
            return null
        take = ["G0 zMax", "G0 X" + x + " Y" + y + " A0", "(setLowErrorLimit)", "G1 F8000 Z17", "G1 F1000 Z" + bottom,
                "G1 F1000 Z" + zLow, "G1 F1000 X" + clear, "G0 zMax", "M64 P0"]
        back = ["M65 P0", "G0 zMax", "G0 X" + clear + " Y" + y + " A0", "(setLowErrorLimit)", "G1 F8000 Z17",
                "G1 F1000 Z" + zLow, "G1 F1000 X" + x, "G1 F200 Z11", "G0 zMax"]
    }
    return { "takeM": take.join("\n"), "setupM": back.join("\n") + "\n" }
}

// The texts of every nozzle of a result (see nozzleBaseSteps.js): a list of
// {takeM, setupM} from nozzle 1, or null when one cannot be written.
function allNozzleTexts(result, vcX2, vcZBottom) {
    var out = []
    for (var i = 0; i < result.count; ++i) {
        var t = nozzleTexts({ "type": result.type, "xCurr": result.xCurr, "y": nozzleY(result.yArr, i),
                              "zLowest": result.zLowest, "zLow": result.zLow, "vcX2": vcX2, "vcZBottom": vcZBottom })
        if (t === null)
            return null
        out.push(t)
    }
    return out
}

// ---- operator texts

function noResistanceText(axis) {
    return axis === "x" ? qsTr("Ошибка при автокалибровке насадок! Сопротивление движению по X не зафиксировано!")
                        : qsTr("Ошибка при автокалибровке насадок! Сопротивление движению по Y не зафиксировано!")
}
function successText() {
    return qsTr("Калибровка прошла успешно! Новые координаты взятия насадок:")
}
function warningText() {
    return qsTr("Внимание! Будут созданы новые G-коды взятия и установки насадок,")
        + qsTr(" все изменения, внесенные ранее вручную, будут потеряны!")
}

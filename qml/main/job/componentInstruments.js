.pragma library
.import "../lib/coords.js" as Coords
.import "../lib/geometry.js" as Geometry
.import "pickTexts.js" as PT

// The instruments of the component cycle as plain functions: the value
// check with the RLC meter (the units of a feeder's nominal, its allowed
// range, the range text, the move to the meter) and the programmer socket
// (where the held part goes and at which angle). No port, no timers, no
// state: the steps in instrumentSteps.js send and judge what these give.
//
// Feeder fields used: rlcType (0 resistance, 1 inductance, 2 capacitance),
// rlcUnit (0 ... 2, table below), rlcValue (the nominal in that unit),
// rlcPercent1 (allowed excess, %), rlcPercent2 (allowed shortfall, %),
// rlcRotation, rot, maxAcc, elThickness, indivPressEnabled, indivPress.

// The output that starts the programmer, held on this long.
var PROGRAMMER_DOUT = 10
var PROGRAMMER_PULSE_MS = 1000
// The programmer's answer is awaited this many seconds (3 ... 30) when the
// setting holds none.
var PROGRAMMER_WAIT_DEFAULT = 5
var PROGRAMMER_WAIT_MIN = 3
var PROGRAMMER_WAIT_MAX = 30
// The held part is lowered into the socket this much slower at soft
// placing: the fast descent stops this far above the socket.
var SOFT_APPROACH_MM = 2
// Readings of one check; the last one counts (the meter settles on the
// first after a set-up or a new part).
var RLC_READINGS = 2

// Units of a nominal by type (rows) and unit (columns): the text and the
// factor to the base unit (ohm, henry, farad).
var RLC_UNITS = [
    [{ "text": "Ω", "factor": 1 }, { "text": "kΩ", "factor": 1000 }, { "text": "MΩ", "factor": 1000000 }],
    [{ "text": "μH", "factor": 0.000001 }, { "text": "mH", "factor": 0.001 }, { "text": "H", "factor": 1 }],
    [{ "text": "pF", "factor": 0.000000000001 }, { "text": "nF", "factor": 0.000000001 },
     { "text": "μF", "factor": 0.000001 }]
]
// The meter's set-up letter of each type.
var RLC_TYPE_LETTERS = ["R", "L", "C"]

function num(v) { return PT.num(v) }

function index3(v) {
    var n = num(v)
    return isFinite(n) && n === Math.floor(n) && n >= 0 && n <= 2 ? n : -1
}

// { text, factor, letter } of a nominal of `type` in `unit`, or null when
// either is not one of 0, 1, 2.
function rlcUnit(type, unit) {
    var t = index3(type), u = index3(unit)
    if (t < 0 || u < 0)
        return null
    return { "text": RLC_UNITS[t][u].text, "factor": RLC_UNITS[t][u].factor, "letter": RLC_TYPE_LETTERS[t] }
}

function refused(text) {
    return { "ok": false, "error": text }
}

function badSettings() {
    return qsTr("Неверные настройки проверки номинала питателя: проверка не выполнена")
}

// The allowed range of a feeder's parts: rlcValue less rlcPercent2 % up to
// rlcValue plus rlcPercent1 %, in the feeder's unit (lower, upper) and in
// base units (lowerBase, upperBase), with the nominal in base units and
// the meter's type letter. { ok: false, error } for a nominal that is not a
// positive number, a percentage that is negative or not a number, or a type
// or unit outside the table.
function rlcRange(feeder) {
    var f = feeder || {}
    var unit = rlcUnit(f.rlcType, f.rlcUnit)
    var value = num(f.rlcValue), over = num(f.rlcPercent1), under = num(f.rlcPercent2)
    if (!unit || !(value > 0) || !(over >= 0) || !(under >= 0) || !isFinite(value) || !isFinite(over)
            || !isFinite(under))
        return refused(badSettings())
    var lower = value * (1 - under / 100)
    var upper = value * (1 + over / 100)
    return { "ok": true, "letter": unit.letter, "unit": unit.text, "nominal": value * unit.factor,
             "lower": lower, "upper": upper, "lowerBase": lower * unit.factor, "upperBase": upper * unit.factor }
}

// True when a reading (base units) lies within the range, its ends
// included; a reading that is not a number is never in range.
function inRange(value, range) {
    var v = num(value)
    if (!isFinite(v) || !range || range.ok !== true)
        return false
    // The ends computed through the unit factor may miss an exact reading by
    // the last bit.
    var slack = Math.abs(range.upperBase) * 1e-12
    return v >= range.lowerBase - slack && v <= range.upperBase + slack
}

// A limit in the feeder's unit with 2 decimals.
function limitText(value, range) {
    return Number(value).toFixed(2) + range.unit
}

// "Результат измерения: " + the meter's text of the reading + the limit it
// passed: the lower one for a reading below the range, else the upper one.
function rangeText(resultText, value, range) {
    var head = qsTr("Результат измерения: ") + String(resultText === undefined || resultText === null ? ""
                                                                                                    : resultText)
    if (num(value) < range.lowerBase)
        return head + qsTr(", Минимально допустимое значение: ") + limitText(range.lower, range)
    return head + qsTr(", Максимально допустимое значение: ") + limitText(range.upper, range)
}

// The held part to the measuring point of the meter: up to the safe height,
// over the point turned to the feeder's measuring angle, down to the point.
// env: maxVel, maxAcc (machine maxima), rlcX, rlcY, rlcZ. { ok, text } or
// { ok: false, error }.
function rlcMoveText(feeder, nozzle, env) {
    var acc = feeder.maxAcc
    var lines = new PT.Lines()
    var z = num(env.rlcZ) + num(nozzle.cupLength) + num(feeder.elThickness)
    lines.add(PT.zSpeed(100, acc, env), " zMax")
    lines.add(PT.xySpeed(100, acc, env), " x", Coords.fixed(env.rlcX, 3), " y", Coords.fixed(env.rlcY, 3), " a",
              Coords.fixed(Geometry.minAngle(num(feeder.rot) - num(feeder.rlcRotation)), 3))
    lines.add(PT.zSpeed(100, acc, env), "z", Coords.fixed(z, 3))
    if (lines.broken)
        return refused(qsTr("Неверное число в G-коде перемещения к измерителю RLC: проверка не выполнена"))
    return { "ok": true, "text": lines.text() }
}

// ---- the programmer

// Seconds the programmer's answer is awaited: the setting within 3 ... 30.
function programmerWait(seconds) {
    var s = num(seconds)
    if (!isFinite(s))
        return PROGRAMMER_WAIT_DEFAULT
    return Math.max(PROGRAMMER_WAIT_MIN, Math.min(PROGRAMMER_WAIT_MAX, s))
}

// The angle the nozzle turns the part to over the socket (and over the
// camera while the part waits to be programmed): the socket's turn less the
// part's turn in the feeder.
function socketAngle(programmerA, feederRot) {
    return Geometry.minAngle(num(programmerA) - num(feederRot))
}

// The target for a part of angle `c` (degrees) measured at `measured`
// degrees: the angle choice of centring.
function angleChoice(c, measured) {
    c = Number(c)
    measured = Number(measured)
    var f = -c
    var quarters = Math.round(Math.abs(c) / 90) * 90
    if (f > 45)
        f -= quarters
    if (f < -45)
        f += quarters
    if (Math.abs(f - measured) > 45)
        f = -f - measured
    else
        f = f - measured
    return c - f
}

// Where the held part goes into the programmer socket, the same way as onto
// the board: the socket position less the camera's measured offset and the
// centring shift, at the socket's height.
//   socket   { x, y, z, a }: programmerX, programmerY, programmerZ (height
//            above the platform) and the socket angle (socketAngle)
//   nozzle   cupLength, press
//   measured { mode (centring mode 0, 1, 2), found, elX, elY, elA, shiftX,
//            shiftY, corners (corner centring), forbidAngle }
//   env      workAreaZ1, workAreaZ2
// Returns { ok, x, y, z, fastZ, a } or { ok: false, error }.
function socketTarget(socket, feeder, nozzle, measured, env) {
    var f = feeder || {}
    var press = PT.isTrue(f.indivPressEnabled) ? num(f.indivPress) : num(nozzle.press)
    var base = num(socket.z) + num(nozzle.cupLength) + num(f.elThickness)
    var z = Math.max(base - press, num(env.workAreaZ1))
    var fastZ = Math.min(Math.max(base + SOFT_APPROACH_MM, num(env.workAreaZ1)), num(env.workAreaZ2))
    var m = measured || {}
    var mode = num(m.mode)
    var cx = num(m.shiftX), cy = num(m.shiftY), correction = 0
    if (mode !== 0 && m.found === true) {
        // Mode 1 turned the part to the socket angle before the camera; mode
        // 2 measured it unturned.
        var da = mode === 1 ? 0 : num(socket.a) * Math.PI / 180
        var ex = m.corners === true ? 0 : num(m.elX), ey = m.corners === true ? 0 : num(m.elY)
        cx += ex * Math.cos(da) + ey * Math.sin(da)
        cy += ey * Math.cos(da) - ex * Math.sin(da)
        correction = m.forbidAngle === true ? 0 : num(m.elA)
    }
    var a = mode === 1 ? angleChoice(num(socket.a), correction) : Geometry.minAngle(num(socket.a))
    var r = { "ok": true, "x": num(socket.x) - cx, "y": num(socket.y) - cy, "z": z, "fastZ": fastZ, "a": a }
    var keys = ["x", "y", "z", "fastZ", "a"]
    for (var i = 0; i < keys.length; ++i)
        if (!isFinite(r[keys[i]]))
            return refused(qsTr("Неверные координаты программатора: программирование не выполнено"))
    return r
}

// The blocks of programming. env: maxVel, maxAcc, zTravel, vacuumDelay,
// slowPickPlaceSpeed, soft (soft placing), centred (the part visited the
// camera) with postCameraGcode (of the camera used). Returns { ok, place,
// lift }:
//   place  the move over the socket and the descent into it; the part stays
//          on the nozzle (the valve is not switched), which holds it pressed
//          into the socket while it is programmed
//   lift   the rise back to the travel height (soft: slowly out of the
//          socket first)
function programmerTexts(target, feeder, env) {
    var acc = feeder.maxAcc
    var zTravel = Coords.fixed(env.zTravel, 1)
    var place = new PT.Lines()
    place.add(PT.zSpeed(100, acc, env), " z", zTravel)
    if (env.centred === true) {
        place.add(PT.xySpeed(100, acc, env))
        var post = env.postCameraGcode === undefined || env.postCameraGcode === null ? "" : String(env.postCameraGcode)
        if (post !== "")
            place.add(post)
    }
    place.add(PT.xySpeed(100, acc, env), " x", Coords.fixed(target.x, 3), " y", Coords.fixed(target.y, 3), " z",
              zTravel, " a", Coords.fixed(target.a, 3))
    var speed = PT.shortest(env.slowPickPlaceSpeed)
    if (env.soft === true) {
        place.add(PT.zSpeed(100, acc, env), " z", Coords.fixed(target.fastZ, 3))
        place.add("g1 f", speed, " z", Coords.fixed(target.z, 3))
    } else {
        place.add(PT.zSpeed(100, acc, env), " z", Coords.fixed(target.z, 3))
    }
    place.add("g4 p", Coords.fixed(env.vacuumDelay, 3))
    var lift = new PT.Lines()
    if (env.soft === true)
        lift.add("g1 f", speed, " z", Coords.fixed(target.fastZ, 3))
    lift.add(PT.zSpeed(100, acc, env), " z", zTravel)
    if (place.broken || lift.broken)
        return refused(qsTr("Неверное число в G-коде программирования: программирование не выполнено"))
    return { "ok": true, "place": place.text(), "lift": lift.text() }
}

// The panel of a programmer verdict that is not "success": "programmerTimeout"
// or "programmerError" with the code text (an exit code of the script; the
// machine's error input has none).
function programmerPanel(result) {
    var r = String(result)
    if (r === "timeout")
        return { "name": "programmerTimeout", "values": {} }
    if (r === "error" || r === "")
        return { "name": "programmerError", "values": { "code": "" } }
    return { "name": "programmerError", "values": { "code": " " + qsTr("Код ошибки: ") + r + "." } }
}

.pragma library
.import "../lib/coords.js" as Coords
.import "../lib/geometry.js" as Geometry
.import "gcodeTexts.js" as GT

// G-code texts of picking: one builder per feeder kind, the move of a held
// part to the component camera, the basket drop and the nozzle change. Plain
// functions of their arguments: no port, no timers, no state of their own.
// The step functions that send these texts read what the builders return and
// write the feeder's new run state back themselves.
//
// Shapes used here:
//   feeder  a feeder record: caseX, caseY, caseZ, cutX2, cutY2, cutDistance,
//           caseRowsX, caseRowsY, caseCurrNumber, gCode, maxAcc (percent),
//           slowPick, rot, type, placerType, shiftEnabled, releaseEl,
//           bandStep, bandSemiStep, bandWidth, release2Comps,
//           release2CompsDone, noShiftOnStartDone, bankNumber, pickRetryCount,
//           elWidth, elHeight, elThickness, packageSettings
//   nozzle  a nozzle record: cupLength, press, takeM, setupM, vsUse,
//           checkClogging, vsPressure, vsPressureDiff
//   bank    a tape bank record (position, maxShift, g1..g4, g1p2c, g2p2c,
//           zShift, yRoundEnabled, yRound) or a vibration bank record
//           (pwm, pwmFreq, pwmDutyCycle, pwmLength, g1, zShift)
//   env     what the machine and the pick around it give:
//           maxVel, maxAcc       per-axis machine maxima (X, Y, Z, ...)
//           acc                  acceleration of the pick in percent
//                                (pickAcc)
//           zTravel              travel height of this component
//           vacuumDelay          seconds the valve gets to hold the part
//           slowPickPlaceSpeed   feed of a soft pick
//           relativeVacuum       true: the vacuum is judged by its drop, so
//                                it is sampled just before the pick
//           side                 the feeder's bank letter "L", "R", "B", "U"
//                                (aligning pushes the part by side)
//           shift1, shift2       aligning push before and after the pick, as
//                                parts of the component's size
//           and, where a builder says so, more.
//
// Every builder returns { ok: true, text, ... } or { ok: false, error } with
// a text for the operator; a step function that gets ok false sends nothing.
// No number that is not finite ever reaches a text: the coordinate goes
// through Coords.fixed, and its null refuses the whole text.

// Acceleration of a pick outside a run (the feeder editor), percent.
var SLOW_ACC = 15
// The tape advances at most this many perforations for one part.
var MAX_TAPE_STEPS = 50
// A tape bank shifts by 1 ... 4 perforations with one G-code.
var MAX_SHIFT_STEPS = 4
var MAX_PICK_RETRIES = 10
// Half a perforation, the pitch of a half-pitch tape.
var HALF_PITCH_MM = 2
// One perforation: the second part of a double release lies this far on.
var PERFORATION_MM = 4
// The widest tape (bandWidth 5, 44 mm) is approached from aside by this.
var WIDE_TAPE = 5
var WIDE_TAPE_APPROACH_MM = 10
// Cover-tape jog of a half-pitch tape that did not advance, and of the
// second part of a double release.
var COVER_JOG_HALF = { "distance": 6, "speed": 10 }
var COVER_JOG_DOUBLE = { "distance": 12, "speed": 20 }
// Axis numbers of the cover-tape axes.
var AXIS_B = 4
var AXIS_C = 5
var DEFAULT_SHIFT1 = 0.15
var DEFAULT_SHIFT2 = 0.07
var DEFAULT_CLOGGING_PREPARE_TIME = 2
// The part is lowered this much further than its own height and the press
// of the nozzle before it reaches the pick height; 2 mm more from a
// vibration feeder, whose parts do not lie flat.
var PICK_APPROACH_MM = 1
var VIBRATION_APPROACH_MM = 2
// Without a known feeder the basket is reached at this acceleration.
var BASKET_ACC = 10
// A centring target farther than this from the camera in X or Y is refused.
var CAMERA_SAFE_MM = 25

// ---- numbers

// The number a record field holds, NaN when it holds none (empty, null,
// missing, true/false).
function num(v) {
    if (v === null || v === undefined || v === "" || typeof v === "boolean")
        return NaN
    return Number(v)
}

function finite(v) {
    return isFinite(num(v))
}

function isTrue(v) {
    return v === true || v === "true"
}

// An integer within lo ... hi: fractions are cut, values outside are brought
// to the nearest end, and a field that holds no number gives `fallback`.
function clampInt(v, lo, hi, fallback) {
    var n = num(v)
    if (!isFinite(n))
        return fallback
    n = Math.floor(n)
    return Math.max(lo, Math.min(hi, n))
}

// `value` in the shortest decimal form (at most 6 decimals, no exponent), or
// null when it is not finite.
function shortest(value) {
    var text = Coords.fixed(value, 6)
    if (text === null)
        return null
    if (text.indexOf(".") >= 0)
        text = text.replace(/0+$/, "").replace(/\.$/, "")
    return text === "-0" ? "0" : text
}

function refused(text) {
    return { "ok": false, "error": text }
}

function pickNumberError() {
    return qsTr("Неверное число в G-коде взятия компонента: взятие не выполнено")
}

// ---- lines of a block

// Collects the lines of a block; a piece that is null (a number that could
// not be written) marks the block broken.
function Lines() {
    this.lines = []
    this.broken = false
}
Lines.prototype.add = function() {
    var line = ""
    for (var i = 0; i < arguments.length; ++i) {
        if (arguments[i] === null || arguments[i] === undefined) {
            this.broken = true
            return
        }
        line += arguments[i]
    }
    this.lines.push(line)
}
Lines.prototype.text = function() {
    return this.lines.join("\n")
}

function xySpeed(speed, acc, env) {
    return GT.xySpeed(speed, acc, env.maxVel, env.maxAcc)
}

function zSpeed(speed, acc, env) {
    return GT.zSpeed(speed, acc, env.maxVel, env.maxAcc)
}

// The smaller of two percentages, NaN when either is not a number.
function minPercent(a, b) {
    if (!finite(a) || !finite(b))
        return NaN
    return Math.min(num(a), num(b))
}

// ---- small helpers of the pick

// Acceleration percent of a pick: full in a run, slow in the feeder editor.
function pickAcc(inRun) {
    return inRun === true ? 100 : SLOW_ACC
}

// How many times a part of this feeder is picked again before the operator
// is asked: an integer 0 ... 10; a feeder without the field picks once more.
function pickRetryCount(feeder) {
    return clampInt(feeder ? feeder.pickRetryCount : undefined, 0, MAX_PICK_RETRIES, 1)
}

// The turn of the part in the feeder. Loose parts found by their contour lie
// at any angle, which the component camera measures: 0 for them.
function feederRot(feeder) {
    if (!feeder)
        return 0
    if (num(feeder.type) === 2 && num(feeder.placerType) === 0)
        return 0
    var rot = num(feeder.rot)
    return isFinite(rot) ? rot : 0
}

// True when the part is centred on camera 3: camera 3 is enabled
// (env.camera3Enabled) and the larger side of the part reaches
// env.camera2MaxElementSize.
function camera23Choose(feeder, env) {
    if (!feeder || !isTrue(env.camera3Enabled))
        return false
    var larger = Math.max(num(feeder.elWidth), num(feeder.elHeight))
    return isFinite(larger) && finite(env.camera2MaxElementSize) && larger >= num(env.camera2MaxElementSize)
}

// Offset of the pick point from the centre of the part, for a package with
// its own pick point, turned by `angle` (degrees): { xShift, yShift }.
function pickOffset(pack, angle) {
    if (!pack || !isTrue(pack.customPickPoint))
        return { "xShift": 0, "yShift": 0 }
    var a = num(angle) * Math.PI / 180
    var as = num(pack.aShift), bs = num(pack.bShift)
    if (!isFinite(a) || !isFinite(as) || !isFinite(bs))
        return { "xShift": 0, "yShift": 0 }
    return { "xShift": as * Math.cos(a) + bs * Math.sin(a), "yShift": bs * Math.cos(a) - as * Math.sin(a) }
}

// Height at which the nozzle takes a part lying on `floor`.
function pickHeight(floor, feeder, nozzle) {
    return num(floor) + num(nozzle.cupLength) + num(feeder.elThickness) - num(nozzle.press)
}

// Descent, vacuum and rise at pick height z; `extra` is added to the
// approach distance; `afterVacuum` are the lines run while the valve holds
// the part low.
function addPickTail(lines, z, extra, feeder, nozzle, env, afterVacuum) {
    var d = num(nozzle.press) + num(feeder.elThickness) + PICK_APPROACH_MM + extra
    var soft = isTrue(feeder.slowPick)
    if (isTrue(env.relativeVacuum))
        lines.add("(vsMeasureBeforeGet)")
    if (soft) {
        lines.add("g0 z", Coords.fixed(z + d, 2))
        lines.add("g1 f", shortest(env.slowPickPlaceSpeed), " z--", Coords.fixed(d, 2))
    } else {
        lines.add("g0 z", Coords.fixed(z, 3))
    }
    lines.add("m64 p1")
    lines.add("g4 p", Coords.fixed(env.vacuumDelay, 3))
    for (var i = 0; i < afterVacuum.length; ++i)
        lines.add(afterVacuum[i])
    if (soft)
        lines.add("g1 f", shortest(env.slowPickPlaceSpeed), " z++", Coords.fixed(d, 2))
    lines.add(zSpeed(100, feeder.maxAcc, env), " z", Coords.fixed(env.zTravel, 1))
}

function finished(lines, extra) {
    if (lines.broken)
        return refused(pickNumberError())
    var r = extra || {}
    r.ok = true
    r.text = lines.text()
    return r
}

// Aligning: the part is pushed against the pocket wall while it is taken.
// The head comes down at `start` and leaves from `end`, both around the pick
// point (x, y) by a part of the component's size across the feeder's side.
function alignPoints(x, y, feeder, env) {
    var a = feederRot(feeder) * Math.PI / 180
    var w = num(feeder.elWidth), h = num(feeder.elHeight)
    var ex = Math.abs(w * Math.cos(a) + h * Math.sin(a))
    var ey = Math.abs(w * Math.sin(a) + h * Math.cos(a))
    var s1 = finite(env.shift1) ? num(env.shift1) : DEFAULT_SHIFT1
    var s2 = finite(env.shift2) ? num(env.shift2) : DEFAULT_SHIFT2
    var start = { "x": x, "y": y }, end = { "x": x, "y": y }
    switch (env.side) {
    case "R": start.y = y + s1 * ey; end.y = y - s2 * ey; break
    case "L": start.y = y - s1 * ey; end.y = y + s2 * ey; break
    case "B": start.x = x + s1 * ex; end.x = x - s2 * ex; break
    case "U": start.x = x - s1 * ex; end.x = x + s2 * ex; break
    }
    return { "start": start, "end": end }
}

// Start and end of the pick at (x, y): aligned when the feeder asks for it.
function pickPath(x, y, feeder, env) {
    if (isTrue(feeder.shiftEnabled))
        return alignPoints(x, y, feeder, env)
    return { "start": { "x": x, "y": y }, "end": null }
}

function alignEndLines(path) {
    if (!path.end)
        return []
    var x = Coords.fixed(path.end.x, 3), y = Coords.fixed(path.end.y, 3)
    return [x === null || y === null ? null : "g0 x" + x + " y" + y]
}

// ---- G-code feeder

// The feeder's own G-code, then the rise to the travel height. A part that
// does not visit the camera is placed by that G-code itself: its "(x)",
// "(y)", "(z)", "(a)" become the placement target `target` { x, y, z, a };
// otherwise they are removed.
function gcodeFeederText(feeder, target, visitsCamera, env) {
    var g = String(feeder.gCode === undefined || feeder.gCode === null ? "" : feeder.gCode).toLowerCase()
    var fill = g.indexOf("g") >= 0 && visitsCamera !== true
    var words = ["x", "y", "z", "a"]
    var lines = new Lines()
    for (var i = 0; i < words.length; ++i) {
        var placeholder = "(" + words[i] + ")"
        if (g.indexOf(placeholder) < 0)
            continue
        var value = ""
        if (fill) {
            var v = Coords.fixed(target ? target[words[i]] : null, 3)
            if (v === null)
                return refused(pickNumberError())
            value = words[i] + v
        }
        g = g.split(placeholder).join(value)
    }
    if (g !== "")
        lines.add(g)
    lines.add(zSpeed(100, feeder.maxAcc, env), " z", Coords.fixed(env.zTravel, 1))
    return finished(lines)
}

// ---- tray

function trayRows(feeder) {
    var rx = Math.floor(num(feeder.caseRowsX)), ry = Math.floor(num(feeder.caseRowsY))
    if (!(rx >= 1) || !(ry >= 1) || !isFinite(rx * ry))
        return null
    return { "x": rx, "y": ry }
}

// Cells of a tray, 0 when its layout is broken.
function trayCapacity(feeder) {
    var rows = trayRows(feeder)
    return rows ? rows.x * rows.y : 0
}

// The cell `caseCurrNumber` of a tray (rows along X first):
// { ok, n, row, column, x, y }.
function trayCell(feeder) {
    var rows = trayRows(feeder)
    if (!rows)
        return refused(qsTr("Неверное число рядов поддона: взятие не выполнено"))
    var n = clampInt(feeder.caseCurrNumber, 0, rows.x * rows.y - 1, 0)
    var pitchX = rows.x > 1 ? (num(feeder.cutX2) - num(feeder.caseX)) / (rows.x - 1) : 0
    var pitchY = rows.y > 1 ? (num(feeder.cutY2) - num(feeder.caseY)) / (rows.y - 1) : 0
    var row = Math.floor(n / rows.x), column = n % rows.x
    return { "ok": true, "n": n, "row": row, "column": column,
             "x": num(feeder.caseX) + column * pitchX, "y": num(feeder.caseY) + row * pitchY }
}

function trayText(feeder, nozzle, env) {
    var cell = trayCell(feeder)
    if (!cell.ok)
        return cell
    var lines = new Lines()
    lines.add("g0 z", Coords.fixed(env.zTravel, 1))
    lines.add(xySpeed(100, env.acc, env), " x", shortest(cell.x), " y", shortest(cell.y), " a0.0")
    addPickTail(lines, pickHeight(feeder.caseZ, feeder, nozzle), 0, feeder, nozzle, env, [])
    return finished(lines, { "x": cell.x, "y": cell.y })
}

// ---- tape strip

// The parts of a strip from (caseX, caseY) to (cutX2, cutY2) at
// `cutDistance`: { ok, count, stepX, stepY }.
function stripLayout(feeder) {
    var dx = num(feeder.cutX2) - num(feeder.caseX), dy = num(feeder.cutY2) - num(feeder.caseY)
    var pitch = num(feeder.cutDistance)
    var length = Math.sqrt(dx * dx + dy * dy)
    if (!(pitch > 0) || !isFinite(length) || !isFinite(length / pitch))
        return refused(qsTr("Неверный шаг или концы отрезка ленты: взятие не выполнено"))
    var count = Math.round(length / pitch) + 1
    return { "ok": true, "count": count, "stepX": count > 1 ? dx / (count - 1) : 0,
             "stepY": count > 1 ? dy / (count - 1) : 0 }
}

// Parts of a strip, 0 when its layout is broken.
function stripCapacity(feeder) {
    var s = stripLayout(feeder)
    return s.ok ? s.count : 0
}

function stripText(feeder, nozzle, env) {
    var s = stripLayout(feeder)
    if (!s.ok)
        return s
    var n = clampInt(feeder.caseCurrNumber, 0, s.count - 1, 0)
    var x = num(feeder.caseX) + s.stepX * n, y = num(feeder.caseY) + s.stepY * n
    var path = pickPath(x, y, feeder, env)
    var lines = new Lines()
    lines.add("g0 z", Coords.fixed(env.zTravel, 1))
    lines.add(xySpeed(100, env.acc, env), " x", Coords.fixed(path.start.x, 3), " y", Coords.fixed(path.start.y, 3),
              " a0.0")
    addPickTail(lines, pickHeight(feeder.caseZ, feeder, nozzle), 0, feeder, nozzle, env, alignEndLines(path))
    return finished(lines, { "x": x, "y": y })
}

// ---- tape

// The shift G-codes that advance a tape by `steps` perforations on a bank
// whose largest shift is `largest` perforations: the largest shifts first,
// then the rest. Each element is the number of perforations of one G-code.
function shiftChunks(steps, largest) {
    var k = clampInt(steps, 1, MAX_TAPE_STEPS, 1)
    var s = clampInt(largest, 1, MAX_SHIFT_STEPS, 1)
    var chunks = []
    while (k > 0) {
        var r = k <= s ? k : s
        chunks.push(r)
        k -= r
    }
    return chunks
}

function bankText(bank, name) {
    var g = bank[name]
    return g === undefined || g === null ? "" : String(g)
}

// The G-code of a shift by n perforations; `cover` names the variant used
// with cover-tape pulling, taken when it is set.
function shiftText(bank, n, cover) {
    var g = cover ? bankText(bank, cover) : ""
    if (g.trim() === "")
        g = bankText(bank, "g" + n)
    return g.trim() === "" ? null : g
}

function shiftMissing(n, bankNumber) {
    return refused(qsTr("Не задан G-код сдвига ленты на %1 шаг(а) в банке ленточных питателей №%2: взятие не выполнено")
                   .arg(n).arg(bankNumber + 1))
}

// Offset of the pick point by `mm` along the tape of a bank at `position`
// (0 bottom, 1 top, 2 right, 3 left): -Y on a bottom bank, +Y on a top one,
// +X on a right one, -X on a left one.
function alongTape(position, mm) {
    switch (position) {
    case 0: return { "x": 0, "y": -mm }
    case 1: return { "x": 0, "y": mm }
    case 2: return { "x": mm, "y": 0 }
    default: return { "x": -mm, "y": 0 }
    }
}

// One pick from a tape feeder of `bank`.
// env, beyond the common fields:
//   noShiftOnStart   the first part of the tape is already released: the
//                    first pick of the run does not advance it
//   morePlacements   during a run, more placements of the group follow this
//                    one (a double release needs a second part to take)
// Returns { ok, text, x, y, advanced, jog, state } where jog is null or the
// cover-tape jog to make before the block is sent { axis, direction, speed,
// distance }, and state holds the feeder's new bandSemiStep,
// release2CompsDone, noShiftOnStartDone, lastGetX and lastGetY.
function tapeText(feeder, bank, nozzle, env) {
    var bankNumber = clampInt(feeder.bankNumber, 0, 3, 0)
    if (!bank)
        return refused(qsTr("Банк ленточных питателей №%1 не настроен: взятие не выполнено").arg(bankNumber + 1))
    var position = num(bank.position)
    if (!(position === 0 || position === 1 || position === 2 || position === 3))
        return refused(qsTr("Неверное положение банка ленточных питателей №%1: взятие не выполнено").arg(bankNumber + 1))
    var largest = clampInt(num(bank.maxShift) + 1, 1, MAX_SHIFT_STEPS, 1)
    // 0 is half a perforation; any other value is a whole number of them.
    var bandStep = num(feeder.bandStep) === 0 ? 0 : clampInt(feeder.bandStep, 1, MAX_TAPE_STEPS, 1)
    var state = { "bandSemiStep": num(feeder.bandSemiStep) || 0,
                  "release2CompsDone": isTrue(feeder.release2CompsDone),
                  "noShiftOnStartDone": isTrue(feeder.noShiftOnStartDone) }
    var advance = true
    var offset = { "x": 0, "y": 0 }
    var shift = "steps"

    if (bandStep === 0) {
        if (state.bandSemiStep !== 0) {
            advance = false
            offset = alongTape(position, HALF_PITCH_MM)
            state.bandSemiStep = 0
        } else {
            state.bandSemiStep = 1
        }
    }
    if (isTrue(env.noShiftOnStart) && !state.noShiftOnStartDone) {
        advance = false
        state.noShiftOnStartDone = true
        state.release2CompsDone = false
    }
    var secondOfPair = false
    if (bandStep === 1 && isTrue(feeder.release2Comps) && num(bank.maxShift) > 0 && advance) {
        if (state.release2CompsDone) {
            secondOfPair = true
            advance = false
            state.release2CompsDone = false
        } else if (isTrue(env.morePlacements)) {
            shift = "double"
            offset = alongTape(position, -PERFORATION_MM)
            state.release2CompsDone = true
        }
    }

    var x = num(feeder.caseX) + offset.x, y = num(feeder.caseY) + offset.y
    var approachX = x
    if (num(feeder.bandWidth) === WIDE_TAPE && position === 0)
        approachX = x - WIDE_TAPE_APPROACH_MM
    else if (num(feeder.bandWidth) === WIDE_TAPE && position === 1)
        approachX = x + WIDE_TAPE_APPROACH_MM

    var coverAxis = position === 0 || position === 2 ? AXIS_B : AXIS_C
    var jog = null
    if (bandStep === 0 && !advance && bankText(bank, "g1p2c").trim() !== "")
        jog = { "axis": coverAxis, "direction": true, "speed": COVER_JOG_HALF.speed,
                "distance": COVER_JOG_HALF.distance }
    else if (secondOfPair && bankText(bank, "g2p2c").trim() !== "")
        jog = { "axis": coverAxis, "direction": true, "speed": COVER_JOG_DOUBLE.speed,
                "distance": COVER_JOG_DOUBLE.distance }

    var shifts = []
    if (shift === "double") {
        shifts.push(shiftText(bank, 2, "g2p2c"))
        if (shifts[0] === null)
            return shiftMissing(2, bankNumber)
    } else if (bandStep === 0 && advance) {
        shifts.push(shiftText(bank, 1, "g1p2c"))
        if (shifts[0] === null)
            return shiftMissing(1, bankNumber)
    } else if (advance) {
        var chunks = shiftChunks(bandStep, largest)
        for (var i = 0; i < chunks.length; ++i) {
            var g = shiftText(bank, chunks[i], "")
            if (g === null)
                return shiftMissing(chunks[i], bankNumber)
            shifts.push(g)
        }
    }

    var yRound = isTrue(bank.yRoundEnabled) && (position === 0 || position === 1)
    var head = new Lines()
    head.add("g0 z", Coords.fixed(env.zTravel, 1))
    if (yRound) {
        head.add(xySpeed(100, env.acc, env), " y", Coords.fixed(bank.yRound, 3), "  a0.0")
        head.add("g0 x", Coords.fixed(approachX, 3))
        head.add("g0 y", Coords.fixed(y, 3))
    } else {
        head.add(xySpeed(100, env.acc, env), " x", Coords.fixed(approachX, 3), " y", Coords.fixed(y, 3), " a0.0")
    }
    for (var j = 0; j < shifts.length; ++j)
        head.add(shifts[j])
    var xText = Coords.fixed(x, 3), yText = Coords.fixed(y, 3)
    if (head.broken || xText === null || yText === null)
        return refused(pickNumberError())
    var block = head.text().toLowerCase().split("(xget)").join("x" + xText).split("(yget)").join("y" + yText)

    var path = pickPath(x, y, feeder, env)
    var lines = new Lines()
    lines.add(block)
    lines.add(xySpeed(100, env.acc, env), " x", Coords.fixed(path.start.x, 3), " y", Coords.fixed(path.start.y, 3))
    addPickTail(lines, pickHeight(bank.zShift, feeder, nozzle), 0, feeder, nozzle, env, alignEndLines(path))
    if (yRound)
        lines.add(xySpeed(100, feeder.maxAcc, env), " y", Coords.fixed(bank.yRound, 3))
    state.lastGetX = x
    state.lastGetY = y
    return finished(lines, { "x": x, "y": y, "advanced": shifts.length > 0, "jog": jog, "state": state })
}

// ---- vibration feeder

// One pick from a vibration feeder of `bank`. A bank driven by PWM shakes
// the parts before the block runs: `pwm` is then { freq, dutyCycle, length }
// for the caller to start, else null and the bank's own vibration G-code
// leads the block. Returns { ok, text, pwm, x, y }.
function vibrationText(feeder, bank, nozzle, env) {
    if (!bank)
        return refused(qsTr("Банк вибропитателей не настроен: взятие не выполнено"))
    var x = num(feeder.caseX), y = num(feeder.caseY)
    var pwm = null
    var lines = new Lines()
    if (isTrue(bank.pwm)) {
        pwm = { "freq": num(bank.pwmFreq), "dutyCycle": num(bank.pwmDutyCycle), "length": num(bank.pwmLength) }
        if (!isFinite(pwm.freq) || !isFinite(pwm.dutyCycle) || !(pwm.length > 0) || !isFinite(pwm.length))
            return refused(qsTr("Неверные параметры ШИМ банка вибропитателей: взятие не выполнено"))
    } else {
        lines.add("g0 z", Coords.fixed(env.zTravel, 1))
        var g = bankText(bank, "g1").toLowerCase()
        if (g !== "") {
            var xText = Coords.fixed(x, 3), yText = Coords.fixed(y, 3)
            if (xText === null || yText === null)
                return refused(pickNumberError())
            lines.add(g.split("(xget)").join("x" + xText).split("(yget)").join("y" + yText))
        }
    }
    lines.add(xySpeed(100, env.acc, env), " x", Coords.fixed(x, 3), " y", Coords.fixed(y, 3), " a0.0")
    var free = []
    if (isTrue(feeder.releaseEl)) {
        var slow = xySpeed(2, 2, env)
        free = [slow === null ? null : slow + " x++1", slow === null ? null : slow + " x--0.7"]
    }
    addPickTail(lines, pickHeight(bank.zShift, feeder, nozzle), VIBRATION_APPROACH_MM, feeder, nozzle, env, free)
    return finished(lines, { "pwm": pwm, "x": x, "y": y })
}

// ---- loose parts, found by the head camera
// env, beyond the common fields: camera1XShift, camera1YShift (the head
// camera's offset from the nozzle).

// The search windows of a placer area: the numbers of `placerX` and
// `placerY` (space-separated; empty and non-numeric entries skipped), taken
// pairwise: [{ x, y }].
function placerWindows(placerX, placerY) {
    function numbers(text) {
        var list = []
        var parts = String(text === undefined || text === null ? "" : text).split(" ")
        for (var i = 0; i < parts.length; ++i) {
            if (parts[i] !== "" && isFinite(Number(parts[i])))
                list.push(Number(parts[i]))
        }
        return list
    }
    var xs = numbers(placerX), ys = numbers(placerY)
    var windows = []
    for (var i = 0; i < Math.min(xs.length, ys.length); ++i)
        windows.push({ "x": xs[i], "y": ys[i] })
    return windows
}

function cameraOffset(env) {
    return { "x": num(env.camera1XShift), "y": num(env.camera1YShift) }
}

// The head camera over the search window `w` { x, y }.
function placerWindowText(w, env) {
    var shift = cameraOffset(env)
    var lines = new Lines()
    lines.add("g0 z", Coords.fixed(env.zTravel, 1))
    lines.add("m65 p4")
    lines.add(xySpeed(100, env.acc, env), " x", Coords.fixed(num(w.x) - shift.x, 3),
              " y", Coords.fixed(num(w.y) - shift.y, 3), " z", Coords.fixed(env.zTravel, 1), " a0.0")
    return finished(lines)
}

// The head camera over a part found at (x, y) by the template search, for
// the close look; 1 mm off in Y so that a part under the camera's edge is
// seen whole.
function placerLookText(x, y, env) {
    var shift = cameraOffset(env)
    var lines = new Lines()
    lines.add("g0 z", Coords.fixed(env.zTravel, 1))
    lines.add("m65 p4")
    lines.add("g0 x", Coords.fixed(num(x) - shift.x, 3), " y", Coords.fixed(num(y) - shift.y + 1, 3), " a0.0")
    return finished(lines)
}

// The pick of a loose part found at `found` { x, y, angle } (machine
// position of its centre, angle in degrees). A template search knows which
// way the part lies: the package's own pick point is turned with it and the
// nozzle turns it back. A contour search takes it at A 0 and leaves the
// angle to the component camera. Returns { ok, text, x, y, a }.
function placerPickText(found, feeder, nozzle, env) {
    var x = num(found.x), y = num(found.y), a = 0
    if (num(feeder.placerType) === 1) {
        var offset = pickOffset(feeder.packageSettings, found.angle)
        x += offset.xShift
        y += offset.yShift
        a = -num(found.angle)
    }
    var lines = new Lines()
    lines.add("g0 z", Coords.fixed(env.zTravel, 1))
    if (isTrue(env.relativeVacuum))
        lines.add("(vsMeasureBeforeGet)")
    lines.add(xySpeed(100, env.acc, env), " x", Coords.fixed(x, 3), " y", Coords.fixed(y, 3),
              " a", Coords.fixed(a, 2))
    // The sample is taken once, before the move.
    addPickTail(lines, pickHeight(feeder.caseZ, feeder, nozzle), 0, feeder, nozzle,
                merged(env, { "relativeVacuum": false }), [])
    lines.add(xySpeed(100, feeder.maxAcc, env))
    return finished(lines, { "x": x, "y": y, "a": a })
}

function merged(base, extra) {
    var r = {}
    var k
    for (k in base)
        r[k] = base[k]
    for (k in extra)
        r[k] = extra[k]
    return r
}

// ---- to the component camera

// Height of the part over the component camera:
// env { cameraMinHeight, cameraHeight, workAreaZ2 }.
function centringHeight(feeder, nozzle, env) {
    var top = num(env.workAreaZ2)
    var low = num(feeder.centeringZ)
    if (finite(env.cameraMinHeight))
        low = Math.max(low, num(env.cameraMinHeight))
    var h = low + num(env.cameraHeight) + num(nozzle.cupLength) + num(feeder.elThickness)
    return isFinite(h) && h <= top ? h : top
}

// True when the head may go to (x, y) over the component camera at
// (env.cameraX, env.cameraY): within 25 mm of it and inside the work area
// (env.workAreaX1, env.workAreaY1).
function cameraSafe(x, y, env) {
    var cx = num(env.cameraX), cy = num(env.cameraY)
    x = num(x)
    y = num(y)
    if (!isFinite(x) || !isFinite(y) || !isFinite(cx) || !isFinite(cy))
        return false
    if (Math.abs(x - cx) > CAMERA_SAFE_MM || Math.abs(y - cy) > CAMERA_SAFE_MM)
        return false
    return !(x < num(env.workAreaX1)) && !(y < num(env.workAreaY1))
}

// The held part over the component camera: the head at (x, y), turned to
// `angle` (degrees; null leaves A alone), at the centring height.
// env, beyond the common fields: preCameraGcode (the one of the camera in
// use), cameraX, cameraY, cameraMinHeight, cameraHeight, workAreaX1,
// workAreaY1, workAreaZ2.
function cameraMoveText(x, y, angle, feeder, nozzle, env) {
    if (!cameraSafe(x, y, env))
        return refused(qsTr("Перемещение для центрирования компонента выходит за допустимые границы!"))
    var acc = minPercent(env.acc, feeder.maxAcc)
    var lines = new Lines()
    lines.add("m64 p4")
    lines.add(xySpeed(100, acc, env))
    var pre = env.preCameraGcode === undefined || env.preCameraGcode === null ? "" : String(env.preCameraGcode)
    if (pre !== "")
        lines.add(pre)
    lines.add(zSpeed(100, acc, env), " z", Coords.fixed(env.zTravel, 1))
    var turn = ""
    if (angle !== null && angle !== undefined) {
        var a = Coords.fixed(angle, 2)
        turn = a === null ? null : " a" + a
    }
    lines.add(xySpeed(100, acc, env), " x", Coords.fixed(x, 3), " y", Coords.fixed(y, 3), turn)
    lines.add(zSpeed(100, acc, env), " z", Coords.fixed(centringHeight(feeder, nozzle, env), 3))
    if (lines.broken)
        return refused(qsTr("Неверное число в G-коде перемещения к камере: перемещение не выполнено"))
    return { "ok": true, "text": lines.text() }
}

// Ending of a pick block whose part does not visit the camera: a feeder with
// a lowered acceleration leaves it set for the moves that follow. "" at full
// acceleration, null when a number is broken.
function noCameraTail(feeder, env) {
    if (num(feeder.maxAcc) === 100)
        return ""
    var prefix = xySpeed(100, minPercent(env.acc, feeder.maxAcc), env)
    return prefix === null ? null : prefix + " x++0 y++0"
}

// ---- basket

// True when a G-code moves the head in X or Y: an X or Y word with a value,
// or a relative one by a distance other than 0. Comments do not count.
function movesXY(gcode) {
    var lines = String(gcode).toLowerCase().split("\n")
    var word = /([xy])(\+\+|--)?([+-]?)([0-9]*[.,][0-9]+|[0-9]+)/g
    for (var i = 0; i < lines.length; ++i) {
        var line = lines[i]
        var open = line.indexOf("("), close = line.lastIndexOf(")")
        if (open >= 0 && close > open)
            line = line.substring(0, open) + line.substring(close + 1)
        var m
        word.lastIndex = 0
        while ((m = word.exec(line)) !== null) {
            if (!m[2] || Number(m[4].replace(",", ".")) !== 0)
                return true
        }
    }
    return false
}

// The drop of the held part into the basket.
// env: basketGcode, maxVel, maxAcc, acc, feederMaxAcc (the feeder's
// acceleration percent; null when no feeder is known), screenHidden (the job
// screen is not shown).
function basketText(env) {
    var gcode = env.basketGcode === undefined || env.basketGcode === null ? "" : String(env.basketGcode)
    if (!movesXY(gcode))
        return refused(qsTr("G-код сброса в корзину не содержит перемещения по X или Y: компонент не сброшен"))
    var lines = new Lines()
    if (env.feederMaxAcc === null || env.feederMaxAcc === undefined) {
        lines.add("g0 zMax")
    } else {
        var acc = finite(env.feederMaxAcc) ? num(env.feederMaxAcc) : BASKET_ACC
        lines.add(zSpeed(100, acc, env), " zMax")
        lines.add(xySpeed(100, acc, env))
    }
    if (isTrue(env.screenHidden)) {
        var slow = minPercent(env.acc, BASKET_ACC)
        lines.add(xySpeed(100, slow, env), " x++0 y++0")
        lines.add(zSpeed(100, slow, env), " z++0")
    }
    if (lines.broken)
        return refused(qsTr("Неверное число в G-коде сброса в корзину: компонент не сброшен"))
    return { "ok": true, "text": lines.text() + "\n" + gcode + "\n" + "m65 p1" }
}

// ---- nozzle change

function nozzleText(nozzle, name) {
    var g = nozzle ? nozzle[name] : undefined
    return g === undefined || g === null ? "" : String(g)
}

// The blocks that put nozzle `current` back (-1: none on the head) and take
// nozzle `wanted` (-1: none), each sent with safe height; after a block the
// nozzle on the head is its `currVC`. Asking for the nozzle already on the
// head gives no block. Returns { ok, blocks: [{ text, safeH, currVC }] }.
function nozzleChange(current, wanted, nozzles) {
    current = clampInt(current, -1, 1000, -1)
    wanted = clampInt(wanted, -1, 1000, -1)
    var blocks = []
    if (current === wanted)
        return { "ok": true, "blocks": blocks }
    var list = nozzles || []
    if (current >= 0) {
        var back = nozzleText(list[current], "setupM")
        if (back.trim() === "")
            return refused(qsTr("Не задан G-код возврата насадки №%1 в базу").arg(current + 1))
        blocks.push({ "text": back, "safeH": true, "currVC": -1 })
    }
    if (wanted >= 0) {
        var take = nozzleText(list[wanted], "takeM")
        if (take.trim() === "")
            return refused(qsTr("Не задан G-код взятия насадки №%1").arg(wanted + 1))
        blocks.push({ "text": take, "safeH": true, "currVC": wanted })
    }
    return { "ok": true, "blocks": blocks }
}

// The error of a nozzle change the machine stopped: `current` is the nozzle
// on the head when it stopped, `wanted` the one being taken.
function nozzleChangeAbortText(current, wanted) {
    current = clampInt(current, -1, 1000, -1)
    if (current >= 0)
        return qsTr("Ошибка при возврате насадки №%1! ").arg(current + 1)
               + qsTr("Установите насадку №%1 на голову вручную, если она не установлена!").arg(current + 1)
    return qsTr("Ошибка при взятии насадки №%1! ").arg(clampInt(wanted, -1, 1000, -1) + 1)
           + qsTr("Верните насадку в базу вручную, если она была взята!")
}

// True when a fresh nozzle is checked for clogging: during a run, by the
// vacuum sensor, when the nozzle asks for it.
function needsCloggingCheck(nozzle, inRun) {
    return inRun === true && !!nozzle && isTrue(nozzle.vsUse) && isTrue(nozzle.checkClogging)
}

// The block that opens the valve of a fresh nozzle for the clogging check.
// `sensorStarted`: the sensor was started just now and needs 2 s first.
// With relative control the vacuum is sampled with the valve closed first,
// `prepareTime` seconds after the compressor started.
function cloggingCheckText(relative, sensorStarted, prepareTime) {
    var text = sensorStarted === true ? "g4 p2\n" : ""
    if (relative !== true)
        return text + "m64 p0 \n m64 p1 \n g4 p1 \n"
    var t = Coords.fixed(prepareTime, 1)
    if (t === null || num(prepareTime) < 0)
        t = Coords.fixed(DEFAULT_CLOGGING_PREPARE_TIME, 1)
    return text + "m64 p0 \nm65 p1 \ng4 p" + t + " \n(vsMeasureBeforeGet) \nm64 p1 \ng4 p1 \n"
}

// The valve closed again after a good clogging check.
var CLOGGING_DONE_TEXT = "m65 p1 \n"

// True when the nozzle counts as clogged: the vacuum `now` is above the
// nozzle's vsPressure (absolute control), or it fell from `before` by less
// than vsPressureDiff (relative control). A reading that is not a number
// counts as clogged.
function isClogged(nozzle, relative, before, now) {
    if (!nozzle)
        return true
    var n = num(now)
    if (relative === true) {
        var drop = num(before) - n
        return !(drop >= num(nozzle.vsPressureDiff))
    }
    return !(n <= num(nozzle.vsPressure))
}

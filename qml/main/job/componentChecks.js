.pragma library

// The checks of a part seen by the component camera, as plain functions of
// their arguments (no port, no state): the size check, the pin-pitch
// deviation, the camera's safe area, the plausibility of a measured offset,
// the geometry of corner centring and the feeder debug ring. The component
// cycle (component.js) and the move to the camera (picking.js) call them.
//
// Units: millimetres and degrees. Positive angles turn clockwise seen from
// above, as positive A does.

// Size check modes: 0 none, 1 side B, 2 side A, 3 both.
var SIZE_NONE = 0
var SIZE_B = 1
var SIZE_A = 2
var SIZE_BOTH = 3
// A side passes while it differs from the expected one by less than this
// part of it.
var SIZE_TOLERANCE = 0.25
// The measured orientation of the part's long side matches the expected one
// when the two differ by less than the first or by more than the second
// (a long side seen the other way round).
var ORIENTATION_NEAR = 30
var ORIENTATION_FAR = 150

// A centring target farther than this from the camera in X or Y is refused.
var CAMERA_SAFE_MM = 25

// Corner centring: frames averaged per result and correcting moves per side,
// before the part's angle is aligned (the first side) and after.
var CORNER_FRAMES_UNALIGNED = 20
var CORNER_FRAMES_ALIGNED = 7
var CORNER_MOVES_UNALIGNED = 5
var CORNER_MOVES_ALIGNED = 3
// Near 45° the choice of the leading side would flip with every rounding
// error: the angle is nudged off it.
var CORNER_NEAR_DIAGONAL = 0.0001
var CORNER_DIAGONAL_NUDGE = 0.001

// The feeder debug ring: the last so many pick offsets; their mean is judged
// against this part of the part's size plus a fixed margin (mm).
var DEBUG_RING = 3
var DEBUG_SIZE_PART = 0.05
var DEBUG_MARGIN_MM = 0.1

var SQRT_HALF = Math.SQRT1_2

function num(v) {
    if (v === null || v === undefined || v === "" || typeof v === "boolean")
        return NaN
    return Number(v)
}
function rad(deg) { return deg * Math.PI / 180 }
function fixed2(v) {
    var n = num(v)
    return isFinite(n) ? n.toFixed(2) : "—"
}

// An angle folded into -90 ... 90 degrees (an orientation: a line turned by
// 180° is the same line).
function foldOrientation(angle) {
    var a = num(angle) % 180
    if (a > 90)
        a -= 180
    else if (a < -90)
        a += 180
    return a
}

// ---- size check

// The orientation of the part's long side expected at angle `a`: the part
// lies turned by a; a part taller than wide has its long side across.
function expectedOrientation(a, width, height) {
    return foldOrientation(num(height) > num(width) ? 90 - num(a) : -num(a))
}

// True when the measured long-side orientation matches the expected one.
// Anything that is not a number matches nothing.
function orientationMatches(expected, measured) {
    var d = Math.abs(foldOrientation(expected) - foldOrientation(measured))
    return d < ORIENTATION_NEAR || d > ORIENTATION_FAR
}

// The expected sides A and B of a part W × H lying in a feeder turned by
// `rot` degrees; banks "U" and "B" look at the part from the other side, so
// A and B change places there.
function expectedSides(width, height, rot, bank) {
    var f = rad(num(rot))
    var w = num(width), h = num(height)
    var a = Math.abs(w * Math.cos(f) + h * Math.sin(f))
    var b = Math.abs(h * Math.cos(f) + w * Math.sin(f))
    if (bank === "U" || bank === "B")
        return { "a": b, "b": a }
    return { "a": a, "b": b }
}

// True when `measured` is within the tolerance of `expected` (false for
// anything that is not a positive expected size or not a number).
function sidePasses(expected, measured) {
    var e = num(expected), m = num(measured)
    return Math.abs(e - m) / e < SIZE_TOLERANCE
}

// The size check of one camera result. `c`:
//   mode         0 none, 1 side B, 2 side A, 3 both
//   width, height   the part's sizes from the feeder (W, H)
//   rot          the feeder's rotation
//   angle        the angle the part is expected at (the feeder's rotation,
//                or the placement's rotation when the part was turned to it)
//   bank         the feeder's bank letter
//   measuredWidth, measuredHeight   the sizes the camera measured (mm)
//   measuredOrientation             the camera's long-side angle
// Returns { ok, text, expectedA, expectedB, measuredA, measuredB }; the text
// names the sides checked (2 decimals).
function sizeCheck(c) {
    var mode = Math.round(num(c.mode))
    if (!(mode === SIZE_B || mode === SIZE_A || mode === SIZE_BOTH))
        return { "ok": true, "text": "", "expectedA": NaN, "expectedB": NaN, "measuredA": NaN, "measuredB": NaN }
    var sides = expectedSides(c.width, c.height, c.rot, c.bank)
    var w = num(c.measuredWidth), h = num(c.measuredHeight)
    var matches = orientationMatches(expectedOrientation(c.angle, c.width, c.height), c.measuredOrientation)
    var sameOrder = (sides.a > sides.b && w > h) || (sides.a <= sides.b && w <= h)
    var straight = sameOrder === matches
    var ma = straight ? w : h
    var mb = straight ? h : w
    var okA = sidePasses(sides.a, ma), okB = sidePasses(sides.b, mb)
    var ok = mode === SIZE_B ? okB : (mode === SIZE_A ? okA : okA && okB)
    var text = ""
    if (mode === SIZE_A || mode === SIZE_BOTH)
        text += qsTr(" A ожидаемый: ") + fixed2(sides.a) + qsTr("мм, измеренный: ") + fixed2(ma) + qsTr("мм.")
    if (mode === SIZE_B || mode === SIZE_BOTH)
        text += qsTr(" B ожидаемый: ") + fixed2(sides.b) + qsTr("мм, измеренный: ") + fixed2(mb) + qsTr("мм.")
    return { "ok": ok, "text": text, "expectedA": sides.a, "expectedB": sides.b, "measuredA": ma, "measuredB": mb }
}

// ---- pins

// The spread of the pin pitch in per cent of its average. The camera
// publishes whether the pins could be counted along the outline
// (pinCountCorrect) and, then, the average, smallest and largest distance
// between neighbouring pins; the deviation is (largest - smallest) /
// average × 100. NaN when there is no usable average.
function pinsDev(avgPinDist, minPinDist, maxPinDist) {
    var avg = num(avgPinDist), lo = num(minPinDist), hi = num(maxPinDist)
    if (!(avg > 0) || !isFinite(avg) || !isFinite(lo) || !isFinite(hi))
        return NaN
    return (hi - lo) / avg * 100
}

// The pin check of a part centred by its pins: it fails when the pins could
// not be counted, or when their pitch deviates by more than `maxDev` per
// cent (a deviation that cannot be computed fails too). Returns { failed,
// countRight, measured, maximum }.
function pinCheck(pins, maxDev) {
    var p = pins || {}
    var countRight = p.pinCountCorrect === true
    var dev = pinsDev(p.avgPinDist, p.minPinDist, p.maxPinDist)
    var max = num(maxDev)
    return { "failed": !countRight || !(dev <= max), "countRight": countRight, "measured": dev, "maximum": max }
}

// ---- where the head may go over the camera

// True when the head may go to (x, y) over the camera: at most 25 mm from
// the camera's position in X and in Y, and not below the work area's lower
// ends. `area`: cameraX, cameraY, workAreaX1, workAreaY1. A value that is
// not a number is refused.
function cameraSafe(x, y, area) {
    var a = area || {}
    var vals = [num(x), num(y), num(a.cameraX), num(a.cameraY), num(a.workAreaX1), num(a.workAreaY1)]
    for (var i = 0; i < vals.length; ++i)
        if (!isFinite(vals[i]))
            return false
    if (Math.abs(vals[0] - vals[2]) > CAMERA_SAFE_MM || Math.abs(vals[1] - vals[3]) > CAMERA_SAFE_MM)
        return false
    return vals[0] >= vals[4] && vals[1] >= vals[5]
}

// ---- plausibility

// A measured offset is believable when it is a number and the part's centre
// lies no farther from the camera's centre than the part is large (its
// larger side; the measured sizes when the feeder gives none). Anything
// else is a recognition failure, never a move.
function offsetPlausible(x, y, width, height, measuredWidth, measuredHeight) {
    x = num(x)
    y = num(y)
    if (!isFinite(x) || !isFinite(y))
        return false
    var size = Math.max(num(width), num(height))
    if (!(size > 0) || !isFinite(size))
        size = Math.max(num(measuredWidth), num(measuredHeight))
    if (!(size > 0) || !isFinite(size))
        return true
    return Math.sqrt(x * x + y * y) <= size
}

// ---- corner centring

// The start of corner centring for a part W × H to lie at `placementAngle`
// out of a feeder turned by `rot`:
//   rotA      the part's angle over the camera (nudged off 45°)
//   xFirst    the part is walked X side first (else Y side first)
//   xDim, yDim   the part's sizes along its walk (x: the larger one when
//             y-first)
//   turn      0 or 90, the extra turn of the walk's direction
//   lead      the size crossed between sides 1 and 2 (xDim when x-first)
//   across    the size crossed between sides 3 and 4
//   assumed   the direction the first side's offsets are measured along
// null when a value is not a number.
function cornerStart(placementAngle, rot, width, height) {
    var rotA = num(placementAngle) + num(rot)
    var w = num(width), h = num(height)
    if (!isFinite(rotA) || !isFinite(w) || !isFinite(h))
        return null
    if (Math.abs(SQRT_HALF - Math.abs(Math.sin(rad(rotA)))) < CORNER_NEAR_DIAGONAL)
        rotA += CORNER_DIAGONAL_NUDGE
    var r = rad(rotA)
    var c = Math.abs(Math.cos(r)), s = Math.abs(Math.sin(r))
    var yFirst = Math.abs(w * c) + Math.abs(h * s) > Math.abs(h * c) + Math.abs(w * s)
    var big = Math.max(w, h), small = Math.min(w, h)
    var xDim = yFirst ? big : small
    var yDim = yFirst ? small : big
    var turn = (yFirst && s > SQRT_HALF) || (!yFirst && s < SQRT_HALF) ? 0 : 90
    return { "rotA": rotA, "xFirst": !yFirst, "xDim": xDim, "yDim": yDim, "turn": turn,
             "lead": yFirst ? yDim : xDim, "across": yFirst ? xDim : yDim, "assumed": rotA + turn }
}

// Where the head goes over the camera (cameraX, cameraY) for the first side:
// half the leading size off the camera across that side, plus the pick
// point's offset (offsetX, offsetY).
function cornerCameraTarget(cameraX, cameraY, start, offsetX, offsetY) {
    var r = rad(start.rotA + start.turn)
    return { "x": num(cameraX) - start.lead / 2 * Math.cos(r) + num(offsetX),
             "y": num(cameraY) + start.lead / 2 * Math.sin(r) + num(offsetY) }
}

// One correcting move on a side: from (x, y) by the side's offset `elX`
// measured along the direction `assumed` (degrees).
function cornerCorrection(x, y, elX, assumed) {
    var r = rad(num(assumed))
    return { "x": num(x) - num(elX) * Math.cos(r), "y": num(y) + num(elX) * Math.sin(r) }
}

// The move from side `side` (1 ... 3) to the next one and the growth of the
// assumed direction: { dx, dy, turn }.
function cornerSideMove(side, start) {
    var r = rad(start.rotA + start.turn)
    if (side === 1)
        return { "dx": start.lead * Math.cos(r), "dy": -start.lead * Math.sin(r), "turn": 180 }
    if (side === 2) {
        var half = Math.sqrt(start.xDim * start.xDim / 4 + start.yDim * start.yDim / 4)
        var beta = start.xFirst ? Math.atan(start.yDim / start.xDim) : Math.atan(start.xDim / start.yDim)
        var g = -rad(start.rotA) + beta - rad(start.turn)
        return { "dx": -half * Math.cos(g), "dy": -half * Math.sin(g), "turn": 90 }
    }
    return { "dx": start.across * Math.sin(r), "dy": start.across * Math.cos(r), "turn": 180 }
}

// The head position that puts the part's centre over the camera, from the
// positions p1 ... p4 ({x, y}) at which its four sides were centred: the
// crossing of the line through the middle of p1, p2 along p4 - p3 with the
// line through the middle of p3, p4 along p2 - p1. null when the two lines
// are parallel (or a value is not a number): nothing was found.
function cornerCentre(p1, p2, p3, p4) {
    var am = { "x": (num(p1.x) + num(p2.x)) / 2, "y": (num(p1.y) + num(p2.y)) / 2 }
    var bm = { "x": (num(p3.x) + num(p4.x)) / 2, "y": (num(p3.y) + num(p4.y)) / 2 }
    var a = { "x": num(p4.x) - num(p3.x), "y": num(p4.y) - num(p3.y) }
    var b = { "x": num(p2.x) - num(p1.x), "y": num(p2.y) - num(p1.y) }
    var la = Math.sqrt(a.x * a.x + a.y * a.y), lb = Math.sqrt(b.x * b.x + b.y * b.y)
    var d = a.y * b.x - b.y * a.x
    // Sides closer to parallel than about a thousandth of a radian cross
    // nowhere useful.
    if (!(la > 0) || !(lb > 0) || !(Math.abs(d) > 1e-3 * la * lb))
        return null
    var x = (b.x * (am.x * a.y - am.y * a.x) + a.x * (bm.y * b.x - bm.x * b.y)) / d
    var y = (b.y * (am.y * a.x - am.x * a.y) + a.y * (bm.x * b.y - bm.y * b.x)) / (a.x * b.y - b.x * a.y)
    if (!isFinite(x) || !isFinite(y))
        return null
    return { "x": x, "y": y }
}

// ---- feeder debug ring

// The pick offset of a part in the feeder's terms: a part turned to its
// placement angle `a` before the camera (centring mode 1) has its offset
// turned back.
function debugOffset(x, y, a, mode) {
    x = num(x)
    y = num(y)
    if (num(mode) !== 1)
        return { "x": x, "y": y }
    var r = rad(num(a))
    return { "x": x * Math.cos(r) - y * Math.sin(r), "y": y * Math.cos(r) + x * Math.sin(r) }
}

// The ring with `entry` ({x, y}) added: the last DEBUG_RING entries, a new
// array.
function debugPush(ring, entry) {
    var out = (ring || []).slice(Math.max(0, (ring || []).length - DEBUG_RING + 1))
    out.push({ "x": num(entry.x), "y": num(entry.y) })
    return out
}

// The verdict on a ring: { full, x, y (the means), off }. `off` when the ring
// is full and either mean, in size, is larger than 0.05 of the part's size
// on that axis plus 0.1 mm.
function debugVerdict(ring, width, height) {
    var list = ring || []
    if (list.length < DEBUG_RING)
        return { "full": false, "x": NaN, "y": NaN, "off": false }
    var sx = 0, sy = 0
    for (var i = 0; i < list.length; ++i) {
        sx += num(list[i].x)
        sy += num(list[i].y)
    }
    var mx = sx / list.length, my = sy / list.length
    var limitX = num(width) * DEBUG_SIZE_PART + DEBUG_MARGIN_MM
    var limitY = num(height) * DEBUG_SIZE_PART + DEBUG_MARGIN_MM
    var off = isFinite(mx) && isFinite(my) && (Math.abs(mx) > limitX || Math.abs(my) > limitY)
    return { "full": true, "x": mx, "y": my, "off": off }
}

// A pick point moved by the mean offset, rounded to 2 decimals.
function correctedPickPoint(value, mean) {
    return Math.round((num(value) + num(mean)) * 100) / 100
}

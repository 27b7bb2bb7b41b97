.pragma library
.import "../lib/coords.js" as Coords
.import "gcodeTexts.js" as GT

// The arithmetic of the tape centring by perforations: where a tape's
// sprocket hole lies against its feeder's pick point, where the head camera
// goes to look at it, which camera result counts as the hole, and the pick
// point that a centred hole gives. Plain functions of their arguments.
//
// A sprocket hole lies `s` mm across the tape from the pocket centres (by
// tape width, perforationOffset) and 2 mm along it; which way depends on
// the bank the feeder stands in and on whether the perforation before the
// pocket is used (`prevPerf`, the setting bandFeederAutoCenterPrevPerf).

// The feeder type of a tape feeder.
var TAPE_FEEDER = 3
// Along-tape distance from the pocket centre to the hole looked at, mm.
var ALONG_MM = 2
// The hole search of the head camera: a region 7 mm wide, objects of
// 1.6 x 1.6 mm, the second threshold.
var SEARCH_WIDTH_MM = 7
var HOLE_SIZE_MM = 1.6
var SECOND_THRESHOLD = 250
// A hole seen further than this from where it was looked for is not taken:
// the search region is wide enough for two holes 4 mm apart, and the one
// beside would move the pick point by a whole pitch.
var MAX_HOLE_OFFSET_MM = 1.5
// Once the camera has been moved onto the hole, the hole counts as centred
// within this distance of the frame centre; further off the camera moves
// onto it again.
var CENTRED_MM = 0.1
// Moves onto the hole per feeder; a hole not centred by then is not found.
var MAX_MOVES = 10
// Corrections below this on both axes are shown in green.
var SMALL_CORRECTION_MM = 0.1
var SMALL_COLOUR = "#00C376"

// Perforation line to pocket centres by tape width index (bandWidth): 8,
// 12, 16, 24, 32, 44 mm tapes; any other index counts as an 8 mm tape.
var perforationOffsets = [3.5, 5.5, 7.5, 11.5, 14.2, 20.2]
function perforationOffset(bandWidth) {
    var i = Number(bandWidth)
    if (i >= 0 && i < perforationOffsets.length && Math.floor(i) === i)
        return perforationOffsets[i]
    return perforationOffsets[0]
}

// From the pick point to the hole looked at: {x, y} in mm. Bottom bank:
// X - s, Y -2 (+2 with prevPerf); upper: X + s, Y +2 (-2); right: X +2
// (-2), Y - s; left: X -2 (+2), Y + s. null for an unknown bank.
function holeOffset(bank, s, prevPerf) {
    var along = prevPerf === true ? -ALONG_MM : ALONG_MM
    s = Number(s)
    switch (String(bank)) {
    case "B": return { "x": -s, "y": -along }
    case "U": return { "x": s, "y": along }
    case "R": return { "x": along, "y": -s }
    case "L": return { "x": -along, "y": s }
    }
    return null
}

// The machine position that puts the head camera over the hole of a
// feeder whose pick point is (pickX, pickY): the hole less the camera's
// offset (shiftX, shiftY). null for an unknown bank.
function approachPoint(pickX, pickY, bank, s, prevPerf, shiftX, shiftY) {
    var o = holeOffset(bank, s, prevPerf)
    if (!o)
        return null
    return { "x": Number(pickX) + o.x - Number(shiftX), "y": Number(pickY) + o.y - Number(shiftY) }
}

// The pick point of a feeder whose hole was seen at (holeX, holeY): the
// approach offset taken back.
function pickFromHole(holeX, holeY, bank, s, prevPerf) {
    var o = holeOffset(bank, s, prevPerf)
    if (!o)
        return null
    return { "x": Number(holeX) - o.x, "y": Number(holeY) - o.y }
}

// Whether the machine can go to `p`: finite and within the work area
// (area: x1, x2, y1, y2), edges included.
function reachable(p, area) {
    if (!p || !isFinite(p.x) || !isFinite(p.y))
        return false
    return p.x >= Number(area.x1) && p.x <= Number(area.x2) && p.y >= Number(area.y1) && p.y <= Number(area.y2)
}

// The camera move to `p`: "g0 zMax", then the XY move at full speed and
// 20 % acceleration, three decimals. null when it cannot be written.
function moveText(p, maxVel, maxAcc) {
    var prefix = GT.xySpeed(100, 20, maxVel, maxAcc)
    var x = Coords.fixed(p ? p.x : null, 3), y = Coords.fixed(p ? p.y : null, 3)
    if (prefix === null || x === null || y === null)
        return null
    return "g0 zMax\n" + prefix + "x" + x + " y" + y
}

// The head camera's settings for the hole search (the request settings of
// the job's head camera): individual settings, a 7 mm wide search region
// (per cent of the frame width), the threshold given and 250, holes of
// 1.6 x 1.6 mm, not inverted, the band bank's height, the camera's own
// exposure. opts: {pixelsPerMm, frameWidth, threshold, height, exposure}.
function cameraSettings(opts) {
    var width = Number(opts.frameWidth) > 0 ? Number(opts.frameWidth) : 1280
    var roi = 100 * SEARCH_WIDTH_MM * Number(opts.pixelsPerMm) / width
    return { "indiv": true, "mode": "hole", "roi": Math.max(1, Math.min(100, roi)), "t1": Number(opts.threshold),
             "t2": SECOND_THRESHOLD, "calcSize": HOLE_SIZE_MM, "calcSize2": HOLE_SIZE_MM, "inv": false,
             "height": Number(opts.height) || 0, "exposure": Number(opts.exposure), "photo": "" }
}

// A camera result ({found, x, y}: pixels from the frame centre, image Y
// downwards) as a hole: {found, dx, dy} in machine millimetres from the
// camera centre. Not found when the camera found nothing, a value is not a
// number, or the hole lies more than MAX_HOLE_OFFSET_MM away.
function holeSeen(result, pixelsPerMm) {
    var none = { "found": false, "dx": 0, "dy": 0 }
    var ppm = Number(pixelsPerMm)
    if (!result || result.found !== true || !(ppm > 0))
        return none
    var dx = Number(result.x) / ppm, dy = -Number(result.y) / ppm
    if (!isFinite(dx) || !isFinite(dy) || Math.sqrt(dx * dx + dy * dy) > MAX_HOLE_OFFSET_MM)
        return none
    return { "found": true, "dx": dx, "dy": dy }
}

// Whether a hole this far from the frame centre counts as centred.
function centred(seen) {
    return Math.sqrt(seen.dx * seen.dx + seen.dy * seen.dy) <= CENTRED_MM
}

// The colour of a correction's log line.
function correctionColour(dx, dy) {
    return Math.abs(dx) < SMALL_CORRECTION_MM && Math.abs(dy) < SMALL_CORRECTION_MM ? SMALL_COLOUR : "white"
}

// ---- log texts (numbers: the feeder as the operator counts them, from 1)

function notTapeText(number) {
    return qsTr("Питатель №%1 пропущен, так как не является ленточным питателем.").arg(number)
}
function checkFailedText(number, reason) {
    return qsTr("Питатель №%1 пропущен. Причина: ").arg(number) + reason
}
function unreachableText(number) {
    return qsTr("Питатель №%1 пропущен, так как не удалось подвести камеру к перфорации").arg(number)
}
function skippedText(number) {
    return qsTr("Питатель №%1 пропущен оператором.").arg(number)
}
function centredText(number, dx, dy) {
    return qsTr("Питатель №%1 отцентрирован, корректировка по X: %2, по Y: %3")
        .arg(number).arg(Number(dx).toFixed(2)).arg(Number(dy).toFixed(2))
}
function centredByHandText(number, dx, dy) {
    return qsTr("Питатель №%1 отцентрирован ВРУЧНУЮ, корректировка по X: %2, по Y: %3")
        .arg(number).arg(Number(dx).toFixed(2)).arg(Number(dy).toFixed(2))
}
function notFoundText() {
    return qsTr("Не удалось распознать перфорацию ленты. Возможные причины: лента не заряжена, под перфорацией находится мусор, порог поиска контуров настроен неверно, заряжена прозрачная лента.")
}

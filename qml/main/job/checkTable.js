.pragma library
.import "../lib/coords.js" as Coords
.import "../lib/geometry.js" as Geometry
.import "gcodeTexts.js" as GT

// The placement check: the table of the components of the first board, the
// approach move onto a row, the slide show's stepping, the manual
// correction's limits and the accuracy test's figures. Plain functions of
// their arguments, so that tests call them directly.

// dX / dY of a row the accuracy test has not measured (or did not find).
var NOT_MEASURED = "-1000"
// Step of the correction arrows, mm.
var MOVE_STEP = 0.01

// ---- texts of a row

// The feeder column: the bank's name, " №" and the feeder number from 1.
function feederText(bankName, index) {
    return String(bankName) + " №" + (Number(index) + 1)
}

// Package, part number and designator, each after two spaces when given.
function elText(pack, partNumber, designator) {
    var out = ""
    var parts = [pack, partNumber, designator]
    for (var i = 0; i < parts.length; ++i) {
        var s = parts[i] === undefined || parts[i] === null ? "" : String(parts[i])
        if (s !== "")
            out += "  " + s
    }
    return out
}

// "X: " x "  Y: " y, two decimals.
function coordsText(x, y) {
    return "X: " + Number(x).toFixed(2) + "  Y: " + Number(y).toFixed(2)
}

// Design centre of a placement (corner rX, rY; footprint elWidth x elHeight).
function centreOf(ep) {
    return { "x": Number(ep.rX) + Number(ep.elWidth) / 2, "y": Number(ep.rY) + Number(ep.elHeight) / 2 }
}

// The rows of the table from the placement list: only enabled placements
// of board (row 0, column 0). Each entry of `list` carries its placement
// `ep` and its target `target` ({ x, y } machine coordinates, boardAngle the
// measured turn of the board); `describe(ep)`
// gives { feeder, el, image } for the texts and the picture.
function buildRows(list, describe) {
    var rows = []
    for (var i = 0; i < list.length; ++i) {
        var ep = list[i].ep
        if (!ep || ep.disabled || ep.disabledTemp || Number(ep.row) !== 0 || Number(ep.col) !== 0)
            continue
        var d = describe(ep)
        var c = centreOf(ep)
        rows.push({ "feeder": d.feeder, "el": d.el, "image": d.image, "coords": coordsText(c.x, c.y),
                    "x": Number(list[i].target.x), "y": Number(list[i].target.y),
                    "rotation": Geometry.minAngle(Number(ep.rotation) + Number(list[i].target.boardAngle || 0)),
                    "rotWidth": Number(ep.rotWidth),
                    "rotHeight": Number(ep.rotHeight), "dX": NOT_MEASURED, "dY": NOT_MEASURED })
    }
    return rows
}

// ---- going to a row

// The head camera's displayed field (per cent) that fits a component:
// the larger of 150 x size x pixels-per-mm / frame size in either axis.
function fovPercent(rotWidth, rotHeight, ppm, frameWidth, frameHeight) {
    var a = 150 * Number(rotWidth) * Number(ppm) / Number(frameWidth)
    var b = 150 * Number(rotHeight) * Number(ppm) / Number(frameHeight)
    var p = Math.max(a, b)
    return isFinite(p) && p > 0 ? p : 100
}

// The approach of the head camera to a row: "g0 zMax", then the XY move at
// full speed and `acc` per cent acceleration to the row minus the camera
// offset, with a one-second dwell during the accuracy test. null when a
// coordinate or the speed prefix cannot be written.
function approachText(x, y, shiftX, shiftY, acc, maxVel, maxAcc, dwell) {
    var prefix = GT.xySpeed(100, acc, maxVel, maxAcc)
    var tx = Coords.fixed(Number(x) - Number(shiftX), 3), ty = Coords.fixed(Number(y) - Number(shiftY), 3)
    if (prefix === null || tx === null || ty === null)
        return null
    return "g0 zMax\n" + prefix + "x" + tx + " y" + ty + (dwell ? "\ng4 p1" : "")
}

// ---- stepping through the rows

// The row after `current` for the slide show, or -1 after the last one.
function nextRow(current, count) {
    var n = Number(current) + 1
    return n >= 0 && n < Number(count) ? n : -1
}

// Previous (-1) / next (+1) enabled: not while moving and not past an end.
function stepEnabled(current, count, direction, moving) {
    if (moving)
        return false
    var n = Number(current) + direction
    return n >= 0 && n < Number(count)
}

// ---- manual correction

// The component moved by (dx, dy) design mm, or null when its turned extent
// would leave the board area (0 .. width, 0 .. height): left or top edge
// below 0, right or bottom edge beyond the size.
// el: { rX, rY, elWidth, elHeight, rotWidth, rotHeight }.
function moveWithin(el, dx, dy, width, height) {
    var rX = Number(el.rX) + dx, rY = Number(el.rY) + dy
    var cx = rX + Number(el.elWidth) / 2, cy = rY + Number(el.elHeight) / 2
    var hw = Number(el.rotWidth) / 2, hh = Number(el.rotHeight) / 2
    // A thousandth of a micrometre of rounding never refuses a move.
    var eps = 1e-9
    if (cx - hw < -eps || cy - hh < -eps || cx + hw > Number(width) + eps || cy + hh > Number(height) + eps)
        return null
    return { "rX": Math.round(rX * 1e6) / 1e6, "rY": Math.round(rY * 1e6) / 1e6 }
}

// A rotation plus `delta` degrees, to a tenth of a degree, folded into
// -180 ... 180.
function rotate(angle, delta) {
    return Geometry.minAngle(Math.round((Number(angle) + Number(delta)) * 10) / 10)
}

// ---- accuracy test

// dX / dY text of a measurement: found minus row position, three decimals;
// NOT_MEASURED when nothing was found.
function measuredOffset(found, foundX, foundY, rowX, rowY) {
    if (!found || !isFinite(foundX) || !isFinite(foundY))
        return { "dX": NOT_MEASURED, "dY": NOT_MEASURED }
    return { "dX": (foundX - rowX).toFixed(3), "dY": (foundY - rowY).toFixed(3) }
}

// Mean dX and dY over the rows that were found: { count, dX, dY } (dX, dY
// null when no row was found).
function accuracyMean(rows) {
    var n = 0, sx = 0, sy = 0
    for (var i = 0; i < rows.length; ++i) {
        if (String(rows[i].dX) === NOT_MEASURED || String(rows[i].dY) === NOT_MEASURED)
            continue
        var x = Number(rows[i].dX), y = Number(rows[i].dY)
        if (!isFinite(x) || !isFinite(y))
            continue
        sx += x
        sy += y
        ++n
    }
    return n === 0 ? { "count": 0, "dX": null, "dY": null } : { "count": n, "dX": sx / n, "dY": sy / n }
}

// The log line of the test's end: "средн. dX: " … "; dY: " …, three
// decimals, or "не найден" for an axis with no row found.
function accuracyText(mean) {
    function value(v) { return v === null ? qsTr("не найден") : v.toFixed(3) }
    return qsTr("средн. dX: ") + value(mean.dX) + qsTr("; dY: ") + value(mean.dY)
}

// ---- hiding the window

// Forgets the found positions of the marks (mark objects with
// previews[row][col]): on every board, or on the first board only when the
// panel uses one pair of marks for all boards (refMode 1).
function resetFoundMarks(marks, refMode, notMeasured) {
    var firstOnly = Number(refMode) === 1
    for (var i = 0; i < marks.length; ++i) {
        var p = marks[i].previews || []
        for (var r = 0; r < p.length; ++r)
            for (var c = 0; c < p[r].length; ++c)
                if (!firstOnly || (r === 0 && c === 0)) {
                    p[r][c].fidX = notMeasured
                    p[r][c].fidY = notMeasured
                }
    }
}

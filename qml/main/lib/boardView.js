.pragma library
.import "geometry.js" as Geometry
.import "coords.js" as Coords

// The board view's editing rules: zoom steps, the rotation step of a picked
// component, key moves, the rubber band, the ruler, the panel outlines and
// the board ban, the ids of new reference marks and the bounds of the board
// area. Plain functions of their arguments, so that tests call them directly.
//
// Design coordinates are millimetres with Y down (as drawn); machine
// coordinates as everywhere: X = rX + workAreaX1, Y = workAreaY2 - rY.

// Move step of the arrow keys, mm.
var ELEMENT_MOVE_STEP = 0.025
var ZOOM_IN = 1.3
var ZOOM_OUT = 0.7
var MAX_SCALE = 1000
var MIN_SCALE = 1

// The view scale after one wheel notch (up: zoom in).
function zoomStep(scale, up) {
    var s = Number(scale)
    if (!isFinite(s) || s <= 0)
        s = MIN_SCALE
    return up ? Math.min(MAX_SCALE, s * ZOOM_IN) : Math.max(MIN_SCALE, s * ZOOM_OUT)
}

// A picked component turned by one key press (direction +1 right, -1 left):
// 45 degrees, then floored to a multiple of 45 when it is not one, folded
// into -180 ... 180. 30 right gives 45, 30 left gives -45.
function rotateStep(angle, direction) {
    var a = Number(angle) + (direction > 0 ? 45 : -45)
    if (a % 45 !== 0)
        a = Math.floor(a / 45) * 45
    return Geometry.minAngle(a)
}

// Design offset of one Ctrl+arrow press: Right +X, Left -X, Up -Y, Down +Y.
// key: "right", "left", "up", "down"; null for anything else.
function keyMove(key, step) {
    var s = step === undefined ? ELEMENT_MOVE_STEP : Number(step)
    switch (key) {
    case "right": return { "dx": s, "dy": 0 }
    case "left": return { "dx": -s, "dy": 0 }
    case "up": return { "dx": 0, "dy": -s }
    case "down": return { "dx": 0, "dy": s }
    default: return null
    }
}

// ---- rubber band

// The band from its press and release points (view pixels), normalised and
// clipped to the view (width x height).
function bandRect(x1, y1, x2, y2, width, height) {
    function clip(v, max) { return Math.max(0, Math.min(max, Number(v))) }
    var ax = clip(x1, width), bx = clip(x2, width), ay = clip(y1, height), by = clip(y2, height)
    return { "x1": Math.min(ax, bx), "y1": Math.min(ay, by), "x2": Math.max(ax, bx), "y2": Math.max(ay, by) }
}

// One axis of the band (start..end) meets an item's extent (from..to): the
// band's start or end lies inside the extent, or the band holds the extent.
// The edges count: an item touching the band is taken.
function axisMeets(start, end, from, to) {
    return (start >= from && start <= to) || (end >= from && end <= to) || (start <= from && end >= to)
}

// Indexes of the items whose rotated extent (rotRX, rotRY, rotWidth,
// rotHeight; design mm) meets the band (x1, y1, x2, y2; design mm) in both
// axes. Items without finite extents are never taken.
function bandSelect(items, band) {
    var out = []
    for (var i = 0; i < items.length; ++i) {
        var it = items[i]
        var x = Number(it.rotRX), y = Number(it.rotRY), w = Number(it.rotWidth), h = Number(it.rotHeight)
        if (!isFinite(x) || !isFinite(y) || !isFinite(w) || !isFinite(h))
            continue
        if (axisMeets(band.x1, band.x2, x, x + w) && axisMeets(band.y1, band.y2, y, y + h))
            out.push(i)
    }
    return out
}

// The band in design millimetres from view pixels (content offset cx, cy).
function bandToDesign(band, cx, cy, scale) {
    return { "x1": (band.x1 + cx) / scale, "y1": (band.y1 + cy) / scale,
             "x2": (band.x2 + cx) / scale, "y2": (band.y2 + cy) / scale }
}

// ---- ruler

// The ruler after a click at (x, y): the first click sets both ends, every
// later one moves the second end there and the old second end becomes the
// first. ruler: null (none yet) or { x1, y1, x2, y2 }.
function rulerClick(ruler, x, y) {
    if (!ruler)
        return { "x1": x, "y1": y, "x2": x, "y2": y }
    return { "x1": ruler.x2, "y1": ruler.y2, "x2": x, "y2": y }
}

// Length and axis distances of the ruler, mm.
function rulerLength(ruler) {
    if (!ruler)
        return { "dx": 0, "dy": 0, "length": 0 }
    var dx = ruler.x2 - ruler.x1, dy = ruler.y2 - ruler.y1
    return { "dx": Math.abs(dx), "dy": Math.abs(dy), "length": Math.sqrt(dx * dx + dy * dy) }
}

// ---- panel

// Row and column of board `index` (from 0, counted row by row) of the panel;
// a panel of free positions keeps one board per row.
function banCell(index, columns, freePositions) {
    var i = Math.round(Number(index))
    if (freePositions)
        return { "row": i, "col": 0 }
    var cols = Math.max(1, Math.round(Number(columns)))
    return { "row": Math.floor(i / cols), "col": i % cols }
}

// The excluded-board table with board (row, col) toggled; a new table.
function toggleBan(ban, row, col) {
    var old = Array.isArray(ban) ? ban : []
    var out = []
    for (var r = 0; r < Math.max(old.length, row + 1); ++r)
        out.push(old[r] ? Array.prototype.slice.call(old[r]) : [])
    out[row][col] = !(old[row] && old[row][col])
    return out
}

// Extent of the components of the board: { x, y, w, h } (design mm), or
// null without components. items: { rX, rY, rotWidth, rotHeight } with rX,
// rY the corner of an unturned footprint and rotWidth/rotHeight its turned
// size about the same centre.
function componentExtent(items) {
    var x1 = Infinity, y1 = Infinity, x2 = -Infinity, y2 = -Infinity
    for (var i = 0; i < items.length; ++i) {
        var it = items[i]
        var cx = Number(it.rX) + Number(it.elWidth) / 2, cy = Number(it.rY) + Number(it.elHeight) / 2
        var hw = Number(it.rotWidth) / 2, hh = Number(it.rotHeight) / 2
        if (!isFinite(cx) || !isFinite(cy) || !isFinite(hw) || !isFinite(hh))
            continue
        x1 = Math.min(x1, cx - hw); x2 = Math.max(x2, cx + hw)
        y1 = Math.min(y1, cy - hh); y2 = Math.max(y2, cy + hh)
    }
    if (!isFinite(x1))
        return null
    return { "x": x1, "y": y1, "w": x2 - x1, "h": y2 - y1 }
}

// Outline of every board of the panel round the components' extent:
// [{ index, row, col, x, y, w, h, rot }] (x, y the corner of the unturned
// rectangle, turned by rot about its centre). place(rX, rY, w, h, row, col)
// is the placement of a footprint on a board (program.js placeOnBoard).
function panelOutlines(extent, grid, place) {
    var out = []
    if (!extent)
        return out
    var index = 0
    for (var r = 0; r < grid.rows; ++r) {
        for (var c = 0; c < grid.cols; ++c) {
            var p = place(extent.x, extent.y, extent.w, extent.h, r, c)
            out.push({ "index": index++, "row": r, "col": c, "x": p.rX, "y": p.rY, "w": extent.w, "h": extent.h,
                       "rot": Number(p.rot) || 0 })
        }
    }
    return out
}

// The outline that holds the design point (x, y), or null.
function outlineAt(outlines, x, y) {
    for (var i = 0; i < outlines.length; ++i) {
        var o = outlines[i]
        var cx = o.x + o.w / 2, cy = o.y + o.h / 2
        var t = -o.rot * Math.PI / 180
        var dx = x - cx, dy = y - cy
        var u = dx * Math.cos(t) - dy * Math.sin(t), v = dx * Math.sin(t) + dy * Math.cos(t)
        if (Math.abs(u) <= o.w / 2 && Math.abs(v) <= o.h / 2)
            return o
    }
    return null
}

// ---- reference marks

// The id of a new mark: a given id (not -1) unless another mark has it,
// otherwise the highest id + 1. Returns { id, maxId } with the new highest.
function refIdFor(givenId, maxId, existingIds) {
    var max = Number(maxId)
    var ids = existingIds || []
    for (var i = 0; i < ids.length; ++i)
        max = Math.max(max, Number(ids[i]))
    var id = givenId === undefined || givenId === null || givenId === "" ? -1 : Math.round(Number(givenId))
    if (!isFinite(id) || id === -1 || ids.indexOf(id) >= 0)
        id = max + 1
    return { "id": id, "maxId": Math.max(max, id) }
}

// The mark of `marks` ({ refId, rX, rY, size, size2, type }) that a new
// mark at (x, y) would lie on (its centre inside that mark's extent), or null.
function refOverlapping(marks, x, y) {
    for (var i = 0; i < marks.length; ++i) {
        var m = marks[i]
        var hw = Number(m.size) / 2
        var hh = (Number(m.type) === 1 ? Number(m.size2) : Number(m.size)) / 2
        if (Math.abs(x - Number(m.rX)) <= hw && Math.abs(y - Number(m.rY)) <= hh)
            return m
    }
    return null
}

// ---- bounds and machine points

// True when the machine point (x, y) lies outside the board area (boardX1,
// boardY1, boardMaxWidth, boardMaxHeight); its edges are inside.
function outsideBoardArea(x, y, area) {
    return !(x >= area.boardX1 && x <= area.boardX1 + area.boardMaxWidth
             && y >= area.boardY1 && y <= area.boardY1 + area.boardMaxHeight)
}

// True when the machine point lies inside the work area (edges included).
function insideWorkArea(x, y, env) {
    return x >= env.workAreaX1 && x <= env.workAreaX2 && y >= env.workAreaY1 && y <= env.workAreaY2
}

// The machine point for which a double-click at the design point (x, y)
// opens the add-component window: only while the view is idle or moving
// items (`editing`), and only inside the work area; null otherwise.
function addComponentPoint(x, y, editing, env) {
    if (!editing)
        return null
    var m = Geometry.machinePoint(x, y, env)
    if (!isFinite(m.x) || !isFinite(m.y) || !insideWorkArea(m.x, m.y, env))
        return null
    return m
}

// Every board placement of a design point (a centre) lies inside the board
// area. placements: [{ rX, rY }] design centres.
function allInsideBoardArea(placements, env) {
    for (var i = 0; i < placements.length; ++i) {
        var m = Geometry.machinePoint(placements[i].rX, placements[i].rY, env)
        if (outsideBoardArea(m.x, m.y, env))
            return false
    }
    return true
}

// The G-code that brings the head camera to the machine point (x, y):
// null when a coordinate is not a finite number.
function cameraToPointText(x, y) {
    var tx = Coords.fixed(x, 3), ty = Coords.fixed(y, 3)
    if (tx === null || ty === null)
        return null
    return "g0 zMax\nG0 X" + tx + " Y" + ty
}

// ---- repeated insertion

// Insert adds a component (or dot) only in the moving action, with a last
// feeder, the mouse over the view and moved since the last insertion.
// s: { moving, hasFeeder, mouseInView, x, y, lastX, lastY } (lastX null
// before the first insertion).
function insertAllowed(s) {
    if (!s.moving || !s.hasFeeder || !s.mouseInView)
        return false
    return s.lastX === null || s.lastX === undefined || s.x !== s.lastX || s.y !== s.lastY
}

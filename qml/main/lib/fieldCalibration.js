.pragma library

// Work-field calibration: the geometry of the measuring procedure.
// Points are {x, y} in millimetres.

// Nominal points of one row of the plate, relative to the board origin.
function rowPoints(startX, startY, stepX, stepY, countX, row) {
    var points = []
    for (var i = 0; i < countX; ++i)
        points.push({ "x": startX + i * stepX, "y": startY + row * stepY })
    return points
}

// Shift, rotation and scale that carry the commanded pair (c0, c1) onto the
// measured pair (m0, m1).
function pairTransform(c0, c1, m0, m1) {
    var cdx = c1.x - c0.x, cdy = c1.y - c0.y
    var mdx = m1.x - m0.x, mdy = m1.y - m0.y
    var cl = Math.sqrt(cdx * cdx + cdy * cdy)
    var ml = Math.sqrt(mdx * mdx + mdy * mdy)
    return {
        "c0": c0, "m0": m0,
        "scale": cl > 0 ? ml / cl : 1,
        "rotation": cl > 0 && ml > 0 ? Math.atan2(mdy, mdx) - Math.atan2(cdy, cdx) : 0
    }
}

function applyTransform(t, p) {
    var dx = (p.x - t.c0.x) * t.scale, dy = (p.y - t.c0.y) * t.scale
    var c = Math.cos(t.rotation), s = Math.sin(t.rotation)
    return { "x": t.m0.x + dx * c - dy * s, "y": t.m0.y + dx * s + dy * c }
}

// The corrected nominal positions of a row from its two end marks.
function correctedRow(points, measuredFirst, measuredLast) {
    var t = pairTransform(points[0], points[points.length - 1], measuredFirst, measuredLast)
    var out = []
    for (var i = 0; i < points.length; ++i)
        out.push(applyTransform(t, points[i]))
    return out
}

// Offsets per column averaged over all records {col, dx, dy}.
function averageOffsets(records, columns) {
    var sum = [], n = []
    for (var c = 0; c < columns; ++c) {
        sum.push({ "x": 0, "y": 0 })
        n.push(0)
    }
    for (var i = 0; i < records.length; ++i) {
        var r = records[i]
        if (r.col < 0 || r.col >= columns)
            continue
        sum[r.col].x += r.dx
        sum[r.col].y += r.dy
        n[r.col] += 1
    }
    var avg = []
    for (c = 0; c < columns; ++c)
        avg.push({ "x": n[c] ? sum[c].x / n[c] : 0, "y": n[c] ? sum[c].y / n[c] : 0 })
    return avg
}

// The grid handed to the back end: rows every 10 mm of Y from -10 to +320
// from the board origin, per column nominal (rX, rY) and found (nX, nY)
// machine positions, both without the camera offset.
function gridList(xs, offsets, originX, originY, cameraX, cameraY) {
    var list = []
    for (var y = -10; y <= 320; y += 10) {
        for (var c = 0; c < xs.length; ++c) {
            var rX = originX + xs[c] - cameraX
            var rY = originY - y - cameraY
            list.push({ "rX": rX, "rY": rY, "nX": rX + offsets[c].x, "nY": rY + offsets[c].y })
        }
    }
    return list
}

function gridRows() { return 34 }

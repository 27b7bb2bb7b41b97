.pragma library
.import "../lib/geometry.js" as Geometry

// Board correction: where a placement or a solder dot really lies once the
// board's reference marks have been measured. Plain functions of their
// arguments, no port and no state, so that tests call them directly.
//
// Shapes used here:
//   mark preview  { rX, rY, fidX, fidY, ... }  design centre and measured
//                 machine position (-1000 while unmeasured, 0 0 after a
//                 failed search)
//   placement     { el: { rot, elThickness }, rX, rY, elWidth, elHeight,
//                   boardRotation, row, col }  (rX, rY: corner of the footprint)
//   dot           { rX, rY }  (centre)
//   env           { workAreaX1, workAreaY2 } and, for placements,
//                 { workAreaZ1, workAreaZ2, pcbThickness }
//
// Every function that can refuse returns { ok: false, error: text } with a
// text for the operator; on success { ok: true, ... }.

var NOT_MEASURED = -1000
// Two marks closer than this give no usable direction.
var MIN_MARK_DISTANCE = 1.0
// A board never shrinks or grows more than this; a larger scale means a
// mark was found in the wrong place.
var MIN_SCALE = 0.99
var MAX_SCALE = 1.01

function finite(v) {
    return typeof v === "number" ? isFinite(v) : (v !== null && v !== undefined && v !== ""
                                                  && typeof v !== "boolean" && isFinite(Number(v)))
}

function refused(text) {
    return { "ok": false, "error": text }
}

// Machine position of a design point.
function designXY(rX, rY, env) {
    return Geometry.machinePoint(rX, rY, env)
}

// Machine position of a mark's design centre.
function designPoint(p, env) {
    return designXY(p.rX, p.rY, env)
}

function measuredPoint(p) {
    return { "x": Number(p.fidX), "y": Number(p.fidY) }
}

// "ok", "invalid" (a coordinate is not a number), "unmeasured" or "failed".
function markState(p) {
    if (!p || !finite(p.rX) || !finite(p.rY) || !finite(p.fidX) || !finite(p.fidY))
        return "invalid"
    if (Number(p.fidX) === NOT_MEASURED || Number(p.fidY) === NOT_MEASURED)
        return "unmeasured"
    if (Number(p.fidX) === 0 && Number(p.fidY) === 0)
        return "failed"
    return "ok"
}

function pointText(pt) {
    return "X: " + pt.x.toFixed(2) + " Y: " + pt.y.toFixed(2)
}

function markError(p, state, env) {
    if (state === "invalid" || !finite(env.workAreaX1) || !finite(env.workAreaY2))
        return qsTr("Неверные координаты реперного знака: коррекция положения платы невозможна")
    var where = pointText(designPoint(p, env))
    if (state === "unmeasured")
        return qsTr("Реперный знак %1 не измерен: коррекция положения платы невозможна").arg(where)
    return qsTr("Реперный знак %1 не найден: коррекция положения платы невозможна").arg(where)
}

function distance(a, b) {
    return Math.sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y))
}

// Angle in radians from u to w (positive counter-clockwise), by the
// numerically stable triangle formula: accurate for the tiny angles a board
// is turned by, where acos of a dot product loses most of its digits.
function angleBetween(u, w) {
    var a = Math.sqrt(u.x * u.x + u.y * u.y)
    var b = Math.sqrt(w.x * w.x + w.y * w.y)
    var c = Math.sqrt((u.x - w.x) * (u.x - w.x) + (u.y - w.y) * (u.y - w.y))
    var mu = b >= c ? c - (a - b) : b - (a - c)
    var theta = 2 * Math.atan(Math.sqrt(((a - b) + c) * mu / ((a + (b + c)) * ((a - c) + b))))
    if (isNaN(theta))
        return 0
    return u.x * w.y - u.y * w.x < 0 ? -theta : theta
}

// Board correction from two measured marks: shift of the first mark (design
// minus measured, mm), rotation (degrees) and scale of the board.
// Returns { ok, fSX, fSY, fSA, fSScale } or { ok: false, error }.
function calcShift(p1, p2, env) {
    var marks = [p1, p2]
    for (var i = 0; i < 2; ++i) {
        var state = markState(marks[i])
        if (state !== "ok")
            return refused(markError(marks[i], state, env))
    }
    if (!finite(env.workAreaX1) || !finite(env.workAreaY2))
        return refused(markError(p1, "invalid", env))
    var d1 = designPoint(p1, env), d2 = designPoint(p2, env)
    var m1 = measuredPoint(p1), m2 = measuredPoint(p2)
    if (distance(d1, d2) < MIN_MARK_DISTANCE)
        return refused(qsTr("Реперные знаки %1 и %2 расположены ближе 1 мм друг к другу: коррекция положения платы невозможна")
                       .arg(pointText(d1)).arg(pointText(d2)))
    if (distance(m1, m2) < MIN_MARK_DISTANCE)
        return refused(qsTr("Реперные знаки найдены ближе 1 мм друг к другу (%1 и %2): проверьте настройки распознавания реперных знаков")
                       .arg(pointText(m1)).arg(pointText(m2)))
    var u = { "x": d2.x - d1.x, "y": d2.y - d1.y }
    var w = { "x": m2.x - m1.x, "y": m2.y - m1.y }
    var scale = Math.sqrt(w.x * w.x + w.y * w.y) / Math.sqrt(u.x * u.x + u.y * u.y)
    if (!(scale >= MIN_SCALE && scale <= MAX_SCALE))
        return refused(qsTr("Масштаб платы по реперным знакам равен %1, допустимо от 0.99 до 1.01: проверьте положение реперных знаков")
                       .arg(scale.toFixed(4)))
    return { "ok": true, "fSX": d1.x - m1.x, "fSY": d1.y - m1.y, "fSA": angleBetween(u, w) * 180 / Math.PI,
             "fSScale": scale }
}

// The previews of the marks a placement refers to on board (row, col): its
// own marks, or the defaults when it has none or the panel has two marks
// only (refMode 1, board (0,0) then). Marks are mark objects with
// `previews[row][col]`; a missing one gives null.
function marksFor(own1, own2, default1, default2, refMode, row, col) {
    var panelWide = Number(refMode) === 1
    var r = panelWide ? 0 : row, c = panelWide ? 0 : col
    function preview(mark) {
        if (!mark || !mark.previews || !mark.previews[r])
            return null
        return mark.previews[r][c] || null
    }
    return [preview(panelWide || !own1 ? default1 : own1), preview(panelWide || !own2 ? default2 : own2)]
}

// The two marks with the one nearer to (x, y) (design machine position) first.
function nearestFirst(p1, p2, x, y, env) {
    var target = { "x": x, "y": y }
    if (distance(designPoint(p1, env), target) > distance(designPoint(p2, env), target))
        return [p2, p1]
    return [p1, p2]
}

// A design machine position moved onto the measured board: its offset from
// the first mark, turned and scaled, from that mark's measured position.
function transform(x, y, p1, shift, env) {
    var d1 = designPoint(p1, env)
    var m1 = measuredPoint(p1)
    var cx = x - d1.x, cy = y - d1.y
    var t = shift.fSA * Math.PI / 180
    var cos = Math.cos(t), sin = Math.sin(t)
    return { "x": (cx * cos - cy * sin) * shift.fSScale + m1.x,
             "y": (cx * sin + cy * cos) * shift.fSScale + m1.y }
}

function twoMarks(marks) {
    return !!(marks && marks.length >= 2 && marks[0] && marks[1])
}

// Corrected position of a design machine point (x, y) through the marks
// (two previews, or fewer for none). Returns { ok, x, y, shift } where shift
// is the calcShift result (null without marks).
function correctedPoint(x, y, marks, env) {
    if (!twoMarks(marks))
        return { "ok": true, "x": x, "y": y, "shift": null }
    var pair = nearestFirst(marks[0], marks[1], x, y, env)
    var shift = calcShift(pair[0], pair[1], env)
    if (!shift.ok)
        return shift
    var p = transform(x, y, pair[0], shift, env)
    return { "ok": true, "x": p.x, "y": p.y, "shift": shift }
}

// Placement target of a component: { ok, x, y, z, a, boardAngle, fastZ,
// coords: [X, Y, Z, A, board angle, fast Z] }.
// marks: the two mark previews (marksFor), or fewer for none.
// nozzle: { cupLength, press }; feeder: { rot, indivPressEnabled, indivPress }.
function elSetupCoords(ep, marks, nozzle, feeder, env) {
    var bad = qsTr("Неверные данные компонента: координаты установки не вычислены")
    if (!ep || !finite(ep.rX) || !finite(ep.rY) || !finite(ep.elWidth) || !finite(ep.elHeight))
        return refused(bad)
    var press = feeder && feeder.indivPressEnabled === true ? Number(feeder.indivPress) : Number(nozzle.press)
    var thickness = Number(ep.el ? ep.el.elThickness : NaN)
    var base = Number(env.pcbThickness) + Number(nozzle.cupLength) + thickness
    var z = Math.max(base - press, Number(env.workAreaZ1))
    var fastZ = Math.min(Math.max(base + 2, Number(env.workAreaZ1)), Number(env.workAreaZ2))
    var rotation = ep.el && finite(ep.el.rot) ? Number(ep.el.rot) + Number(ep.boardRotation || 0)
                                               : Number(ep.rotation)
    var a = Geometry.minAngle(rotation - Number(feeder ? feeder.rot || 0 : 0))
    var centre = Geometry.machineCentre(ep.rX, ep.rY, ep.elWidth, ep.elHeight, env)
    var p = correctedPoint(centre.x, centre.y, marks, env)
    if (!p.ok)
        return p
    var boardAngle = p.shift ? -p.shift.fSA : 0
    var coords = [p.x, p.y, z, a, boardAngle, fastZ]
    for (var i = 0; i < coords.length; ++i)
        if (!isFinite(coords[i]))
            return refused(bad)
    return { "ok": true, "x": p.x, "y": p.y, "z": z, "a": a, "boardAngle": boardAngle, "fastZ": fastZ,
             "coords": coords }
}

// Corrected machine position of a solder dot: { ok, x, y } (or the design
// position without marks). marks: the previews on board (0,0) of the dot's
// own marks or of the defaults (marksFor with row 0, col 0).
function dotSetupCoords(dot, marks, env) {
    if (!dot || !finite(dot.rX) || !finite(dot.rY) || !finite(env.workAreaX1) || !finite(env.workAreaY2))
        return refused(qsTr("Неверные координаты точки: нанесение невозможно"))
    var d = designXY(dot.rX, dot.rY, env)
    var p = correctedPoint(d.x, d.y, marks, env)
    if (!p.ok)
        return p
    return { "ok": true, "x": p.x, "y": p.y }
}

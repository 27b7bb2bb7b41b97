import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/boardCorrection.js" as BC

// The board correction: shift, turn and scale from two measured reference
// marks, the corrected targets of components and solder dots, and what is
// refused.
TestCase {
    name: "BoardCorrection"

    // Design (rX, rY) (10, 10) and (110, 80) lie at machine (20, 390) and
    // (120, 320).
    readonly property var env: ({ "workAreaX1": 10, "workAreaY2": 400, "workAreaZ1": 0, "workAreaZ2": 100,
                                  "pcbThickness": 1.5 })
    // Far below anything the machine can tell apart, far above rounding.
    readonly property real eps: 1e-6

    function mark(rX, rY, fidX, fidY) { return { "rX": rX, "rY": rY, "fidX": fidX, "fidY": fidY } }
    function design(rX, rY) { return { "x": rX + env.workAreaX1, "y": env.workAreaY2 - rY } }
    // Point p turned by deg about c, scaled by s about c, then moved by (dx, dy).
    function moved(p, c, deg, s, dx, dy) {
        var t = deg * Math.PI / 180
        var x = p.x - c.x, y = p.y - c.y
        return { "x": c.x + s * (x * Math.cos(t) - y * Math.sin(t)) + dx,
                 "y": c.y + s * (x * Math.sin(t) + y * Math.cos(t)) + dy }
    }
    // Two marks measured where a board moved by (dx, dy), turned by deg and
    // scaled by s about the first mark puts them.
    function measuredPair(r1, r2, deg, s, dx, dy) {
        var d1 = design(r1[0], r1[1]), d2 = design(r2[0], r2[1])
        var m2 = moved(d2, d1, deg, s, dx, dy)
        return [mark(r1[0], r1[1], d1.x + dx, d1.y + dy), mark(r2[0], r2[1], m2.x, m2.y)]
    }
    function near(actual, expected, tolerance, what) {
        verify(Math.abs(actual - expected) <= tolerance,
               what + ": " + actual + " is not within " + tolerance + " of " + expected)
    }

    // ---- calcShift

    function test_calcShift_data() {
        return [
            { tag: "rotation -0.5 with shift", r2: [110, 80], deg: -0.5, s: 1, dx: -1.2, dy: 0.7 },
            { tag: "marks sharing a design Y", r2: [90, 10], deg: 0.3, s: 1, dx: 0.4, dy: -0.2 },
            { tag: "marks sharing a design X", r2: [10, 60], deg: -0.3, s: 1, dx: 0, dy: 0 },
            { tag: "scale at the limit 1.01", r2: [110, 80], deg: 0, s: 1.01, dx: 0, dy: 0 },
        ]
    }
    function test_calcShift(data) {
        var pair = measuredPair([10, 10], data.r2, data.deg, data.s, data.dx, data.dy)
        var r = BC.calcShift(pair[0], pair[1], env)
        verify(r.ok, String(r.error))
        near(r.fSX, -data.dx, eps, "fSX")
        near(r.fSY, -data.dy, eps, "fSY")
        near(r.fSA, data.deg, eps, "fSA")
        near(r.fSScale, data.s, 1e-12, "fSScale")
    }

    function test_calcShiftRefused_data() {
        var good = mark(110, 80, 120, 320)
        var badMark = "Неверные координаты реперного знака: коррекция положения платы невозможна"
        return [
            { tag: "marks 0.5 mm apart in the design", p1: mark(10, 10, 20, 390), p2: mark(10.3, 10.4, 20.3, 389.6),
              error: "Реперные знаки X: 20.00 Y: 390.00 и X: 20.30 Y: 389.60 расположены ближе 1 мм друг к другу: коррекция положения платы невозможна" },
            { tag: "marks found 0.5 mm apart", p1: mark(10, 10, 20, 390), p2: mark(110, 80, 20.5, 390),
              error: "Реперные знаки найдены ближе 1 мм друг к другу (X: 20.00 Y: 390.00 и X: 20.50 Y: 390.00): проверьте настройки распознавания реперных знаков" },
            { tag: "unmeasured first mark", p1: mark(10, 10, -1000, -1000), p2: good,
              error: "Реперный знак X: 20.00 Y: 390.00 не измерен: коррекция положения платы невозможна" },
            { tag: "failed mark", p1: mark(10, 10, 20, 390), p2: mark(110, 80, 0, 0),
              error: "Реперный знак X: 120.00 Y: 320.00 не найден: коррекция положения платы невозможна" },
            { tag: "scale 1.02", p1: mark(10, 10, 20, 390), p2: mark(110, 80, 20 + 102, 390 - 71.4),
              error: "Масштаб платы по реперным знакам равен 1.0200, допустимо от 0.99 до 1.01: проверьте положение реперных знаков" },
            { tag: "scale 0.98", p1: mark(10, 10, 20, 390), p2: mark(110, 80, 20 + 98, 390 - 68.6),
              error: "Масштаб платы по реперным знакам равен 0.9800, допустимо от 0.99 до 1.01: проверьте положение реперных знаков" },
            { tag: "missing mark", p1: mark(10, 10, 20, 390), p2: null, error: badMark },
        ]
    }
    function test_calcShiftRefused(data) {
        var r = BC.calcShift(data.p1, data.p2, data.env || env)
        compare(r.ok, false)
        compare(r.error, data.error)
        compare(r.fSA, undefined)
    }

    // The angle is the same whichever way the board is turned, with the
    // sign of the turn.
    function test_angleSign_data() {
        return [ { tag: "counter-clockwise", deg: 0.7 }, { tag: "-135 degrees", deg: -135 } ]
    }
    function test_angleSign(data) {
        var t = data.deg * Math.PI / 180
        var u = { "x": 30, "y": -40 }
        var w = { "x": u.x * Math.cos(t) - u.y * Math.sin(t), "y": u.x * Math.sin(t) + u.y * Math.cos(t) }
        near(BC.angleBetween(u, w) * 180 / Math.PI, data.deg, eps, "angle")
        near(BC.angleBetween(w, u) * 180 / Math.PI, -data.deg, eps, "reverse angle")
    }

    // ---- choice of marks

    function markObject(name) {
        return { "name": name, "previews": [[{ "name": name + "00" }, { "name": name + "01" }],
                                            [{ "name": name + "10" }, { "name": name + "11" }]] }
    }
    function test_marksFor_data() {
        return [
            { tag: "own marks", own: true, refMode: 0, row: 1, col: 0, names: ["A10", "B10"] },
            { tag: "defaults when unset", own: false, refMode: 0, row: 0, col: 1, names: ["D01", "E01"] },
            { tag: "panel-wide marks: defaults on board 0,0", own: true, refMode: 1, row: 1, col: 1,
              names: ["D00", "E00"] },
            { tag: "board without a preview", own: true, refMode: 0, row: 2, col: 0, names: [null, null] },
        ]
    }
    function test_marksFor(data) {
        var a = markObject("A"), b = markObject("B"), d = markObject("D"), e = markObject("E")
        var got = BC.marksFor(data.own ? a : null, data.own ? b : null, d, e, data.refMode, data.row, data.col)
        compare(got.map(function(p) { return p ? p.name : null }), data.names)
    }

    function test_nearestFirst_data() {
        return [
            { tag: "nearer the second", x: 115, y: 325, first: "two" },
            { tag: "half way keeps the order", x: 70, y: 355, first: "one" },
        ]
    }
    function test_nearestFirst(data) {
        var one = mark(10, 10, 20, 390), two = mark(110, 80, 120, 320)
        one.name = "one"
        two.name = "two"
        compare(BC.nearestFirst(one, two, data.x, data.y, env)[0].name, data.first)
    }

    // ---- component targets

    function ep(rX, rY, w, h, rot, boardRotation, thickness) {
        return { "el": { "rot": rot, "elThickness": thickness }, "rX": rX, "rY": rY, "elWidth": w,
                 "elHeight": h, "boardRotation": boardRotation, "rotation": rot + boardRotation }
    }
    readonly property var nozzle: ({ "cupLength": 31, "press": 1 })
    readonly property var feeder: ({ "rot": 0, "indivPressEnabled": false, "indivPress": 0.3 })

    function test_elSetupCoordsPosition_data() {
        // Component 2 x 1 with its corner at design (109, 10.5): centre at
        // design (110, 11), machine (120, 389), 100 mm right of the first mark.
        return [
            { tag: "turned 0.5 about the first mark", deg: 0.5, s: 1, dx: 0, dy: 0,
              x: 20 + 100 * Math.cos(0.5 * Math.PI / 180) + Math.sin(0.5 * Math.PI / 180),
              y: 390 + 100 * Math.sin(0.5 * Math.PI / 180) - Math.cos(0.5 * Math.PI / 180) },
            { tag: "scale 1.001", deg: 0, s: 1.001, dx: 0, dy: 0, x: 20 + 100.1, y: 390 - 1.001 },
        ]
    }
    function test_elSetupCoordsPosition(data) {
        var pair = measuredPair([10, 10], [110, 80], data.deg, data.s, data.dx, data.dy)
        var r = BC.elSetupCoords(ep(109, 10.5, 2, 1, 0, 0, 0.5), pair, nozzle, feeder, env)
        verify(r.ok, String(r.error))
        near(r.x, data.x, eps, "X")
        near(r.y, data.y, eps, "Y")
        near(r.boardAngle, -data.deg, eps, "board angle")
        compare(r.coords.length, 6)
        compare(r.coords[0], r.x)
        compare(r.coords[1], r.y)
        compare(r.coords[4], r.boardAngle)
    }

    // The nearer mark comes first; the result is the same similarity either way.
    function test_elSetupCoordsNearSecondMark() {
        var pair = measuredPair([10, 10], [110, 80], 0.4, 1.002, 0.5, -0.3)
        var d2 = design(110, 80)
        var centre = { "x": d2.x + 3, "y": d2.y - 2 }
        var expected = moved(centre, design(10, 10), 0.4, 1.002, 0.5, -0.3)
        var forward = BC.elSetupCoords(ep(112, 81.5, 2, 1, 0, 0, 0.5), pair, nozzle, feeder, env)
        var backward = BC.elSetupCoords(ep(112, 81.5, 2, 1, 0, 0, 0.5), [pair[1], pair[0]], nozzle, feeder, env)
        near(forward.x, expected.x, eps, "X")
        near(forward.y, expected.y, eps, "Y")
        near(backward.x, expected.x, eps, "X swapped")
        near(backward.y, expected.y, eps, "Y swapped")
    }

    function test_elSetupCoordsHeightsAndAngle_data() {
        return [
            { tag: "nozzle press", rot: 0, board: 0, feederRot: 0, indiv: false, z1: 0, z2: 100,
              z: 1.5 + 31 - 1 + 0.5, fastZ: 1.5 + 31 + 0.5 + 2, a: 0 },
            { tag: "feeder's own press", rot: 0, board: 0, feederRot: 0, indiv: true, z1: 0, z2: 100,
              z: 1.5 + 31 - 0.3 + 0.5, fastZ: 35, a: 0 },
            { tag: "Z at least the lowest Z", rot: 0, board: 0, feederRot: 0, indiv: false, z1: 40, z2: 100,
              z: 40, fastZ: 40, a: 0 },
            { tag: "fast Z at most the highest Z", rot: 0, board: 0, feederRot: 0, indiv: false, z1: 0, z2: 34,
              z: 32, fastZ: 34, a: 0 },
            { tag: "rotation less feeder rotation", rot: 90, board: 0, feederRot: 180, indiv: false, z1: 0,
              z2: 100, z: 32, fastZ: 35, a: -90 },
            { tag: "board rotation added and folded", rot: 170, board: 90, feederRot: 0, indiv: false, z1: 0,
              z2: 100, z: 32, fastZ: 35, a: -100 },
        ]
    }
    function test_elSetupCoordsHeightsAndAngle(data) {
        var e = { "workAreaX1": 10, "workAreaY2": 400, "workAreaZ1": data.z1, "workAreaZ2": data.z2,
                  "pcbThickness": 1.5 }
        var f = { "rot": data.feederRot, "indivPressEnabled": data.indiv, "indivPress": 0.3 }
        var pair = measuredPair([10, 10], [110, 80], 0.2, 1, 0, 0)
        var r = BC.elSetupCoords(ep(50, 50, 2, 1, data.rot, data.board, 0.5), pair, nozzle, f, e)
        verify(r.ok, String(r.error))
        near(r.z, data.z, eps, "Z")
        near(r.fastZ, data.fastZ, eps, "fast Z")
        near(r.a, data.a, eps, "A")
        compare(r.coords.slice(2, 4), [r.z, r.a])
        compare(r.coords[5], r.fastZ)
    }

    function test_elSetupCoordsWithoutMarks_data() {
        return [ { tag: "one mark only", marks: [mark(10, 10, 20, 390), null] }, { tag: "no list", marks: null } ]
    }
    function test_elSetupCoordsWithoutMarks(data) {
        var r = BC.elSetupCoords(ep(109, 10.5, 2, 1, 0, 0, 0.5), data.marks, nozzle, feeder, env)
        verify(r.ok)
        compare(r.x, 120)
        compare(r.y, 389)
        compare(r.boardAngle, 0)
    }

    function test_elSetupCoordsRefused_data() {
        return [
            { tag: "failed mark", ep: ep(50, 50, 2, 1, 0, 0, 0.5),
              marks: [mark(10, 10, 20, 390), mark(110, 80, 0, 0)], error: "не найден" },
            { tag: "NaN corner", ep: ep(NaN, 50, 2, 1, 0, 0, 0.5),
              marks: [mark(10, 10, 20, 390), mark(110, 80, 120, 320)], error: "Неверные данные компонента" },
        ]
    }
    function test_elSetupCoordsRefused(data) {
        var r = BC.elSetupCoords(data.ep, data.marks, nozzle, feeder, env)
        compare(r.ok, false)
        verify(r.error.indexOf(data.error) >= 0, r.error)
        compare(r.coords, undefined)
    }

    // ---- solder dots

    function test_dotSetupCoords_data() {
        // Dot at design (40, 30): machine (50, 370).
        return [
            // With the marks on one design Y the dot turns about the first mark.
            { tag: "marks sharing a design Y", r2: [90, 10], deg: 0.3, s: 1.002, dx: 0.2, dy: 0.1 },
            { tag: "turned and scaled", r2: [110, 80], deg: -0.25, s: 0.999, dx: -0.5, dy: 0.6 },
        ]
    }
    function test_dotSetupCoords(data) {
        var pair = measuredPair([10, 10], data.r2, data.deg, data.s, data.dx, data.dy)
        var expected = data.x !== undefined ? { "x": data.x, "y": data.y }
                                            : moved(design(40, 30), design(10, 10), data.deg, data.s, data.dx, data.dy)
        var r = BC.dotSetupCoords({ "rX": 40, "rY": 30 }, pair, env)
        verify(r.ok, String(r.error))
        near(r.x, expected.x, eps, "X")
        near(r.y, expected.y, eps, "Y")
    }

    function test_dotSetupCoordsRefused_data() {
        return [
            { tag: "failed mark", dot: { "rX": 40, "rY": 30 }, marks: [mark(10, 10, 0, 0), mark(110, 80, 120, 320)],
              error: "Реперный знак X: 20.00 Y: 390.00 не найден: коррекция положения платы невозможна" },
            { tag: "NaN dot", dot: { "rX": 40, "rY": NaN }, marks: [mark(10, 10, 20, 390), mark(110, 80, 120, 320)],
              error: "Неверные координаты точки: нанесение невозможно" },
        ]
    }
    function test_dotSetupCoordsRefused(data) {
        var r = BC.dotSetupCoords(data.dot, data.marks, env)
        compare(r.ok, false)
        compare(r.error, data.error)
    }
}

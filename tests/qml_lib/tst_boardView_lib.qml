import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/boardView.js" as BV
import "../../qml/main/job/program.js" as Program

// The board view's editing rules: the 45-degree step of a picked
// component, key moves, the rubber band (items on its edge are taken),
// the board ban of a panel (row by floor), the panel
// outlines, mark ids (never two marks with one id), bounds, the point a
// double-click adds a component at and the move of the head camera to a
// point.
TestCase {
    name: "BoardView"

    function test_rotateStep_data() {
        return [
            { tag: "30 right", angle: 30, dir: 1, expected: 45 },
            { tag: "170 right floors to 180", angle: 170, dir: 1, expected: 180 },
            { tag: "-10 left", angle: -10, dir: -1, expected: -90 }
        ]
    }
    function test_rotateStep(data) {
        compare(BV.rotateStep(data.angle, data.dir), data.expected)
    }

    // Screen up is design -Y.
    function test_keyMove() {
        compare(BV.keyMove("up"), { "dx": 0, "dy": -0.025 })
        compare(BV.keyMove("pageUp"), null)
        compare(BV.keyMove("left", 0.01), { "dx": -0.01, "dy": 0 })
    }

    // Item 10..20 x 10..20; the band in design mm.
    function test_band_data() {
        return [
            { tag: "band inside the item", band: [12, 12, 14, 14], taken: true },
            { tag: "band ends on the left edge", band: [0, 0, 10, 15], taken: true },
            { tag: "band touches a corner", band: [20, 20, 25, 25], taken: true },
            { tag: "overlap in X only", band: [12, 30, 14, 40], taken: false },
            { tag: "just left", band: [0, 0, 9.99, 30], taken: false }
        ]
    }
    function test_band(data) {
        var items = [{ rotRX: 10, rotRY: 10, rotWidth: 10, rotHeight: 10 }]
        var band = { x1: data.band[0], y1: data.band[1], x2: data.band[2], y2: data.band[3] }
        compare(BV.bandSelect(items, band), data.taken ? [0] : [])
    }
    function test_bandSeveral() {
        var items = [{ rotRX: 0, rotRY: 0, rotWidth: 1, rotHeight: 1 },
                     { rotRX: 5, rotRY: 5, rotWidth: 1, rotHeight: 1 },
                     { rotRX: NaN, rotRY: 5, rotWidth: 1, rotHeight: 1 },
                     { rotRX: 2, rotRY: 2, rotWidth: 1, rotHeight: 1 }]
        compare(BV.bandSelect(items, { x1: 1, y1: 1, x2: 5, y2: 5 }), [0, 1, 3])
        compare(BV.bandToDesign({ x1: 10, y1: 20, x2: 30, y2: 40 }, 10, 0, 2), { x1: 10, y1: 10, x2: 20, y2: 20 })
    }

    function test_banCell_data() {
        return [
            { tag: "first", index: 0, cols: 3, free: false, row: 0, col: 0 },
            { tag: "second row by floor", index: 4, cols: 3, free: false, row: 1, col: 1 },
            { tag: "free positions", index: 3, cols: 3, free: true, row: 3, col: 0 }
        ]
    }
    function test_banCell(data) {
        compare(BV.banCell(data.index, data.cols, data.free), { row: data.row, col: data.col })
    }

    function test_toggleBan() {
        var ban = BV.toggleBan([], 1, 2)
        compare(ban.length, 2)
        verify(ban[1][2] === true)
        var again = BV.toggleBan(ban, 1, 2)
        verify(again[1][2] === false)
        verify(ban[1][2] === true)            // the old table is left alone
        verify(BV.toggleBan(null, 0, 0)[0][0] === true)
    }

    function test_panelOutlines() {
        var items = [{ rX: 10, rY: 20, elWidth: 2, elHeight: 1, rotWidth: 2, rotHeight: 1 },
                     { rX: 30, rY: 24, elWidth: 2, elHeight: 2, rotWidth: 2, rotHeight: 2 },
                     { rX: 20, rY: 22, elWidth: 4, elHeight: 2, rotWidth: 2, rotHeight: 4 }]   // turned 90
        var extent = BV.componentExtent(items)
        compare(extent, { x: 10, y: 20, w: 22, h: 6 })
        compare(BV.componentExtent([]), null)
        var panel = { pcbMulti: true, pcbMultiNonstandart: false, pcbMultiCountX: 2, pcbMultiCountY: 2,
                      pcbMultiSpacingX: 50, pcbMultiSpacingY: 40 }
        var outlines = BV.panelOutlines(extent, Program.boardGrid(panel), function(x, y, w, h, r, c) {
            return Program.placeOnBoard(x, y, w, h, r, c, panel)
        })
        compare(outlines.length, 4)
        compare(outlines[3], { index: 3, row: 1, col: 1, x: 60, y: -20, w: 22, h: 6, rot: 0 })
        compare(BV.outlineAt(outlines, 70, -18).index, 3)
        compare(BV.outlineAt(outlines, 15, 21).index, 0)
        compare(BV.outlineAt(outlines, 45, 21), null)
        // A turned outline: 10 x 2 turned by 90 about its centre (5, 1).
        var turned = [{ index: 0, x: 0, y: 0, w: 10, h: 2, rot: 90 }]
        verify(BV.outlineAt(turned, 5, 5) !== null)
        compare(BV.outlineAt(turned, 9, 1), null)
    }

    function test_refId_data() {
        return [
            { tag: "none takes the next", given: -1, max: 100, ids: [101, 102], id: 103, maxId: 103 },
            { tag: "a larger id raises the highest", given: 250, max: 100, ids: [101], id: 250, maxId: 250 },
            { tag: "a smaller free id is kept", given: 50, max: 120, ids: [101, 120], id: 50, maxId: 120 },
            { tag: "an id in use takes the next free", given: 101, max: 102, ids: [101, 102], id: 103, maxId: 103 },
            { tag: "in use above the stored highest", given: 300, max: 100, ids: [300], id: 301, maxId: 301 }
        ]
    }
    function test_refId(data) {
        compare(BV.refIdFor(data.given, data.max, data.ids), { id: data.id, maxId: data.maxId })
    }

    function test_refOverlapping() {
        var marks = [{ refId: 101, rX: 10, rY: 10, size: 1, size2: 1, type: 0 },
                     { refId: 102, rX: 30, rY: 10, size: 2, size2: 4, type: 1 }]
        compare(BV.refOverlapping(marks, 10.4, 9.6).refId, 101)
        compare(BV.refOverlapping(marks, 10.6, 10), null)
        compare(BV.refOverlapping(marks, 30, 12).refId, 102)      // size2 counts for a rectangle
        compare(BV.refOverlapping(marks, 20, 10), null)
    }

    function test_bounds() {
        var env = { workAreaX1: 0, workAreaX2: 400, workAreaY1: 0, workAreaY2: 300,
                    boardX1: 50, boardY1: 50, boardMaxWidth: 200, boardMaxHeight: 100 }
        verify(BV.insideWorkArea(0, 300, env))
        verify(!BV.insideWorkArea(-0.001, 10, env))
        verify(!BV.outsideBoardArea(50, 150, env))             // edges are inside
        verify(BV.outsideBoardArea(250.01, 100, env))
        verify(!BV.allInsideBoardArea([{ rX: 60, rY: 200 }, { rX: 10, rY: 160 }], env))
    }

    // A double-click opens the add-component window only while the view is
    // idle or moving items, and only for a point of the work area (machine
    // X 10..410, Y 20..320; its edges count).
    function test_addComponentPoint_data() {
        return [
            { tag: "corner at the design origin", x: 0, y: 0, editing: true, point: { x: 10, y: 320 } },
            { tag: "far corner", x: 400, y: 300, editing: true, point: { x: 410, y: 20 } },
            { tag: "right of the work area", x: 400.5, y: 50, editing: true, point: null },
            { tag: "another action", x: 150, y: 50, editing: false, point: null },
        ]
    }
    function test_addComponentPoint(data) {
        var env = { workAreaX1: 10, workAreaX2: 410, workAreaY1: 20, workAreaY2: 320 }
        compare(BV.addComponentPoint(data.x, data.y, data.editing, env), data.point)
    }

    function test_cameraToPoint() {
        compare(BV.cameraToPointText(12.3456, -0.0001), "g0 zMax\nG0 X12.346 Y0.000")
        compare(BV.cameraToPointText(NaN, 1), null)
        compare(BV.cameraToPointText(1, Infinity), null)
    }

    function test_insert_data() {
        return [
            { tag: "first insertion", s: { moving: true, hasFeeder: true, mouseInView: true, x: 5, y: 5, lastX: null, lastY: null }, ok: true },
            { tag: "same place twice", s: { moving: true, hasFeeder: true, mouseInView: true, x: 5, y: 5, lastX: 5, lastY: 5 }, ok: false },
            { tag: "no feeder", s: { moving: true, hasFeeder: false, mouseInView: true, x: 5, y: 5, lastX: null, lastY: null }, ok: false },
        ]
    }
    function test_insert(data) {
        compare(BV.insertAllowed(data.s), data.ok)
    }
}

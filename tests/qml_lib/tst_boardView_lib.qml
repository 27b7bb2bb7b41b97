import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/boardView.js" as BV

// The board view's editing rules: the 45-degree step of a picked
// component, the board ban of a panel (row by floor), mark ids (never two
// marks with one id), bounds, the point a double-click adds a component at
// and the move of the head camera to a point.
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

    function test_banCell_data() {
        return [
            { tag: "first", index: 0, cols: 3, free: false, row: 0, col: 0 },
            { tag: "second row by floor", index: 5, cols: 3, free: false, row: 1, col: 2 },
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
}

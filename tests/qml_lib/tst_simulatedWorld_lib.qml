import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/simulatedWorld.js" as World

// The world of the simulated head camera built from a project: boards of a
// panel, marks and dots in machine coordinates, the pivot of the board's
// turn and the calibration marks beyond the camera offset.
TestCase {
    name: "SimulatedWorldLibrary"

    // Work area corner X 10, Y2 500; a board of 80 x 60 mm at (100, 100);
    // one mark with the project's settings, one with its own.
    function input(changes) {
        var i = {
            "workAreaX1": 10, "workAreaY2": 500, "cameraShift": [-30, 15],
            "board": { "x": 100, "y": 100, "width": 80, "height": 60, "anchorX": 100, "anchorY": 100, "rotation": 0 },
            "panel": { "pcbMulti": false, "pcbMultiNonstandart": false, "pcbMultiCountX": 1, "pcbMultiCountY": 1,
                       "pcbMultiSpacingX": 0, "pcbMultiSpacingY": 0, "free": [], "freeCount": 0,
                       "Y2": 500, "bX1": 5, "bY1": 7, "fX": 30, "fY": 400 },
            "refMode": 0,
            "refs": [{ "rX": 105, "rY": 105, "indiv": false, "type": 1, "size": 1, "size2": 1 },
                     { "rX": 175, "rY": 155, "indiv": true, "type": 1, "size": 1.2, "size2": 0.8 }],
            "refDefaults": { "type": 0, "size": 1.5, "size2": 1.5 },
            "dots": [{ "rX": 160, "rY": 130, "size": 0.5 }],
            "calib": { "x": 30, "y": 250, "second": false, "x2": 400, "y2": 250, "type": 0, "size": 1, "size2": 1 }
        }
        for (var key in changes) {
            if (typeof changes[key] === "object" && !Array.isArray(changes[key]) && i[key]) {
                for (var k in changes[key])
                    i[key][k] = changes[key][k]
            } else {
                i[key] = changes[key]
            }
        }
        return i
    }

    function near(actual, expected, what) {
        verify(Math.abs(actual - expected) < 1e-9, what + ": " + actual + " instead of " + expected)
    }
    function nearPoint(actual, expected, what) {
        near(actual[0], expected[0], what + " x")
        near(actual[1], expected[1], what + " y")
    }

    function test_singleBoard() {
        var w = World.build(input({}))
        compare(w.boards.length, 1)
        var corners = [[110, 400], [190, 400], [190, 340], [110, 340]]
        for (var i = 0; i < 4; ++i)
            nearPoint(w.boards[0][i], corners[i], "corner " + i)
        compare(w.marks.length, 2)
        // Without its own settings a mark has the project's shape and size.
        compare([w.marks[0].x, w.marks[0].y, w.marks[0].shape, w.marks[0].size, w.marks[0].size2],
                [115, 395, "round", 1.5, 1.5])
        compare([w.marks[1].x, w.marks[1].y, w.marks[1].shape, w.marks[1].size, w.marks[1].size2],
                [185, 345, "square", 1.2, 0.8])
        compare(w.dots, [{ "x": 170, "y": 370, "size": 0.5 }])
        compare(w.pivot, [115, 395])
        compare(w.cameraShift, [-30, 15])
        // The camera over the calibration mark stands at (calibX, calibY).
        compare(w.tableMarks, [{ "x": 0, "y": 265, "shape": "round", "size": 1, "size2": 1 }])
    }

    function test_panels_data() {
        var grid = { "pcbMulti": true, "pcbMultiCountX": 2, "pcbMultiCountY": 2, "pcbMultiSpacingX": 90,
                     "pcbMultiSpacingY": 70 }
        return [
            // Board (row 1, column 1) lies 90 mm right and 70 mm further along Y.
            { tag: "2 x 2, marks on every board", panel: grid, refMode: 0, boards: 4, marks: 8,
              corner: [3, 0, [200, 470]], mark: [6, [205, 465]], angle: 0 },
            { tag: "2 x 2, two marks for the panel", panel: grid, refMode: 1, boards: 4, marks: 2,
              corner: [1, 1, [280, 400]], mark: [1, [185, 345]], angle: 0 },
            // Free board turned 180 degrees at (150, 120): first board at (30, 400),
            // placement area corner (5, 7).
            { tag: "free board turned 180", refMode: 0, boards: 2, marks: 4,
              panel: { "pcbMulti": true, "pcbMultiNonstandart": true, "freeCount": 2,
                       "free": [{ "x": 0, "y": 0, "rot": 0 }, { "x": 150, "y": 120, "rot": 180 }] },
              corner: [1, 0, [100, 134]], mark: [2, [95, 139]], angle: -180 }
        ]
    }
    function test_panels(data) {
        var w = World.build(input({ "panel": data.panel, "refMode": data.refMode }))
        compare(w.boards.length, data.boards)
        compare(w.marks.length, data.marks)
        nearPoint(w.boards[data.corner[0]][data.corner[1]], data.corner[2], "corner")
        var m = w.marks[data.mark[0]]
        nearPoint([m.x, m.y], data.mark[1], "mark")
        compare(m.angle, data.angle)
        // The pivot is the first mark of the first board.
        compare(w.pivot, [115, 395])
    }

    // The board picture turned about its anchor (clockwise on the screen):
    // the outline follows; marks keep their own design positions.
    function test_turnedBoardPicture() {
        var w = World.build(input({ "board": { "rotation": 90 } }))
        nearPoint(w.boards[0][0], [110, 400], "anchor corner")
        nearPoint(w.boards[0][1], [110, 320], "corner along the board's X")
        nearPoint(w.boards[0][3], [50, 400], "corner along the board's Y")
        compare([w.marks[0].x, w.marks[0].y], [115, 395])
    }

    function test_secondCalibrationMark() {
        var w = World.build(input({ "calib": { "second": true, "type": 1, "size": 2, "size2": 1 } }))
        compare(w.tableMarks, [{ "x": 0, "y": 265, "shape": "square", "size": 2, "size2": 1 },
                               { "x": 370, "y": 265, "shape": "square", "size": 2, "size2": 1 }])
    }

    function test_pivotWithoutMarks() {
        var w = World.build(input({ "refs": [] }))
        compare(w.marks, [])
        compare(w.pivot, [150, 370])
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/simulatedWorld.js" as World

// The world of the simulated head camera built from a project: the board,
// marks and dots in machine coordinates, the pivot of the board's turn, the
// calibration mark beyond the camera offset and the feeders' pockets.
TestCase {
    name: "SimulatedWorldLibrary"

    // Work area corner X 10, Y2 500; a board of 80 x 60 mm at (100, 100);
    // one mark with the project's settings, one with its own.
    function input() {
        return {
            "workAreaX1": 10, "workAreaY2": 500, "cameraShift": [-30, 15],
            "board": { "x": 100, "y": 100, "width": 80, "height": 60, "anchorX": 100, "anchorY": 100, "rotation": 0 },
            "panel": { "pcbMulti": false, "pcbMultiNonstandart": false, "pcbMultiCountX": 1, "pcbMultiCountY": 1,
                       "pcbMultiSpacingX": 0, "pcbMultiSpacingY": 0, "free": [], "freeCount": 0 },
            "refMode": 0,
            "refs": [{ "rX": 105, "rY": 105, "indiv": false, "type": 1, "size": 1, "size2": 1 },
                     { "rX": 175, "rY": 155, "indiv": true, "type": 1, "size": 1.2, "size2": 0.8 }],
            "refDefaults": { "type": 0, "size": 1.5, "size2": 1.5 },
            "dots": [{ "rX": 160, "rY": 130, "size": 0.5 }],
            "calib": { "x": 30, "y": 250, "second": false, "x2": 400, "y2": 250, "type": 0, "size": 1, "size2": 1 }
        }
    }

    function near(actual, expected, what) {
        verify(Math.abs(actual - expected) < 1e-9, what + ": " + actual + " instead of " + expected)
    }
    function nearPoint(actual, expected, what) {
        near(actual[0], expected[0], what + " x")
        near(actual[1], expected[1], what + " y")
    }

    function test_singleBoard() {
        var w = World.build(input())
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
        // The camera over the calibration mark stands at (calibX, calibY).
        compare(w.tableMarks, [{ "x": 0, "y": 265, "shape": "round", "size": 1, "size2": 1 }])
    }

    // The feeders' pockets: a tape every 4 mm along Y on the bottom bank,
    // a tray's cells row by row, a strip's pockets
    // between its ends; pick heights from the tape bank, the tray's Z, the
    // feeder's nozzle and the part's thickness. Feeders without a package, a
    // pick position or pockets are left out.
    function feederInput() {
        var tape = { "type": 3, "pack": "0603", "caseX": 60, "caseY": 20, "bankNumber": 1, "bandStep": 1,
                     "cupNumber": 1, "elWidth": 1.6, "elHeight": 0.8, "elThickness": 0.45, "rot": 90,
                     "caseCurrNumber": 0 }
        var tray = { "type": 1, "pack": "1206", "caseX": 20, "caseY": 100, "cutX2": 40, "cutY2": 110, "caseZ": 3,
                     "caseRowsX": 3, "caseRowsY": 2, "cupNumber": 0, "elWidth": 3.2, "elHeight": 1.6,
                     "elThickness": 0.6, "rot": 0, "caseCurrNumber": 4 }
        var strip = { "type": 5, "pack": "0805", "caseX": 250, "caseY": 450, "cutX2": 258, "cutY2": 450,
                      "cutDistance": 4, "caseZ": 2, "cupNumber": 0, "elWidth": 2, "elHeight": 1.25,
                      "elThickness": 0.5, "rot": 0 }
        return {
            "banks": [{ "letter": "L", "feeders": [tray, { "type": 2, "pack": "0603", "caseX": 5, "caseY": 5 }] },
                      { "letter": "B", "feeders": [{ "type": 3, "pack": "", "caseX": 60, "caseY": 20 }, tape,
                                                   { "type": 3, "pack": "0603", "caseX": -1, "caseY": -1 }] },
                      { "letter": "U", "feeders": [strip] }],
            "bandBanks": [{ "position": 3, "zShift": 0 }, { "position": 0, "zShift": 5 }],
            "cups": [{ "cupLength": 31, "press": 1 }, { "cupLength": 15, "press": 0.5 }]
        }
    }

    function test_feeders() {
        var list = World.feeders(feederInput())
        compare(list.length, 3)
        var tray = list[0], tape = list[1], strip = list[2]
        compare([tray.bank, tray.index, tape.bank, tape.index, strip.bank, strip.index], ["L", 0, "B", 1, "U", 0])

        compare(tape.refills, true)
        compare(tape.pockets, [[60, 12], [60, 16], [60, 20], [60, 24], [60, 28]])
        near(tape.pickZ, 5 + 15 + 0.45 - 0.5, "tape pick Z")
        compare([tape.width, tape.height, tape.thickness, tape.angle], [1.6, 0.8, 0.45, 90])

        compare(tray.refills, false)
        compare(tray.pockets, [[20, 100], [30, 100], [40, 100], [20, 110], [30, 110], [40, 110]])
        near(tray.pickZ, 3 + 31 + 0.6 - 1, "tray pick Z")
        compare(tray.current, 4)

        compare(strip.pockets, [[250, 450], [254, 450], [258, 450]])
        near(strip.pickZ, 2 + 31 + 0.5 - 1, "strip pick Z")
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/geometry.js" as Geometry
import "../../qml/main/lib/boardView.js" as BV
import "../../qml/main/lib/importing.js" as Importing
import "../../qml/main/job/boardCorrection.js" as BC
import "../../qml/main/job/checkTable.js" as CheckTable
import "../../qml/main/job/program.js" as Program

// The one angle fold and the one design-to-machine transform, and every
// piece that uses them giving the same answer.
TestCase {
    name: "GeometryLibrary"

    // A half turn is 180, never -180, whatever way the sum came there.
    function test_minAngle_data() {
        return [
            { tag: "180 stays", angle: 180, expected: 180 },
            { tag: "-180 is 180", angle: -180, expected: 180 },
            { tag: "just above 180 wraps", angle: 180.5, expected: -179.5 },
            { tag: "270 is -90", angle: 270, expected: -90 }
        ]
    }
    function test_minAngle(data) {
        fuzzyCompare(Geometry.minAngle(data.angle), data.expected, 1e-9)
    }

    // Every caller folds the same way: import, the board view's turn key,
    // the check table's rotation and the placement angle of a run.
    function test_callersFoldAlike_data() {
        return [ { tag: "half turn", sum: 180 }, { tag: "minus half turn", sum: -180 },
                 { tag: "three quarters", sum: 270 } ]
    }
    function test_callersFoldAlike(data) {
        var folded = Geometry.minAngle(data.sum)
        var area = { "x1": 0, "y1": 0, "x2": 400, "y2": 300 }
        compare(Importing.placement(100, 100, data.sum - 90, 90, 0, 2, 1, area).angle, folded)
        compare(BV.rotateStep(data.sum - 45, 1), folded)
        compare(CheckTable.rotate(data.sum - 10, 10), folded)
        var ep = { "el": { "rot": data.sum, "elThickness": 1 }, "rX": 10, "rY": 10, "elWidth": 2, "elHeight": 1,
                   "boardRotation": 0 }
        compare(BC.elSetupCoords(ep, [], { "cupLength": 30, "press": 1 }, { "rot": 0 }, env()).a, folded)
        var el = { "rX": 10, "rY": 10, "elWidth": 2, "elHeight": 1, "rot": data.sum }
        compare(Program.elementPreviews(el, { "pcbMulti": false })[0][0].rotation, folded)
    }

    function env() {
        return { "workAreaX1": 12.5, "workAreaY2": 480.3, "workAreaZ1": 0, "workAreaZ2": 100, "pcbThickness": 1.6,
                 "workAreaX2": 500, "workAreaY1": 0, "boardX1": 20, "boardY1": 30, "boardMaxWidth": 300,
                 "boardMaxHeight": 200 }
    }

    function test_machinePoint() {
        compare(Geometry.machinePoint(10, 20, env()), { "x": 22.5, "y": 460.3 })
        compare(Geometry.machineCentre(10, 20, 4, 2, env()), { "x": 24.5, "y": 459.3 })
        var d = Geometry.designPoint(22.5, 460.3, env())
        compare(d.rX, 10)
        fuzzyCompare(d.rY, 20, 1e-9)
    }

    // Every other caller's own tests hold its exact machine points; these
    // two have none elsewhere: a mark imported from machine coordinates
    // and a dot placed without marks.
    function test_importAndDotWithoutMarks() {
        var e = env()
        var point = Geometry.machinePoint(33.37, 101.91, e)
        var back = Importing.refPlacement(point.x, point.y, { "x1": e.workAreaX1, "y1": 0, "x2": 500,
                                                              "y2": e.workAreaY2 })
        fuzzyCompare(back.rX, 33.37, 1e-9)
        fuzzyCompare(back.rY, 101.91, 1e-9)
        var dot = BC.dotSetupCoords({ "rX": 33.37, "rY": 101.91 }, [], e)
        compare([dot.x, dot.y], [point.x, point.y])
    }

    // A placement's centre on the edge of the placement area is inside, a
    // hair beyond it is not; the same edge for the program and the view.
    function test_insideBoard_data() {
        // Machine centre x = rX + 1 + 12.5; board area x 20 ... 320.
        return [ { tag: "left edge", rX: 6.5, inside: true }, { tag: "left beyond", rX: 6.49, inside: false },
                 { tag: "right edge", rX: 306.5, inside: true }, { tag: "right beyond", rX: 306.51, inside: false } ]
    }
    function test_insideBoard(data) {
        var ep = { "rX": data.rX, "rY": 300, "elWidth": 2, "elHeight": 2 }
        compare(Program.allInsideBoard([ep], env()), data.inside)
        compare(BV.allInsideBoardArea([{ "rX": data.rX + 1, "rY": 301 }], env()), data.inside)
    }
}

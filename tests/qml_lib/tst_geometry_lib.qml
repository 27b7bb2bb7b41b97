import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/geometry.js" as Geometry
import "../../qml/main/lib/boardView.js" as BV
import "../../qml/main/lib/importing.js" as Importing
import "../../qml/main/lib/simulatedWorld.js" as World
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
            { tag: "540 is 180", angle: 540, expected: 180 },
            { tag: "-540 is 180", angle: -540, expected: 180 },
            { tag: "just above -180 stays", angle: -179.9, expected: -179.9 },
            { tag: "just above 180 wraps", angle: 180.5, expected: -179.5 },
            { tag: "-270 is 90", angle: -270, expected: 90 },
            { tag: "270 is -90", angle: 270, expected: -90 },
            { tag: "360 is 0", angle: 360, expected: 0 },
            { tag: "45 stays", angle: 45, expected: 45 },
            { tag: "text", angle: "-90", expected: -90 }
        ]
    }
    function test_minAngle(data) {
        fuzzyCompare(Geometry.minAngle(data.angle), data.expected, 1e-9)
    }

    // Every caller folds the same way: import, the board view's turn key,
    // the check table's rotation and the placement angle of a run.
    function test_callersFoldAlike_data() {
        return [ { tag: "half turn", sum: 180 }, { tag: "minus half turn", sum: -180 },
                 { tag: "three quarters", sum: 270 }, { tag: "minus three quarters", sum: -270 } ]
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

    // Design points and footprints; each row goes through every caller.
    function test_callersAgree_data() {
        return [
            { tag: "whole", rX: 10, rY: 20, w: 4, h: 2 },
            { tag: "fractions", rX: 33.37, rY: 101.91, w: 1.6, h: 0.8 },
            { tag: "on the corner", rX: 0, rY: 0, w: 0, h: 0 },
            { tag: "far corner", rX: 487.5, rY: 480.3, w: 0.5, h: 0.5 }
        ]
    }
    function test_callersAgree(data) {
        var e = env()
        var point = Geometry.machinePoint(data.rX, data.rY, e)
        var centre = Geometry.machineCentre(data.rX, data.rY, data.w, data.h, e)
        // Board correction: a mark's design point, a dot and a placement
        // without marks land on the plain transform.
        compare(BC.designXY(data.rX, data.rY, e), point)
        compare(BC.designPoint({ "rX": data.rX, "rY": data.rY }, e), point)
        var dot = BC.dotSetupCoords({ "rX": data.rX, "rY": data.rY }, [], e)
        compare([dot.x, dot.y], [point.x, point.y])
        var ep = { "el": { "rot": 0, "elThickness": 1 }, "rX": data.rX, "rY": data.rY,
                   "elWidth": data.w, "elHeight": data.h, "boardRotation": 0 }
        var target = BC.elSetupCoords(ep, [], { "cupLength": 30, "press": 1 }, { "rot": 0 }, e)
        compare([target.x, target.y], [centre.x, centre.y])
        // The program's component line shows the same centre.
        compare(Program.componentLineText({ "el": {}, "rX": data.rX, "rY": data.rY, "elWidth": data.w,
                                            "elHeight": data.h, "rotation": 0, "row": 0, "col": 0 }, e),
                "X: " + centre.x.toFixed(2) + "; Y: " + centre.y.toFixed(2) + "; Поворот: 0")
        // The board view's double-click and the simulated camera's world.
        compare(BV.addComponentPoint(data.rX, data.rY, true, e), point)
        var world = World.build({ "workAreaX1": e.workAreaX1, "workAreaY2": e.workAreaY2, "cameraShift": [0, 0],
                                  "board": { "x": 0, "y": 0, "width": 1, "height": 1, "anchorX": 0, "anchorY": 0,
                                             "rotation": 0 },
                                  "panel": { "pcbMulti": false }, "refMode": 0,
                                  "refs": [{ "rX": data.rX, "rY": data.rY, "indiv": false }],
                                  "refDefaults": { "type": 0, "size": 1, "size2": 1 },
                                  "dots": [{ "rX": data.rX, "rY": data.rY, "size": 1 }],
                                  "calib": { "x": 0, "y": 0, "second": false } })
        compare(world.dots[0].x, point.x)
        compare(world.dots[0].y, point.y)
        compare([world.marks[0].x, world.marks[0].y], [point.x, point.y])
        // Import goes back the other way.
        var back = Importing.refPlacement(point.x, point.y, { "x1": e.workAreaX1, "y1": 0, "x2": 500,
                                                              "y2": e.workAreaY2 })
        fuzzyCompare(back.rX, data.rX, 1e-9)
        fuzzyCompare(back.rY, data.rY, 1e-9)
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

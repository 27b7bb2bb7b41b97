import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/addComponent.js" as AddComponent
import "JobRig.js" as J

// The add-component window's rules: the banks it offers, the operator's
// numbers, and the component it creates at a machine point (the design
// corner from the point less half the body) or why it creates none.
//
// Work area: machine X 10..410, Y 20..320. Feeder B 1 holds a 1.6 x 0.8 part.
TestCase {
    name: "AddComponent"

    readonly property var banks: ({ "B": { "enabled": true, "count": 3 }, "U": { "enabled": true, "count": 0 },
                                    "R": { "enabled": false, "count": 5 }, "L": { "enabled": true, "count": 2 } })
    function env() {
        return { "workAreaX1": 10, "workAreaX2": 410, "workAreaY1": 20, "workAreaY2": 320, "banks": banks }
    }
    function feeder(type, packageIndex) {
        return { "type": type === undefined ? 3 : type, "packageIndex": packageIndex === undefined ? 4 : packageIndex,
                 "elWidth": 1.6, "elHeight": 0.8 }
    }
    function input(changes) {
        return J.merged({ "model": "B", "index": 0, "designator": " R7 ", "angle": 90, "x": 160,
                          "y": 270 }, changes)
    }

    function test_bankChoices_data() {
        return [
            { tag: "enabled banks with feeders, B U R L", banks: banks,
              choices: [{ "model": "B", "count": 3 }, { "model": "L", "count": 2 }] },
            { tag: "no banks", banks: null, choices: [] },
        ]
    }
    function test_bankChoices(data) { compare(AddComponent.bankChoices(data.banks), data.choices) }

    function test_componentAt_data() {
        return [
            // rX = 160 - 10 - 0.8, rY = 320 - 270 - 0.4.
            { tag: "placed", input: input({}), feeder: feeder(),
              result: { "error": "", "model": "B", "index": 0, "rX": 149.2, "rY": 49.6, "angle": 90,
                        "designator": "R7" } },
            { tag: "typed texts, decimal comma", input: input({ "x": "110,5", "y": "20", "angle": "-90",
                                                                "model": "L", "index": 1 }), feeder: feeder(),
              result: { "error": "", "model": "L", "index": 1, "rX": 99.7, "rY": 299.6, "angle": -90,
                        "designator": "R7" } },
            { tag: "on the far edge", input: input({ "x": 410, "y": 20 }), feeder: feeder(),
              result: { "error": "", "model": "B", "index": 0, "rX": 399.2, "rY": 299.6, "angle": 90,
                        "designator": "R7" } },
            { tag: "X not a number", input: input({ "x": "x" }), feeder: feeder(), result: { "error": "coordinates" } },
            { tag: "right of the work area", input: input({ "x": 410.01 }), feeder: feeder(),
              result: { "error": "outside" } },
            { tag: "disabled bank", input: input({ "model": "R" }), feeder: feeder(), result: { "error": "noFeeder" } },
            { tag: "dispenser", input: input({}), feeder: feeder(6), result: { "error": "dispenser" } },
            { tag: "feeder without package", input: input({}), feeder: feeder(3, -1), result: { "error": "noPackage" } },
            { tag: "rotation not a number", input: input({ "angle": "90°" }), feeder: feeder(),
              result: { "error": "rotation" } },
        ]
    }
    function test_componentAt(data) {
        var r = AddComponent.componentAt(data.input, data.feeder, env())
        if (r.rX !== undefined) {
            // Exact to rounding: compare the design position separately.
            fuzzyCompare(r.rX, data.result.rX, 1e-9)
            fuzzyCompare(r.rY, data.result.rY, 1e-9)
            r.rX = data.result.rX
            r.rY = data.result.rY
        }
        compare(r, data.result)
    }
}

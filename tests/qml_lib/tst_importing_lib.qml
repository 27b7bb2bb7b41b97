import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/importing.js" as Importing

// Placement list and BOM import without the program: where an imported
// component lands, the feeder written from a package record and the
// automatic feeder assignment.
TestCase {
    name: "ImportingLibrary"

    readonly property var area: ({ "x1": 0, "y1": 0, "x2": 400, "y2": 300 })

    // A 2 x 1 component: its corner is its machine centre less half the
    // body, in design coordinates; the angle sums the file's, the group's
    // and the extra turn.
    function test_placement_data() {
        return [
            { tag: "inside", x: 60, y: 50, rX: 59, rY: 249.5, inside: true },
            { tag: "left of the work area", x: -5, y: 50, rX: -6, rY: 249.5, inside: false }
        ]
    }
    function test_placement(data) {
        compare(Importing.placement(data.x, data.y, 90, 90, -90, 2, 1, area),
                { "rX": data.rX, "rY": data.rY, "angle": 90, "inside": data.inside })
    }

    function test_feederRotation() {
        var banks = [["R", 5], ["R", 3], ["B", 3], ["U", 3], ["L", 3]]
        compare(banks.map(function(b) { return Importing.feederRotation(b[0], b[1]) }), [-90, 180, -90, 90, 0])
    }

    function test_importedFeeder() {
        // A tape widened from 8 to 24 mm on the bottom bank moves its pick
        // point by half the change; six nozzles fitted, the package wants 7.
        var f = Importing.importedFeeder({ "type": 3, "bandWidth": 0, "caseX": 100, "caseY": 20,
                                           "cutDistance": 4, "centeringZ": 9 },
                                         { "name": "QFP64", "A": 12, "B": 12, "H": 1.6, "cupNumber": 7,
                                           "bandStep": 4, "slowPick": false, "cameraIndiv": false,
                                           "centerType": 2 },
                                         { "partNumber": "STM32", "designators": "U1", "bandWidth": 3 }, "B", 6,
                                         true)
        compare([f.pack, f.comment, f.cupNumber, f.rot, f.cutDistance, f.bandWidth, f.caseX, f.caseY,
                 f.centeringZ],
                ["QFP64", "U1", 5, -90, 16, 3, 100, 28, 2.1])
        // A tray keeps its rotation and always picks slowly.
        var tray = Importing.importedFeeder({ "type": 1, "bandWidth": 0, "caseX": 5, "caseY": 5, "cutDistance": 2 },
                                            { "name": "X", "A": 1, "B": 1, "H": 1, "cupNumber": 0, "bandStep": 0,
                                              "slowPick": false },
                                            { "partNumber": "p", "bandWidth": 0 }, "R", 6, false)
        compare([tray.slowPick, tray.rot, tray.cutDistance], [true, undefined, 2])
    }

    function test_autoAssign() {
        var banks = {
            "B": [{ "pack": "0603", "partNumber": "10k", "used": true }, { "pack": "", "partNumber": "", "used": false },
                  { "pack": "0805", "partNumber": "1u", "used": true },
                  { "pack": "0805", "partNumber": "2u", "used": false }],
            "U": [{ "pack": "", "partNumber": "", "used": false }, { "pack": "", "partNumber": "", "used": false }] }
        var ranges = { "w8": { "bank": 0, "first": 0, "last": 3 }, "w12_16": { "bank": 1, "first": 1, "last": 5 } }
        var lines = [{ "pack": "0603", "partNumber": "4k7", "bandWidth": 0, "known": true },
                     { "pack": "0603", "partNumber": "10K", "bandWidth": 0, "known": true },
                     { "pack": "SOIC8", "partNumber": "NE555", "bandWidth": 1, "known": true },
                     { "pack": "0402", "partNumber": "1k", "bandWidth": 0, "known": true },
                     { "pack": "BGA", "partNumber": "x", "bandWidth": 6, "known": false },
                     { "pack": "0402", "partNumber": "2k", "bandWidth": 0, "known": true }]
        // 10K finds its own feeder though listed later; 4k7 the empty one;
        // the 12 mm range starts at 1; 1k a feeder the project does not
        // use; BGA has no package; 2k finds its range full.
        compare(Importing.autoAssign(lines, banks, ranges).map(function(a) { return a.model + a.index }),
                ["B1", "B0", "U1", "B3", "-1", "-1"])
    }
}

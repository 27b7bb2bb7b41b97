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
        compare(banks.map(function(b) { return Importing.feederRotation(b[0], b[1]) }),
                [-90, 180, -90, 90, 0])
    }

    function test_importedFeeder() {
        // A tape widened from 8 to 24 mm on the bottom bank moves its pick
        // point by half the change; six nozzles fitted, the package wants 7.
        var tape = { "type": 3, "bandWidth": 0, "caseX": 100, "caseY": 20, "cutDistance": 4,
                     "centeringZ": 9 }
        var qfp = { "name": "QFP64", "A": 12, "B": 12, "H": 1.6, "cupNumber": 7, "bandStep": 4,
                    "slowPick": false, "cameraIndiv": false, "centerType": 2 }
        var f = Importing.importedFeeder(tape, qfp, { "partNumber": "STM32", "designators": "U1",
                                                      "bandWidth": 3 }, "B", 6, true)
        compare([f.pack, f.comment, f.cupNumber, f.rot, f.cutDistance, f.bandWidth],
                ["QFP64", "U1", 5, -90, 16, 3])
        compare([f.caseX, f.caseY, f.centeringZ], [100, 28, 2.1])
        // A tray keeps its rotation and always picks slowly.
        var tray = Importing.importedFeeder({ "type": 1, "bandWidth": 0, "caseX": 5, "caseY": 5,
                                              "cutDistance": 2 },
                                            { "name": "X", "A": 1, "B": 1, "H": 1, "cupNumber": 0,
                                              "bandStep": 0, "slowPick": false },
                                            { "partNumber": "p", "bandWidth": 0 }, "R", 6, false)
        compare([tray.slowPick, tray.rot, tray.cutDistance], [true, undefined, 2])
    }

    function feeder(pack, partNumber, used) {
        return { "pack": pack, "partNumber": partNumber, "used": used }
    }
    function line(pack, partNumber, bandWidth) {
        return { "pack": pack, "partNumber": partNumber, "bandWidth": bandWidth,
                 "known": pack !== "BGA" }
    }
    function test_autoAssign() {
        var banks = { "B": [feeder("0603", "10k", true), feeder("", "", false),
                            feeder("0805", "1u", true), feeder("0805", "2u", false)],
                      "U": [feeder("", "", false), feeder("", "", false)] }
        var ranges = { "w8": { "bank": 0, "first": 0, "last": 3 },
                       "w12_16": { "bank": 1, "first": 1, "last": 5 } }
        var lines = [line("0603", "4k7", 0), line("0603", "10K", 0), line("SOIC8", "NE555", 1),
                     line("0402", "1k", 0), line("BGA", "x", 6), line("0402", "2k", 0)]
        // 10K finds its own feeder though listed later; 4k7 the empty one;
        // the 12 mm range starts at 1; 1k a feeder the project does not
        // use; BGA has no package; 2k finds its range full.
        var assigned = Importing.autoAssign(lines, banks, ranges)
        compare(assigned.map(function(a) { return a.model + a.index }),
                ["B1", "B0", "U1", "B3", "-1", "-1"])
    }
}

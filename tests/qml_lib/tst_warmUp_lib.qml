import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/coords.js" as Coords
import "../../qml/main/job/gcodeTexts.js" as GCodeTexts
import "../../qml/main/machine/warmUp.js" as WarmUp

// The warm-up program and the pieces it is made of: coordinates in G-code
// text and the speed prefixes.
TestCase {
    name: "WarmUpLibrary"

    // X, Y, Z, A, B, C maxima (per second) and X, Y, Z, A accelerations.
    property var maxVel: [100, 150, 50, 720, 30, 30]
    property var maxAcc: [800, 1200, 400, 2000]

    function test_fixed_data() {
        return [
            { tag: "two decimals", value: 12.345, decimals: 2, text: "12.35" },
            { tag: "negative zero", value: -0.001, decimals: 2, text: "0.00" },
            { tag: "NaN", value: NaN, decimals: 2, text: null },
            { tag: "null", value: null, decimals: 2, text: null },
            { tag: "empty text", value: "", decimals: 2, text: null },
            { tag: "false", value: false, decimals: 2, text: null },
        ]
    }
    function test_fixed(data) {
        compare(Coords.fixed(data.value, data.decimals), data.text)
    }

    // With the machine's maxima unknown only full speed and acceleration
    // have a prefix (g0); nothing else can be written.
    function test_speedPrefixes_data() {
        return [
            { tag: "full", speed: 100, acc: 100, z: "g0 ", xy: "g0 " },
            { tag: "full speed, slow acceleration", speed: 100, acc: 15,
              z: "g1 f3000   acc60 ", xy: "g1 f9000  acc180 " },
            { tag: "rounded", speed: 33, acc: 33, z: "g1 f990   acc132 ", xy: "g1 f2970  acc396 " },
            { tag: "no maxima", speed: 50, acc: 50, vel: [], acc2: [], z: null, xy: null },
            { tag: "no maxima, full speed", speed: 100, acc: 100, vel: [], acc2: [], z: "g0 ", xy: "g0 " },
            { tag: "no accelerations", speed: 100, acc: 50, acc2: [], z: null, xy: null },
            { tag: "speed not a number", speed: NaN, acc: 100, z: null, xy: null },
        ]
    }
    function test_speedPrefixes(data) {
        var vel = data.vel || maxVel, acc = data.acc2 || maxAcc
        compare(GCodeTexts.zSpeed(data.speed, data.acc, vel, acc), data.z)
        compare(GCodeTexts.xySpeed(data.speed, data.acc, vel, acc), data.xy)
    }

    function repeated(lines, times) {
        var out = []
        for (var i = 0; i < times; ++i)
            out = out.concat(lines)
        return out
    }

    function test_program() {
        var text = WarmUp.program({ "x1": 10, "y1": 20, "x2": 400, "y2": 300.5 }, 15, maxVel, maxAcc)
        var ll = " x11.00 y21.00", ur = " x399.00 y299.50", ul = " x11.00 y299.50", lr = " x399.00 y21.00"
        var expected = ["g1 f3000   acc60  zMax", "g1 f9000  acc180  x11.00 y21.00", "g1 f9000  acc180  x399.00 y299.50"]
        expected = expected.concat(repeated(["g0" + ll + " a360", "g0" + ur + " a000"], 21))
        expected = expected.concat(repeated(["g0" + ul + " a360", "g0" + lr + " a000"], 21))
        expected = expected.concat(repeated(["g0" + ll + " a360", "g0" + lr + " a000", "g0" + ur + " a360",
                                             "g0" + ul + " a000"], 21))
        expected = expected.concat(repeated(["g0" + ul + " a360", "g0" + ur + " a000", "g0" + lr + " a360",
                                             "g0" + ll + " a000"], 21))
        expected = expected.concat(repeated(["g0" + ll + " a360", "g0" + ur + " a000"], 21))
        expected = expected.concat(repeated(["g0" + ul + " a360", "g0" + lr + " a000"], 21))
        compare(text.split("\n").length, 3 + 21 * 16)
        compare(text, expected.join("\n"))
    }

    function test_programRefused_data() {
        return [
            { tag: "X2 not a number", area: { "x1": 0, "y1": 0, "x2": NaN, "y2": 300 }, vel: maxVel },
            { tag: "machine maxima unknown", area: { "x1": 0, "y1": 0, "x2": 400, "y2": 300 }, vel: [] },
        ]
    }
    function test_programRefused(data) {
        compare(WarmUp.program(data.area, 15, data.vel, maxAcc), null)
    }
}

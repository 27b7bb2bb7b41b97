import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/checkTable.js" as Check

// The placement check: which placements make rows, the camera's field of
// view, the approach block, the correction limits and the accuracy test's
// mean (no row found: "не найден", never NaN).
TestCase {
    name: "CheckTable"

    function ep(row, col, disabled, temp) {
        return { rX: 10, rY: 20, elWidth: 2, elHeight: 1, rotWidth: 1, rotHeight: 2, rotation: 90,
                 row: row, col: col, disabled: disabled, disabledTemp: temp }
    }
    function test_rows() {
        var list = [{ ep: ep(0, 0, 0, false), target: { x: 111, y: 222, boardAngle: 0.5 } },
                    { ep: ep(0, 1, 0, false), target: { x: 1, y: 1 } },           // another board
                    { ep: ep(1, 0, 0, false), target: { x: 1, y: 1 } },
                    { ep: ep(0, 0, 1, false), target: { x: 1, y: 1 } },           // disabled
                    { ep: ep(0, 0, 0, true), target: { x: 1, y: 1 } },            // switched off for the run
                    { ep: ep(0, 0, 0, false), target: { x: 5, y: 6 } }]
        var rows = Check.buildRows(list, function(p) { return { feeder: "f", el: "e", image: "i" } })
        compare(rows.length, 2)
        compare(rows[0], { feeder: "f", el: "e", image: "i", coords: "X: 11.00  Y: 20.50", x: 111, y: 222,
                           rotation: 90.5, rotWidth: 1, rotHeight: 2, dX: "-1000", dY: "-1000" })
        compare(rows[1].x, 5)
        compare(rows[1].rotation, 90)
    }

    function test_fov_data() {
        return [
            { tag: "width decides", w: 4, h: 1, ppm: 20, fw: 640, fh: 480, expected: 18.75 },
            { tag: "height decides", w: 1, h: 4, ppm: 20, fw: 640, fh: 480, expected: 25 },
            { tag: "no frame yet", w: 1, h: 1, ppm: 20, fw: 0, fh: 0, expected: 100 }
        ]
    }
    function test_fov(data) {
        fuzzyCompare(Check.fovPercent(data.w, data.h, data.ppm, data.fw, data.fh), data.expected, 1e-9)
    }

    function test_approach_data() {
        return [
            { tag: "accuracy test dwells", acc: 100, dwell: true,
              text: "g0 zMax\ng0 x90.000 y195.500\ng4 p1" },
            { tag: "half acceleration", acc: 50, dwell: false,
              text: "g0 zMax\ng1 f6000  acc500 x90.000 y195.500" },
        ]
    }
    function test_approach(data) {
        compare(Check.approachText(100, 200, 10, 4.5, data.acc, [100, 80, 20], [1000, 600], data.dwell), data.text)
    }
    function test_approachRefused() {
        compare(Check.approachText(NaN, 200, 0, 0, 100, [], [], false), null)
        compare(Check.approachText(1, 2, 0, 0, 50, [], [], false), null)      // unknown maxima
    }

    // A 2 x 1 component at (10, 20) on a 100 x 50 area; turned 90: 1 x 2.
    function test_moveWithin_data() {
        return [
            { tag: "right edge past the width", x: 98, dx: 0.01, dy: 0, turned: false, moved: false },
            { tag: "right edge on the width", x: 97.99, dx: 0.01, dy: 0, turned: false, moved: true },
            { tag: "left edge below 0", x: 0, dx: -0.01, dy: 0, turned: false, moved: false },
            { tag: "bottom edge past the height", y: 49, dx: 0, dy: 0.01, turned: false, moved: false },
            { tag: "turned: its extent counts", x: 98, dx: 0.01, dy: 0, turned: true, moved: true }
        ]
    }
    function test_moveWithin(data) {
        var el = { rX: data.x === undefined ? 10 : data.x, rY: data.y === undefined ? 20 : data.y,
                   elWidth: 2, elHeight: 1, rotWidth: data.turned ? 1 : 2, rotHeight: data.turned ? 2 : 1 }
        var r = Check.moveWithin(el, data.dx, data.dy, 100, 50)
        if (!data.moved) {
            compare(r, null)
            return
        }
        verify(r !== null)
        fuzzyCompare(r.rX, el.rX + data.dx, 1e-9)
        fuzzyCompare(r.rY, el.rY + data.dy, 1e-9)
    }

    function test_rotate_data() {
        return [
            { tag: "tenths add up exactly", angle: 0.2, delta: 0.1, expected: 0.3 },
            { tag: "quarter past 180", angle: 135, delta: 90, expected: -135 }
        ]
    }
    function test_rotate(data) {
        compare(Check.rotate(data.angle, data.delta), data.expected)
    }

    function test_measuredOffset() {
        compare(Check.measuredOffset(true, 100.1234, 49.5, 100, 50), { dX: "0.123", dY: "-0.500" })
        compare(Check.measuredOffset(false, 1, 1, 0, 0), { dX: "-1000", dY: "-1000" })
        compare(Check.measuredOffset(true, NaN, 1, 0, 0), { dX: "-1000", dY: "-1000" })
    }

    function test_accuracy_data() {
        return [
            { tag: "none found", rows: [{ dX: "-1000", dY: "-1000" }, { dX: "-1000", dY: "-1000" }],
              count: 0, text: "средн. dX: не найден; dY: не найден" },
        ]
    }
    function test_accuracy(data) {
        var mean = Check.accuracyMean(data.rows)
        compare(mean.count, data.count)
        compare(Check.accuracyText(mean), data.text)
        verify(Check.accuracyText(mean).indexOf("NaN") < 0)
    }

    function marks() {
        function board() { return { fidX: 12, fidY: 34 } }
        return [{ previews: [[board(), board()], [board(), board()]] }, { previews: [[board()]] }]
    }
    function test_resetFoundMarks_data() {
        return [
            { tag: "every board", refMode: 0, first: -1000, other: -1000 },
            { tag: "one pair for the panel: first board only", refMode: 1, first: -1000, other: 12 }
        ]
    }
    function test_resetFoundMarks(data) {
        var m = marks()
        Check.resetFoundMarks(m, data.refMode, -1000)
        compare(m[0].previews[0][0].fidX, data.first)
        compare(m[0].previews[0][0].fidY, data.first === -1000 ? -1000 : 34)
        compare(m[1].previews[0][0].fidX, data.first)
        compare(m[0].previews[0][1].fidX, data.other)
        compare(m[0].previews[1][1].fidX, data.other)
    }
}

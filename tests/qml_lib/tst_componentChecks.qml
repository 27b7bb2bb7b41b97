import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/componentChecks.js" as Checks

// The checks of a part on the component camera as plain functions: the size
// check, the pin pitch, the camera's safe area, believable offsets, the
// geometry of corner centring and the feeder debug ring.
TestCase {
    name: "ComponentChecks"

    function near(actual, expected, tolerance, what) {
        verify(Math.abs(actual - expected) <= (tolerance || 1e-9),
               (what || "") + ": " + actual + " is not " + expected)
    }

    // ---- size check

    // A part 2 × 1.2 mm checked in mode 3; the camera measured `seen`
    // [width, height, orientation of the long side]. Modes: 1 side B, 2 side
    // A, 3 both. The texts give [expected, measured] of side A, then of B.
    function test_sizeCheck_data() {
        function row(tag, extra, seen, ok, a, b) {
            var c = { "width": 2, "height": 1.2, "rot": 0, "angle": 0, "bank": "L", "mode": 3,
                      "measuredWidth": seen[0], "measuredHeight": seen[1],
                      "measuredOrientation": seen[2] }
            for (var k in extra)
                c[k] = extra[k]
            var text = (a ? " A ожидаемый: " + a[0] + "мм, измеренный: " + a[1] + "мм." : "")
                    + (b ? " B ожидаемый: " + b[0] + "мм, измеренный: " + b[1] + "мм." : "")
            return { "tag": tag, "c": c, "ok": ok, "text": text }
        }
        var good = [2.05, 1.15, 0], turned = [1.15, 2.05, 0]
        var thin = [2.05, 0.5, 0], narrow = [2.05, 0.7, 0]
        var tall = { "width": 1.2, "height": 2 }
        var tall10 = { "width": 1.2, "height": 2, "angle": 10 }
        var a = ["2.00", "2.05"], b = ["1.20", "1.15"]
        // Sides expected across: A of the short side, B of the long one.
        var aAcross = ["1.20", "1.15"], bAcross = ["2.00", "2.05"]
        return [
            row("mode 0 checks nothing", { "mode": 0 }, [9, 9, 60], true),
            row("mode 3, right sizes", {}, good, true, a, b),
            row("mode 2 checks only A", { "mode": 2 }, thin, true, a),
            row("mode 1 checks only B", { "mode": 1 }, thin, false, null, ["1.20", "0.50"]),
            // 25 %: 1.5 (exactly 25 % off) does not pass.
            row("A 25 % short fails", { "mode": 2 }, [1.5, 1.15, 0], false, ["2.00", "1.50"]),
            // The long side turned by 31° no longer matches: the sides are
            // then taken across, and 1.15 is no A of 2.
            row("orientation 31° off does not", {}, [2.05, 1.15, 31], false, ["2.00", "1.15"],
                ["1.20", "2.05"]),
            // Seen the other way round (beyond 150°) the long side matches.
            // Expected at 80 (a tall part at 10°), seen at -85: 165° apart.
            row("orientation 165° off matches", tall10, [1.15, 2.05, -85], true, aAcross, bAcross),
            // A part taller than wide has its long side across: expected 90.
            row("taller than wide, long side at 0", tall, turned, false, ["1.20", "2.05"],
                ["2.00", "1.15"]),
            // A feeder turned by 90 expects A and B exchanged.
            row("feeder at 90", { "rot": 90, "angle": 90 }, [1.15, 2.05, 90], true, aAcross,
                bAcross),
            // Banks U and B see A and B exchanged: checking side A there
            // checks the part's short side.
            row("bank U, mode 2, short side wrong", { "mode": 2, "bank": "U" }, narrow, false,
                ["1.20", "0.70"]),
            row("nothing measured", {}, [NaN, NaN, NaN], false, ["2.00", "—"], ["1.20", "—"]),
        ]
    }
    function test_sizeCheck(data) {
        var r = Checks.sizeCheck(data.c)
        compare(r.ok, data.ok)
        compare(r.text, data.text)
    }

    // ---- pins

    // The check fails on a wrong count, or a deviation above the maximum (the
    // maximum itself passes).
    function test_pinCheck_data() {
        var good = { pinCountCorrect: true, avgPinDist: 10, minPinDist: 9, maxPinDist: 11 }
        return [
            { tag: "20 % at 20 %", pins: good, max: 20, failed: false },
            { tag: "20 % above 15 %", pins: good, max: 15, failed: true },
            { tag: "pins not counted", pins: { pinCountCorrect: false, avgPinDist: 0, minPinDist: 0, maxPinDist: 0 },
              max: 15, failed: true, countRight: false },
            { tag: "no pin results", pins: null, max: 15, failed: true, countRight: false },
        ]
    }
    function test_pinCheck(data) {
        var r = Checks.pinCheck(data.pins, data.max)
        compare(r.failed, data.failed)
        compare(r.countRight, data.countRight === undefined ? true : data.countRight)
        compare(r.maximum, data.max)
        if (data.pins && data.pins.avgPinDist === 10)
            near(r.measured, 20, 1e-9, "deviation")
    }

    // ---- the camera's safe area

    function test_cameraSafe_data() {
        var cam = { cameraX: 200, cameraY: 30, workAreaX1: 10, workAreaY1: 0 }
        var low = { cameraX: 20, cameraY: 10, workAreaX1: 10, workAreaY1: 0 }
        return [
            { tag: "just beyond 25 mm right", x: 225.001, y: 30, area: cam, safe: false },
            { tag: "just beyond 25 mm down", x: 200, y: 4.999, area: cam, safe: false },
            { tag: "below X1", x: 9.999, y: 10, area: low, safe: false },
            { tag: "X not a number", x: NaN, y: 30, area: cam, safe: false },
        ]
    }
    function test_cameraSafe(data) {
        compare(Checks.cameraSafe(data.x, data.y, data.area), data.safe)
    }

    // ---- believable offsets

    function test_offsetPlausible_data() {
        return [
            { tag: "farther off than the part is long", x: 1.3, y: 1.6, w: 2, h: 1.2, ok: false },
            { tag: "not a number", x: NaN, y: 0, w: 2, h: 1.2, ok: false },
            { tag: "feeder without sizes: the measured ones", x: 1.5, y: 0, w: 0, h: 0, mw: 1, mh: 1, ok: false },
            { tag: "no sizes at all: any number", x: 40, y: 0, w: 0, h: 0, mw: 0, mh: 0, ok: true },
        ]
    }
    function test_offsetPlausible(data) {
        compare(Checks.offsetPlausible(data.x, data.y, data.w, data.h, data.mw, data.mh), data.ok)
    }

    // ---- corner centring

    function test_cornerStart_data() {
        return [
            { tag: "wide part at 90: x-first, turned", angle: 90, rot: 0, w: 4, h: 2,
              rotA: 90, xFirst: true, xDim: 2, yDim: 4, turn: 90, lead: 2 },
            // At 45° the angle is nudged so that the choice cannot flip.
            { tag: "at 45", angle: 30, rot: 15, w: 4, h: 2,
              rotA: 45.001, xFirst: true, xDim: 2, yDim: 4, turn: 90, lead: 2 },
            { tag: "at -135", angle: -135, rot: 0, w: 4, h: 2,
              rotA: -134.999, xFirst: true, xDim: 2, yDim: 4, turn: 90, lead: 2 },
        ]
    }
    function test_cornerStart(data) {
        var s = Checks.cornerStart(data.angle, data.rot, data.w, data.h)
        near(s.rotA, data.rotA, 1e-9, "rotA")
        compare(s.xFirst, data.xFirst)
        compare(s.xDim, data.xDim)
        compare(s.yDim, data.yDim)
        compare(s.turn, data.turn)
        compare(s.lead, data.lead)
        compare(s.across, data.xFirst ? data.yDim : data.xDim)
        near(s.assumed, data.rotA + data.turn, 1e-9, "assumed")
    }

    function test_cornerStartRefusesBrokenValues() {
        compare(Checks.cornerStart(NaN, 0, 4, 2), null)
        compare(Checks.cornerStart(0, 0, undefined, 2), null)
    }

    // Sides that do not cross give nothing, never a made-up centre.
    function test_cornerCentreOfParallelSides_data() {
        return [
            { tag: "nearly parallel", p: [{ x: 0, y: 0 }, { x: 0, y: 2 }, { x: 3, y: 0 }, { x: 3.0001, y: 4 }] },
            { tag: "not a number", p: [{ x: NaN, y: 0 }, { x: 0, y: 2 }, { x: -2, y: 1 }, { x: 2, y: 1 }] },
        ]
    }
    function test_cornerCentreOfParallelSides(data) {
        compare(Checks.cornerCentre(data.p[0], data.p[1], data.p[2], data.p[3]), null)
    }

    // ---- feeder debug ring

    // A part 2 × 1 mm: the means are judged against 0.2 mm in X and 0.15 mm
    // in Y; only a full ring is judged.
    function test_debugVerdict_data() {
        function ring(xs, ys) {
            var r = []
            for (var i = 0; i < xs.length; ++i)
                r.push({ x: xs[i], y: ys[i] })
            return r
        }
        return [
            { tag: "two entries are not judged", ring: ring([1, 1], [1, 1]), full: false, off: false },
            { tag: "X mean 0.21 is off", ring: ring([0.2, 0.2, 0.23], [0, 0, 0]), full: true, off: true },
            { tag: "Y mean 0.16 is off", ring: ring([0, 0, 0], [0.16, 0.16, 0.16]), full: true, off: true },
            { tag: "scattered around 0", ring: ring([0.5, -0.5, 0.03], [-0.4, 0.4, 0]), full: true, off: false },
        ]
    }
    function test_debugVerdict(data) {
        var v = Checks.debugVerdict(data.ring, 2, 1)
        compare(v.full, data.full)
        compare(v.off, data.off)
    }
}

import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/nozzleBaseCalibration.js" as Base
import "../../qml/main/job/nozzleBaseSteps.js" as Steps

// The nozzle base auto-calibration: the base constants, the encoder step,
// the contact rule, the result and the G-code texts; then the steps against
// the fake machine standing over a fake base whose slot walls stop the head
// (the encoder stays at the wall while the motor goes on): the blocks sent,
// the slot centres found, which measurement belongs to which nozzle, the
// travel limit with its E-stop.
TestCase {
    name: "NozzleBaseCalibration"

    // ---- pure functions

    // One encoder step, at least 0.001 mm, written with four decimals: an
    // encoder of 2,500 counts per mm would otherwise step 0.0004 mm, which
    // three decimals write as 0.
    function test_encoderStep_data() {
        return [
            { tag: "negative scale", scale: -200, step: 0.005, text: "g0 y++0.0050\ng4 p0.4" },
            { tag: "2,500 counts: 0.001", scale: 2500, step: 0.001, text: "g0 y++0.0010\ng4 p0.4" },
            { tag: "no scale", scale: 0, step: null, text: null },
        ]
    }
    function test_encoderStep(data) {
        compare(Base.encoderStep(data.scale), data.step)
        compare(Base.stepText("y", 1, Base.encoderStep(data.scale)), data.text)
    }

    // Strict comparison: a jump of exactly the threshold is no contact.
    function test_contact_data() {
        return [
            { tag: "+Y: exactly the threshold", sign: 1, rem: 0.2, cur: 0.3, sense: 0.1, contact: false },
            { tag: "+Y: beyond", sign: 1, rem: 0.2, cur: 0.30001, sense: 0.1, contact: true },
            { tag: "-Y: exactly", sign: -1, rem: 0.25, cur: 0.125, sense: 0.125, contact: false },
            { tag: "-Y: beyond", sign: -1, rem: 0, cur: -0.1001, sense: 0.1, contact: true },
        ]
    }
    function test_contact(data) {
        compare(Base.contact(data.sign, data.rem, data.cur, data.sense), data.contact)
    }

    // Slot 0 is the preliminary measurement: nozzle 1 takes slot 1.
    function test_nozzleSlots() {
        var yArr = [29.99, 30.01, 45.03, 59.98]
        compare(Base.nozzleY(yArr, 0), 30.01)
        compare(Base.nozzleY(yArr, 2), 59.98)
        var texts = Base.allNozzleTexts({ type: 0, count: 3, xCurr: 440.02, yArr: yArr, zLow: 13.5, zLowest: 11 },
                                        452, 0)
        compare(texts.length, 3)
        verify(texts[0].takeM.indexOf("G0 X440.02 Y30.01 A0") >= 0, texts[0].takeM)
        verify(texts[1].takeM.indexOf("G0 X440.02 Y45.03 A0") >= 0, texts[1].takeM)
        verify(texts[2].setupM.indexOf("G0 X452.00 Y59.98 A0") >= 0, texts[2].setupM)
    }

    function test_nozzleTexts_data() {
        return [
            { tag: "own base", p: { type: 0, xCurr: 440.02, y: 45.03, zLowest: 11, zLow: 13.5, vcX2: 452, vcZBottom: 0 },
              takeM: "G0 zMax\nG0 X440.02 Y45.03 A0\n(setLowErrorLimit)\nG1 F5000 Z11.0\nG1 F5000 Z13.5\n"
                     + "G1 F5000 X452.0\nG1 F15000 zMax\nM64 P0",
              setupM: "M65 P0\nG0 zMax\nG0 X452.00 Y45.03 A0\n(setLowErrorLimit)\nG1 F15000 Z13.5\n"
                      + "G1 F5000 X440.02\nzMax\nG0\n" },
            { tag: "JUKI: clear 9.7 mm beyond", p: { type: 1, xCurr: 300.5, y: 20.25, zLowest: 11, zLow: 11.5, vcX2: 0,
                                                    vcZBottom: 2.5 },
              takeM: "G0 zMax\nG0 X300.50 Y20.25 A0\n(setLowErrorLimit)\nG1 F8000 Z17\nG1 F1000 Z2.5\n"
                     + "G1 F1000 Z11.5\nG1 F1000 X310.20\nG0 zMax\nM64 P0",
              setupM: "M65 P0\nG0 zMax\nG0 X310.20 Y20.25 A0\n(setLowErrorLimit)\nG1 F8000 Z17\nG1 F1000 Z11.5\n"
                      + "G1 F1000 X300.50\nG1 F200 Z11\nG0 zMax\n" }
        ]
    }
    function test_nozzleTexts(data) {
        var t = Base.nozzleTexts(data.p)
        compare(t.takeM, data.takeM)
        compare(t.setupM, data.setupM)
    }
    function test_nozzleTextsRefused() {
        compare(Base.nozzleTexts({ type: 0, xCurr: NaN, y: 1, zLowest: 1, zLow: 1, vcX2: 1 }), null)
        compare(Base.allNozzleTexts({ type: 0, count: 2, xCurr: 1, yArr: [1, 2], zLow: 1, zLowest: 1 }, 5, 0), null)
    }

    // ---- the steps

    // A base whose slot centres lie at `centres` (Y), `gap` mm of play on
    // either side of the nozzle shaft, the back wall at X `backX`, slots
    // open towards higher X up to `frontX`, walls below Z `topZ`. The encoder
    // follows the head, which a wall stops; the motor follows the commands.
    function rig(options) {
        var o = options || {}
        var m = Fake.create({ blockMode: "auto", blockMs: 10 })
        var base = { centres: [30, 45.03, 59.98, 75.05, 90, 104.96], gap: 0.4021, backX: 439.503,
                     frontX: 446, topZ: 16, present: o.present !== false }
        var r = { m: m, base: base, results: [], states: [], estops: 0, slider: [], divergenceOverride: null }
        m.settings.cupBaseType = o.type || 0
        m.settings.vcCount = o.count || 6
        m.settings.vcdY = 15
        m.settings.vcZBottom = 2.5
        m.settings.encoderScaleX = 200
        m.settings.encoderScaleY = 200
        function slot(p) {
            if (!base.present || !(p.z < base.topZ) || p.x < base.backX - 2 || p.x > base.frontX)
                return null
            for (var i = 0; i < base.centres.length; ++i)
                if (Math.abs(p.y - base.centres[i]) < 7.5)
                    return base.centres[i]
            return null
        }
        m.port.divergence = function(axis) {
            if (r.divergenceOverride)
                return r.divergenceOverride(axis)
            var p = m.pos
            var c = slot(p)
            if (c === null)
                return 0
            if (axis === 0)
                return p.x - Math.max(p.x, base.backX)
            return p.y - Math.min(Math.max(p.y, c - base.gap), c + base.gap)
        }
        m.port.estop = function() {
            r.estops++
            m.events.push("estop")
        }
        m.port.setSpeedSlider = function(v) { r.slider.push(v) }
        r.w = Waiters.create(m.port)
        r.s = Steps.create(m.port, r.w, function(state) { r.states.push(state) })
        m.attach({ positionGet: r.w.positionGet, pauseGet: r.w.pauseGet, homedGet: r.w.homedGet,
                   stopAll: function() { r.w.stopAll(); r.s.stopAll() } })
        m.setPosition(o.start || { x: 440.1, y: 30.2013, z: 12, a: 0 })
        return r
    }
    function run(r, ms) {
        r.s.calibrate(function(result) { r.results.push(result) })
        r.m.advance(ms || 600000)
    }
    function isStep(text) { return /^g0 [xy](\+\+|--)[0-9.]+\ng4 p0\.4\ng0$/.test(text) }
    // The blocks with the runs of single steps counted: "steps:N" for N
    // step blocks in a row.
    function condensed(texts) {
        var out = []
        for (var i = 0; i < texts.length; ++i) {
            if (!isStep(texts[i])) {
                out.push(texts[i])
                continue
            }
            var last = out.length > 0 ? out[out.length - 1] : ""
            if (last.indexOf("steps:") === 0)
                out[out.length - 1] = "steps:" + (Number(last.substring(6)) + 1)
            else
                out.push("steps:1")
        }
        return out
    }
    function near(actual, expected, eps, what) {
        verify(Math.abs(actual - expected) <= eps, (what || "") + ": " + actual + " instead of " + expected)
    }
    function approach(x, y) { return "g0 zMax\ng0 x" + x + " y" + y + "\ng4 p0.5\ng0 zMax\n" }
    readonly property string lowerOwn: "g0 z13.50\ng0 z11.00\ng0 z13.50\ng0"

    // Two nozzles, the head started 0.2 mm off the first slot's centre: the
    // exact blocks; slot 0 felt in Y and X, then slots 1 and 2. The walls
    // of a slot stand 0.4021 mm either side of its centre; a wall counts as
    // felt 0.1 mm (X: 0.08 mm) beyond it.
    function test_twoNozzlesExactly() {
        var r = rig({ count: 2 })
        run(r)
        compare(r.results.length, 1)
        var res = r.results[0]
        verify(res.ok, res.text)
        compare(condensed(r.m.sentTexts()), [
            approach("440.10", "30.20"), lowerOwn,
            // +Y from 30.2: beyond 30.5021 after 61 steps (30.505).
            "steps:61", "g1 f100 y30.20\ng0",
            // -Y from 30.2: below 29.4979 after 141 steps (29.495): centre 30.
            "steps:141", "g1 f100 y30.00\ng0",
            // -X from 440.1: below 439.423 after 136 steps (439.42), back 0.6.
            "steps:136", "g1 f100 x440.02\ng0",
            approach("440.02", "30.00"), lowerOwn, "steps:101", "g1 f100 y30.00\ng0", "steps:101", "g1 f100 y30.00\ng0",
            // The next slot 15 mm on; it lies at 45.03.
            approach("440.02", "45.00"), lowerOwn, "steps:107", "g1 f100 y45.00\ng0", "steps:95", "g1 f100 y45.03\ng0",
            "g0 zMax\ng0 zMax\n"])
        compare(r.m.sentTexts()[2], "g0 y++0.0050\ng4 p0.4\ng0")
        compare(r.m.sentTexts()[64], "g0 y--0.0050\ng4 p0.4\ng0")
        compare(r.m.sentTexts()[206], "g0 x--0.0050\ng4 p0.4\ng0")
        near(res.xCurr, 440.02, 1e-9, "X")
        compare(res.count, 2)
        compare(res.yArr.length, 3)
        // Slot 0 is the preliminary measurement of the first slot (here it
        // gives the same centre); nozzle 1 has the second, nozzle 2 the
        // slot beside.
        near(res.yArr[0], 30, 1e-9, "slot 0")
        near(res.yArr[1], 30, 1e-9, "nozzle 1")
        near(res.yArr[2], 45.03, 1e-9, "nozzle 2")
        compare(res.text, "X: 440.02; 1:  Y 30.00; 2:  Y 45.03; ")
        near(res.zLow, 13.5, 1e-9, "zLow")
        near(res.zLowest, 11, 1e-9, "zLowest")
        compare(r.slider, [1])
        compare(r.estops, 0)
        verify(!r.s.state().running)
    }

    // No base under the head, no wall within the travel: the machine is
    // E-stopped, the message names the axis, nothing more is sent.
    function test_wallNotFelt_data() {
        return [
            { tag: "own base", type: 0, start: { x: 440.1, y: 30.2013, z: 12 }, steps: 161 },
            { tag: "JUKI: 0.6 mm", type: 1, start: { x: 440.1, y: 30, z: 12 }, steps: 121 }
        ]
    }
    function test_wallNotFelt(data) {
        var r = rig({ type: data.type, present: false, start: data.start, count: 2 })
        run(r)
        compare(r.results.length, 1)
        verify(!r.results[0].ok)
        compare(r.results[0].text, "Ошибка при автокалибровке насадок! Сопротивление движению по Y не зафиксировано!")
        compare(r.estops, 1)
        var c = condensed(r.m.sentTexts())
        compare(c[c.length - 1], "steps:" + data.steps)
        compare(r.m.events[r.m.events.length - 1], "estop")
        verify(!r.s.state().running)
    }

    function test_juki() {
        var r = rig({ type: 1, count: 1, start: { x: 440.1, y: 30, z: 12, a: 0 } })
        r.base.backX = 439.9013
        run(r)
        var res = r.results[0]
        verify(res.ok, res.text)
        compare(r.m.sentTexts()[1], "g0 z11.50\ng0 z2.50\ng0 z11.50\ng0")
        near(res.zLow, 11.5, 1e-9, "zLow")
        // X wall at 439.9013: felt below 439.8413 after 52 steps, back 0.2 mm.
        near(res.xCurr, 440.1 - 0.005 * 52 + 0.2, 1e-9, "X")
    }

    function test_stop() {
        var r = rig()
        r.s.calibrate(function(result) { r.results.push(result) })
        r.m.advance(2000)
        r.m.stopAll()
        var sent = r.m.sentTexts().length
        r.m.advance(600000)
        compare(r.m.sentTexts().length, sent)
        compare(r.results, [])
        verify(!r.s.state().running)
    }

    function test_noEncoderScale() {
        var r = rig()
        r.m.settings.encoderScaleY = 0
        run(r)
        compare(r.results.length, 1)
        verify(!r.results[0].ok)
        compare(r.m.sentTexts(), [])
        compare(r.estops, 0)
    }
}

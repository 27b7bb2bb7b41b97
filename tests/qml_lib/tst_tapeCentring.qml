import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "FakeBoard.js" as Board
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/tapeCentring.js" as Tape
import "../../qml/main/job/tapeCentringSteps.js" as Steps

// The tape centring by perforations: the perforation table, the approach
// and the pick point from a centred hole, which camera result counts as the
// hole; then the steps against the fake machine, whose head camera sees the
// sprocket holes of the tapes as marks: the exact blocks sent, the logs and
// the pick points stored, the second threshold, the operator's choices, and
// the two limits (a hole too far away is another hole; the moves onto a
// hole are counted).
//
// The camera sees 30 mm left of and 20 mm above the nozzle (camera1XShift
// -30, camera1YShift 20), 20 pixels per mm. Bottom-bank feeders stand every
// 10 mm in X with their pick points at Y 100; their 8 mm tapes have holes
// 3.5 mm towards lower X and every 4 mm along Y, 2 mm from the pick point.
TestCase {
    name: "TapeCentring"

    // ---- pure functions

    function test_perforationOffset_data() {
        return [
            { tag: "12 mm", w: 1, s: 5.5 }, { tag: "44 mm", w: 5, s: 20.2 }, { tag: "index 6", w: 6, s: 3.5 }
        ]
    }
    function test_perforationOffset(data) {
        compare(Tape.perforationOffset(data.w), data.s)
    }

    // Pick point (60, 100), 12 mm tape (s 5.5), camera offset (-30, 20);
    // the bottom bank's in the steps below.
    function test_approachAndPick_data() {
        return [
            { tag: "upper", bank: "U", prev: false, hole: [65.5, 102] },
            { tag: "left", bank: "L", prev: false, hole: [58, 105.5] },
            { tag: "left, before", bank: "L", prev: true, hole: [62, 105.5] }
        ]
    }
    function test_approachAndPick(data) {
        var p = Tape.approachPoint(60, 100, data.bank, 5.5, data.prev, -30, 20)
        compare([p.x, p.y], [data.hole[0] + 30, data.hole[1] - 20])
        var pick = Tape.pickFromHole(data.hole[0], data.hole[1], data.bank, 5.5, data.prev)
        compare([pick.x, pick.y], [60, 100])
        compare(Tape.approachPoint(60, 100, "X", 5.5, false, 0, 0), null)
    }

    // A result as a hole: millimetres from the camera centre, machine Y
    // upwards; a hole further than 1.5 mm is the one beside the hole looked
    // for (the next one lies 4 mm on).
    function test_holeSeen_data() {
        return [
            { tag: "1.5 mm away", r: { found: true, x: 0, y: -30 }, seen: { found: true, dx: 0, dy: 1.5 } },
            { tag: "1.6 mm away: another hole", r: { found: true, x: 0, y: 32 }, seen: { found: false, dx: 0, dy: 0 } },
            { tag: "nothing found", r: { found: false, x: 0, y: 0 }, seen: { found: false, dx: 0, dy: 0 } },
        ]
    }
    function test_holeSeen(data) {
        var s = Tape.holeSeen(data.r, 20)
        compare(s.found, data.seen.found)
        verify(Math.abs(s.dx - data.seen.dx) < 1e-12 && Math.abs(s.dy - data.seen.dy) < 1e-12, s.dx + ", " + s.dy)
        compare(Tape.holeSeen({ found: true, x: 0, y: 0 }, 0).found, false)
    }

    function test_cameraSettings() {
        var s = Tape.cameraSettings({ pixelsPerMm: 20, frameWidth: 1280, threshold: 150, height: 5, exposure: 40 })
        compare(s, { "indiv": true, "mode": "hole", "roi": 10.9375, "t1": 150, "t2": 250, "calcSize": 1.6,
                     "calcSize2": 1.6, "inv": false, "height": 5, "exposure": 40, "photo": "" })
    }

    function test_moveText() {
        compare(Tape.moveText({ x: 86.5, y: 78 }, [300, 300], [3000, 3000]),
                "g0 zMax\ng1 f18000  acc600 x86.500 y78.000")
        compare(Tape.moveText({ x: NaN, y: 78 }, [250, 200], [1000, 800]), null)
        compare(Tape.moveText({ x: 1, y: 2 }, [], []), null)
    }

    // ---- the steps

    function holesOf(pick, s, offset) {
        var out = []
        for (var k = -3; k <= 3; ++k)
            out.push({ x: pick[0] - s + offset[0], y: pick[1] + 2 + 4 * k + offset[1] })
        return out
    }

    // feeders: [{type, caseX, caseY, bandWidth, tapeOff: [dx, dy]}] of the
    // bottom bank; checks: index -> text of a failed feeder check.
    function rig(feeders, options) {
        var opts = options || {}
        var m = Fake.create({ blockMode: "auto", blockMs: 10 })
        var b = Board.extend(m, { cameraFault: opts.cameraFault || "" })
        var settings = { "camera1Delay": 300, "workAreaX1": 0, "workAreaX2": 500, "workAreaY1": 0, "workAreaY2": 500,
                         "bandACCamera1Y1": 200, "bandACCamera1Y2": 150, "bandFeederAutoCenterPrevPerf": opts.prev === true,
                         "maxVel": [250, 200, 100], "maxAcc": [1000, 800, 500] }
        for (var k in settings)
            b.settings[k] = settings[k]
        b.marks = []
        for (var i = 0; i < feeders.length; ++i) {
            var f = feeders[i]
            if (f.type === 3 && f.tapeOff)
                b.marks = b.marks.concat(holesOf([f.caseX, f.caseY], Tape.perforationOffset(f.bandWidth), f.tapeOff))
        }
        var r = { m: m, b: b, feeders: feeders, stored: [], states: [], hiddenAt: opts.hiddenAt || [] }
        var request = m.port.headCamera.request
        // A white tape the first threshold does not separate from its holes.
        m.port.headCamera.request = function(settings, onResult) {
            if (r.hiddenAt.indexOf(settings.t1) >= 0) {
                b.requests.push(settings)
                m.after(b.cameraMs, function() { onResult({ found: false, x: 0, y: 0 }) })
                return
            }
            request(settings, onResult)
        }
        m.port.tapeFeeder = function(bank, index) { return bank === "B" ? (feeders[index] || null) : null }
        m.port.checkTapeFeeder = function(bank, index) {
            return opts.checks && opts.checks[index] !== undefined ? opts.checks[index] : true
        }
        m.port.tapeBank = function(n) { return n === 0 ? { zShift: 5 } : null }
        m.port.setFeederPick = function(bank, index, x, y) {
            r.stored.push([bank, index, x, y])
            feeders[index].caseX = x
            feeders[index].caseY = y
        }
        m.port.cameraFrameWidth = function() { return 1280 }
        r.w = Waiters.create(m.port)
        r.t = Steps.create(m.port, r.w, function(state) { r.states.push(state) })
        m.attach({ positionGet: r.w.positionGet, pauseGet: r.w.pauseGet, homedGet: r.w.homedGet,
                   stopAll: function() { r.w.stopAll(); r.t.stopAll() } })
        m.setPosition({ x: 200, y: 200, z: 25, a: 0 })
        return r
    }
    function tape(x, off) {
        return { type: 3, caseX: x, caseY: 100, bandWidth: 0, bankNumber: 0,
                 tapeOff: off || [0, 0] }
    }
    function move(x, y) { return "g0 zMax\ng1 f15000  acc200 x" + x + " y" + y + "\ng0 zMax\n" }
    function near(actual, expected, what) {
        verify(Math.abs(actual - expected) < 1e-9, (what || "") + ": " + actual + " instead of " + expected)
    }
    function logTexts(r) { return r.m.logs.map(function(l) { return l.text + " | " + l.color }) }

    // A tape 0.3 mm right of and 0.2 mm below its place, a tape on its place,
    // a tray and a tape whose check fails: two pick points stored, two
    // feeders skipped.
    function test_centresTheTapesOfARange() {
        var r = rig([tape(60, [0.3, -0.2]), tape(70), { type: 1, caseX: 80, caseY: 100 }, tape(90)],
                    { checks: { 3: "Неверные настройки ленточного питателя" } })
        r.t.start("B", 0, 4)
        r.m.advance(60000)
        compare(r.m.sentTexts(), [
            move("86.500", "78.000"), move("86.800", "77.800"),
            move("96.500", "78.000"), move("96.500", "78.000")])
        compare(r.stored.length, 2)
        compare([r.stored[0][0], r.stored[0][1], r.stored[1][0], r.stored[1][1]], ["B", 0, "B", 1])
        near(r.stored[0][2], 60.3, "first X")
        near(r.stored[0][3], 99.8, "first Y")
        near(r.stored[1][2], 70, "second X")
        near(r.stored[1][3], 100, "second Y")
        compare(logTexts(r), [
            "Питатель №1 отцентрирован, корректировка по X: 0.30, по Y: -0.20 | white",
            "Питатель №2 отцентрирован, корректировка по X: 0.00, по Y: 0.00 | #00C376",
            "Питатель №3 пропущен, так как не является ленточным питателем. | yellow",
            "Питатель №4 пропущен. Причина: Неверные настройки ленточного питателя | yellow"])
        compare(r.m.events.indexOf("dout:4:false"), 0)
        compare(r.m.events[r.m.events.length - 1], "camera:stop")
        verify(!r.t.state().running)
        // Every look with the first threshold, the hole search settings of
        // the 7 mm region at the tape bank's height.
        compare(r.b.requests.length, 4)
        compare(r.b.requests[0], Tape.cameraSettings({ pixelsPerMm: 20, frameWidth: 1280, threshold: 200, height: 5,
                                                       exposure: 50 }))
        // The camera waited its delay after every move.
        verify(r.m.now >= 4 * 300)
    }

    // One run with nobody at the buttons: the blocks it starts with, the
    // pick points stored ([feeder, X, Y]) and the error it waits at
    // (running) or none (done, no error on the way).
    function test_run_data() {
        var skipped = "Питатель №1 пропущен, так как не удалось подвести камеру к перфорации"
        return [
            // A white tape whose hole the first threshold misses.
            { tag: "second threshold", feeders: [tape(60, [0.2, 0.1])], hiddenAt: [200],
              sent: [move("86.500", "78.000"), move("86.700", "78.100")],
              stored: [[0, 60.2, 100.1]], error: "", t1: [200, 150, 200, 150] },
            // +2 mm on the approach, -2 mm when the pick point is stored.
            { tag: "perforation before the pocket", feeders: [tape(60, [0.1, 0])], prev: true,
              sent: [move("86.500", "82.000")], stored: [[0, 60.1, 100]], error: "" },
            { tag: "approach outside the work area", feeders: [tape(10), tape(70)], workAreaX1: 45,
              sent: [move("96.500", "78.000")], stored: [[1, 70, 100]], error: "",
              log: skipped + " | yellow" },
            // The tape lies 2.2 mm further along: the hole in view 1.8 mm
            // away is the next pocket's, a whole pitch off.
            { tag: "hole beside not taken", feeders: [tape(60, [0, 2.2])],
              sent: [move("86.500", "78.000")], count: 1, stored: [], error: "notFound1",
              t1: [200, 150] },
            // Always seen 1.2 mm to the right: ten moves onto it.
            { tag: "moves onto the hole counted", feeders: [tape(60)], fault: "alwaysOff",
              sent: [move("86.500", "78.000"), move("87.700", "78.000")], count: 1 + Tape.MAX_MOVES,
              stored: [], error: "notFound1" }
        ]
    }
    function test_run(data) {
        var r = rig(data.feeders, { hiddenAt: data.hiddenAt, prev: data.prev, cameraFault: data.fault })
        if (data.workAreaX1 !== undefined)
            r.b.settings.workAreaX1 = data.workAreaX1
        r.t.start("B", 0, data.feeders.length)
        r.m.advance(600000)
        var sent = r.m.sentTexts()
        compare(sent.slice(0, data.sent.length), data.sent)
        if (data.count !== undefined)
            compare(sent.length, data.count)
        compare(r.stored.length, data.stored.length)
        for (var i = 0; i < data.stored.length; ++i) {
            compare(r.stored[i][1], data.stored[i][0])
            near(r.stored[i][2], data.stored[i][1], "X")
            near(r.stored[i][3], data.stored[i][2], "Y")
        }
        compare(r.t.state().error, data.error)
        compare(r.t.state().running, data.error !== "")
        if (data.error === "")
            compare(r.states.filter(function(s) { return s.error !== "" }).length, 0)
        if (data.t1)
            compare(r.b.requests.map(function(s) { return s.t1 }), data.t1)
        if (data.log)
            compare(logTexts(r)[0], data.log)
    }

    // Nothing found: the operator looks again (at once, first threshold),
    // then skips the feeder; the next one is centred.
    function test_notFoundThenContinueThenSkip() {
        var r = rig([tape(60), tape(70)], { cameraFault: "blind" })
        r.t.start("B", 0, 2)
        r.m.advance(60000)
        compare(r.t.state().error, "notFound1")
        compare(r.t.state().feeder, 0)
        compare(r.m.sentTexts().length, 1)
        var asked = r.b.requests.length
        var before = r.m.now
        verify(r.t.continueSearch())
        compare(r.t.state().error, "")
        r.m.advance(r.b.cameraMs)
        compare(r.b.requests.length, asked + 1)
        compare(r.b.requests[asked].t1, 200)
        r.m.advance(60000)
        compare(r.b.requests[asked + 1].t1, 150)
        compare(r.t.state().error, "notFound1")

        r.b.cameraFault = ""
        r.b.marks = holesOf([70, 100], 3.5, [0, 0])
        verify(r.t.skip())
        r.m.advance(60000)
        compare(logTexts(r), ["Питатель №1 пропущен оператором. | yellow",
                              "Питатель №2 отцентрирован, корректировка по X: 0.00, по Y: 0.00 | #00C376"])
        compare(r.stored.length, 1)
        compare(r.stored[0][1], 1)
        verify(!r.t.state().running)
    }

    // By hand: the camera goes over the pick point the feeder has; the
    // operator jogs and points; "Продолжить" is not offered meanwhile.
    function test_manualPickPoint() {
        var r = rig([tape(60), tape(70)], { cameraFault: "blind" })
        r.t.start("B", 0, 2)
        r.m.advance(60000)
        verify(r.t.manual())
        verify(r.t.state().manual)
        verify(!r.t.continueSearch())
        r.m.advance(1000)
        compare(r.m.sentTexts()[1], move("90.000", "80.000"))
        r.m.setPosition({ x: 90.35, y: 79.9 })
        verify(r.t.manualDone())
        compare(r.stored.length, 1)
        near(r.stored[0][2], 60.35, "X")
        near(r.stored[0][3], 99.9, "Y")
        compare(logTexts(r)[0], "Питатель №1 отцентрирован ВРУЧНУЮ, корректировка по X: 0.35, по Y: -0.10 | white")
        verify(!r.t.state().manual)
        compare(r.t.state().feeder, 1)
        verify(!r.t.manualDone())
    }

    // "Остановить" in the middle: nothing more is sent or stored.
    function test_stop() {
        var r = rig([tape(60, [0.3, 0]), tape(70)])
        r.t.start("B", 0, 2)
        r.m.advance(320)
        r.m.stopAll()
        var sent = r.m.sentTexts().length
        r.m.advance(60000)
        compare(r.m.sentTexts().length, sent)
        compare(r.stored, [])
        verify(!r.t.state().running)
        compare(r.t.state().error, "")
        compare(r.m.events[r.m.events.length - 1], "camera:stop")
    }
}

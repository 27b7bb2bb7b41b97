import QtQuick 2.15
import QtTest 1.2
import "JobRig.js" as J

// What the component cycle does with a part the component camera has seen:
// centring in place, corner centring, the size and pin checks with their
// log and panel, the feeder debug ring and its question and loose parts
// dropped back. Exact blocks against the fake machine.
TestCase {
    id: tc
    name: "ComponentPanels"

    // The machine of tst_component.qml: component camera 2 at (200, 30), 20
    // px/mm at the centring height (53); placements at machine (60 + 10 k,
    // 300), placed at Z 32; nozzle 1 (30 mm) on the head; X/Y at most 250 /
    // 200 units/s and 1000 / 800 units/s².
    // Feeder B0 is tape(feeder); the component camera answers with `results`.
    function rig(feeder, results) {
        var settings = J.componentSettings({ "vsEnabled": true, "workAreaY2": 400 })
        var r = J.componentRig(settings, tape(feeder))
        r.b.vacuum.running = true
        r.b.componentCamera.results = results || []
        return r
    }
    function expect(r, e, done) { J.expect(tc, r, e, done) }
    // A tape feeder on bank B, nozzle 1, centred on the camera (mode 1).
    function tape(extra) { return J.tape(J.merged({ "centering": 1 }, extra)) }

    // The pick from the tape at (x, y) and the move over the camera to
    // (cx, cy) turned to `angle` (2 decimals).
    function pickBlock(angle, cx, cy, x, y) {
        var at = "x" + (x || "100.000") + " y" + (y || "50.000")
        return J.lines(["g0 z60.0", "g0  " + at + " a0.0", "g0 b1", "g0  " + at, "g0 z33.500", "m64 p1",
                      "g4 p0.200", "g0  z60.0", "m64 p4", "g0 ", "g0  z60.0",
                      "g0  x" + (cx || "200.000") + " y" + (cy || "30.000") + " a" + angle, "g0  z53.000"]) + "\ng0"
    }
    // Move and place at (x, y); `a` null for a part that keeps its angle.
    function placeBlock(x, y, a) {
        return J.lines(["g0  z60.0", "g0 ", "g0  x" + x + " y" + y + " z60.0" + (a === null ? "" : " a" + a),
                      "g0  z32.000", "m65 p1", "g4 p0.200", "g0 z60.0"]) + "\ng0"
    }
    // A part seen `mm` off the camera centre at 20 px/mm, 2 × 1.2 mm.
    function seen(x, y, angle, extra) { return J.seen(x, y, angle, J.merged({ exAngle: 0 }, extra)) }

    // ---- centring in place

    // Two correcting moves over the camera (at most 10 % acceleration), each
    // followed by the camera's pause and a new look; the third result places
    // the part with the grown shift and without turning it again.
    function test_centreInPlace() {
        var r = rig({ centerInPlace: true },
                    [seen(0.3, -0.2, 1.5), seen(0.05, 0.02, 0.2), seen(0.01, 0, 0)])
        var done = J.start(r, 1, 20000)
        compare(r.m.failures, [])
        compare(r.m.sentTexts(), [pickBlock("0.00"),
                                  "g1 f15000  acc100  x199.700 y30.200 a1.500\ng0",
                                  "g1 f15000  acc100  x199.650 y30.180 a1.700\ng0",
                                  placeBlock("59.640", "300.180", null)])
        var asks = r.b.componentCamera.requests
        compare(asks.length, 3)
        // Each look comes the camera's pause after its move ended.
        compare(asks[1].at, r.m.sent[1].at + 10 + 500)
        compare(asks[2].at, r.m.sent[2].at + 10 + 500)
        compare(r.c.setupElement.centeredInPlace, true)
        compare(r.c.setupElement.centerTry, 2)
        compare(r.b.runStates["B0"].centeringCurrCount, 3)
        compare(done.args.length, 1)
    }


    // A correcting move that would leave the camera's safe area is not
    // sent: the camera's border text stops the run.
    function test_centreInPlaceRefused() {
        var r = rig({ centerInPlace: true }, [seen(0.3, 0)])
        r.b.settings.workAreaX1 = 199.8
        var done = J.start(r, 1, 20000)
        compare(r.m.failures, ["Перемещение для центрирования компонента выходит за допустимые границы!"])
        compare(r.m.sent.length, 1)
        expect(r, { placed: 0, done: 0 }, done)
    }

    // ---- corner centring

    // A part of `w` × `h` mm (nominal 4 × 2) held `off` mm off the nozzle,
    // turned clockwise by `turn`: each frame reports the side nearest the
    // camera's centre, as the depth of the camera's centre inside the part
    // across that side (mm along the side's outward normal), and the part's
    // angle as the camera gives it (about -turn, within ±45).
    function cornerCamera(r, w, h, off, turn) {
        var t = turn * Math.PI / 180
        var along = { x: Math.cos(t), y: -Math.sin(t) }
        var across = { x: Math.sin(t), y: Math.cos(t) }
        var sides = [{ n: along, half: w / 2 }, { n: { x: -along.x, y: -along.y }, half: w / 2 },
                     { n: across, half: h / 2 }, { n: { x: -across.x, y: -across.y }, half: h / 2 }]
        var angle = -turn
        while (angle > 45) angle -= 90
        while (angle < -45) angle += 90
        return function() {
            var cx = r.m.pos.x + off.x - 200, cy = r.m.pos.y + off.y - 30
            var best = null
            for (var i = 0; i < sides.length; ++i) {
                var depth = cx * sides[i].n.x + cy * sides[i].n.y + sides[i].half
                if (best === null || Math.abs(depth) < Math.abs(best))
                    best = depth
            }
            return { found: true, x: best * 20, y: 0, angle: angle, width: 0, height: 0 }
        }
    }
    readonly property var corner: ({ centerType: 3, elWidth: 4, elHeight: 2, elThickness: 1 })

    // A straight part 4.1 × 2.1 mm held 0.3 / -0.2 mm off: the head starts
    // with the lower long side over the camera, centres it in five moves
    // (20 frames each) turning the part by what the camera says, goes 2 mm
    // down to the upper side, across to the right short side and 4 mm to the
    // left one (three moves of 7 frames each), and places the part with the
    // offset the four sides give.
    function test_cornerCentring() {
        var r = rig(corner)
        r.b.componentCamera.answer = cornerCamera(r, 4.1, 2.1, { x: 0.3, y: -0.2 }, 0)
        var done = J.start(r, 1, 60000)
        compare(r.m.failures, [])
        var side1 = "g1 f15000  acc30  x200.000 y31.250 a++0.000\ng0"
        var expected = [pickBlock("0.00", "200.000", "31.000"), side1, side1, side1, side1, side1,
                        "g0  x++0.000 y--2.000\ng0"]
        var k
        for (k = 0; k < 3; ++k)
            expected.push("g1 f15000  acc30  x200.000 y29.150\ng0")
        expected.push("g0  x--2.000 y++1.000\ng0")
        for (k = 0; k < 3; ++k)
            expected.push("g1 f15000  acc30  x197.650 y30.150\ng0")
        expected.push("g0  x++4.000 y++0.000\ng0")
        for (k = 0; k < 3; ++k)
            expected.push("g1 f15000  acc30  x201.750 y30.150\ng0")
        expected.push(placeBlock("59.700", "300.200", null))
        compare(r.m.sentTexts(), expected)
        compare(r.b.componentCamera.requests.map(function(q) { return q.count }),
                [20, 20, 20, 20, 20, 7, 7, 7, 7, 7, 7, 7, 7, 7])
        compare(r.c.setupElement.centeredInPlace, true)
        // Corner centring does not count as a centred part of mode 2.
        compare((r.b.runStates["B0"] || {}).centeringCurrCount, undefined)
        expect(r, { placed: 1, done: 1 }, done)
    }

    // Every move of the walk is checked against the camera's safe area.
    function test_cornerMoveRefused() {
        var r = rig(corner)
        r.b.settings.workAreaX1 = 198.5
        r.b.componentCamera.answer = cornerCamera(r, 4, 2, { x: 0, y: 0 }, 0)
        var done = J.start(r, 1, 60000)
        compare(r.m.failures, ["Перемещение для центрирования компонента выходит за допустимые границы!"])
        // The pick, five moves on the first side, three on the second; the
        // move to the third side (2 mm left) is refused.
        compare(r.m.sent.length, 1 + 5 + 1 + 3)
        compare(done.args.length, 0)
    }

    // ---- the pin check

    function pin(extra) {
        return J.merged({ centerType: 2, checkPinDistance: true, pinDistanceMaxDev: 15 }, extra)
    }
    // Pins 9 ... 11 apart around 10: 20 % off; or not counted.
    function pinsOff() {
        return seen(0, 0, 0, { pinCountCorrect: true, pinCount: 8, avgPinDist: 10, minPinDist: 9, maxPinDist: 11 })
    }
    function pinsGood() {
        return seen(0, 0, 0, { pinCountCorrect: true, pinCount: 8, avgPinDist: 10, minPinDist: 9.5,
                               maxPinDist: 10.5 })
    }

    // Pins 20 % off raise the panel; "Продолжить" looks at the held part
    // again.
    function test_pinPanel() {
        var r = rig(pin(), [pinsOff(), pinsGood()])
        var done = J.start(r, 1, 20000)
        expect(r, { panels: ["pinDistance"],
                    values: { pinCountRight: true, maximum: 15, measured: 20 } })
        compare(r.c.setupElement.step, 1)
        compare(r.m.sent.length, 1)
        r.b.press("continue")
        r.m.advance(20000)
        expect(r, { looks: 2, sent: [pickBlock("0.00"), placeBlock("60.000", "300.000", "0.000")], rowErrors: 0,
                    baskets: 0, setCount: [1], done: 1 }, done)
    }
    // ---- the size check

    // Bank B sees the 2 × 1.2 part with A and B exchanged. A part measured 3
    // × 1.2 mm fails side B: it is looked at three times, then logged with
    // the size result and dropped; the next failure asks the operator.
    function test_sizeCheckFails() {
        var r = rig()
        r.b.settings.camera2CheckSize = 3
        r.b.componentCamera.fallback = seen(0.1, 0, 0, { width: 60, height: 24 })
        var done = J.start(r, 1, 60000)
        var sizeLog = "Проверка размера не пройдена! A ожидаемый: 1.20мм, измеренный: 1.20мм."
                + " B ожидаемый: 2.00мм, измеренный: 3.00мм."
        compare(J.logTexts(r, "yellow"), [sizeLog, "Ошибка распознавания компонента из питателя снизу 1. Сброс в корзину.",
                                        "Сброс в корзину. Питатель: снизу  №1  0603  10k  R1", sizeLog])
        expect(r, { red: ["Несколько ошибок распознавания подряд! Остановка программы!"], looks: 6,
                    sent: [pickBlock("0.00"), J.basketBlock, pickBlock("0.00")],
                    panels: ["notRecognised"], done: 0 }, done)
    }


    // ---- the feeder debug mode

    // Parts picked 0.3 / 0.1 mm off, 2 × 1.2 mm: once three are in the ring,
    // the X mean is beyond 0.2 mm and the operator is asked. "Да" moves the
    // pick point and restarts the centring count; both answers empty the
    // ring and place the part.
    function test_debugPanel_data() {
        return [ { tag: "Да", answer: "yes" }, { tag: "Нет", answer: "no" } ]
    }
    function test_debugPanel(data) {
        var r = rig()
        r.m.run.feederDebugMode = true
        r.b.componentCamera.fallback = seen(0.3, 0.1)
        var done = J.start(r, 4, 60000)
        compare(J.panelNames(r), ["centeringOffset"])
        compare(r.b.panels[0].values.x.toFixed(3), "0.300")
        compare(r.b.panels[0].values.y.toFixed(3), "0.100")
        // Two parts placed, the third waits over the camera.
        compare(r.b.placed.length, 2)
        compare(r.m.sent.length, 5)
        r.b.press(data.answer)
        r.m.advance(60000)
        compare(r.b.panels.length, 1)
        expect(r, { placed: 4, done: 1 }, done)
        var sent = r.m.sentTexts()
        if (data.answer === "yes") {
            compare(J.writesOf(r, "caseX"), [100.3])
            compare(J.writesOf(r, "caseY"), [50.1])
            compare(sent[6], pickBlock("0.00", "200.000", "30.000", "100.300", "50.100"))
            compare(r.b.runStates["B0"].centeringCurrCount, 2)
        } else {
            compare(J.writesOf(r, "caseX"), [])
            compare(sent[6], pickBlock("0.00"))
            compare(r.b.runStates["B0"].centeringCurrCount, 4)
        }
        compare(r.b.runStates["B0"].debugArray.length, 1)
    }


    // ---- checks that do not apply

    // The part is placed at once, without a panel: centring in place in
    // mode 2; the pin check for a part centred by its outline; the size
    // check off by the feeder's own setting (which replaces the machine's),
    // never for template centring; the feeder debug ring for a retried look.
    function test_checkNotApplied_data() {
        var wrong = seen(0.1, 0, 0, { width: 60, height: 24 })
        var offset = seen(0.3, 0.1)
        return [
            { tag: "centring in place in mode 2", feeder: { centerInPlace: true, centering: 2 },
              results: [seen(0.3, -0.2, 1.5)] },
            { tag: "pins of a part centred by outline", feeder: pin({ centerType: 0 }), results: [pinsOff()] },
            { tag: "size check off by the feeder", size: 3, feeder: { cameraIndiv: true, cameraCheckSize: 0 },
              fallback: wrong },
            { tag: "template centring", size: 3, feeder: { centerType: 4 }, fallback: wrong },
            { tag: "debug ring, a retried look", debug: true, n: 3, fallback: offset,
              results: [J.notSeen, offset, seen(0, 0), seen(0, 0)] },
        ]
    }
    function test_checkNotApplied(data) {
        var r = rig(data.feeder, data.results)
        r.b.settings.camera2CheckSize = data.size || 0
        r.m.run.feederDebugMode = data.debug === true
        if (data.fallback)
            r.b.componentCamera.fallback = data.fallback
        var n = data.n || 1
        var done = J.start(r, n, 60000)
        expect(r, { panels: [], placed: n, done: 1 }, done)
        compare(r.m.sent.length, 2 * n)
        compare(r.c.setupElement.centeredInPlace, false)
    }

    // ---- loose parts dropped back

    // A loose part that was not recognised goes back where it was picked
    // (dropType 1) instead of into the basket, which takes 0.8 off the
    // failure count; without a known pick point it goes into the basket.
    function test_dropBack_data() {
        return [
            { tag: "back where it was", lastGetX: 120, lastGetY: 80,
              drop: "g0  zMax\ng0  x120.000 y80.000\ng0  z39.500\nm65 p1\ng4 p0.700\ng0 zMax\ng0", counter: 0.2 },
            { tag: "pick point unknown", lastGetX: -1000, lastGetY: -1000, drop: J.basketBlock, counter: 1 },
        ]
    }
    function test_dropBack(data) {
        var r = rig()
        r.b.componentCamera.fallback = J.notSeen
        var done = J.start(r)
        // Picked as a tape part; by the time it is judged the feeder is one
        // of loose parts that drops them back.
        for (var i = 0; i < 5000 && r.m.sent.length < 1; ++i)
            r.m.advance(1)
        var f = r.b.job.feeders["B0"]
        f.type = 2
        f.dropType = 1
        f.caseZ = 5
        f.lastGetX = data.lastGetX
        f.lastGetY = data.lastGetY
        if (data.maxAcc !== undefined)
            f.maxAcc = data.maxAcc
        for (i = 0; i < 20000 && r.m.sent.length < 2; ++i)
            r.m.advance(1)
        compare(r.m.sentTexts()[1], data.drop)
        verify(Math.abs(r.c.setupElement.notFoundCounter - data.counter) < 1e-9,
               String(r.c.setupElement.notFoundCounter))
        compare(J.logTexts(r, "yellow")[0], "Ошибка распознавания компонента из питателя снизу 1. Сброс в корзину.")
        r.m.advance(20)
        compare(r.b.basket.length, data.counter === 1 ? 1 : 0)
    }
}

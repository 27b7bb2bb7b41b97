import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/component.js" as Component
import "JobRig.js" as J

// The component cycle against the fake machine: the exact blocks of one
// feeder group, centring over the component camera, the vacuum check, the
// basket, a strip that runs out, the missed list and a stop in the middle.
TestCase {
    id: tc
    name: "Component"

    // Machine maxima X 250, Y 200, Z 100 units/s; travel height 60 (the top
    // of the work area). Nozzles 30 mm long pressing 0.5 mm; nozzle n is put
    // back with "g0 x10 y<n>" and taken with "g0 x20 y<n>"; nozzle 1 is on
    // the head. Component camera 2 at (200, 30), 20 mm high, 20 px/mm at the
    // centring height of the feeders below (2 mm over the camera).
    // Placements lie at machine (60 + 10 k, 300) on a 1.5 mm board, placed
    // at Z 32 (fast Z 34.5).
    // Feeder B0 is a tape feeder (J.tape) with `feeder`; the component
    // camera answers with `results`.
    function rig(feeder, results) {
        var r = J.componentRig(J.componentSettings({ "vsEnabled": true, "workAreaY2": 400, "workAreaZ2": 60 }),
                               J.tape(feeder), { vacuum: true })
        r.b.vacuum.running = true
        r.b.vacuum.startMs = 1000
        r.b.componentCamera.results = results || []
        return r
    }
    function expect(r, e, done) { J.expect(tc, r, e, done) }
    function nozzle(text) { return text + "\ng0 zMax\n" }

    function pickBlock(camera) {
        return J.lines(camera === undefined ? J.tapePick() : J.tapePick().concat(J.toCamera(camera))) + "\ng0"
    }
    // Placement 0 placed, not centred or centred over the camera.
    readonly property string placed: J.placeBlock("60.000", "300.000", "0.000", false)
    readonly property string placedCentred: J.placeBlock("60.000", "300.000", "0.000", true)
    // The move to placement 0 and its placing, when the vacuum is read
    // between them.
    readonly property string moveTo: J.block(["g0  z60.0", "g0  x60.000 y300.000 z60.0 a0.000"])
    readonly property string placeThere: J.block(["g0  z32.000", "m65 p1", "g4 p0.200", "g0 z60.0"])
    readonly property string basketLog: "Сброс в корзину. Питатель: снизу  №1  0603  10k  R1"

    // ---- one component

    // A tape part without the camera, and with it (mode 1), as "What one
    // component costs" lists them: one pick block (with the move over the
    // camera), the camera's pause, one result, one move-and-place block.
    function test_onePart_data() {
        return [
            { tag: "mode 0", centering: 0, results: [], sent: [pickBlock(), placed], asks: 0 },
            { tag: "mode 1, picked 0.30 / -0.20 mm off and turned 1.5°", centering: 1,
              results: [J.seen(0.3, -0.2, 1.5)],
              sent: [pickBlock("0.00"), J.placeBlock("59.700", "300.200", "1.500", true)], asks: 1 },
        ]
    }
    function test_onePart(data) {
        var r = rig({ centering: data.centering }, data.results)
        var done = J.start(r, 1, 10000)
        expect(r, { sent: data.sent, safeH: [false, false], failures: [], done: 1, looks: data.asks,
                    setCount: [1], placed: 1, counted: 1, rows: ["0", "1"], panels: [] }, done)
        if (data.asks > 0) {
            // The camera's pause comes after the pick block ended.
            compare(r.b.componentCamera.requests[0].at, r.m.sent[0].at + 10 + 500)
            compare(r.m.events.indexOf("camera2:start:2") >= 0, true)
        }
    }

    // The nozzle of the feeder is taken at the start of its group.
    function test_nozzleChangeAtGroupStart() {
        var r = rig({ cupNumber: 3 })
        r.b.currVC = 2
        var done = J.start(r, 1, 10000)
        var sent = [nozzle("g0 x10 y2"), nozzle("g0 x20 y3"), pickBlock(), placed]
        expect(r, { sent: sent, done: 1 }, done)
        compare(r.b.currVC, 3)
    }

    // ---- the vacuum check

    // Readings: 40 with the valve closed, `open` with it open.
    function sensor(open) {
        return function(m, b) { return b.outputs[1] ? open() : 40 }
    }
    function vacuumRig(relative) {
        var r = rig({ vsCheck: true })
        r.b.settings.vsControlType = relative ? 1 : 0
        r.b.job.nozzles[1].vsUse = true
        return r
    }

    // The part is held when the reading is above vsPressure (absolute) or
    // fell by less than vsPressureDiff from the one before the pick
    // (relative). A part not held goes to the basket and is picked again.
    function test_vacuumRule_data() {
        var off = "Ошибка по датчику разрежения! Питатель: снизу  №1. "
        return [
            { tag: "absolute, 8 kPa: not held", relative: false, open: [8, 12], held: false,
              log: off + "Измерено: 8.0кПа, порог: 10.0кПа." },
            { tag: "relative, fell by 30: not held", relative: true, open: [10, 38], held: false,
              log: off + "До взятия: 40.0кПа, после: 10.0кПа, разница: 30.0кПа, порог: 5.0кПа." },
        ]
    }
    function test_vacuumRule(data) {
        var r = vacuumRig(data.relative)
        var readings = data.open.slice()
        // One reading per measurement, the last one for good.
        r.b.vacuum.valueAt = sensor(function() { return readings.length > 1 ? readings.shift() : readings[0] })
        var pick = J.tapePick()
        if (data.relative)
            pick.splice(4, 0, "(vsMeasureBeforeGet)")
        pick = J.block(pick)
        var done = J.start(r, 1, 6000)
        if (!data.held)
            expect(r, { yellow: [data.log, basketLog], rowErrors: 1, basketCount: [1], baskets: 1 })
        expect(r, { sent: data.held ? [pick, moveTo, placeThere]
                                    : [pick, moveTo, J.basketBlock, pick, moveTo, placeThere],
                    panels: [], setCount: [1], done: 1 }, done)
        compare(r.m.sent[1].safeH, false)
        // Fast polling while the part waits for its reading.
        compare(r.m.events.indexOf("vacuum:fast:true") >= 0, true)
        compare(r.b.vacuum.fast, false)
    }

    // Below the limit (pickRetryCount 1) the part goes to the basket; at the
    // limit the operator is asked; "Продолжить" measures again. A rejected
    // part is never counted as set.
    function test_vacuumPanelAtLimit() {
        var r = vacuumRig(false)
        var open = 5
        r.b.vacuum.valueAt = sensor(function() { return open })
        var done = J.start(r, 1, 10000)
        expect(r, { sent: [pickBlock(), moveTo, J.basketBlock, pickBlock(), moveTo],
                    panels: ["vacuumError"], rowErrors: 2, setCount: [],
                    values: { control: "absolute", measured: 5, threshold: 10 } })
        compare(r.c.elSetupWait.vacuumErrorCount, 0)
        r.b.press("sensorSettings")
        compare(r.m.events.indexOf("sensorSettings") >= 0, true)
        open = 15
        r.b.press("continue")
        r.m.advance(10000)
        compare(r.m.sentTexts().slice(5), [placeThere])
        expect(r, { setCount: [1], done: 1 }, done)
    }

    // A sensor that does not answer: red log line and the panel with its
    // message.
    function test_vacuumSensorFails() {
        var r = vacuumRig(false)
        r.b.vacuum.fault = "measureFails"
        J.start(r, 1, 10000)
        expect(r, { red: ["Ошибка связи с датчиком разрежения!"], panels: ["vacuumError"],
                    values: { control: "failure", message: "Нет ответа от датчика." },
                    sent: [pickBlock(), moveTo] })
    }

    // ---- trays and strips

    // A strip from (10, 20) to (10, 60) at 4 mm holds round(40 / 4) + 1 = 11
    // parts; "Пропустить" at the panel sends the rest of the group to the
    // missed list, a placement whose pick never happened among them.
    function test_stripCapacitySkipped() {
        var r = rig({ type: 5, caseX: 10, caseY: 20, cutX2: 10, cutY2: 60, cutDistance: 4, caseZ: 2,
                      caseCurrNumber: 10, caseStopEnabled: true })
        r.b.job.groups = [J.group(3)]
        r.b.job.groups[0][2].disabledTemp = true
        var done = J.counter()
        r.c.setupFeeder(0, done)
        r.m.advance(20000)
        var empty = "Жду замены/пополнения отрезка ленты! Остановка! Питатель: снизу  №1"
        expect(r, { placed: 1, panels: ["tapeChange"], yellow: [empty] })
        compare(r.m.sentTexts()[0].split("\n")[1], "g0  x10.000 y60.000 a0.0")
        r.b.press("skip")
        r.m.advance(20000)
        var skipped = "Питатель: снизу  №1 пропущен оператором."
        expect(r, { yellow: [empty, skipped], done: 1, missed: 1 }, done)
        var missed = r.m.missed
        compare(missed.rowCount, 1)
        compare(missed.getSubSteps(0), 1)
        compare(missed.getP1(0, 0), r.b.job.groups[0][1])
        // Nothing more is picked from the skipped feeder.
        compare(r.m.sent.length, 3)
    }

    // ---- centring mode 2

    // The first centeringCount parts are centred; their mean offset places
    // the fourth, which does not visit the camera.
    function test_modeTwoMean() {
        var r = rig({ centering: 2, centeringCount: 3 },
                    [J.seen(0.1, 0.3), J.seen(0.2, 0.3), J.seen(0.3, 0.3)])
        var done = J.start(r, 4, 20000)
        expect(r, { looks: 3, done: 1,
                    sent: [pickBlock(null), J.placeBlock("59.900", "299.700", "0.000", true),
                           pickBlock(null), J.placeBlock("69.800", "299.700", "0.000", true),
                           pickBlock(null), J.placeBlock("79.700", "299.700", "0.000", true),
                           pickBlock(), J.placeBlock("89.800", "299.700", "0.000", false)] }, done)
        compare(J.writesOf(r, "centeringX").map(function(v) { return v.toFixed(3) }), ["0.200"])
        compare(J.writesOf(r, "centeringY").map(function(v) { return v.toFixed(3) }), ["0.300"])
        compare(r.b.runStates["B0"].centeringCurrCount, 3)
    }

    // ---- recognition failures

    // pickRetryCount (2) parts go to the basket, the next failure raises the
    // panel (the values the file may hold: the pick texts' tests).
    function test_pickRetryCount() {
        var r = rig({ centering: 1, pickRetryCount: 2 })
        r.b.componentCamera.fallback = J.notSeen
        var done = J.start(r, 1, 100000)
        var expected = [pickBlock("0.00"), J.basketBlock, pickBlock("0.00"), J.basketBlock, pickBlock("0.00")]
        expect(r, { sent: expected, looks: 9, panels: ["notRecognised"],
                    red: ["Несколько ошибок распознавания подряд! Остановка программы!"],
                    rowErrors: 3, setCount: [], done: 0 }, done)
        compare(J.writesOf(r, "basketCount").length, 2)
        compare(r.m.beeps, 2)
        // "Продолжить" recognises the held part again.
        r.b.componentCamera.fallback = J.seen(0, 0)
        r.b.press("continue")
        r.m.advance(10000)
        compare(r.m.sentTexts().slice(expected.length), [placedCentred])
        expect(r, { setCount: [1], done: 1 }, done)
    }

    // A success between failures takes 0.2 off the count, and the count
    // is rounded: with pickRetryCount 1 a failure, three successes and a
    // failure stay below the limit (1.4).
    function test_successTakesOffFailure() {
        var results = [J.notSeen, J.notSeen, J.notSeen, J.seen(0, 0), J.seen(0, 0), J.seen(0, 0),
                       J.notSeen, J.notSeen, J.notSeen, J.seen(0, 0)]
        var r = rig({ centering: 1, pickRetryCount: 1 }, results)
        // The first success is the new pick of the first part.
        var done = J.start(r, 4, 100000)
        expect(r, { panels: [], baskets: 2, placed: 4, done: 1 }, done)
    }

    // ---- the basket

    // A basket G-code without a move is refused: the valve would drop the
    // part wherever the head is.
    function test_basketWithoutMove() {
        var r = rig({ centering: 1 })
        r.b.settings.basketGcode = "m65 p1"
        r.b.componentCamera.fallback = J.notSeen
        J.start(r, 1, 100000)
        var refused = "G-код сброса в корзину не содержит перемещения по X или Y: "
                + "компонент не сброшен"
        expect(r, { sent: [pickBlock("0.00")], failures: [refused] })
    }

    // ---- the group

    function test_skippedPlacements_data() {
        return [
            { tag: "all 5000 off", n: 5000, on: [], rows: ["не выполнено"] },
            { tag: "5000 with unmeasured marks", n: 5000, on: "all", marks: true, placed: 0 },
        ]
    }
    function test_skippedPlacements(data) {
        var r = rig()
        var list = J.group(data.n)
        for (var k = 0; k < list.length; ++k) {
            list[k].disabledTemp = data.on !== "all" && data.on.indexOf(k) < 0
            list[k].rX = 49
        }
        r.b.job.groups = [list]
        if (data.marks) {
            r.b.settings.pcbMulti = true
            r.b.settings.refMode = 0
            r.b.job.refList = [{ refId: 0, previews: [[{ used: false }]] }, { refId: 1, previews: [[{ used: true }]] }]
        }
        var done = J.counter()
        r.c.setupFeeder(0, done)
        r.m.advance(10000)
        expect(r, { done: 1, failures: [] }, done)
        if (data.rows)
            compare(r.m.rows, data.rows)
        if (data.placed !== undefined)
            compare(r.b.placed.length, data.placed)
        if (data.marks) {
            var texts = J.logTexts(r, "yellow")
            compare(texts.length, 5000)
            compare(texts[0], "Компонент не установлен, потому что не были просканированы соответствующие реперные знаки")
            compare(r.m.sent.length, 0)
        }
    }

    // ---- a stop in the middle

    function runUntil(r, predicate) {
        for (var i = 0; i < 20000 && !predicate(); ++i)
            r.m.advance(1)
        verify(predicate(), "the cycle never reached the point of the stop")
    }
    function test_stopIgnoresLateEvents_data() {
        return [
            { tag: "place block running", at: function(r) { return r.m.sent.length === 2 } },
            { tag: "vacuum reading on its way", feeder: { vsCheck: true }, vacuum: true,
              at: function(r) { return r.b.vacuum.requests.length === 1 } },
        ]
    }
    function test_stopIgnoresLateEvents(data) {
        var r = rig(J.merged({ centering: 1 }, data.feeder), data.results)
        r.b.job.nozzles[1].vsUse = data.vacuum === true
        r.b.vacuum.valueAt = sensor(function() { return 20 })
        if (data.fallback)
            r.b.componentCamera.fallback = data.fallback
        var done = J.start(r, 2)
        runUntil(r, function() { return data.at(r) })
        r.m.stopAll()
        r.m.run.executing = false
        var sent = r.m.sent.length
        var writes = r.b.feederWrites.length
        var looks = r.b.componentCamera.requests.length
        r.m.advance(100000)
        compare(r.m.sent.length, sent)
        compare(r.b.feederWrites.length, writes)
        expect(r, { looks: looks, placed: 0, done: 0, failures: [] }, done)
    }

    // ---- pure parts

    function test_angleChoice_data() {
        return [
            { tag: "straight, measured 1.5", c: 0, measured: 1.5, a: 1.5 },
            { tag: "90, measured 1", c: 90, measured: 1, a: 91 },
        ]
    }
    function test_angleChoice(data) {
        compare(Component.angleChoice(data.c, data.measured), data.a)
    }

    // A part seen where the scale cannot be known counts as not found: it is
    // never moved by a made-up offset.
    function test_noScaleIsNotFound() {
        var r = rig({ centering: 1, pickRetryCount: 0 })
        r.b.settings.camera2PPMDistance = NaN
        r.b.componentCamera.fallback = J.seen(0.3, 0.3)
        J.start(r, 1, 100000)
        expect(r, { panels: ["notRecognised"], sent: [pickBlock("0.00")] })
    }

    function test_meanOfFrames_data() {
        return [
            { tag: "angles take the first frame's sign", frames: [{ found: true, x: 2, y: 4, angle: -2, width: 10, height: 6 },
                                                                { found: true, x: 4, y: 0, angle: 4, width: 12, height: 8 }],
              mean: { found: true, x: 3, y: 2, angle: -3, width: 11, height: 7 } },
            { tag: "one frame lost", frames: [{ found: true, x: 2, y: 4, angle: 1, width: 1, height: 1 },
                                             { found: false, x: 0, y: 0, angle: 0, width: 0, height: 0 }],
              mean: { found: false, x: 0, y: 0, angle: 0, width: 0, height: 0 } },
        ]
    }
    function test_meanOfFrames(data) {
        compare(Component.meanOfFrames(data.frames), data.mean)
    }
}

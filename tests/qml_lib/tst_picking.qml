import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "../../qml/main/job/picking.js" as Picking
import "JobRig.js" as J

// The picking steps against the fake machine: the pick blocks as the step
// puts them together, the nozzle change with its clogging check, the vacuum
// reading and the tape-change panel.
TestCase {
    id: tc
    name: "Picking"

    readonly property int day: 24 * 3600 * 1000

    // Machine maxima X 250, Y 200, Z 100 units/s; 1000, 800, 500 units/s².
    // Travel height 40 in a run, 60 (the top of the work area) outside.
    // Nozzles 30 mm long pressing 0.5 mm; nozzle n is put back with
    // "g0 x10 y<n>" and taken with "g0 x20 y<n>".
    function rig(extra) {
        var r = J.pickingRig(J.pickSettings({
            "vsEnabled": true, "camera3X": 240, "camera3Y": 30, "camera3Height": 15, "camera3MinHeight": 0,
            "preCameraGcode3": "M64 P9", "checkCloggingPrepareTime": 2 }), true)
        r.b.job.tapeBanks = [J.tapeBank]
        r.b.job.vibrationBanks = [{ "pwm": false, "g1": "G0 (XGET) (yget)\nM64 P6", "zShift": 2 }]
        r.b.vacuum.running = true
        r.b.vacuum.startMs = 1000
        r.b.outputs[0] = true          // the compressor
        return r
    }
    // Picks from feeder B0 and lets the clock run 1 s; returns the continuation.
    function pickB0(r) {
        var f = J.counter()
        r.p.elGetWait("B", 0, {}, f)
        r.m.advance(1000)
        return f
    }
    function expect(r, e, done) { J.expect(tc, r, e, done) }
    function tray(extra) {
        return J.merged({ "type": 1, "cupNumber": 1, "caseX": 100, "caseY": 50, "caseZ": 5, "cutX2": 120, "cutY2": 80,
                        "caseRowsX": 3, "caseRowsY": 4, "caseCurrNumber": 4, "caseStopEnabled": true,
                        "elThickness": 1, "elWidth": 2, "elHeight": 1.2, "maxAcc": 100, "centering": 0,
                        "rot": 0, "slowPick": false }, extra)
    }
    // Descent to z, vacuum and the rise to the travel height at full speed.
    function tail(z, travel) { return ["g0 z" + z, "m64 p1", "g4 p0.200", "g0  z" + (travel || "40.0")] }
    function model(rows) {
        var op = Fake.opModel()
        for (var i = 0; i < rows.length; ++i)
            op.append(rows[i])
        return op
    }

    // ---- the pick block of every kind

    function test_pickBlock_data() {
        return [
            { tag: "G-code feeder places the part itself",
              f: { type: 0, gCode: "G0 (X) (Y)\nG0 (Z) (a)" }, target: { x: 150.5, y: 70, z: 3, a: 90 },
              text: ["g0 x150.500 y70.000\ng0 z3.000 a90.000", "g0  z40.0"], storesBefore: true },
            { tag: "the compressor off is switched on first", f: {}, compressorOff: true,
              text: ["g0 z40.0", "g0  x110 y60 a0.0"].concat(tail("35.500")) },
            { tag: "tray outside a run: slow, at the top of the work area", f: {}, outside: true,
              text: ["g0 z60.0", "g1 f15000  acc150  x110 y60 a0.0"].concat(tail("35.500", "60.0")) },
            { tag: "half-pitch tape on its second part: no shift, 2 mm on, cover tape pulled",
              f: { type: 3, bankNumber: 0, bandStep: 0, bandSemiStep: 1 }, bank: { g1p2c: "G0 B0.5" },
              text: ["g0 z40.0", "g0  x100.000 y48.000 a0.0", "g0  x100.000 y48.000"].concat(tail("33.500")),
              writes: [["bandSemiStep", 0], ["release2CompsDone", false], ["noShiftOnStartDone", false],
                       ["lastGetX", 100], ["lastGetY", 48]],
              jogs: [{ axis: 4, direction: true, speed: 10, distance: 6 }] },
        ]
    }
    function test_pickBlock(data) {
        var r = rig()
        if (data.outside)
            r.m.run.executing = false
        if (data.bank)
            r.b.job.tapeBanks[0] = J.merged(r.b.job.tapeBanks[0], data.bank)
        r.b.job.placementTarget = data.target || null
        r.b.job.feeders["B0"] = tray(data.f)
        r.b.outputs[0] = data.compressorOff !== true
        var f = pickB0(r)
        // The compressor is switched on when it is off, and only then.
        compare(J.eventsLike(r, "dout:"), data.compressorOff ? ["dout:0:true"] : [])
        compare(r.m.sentTexts(), [J.lines(data.text) + "\ng0"])
        compare(r.m.sent[0].safeH, false)
        expect(r, { done: 1, failures: [] }, f)
        compare(r.b.feederWrites.map(function(w) { return [w[2], w[3]] }), data.writes || [])
        compare(r.b.jogs, data.jogs || [])
        compare(r.m.events.indexOf("vacuum:storeBefore") >= 0, data.storesBefore === true)
    }

    // ---- the move to the component camera

    function test_toCamera_data() {
        var pick = ["g0 z40.0", "g0  x110 y60 a0.0"].concat(tail("35.500"))
        return [
            { tag: "turned to the placement angle in mode 1", f: { centering: 1, centeringZ: 2 }, angle: 90,
              text: pick.concat(["m64 p4", "g0 ", "g0  z40.0", "g0  x200.000 y30.000 a90.00", "g0  z53.000"]),
              supposed: { camera3: false, angle: 90 } },
            { tag: "large part on camera 3 with its own G-code", f: { centering: 1, centeringZ: 2, elWidth: 6, rot: 90 },
              camera3: true, angle: 100,
              text: pick.concat(["m64 p4", "g0 ", "M64 P9", "g0  z40.0", "g0  x240.000 y30.000 a100.00",
                                 "g0  z48.000"]),
              supposed: { camera3: true, angle: -170 } },
        ]
    }
    function test_toCamera(data) {
        var r = rig()
        r.b.settings.camera3Enabled = data.camera3 === true
        r.b.job.placementAngle = data.angle
        r.b.job.feeders["B0"] = tray(data.f)
        var f = pickB0(r)
        expect(r, { sent: [J.lines(data.text) + "\ng0"], done: 1 }, f)
        compare(r.b.supposedAngle, data.supposed)
        compare(r.p.elGetWait.gCodeCamera, data.supposed ? J.lines(data.text.slice(6)) : "")
    }

    // A target outside the camera's safe area stops before anything is sent
    // or written.
    function test_cameraOutOfBounds() {
        var r = rig()
        r.b.job.feeders["B0"] = tray({ type: 3, bankNumber: 0, bandStep: 1, centering: 1,
                                       packageSettings: { customPickPoint: true, aShift: 0, bShift: 30 } })
        var f = pickB0(r)
        compare(r.m.sentTexts(), [])
        compare(r.b.feederWrites, [])
        var border = "Перемещение для центрирования компонента выходит за допустимые границы!"
        expect(r, { failures: [border], done: 0 }, f)
    }

    // The stored move is repeated alone.
    function test_onlyToCamera() {
        var r = rig()
        r.b.job.feeders["B0"] = tray({ centering: 1, centeringZ: 2 })
        pickB0(r)
        // A call without arguments starts nothing.
        r.p.elGetWait()
        r.m.advance(1000)
        compare(r.m.sentTexts().length, 1)
        compare(r.m.failures, [])
        var f = J.counter()
        r.p.elGetWait("B", 0, {}, f, true)
        r.m.advance(1000)
        compare(r.m.sentTexts().length, 2)
        compare(r.m.sentTexts()[1], "m64 p4\ng0 \ng0  z40.0\ng0  x200.000 y30.000 a0.00\ng0  z53.000\ng0")
        compare(f.args.length, 1)
    }

    // A PWM vibration runs before the first pick and again while the part is
    // carried; the camera move then goes on its own.
    function test_pwmVibration() {
        var r = rig()
        r.b.job.vibrationBanks[0] = { "pwm": true, "pwmFreq": 50, "pwmDutyCycle": 30, "pwmLength": 300, "zShift": 2 }
        r.b.job.feeders["B0"] = tray({ type: 4, bankNumber: 0, caseX: 80, caseY: 90, centering: 1, centeringZ: 2 })
        var f = J.counter()
        r.p.elGetWait("B", 0, {}, f)
        compare(r.m.sent.length, 0)
        r.m.advance(2000)
        compare(r.m.sentTexts(), [J.lines(["g0  x80.000 y90.000 a0.0"].concat(tail("32.500"))) + "\ng0",
                                  "m64 p4\ng0 \ng0  z40.0\ng0  x200.000 y30.000 a0.00\ng0  z53.000\ng0"])
        compare(r.m.sent[0].at, 300)
        compare(r.b.vibrations.map(function(v) { return [v.freq, v.dutyCycle, v.length, v.at] }),
                [[50, 30, 300, 0], [50, 30, 300, 310]])
        compare(f.args.length, 1)
    }

    // ---- the nozzle change

    function test_nozzleChange_data() {
        return [
            { tag: "2 to 3: put back, then take", from: 2, to: 3, sent: ["g0 x10 y2", "g0 x20 y3"], vc: 3,
              row: "выполнено", changing: [true, false] },
            { tag: "the same nozzle sends nothing", from: 3, to: 3, sent: [], vc: 3, row: "не выполнено",
              changing: [] },
            { tag: "a held part goes to the basket first", from: 2, to: 3, valve: true,
              sent: ["g0 zMax\ng0 x470 y120\nm65 p1", "g0 x10 y2", "g0 x20 y3"], vc: 3, row: "выполнено",
              changing: [true, false] },
        ]
    }
    function test_nozzleChange(data) {
        var r = rig()
        r.b.currVC = data.from
        r.b.outputs[1] = data.valve === true
        r.m.model = model([{ op: "6", opFunc: "cupWaitDummy", p1: 5, enabled: 1 },
                           { op: "3", opFunc: "cupWaitDummy", p1: data.to, enabled: 1, complete: "" },
                           { op: "4", opFunc: "cupWait", p1: data.to, enabled: 1 }])
        var f = J.counter()
        r.p.cupWait(data.to, f)
        compare(f.args.length, 0)
        r.m.advance(1000)
        compare(r.m.sentTexts(), data.sent.map(function(t) { return t + "\ng0 zMax\n" }))
        compare(r.m.sent.every(function(s) { return s.safeH === true }), true)
        compare(r.b.currVC, data.vc)
        compare(f.args.length, 1)
        compare(r.m.model.completes(), ["", data.row, ""])
        compare(r.b.nozzleChanges, data.changing)
        compare(r.m.failures, [])
    }

    // The head holds the wanted nozzle only once its take block has run; a
    // failed block leaves the head as the last good block left it.
    function test_nozzleChangeFails_data() {
        return [
            { tag: "take fails", fail: 1, sent: 2, vcDuring: [2, -1], vc: -1,
              error: "Ошибка при взятии насадки №4! Верните насадку в базу вручную, если она была взята!" },
            { tag: "put-back fails", fail: 0, sent: 1, vcDuring: [2], vc: 2,
              error: "Ошибка при возврате насадки №3! Установите насадку №3 на голову вручную, если она не установлена!" },
        ]
    }
    function test_nozzleChangeFails(data) {
        var r = rig()
        r.m.blockMode = "manual"
        r.b.currVC = 2
        var f = J.counter()
        r.p.cupWait(3, f)
        var during = []
        for (var i = 0; i <= data.fail; ++i) {
            during.push(r.b.currVC)
            r.m.finishBlock(i !== data.fail)
        }
        r.m.advance(1000)
        compare(during, data.vcDuring)
        compare(r.m.sent.length, data.sent)
        compare(r.b.currVC, data.vc)
        expect(r, { failures: [data.error], done: 0 }, f)
        compare(r.m.nozzleChanging, false)
    }

    // ---- the clogging check of a fresh nozzle

    // Readings: 40 with the valve closed; with it open `open`.
    function sensor(open) {
        return function(m, b) { return b.outputs[1] ? open : 40 }
    }
    readonly property string absCheck: "m64 p0 \n m64 p1 \n g4 p1 \n\ng0 zMax\n"
    readonly property string valveOff: "m65 p1 \n\ng0 zMax\n"

    function test_clogging_data() {
        return [
            { tag: "absolute, clean", relative: false, open: 5, sent: ["take", "abs", "off"], requests: 1,
              panel: null, done: true },
            { tag: "absolute, clogged: measured twice, then the panel", relative: false, open: 30,
              sent: ["take", "abs"], requests: 2,
              panel: { control: "absolute", measured: 30, threshold: 10 }, done: false },
            { tag: "sensor does not start", relative: false, open: 5, stopped: true, startFails: true,
              sent: ["take", "startAbs"], requests: 0,
              panel: { control: "failure", message: "Нет ответа от датчика разрежения! Возможно выбран не тот порт!" },
              done: false, log: "Ошибка связи с датчиком разрежения!" },
        ]
    }
    function test_clogging(data) {
        var r = rig()
        r.b.job.nozzles[3].vsUse = true
        r.b.job.nozzles[3].checkClogging = true
        r.b.vacuum.valueAt = sensor(data.open)
        r.b.vacuum.running = data.stopped !== true
        if (data.startFails)
            r.b.vacuum.startsAfter = -1
        r.b.vacuum.fault = data.fault || ""
        r.m.model = model([{ op: "3", opFunc: "cupWaitDummy", p1: 3, enabled: 1 }])
        var f = J.counter()
        r.p.cupWait(3, f)
        r.m.advance(20000)
        var blocks = { "take": "g0 x20 y3\ng0 zMax\n", "abs": absCheck, "off": valveOff,
                       "startAbs": "g4 p2\n" + absCheck }
        compare(r.m.sentTexts(), data.sent.map(function(n) { return blocks[n] }))
        compare(r.b.vacuum.requests.length, data.requests)
        compare(f.args.length, data.done ? 1 : 0)
        compare(r.m.model.completes(), [data.done ? "выполнено" : ""])
        if (data.panel) {
            compare(r.b.panels.length, 1)
            compare(r.b.panels[0].name, "nozzleClogging")
            compare(r.b.panels[0].values, data.panel)
            compare(r.m.logs.filter(function(l) { return l.color === "red" }).map(function(l) { return l.text }),
                    [data.log || "Датчик разрежения сообщил о забитости насадки!"])
        } else {
            compare(r.b.panels.length, 0)
        }
        compare(r.b.currVC, 3)
        compare(r.m.failures, [])
    }

    // ---- one vacuum reading

    // Readings arrive as events; only one taken after the request counts.
    // A sensor that neither runs nor starts is asked nothing: the failure
    // comes on the next turn of the event loop, never from inside the call.
    function test_vsMeasureWait_data() {
        return [
            { tag: "a reading taken before the request is ignored",
              events: [["value", 99, -50], ["value", 12, 30]], ok: true, value: 12 },
            { tag: "a reading just past midnight counts", at: day - 10,
              events: [["value", 12, 15]], ok: true, value: 12 },
            { tag: "sensor stopped", stopped: true, events: [], ok: false,
              message: "Датчик разрежения не запущен" },
        ]
    }
    function test_vsMeasureWait(data) {
        var r = rig()
        r.b.vacuum.fault = "vacuumSilent"
        r.b.vacuum.running = data.stopped !== true
        r.m.now = data.at || 1000
        var start = r.m.now
        r.p.vsMeasureGet(77, start + 5)     // no wait is pending: ignored
        var f = J.counter()
        r.p.vsMeasureWait(f)
        compare(f.args.length, 0)
        compare(r.b.vacuum.requests, data.stopped ? [] : [start])
        for (var i = 0; i < data.events.length; ++i) {
            var e = data.events[i]
            if (e[0] === "value")
                r.p.vsMeasureGet(e[1], (start + e[2]) % day)
            else
                r.p.vsMeasureFailedGet(e[1])
        }
        r.m.advance(5000)
        compare(f.args.length, 1)
        if (data.ok) {
            compare(f.args[0].ok, true)
            compare(f.args[0].value, data.value)
        } else {
            compare(f.args[0], { ok: false, message: data.message })
        }
        compare(r.p.vsMeasureWait.result, f.args[0])
    }

    function test_vacuumHeld_data() {
        return [
            { tag: "relative, drop at the limit: not held", relative: true, before: 40, after: 35, held: false },
            { tag: "absolute, below: not held", relative: false, after: 8, held: false },
            { tag: "no reading: not held", relative: false, after: NaN, held: false },
        ]
    }
    function test_vacuumHeld(data) {
        compare(Picking.vacuumHeld({ vsPressure: 10, vsPressureDiff: 5 }, data.relative, data.before, data.after),
                data.held)
    }

    // ---- a feeder that runs out

    function test_runsOut_data() {
        return [
            { tag: "full tray", f: { caseCurrNumber: 12 }, panel: true,
              log: "Жду замены/пополнения поддона! Остановка! Питатель: снизу  №1",
              refill: ["caseCurrNumber", 0], after: ["g0 z40.0", "g0  x100 y50 a0.0"].concat(tail("35.500")) },
            { tag: "tape stock used up", f: { type: 3, bankNumber: 0, bandStep: 1, tapeEnabled: true, inTapeNow: 0,
                                              inTape: 2000 }, panel: true,
              log: "Жду замены ленты! Остановка! Питатель: снизу  №1",
              refill: ["inTapeNow", 2000],
              after: ["g0 z40.0", "g0  x100.000 y50.000 a0.0", "g0 b1", "g0  x100.000 y50.000"].concat(tail("33.500")) },
            { tag: "full tray without the stop wraps", f: { caseCurrNumber: 12, caseStopEnabled: false }, panel: false,
              after: ["g0 z40.0", "g0  x100 y50 a0.0"].concat(tail("35.500")) },
        ]
    }
    function test_runsOut(data) {
        var r = rig()
        r.b.job.feeders["B0"] = tray(data.f)
        var f = pickB0(r)
        var pick = J.lines(data.after) + "\ng0"
        if (!data.panel) {
            compare(r.b.panels.length, 0)
            expect(r, { sent: [pick], done: 1 }, f)
            return
        }
        compare(r.b.panels.map(function(p) { return p.name }), ["tapeChange"])
        compare(r.m.sentTexts(), ["g0 x0 y0\ng0 zMax\n"])
        compare(r.m.sent[0].safeH, true)
        compare(r.m.logs, [{ text: data.log, color: "yellow" }])
        compare(f.args.length, 0)
        r.b.press("continue")
        r.m.advance(1000)
        compare(r.b.feederWrites[0], ["B", 0, data.refill[0], data.refill[1]])
        expect(r, { sent: ["g0 x0 y0\ng0 zMax\n", pick], done: 1 }, f)
    }

    // ---- a stop in the middle: late events do nothing

    function test_stopIgnoresLateEvents_data() {
        return [ { tag: "pick block" }, { tag: "nozzle block" }, { tag: "vacuum reading" } ]
    }
    function test_stopIgnoresLateEvents(data) {
        var r = rig()
        r.m.blockMode = "manual"
        var f = J.counter()
        var sentBefore
        switch (data.tag) {
        case "pick block":
            r.b.job.feeders["B0"] = tray({ centering: 1, centeringZ: 2 })
            r.p.elGetWait("B", 0, {}, f)
            r.m.stopAll()
            r.m.finishBlock(true)
            break
        case "nozzle block":
            r.b.currVC = 2
            r.p.cupWait(3, f)
            r.m.stopAll()
            r.m.finishBlock(true)
            // The put-back ran: the head holds no nozzle, and nothing is taken.
            compare(r.b.currVC, -1)
            compare(r.m.nozzleChanging, false)
            break
        case "vacuum reading":
            r.b.vacuum.fault = "vacuumSilent"
            r.p.vsMeasureWait(f)
            r.m.stopAll()
            r.p.vsMeasureGet(12, r.m.now + 30)
            r.p.vsMeasureFailedGet("Нет ответа от датчика.")
            break
        }
        sentBefore = r.m.sent.length
        r.m.advance(20000)
        compare(r.m.sent.length, sentBefore)
        compare(r.m.running, null)
        compare(f.args.length, 0)
    }
}

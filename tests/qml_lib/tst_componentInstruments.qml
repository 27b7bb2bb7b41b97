import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/componentInstruments.js" as CI
import "../../qml/main/job/equivalents.js" as Equivalents
import "JobRig.js" as J

// The instruments of the component cycle against the fake machine: the RLC
// check of the held part, its programming in the programmer socket, and the
// move of a failing group to an equivalent feeder; and their pure parts.
TestCase {
    id: tc
    name: "ComponentInstruments"

    // As the component cycle's tests: machine maxima X 250, Y 200, Z 100
    // units/s, travel height 60; nozzles 30 mm long pressing 0.5 mm, nozzle
    // 1 on the head; component camera 2 at (200, 30), 20 px/mm at the
    // centring height; placement k at machine (60 + 10 k, 300), placed at
    // Z 32. The RLC meter's point is (300, 20) at 5 mm; the programmer
    // socket is at (320, 40), 8 mm high, turned 90°.
    function rig(feeder) {
        return J.componentRig(J.componentSettings({
            "workAreaY2": 400, "rlcEnabled": true, "rlcX": 300, "rlcY": 20, "rlcZ": 5,
            "programmerEnabled": true, "programmerInterface": 0, "programmerScriptPath": "file:///opt/prog.sh",
            "programmerWait": 5, "programmerX": 320, "programmerY": 40, "programmerZ": 8, "programmerA": 90,
            "autoSwithToSimilarFeeders": false }), tape(feeder), { instruments: true })
    }
    // A tape feeder on bank B, nozzle 1, one perforation per part, a 10 kΩ
    // resistor checked within ±10 % at 90°; neither check is on unless a
    // test says so.
    function tape(extra) {
        return J.tape(J.merged({ "rlcEnabled": false, "rlcType": 0, "rlcUnit": 1, "rlcValue": 10, "rlcPercent1": 10,
                                 "rlcPercent2": 10, "rlcRotation": 90, "programmerEnabled": false }, extra))
    }

    // The pick (`angle` given: with the move over the camera turned so), and
    // to the meter: 36 = 5 + nozzle 30 + part 1.
    function pick(angle, x) {
        return J.block(J.tapePick(x).concat(angle === undefined ? [] : J.toCamera(angle)))
    }
    readonly property string rlcBlock: J.block(["g0  zMax", "g0  x300.000 y20.000 a-90.000", "g0 z36.000"])
    // Placement 0 placed, after the camera or not.
    readonly property string placed: J.placeBlock("60.000", "300.000", "0.000", false)
    readonly property string placedCentred: J.placeBlock("60.000", "300.000", "0.000", true)
    function expect(r, e, done) { J.expect(tc, r, e, done) }
    function ohms(v) { return { "value": v, "text": (v / 1000).toFixed(3) + "kΩ" } }

    function writesOf(r, name) {
        return r.b.feederWrites.filter(function(w) { return w[2] === name })
    }

    // ================================================================
    // The RLC check

    // A centred part measured in range: the pick ends at the meter, and the
    // move over the camera goes on its own after the check. The meter is
    // opened and set up for the first part only; of two readings the second
    // counts.
    function test_rlcInRange() {
        var r = rig({ rlcEnabled: true, centering: 1 })
        r.b.rlc.readings = [ohms(99999), ohms(10500), ohms(5), ohms(9000)]
        var done = J.start(r, 2, 20000)
        var camera = J.block(J.toCamera("0.00"))
        expect(r, { sent: [pick(), rlcBlock, camera, placedCentred, pick(), rlcBlock, camera,
                           J.placeBlock("70.000", "300.000", "0.000", true)],
                    panels: [], rowErrors: 0, placed: 2, done: 1 }, done)
        compare(J.eventsLike(r, "rlc:"), ["rlc:start", "rlc:setup:R:10000", "rlc:measure", "rlc:measure",
                                        "rlc:measure", "rlc:measure"])
        compare(r.m.logs, [])
    }

    // No check unless both the machine's instrument and the feeder ask for
    // it.
    function test_instrumentNotWanted_data() {
        return [ { tag: "machine meter off", settings: { rlcEnabled: false },
                   feeder: { rlcEnabled: true } },
                 { tag: "machine programmer off", settings: { programmerEnabled: false },
                   feeder: { programmerEnabled: true } } ]
    }
    function test_instrumentNotWanted(data) {
        var r = rig(J.merged({ centering: 1 }, data.feeder))
        for (var k in data.settings)
            r.b.settings[k] = data.settings[k]
        J.start(r, 1, 20000)
        compare(r.m.sentTexts(), [pick("0.00"), placedCentred])
        compare(J.eventsLike(r, "rlc:"), [])
        compare(J.eventsLike(r, "dout:10"), [])
    }


    // The first part out of range goes to the basket and the placement is
    // picked again; a second part out of range asks the operator, and
    // "Продолжить" drops it too and takes the next part.
    function test_rlcPanel() {
        var r = rig({ rlcEnabled: true })
        r.b.rlc.readings = [ohms(8000), ohms(8000), ohms(8000), ohms(8000)]
        r.b.rlc.fallback = ohms(10000)
        var done = J.start(r, 1, 20000)
        var before = [pick(), rlcBlock, J.basketBlock, pick(), rlcBlock]
        var range = "Результат измерения: 8.000kΩ, Минимально допустимое значение: 9.00kΩ"
        var waits = "Номинал компонента не соответствует заявленному. " + range
                + ". Ожидание оператора."
        expect(r, { sent: before, panels: ["rlcError"], values: { range: range }, rowErrors: 2,
                    red: [waits], yellow: ["Номинал компонента не соответствует заявленному. " + range
                                           + ". Сброс в корзину.", "Сброс в корзину. Питатель: снизу  №1  0603  10k  R1"] })
        var reads = r.b.rlc.reads
        r.b.press("continue")
        r.m.advance(20000)
        compare(r.m.sentTexts().slice(before.length), [J.basketBlock, pick(), rlcBlock, placed])
        expect(r, { placed: 1, done: 1 }, done)
        compare(r.b.rlc.reads - reads, 2)
        // The meter is opened and set up once for all of it.
        compare(r.b.rlc.starts, 1)
        compare(r.b.rlc.setups.length, 1)
    }

    // A part that may not be thrown away asks at its first failure.
    function test_rlcNoThrow_data() {
        return [ { tag: "the feeder's dontThrow", feeder: true, screen: false },
                 { tag: "the job screen's option", feeder: false, screen: true } ]
    }
    function test_rlcNoThrow(data) {
        var r = rig({ rlcEnabled: true, dontThrow: data.feeder })
        r.m.run.dontThrowToBasket = data.screen
        r.b.rlc.fallback = ohms(20000)
        J.start(r, 1, 20000)
        expect(r, { sent: [pick(), rlcBlock], panels: ["rlcError"], baskets: 0 })
    }

    // The meter fails to open, to set up or to measure, never answers, or
    // reads something that is not a number (never a part in or out of
    // range): the red log line and the panel with its message. "Повторить
    // измерение" opens the meter again and the check goes on.
    function test_rlcMeterFails_data() {
        var reading = "Измеритель RLC сообщает об ошибке измерения: "
        return [
            { tag: "start fails", fault: "startFails", starts: 2, setups: 1,
              text: "Не удалось запустить измеритель RLC: Нет ответа от измерителя." },
            { tag: "no answer", fault: "silent", starts: 2, setups: 1,
              text: "Не удалось запустить измеритель RLC: Нет ответа от измерителя." },
            { tag: "not a number", fault: "", readings: [{ value: NaN, text: "" }], starts: 2,
              setups: 2, text: reading + "получено значение, не являющееся числом" },
        ]
    }
    function test_rlcMeterFails(data) {
        var r = rig({ rlcEnabled: true })
        r.b.rlc.message = "Нет ответа от измерителя."
        r.b.rlc.fault = data.fault
        r.b.rlc.readings = data.readings || []
        r.b.rlc.fallback = ohms(10000)
        var done = J.start(r, 1, 60000)
        expect(r, { sent: [pick(), rlcBlock], panels: ["rlcError"], values: { error: data.text },
                    red: [data.text], rowErrors: 0, baskets: 0, done: 0 }, done)
        r.b.rlc.fault = ""
        r.b.press("remeasure")
        r.m.advance(60000)
        compare(r.m.sentTexts().slice(2), [placed])
        compare(r.b.rlc.starts, data.starts)
        compare(r.b.rlc.setups.length, data.setups)
        compare(done.args.length, 1)
    }

    // A feeder whose nominal cannot be checked stops the run before the part
    // is carried to the meter.
    function test_rlcBadFeeder() {
        var r = rig({ rlcEnabled: true, rlcUnit: 7 })
        J.start(r, 1, 20000)
        var refused = "Неверные настройки проверки номинала питателя: проверка не выполнена"
        expect(r, { sent: [pick()], failures: [refused] })
    }

    // A stop while the meter measures, or while the programmer's verdict is
    // awaited: the late answer does nothing, and the start pulse does not
    // stay on.
    function test_stopWhileAnInstrumentWorks_data() {
        return [
            { tag: "meter", feeder: { rlcEnabled: true }, pulse: undefined,
              at: function(r) { return r.b.rlc.reads > 0 }, sent: [pick(), rlcBlock] },
            { tag: "programmer", feeder: { programmerEnabled: true }, pulse: false,
              at: function(r) { return r.b.outputs[10] === true },
              sent: [pick(), socketBlock("320.000", "40.000", "90.000", false)] },
        ]
    }
    function test_stopWhileAnInstrumentWorks(data) {
        var r = rig(data.feeder)
        r.b.rlc.fallback = ohms(10000)
        var done = J.start(r, 1)
        for (var i = 0; i < 20000 && !data.at(r); ++i)
            r.m.advance(1)
        compare(r.b.rlc.pending, r.b.rlc.reads)
        r.m.stopAll()
        r.m.run.executing = false
        compare(r.b.outputs[10], data.pulse)
        r.m.advance(20000)
        compare(r.m.sentTexts(), data.sent)
        compare(r.b.rlc.reads, data.feeder.rlcEnabled ? 1 : 0)
        expect(r, { done: 0, panels: [] }, done)
    }

    // ---- pure parts of the check

    // The limits of the range, in base units and as the operator reads them.
    function test_rlcRangeText_data() {
        return [
            { tag: "10 kΩ ±10 %, 12 kΩ above", f: { rlcType: 0, rlcUnit: 1, rlcValue: 10, rlcPercent1: 10, rlcPercent2: 10 },
              value: 12000, text: "12.000kΩ",
              expected: "Результат измерения: 12.000kΩ, Максимально допустимое значение: 11.00kΩ" },
            { tag: "100 nF +20/-5 %, 90 nF below", f: { rlcType: 2, rlcUnit: 1, rlcValue: 100, rlcPercent1: 20, rlcPercent2: 5 },
              value: 90e-9, text: "90.00nF",
              expected: "Результат измерения: 90.00nF, Минимально допустимое значение: 95.00nF" },
        ]
    }
    function test_rlcRangeText(data) {
        var range = CI.rlcRange(data.f)
        verify(range.ok)
        verify(!CI.inRange(data.value, range))
        compare(CI.rangeText(data.text, data.value, range), data.expected)
    }

    function test_rlcInRangeEnds_data() {
        return [
            { tag: "just above", value: 11000.01, inside: false },
            { tag: "just below", value: 8999.99, inside: false },
        ]
    }
    function test_rlcInRangeEnds(data) {
        var range = CI.rlcRange({ rlcType: 0, rlcUnit: 1, rlcValue: 10, rlcPercent1: 10, rlcPercent2: 10 })
        compare(CI.inRange(data.value, range), data.inside)
    }

    function test_rlcRangeRefused() {
        var range = CI.rlcRange({ rlcType: 0, rlcUnit: 1, rlcValue: 0, rlcPercent1: 10, rlcPercent2: 10 })
        compare(range.ok, false)
        compare(range.error, "Неверные настройки проверки номинала питателя: проверка не выполнена")
    }

    // A meter point that is not a number sends nothing.
    function test_rlcMoveRefused() {
        var r = CI.rlcMoveText({ elThickness: 1, rot: 0, rlcRotation: 0, maxAcc: 100 }, { cupLength: 30 },
                               { maxVel: [250, 200, 100], maxAcc: [1000, 800, 500], rlcX: NaN, rlcY: 20, rlcZ: 5 })
        compare(r.ok, false)
    }

    // ================================================================
    // Programming

    // The socket block of a part centred over the camera: 38.5 = socket 8 +
    // nozzle 30 + part 1 - press 0.5, turned to the socket's 90°.
    function socketBlock(x, y, a, centred) {
        return J.block(["g0  z60.0"].concat(centred ? ["g0 "] : [])
                     .concat(["g0  x" + x + " y" + y + " z60.0 a" + a, "g0  z38.500", "g4 p0.200"]))
    }
    readonly property string liftBlock: J.block(["g0  z60.0"])

    // A part to be programmed goes over the camera turned as into the
    // socket, into the socket with the camera's correction, is programmed,
    // comes back over the camera (it sits anew on the nozzle) and is placed.
    function test_programmingSucceeds_data() {
        return [
            { tag: "by the output", interface: 0, pulse: true },
            { tag: "by the executable", interface: 1, pulse: false },
        ]
    }
    function test_programmingSucceeds(data) {
        var r = rig({ programmerEnabled: true, centering: 1 })
        r.b.settings.programmerInterface = data.interface
        r.b.componentCamera.results = [J.seen(0.3, -0.2), J.seen(0, 0)]
        var done = J.start(r, 1, 20000)
        var socket = socketBlock("319.700", "40.200", "90.000", true)
        var camera = J.block(J.toCamera("90.00"))
        expect(r, { sent: [pick("90.00"), socket, liftBlock, camera, placedCentred],
                    looks: 2, panels: [], placed: 1, done: 1 }, done)
        compare(r.b.supposedAngle, { camera3: false, angle: 90 })
        compare(J.eventsLike(r, "dout:10"), data.pulse ? ["dout:10:true", "dout:10:false"] : [])
        compare(r.b.programmer.scripts.map(function(s) { return s.path + " " + s.seconds }),
                data.pulse ? [] : ["file:///opt/prog.sh 5"])
    }

    // Without the camera the part goes from the socket to its place; soft
    // placing lowers it slowly into the socket and lifts it slowly out.
    function test_programmingWithoutCamera_data() {
        return [
            { tag: "standard", soft: false,
              socket: ["g0  z60.0", "g0  x320.000 y40.000 z60.0 a90.000", "g0  z38.500", "g4 p0.200"],
              lift: ["g0  z60.0"] },
            { tag: "soft placing", soft: true,
              socket: ["g0  z60.0", "g0  x320.000 y40.000 z60.0 a90.000", "g0  z41.000", "g1 f6000 z38.500",
                       "g4 p0.200"],
              lift: ["g1 f6000 z41.000", "g0  z60.0"] },
        ]
    }
    function test_programmingWithoutCamera(data) {
        var r = rig({ programmerEnabled: true, slowPlace: data.soft })
        var done = J.start(r, 1, 20000)
        var place = data.soft
                ? J.block(["g0  z60.0", "g0  x60.000 y300.000 z60.0 a0.000", "g0  z34.500", "g1 f6000 z32.000", "m65 p1",
                         "g4 p0.200", "g1 f6000 z34.500", "g0 z60.0"])
                : placed
        expect(r, { sent: [pick(), J.block(data.socket), J.block(data.lift), place],
                    done: 1 }, done)
    }

    // No answer within programmerWait, an error or an exit code: the
    // programmer panel; each of its buttons.
    function test_programmingPanel_data() {
        var place = placed
        var socket = socketBlock("320.000", "40.000", "90.000", false)
        return [
            { tag: "timeout, Повторить попытку", result: "silent", panel: "programmerTimeout", values: {},
              button: "retry", after: [liftBlock, place], pulses: 2, placed: 1, done: 1 },
            { tag: "exit code 3, Сбросить в корзину", result: "3", panel: "programmerError",
              values: { code: " Код ошибки: 3." }, button: "basket",
              after: [J.basketBlock, pick(), socket, liftBlock, place], pulses: 2, placed: 1,
              done: 1, basket: 1 },
        ]
    }
    function test_programmingPanel(data) {
        var r = rig({ programmerEnabled: true })
        r.b.programmer.results = [data.result]
        var done = J.start(r, 1, 4000)
        var before = [pick(), socketBlock("320.000", "40.000", "90.000", false)]
        compare(r.m.sentTexts(), before)
        if (data.result === "silent") {
            // The answer is awaited programmerWait (5 s) from the pulse.
            compare(r.b.panels, [])
            r.m.advance(2000)
        }
        expect(r, { panels: [data.panel], values: data.values, done: 0 }, done)
        r.b.press(data.button)
        r.m.advance(20000)
        compare(r.m.sentTexts().slice(before.length), data.after)
        compare(J.eventsLike(r, "dout:10:true").length, data.pulses)
        expect(r, { placed: data.placed, baskets: data.basket || 0, missed: data.missed || 0,
                    done: data.done }, done)
    }

    // ---- pure parts of programming

    function test_socketTarget_data() {
        return [
            { tag: "mode 0: the socket less the shift", measured: { mode: 0, found: false, shiftX: 0.1, shiftY: 0 },
              a: 90, x: 319.9, y: 40, angle: 90 },
            { tag: "mode 1: the camera's offset, the angle choice", measured: { mode: 1, found: true, elX: 0.3, elY: -0.2,
              elA: 1.5, shiftX: 0, shiftY: 0 }, a: 90, x: 319.7, y: 40.2, angle: 91.5 },
            { tag: "mode 2: the offset turned back by the socket angle", measured: { mode: 2, found: true, elX: 1,
              elY: 0, elA: 0, shiftX: 0, shiftY: 0 }, a: 90, x: 320, y: 41, angle: 90 },
            { tag: "corner centring: the shift only", measured: { mode: 1, found: true, elX: 0.5, elY: 0.5, elA: 0,
              shiftX: 0.2, shiftY: 0, corners: true }, a: 0, x: 319.8, y: 40, angle: 0 },
        ]
    }
    function test_socketTarget(data) {
        var t = CI.socketTarget({ x: 320, y: 40, z: 8, a: data.a }, { elThickness: 1 }, { cupLength: 30, press: 0.5 },
                                data.measured, { workAreaZ1: 0, workAreaZ2: 60 })
        verify(t.ok)
        compare(t.x.toFixed(3), data.x.toFixed(3))
        compare(t.y.toFixed(3), data.y.toFixed(3))
        compare(t.a.toFixed(3), data.angle.toFixed(3))
        compare(t.z, 38.5)
        compare(t.fastZ, 41)
    }

    function test_socketTargetRefused() {
        var t = CI.socketTarget({ x: NaN, y: 40, z: 8, a: 0 }, { elThickness: 1 }, { cupLength: 30, press: 0.5 },
                                { mode: 0 }, { workAreaZ1: 0, workAreaZ2: 60 })
        compare(t.ok, false)
    }

    // ================================================================
    // Equivalent feeders

    // Bank B: feeder 1 holds 10k at X 100, feeder 2 another part, feeder 3
    // 10k at X 120; bank U: feeder 1 10k at X 140. The group's parts are
    // not recognised on some of them.
    function equivalentsRig(settings) {
        var r = rig()
        for (var k in settings)
            r.b.settings[k] = settings[k]
        r.b.job.feeders["B0"] = tape({ centering: 1, pickRetryCount: 0 })
        r.b.job.feeders["B1"] = tape({ centering: 1, partNumber: "22k", caseX: 110 })
        r.b.job.feeders["B2"] = tape({ centering: 1, pickRetryCount: 0, caseX: 120 })
        r.b.job.feeders["U0"] = tape({ centering: 1, pickRetryCount: 0, caseX: 140 })
        return r
    }
    function notSeenThrice() { return [J.notSeen, J.notSeen, J.notSeen] }
    readonly property string limit: "Несколько ошибок распознавания подряд! "

    // Every equivalent fails in turn: from the last one the next would be
    // the feeder the group began with, so the run stops at the
    // not-recognised panel there.
    function test_switchCyclesBack() {
        var r = equivalentsRig({ autoSwithToSimilarFeeders: true })
        r.b.componentCamera.fallback = J.notSeen
        var done = J.start(r, 2, 100000)
        var picks = r.m.sentTexts().filter(function(t) { return t.indexOf("m64 p1") >= 0 })
        compare(picks.map(function(t) { return t.split("\n")[1] }),
                ["g0  x100.000 y50.000 a0.0", "g0  x120.000 y50.000 a0.0", "g0  x140.000 y50.000 a0.0"])
        expect(r, { red: ["Несколько ошибок распознавания подряд! Остановка программы!"],
                    panels: ["notRecognised"], placed: 0, done: 0 }, done)
        // "Продолжить" recognises the part held from the last feeder again.
        r.b.componentCamera.fallback = J.seen(0, 0)
        r.b.press("continue")
        r.m.advance(100000)
        expect(r, { placed: 2, done: 1 }, done)
        compare(writesOf(r, "setCount").map(function(w) { return w[0] + w[1] }), ["U0", "U0"])
    }

    // Without the setting, or without another feeder holding the part, the
    // limit stops at the panel.
    function test_noSwitch_data() {
        return [ { tag: "setting off", setting: false, part: "10k" },
                 { tag: "no equivalent", setting: true, part: "47k" } ]
    }
    function test_noSwitch(data) {
        var r = equivalentsRig({ autoSwithToSimilarFeeders: data.setting })
        r.b.job.feeders["B0"].partNumber = data.part
        r.b.componentCamera.fallback = J.notSeen
        J.start(r, 2, 100000)
        expect(r, { sent: [pick("0.00", 100)], panels: ["notRecognised"] })
        compare(r.b.runStates["B0"].substitute, undefined)
    }

    // The switch a pick asks for (an empty loose-part placer): the group
    // goes on from the next feeder with its own log text.
    function test_switchAskedByPicking() {
        var r = equivalentsRig({})
        r.b.componentCamera.fallback = J.seen(0, 0)
        var done = J.start(r, 2)
        for (var i = 0; i < 20000 && r.m.sent.length === 0; ++i)
            r.m.advance(1)
        // The pick block of B0 runs: the placer turns out empty.
        r.b.outputs[1] = false
        verify(r.m.port.switchToEquivalent("B", 0, "Компоненты в россыпи не найдены! Переключаюсь на питатель: "))
        r.m.advance(100000)
        compare(J.logTexts(r, "yellow"), ["Компоненты в россыпи не найдены! Переключаюсь на питатель: снизу 3"])
        var picks = r.m.sentTexts().filter(function(t) { return t.indexOf("m64 p1") >= 0 })
        compare(picks.map(function(t) { return t.split("\n")[1] }),
                ["g0  x100.000 y50.000 a0.0", "g0  x120.000 y50.000 a0.0", "g0  x120.000 y50.000 a0.0"])
        expect(r, { placed: 2, done: 1 }, done)
    }

    // The vacuum limit with dontStopProgramOnFeederErrors skips the feeder
    // as the recognition limit does: the part to the basket, the group to
    // the missed list, the sensor back to slow polling.
    function test_vacuumLimitSkipsFeeder() {
        var r = rig()
        r.b.settings.vsEnabled = true
        r.b.settings.dontStopProgramOnFeederErrors = true
        r.b.job.nozzles[1].vsUse = true
        r.b.vacuum.running = true
        r.b.vacuum.startMs = 1000
        r.b.vacuum.valueAt = function() { return 5 }
        r.m.attach({ vsMeasureGet: r.p.vsMeasureGet, vsMeasureFailedGet: r.p.vsMeasureFailedGet })
        r.b.job.feeders["B0"] = tape({ vsCheck: true, pickRetryCount: 0 })
        var done = J.start(r, 2, 20000)
        var move = J.block(["g0  z60.0", "g0  x60.000 y300.000 z60.0 a0.000"])
        var skip = "Несколько ошибок по датчику разрежения подряд! Пропускаю питатель: снизу  №1"
        expect(r, { sent: [pick(), move, J.basketBlock], red: [skip], panels: [], missed: 2,
                    done: 1 }, done)
        compare(r.m.missed.getSubSteps(0), 2)
        compare(r.b.vacuum.fast, false)
    }

    // ---- pure parts of the equivalents

    function banks() {
        return [{ model: "L", feeders: [{ partNumber: "10k", type: 3 }] },
                { model: "B", feeders: [{ partNumber: "10k", type: 3 }, { partNumber: "22k", type: 3 },
                                        { partNumber: " 10k ", type: 1 }, { partNumber: "10k", type: 6 }] },
                { model: "U", feeders: [{ partNumber: "10k", type: 2 }] }]
    }
    function test_equivalentList() {
        compare(Equivalents.list(banks(), "10k"), [{ model: "B", index: 0 }, { model: "B", index: 2 },
                                                   { model: "U", index: 0 }, { model: "L", index: 0 }])
        compare(Equivalents.list(banks(), ""), [])
        compare(Equivalents.list(banks(), "47k"), [])
    }

    function test_switchTarget_data() {
        var list = [{ model: "B", index: 0 }, { model: "B", index: 2 }, { model: "U", index: 0 }]
        return [
            { tag: "the last to the first", list: list, current: { model: "U", index: 0 },
              initial: { model: "B", index: 2 }, target: { model: "B", index: 0 } },
        ]
    }
    function test_switchTarget(data) {
        compare(Equivalents.switchTarget(data.list, data.current, data.initial), data.target)
    }
}

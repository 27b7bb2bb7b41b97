import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "FakeBoard.js" as Board
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/nozzleOnHead.js" as NozzleOnHead
import "../../qml/main/job/marks.js" as Marks
import "JobRig.js" as J

// The check for a nozzle left on the head, against the fake machine and a
// vacuum sensor whose reading follows the compressor (output 0), the valve
// (output 1) and what sits on the head.
TestCase {
    name: "NozzleOnHead"

    // Check point (200, 100) at 10 % speed, check height 12.5 at 5 %.
    readonly property string toCheckPoint: "g0 zMax\nm64 p0\nm65 p1\ng1 f1500  x200.00 y100.00\n"
        + "m64 p1\ng4 p0.2\nm65 p1\ng4 p0.2\nm64 p1\ng4 p0.2\nm65 p1\ng4 p1\n\ng0 zMax\n"
    readonly property string valveOpen: "m64 p1\ng4 p2\n\ng0 zMax\n"
    readonly property string lower: "g1 f300  z12.5\ng4 p1\n"
    readonly property string finish: "m65 p0\nm65 p1\ng1 f300  zMax\n\ng0 zMax\n"
    readonly property string onHeadText: "Насадка установлена на голове! Снимите ее, верните в базу, после чего нажмите \"ОК\"."

    function rig(blockMs) {
        var m = Fake.create({ blockMode: "auto", blockMs: blockMs || 10 })
        var b = Board.extend(m)
        var w = Waiters.create(m.port)
        var h = NozzleOnHead.create(m.port, w)
        m.attach({ positionGet: w.positionGet, pauseGet: w.pauseGet, homedGet: w.homedGet,
                   stopAll: function() { w.stopAll(); h.stopAll() } })
        b.vacuum.running = true
        return { m: m, b: b, w: w, h: h }
    }
    // Vacuum readings: no vacuum without the compressor; 40 kPa (5 with a
    // weak compressor) with the valve closed; with it open 35 for a narrow
    // nozzle on the head, else 10, rising to 25 when a wide nozzle touches
    // 300 ms into the lowering.
    function sensor(head, weakCompressor) {
        return function(m, b) {
            if (!b.outputs[0])
                return 0
            if (!b.outputs[1])
                return weakCompressor ? 5 : 40
            if (head === "narrow")
                return 35
            if (head === "wide" && m.running && m.running.text === lower && m.now - m.sent[m.sent.length - 1].at >= 300)
                return 25
            return 10
        }
    }

    function test_check_data() {
        return [
            { tag: "no nozzle, none expected", head: "none", vc: -1, ok: true, aborts: 0,
              sent: ["check", "open", "lower", "finish"], error: "", warning: "", vcAfter: -1 },
            { tag: "narrow nozzle, none expected", head: "narrow", vc: -1, ok: false, aborts: 0,
              sent: ["check", "open", "finish"], error: onHeadText, warning: "", vcAfter: -1 },
            { tag: "narrow nozzle, nozzle 3 expected", head: "narrow", vc: 2, ok: true, aborts: 0,
              sent: ["check", "open", "finish"], error: "",
              warning: "Насадка №3 находится на голове. Если это верно, не снимайте ее!", vcAfter: 2 },
            // Sampled every 100 ms: the rise is seen 300 ms into the lowering.
            { tag: "wide nozzle touches, none expected", head: "wide", vc: -1, ok: false, aborts: 1, abortAt: 300,
              sent: ["check", "open", "lower", "finish"], error: onHeadText, warning: "", vcAfter: -1 },
            { tag: "wide nozzle touches, nozzle 5 expected", head: "wide", vc: 4, ok: true, aborts: 1,
              sent: ["check", "open", "lower", "finish"], error: "",
              warning: "Насадка №5 находится на голове. Если это верно, не снимайте ее!", vcAfter: 4 },
            { tag: "nozzle expected but none there", head: "none", vc: 2, ok: false, aborts: 0,
              sent: ["check", "open", "lower", "finish"],
              error: "Программа не обнаружила насадку на голове. Возможно, она была снята вручную. Если это не так, то снимите ее с головы и установите в базу, после чего нажмите \"ОК\".",
              warning: "", vcAfter: -1 },
            { tag: "weak compressor", head: "none", vc: -1, weak: true, ok: false, aborts: 0,
              sent: ["check", "finish"],
              error: "Низкое разрежение при включенном компрессоре и закрытом пневмоклапане. Проверьте, подключен ли компрессор!",
              warning: "", vcAfter: -1 },
            // Two stale samples in a row: stopped 200 ms into the lowering.
            { tag: "sensor gives no fresh readings", head: "none", vc: -1, stale: true, ok: false, aborts: 1,
              abortAt: 200,
              sent: ["check", "open", "lower", "finish"], error: "Датчик разрежения не дал своевременный ответ!",
              warning: "", vcAfter: -1 },
        ]
    }
    function test_check(data) {
        var r = rig(1000)
        r.b.currVC = data.vc
        r.b.vacuum.valueAt = sensor(data.head, data.weak === true)
        if (data.stale)
            r.b.vacuum.fault = "vacuumStale"
        var f = J.counter()
        r.h.nozzleOnHeadCheckFunc(true, f)
        r.m.advance(60000)
        var blocks = { "check": toCheckPoint, "open": valveOpen, "lower": lower, "finish": finish }
        compare(r.m.sentTexts(), data.sent.map(function(name) { return blocks[name] }))
        compare(f.args, [data.ok])
        compare(r.b.aborts, data.aborts)
        if (data.abortAt) {
            var lowering = r.m.sent.filter(function(s) { return s.text === lower })[0]
            compare(r.b.abortTimes[0] - lowering.at, data.abortAt)
        }
        compare(r.b.currVC, data.vcAfter)
        var errors = r.b.errors.filter(function(e) { return e.type !== "warning" }).map(function(e) { return e.text })
        var warnings = r.b.errors.filter(function(e) { return e.type === "warning" }).map(function(e) { return e.text })
        compare(errors, data.error ? [data.error] : [])
        compare(warnings, data.warning ? [data.warning] : [])
        compare(r.h.passed(), data.ok)
        compare(r.b.outputs[0], false)
        compare(r.b.outputs[1], false)
        if (data.sent.indexOf("lower") >= 0)
            compare(r.m.events.filter(function(e) { return e.indexOf("vacuum:fast") === 0 }),
                    ["vacuum:fast:true", "vacuum:fast:false"])
    }

    function test_sensorStart_data() {
        return [
            { tag: "runs after 3 s", startsAfter: 3, ok: true, sent: 4 },
            { tag: "never runs", startsAfter: -1, ok: false, sent: 0 },
        ]
    }
    function test_sensorStart(data) {
        var r = rig()
        r.b.vacuum.running = false
        r.b.vacuum.startsAfter = data.startsAfter
        r.b.vacuum.valueAt = sensor("none")
        var f = J.counter()
        r.h.nozzleOnHeadCheckFunc(true, f)
        compare(r.m.events, ["vacuum:start"])
        r.m.advance(9999)
        compare(f.args.length, data.ok ? 1 : 0)
        r.m.advance(60000)
        compare(f.args, [data.ok])
        compare(r.m.sent.length, data.sent)
        if (!data.ok)
            compare(r.b.errors[0].text, "Датчик разрежения не запустился: проверка насадки на голове невозможна")
    }

    function test_checkPointOfTheCalibrationMark() {
        var r = rig()
        r.b.settings.nozzleOnHeadCheckXYMatchCalib = true
        r.b.vacuum.valueAt = sensor("none")
        r.h.nozzleOnHeadCheckFunc(true, J.counter())
        r.m.advance(60000)
        compare(r.m.sentTexts()[0], toCheckPoint.replace("x200.00 y100.00", "x100.00 y50.00"))
    }

    // After homing, the full calibration runs the check first while it has
    // not passed, and stops when it fails.
    function test_calibrationRunsTheCheck_data() {
        return [
            { tag: "check fails", head: "narrow", ok: false, sent: 3 },
            // four check blocks, the calibration move, one centring move, zMax
            { tag: "check passes", head: "none", ok: true, sent: 7 },
        ]
    }
    function test_calibrationRunsTheCheck(data) {
        var r = rig()
        var k = Marks.create(r.m.port, r.w)
        r.b.settings.nozzleOnHeadCheckEnabled = true
        r.b.vacuum.valueAt = sensor(data.head)
        // The camera over (100, 50) sees the mark at once.
        r.b.marks = [{ "x": 70, "y": 70 }]
        var done = J.counter()
        k.calibrate(false, done)
        r.m.advance(60000)
        compare(done.args, [data.ok])
        compare(r.m.sent.length, data.sent)
        compare(r.m.events.indexOf("homedAndCalibrated:false") >= 0, !data.ok)
        if (!data.ok)
            return
        compare(r.m.sentTexts()[4], "m65 p4\ng0 x100 y50\ng0 zMax\n")
        // Passed once, it is not run again.
        k.calibrate(false, done)
        r.m.advance(60000)
        compare(done.args, [true, true])
        compare(r.m.sentTexts()[7], "m65 p4\ng0 x100 y50\ng0 zMax\n")
    }

    function test_stoppedCheck() {
        var r = rig(1000)
        r.b.vacuum.valueAt = sensor("none")
        var f = J.counter()
        r.h.nozzleOnHeadCheckFunc(true, f)
        r.m.advance(1500)
        r.m.stopAll()
        r.m.advance(60000)
        compare(f.args, [])
        compare(r.m.sent.length, 2)
    }
}

import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "../../qml/main/job/waiters.js" as Waiters

// The waiting primitives every step of a run is built from, against the fake
// machine: what each sends, when each calls its continuation, and that a
// stop or a late event does nothing.
TestCase {
    name: "Waiters"

    // A fake machine (on, homed, busy, not paused, at 0 0 0 0 unless the
    // options say otherwise) with the waiters attached to it.
    function rig(options) {
        var m = Fake.create(options)
        var w = Waiters.create(m.port)
        m.attach(w)
        return { m: m, w: w }
    }
    function counter() {
        var c = function() { c.count++ }
        c.count = 0
        return c
    }
    function callWait(w, args, f) {
        w.positionWait(args[0], args[1], args[2], args[3], f)
    }

    // ---- delayWait

    function test_delayWait_data() {
        return [
            { tag: "0 ms", delay: 0, fires: 0 },
            { tag: "false means 1000 ms", delay: false, fires: 1000 },
        ]
    }
    function test_delayWait(data) {
        var r = rig()
        var f = counter()
        r.w.delayWait(data.delay, f)
        if (data.fires > 0) {
            r.m.advance(data.fires - 1)
            compare(f.count, 0)
        }
        r.m.advance(data.fires > 0 ? 1 : 0)
        compare(f.count, 1)
        r.m.advance(5000)
        compare(f.count, 1)
        compare(r.m.sent.length, 0)
    }

    // ---- positionWait: what is sent

    // A coordinate that is not a number sends nothing and never completes.
    function test_positionWaitSends_data() {
        return [
            { tag: "X and Y", args: [10, 0, false, false], text: "G0 X10.000 Y0.000" },
            { tag: "zero X is a coordinate", args: [0, false, false, false], text: "G0 X0.000" },
            { tag: "all four", args: [1.5, -2.25, 3, 90], text: "G0 X1.500 Y-2.250 Z3.000 A90.000" },
            { tag: "Z only, rounded", args: [false, false, 12.3456, false], text: "G0 Z12.346" },
            { tag: "X NaN", args: [NaN, 0, false, false], text: null },
        ]
    }
    function test_positionWaitSends(data) {
        var r = rig()
        r.m.setPosition({ x: 5, y: 5, z: 5, a: 5 })
        var f = counter()
        callWait(r.w, data.args, f)
        compare(r.m.sentTexts(), data.text === null ? [] : [data.text])
        compare(r.m.failures.length, data.text === null ? 1 : 0)
        compare(f.count, 0)
        if (data.text === null) {
            r.m.setPosition({ x: 1, y: 2, z: 0, a: 0 })
            r.m.advance(1000)
            compare(f.count, 0)
        }
    }

    // Within 0.01 of the target already: done at once, nothing sent.
    function test_positionWaitAlreadyThere() {
        var r = rig()
        r.m.setPosition({ x: 10.005, y: -0.004, z: 3, a: 45 })
        var f = counter()
        r.w.positionWait(10, 0, 3, false, f)
        compare(f.count, 1)
        compare(r.m.sent.length, 0)
        r.m.setPosition({ x: 20 })
        compare(f.count, 1)
    }

    // The channel is running another block: nothing is sent.
    function test_positionWaitChannelBusy() {
        var r = rig()
        r.m.port.sendGCode("g4 p1", false, null)
        var f = counter()
        // The move waits in the gate's queue while a block runs, and is
        // sent when the channel is idle (a move that was never sent would
        // leave the wait hanging).
        r.w.positionWait(10, 0, false, false, f)
        compare(r.m.sentTexts(), ["g4 p1", "G0 X10.000 Y0.000"])
        compare(f.count, 0)
    }

    // ---- positionWait: when it completes (target X 10, Y 0 from 5, 5)

    function test_positionWaitCompletes_data() {
        return [
            { tag: "arrives before its block is done", calls: 1,
              act: function(m) { m.setPosition({ x: 10, y: 0 }); verify(!m.port.gCodeDone()) } },
            { tag: "within 0.01", calls: 1,
              act: function(m) { m.setPosition({ x: 10.006, y: -0.006 }) } },
            { tag: "0.02 short", calls: 0,
              act: function(m) { m.setPosition({ x: 9.98, y: 0 }) } },
            { tag: "only one axis there", calls: 0,
              act: function(m) { m.setPosition({ x: 10 }) } },
            { tag: "passes through, then back", calls: 1,
              act: function(m) { m.setPosition({ x: 7, y: 2 }); m.setPosition({ x: 10, y: 0 });
                                 m.setPosition({ x: 12 }) } },
            { tag: "paused", calls: 0,
              act: function(m) { m.setPaused(true); m.setPosition({ x: 10, y: 0 }) } },
            { tag: "paused, then resumed", calls: 1,
              act: function(m) { m.setPaused(true); m.setPosition({ x: 10, y: 0 }); m.setPaused(false) } },
            { tag: "stopped", calls: 0,
              act: function(m) { m.stopAll(); m.setPosition({ x: 10, y: 0 }); m.setPaused(true);
                                 m.setPaused(false) } },
        ]
    }
    function test_positionWaitCompletes(data) {
        var r = rig()
        r.m.setPosition({ x: 5, y: 5, z: 0, a: 0 })
        var f = counter()
        r.w.positionWait(10, 0, false, false, f)
        compare(r.m.sentTexts(), ["G0 X10.000 Y0.000"])
        data.act(r.m)
        compare(f.count, data.calls)
        compare(r.m.sent.length, 1)
        if (data.calls === 1) {
            // No second call.
            r.m.setPosition({ x: 10, y: 0.001, z: 2 })
            r.m.setPaused(true)
            r.m.setPaused(false)
            compare(f.count, 1)
        }
    }

    // ---- gCodeWait: when the continuation is called

    function test_gCodeWaitCompletes_data() {
        return [
            { tag: "done", calls: 1, act: function(m) { m.finishBlock(true) } },
            { tag: "failed", calls: 0, act: function(m) { m.finishBlock(false) } },
            { tag: "not homed", calls: 0, act: function(m) { m.homedFlag = false; m.finishBlock(true) } },
            { tag: "not busy", calls: 0, act: function(m) { m.busy = false; m.finishBlock(true) } },
            { tag: "not busy, changing nozzles", calls: 1,
              act: function(m) { m.busy = false; m.nozzleChanging = true; m.finishBlock(true) } },
            { tag: "paused, no pause after", calls: 1,
              act: function(m) { m.setPaused(true); m.finishBlock(true) } },
            { tag: "stopped", calls: 0, act: function(m) { m.stopAll(); m.finishBlock(true) } },
            { tag: "stopped while changing nozzles", calls: 1,
              act: function(m) { m.nozzleChanging = true; m.stopAll(); m.finishBlock(true) } },
        ]
    }
    function test_gCodeWaitCompletes(data) {
        var r = rig()
        var f = counter()
        r.w.gCodeWait("g0 x1", true, f)
        compare(r.m.sent.length, 1)
        data.act(r.m)
        compare(f.count, data.calls)
        r.m.setPaused(!r.m.paused)
        r.m.setPaused(!r.m.paused)
        compare(f.count, data.calls)
    }

    function test_gCodeWaitPauseBefore_data() {
        return [
            { tag: "default holds the block", before: undefined, sentAtOnce: 0 },
            { tag: "false sends at once", before: false, sentAtOnce: 1 },
        ]
    }
    function test_gCodeWaitPauseBefore(data) {
        var r = rig()
        r.m.setPaused(true)
        var f = counter()
        if (data.before === undefined)
            r.w.gCodeWait("g0 x1", false, f)
        else
            r.w.gCodeWait("g0 x1", false, f, data.before)
        compare(r.m.sent.length, data.sentAtOnce)
        r.m.advance(1000)
        compare(r.m.sent.length, data.sentAtOnce)
        r.m.setPaused(false)
        compare(r.m.sentTexts(), ["g0 x1\ng0"])
        r.m.finishBlock(true)
        compare(f.count, 1)
        // Pausing and resuming again sends nothing more.
        r.m.setPaused(true)
        r.m.setPaused(false)
        compare(r.m.sent.length, 1)
    }

    function test_gCodeWaitPauseAfter_data() {
        return [
            { tag: "paused at the end: taken on resume", pauseAfter: true, pausedAtEnd: true,
              callsAtEnd: 0, callsOnResume: 1 },
            { tag: "not paused at the end", pauseAfter: true, pausedAtEnd: false,
              callsAtEnd: 1, callsOnResume: 1 },
            { tag: "without pause after", pauseAfter: false, pausedAtEnd: true,
              callsAtEnd: 1, callsOnResume: 1 },
        ]
    }
    function test_gCodeWaitPauseAfter(data) {
        var r = rig()
        var f = counter()
        r.w.gCodeWait("g0 x1", true, f, true, data.pauseAfter)
        compare(r.m.sent.length, 1)
        r.m.setPaused(data.pausedAtEnd)
        r.m.finishBlock(true)
        compare(f.count, data.callsAtEnd)
        r.m.setPaused(false)
        compare(f.count, data.callsOnResume)
        r.m.setPaused(true)
        r.m.setPaused(false)
        compare(f.count, data.callsOnResume)
    }

    function test_gCodeWaitRow_data() {
        return [
            { tag: "row driver, done", driver: true, ok: true, rows: ["выполнено"], calls: 1 },
            { tag: "row driver, failed", driver: true, ok: false, rows: [], calls: 0 },
            { tag: "other continuation", driver: false, ok: true, rows: [], calls: 1 },
        ]
    }
    function test_gCodeWaitRow(data) {
        var r = rig()
        var driver = counter()
        var other = counter()
        r.w.rowDriver = driver
        var f = data.driver ? driver : other
        r.w.gCodeWait("g0 x1", true, f)
        r.m.finishBlock(data.ok)
        compare(r.m.rows, data.rows)
        compare(f.count, data.calls)
    }

    // A wait started after a stop is not completed by the block sent before it.
    function test_gCodeWaitOldBlockAfterStop() {
        var r = rig()
        var first = counter()
        var second = counter()
        r.w.gCodeWait("g0 x1", true, first)
        r.m.stopAll()
        r.w.gCodeWait("g0 x2", true, second)
        compare(r.m.sentTexts(), ["g0 x1\ng0 zMax\n", "g0 x2\ng0 zMax\n"])
        r.m.finishBlock(true)
        compare(first.count, 0)
        compare(second.count, 0)
        r.m.finishBlock(true)
        compare(second.count, 1)
    }

    // ---- homeWait

    function test_homeWaitMachineOff() {
        var r = rig({ machineOn: false })
        var f = counter()
        r.w.homeWait(f)
        compare(f.count, 1)
        compare(r.m.events, [])
        r.m.advance(10000)
        compare(f.count, 1)
    }

    function test_homeWait_data() {
        return [
            { tag: "calibration on, homes in 50 ms", calib: true, homeMs: 50, ok: true, flag: true },
            { tag: "calibration on, homes in 500 ms", calib: true, homeMs: 500, ok: true, flag: true },
            { tag: "calibration on, fails", calib: true, homeMs: 50, ok: false, flag: false },
        ]
    }
    function test_homeWait(data) {
        var r = rig({ calibrationEnabled: data.calib, homeMs: data.homeMs, calibrationMode: "manual" })
        var flagSeenByF = null
        var f = counter()
        var cont = function() { flagSeenByF = r.m.homedAndCalibrated; f() }
        r.w.homeWait(cont)
        compare(r.m.events, ["vacuumStart", "clearHomed", "home"])
        compare(r.m.homedAndCalibrated, false)
        verify(!r.m.port.homed())
        // The calibration runs once the guard time is over and the machine is homed.
        var ready = Math.max(100, data.homeMs)
        r.m.advance(ready - 1)
        compare(r.m.calibrations.length, 0)
        r.m.advance(1)
        compare(r.m.calibrations.length, 1)
        compare(r.m.calibrations[0].shortForm, false)
        // Nothing more until the calibration ends.
        r.m.advance(1000)
        compare(f.count, 0)
        compare(r.m.homedAndCalibrated, false)
        r.m.finishCalibration(data.ok)
        compare(f.count, 1)
        compare(r.m.homedAndCalibrated, data.flag)
        compare(flagSeenByF, data.flag)
        var expected = ["vacuumStart", "clearHomed", "home", "calibrationMark:full", "calibrated:" + data.ok]
        if (data.flag)
            expected.push("homedAndCalibrated:true")
        compare(r.m.events, expected)
        compare(r.m.sent.length, 0)
        r.m.advance(1000)
        compare(f.count, 1)
    }

    // ---- justCalibrateWait

    function test_justCalibrateWait_data() {
        return [
            { tag: "disabled", enabled: false, ok: true, marks: 0, calls: 1, rows: null },
            { tag: "succeeds", enabled: true, ok: true, marks: 1, calls: 1, rows: ["выполнено"] },
            { tag: "fails", enabled: true, ok: false, marks: 1, calls: 0, rows: ["не выполнено"] },
        ]
    }
    function test_justCalibrateWait(data) {
        var r = rig({ calibrationEnabled: data.enabled, calibrationMode: "manual" })
        var f = counter()
        r.w.rowDriver = f
        r.w.justCalibrateWait(f)
        compare(r.m.calibrations.length, data.marks)
        if (data.marks) {
            compare(r.m.calibrations[0].shortForm, true)
            compare(f.count, 0)
            compare(r.m.rows, [])
            r.m.finishCalibration(data.ok)
        }
        compare(f.count, data.calls)
        if (data.rows)
            compare(r.m.rows, data.rows)
        verify(r.m.rows.indexOf("не выполнено") < 0 || !data.ok)
        r.m.advance(1000)
        compare(f.count, data.calls)
    }

    // ---- a stop: no continuation is called afterwards, whatever comes late

    function test_stopped_data() {
        return [
            { tag: "delay", act: function(r, f) { r.w.delayWait(500, f); r.m.advance(100); r.m.stopAll();
                                                    r.m.advance(1000) } },
            { tag: "block held by the pause", act: function(r, f) {
                r.m.setPaused(true); r.w.gCodeWait("g0 x1", true, f); r.m.stopAll(); r.m.setPaused(false)
                compare(r.m.sent.length, 0) } },
            { tag: "pause after the block", act: function(r, f) {
                r.w.gCodeWait("g0 x1", true, f, true, true); r.m.setPaused(true); r.m.finishBlock(true)
                r.m.stopAll(); r.m.setPaused(false) } },
            { tag: "homing", options: { homeMs: 50 }, act: function(r, f) {
                r.w.homeWait(f); r.m.advance(20); r.m.stopAll(); r.m.advance(1000)
                verify(r.m.events.indexOf("homedAndCalibrated:true") < 0) } },
            { tag: "calibration", options: { calibrationMode: "manual" }, act: function(r, f) {
                r.w.justCalibrateWait(f); r.m.stopAll(); r.m.finishCalibration(true) } },
        ]
    }
    function test_stopped(data) {
        var r = rig(data.options)
        var f = counter()
        data.act(r, f)
        compare(f.count, 0)
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/machine/directControl.js" as DirectControl
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/marks.js" as Marks
import "FakeMachine.js" as Fake
import "FakeBoard.js" as Board
import "JobRig.js" as J

// The direct control window's decisions without the window: the move to
// the component camera, the vibration feeder button, and the service
// moves of the head camera to the calibration marks (the centring wired
// to the job's own step, run against the fake machine).
TestCase {
    name: "DirectControlLibrary"

    function test_toCameraText_data() {
        return [
            { tag: "with pre-camera G-code", pre: "m64 p4\ng0 z20", x: 250.5, y: 12,
              text: "m64 p4\ng0 z20\ng0 zMax\ng0 x250.500 y12.000" },
            { tag: "blank", pre: "  \n", x: 1.23456, y: -2, text: "g0 zMax\ng0 x1.235 y-2.000" },
            { tag: "camera X not a number", pre: "", x: NaN, y: 0, text: null },
        ]
    }
    function test_toCameraText(data) {
        compare(DirectControl.toCameraText(data.pre, data.x, data.y), data.text)
    }

    function test_vibroButtonAction_data() {
        var pwm = { "pwm": true, "g1": "m64 p6" }, gcode = { "pwm": false, "g1": "m64 p6\ng4 p1\nm65 p6" }
        return [
            { tag: "PWM bank", bank: pwm, executing: false, calibrated: true, action: "pwm" },
            { tag: "G-code bank", bank: gcode, executing: false, calibrated: true, action: "gcode" },
            { tag: "G-code bank while busy", bank: gcode, executing: true, calibrated: true, action: "toggle" },
            { tag: "G-code bank, not calibrated", bank: gcode, executing: false, calibrated: false, action: "toggle" },
        ]
    }
    function test_vibroButtonAction(data) {
        compare(DirectControl.vibroButtonAction(data.bank, data.executing, data.calibrated), data.action)
    }

    function test_markMoveAllowed_data() {
        var ready = { "calibrated": true, "executing": false, "calibEnabled": true, "calib2Enabled": true }
        function but(changes) { return J.merged(ready, changes) }
        return [
            { tag: "ready", s: ready, allowed: { "mark1": true, "mark2": true, "centre": true } },
            { tag: "second mark off", s: but({ "calib2Enabled": false }),
              allowed: { "mark1": true, "mark2": false, "centre": true } },
            { tag: "calibration mark off", s: but({ "calibEnabled": false }),
              allowed: { "mark1": false, "mark2": false, "centre": false } },
            { tag: "not calibrated", s: but({ "calibrated": false }),
              allowed: { "mark1": false, "mark2": false, "centre": false } },
            { tag: "something runs", s: but({ "executing": true }),
              allowed: { "mark1": false, "mark2": false, "centre": false } },
        ]
    }
    function test_markMoveAllowed(data) {
        var got = {}
        for (var move in data.allowed)
            got[move] = DirectControl.markMoveAllowed(data.s, move)
        compare(got, data.allowed)
        verify(!DirectControl.markMoveAllowed(data.s, "other"))
    }

    // The camera at machine (100, 50) sees the point (70, 70) (camera offset
    // -30, +20); the mark lies `off` mm from it. The encoder step is 0.005 mm.
    function centreRig(off, options) {
        var m = Fake.create({ blockMode: "auto", blockMs: 10 })
        var opts = options || {}
        // A search region of the calibration mark's own, to tell its settings.
        opts.settings = { "calibROIPercent": 35 }
        var b = Board.extend(m, opts)
        var w = Waiters.create(m.port)
        var k = Marks.create(m.port, w)
        m.attach({ positionGet: w.positionGet, pauseGet: w.pauseGet, homedGet: w.homedGet,
                   stopAll: function() { w.stopAll(); k.stopAll() } })
        b.marks = [{ "x": 70 + off[0], "y": 70 + off[1] }]
        m.setPosition({ x: 100, y: 50 })
        var r = { m: m, b: b, steps: { "centerAtRef": k.centerAtRef },
                  state: { "calibrated": true, "executing": false, "calibEnabled": true, "calib2Enabled": false } }
        r.window = {
            "state": function() { return r.state },
            "showHeadCamera": function() { m.events.push("showHeadCamera") },
            "setActivity": function(name, on) { m.events.push("activity:" + name + ":" + on) },
            "step": function(name) { return r.steps[name] || null },
            "cameraStop": function() { m.port.headCamera.stop() },
            "finished": function(ok) { m.events.push("finished:" + ok) }
        }
        return r
    }
    // The window's and the camera's part of the events, in order.
    function windowEvents(m) {
        return m.events.filter(function(e) {
            return /^(showHeadCamera|activity:|finished:|camera:(start|stop|notFound))/.test(e)
        })
    }
    readonly property var centred: ["showHeadCamera", "activity:centreOnMark:true", "camera:start", "camera:stop",
                                    "activity:centreOnMark:false", "finished:true"]

    // The centring's own moves are the marks step's (tst_marks.qml); here
    // the window's part around it, and what keeps it from starting.
    function test_centreOnMark_data() {
        return [
            { tag: "centred", off: [0.5, -0.3], fault: "", sent: ["g0 x100.500 y49.700\ng0"],
              events: centred },
            { tag: "not allowed while something runs", off: [0.5, 0], executing: true, sent: [], events: [] },
            { tag: "no centring step", off: [0.5, 0], noStep: true, sent: [], events: [] },
        ]
    }
    function test_centreOnMark(data) {
        var r = centreRig(data.off, { cameraFault: data.fault || "" })
        r.state.executing = data.executing === true
        if (data.noStep)
            r.steps = {}
        compare(DirectControl.centreOnMark(r.window), data.events.length > 0)
        r.m.advance(60000)
        compare(r.m.sentTexts(), data.sent)
        // Centring moves go without the safe-height check.
        compare(r.m.sent.filter(function(s) { return s.safeH }).length, 0)
        compare(windowEvents(r.m), data.events)
        // The camera looked with the calibration mark's recognition settings.
        compare(r.b.requests.slice(0, 1).map(function(q) { return [q.mode, q.roi] }),
                data.events.length > 0 ? [["circle", 35]] : [])
    }
}

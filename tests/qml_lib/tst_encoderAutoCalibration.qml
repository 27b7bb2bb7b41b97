import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "FakeBoard.js" as Board
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/encoderAutoCalibration.js" as Auto

// The automatic scale calibration against the fake machine and the marks its
// head camera sees: the exact blocks sent, the centring loop and its limit,
// the readings taken at each mark and the verdict.
//
// The camera sees 30 mm left of and 20 mm above the nozzle (camera1XShift
// -30, camera1YShift 20). The three marks lie at machine (80, 120), (80, 320)
// and (230, 320): Y_s 200, X_s 150. The camera is over the first one from
// nozzle position (110, 100).
TestCase {
    name: "EncoderAutoCalibration"

    function rig(options) {
        var m = Fake.create({ blockMode: "auto", blockMs: 10 })
        var b = Board.extend(m, options)
        b.settings.encoderScaleX = 400
        b.settings.encoderScaleY = 400
        b.settings.stepperScaleX = 80
        b.settings.stepperScaleY = 80
        // The encoders read the nozzle position with their strip's error;
        // the motors count it right.
        var r = { m: m, b: b, encErrorX: 0, encErrorY: 0, readings: [] }
        m.port.encoderReadings = function() {
            var e = { encX: m.pos.x * (1 + r.encErrorX), encY: m.pos.y * (1 + r.encErrorY),
                      stepperX: m.pos.x, stepperY: m.pos.y }
            r.readings.push(e)
            return e
        }
        m.port.setDoutOn = function(n, on) { m.events.push("dout:" + n + ":" + on) }
        var w = Waiters.create(m.port)
        var a = Auto.create(m.port, w)
        m.attach({ positionGet: w.positionGet, pauseGet: w.pauseGet, homedGet: w.homedGet,
                   stopAll: function() { w.stopAll(); a.stopAll() } })
        r.w = w
        r.a = a
        b.marks = [{ x: 80, y: 120 }, { x: 80, y: 320 }, { x: 230, y: 320 }]
        m.setPosition({ x: 110, y: 100, z: 25, a: 0 })
        return r
    }
    function results() {
        var f = function(result) { f.calls.push(result) }
        f.calls = []
        return f
    }
    function near(actual, expected, eps, what) {
        verify(Math.abs(actual - expected) <= eps, (what || "") + ": " + actual + " instead of " + expected)
    }
    function options() { return { sizeX: 150, sizeY: 200, encoder: true, stepper: true } }

    function test_threeMarksExactly() {
        var r = rig()
        var done = results()
        r.a.calibrate(options(), done)
        r.m.advance(60000)
        compare(done.calls.length, 1)
        var res = done.calls[0]
        verify(res.ok, res.text)
        verify(res.good)
        // The camera was centred already: at each mark one more move (of
        // nothing) before the readings count, then on to the next mark, and
        // finally back to the first.
        compare(r.m.sentTexts(), [
            "g0 zMax\ng0\n\ng0",
            "g0 zMax\ng0 x110.000 y300.000\n\ng0",
            "g0 zMax\ng0\n\ng0",
            "g0 zMax\ng0 x260.000 y300.000\n\ng0",
            "g0 zMax\ng0\n\ng0",
            "g0 zMax\ng0 x110.000 y100.000\n\ng0"])
        compare(r.m.events.indexOf("dout:4:false"), 0)
        near(res.angle, 90, 1e-9, "angle")
        compare(res.newScales.encoderX, 400)
        compare(res.newScales.stepperY, 80)
    }

    // The camera first sees the mark off centre: relative moves by the
    // offset until it is within 0.1 mm, then once more.
    function test_centringMovesByTheOffset() {
        var r = rig()
        r.b.marks[0] = { x: 80.5, y: 119.7 }
        var done = results()
        r.a.calibrate(options(), done)
        r.m.advance(60000)
        var sent = r.m.sentTexts()
        compare(sent[0], "g0 zMax\ng0 x++0.500 y--0.300\n\ng0")
        compare(sent[1], "g0 zMax\ng0\n\ng0")
        compare(sent[2], "g0 zMax\ng0 x110.500 y299.700\n\ng0")
        var res = done.calls[0]
        verify(res.ok, res.text)
        // The first mark is where the readings started: Y_s is now 200.3.
        near(res.distances.stepperY, 200.3, 1e-9, "motor Y")
    }

    function test_markNotFound_data() {
        return [
            { tag: "nothing seen at the first mark", fault: "blind", moves: 0 },
            { tag: "never centred: ten moves", fault: "alwaysOff", moves: 10 },
        ]
    }
    function test_markNotFound(data) {
        var r = rig({ cameraFault: data.fault })
        if (data.marks)
            r.b.marks = r.b.marks.slice(0, data.marks)
        var done = results()
        r.a.calibrate(options(), done)
        r.m.advance(120000)
        compare(done.calls.length, 1)
        verify(!done.calls[0].ok)
        compare(done.calls[0].text, "Репер не найден!")
        compare(r.m.sentTexts().length, data.moves)
        verify(!r.a.running())
        compare(r.m.events[r.m.events.length - 1], "camera:stop")
    }

    function test_stopEndsSilently() {
        var r = rig()
        var done = results()
        r.a.calibrate(options(), done)
        r.m.advance(1200)
        r.m.stopAll()
        var sent = r.m.sentTexts().length
        r.m.advance(60000)
        compare(done.calls.length, 0)
        compare(r.m.sentTexts().length, sent)
        verify(!r.a.running())
    }
}

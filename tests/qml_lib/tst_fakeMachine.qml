import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake

// The fake machine the library tests stand on: its clock, its G-code
// channel, homing, calibration and every named fault.
TestCase {
    name: "FakeMachine"

    function recorder() {
        var r = function(ok) { r.calls.push(ok) }
        r.calls = []
        return r
    }
    // An engine that counts the events the machine forwards to it.
    function engine() {
        var e = { positionGet: 0, pauseGet: 0, homedGet: 0, stopAll: 0 }
        return {
            counts: e,
            positionGet: function() { e.positionGet++ },
            pauseGet: function() { e.pauseGet++ },
            homedGet: function() { e.homedGet++ },
            stopAll: function() { e.stopAll++ }
        }
    }

    // ---- clock

    function test_timersFireInOrderOfDueTime() {
        var m = Fake.create()
        var order = []
        m.port.after(30, function() { order.push("a30") })
        m.port.after(10, function() { order.push("b10") })
        m.port.after(10, function() { order.push("c10") })
        m.port.after(0, function() { order.push("d0") })
        m.advance(9)
        compare(order, ["d0"])
        m.advance(1)
        compare(order, ["d0", "b10", "c10"])
        m.advance(100)
        compare(order, ["d0", "b10", "c10", "a30"])
        compare(m.now, 110)
    }

    function test_timerStartedByATimerFiresInTheSameAdvance() {
        var m = Fake.create()
        var at = []
        m.port.after(10, function() {
            at.push(m.now)
            m.port.after(5, function() { at.push(m.now) })
        })
        m.advance(20)
        compare(at, [10, 15])
        compare(m.now, 20)
    }

    function test_cancelledTimerNeverFires() {
        var m = Fake.create()
        var fired = 0
        var h = m.port.after(10, function() { fired++ })
        h.cancel()
        m.advance(50)
        compare(fired, 0)
        compare(m.pendingTimers(), 0)
    }

    function test_zeroDelayNeedsAnAdvance() {
        var m = Fake.create()
        var fired = 0
        m.port.after(0, function() { fired++ })
        compare(fired, 0)
        m.advance(0)
        compare(fired, 1)
    }

    // ---- G-code channel

    function test_blocksRunOneAtATimeInOrder() {
        var m = Fake.create()
        var a = recorder(), b = recorder()
        m.port.sendGCode("g0 x1", true, a)
        m.port.sendGCode("g0 x2", false, b)
        compare(m.sentTexts(), ["g0 x1", "g0 x2"])
        compare(m.sent[1].safeH, false)
        verify(!m.port.gCodeDone())
        m.finishBlock(true)
        compare(a.calls, [true])
        compare(b.calls, [])
        verify(!m.port.gCodeDone())
        m.finishBlock(false)
        compare(b.calls, [false])
        verify(m.port.gCodeDone())
    }

    function test_channelIdleWhileItsBlockReportsDone() {
        var m = Fake.create()
        var idle = null
        m.port.sendGCode("g0 x1", true, function() { idle = m.port.gCodeDone() })
        m.finishBlock(true)
        compare(idle, true)
    }

    function test_finishWithoutBlockIsAnError() {
        var m = Fake.create()
        var thrown = false
        try { m.finishBlock(true) } catch (e) { thrown = true }
        verify(thrown)
    }

    function test_autoBlockMovesThenReportsDone_data() {
        return [
            { tag: "absolute X Y", text: "G0 X10.000 Y-2.500", x: 10, y: -2.5, z: 0, a: 0 },
            { tag: "lower case, Z and A", text: "g1 f3000 z4.5 a90", x: 0, y: 0, z: 4.5, a: 90 },
            { tag: "zMax and later lines", text: "g0 x1 y1\ng0 zMax\n", x: 1, y: 1, z: 25, a: 0 },
            { tag: "no motion", text: "m64 p1\ng4 p0.5", x: 0, y: 0, z: 0, a: 0 },
            { tag: "calibration mark words", text: "g1 f6000   acc75  zMax\ng1 f15000  acc150  xCalib yCalib\n",
              calibXY: { x: 100, y: 50 }, x: 100, y: 50, z: 25, a: 0 },
            { tag: "incremental moves", text: "g0 x++0.005 y--1.5\ng0 y++0.25", x: 0.005, y: -1.25, z: 0, a: 0 },
        ]
    }
    function test_autoBlockMovesThenReportsDone(data) {
        var m = Fake.create({ blockMode: "auto", blockMs: 10 })
        if (data.calibXY)
            m.calibXY = data.calibXY
        var e = engine()
        m.attach(e)
        var seen = null
        m.port.sendGCode(data.text, false, function(ok) { seen = { ok: ok, pos: m.port.position() } })
        m.advance(9)
        compare(seen, null)
        m.advance(1)
        compare(seen.ok, true)
        compare(seen.pos, { x: data.x, y: data.y, z: data.z, a: data.a })
        compare(e.counts.positionGet, data.text.indexOf("m64") === 0 ? 0 : 1)
    }

    // ---- events

    function test_changesReachTheEngine() {
        var m = Fake.create()
        var e = engine()
        m.attach(e)
        m.setPosition({ x: 1 })
        m.setPosition({ x: 1 })
        m.setPaused(true)
        m.setPaused(true)
        m.setHomed(false)
        m.stopAll()
        compare(e.counts, { positionGet: 1, pauseGet: 1, homedGet: 1, stopAll: 1 })
    }

    function test_homeAndCalibrate() {
        var m = Fake.create({ homeMs: 50, calibrationMs: 20 })
        m.port.clearHomed()
        verify(!m.port.homed())
        verify(!m.homedAndCalibrated)
        m.port.home()
        m.advance(49)
        verify(!m.port.homed())
        m.advance(1)
        verify(m.port.homed())
        var done = recorder()
        m.port.calibrationMark(true, done)
        m.advance(20)
        compare(done.calls, [true])
        compare(m.events, ["clearHomed", "home", "calibrationMark:short", "calibrated:true"])
    }

    function test_manualCalibration() {
        var m = Fake.create({ calibrationMode: "manual" })
        var done = recorder()
        m.port.calibrationMark(false, done)
        m.advance(1000)
        compare(done.calls, [])
        m.finishCalibration(false)
        compare(done.calls, [false])
        compare(m.calibrations[0].shortForm, false)
    }

    // ---- named faults, one row each

    function test_fault_data() {
        return [
            { tag: "blockFails", fault: "blockFails" },
            { tag: "channelStaysBusy", fault: "channelStaysBusy" },
            { tag: "neverHomes", fault: "neverHomes" },
            { tag: "positionStalls", fault: "positionStalls" },
            { tag: "positionShort", fault: "positionShort" },
            { tag: "lateDoneAfterStop", fault: "lateDoneAfterStop" },
            { tag: "calibrationFails", fault: "calibrationFails" },
        ]
    }
    function test_fault(data) {
        verify(Fake.FAULTS.indexOf(data.fault) >= 0)
        var m = Fake.create({ fault: data.fault, blockMode: "auto", blockMs: 10, homeMs: 50 })
        var e = engine()
        m.attach(e)
        var block = recorder(), calib = recorder()
        m.port.sendGCode("G0 X10.000 Y5.000", false, block)
        m.port.clearHomed()
        m.port.home()
        m.advance(100)
        m.port.calibrationMark(false, calib)
        m.advance(100)
        m.stopAll()
        var pos = m.port.position()
        switch (data.fault) {
        case "blockFails":
            compare(block.calls, [false])
            compare(pos.x, 0)
            break
        case "channelStaysBusy":
            compare(block.calls, [true])
            verify(!m.port.gCodeDone())
            break
        case "neverHomes":
            verify(!m.port.homed())
            compare(e.counts.homedGet, 1)   // only the clearing
            break
        case "positionStalls":
            compare(block.calls, [true])
            compare(pos, { x: 0, y: 0, z: 0, a: 0 })
            break
        case "positionShort":
            compare(block.calls, [true])
            fuzzyCompare(pos.x, 9.98, 1e-9)
            fuzzyCompare(pos.y, 4.98, 1e-9)
            break
        case "lateDoneAfterStop":
            // Nothing ended by itself; the stop released the block afterwards.
            compare(block.calls, [true])
            var i = m.events.indexOf("stopAll")
            verify(i >= 0 && m.events.indexOf("done:true") > i)
            break
        case "calibrationFails":
            compare(calib.calls, [false])
            verify(!m.homedAndCalibrated)
            break
        }
        if (data.fault !== "neverHomes")
            verify(m.port.homed())
        if (data.fault !== "calibrationFails")
            compare(calib.calls, [true])
        if (data.fault !== "blockFails" && data.fault !== "positionStalls" && data.fault !== "positionShort")
            compare(pos.x, 10)
    }

    function test_recordsPortCalls() {
        var m = Fake.create()
        m.port.rowComplete("выполнено")
        m.port.fail("x")
        m.port.log("line", "red")
        m.port.startVacuumSensorForHeadCheck()
        m.port.setHomedAndCalibrated(true)
        compare(m.rows, ["выполнено"])
        compare(m.failures, ["x"])
        compare(m.logs, [{ text: "line", color: "red" }])
        compare(m.vacuumStarts, 1)
        compare(m.events, ["row:выполнено", "fail:x", "vacuumStart", "homedAndCalibrated:true"])
    }
}

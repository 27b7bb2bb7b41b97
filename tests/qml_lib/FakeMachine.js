.pragma library

// A machine for the tests of the job's step libraries: it serves the whole
// port a library is made with (`create(port)`), on a manual clock, and
// records everything the library asks of it.
//
//   var m = FakeMachine.create()            // on, homed, busy, not paused
//   var w = Waiters.create(m.port)
//   m.attach(w)                             // position, pause and homed changes reach w
//   w.gCodeWait("g0 x1", true, f)
//   m.sentTexts()                           // ["g0 x1\ng0 zMax\n"]
//   m.finishBlock(true)                     // the running block ends; its onDone(true)
//   m.advance(100)                          // fires every timer due within 100 ms, in order
//
// The G-code channel runs one block at a time and queues the rest, as the
// program's gate does; every block handed over is recorded exactly as sent.
// In "manual" block mode (the default) a block ends when the test says
// finishBlock(ok); in "auto" mode it ends `blockMs` later on the clock, after
// moving the position to the X, Y, Z, A words of its g0/g1 lines. As the
// machine link does, "zMax" is the safe height, "xCalib"/"yCalib" the
// calibration mark position last given by the port's sendCalibXY (when the
// port has one), and "x++d"/"x--d" a move by d from where the axis is.
//
// Named faults (`fault` is one name, or "" for none):
//   "blockFails"        every block that ends by itself (auto mode, or
//                       finishBlock() without an argument) ends with onDone(false)
//   "channelStaysBusy"  gCodeDone() reports false even when no block runs
//   "neverHomes"        home() never brings the homed flags back
//   "positionStalls"    blocks end but the position does not move
//   "positionShort"     moves stop 0.02 mm short of the target X and Y
//   "lateDoneAfterStop" blocks do not end by themselves; stopAll() through
//                       the machine delivers their onDone(true) afterwards
//   "calibrationFails"  the calibration-mark sequence ends without success
//                       and, as the real sequence does, clears the
//                       homed-and-calibrated flag

var FAULTS = ["blockFails", "channelStaysBusy", "neverHomes", "positionStalls", "positionShort",
              "lateDoneAfterStop", "calibrationFails"]

function create(options) {
    var opts = options || {}
    var m = {
        // Settable state (what the port reports).
        machineOn: opts.machineOn !== undefined ? opts.machineOn : true,
        homedFlag: opts.homed !== undefined ? opts.homed : true,
        homedAndCalibrated: opts.homedAndCalibrated !== undefined ? opts.homedAndCalibrated : true,
        paused: false,
        busy: opts.busy !== undefined ? opts.busy : true,
        nozzleChanging: false,
        calibrationEnabled: opts.calibrationEnabled !== undefined ? opts.calibrationEnabled : true,
        pos: { x: 0, y: 0, z: 0, a: 0 },
        zMax: 25,
        calibXY: null,        // { x, y } replacing the words xCalib, yCalib

        // Behaviour.
        fault: opts.fault || "",
        blockMode: opts.blockMode || "manual",     // "manual" or "auto"
        blockMs: opts.blockMs !== undefined ? opts.blockMs : 10,
        homeMs: opts.homeMs !== undefined ? opts.homeMs : 50,
        calibrationMode: opts.calibrationMode || "auto",  // "auto" or "manual"
        calibrationMs: opts.calibrationMs !== undefined ? opts.calibrationMs : 20,

        // Clock.
        now: 0,
        timers: [],
        timerSeq: 0,

        // G-code channel.
        running: null,        // the block being executed: { text, safeH, onDone }
        queue: [],            // blocks waiting for the channel
        sent: [],             // every block handed over: { text, safeH, at }
        held: [],             // blocks kept back by "lateDoneAfterStop"

        // Records.
        events: [],           // everything in order: "gcode:...", "home", "clearHomed", ...
        calibrations: [],     // { shortForm, done }
        pendingCalibration: null,
        rows: [],             // texts given to rowComplete
        logs: [],             // { text, color }
        failures: [],         // texts given to fail
        vacuumStarts: 0,
        engine: null
    }

    // ---- clock

    m.after = function(ms, fn) {
        var t = { due: m.now + Math.max(0, Number(ms) || 0), seq: m.timerSeq++, fn: fn, cancelled: false }
        m.timers.push(t)
        return { cancel: function() { t.cancelled = true } }
    }
    // Fires the timers due within `ms` in the order they are due (equal times
    // in the order they were started), timers started meanwhile included.
    m.advance = function(ms) {
        var end = m.now + (ms || 0)
        for (;;) {
            var next = null
            for (var i = 0; i < m.timers.length; ++i) {
                var t = m.timers[i]
                if (t.cancelled || t.due > end)
                    continue
                if (!next || t.due < next.due || (t.due === next.due && t.seq < next.seq))
                    next = t
            }
            if (!next)
                break
            m.timers.splice(m.timers.indexOf(next), 1)
            m.now = next.due
            next.fn()
        }
        m.timers = m.timers.filter(function(t) { return !t.cancelled })
        m.now = end
    }
    m.pendingTimers = function() {
        return m.timers.filter(function(t) { return !t.cancelled }).length
    }

    // ---- events towards the library under test

    m.attach = function(engine) { m.engine = engine }
    function notify(name) {
        if (m.engine && typeof m.engine[name] === "function")
            m.engine[name]()
    }

    m.setPosition = function(p) {
        var changed = false
        var keys = ["x", "y", "z", "a"]
        for (var i = 0; i < keys.length; ++i) {
            var k = keys[i]
            if (p[k] !== undefined && m.pos[k] !== p[k]) {
                m.pos[k] = p[k]
                changed = true
            }
        }
        if (changed)
            notify("positionGet")
    }
    m.setPaused = function(on) {
        if (m.paused === on)
            return
        m.paused = on
        notify("pauseGet")
    }
    m.setHomed = function(on) {
        if (m.homedFlag === on)
            return
        m.homedFlag = on
        notify("homedGet")
    }
    // Stops the library as the job screen does, then, with the fault
    // "lateDoneAfterStop", lets the machine report the held blocks as done.
    m.stopAll = function() {
        m.events.push("stopAll")
        if (m.engine)
            m.engine.stopAll()
        if (m.fault === "lateDoneAfterStop") {
            while (m.running)
                endBlock(true)
        }
    }

    // ---- G-code channel

    function startNext() {
        if (m.running || m.queue.length === 0)
            return
        m.running = m.queue.shift()
        if (m.fault === "lateDoneAfterStop")
            return
        if (m.blockMode === "auto") {
            var block = m.running
            m.after(m.blockMs, function() {
                if (m.running === block)
                    endBlock(m.fault !== "blockFails")
            })
        }
    }

    // The moves of a block: the last X, Y, Z, A word of its g0/g1 lines
    // ("zMax" stands for the safe height, "xCalib"/"yCalib" for the
    // calibration mark, "x++d"/"x--d" for a move by d).
    function targetsOf(text) {
        var target = {}
        var lines = String(text).toLowerCase().split("\n")
        for (var i = 0; i < lines.length; ++i) {
            var line = lines[i].trim()
            if (!/^g[01]\b/.test(line) && !/^g[01]$/.test(line))
                continue
            if (/\bzmax\b/.test(line))
                target.z = m.zMax
            if (m.calibXY) {
                line = line.replace(/\bxcalib\b/g, "x" + m.calibXY.x).replace(/\bycalib\b/g, "y" + m.calibXY.y)
            }
            var re = /([xyza])\s*(\+\+|--)?\s*([+-]?(?:\d+\.?\d*|\.\d+))/g
            var hit
            while ((hit = re.exec(line.substring(2))) !== null) {
                var axis = hit[1]
                var value = Number(hit[3])
                if (hit[2]) {
                    var from = target[axis] !== undefined ? target[axis] : m.pos[axis]
                    value = from + (hit[2] === "++" ? value : -value)
                }
                target[axis] = value
            }
        }
        return target
    }

    function endBlock(ok) {
        var block = m.running
        if (!block)
            return
        if (ok && m.fault !== "positionStalls") {
            var t = targetsOf(block.text)
            if (m.fault === "positionShort") {
                if (t.x !== undefined) t.x -= 0.02
                if (t.y !== undefined) t.y -= 0.02
            }
            m.setPosition(t)
        }
        m.running = null
        m.events.push("done:" + ok)
        if (typeof block.onDone === "function")
            block.onDone(ok)
        startNext()
    }

    // Ends the running block; without an argument it succeeds unless the
    // fault "blockFails" is set.
    m.finishBlock = function(ok) {
        if (!m.running)
            throw new Error("finishBlock: no block is running")
        endBlock(ok === undefined ? m.fault !== "blockFails" : ok)
    }
    m.sentTexts = function() { return m.sent.map(function(b) { return b.text }) }

    // ---- homing and calibration

    m.finishCalibration = function(ok) {
        var c = m.pendingCalibration
        if (!c)
            throw new Error("finishCalibration: no calibration is running")
        m.pendingCalibration = null
        endCalibration(c, ok)
    }
    function endCalibration(c, ok) {
        m.events.push("calibrated:" + ok)
        if (!ok)
            m.homedAndCalibrated = false
        c.done(ok)
    }

    // ---- the port

    m.port = {
        sendGCode: function(text, safeH, onDone) {
            m.sent.push({ text: text, safeH: safeH, at: m.now })
            m.events.push("gcode:" + text)
            m.queue.push({ text: text, safeH: safeH, onDone: onDone })
            startNext()
        },
        // No block runs; blocks still queued do not count, and while a
        // block's onDone runs the channel already reports done.
        gCodeDone: function() { return m.running === null && m.fault !== "channelStaysBusy" },
        homed: function() { return m.homedFlag },
        machineOn: function() { return m.machineOn },
        paused: function() { return m.paused },
        busy: function() { return m.busy },
        nozzleChanging: function() { return m.nozzleChanging },
        position: function() { return { x: m.pos.x, y: m.pos.y, z: m.pos.z, a: m.pos.a } },
        after: function(ms, fn) { return m.after(ms, fn) },
        home: function() {
            m.events.push("home")
            if (m.fault === "neverHomes")
                return
            m.after(m.homeMs, function() { m.setHomed(true) })
        },
        clearHomed: function() {
            m.events.push("clearHomed")
            m.homedAndCalibrated = false
            m.setHomed(false)
        },
        setHomedAndCalibrated: function(on) {
            m.events.push("homedAndCalibrated:" + on)
            m.homedAndCalibrated = on
        },
        calibrationEnabled: function() { return m.calibrationEnabled },
        calibrationMark: function(shortForm, done) {
            var c = { shortForm: shortForm, done: done }
            m.calibrations.push(c)
            m.events.push("calibrationMark:" + (shortForm ? "short" : "full"))
            if (m.calibrationMode === "manual") {
                m.pendingCalibration = c
                return
            }
            m.after(m.calibrationMs, function() { endCalibration(c, m.fault !== "calibrationFails") })
        },
        startVacuumSensorForHeadCheck: function() {
            m.vacuumStarts++
            m.events.push("vacuumStart")
        },
        rowComplete: function(text) {
            m.rows.push(text)
            m.events.push("row:" + text)
        },
        log: function(text, color) { m.logs.push({ text: text, color: color }) },
        fail: function(text) {
            m.failures.push(text)
            m.events.push("fail:" + text)
        }
    }
    return m
}

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
// For the run control (sequencer.js) it also holds the job screen's run state
// (`run`), the machine settings (`settings`), the step functions by name
// (`steps`) and two fake operations models (`model`, `missed`; see opModel()
// below). `later(fn)` runs fn on the next advance(), as a deferred call of
// the event loop would.
//
// The G-code channel runs one block at a time and queues the rest, as the
// program's gate does; every block handed over is recorded exactly as sent.
// In "manual" block mode (the default) a block ends when the test says
// finishBlock(ok); in "auto" mode it ends `blockMs` later on the clock, after
// moving the position to the X, Y, Z, A words of its g0/g1 lines. As the
// machine link does, "zMax" is the safe height, "xCalib"/"yCalib" the
// calibration mark position last given by the port's sendCalibXY (when the
// port has one), and "x++d"/"x--d" a move by d from where the axis is.
// A calibration-mark sequence that fails clears the homed-and-calibrated
// flag, as the real one does.

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

        // Records.
        events: [],           // everything in order: "gcode:...", "home", "clearHomed", ...
        calibrations: [],     // { shortForm, done }
        pendingCalibration: null,
        rows: [],             // texts given to rowComplete
        logs: [],             // { text, color }
        failures: [],         // texts given to fail
        engines: [],

        // Run control.
        run: {
            executing: false, lineToStart: 0, placingMissedComponents: false, prevOpModel: [],
            currPlacedComponents: 0, pcbCounter: 0, lastRunFinished: true, lastPlacedLine: 0,
            lastPlacedLineCount: 0, lastPlacedText: "", missedCount: 0, cupWarning: false,
            keepFirstTapeComponent: false, panel: null, operatorPanelShown: false,
            pcbMoveDialogShown: false, missedWindowShown: false, nozzleConfirmShown: false
        },
        settings: {
            startingGcode: "", endingGcode: "", tapeChangeGCode: "", progAutoRestart: false,
            endingGCodeOnUserStop: true, finalSoundEnabled: false, projectAutosave: false,
            projectAutosaveInterval: 5, workAreaX1: 0, workAreaY2: 500
        },
        steps: {},
        model: opModel(),
        missed: opModel(),
        startAllowed: true,
        boards: 1,                // boards of one run
        finishedBoards: 0,
        beeps: 0,
        saves: 0,
        selected: [],             // rows shown as executed, in order
        missedWindow: false,
        nozzleConfirm: false
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

    // Every attached library hears the machine's events (the waiters and the
    // sequencer both do in a run).
    m.attach = function(engine) { m.engines.push(engine) }
    function notify(name, arg) {
        var list = m.engines.slice()
        for (var i = 0; i < list.length; ++i)
            if (typeof list[i][name] === "function")
                list[i][name](arg)
    }
    m.setMachineOn = function(on) {
        if (m.machineOn === on)
            return
        m.machineOn = on
        notify("machineOnGet")
    }
    m.setHomedAndCalibrated = function(on) {
        if (m.homedAndCalibrated === on)
            return
        m.homedAndCalibrated = on
        notify("homedAndCalibratedGet")
    }
    m.raiseAppError = function() { notify("appErrorGet") }

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
    // Stops the library as the job screen does.
    m.stopAll = function() {
        m.events.push("stopAll")
        notify("stopAll")
    }

    // ---- G-code channel

    function startNext() {
        if (m.running || m.queue.length === 0)
            return
        m.running = m.queue.shift()
        if (m.blockMode === "auto") {
            var block = m.running
            m.after(m.blockMs, function() {
                if (m.running === block)
                    endBlock(true)
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
        if (ok)
            m.setPosition(targetsOf(block.text))
        m.running = null
        m.events.push("done:" + ok)
        if (typeof block.onDone === "function")
            block.onDone(ok)
        notify("gCodeDoneGet", ok)
        startNext()
    }

    // Ends the running block; without an argument it succeeds.
    m.finishBlock = function(ok) {
        if (!m.running)
            throw new Error("finishBlock: no block is running")
        endBlock(ok !== false)
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
        gCodeDone: function() { return m.running === null },
        homed: function() { return m.homedFlag },
        machineOn: function() { return m.machineOn },
        paused: function() { return m.paused },
        // Another activity (m.busy) or the run itself.
        busy: function() { return m.busy || m.run.executing === true },
        nozzleChanging: function() { return m.nozzleChanging },
        position: function() { return { x: m.pos.x, y: m.pos.y, z: m.pos.z, a: m.pos.a } },
        after: function(ms, fn) { return m.after(ms, fn) },
        home: function() {
            m.events.push("home")
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
            m.after(m.calibrationMs, function() { endCalibration(c, true) })
        },
        startVacuumSensorForHeadCheck: function() { m.events.push("vacuumStart") },
        // Also handed to m.onRowComplete(text) when a test sets it (the
        // sequencer's rowComplete writes it into the model).
        rowComplete: function(text) {
            m.rows.push(text)
            m.events.push("row:" + text)
            if (typeof m.onRowComplete === "function")
                m.onRowComplete(text)
        },
        log: function(text, color) { m.logs.push({ text: text, color: color }) },
        fail: function(text) {
            m.failures.push(text)
            m.events.push("fail:" + text)
        },

        // ---- run control
        run: function() { return m.run },
        model: function() { return m.model },
        missedModel: function() { return m.missed },
        setting: function(name) { return m.settings[name] },
        step: function(name) { return typeof m.steps[name] === "function" ? m.steps[name] : null },
        later: function(fn) { m.after(0, fn) },
        startAllowed: function() { return m.startAllowed },
        homedAndCalibrated: function() { return m.homedAndCalibrated },
        setPaused: function(on) { m.setPaused(on === true) },
        selectRow: function(row) { m.selected.push(row) },
        // The stopwatch's actions are recorded as events; it reads 0 s.
        stopwatch: function(action) { m.events.push("stopwatch:" + action) },
        runSeconds: function() { return 0 },
        boardCount: function() { return m.boards },
        countFinishedBoards: function(n) {
            m.finishedBoards += n
            m.events.push("boards:" + n)
        },
        playFinalSound: function() { m.events.push("finalSound") },
        beep: function() {
            m.beeps++
            m.events.push("beep")
        },
        saveProject: function() {
            m.saves++
            m.events.push("saveProject")
        },
        closeWindow: function(name) { m.events.push("close:" + name) },
        startVacuumSensor: function() { m.events.push("vacuumSensor") },
        resetVibration: function() { m.events.push("vibration") },
        recalcUsedRefs: function() { m.events.push("recalcUsedRefs") },
        resetVision: function() { m.events.push("reset:vision") },
        stopWaiters: function() { m.stopAll() },
        resetSteps: function() { m.events.push("reset:steps") },
        resetRlc: function() { m.events.push("reset:rlc") },
        resetVacuumErrors: function() { m.events.push("reset:vacuumErrors") },
        resetProgrammer: function() { m.events.push("reset:programmer") },
        disconnectSignals: function() { m.events.push("reset:signals") },
        resetFeeders: function() { m.events.push("reset:feeders") },
        showMissedWindow: function(shown) {
            m.missedWindow = shown
            m.events.push("missedWindow:" + shown)
        },
        showNozzleConfirm: function(shown) {
            m.nozzleConfirm = shown
            m.events.push("nozzleConfirm:" + shown)
        },
        boardMoveAgree: function() { m.events.push("boardMoveAgree") }
    }
    return m
}

// A fake operations model with the script interface of the program's
// OpModel: top-level rows (operation rows) and lines under them (component
// lines), numbered 1, 2, 3, ... in the order they were appended.
//   var model = opModel()
//   model.append({ op: "Питатель", enabled: 1, opFunc: "setupFeeder", p1: 0 })
//   model.appendChild({ op: "R1", enabled: 1, p1: placement, p2: "element" })
// index(row, 0[, parent]) and data(index, 257) give the "op" text.
function opModel() {
    var rows = []
    var next = 1
    var model = { rowCount: 0, lineCount: 0 }

    function item(obj) {
        var o = obj || {}
        function text(v) { return v === undefined ? "" : String(v) }
        var it = { op: String(o.op), enabled: Number(o.enabled) || 0, opFunc: String(o.opFunc),
                   image: String(o.image), complete: text(o.complete), errorCount: text(o.errorCount),
                   p1: o.p1, p2: o.p2, number: next++, lines: [] }
        model.lineCount += 1
        return it
    }
    function at(number, subNumber) {
        var row = rows[number]
        if (!row)
            throw new Error("opModel: no row " + number)
        if (subNumber === undefined || subNumber < 0)
            return row
        if (!row.lines[subNumber])
            throw new Error("opModel: no line " + subNumber + " in row " + number)
        return row.lines[subNumber]
    }
    function recompute(row) {
        var on = 0
        for (var i = 0; i < row.lines.length; ++i)
            if (row.lines[i].enabled !== 0)
                ++on
        row.enabled = on === 0 ? 0 : (on === row.lines.length ? 1 : 3)
    }

    model.clear = function() {
        rows = []
        next = 1
        model.rowCount = 0
        model.lineCount = 0
    }
    model.append = function(obj) {
        rows.push(item(obj))
        model.rowCount = rows.length
    }
    model.appendChild = function(obj) {
        if (rows.length === 0)
            throw new Error("opModel: appendChild without a row")
        rows[rows.length - 1].lines.push(item(obj))
    }
    model.getEnabled = function(number, subNumber) { return at(number, subNumber).enabled }
    model.getOpFunc = function(number) { return at(number).opFunc }
    model.getP1 = function(number, subNumber) { return at(number, subNumber).p1 }
    model.getP2 = function(number) { return at(number).p2 }
    model.getSubSteps = function(number) { return at(number).lines.length }
    model.getComplete = function(number) { return at(number).complete }
    model.getErrorCount = function(number) { return at(number).errorCount }
    model.getLineNumber = function(number, subNumber) { return at(number, subNumber).number }
    model.setComplete = function(number, value) { at(number).complete = String(value) }
    model.setErrorCount = function(number, value) { at(number).errorCount = String(value) }
    model.setEnabled = function(number, subNumber, value) {
        at(number, subNumber).enabled = (value === 0 || value === 1) ? value : 0
        recompute(at(number))
    }
    model.index = function(row, column, parent) {
        return parent ? { row: parent.row, line: row } : { row: row, line: -1 }
    }
    model.data = function(index, role) {
        return role === 257 ? at(index.row, index.line).op : undefined
    }
    // Texts of every row's "complete", in order (for the tests).
    model.completes = function() { return rows.map(function(r) { return r.complete }) }
    // As the program's model, whose invokables take every argument: a call
    // with fewer throws "Insufficient arguments".
    var strict = ["getEnabled", "getOpFunc", "getP1", "getP2", "getSubSteps", "getComplete", "getErrorCount",
                  "getLineNumber", "setComplete", "setErrorCount", "setEnabled"]
    strict.forEach(function(name) {
        var f = model[name]
        model[name] = function() {
            if (arguments.length < f.length)
                throw new Error("Insufficient arguments")
            return f.apply(model, arguments)
        }
    })
    return model
}

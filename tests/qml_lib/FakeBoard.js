.pragma library

// The world of the head camera for a fake machine (FakeMachine.js): marks
// lying at machine positions, the head camera that sees them from where the
// machine stands, the operator panels and dialogs, the vacuum sensor, the
// job lists, and the settings the steps read. It adds these to the fake
// machine's port and records what the steps ask of them.
//
//   var m = FakeMachine.create({ blockMode: "auto" })
//   var b = FakeBoard.extend(m, { settings: { camera1Delay: 300 } })
//   b.marks.push({ x: 130, y: 340 })     // a mark centred at machine X 130, Y 340
//   b.job.refListMulti = [preview, ...]
//   marks.findRefPoints(f); m.advance(60000)
//   m.sentTexts(), b.panels, b.dialogs, m.events
//
// The camera answers each request `cameraMs` after it (on the machine's
// clock) with what it sees then: the mark nearest to the camera centre
// (machine position + camera1XShift/YShift) within `viewMm`, as pixels
// from the frame centre at camera1PPMCorr pixels per mm, y pointing down.
//
// Camera faults (`cameraFault`, "" for none), one test row each:
//   "silent"       requests are never answered
//   "timeout"      every request is answered { found: false, timeout: true }
//   "blind"        nothing is ever found
//   "alwaysOff"    the mark is always seen `offMm` mm right of the centre,
//                  wherever the camera stands (it can never be centred)
//   "lateFound"    the first `lateCount` requests find nothing, then normal
//
// Vacuum sensor: `vacuum.valueAt(m, b)` gives the reading (default 0);
// readings arrive every 100 ms (20 ms in fast mode) unless the fault
// "vacuumStale" holds them; `vacuum.startsAfter` is how many 1 s polls the
// sensor takes to run (-1: never). Outputs switched by the blocks that ended
// well are in `outputs` (m64 pN on, m65 pN off).
//
// For the picking steps the sensor also answers requests as events: with
// `vacuum.startMs` set, start() runs it (or, with startsAfter -1, fails)
// that long after and tells the attached libraries vsStartedGet() or
// vsStartFailedGet(message); measure() is answered `replyMs` later with
// vsMeasureGet(reading, clock), or with the faults "measureFails"
// (vsMeasureFailedGet) and "vacuumSilent" (no answer). Feeders, nozzles and
// banks are in `job` (feeders, nozzles, tapeBanks, vibrationBanks); feeder
// writes, cover-tape jogs and vibrations are recorded.
//
// For the component cycle: `job.groups` are the program's placement groups
// (epGroup), `runStates` the feeders' run state (runState), and the
// component camera answers each ask() `componentCamera.ms` later with the
// next `count` entries of `componentCamera.results` (each { found, x, y,
// angle, width, height } in pixels; `componentCamera.fallback` once the list
// is used up, or `componentCamera.answer` per frame when a test sets it).
// Placed parts, counters and camera requests are recorded.

function defaultSettings() {
    return {
        "camera1XShift": -30, "camera1YShift": 20, "camera1PPMCorr": 20, "camera1Delay": 500,
        "camera1Exposure": 50, "workAreaX1": 10, "workAreaY2": 400, "maxPcbSetupError": 0.2,
        "calibX": 100, "calibY": 50, "calibX2": 300, "calibY2": 50, "calibGcode": "g0 x100 y50",
        "afterCalibGcode": "", "calibRefPointType": 0, "calibRefPointSize": 1, "calibRefPointSize2": 1,
        "calibROIPercent": 50, "calibThreshold1": 150, "calibThreshold2": 50, "calibCameraInverse": false,
        "maxVel": [250, 200, 100, 50, 50, 50], "maxAcc": [1000, 800, 500, 500],
        "d1XShift": 5, "d1YShift": 6, "d2XShift": -7, "d2YShift": -8,
        "encoderScaleX": 200, "encoderScaleY": 200,
        "nozzleOnHeadCheckEnabled": false, "nozzleOnHeadCheckX": 200, "nozzleOnHeadCheckY": 100,
        "nozzleOnHeadCheckZ": 12.5, "nozzleOnHeadCheckSpeedXY": 10, "nozzleOnHeadCheckSpeedZ": 5,
        "nozzleOnHeadCheckXYMatchCalib": false, "vsMeasureHighPressure1": 20, "vsMeasureHighPressure2": 30
    }
}

function extend(m, options) {
    var opts = options || {}
    var b = {
        settings: defaultSettings(),
        marks: [],             // { x, y }: machine positions of mark centres
        cameraMs: 40,
        viewMm: 5,
        cameraFault: opts.cameraFault || "",
        offMm: 1.2,
        lateCount: 0,
        checkScreen: false,
        job: { refListMulti: [], refList: [], dotAA: [], feeders: {} },

        // Records.
        requests: [],          // settings of every camera request
        panels: [],            // { name, values, onButton }
        dialogs: [],           // { values, onAnswer }
        boardMoves: [],        // [dx, dy]
        errors: [],            // { text, type } given to showError
        rowErrors: 0,
        rel: { x: 0, y: 0 },
        calib: { calibrating: false, calibrated: false, found: null, x: null, y: null },
        outputs: {},
        currVC: -1,
        aborts: 0,
        abortTimes: [],        // clock times of abortMotion()
        vacuum: { running: false, startsAfter: 0, polls: 0, fast: false, fault: "",
                  valueAt: function() { return 0 },
                  // Event-driven sensor (the picking steps): startMs null
                  // keeps the polled start above.
                  startMs: null, starting: false, replyMs: 30, requests: [], beforeValue: 0, message: "" },

        // Picking: feeders live in job.feeders, keyed by bank letter + index.
        feederWrites: [],      // [model, index, name, value]
        jogs: [],              // { axis, direction, speed, distance }
        vibrations: [],        // { freq, dutyCycle, length, at }
        vibration: { running: false, done: false, waiting: [] },
        supposedAngle: null,   // { camera3, angle }
        feederCheck: false,
        nozzleChanges: [],     // setNozzleChanging(on) in order

        // Component cycle.
        runStates: {},         // keyed by bank letter + index
        componentCamera: { results: [], ms: 30, requests: [],
                           fallback: { "found": true, "x": 0, "y": 0, "angle": 0, "width": 0, "height": 0 } },
        placed: [],            // placements given to componentPlaced
        counted: [],           // placements given to countPlaced
        basket: []             // placements given to countBasket
    }
    var given = opts.settings || {}
    for (var k in given)
        b.settings[k] = given[k]

    // ---- camera

    function see() {
        if (b.cameraFault === "blind" || (b.cameraFault === "lateFound" && b.requests.length <= b.lateCount))
            return { "found": false, "x": 0, "y": 0 }
        var ppm = Number(b.settings.camera1PPMCorr)
        if (b.cameraFault === "alwaysOff")
            return { "found": true, "x": b.offMm * ppm, "y": 0 }
        var cx = m.pos.x + Number(b.settings.camera1XShift)
        var cy = m.pos.y + Number(b.settings.camera1YShift)
        var best = null, bestD = Infinity
        for (var i = 0; i < b.marks.length; ++i) {
            var d = Math.sqrt(Math.pow(b.marks[i].x - cx, 2) + Math.pow(b.marks[i].y - cy, 2))
            if (d < bestD) {
                bestD = d
                best = b.marks[i]
            }
        }
        if (!best || bestD > b.viewMm)
            return { "found": false, "x": 0, "y": 0 }
        return { "found": true, "x": (best.x - cx) * ppm, "y": -(best.y - cy) * ppm }
    }

    function vacuumPeriod() { return b.vacuum.fast ? 20 : 100 }

    // The outputs of a block that ended well, line by line; the macro
    // "(vsMeasureBeforeGet)" keeps the reading of that moment.
    function applyOutputs(text) {
        var lines = String(text).split("\n")
        for (var i = 0; i < lines.length; ++i) {
            if (lines[i].trim().toLowerCase() === "(vsmeasurebeforeget)") {
                b.vacuum.beforeValue = b.vacuum.valueAt(m, b)
                continue
            }
            var re = /\bm6([45])\s*p(\d+)/gi
            var hit
            while ((hit = re.exec(lines[i])) !== null)
                b.outputs[Number(hit[2])] = hit[1] === "4"
        }
    }
    var send = m.port.sendGCode
    m.port.sendGCode = function(text, safeH, onDone) {
        send(text, safeH, function(ok) {
            if (ok)
                applyOutputs(text)
            if (typeof onDone === "function")
                onDone(ok)
        })
    }

    var p = m.port
    p.setting = function(name) { return b.settings[name] }
    p.homedAndCalibrated = function() { return m.homedAndCalibrated }
    p.refListMulti = function() { return b.job.refListMulti }
    p.refList = function() { return b.job.refList }
    p.dotGroup = function(index) { return b.job.dotAA[index] }
    p.feederOf = function(model, index) { return b.job.feeders[String(model) + index] || null }
    p.onCheckScreen = function() { return b.checkScreen }
    p.rowErrorUp = function() {
        b.rowErrors++
        m.events.push("rowErrorUp")
    }
    p.headCamera = {
        start: function() { m.events.push("camera:start") },
        stop: function() { m.events.push("camera:stop") },
        crossHair: function(on) { m.events.push("camera:crossHair:" + on) },
        notFound: function() { m.events.push("camera:notFound") },
        request: function(settings, onResult) {
            b.requests.push(settings)
            if (b.cameraFault === "silent")
                return
            m.after(b.cameraMs, function() {
                if (b.cameraFault === "timeout")
                    onResult({ "found": false, "timeout": true })
                else
                    onResult(see())
            })
        }
    }
    p.showPanel = function(name, values, onButton) {
        b.panels.push({ "name": name, "values": values, "onButton": onButton })
        m.events.push("panel:" + name)
    }
    p.showBoardMoveDialog = function(values, onAnswer) {
        b.dialogs.push({ "values": values, "onAnswer": onAnswer })
        m.events.push("dialog")
    }
    p.moveBoard = function(dx, dy) { b.boardMoves.push([dx, dy]) }
    p.stopByOperator = function() { m.events.push("stopByOperator") }
    p.openRefSettings = function(mark) { m.events.push("refSettings") }
    p.setRelXY = function(x, y) {
        b.rel = { "x": x, "y": y }
        m.events.push("rel")
    }
    p.sendCalibXY = function(x, y) {
        m.calibXY = { "x": x, "y": y }
        m.events.push("calibXY:" + x + "," + y)
    }
    p.setCalibrating = function(on) {
        b.calib.calibrating = on
        m.events.push("calibrating:" + on)
    }
    p.setCalibrated = function(on) {
        b.calib.calibrated = on
        m.events.push("calibrated:" + on)
    }
    p.setCalibFound = function(found, x, y) {
        b.calib.found = found
        b.calib.x = x
        b.calib.y = y
    }
    p.setDoutOn = function(n, on) {
        b.outputs[n] = on
        m.events.push("dout:" + n + ":" + on)
    }
    p.showError = function(text, type) {
        b.errors.push({ "text": text, "type": type })
        m.events.push("error:" + text)
    }
    p.currVC = function() { return b.currVC }
    p.setCurrVC = function(n) { b.currVC = n }
    p.abortMotion = function() {
        b.aborts++
        b.abortTimes.push(m.now)
        m.events.push("abort")
        if (m.running)
            m.finishBlock(false)
    }
    // Every attached library hears a sensor event.
    function tell(name, a1, a2) {
        var list = m.engines.slice()
        for (var i = 0; i < list.length; ++i)
            if (typeof list[i][name] === "function")
                list[i][name](a1, a2)
    }
    p.vacuum = {
        start: function() {
            m.events.push("vacuum:start")
            b.vacuum.polls = 0
            if (b.vacuum.startMs === null)
                return
            b.vacuum.starting = true
            m.after(b.vacuum.startMs, function() {
                b.vacuum.starting = false
                if (b.vacuum.startsAfter >= 0) {
                    b.vacuum.running = true
                    tell("vsStartedGet")
                } else {
                    b.vacuum.message = "Нет ответа от датчика разрежения! Возможно выбран не тот порт!"
                    tell("vsStartFailedGet", b.vacuum.message)
                }
            })
        },
        starting: function() { return b.vacuum.starting },
        // One request: answered `replyMs` later with the reading of that
        // moment, stamped with the clock; "measureFails" answers with a
        // failure (and the sensor stops), "vacuumSilent" never answers.
        measure: function() {
            b.vacuum.requests.push(m.now)
            m.events.push("vacuum:measure")
            if (b.vacuum.fault === "vacuumSilent")
                return
            m.after(b.vacuum.replyMs, function() {
                if (b.vacuum.fault === "measureFails") {
                    b.vacuum.running = false
                    b.vacuum.message = "Нет ответа от датчика."
                    tell("vsMeasureFailedGet", b.vacuum.message)
                    return
                }
                tell("vsMeasureGet", b.vacuum.valueAt(m, b), m.now)
            })
        },
        now: function() { return m.now },
        before: function() { return b.vacuum.beforeValue },
        storeBefore: function() {
            b.vacuum.beforeValue = b.vacuum.valueAt(m, b)
            m.events.push("vacuum:storeBefore")
        },
        message: function() { return b.vacuum.message },
        running: function() {
            if (b.vacuum.running)
                return true
            if (b.vacuum.startMs !== null)
                return false
            if (b.vacuum.startsAfter >= 0 && b.vacuum.polls++ >= b.vacuum.startsAfter)
                b.vacuum.running = true
            return b.vacuum.running
        },
        latest: function() {
            var period = vacuumPeriod()
            var time = b.vacuum.fault === "vacuumStale" ? 0 : Math.floor(m.now / period) * period
            return { "value": b.vacuum.valueAt(m, b), "time": time }
        },
        setFast: function(on) {
            b.vacuum.fast = on
            m.events.push("vacuum:fast:" + on)
        }
    }

    // ---- picking
    p.setFeederValue = function(model, index, name, value) {
        b.feederWrites.push([model, index, name, value])
        var f = b.job.feeders[String(model) + index]
        if (f)
            f[name] = value
    }
    p.nozzles = function() { return b.job.nozzles || [] }
    p.tapeBank = function(n) { return (b.job.tapeBanks || [])[n] || null }
    p.vibrationBank = function(n) { return (b.job.vibrationBanks || [])[n] || null }
    p.setNozzleChanging = function(on) {
        if (m.nozzleChanging !== on)
            b.nozzleChanges.push(on)
        m.nozzleChanging = on
    }
    p.outputOn = function(n) { return b.outputs[n] === true }
    p.machineMoveIncr = function(axis, direction, speed, distance) {
        b.jogs.push({ "axis": axis, "direction": direction, "speed": speed, "distance": distance })
        m.events.push("jog:" + axis)
    }
    p.feederCheck = function() { return b.feederCheck }
    p.travelHeight = function() { return b.job.travelHeight }
    p.placementAngle = function(ep, feeder) { return b.job.placementAngle || 0 }
    p.placementTarget = function(ep, feeder) { return b.job.placementTarget || null }
    p.morePlacements = function() { return b.job.morePlacements === true }
    p.noShiftOnStart = function() { return b.job.noShiftOnStart === true }
    p.setSupposedAngle = function(three, angle) { b.supposedAngle = { "camera3": three, "angle": angle } }
    // A vibration runs `length` ms; a request while one runs only waits for it.
    p.vibration = {
        done: function() { return b.vibration.done },
        start: function(freq, dutyCycle, length, onDone) {
            b.vibration.waiting.push(onDone)
            if (b.vibration.running)
                return
            b.vibration.running = true
            b.vibration.done = false
            b.vibrations.push({ "freq": freq, "dutyCycle": dutyCycle, "length": length, "at": m.now })
            m.events.push("vibration:start")
            m.after(length, function() {
                b.vibration.running = false
                b.vibration.done = true
                var waiting = b.vibration.waiting
                b.vibration.waiting = []
                for (var i = 0; i < waiting.length; ++i)
                    if (typeof waiting[i] === "function")
                        waiting[i]()
            })
        }
    }

    // ---- component cycle
    p.epGroup = function(index) { return (b.job.groups || [])[index] || null }
    p.runState = function(model, index) {
        var key = String(model) + index
        if (!b.runStates[key])
            b.runStates[key] = {}
        return b.runStates[key]
    }
    p.componentPlaced = function(ep) {
        b.placed.push(ep)
        m.events.push("placed")
    }
    p.countPlaced = function(ep) { b.counted.push(ep) }
    p.countBasket = function(ep) {
        b.basket.push(ep)
        m.events.push("basket")
    }
    // One component camera result from its frames, as the camera request
    // makes it: found when every frame found the part, the mean offset, the
    // last frame's angle and sizes.
    function cameraResult(frames) {
        var found = frames.every(function(f) { return f.found === true })
        var x = 0, y = 0
        for (var i = 0; i < frames.length; ++i) {
            x += Number(frames[i].x)
            y += Number(frames[i].y)
        }
        var last = frames[frames.length - 1]
        return { "found": found, "x": found ? x / frames.length : 0, "y": found ? y / frames.length : 0,
                 "angle": last.angle, "width": last.width, "height": last.height, "frames": frames }
    }
    // The frames are taken when the answer comes, so that a test may queue
    // them after the request. With `componentCamera.answer` set (corner
    // centring, centring in place), every frame of a request is
    // answer(settings, count, i), called when the answer comes (m.pos is
    // then where the head stands); the queued results are left alone.
    b.componentCamera.answer = null
    p.componentCamera = {
        start: function(camera3) { m.events.push("camera2:start:" + (camera3 ? 3 : 2)) },
        stop: function() { m.events.push("camera2:stop") },
        cancel: function() { m.events.push("camera2:cancel") },
        ask: function(settings, count, onResult) {
            var cam = b.componentCamera
            cam.requests.push({ "settings": settings, "count": count, "at": m.now })
            m.events.push("camera2:ask")
            m.after(cam.ms, function() {
                var frames = []
                for (var i = 0; i < count; ++i) {
                    if (typeof cam.answer === "function")
                        frames.push(cam.answer(settings, count, i))
                    else
                        frames.push(cam.results.length > 0 ? cam.results.shift() : cam.fallback)
                }
                onResult(cameraResult(frames))
            })
        }
    }

    p.openFeederSettings = function(model, index) { m.events.push("feederSettings:" + model + index) }
    p.openSensorSettings = function() { m.events.push("sensorSettings") }

    // ---- instruments of the component cycle: the RLC meter, the device
    // programmer and the equivalent feeders.
    //
    // The meter (`rlc`) answers start, set-up and reading requests `ms`
    // later on the clock. Each reading is the next entry of `readings`
    // ({ value in base units, text }; `fallback` once they are used up).
    // Faults (`rlc.fault`, one test row each): "startFails", "setupFails",
    // "measureFails" (answered with ok false and `message`), "silent" (no
    // answer at all).
    // The programmer answers the start pulse on output 10 (interface 0) or a
    // run of the executable (interface 1) `ms` later with the next entry of
    // `results` ("success", "error", "timeout", an exit code, or "silent" for
    // no answer; `fallback` once they are used up) to whoever listens then.
    // The enabled banks are made from `job.feeders` (keys "B0", "U3", ...).
    b.rlc = { running: false, fault: "", ms: 50, message: "Нет ответа от измерителя.", readings: [],
              fallback: { "value": 0, "text": "" }, starts: 0, setups: [], reads: 0, pending: 0 }
    b.programmer = { results: [], fallback: "success", ms: 200, scripts: [], listener: null }
    function rlcAnswer(kind, onDone, answer) {
        var r = b.rlc
        r.pending += 1
        m.after(r.ms, function() {
            r.pending -= 1
            if (r.fault === "silent")
                return
            if (r.fault === kind + "Fails") {
                onDone({ "ok": false, "message": r.message })
                return
            }
            onDone(answer())
        })
    }
    p.rlc = {
        running: function() { return b.rlc.running },
        start: function(onDone) {
            b.rlc.starts++
            m.events.push("rlc:start")
            rlcAnswer("start", onDone, function() {
                b.rlc.running = true
                return { "ok": true }
            })
        },
        setNominal: function(letter, value, onDone) {
            b.rlc.setups.push({ "letter": letter, "value": value })
            m.events.push("rlc:setup:" + letter + ":" + value)
            rlcAnswer("setup", onDone, function() { return { "ok": true } })
        },
        measure: function(onDone) {
            b.rlc.reads++
            m.events.push("rlc:measure")
            rlcAnswer("measure", onDone, function() {
                var r = b.rlc.readings.length > 0 ? b.rlc.readings.shift() : b.rlc.fallback
                return { "ok": true, "value": r.value, "text": r.text }
            })
        },
        cancel: function() { m.events.push("rlc:cancel") }
    }
    function programmerAnswer() {
        var pr = b.programmer
        var result = pr.results.length > 0 ? pr.results.shift() : pr.fallback
        m.after(pr.ms, function() {
            if (result === "silent" || !pr.listener)
                return
            var fn = pr.listener
            pr.listener = null
            fn(result)
        })
    }
    var setDout = p.setDoutOn
    p.setDoutOn = function(n, on) {
        setDout(n, on)
        if (Number(n) === 10 && on === true)
            programmerAnswer()
    }
    p.programmer = {
        listen: function(onResult) { b.programmer.listener = onResult },
        cancel: function() { b.programmer.listener = null },
        runScript: function(path, seconds) {
            b.programmer.scripts.push({ "path": path, "seconds": seconds, "at": m.now })
            m.events.push("programmer:script")
            programmerAnswer()
        }
    }
    p.openRlcSettings = function() { m.events.push("rlcSettings") }
    p.feederBanks = function() {
        var banks = {}
        var order = []
        for (var key in b.job.feeders) {
            var hit = /^([LRBU])(\d+)$/.exec(key)
            if (!hit)
                continue
            if (!banks[hit[1]]) {
                banks[hit[1]] = []
                order.push(hit[1])
            }
            banks[hit[1]][Number(hit[2])] = b.job.feeders[key]
        }
        return order.map(function(model) { return { "model": model, "feeders": banks[model] } })
    }
    p.programmingPending = function() { return b.job.programmingPending === true }
    p.switchToEquivalent = function(model, index, logText) {
        m.events.push("switchToEquivalent:" + model + index)
        return false
    }

    // ---- loose parts: the head camera's search of a placer area.
    // The camera answers each placerRequest `placer.ms` later with the next
    // entry of `placer.results` (`placer.fallback` once they are used up):
    // { found, flipped, x, y, angle, parts: [{ x, y, a }] } with x, y the
    // machine position of the part (mm), turned into pixels from the frame
    // centre as the camera sees it from where the machine stands then, as
    // the marks above. Requests (settings, mode, machine position) and the
    // loaded search settings are recorded; a skipped feeder's log line is
    // kept with the logs.
    b.placer = { results: [], ms: 40, requests: [], loads: [], fallback: { "found": false } }
    p.headCamera.placerLoad = function(settings) {
        b.placer.loads.push(settings)
        m.events.push("camera:placerLoad")
    }
    p.headCamera.placerRequest = function(settings, onResult) {
        b.placer.requests.push({ "settings": settings, "mode": settings.mode, "x": m.pos.x, "y": m.pos.y })
        m.events.push("camera:" + settings.mode)
        m.after(b.placer.ms, function() {
            var r = b.placer.results.length > 0 ? b.placer.results.shift() : b.placer.fallback
            var ppm = Number(b.settings.camera1PPMCorr)
            var cx = m.pos.x + Number(b.settings.camera1XShift)
            var cy = m.pos.y + Number(b.settings.camera1YShift)
            var parts = r.parts || []
            onResult({ "found": r.found === true, "flipped": r.flipped === true,
                       "x": r.found ? (r.x - cx) * ppm : 0, "y": r.found ? -(r.y - cy) * ppm : 0,
                       "angle": r.angle || 0,
                       "centersX": parts.map(function(q) { return (q.x - cx) * ppm }),
                       "centersY": parts.map(function(q) { return -(q.y - cy) * ppm }),
                       "angles": parts.map(function(q) { return q.a || 0 }), "timeout": false })
        })
    }
    p.skipFeeder = function(model, index, logText, color) {
        m.events.push("skipFeeder:" + model + index)
        if (logText !== undefined)
            m.logs.push({ "text": logText, "color": color })
    }

    // Presses `id` on the last panel shown.
    b.press = function(id) {
        var panel = b.panels[b.panels.length - 1]
        if (!panel)
            throw new Error("press: no panel was shown")
        panel.onButton(id)
    }
    // Answers the last board-move dialog.
    b.answer = function(answer) {
        var dialog = b.dialogs[b.dialogs.length - 1]
        if (!dialog)
            throw new Error("answer: no dialog was shown")
        dialog.onAnswer(answer)
    }
    return b
}

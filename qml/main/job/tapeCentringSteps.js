.pragma library
.import "tapeCentring.js" as Tape

// The tape centring by perforations, step by step: for each tape feeder of
// a range of one bank, the head camera goes where the feeder's sprocket hole
// should be, looks for it, moves onto it (again while it is not centred, at
// most Tape.MAX_MOVES times), and the hole's position gives the feeder's new
// pick point. A hole not found waits for the operator: look again
// (continueSearch), skip the feeder (skip), or point at the pick point by
// hand (manual, then manualDone).
//
// `create(port, waiters, onChange)`: waiters are the job's waiting
// primitives (waiters.js) over the same port; onChange(state) is called
// whenever state() changes. Port functions used: setting(name),
// position() (relative X, Y), gCodeDone(), setDoutOn(n, on), log(text,
// colour), headCamera.{start, stop, request(settings, onResult)}, and the
// window's own:
//   tapeFeeder(bank, index) -> feeder record or null (type, bandWidth,
//                              bankNumber, caseX, caseY)
//   checkTapeFeeder(bank, index) -> true, or the text of the failed
//                              feeder check of program creation
//   tapeBank(n) -> tape bank record (zShift) or null
//   setFeederPick(bank, index, x, y)   stores the feeder's new pick point
//   cameraFrameWidth() -> pixels
//
//   start(bank, first, end): centres feeders first ... end - 1.
//   state(): {running, feeder (index, or -1), error ("" or "notFound1"),
//             manual, secondThreshold}
//   stopAll(): stops where it is, without a log line.

function create(port, waiters, onChange) {
    var c = {}
    var run = { "ticket": 0, "running": false, "bank": "", "index": -1, "end": 0, "error": "", "manual": false,
                "second": false, "moves": 0, "moved": false, "pick": null, "s": 0, "prevPerf": false, "height": 0 }

    function num(name) { return Number(port.setting(name)) }
    function shift() { return { "x": num("camera1XShift"), "y": num("camera1YShift") } }
    function area() {
        return { "x1": num("workAreaX1"), "x2": num("workAreaX2"), "y1": num("workAreaY1"), "y2": num("workAreaY2") }
    }

    function state() {
        return { "running": run.running, "feeder": run.running ? run.index : -1, "error": run.error,
                 "manual": run.manual, "secondThreshold": run.second }
    }
    function notify() {
        if (onChange)
            onChange(state())
    }
    function alive(t) { return run.running && t === run.ticket }

    function start(bank, first, end) {
        run.ticket += 1
        run.running = true
        run.bank = String(bank)
        run.index = Math.max(0, Math.floor(Number(first)) || 0)
        run.end = Math.floor(Number(end)) || 0
        run.error = ""
        run.manual = false
        run.second = false
        port.setDoutOn(4, false)
        port.headCamera.start()
        notify()
        visit()
    }

    // The feeder run.index: skipped, or approached.
    function visit() {
        if (!run.running)
            return
        if (run.index >= run.end)
            return c.stopAll()
        var number = run.index + 1
        var f = port.tapeFeeder(run.bank, run.index)
        if (!f || Number(f.type) !== Tape.TAPE_FEEDER) {
            port.log(Tape.notTapeText(number), "yellow")
            return next()
        }
        var check = port.checkTapeFeeder(run.bank, run.index)
        if (check !== true) {
            port.log(Tape.checkFailedText(number, String(check)), "yellow")
            return next()
        }
        run.pick = { "x": Number(f.caseX), "y": Number(f.caseY) }
        run.s = Tape.perforationOffset(f.bandWidth)
        run.prevPerf = port.setting("bandFeederAutoCenterPrevPerf") === true
        var bank = port.tapeBank(Number(f.bankNumber))
        run.height = bank ? Number(bank.zShift) || 0 : 0
        run.moves = 0
        run.moved = false
        run.second = false
        var sh = shift()
        goTo(Tape.approachPoint(run.pick.x, run.pick.y, run.bank, run.s, run.prevPerf, sh.x, sh.y))
    }

    function next() {
        run.index += 1
        run.error = ""
        run.manual = false
        run.second = false
        notify()
        visit()
    }

    // A camera move; a point the machine cannot go to skips the feeder.
    function goTo(target) {
        var text = Tape.reachable(target, area()) ? Tape.moveText(target, port.setting("maxVel"), port.setting("maxAcc"))
                                                  : null
        if (text === null) {
            port.log(Tape.unreachableText(run.index + 1), "yellow")
            return next()
        }
        var t = run.ticket
        waiters.gCodeWait(text, true, function() { if (alive(t)) look() })
    }

    function look() {
        var t = run.ticket
        waiters.delayWait(num("camera1Delay"), function() { if (alive(t)) take() })
    }

    function take() {
        var t = run.ticket
        var settings = Tape.cameraSettings({ "pixelsPerMm": num("camera1PPMCorr"), "frameWidth": port.cameraFrameWidth(),
                                             "threshold": num(run.second ? "bandACCamera1Y2" : "bandACCamera1Y1"),
                                             "height": run.height, "exposure": num("camera1Exposure") })
        port.headCamera.request(settings, function(result) { if (alive(t)) seen(result) })
    }

    function seen(result) {
        var h = Tape.holeSeen(result, num("camera1PPMCorr"))
        if (!h.found) {
            if (!run.second) {
                run.second = true
                notify()
                return look()
            }
            return notFound()
        }
        run.second = false
        var pos = port.position()
        var sh = shift()
        var hole = { "x": Number(pos.x) + sh.x + h.dx, "y": Number(pos.y) + sh.y + h.dy }
        if (!run.moved || !Tape.centred(h)) {
            if (run.moves >= Tape.MAX_MOVES)
                return notFound()
            run.moves += 1
            run.moved = true
            return goTo({ "x": hole.x - sh.x, "y": hole.y - sh.y })
        }
        store(Tape.pickFromHole(hole.x, hole.y, run.bank, run.s, run.prevPerf), false)
    }

    // The camera keeps calculating while the operator decides.
    function notFound() {
        run.error = "notFound1"
        notify()
    }

    function store(pick, byHand) {
        var number = run.index + 1
        var dx = pick.x - run.pick.x, dy = pick.y - run.pick.y
        port.setFeederPick(run.bank, run.index, pick.x, pick.y)
        port.log(byHand ? Tape.centredByHandText(number, dx, dy) : Tape.centredText(number, dx, dy),
                 Tape.correctionColour(dx, dy))
        next()
    }

    // "Продолжить": a new result at once with the first threshold; a hole
    // found is moved onto as after the approach.
    c.continueSearch = function() {
        if (!run.running || run.error === "" || run.manual)
            return false
        run.error = ""
        run.second = false
        run.moves = 0
        run.moved = false
        notify()
        take()
        return true
    }
    // "Пропустить".
    c.skip = function() {
        if (!run.running || (run.error === "" && !run.manual))
            return false
        port.log(Tape.skippedText(run.index + 1), "yellow")
        next()
        return true
    }
    // "Указать вручную": the camera over the pick point the feeder has now;
    // the operator jogs it onto the pocket.
    c.manual = function() {
        if (!run.running || run.error === "" || run.manual)
            return false
        run.manual = true
        notify()
        var sh = shift()
        var target = { "x": run.pick.x - sh.x, "y": run.pick.y - sh.y }
        var text = Tape.reachable(target, area()) ? Tape.moveText(target, port.setting("maxVel"), port.setting("maxAcc"))
                                                  : null
        if (text !== null)
            waiters.gCodeWait(text, true, function() {})
        return true
    }
    // "Указать и продолжить": where the camera looks is the pick point.
    c.manualDone = function() {
        if (!run.running || !run.manual || !port.gCodeDone())
            return false
        var pos = port.position()
        var sh = shift()
        store({ "x": Number(pos.x) + sh.x, "y": Number(pos.y) + sh.y }, true)
        return true
    }

    c.stopAll = function() {
        var was = run.running
        run.ticket += 1
        run.running = false
        run.index = -1
        run.error = ""
        run.manual = false
        run.second = false
        if (was) {
            port.headCamera.stop()
            notify()
        }
    }
    c.start = start
    c.state = state
    return c
}

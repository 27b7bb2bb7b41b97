.pragma library
.import "nozzleBaseCalibration.js" as Base

// The nozzle base auto-calibration, step by step. The head stands in the
// first slot of the base; for each slot it goes over the slot's expected
// centre, lowers into it and feels the +Y and the -Y wall in single encoder
// steps: a wall stops the head while its motor goes on, so the divergence
// of step generator and encoder (published by the machine link) moves away
// from the one remembered before. The middle of the two walls is the slot's
// Y centre; the next slot is expected the base's Y pitch (vcdY) further on.
// In the first slot the -X wall is felt too, once: it gives the X of every
// slot. Slot 0 is that preliminary measurement; slots 1 ... n, the first
// slot measured again and the others, belong to nozzles 1 ... n.
//
// `create(port, waiters, onChange)`: waiters are the job's waiting
// primitives (waiters.js) over the same port; onChange(state) is called
// whenever state() changes. Port functions used: setting(name) (cupBaseType,
// vcCount, vcdY, vcZBottom, encoderScaleX, encoderScaleY), position()
// (relative X, Y; joint Z), and the window's own:
//   divergence(axis) -> the divergence of step generator and encoder of X
//                       (0) or Y (1), mm
//   estop()          -> emergency stop of the machine
//   setSpeedSlider(v)   the speed slider to v
//
//   calibrate(done): done(result) once: {ok: true, type, count, xCurr,
//     yArr, zLow, zLowest, text} or {ok: false, text} (a wall not felt
//     within the travel: the machine was E-stopped; or no encoder step).
//   state(): {running, slot, stage}
//   stopAll(): stops where it is; done is not called.

function create(port, waiters, onChange) {
    var c = {}
    var run = { "ticket": 0, "running": false, "done": null, "type": 0, "k": Base.base(0), "count": 0,
                "step": 0, "stage": "", "xCurr": 0, "yCurr": 0, "zLow": 0, "zLowest": 0, "yArr": [], "y1": 0,
                "remembered": [0, 0], "units": 0, "steps": [0, 0] }

    function num(name) { return Number(port.setting(name)) }
    function state() { return { "running": run.running, "slot": run.running ? run.step : -1, "stage": run.stage } }
    function notify() {
        if (onChange)
            onChange(state())
    }
    function alive(t) { return run.running && t === run.ticket }
    // A block, then `next` while the calibration still runs.
    function send(text, safeH, next) {
        if (text === null)
            return finish({ "ok": false, "text": qsTr("Ошибка при автокалибровке насадок! Неверные координаты.") })
        var t = run.ticket
        waiters.gCodeWait(text, safeH, function() { if (alive(t)) next() })
    }

    function calibrate(done) {
        run.ticket += 1
        run.done = done
        run.type = Number(port.setting("cupBaseType")) === 1 ? 1 : 0
        run.k = Base.base(run.type)
        run.count = Math.max(1, Math.min(8, Math.floor(num("vcCount")) || 1))
        run.steps = [Base.encoderStep(num("encoderScaleX")), Base.encoderStep(num("encoderScaleY"))]
        run.running = true
        if (run.steps[0] === null || run.steps[1] === null)
            return finish({ "ok": false, "text": qsTr("Ошибка при автокалибровке насадок! Масштаб энкодера неизвестен.") })
        var pos = port.position()
        run.xCurr = Number(pos.x)
        run.yCurr = Number(pos.y)
        run.zLowest = Number(pos.z) - 1
        run.zLow = Number(pos.z) + run.k.zLowFromStart
        run.yArr = []
        run.step = 0
        port.setSpeedSlider(1)
        approach()
    }

    // Sub-step 1: over the slot's expected centre.
    function approach() {
        if (run.step === run.count + 1)
            return send("g0 zMax", true, function() {
                finish({ "ok": true, "type": run.type, "count": run.count, "xCurr": run.xCurr, "yArr": run.yArr.slice(),
                         "zLow": run.zLow, "zLowest": run.zLowest,
                         "text": Base.resultText(run.xCurr, run.yArr, run.count) })
            })
        run.stage = "approach"
        notify()
        send(Base.approachText(run.xCurr, run.yCurr), true, lower)
    }

    // Sub-step 2: the Y divergence remembered, down into the slot.
    function lower() {
        run.remembered[1] = Number(port.divergence(1))
        run.stage = "lower"
        send(Base.lowerText(run.type, run.zLow, run.zLowest, num("vcZBottom")), false, function() { feel("y", 1) })
    }

    // Sub-steps 3 to 5: single steps towards a wall until it is felt.
    function feel(axis, sign) {
        run.units = 0
        run.stage = axis + (sign > 0 ? "+" : "-")
        notify()
        stepOnce(axis, sign)
    }
    function stepOnce(axis, sign) {
        var i = axis === "x" ? 0 : 1
        send(Base.stepText(axis, sign, run.steps[i]), false, function() { stepped(axis, sign) })
    }
    function stepped(axis, sign) {
        var i = axis === "x" ? 0 : 1
        // The distance commanded, in units of the last decimal of a step.
        run.units += Math.round(Number(Base.stepWord(run.steps[i])) * 10000)
        var sense = i === 0 ? run.k.xSense : run.k.ySense
        if (Base.contact(sign, run.remembered[i], port.divergence(i), sense))
            return felt(axis, sign)
        var travel = i === 0 ? run.k.xTravel : run.k.yTravel
        if (run.units > Math.round(travel * 10000)) {
            port.estop()
            return finish({ "ok": false, "text": Base.noResistanceText(axis) })
        }
        stepOnce(axis, sign)
    }

    function felt(axis, sign) {
        var pos = port.position()
        if (axis === "y" && sign > 0) {
            run.y1 = Number(pos.y)
            return send(Base.backText("y", run.yCurr), false, function() { feel("y", -1) })
        }
        if (axis === "y") {
            var centre = (run.y1 + Number(pos.y)) / 2
            run.yArr[run.step] = centre
            run.yCurr = run.step === 0 ? centre : centre + num("vcdY")
            return send(Base.backText("y", centre), false, function() {
                if (run.step === 0) {
                    run.remembered[0] = Number(port.divergence(0))
                    return feel("x", -1)
                }
                run.step += 1
                approach()
            })
        }
        run.xCurr = Number(pos.x) + run.k.xBackOff
        send(Base.backText("x", run.xCurr), false, function() {
            run.step = 1
            approach()
        })
    }

    function finish(result) {
        run.running = false
        run.stage = ""
        var done = run.done
        run.done = null
        notify()
        if (done)
            done(result)
    }

    c.stopAll = function() {
        var was = run.running
        run.ticket += 1
        run.running = false
        run.done = null
        run.stage = ""
        if (was)
            notify()
    }
    c.calibrate = calibrate
    c.state = state
    return c
}

.pragma library
.import "../lib/coords.js" as Coords
// The decisions of the direct control window that do not need the window:
// the position read-out, the canned motion to the component camera, what
// the vibration feeder button does, and the head camera's service moves to
// the calibration marks.

// An axis position for the read-out: two decimals, "—" when unknown.
function axisText(value) {
    var text = Coords.fixed(value, 2)
    return text === null ? "—" : text
}

// Read-out colour of X and Y: red while the axis is not homed, blue while
// the field correction is on.
function axisColor(homed, fieldCorrection) {
    if (!homed)
        return "#FF5252"
    return fieldCorrection ? "#40A0FF" : "white"
}

// The encoder step (mm) with four decimals, or null while it is unknown.
function encoderStepText(step) {
    if (!(Number(step) > 0))
        return null
    return Coords.fixed(step, 4)
}

// The canned move to the component camera: the operator's pre-camera
// G-code, the head raised, then X and Y of the camera (3 decimals); null
// when the camera position is not a number.
function toCameraText(preCameraGcode, cameraX, cameraY) {
    var x = Coords.fixed(cameraX, 3), y = Coords.fixed(cameraY, 3)
    if (x === null || y === null)
        return null
    var lines = []
    var pre = preCameraGcode === undefined || preCameraGcode === null ? "" : String(preCameraGcode)
    if (pre.trim() !== "")
        lines.push(pre)
    lines.push("g0 zMax")
    lines.push("g0 x" + x + " y" + y)
    return lines.join("\n")
}

// The vibration feeder 1 button may be pressed when at least one vibration
// bank is switched on (banks: list of bank records).
function vibroButtonEnabled(banks) {
    for (var i = 0; i < banks.length; ++i)
        if (banks[i] && banks[i].bankEnabled === true)
            return true
    return false
}

// What pressing the vibration feeder 1 button does with bank 0:
// "pwm" (start the PWM vibration with the bank's values), "gcode" (run the
// bank's G-code) or "toggle" (switch output 6 by hand).
function vibroButtonAction(bank, executing, calibrated) {
    if (bank && bank.pwm === true)
        return "pwm"
    if (!executing && calibrated && bank && String(bank.g1 || "").trim() !== "")
        return "gcode"
    return "toggle"
}

// ---- the head camera and the calibration marks

// Which service move of the head camera may run: "mark1" (to the first
// calibration mark), "mark2" (to the second) and "centre" (centring on the
// mark the camera sees, with the calibration mark's recognition settings).
// All need the machine calibrated and idle, as the canned motions do, and
// the calibration mark switched on; the second mark also its own switch.
// s: { calibrated, executing, calibEnabled, calib2Enabled }.
function markMoveAllowed(s, move) {
    if (!s || s.calibrated !== true || s.executing === true || s.calibEnabled !== true)
        return false
    if (move === "mark2")
        return s.calib2Enabled === true
    return move === "mark1" || move === "centre"
}

// The activity registered while the camera is being centred.
var CENTRE_ACTIVITY = "centreOnMark"

// Centres the head camera on the mark it sees through the job's step
// `centerAtRef`. c is the window's side:
//   state()               the state markMoveAllowed reads
//   showHeadCamera()      lights the head camera and shows its window
//   setActivity(name, on) registers a long activity of the machine
//   step(name)            a step function of the job by name, or null
//   cameraStop()          the head camera stops calculating
//   finished(ok)          the end: true when centred
// Returns false, doing nothing, when the move may not run.
function centreOnMark(c) {
    if (!markMoveAllowed(c.state(), "centre"))
        return false
    var centerAtRef = c.step("centerAtRef")
    if (typeof centerAtRef !== "function")
        return false
    c.showHeadCamera()
    c.setActivity(CENTRE_ACTIVITY, true)
    centerAtRef(true, function(ok) {
        c.cameraStop()
        c.setActivity(CENTRE_ACTIVITY, false)
        c.finished(ok === true)
    })
    return true
}

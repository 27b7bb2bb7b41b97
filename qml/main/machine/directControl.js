.pragma library
.import "../lib/coords.js" as Coords
// The decisions of the direct control window that do not need the window:
// the position read-out, the canned motion to the component camera and what
// the vibration feeder button does.

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

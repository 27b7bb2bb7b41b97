.pragma library
// Speed prefixes of the G-code text the program sends. A prefix starts a
// motion line: "g0 " for full speed and acceleration, otherwise a feed line
// "g1 f<feed> " with, below full acceleration, the acceleration word.
//
// speed and acc are percentages; maxVel (units per second) and maxAcc
// (units per second squared) are the machine's per-axis maxima in axis
// order X, Y, Z, ... as the machine configuration gives them. A prefix
// that cannot be computed (an unknown maximum) is null.

function finite(v) {
    return v !== null && v !== undefined && typeof v !== "boolean" && isFinite(Number(v))
}

function prefix(speed, acc, vel, accMax, accWord) {
    if (!finite(speed) || !finite(acc))
        return null
    speed = Number(speed)
    acc = Number(acc)
    if (speed === 100 && acc === 100)
        return "g0 "
    if (!finite(vel))
        return null
    var text = "g1 f" + (speed * Number(vel) * 0.6).toFixed(0) + " "
    if (acc < 100) {
        if (!finite(accMax))
            return null
        text += accWord + (acc * 0.01 * Number(accMax)).toFixed(0) + " "
    }
    return text
}

function at(list, i) {
    return list && list.length > i ? list[i] : undefined
}

function larger(a, b) {
    if (!finite(a) || !finite(b))
        return undefined
    return Math.max(Number(a), Number(b))
}

// Prefix of a Z move.
function zSpeed(speed, acc, maxVel, maxAcc) {
    return prefix(speed, acc, at(maxVel, 2), at(maxAcc, 2), "  acc")
}

// Prefix of an XY move: the larger of the X and Y maxima.
function xySpeed(speed, acc, maxVel, maxAcc) {
    return prefix(speed, acc, larger(at(maxVel, 0), at(maxVel, 1)), larger(at(maxAcc, 0), at(maxAcc, 1)), " acc")
}

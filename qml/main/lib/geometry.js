.pragma library
// Angles and coordinates: plain functions of their arguments, so that tests
// can call them directly.

// An angle folded into -180 ... 180 degrees.
function minAngle(angle) {
    var a = Number(angle) % 360
    if (a > 180)
        a -= 360
    else if (a < -180)
        a += 360
    return a
}

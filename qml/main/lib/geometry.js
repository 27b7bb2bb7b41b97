.pragma library
// Angles and coordinates: plain functions of their arguments, so that tests
// can call them directly. Every piece of the program that turns a design
// point into a machine point, or folds an angle, goes through here.

// An angle folded into (-180, 180]: a half turn is 180, never -180, so the
// angles the settings name (feeder and programmer turns of -90, 0, 90, 180)
// come back as they are and one direction has one value.
function minAngle(angle) {
    var a = Number(angle) % 360
    if (a > 180)
        a -= 360
    else if (a <= -180)
        a += 360
    return a
}

// Machine point of a design point: the design Y axis runs the other way.
// env: workAreaX1, workAreaY2.
function machinePoint(rX, rY, env) {
    return { "x": Number(rX) + Number(env.workAreaX1), "y": Number(env.workAreaY2) - Number(rY) }
}

// Machine point of the centre of a footprint with corner (rX, rY) and size
// w x h.
function machineCentre(rX, rY, w, h, env) {
    return machinePoint(Number(rX) + Number(w) / 2, Number(rY) + Number(h) / 2, env)
}

// Design point of a machine point (the inverse of machinePoint).
function designPoint(x, y, env) {
    return { "rX": Number(x) - Number(env.workAreaX1), "rY": Number(env.workAreaY2) - Number(y) }
}

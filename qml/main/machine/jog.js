.pragma library
// Jogging by hand: which key does what and which jog buttons may be pressed.
// Plain functions of their arguments; the window keeps the jog state and
// turns the actions into machine commands.
//
// Axes: 0 X, 1 Y, 2 Z, 3 A (nozzle turn), 4 B (lower feeder shaft),
// 5 C (upper feeder shaft), 6 D.
//
// A jog is (axis, dir, kind): dir is the direction sent to the machine link
// (true is the plus direction; for Z, "Вверх" (up) sends true although the
// operator's panel calls it the Z-minus action), kind "fast" runs at the
// slider's speed, "slow" at the slow speed.
//
// Jog state: { active: { "<axis><+|-><f|s>": true, ... }, step: [axis, ...] }
// where `step` lists the axes whose key did a single step on its first
// press (held with Ctrl, that key goes on as a slow jog).
//
// Actions returned by the key handler, applied in order:
//   { type: "start", axis, dir, kind }   start a continuous jog
//   { type: "stop", axis, dir, kind }    stop it
//   { type: "step", axis, dir }          one encoder step
//   { type: "zUp" }                      Z to its maximum
//   { type: "pass" }                     the key is not ours: leave it unaccepted
// An empty list means the key is taken and nothing happens.

var axisCount = 7

// ---- jog state
function emptyState() {
    return { "active": {}, "step": [] }
}

function jogName(axis, dir, kind) {
    return String(axis) + (dir ? "+" : "-") + (kind === "slow" ? "s" : "f")
}

function copyState(state) {
    var active = {}
    for (var k in state.active)
        if (state.active[k])
            active[k] = true
    return { "active": active, "step": state.step.slice() }
}

function isActive(state, axis, dir, kind) {
    return state.active[jogName(axis, dir, kind)] === true
}

// Any jog of the axis, fast or slow, either way.
function axisActive(state, axis) {
    return isActive(state, axis, true, "fast") || isActive(state, axis, false, "fast")
        || isActive(state, axis, true, "slow") || isActive(state, axis, false, "slow")
}

// The state after an action.
function apply(state, action) {
    var next = copyState(state)
    var i
    switch (action.type) {
    case "start":
        next.active[jogName(action.axis, action.dir, action.kind)] = true
        break
    case "stop":
        delete next.active[jogName(action.axis, action.dir, action.kind)]
        break
    case "step":
        if (next.step.indexOf(action.axis) < 0)
            next.step.push(action.axis)
        break
    case "clearStep":
        i = next.step.indexOf(action.axis)
        if (i >= 0)
            next.step.splice(i, 1)
        break
    }
    return next
}

// ---- permissions
// perm: { scanning, calibrated, machineOn, debugMode, gCodeDone }
function canMoveAxis(perm) {
    return !perm.scanning && (perm.calibrated === true || (perm.machineOn === true && perm.debugMode === true))
        && perm.gCodeDone === true
}

function canMoveXY(perm, state) {
    return canMoveAxis(perm) && !axisActive(state, 2)
}

function canMoveZ(perm, state) {
    return canMoveAxis(perm) && !axisActive(state, 0) && !axisActive(state, 1)
}

// Whether the jog button (axis, dir, kind) may be pressed (or released).
// Another jog of the same axis blocks it; a running Z or A jog stays enabled
// so that it can be released; B plus and B minus block each other.
function jogEnabled(perm, state, axis, dir, kind) {
    if ((axis === 2 || axis === 3) && isActive(state, axis, dir, kind))
        return true
    var dirs = [true, false], kinds = ["fast", "slow"]
    for (var d = 0; d < dirs.length; ++d)
        for (var k = 0; k < kinds.length; ++k)
            if ((dirs[d] !== dir || kinds[k] !== kind) && isActive(state, axis, dirs[d], kinds[k]))
                return false
    if (axis === 0 || axis === 1)
        return canMoveXY(perm, state)
    if (axis === 2)
        return canMoveZ(perm, state)
    return canMoveAxis(perm)
}

// Whether a single step of the axis may be sent now.
function stepEnabled(perm, state, axis) {
    if (axisActive(state, axis))
        return false
    if (axis === 0 || axis === 1)
        return canMoveXY(perm, state)
    if (axis === 2)
        return canMoveZ(perm, state)
    return canMoveAxis(perm)
}

// ---- keys
var keyTable = null

// The jog of each key: [axis, dir].
function jogOfKey(key) {
    if (keyTable === null) {
        keyTable = {}
        keyTable[Qt.Key_Left] = [0, false]
        keyTable[Qt.Key_Right] = [0, true]
        keyTable[Qt.Key_Down] = [1, false]
        keyTable[Qt.Key_Up] = [1, true]
        keyTable[Qt.Key_PageUp] = [2, true]
        keyTable[Qt.Key_PageDown] = [2, false]
        keyTable[Qt.Key_Insert] = [3, true]
        keyTable[Qt.Key_Delete] = [3, false]
    }
    var jog = keyTable[key]
    return jog === undefined ? null : { "axis": jog[0], "dir": jog[1] }
}

// Stops of the fast and slow jogs of (axis, dir) that run.
function stopsOf(state, axis, dir) {
    var out = []
    var kinds = ["fast", "slow"]
    for (var k = 0; k < kinds.length; ++k)
        if (isActive(state, axis, dir, kinds[k]))
            out.push({ "type": "stop", "axis": axis, "dir": dir, "kind": kinds[k] })
    return out
}

// The actions of one key event.
// ev: { key, modifiers, autoRepeat, pressed } (pressed false = release).
function keyActions(ev, state, perm) {
    var mods = Number(ev.modifiers) || 0
    if (ev.key === Qt.Key_Tab || (mods & (Qt.ShiftModifier | Qt.AltModifier)))
        return [{ "type": "pass" }]
    var ctrl = (mods & Qt.ControlModifier) !== 0
    if (ev.key === Qt.Key_Home)
        return ev.pressed && !ev.autoRepeat && !ctrl ? [{ "type": "zUp" }] : []
    var jog = jogOfKey(ev.key)
    if (jog === null)
        return []
    if (!ev.pressed) {
        // A held key repeats as release and press pairs: only the real
        // release ends the jog.
        if (ev.autoRepeat)
            return []
        var out = stopsOf(state, jog.axis, jog.dir)
        if (state.step.indexOf(jog.axis) >= 0)
            out.push({ "type": "clearStep", "axis": jog.axis })
        return out
    }
    if (!ev.autoRepeat) {
        if (ctrl) {
            if (!stepEnabled(perm, state, jog.axis))
                return []
            return [{ "type": "step", "axis": jog.axis, "dir": jog.dir }]
        }
        if (isActive(state, jog.axis, jog.dir, "fast") || !jogEnabled(perm, state, jog.axis, jog.dir, "fast"))
            return []
        return [{ "type": "start", "axis": jog.axis, "dir": jog.dir, "kind": "fast" }]
    }
    // Auto-repeat: only a key that stepped with Ctrl goes on, as a slow jog.
    if (!ctrl || state.step.indexOf(jog.axis) < 0)
        return []
    if (isActive(state, jog.axis, jog.dir, "slow") || !jogEnabled(perm, state, jog.axis, jog.dir, "slow"))
        return []
    return [{ "type": "start", "axis": jog.axis, "dir": jog.dir, "kind": "slow" }]
}

// Stops for every axis 0..6 (sent whether or not the window thinks the axis
// runs: a stop costs nothing, a jog left running costs a crash). Each stop
// carries the direction and kind of the axis's running jog, if any.
function stopAllActions(state) {
    var out = []
    for (var axis = 0; axis < axisCount; ++axis) {
        var dir = true, kind = "fast"
        if (isActive(state, axis, false, "fast")) dir = false
        else if (isActive(state, axis, true, "slow")) kind = "slow"
        else if (isActive(state, axis, false, "slow")) { dir = false; kind = "slow" }
        out.push({ "type": "stop", "axis": axis, "dir": dir, "kind": kind })
    }
    return out
}

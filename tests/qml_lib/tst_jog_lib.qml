import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/machine/jog.js" as Jog
import "JobRig.js" as J

// Jogging by hand without windows: who may move, which jog buttons are
// enabled, and what every key does in every state.
TestCase {
    name: "JogLibrary"

    // A machine that may move, and variants of it.
    function perm(changes) {
        return J.merged({ "scanning": false, "calibrated": true, "machineOn": true,
                          "debugMode": false, "gCodeDone": true }, changes)
    }
    // A state with the given jogs running: ["0+f", "2-s", ...] and step axes.
    function state(jogs, steps) {
        var s = Jog.emptyState()
        for (var i = 0; i < (jogs || []).length; ++i)
            s.active[jogs[i]] = true
        s.step = steps || []
        return s
    }
    function ev(key, modifiers, autoRepeat, pressed) {
        return { "key": key, "modifiers": modifiers || Qt.NoModifier, "autoRepeat": autoRepeat === true,
                 "pressed": pressed !== false }
    }
    // Actions as short texts: "start 0+ fast", "stop 2- slow", "step 3-", "zUp", "pass", "clearStep 0".
    function texts(actions) {
        return actions.map(function(a) {
            switch (a.type) {
            case "start":
            case "stop": return a.type + " " + a.axis + (a.dir ? "+" : "-") + " " + a.kind
            case "step": return "step " + a.axis + (a.dir ? "+" : "-")
            case "clearStep": return "clearStep " + a.axis
            default: return a.type
            }
        })
    }

    function test_canMove_data() {
        return [
            { tag: "calibrated, idle", p: {}, s: [], axis: true, xy: true, z: true },
            { tag: "scanning a board", p: { "scanning": true }, s: [], axis: false, xy: false, z: false },
            { tag: "not calibrated", p: { "calibrated": false }, s: [], axis: false, xy: false, z: false },
            { tag: "debug mode, on", p: { "calibrated": false, "debugMode": true }, s: [], axis: true, xy: true,
              z: true },
            { tag: "G-code runs", p: { "gCodeDone": false }, s: [], axis: false, xy: false, z: false },
            { tag: "Z jog runs", p: {}, s: ["2+f"], axis: true, xy: false, z: true },
            { tag: "X jog runs", p: {}, s: ["0-f"], axis: true, xy: true, z: false },
        ]
    }
    function test_canMove(data) {
        var p = perm(data.p), s = state(data.s)
        compare(Jog.canMoveAxis(p), data.axis)
        compare(Jog.canMoveXY(p, s), data.xy)
        compare(Jog.canMoveZ(p, s), data.z)
    }

    function test_jogEnabled_data() {
        return [
            { tag: "idle X+", s: [], axis: 0, dir: true, kind: "fast", on: true },
            { tag: "X- runs: X+ disabled", s: ["0-f"], axis: 0, dir: true, kind: "fast", on: false },
            { tag: "X runs: Z up disabled", s: ["0+f"], axis: 2, dir: true, kind: "fast", on: false },
            { tag: "Z up runs: Z down disabled", s: ["2+f"], axis: 2, dir: false, kind: "fast", on: false },
            { tag: "X+ runs, not calibrated: disabled", s: ["0+f"], axis: 0, dir: true, kind: "fast", on: false,
              p: { "calibrated": false } },
        ]
    }
    function test_jogEnabled(data) {
        compare(Jog.jogEnabled(perm(data.p || {}), state(data.s), data.axis, data.dir, data.kind), data.on)
    }

    // One row per key event: the state before, the event, the actions.
    function test_keyActions_data() {
        var C = Qt.ControlModifier
        return [
            { tag: "Right", s: [], e: ev(Qt.Key_Right), out: ["start 0+ fast"] },
            { tag: "Left", s: [], e: ev(Qt.Key_Left), out: ["start 0- fast"] },
            { tag: "Up", s: [], e: ev(Qt.Key_Up), out: ["start 1+ fast"] },
            { tag: "Down", s: [], e: ev(Qt.Key_Down), out: ["start 1- fast"] },
            { tag: "Page Up is Z up (direction true)", s: [], e: ev(Qt.Key_PageUp), out: ["start 2+ fast"] },
            { tag: "Page Down is Z down", s: [], e: ev(Qt.Key_PageDown), out: ["start 2- fast"] },
            { tag: "Insert is A+", s: [], e: ev(Qt.Key_Insert), out: ["start 3+ fast"] },
            { tag: "Delete is A-", s: [], e: ev(Qt.Key_Delete), out: ["start 3- fast"] },
            { tag: "Home raises Z", s: [], e: ev(Qt.Key_Home), out: ["zUp"] },
            { tag: "Right while X- runs", s: ["0-f"], e: ev(Qt.Key_Right), out: [] },
            { tag: "Right released", s: ["0+f"], e: ev(Qt.Key_Right, 0, false, false), out: ["stop 0+ fast"] },
            { tag: "Right released, X- held by a button", s: ["0-f"], e: ev(Qt.Key_Right, 0, false, false),
              out: [] },
            { tag: "Ctrl+Right first", s: [], e: ev(Qt.Key_Right, C), out: ["step 0+"] },
            { tag: "Ctrl+Right repeated after a step", s: [], steps: [0], e: ev(Qt.Key_Right, C, true),
              out: ["start 0+ slow"] },
            { tag: "Ctrl+Right repeated without a step", s: [], e: ev(Qt.Key_Right, C, true), out: [] },
            { tag: "Ctrl+Right released", s: ["0+s"], steps: [0], e: ev(Qt.Key_Right, C, false, false),
              out: ["stop 0+ slow", "clearStep 0"] },
            { tag: "Right released after Ctrl was let go", s: ["0+s"], steps: [0],
              e: ev(Qt.Key_Right, 0, false, false), out: ["stop 0+ slow", "clearStep 0"] },
            { tag: "Ctrl+Page Down", s: [], e: ev(Qt.Key_PageDown, C), out: ["step 2-"] },
            { tag: "Up, not calibrated", s: [], e: ev(Qt.Key_Up), out: [], p: { "calibrated": false } },
            { tag: "Up released, not calibrated", s: ["1+f"], e: ev(Qt.Key_Up, 0, false, false),
              out: ["stop 1+ fast"], p: { "calibrated": false } },
            { tag: "Shift+Right passes", s: [], e: ev(Qt.Key_Right, Qt.ShiftModifier), out: ["pass"] },
        ]
    }
    function test_keyActions(data) {
        var s = state(data.s, data.steps)
        compare(texts(Jog.keyActions(data.e, s, perm(data.p || {}))), data.out)
    }
}

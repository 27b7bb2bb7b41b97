import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/machine/directControl.js" as DirectControl
import "JobRig.js" as J

// The direct control window's decisions without the window: the move to
// the component camera, the vibration feeder button, and when the service
// moves of the head camera to the calibration marks may run (the centring
// itself: tst_marks.qml; its window: the execution window's program test).
TestCase {
    name: "DirectControlLibrary"

    function test_toCameraText_data() {
        return [
            { tag: "with pre-camera G-code", pre: "m64 p4\ng0 z20", x: 250.5, y: 12,
              text: "m64 p4\ng0 z20\ng0 zMax\ng0 x250.500 y12.000" },
            { tag: "blank", pre: "  \n", x: 1.23456, y: -2, text: "g0 zMax\ng0 x1.235 y-2.000" },
            { tag: "camera X not a number", pre: "", x: NaN, y: 0, text: null },
        ]
    }
    function test_toCameraText(data) {
        compare(DirectControl.toCameraText(data.pre, data.x, data.y), data.text)
    }

    function test_vibroButtonAction_data() {
        var pwm = { "pwm": true, "g1": "m64 p6" }, gcode = { "pwm": false, "g1": "m64 p6\ng4 p1\nm65 p6" }
        return [
            { tag: "PWM bank", bank: pwm, executing: false, calibrated: true, action: "pwm" },
            { tag: "G-code bank", bank: gcode, executing: false, calibrated: true, action: "gcode" },
            { tag: "G-code bank while busy", bank: gcode, executing: true, calibrated: true, action: "toggle" },
            { tag: "G-code bank, not calibrated", bank: gcode, executing: false, calibrated: false, action: "toggle" },
        ]
    }
    function test_vibroButtonAction(data) {
        compare(DirectControl.vibroButtonAction(data.bank, data.executing, data.calibrated), data.action)
    }

    function test_markMoveAllowed_data() {
        var ready = { "calibrated": true, "executing": false, "calibEnabled": true, "calib2Enabled": true }
        function but(changes) { return J.merged(ready, changes) }
        return [
            { tag: "ready", s: ready, allowed: { "mark1": true, "mark2": true, "centre": true } },
            { tag: "second mark off", s: but({ "calib2Enabled": false }),
              allowed: { "mark1": true, "mark2": false, "centre": true } },
            { tag: "calibration mark off", s: but({ "calibEnabled": false }),
              allowed: { "mark1": false, "mark2": false, "centre": false } },
            { tag: "not calibrated", s: but({ "calibrated": false }),
              allowed: { "mark1": false, "mark2": false, "centre": false } },
            { tag: "something runs", s: but({ "executing": true }),
              allowed: { "mark1": false, "mark2": false, "centre": false } },
        ]
    }
    function test_markMoveAllowed(data) {
        var got = {}
        for (var move in data.allowed)
            got[move] = DirectControl.markMoveAllowed(data.s, move)
        compare(got, data.allowed)
        verify(!DirectControl.markMoveAllowed(data.s, "other"))
    }
}

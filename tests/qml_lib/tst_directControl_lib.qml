import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/machine/directControl.js" as DirectControl

// The direct control window's decisions without the window: read-out texts
// and colours, the move to the component camera, the vibration feeder button.
TestCase {
    name: "DirectControlLibrary"

    function test_axisText_data() {
        return [
            { tag: "rounded", value: 12.345, text: "12.35" },
            { tag: "negative", value: -0.5, text: "-0.50" },
            { tag: "negative zero", value: -0.001, text: "0.00" },
            { tag: "NaN", value: NaN, text: "—" },
            { tag: "undefined", value: undefined, text: "—" },
        ]
    }
    function test_axisText(data) { compare(DirectControl.axisText(data.value), data.text) }

    function test_axisColor_data() {
        return [
            { tag: "not homed", homed: false, field: false, color: "#FF5252" },
            { tag: "not homed, field correction on", homed: false, field: true, color: "#FF5252" },
            { tag: "homed", homed: true, field: false, color: "white" },
            { tag: "homed, field correction on", homed: true, field: true, color: "#40A0FF" },
        ]
    }
    function test_axisColor(data) { compare(DirectControl.axisColor(data.homed, data.field), data.color) }

    function test_encoderStepText_data() {
        return [
            { tag: "known", step: 0.005, text: "0.0050" },
            { tag: "rounded", step: 0.0012345, text: "0.0012" },
            { tag: "unknown (0)", step: 0, text: null },
            { tag: "unknown (-1)", step: -1, text: null },
            { tag: "not a number", step: NaN, text: null },
        ]
    }
    function test_encoderStepText(data) { compare(DirectControl.encoderStepText(data.step), data.text) }

    function test_toCameraText_data() {
        return [
            { tag: "with pre-camera G-code", pre: "m64 p4\ng0 z20", x: 250.5, y: 12,
              text: "m64 p4\ng0 z20\ng0 zMax\ng0 x250.500 y12.000" },
            { tag: "without", pre: "", x: 1.23456, y: -2, text: "g0 zMax\ng0 x1.235 y-2.000" },
            { tag: "blank", pre: "  \n", x: 0, y: 0, text: "g0 zMax\ng0 x0.000 y0.000" },
            { tag: "camera X not a number", pre: "", x: NaN, y: 0, text: null },
            { tag: "camera Y missing", pre: "m64 p4", x: 1, y: undefined, text: null },
        ]
    }
    function test_toCameraText(data) {
        compare(DirectControl.toCameraText(data.pre, data.x, data.y), data.text)
    }

    function test_vibroButtonEnabled_data() {
        return [
            { tag: "no banks", banks: [], on: false },
            { tag: "all off", banks: [{ "bankEnabled": false }, { "bankEnabled": false }], on: false },
            { tag: "second on", banks: [{ "bankEnabled": false }, { "bankEnabled": true }], on: true },
        ]
    }
    function test_vibroButtonEnabled(data) { compare(DirectControl.vibroButtonEnabled(data.banks), data.on) }

    function test_vibroButtonAction_data() {
        var pwm = { "pwm": true, "g1": "m64 p6" }, gcode = { "pwm": false, "g1": "m64 p6\ng4 p1\nm65 p6" }
        return [
            { tag: "PWM bank", bank: pwm, executing: false, calibrated: true, action: "pwm" },
            { tag: "PWM bank while busy, not calibrated", bank: pwm, executing: true, calibrated: false, action: "pwm" },
            { tag: "G-code bank", bank: gcode, executing: false, calibrated: true, action: "gcode" },
            { tag: "G-code bank while busy", bank: gcode, executing: true, calibrated: true, action: "toggle" },
            { tag: "G-code bank, not calibrated", bank: gcode, executing: false, calibrated: false, action: "toggle" },
            { tag: "G-code bank without G-code", bank: { "pwm": false, "g1": "" }, executing: false, calibrated: true,
              action: "toggle" },
            { tag: "no bank", bank: null, executing: false, calibrated: true, action: "toggle" },
        ]
    }
    function test_vibroButtonAction(data) {
        compare(DirectControl.vibroButtonAction(data.bank, data.executing, data.calibrated), data.action)
    }
}

import QtQuick 2.15
import "ProgramRig.js" as Rig

// The machine for a test that has detached the machine link: every block the
// program sends is walked line by line and then answered as done, so that
// the simulated cameras look where the program sends the head and the
// simulated nozzle picks and lets go where a machine would. A g0/g1 line
// moves X, Y, Z and A: absolute words from the relative zero (relX, relY),
// "zMax" to the height given here, xCalib/yCalib to the calibration mark the
// program last sent, "++"/"--" words from where the axis is; m64/m65 switch
// the listed outputs on the main window.
Item {
    id: standIn

    // Machine position X, Y, Z, A.
    property var at: [200, 200, 25, 0]
    property real zMax: 25
    // The outputs whose m64/m65 reach the main window.
    property var outputs: []
    property var calibXY: null
    property int answered: 0

    // Takes the machine link over (probe.detachMachineLink) with the machine
    // maxima the simulated machine's configuration check reports, the machine
    // on, homed and calibrated at `at`, and answers every block from then on.
    function takeOver() {
        if (!probe.detachMachineLink())
            return false
        probe.setMachineLinkAnswers(false)
        root.maxVelGet(250, 250, 100, 360, 100, 100)
        root.maxAccGet(1000, 1000, 500, 1000)
        Rig.calibrate()
        moveTo(at)
        start()
        return true
    }
    // Gives the link back, the machine off.
    function giveBack() {
        stop()
        root.machineOnGet(false)
        probe.attachMachineLink()
    }

    function start() {
        answered = probe.machineLinkTexts().length
        timer.start()
    }
    function stop() { timer.stop() }

    function moveTo(position) {
        at = position
        probe.call(root, "jointPosGet", [position])
    }

    // { relative: "", "++" or "--", value } of an axis word of a line, or null.
    function word(line, axis) {
        var number = "([-+]?[0-9]*\\.?[0-9]+|max|calib)"
        var m = new RegExp("(?:^|\\s)" + axis + "(\\+\\+|--)?" + number).exec(line)
        if (!m)
            return null
        var value = Number(m[2])
        if (m[2] === "max")
            value = zMax
        else if (m[2] === "calib")
            value = calibXY ? calibXY[axis === "x" ? 0 : 1] : NaN
        return { "relative": m[1] || "", "value": value }
    }

    function walk(text) {
        var lines = String(text).split("\n")
        for (var i = 0; i < lines.length; ++i) {
            var l = lines[i].trim().toLowerCase()
            var out = /^m6([45])\s*p\s*([0-9]+)/.exec(l)
            if (out && outputs.indexOf(Number(out[2])) >= 0)
                root.doutGet(Number(out[2]), out[1] === "4")
            if (!/^g[01]\b/.test(l))
                continue
            var p = at.slice()
            var axes = ["x", "y", "z", "a"]
            for (var k = 0; k < 4; ++k) {
                var w = word(l.substring(2), axes[k])
                if (w === null || isNaN(w.value))
                    continue
                if (w.relative === "++")
                    p[k] += w.value
                else if (w.relative === "--")
                    p[k] -= w.value
                else
                    p[k] = w.value + (k < 2 ? [root.relX, root.relY][k] : 0)
            }
            moveTo(p)
        }
    }

    Connections {
        target: root
        function onCalibXYSend(x, y) { standIn.calibXY = [x, y] }
    }
    Timer {
        id: timer
        interval: 10
        repeat: true
        onTriggered: {
            var texts = probe.machineLinkTexts()
            if (texts.length <= standIn.answered)
                return
            var text = texts[standIn.answered]
            standIn.walk(text)
            standIn.answered += 1
            probe.answerMachineLink(true)
        }
    }
}

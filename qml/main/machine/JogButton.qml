import QtQuick 2.15
import "../../elements"

// A jog button of the direct control window, held to move.
// kind "fast": a continuous jog at the slider's speed while held.
// kind "step": one encoder step on press; held longer, a slow jog until
// released.
ControlButton {
    id: button
    property var control          // the direct control window
    property int axis: 0
    property bool dir: true
    property string kind: "fast"
    // How long a step button is held before the slow jog starts.
    property int holdDelay: 400

    readonly property string jogKind: kind === "step" ? "slow" : "fast"
    readonly property bool running: control.jogActive(axis, dir, jogKind)

    lit: running
    width: kind === "step" ? 30 : 52
    height: kind === "step" ? 24 : 36
    implicitWidth: width
    implicitHeight: height
    fontSize: kind === "step" ? 10 : 13
    bold: kind !== "step"
    enabled: kind === "step" ? (running || control.stepAllowed(axis)) : control.jogAllowed(axis, dir, "fast")

    onPressedChanged: {
        if (kind === "fast") {
            if (pressed)
                control.startJog(axis, dir, "fast")
            else
                control.stopJog(axis, dir, "fast")
            return
        }
        if (pressed) {
            control.stepJog(axis, dir)
            holdTimer.restart()
        } else {
            holdTimer.stop()
            control.endStep(axis, dir)
        }
    }
    Timer {
        id: holdTimer
        interval: button.holdDelay
        onTriggered: if (button.pressed) button.control.startJog(button.axis, button.dir, "slow")
    }
}

import QtQuick 2.15
import QtQuick.Window 2.15
import CustomWindow 1.0

// Base of the tool windows: stays on top of the main window only while the
// program is the active application.
CustomWindow {
    id: window
    property bool keepOnTop: true
    flags: Qt.Window | ((keepOnTop && main.applicationActive) ? Qt.WindowStaysOnTopHint : 0)
    windowIcon: ":/images/logo-small"
    visible: false
    color: "#2b2b2b"

    // Shows the window in front of the others (headless platforms have no
    // window stacking).
    function bringToFront() {
        show()
        if (Qt.platform.pluginName !== "offscreen" && Qt.platform.pluginName !== "minimal") {
            raise()
            requestActivate()
        }
    }
}

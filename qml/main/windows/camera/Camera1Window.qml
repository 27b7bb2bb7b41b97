import QtQuick 2.15
import "../../../elements"

// "Камера на голове": the head camera, looking down at the board and feeders.
BaseWindow {
    id: window
    objectName: "camera1Window"
    property var app
    property var camera
    // Frames wanted by a job step, and by the operator (the window is shown).
    property bool qmlCapture: false
    property bool userCapture: visible
    // A job step asks the operator to aim at a mark: the cross-hair is drawn
    // whatever the view's own setting.
    property bool markCross: false

    title: app.t + qsTr("Камера на голове")
    width: 720
    height: 580
    minimumWidth: 320
    minimumHeight: 280

    CameraView {
        anchors.fill: parent
        app: window.app
        camera: window.camera
        cross: app.camera1Cross || window.markCross
        showPercent: app.camera1ShowPercent
        viewType: app.camera1ViewType
        onShowPercentEdited: app.camera1ShowPercent = percent
        onViewTypeEdited: app.camera1ViewType = type
    }

    // The mark looked for is not in the picture: the frame flashes red.
    function notFound() {
        notFoundFlash.restart()
    }
    Rectangle {
        id: notFoundFrame
        objectName: "notFoundFrame"
        anchors.fill: parent
        color: "transparent"
        border.color: "red"
        border.width: 6
        opacity: 0
        SequentialAnimation {
            id: notFoundFlash
            loops: 3
            NumberAnimation { target: notFoundFrame; property: "opacity"; to: 1; duration: 120 }
            NumberAnimation { target: notFoundFrame; property: "opacity"; to: 0; duration: 240 }
        }
    }

    onVisibleChanged: {
        if (!visible && app.saveWindowsPos)
            app.camera1WindowPos = Qt.vector4d(x, y, width, height)
    }
    Component.onCompleted: {
        var p = app.camera1WindowPos
        if (app.saveWindowsPos && p.z > 0 && p.w > 0) {
            x = p.x; y = p.y; width = p.z; height = p.w
        }
        app.toolWindows.register("camera1Window", window)
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import "../../../elements"

// "Камера корректировки компонентов": the component camera, looking up at
// the component on the nozzle. Its device can be switched to the third
// configured camera.
BaseWindow {
    id: window
    objectName: "camera2Window"
    property var app
    property var camera
    property bool qmlCapture: false
    property bool userCapture: visible
    // The device shown: the second camera, or the third when chosen.
    property bool useThirdCamera: false
    readonly property string deviceName: useThirdCamera && app.camera3Name !== "" ? app.camera3Name : app.camera2Name

    title: app.t + qsTr("Камера корректировки компонентов")
    width: 720
    height: 580
    minimumWidth: 320
    minimumHeight: 280

    CameraView {
        id: cameraView
        anchors.fill: parent
        app: window.app
        camera: window.camera
        cross: app.camera2Cross
        showPercent: app.camera2ShowPercent
        viewType: app.camera2ViewType
        onShowPercentEdited: app.camera2ShowPercent = percent
        onViewTypeEdited: app.camera2ViewType = type
    }
    CheckBox {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 6
        visible: app.camera3Name !== ""
        text: app.t + qsTr("Третья камера")
        checked: window.useThirdCamera
        onClicked: window.useThirdCamera = checked
    }

    onVisibleChanged: {
        if (!visible && app.saveWindowsPos)
            app.camera2WindowPos = Qt.vector4d(x, y, width, height)
    }
    Component.onCompleted: {
        var p = app.camera2WindowPos
        if (app.saveWindowsPos && p.z > 0 && p.w > 0) {
            x = p.x; y = p.y; width = p.z; height = p.w
        }
        app.toolWindows.register("camera2Window", window)
    }
}

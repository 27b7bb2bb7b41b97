import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15

// The picture of one camera with its overlays and controls, shared by the two
// camera windows. The camera item itself belongs to the main window; it is
// placed into this view when the view is made.
ColumnLayout {
    id: view
    property var app
    property var camera
    // Draw the centre cross.
    property bool cross: false
    // Percentage of the frame shown (zoom), written back to the setting.
    property real showPercent: 100
    signal showPercentEdited(real percent)
    property real viewType: 0
    signal viewTypeEdited(real type)

    spacing: 4

    Rectangle {
        id: picture
        Layout.fillWidth: true
        Layout.fillHeight: true
        color: "black"
        clip: true

        Item {
            id: holder
            anchors.fill: parent
        }

        // Centre cross.
        Rectangle {
            visible: view.cross
            color: app.crossColor
            width: 1
            height: parent.height
            anchors.horizontalCenter: parent.horizontalCenter
        }
        Rectangle {
            visible: view.cross
            color: app.crossColor
            height: 1
            width: parent.width
            anchors.verticalCenter: parent.verticalCenter
        }

        Text {
            objectName: "noCameraText"
            anchors.centerIn: parent
            visible: !camera.opened
            color: "#FFD740"
            font.pointSize: 14
            horizontalAlignment: Text.AlignHCenter
            text: camera.name === "" ? app.t + qsTr("Камера не выбрана.\nВыберите её в настройках камер.")
                                     : app.t + qsTr("Нет изображения с камеры\n") + camera.name
        }
        Text {
            anchors.centerIn: parent
            visible: camera.opened && camera.tooManyContours
            color: "#FF8A80"
            font.pointSize: 14
            horizontalAlignment: Text.AlignHCenter
            text: app.t + qsTr("Слишком много контуров!\n Измените настройки распознавания!")
        }
    }

    RowLayout {
        Layout.fillWidth: true
        Layout.margins: 4
        spacing: 6
        Label {
            Layout.fillWidth: true
            Layout.minimumWidth: 40
            elide: Text.ElideRight
            color: "white"
            text: camera.opened ? camera.frameWidth + "x" + camera.frameHeight + "  " + camera.fps.toFixed(1) + " fps"
                                : app.t + qsTr("нет камеры")
        }
        Label { color: "white"; text: app.t + qsTr("Увеличение") }
        ComboBox {
            implicitWidth: 80
            model: ["100%", "75%", "50%", "25%"]
            property var values: [100, 75, 50, 25]
            currentIndex: Math.max(0, values.indexOf(Number(view.showPercent)))
            onActivated: view.showPercentEdited(values[index])
        }
        Label { color: "white"; text: app.t + qsTr("Вид") }
        ComboBox {
            implicitWidth: 100
            model: [app.t + qsTr("Кадр"), app.t + qsTr("Обработка"), app.t + qsTr("Контуры")]
            currentIndex: Math.max(0, Math.min(2, Number(view.viewType)))
            onActivated: view.viewTypeEdited(index)
        }
        CheckBox {
            text: app.t + qsTr("Перекрестие")
            checked: view.cross
            onClicked: view.cross = checked
        }
        Button {
            text: app.t + qsTr("Снимок")
            enabled: camera.opened
            onClicked: camera.requestPhoto()
        }
    }

    // Repaint at 15 frames per second while frames are wanted.
    Timer {
        interval: 1000 / 15
        repeat: true
        running: camera.capture && view.visible
        onTriggered: camera.update()
    }

    Component.onCompleted: {
        camera.parent = holder
        camera.anchors.fill = holder
        camera.visible = true
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"

// The cameras: which device (or simulated camera) each one uses, its frame
// size, exposure and the MJPEG and high-resolution choices.
BaseWindow {
    id: window
    objectName: "cameraSettings"
    property var app
    // The camera items, for the lens calibration.
    property var headCamera
    property var componentCamera

    title: app.t + qsTr("Настройки камер")
    width: 860
    height: 440

    // Writes a setting of the main window and stores it.
    function setDevice(name, value) {
        app[name] = value
        app.saveSetting("device", name)
    }

    GridLayout {
        anchors.fill: parent
        anchors.margins: 10
        columns: 5
        rowSpacing: 6
        columnSpacing: 8

        Label { text: ""; color: "white" }
        Label { text: app.t + qsTr("Устройство"); color: "white"; Layout.fillWidth: true }
        Label { text: ""; color: "white" }
        Label { text: app.t + qsTr("Режим"); color: "white" }
        Label { text: app.t + qsTr("Экспозиция"); color: "white" }

        // Head camera
        Label { text: app.t + qsTr("Камера на голове"); color: "white" }
        TextField {
            objectName: "camera1NameField"
            Layout.fillWidth: true
            text: app.camera1Name
            onEditingFinished: if (text !== app.camera1Name) window.setDevice("camera1Name", text)
        }
        ComboBox {
            implicitWidth: 150
            model: [app.t + qsTr("Выбрать...")].concat(app.cameraList)
            onActivated: {
                if (index > 0)
                    window.setDevice("camera1Name", textAt(index))
                currentIndex = 0
            }
        }
        ComboBox {
            implicitWidth: 110
            model: app.camera1Modes
            currentIndex: app.camera1Modes.indexOf(app.camera1Mode)
            onActivated: window.setDevice("camera1Mode", textAt(index))
        }
        SpinBox {
            minimumValue: 1
            maximumValue: 10000
            value: app.camera1Exposure
            onEditingFinished: window.setDevice("camera1Exposure", value)
        }

        // Component camera
        Label { text: app.t + qsTr("Камера корректировки компонентов"); color: "white" }
        TextField {
            objectName: "camera2NameField"
            Layout.fillWidth: true
            text: app.camera2Name
            onEditingFinished: if (text !== app.camera2Name) window.setDevice("camera2Name", text)
        }
        ComboBox {
            implicitWidth: 150
            model: [app.t + qsTr("Выбрать...")].concat(app.cameraList)
            onActivated: {
                if (index > 0)
                    window.setDevice("camera2Name", textAt(index))
                currentIndex = 0
            }
        }
        ComboBox {
            implicitWidth: 110
            model: app.camera2Modes
            currentIndex: app.camera2Modes.indexOf(app.camera2Mode)
            onActivated: window.setDevice("camera2Mode", textAt(index))
        }
        SpinBox {
            minimumValue: 1
            maximumValue: 10000
            value: app.camera2Exposure
            onEditingFinished: window.setDevice("camera2Exposure", value)
        }

        // Third camera (the component camera can be switched to it)
        Label { text: app.t + qsTr("Третья камера"); color: "white" }
        TextField {
            Layout.fillWidth: true
            text: app.camera3Name
            onEditingFinished: app.camera3Name = text
        }
        ComboBox {
            implicitWidth: 150
            model: [app.t + qsTr("Выбрать...")].concat(app.cameraList)
            onActivated: {
                if (index > 0)
                    app.camera3Name = textAt(index)
                currentIndex = 0
            }
        }
        Label { text: app.camera3Modes.join(", "); color: "white"; Layout.columnSpan: 2 }

        Label { text: app.t + qsTr("Оптика камеры на голове"); color: "white" }
        LensCalibrationPanel {
            Layout.columnSpan: 4
            visible: window.headCamera !== undefined && window.headCamera !== null
            app: window.app
            camera: window.headCamera
            prefix: "camera1"
        }
        Label { text: app.t + qsTr("Оптика камеры корректировки"); color: "white" }
        LensCalibrationPanel {
            Layout.columnSpan: 4
            visible: window.componentCamera !== undefined && window.componentCamera !== null
            app: window.app
            camera: window.componentCamera
            prefix: "camera2"
        }

        CheckBox {
            Layout.columnSpan: 5
            text: app.t + qsTr("Сжатие MJPEG (со следующего открытия камеры)")
            checked: app.cameraMJPG
            onClicked: window.setDevice("cameraMJPG", checked)
        }
        CheckBox {
            Layout.columnSpan: 5
            text: app.t + qsTr("Высокое разрешение 1280x960 (после перезапуска программы)")
            checked: app.cameraHighRes
            onClicked: window.setDevice("cameraHighRes", checked)
        }
        Label {
            Layout.columnSpan: 5
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "#b0b0b0"
            text: app.t + qsTr("Имя, не начинающееся с /dev/, выбирает симулированную камеру: sim:board, sim:component, путь к картинке или к папке с картинками.")
        }
        RowLayout {
            Layout.columnSpan: 5
            Layout.fillWidth: true
            Button {
                text: app.t + qsTr("Обновить список камер")
                onClicked: worker.readCameraList()
            }
            Item { Layout.fillWidth: true }
            Button {
                text: app.t + qsTr("Закрыть")
                onClicked: window.close()
            }
        }
    }

    // The modes of a camera are read whenever its name changes.
    Connections {
        target: app
        function onCamera1NameChanged() { if (app.camera1Name !== "") app.readCameraModes(1) }
        function onCamera2NameChanged() { if (app.camera2Name !== "") app.readCameraModes(2) }
        function onCamera3NameChanged() { if (app.camera3Name !== "") app.readCameraModes(3) }
    }

    Component.onCompleted: app.toolWindows.register("cameraSettings", window)
}

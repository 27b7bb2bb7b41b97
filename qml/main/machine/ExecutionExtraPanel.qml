import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// The extra panel of the direct control window: the machine's digital
// inputs and the canned motions. Every canned motion runs its G-code setting
// with safe height; a right click offers to edit that setting.
Rectangle {
    id: panel
    property var app
    property var control          // the direct control window
    color: "#333a3e"

    // One input lamp: green while the input is active.
    component InputLamp: RowLayout {
        property string label: ""
        property bool active: false
        spacing: 6
        Rectangle {
            width: 12
            height: 12
            radius: 6
            border.color: "#1d2225"
            color: parent.active ? "#7CFC8A" : "#4b5559"
        }
        Label {
            color: "white"
            font.pixelSize: 11
            text: parent.label
        }
    }

    // One canned motion: `setting` names the G-code setting it runs and
    // edits; `available` is false for the motions the program cannot run yet.
    component CannedButton: ControlButton {
        id: canned
        property string setting: ""
        property string caption: ""
        property bool available: true
        Layout.fillWidth: true
        Layout.preferredHeight: 38
        fontSize: 11
        // A button with its own action leaves `setting` for the editor only.
        property bool runsSetting: true
        enabled: available && panel.control.cannedAllowed
        onClicked: if (runsSetting) panel.control.runCanned(setting)
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.RightButton
            onClicked: {
                panel.control.editMenuSetting = canned.setting
                panel.control.editMenuCaption = canned.caption
                editMenu.popup()
            }
        }
    }
    Menu {
        id: editMenu
        MenuItem {
            text: app.t + qsTr("Редактировать")
            onTriggered: panel.control.editCanned(panel.control.editMenuSetting, panel.control.editMenuCaption)
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 6
        spacing: 3

        Label {
            color: "#B0BEC5"
            font.pixelSize: 11
            font.bold: true
            text: app.t + qsTr("Входы")
        }
        InputLamp { label: "E-STOP"; active: app.halESTOP }
        InputLamp { label: app.t + qsTr("Старт/Пауза"); active: app.halStartPause }
        InputLamp { label: "Home X"; active: app.halHomeX }
        InputLamp { label: "Home Y"; active: app.halHomeY }
        InputLamp { label: "Home Z"; active: app.halHomeZ }
        InputLamp { label: "Home B"; active: app.halHomeB; visible: app.homeBExists }
        InputLamp { label: app.t + qsTr("П1"); active: app.programmerSucPin }
        InputLamp { label: app.t + qsTr("П2"); active: app.programmerErrPin }
        Label {
            visible: app.debugMode
            color: "white"
            font.pixelSize: 11
            text: app.t + qsTr("Энкодер: ") + Number(app.halSpeedEncoder).toFixed(0)
        }

        Item { Layout.preferredHeight: 4 }
        CannedButton {
            objectName: "cannedStart"
            setting: "startingGcode"
            caption: app.t + qsTr("G-код начала работы")
            text: app.t + qsTr("начало работы")
        }
        CannedButton {
            objectName: "cannedEnd"
            setting: "endingGcode"
            caption: app.t + qsTr("G-код окончания работы")
            text: app.t + qsTr("окончание работы")
        }
        // The basket drop is the job's own basket step; it needs a nozzle
        // on the head.
        CannedButton {
            objectName: "cannedBasket"
            setting: "basketGcode"
            caption: app.t + qsTr("G-код сброса в корзину")
            text: app.t + qsTr("сброс в корзину")
            available: app.currVC >= 0
            runsSetting: false
            onClicked: panel.control.dropToBasket()
        }
        CannedButton {
            objectName: "cannedTapeChange"
            setting: "tapeChangeGCode"
            caption: app.t + qsTr("G-код при окончании компонентов")
            text: app.t + qsTr("кончились компоненты")
        }
        CannedButton {
            objectName: "cannedToCamera"
            setting: "preCameraGcode"
            caption: app.t + qsTr("G-код перед камерой")
            text: app.t + qsTr("к камере")
        }
        CannedButton {
            objectName: "cannedFromCamera"
            setting: "postCameraGcode"
            caption: app.t + qsTr("G-код после камеры")
            text: app.t + qsTr("от камеры")
        }
        CannedButton {
            objectName: "cannedCalib1"
            setting: "calibGcode"
            caption: app.t + qsTr("G-код к 1 калибровочному знаку")
            text: app.t + qsTr("к 1 калиб.") + "\n" + app.t + qsTr("знаку")
            available: app.calibEnabled
            runsSetting: false
            onClicked: panel.control.toCalibrationMark(1)
        }
        CannedButton {
            objectName: "cannedCalib2"
            setting: "calib2Gcode"
            caption: app.t + qsTr("G-код ко 2 калибровочному знаку")
            text: app.t + qsTr("ко 2 калиб.") + "\n" + app.t + qsTr("знаку")
            available: app.calibEnabled && app.calib2Enabled
            runsSetting: false
            onClicked: panel.control.toCalibrationMark(2)
        }
        // Centres the head camera on the mark it sees; no G-code of its own.
        ControlButton {
            objectName: "centreOnMark"
            Layout.fillWidth: true
            Layout.preferredHeight: 38
            fontSize: 11
            text: app.t + qsTr("навести на") + "\n" + app.t + qsTr("знак")
            enabled: panel.control.markMoveAllowed("centre")
            onClicked: panel.control.centreOnMark()
        }
        Item { Layout.fillHeight: true }
    }
}

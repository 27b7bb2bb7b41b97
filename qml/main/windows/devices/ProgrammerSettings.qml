import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import "../../../elements"

// The device programmer: how it is driven (machine output and inputs, or an
// executable), where the head puts the component, how long to wait, and a
// manual programming test.
BaseWindow {
    id: window
    objectName: "programmerSettings"
    property var app

    title: app.t + qsTr("Настройки программатора")
    width: 640
    height: 430

    property string resultText: ""

    function setDevice(name, value) {
        app[name] = value
        app.saveSetting("device", name)
    }
    function shownPath(url) {
        var text = String(url)
        return text.indexOf("file://") === 0 ? decodeURIComponent(text.substring(7)) : text
    }
    function resultWord(result) {
        var r = String(result)
        if (r === "success")
            return app.t + qsTr("Успех!")
        if (r === "error")
            return app.t + qsTr("Ошибка!")
        if (r === "timeout")
            return app.t + qsTr("Таймаут")
        return app.t + qsTr("Код ошибки: ") + r
    }
    // Manual programming: a 1 s pulse on the start output and a wait for the
    // inputs, or a run of the executable.
    // Manual programming is a long activity of the machine until its result.
    property bool programming: false
    onProgrammingChanged: app.setActivity("manualProgramming", programming)
    function program() {
        resultText = ""
        programming = true
        app.instruments.programmerStartWaiting(true)
        if (app.programmerInterface == 0) {
            app.setDoutOn(app.instruments.programmerDout, true)
            pulseTimer.restart()
            waitTimer.interval = app.programmerWait * 1000
            waitTimer.restart()
        } else {
            app.programmerScriptStart(app.programmerScriptPath, app.programmerWait)
        }
    }

    Timer {
        id: pulseTimer
        interval: 1000
        onTriggered: app.setDoutOn(app.instruments.programmerDout, false)
    }
    Timer {
        id: waitTimer
        onTriggered: app.programmerResultGet("timeout")
    }
    Connections {
        target: app
        function onProgrammerResultSignal(result) {
            window.programming = false
            waitTimer.stop()
            window.resultText = window.resultWord(result)
        }
    }

    FileDialog {
        id: scriptDialog
        title: app.t + qsTr("Исполняемый файл:")
        selectExisting: true
        onAccepted: window.setDevice("programmerScriptPath", String(fileUrl))
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        CheckBox {
            text: app.t + qsTr("Использовать программатор")
            checked: app.programmerEnabled
            onClicked: window.setDevice("programmerEnabled", checked)
        }
        RowLayout {
            ExclusiveGroup { id: interfaceGroup }
            RadioButton {
                objectName: "programmerInterface0"
                text: app.t + qsTr("Управление через Установщик")
                exclusiveGroup: interfaceGroup
                checked: app.programmerInterface == 0
                onClicked: window.setDevice("programmerInterface", 0)
            }
            RadioButton {
                objectName: "programmerInterface1"
                text: app.t + qsTr("Запуск исполняемого файла")
                exclusiveGroup: interfaceGroup
                checked: app.programmerInterface == 1
                onClicked: window.setDevice("programmerInterface", 1)
            }
        }
        RowLayout {
            enabled: app.programmerInterface == 1
            Label { color: "white"; text: app.t + qsTr("Исполняемый файл:") }
            Label {
                objectName: "programmerPath"
                color: "white"
                text: window.shownPath(app.programmerScriptPath)
                elide: Text.ElideLeft
                Layout.fillWidth: true
            }
            Button {
                text: app.t + qsTr("Изменить")
                onClicked: scriptDialog.open()
            }
        }
        GridLayout {
            columns: 2
            Label { color: "white"; text: app.t + qsTr("Высота над платформой, мм:") }
            SpinBox {
                decimals: 3
                minimumValue: -500
                maximumValue: 500
                value: app.programmerZ
                onEditingFinished: window.setDevice("programmerZ", value)
            }
            Label { color: "white"; text: "X, " + app.t + qsTr("мм:") }
            SpinBox {
                decimals: 3
                minimumValue: app.workAreaX1
                maximumValue: app.workAreaX2
                value: app.programmerX
                onEditingFinished: window.setDevice("programmerX", value)
            }
            Label { color: "white"; text: "Y, " + app.t + qsTr("мм:") }
            SpinBox {
                decimals: 3
                minimumValue: app.workAreaY1
                maximumValue: app.workAreaY2
                value: app.programmerY
                onEditingFinished: window.setDevice("programmerY", value)
            }
            Label { color: "white"; text: app.t + qsTr("Поворот компонента в программаторе, град:") }
            ComboBox {
                model: ["-90", "0", "90", "180"]
                currentIndex: Math.max(0, model.indexOf(String(app.programmerA)))
                onActivated: window.setDevice("programmerA", Number(textAt(index)))
            }
            Label { color: "white"; text: app.t + qsTr("Ожидание отклика от программатора, сек:") }
            SpinBox {
                minimumValue: 3
                maximumValue: 30
                value: app.programmerWait
                onEditingFinished: window.setDevice("programmerWait", value)
            }
        }
        RowLayout {
            Button {
                objectName: "programButton"
                text: app.t + qsTr("Программировать")
                enabled: !app.programmerWaiting
                onClicked: window.program()
            }
            Label { objectName: "programmerResult"; color: "white"; text: window.resultText }
        }
        Item { Layout.fillHeight: true }
    }

    Component.onCompleted: app.toolWindows.register("programmerSettings", window)
}

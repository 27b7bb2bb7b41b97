import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"

// The vacuum sensor: its port, a live reading, and per nozzle whether the
// vacuum is checked, the threshold or difference, and the clogging check.
BaseWindow {
    id: window
    objectName: "vsSettings"
    property var app

    title: app.t + qsTr("Настройка датчика разрежения")
    width: 700
    height: 520

    property string resultText: ""
    property string errorText: ""

    function setDevice(name, value) {
        app[name] = value
        app.saveSetting("device", name)
    }
    function setCup(index, role, value) {
        app.cupModel.setProperty(index, role, value)
        app.saveSettings()
    }
    function setBlowDelay(seconds) {
        setDevice("blowDelay", seconds)
        app.blowDelaySend(seconds)
    }
    function startStop() {
        errorText = ""
        if (app.vsRunning || app.vsStarting)
            app.vsStop()
        else
            app.vsStart(app.vsFileName)
    }

    Connections {
        target: app
        function onVsStartFailedSignal(message) {
            window.errorText = app.t + qsTr("Ошибка связи с датчиком! ") + message
        }
        function onVsMeasureFailedSignal(message) {
            window.errorText = app.t + qsTr("Ошибка измерения! ") + message
        }
        function onVsMeasureSignal(value) {
            window.errorText = ""
            window.resultText = app.t + qsTr("Результат измерения: ") + Number(value).toFixed(1) + app.t + qsTr(" кПа")
        }
    }

    // A reading every 100 ms while the window is open and the sensor runs.
    Timer {
        interval: 100
        repeat: true
        running: window.visible && app.vsRunning
        onTriggered: app.vsMeasure()
    }

    // The compressor is not left running for nothing: off after 120 s with
    // the nozzle valve closed and no job; machine movement restarts the wait.
    Timer {
        id: compressorTimer
        objectName: "compressorTimer"
        interval: 120000
        running: window.visible && app.doutState[0] === true && app.doutState[1] !== true && !app.executing
        onTriggered: app.setDoutOn(0, false)
    }
    Connections {
        target: app
        function onJointPosChanged() { if (compressorTimer.running) compressorTimer.restart() }
    }

    onVisibleChanged: if (visible) worker.serialPortInfoGet()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        CheckBox {
            objectName: "vsEnabledBox"
            text: app.t + qsTr("Использовать датчик разрежения")
            checked: app.vsEnabled
            onClicked: window.setDevice("vsEnabled", checked)
        }
        RowLayout {
            Label { color: "white"; text: app.t + qsTr("Порт:") }
            SerialPortChooser {
                app: window.app
                Layout.fillWidth: true
                port: app.vsFileName !== "" ? app.vsFileName : "/dev/ttyUSB0"
                onChosen: window.setDevice("vsFileName", port)
            }
        }
        RowLayout {
            Button {
                objectName: "vsStartButton"
                text: (app.vsRunning || app.vsStarting) ? app.t + qsTr("Остановить") : app.t + qsTr("Запустить")
                onClicked: window.startStop()
            }
            Label { objectName: "vsResult"; color: "white"; text: window.resultText }
        }
        Label {
            objectName: "vsError"
            color: "#ff6060"
            text: window.errorText
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
        RowLayout {
            visible: app.instruments.blowEnabled
            Label { color: "white"; text: app.t + qsTr("Длительность\nвыдува, мс:") }
            Slider {
                objectName: "blowSlider"
                Layout.fillWidth: true
                minimumValue: 0
                maximumValue: 500
                stepSize: 10
                value: app.blowDelay * 1000
                onPressedChanged: if (!pressed) window.setBlowDelay(value / 1000)
            }
            Label { color: "white"; text: Math.round(app.blowDelay * 1000) }
        }
        RowLayout {
            Label { color: "white"; text: app.t + qsTr("Контроль:") }
            ComboBox {
                implicitWidth: 280
                model: [app.t + qsTr("по порогу разрежения"), app.t + qsTr("по разности разрежения")]
                currentIndex: app.vsControlType
                onActivated: window.setDevice("vsControlType", index)
            }
        }

        RowLayout {
            spacing: 10
            Label { color: "white"; text: app.t + qsTr("Насадка"); Layout.preferredWidth: 90 }
            Label { color: "white"; text: app.t + qsTr("Проверять"); Layout.preferredWidth: 80 }
            Label { color: "white"; text: app.vsControlType == 0 ? app.t + qsTr("Порог, кПа") : app.t + qsTr("Разность, кПа"); Layout.preferredWidth: 90 }
            Label { color: "white"; text: app.t + qsTr("Проверка засора") }
        }
        ListView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: app.cupModel
            delegate: RowLayout {
                spacing: 10
                width: ListView.view ? ListView.view.width : 0
                Label { color: "white"; text: app.t + qsTr("Насадка ") + (index + 1); Layout.preferredWidth: 90 }
                CheckBox {
                    checked: model.vsUse === true
                    onClicked: window.setCup(index, "vsUse", checked)
                    Layout.preferredWidth: 80
                }
                SpinBox {
                    Layout.preferredWidth: 90
                    visible: app.vsControlType == 0
                    decimals: 1
                    stepSize: 0.5
                    minimumValue: 1
                    maximumValue: 50
                    value: Number(model.vsPressure)
                    onEditingFinished: window.setCup(index, "vsPressure", value)
                }
                SpinBox {
                    Layout.preferredWidth: 90
                    visible: app.vsControlType != 0
                    decimals: 1
                    stepSize: 0.5
                    minimumValue: 1
                    maximumValue: 20
                    value: Number(model.vsPressureDiff)
                    onEditingFinished: window.setCup(index, "vsPressureDiff", value)
                }
                CheckBox {
                    checked: model.checkClogging === true
                    onClicked: window.setCup(index, "checkClogging", checked)
                }
            }
        }
    }

    Component.onCompleted: app.toolWindows.register("vsSettings", window)
}

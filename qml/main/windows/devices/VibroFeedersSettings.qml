import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"

// The vibration feeder banks: each is driven by its own G-code or by
// pulse-width modulation (frequency, duty cycle, length), with a test run.
BaseWindow {
    id: window
    objectName: "vibroFeedersSettings"
    property var app

    title: app.t + qsTr("Настройки вибропитателей")
    width: 620
    height: 420

    property int bank: 0
    property var record: app.vibroBankModel.count > bank ? app.vibroBankModel.get(bank) : null

    function setBank(role, value) {
        app.vibroBankModel.setProperty(bank, role, value)
        app.saveSettings()
    }
    function test() {
        if (!record)
            return
        app.startPWMVibro(Number(record.pwmFreq), Number(record.pwmDutyCycle), Number(record.pwmLength))
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        RowLayout {
            Label { color: "white"; text: app.t + qsTr("Вибропитатель:") }
            ComboBox {
                objectName: "bankBox"
                model: {
                    var names = []
                    for (var i = 0; i < app.vibroBankModel.count; ++i)
                        names.push(String(i + 1))
                    return names
                }
                currentIndex: window.bank
                onActivated: window.bank = index
            }
        }
        RowLayout {
            enabled: window.record !== null
            ExclusiveGroup { id: driveGroup }
            RadioButton {
                objectName: "pwmChoice"
                exclusiveGroup: driveGroup
                checked: window.record !== null && window.record.pwm === true
                onClicked: window.setBank("pwm", true)
                Label {
                    anchors.left: parent.left
                    anchors.leftMargin: 20
                    anchors.verticalCenter: parent.verticalCenter
                    // Red when the machine configuration has no PWM generator.
                    color: app.instruments.pwmEnabled ? "white" : "red"
                    text: app.t + qsTr("ШИМ")
                }
                implicitWidth: 80
            }
            RadioButton {
                exclusiveGroup: driveGroup
                text: app.t + qsTr("Задается G-кодом")
                checked: window.record !== null && window.record.pwm !== true
                onClicked: window.setBank("pwm", false)
            }
        }
        GridLayout {
            columns: 2
            enabled: window.record !== null && window.record.pwm === true
            Label { color: "white"; text: app.t + qsTr("Частота:") }
            SpinBox {
                objectName: "pwmFreqBox"
                minimumValue: 5
                maximumValue: 20
                suffix: app.t + qsTr(" Гц")
                value: window.record ? Number(window.record.pwmFreq) : 20
                onEditingFinished: window.setBank("pwmFreq", value)
            }
            Label { color: "white"; text: app.t + qsTr("Коэффициент заполнения:") }
            SpinBox {
                objectName: "pwmDutyBox"
                minimumValue: 5
                maximumValue: 100
                suffix: " %"
                value: window.record ? Number(window.record.pwmDutyCycle) : 50
                onEditingFinished: window.setBank("pwmDutyCycle", value)
            }
            Label { color: "white"; text: app.t + qsTr("Длительность вибрации, с:") }
            SpinBox {
                objectName: "pwmLengthBox"
                minimumValue: 1
                maximumValue: 10
                decimals: 1
                value: window.record ? Number(window.record.pwmLength) : 2
                onEditingFinished: window.setBank("pwmLength", value)
            }
        }
        RowLayout {
            Button {
                objectName: "vibroTestButton"
                text: app.t + qsTr("Проверить")
                enabled: window.record !== null && window.record.pwm === true && !app.pwmVibrating
                onClicked: window.test()
            }
            Label {
                color: "white"
                text: app.pwmVibrating ? app.t + qsTr("Вибрация...") : ""
            }
        }
        Item { Layout.fillHeight: true }
    }

    Component.onCompleted: app.toolWindows.register("vibroFeedersSettings", window)
}

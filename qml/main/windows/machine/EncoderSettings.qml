import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/encoderCalibration.js" as Enc

// "Настройка энкодеров": encoder feedback per axis (applied at the next
// LinuxCNC start), the motor and encoder readings with their difference and
// its peak against the allowed difference, and the machine stop when the
// allowed difference is exceeded.
BaseWindow {
    id: window
    objectName: "encoderSettings"
    property var app
    readonly property var enc: app.encoderState

    title: app.t + qsTr("Настройка энкодеров")
    width: 700
    height: 400
    minimumWidth: content.implicitWidth + 20
    minimumHeight: content.implicitHeight + 20

    readonly property var letters: ["X", "Y", "Z"]
    function motor(axis) { return [enc.stepperX, enc.stepperY, enc.stepperZ][axis] }
    function encoder(axis) { return [enc.encX, enc.encY, enc.encZ][axis] }
    function div(axis) { return [enc.encStepperXDiv, enc.encStepperYDiv, enc.encStepperZDiv][axis] }
    function peak(axis) { return [enc.encStepperXMaxDiv, enc.encStepperYMaxDiv, enc.encStepperZMaxDiv][axis] }
    function limit(axis) { return [app.maxDivX, app.maxDivY, app.maxDivZ][axis] }
    // The check box of an axis: for an encoder that exists (Z only with a Z
    // home switch).
    function encoderShown(axis) {
        return [enc.encXexist, enc.encYexist, enc.encZexist && enc.homeZExists][axis] === true
    }

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        RowLayout {
            spacing: 20
            Repeater {
                model: 3
                WindowCheckBox {
                    objectName: "encoderEnabled" + window.letters[index]
                    visible: window.encoderShown(index)
                    text: app.t + [qsTr("Энкодер X"), qsTr("Энкодер Y"), qsTr("Энкодер Z")][index]
                    checked: [app.encXEnabled, app.encYEnabled, app.encZEnabled][index] === true
                    onClicked: window.enc.setEncoderEnabledWish(index, checked)
                }
            }
        }
        Label {
            objectName: "restartNotice"
            visible: window.enc.encoderRestartNeeded
            color: "yellow"
            text: app.t + qsTr("Перезапустите LinuxCNC, чтобы изменения вступили в силу.")
        }

        GridLayout {
            columns: 6
            columnSpacing: 14
            Label { text: "" }
            Label { color: "white"; text: app.t + qsTr("Двигатель, мм") }
            Label { color: "white"; text: app.t + qsTr("Энкодер, мм") }
            Label { color: "white"; text: app.t + qsTr("Расхождение") }
            Label { color: "white"; text: app.t + qsTr("Макс. расхождение") }
            Label { color: "white"; text: app.t + qsTr("Допустимое, мм") }
            Repeater {
                model: 3
                delegate: Label {
                    Layout.row: index + 1
                    Layout.column: 0
                    color: "white"
                    text: window.letters[index] + ":"
                }
            }
            Repeater {
                model: 3
                delegate: Label {
                    Layout.row: index + 1
                    Layout.column: 1
                    color: "white"
                    text: Number(window.motor(index)).toFixed(3)
                }
            }
            Repeater {
                model: 3
                delegate: Label {
                    Layout.row: index + 1
                    Layout.column: 2
                    color: "white"
                    text: Number(window.encoder(index)).toFixed(3)
                }
            }
            Repeater {
                model: 3
                delegate: Label {
                    objectName: "div" + window.letters[index]
                    Layout.row: index + 1
                    Layout.column: 3
                    color: Enc.divColour(window.div(index), window.limit(index))
                    text: Number(window.div(index)).toFixed(3)
                }
            }
            Repeater {
                model: 3
                delegate: Label {
                    objectName: "maxDiv" + window.letters[index]
                    Layout.row: index + 1
                    Layout.column: 4
                    color: Enc.divColour(window.peak(index), window.limit(index))
                    text: Number(window.peak(index)).toFixed(3)
                }
            }
            Repeater {
                model: 3
                delegate: SpinBox {
                    objectName: "maxDivSpin" + window.letters[index]
                    Layout.row: index + 1
                    Layout.column: 5
                    decimals: 1
                    stepSize: Enc.MAX_DIV_STEP
                    minimumValue: Enc.MAX_DIV_MIN
                    maximumValue: Enc.MAX_DIV_MAX
                    value: window.limit(index)
                    onEditingFinished: window.enc.setMaxDiv(index, value)
                }
            }
        }
        WindowCheckBox {
            objectName: "maxDivEnabled"
            text: app.t + qsTr("Активировать E-STOP при превышении этого расхождения")
            checked: app.encStepperMaxDivEnabled === true
            onClicked: window.enc.setMaxDivEnabled(checked)
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Item { Layout.fillWidth: true }
            Button { text: app.t + qsTr("Закрыть"); onClicked: window.close() }
        }
    }

    Component.onCompleted: app.toolWindows.register("encoderSettings", window)
}

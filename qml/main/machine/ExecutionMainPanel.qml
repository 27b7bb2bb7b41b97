import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "directControl.js" as DirectControl

// The main part of the direct control window: machine buttons, jog buttons,
// the position read-out, the outputs, the nozzles, the speed, the command
// line and the warm-up run. The window (`control`) does the work.
Rectangle {
    id: panel
    property var app
    property var control
    color: "#2b2b2b"

    readonly property bool fieldCorrection: app.fieldCalibrationEnabled && app.fieldCalibrationAvailable
    readonly property string stepText: {
        var s = DirectControl.encoderStepText(app.encoderStep)
        return s === null ? "" : "1 = " + s + app.t + qsTr("мм")
    }

    // An empty cell of the jog grid.
    component Gap: Item {
        implicitWidth: 1
        implicitHeight: 1
    }
    // One line of the read-out.
    component AxisReadout: Text {
        font.family: "monospace"
        font.pixelSize: 15
        color: "white"
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        spacing: 8

        // ---- machine
        RowLayout {
            spacing: 6
            ControlButton {
                objectName: "machineOnButton"
                text: app.t + qsTr("Вкл.")
                Layout.preferredWidth: 80
                Layout.preferredHeight: 36
                bold: true
                lit: app.machineOn
                enabled: app.cncRunning
                onClicked: control.toggleMachineOn()
            }
            ControlButton {
                objectName: "calibrateButton"
                text: app.t + qsTr("Калибровка")
                Layout.preferredWidth: 110
                Layout.preferredHeight: 36
                bold: true
                textColor: app.machineOn && !app.calibrated ? "#1565C0" : "black"
                enabled: app.machineOn && !app.executing
                onClicked: control.calibrate()
            }
            ControlButton {
                objectName: "estopButton"
                text: "E-STOP"
                Layout.preferredWidth: 90
                Layout.preferredHeight: 36
                bold: true
                textColor: "#C62828"
                enabled: app.cncRunning
                onClicked: app.setEstop()
            }
            ControlButton {
                objectName: "commandStopButton"
                text: "COMMAND STOP"
                Layout.preferredWidth: 130
                Layout.preferredHeight: 36
                bold: true
                enabled: app.cncRunning && !app.machineState.longActivity
                onClicked: app.setAbort()
            }
            ControlButton {
                objectName: "homeButton"
                // The head goes up to its top (the Home key does the same).
                text: app.t + qsTr("Макс. вверх")
                tooltip: "Shift\n+\nF9"
                Layout.preferredWidth: 110
                Layout.preferredHeight: 36
                enabled: app.machineOn
                onClicked: control.zUp()
            }
            Item { Layout.fillWidth: true }
        }

        // ---- jogging and read-out
        RowLayout {
            spacing: 14
            Layout.fillWidth: true

            // X and Y: arrows outside, single steps inside.
            ColumnLayout {
                spacing: 4
                GridLayout {
                    columns: 5
                    rowSpacing: 3
                    columnSpacing: 3
                    Gap {}
                    Gap {}
                    JogButton { objectName: "jogY+"; control: panel.control; axis: 1; dir: true; text: "Y+" }
                    Gap {}
                    Gap {}

                    Gap {}
                    Gap {}
                    JogButton { control: panel.control; axis: 1; dir: true; kind: "step"; text: "1"
                                Layout.alignment: Qt.AlignHCenter }
                    Gap {}
                    Gap {}

                    JogButton { objectName: "jogX-"; control: panel.control; axis: 0; dir: false; text: "X−" }
                    JogButton { control: panel.control; axis: 0; dir: false; kind: "step"; text: "1" }
                    Label { text: "XY"; color: "#B0BEC5"; Layout.alignment: Qt.AlignHCenter }
                    JogButton { control: panel.control; axis: 0; dir: true; kind: "step"; text: "1" }
                    JogButton { objectName: "jogX+"; control: panel.control; axis: 0; dir: true; text: "X+" }

                    Gap {}
                    Gap {}
                    JogButton { control: panel.control; axis: 1; dir: false; kind: "step"; text: "1"
                                Layout.alignment: Qt.AlignHCenter }
                    Gap {}
                    Gap {}

                    Gap {}
                    Gap {}
                    JogButton { objectName: "jogY-"; control: panel.control; axis: 1; dir: false; text: "Y−" }
                    Gap {}
                    Gap {}
                }
                Label {
                    objectName: "encoderStepText"
                    visible: panel.stepText !== ""
                    color: "#B0BEC5"
                    font.pixelSize: 11
                    text: panel.stepText
                }
            }

            // Z: "Вверх" sends direction true.
            ColumnLayout {
                spacing: 3
                Label { text: "Z"; color: "#B0BEC5"; Layout.alignment: Qt.AlignHCenter }
                JogButton { objectName: "jogZUp"; control: panel.control; axis: 2; dir: true
                            text: app.t + qsTr("Вверх"); width: 64; fontSize: 11 }
                JogButton { control: panel.control; axis: 2; dir: true; kind: "step"; text: "1"
                            Layout.alignment: Qt.AlignHCenter }
                JogButton { control: panel.control; axis: 2; dir: false; kind: "step"; text: "1"
                            Layout.alignment: Qt.AlignHCenter }
                JogButton { objectName: "jogZDown"; control: panel.control; axis: 2; dir: false
                            text: app.t + qsTr("Вниз"); width: 64; fontSize: 11 }
            }
            ColumnLayout {
                spacing: 3
                Label { text: "A"; color: "#B0BEC5"; Layout.alignment: Qt.AlignHCenter }
                JogButton { objectName: "jogA+"; control: panel.control; axis: 3; dir: true; text: "A+" }
                JogButton { control: panel.control; axis: 3; dir: true; kind: "step"; text: "1"
                            Layout.alignment: Qt.AlignHCenter }
                JogButton { control: panel.control; axis: 3; dir: false; kind: "step"; text: "1"
                            Layout.alignment: Qt.AlignHCenter }
                JogButton { objectName: "jogA-"; control: panel.control; axis: 3; dir: false; text: "A−" }
            }
            ColumnLayout {
                spacing: 3
                visible: app.bAxisEnabled
                Label { text: "B"; color: "#B0BEC5"; Layout.alignment: Qt.AlignHCenter }
                JogButton { objectName: "jogB+"; control: panel.control; axis: 4; dir: true; text: "B+" }
                JogButton { objectName: "jogB-"; control: panel.control; axis: 4; dir: false; text: "B−" }
            }
            ColumnLayout {
                spacing: 3
                Label { text: "C"; color: "#B0BEC5"; Layout.alignment: Qt.AlignHCenter }
                JogButton { objectName: "jogC+"; control: panel.control; axis: 5; dir: true; text: "C+" }
                JogButton { objectName: "jogC-"; control: panel.control; axis: 5; dir: false; text: "C−" }
            }

            // Position read-out: relative X and Y (absolute in brackets while
            // calibrated), joint Z and A, the feeder shafts.
            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: readout.implicitHeight + 16
                color: "#1d2225"
                radius: 4
                ColumnLayout {
                    id: readout
                    anchors.fill: parent
                    anchors.margins: 8
                    spacing: 2
                    AxisReadout {
                        objectName: "readoutX"
                        color: DirectControl.axisColor(app.machineXHomed, panel.fieldCorrection)
                        text: "X: " + DirectControl.axisText(app.jointPosXRel)
                              + (app.calibrated ? " (" + DirectControl.axisText(app.jointPos[0]) + ")" : "")
                    }
                    AxisReadout {
                        objectName: "readoutY"
                        color: DirectControl.axisColor(app.machineYHomed, panel.fieldCorrection)
                        text: "Y: " + DirectControl.axisText(app.jointPosYRel)
                              + (app.calibrated ? " (" + DirectControl.axisText(app.jointPos[1]) + ")" : "")
                    }
                    AxisReadout { objectName: "readoutZ"; text: "Z: " + DirectControl.axisText(app.jointPos[2]) }
                    AxisReadout { objectName: "readoutA"; text: "A: " + DirectControl.axisText(app.jointPos[3]) }
                    AxisReadout {
                        objectName: "readoutB"
                        visible: app.bAxisEnabled
                        text: "B: " + DirectControl.axisText(app.jointBPos)
                    }
                    AxisReadout { objectName: "readoutC"; text: "C: " + DirectControl.axisText(app.jointCPos) }
                    AxisReadout {
                        objectName: "readoutNozzle"
                        visible: app.currVC >= 0
                        font.pixelSize: 13
                        text: app.t + qsTr("Насадка: ") + DirectControl.axisText(app.jointPosZCup)
                    }
                }
            }
        }

        // ---- outputs
        GridLayout {
            columns: 5
            rowSpacing: 4
            columnSpacing: 4
            Layout.fillWidth: true
            Repeater {
                model: app.doutList
                ControlButton {
                    objectName: "dout" + index
                    visible: panel.control.outputText(index) !== ""
                    Layout.fillWidth: true
                    Layout.preferredHeight: 30
                    text: panel.control.outputText(index)
                    lit: model.triggered === true
                    enabled: panel.control.outputAllowed(index, model.enabled === true)
                    onClicked: panel.control.pressOutput(index)
                }
            }
        }

        // ---- nozzles: a click takes that nozzle onto the head, or returns
        // the nozzle on the head to its place.
        RowLayout {
            spacing: 4
            Repeater {
                model: Math.max(0, Math.min(8, Number(app.vcCount) || 0))
                ControlButton {
                    objectName: "nozzle" + index
                    Layout.preferredHeight: 28
                    text: app.t + qsTr("Насадка ") + (index + 1)
                    lit: app.currVC === index
                    tooltip: app.currVC === index ? app.t + qsTr("Вернуть") : app.t + qsTr("Взять")
                    enabled: panel.control.cannedAllowed
                    onClicked: panel.control.changeNozzle(index)
                }
            }
        }

        // ---- speed
        RowLayout {
            spacing: 8
            Layout.fillWidth: true
            Label { color: "white"; text: app.t + qsTr("Скорость:") }
            Label { color: "#B0BEC5"; text: "Ctrl −" }
            Slider {
                id: speedSlider
                objectName: "speedSlider"
                Layout.fillWidth: true
                minimumValue: 1
                maximumValue: 100
                stepSize: 1
                updateValueWhileDragging: false
                onValueChanged: if (Math.round(value) !== app.machineSpeedSliderValue) app.setMachineSpeedSlider(value)
                Component.onCompleted: value = app.machineSpeedSliderValue
                Connections {
                    target: panel.app
                    function onMachineSpeedSliderValueChanged() { speedSlider.value = panel.app.machineSpeedSliderValue }
                }
            }
            Label { color: "#B0BEC5"; text: "Ctrl +" }
            Label {
                objectName: "speedText"
                color: "white"
                Layout.preferredWidth: 70
                horizontalAlignment: Text.AlignRight
                text: (app.machineSpeed < 1 ? app.machineSpeed.toFixed(2) : app.machineSpeed.toFixed(0)) + " %"
            }
        }

        // ---- command line
        RowLayout {
            spacing: 8
            Layout.fillWidth: true
            Label { color: "white"; text: app.t + qsTr("Команда") }
            TextField {
                id: commandField
                objectName: "commandField"
                Layout.fillWidth: true
                enabled: app.calibrated
                placeholderText: app.machineOn && !app.calibrated ? app.t + qsTr("Координаты не откалиброваны!") : ""
                onAccepted: panel.control.sendCommand()
                Keys.onUpPressed: panel.control.recallCommand(true, event.isAutoRepeat)
                Keys.onDownPressed: panel.control.recallCommand(false, event.isAutoRepeat)
                Keys.onEscapePressed: panel.control.takeKeys()
                Component.onCompleted: panel.control.commandField = commandField
            }
        }
        Label {
            objectName: "commandWarning"
            Layout.fillWidth: true
            visible: panel.control.commandWarning
            color: "#FF5252"
            wrapMode: Text.WordWrap
            text: app.t + qsTr("Будьте внимательны при выполнении произвольных команд на большой скорости!")
        }

        Item { Layout.fillHeight: true }

        // ---- warm-up run
        ControlButton {
            objectName: "warmUpButton"
            Layout.preferredWidth: 200
            Layout.preferredHeight: 44
            text: panel.control.warmUp.running ? app.t + qsTr("Остановить прогонку")
                                               : app.t + qsTr("Прогонка аппарата") + "\n" + app.t + qsTr("перед работой")
            lit: panel.control.warmUp.running
            enabled: panel.control.warmUp.running || panel.control.cannedAllowed
            onClicked: panel.control.warmUp.running ? panel.control.warmUp.stop() : panel.control.warmUp.start()
        }
    }
}

import QtQuick 2.15
import QtQuick.Layouts 1.15

// The state of the machine link on the start screen: LinuxCNC, power,
// homing and the axis positions.
Rectangle {
    id: panel
    property var app

    color: "#263238"
    implicitHeight: column.implicitHeight + 16

    function axisText(value) {
        return (value === undefined || value === null) ? "—" : Number(value).toFixed(3)
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 8
        spacing: 4

        Text {
            objectName: "linkStateText"
            color: app.cncRunning ? "#7CFC8A" : (app.cncStarting ? "#FFD54F" : "#FF8A80")
            font.bold: true
            text: app.cncRunning ? app.t + qsTr("LinuxCNC запущен")
                                 : (app.cncStarting ? app.t + qsTr("Запуск LinuxCNC...")
                                                    : app.t + qsTr("LinuxCNC остановлен"))
        }
        Text {
            color: "white"
            text: (app.machineOn ? app.t + qsTr("Машина включена") : app.t + qsTr("Машина выключена"))
                  + "   " + (app.machineHomed ? app.t + qsTr("Оси в исходной") : app.t + qsTr("Оси не в исходной"))
        }
        GridLayout {
            columns: 4
            columnSpacing: 12
            Repeater {
                model: ["X", "Y", "Z", "A"]
                Text {
                    color: app.jointHomed[index] ? "white" : "#B0BEC5"
                    font.family: "monospace"
                    text: modelData + " " + panel.axisText(app.jointPos[index])
                }
            }
        }
        Text {
            visible: app.machineError !== "OK"
            color: "#FF8A80"
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
            text: app.machineError
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15

// The operator panel area of the job screen: the one panel a waiting step
// raised (see panels.js), its text and its buttons. The main button, the one
// the machine's start key presses, is the default button.
Rectangle {
    id: area
    property var app
    property var panel: null
    signal buttonClicked(string id)

    visible: panel !== null && panel !== undefined
    color: "#3d3a22"
    border.color: "#d0a800"
    radius: 3
    implicitHeight: visible ? column.implicitHeight + 16 : 0

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 8
        spacing: 8
        Text {
            objectName: "operatorPanelText"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "white"
            text: area.panel ? area.panel.text : ""
        }
        Flow {
            Layout.fillWidth: true
            spacing: 6
            Repeater {
                model: area.panel ? area.panel.buttons : []
                Button {
                    objectName: "panelButton_" + modelData.id
                    text: modelData.text
                    enabled: modelData.enabled
                    isDefault: area.panel !== null && modelData.id === area.panel.main
                    onClicked: area.buttonClicked(modelData.id)
                }
            }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4

// The running log of the program: newest line at the bottom, coloured by kind.
Rectangle {
    property var app
    color: "#101418"

    ScrollView {
        anchors.fill: parent
        ListView {
            id: list
            objectName: "logList"
            model: app.logModel
            onCountChanged: positionViewAtEnd()
            delegate: Text {
                width: list.width
                wrapMode: Text.WordWrap
                font.family: "monospace"
                color: model.color === "red" ? "#FF5252" : (model.color === "yellow" ? "#FFD740" : "white")
                text: model.time + "  " + model.message
            }
        }
    }
}

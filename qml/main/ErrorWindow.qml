import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../elements"

// Errors for the operator. Each distinct text is shown once while the window
// is open; closing the window clears it.
BaseWindow {
    id: window
    objectName: "errorWindow"
    property var app
    property ListModel messages: ListModel {}

    title: app.t + qsTr("Ошибка")
    width: 520
    height: 240
    color: "#3b1f1f"

    function addError(text, type, silent) {
        for (var i = 0; i < messages.count; ++i)
            if (messages.get(i).message === text)
                return false
        messages.append({ "message": text, "type": type })
        bringToFront()
        return true
    }

    onVisibleChanged: if (!visible) messages.clear()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        ListView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: window.messages
            spacing: 6
            delegate: Text {
                width: ListView.view.width
                wrapMode: Text.WordWrap
                color: model.type === "" || model.type === "error" ? "#FF8A80" : "#FFD740"
                font.pointSize: 11
                text: model.message
            }
        }
        Button {
            Layout.alignment: Qt.AlignRight
            text: app.t + qsTr("Закрыть")
            onClicked: window.close()
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import "../../../elements"

// How to prepare and import a bill of materials.
BaseWindow {
    id: window
    property var app
    title: app.t + qsTr("Импорт списка питателей: справка")
    width: 640
    height: 520

    function open() { bringToFront() }

    TextArea {
        anchors.fill: parent
        readOnly: true
        textFormat: TextEdit.RichText
        text: app.feederListImportHelpText
    }
}

import QtQuick 2.15
import QtQuick.Layouts 1.15
import "../../../elements"

// Import of a placement list whose feeders are already set up.
BaseWindow {
    id: window
    property var app
    property alias panel: panel
    title: app.t + qsTr("Импорт списка компонентов (питатели уже настроены)")
    width: 900
    height: 640

    function open() { bringToFront() }

    ComponentImport {
        id: panel
        app: window.app
        anchors.fill: parent
        anchors.margins: 8
        onImported: window.close()
    }
}

import QtQuick 2.15
import QtQuick.Layouts 1.15
import "../../../elements"

// Import of a placement list that sets the feeders up on the way: each group
// is given a feeder, which takes the group's package and part number.
BaseWindow {
    id: window
    property var app
    property alias panel: panel
    title: app.t + qsTr("Импорт списка компонентов (одновременно с настройкой питателей)")
    width: 900
    height: 640

    function open() { bringToFront() }

    ComponentImport {
        id: panel
        app: window.app
        assignFeeders: true
        anchors.fill: parent
        anchors.margins: 8
        onImported: window.close()
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// Shown when the program is closed while a nozzle is still on the head.
BaseWindow {
    id: window
    property var app

    title: app.t + qsTr("Насадка на головке")
    width: 460
    height: 160

    function open() {
        bringToFront()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        Text {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: app.t + qsTr("На головке осталась насадка. Верните её в держатель перед выключением или закройте программу всё равно.")
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button {
                text: app.t + qsTr("Закрыть программу")
                onClicked: {
                    app.closeAllowed = true
                    window.close()
                    app.close()
                }
            }
            Button {
                text: app.t + qsTr("Отмена")
                onClicked: window.close()
            }
        }
    }
}

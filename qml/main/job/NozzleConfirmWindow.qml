import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// Before a run, while the nozzle warning is armed: the operator confirms the
// nozzle on the head. "Верно" starts the run, "Нет" (or closing) does not.
BaseWindow {
    id: window
    property var app
    property var jobScreen

    title: app.t + qsTr("Проверка насадки")
    width: 380
    height: 130

    function open() { bringToFront() }

    // Closing by the window frame answers "Нет".
    onVisibleChanged: if (!visible && jobScreen.nozzleConfirmShown) jobScreen.sequencer.nozzleConfirmed(false)

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        Text {
            objectName: "nozzleConfirmText"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "white"
            font.pixelSize: 16
            text: (app.currVC >= 0 ? app.t + qsTr("На головке насадка ") + (app.currVC + 1)
                                   : app.t + qsTr("На головке нет насадки")) + "?"
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button {
                objectName: "nozzleConfirmYes"
                text: app.t + qsTr("Верно")
                isDefault: true
                onClicked: window.jobScreen.sequencer.nozzleConfirmed(true)
            }
            Button {
                objectName: "nozzleConfirmNo"
                text: app.t + qsTr("Нет")
                onClicked: window.jobScreen.sequencer.nozzleConfirmed(false)
            }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// After a run that skipped components: the missed ones ("missedModel") with
// a check box per line. "Доустановить выбранные компоненты" prepares a second
// pass over the checked ones, "Не доустанавливать" (or closing) drops them.
BaseWindow {
    id: window
    property var app
    property var jobScreen
    property var model: null
    property int count: 0

    title: app.t + qsTr("Доустановить пропущенные компоненты? (") + count + qsTr(" шт.)")
    width: 640
    height: 420

    function open() {
        if (!model)
            model = jobScreen.missedJobModel()
        count = lineCount()
        bringToFront()
    }
    function lineCount() {
        var n = 0
        for (var row = 0; model && row < model.rowCount; ++row)
            n += model.getSubSteps(row)
        return n
    }

    // Closing by the window frame answers "Не доустанавливать".
    onVisibleChanged: if (!visible && jobScreen.missedWindowShown) jobScreen.sequencer.dontPlaceMissed()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 6
        TreeView {
            objectName: "missedTree"
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: window.model
            TableViewColumn {
                role: "enabled"
                title: ""
                width: 70
                delegate: Item {
                    CheckBox {
                        anchors.verticalCenter: parent.verticalCenter
                        partiallyCheckedEnabled: true
                        activeFocusOnPress: false
                        checkedState: styleData.value === 1 || styleData.value === 2 ? Qt.Checked
                                    : styleData.value === 3 ? Qt.PartiallyChecked : Qt.Unchecked
                        MouseArea {
                            anchors.fill: parent
                            onClicked: window.model.cbClicked(styleData.index)
                        }
                    }
                }
            }
            TableViewColumn { role: "op"; title: app.t + qsTr("Компонент"); width: 520 }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button {
                objectName: "placeMissedButton"
                text: app.t + qsTr("Доустановить выбранные компоненты")
                onClicked: window.jobScreen.sequencer.placeMissed()
            }
            Button {
                objectName: "dontPlaceMissedButton"
                text: app.t + qsTr("Не доустанавливать")
                onClicked: window.jobScreen.sequencer.dontPlaceMissed()
            }
        }
    }
}

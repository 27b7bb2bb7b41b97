import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import CustomComponents 1.0
import "../../../elements"

// The project log, newest first, filtered by a text and by its colours
// (errors, warnings and operator actions, other messages).
BaseWindow {
    id: window
    property var app
    property alias view: filtered
    title: app.t + qsTr("Журнал проекта")
    width: 760
    height: 480

    function open() { bringToFront() }

    function updateColours() {
        var list = []
        if (showErrors.checked)
            list.push("red")
        if (showWarnings.checked)
            list.push("yellow")
        if (showOthers.checked)
            list.push("white")
        filtered.acceptedValues = list.length === 3 ? [] : (list.length === 0 ? ["-"] : list)
    }

    SortFilterModel {
        id: filtered
        source: app.projectLogModel
        ascending: false
        filterRole: "message"
        valueRole: "color"
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        RowLayout {
            TextField {
                Layout.fillWidth: true
                placeholderText: app.t + qsTr("Поиск")
                onTextChanged: filtered.filterText = text
            }
            CheckBox { id: showErrors; text: app.t + qsTr("ошибки"); checked: true; onClicked: window.updateColours() }
            CheckBox { id: showWarnings; text: app.t + qsTr("предупреждения"); checked: true; onClicked: window.updateColours() }
            CheckBox { id: showOthers; text: app.t + qsTr("остальное"); checked: true; onClicked: window.updateColours() }
        }
        TableView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: filtered
            TableViewColumn { role: "time"; title: app.t + qsTr("Время"); width: 150 }
            TableViewColumn { role: "message"; title: app.t + qsTr("Сообщение"); width: 580 }
            itemDelegate: Text {
                text: styleData.value === undefined ? "" : String(styleData.value)
                color: {
                    var c = filtered.get(styleData.row).color
                    return c === "red" ? "#D32F2F" : c === "yellow" ? "#F9A825" : styleData.textColor
                }
                elide: Text.ElideRight
            }
        }
        Text { color: "white"; text: app.t + qsTr("Записей: ") + filtered.count + " / " + app.projectLogModel.count }
    }
}

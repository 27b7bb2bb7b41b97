import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// Offered when a project was saved with other feeder bank files than the open
// ones: the checked banks are opened before the project.
BaseWindow {
    id: window
    property var app
    property string projectUrl: ""
    // [{bank, file, checked}]
    property var banks: []

    title: app.t + qsTr("Банки питателей проекта")
    width: 640
    height: 120 + 40 * banks.length

    function bankText(bank) {
        switch (bank) {
        case "B": return app.t + qsTr("Открыть нижний банк питателей:")
        case "L": return app.t + qsTr("Открыть левый банк питателей:")
        case "U": return app.t + qsTr("Открыть верхний банк питателей:")
        default: return app.t + qsTr("Открыть правый банк питателей:")
        }
    }

    function open(url, differing) {
        projectUrl = String(url)
        var list = []
        for (var i = 0; i < differing.length; ++i)
            list.push({ "bank": differing[i].bank, "file": differing[i].file, "checked": true })
        banks = list
        bringToFront()
    }

    function setChecked(i, checked) {
        var list = banks
        list[i].checked = checked
        banks = list
    }

    // Opens the checked banks, then the project.
    function accept() {
        for (var i = 0; i < banks.length; ++i) {
            if (banks[i].checked)
                app.openFeedersF(banks[i].file, banks[i].bank)
        }
        close()
        app.openProjectSeq(projectUrl)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        Text {
            Layout.fillWidth: true
            color: "white"
            wrapMode: Text.WordWrap
            text: app.t + qsTr("В открываемом проекте использовались другие банки питателей.")
        }
        Repeater {
            model: window.banks.length
            CheckBox {
                Layout.fillWidth: true
                checked: window.banks[index].checked
                text: window.bankText(window.banks[index].bank) + " " + decodeURIComponent(window.banks[index].file)
                onClicked: window.setChecked(index, checked)
            }
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button { text: app.t + qsTr("Открыть проект"); onClicked: window.accept() }
            Button { text: app.t + qsTr("Отмена"); onClicked: window.close() }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "../lib/feeders.js" as Feeders
import "../lib/project.js" as Project

// For a new project: proposes a feeder file per enabled bank in the project's
// folder; the checked banks are saved there and use those files from now on.
BaseWindow {
    id: window
    property var app
    // [{bank, file, checked}]
    property var banks: []

    title: app.t + qsTr("Банки питателей нового проекта")
    width: 640
    height: 120 + 40 * banks.length

    function bankText(bank) {
        switch (bank) {
        case "B": return app.t + qsTr("Нижний банк питателей:")
        case "L": return app.t + qsTr("Левый банк питателей:")
        case "U": return app.t + qsTr("Верхний банк питателей:")
        default: return app.t + qsTr("Правый банк питателей:")
        }
    }

    // The proposals for the project at `projectUrl`.
    function proposals(projectUrl) {
        var list = []
        var order = ["B", "L", "U", "R"]
        for (var i = 0; i < order.length; ++i) {
            var b = order[i]
            if (app["feederEnabled" + b])
                list.push({ "bank": b, "file": Project.proposedBankFile(projectUrl, b, Feeders.suffixOf(b)),
                            "checked": String(app["feederFile" + b]) === "" })
        }
        return list
    }

    function open(projectUrl) {
        banks = proposals(projectUrl)
        if (banks.length > 0)
            bringToFront()
    }

    function setChecked(i, checked) {
        var list = banks
        list[i].checked = checked
        banks = list
    }

    function accept() {
        for (var i = 0; i < banks.length; ++i) {
            if (!banks[i].checked)
                continue
            app["feederFile" + banks[i].bank] = banks[i].file
            app.saveFeeders(banks[i].file)
        }
        close()
        if (String(app.projectName) !== "")
            app.saveProject(app.projectName)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        Text {
            Layout.fillWidth: true
            color: "white"
            wrapMode: Text.WordWrap
            text: app.t + qsTr("Сохранить банки питателей в папку проекта?")
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
            Button { text: app.t + qsTr("Сохранить"); onClicked: window.accept() }
            Button { text: app.t + qsTr("Не сейчас"); onClicked: window.close() }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "../lib/settingsKeys.js" as SettingsKeys

// Editor of one G-code setting of the machine (starting G-code, ending
// G-code, the moves to and from the camera...). "Сохранить" makes the text
// the setting's value and writes it to the settings store at once.
BaseWindow {
    id: editor
    objectName: "gCodeSettingEditor"
    property var app
    // The root property edited, and what the operator knows it as.
    property string setting: ""
    property string caption: ""
    property alias text: area.text

    title: app.t + qsTr("Редактирование G-кода")
    width: 520
    height: 380
    minimumWidth: 320
    minimumHeight: 200

    function sectionOf(name) {
        for (var g = 0; g < SettingsKeys.groups.length; ++g)
            if (SettingsKeys.groups[g].names.indexOf(name) >= 0)
                return SettingsKeys.groups[g].section
        return ""
    }

    // Opens the editor on the setting `name` (a string setting of the main window).
    function edit(name, captionText) {
        if (typeof app[name] !== "string" || sectionOf(name) === "") {
            app.errorMessage(app.t + qsTr("Неизвестная настройка G-кода: ") + name, false, "")
            return false
        }
        setting = name
        caption = captionText
        area.text = app[name]
        bringToFront()
        return true
    }

    function save() {
        if (setting === "")
            return false
        app[setting] = area.text
        app.saveSetting(sectionOf(setting), setting)
        close()
        return true
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 6
        Label {
            color: "white"
            font.bold: true
            text: editor.caption
        }
        TextArea {
            id: area
            objectName: "gCodeSettingText"
            Layout.fillWidth: true
            Layout.fillHeight: true
            font.family: "monospace"
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button {
                text: app.t + qsTr("Сохранить")
                onClicked: editor.save()
            }
            Button {
                text: app.t + qsTr("Отмена")
                onClicked: editor.close()
            }
        }
    }
}

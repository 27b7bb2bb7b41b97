import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/deviceSettings.js" as Model

// The machine settings for the engineer who sets the machine up, behind the
// settings password. The groups and keys, their editors and checks are
// deviceSettings.js. Edits stay in the window until "Сохранить": every edit
// is checked first, and only when all are good are they set on the main
// window, written to the settings store and told to the machine link; a
// refused edit applies nothing. "Отмена" (or closing) drops the edits.
BaseWindow {
    id: window
    objectName: "deviceSettings"
    property var app

    title: app.t + qsTr("Настройки аппарата")
    width: 900
    height: 640

    property int groupIndex: 0
    // The edits not yet saved: key name → what was entered (text for
    // numbers and texts, a boolean for check boxes).
    property var edits: ({})
    // The refused edits of the last "Сохранить": key name → message.
    property var errors: ({})
    property string statusText: ""
    property bool statusError: false
    // Tells the editors to show the main window's values again.
    signal reloaded()

    readonly property var group: Model.groups[groupIndex]

    // What the editor of key entry `e` shows: its edit, else the current value.
    function shownValue(e) {
        if (edits.hasOwnProperty(e.name))
            return edits[e.name]
        var v = app[e.name]
        return Model.kind(e) === "bool" ? v === true : Model.shown(e, v)
    }

    // An editor changed: kept as an edit unless it shows the current value.
    function edit(name, input) {
        var e = Model.entry(name)
        if (!e)
            return
        var current = Model.kind(e) === "bool" ? app[name] === true : Model.shown(e, app[name])
        if (input === current && !edits.hasOwnProperty(name))
            return
        var next = Object.assign({}, edits)
        if (input === current)
            delete next[name]
        else
            next[name] = input
        edits = next
        if (errors.hasOwnProperty(name)) {
            var errs = Object.assign({}, errors)
            delete errs[name]
            errors = errs
        }
        statusText = ""
    }

    // Drops every edit and shows the main window's values again.
    function reset() {
        edits = {}
        errors = {}
        statusText = ""
        statusError = false
        reloaded()
    }

    function groupOf(name) {
        for (var g = 0; g < Model.groups.length; ++g)
            for (var i = 0; i < Model.groups[g].keys.length; ++i)
                if (Model.groups[g].keys[i].name === name)
                    return g
        return -1
    }
    function errorCount(g) {
        var n = 0
        for (var name in errors)
            if (groupOf(name) === g)
                n += 1
        return n
    }

    // Checks every edit; all good: sets them on the main window, writes the
    // changed ones to the settings store and tells the machine link.
    function save() {
        var result = Model.parseAll(edits)
        if (!result.ok) {
            errors = result.errors
            // The first refused key in the order shown.
            var all = Model.keys()
            for (var k = 0; k < all.length; ++k) {
                if (result.errors.hasOwnProperty(all[k].name)) {
                    groupIndex = groupOf(all[k].name)
                    statusText = qsTr("Не сохранено: ") + result.errors[all[k].name]
                    break
                }
            }
            statusError = true
            return false
        }
        var changed = []
        for (var name in result.values) {
            if (app[name] !== result.values[name]) {
                app[name] = result.values[name]
                changed.push(name)
            }
        }
        // The back end writes the store once for these.
        for (var i = 0; i < changed.length; ++i)
            app.saveSetting("device", changed[i])
        app.updateNozzleOnHeadCheck()
        app.machineState.sendLinkState()
        reset()
        statusText = changed.length > 0 ? qsTr("Настройки сохранены") : qsTr("Изменений нет")
        if (changed.length > 0)
            app.logAdd(app.t + qsTr("Настройки аппарата сохранены: ") + changed.join(", "), "yellow")
        return true
    }

    function cancel() {
        reset()
        close()
    }

    onVisibleChanged: if (visible) reset()
    Component.onCompleted: app.toolWindows.register("deviceSettings", window)

    // ---- editors of one key

    Component {
        id: boolEditor
        WindowCheckBox {
            id: box
            property var entry: parent.entry
            objectName: "edit_" + entry.name
            text: app.t + Model.tr(entry.label)
            Component.onCompleted: checked = window.shownValue(entry)
            onClicked: window.edit(entry.name, checked)
            Connections {
                target: window
                function onReloaded() { box.checked = window.shownValue(box.entry) }
            }
        }
    }
    Component {
        id: lineEditor
        RowLayout {
            id: lineRow
            property var entry: parent.entry
            spacing: 8
            Label {
                Layout.preferredWidth: 430
                wrapMode: Text.WordWrap
                color: "white"
                text: app.t + Model.tr(entry.label)
            }
            TextField {
                id: lineField
                objectName: "edit_" + entry.name
                Layout.preferredWidth: Model.kind(entry) === "number" ? 120 : 320
                horizontalAlignment: Model.kind(entry) === "number" ? TextInput.AlignRight : TextInput.AlignLeft
                Component.onCompleted: text = window.shownValue(entry)
                onTextChanged: window.edit(entry.name, text)
                Connections {
                    target: window
                    function onReloaded() { lineField.text = window.shownValue(lineRow.entry) }
                }
                style: TextFieldStyle {
                    background: Rectangle {
                        radius: 2
                        color: "white"
                        border.width: window.errors.hasOwnProperty(lineRow.entry.name) ? 2 : 1
                        border.color: window.errors.hasOwnProperty(lineRow.entry.name) ? "#FF5252" : "#7a8388"
                    }
                }
            }
        }
    }
    Component {
        id: textEditor
        ColumnLayout {
            id: textRow
            property var entry: parent.entry
            spacing: 2
            Label {
                color: "white"
                text: app.t + Model.tr(entry.label)
            }
            TextArea {
                id: textField
                objectName: "edit_" + entry.name
                Layout.fillWidth: true
                Layout.preferredHeight: 64
                font.family: "monospace"
                Component.onCompleted: text = window.shownValue(entry)
                onTextChanged: window.edit(entry.name, text)
                Connections {
                    target: window
                    function onReloaded() { textField.text = window.shownValue(textRow.entry) }
                }
            }
        }
    }

    RowLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 10

        // The groups; a group with refused edits shows their number in red.
        ColumnLayout {
            Layout.preferredWidth: 230
            Layout.minimumWidth: 230
            Layout.maximumWidth: 230
            Layout.fillHeight: true
            spacing: 2
            Repeater {
                model: Model.groups.length
                Rectangle {
                    Layout.fillWidth: true
                    implicitHeight: caption.implicitHeight + 14
                    radius: 3
                    color: index === window.groupIndex ? "#4a5a66" : (groupMouse.containsMouse ? "#3a4248" : "transparent")
                    Text {
                        id: caption
                        anchors.verticalCenter: parent.verticalCenter
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.leftMargin: 8
                        anchors.rightMargin: 8
                        wrapMode: Text.WordWrap
                        readonly property int refused: window.errorCount(index)
                        color: refused > 0 ? "#FF5252" : "white"
                        font.bold: index === window.groupIndex
                        text: app.t + Model.tr(Model.groups[index].caption) + (refused > 0 ? " (" + refused + ")" : "")
                    }
                    MouseArea {
                        id: groupMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: window.groupIndex = index
                    }
                }
            }
            Item { Layout.fillHeight: true }
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 8

            Label {
                color: "white"
                font.bold: true
                font.pixelSize: 15
                text: app.t + Model.tr(window.group.caption)
            }
            ScrollView {
                id: scroll
                Layout.fillWidth: true
                Layout.fillHeight: true
                // The editors of every group stay made; only the chosen
                // group is shown.
                Item {
                    width: scroll.viewport.width - 8
                    height: pages.itemAt(window.groupIndex) ? pages.itemAt(window.groupIndex).height : 0
                    Repeater {
                        id: pages
                        model: Model.groups.length
                        Column {
                            id: page
                            readonly property int groupIndex: index
                            visible: index === window.groupIndex
                            width: parent.width
                            spacing: 6
                            Repeater {
                                model: Model.groups[page.groupIndex].keys
                                Column {
                                    width: page.width
                                    spacing: 2
                                    Loader {
                                        width: parent.width
                                        property var entry: modelData
                                        sourceComponent: {
                                            var k = Model.kind(modelData)
                                            return k === "bool" ? boolEditor : k === "text" ? textEditor : lineEditor
                                        }
                                    }
                                    Label {
                                        objectName: "error_" + modelData.name
                                        visible: text !== ""
                                        width: parent.width
                                        wrapMode: Text.WordWrap
                                        color: "#FF5252"
                                        text: window.errors.hasOwnProperty(modelData.name) ? window.errors[modelData.name] : ""
                                    }
                                }
                            }
                        }
                    }
                }
            }
            RowLayout {
                Layout.fillWidth: true
                Label {
                    objectName: "deviceSettingsStatus"
                    Layout.fillWidth: true
                    wrapMode: Text.WordWrap
                    color: window.statusError ? "#FF5252" : "#8BC34A"
                    text: window.statusText
                }
                Button {
                    objectName: "deviceSettingsSave"
                    text: app.t + qsTr("Сохранить")
                    onClicked: window.save()
                }
                Button {
                    text: app.t + qsTr("Отмена")
                    onClicked: window.cancel()
                }
            }
        }
    }
}

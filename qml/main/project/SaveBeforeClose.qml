import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// Lists the changed project and feeder bank files before the program closes
// or another project replaces the open one; the operator saves them, drops
// the changes or stays.
BaseWindow {
    id: window
    property var app
    // [{kind: "project" | bank letter, file}]
    property var changed: []
    property var proceed: null
    // The operator chose to go on (after saving or not).
    signal proceeded()

    title: app.t + qsTr("Сохранить изменения?")
    width: 640
    height: 140 + 30 * changed.length

    function label(kind) {
        switch (kind) {
        case "project": return app.t + qsTr("Файл проекта:")
        case "B": return app.t + qsTr("Файл нижнего банка питателей:")
        case "L": return app.t + qsTr("Файл левого банка питателей:")
        case "U": return app.t + qsTr("Файл верхнего банка питателей:")
        default: return app.t + qsTr("Файл правого банка питателей:")
        }
    }

    // Goes on at once (then(), proceeded()) when nothing changed; otherwise
    // asks first. Returns true when the window was opened.
    function ask(then) {
        var list = app.projectActions.unsavedFiles()
        if (list.length === 0) {
            proceeded()
            if (typeof then === "function")
                then()
            return false
        }
        changed = list
        proceed = typeof then === "function" ? then : function() {}
        app.saveBeforeCloseOpen = true
        bringToFront()
        return true
    }

    function finish(save) {
        if (save) {
            for (var i = 0; i < changed.length; ++i) {
                if (changed[i].kind === "project")
                    app.saveProject(changed[i].file)
                else
                    app.saveFeeders(changed[i].file)
            }
        }
        var then = proceed
        proceed = null
        changed = []
        app.saveBeforeCloseOpen = false
        close()
        proceeded()
        if (then)
            then()
    }

    function cancel() {
        proceed = null
        changed = []
        app.saveBeforeCloseOpen = false
        close()
    }

    // Closed by the window manager: the same as cancelling.
    onVisibleChanged: {
        if (!visible && proceed !== null) {
            proceed = null
            changed = []
            app.saveBeforeCloseOpen = false
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        Text {
            color: "white"
            text: app.t + qsTr("Есть несохранённые изменения:")
        }
        Repeater {
            model: window.changed.length
            Text {
                Layout.fillWidth: true
                color: "white"
                elide: Text.ElideMiddle
                text: window.label(window.changed[index].kind) + " " + decodeURIComponent(window.changed[index].file)
            }
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button { text: app.t + qsTr("Сохранить"); onClicked: window.finish(true) }
            Button { text: app.t + qsTr("Не сохранять"); onClicked: window.finish(false) }
            Button { text: app.t + qsTr("Отмена"); onClicked: window.cancel() }
        }
    }
}

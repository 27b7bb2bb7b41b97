import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// Components whose feeder is missing or holds other parts, grouped, with the
// feeders that could take their place.
BaseWindow {
    id: window
    property var app
    // Groups of the feeder search: pack, partNumber, model, index,
    // designatorText, count, elements, replacements [{model, index}];
    // `choice` is the chosen replacement (-1 = keep).
    property var groups: []

    title: app.t + qsTr("Замена питателей")
    width: 900
    height: 420

    function feederText(model, index) {
        if (Number(index) < 0)
            return app.t + qsTr("нет")
        return app.feederBanks.sideName(model) + " №" + (Number(index) + 1)
    }

    function open(list) {
        for (var i = 0; i < list.length; ++i)
            list[i].choice = list[i].replacements.length > 0 ? 0 : -1
        groups = list
        bringToFront()
    }

    // Puts the group's components on the replacement feeder r.
    function applyGroup(g, r) {
        for (var i = 0; i < g.elements.length; ++i) {
            var el = g.elements[i]
            el.model = r.model
            el.index = r.index
            app.projectActions.updateFeederMatch(el)
        }
        app.logAdd(app.t + qsTr("Компоненты ") + g.designatorText + app.t + qsTr(" переведены на питатель ")
                   + feederText(r.model, r.index), "yellow")
    }

    function applyChosen() {
        for (var i = 0; i < groups.length; ++i) {
            var g = groups[i]
            if (g.choice >= 0 && g.choice < g.replacements.length)
                applyGroup(g, g.replacements[g.choice])
        }
        close()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        Text {
            Layout.fillWidth: true
            color: "white"
            wrapMode: Text.WordWrap
            text: app.t + qsTr("Для этих компонентов питатель не найден или в нём другие компоненты. Выберите питатель на замену.")
        }
        ScrollView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                model: window.groups.length
                delegate: RowLayout {
                    width: parent ? parent.width : 0
                    Text {
                        Layout.preferredWidth: 380
                        color: "white"
                        elide: Text.ElideRight
                        text: window.groups[index].designatorText + " (" + window.groups[index].count + ")"
                    }
                    Text {
                        Layout.preferredWidth: 200
                        color: "white"
                        elide: Text.ElideRight
                        text: window.groups[index].pack + " / " + window.groups[index].partNumber
                    }
                    Text {
                        Layout.preferredWidth: 90
                        color: "#FFB300"
                        text: window.feederText(window.groups[index].model, window.groups[index].index)
                    }
                    ComboBox {
                        Layout.preferredWidth: 160
                        model: window.groups[index].replacements.map(function(r) {
                            return window.feederText(r.model, r.index) })
                        currentIndex: window.groups[index].choice
                        onActivated: window.groups[index].choice = currentIndex
                    }
                }
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button { text: app.t + qsTr("Заменить"); onClicked: window.applyChosen() }
            Button { text: app.t + qsTr("Отмена"); onClicked: window.close() }
        }
    }
}

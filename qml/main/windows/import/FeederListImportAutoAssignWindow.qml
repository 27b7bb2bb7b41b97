import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"

// Settings of the automatic feeder assignment: a bank and a feeder range for
// 8 mm tapes and one for 12 and 16 mm tapes. In its range a line takes the
// feeder that already holds its parts, else an empty one, else one that no
// component of the project uses.
BaseWindow {
    id: window
    property var app
    property var importWindow
    title: app.t + qsTr("Автоматическое назначение питателей")
    width: 520
    height: 220

    readonly property var bankNames: [app.t + qsTr("снизу"), app.t + qsTr("сверху"), app.t + qsTr("справа"), app.t + qsTr("слева")]

    function open() { bringToFront() }

    GridLayout {
        anchors.fill: parent
        anchors.margins: 10
        columns: 4
        Text { color: "white"; text: "" }
        Text { color: "white"; text: app.t + qsTr("Банк") }
        Text { color: "white"; text: app.t + qsTr("С питателя №") }
        Text { color: "white"; text: app.t + qsTr("По питатель №") }
        Text { color: "white"; text: app.t + qsTr("Лента 8 мм") }
        ComboBox { model: window.bankNames; currentIndex: app.importFeederAutoAssign8mmBank; onActivated: app.importFeederAutoAssign8mmBank = index }
        SpinBox { minimumValue: 1; maximumValue: 200; value: app.importFeederAutoAssign8mmFirst + 1; onEditingFinished: app.importFeederAutoAssign8mmFirst = value - 1 }
        SpinBox { minimumValue: 1; maximumValue: 200; value: app.importFeederAutoAssign8mmLast + 1; onEditingFinished: app.importFeederAutoAssign8mmLast = value - 1 }
        Text { color: "white"; text: app.t + qsTr("Лента 12 и 16 мм") }
        ComboBox { model: window.bankNames; currentIndex: app.importFeederAutoAssign12_16mmBank; onActivated: app.importFeederAutoAssign12_16mmBank = index }
        SpinBox { minimumValue: 1; maximumValue: 200; value: app.importFeederAutoAssign12_16mmFirst + 1; onEditingFinished: app.importFeederAutoAssign12_16mmFirst = value - 1 }
        SpinBox { minimumValue: 1; maximumValue: 200; value: app.importFeederAutoAssign12_16mmLast + 1; onEditingFinished: app.importFeederAutoAssign12_16mmLast = value - 1 }
        Item { Layout.columnSpan: 2; Layout.fillHeight: true }
        Button { text: app.t + qsTr("Назначить"); onClicked: { window.importWindow.autoAssign(); window.close() } }
        Button { text: app.t + qsTr("Закрыть"); onClicked: window.close() }
    }
}

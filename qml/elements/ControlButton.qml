import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4

// A push button of the machine panels: its text may have several lines and
// a colour of its own, and `lit` shows a switched-on state (an output that
// is on, a jog that runs).
Button {
    id: button
    property color textColor: "black"
    property bool lit: false
    property color litColor: "#8BC34A"
    property int fontSize: 11
    property bool bold: false
    implicitWidth: Math.max(64, label.implicitWidth + 16)
    implicitHeight: Math.max(28, label.implicitHeight + 10)

    style: ButtonStyle {
        background: Rectangle {
            radius: 3
            border.width: control.activeFocus ? 2 : 1
            border.color: "#5f6b73"
            color: !control.enabled ? "#9aa3a8"
                 : control.pressed ? "#b7c7d1"
                 : control.lit ? control.litColor
                 : control.hovered ? "#f2f6f8" : "#e1e7ea"
        }
        label: Item {}
    }
    Text {
        id: label
        anchors.centerIn: parent
        width: parent.width - 6
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        // Long texts take a second line rather than being cut.
        wrapMode: Text.WordWrap
        maximumLineCount: 2
        elide: Text.ElideRight
        text: button.text
        color: button.enabled ? button.textColor : "#50585c"
        font.pixelSize: button.fontSize
        font.bold: button.bold
    }
}

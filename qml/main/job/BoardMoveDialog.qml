import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"

// After the reference-mark search, when the first mark lies farther from its
// design position than the machine allows: moves the board in the project?
// "Да" answers "yes", "Нет" (or closing the window) "no", "Отмена" "cancel";
// the answer goes to the one who opened the dialog, once.
BaseWindow {
    id: dialog
    objectName: "boardMoveDialog"
    property var app
    property string heading: ""
    property string message: ""
    property var onAnswer: null
    readonly property bool waiting: onAnswer !== null

    title: heading
    width: 520
    height: 190

    // values: { title, text }; onAnswer(answer) once.
    function open(values, answerTo) {
        heading = String(values && values.title !== undefined ? values.title : "")
        message = String(values && values.text !== undefined ? values.text : "")
        onAnswer = answerTo || null
        bringToFront()
    }
    function answer(a) {
        var f = onAnswer
        onAnswer = null
        close()
        if (f)
            f(a)
    }
    // Without an answer (the step that asked stopped) the dialog just goes.
    function dismiss() {
        onAnswer = null
        close()
    }
    onVisibleChanged: if (!visible && onAnswer) answer("no")

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        Text {
            objectName: "boardMoveText"
            Layout.fillWidth: true
            Layout.fillHeight: true
            wrapMode: Text.WordWrap
            color: "white"
            font.pixelSize: 14
            text: dialog.message
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button {
                objectName: "boardMoveYes"
                text: app.t + qsTr("Да")
                isDefault: true
                onClicked: dialog.answer("yes")
            }
            Button {
                objectName: "boardMoveNo"
                text: app.t + qsTr("Нет")
                onClicked: dialog.answer("no")
            }
            Button {
                objectName: "boardMoveCancel"
                text: app.t + qsTr("Отмена")
                onClicked: dialog.answer("cancel")
            }
        }
    }
}

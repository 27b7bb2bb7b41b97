import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import "../../lib/passwordLock.js" as PasswordLock

// "Введите пароль": asks for the settings password before a locked window
// opens. Modal; the window frame cannot close it, only "Отмена" or a correct
// entry (through the lock) hide it.
Window {
    id: window
    objectName: "pwdRequest"
    property var app
    // Called with the entry when "Далее" is pressed; true when it unlocked.
    property var submit: null
    property alias entry: field.text
    property alias errorText: error.text

    title: app.t + qsTr("Введите пароль")
    width: 420
    height: 170
    visible: false
    modality: Qt.ApplicationModal
    flags: Qt.Dialog | Qt.CustomizeWindowHint | Qt.WindowTitleHint
    color: "#2b2b2b"

    onClosing: close.accepted = false

    // Shows the request with an empty field and no error text.
    function ask() {
        field.text = ""
        error.text = ""
        show()
        if (Qt.platform.pluginName !== "offscreen" && Qt.platform.pluginName !== "minimal") {
            raise()
            requestActivate()
        }
        field.forceActiveFocus()
    }

    // "Далее": a wrong entry clears the field and says so.
    function next() {
        if (field.text === "")
            return false
        if (submit && submit(field.text))
            return true
        field.text = ""
        error.text = app.t + qsTr("Введен неверный пароль. Попробуйте еще раз.")
        field.forceActiveFocus()
        return false
    }

    function cancel() { window.visible = false }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8
        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "white"
            text: app.t + qsTr("Для доступа к этим настройкам требуется ввод пароля")
        }
        TextField {
            id: field
            objectName: "pwdRequestField"
            Layout.fillWidth: true
            echoMode: TextInput.Password
            maximumLength: PasswordLock.maxLength
            onAccepted: window.next()
        }
        Label {
            id: error
            objectName: "pwdRequestError"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "#FF8A80"
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button {
                text: app.t + qsTr("Далее")
                enabled: field.text !== ""
                onClicked: window.next()
            }
            Button {
                text: app.t + qsTr("Отмена")
                onClicked: window.cancel()
            }
        }
    }
}

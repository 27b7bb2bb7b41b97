import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/passwordLock.js" as PasswordLock

// The password of the machine and camera settings: set, change or switch
// off. The walk between the editor states is passwordLock.js; this window
// shows the state and hands the buttons to it. A new password becomes the
// root's `password` and is saved with the other settings.
BaseWindow {
    id: window
    objectName: "passwordSettings"
    property var app
    property var lockState: PasswordLock.initial("")
    readonly property string pwdState: lockState.pwdState
    property alias entry: field.text

    title: app.t + qsTr("Парольная защита")
    width: 460
    height: 190

    // Back to rest for the current password.
    function reset() {
        lockState = PasswordLock.initial(app.password)
        field.text = ""
    }

    // One button of the editor: "set", "change", "disable", "next", "retry"
    // or "cancel"; "next" takes the field's text.
    function act(action) {
        var current = lockState
        current.password = app.password
        var next = PasswordLock.step(current, { "action": action, "entry": field.text })
        if (next.password !== String(app.password))
            app.password = next.password
        if (next.hideRequest === true)
            app.settingsLock.hideRequest()
        lockState = next
        field.text = ""
        if (PasswordLock.hasField(next.pwdState))
            field.forceActiveFocus()
    }

    function stateText(state) {
        switch (state) {
        case "pwdNotSet": return app.t + qsTr("Пароль не задан")
        case "pwdSet": return app.t + qsTr("Пароль задан")
        case "enterCurrPwdToChangePwd":
        case "enterCurrPwdToDisablePwd": return app.t + qsTr("Введите текущий пароль:")
        case "currPwdMismatch": return app.t + qsTr("Введен неверный пароль!")
        case "changePwd1": return app.t + qsTr("Введите новый пароль:")
        case "changePwd2": return app.t + qsTr("Повторите ввод:")
        case "pwd12Mismatch": return app.t + qsTr("Введенные пароли не совпадают!")
        }
        return ""
    }

    onVisibleChanged: if (visible) reset()
    Component.onCompleted: {
        reset()
        app.toolWindows.register("passwordSettings", window)
    }
    // A password loaded or changed elsewhere moves the editor at rest.
    Connections {
        target: app
        function onPasswordChanged() {
            if (window.pwdState === "pwdNotSet" || window.pwdState === "pwdSet")
                window.reset()
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8
        Label {
            color: "white"
            font.bold: true
            text: app.t + qsTr("Парольная защита основных настроек:")
        }
        RowLayout {
            Layout.fillWidth: true
            Label {
                objectName: "pwdStateText"
                color: window.pwdState === "pwdNotSet" || window.pwdState === "currPwdMismatch"
                       || window.pwdState === "pwd12Mismatch" ? "#FF5252" : "white"
                text: window.stateText(window.pwdState)
            }
            TextField {
                id: field
                objectName: "pwdEditField"
                Layout.fillWidth: true
                visible: PasswordLock.hasField(window.pwdState)
                echoMode: TextInput.Password
                maximumLength: PasswordLock.maxLength
                onAccepted: if (text !== "") window.act("next")
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button {
                visible: window.pwdState === "pwdNotSet"
                text: app.t + qsTr("Задать пароль")
                onClicked: window.act("set")
            }
            Button {
                visible: window.pwdState === "pwdSet"
                text: app.t + qsTr("Изменить пароль")
                onClicked: window.act("change")
            }
            Button {
                visible: window.pwdState === "pwdSet"
                text: app.t + qsTr("Откл. парольную защиту")
                onClicked: window.act("disable")
            }
            Button {
                visible: PasswordLock.hasField(window.pwdState)
                enabled: field.text !== ""
                text: app.t + qsTr("Далее")
                onClicked: window.act("next")
            }
            Button {
                visible: window.pwdState === "currPwdMismatch"
                text: app.t + qsTr("Попробовать еще раз")
                onClicked: window.act("retry")
            }
            Button {
                visible: window.pwdState === "pwd12Mismatch"
                text: app.t + qsTr("Ввести еще раз")
                onClicked: window.act("retry")
            }
            Button {
                visible: PasswordLock.hasCancel(window.pwdState)
                text: app.t + qsTr("Отмена")
                onClicked: window.act("cancel")
            }
        }
        Item { Layout.fillHeight: true }
    }
}

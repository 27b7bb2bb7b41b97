import QtQuick 2.15
import QtTest 1.2

// The settings password lock in the real program: the menu items of the
// machine and camera settings, the password request, the two minutes of
// access after a correct entry (shortened here), and the password editor.
TestCase {
    id: testCase
    name: "SettingsLock"
    when: windowShown

    property var lock: root.settingsLock
    property var request: lock.request
    property var menu: root.menuBar
    property var cameraSettings: root.findToolWindow("cameraSettings")
    property var deviceSettings: root.findToolWindow("deviceSettings")
    property var editor: root.findToolWindow("passwordSettings")
    readonly property string wrongText: "Введен неверный пароль. Попробуйте еще раз."

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function clearLog() { root.logModel.clear() }

    // The three ways into a locked window, and what each opens.
    function trigger(way) {
        if (way === "settings menu, cameras")
            menu.cameraSettingsItem.trigger()
        else if (way === "windows menu, camera settings")
            menu.windowsCameraSettingsItem.trigger()
        else
            menu.machineSettingsItem.trigger()
    }
    function opened(way) {
        return way === "settings menu, machine" ? deviceSettings.visible : cameraSettings.visible
    }
    function enter(text) {
        request.entry = text
        return call(request, "next")
    }

    function init() {
        root.debug1 = false
        root.password = ""
        root.pwdAccepted = false
        lock.acceptedInterval = 120000
        call(lock, "hideRequest")
        root.closeAllToolWindows()
        clearLog()
    }
    function cleanup() { init() }

    // When a window opens without the request: tst_passwordLock_lib.qml
    // (test_mayOpenDirectly); here the lock reads the password and the mode.
    function test_opensWithoutRequest_data() {
        return [ { tag: "no password", password: "", debug: false, way: "settings menu, machine" },
                 { tag: "debug mode", password: "pw", debug: true, way: "windows menu, camera settings" } ]
    }
    function test_opensWithoutRequest(data) {
        root.password = data.password
        root.debug1 = data.debug
        trigger(data.way)
        verify(opened(data.way))
        verify(!request.visible)
    }

    function test_setPasswordAsks_data() {
        return [ { tag: "settings menu, cameras" }, { tag: "windows menu, camera settings" },
                 { tag: "settings menu, machine" } ]
    }
    function test_setPasswordAsks(data) {
        root.password = "pw"
        trigger(data.tag)
        verify(request.visible)
        verify(!opened(data.tag))
        // A wrong entry: the error text, the window stays closed.
        verify(!enter("wrong"))
        compare(request.errorText, wrongText)
        verify(!opened(data.tag))
        verify(!root.pwdAccepted)
        // The right one opens the asked window.
        verify(enter("pw"))
        verify(!request.visible)
        verify(opened(data.tag))
        verify(root.pwdAccepted)
    }

    function test_correctEntryUnlocksBothUntilTheTimerFires() {
        root.password = "pw"
        menu.machineSettingsItem.trigger()
        verify(enter("pw"))
        verify(deviceSettings.visible)
        root.closeAllToolWindows()
        // Both windows now open without a request.
        menu.windowsCameraSettingsItem.trigger()
        verify(cameraSettings.visible)
        menu.machineSettingsItem.trigger()
        verify(deviceSettings.visible)
        verify(!request.visible)
        root.closeAllToolWindows()
        // A shorter interval restarts the running timer; when it fires the
        // request is back.
        lock.acceptedInterval = 50
        tryCompare(root, "pwdAccepted", false, 10000)
        menu.cameraSettingsItem.trigger()
        verify(request.visible)
        verify(!cameraSettings.visible)
    }

    // ---- the password editor (its states: tst_passwordLock_lib.qml)

    function act(action, entry) {
        if (entry !== undefined)
            editor.entry = entry
        call(editor, "act", [action])
        return editor.pwdState
    }

    // A password set in the editor locks the windows; disabled with it, an
    // open request disappears with the protection.
    function test_editorSetsAndDisablesThePassword() {
        editor.show()
        compare(editor.pwdState, "pwdNotSet")
        compare(act("set"), "changePwd1")
        compare(act("next", "new1"), "changePwd2")
        compare(act("next", "new1"), "pwdSet")
        compare(root.password, "new1")
        menu.cameraSettingsItem.trigger()
        verify(request.visible)
        verify(!cameraSettings.visible)
        compare(act("disable"), "enterCurrPwdToDisablePwd")
        compare(act("next", "new1"), "pwdNotSet")
        compare(root.password, "")
        verify(!request.visible)
        menu.cameraSettingsItem.trigger()
        verify(cameraSettings.visible)
    }

    // ---- the attention sound of operator errors

    function test_errorsBeepUnlessSilent_data() {
        return [ { tag: "loud", silent: false, beeps: 1 }, { tag: "silent", silent: true, beeps: 0 } ]
    }
    function test_errorsBeepUnlessSilent(data) {
        var before = worker.beepCount()
        root.errorMessage("Проверка звука " + data.tag, data.silent, "")
        compare(worker.beepCount() - before, data.beeps)
    }
}

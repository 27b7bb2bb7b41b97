import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/passwordLock.js" as Lock

// The settings password lock without windows: when a locked window opens
// at once, which entry unlocks, and every row of the password editor's walk.
TestCase {
    name: "PasswordLockLibrary"

    function st(pwdState, password, firstEntry, returnState) {
        return { "pwdState": pwdState, "password": password, "firstEntry": firstEntry || "",
                 "returnState": returnState || "" }
    }
    function ev(action, entry) { return { "action": action, "entry": entry === undefined ? "" : entry } }

    function test_mayOpenDirectly_data() {
        return [
            { tag: "no password", password: "", accepted: false, debug: false, open: true },
            { tag: "password, not entered", password: "abc", accepted: false, debug: false, open: false },
            { tag: "debug mode", password: "abc", accepted: false, debug: true, open: true },
        ]
    }
    function test_mayOpenDirectly(data) {
        compare(Lock.mayOpenDirectly(data.password, data.accepted, data.debug), data.open)
    }

    // One row per button of each state of the editor.
    function test_walk_data() {
        return [
            { tag: "pwdNotSet: set", from: st("pwdNotSet", ""), ev: ev("set"), to: "changePwd1",
              password: "" },
            { tag: "pwdSet: change", from: st("pwdSet", "old"), ev: ev("change"), to: "enterCurrPwdToChangePwd",
              password: "old" },
            { tag: "current for change: right", from: st("enterCurrPwdToChangePwd", "old"), ev: ev("next", "old"),
              to: "changePwd1", password: "old" },
            { tag: "current for change: wrong", from: st("enterCurrPwdToChangePwd", "old"), ev: ev("next", "bad"),
              to: "currPwdMismatch", password: "old", returnState: "enterCurrPwdToChangePwd" },
            { tag: "current for disable: right", from: st("enterCurrPwdToDisablePwd", "old"), ev: ev("next", "old"),
              to: "pwdNotSet", password: "", hideRequest: true },
            { tag: "current for disable: wrong", from: st("enterCurrPwdToDisablePwd", "old"), ev: ev("next", "ol"),
              to: "currPwdMismatch", password: "old", returnState: "enterCurrPwdToDisablePwd" },
            { tag: "new 1", from: st("changePwd1", "old"), ev: ev("next", "new"), to: "changePwd2",
              password: "old", firstEntry: "new" },
            { tag: "new 2: equal", from: st("changePwd2", "old", "new"), ev: ev("next", "new"), to: "pwdSet",
              password: "new" },
            { tag: "new 2: different", from: st("changePwd2", "old", "new"), ev: ev("next", "neW"),
              to: "pwd12Mismatch", password: "old" },
        ]
    }
    function test_walk(data) {
        var before = JSON.stringify(data.from)
        var s = Lock.step(data.from, data.ev)
        compare(s.pwdState, data.to)
        compare(s.password, data.password)
        if (data.returnState !== undefined)
            compare(s.returnState, data.returnState)
        if (data.firstEntry !== undefined)
            compare(s.firstEntry, data.firstEntry)
        compare(s.hideRequest === true, data.hideRequest === true)
        compare(JSON.stringify(data.from), before, "the given state is left as it was")
    }

    // "Отмена" from every state that has it: back to rest for the password
    // in force; the two resting states have no "Отмена".
    function test_cancel_data() {
        var rows = []
        var states = ["pwdNotSet", "pwdSet", "enterCurrPwdToChangePwd", "enterCurrPwdToDisablePwd",
                      "currPwdMismatch", "changePwd1", "changePwd2", "pwd12Mismatch"]
        for (var i = 0; i < states.length; ++i) {
            rows.push({ tag: states[i] + ", password set", state: states[i], password: "old",
                        to: states[i] === "pwdNotSet" ? "pwdNotSet" : "pwdSet" })
            rows.push({ tag: states[i] + ", no password", state: states[i], password: "",
                        to: states[i] === "pwdSet" ? "pwdSet" : "pwdNotSet" })
        }
        return rows
    }
    function test_cancel(data) {
        compare(Lock.hasCancel(data.state), data.state !== "pwdNotSet" && data.state !== "pwdSet")
        var s = Lock.step(st(data.state, data.password, "half", "enterCurrPwdToChangePwd"), ev("cancel"))
        compare(s.pwdState, data.to)
        compare(s.password, data.password)
        if (Lock.hasCancel(data.state))
            compare(s.firstEntry, "")
    }

}

.pragma library

// The settings password lock without any window: whether a locked window may
// open at once, whether an entry matches, and the walk of the password
// editor. The editor state is a plain object
//   { pwdState, password, firstEntry, returnState }
// and step(state, event) returns a new one (the argument is never changed).
// An event is { action, entry }: action is one of the editor's buttons,
// "set", "change", "disable", "next", "retry", "cancel". An event that the
// state has no button for returns the state unchanged. A result may carry
// hideRequest: true (protection switched off: an open password request has
// nothing left to ask for).

var maxLength = 16

var states = ["pwdNotSet", "pwdSet", "enterCurrPwdToChangePwd", "enterCurrPwdToDisablePwd",
              "currPwdMismatch", "changePwd1", "changePwd2", "pwd12Mismatch"]

// A locked window opens without a request after a correct entry, with no
// password set, or in debug mode.
function mayOpenDirectly(password, accepted, debugMode) {
    return accepted === true || debugMode === true || String(password === undefined || password === null
                                                              ? "" : password) === ""
}

// An entry unlocks when it is not empty and equals the password.
function entryMatches(entry, password) {
    var e = String(entry === undefined || entry === null ? "" : entry)
    return e !== "" && e === String(password === undefined || password === null ? "" : password)
}

// The resting state for a password.
function restState(password) {
    return String(password === undefined || password === null ? "" : password) === "" ? "pwdNotSet" : "pwdSet"
}

// The editor at rest for a password.
function initial(password) {
    var p = String(password === undefined || password === null ? "" : password)
    return { "pwdState": restState(p), "password": p, "firstEntry": "", "returnState": "" }
}

// True for the states that show an entry field.
function hasField(pwdState) {
    return pwdState === "enterCurrPwdToChangePwd" || pwdState === "enterCurrPwdToDisablePwd"
        || pwdState === "changePwd1" || pwdState === "changePwd2"
}

// True for the states that offer "Отмена".
function hasCancel(pwdState) {
    return states.indexOf(pwdState) >= 0 && pwdState !== "pwdNotSet" && pwdState !== "pwdSet"
}

function copy(state) {
    return { "pwdState": state.pwdState, "password": String(state.password || ""),
             "firstEntry": String(state.firstEntry || ""), "returnState": String(state.returnState || "") }
}

function moveTo(state, pwdState) {
    var s = copy(state)
    s.pwdState = pwdState
    return s
}

function step(state, event) {
    var action = event && event.action !== undefined ? String(event.action) : String(event)
    var entry = event && event.entry !== undefined && event.entry !== null ? String(event.entry) : ""
    var s = copy(state)
    var st = s.pwdState

    if (action === "cancel") {
        if (!hasCancel(st))
            return s
        s.pwdState = restState(s.password)
        s.firstEntry = ""
        s.returnState = ""
        return s
    }

    switch (st) {
    case "pwdNotSet":
        if (action === "set") {
            s.firstEntry = ""
            return moveTo(s, "changePwd1")
        }
        return s
    case "pwdSet":
        if (action === "change")
            return moveTo(s, "enterCurrPwdToChangePwd")
        if (action === "disable")
            return moveTo(s, "enterCurrPwdToDisablePwd")
        return s
    case "enterCurrPwdToChangePwd":
    case "enterCurrPwdToDisablePwd":
        if (action !== "next" || entry === "")
            return s
        if (entry !== s.password) {
            s.returnState = st
            return moveTo(s, "currPwdMismatch")
        }
        if (st === "enterCurrPwdToChangePwd") {
            s.firstEntry = ""
            return moveTo(s, "changePwd1")
        }
        s.password = ""
        s = moveTo(s, "pwdNotSet")
        s.hideRequest = true
        return s
    case "currPwdMismatch":
        if (action === "retry" && s.returnState !== "")
            return moveTo(s, s.returnState)
        return s
    case "changePwd1":
        if (action !== "next" || entry === "")
            return s
        s.firstEntry = entry
        return moveTo(s, "changePwd2")
    case "changePwd2":
        if (action !== "next" || entry === "")
            return s
        if (entry === s.firstEntry) {
            s.password = entry
            s.firstEntry = ""
            return moveTo(s, "pwdSet")
        }
        s.firstEntry = ""
        return moveTo(s, "pwd12Mismatch")
    case "pwd12Mismatch":
        if (action === "retry")
            return moveTo(s, "changePwd1")
        return s
    }
    return s
}

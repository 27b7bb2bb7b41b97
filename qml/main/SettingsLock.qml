import QtQuick 2.15
import "lib/passwordLock.js" as PasswordLock
import "windows/settings"

// The password lock of the machine and camera settings windows. Every way
// into a locked window goes through openLocked(name): it opens the window at
// once after a correct entry (for acceptedInterval ms), with no password set
// or in debug mode, and asks for the password otherwise.
Item {
    id: lock
    property var app
    property bool pwdAccepted: false
    // How long a correct entry keeps the windows open.
    property int acceptedInterval: 120000
    // The window the pending request is for.
    property string pendingWindow: ""
    property alias request: request

    function openLocked(name) {
        if (PasswordLock.mayOpenDirectly(app.password, pwdAccepted, app.debug1))
            return app.showToolWindow(name)
        pendingWindow = String(name)
        request.ask()
        return false
    }

    // An entry of the request: a match hides it, opens the asked window and
    // unlocks for acceptedInterval.
    function submit(entry) {
        if (!PasswordLock.entryMatches(entry, app.password))
            return false
        request.visible = false
        pwdAccepted = true
        acceptedTimer.restart()
        var name = pendingWindow
        pendingWindow = ""
        if (name !== "")
            app.showToolWindow(name)
        return true
    }

    function hideRequest() {
        request.visible = false
        pendingWindow = ""
    }

    Timer {
        id: acceptedTimer
        interval: lock.acceptedInterval
        onTriggered: lock.pwdAccepted = false
    }

    PwdRequest {
        id: request
        app: lock.app
        submit: lock.submit
    }
}

import QtQuick 2.15

// Messages for the operator: the running log (and the open project's log),
// the error list, and the error window that shows each distinct error once.
Item {
    id: messages
    property var app
    property alias errorWindow: errorWindow

    // A line in the running log; colour "red", "yellow" or white.
    function logAdd(message, color) {
        var c = (color === undefined || color === null || color === "") ? "white" : String(color)
        var now = new Date()
        app.logModel.append({ "message": String(message), "time": Qt.formatTime(now, "HH:mm:ss"), "color": c })
        if (app.logModel.count > 2000)
            app.logModel.remove(0, app.logModel.count - 2000)
        // The project log keeps the messages of the open project.
        if (String(app.projectName) !== "") {
            app.projectLogModel.append({ "message": String(message),
                                         "time": Qt.formatDateTime(now, "dd.MM.yyyy HH:mm:ss"), "color": c })
            if (app.projectLogModel.count > app.projectLogMaxCount + 100)
                app.projectLogModel.remove(0, 100)
        }
    }

    // A message for the error list window.
    function errorAdd(text) {
        app.errorListModel.append({ "message": String(text), "time": Qt.formatTime(new Date(), "HH:mm:ss") })
    }

    // The attention sound of the program (errors, operator panels).
    function beep() {
        if (typeof worker !== "undefined" && worker)
            worker.beep()
    }

    // An error for the operator: the error window (once per distinct text),
    // a beep unless silent, and, unless a type such as "warning" is given, a
    // red log line.
    function errorMessage(text, silent, type) {
        var message = String(text)
        var kind = (type === undefined || type === null) ? "" : String(type)
        errorWindow.addError(message, kind, silent === true)
        if (silent !== true)
            beep()
        if (kind === "" || kind === "error")
            logAdd(app.t + qsTr("Ошибка: ") + message, "red")
        else
            logAdd(message, "yellow")
    }

    ErrorWindow { id: errorWindow; app: messages.app }
}

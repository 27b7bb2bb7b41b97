import QtQuick 2.15

// The tool windows by name: each window registers itself when it is made,
// and the keys and the menu of the main window open them by that name.
QtObject {
    id: registry
    property var app

    // The windows are held in a list property (a script object holding them
    // lost its window references after garbage collection), their names in a
    // parallel list.
    property list<QtObject> windows
    property var names: []

    function register(name, window) {
        var list = []
        for (var i = 0; i < windows.length; ++i)
            list.push(windows[i])
        list.push(window)
        var n = names.slice()
        n.push(name)
        names = n
        windows = list
    }

    // The window registered as `name`, or null.
    function find(name) {
        var i = names.indexOf(name)
        return i >= 0 && i < windows.length ? windows[i] : null
    }

    // Shows the window in front; an unknown name is logged.
    function show(name) {
        var w = find(name)
        if (!w) {
            app.logAdd(app.t + qsTr("Окно недоступно: ") + name, "yellow")
            return false
        }
        w.bringToFront()
        return true
    }

    function closeAll() {
        for (var i = 0; i < windows.length; ++i)
            windows[i].close()
    }
}

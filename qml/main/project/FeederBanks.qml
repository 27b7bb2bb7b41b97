import QtQuick 2.15
import "../lib/feeders.js" as Feeders

// The feeder banks as files: opening and saving every enabled bank, opening
// another file for a bank, resetting a bank, and the side names of the banks.
// The bank models themselves are the main window's; FeedersInvoker reads and
// changes their entries.
QtObject {
    id: banks
    property var app

    // Bank letters in the order the banks are opened and saved.
    readonly property var order: ["B", "L", "U", "R"]

    // Opens the feeder file of every enabled bank, in the order B, L, U, R.
    function openAll() {
        for (var i = 0; i < order.length; ++i) {
            if (app["feederEnabled" + order[i]] && String(app["feederFile" + order[i]]) !== "")
                app.openFeeders(app["feederFile" + order[i]])
        }
    }

    // Saves every enabled bank into its file; refused when a bank has none.
    function saveAll() {
        for (var i = 0; i < order.length; ++i) {
            if (app["feederEnabled" + order[i]] && String(app["feederFile" + order[i]]) === "") {
                app.errorMessage(app.t + qsTr("Не указаны пути сохранения настроек питателей!"), false, "")
                return false
            }
        }
        for (i = 0; i < order.length; ++i) {
            if (app["feederEnabled" + order[i]])
                app.saveFeeders(app["feederFile" + order[i]])
        }
        return true
    }

    // Opens a feeder file and makes it the bank's file.
    function openFile(file, model) {
        var bank = Feeders.bankOf(model)
        app["feederFile" + bank] = String(file)
        app.openFeeders(file)
        app.projectActions.updateAllFeederMatches()
    }

    // Replaces every feeder of a bank by a new one (type, tape width and, for
    // tape and vibration feeders, the pick position are kept).
    function reset(model) {
        var m = app.feedersInvoker.modelOf(model)
        var env = app.feedersInvoker.newFeederEnv(model)
        for (var i = 0; i < m.count; ++i)
            m.set(i, Feeders.resetFeeder(m.get(i), env, Math.min(app.workAreaZ1, app.workAreaZ2)))
        app.projectActions.updateAllFeederMatches()
    }

    // The side name of a bank: "слева", "справа", "сверху", "снизу".
    function sideName(model) {
        switch (Feeders.bankOf(model)) {
        case "R": return app.t + qsTr("справа")
        case "U": return app.t + qsTr("сверху")
        case "B": return app.t + qsTr("снизу")
        default: return app.t + qsTr("слева")
        }
    }
}

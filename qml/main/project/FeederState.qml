import QtQuick 2.15
import "../lib/feederState.js" as FeederState

// What a run changes in the feeders. Stored fields (counters, the next tray
// cell, the tape stock ...) are written into the bank's list model, checked
// against the field's type, and the bank is marked for saving; the changed
// banks are saved together through the back end's verified writer. The
// run-only state of each feeder (centring results, debug values, done and
// error flags) lives in a table of its own that the run clears at its start
// and stop and that never reaches a feeder file.
QtObject {
    id: feederState
    property var app

    // Bank letters whose list model differs from their file since the last
    // save by saveDirty() ({"B": true, ...}).
    property var dirtyBanks: ({})
    readonly property var saveOrder: ["B", "L", "U", "R"]

    function feederName(bank, index) {
        return qsTr("Питатель №%1 (%2)").arg(Number(index) + 1).arg(app.feederBanks.sideName(bank))
    }

    function refuse(text) {
        app.errorMessage(app.t + text, false, "")
        return false
    }

    // Writes one stored field of feeder `index` (from 0) of a bank. Refuses,
    // with a message for the operator, an unknown bank, a feeder that does
    // not exist, a field that is not stored and a value that does not fit the
    // field (a number that is not finite, a fraction for an integer ...).
    function setValue(model, index, name, value) {
        var bank = FeederState.strictBankOf(model)
        if (bank === "")
            return refuse(qsTr("Неизвестный банк питателей «%1»: значение поля «%2» не записано")
                          .arg(String(model)).arg(String(name)))
        var m = app.feedersInvoker.modelOf(bank)
        var n = Number(index)
        if (!isFinite(n) || Math.round(n) !== n || n < 0 || n >= m.count)
            return refuse(qsTr("Питатель №%1 (%2) не существует: значение поля «%3» не записано")
                          .arg(isFinite(n) ? n + 1 : String(index)).arg(app.feederBanks.sideName(bank)).arg(String(name)))
        var checked = FeederState.checkValue(String(name), value, app.feederFieldTypes)
        if (!checked.ok)
            return refuse(feederName(bank, n) + ": " + checked.error)
        if (m.get(n)[name] === checked.value)
            return true
        m.setProperty(n, String(name), checked.value)
        if (m.get(n)[name] !== checked.value)
            return refuse(feederName(bank, n) + ": "
                          + qsTr("поле «%1» не принимает значение %2, значение не записано").arg(String(name))
                          .arg(String(checked.value)))
        markDirty(bank)
        return true
    }

    function markDirty(bank) {
        var d = dirtyBanks
        d[bank] = true
        dirtyBanks = d
    }
    function isDirty(model) {
        return dirtyBanks[FeederState.strictBankOf(model)] === true
    }
    // The bank now holds what its file holds (just opened or saved).
    function markClean(model) {
        var d = dirtyBanks
        delete d[FeederState.strictBankOf(model)]
        dirtyBanks = d
    }

    // Saves every changed bank into its file, in the order B, L, U, R; the
    // others are not touched. A bank whose save failed (the operator was
    // told, its old file stays) or that has no file stays marked. Banks that
    // are switched off are not saved (their model need not hold their file).
    // True when every changed bank was saved.
    function saveDirty() {
        var allSaved = true
        for (var i = 0; i < saveOrder.length; ++i) {
            var bank = saveOrder[i]
            if (dirtyBanks[bank] !== true || !app["feederEnabled" + bank])
                continue
            var file = String(app["feederFile" + bank])
            if (file === "") {
                app.errorMessage(app.t + qsTr("Не указаны пути сохранения настроек питателей!"), false, "")
                allSaved = false
                continue
            }
            if (worker.saveFeedersChecked(file))
                markClean(bank)
            else
                allSaved = false
        }
        return allSaved
    }

    // ---- run-only state
    property var runStates: FeederState.createRunStates()
    // The same plain object for a feeder until the run state is cleared.
    function runState(model, index) {
        return runStates.get(model, index)
    }
    // Sets one run-only value of a feeder (for windows and tools that hold
    // no reference to the state object).
    function setRunValue(model, index, name, value) {
        runStates.get(model, index)[String(name)] = value
    }
    function clearRunState() {
        runStates.clear()
    }
    function emptyDebugRings() {
        runStates.emptyDebugRings()
    }
}

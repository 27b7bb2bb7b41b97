import QtQuick 2.15
import "lib/settingsKeys.js" as SettingsKeys

// Reading and writing the settings store: every individual setting is a
// property of the main window of the same name, read and written by group
// through the main window's loadSetting and saveSetting signals; the
// nozzles, banks and packages are saved by the back end.
QtObject {
    id: settingsIo
    property var app

    // Reads every individual setting; the window positions only when they
    // are kept.
    function loadIndividual() {
        app.loadSetting("windows", "saveWindowsPos", app.saveWindowsPos)
        for (var g = 0; g < SettingsKeys.groups.length; ++g) {
            var group = SettingsKeys.groups[g]
            if (group.section === "windows" && !app.saveWindowsPos)
                continue
            for (var i = 0; i < group.names.length; ++i) {
                var name = group.names[i]
                if (SettingsKeys.percentFromSwitch.indexOf(name) >= 0)
                    loadPercent(group.section, name)
                else
                    app.loadSetting(group.section, name, app[name])
            }
        }
    }

    // A percentage that older stores kept as a switch.
    function loadPercent(section, name) {
        var stored = worker.storedSetting(section, name)
        var result = SettingsKeys.percentFromStored(stored, app[name])
        if (!result.ok)
            app.errorAdd(app.t + qsTr("Настройка %1/%2: неверное значение \"%3\" в файле настроек, взято %4")
                         .arg(section).arg(name).arg(String(stored)).arg(result.value))
        app[name] = result.value
    }

    function saveIndividual() {
        for (var g = 0; g < SettingsKeys.groups.length; ++g) {
            var group = SettingsKeys.groups[g]
            for (var i = 0; i < group.names.length; ++i) {
                if (SettingsKeys.isWritten(group.names[i]))
                    app.saveSetting(group.section, group.names[i])
            }
        }
        for (var w = 0; w < SettingsKeys.writtenOnly.length; ++w)
            app.saveSetting(SettingsKeys.writtenOnly[w].section, SettingsKeys.writtenOnly[w].name)
    }

    // Every setting: the individual ones, the nozzles and banks, the packages.
    function saveAll() {
        saveIndividual()
        app.saveSettings()
        app.savePackageSettings()
    }
}

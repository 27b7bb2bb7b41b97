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
            for (var i = 0; i < group.names.length; ++i)
                app.loadSetting(group.section, group.names[i], app[group.names[i]])
        }
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

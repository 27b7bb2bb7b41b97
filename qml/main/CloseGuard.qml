import QtQuick 2.15
import "machine"

// Closing the main window: refused while a nozzle is on the head until the
// operator confirms, then the changed project and bank files are offered for
// saving (or saved at once when nothing asks), and the settings are saved.
Item {
    id: guard
    property var app
    property var settingsIo
    // Set once the operator chose in the save-before-close window.
    property bool decided: false

    // Serves the main window's closing signal; `close` is its event.
    function closing(close) {
        if (app.currVC !== -1 && !app.closeAllowed) {
            nozzleOnHeadWarning.open()
            close.accepted = false
            return
        }
        if (!decided) {
            if (app.saveBeforeCloseOpen) {
                close.accepted = false
                return
            }
            if (app.projectActions.unsavedFiles().length > 0) {
                close.accepted = false
                app.saveBeforeClose.ask(function() {
                    decided = true
                    app.close()
                })
                return
            }
            app.saveAllFeeders()
            if (String(app.projectName) !== "")
                app.saveProject(app.projectName)
        }
        settingsIo.saveAll()
    }

    NozzleOnHeadWarning { id: nozzleOnHeadWarning; app: guard.app }
}

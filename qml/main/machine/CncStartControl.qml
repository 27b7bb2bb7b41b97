import QtQuick 2.15

// Starting and stopping LinuxCNC: from the menu, automatically 5 s after the
// program start (PCI card), and on the card watch's request (Ethernet card).
// After a stop a new start waits 10 s.
Item {
    id: control
    property var app
    // Seconds left before LinuxCNC may be started again.
    property int restartDelay: 0
    readonly property bool canStart: app.iniFileCorrect && !app.cncRunning && !app.cncStarting && restartDelay === 0

    function start() {
        if (!canStart)
            return
        app.cncStarting = true
        app.logAdd(app.t + qsTr("Запуск LinuxCNC..."), "yellow")
        app.runCnc(app.iniFile)
    }
    function stop() {
        app.stopCnc()
        restartDelay = 10
        delayTimer.restart()
    }
    // The card watch asks to start (true) or stop (false) LinuxCNC.
    function fromPing(run) {
        if (run && canStart)
            start()
        else if (!run && app.cncRunning)
            stop()
    }
    function checkIni() {
        if (app.iniFile !== "")
            app.iniFileCheck(app.iniFile)
    }

    Timer {
        id: delayTimer
        interval: 1000
        repeat: true
        onTriggered: {
            control.restartDelay = Math.max(0, control.restartDelay - 1)
            if (control.restartDelay === 0)
                stop()
        }
    }
    Timer {
        id: autoStartTimer
        interval: 5000
        onTriggered: {
            if (control.app.linuxCncAutoStart && control.app.iniMesaType !== "7i92")
                control.start()
        }
    }
    Connections {
        target: control.app
        function onSettingsLoadedChanged() {
            if (!control.app.settingsLoaded)
                return
            control.checkIni()
            control.app.linuxCncAutoStartSend(control.app.linuxCncAutoStart)
            autoStartTimer.start()
        }
        function onIniFileChanged() {
            if (control.app.settingsLoaded)
                control.checkIni()
        }
        function onLinuxCncAutoStartChanged() {
            if (control.app.settingsLoaded)
                control.app.linuxCncAutoStartSend(control.app.linuxCncAutoStart)
        }
    }
}

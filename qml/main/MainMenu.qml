import QtQuick 2.15
import QtQuick.Controls 1.4

// The menu of the start screen.
MenuBar {
    property var app

    Menu {
        title: app.t + qsTr("Файл")
        MenuItem {
            text: app.t + qsTr("Выход")
            onTriggered: app.quitProgram()
        }
    }
    Menu {
        title: app.t + qsTr("Машина")
        MenuItem {
            text: app.t + qsTr("Запустить LinuxCNC")
                  + (app.cncControl.restartDelay > 0 ? " (" + app.cncControl.restartDelay + ")" : "")
            enabled: app.cncControl.canStart
            onTriggered: app.cncControl.start()
        }
        MenuItem {
            text: app.t + qsTr("Остановить LinuxCNC")
            enabled: app.cncRunning
            onTriggered: app.cncControl.stop()
        }
        MenuSeparator {}
        MenuItem {
            text: app.t + qsTr("Включить машину")
            enabled: app.cncRunning && !app.machineOn
            onTriggered: app.setMachineOn(true)
        }
        MenuItem {
            text: app.t + qsTr("Выключить машину")
            enabled: app.cncRunning && app.machineOn
            onTriggered: app.setMachineOn(false)
        }
        MenuItem {
            text: app.t + qsTr("Аварийный стоп")
            enabled: app.cncRunning
            onTriggered: app.setEstop()
        }
    }
    Menu {
        title: app.t + qsTr("Окна")
        MenuItem {
            text: app.t + qsTr("Закрыть все окна") + "\tF12"
            onTriggered: app.closeAllToolWindows()
        }
    }
    Menu {
        title: app.t + qsTr("Язык")
        MenuItem {
            text: "Русский"
            checkable: true
            checked: app.lang === "ru"
            onTriggered: app.lang = "ru"
        }
        MenuItem {
            text: "English"
            checkable: true
            checked: app.lang === "en"
            onTriggered: app.lang = "en"
        }
    }
}

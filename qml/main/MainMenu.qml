import QtQuick 2.15
import QtQuick.Controls 1.4

// The menu of the start screen.
MenuBar {
    property var app
    // The items that open settings windows, for the tests.
    property alias machineSettingsItem: machineSettingsItem
    property alias cameraSettingsItem: cameraSettingsItem
    property alias nozzleSettingsItem: nozzleSettingsItem
    property alias passwordSettingsItem: passwordSettingsItem
    property alias windowsCameraSettingsItem: windowsCameraSettingsItem
    property alias executionInterfaceItem: executionInterfaceItem
    property alias checkInterfaceItem: checkInterfaceItem

    Menu {
        title: app.t + qsTr("Файл")
        MenuItem {
            text: app.t + qsTr("Новый проект")
            enabled: !app.executing
            onTriggered: app.projectActions.newProject()
        }
        MenuItem {
            text: app.t + qsTr("Открыть проект...")
            enabled: !app.executing
            onTriggered: app.projectActions.openProjectDialog()
        }
        MenuItem {
            text: app.t + qsTr("Сохранить проект")
            shortcut: "Ctrl+S"
            onTriggered: app.projectActions.saveProjectCurrent()
        }
        MenuItem {
            text: app.t + qsTr("Сохранить проект как...")
            onTriggered: app.projectActions.saveAsDialogOpen()
        }
        MenuSeparator {}
        MenuItem {
            text: app.t + qsTr("Обновить базу корпусов")
            onTriggered: app.loadPackageList()
        }
        MenuItem {
            text: app.t + qsTr("Подобрать питатели для компонентов")
            onTriggered: app.mapFeedersToElements(false)
        }
        MenuSeparator {}
        MenuItem {
            text: app.t + qsTr("Выход")
            onTriggered: app.quitProgram()
        }
    }
    Menu {
        title: app.t + qsTr("Проект")
        MenuItem {
            text: app.t + qsTr("Импорт списка компонентов (питатели уже настроены)...")
            onTriggered: app.elementListImportWindow.open()
        }
        MenuItem {
            text: app.t + qsTr("Импорт списка компонентов (одновременно с настройкой питателей)...")
            onTriggered: app.projectImportWindow.open()
        }
        MenuSeparator {}
        MenuItem {
            text: app.t + qsTr("Импорт списка питателей...")
            onTriggered: app.feederListImportWindow.open()
        }
        MenuItem {
            text: app.t + qsTr("Экспорт списка питателей...")
            onTriggered: app.feederExportSettings.open()
        }
        MenuSeparator {}
        MenuItem {
            text: app.t + qsTr("Статистика")
            onTriggered: app.projectStatisticsWindow.open()
        }
        MenuItem {
            text: app.t + qsTr("Статистика по дням")
            onTriggered: app.projectDayStatisticsWindow.open()
        }
        MenuItem {
            text: app.t + qsTr("Журнал проекта")
            onTriggered: app.projectLogWindow.open()
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
    // The machine and camera settings are behind the settings password.
    Menu {
        title: app.t + qsTr("Настройки")
        MenuItem {
            id: machineSettingsItem
            text: app.t + qsTr("Аппарат")
            onTriggered: app.openLocked("deviceSettings")
        }
        MenuItem {
            id: cameraSettingsItem
            text: app.t + qsTr("Камеры")
            onTriggered: app.openLocked("cameraSettings")
        }
        MenuItem {
            id: nozzleSettingsItem
            text: app.t + qsTr("Насадки")
            onTriggered: app.openLocked("nozzleSettings")
        }
        MenuSeparator {}
        MenuItem {
            id: passwordSettingsItem
            text: app.t + qsTr("Парольная защита...")
            onTriggered: app.showToolWindow("passwordSettings")
        }
    }
    Menu {
        title: app.t + qsTr("Окна")
        MenuItem {
            id: executionInterfaceItem
            text: app.t + qsTr("Прямое управление") + "\tF1"
            onTriggered: app.showToolWindow("executionInterface")
        }
        MenuItem {
            id: checkInterfaceItem
            text: app.t + qsTr("Визуальная проверка расстановки/программы") + "\tF3"
            onTriggered: app.showToolWindow("checkInterface")
        }
        MenuItem {
            text: app.t + qsTr("Оптическая инспекция")
            onTriggered: app.showToolWindow("aoiInterface")
        }
        MenuItem {
            text: app.t + qsTr("Расстановка компонентов") + "\tF4"
            onTriggered: app.showToolWindow("smtInterface")
        }
        MenuItem {
            text: app.t + qsTr("Камера на голове") + "\tF5"
            onTriggered: app.showCameraWindow(1)
        }
        MenuItem {
            text: app.t + qsTr("Камера корректировки компонентов") + "\tF6"
            onTriggered: app.showCameraWindow(2)
        }
        MenuItem {
            id: windowsCameraSettingsItem
            text: app.t + qsTr("Настройки камер")
            onTriggered: app.openLocked("cameraSettings")
        }
        MenuItem {
            text: app.t + qsTr("Калибровка рабочего поля аппарата")
            onTriggered: app.showToolWindow("fieldCalibration")
        }
        // The encoder windows change the machine configuration: behind the
        // settings password.
        MenuItem {
            id: encoderSettingsItem
            text: app.t + qsTr("Настройка энкодеров")
            onTriggered: app.openLocked("encoderSettings")
        }
        MenuItem {
            id: encoderCalibrationItem
            text: app.t + qsTr("Калибровка ремней и энкодерных лент")
            onTriggered: app.openLocked("encoderCalibration")
        }
        // Changes the camera positions and the placement correction: behind
        // the settings password.
        MenuItem {
            id: cameraAutoCalibrationItem
            text: app.t + qsTr("Автоматическая калибровка положения камер")
            onTriggered: app.openLocked("cameraAutoCalibration")
        }
        MenuItem {
            text: app.t + qsTr("Центрирование ленточных питателей по перфорациям")
            onTriggered: app.showToolWindow("tapeCentring")
        }
        MenuItem {
            text: app.t + qsTr("Датчик разрежения")
            onTriggered: app.showToolWindow("vsSettings")
        }
        MenuItem {
            text: app.t + qsTr("Измеритель RLC")
            onTriggered: app.showToolWindow("rlcSettings")
        }
        MenuItem {
            text: app.t + qsTr("Программатор")
            onTriggered: app.showToolWindow("programmerSettings")
        }
        MenuItem {
            text: app.t + qsTr("Вибропитатели")
            onTriggered: app.showToolWindow("vibroFeedersSettings")
        }
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

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "program.js" as Program

// The job screen ("Расстановка компонентов", F4): the program of the next
// run in a tree with a check box per operation and component line, and the
// controls of the run. The program is rebuilt 200 ms after the screen is
// shown.
BaseWindow {
    id: window
    property var app
    // The operations model of the back end ("opModel"), taken once the back
    // end has published it.
    property var jobModel: null
    function takeModel() {
        if (!jobModel && typeof opModel !== "undefined")
            jobModel = opModel
        return jobModel
    }

    title: app.t + qsTr("Расстановка компонентов")
    width: 1000
    height: 720
    minimumWidth: 760
    minimumHeight: 480

    // ---- the program (built by ProgramCreation)
    property alias creation: creation
    property alias refListMulti: creation.refListMulti
    property alias elementListMulti: creation.elementListMulti
    property alias epAA: creation.epAA
    property alias dotAA: creation.dotAA
    property alias minHeigthCompPCBCalculated: creation.minHeigthCompPCBCalculated
    property alias programCreated: creation.programCreated
    property alias componentsChanged: creation.componentsChanged
    readonly property int pcbMultiCountXCorr: app.pcbMulti ? creation.grid().cols : 1
    readonly property int pcbMultiCountYCorr: app.pcbMulti ? creation.grid().rows : 1

    function createProgram() { return creation.createProgram() }
    function createMultiPCBList(order) { return creation.createMultiPCBList(order) }
    function recalcUsedRefsBeforeRun() { creation.recalcUsedRefsBeforeRun() }
    function isFeederCorrect(model, number) { return creation.isFeederCorrect(model, number) }
    function isFeederCorrectErrorAdd(model, number) { return creation.isFeederCorrectErrorAdd(model, number) }
    function sortElements(a, b) { return creation.sortElements(a, b) }
    function sortDots(a, b) { return creation.sortDots(a, b) }
    function sortRefs(a, b) { return creation.sortRefs(a, b) }
    function sortElementsX(a, b) { return creation.sortElementsX(a, b) }
    function sortElementsY(a, b) { return creation.sortElementsY(a, b) }
    function feederName(model) { return app.t + Program.feederName(model) }

    // ---- run state shown by the screen
    property bool executing: false
    property bool paused: false
    property int lineToStart: 0
    property bool placingMissedComponents: false
    property var prevOpModel: []
    property int currPlacedComponents: 0
    property int pcbCounter: 0
    property int runSeconds: 0
    property string stopwatchText: "00:00:00"
    property bool lastRunFinished: true
    property int lastPlacedLine: 0
    property int lastPlacedLineCount: 0
    property string lastPlacedText: ""
    property bool operatorPanelShown: false
    property bool pcbMoveDialogShown: false
    property bool missedWindowShown: false
    readonly property bool homedAndCalibrated: app.machineHomed2
    // A run is a long activity of the machine; while it is paused the
    // operator may turn the feeder shafts.
    onExecutingChanged: app.setActivity("placement", executing)
    readonly property bool shaftsFree: executing && paused
    // Options of the run.
    property alias softPlacement: softPlacementBox.checked
    property alias keepFirstTapeComponent: keepFirstBox.checked
    property alias dontThrowToBasket: dontThrowBox.checked
    property alias feederDebugMode: feederDebugBox.checked

    readonly property bool startEnabled: executing || (homedAndCalibrated && !app.executing && !componentsChanged
                                                       && jobModel !== null && jobModel.rowCount > 0
                                                       && programCreated
                                                       && !missedWindowShown)
    readonly property bool pauseEnabled: executing && !operatorPanelShown && !pcbMoveDialogShown
    onPauseEnabledChanged: if (!pauseEnabled) paused = false
    readonly property real speedPercent: app.machineSpeed

    // The start/stop action: ignored while it is disabled; starts a run when
    // none runs, stops the running one otherwise.
    property int startRequests: 0
    function startStopF() {
        if (!startEnabled)
            return false
        if (executing)
            stop("user")
        else
            start()
        return true
    }
    // The run itself (walking the program's rows) is built on the waiters;
    // these are its entry points.
    function start() { startRequests += 1 }
    function stop(result) {
        app.jobPort.stopAll()
        executing = false
    }
    // The machine's start/pause key.
    function progStartBtnPressed() {
        if (!executing)
            startStopF()
        else if (pcbMoveDialogShown)
            return
        else if (!operatorPanelShown) {
            if (pauseEnabled)
                paused = !paused
        }
    }
    // The row being executed (the sequencer's current step), -1: none.
    property int currentRow: -1
    // The row being executed gets `text` in its "complete" column.
    function rowComplete(text) {
        if (jobModel && currentRow >= 0)
            jobModel.setComplete(currentRow, String(text))
    }
    // A machine error, losing the homed-and-calibrated state or switching
    // the machine off interrupts a run.
    Connections {
        target: window.app
        enabled: window.executing
        function onAppError() { window.stop() }
        function onMachineHomed2Changed() { if (!window.app.machineHomed2) window.stop() }
        function onMachineOnChanged() { if (!window.app.machineOn) window.stop() }
    }

    // Line number of the selected feeder row or component line (0: none).
    function selectedLine() {
        var index = view.currentIndex
        if (!jobModel)
            return 0
        return jobModel.getIsElementByIndex(index) ? jobModel.getLineNumberByIndex(index) : 0
    }

    Connections {
        target: app
        function onElementCountChanged() { creation.componentsChanged = true }
        function onInitVarChanged() { window.takeModel() }
    }

    ProgramCreation {
        id: creation
        app: window.app
        model: window.jobModel
    }

    Timer {
        id: createTimer
        interval: 200
        onTriggered: creation.createProgram()
    }

    onVisibleChanged: {
        creation.programCreated = false
        placingMissedComponents = false
        if (visible && takeModel()) {
            jobModel.clear()
            createTimer.restart()
        } else {
            createTimer.stop()
        }
    }

    Component.onCompleted: app.toolWindows.register("smtInterface", window)

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 6
        spacing: 6

        TreeView {
            id: view
            objectName: "jobTree"
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: window.jobModel
            selectionMode: SelectionMode.SingleSelection

            TableViewColumn {
                role: "enabled"
                title: ""
                width: 70
                delegate: Item {
                    CheckBox {
                        anchors.verticalCenter: parent.verticalCenter
                        partiallyCheckedEnabled: true
                        activeFocusOnPress: false
                        enabled: styleData.value !== 2 && !window.executing
                        checkedState: styleData.value === 1 || styleData.value === 2 ? Qt.Checked
                                    : styleData.value === 3 ? Qt.PartiallyChecked : Qt.Unchecked
                        MouseArea {
                            anchors.fill: parent
                            enabled: parent.enabled
                            onClicked: window.jobModel.cbClicked(styleData.index)
                        }
                    }
                }
            }
            TableViewColumn {
                role: "image"
                title: ""
                width: 34
                delegate: Item {
                    property string text: String(styleData.value)
                    property bool dot: text === "d1" || text === "d2"
                    property int rotAt: text.indexOf(" ROT:")
                    Rectangle {
                        visible: parent.dot
                        anchors.centerIn: parent
                        width: 14
                        height: 14
                        radius: 7
                        color: parent.text === "d1" ? app.d1Color : app.d2Color
                    }
                    Image {
                        visible: !parent.dot && source != ""
                        anchors.centerIn: parent
                        width: 22
                        height: 22
                        fillMode: Image.PreserveAspectFit
                        asynchronous: true
                        source: parent.dot || parent.text === "" || parent.text === "undefined" ? ""
                              : (parent.rotAt >= 0 ? parent.text.substr(0, parent.rotAt) : parent.text)
                        rotation: parent.rotAt >= 0 ? Number(parent.text.substr(parent.rotAt + 5)) : 0
                    }
                }
            }
            TableViewColumn { role: "op"; title: app.t + qsTr("Операция"); width: 600 }
            TableViewColumn { role: "complete"; title: app.t + qsTr("Выполнено"); width: 130 }
            TableViewColumn { role: "errorCount"; title: app.t + qsTr("Ошибок"); width: 80 }
        }

        RowLayout {
            Layout.fillWidth: true
            Button {
                objectName: "startButton"
                text: window.executing ? app.t + qsTr("Остановить")
                    : window.placingMissedComponents ? app.t + qsTr("Доустановить") : app.t + qsTr("Начать")
                enabled: window.startEnabled
                onClicked: {
                    window.lineToStart = 0
                    window.startStopF()
                }
            }
            Button {
                text: app.t + qsTr("Отмена")
                visible: window.placingMissedComponents && !window.executing
                onClicked: {
                    window.placingMissedComponents = false
                    for (var r = 0; r < window.prevOpModel.length; ++r)
                        for (var l = 0; l < window.prevOpModel[r].length; ++l)
                            window.jobModel.setEnabled(r, l, window.prevOpModel[r][l])
                }
            }
            Button {
                text: app.t + qsTr("Пауза")
                checkable: true
                checked: window.paused
                enabled: window.pauseEnabled
                onClicked: window.paused = !window.paused
            }
            Button {
                text: app.t + qsTr("Начать с выбранного компонента")
                enabled: window.startEnabled && !window.executing && window.selectedLine() > 0
                onClicked: {
                    window.lineToStart = window.selectedLine()
                    window.startStopF()
                }
            }
            Button {
                text: app.t + qsTr("Продолжить расстановку")
                visible: !window.lastRunFinished && window.lastPlacedLine > 0
                         && window.jobModel !== null && window.jobModel.lineCount === window.lastPlacedLineCount
                enabled: window.startEnabled && !window.executing
                onClicked: {
                    window.lineToStart = window.lastPlacedLine + 1
                    window.startStopF()
                }
            }
            Item { Layout.fillWidth: true }
        }

        GridLayout {
            Layout.fillWidth: true
            columns: 2
            Label {
                color: "white"
                text: app.t + qsTr("Установлено компонентов: ") + window.currPlacedComponents
            }
            Label {
                color: "white"
                text: window.currPlacedComponents > 0 && window.runSeconds > 0
                      ? app.t + qsTr("Средняя скорость: ")
                        + Math.round(window.currPlacedComponents * 3600 / window.runSeconds) + qsTr(" комп./час")
                      : ""
            }
            Label {
                color: "white"
                text: app.t + qsTr("Время выполнения: ") + window.stopwatchText
            }
            RowLayout {
                Label { color: "white"; text: app.t + qsTr("Ускорение:") }
                Slider {
                    id: speedSlider
                    objectName: "jobSpeedSlider"
                    Layout.fillWidth: true
                    minimumValue: 1
                    maximumValue: 100
                    stepSize: 1
                    updateValueWhileDragging: false
                    value: app.machineSpeedSliderValue
                    onValueChanged: if (value !== app.machineSpeedSliderValue) app.setMachineSpeedSlider(value)
                }
                Label { color: "white"; text: window.speedPercent.toFixed(2) + " %" }
            }
            RowLayout {
                Label { color: "white"; text: app.t + qsTr("Закончено плат: ") + window.pcbCounter }
                Button {
                    text: app.t + qsTr("Сброс")
                    visible: !resetAsk.visible
                    onClicked: resetAsk.visible = true
                }
                RowLayout {
                    id: resetAsk
                    visible: false
                    Label { color: "white"; text: app.t + qsTr("Вы уверены?") }
                    Button {
                        text: app.t + qsTr("Да")
                        onClicked: {
                            window.pcbCounter = 0
                            resetAsk.visible = false
                        }
                    }
                    Button {
                        text: app.t + qsTr("Нет")
                        onClicked: resetAsk.visible = false
                    }
                }
            }
            Label {
                color: "white"
                text: window.lastPlacedText
            }
        }

        Component {
            id: optionStyle
            CheckBoxStyle {
                label: Text {
                    color: "white"
                    text: control.text
                }
            }
        }
        ColumnLayout {
            CheckBox {
                id: softPlacementBox
                style: optionStyle
                text: app.t + qsTr("Мягкая установка компонентов на плату")
            }
            CheckBox {
                id: keepFirstBox
                style: optionStyle
                text: app.t + qsTr("Не освобождать первый компонент из ленточных питателей")
            }
            CheckBox {
                id: dontThrowBox
                style: optionStyle
                text: app.t + qsTr("Не сбрасывать в корзину")
            }
            CheckBox {
                id: feederDebugBox
                style: optionStyle
                text: app.t + qsTr("Режим отладки ленточных питателей и вибропитателей")
            }
        }
    }
}

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
    function createMultiPCBList(order, firstBoardOnly) { return creation.createMultiPCBList(order, firstBoardOnly) }
    function recalcUsedRefsBeforeRun() { creation.recalcUsedRefsBeforeRun() }
    function isFeederCorrect(model, number) { return creation.isFeederCorrect(model, number) }
    function isFeederCorrectErrorAdd(model, number) { return creation.isFeederCorrectErrorAdd(model, number) }
    function sortElements(a, b) { return creation.sortElements(a, b) }
    function sortDots(a, b) { return creation.sortDots(a, b) }
    function sortRefs(a, b) { return creation.sortRefs(a, b) }
    function sortElementsX(a, b) { return creation.sortElementsX(a, b) }
    function sortElementsY(a, b) { return creation.sortElementsY(a, b) }
    function feederName(model) { return app.t + Program.feederName(model) }

    // ---- the run (run control is the sequencer of the job port; this screen
    // holds its state and shows it)
    readonly property var sequencer: app.jobPort.sequencer
    property bool executing: false
    property bool paused: false
    property int lineToStart: 0
    property bool placingMissedComponents: false
    property var prevOpModel: []
    property int currPlacedComponents: 0
    // Finished boards; kept when another project is loaded, reset by the operator.
    property int pcbCounter: 0
    property bool lastRunFinished: true
    property int lastPlacedLine: 0
    property int lastPlacedLineCount: 0
    property string lastPlacedText: ""
    property int missedCount: 0
    // The nozzle warning: armed each time the screen is shown, disarmed by every stop.
    property bool cupWarning: false
    // The operator panel shown (see panels.js), or null.
    property var panel: null
    property bool operatorPanelShown: false
    property bool pcbMoveDialogShown: false
    property bool missedWindowShown: false
    property bool nozzleConfirmShown: false
    // The feeder record, placement and dot that the current step works on.
    property var currFeeder: null
    property var currEp: null
    property var currDot: null
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
    // The feeder debug mode starts from empty rings of pick offsets.
    onFeederDebugModeChanged: if (feederDebugMode) app.feederState.emptyDebugRings()

    readonly property bool startEnabled: executing || (homedAndCalibrated && !app.executing && !componentsChanged
                                                       && jobModel !== null && jobModel.rowCount > 0
                                                       && programCreated
                                                       && !missedWindowShown)
    readonly property bool pauseEnabled: executing && !operatorPanelShown && !pcbMoveDialogShown
    onPauseEnabledChanged: if (!pauseEnabled) paused = false
    readonly property real speedPercent: app.machineSpeed

    // The start/stop action, the run's entry points and the machine's
    // start/pause key.
    function startStopF() { return sequencer.startStopF() }
    function start() { sequencer.start() }
    function stop(result) { sequencer.stop(result) }
    function make(step) { sequencer.make(step) }
    function progStartBtnPressed() { sequencer.progStartBtnPressed() }
    function rowComplete(text) { sequencer.rowComplete(text) }

    // Shows the row being executed: selected and scrolled into view.
    function selectRow(row) {
        if (!jobModel || !view.__model || !view.__listView)
            return
        for (var i = 0; i < view.__listView.count; ++i) {
            var index = view.__model.mapRowToModelIndex(i)
            if (index.row === row && !index.parent.valid) {
                view.__currentRow = i
                view.__listView.positionViewAtIndex(i, ListView.Contain)
                return
            }
        }
    }

    // "Продолжить расстановку" is offered after a run that did not finish
    // (re-evaluated whenever one of the facts it rests on changes).
    readonly property bool continueAvailable: {
        void (lastRunFinished, lastPlacedLine, lastPlacedLineCount, executing)
        void (jobModel !== null ? jobModel.lineCount : 0)
        return sequencer !== null && sequencer.continueAvailable()
    }

    // The components a run skipped ("missedModel").
    function missedJobModel() { return typeof missedModel !== "undefined" ? missedModel : null }
    function showMissedWindow(shown) {
        if (shown)
            missedWindow.open()
        else
            missedWindow.close()
    }
    function showNozzleConfirm(shown) {
        if (shown)
            nozzleConfirm.open()
        else
            nozzleConfirm.close()
    }
    MissedComponentsWindow {
        id: missedWindow
        app: window.app
        jobScreen: window
    }
    NozzleConfirmWindow {
        id: nozzleConfirm
        app: window.app
        jobScreen: window
    }
    property alias missedWindow: missedWindow
    property alias nozzleConfirm: nozzleConfirm

    // Closing is refused while a run, the nozzle confirmation or the
    // missed-components window is in progress.
    Connections {
        target: window
        function onClosing(close) {
            if (window.executing || window.nozzleConfirmShown || window.missedWindowShown)
                close.accepted = false
        }
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
        objectName: "programCreation"
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
        if (visible && app.cupWarningEnabled)
            cupWarning = true
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

        OperatorPanel {
            objectName: "operatorPanel"
            Layout.fillWidth: true
            app: window.app
            panel: window.panel
            onButtonClicked: window.sequencer.panelButton(id)
        }

        RowLayout {
            Layout.fillWidth: true
            Button {
                objectName: "startButton"
                text: window.executing ? app.t + qsTr("Остановить")
                    : window.placingMissedComponents ? app.t + qsTr("Доустановить") : app.t + qsTr("Начать")
                enabled: window.startEnabled
                onClicked: window.sequencer.startFrom(0)
            }
            Button {
                objectName: "cancelSecondPassButton"
                text: app.t + qsTr("Отмена")
                visible: window.placingMissedComponents && !window.executing
                onClicked: window.sequencer.leaveSecondPass()
            }
            Button {
                objectName: "pauseButton"
                text: app.t + qsTr("Пауза")
                checkable: true
                checked: window.paused
                enabled: window.pauseEnabled
                onClicked: {
                    window.sequencer.togglePause()
                    checked = Qt.binding(function() { return window.paused })
                }
            }
            Button {
                objectName: "startFromSelectionButton"
                text: app.t + qsTr("Начать с выбранного компонента")
                enabled: window.startEnabled && !window.executing && window.selectedLine() > 0
                onClicked: window.sequencer.startFrom(window.selectedLine())
            }
            Button {
                objectName: "continueButton"
                text: app.t + qsTr("Продолжить расстановку")
                visible: window.continueAvailable
                enabled: window.startEnabled && !window.executing
                onClicked: window.sequencer.continueFromLastPlaced()
            }
            Item { Layout.fillWidth: true }
        }

        GridLayout {
            Layout.fillWidth: true
            columns: 2
            Label {
                objectName: "placedText"
                color: "white"
                text: app.t + qsTr("Установлено компонентов: ") + window.currPlacedComponents
            }
            Label {
                objectName: "rateText"
                color: "white"
                text: window.currPlacedComponents > 0 && app.stopwatchTimeInt > 0
                      ? app.t + qsTr("Средняя скорость: ")
                        + Math.round(window.currPlacedComponents * 3600 / app.stopwatchTimeInt) + qsTr(" комп./час")
                      : ""
            }
            Label {
                objectName: "runTimeText"
                color: "white"
                text: app.t + qsTr("Время выполнения: ") + app.stopwatchTime
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
                Label {
                    objectName: "pcbCounterText"
                    color: "white"
                    text: app.t + qsTr("Закончено плат: ") + window.pcbCounter
                }
                Button {
                    objectName: "pcbCounterResetButton"
                    text: app.t + qsTr("Сброс")
                    visible: !resetAsk.visible
                    onClicked: resetAsk.visible = true
                }
                RowLayout {
                    id: resetAsk
                    visible: false
                    Label { color: "white"; text: app.t + qsTr("Вы уверены?") }
                    Button {
                        objectName: "pcbCounterResetYes"
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
                objectName: "lastPlacedText"
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

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/feeders.js" as Feeders
import "../../job/waiters.js" as Waiters
import "../../job/tapeCentring.js" as Tape
import "../../job/tapeCentringSteps.js" as Steps

// "Центрирование ленточных питателей по перфорациям": the pick points of the
// tape feeders of one bank, corrected from the sprocket holes of their
// tapes (job/tapeCentringSteps.js does the work). While the window is shown
// and nothing runs, the head camera searches for holes with the window's
// thresholds; the arrow keys jog the machine as in the direct control.
BaseWindow {
    id: window
    objectName: "tapeCentring"
    property var app

    title: app.t + qsTr("Центрирование ленточных питателей по перфорациям")
    width: 640
    height: 620

    // The bank ("B", "U", "R", "L") and the range: feeders first ... end - 1.
    property string currBankModel: "B"
    property int rangeFirst: 0
    property int rangeEnd: feederCount
    readonly property int feederCount: Number(app["feederCount" + currBankModel]) || 0
    onFeederCountChanged: {
        if (!running) {
            rangeFirst = Math.min(rangeFirst, Math.max(0, feederCount - 1))
            rangeEnd = feederCount
        }
    }
    onCurrBankModelChanged: {
        rangeFirst = 0
        rangeEnd = feederCount
    }

    // The state of the steps (see tapeCentringSteps.js).
    property bool running: false
    property string error: ""
    property bool manual: false
    property bool secondThreshold: false
    property int feeder: -1
    readonly property bool canStart: !running && app.calibrated && !app.executing && rangeEnd > rangeFirst

    property var waiters: null
    property var engine: null
    property var port: null
    property int viewTypeBefore: 0

    property ListModel log: ListModel {}

    readonly property var bankLetters: ["B", "U", "R", "L"]

    function stateGet(s) {
        var was = running
        running = s.running
        error = s.error
        manual = s.manual
        secondThreshold = s.secondThreshold
        feeder = s.feeder
        app.machineState.tapeCentringHalted = running && error !== ""
        if (was && !running)
            finished()
    }

    function start() {
        if (!canStart || !engine)
            return false
        log.clear()
        viewTypeBefore = Number(app.camera1ViewType)
        app.camera1ViewType = 2
        app.showCameraWindow(1)
        app.setActivity("tapeCentring", true)
        engine.start(currBankModel, rangeFirst, rangeEnd)
        return true
    }
    function stop() {
        if (!running)
            return
        engine.stopAll()
        waiters.stopAll()
    }
    // After the last feeder or a stop: the pick points found are saved with
    // their bank, the camera shows what it showed before.
    function finished() {
        app.setActivity("tapeCentring", false)
        app.machineState.tapeCentringHalted = false
        app.jobPort.markPort.crossHair(false)
        app.camera1ViewType = viewTypeBefore
        app.saveDirtyFeeders()
        loadCameraSettings()
    }

    function continueSearch() { return engine.continueSearch() }
    function skip() { return engine.skip() }
    function manualStart() {
        if (!engine.manual())
            return false
        app.camera1ViewType = 0
        app.jobPort.markPort.crossHair(true)
        takeKeys()
        return true
    }
    function manualDone() {
        if (!engine.manualDone())
            return false
        app.jobPort.markPort.crossHair(false)
        if (running)
            app.camera1ViewType = 2
        return true
    }

    // The hole search put on the head camera while the window is shown and
    // nothing runs, so that the operator sees what it finds.
    function loadCameraSettings() {
        if (!visible || running || !app.headCameraRequest)
            return
        var bank = app.bandBankModel.count > 0 ? app.bandBankModel.get(0) : null
        var s = Tape.cameraSettings({ "pixelsPerMm": app.camera1PPMCorr, "frameWidth": cameraFrameWidth(),
                                      "threshold": app.bandACCamera1Y1, "height": bank ? Number(bank.zShift) : 0,
                                      "exposure": app.camera1Exposure })
        app.jobPort.markPort.loadedKey = ""
        app.headCameraRequest.load(app.jobPort.markPort.cameraSettings(s))
    }
    function cameraFrameWidth() {
        var camera = app.headCameraRequest ? app.headCameraRequest.camera : null
        return camera && Number(camera.frameWidth) > 0 ? Number(camera.frameWidth) : 1280
    }

    function setThreshold(name, value) {
        app[name] = Math.round(value)
        app.saveSetting("device", name)
        loadCameraSettings()
    }

    // ---- keys: the direct control's jog handler serves them
    function takeKeys() { keys.forceActiveFocus() }
    onVisibleChanged: {
        if (visible) {
            threshold1.value = app.bandACCamera1Y1
            threshold2.value = app.bandACCamera1Y2
            takeKeys()
            loadCameraSettings()
        } else {
            app.executionInterface.stopAllJogs()
        }
    }

    // The window stays while centring.
    Connections {
        target: window
        function onClosing(close) {
            if (window.running)
                close.accepted = false
        }
    }
    // Losing calibration, or any machine error, stops the centring.
    Connections {
        target: window.app
        enabled: window.running
        function onCalibratedChanged() { if (!window.app.calibrated) window.stop() }
        function onAppError() { window.stop() }
    }

    Item {
        id: keys
        anchors.fill: parent
        focus: true
        Keys.onPressed: window.app.executionInterface.handleKey(event, true)
        Keys.onReleased: window.app.executionInterface.handleKey(event, false)
        onActiveFocusChanged: if (!activeFocus) window.app.executionInterface.stopAllJogs()
        MouseArea {
            anchors.fill: parent
            onPressed: {
                window.takeKeys()
                mouse.accepted = false
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        RowLayout {
            enabled: !window.running
            Label { color: "white"; text: app.t + qsTr("Банк питателей: ") }
            ComboBox {
                objectName: "bankBox"
                model: window.bankLetters.map(function(b) { return app.feederBanks.sideName(b) })
                currentIndex: window.bankLetters.indexOf(window.currBankModel)
                onActivated: window.currBankModel = window.bankLetters[index]
            }
        }
        RowLayout {
            enabled: !window.running
            Label { color: "white"; text: app.t + qsTr("Питатели с №") }
            SpinBox {
                objectName: "firstBox"
                minimumValue: 1
                maximumValue: Math.max(1, window.feederCount)
                // Read again when the maximum grows: a value set before it
                // was cut down to the old maximum.
                value: Math.min(window.rangeFirst + 1, maximumValue)
                onEditingFinished: window.rangeFirst = Math.min(value - 1, Math.max(0, window.rangeEnd - 1))
            }
            Label { color: "white"; text: app.t + qsTr("по №") }
            SpinBox {
                objectName: "lastBox"
                minimumValue: 1
                maximumValue: Math.max(1, window.feederCount)
                value: Math.min(Math.max(1, window.rangeEnd), maximumValue)
                onEditingFinished: window.rangeEnd = Math.max(value, window.rangeFirst + 1)
            }
        }
        GridLayout {
            columns: 3
            enabled: !window.running
            Label { color: "white"; text: app.t + qsTr("Порог поиска контуров 1 (для белых лент):") }
            Slider {
                id: threshold1
                objectName: "threshold1"
                minimumValue: 150
                maximumValue: 250
                stepSize: 1
                updateValueWhileDragging: false
                onValueChanged: if (window.visible && value !== app.bandACCamera1Y1) window.setThreshold("bandACCamera1Y1", value)
            }
            Label { color: "white"; text: Math.round(threshold1.value) }
            Label { color: "white"; text: app.t + qsTr("Порог поиска контуров 2 (для черных лент):") }
            Slider {
                id: threshold2
                objectName: "threshold2"
                minimumValue: 100
                maximumValue: Math.max(101, threshold1.value - 10)
                stepSize: 1
                updateValueWhileDragging: false
                onValueChanged: if (window.visible && value !== app.bandACCamera1Y2) window.setThreshold("bandACCamera1Y2", value)
            }
            Label { color: "white"; text: Math.round(threshold2.value) }
        }
        RowLayout {
            Button {
                objectName: "startButton"
                text: window.running ? app.t + qsTr("Остановить") : app.t + qsTr("Начать")
                enabled: window.running || window.canStart
                onClicked: window.running ? window.stop() : window.start()
            }
            Label {
                color: "white"
                visible: window.running
                text: app.t + qsTr("Питатель №%1").arg(window.feeder + 1)
            }
        }

        // A hole not found: the operator decides.
        ColumnLayout {
            visible: window.running && window.error !== ""
            Layout.fillWidth: true
            Label {
                objectName: "errorText"
                Layout.fillWidth: true
                wrapMode: Text.WordWrap
                color: "yellow"
                text: window.manual
                      ? app.t + qsTr("Откорректируйте центр взятия компонента вручную, с помощью стрелок на клавиатуре (Ctrl и стрелка: один шаг энкодера), и нажмите \"Указать и продолжить\".")
                      : app.t + Tape.notFoundText() + " "
                        + qsTr("Нажмите \"Продолжить\", чтобы искать перфорацию снова, \"Пропустить\", чтобы перейти к следующему питателю, или \"Указать вручную\", чтобы указать центр взятия компонента с помощью камеры.")
            }
            RowLayout {
                Button {
                    objectName: "continueButton"
                    visible: !window.manual
                    text: app.t + qsTr("Продолжить")
                    onClicked: window.continueSearch()
                }
                Button {
                    objectName: "skipButton"
                    text: app.t + qsTr("Пропустить")
                    onClicked: window.skip()
                }
                Button {
                    objectName: "manualButton"
                    visible: !window.manual
                    text: app.t + qsTr("Указать вручную")
                    onClicked: window.manualStart()
                }
                Button {
                    objectName: "manualDoneButton"
                    visible: window.manual
                    enabled: app.gCodeDone
                    text: app.t + qsTr("Указать и продолжить")
                    onClicked: window.manualDone()
                }
            }
        }

        ListView {
            objectName: "logView"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: window.log
            delegate: Text {
                width: ListView.view.width
                wrapMode: Text.WordWrap
                color: model.colour
                text: model.text
            }
        }
        RowLayout {
            Item { Layout.fillWidth: true }
            Button {
                text: app.t + qsTr("Закрыть")
                enabled: !window.running
                onClicked: window.close()
            }
        }
    }

    Component.onCompleted: {
        waiters = Waiters.create(app.jobPort.port)
        // The job's port with the feeders, the log and the camera's frame
        // width of this window.
        var p = Object.create(app.jobPort.port)
        p.tapeFeeder = function(bank, index) { return window.app.getFeeder(bank, index) }
        p.checkTapeFeeder = function(bank, index) { return window.app.smtInterface.creation.isFeederCorrect(bank, index) }
        p.setFeederPick = function(bank, index, x, y) {
            window.app.setFeederValue(bank, index, "caseX", x)
            window.app.setFeederValue(bank, index, "caseY", y)
        }
        p.cameraFrameWidth = function() { return window.cameraFrameWidth() }
        p.log = function(text, colour) { window.log.append({ "text": app.t + text, "colour": String(colour || "white") }) }
        port = p
        engine = Steps.create(p, waiters, stateGet)
        app.toolWindows.register("tapeCentring", window)
    }
}

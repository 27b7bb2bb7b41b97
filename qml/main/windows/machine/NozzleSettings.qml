import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../job/waiters.js" as Waiters
import "../../job/nozzleBaseCalibration.js" as Base
import "../../job/nozzleBaseSteps.js" as Steps

// "Настройки насадок": the nozzle base (kind, number of nozzles, the pitch
// of its slots, where a nozzle is clear of its slot or the bottom of the
// base), the take and return G-code of every nozzle, and in debug mode the
// automatic measurement of the slots (job/nozzleBaseSteps.js), which
// writes both G-codes of every nozzle when the operator keeps its result.
BaseWindow {
    id: window
    objectName: "nozzleSettings"
    property var app

    title: app.t + qsTr("Настройки насадок")
    width: 680
    height: 660

    property var waiters: null
    property var engine: null

    property bool measuring: false
    // The result kept until "Сохранить" or "Отмена" (see nozzleBaseSteps.js).
    property var result: null
    property string message: ""
    property string messageColour: "white"

    // The nozzle shown in the G-code editors (from 0).
    property int nozzle: 0
    readonly property int nozzleCount: Math.max(1, Math.min(8, Number(app.vcCount) || 1))
    readonly property var cup: nozzle < app.cupModel.count ? app.cupModel.get(nozzle) : null

    // The button is there only in debug mode, with both XY encoders present
    // and switched on; it starts with the machine calibrated and the head
    // more than 5 mm below the top of the Z range.
    readonly property bool autoShown: app.debugMode === true
    readonly property bool encodersReady: app.encXexist && app.encXEnabled && app.encYexist && app.encYEnabled
    readonly property bool canStart: app.calibrated && !app.executing
                                     && Number(app.jointPos[2]) < Number(app.workAreaZ2) - 5
    readonly property bool editable: !measuring && result === null

    function saveSetting(name, value) {
        app[name] = value
        app.saveSetting("device", name)
    }
    function setCupText(role, text) {
        if (!cup || !editable)
            return
        app.cupModel.setProperty(nozzle, role, String(text))
        app.saveSettings()
    }

    function startAuto() {
        if (measuring || !autoShown || !encodersReady || !canStart || !engine)
            return false
        result = null
        message = ""
        measuring = true
        app.setActivity("nozzleCalibration", true)
        engine.calibrate(autoDone)
        return true
    }
    function autoDone(r) {
        measuring = false
        app.setActivity("nozzleCalibration", false)
        if (!r.ok) {
            message = app.t + r.text
            messageColour = "red"
            app.errorMessage(app.t + r.text, false, "")
            return
        }
        result = r
        message = app.t + Base.successText() + "\n" + r.text
        messageColour = "white"
    }
    // "Стоп": no result.
    function stopAuto() {
        if (!measuring)
            return
        engine.stopAll()
        waiters.stopAll()
        measuring = false
        app.setActivity("nozzleCalibration", false)
        message = ""
    }

    // "Сохранить": the take and return G-code of every nozzle from the result.
    function saveResult() {
        if (result === null)
            return false
        var texts = Base.allNozzleTexts(result, app.vcX2, app.vcZBottom)
        if (texts === null || texts.length > app.cupModel.count) {
            app.errorMessage(app.t + qsTr("Ошибка при автокалибровке насадок! Неверные координаты."), false, "")
            return false
        }
        takeEditor.focus = false
        setupEditor.focus = false
        for (var i = 0; i < texts.length; ++i) {
            app.cupModel.setProperty(i, "takeM", texts[i].takeM)
            app.cupModel.setProperty(i, "setupM", texts[i].setupM)
        }
        app.saveSettings()
        result = null
        message = ""
        return true
    }
    function discardResult() {
        result = null
        message = ""
    }

    // Losing calibration, a machine error or the machine switched off stop
    // the measurement.
    Connections {
        target: window.app
        enabled: window.measuring
        function onCalibratedChanged() { if (!window.app.calibrated) window.stopAuto() }
        function onMachineOnChanged() { if (!window.app.machineOn) window.stopAuto() }
        function onAppError() { window.stopAuto() }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        GridLayout {
            columns: 2
            enabled: window.editable
            Label { color: "white"; text: app.t + qsTr("База насадок:") }
            ComboBox {
                objectName: "baseTypeBox"
                // Wide enough for the longest base name.
                Layout.minimumWidth: 180
                model: [app.t + qsTr("KESTRAVO 6 шт."), app.t + qsTr("JUKI 8 шт.")]
                currentIndex: Number(app.cupBaseType) === 1 ? 1 : 0
                onActivated: window.saveSetting("cupBaseType", index)
            }
            Label { color: "white"; text: app.t + qsTr("Количество насадок:") }
            SpinBox {
                objectName: "countBox"
                minimumValue: 1
                maximumValue: 8
                value: window.nozzleCount
                onEditingFinished: window.saveSetting("vcCount", value)
            }
            Label { color: "white"; text: app.t + qsTr("ΔX между насадками=0;") }
            Item { width: 1; height: 1 }
            Label { color: "white"; text: app.t + qsTr("ΔY между насадками:") }
            SpinBox {
                objectName: "pitchBox"
                decimals: 2
                minimumValue: -500
                maximumValue: 500
                value: Number(app.vcdY)
                onEditingFinished: window.saveSetting("vcdY", value)
            }
            Label {
                visible: Number(app.cupBaseType) !== 1
                color: "white"
                text: app.t + qsTr("X-координата отвода насадки:")
            }
            SpinBox {
                objectName: "clearXBox"
                visible: Number(app.cupBaseType) !== 1
                decimals: 1
                minimumValue: 10
                maximumValue: 100
                value: Number(app.vcX2)
                onEditingFinished: window.saveSetting("vcX2", value)
            }
            Label {
                visible: Number(app.cupBaseType) === 1
                color: "white"
                text: app.t + qsTr("Z-координата дна базы:")
            }
            SpinBox {
                objectName: "bottomZBox"
                visible: Number(app.cupBaseType) === 1
                decimals: 1
                minimumValue: Number(app.workAreaZ1)
                maximumValue: Math.max(Number(app.workAreaZ1), Number(app.workAreaZ2) - 10)
                value: Number(app.vcZBottom)
                onEditingFinished: window.saveSetting("vcZBottom", value)
            }
        }

        // The G-code of one nozzle.
        RowLayout {
            Label { color: "white"; text: app.t + qsTr("Насадка:") }
            ComboBox {
                objectName: "nozzleBox"
                model: {
                    var names = []
                    for (var i = 0; i < window.nozzleCount; ++i)
                        names.push(String(i + 1))
                    return names
                }
                currentIndex: Math.min(window.nozzle, window.nozzleCount - 1)
                onActivated: window.nozzle = index
            }
        }
        GridLayout {
            columns: 2
            Layout.fillWidth: true
            Label { color: "white"; text: app.t + qsTr("G-код взятия:") }
            Label { color: "white"; text: app.t + qsTr("G-код установки:") }
            TextArea {
                id: takeEditor
                objectName: "takeEditor"
                Layout.fillWidth: true
                Layout.preferredHeight: 170
                readOnly: !window.editable
                text: window.cup ? String(window.cup.takeM) : ""
                onEditingFinished: window.setCupText("takeM", text)
            }
            TextArea {
                id: setupEditor
                objectName: "setupEditor"
                Layout.fillWidth: true
                Layout.preferredHeight: 170
                readOnly: !window.editable
                text: window.cup ? String(window.cup.setupM) : ""
                onEditingFinished: window.setCupText("setupM", text)
            }
        }

        RowLayout {
            visible: window.autoShown
            Button {
                objectName: "autoButton"
                text: window.measuring ? app.t + qsTr("Стоп") : app.t + qsTr("Автокалибровка насадок")
                enabled: window.encodersReady && (window.measuring || (window.canStart && window.result === null))
                onClicked: window.measuring ? window.stopAuto() : window.startAuto()
            }
        }
        Label {
            objectName: "resultText"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            visible: text !== ""
            color: window.messageColour
            text: window.message
        }
        Label {
            objectName: "warningText"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            visible: window.result !== null
            color: "yellow"
            text: app.t + Base.warningText()
        }
        RowLayout {
            visible: window.result !== null
            Button {
                objectName: "saveResult"
                text: app.t + qsTr("Сохранить")
                onClicked: window.saveResult()
            }
            Button {
                objectName: "discardResult"
                text: app.t + qsTr("Отмена")
                onClicked: window.discardResult()
            }
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Item { Layout.fillWidth: true }
            Button {
                text: app.t + qsTr("Закрыть")
                enabled: !window.measuring
                onClicked: window.close()
            }
        }
    }

    Connections {
        target: window
        function onClosing(close) {
            if (window.measuring)
                close.accepted = false
        }
    }

    Component.onCompleted: {
        waiters = Waiters.create(app.jobPort.port)
        // The job's port with the divergences, the E-stop and the speed slider.
        var p = Object.create(app.jobPort.port)
        p.divergence = function(axis) {
            return Number(axis === 0 ? window.app.encStepperXDiv : window.app.encStepperYDiv)
        }
        p.estop = function() { window.app.setEstop() }
        p.setSpeedSlider = function(v) { window.app.setMachineSpeedSlider(v) }
        engine = Steps.create(p, waiters, null)
        app.toolWindows.register("nozzleSettings", window)
    }
}

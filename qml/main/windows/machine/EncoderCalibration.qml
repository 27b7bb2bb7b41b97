import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/encoderCalibration.js" as Enc
import "../../job/waiters.js" as Waiters
import "../../job/encoderAutoCalibration.js" as AutoCalibration

// "Калибровка ремней и энкодерных лент": the belt (steps per unit) and
// encoder strip (counts per unit) scales of X and Y, measured against an
// object of known size by hand ("Ручной") or against three marks on the table
// with the head camera ("Автоматический"), and written into the machine
// configuration, where LinuxCNC takes them at its next start.
BaseWindow {
    id: window
    objectName: "encoderCalibration"
    property var app
    readonly property var enc: app.encoderState

    title: app.t + qsTr("Калибровка ремней и энкодерных лент")
    width: 640
    height: 560

    // 0 "Ручной", 1 "Автоматический".
    property int calibType: 0
    property bool calibrateBelt: true
    property bool calibrateStrip: true
    // The axis of the manual calibration: 0 X, 1 Y.
    property int axis: 0

    // Manual calibration: readings at the start, the verdict at the end.
    property bool manualStarted: false
    property var manualStart: null
    property var manualResult: null
    property int manualAxis: 0
    // Automatic calibration.
    property bool autoRunning: false
    property var autoResult: null

    property string resultText: ""
    property string resultColour: "white"
    property string noticeText: ""

    property var waiters: null
    property var engine: null

    readonly property bool canStart: app.machineHomed && !manualStarted && !autoRunning && (calibrateBelt || calibrateStrip)
    readonly property var letters: ["X", "Y"]

    function readings(a) {
        return a === 0 ? { "enc": enc.encX, "motor": enc.stepperX } : { "enc": enc.encY, "motor": enc.stepperY }
    }
    function showResult(text, colour) {
        resultText = text
        resultColour = colour || "white"
    }
    function axisLength(a) {
        return a === 0 ? Number(app.workAreaX2) - Number(app.workAreaX1) : Number(app.workAreaY2) - Number(app.workAreaY1)
    }
    function setSize(name, value, a) {
        var v = Enc.calibSizeValue(value, axisLength(a))
        if (v === null)
            return false
        app[name] = v
        app.saveSetting("device", name)
        return true
    }

    // ---- manual calibration
    // "Указать начало": the readings of the axis; the field correction goes
    // off for the measurement (the operator is reminded to switch it on).
    function markStart() {
        if (!canStart)
            return false
        manualAxis = axis
        manualStart = readings(axis)
        manualResult = null
        autoResult = null
        manualStarted = true
        noticeText = ""
        if (app.fieldCalibrationEnabled) {
            app.fieldCalibrationEnabled = false
            app.fieldCalibrationEnableSend(false)
            noticeText = app.t + qsTr("После калибровки, не забудьте активировать калибровку рабочего поля аппарата.")
        }
        showResult(app.t + qsTr("Переместите камеру к другому концу калибровочного объекта и нажмите \"Указать конец\"."))
        return true
    }
    // "Указать конец": the readings again, and the verdict.
    function markEnd() {
        if (!manualStarted)
            return false
        var e = readings(manualAxis)
        manualStarted = false
        var r = Enc.manualResult({
            "axis": manualAxis, "size": app.encCalibSize, "encoder": calibrateStrip, "stepper": calibrateBelt,
            "encStart": manualStart.enc, "encEnd": e.enc, "motorStart": manualStart.motor, "motorEnd": e.motor,
            "encoderScale": manualAxis === 0 ? enc.encoderScaleX : enc.encoderScaleY,
            "stepperScale": manualAxis === 0 ? enc.stepperScaleX : enc.stepperScaleY
        })
        manualResult = r
        showResult(app.t + r.text, r.good ? "lightgreen" : (r.acceptable ? "yellow" : "red"))
        return true
    }

    // ---- automatic calibration
    function startAuto() {
        if (!canStart || !engine)
            return false
        manualResult = null
        autoResult = null
        autoRunning = true
        app.setActivity("encoderCalibration", true)
        showResult(app.t + qsTr("Автокалибровка..."))
        engine.calibrate({ "sizeX": app.encAutoCalibSizeX, "sizeY": app.encAutoCalibSizeY,
                           "encoder": calibrateStrip, "stepper": calibrateBelt }, autoDone)
        return true
    }
    function autoDone(r) {
        autoRunning = false
        app.setActivity("encoderCalibration", false)
        if (!r.ok) {
            showResult(app.t + r.text, "red")
            app.errorMessage(app.t + r.text, false, "")
            return
        }
        autoResult = r
        showResult(app.t + r.text, r.colour)
    }
    function stopAuto() {
        if (!autoRunning)
            return
        engine.stopAll()
        waiters.stopAll()
        app.jobPort.port.headCamera.stop()
        autoRunning = false
        app.setActivity("encoderCalibration", false)
    }

    // ---- saving and cancelling
    readonly property bool canSave: !manualStarted && !autoRunning
                                    && ((manualResult !== null && manualResult.acceptable)
                                        || (autoResult !== null && autoResult.acceptable))
    function save() {
        if (!canSave)
            return false
        var fresh = {}
        if (manualResult !== null) {
            var name = manualAxis === 0 ? "X" : "Y"
            if (manualResult.newEncoderScale !== null)
                fresh["encoder" + name] = manualResult.newEncoderScale
            if (manualResult.newStepperScale !== null)
                fresh["stepper" + name] = manualResult.newStepperScale
            if (!enc.saveScales(fresh))
                return false
            showResult(app.t + qsTr("Новый масштабный коэффициент для оси %1 сохранен! Для применения изменений, перезагрузите LinuxCNC!")
                 .arg(name))
            manualResult = null
            return true
        }
        var names = ["encoderX", "encoderY", "stepperX", "stepperY"]
        for (var i = 0; i < names.length; ++i)
            if (autoResult.newScales[names[i]] !== null)
                fresh[names[i]] = autoResult.newScales[names[i]]
        if (!enc.saveScales(fresh))
            return false
        showResult(app.t + qsTr("Сохранено. Перезагрузите LinuxCNC."))
        autoResult = null
        return true
    }
    function cancel() {
        stopAuto()
        manualStarted = false
        manualStart = null
        manualResult = null
        autoResult = null
        showResult(app.t + qsTr("Калибровка отменена"))
    }

    // Positions mean nothing once the machine has lost its home, and a
    // switched-off machine or any machine error ends the automatic run.
    Connections {
        target: window.app
        enabled: window.manualStarted || window.autoRunning
        function onMachineHomedChanged() { if (!window.app.machineHomed) window.cancel() }
        function onMachineOnChanged() { if (!window.app.machineOn) window.cancel() }
        function onAppError() { if (window.autoRunning) window.cancel() }
    }

    // The scale of an axis and kind as the configuration has it, or the
    // reminder that a new one waits for LinuxCNC's restart.
    function scaleText(kind, a) {
        var saved = kind === 0 ? enc.encoderScaleSaved[a] : enc.stepperScaleSaved[a]
        if (saved)
            return app.t + qsTr("Перезагрузите LinuxCNC")
        var v = kind === 0 ? [enc.encoderScaleX, enc.encoderScaleY][a] : [enc.stepperScaleX, enc.stepperScaleY][a]
        return Number(v).toFixed(4) + " " + (kind === 0 ? app.t + qsTr("меток/мм") : app.t + qsTr("шагов/мм"))
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        GridLayout {
            columns: 3
            columnSpacing: 14
            Label { text: "" }
            Label { color: "white"; text: app.t + qsTr("Энкодер") }
            Label { color: "white"; text: app.t + qsTr("Двигатель") }
            Label { color: "white"; text: "X:" }
            Label { objectName: "encoderScaleXText"; color: "white"; text: window.scaleText(0, 0) }
            Label { objectName: "stepperScaleXText"; color: "white"; text: window.scaleText(1, 0) }
            Label { color: "white"; text: "Y:" }
            Label { objectName: "encoderScaleYText"; color: "white"; text: window.scaleText(0, 1) }
            Label { objectName: "stepperScaleYText"; color: "white"; text: window.scaleText(1, 1) }
        }

        RowLayout {
            enabled: !window.manualStarted && !window.autoRunning
            ExclusiveGroup { id: typeGroup }
            WindowRadioButton {
                text: app.t + qsTr("Ручной")
                exclusiveGroup: typeGroup
                checked: window.calibType === 0
                onClicked: window.calibType = 0
            }
            WindowRadioButton {
                text: app.t + qsTr("Автоматический")
                exclusiveGroup: typeGroup
                checked: window.calibType === 1
                onClicked: window.calibType = 1
            }
        }
        RowLayout {
            enabled: !window.manualStarted && !window.autoRunning
            Label { color: "white"; text: app.t + qsTr("Калибровать:") }
            WindowCheckBox {
                text: app.t + qsTr("Ремень")
                checked: window.calibrateBelt
                onClicked: window.calibrateBelt = checked
            }
            WindowCheckBox {
                text: app.t + qsTr("Энкодерную ленту")
                checked: window.calibrateStrip
                onClicked: window.calibrateStrip = checked
            }
        }

        // Manual: the axis, the object's size and its two ends.
        GridLayout {
            visible: window.calibType === 0
            columns: 4
            enabled: !window.autoRunning
            Label { color: "white"; text: app.t + qsTr("Ось:") }
            RowLayout {
                enabled: !window.manualStarted
                ExclusiveGroup { id: axisGroup }
                WindowRadioButton { text: "X"; exclusiveGroup: axisGroup; checked: window.axis === 0; onClicked: window.axis = 0 }
                WindowRadioButton { text: "Y"; exclusiveGroup: axisGroup; checked: window.axis === 1; onClicked: window.axis = 1 }
            }
            Label { color: "white"; text: app.t + qsTr("Размер объекта, мм:") }
            SpinBox {
                enabled: !window.manualStarted
                decimals: 3
                minimumValue: Enc.CALIB_SIZE_MIN
                maximumValue: Math.max(Enc.CALIB_SIZE_MIN, window.axisLength(window.axis))
                value: app.encCalibSize
                onEditingFinished: window.setSize("encCalibSize", value, window.axis)
            }
            // The two ends on a row of their own, so that the axis column
            // keeps the width of its label.
            RowLayout {
                Layout.columnSpan: 4
                Button {
                    objectName: "markStart"
                    text: app.t + qsTr("Указать начало")
                    enabled: window.canStart
                    onClicked: window.markStart()
                }
                Button {
                    objectName: "markEnd"
                    text: app.t + qsTr("Указать конец")
                    enabled: window.manualStarted
                    onClicked: window.markEnd()
                }
            }
        }

        // Automatic: the distances between the marks.
        GridLayout {
            visible: window.calibType === 1
            columns: 4
            enabled: !window.autoRunning
            Label { color: "white"; text: app.t + qsTr("Расстояние X, мм:") }
            SpinBox {
                decimals: 3
                minimumValue: Enc.CALIB_SIZE_MIN
                maximumValue: Math.max(Enc.CALIB_SIZE_MIN, window.axisLength(0))
                value: app.encAutoCalibSizeX
                onEditingFinished: window.setSize("encAutoCalibSizeX", value, 0)
            }
            Label { color: "white"; text: app.t + qsTr("Расстояние Y, мм:") }
            SpinBox {
                decimals: 3
                minimumValue: Enc.CALIB_SIZE_MIN
                maximumValue: Math.max(Enc.CALIB_SIZE_MIN, window.axisLength(1))
                value: app.encAutoCalibSizeY
                onEditingFinished: window.setSize("encAutoCalibSizeY", value, 1)
            }
            Button {
                objectName: "autoCalibrate"
                text: app.t + qsTr("Автокалибровка")
                enabled: window.canStart
                onClicked: window.startAuto()
            }
        }
        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "white"
            text: window.calibType === 1
                  ? app.t + qsTr("Поставьте камеру над первым репером; второй лежит на расстоянии Y от него по оси Y, третий на расстоянии X от второго по оси X.")
                  : app.t + qsTr("Поставьте камеру на один край объекта, нажмите \"Указать начало\", переместите камеру на другой край.")
        }

        Label {
            objectName: "resultText"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: window.resultColour
            text: window.resultText
        }
        Label {
            objectName: "noticeText"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            visible: text !== ""
            color: "yellow"
            text: window.noticeText
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Button {
                objectName: "save"
                text: app.t + qsTr("Сохранить")
                enabled: window.canSave
                onClicked: window.save()
            }
            Button {
                objectName: "cancel"
                text: window.calibType === 1 ? app.t + qsTr("Отмена") : app.t + qsTr("Отменить")
                onClicked: window.cancel()
            }
            Item { Layout.fillWidth: true }
            Button { text: app.t + qsTr("Закрыть"); onClicked: window.close() }
        }
    }

    Component.onCompleted: {
        waiters = Waiters.create(app.jobPort.port)
        // The job's port with the encoder readings added.
        var port = Object.create(app.jobPort.port)
        port.encoderReadings = function() {
            return { "encX": window.enc.encX, "encY": window.enc.encY,
                     "stepperX": window.enc.stepperX, "stepperY": window.enc.stepperY }
        }
        engine = AutoCalibration.create(port, waiters)
        app.toolWindows.register("encoderCalibration", window)
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../job/cameraAutoCalibration.js" as Auto

// "Автоматическая калибровка положения камер": the head camera's offset
// from the nozzle, the component camera's position and the placement
// correction, measured with one calibration object lying on the platform.
// The sequence is cameraAutoCalibration.js's over the job's port, waiting
// primitives and picking steps; this window holds its inputs and shows its
// results.
BaseWindow {
    id: window
    objectName: "cameraAutoCalibration"
    property var app

    title: app.t + qsTr("Автоматическая калибровка положения камер")
    width: 620
    height: 600

    function tr(text) { return app.t + text }

    property var engine: null
    function eng() {
        if (!engine)
            engine = Auto.create(makePort(), app.jobPort.waiters,
                                 { "cupWait": app.jobPort.steps.cupWait, "placerWait": app.jobPort.steps.placerWait,
                                   "elToBasketWait": app.jobPort.steps.elToBasketWait })
        return engine
    }
    // What the sequence reports (cameraAutoCalibration.js state()).
    property var calibState: ({ "running": false, "step": 0, "error": "", "errorText": "", "before": null,
                                "after": null, "applied": false })
    readonly property bool running: calibState.running === true

    readonly property var nozzle: {
        var n = Number(app.cameraACVC)
        return n >= 0 && n < app.cupModel.count ? app.cupModel.get(n) : null
    }
    readonly property var limits: Auto.inputLimits({ "workAreaX1": app.workAreaX1, "workAreaX2": app.workAreaX2,
                                                     "workAreaY1": app.workAreaY1, "workAreaY2": app.workAreaY2,
                                                     "workAreaZ1": app.workAreaZ1, "workAreaZ2": app.workAreaZ2,
                                                     "camera1XShift": app.camera1XShift,
                                                     "camera1YShift": app.camera1YShift },
                                                   nozzle ? { "cupLength": nozzle.cupLength, "press": nozzle.press }
                                                          : null)
    readonly property bool canStart: app.machineHomed2 && !app.executing && !running
    readonly property bool nozzleAvailable: Auto.nozzlePositionAvailable(app.machineHomed2, app.currVC,
                                                                         Number(app.jointPos[2]), app.workAreaZ2)

    function makePort() {
        var port = Object.create(app.jobPort.port)
        port.setSpeedSlider = function(v) { window.app.setMachineSpeedSlider(v) }
        port.applyValues = function(v) { window.applyValues(v) }
        return port
    }
    // The new (or the old) values into the settings and the settings store.
    function applyValues(v) {
        var names = ["camera1XShift", "camera1YShift", "camera2X", "camera2Y", "pcbCorrX", "pcbCorrY"]
        for (var i = 0; i < names.length; ++i) {
            if (v[names[i]] === undefined || !isFinite(Number(v[names[i]])))
                continue
            app[names[i]] = Number(v[names[i]])
            app.saveSetting("device", names[i])
        }
    }

    function start() {
        if (!canStart)
            return
        app.setActivity("cameraCalibration", true)
        eng().calibrate(function(s) { window.stateChanged(s) })
    }
    function stateChanged(s) {
        calibState = s
        if (!s.running)
            app.setActivity("cameraCalibration", false)
    }
    // "Остановить": the job's waiters stop, the results are hidden.
    function stop() {
        app.jobPort.stopAll()
        eng().stop()
        app.setActivity("cameraCalibration", false)
    }
    function retry() { eng().retry() }
    function restore() { eng().restore() }
    function copyNozzlePosition() {
        if (!nozzleAvailable || !nozzle)
            return
        var p = Auto.nozzlePosition(app.jointPosXRel, app.jointPosYRel, Number(app.jointPos[2]), nozzle)
        app.cameraACGetX = p.x
        app.cameraACGetY = p.y
        app.cameraACGetZ = p.z
    }

    function valuesText(v) {
        if (!v)
            return ""
        function f(x) { return isFinite(Number(x)) ? Number(x).toFixed(3) : "—" }
        return "camera1XShift: " + f(v.camera1XShift) + "  camera1YShift: " + f(v.camera1YShift) + "\ncamera2X: "
                + f(v.camera2X) + "  camera2Y: " + f(v.camera2Y) + "\npcbCorrX: " + f(v.pcbCorrX) + "  pcbCorrY: "
                + f(v.pcbCorrY)
    }

    Connections {
        target: app.machineState
        function onMachineHomed2Changed() { if (!window.app.machineHomed2 && window.running) window.stop() }
    }
    // A machine error raised elsewhere drops the sequence's continuations: it
    // stops as "Остановить" does, so nothing is left running. Its own
    // refusals have ended it already.
    Connections {
        target: app
        function onAppError() { if (window.engine && window.engine.running()) window.stop() }
    }
    Connections {
        target: window
        function onClosing(close) {
            if (window.running)
                close.accepted = false
        }
    }
    Component.onCompleted: app.toolWindows.register("cameraAutoCalibration", window)

    // A typed number into the setting `name` when it lies in [min, max]
    // (with `decimals` decimals); the field shows the setting again.
    function setNumber(field, name, min, max, decimals) {
        var v = Number(String(field.text).replace(",", "."))
        if (isFinite(v) && v >= min && v <= max)
            app[name] = Number(v.toFixed(decimals))
        field.text = Number(app[name]).toFixed(decimals)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        spacing: 6

        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "white"
            text: tr(qsTr("Положите калибровочный объект на платформу, укажите его координаты и высоту, выберите насадку и нажмите \"Начать\". Объект будет найден верхней камерой, взят насадкой, осмотрен нижней камерой при четырёх поворотах и положен обратно."))
        }
        GridLayout {
            columns: 2
            enabled: !window.running
            Label { color: "white"; text: "X:" }
            TextField {
                objectName: "acX"
                implicitWidth: 90
                text: Number(app.cameraACGetX).toFixed(2)
                validator: DoubleValidator { decimals: 2; notation: DoubleValidator.StandardNotation }
                onEditingFinished: window.setNumber(this, "cameraACGetX", window.limits.xMin, window.limits.xMax, 2)
            }
            Label { color: "white"; text: "Y:" }
            TextField {
                objectName: "acY"
                implicitWidth: 90
                text: Number(app.cameraACGetY).toFixed(2)
                validator: DoubleValidator { decimals: 2; notation: DoubleValidator.StandardNotation }
                onEditingFinished: window.setNumber(this, "cameraACGetY", window.limits.yMin, window.limits.yMax, 2)
            }
            Label { color: "white"; text: "Z:" }
            TextField {
                objectName: "acZ"
                implicitWidth: 90
                text: Number(app.cameraACGetZ).toFixed(1)
                validator: DoubleValidator { decimals: 1; notation: DoubleValidator.StandardNotation }
                onEditingFinished: window.setNumber(this, "cameraACGetZ", window.limits.zMin, window.limits.zMax, 1)
            }
            Label { text: "" }
            Button {
                objectName: "acNozzlePosition"
                text: tr(qsTr("Насадки"))
                enabled: window.nozzleAvailable
                onClicked: window.copyNozzlePosition()
            }
            Label { color: "white"; text: tr(qsTr("Толщина объекта, мм:")) }
            TextField {
                objectName: "acThickness"
                implicitWidth: 90
                text: Number(app.cameraACElThickness).toFixed(1)
                validator: DoubleValidator { decimals: 1; notation: DoubleValidator.StandardNotation }
                onEditingFinished: window.setNumber(this, "cameraACElThickness", 0.1, 5, 1)
            }
            Label { color: "white"; text: tr(qsTr("Объект:")) }
            ComboBox {
                objectName: "acObject"
                model: [tr(qsTr("Микросхема")), tr(qsTr("Диск"))]
                currentIndex: Number(app.cameraACObj) === 1 ? 1 : 0
                onActivated: app.cameraACObj = index
            }
            Label { color: "white"; text: tr(qsTr("Насадка:")) }
            ComboBox {
                objectName: "acNozzle"
                model: {
                    var out = []
                    for (var i = 1; i <= Math.max(1, Number(app.vcCount)); ++i)
                        out.push(String(i))
                    return out
                }
                currentIndex: Math.max(0, Math.min(Number(app.cameraACVC), Number(app.vcCount) - 1))
                onActivated: app.cameraACVC = index
            }
            Label { color: "white"; text: tr(qsTr("Порог верхней камеры:")) }
            Slider {
                objectName: "acCamera1T1"
                Layout.preferredWidth: 200
                minimumValue: 50; maximumValue: 250; stepSize: 1
                value: app.cameraACCamera1T1
                onValueChanged: if (value !== app.cameraACCamera1T1) app.cameraACCamera1T1 = value
                Label {
                    anchors.left: parent.right
                    anchors.leftMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    color: "white"
                    text: Number(app.cameraACCamera1T1).toFixed(0)
                }
            }
            Label { color: "white"; text: tr(qsTr("Порог нижней камеры:")) }
            Slider {
                objectName: "acCamera2T1"
                Layout.preferredWidth: 200
                minimumValue: 50; maximumValue: 250; stepSize: 1
                value: app.cameraACCamera2T1
                onValueChanged: if (value !== app.cameraACCamera2T1) app.cameraACCamera2T1 = value
                Label {
                    anchors.left: parent.right
                    anchors.leftMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    color: "white"
                    text: Number(app.cameraACCamera2T1).toFixed(0)
                }
            }
        }
        RowLayout {
            Button {
                objectName: "acStart"
                text: window.running ? tr(qsTr("Остановить")) : tr(qsTr("Начать"))
                enabled: window.running || window.canStart
                onClicked: window.running ? window.stop() : window.start()
            }
            Button {
                objectName: "acRestore"
                visible: window.calibState.applied === true
                text: tr(qsTr("Восстановить старые параметры"))
                onClicked: window.restore()
            }
        }
        Label {
            objectName: "acError"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: "red"
            visible: window.calibState.error !== ""
            text: window.calibState.errorText ? tr(window.calibState.errorText) : ""
        }
        Button {
            objectName: "acContinue"
            visible: window.calibState.error !== ""
            text: tr(qsTr("Продолжить"))
            onClicked: window.retry()
        }
        Label {
            objectName: "acBefore"
            color: "white"
            visible: window.calibState.before !== null
            text: tr(qsTr("До калибровки: ")) + "\n" + window.valuesText(window.calibState.before)
        }
        Label {
            objectName: "acAfter"
            color: "white"
            visible: window.calibState.before !== null
            text: tr(qsTr("После калибровки: ")) + "\n" + window.valuesText(window.calibState.after)
        }
        Label {
            objectName: "acDone"
            color: "#80ff80"
            visible: window.calibState.applied === true
            text: tr(qsTr("Калибровка завершена! Новые параметры применены!"))
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Item { Layout.fillWidth: true }
            Button { text: tr(qsTr("Закрыть")); onClicked: window.close() }
        }
    }
}

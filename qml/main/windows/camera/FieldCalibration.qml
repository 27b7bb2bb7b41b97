import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/fieldCalibration.js" as Field
import "../../lib/coords.js" as Coords
import "../../lib/geometry.js" as Geometry
import "../../job/waiters.js" as Waiters

// "Калибровка рабочего поля аппарата": the head camera visits the marks of a
// calibration plate on both of its sides; the offsets between where the marks
// should be and where they are found become the field correction.
BaseWindow {
    id: window
    objectName: "fieldCalibration"
    property var app
    property var camera

    title: app.t + qsTr("Калибровка рабочего поля аппарата")
    width: 620
    height: 360

    // Procedure state.
    property bool running: false
    property bool waitingForTurn: false
    property int side: 0
    property int row: 0
    property int index: 0       // -2, -1: the two end marks; 0..: the points of the row
    property int tries: 0
    property var nominal: []    // this row, commanded machine positions
    property var ends: []       // measured end marks
    property var targets: []    // corrected positions of this row
    property var records: []    // {col, dx, dy}
    property var target: ({ "x": 0, "y": 0 })
    property var afterMove: null
    property string status: ""
    // The window's own waiters over the job's port: moves go through the
    // G-code gate, the settling delay through the job's timers.
    property var waiters: null
    onRunningChanged: app.setActivity("fieldCalibration", running)

    function machinePoint(p) { return Geometry.machinePoint(p.x, p.y, app) }

    function setCapture(on) {
        var w = app.findToolWindow("camera1Window")
        if (w)
            w.qmlCapture = on
    }

    function start() {
        if (running)
            return
        setCapture(true)
        records = []
        side = 0
        row = 0
        running = true
        camera.mode = app.calibRefPointType === 1 ? "square" : "circle"
        camera.param1 = app.calibThreshold1
        camera.param2 = app.calibThreshold2
        camera.roiPercent = app.calibROIPercent
        camera.targetSize = app.calibRefPointSize * app.camera1MM
        camera.targetSize2 = app.calibRefPointSize2 * app.camera1MM
        camera.inverse = app.calibCameraInverse
        // The plate's printed marks vary more in size than board marks.
        camera.targetSizeTolerance = 20
        app.logAdd(app.t + qsTr("Калибровка рабочего поля: начало"), "yellow")
        startRow()
    }

    function stop(message, colour) {
        if (waiters)
            waiters.stopAll()
        setCapture(false)
        running = false
        waitingForTurn = false
        afterMove = null
        status = message
        app.logAdd(message, colour || "yellow")
    }

    function startRow() {
        var pts = Field.rowPoints(app.fieldCalibStartX, app.fieldCalibStartY, app.fieldCalibStepX, app.fieldCalibStepY,
                                  app.fieldCalibCountX, row)
        var machine = []
        for (var i = 0; i < pts.length; ++i)
            machine.push(machinePoint(pts[i]))
        nominal = machine
        ends = []
        index = -2
        tries = 0
        status = (app.t + qsTr("Сторона %1, ряд %2: крайние знаки")).arg(side + 1).arg(row + 1)
        moveTo(nominal[0], measureEnd)
    }

    // With external moves set, each move is announced by moveRequested and
    // answered by moveDone instead of going to the machine as G-code.
    property bool externalMoves: false
    signal moveRequested(real x, real y)
    function moveTo(p, then) {
        target = p
        afterMove = then
        if (externalMoves) {
            moveRequested(p.x, p.y)
            return
        }
        var x = Coords.fixed(p.x, 3), y = Coords.fixed(p.y, 3)
        if (x === null || y === null) {
            app.errorMessage(app.t + qsTr("Неверная координата знака: калибровка рабочего поля прервана"), false, "")
            return stop(app.t + qsTr("Калибровка рабочего поля прервана"), "red")
        }
        waiters.gCodeWait("g0 x" + x + " y" + y, true, function() { window.moveDone(true) }, false)
    }
    function moveDone(successful) {
        if (!running || afterMove === null)
            return
        if (!successful)
            return stop(app.t + qsTr("Калибровка рабочего поля прервана"), "red")
        waiters.delayWait(app.camera1Delay, function() { window.waitFrame = true })
    }

    // The mark seen in the camera, in machine millimetres, or null.
    function foundMark() {
        if (!camera.objFound || app.camera1MM <= 0)
            return null
        return { "x": target.x + camera.objCenterX / app.camera1MM, "y": target.y - camera.objCenterY / app.camera1MM }
    }

    function markMissing() {
        app.errorMessage(app.t + qsTr("Калибровочный знак не найден!"), false, "")
        stop(app.t + qsTr("Калибровка рабочего поля прервана"), "red")
    }

    function measureEnd() {
        var m = foundMark()
        if (!m)
            return markMissing()
        ends.push(m)
        if (ends.length === 1) {
            moveTo(nominal[nominal.length - 1], measureEnd)
            return
        }
        targets = Field.correctedRow(nominal, ends[0], ends[1])
        index = 0
        tries = 0
        moveTo(targets[0], centre)
    }

    // Centres on the mark until at most 0.4 mm remain, then records it.
    function centre() {
        var m = foundMark()
        if (!m)
            return markMissing()
        var dx = m.x - target.x, dy = m.y - target.y
        if (Math.sqrt(dx * dx + dy * dy) > 0.4 && tries < 5) {
            ++tries
            moveTo(m, centre)
            return
        }
        var col = side === 0 ? index : nominal.length - 1 - index
        var rec = records.slice()
        rec.push({ "col": col, "dx": m.x - nominal[index].x, "dy": m.y - nominal[index].y })
        records = rec
        ++index
        tries = 0
        if (index < nominal.length) {
            moveTo(targets[index], centre)
            return
        }
        ++row
        if (row < app.fieldCalibCountY)
            return startRow()
        if (side === 0) {
            side = 1
            row = 0
            waitingForTurn = true
            status = app.t + qsTr("Поверните пластину на 180° и нажмите «Продолжить»")
            return
        }
        finish()
    }

    function continueAfterTurn() {
        if (!waitingForTurn)
            return
        waitingForTurn = false
        startRow()
    }

    function finish() {
        setCapture(false)
        running = false
        var xs = []
        for (var i = 0; i < app.fieldCalibCountX; ++i)
            xs.push(app.fieldCalibStartX + i * app.fieldCalibStepX)
        var list = Field.gridList(xs, Field.averageOffsets(records, xs.length), app.workAreaX1, app.workAreaY2,
                                  app.camera1XShift, app.camera1YShift)
        app.fieldCalibListInvoker.clear()
        for (i = 0; i < list.length; ++i)
            app.fieldCalibListInvoker.append(list[i])
        app.calcFieldCalibrationSend(xs.length, Field.gridRows())
        status = app.t + qsTr("Калибровка рабочего поля выполнена")
        app.logAdd(status)
    }

    // A failed move or any machine error ends the procedure.
    Connections {
        target: window.app
        enabled: window.running
        function onAppError() { window.stop(app.t + qsTr("Калибровка рабочего поля прервана"), "red") }
    }
    // Positions mean nothing once the machine has lost its home.
    Connections {
        target: window.app
        enabled: window.running || window.waitingForTurn
        function onMachineHomedChanged() {
            if (!window.app.machineHomed)
                window.stop(app.t + qsTr("Калибровка рабочего поля прервана: машина потеряла исходное положение"), "red")
        }
    }
    // After the camera's settling delay the next result is taken.
    property bool waitFrame: false
    Connections {
        target: window.camera
        enabled: window.waitFrame
        function onUpdated() {
            window.waitFrame = false
            var next = window.afterMove
            window.afterMove = null
            if (window.running && next)
                next()
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        GridLayout {
            columns: 4
            Label { text: app.t + qsTr("Начало X, мм"); color: "white" }
            SpinBox { decimals: 2; minimumValue: -1000; maximumValue: 2000; value: app.fieldCalibStartX; onEditingFinished: app.fieldCalibStartX = value }
            Label { text: app.t + qsTr("Начало Y, мм"); color: "white" }
            SpinBox { decimals: 2; minimumValue: -1000; maximumValue: 2000; value: app.fieldCalibStartY; onEditingFinished: app.fieldCalibStartY = value }
            Label { text: app.t + qsTr("Шаг X, мм"); color: "white" }
            SpinBox { decimals: 2; minimumValue: 0.1; maximumValue: 1000; value: app.fieldCalibStepX; onEditingFinished: app.fieldCalibStepX = value }
            Label { text: app.t + qsTr("Шаг Y, мм"); color: "white" }
            SpinBox { decimals: 2; minimumValue: 0.1; maximumValue: 1000; value: app.fieldCalibStepY; onEditingFinished: app.fieldCalibStepY = value }
            Label { text: app.t + qsTr("Точек в ряду"); color: "white" }
            SpinBox { minimumValue: 2; maximumValue: 200; value: app.fieldCalibCountX; onEditingFinished: app.fieldCalibCountX = value }
            Label { text: app.t + qsTr("Рядов"); color: "white" }
            SpinBox { minimumValue: 1; maximumValue: 200; value: app.fieldCalibCountY; onEditingFinished: app.fieldCalibCountY = value }
        }
        Label { Layout.fillWidth: true; wrapMode: Text.WordWrap; color: "white"; text: window.status }
        CheckBox {
            text: app.t + qsTr("Калибровка активна")
            enabled: app.fieldCalibrationAvailable
            checked: app.fieldCalibrationEnabled && app.fieldCalibrationAvailable
            onClicked: {
                app.fieldCalibrationEnabled = checked
                app.fieldCalibrationEnableSend(checked)
            }
        }
        Item { Layout.fillHeight: true }
        RowLayout {
            Button {
                objectName: "fieldCalibrationStart"
                text: app.t + qsTr("Начать")
                enabled: !window.running
                onClicked: window.start()
            }
            Button {
                text: app.t + qsTr("Продолжить")
                enabled: window.waitingForTurn
                onClicked: window.continueAfterTurn()
            }
            Button {
                text: app.t + qsTr("Остановить")
                enabled: window.running
                onClicked: window.stop(app.t + qsTr("Калибровка рабочего поля прервана"), "red")
            }
            Item { Layout.fillWidth: true }
            Button { text: app.t + qsTr("Закрыть"); onClicked: window.close() }
        }
    }

    Component.onCompleted: {
        waiters = Waiters.create(app.jobPort.port)
        app.toolWindows.register("fieldCalibration", window)
    }
}

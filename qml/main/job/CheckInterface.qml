import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "checkTable.js" as Check
import "boardCorrection.js" as BC
import "program.js" as Program
import "../lib/geometry.js" as Geometry

// "Визуальная проверка расстановки/программы": the head camera visits every
// component of the first board in the chosen order, by hand or as a timed
// slide show, after the board's reference marks were scanned; the operator
// nudges a component's position and rotation on the spot. The table rows
// and their texts come from checkTable.js; the moves go through the job's
// G-code wait, the mark search is the job's step.
BaseWindow {
    id: window
    objectName: "checkInterface"
    property var app
    readonly property var creation: app.smtInterface.creation

    title: app.t + qsTr("Визуальная проверка расстановки/программы")
    width: 760
    height: 620
    minimumWidth: 520
    minimumHeight: 420

    // ---- state
    property ListModel checkModel: ListModel { objectName: "checkModel" }
    // The component and its placement entry of every row (same position).
    property var rowRefs: []
    property int currentRow: -1
    property bool scanning: false
    property bool going: false
    property bool playing: false
    property bool testing: false
    readonly property bool executing: playing || scanning
    readonly property bool busy: executing || going || testing
    property bool correction: false
    // Acceleration of the approach moves, per cent (the machine speed slider).
    readonly property int acc: app.machineSpeedSliderValue
    // The caller's continuation of the move in progress, and the move's ticket:
    // an answer for an older move does nothing.
    property var goingCont: null
    property int ticket: 0
    property bool stoppedByUser: false
    property var testLog: ListModel { objectName: "checkTestLog" }

    function tr(text) { return app.t + text }

    // ---- start and stop

    function startStopF() {
        if (busy) {
            stopByUser()
            return
        }
        startCheck(true)
    }

    function stopByUser() {
        stop()
        var a = app
        if (a.endingGCodeOnUserStop && String(a.endingGcode) !== "" && a.machineOn && a.machineHomed2
                && a.machineState.activityCount === 0)
            a.gCodeSend(String(a.endingGcode) + "\ng0 zMax\n", true, null)
    }

    // Abandons everything and clears the table.
    // Ends whatever moves the machine, the table stays.
    function halt() {
        ticket += 1
        playTimer.stop()
        if (testing)
            logTest(tr(qsTr("Тест остановлен")), "white")
        playing = false
        going = false
        goingCont = null
        testing = false
        scanning = false
        app.setActivity("check", false)
    }
    function stop() {
        ticket += 1
        playTimer.stop()
        if (testing)
            logTest(tr(qsTr("Тест остановлен")), "white")
        playing = false
        going = false
        goingCont = null
        testing = false
        scanning = false
        app.setActivity("check", false)
        checkModel.clear()
        rowRefs = []
        currentRow = -1
    }

    function orderFunction() {
        switch (Number(app.checkOrder)) {
        case 1: return creation.sortElementsY
        case 2: return creation.sortElements
        default: return creation.sortElementsX
        }
    }

    // start: true validates and scans; without it (the continuation of the
    // mark search) the table is filled.
    function startCheck(start) {
        if (start !== true) {
            fill()
            return
        }
        stop()
        if (app.refCount < 2 && !app.allowRunWithoutFiducials) {
            app.errorMessage(tr(qsTr("Проверьте расстановку реперных знаков!")), false, "")
            return
        }
        if (app.pcbMulti && creation.keptBoardCount() === 0) {
            app.errorMessage(tr(qsTr("Все платы исключены из расстановки!")), false, "")
            return
        }
        if (!creation.createMultiPCBList(orderFunction()))
            return
        scanning = true
        app.setActivity("check", true)
        if (app.refCount < 2) {
            startCheck()
            return
        }
        var find = app.jobPort.steps.findRefPoints
        if (typeof find !== "function") {
            stop()
            app.errorMessage(tr(qsTr("Поиск реперных знаков недоступен в этой версии программы")), false, "")
            return
        }
        var direct = app.findToolWindow("executionInterface")
        if (direct && direct.visible)
            direct.close()
        headCameraNormalView()
        var t = ticket
        find(function() { if (t === window.ticket) window.startCheck() })
    }

    function headCameraNormalView() {
        app.camera1ViewType = 0
        app.camera1Cross = false
    }

    // ---- the table

    function markById(id) {
        var list = creation.refs()
        for (var i = 0; i < list.length; ++i)
            if (list[i].refId === Number(id))
                return list[i]
        return null
    }

    // The corrected machine target of a placement ({ ok, x, y, a, boardAngle });
    // the design position when the marks give none.
    function targetOf(ep) {
        var env = { "workAreaX1": app.workAreaX1, "workAreaY2": app.workAreaY2, "workAreaZ1": app.workAreaZ1,
                    "workAreaZ2": app.workAreaZ2, "pcbThickness": app.pcbThickness }
        var refs = creation.refs()
        var marks = []
        if (refs.length >= 2) {
            var own1 = Number(ep.el.preferredRef1) >= 0 ? markById(ep.el.preferredRef1) : null
            var own2 = Number(ep.el.preferredRef2) >= 0 ? markById(ep.el.preferredRef2) : null
            marks = BC.marksFor(own1, own2, refs[0], refs[1], app.refMode, ep.row, ep.col)
        }
        var t = BC.elSetupCoords(ep, marks, { "cupLength": 0, "press": 0 }, { "rot": 0 }, env)
        if (!t.ok) {
            app.logAdd(tr(t.error), "red")
            t = BC.elSetupCoords(ep, [], { "cupLength": 0, "press": 0 }, { "rot": 0 }, env)
        }
        if (t.ok) {
            ep.x = t.x
            ep.y = t.y
            ep.a = t.a
        }
        return t
    }

    function describe(ep) {
        var el = ep.el
        return { "feeder": Check.feederText(app.feederBanks.sideName(el.model), el.index),
                 "el": Check.elText(el.pack, el.partNumber, el.designator), "image": String(el.elementPath) }
    }

    // The continuation of the mark search: the rows of the first board.
    function fill() {
        var list = creation.elementListMulti
        var entries = []
        for (var i = 0; i < list.length; ++i) {
            var ep = list[i]
            var t = targetOf(ep)
            if (t.ok)
                entries.push({ "ep": ep, "target": t })
        }
        var rows = Check.buildRows(entries, describe)
        var refs = []
        for (i = 0; i < entries.length; ++i) {
            var e = entries[i].ep
            if (!e.disabled && !e.disabledTemp && Number(e.row) === 0 && Number(e.col) === 0)
                refs.push({ "el": e.el, "ep": e })
        }
        checkModel.clear()
        for (i = 0; i < rows.length; ++i)
            checkModel.append(rows[i])
        rowRefs = refs
        scanning = false
        if (checkModel.count === 0) {
            app.setActivity("check", false)
            return
        }
        currentRow = 0
        var cam = app.findToolWindow("camera1Window")
        if (cam && !cam.visible) {
            headCameraNormalView()
            app.showCameraWindow(1)
        }
        gotoEl(0)
    }

    // A move of the table ended: the activity is over unless the show goes on.
    function settled() {
        if (!playing && !testing && !scanning)
            app.setActivity("check", false)
    }

    // ---- going to a row

    function gotoEl(row, f) {
        if (row < 0 || row >= checkModel.count) {
            going = false
            var cont = f || goingCont
            goingCont = null
            if (cont)
                cont()
            return
        }
        var r = checkModel.get(row)
        var camera = app.headCameraRequest.camera
        if (app.checkChangeFOV && camera)
            app.camera1ShowPercent = Check.fovPercent(r.rotWidth, r.rotHeight, app.camera1PPMCorr,
                                                      camera.frameWidth, camera.frameHeight)
        var text = Check.approachText(r.x, r.y, app.camera1XShift, app.camera1YShift, acc, app.maxVel, app.maxAcc,
                                      testing)
        if (text === null) {
            app.errorMessage(tr(qsTr("Неверные координаты перемещения камеры: перемещение не выполнено")), false, "")
            going = false
            return
        }
        going = true
        goingCont = f || null
        app.setActivity("check", true)
        var t = ticket
        app.gCodeWait(text, true, function() {
            if (t !== window.ticket)
                return
            window.going = false
            var c = window.goingCont
            window.goingCont = null
            if (c)
                c()
            window.settled()
        })
    }

    function selectRow(row) {
        if (row < 0 || row >= checkModel.count || going)
            return
        currentRow = row
        if (playing)
            playTimer.restart()
        gotoEl(row)
    }
    function previous() { if (Check.stepEnabled(currentRow, checkModel.count, -1, going)) selectRow(currentRow - 1) }
    function next() { if (Check.stepEnabled(currentRow, checkModel.count, 1, going)) selectRow(currentRow + 1) }

    // ---- slide show

    function play(start) {
        if (start === false) {
            playing = false
            playTimer.stop()
            if (!going)
                settled()
            return
        }
        if (start === true) {
            if (checkModel.count === 0 || busy)
                return
            playing = true
            app.setActivity("check", true)
        }
        if (!playing)
            return
        var n = Check.nextRow(currentRow, checkModel.count)
        if (n < 0) {
            play(false)
            return
        }
        currentRow = n
        var t = ticket
        gotoEl(n, function() {
            if (t === window.ticket && window.playing)
                playTimer.restart()
        })
    }
    Timer {
        id: playTimer
        interval: Math.max(200, Number(app.checkInterval) * 1000)
        onTriggered: window.play()
    }
    // Anything else that starts executing ends the show.
    Connections {
        target: app.machineState
        function onActivitiesChanged() {
            var list = window.app.machineState.activities
            for (var i = 0; i < list.length; ++i)
                if (list[i] !== "check" && window.playing)
                    window.play(false)
        }
        function onMachineOnChanged() { if (!window.app.machineOn && window.busy) window.stop() }
        function onMachineHomed2Changed() { if (!window.app.machineHomed2 && window.busy) window.stop() }
    }
    // A machine error drops the continuation of the move or of the mark
    // search: the window stops moving and keeps its table.
    Connections {
        target: app
        function onAppError() { if (window.going || window.playing || window.testing || window.scanning) window.halt() }
    }

    // ---- manual correction

    // The work area in design millimetres: the board area of the view.
    function areaSize() {
        return { "w": Number(app.workAreaX2) - Number(app.workAreaX1), "h": Number(app.workAreaY2) - Number(app.workAreaY1) }
    }

    // Moves the current row's component by (dx, dy) design mm; false when it
    // would leave the board area.
    function moveEl(dx, dy) {
        var ref = rowRefs[currentRow]
        if (!ref || busy)
            return false
        var size = areaSize()
        var moved = Check.moveWithin(ref.el, dx, dy, size.w, size.h)
        if (moved === null)
            return false
        ref.el.rX = moved.rX
        ref.el.rY = moved.rY
        changed(ref, true)
        return true
    }

    function rotateEl(delta) {
        var ref = rowRefs[currentRow]
        if (!ref || busy)
            return false
        ref.el.rot = Check.rotate(ref.el.rot, delta)
        changed(ref, false)
        return true
    }

    // Recomputes the row after a correction: the placement from the
    // component's design position, its machine target, rotation and text.
    function changed(ref, moved) {
        var el = ref.el, ep = ref.ep
        var place = Program.placeOnBoard(el.rX, el.rY, el.elWidth, el.elHeight, ep.row, ep.col, creation.panel())
        ep.rX = place.rX
        ep.rY = place.rY
        ep.rotation = Geometry.minAngle(el.rot + Number(ep.boardRotation || 0))
        ep.rotWidth = el.rotWidth
        ep.rotHeight = el.rotHeight
        var t = targetOf(ep)
        var c = Check.centreOf(ep)
        checkModel.set(currentRow, { "x": t.x, "y": t.y, "coords": Check.coordsText(c.x, c.y),
                                     "rotation": Geometry.minAngle(ep.rotation + Number(t.boardAngle || 0)),
                                     "rotWidth": el.rotWidth, "rotHeight": el.rotHeight })
        app.recalculateOverlapsF(el)
        app.calcElementRect()
    }

    // ---- hiding: corrections and found marks are forgotten

    function forgetMeasurements() {
        var els = creation.elements()
        for (var i = 0; i < els.length; ++i) {
            var rows = els[i].previews || []
            for (var r = 0; r < rows.length; ++r)
                for (var c = 0; c < rows[r].length; ++c)
                    rows[r][c].x = rows[r][c].y = rows[r][c].a = undefined
        }
        Check.resetFoundMarks(creation.refs(), app.refMode, BC.NOT_MEASURED)
    }

    onVisibleChanged: {
        if (visible) {
            stop()
            correction = false
            headCameraNormalView()
            return
        }
        stop()
        forgetMeasurements()
        if (app.saveWindowsPos)
            app.checkInterfacePos = Qt.vector4d(x, y, width, height)
    }
    Connections {
        target: window
        function onClosing(close) {
            if (window.scanning)
                close.accepted = false
        }
    }
    Component.onCompleted: {
        var p = app.checkInterfacePos
        if (app.saveWindowsPos && p.z > 0 && p.w > 0) {
            x = p.x; y = p.y; width = p.z; height = p.w
        }
        app.toolWindows.register("checkInterface", window)
    }

    // ---- accuracy test (debug mode)

    function logTest(text, color) {
        testLog.append({ "time": Qt.formatTime(new Date(), "HH:mm:ss"), "message": String(text), "color": color })
        logScroll.restart()
    }
    Timer { id: logScroll; interval: 100; onTriggered: testLogView.positionViewAtEnd() }

    function testSettings() {
        var ppm = Number(app.camera1PPMCorr)
        return { "mode": "placerContours", "roiPercent": Number(app.sigmaTestRoi), "param1": Number(app.sigmaTestT1),
                 "targetSize": 1.6 * ppm, "targetSize2": 0.5 * ppm, "exposure": Number(app.camera1Exposure),
                 "inverse": false }
    }

    function startTest() {
        if (busy) {
            stopByUser()
            return
        }
        if (checkModel.count === 0) {
            logTest(tr(qsTr("В проекте нет компонентов")), "red")
            return
        }
        testing = true
        app.setActivity("check", true)
        logTest(tr(qsTr("Тест начат")), "white")
        if (app.cncRunning)
            app.setDoutOn(4, false)
        app.showToolWindow("camera1Window")
        testRow(0)
    }

    function testRow(n) {
        if (!testing)
            return
        if (n >= checkModel.count) {
            var mean = Check.accuracyMean(rowsForMean())
            logTest(Check.accuracyText(mean), "green")
            testing = false
            settled()
            return
        }
        currentRow = n
        var t = ticket
        gotoEl(n, function() {
            if (t !== window.ticket)
                return
            window.app.headCameraRequest.ask(window.testSettings(), 1, function(r) {
                if (t !== window.ticket)
                    return
                var row = window.checkModel.get(n)
                var ppm = Number(window.app.camera1PPMCorr)
                var off = Check.measuredOffset(r.found === true && r.timeout !== true,
                                               row.x + Number(r.x) / ppm, row.y - Number(r.y) / ppm, row.x, row.y)
                window.checkModel.set(n, { "dX": off.dX, "dY": off.dY })
                if (off.dX === Check.NOT_MEASURED)
                    window.logTest(window.tr(qsTr("комп. ")) + (n + 1) + window.tr(qsTr(" не найден!")), "red")
                window.testRow(n + 1)
            })
        })
    }

    function rowsForMean() {
        var out = []
        for (var i = 0; i < checkModel.count; ++i)
            out.push({ "dX": checkModel.get(i).dX, "dY": checkModel.get(i).dY })
        return out
    }

    // ---- keys: Up/Down step through the rows, Shift+arrows press the
    // correction arrows.
    Item {
        id: keys
        anchors.fill: parent
        focus: true
        Keys.onPressed: {
            if (event.modifiers & Qt.ShiftModifier) {
                if (!window.correction)
                    return
                var step = Check.MOVE_STEP
                if (event.key === Qt.Key_Right) window.moveEl(step, 0)
                else if (event.key === Qt.Key_Left) window.moveEl(-step, 0)
                else if (event.key === Qt.Key_Up) window.moveEl(0, -step)
                else if (event.key === Qt.Key_Down) window.moveEl(0, step)
                else return
                event.accepted = true
                return
            }
            if (event.key === Qt.Key_Up) { window.previous(); event.accepted = true }
            else if (event.key === Qt.Key_Down) { window.next(); event.accepted = true }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 6
        spacing: 6

        RowLayout {
            Button {
                objectName: "checkStartButton"
                text: window.busy ? tr(qsTr("Остановить"))
                                  : (app.refCount < 2 ? tr(qsTr("Составить таблицу")) : tr(qsTr("Начать проверку")))
                onClicked: window.startStopF()
            }
            Button {
                objectName: "checkPlayButton"
                text: window.playing ? tr(qsTr("Стоп показа")) : tr(qsTr("Показ"))
                enabled: window.checkModel.count > 0 && (window.playing || !window.busy)
                onClicked: window.play(!window.playing)
            }
            Button {
                objectName: "checkPrevButton"
                text: "▲"
                enabled: Check.stepEnabled(window.currentRow, window.checkModel.count, -1, window.going)
                onClicked: window.previous()
            }
            Button {
                objectName: "checkNextButton"
                text: "▼"
                enabled: Check.stepEnabled(window.currentRow, window.checkModel.count, 1, window.going)
                onClicked: window.next()
            }
            Label { color: "white"; text: tr(qsTr("Интервал:")) }
            Slider {
                objectName: "checkIntervalSlider"
                minimumValue: 0.2
                maximumValue: 5
                stepSize: 0.2
                value: app.checkInterval
                onValueChanged: if (value !== app.checkInterval) app.checkInterval = Math.round(value * 10) / 10
            }
            Label { color: "white"; text: Number(app.checkInterval).toFixed(1) + tr(qsTr(" с")) }
        }
        RowLayout {
            CheckBox {
                objectName: "checkChangeFOVBox"
                text: tr(qsTr("Подгонять поле зрения камеры под компонент"))
                checked: app.checkChangeFOV
                onClicked: app.checkChangeFOV = checked
            }
            CheckBox {
                objectName: "checkScanAllRefsBox"
                visible: app.pcbMulti
                enabled: !window.busy
                text: tr(qsTr("Сканировать реперные знаки всех плат"))
                checked: app.checkScanAllRefs
                onClicked: app.checkScanAllRefs = checked
            }
            ComboBox {
                objectName: "checkOrderBox"
                enabled: !window.busy
                model: [tr(qsTr("По X")), tr(qsTr("По Y")), tr(qsTr("В порядке расстановки"))]
                currentIndex: Number(app.checkOrder)
                onActivated: {
                    app.checkOrder = index
                    window.stop()
                }
            }
        }
        RowLayout {
            Label { color: "white"; text: tr(qsTr("Ускорение:")) }
            Slider {
                objectName: "checkAccSlider"
                Layout.fillWidth: true
                minimumValue: 1
                maximumValue: 100
                stepSize: 1
                updateValueWhileDragging: false
                value: app.machineSpeedSliderValue
                onValueChanged: if (value !== app.machineSpeedSliderValue) app.setMachineSpeedSlider(value)
            }
            Label { color: "white"; text: Number(app.machineSpeed).toFixed(2) + " %" }
        }

        TableView {
            id: table
            objectName: "checkTable"
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: window.checkModel
            currentRow: window.currentRow
            onClicked: window.selectRow(row)
            TableViewColumn {
                role: "image"
                title: ""
                width: 34
                delegate: Image {
                    source: String(styleData.value)
                    fillMode: Image.PreserveAspectFit
                    asynchronous: true
                }
            }
            TableViewColumn { role: "feeder"; title: tr(qsTr("Питатель")); width: 110 }
            TableViewColumn { role: "el"; title: tr(qsTr("Компонент")); width: 220 }
            TableViewColumn { role: "coords"; title: tr(qsTr("Координаты")); width: 170 }
            TableViewColumn { role: "dX"; title: "dX"; width: 70; visible: app.debugMode }
            TableViewColumn { role: "dY"; title: "dY"; width: 70; visible: app.debugMode }
        }

        RowLayout {
            CheckBox {
                objectName: "checkCorrectionBox"
                text: tr(qsTr("Корректировка положения"))
                checked: window.correction
                onClicked: window.correction = checked
            }
            Button { objectName: "checkLeftButton"; text: "←"; enabled: window.correction; onClicked: window.moveEl(-Check.MOVE_STEP, 0) }
            Button { objectName: "checkRightButton"; text: "→"; enabled: window.correction; onClicked: window.moveEl(Check.MOVE_STEP, 0) }
            Button { objectName: "checkUpButton"; text: "↑"; enabled: window.correction; onClicked: window.moveEl(0, -Check.MOVE_STEP) }
            Button { objectName: "checkDownButton"; text: "↓"; enabled: window.correction; onClicked: window.moveEl(0, Check.MOVE_STEP) }
            Button { objectName: "checkRotMinusSmall"; text: "-0.1°"; enabled: window.correction; onClicked: window.rotateEl(-0.1) }
            Button { objectName: "checkRotPlusSmall"; text: "+0.1°"; enabled: window.correction; onClicked: window.rotateEl(0.1) }
            Button { objectName: "checkRotMinus90"; text: "-90°"; enabled: window.correction; onClicked: window.rotateEl(-90) }
            Button { objectName: "checkRotPlus90"; text: "+90°"; enabled: window.correction; onClicked: window.rotateEl(90) }
        }
        Label {
            objectName: "checkCorrectionText"
            color: "white"
            property var ref: window.currentRow >= 0 && window.currentRow < window.rowRefs.length
                              ? window.rowRefs[window.currentRow] : null
            text: ref ? "X: " + Number(ref.el.rX).toFixed(2) + "  Y: " + Number(ref.el.rY).toFixed(2) + "  "
                        + tr(qsTr("Поворот:")) + " " + Number(ref.el.rot).toFixed(1) : ""
        }

        // The accuracy test (debug mode only).
        ColumnLayout {
            visible: app.debugMode
            Layout.fillWidth: true
            RowLayout {
                Button {
                    objectName: "checkTestButton"
                    text: window.testing ? tr(qsTr("стоп")) : tr(qsTr("тест!"))
                    onClicked: window.testing ? window.stopByUser() : window.startTest()
                }
                Label { color: "white"; text: tr(qsTr("Область поиска, %:")) }
                Slider {
                    minimumValue: 4; maximumValue: 30; stepSize: 1
                    value: app.sigmaTestRoi
                    onValueChanged: app.sigmaTestRoi = value
                }
                Label { color: "white"; text: tr(qsTr("Порог:")) }
                Slider {
                    minimumValue: 50; maximumValue: 250; stepSize: 1
                    value: app.sigmaTestT1
                    onValueChanged: app.sigmaTestT1 = value
                }
            }
            ListView {
                id: testLogView
                Layout.fillWidth: true
                Layout.preferredHeight: 90
                clip: true
                model: window.testLog
                delegate: Text {
                    color: model.color
                    text: model.time + "  " + model.message
                }
            }
        }
    }
}

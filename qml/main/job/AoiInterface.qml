import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "aoi.js" as Aoi
import "checkTable.js" as Check
import "program.js" as Program
import "../lib/geometry.js" as Geometry

// "Оптическая инспекция": templates of the first board's components and the
// inspection of every board, with the results on a board view of the whole
// panel. The procedures are aoi.js's; this window is their port: the
// project's lists and marks, the head camera's scan photos and clips, the
// comparison of the back end, and the board view's inspection objects.
BaseWindow {
    id: window
    objectName: "aoiInterface"
    property var app
    readonly property var creation: app.smtInterface.creation

    title: app.t + qsTr("Оптическая инспекция")
    width: 1120
    height: 700
    minimumWidth: 640
    minimumHeight: 480

    function tr(text) { return app.t + text }

    // ---- state
    // The procedures, made when first needed (the job's waiters exist by then).
    property var engine: null
    function eng() {
        if (!engine)
            engine = Aoi.create(makePort(), app.jobPort.waiters)
        return engine
    }
    // "templates", "inspection" or "" (idle), and the mark search before them.
    property string kind: ""
    property bool scanning: false
    readonly property bool creatingTemplates: kind === "templates"
    readonly property bool makingAoi: kind === "inspection"
    readonly property bool executing: kind !== ""
    // The rows being worked and the one at hand.
    property ListModel workModel: ListModel { objectName: "aoiWorkModel" }
    property int currentRow: -1
    // The inspection objects of the board view: one per enabled component and
    // board. Their results are kept by key (component position in the
    // project's list, board row and column) while the view is rebuilt.
    property ListModel objectsModel: ListModel { objectName: "aoiObjectsModel" }
    property var results: ({})
    property int selected: -1
    // View pixels per mm of the board view.
    property real viewScale: 2

    // ---- the port of the procedures
    function objectKey(el, row, col) {
        return app.elementList.indexOf(el) + ":" + row + ":" + col
    }
    function components() {
        var out = []
        var els = creation.elements()
        for (var i = 0; i < els.length; ++i)
            if (Number(els[i].disabled) === 0)
                out.push(els[i])
        return out
    }
    function buildList(templates) {
        if (templates)
            return creation.createMultiPCBList("nearest", true) ? creation.elementListMulti : null
        // The running job's placements keep their measured marks.
        if (app.smtInterface.visible) {
            var list = creation.elementListMulti.slice()
            return list.length > 1 ? creation.nearestSort(list) : list
        }
        return creation.createMultiPCBList("nearest") ? creation.elementListMulti : null
    }
    function findMarks(f) {
        var find = app.jobPort.steps.findRefPoints
        if (typeof find !== "function") {
            eng().stopAll()
            app.errorMessage(tr(qsTr("Поиск реперных знаков недоступен в этой версии программы")), false, "")
            return
        }
        var direct = app.findToolWindow("executionInterface")
        if (direct && direct.visible)
            direct.close()
        headCameraNormalView()
        find(f)
    }
    function headCameraNormalView() {
        app.camera1ViewType = 0
        app.camera1Cross = false
    }
    function setTemplate(el, photo) {
        el.elPhoto = photo
        currentRow = eng().index()
        refreshTemplates(el)
    }
    function storeResult(key, r) {
        var shift = r.aoiShift || { "x": 0, "y": 0 }
        var res = { "aoiPhoto": String(r.aoiPhoto), "diffPhoto": String(r.diffPhoto || ""),
                    "aoiDiff": Number(r.aoiDiff) || 0, "shiftX": Number(shift.x) || 0, "shiftY": Number(shift.y) || 0,
                    "loaded": String(r.diffPhoto || "") !== "" }
        var all = results
        all[key] = res
        results = all
        currentRow = eng().index()
        for (var i = 0; i < objectsModel.count; ++i)
            if (objectsModel.get(i).key === key)
                objectsModel.set(i, res)
        updateSelected()
    }
    function clearResults() {
        results = ({})
        for (var i = 0; i < objectsModel.count; ++i)
            objectsModel.set(i, emptyResult())
        updateSelected()
    }
    function emptyResult() {
        return { "aoiPhoto": "", "diffPhoto": "", "aoiDiff": 0, "shiftX": 0, "shiftY": 0, "loaded": false }
    }
    function setState(k, s) {
        var starting = kind === "" && k !== ""
        kind = k
        scanning = s
        app.setActivity("aoi", k !== "")
        if (starting) {
            workModel.clear()
            currentRow = -1
            headCameraNormalView()
            if (app.cncRunning)
                app.setDoutOn(4, false)
            var cam = app.findToolWindow("camera1Window")
            if (cam && !cam.visible)
                app.showToolWindow("camera1Window")
        }
        if (k !== "" && !s && workModel.count === 0)
            fillWorkModel()
        if (k === "")
            releaseCamera()
    }
    function fillWorkModel() {
        var rows = eng().rows()
        for (var i = 0; i < rows.length; ++i) {
            var ep = rows[i].ep
            var el = ep.el
            var c = Check.centreOf(ep)
            workModel.append({ "feeder": Check.feederText(app.feederBanks.sideName(el.model), el.index),
                               "bank": String(el.model), "feederIndex": Number(el.index),
                               "el": Check.elText(el.pack, el.partNumber, el.designator),
                               "coords": Check.coordsText(c.x, c.y), "image": String(el.elementPath),
                               "x": rows[i].x, "y": rows[i].y,
                               "rotation": Geometry.minAngle(rows[i].rotation + rows[i].boardAngle),
                               "rotWidth": rows[i].rotWidth, "rotHeight": rows[i].rotHeight })
        }
        currentRow = rows.length > 0 ? 0 : -1
    }
    // The feeder texts of the rows in the language now chosen.
    function retranslateWorkModel() {
        for (var i = 0; i < workModel.count; ++i) {
            var row = workModel.get(i)
            workModel.setProperty(i, "feeder", Check.feederText(app.feederBanks.sideName(row.bank), row.feederIndex))
        }
    }
    Connections {
        target: window.app
        // The prefix of the texts is blanked again once the new language is in.
        function onTChanged() { if (window.app.t === "") window.retranslateWorkModel() }
    }

    // ---- the head camera: scan photos and clips
    property var scanWait: null
    property var captureWait: null
    readonly property var headCamera: app.headCameraRequest.camera
    function ensureCapture(f) {
        var request = app.headCameraRequest
        var already = headCamera && headCamera.capture
        request.hold = true
        if (already) {
            Qt.callLater(app.jobPort.guarded(f))
            return
        }
        captureWait = { "f": app.jobPort.guarded(f) }
        cameraTimeout.restart()
    }
    function scanPhoto(f) {
        var request = app.headCameraRequest
        // The mark steps load their own settings again after this.
        app.jobPort.markPort.loadedKey = ""
        request.cancel()
        request.hold = true
        headCamera.roiPercent = 100
        headCamera.mode = "scan"
        // Frames already on their way were made before the settings.
        scanWait = { "frames": 2, "f": app.jobPort.guarded(f) }
        cameraTimeout.restart()
    }
    function cameraFrame() {
        if (captureWait) {
            var c = captureWait
            captureWait = null
            cameraTimeout.stop()
            c.f()
            return
        }
        if (!scanWait)
            return
        scanWait.frames -= 1
        if (scanWait.frames > 0)
            return
        var w = scanWait
        scanWait = null
        cameraTimeout.stop()
        if (!headCamera.makeScan()) {
            w.f(null)
            return
        }
        app.makeQImage("image://camera1/photo")
        var size = app.makeQImageResultSize
        w.f(size.width > 1 && size.height > 1 ? { "width": size.width, "height": size.height } : null)
    }
    Connections {
        target: window.headCamera
        enabled: window.scanWait !== null || window.captureWait !== null
        function onUpdated2() { window.cameraFrame() }
    }
    Timer {
        id: cameraTimeout
        interval: Math.max(5000, 4 * Number(app.camera1Delay))
        // A silent camera: the capture goes on (the photo will tell), the
        // photo is not there.
        onTriggered: {
            var cw = window.captureWait, sw = window.scanWait
            window.scanWait = null
            window.captureWait = null
            if (cw)
                cw.f()
            if (sw)
                sw.f(null)
        }
    }
    function releaseCamera() {
        scanWait = null
        captureWait = null
        cameraTimeout.stop()
        app.headCameraRequest.hold = false
    }
    function clip(x, y, w, h, angle) {
        headCamera.clipPhoto(x, y, w, h, angle)
        app.makeQImage("image://camera1/clipPhoto")
        var size = app.makeQImageResultSize
        if (!(size.width > 1 && size.height > 1))
            return ""
        return worker.imageDataUrl(app.makeQImageResult)
    }
    function compare(template, photo, threshold, erosion) {
        app.makeAoi(template, photo, threshold, erosion)
        var shift = app.makeAoiResultShift
        return { "diffImage": worker.imageDataUrl(app.makeAoiResultDiffImage), "diff": Number(app.makeAoiResultDiff),
                 "shift": { "x": shift.x, "y": shift.y } }
    }

    function makePort() {
        var port = Object.create(app.jobPort.port)
        port.showError = function(text) { window.app.errorMessage(window.tr(text), false, "") }
        port.homedAndCalibrated = function() { return window.app.machineHomed2 }
        port.aoi = {
            "refCount": function() { return Number(window.app.refCount) },
            "allExcluded": function() { return window.app.pcbMulti && window.creation.keptBoardCount() === 0 },
            "components": function() { return window.components() },
            "buildList": function(templates) { return window.buildList(templates) },
            "findMarks": function(f) { window.findMarks(f) },
            "targetOf": function(ep) { return window.app.checkInterface.targetOf(ep) },
            "templateOf": function(el) { return el.elPhoto },
            "setTemplate": function(el, photo) { window.setTemplate(el, photo) },
            "photoSize": function(photo) { return Program.photoSize(photo) },
            "objectOf": function(ep) { return window.objectKey(ep.el, ep.row, ep.col) },
            "storeResult": function(key, r) { window.storeResult(key, r) },
            "clearResults": function() { window.clearResults() },
            "acc": function() { return window.app.machineSpeedSliderValue },
            "setState": function(k, s) { window.setState(k, s) },
            "stopMarks": function() { window.app.jobPort.stopAll() },
            "showWindow": function() { window.showForRun() }
        }
        port.headCamera = {
            "ensureCapture": function(f) { window.ensureCapture(f) },
            "fullField": function() { window.app.camera1ShowPercent = 100 },
            "scanPhoto": function(f) { window.scanPhoto(f) },
            "clip": function(x, y, w, h, angle) { return window.clip(x, y, w, h, angle) }
        }
        port.compare = function(template, photo, threshold, erosion) {
            return window.compare(template, photo, threshold, erosion)
        }
        return port
    }

    // ---- the window's actions
    function creatingTemplatesF() { return eng().creatingTemplatesF() }
    function makingAoiF() { return eng().makingAoiF() }
    // The run's "aoi" row (the job port's step).
    function runRow(f) { eng().aoi(f) }
    function showForRun() {
        if (!visible)
            show()
        showMaximized()
    }

    function aoiRemoveResults() {
        if (executing)
            return
        clearResults()
    }
    function aoiRemoveTemplates() {
        if (executing)
            return
        clearResults()
        var els = creation.elements()
        for (var i = 0; i < els.length; ++i)
            els[i].elPhoto = ""
        rebuildObjects()
    }

    // ---- the board view's inspection objects
    function rebuildObjects() {
        var keep = selected >= 0 && selected < objectsModel.count ? objectsModel.get(selected).key : ""
        objectsModel.clear()
        selected = -1
        var els = components()
        var p = creation.panel()
        var g = Program.boardGrid(p)
        for (var r = 0; r < g.rows; ++r)
            for (var c = 0; c < g.cols; ++c)
                for (var i = 0; i < els.length; ++i) {
                    var el = els[i]
                    var pos = Program.placeOnBoard(el.rX, el.rY, el.elWidth, el.elHeight, r, c, p)
                    var key = objectKey(el, r, c)
                    var entry = { "key": key, "x": pos.rX, "y": pos.rY, "w": Number(el.elWidth),
                                  "h": Number(el.elHeight), "rot": Geometry.minAngle(Number(el.rot) + pos.rot),
                                  "template": String(el.elPhoto || ""), "name": String(el.designator) }
                    var res = results[key] || emptyResult()
                    for (var k in res)
                        entry[k] = res[k]
                    objectsModel.append(entry)
                    if (key === keep)
                        selected = objectsModel.count - 1
                }
        updateSelected()
    }
    function refreshTemplates(el) {
        var photo = String(el.elPhoto || "")
        var prefix = app.elementList.indexOf(el) + ":"
        for (var i = 0; i < objectsModel.count; ++i)
            if (String(objectsModel.get(i).key).indexOf(prefix) === 0)
                objectsModel.setProperty(i, "template", photo)
        updateSelected()
    }
    function select(i) {
        selected = selected === i ? -1 : i
        updateSelected()
    }
    // A copy of the selected object for the previews.
    property var selectedObject: null
    function updateSelected() {
        if (selected < 0 || selected >= objectsModel.count) {
            selectedObject = null
            return
        }
        var o = objectsModel.get(selected)
        selectedObject = { "key": o.key, "w": o.w, "h": o.h, "template": o.template, "aoiPhoto": o.aoiPhoto,
                           "diffPhoto": o.diffPhoto, "aoiDiff": o.aoiDiff, "shiftX": o.shiftX, "shiftY": o.shiftY,
                           "loaded": o.loaded, "name": o.name }
    }

    function autoScale() {
        var items = []
        for (var i = 0; i < objectsModel.count; ++i)
            items.push(objectsModel.get(i))
        var box = Aoi.boxOf(items)
        if (!box)
            box = { "x": Number(app.pcbX), "y": Number(app.pcbY), "w": Number(app.pcbWidth), "h": Number(app.pcbHeight) }
        var z = Aoi.autoScale(box, boardView.width, boardView.height)
        if (!z)
            return false
        viewScale = z.scale
        boardView.contentX = z.x
        boardView.contentY = z.y
        return true
    }
    Timer { id: autoScaleTimer; interval: 200; onTriggered: window.autoScale() }

    // ---- life
    onVisibleChanged: {
        if (visible) {
            if (executing && !eng().inRun())
                eng().stopAll()
            rebuildObjects()
            autoScaleTimer.restart()
            return
        }
        if (app.saveWindowsPos)
            app.aoiInterfacePos = Qt.vector4d(x, y, width, height)
    }
    Connections {
        target: window
        function onClosing(close) {
            if (window.executing || window.scanning)
                close.accepted = false
        }
    }
    Connections {
        target: app.machineState
        function onMachineOnChanged() { if (!window.app.machineOn && window.executing) window.eng().stopAll() }
        function onMachineHomed2Changed() { if (!window.app.machineHomed2 && window.executing) window.eng().stopAll() }
    }
    Connections {
        target: app
        function onAppError() { if (window.executing && !window.eng().inRun()) window.eng().stopAll() }
        function onGetGcodeDone(successful) { window.eng().gCodeDoneGet(successful) }
    }
    Component.onCompleted: {
        var p = app.aoiInterfacePos
        if (app.saveWindowsPos && p.z > 0 && p.w > 0) {
            x = p.x; y = p.y; width = p.z; height = p.w
        }
        // A stop of the run stops its inspection.
        app.jobPort.addReset("steps", function() { window.eng().stopAll() })
        app.toolWindows.register("aoiInterface", window)
    }

    // ---- layout
    SplitView {
        anchors.fill: parent
        orientation: Qt.Horizontal

        // Wide enough for the labels beside their sliders and the columns
        // of the table.
        ColumnLayout {
            Layout.minimumWidth: 360
            width: 440
            spacing: 6

            GridLayout {
                columns: 2
                Layout.margins: 6
                Button {
                    objectName: "aoiTemplatesButton"
                    Layout.fillWidth: true
                    Layout.preferredHeight: 44
                    enabled: !window.makingAoi
                    text: window.creatingTemplates ? tr(qsTr("Остановить")) : tr(qsTr("Создать")) + "\n" + tr(qsTr("шаблоны"))
                    onClicked: window.creatingTemplatesF()
                }
                Button {
                    objectName: "aoiInspectButton"
                    Layout.fillWidth: true
                    Layout.preferredHeight: 44
                    enabled: !window.creatingTemplates
                    text: window.makingAoi ? tr(qsTr("Остановить")) : tr(qsTr("Провести")) + "\n" + tr(qsTr("инспекцию"))
                    onClicked: window.makingAoiF()
                }
                Button {
                    objectName: "aoiRemoveTemplatesButton"
                    Layout.fillWidth: true
                    Layout.preferredHeight: 44
                    enabled: !window.executing
                    text: tr(qsTr("Удалить")) + "\n" + tr(qsTr("шаблоны"))
                    onClicked: window.aoiRemoveTemplates()
                }
                Button {
                    objectName: "aoiRemoveResultsButton"
                    Layout.fillWidth: true
                    Layout.preferredHeight: 44
                    enabled: !window.executing
                    text: tr(qsTr("Удалить")) + "\n" + tr(qsTr("результаты"))
                    onClicked: window.aoiRemoveResults()
                }
            }
            WindowCheckBox {
                objectName: "aoiProjectEnabledBox"
                Layout.leftMargin: 6
                text: tr(qsTr("Разрешить инспекцию этого")) + "\n" + tr(qsTr("проекта после расстановки"))
                checked: app.projectAoiEnabled
                onClicked: app.projectAoiEnabled = checked
            }

            GridLayout {
                columns: 3
                Layout.margins: 6
                Label { color: "white"; text: tr(qsTr("Порог инспекции:")) }
                Slider {
                    objectName: "aoiThresholdSlider"
                    Layout.fillWidth: true
                    Layout.minimumWidth: 100
                    Layout.preferredWidth: 120
                    minimumValue: 20; maximumValue: 200; stepSize: 1
                    value: app.aoiThreshold
                    onValueChanged: if (value !== app.aoiThreshold) app.aoiThreshold = value
                }
                Label { color: "white"; text: Number(app.aoiThreshold).toFixed(0) }
                Label { color: "white"; text: tr(qsTr("Размытие деталей:")) }
                Slider {
                    objectName: "aoiErosionSlider"
                    Layout.fillWidth: true
                    Layout.minimumWidth: 100
                    Layout.preferredWidth: 120
                    minimumValue: 0; maximumValue: 5; stepSize: 1
                    value: app.aoiErosion
                    onValueChanged: if (value !== app.aoiErosion) app.aoiErosion = value
                }
                Label { color: "white"; text: Number(app.aoiErosion).toFixed(0) }
                Label { color: "white"; text: tr(qsTr("Допустимая погрешность:")) }
                Slider {
                    objectName: "aoiLimitSlider"
                    Layout.fillWidth: true
                    Layout.minimumWidth: 100
                    Layout.preferredWidth: 120
                    minimumValue: 3; maximumValue: 90; stepSize: 1
                    value: app.aoiDiffPercentLimit
                    onValueChanged: if (value !== app.aoiDiffPercentLimit) app.aoiDiffPercentLimit = value
                }
                Label { color: "white"; text: Number(app.aoiDiffPercentLimit).toFixed(0) + "%" }
                Label { color: "white"; text: tr(qsTr("Видимость результата инспекции:")) }
                Slider {
                    Layout.fillWidth: true
                    Layout.minimumWidth: 100
                    Layout.preferredWidth: 120
                    minimumValue: 0; maximumValue: 100; stepSize: 1
                    value: app.aoiVisibility
                    onValueChanged: if (value !== app.aoiVisibility) app.aoiVisibility = value
                }
                Label { color: "white"; text: Number(app.aoiVisibility).toFixed(0) + "%" }
                Label { color: "white"; text: tr(qsTr("Видимость красных зон:")) }
                Slider {
                    Layout.fillWidth: true
                    Layout.minimumWidth: 100
                    Layout.preferredWidth: 120
                    minimumValue: 0; maximumValue: 100; stepSize: 1
                    value: app.aoiDiffVisibility
                    onValueChanged: if (value !== app.aoiDiffVisibility) app.aoiDiffVisibility = value
                }
                Label { color: "white"; text: Number(app.aoiDiffVisibility).toFixed(0) + "%" }
                Label { color: "white"; text: tr(qsTr("Задержка сканирования, мс:")) }
                Slider {
                    Layout.fillWidth: true
                    Layout.minimumWidth: 100
                    Layout.preferredWidth: 120
                    minimumValue: 0; maximumValue: 1000; stepSize: 10
                    value: app.camera1DelayAoi
                    onValueChanged: if (value !== app.camera1DelayAoi) app.camera1DelayAoi = value
                }
                Label { color: "white"; text: Number(app.camera1DelayAoi).toFixed(0) }
            }

            TableView {
                objectName: "aoiWorkTable"
                Layout.fillWidth: true
                Layout.fillHeight: true
                model: window.workModel
                currentRow: window.currentRow
                TableViewColumn {
                    role: "image"
                    title: ""
                    width: 30
                    delegate: Image {
                        source: String(styleData.value)
                        fillMode: Image.PreserveAspectFit
                        asynchronous: true
                    }
                }
                TableViewColumn { role: "feeder"; title: tr(qsTr("Питатель")); width: 90 }
                TableViewColumn { role: "el"; title: tr(qsTr("Компонент")); width: 140 }
                TableViewColumn { role: "coords"; title: tr(qsTr("Координаты")); width: 160 }
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 4

            RowLayout {
                Layout.margins: 4
                Button {
                    objectName: "aoiAutoScaleButton"
                    text: tr(qsTr("Автомасштаб"))
                    onClicked: window.autoScale()
                }
                Label {
                    color: "white"
                    text: window.scanning ? tr(qsTr("Поиск реперных знаков...")) : ""
                }
            }

            // The board view: the inspection objects of every board.
            Flickable {
                id: boardView
                objectName: "aoiBoardView"
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                contentWidth: Math.max(width, (Number(app.workAreaX2) - Number(app.workAreaX1)) * window.viewScale)
                contentHeight: Math.max(height, (Number(app.workAreaY2) - Number(app.workAreaY1)) * window.viewScale)
                boundsBehavior: Flickable.StopAtBounds
                Rectangle {
                    width: boardView.contentWidth
                    height: boardView.contentHeight
                    color: "#37474F"
                }
                Repeater {
                    model: window.objectsModel
                    delegate: Item {
                        readonly property real s: window.viewScale
                        readonly property bool isSelected: index === window.selected
                        readonly property real ppm: Number(app.camera1PPMCorr) > 0 ? Number(app.camera1PPMCorr) : 1
                        x: model.x * s
                        y: model.y * s
                        width: Math.max(1, model.w * s)
                        height: Math.max(1, model.h * s)
                        rotation: model.rot
                        Rectangle {
                            anchors.fill: parent
                            color: "transparent"
                            border.color: "#90A4AE"
                            border.width: 1
                        }
                        // The template frame: the inspection photo and its
                        // mask inside it, moved by the measured shift.
                        Item {
                            anchors.centerIn: parent
                            width: parent.width * Aoi.TEMPLATE_FACTOR
                            height: parent.height * Aoi.TEMPLATE_FACTOR
                            Image {
                                anchors.centerIn: parent
                                width: parent.width * Aoi.AOI_TO_TEMPLATE
                                height: parent.height * Aoi.AOI_TO_TEMPLATE
                                source: model.aoiPhoto
                                visible: model.aoiPhoto !== ""
                                opacity: Number(app.aoiVisibility) / 100
                                transform: Translate { x: model.shiftX / ppm * s; y: model.shiftY / ppm * s }
                            }
                            Image {
                                anchors.centerIn: parent
                                width: parent.width * Aoi.AOI_TO_TEMPLATE
                                height: parent.height * Aoi.AOI_TO_TEMPLATE
                                source: model.diffPhoto
                                visible: model.diffPhoto !== ""
                                opacity: Number(app.aoiDiffVisibility) / 100
                                transform: Translate { x: model.shiftX / ppm * s; y: model.shiftY / ppm * s }
                            }
                            Rectangle {
                                anchors.fill: parent
                                color: "transparent"
                                border.width: Aoi.borderWidth(model.loaded, isSelected, model.aoiDiff,
                                                              app.aoiDiffPercentLimit)
                                border.color: Aoi.borderColor(isSelected,
                                                              Aoi.quality(model.aoiDiff, app.aoiDiffPercentLimit))
                            }
                            MouseArea {
                                anchors.fill: parent
                                onClicked: window.select(index)
                            }
                        }
                    }
                }
                // Zoom with the wheel, the point under the cursor staying.
                MouseArea {
                    width: boardView.contentWidth
                    height: boardView.contentHeight
                    acceptedButtons: Qt.NoButton
                    onWheel: {
                        var f = wheel.angleDelta.y > 0 ? 1.3 : 0.7
                        var next = Math.min(Aoi.MAX_ZOOM, Math.max(0.1, window.viewScale * f))
                        var k = next / window.viewScale
                        var px = wheel.x, py = wheel.y
                        window.viewScale = next
                        boardView.contentX = Math.max(0, px * k - (px - boardView.contentX))
                        boardView.contentY = Math.max(0, py * k - (py - boardView.contentY))
                    }
                }
            }

            // The selected object enlarged: template, inspection photo, and
            // the two over each other with the mask, the photo blinking.
            RowLayout {
                objectName: "aoiPreviews"
                visible: window.selectedObject !== null
                Layout.margins: 4
                Layout.preferredHeight: 170
                spacing: 8
                readonly property var o: window.selectedObject
                Image {
                    objectName: "aoiPreviewTemplate"
                    Layout.preferredWidth: 150
                    Layout.preferredHeight: 150
                    fillMode: Image.PreserveAspectFit
                    source: parent.o ? parent.o.template : ""
                }
                Image {
                    objectName: "aoiPreviewPhoto"
                    Layout.preferredWidth: 150 * Aoi.AOI_TO_TEMPLATE
                    Layout.preferredHeight: 150 * Aoi.AOI_TO_TEMPLATE
                    fillMode: Image.PreserveAspectFit
                    source: parent.o ? parent.o.aoiPhoto : ""
                }
                Item {
                    id: overlay
                    Layout.preferredWidth: 150
                    Layout.preferredHeight: 150
                    readonly property var o: parent.o
                    readonly property real k: overlayTemplate.paintedWidth > 0 && o && Number(o.w) > 0
                                              ? overlayTemplate.paintedWidth / (Number(o.w) * Aoi.TEMPLATE_FACTOR
                                                                                * Number(app.camera1PPMCorr)) : 0
                    Image {
                        id: overlayTemplate
                        anchors.fill: parent
                        fillMode: Image.PreserveAspectFit
                        source: overlay.o ? overlay.o.template : ""
                    }
                    Image {
                        id: overlayPhoto
                        anchors.centerIn: parent
                        width: overlayTemplate.paintedWidth * Aoi.AOI_TO_TEMPLATE
                        height: overlayTemplate.paintedHeight * Aoi.AOI_TO_TEMPLATE
                        source: overlay.o ? overlay.o.aoiPhoto : ""
                        transform: Translate { x: overlay.o ? overlay.o.shiftX * overlay.k : 0
                                               y: overlay.o ? overlay.o.shiftY * overlay.k : 0 }
                        opacity: 0.5
                        SequentialAnimation on opacity {
                            running: window.visible && overlay.o !== null && overlay.o.aoiPhoto !== ""
                            loops: Animation.Infinite
                            NumberAnimation { to: 0; duration: 1000 }
                            NumberAnimation { to: 0.5; duration: 1000 }
                        }
                    }
                    Image {
                        anchors.centerIn: parent
                        width: overlayPhoto.width
                        height: overlayPhoto.height
                        source: overlay.o ? overlay.o.diffPhoto : ""
                        transform: Translate { x: overlay.o ? overlay.o.shiftX * overlay.k : 0
                                               y: overlay.o ? overlay.o.shiftY * overlay.k : 0 }
                        opacity: 0.5
                    }
                }
                Label {
                    objectName: "aoiDiffText"
                    color: "white"
                    text: parent.o ? tr(Aoi.diffText(parent.o.aoiDiff)) : ""
                }
            }
        }
    }
}

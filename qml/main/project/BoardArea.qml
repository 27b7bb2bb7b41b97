import QtQuick 2.15
import QtQuick.Controls 1.4
import CustomComponents 1.0
import enums 1.0
import "../lib/feeders.js" as Feeders
import "../lib/geometry.js" as Geometry
import "../lib/boardView.js" as BV
import "../job/program.js" as Program

// The board view of the start screen: the machine's work area with the board
// picture, the components, reference marks and dots of the open project.
// Design coordinates (mm) map to the view by `app.areaScale` (pixels per mm).
Rectangle {
    id: area
    property var app
    readonly property real s: app.areaScale
    // Largest number of reference marks of a project.
    readonly property int maxRefCount: 50

    color: "#37474F"
    clip: true

    Flickable {
        id: flick
        anchors.fill: parent
        contentWidth: Math.max(width, content.width)
        contentHeight: Math.max(height, content.height)
        boundsBehavior: Flickable.StopAtBounds

        // A double-click adds a component at the point (the Flickable still
        // takes drags, so the view pans as before).
        MouseArea {
            objectName: "addComponentMouse"
            width: flick.contentWidth
            height: flick.contentHeight
            acceptedButtons: Qt.LeftButton
            enabled: area.addingAllowed
            onDoubleClicked: area.addComponentAt(area.calcReal(mouse.x), area.calcReal(mouse.y))
        }

        Item {
            id: content
            width: Math.max(1, (app.workAreaX2 - app.workAreaX1)) * area.s
            height: Math.max(1, (app.workAreaY2 - app.workAreaY1)) * area.s

            // Only the visible part of the grid is painted.
            Grid {
                readonly property real step: 10 * area.s
                x: Math.floor(flick.contentX / step) * step
                y: Math.floor(flick.contentY / step) * step
                width: flick.width + step
                height: flick.height + step
                areaScale: area.s
                gridStep: 10
                color: "#455A64"
            }

            Rectangle {
                id: workArea
                anchors.fill: parent
                color: "transparent"
                border.color: "#90A4AE"
            }

            Image {
                id: pcbPicture
                objectName: "pcbPicture"
                source: app.pcbImage
                visible: String(app.pcbImage) !== ""
                x: app.pcbX * area.s
                y: app.pcbY * area.s
                width: app.pcbWidth * area.s
                height: app.pcbHeight * area.s
                fillMode: Image.Stretch
                asynchronous: true
                transform: Rotation {
                    origin.x: (app.pcbAnchorX - app.pcbX) * area.s
                    origin.y: (app.pcbAnchorY - app.pcbY) * area.s
                    angle: app.pcbRotation
                }
            }

            // Components, marks and dots hang below these items.
            Item { id: elementView; objectName: "elementView"; anchors.fill: parent }
            Item { id: refView; anchors.fill: parent }
            Item { id: dotView; anchors.fill: parent }

            // The panel's board outlines, numbered, with a red cross on excluded ones.
            Repeater {
                model: area.outlines
                delegate: Item {
                    x: modelData.x * area.s
                    y: modelData.y * area.s
                    width: modelData.w * area.s
                    height: modelData.h * area.s
                    rotation: modelData.rot
                    Rectangle { anchors.fill: parent; color: "transparent"; border.color: "#B0BEC5"; border.width: 1 }
                    Text { text: modelData.index + 1; color: "#B0BEC5"; x: 2; y: 2 }
                    Canvas {
                        anchors.fill: parent
                        visible: area.banned(modelData.row, modelData.col)
                        onPaint: {
                            var c = getContext("2d")
                            c.strokeStyle = "red"
                            c.lineWidth = 2
                            c.beginPath()
                            c.moveTo(0, 0); c.lineTo(width, height)
                            c.moveTo(width, 0); c.lineTo(0, height)
                            c.stroke()
                        }
                    }
                }
            }
            // The ruler's line and the band.
            Canvas {
                id: rulerCanvas
                anchors.fill: parent
                visible: area.ruler !== null
                property var r: area.ruler
                onRChanged: requestPaint()
                onPaint: {
                    var c = getContext("2d")
                    c.reset()
                    if (!r)
                        return
                    c.strokeStyle = "#FFEB3B"
                    c.lineWidth = 1
                    c.beginPath()
                    c.moveTo(r.x1 * area.s, r.y1 * area.s)
                    c.lineTo(r.x2 * area.s, r.y2 * area.s)
                    c.stroke()
                }
            }
        }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.NoButton
        onWheel: {
            var factor = wheel.angleDelta.y > 0 ? 1.3 : 0.7
            area.zoomAt(Math.min(1000, Math.max(1, app.areaScale * factor)), wheel.x, wheel.y)
        }
    }

    // ---- editing: the current action, the selection, keys, band, ruler, ban

    // What a click or drag does (Enums.CurrAction); windows change it
    // through tryChangeAction.
    property int currAction: Enums.Nothing
    property var selectedElementList: []
    property int selectedElementCount: 0
    property var selectedRefList: []
    property int selectedRefCount: 0
    // Repeated insertion: the feeder ({model, index, dispenser}), the last
    // added component and the rotation for the next one.
    property var lastFeeder: null
    function setLastFeeder(model, index, dispenser) {
        lastFeeder = { "model": String(model), "index": Number(index), "dispenser": dispenser === true }
        lastInsertAt = null
    }
    property var lastElement: null
    property real lastRotation: 0
    property var lastInsertAt: null
    // The component the mouse holds (the arrows turn it).
    property var pickedElement: null
    property bool shiftPressed: false
    property bool ctrlPressed: false
    property bool preciseRotation: false
    property bool dragActive: false
    readonly property real elMoveStep: BV.ELEMENT_MOVE_STEP
    // The ruler ({x1, y1, x2, y2} design mm) and the band being drawn (view px).
    property var ruler: null
    property var band: null
    // The design point under the cursor, while it is over the view.
    property var mouseDesign: null

    function tryChangeAction(action) {
        if (currAction === Enums.Ruler && action !== Enums.Ruler)
            ruler = null
        currAction = action
        return true
    }

    // View pixels to design millimetres and back.
    function calcReal(v) { return Number(v) / app.areaScale }
    function calcScaled(v) { return Number(v) * app.areaScale }
    function designAt(vx, vy) { return { "x": calcReal(flick.contentX + vx), "y": calcReal(flick.contentY + vy) } }

    function setSelection(items) {
        var all = [app.elementList, app.refList, app.dotList]
        for (var l = 0; l < all.length; ++l)
            for (var i = 0; i < all[l].length; ++i)
                all[l][i].selected = items.indexOf(all[l][i]) >= 0
        selectedElementList = items
        selectedElementCount = items.length
        var refs = items.filter(function(o) { return o.refId !== undefined })
        selectedRefList = refs
        selectedRefCount = refs.length
    }
    function deselectAll() { setSelection([]) }

    // Every component, mark and dot the band (view px) meets.
    function selectInBand(x1, y1, x2, y2) {
        var b = BV.bandToDesign(BV.bandRect(x1, y1, x2, y2, area.width, area.height), flick.contentX, flick.contentY,
                                app.areaScale)
        var items = liveOf(app.elementList).concat(liveOf(app.refList), liveOf(app.dotList))
        var extents = items.map(function(o) {
            if (o.refId !== undefined)
                return { "rotRX": o.rotRX, "rotRY": o.rotRY, "rotWidth": o.rotWidth, "rotHeight": o.rotHeight }
            if (o.elWidth !== undefined)
                return { "rotRX": o.rX + o.elWidth / 2 - o.rotWidth / 2, "rotRY": o.rY + o.elHeight / 2 - o.rotHeight / 2,
                         "rotWidth": o.rotWidth, "rotHeight": o.rotHeight }
            return { "rotRX": o.rX - o.dotSize / 2, "rotRY": o.rY - o.dotSize / 2, "rotWidth": o.dotSize,
                     "rotHeight": o.dotSize }
        })
        var picked = BV.bandSelect(extents, b).map(function(i) { return items[i] })
        setSelection(picked)
        return picked.length
    }

    // Ctrl + arrow: the selection moves by elMoveStep ("right", "left", "up", "down").
    function moveSelected(key) {
        var d = BV.keyMove(key, elMoveStep)
        if (!d || dragActive)
            return false
        var list = selectedElementList
        for (var i = 0; i < list.length; ++i) {
            var o = list[i]
            o.rX = Math.round((o.rX + d.dx) * 1e6) / 1e6
            o.rY = Math.round((o.rY + d.dy) * 1e6) / 1e6
            if (o.elWidth !== undefined) {
                updateBounds(o)
                app.recalculateOverlapsF(o)
            } else {
                o.outOfBounds = !pointInside(o.rX, o.rY)
            }
        }
        app.calcElementRect()
        return list.length > 0
    }

    // Right (+1) / Left (-1) while a component is held.
    function rotatePicked(direction) {
        var el = pickedElement
        if (!el)
            return false
        el.rot = BV.rotateStep(el.rot, direction)
        if (el === lastElement)
            lastRotation = el.rot
        updateBounds(el)
        app.recalculateOverlapsF(el)
        return true
    }

    function escapePressed() {
        if ((currAction === Enums.SelectElements || currAction === Enums.ChangeFeeder) && selectedElementCount > 0)
            deselectAll()
        else
            tryChangeAction(Enums.Nothing)
    }

    // Insert released at the design point (x, y): one component (or dot) from
    // the last feeder, never twice at the same mouse position.
    function insertAt(x, y) {
        var allowed = BV.insertAllowed({ "moving": currAction === Enums.MoveElements, "hasFeeder": lastFeeder !== null,
                                         "mouseInView": x !== undefined && x !== null,
                                         "x": x, "y": y, "lastX": lastInsertAt ? lastInsertAt.x : null,
                                         "lastY": lastInsertAt ? lastInsertAt.y : null })
        if (!allowed)
            return null
        lastInsertAt = { "x": x, "y": y }
        var f = lastFeeder
        if (f.dispenser)
            return setDot(f.model, f.index, x, y, 0, -1, -1)
        var feeder = app.getFeeder(f.model, f.index)
        var w = feeder ? Number(feeder.elWidth) || 0 : 0, h = feeder ? Number(feeder.elHeight) || 0 : 0
        var el = createElementFromFeeder(f.model, f.index, x - w / 2, y - h / 2, lastRotation, 0, "", -1, -1)
        if (el)
            lastElement = el
        return el
    }

    // A component added from a feeder outside the Insert key (the
    // add-component window): Insert repeats it from now on.
    function componentAdded(model, index, el) {
        setLastFeeder(model, index, false)
        lastElement = el
        lastRotation = el.rot
    }

    // Double-click at the design point (x, y): the add-component window for
    // its machine point, while the view is idle or moving items and the
    // point lies inside the work area. Returns whether the window opened.
    readonly property bool addingAllowed: currAction === Enums.Nothing || currAction === Enums.MoveElements
    function addComponentAt(x, y) {
        var p = BV.addComponentPoint(x, y, addingAllowed,
                                     { "workAreaX1": app.workAreaX1, "workAreaX2": app.workAreaX2,
                                       "workAreaY1": app.workAreaY1, "workAreaY2": app.workAreaY2 })
        var w = p ? app.findToolWindow("addNewElement") : null
        if (!w)
            return false
        w.openAt(p.x, p.y)
        return true
    }

    // A ruler click at the design point.
    function rulerClick(x, y) {
        ruler = BV.rulerClick(ruler, x, y)
        return ruler
    }

    // The outlines of the panel's boards round the components' extent.
    function boardOutlines() {
        var p = panel()
        if (!p.pcbMulti)
            return []
        return BV.panelOutlines(BV.componentExtent(liveOf(app.elementList)), Program.boardGrid(p),
                                function(x, y, w, h, r, c) { return Program.placeOnBoard(x, y, w, h, r, c, p) })
    }
    property var outlines: []
    function updateOutlines() { outlines = boardOutlines() }
    Connections {
        target: app
        function onElementCountChanged() { area.updateOutlines() }
        function onPcbMultiChanged() { area.updateOutlines() }
        function onPcbMultiCountXChanged() { area.updateOutlines() }
        function onPcbMultiCountYChanged() { area.updateOutlines() }
        function onPcbMultiNonstandartChanged() { area.updateOutlines() }
    }

    // A click on a board of the panel (design point) in PcbMultiBan toggles
    // its exclusion; returns the board's {row, col} or null.
    function banClick(x, y) {
        updateOutlines()
        var o = BV.outlineAt(outlines, x, y)
        if (!o)
            return null
        var p = panel()

        var cell = BV.banCell(o.index, Program.boardGrid(p).cols, p.pcbMultiNonstandart)
        app.pcbMultiBan2D = BV.toggleBan(app.pcbMultiBan2D, cell.row, cell.col)
        return cell
    }
    function banned(row, col) { return Program.isExcluded(app.pcbMultiBan2D, row, col) }

    // The head camera to the design point: its machine point minus the
    // camera offset, when that lies inside the work area; null otherwise.
    function cameraPointFor(x, y) {
        var m = Geometry.machinePoint(x, y, { "workAreaX1": app.workAreaX1, "workAreaY2": app.workAreaY2 })
        var t = { "x": m.x - Number(app.camera1XShift), "y": m.y - Number(app.camera1YShift) }
        var env = { "workAreaX1": app.workAreaX1, "workAreaX2": app.workAreaX2, "workAreaY1": app.workAreaY1,
                    "workAreaY2": app.workAreaY2 }
        return BV.insideWorkArea(t.x, t.y, env) ? t : null
    }
    // "Подвести камеру к точке": the menu is offered only when the machine
    // is calibrated and idle.
    function cameraMenuAllowed() { return app.machineHomed2 === true && !app.executing }
    function moveCameraTo(point) {
        var text = BV.cameraToPointText(point.x, point.y)
        if (text === null) {
            app.errorMessage(app.t + qsTr("Неверные координаты перемещения камеры: перемещение не выполнено"), false, "")
            return false
        }
        app.setDoutOn(4, false)
        app.showToolWindow("camera1Window")
        app.setActivity("cameraToPoint", true)
        app.gCodeWait(text, true, function() { area.app.setActivity("cameraToPoint", false) })
        return true
    }
    property var cameraMenuPoint: null
    Menu {
        id: cameraMenu
        MenuItem {
            text: app.t + qsTr("Подвести камеру к точке")
            onTriggered: if (area.cameraMenuPoint) area.moveCameraTo(area.cameraMenuPoint)
        }
    }

    Text {
        objectName: "rulerText"
        visible: area.ruler !== null
        color: "#FFEB3B"
        x: 8
        y: 8
        text: {
            var l = BV.rulerLength(area.ruler)
            return "dX: " + l.dx.toFixed(3) + "  dY: " + l.dy.toFixed(3) + "  L: " + l.length.toFixed(3)
        }
    }
    Rectangle {
        visible: area.band !== null
        color: "#3300BCD4"
        border.color: "#00BCD4"
        x: area.band ? Math.min(area.band.x1, area.band.x2) : 0
        y: area.band ? Math.min(area.band.y1, area.band.y2) : 0
        width: area.band ? Math.abs(area.band.x2 - area.band.x1) : 0
        height: area.band ? Math.abs(area.band.y2 - area.band.y1) : 0
    }

    MouseArea {
        id: editMouse
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.RightButton
                         | ((area.currAction === Enums.SelectElements && area.shiftPressed)
                            || area.currAction === Enums.Ruler || area.currAction === Enums.PcbMultiBan
                            ? Qt.LeftButton : 0)
        onPositionChanged: {
            area.mouseDesign = area.designAt(mouse.x, mouse.y)
            if (area.band)
                area.band = { "x1": area.band.x1, "y1": area.band.y1, "x2": mouse.x, "y2": mouse.y }
        }
        onExited: area.mouseDesign = null
        onPressed: {
            area.forceActiveFocus()
            if (mouse.button === Qt.LeftButton && area.currAction === Enums.SelectElements && area.shiftPressed)
                area.band = { "x1": mouse.x, "y1": mouse.y, "x2": mouse.x, "y2": mouse.y }
        }
        onReleased: {
            if (area.band) {
                area.selectInBand(area.band.x1, area.band.y1, mouse.x, mouse.y)
                area.band = null
            }
        }
        onClicked: {
            var d = area.designAt(mouse.x, mouse.y)
            if (mouse.button === Qt.RightButton) {
                if (!area.cameraMenuAllowed())
                    return
                area.cameraMenuPoint = area.cameraPointFor(d.x, d.y)
                if (area.cameraMenuPoint)
                    cameraMenu.popup()
                return
            }
            if (area.currAction === Enums.Ruler)
                area.rulerClick(d.x, d.y)
            else if (area.currAction === Enums.PcbMultiBan)
                area.banClick(d.x, d.y)
        }
    }

    focus: true
    Keys.onPressed: {
        if (event.key === Qt.Key_Shift) area.shiftPressed = true
        else if (event.key === Qt.Key_Control) area.ctrlPressed = true
        else if (event.key === Qt.Key_Space) area.preciseRotation = true
        else if (event.key === Qt.Key_Escape) area.escapePressed()
        else if (event.modifiers & Qt.ControlModifier) {
            var key = event.key === Qt.Key_Right ? "right" : event.key === Qt.Key_Left ? "left"
                    : event.key === Qt.Key_Up ? "up" : event.key === Qt.Key_Down ? "down" : ""
            if (key === "")
                return
            area.moveSelected(key)
        } else if (event.key === Qt.Key_Right && area.pickedElement) area.rotatePicked(1)
        else if (event.key === Qt.Key_Left && area.pickedElement) area.rotatePicked(-1)
        else return
        event.accepted = true
    }
    Keys.onReleased: {
        if (event.key === Qt.Key_Shift) area.shiftPressed = false
        else if (event.key === Qt.Key_Control) area.ctrlPressed = false
        else if (event.key === Qt.Key_Space) area.preciseRotation = false
        else if (event.key === Qt.Key_Insert && !event.isAutoRepeat) {
            var m = area.mouseDesign
            area.insertAt(m ? m.x : null, m ? m.y : null)
        } else return
        event.accepted = true
    }

    Component { id: elementComponent; Element {} }
    Component { id: refComponent; RefPoint {} }
    Component { id: dotComponent; Dot {} }

    // Sets the scale keeping the design point under (vx, vy) of the view in place.
    function zoomAt(newScale, vx, vy) {
        var dx = (flick.contentX + vx) / app.areaScale
        var dy = (flick.contentY + vy) / app.areaScale
        app.areaScale = newScale
        scrollTo((dx * newScale - vx) / newScale, (dy * newScale - vy) / newScale)
    }

    // A fit asked for before the view had its size is done once it has one.
    property bool zoomPending: false
    onWidthChanged: if (zoomPending) Qt.callLater(zoomOnPCBAndComponents)
    onHeightChanged: if (zoomPending) Qt.callLater(zoomOnPCBAndComponents)

    // Fits the board and every component into the view.
    function zoomOnPCBAndComponents() {
        if (area.width <= 0 || area.height <= 0 || !area.visible) {
            zoomPending = true
            return
        }
        zoomPending = false
        var x1 = Infinity, y1 = Infinity, x2 = -Infinity, y2 = -Infinity
        function take(ax, ay, bx, by) {
            x1 = Math.min(x1, ax); y1 = Math.min(y1, ay); x2 = Math.max(x2, bx); y2 = Math.max(y2, by)
        }
        if (String(app.pcbImage) !== "")
            take(app.pcbX, app.pcbY, app.pcbX + app.pcbWidth, app.pcbY + app.pcbHeight)
        var list = app.elementList
        for (var i = 0; i < list.length; ++i)
            take(list[i].rX, list[i].rY, list[i].rX + list[i].rotWidth, list[i].rY + list[i].rotHeight)
        list = app.refList
        for (i = 0; i < list.length; ++i)
            take(list[i].rX, list[i].rY, list[i].rX, list[i].rY)
        if (!isFinite(x1))
            return
        var margin = 5
        var scale = Math.min(area.width / (x2 - x1 + 2 * margin), area.height / (y2 - y1 + 2 * margin))
        app.areaScale = Math.min(1000, Math.max(1, scale))
        scrollTo(x1 - margin, y1 - margin)
    }

    // Scrolls the view so that the design point (x, y) is its top left corner.
    function scrollTo(x, y) {
        var w = Math.max(flick.width, content.width)
        var h = Math.max(flick.height, content.height)
        flick.contentX = Math.max(0, Math.min(w - flick.width, x * app.areaScale))
        flick.contentY = Math.max(0, Math.min(h - flick.height, y * app.areaScale))
    }

    function asInt(v, def) {
        var n = Number(v)
        return v === undefined || v === null || v === "" || isNaN(n) ? def : Math.round(n)
    }
    function asReal(v, def) {
        var n = Number(v)
        return v === undefined || v === null || v === "" || isNaN(n) ? def : n
    }
    function asBool(v) {
        return v === true || v === "true" || v === 1 || v === "1"
    }

    // A component of the package at position indexInBase of the package list.
    // Nothing is created for an unknown package; returns the component or null.
    function createElement(indexInBase, partNumber, model, index, rX, rY, angle, disabled, designator,
                           preferredRef1, preferredRef2, elPhoto) {
        var n = asInt(indexInBase, -1)
        if (n < 0 || n >= app.packageList.count)
            return null
        var pack = app.packageList.get(n)
        var el = elementComponent.createObject(elementView, {
            "app": app,
            "areaScale": Qt.binding(function() { return app.areaScale }),
            "pack": String(pack.name), "elementPath": String(pack.path),
            "elWidth": asReal(pack.A, 1), "elHeight": asReal(pack.B, 1), "elThickness": asReal(pack.H, 1),
            "partNumber": String(partNumber === undefined ? "" : partNumber),
            "model": String(model === undefined || model === "" ? "L" : model),
            "index": asInt(index, -1), "rX": asReal(rX, 0), "rY": asReal(rY, 0),
            "rot": Geometry.minAngle(asReal(angle, 0)), "disabled": asInt(disabled, 0),
            "designator": String(designator === undefined ? "" : designator),
            "preferredRef1": asInt(preferredRef1, -1), "preferredRef2": asInt(preferredRef2, -1),
            "elPhoto": elPhoto === undefined || elPhoto === null ? "" : elPhoto })
        if (!el)
            return null
        app.elementList.push(el)
        app.elementCount = app.elementList.length
        updateBounds(el)
        // While a project loads, feeders and overlaps are done once at the end.
        if (!app.noCalcOverlaps)
            app.projectActions.updateFeederMatch(el)
        app.recalculateOverlapsF(el)
        return el
    }

    // A component taken from a feeder: its package and part number are the
    // feeder's. Returns the component or null (with an error list entry).
    function createElementFromFeeder(model, index, rX, rY, angle, disabled, designator, preferredRef1, preferredRef2) {
        var feeder = app.getFeeder(model, index)
        var el = feeder && feeder.packageIndex >= 0
            ? createElement(feeder.packageIndex, feeder.partNumber, Feeders.bankOf(model), index, rX, rY, angle,
                            disabled === undefined ? 0 : disabled, designator,
                            preferredRef1 === undefined ? -1 : preferredRef1,
                            preferredRef2 === undefined ? -1 : preferredRef2, "")
            : null
        if (!el)
            app.errorAdd(app.t + qsTr("ошибка при загрузке компонента из питателя ") + app.feederBanks.sideName(model) + " №"
                         + (Number(index) + 1))
        return el
    }

    // A reference mark with default recognition settings.
    function setRefPoint(x, y, disabled) {
        return setRefPointFull(x, y, disabled, false, 0, 1, 1, false, 50, 80, 150, 100, "", -1)
    }

    // A reference mark with all its fields; an id of -1 takes the next free one.
    function setRefPointFull(x, y, disabled, indiv, type, size, size2, inv, roi, templateMathCoeff, t1, t2, photo, id) {
        if (app.refList.length >= maxRefCount) {
            app.errorMessage(app.t + qsTr("Проект не может содержать более 50-и реперных знаков."), false, "")
            return null
        }
        var rx = asReal(x, 0), ry = asReal(y, 0)
        var live = liveOf(app.refList)
        var onTop = BV.refOverlapping(live, rx, ry)
        if (onTop) {
            app.errorAdd(app.t + qsTr("Реперный знак в точке X: %1 Y: %2 совпадает с реперным знаком %3 и не добавлен")
                         .arg(rx.toFixed(2)).arg(ry.toFixed(2)).arg(onTop.refId))
            return null
        }
        var ids = live.map(function(r) { return r.refId })
        var chosen = BV.refIdFor(id, app.pcbRefPointMaxId, ids)
        var refId = chosen.id
        app.pcbRefPointMaxId = chosen.maxId
        var ref = refComponent.createObject(refView, {
            "app": app, "areaScale": Qt.binding(function() { return app.areaScale }),
            "refId": refId, "rX": asReal(x, 0), "rY": asReal(y, 0), "disabled": asInt(disabled, 0),
            "indiv": asBool(indiv), "type": asInt(type, 0), "size": asReal(size, 1), "size2": asReal(size2, 1),
            "inv": asBool(inv), "roi": asInt(roi, 50), "templateMathCoeff": asInt(templateMathCoeff, 80),
            "t1": asInt(t1, 150), "t2": asInt(t2, 100),
            "photo": photo === undefined || photo === null ? "" : photo })
        if (!ref)
            return null
        app.refList.push(ref)
        app.refCount = app.refList.length
        ref.outOfBounds = !pointInside(ref.rX, ref.rY)
        return ref
    }

    // A solder dot made by the dispenser `model`/`index`.
    function setDot(model, index, x, y, disabled, preferredRef1, preferredRef2) {
        var dot = dotComponent.createObject(dotView, {
            "app": app, "areaScale": Qt.binding(function() { return app.areaScale }),
            "model": String(model === undefined || model === "" ? "L" : model), "index": asInt(index, 0),
            "rX": asReal(x, 0), "rY": asReal(y, 0), "disabled": asInt(disabled, 0),
            "preferredRef1": asInt(preferredRef1, -1), "preferredRef2": asInt(preferredRef2, -1) })
        if (!dot)
            return null
        app.dotList.push(dot)
        app.dotCount = app.dotList.length
        dot.outOfBounds = !pointInside(dot.rX, dot.rY)
        return dot
    }

    // ---- bounds: every board's placement of a point inside the board area

    function liveOf(list) {
        var out = []
        for (var i = 0; i < list.length; ++i)
            if (!list[i].deleted)
                out.push(list[i])
        return out
    }
    function boundsEnv() {
        return { "workAreaX1": app.workAreaX1, "workAreaY2": app.workAreaY2, "boardX1": app.boardX1,
                 "boardY1": app.boardY1, "boardMaxWidth": app.boardMaxWidth, "boardMaxHeight": app.boardMaxHeight }
    }
    function panel() { return app.smtInterface ? app.smtInterface.creation.panel() : { "pcbMulti": false } }
    // The design point (w x h footprint with corner rX, rY; 0 x 0 for a
    // centre) on every board of the panel lies inside the board area.
    function pointInside(rX, rY, w, h) {
        var p = panel()
        var g = Program.boardGrid(p)
        var fw = w || 0, fh = h || 0
        var centres = []
        for (var r = 0; r < g.rows; ++r)
            for (var c = 0; c < g.cols; ++c) {
                var pos = Program.placeOnBoard(rX, rY, fw, fh, r, c, p)
                centres.push({ "rX": pos.rX + fw / 2, "rY": pos.rY + fh / 2 })
            }
        return BV.allInsideBoardArea(centres, boundsEnv())
    }
    function updateBounds(el) {
        el.outOfBounds = !pointInside(el.rX, el.rY, el.elWidth, el.elHeight)
    }

    function pcbSetXY(newX, newY) {
        app.pcbX = asReal(newX, 0)
        app.pcbY = asReal(newY, 0)
    }

    // Moves the board with everything on it by (dx, dy) design millimetres.
    function moveBoard(dx, dy) {
        var mx = Number(dx), my = Number(dy)
        if (!isFinite(mx) || !isFinite(my))
            return false
        var lists = [app.elementList, app.refList, app.dotList]
        for (var l = 0; l < lists.length; ++l) {
            for (var i = 0; i < lists[l].length; ++i) {
                var o = lists[l][i]
                if (o.deleted)
                    continue
                o.rX += mx
                o.rY += my
            }
        }
        app.pcbX += mx
        app.pcbY += my
        app.pcbAnchorX += mx
        app.pcbAnchorY += my
        return true
    }

    function pcbSetRotation(anchorX, anchorY, rotation) {
        app.pcbAnchorX = asReal(anchorX, 0)
        app.pcbAnchorY = asReal(anchorY, 0)
        app.pcbRotation = asReal(rotation, 0)
    }

    // Removes one component from the project.
    function removeElement(el) {
        var i = app.elementList.indexOf(el)
        if (i < 0)
            return
        el.deleted = true
        app.recalculateOverlapsF(el)
        app.elementList.splice(i, 1)
        app.elementCount = app.elementList.length
        el.destroy()
    }

    // Deletes every component, mark and dot.
    function clearBoard() {
        var lists = [app.elementList, app.refList, app.dotList]
        for (var l = 0; l < lists.length; ++l) {
            for (var i = 0; i < lists[l].length; ++i) {
                lists[l][i].deleted = true
                lists[l][i].destroy()
            }
        }
        app.elementList = []
        app.refList = []
        app.dotList = []
        app.elementCount = 0
        app.refCount = 0
        app.dotCount = 0
    }
}

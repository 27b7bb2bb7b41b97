import QtQuick 2.15
import CustomComponents 1.0
import "../lib/feeders.js" as Feeders
import "../lib/geometry.js" as Geometry

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
        var refId = asInt(id, -1)
        if (refId === -1) {
            app.pcbRefPointMaxId = app.pcbRefPointMaxId + 1
            refId = app.pcbRefPointMaxId
        } else if (refId > app.pcbRefPointMaxId) {
            app.pcbRefPointMaxId = refId
        }
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
        return dot
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

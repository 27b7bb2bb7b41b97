import QtQuick 2.15
import "program.js" as Program
import "../lib/models.js" as Models

// Builds the program of a placement run from the open project: the
// placements on every board of a panel, their order, the feeder groups and
// dot groups, and the rows of the operations model.
Item {
    id: creation
    property var app
    property var model

    // Outputs for the run.
    property var refListMulti: []
    property var elementListMulti: []
    property var epAA: []
    property var dotAA: []
    property real minHeigthCompPCBCalculated: 0
    property bool programCreated: false
    // The component list changed since the program was built.
    property bool componentsChanged: false

    property var feederCache: ({})

    function tr(text) { return app.t + text }

    // ---- settings of the order

    function orderType() {
        if (Number(app.pcbSelfPlacementOrder) && app.pcbPlacementOrder !== undefined)
            return Number(app.pcbPlacementOrder)
        return Number(app.placementOrder)
    }
    function feederSort() {
        return Number(app.pcbSelfPlacementOrder) ? app.pcbPlacementFeederSort !== false
                                                 : app.placementFeederSort !== false
    }

    function feederOf(model, index) {
        var key = String(model) + ":" + index
        if (!(key in feederCache))
            feederCache[key] = Number(index) >= 0 ? app.getFeeder(String(model), Number(index)) : null
        return feederCache[key]
    }

    function sortOptions() {
        return { "orderType": orderType(), "feederSort": feederSort(), "feederOf": feederOf,
                 "refTolerance": Number(app.calibRefPointSize) / 2 }
    }
    function sortElements(a, b) { return Program.compareElements(a, b, sortOptions()) }
    function sortDots(a, b) { return Program.compareDots(a, b, sortOptions()) }
    function sortRefs(a, b) { return Program.compareRefs(a, b, sortOptions()) }
    function sortElementsX(a, b) { return Program.compareX(a, b) }
    function sortElementsY(a, b) { return Program.compareY(a, b) }

    // ---- boards of the panel

    function panel() {
        var free = []
        var m = app.pcbMultiNonstandartModel
        for (var i = 0; i < m.count; ++i) {
            var e = m.get(i)
            free.push({ "x": Number(e.x), "y": Number(e.y), "rot": Number(e.rot) })
        }
        return { "pcbMulti": app.pcbMulti, "pcbMultiNonstandart": app.pcbMultiNonstandart,
                 "pcbMultiCountX": app.pcbMultiCountX, "pcbMultiCountY": app.pcbMultiCountY,
                 "pcbMultiSpacingX": app.pcbMultiSpacingX, "pcbMultiSpacingY": app.pcbMultiSpacingY,
                 "free": free, "freeCount": free.length, "Y2": app.workAreaY2, "bX1": app.boardX1,
                 "bY1": app.boardY1, "fX": app.firstPcbX, "fY": app.firstPcbY }
    }
    function grid() { return Program.boardGrid(panel()) }
    function isExcluded(row, col) { return Program.isExcluded(app.pcbMultiBan2D, row, col) }
    // Excludes board (row, col) of the panel from placement, or takes it back.
    function setBoardExcluded(row, col, excluded) {
        var ban = []
        var old = Array.isArray(app.pcbMultiBan2D) ? app.pcbMultiBan2D : []
        for (var r = 0; r < Math.max(old.length, row + 1); ++r)
            ban.push(old[r] ? old[r].slice() : [])
        ban[row][col] = excluded === true
        app.pcbMultiBan2D = ban
    }
    function keptBoardCount() { return Program.keptBoardCount(grid(), app.pcbMultiBan2D) }

    function toolShown(name) {
        var w = app.toolWindows.find(name)
        return !!(w && w.visible)
    }

    function liveList(list) {
        var out = []
        for (var i = 0; i < list.length; ++i)
            if (!list[i].deleted)
                out.push(list[i])
        return out
    }
    function refs() { return liveList(app.refList) }
    function elements() { return liveList(app.elementList) }

    // The marks a component refers to: its preferred ones, else the first two.
    function refOf(id, fallback) {
        var list = refs()
        if (Number(id) >= 0) {
            for (var i = 0; i < list.length; ++i)
                if (list[i].refId === Number(id))
                    return list[i]
        }
        return list.length > fallback ? list[fallback] : null
    }

    // Placement objects of every component and mark on every board.
    function buildPreviews() {
        Program.buildPreviews(elements(), refs(), panel(), app.refMode)
    }

    function antSort(list) {
        app.antSortData = list
        app.antSortSend()
        return app.antSortData
    }
    function nearestSort(list) {
        app.nearestSortData = list
        app.nearestSortSend()
        return app.nearestSortData
    }

    // Builds refListMulti and elementListMulti from fresh placement objects;
    // `order` is a comparison or "nearest". `firstBoardOnly`: the marks and
    // placements of board (row 0, column 0) only, excluded or not (the
    // inspection templates).
    function createMultiPCBList(order, firstBoardOnly) {
        buildPreviews()
        var g = grid()
        var checkReduced = (toolShown("checkInterface") && !app.checkScanAllRefs) || firstBoardOnly === true
        if (checkReduced || (toolShown("aoiInterface") && !app.aoiScanAllRefs))
            g = { "rows": 1, "cols": 1 }
        var lists = Program.panelLists({ "marks": refs(), "elements": elements(), "grid": g,
                                         "ban2D": app.pcbMultiBan2D, "refMode": app.refMode,
                                         "keepFirstBoard": checkReduced, "compareRefs": sortRefs,
                                         "order": order, "antSort": antSort, "nearestSort": nearestSort })
        refListMulti = lists.refs
        elementListMulti = lists.elements
        return true
    }

    // Marks the reference marks that the enabled placements and dots need.
    function recalcUsedRefsBeforeRun() {
        if (Number(app.refMode) === 1 || app.refCount < 2)
            return
        var i
        for (i = 0; i < refListMulti.length; ++i)
            refListMulti[i].used = false
        for (i = 0; i < elementListMulti.length; ++i) {
            var ep = elementListMulti[i]
            if (ep.disabled || ep.disabledTemp)
                continue
            var r1 = refOf(ep.el.preferredRef1, 0)
            var r2 = refOf(ep.el.preferredRef2, 1)
            if (r1 && r1.previews[ep.row] && r1.previews[ep.row][ep.col])
                r1.previews[ep.row][ep.col].used = true
            if (r2 && r2.previews[ep.row] && r2.previews[ep.row][ep.col])
                r2.previews[ep.row][ep.col].used = true
        }
        // A dot is put where the marks of board (0,0) it refers to say: those
        // are measured when its row is on.
        for (var row = 0; model && row < model.rowCount; ++row) {
            if (model.getOpFunc(row) !== "setupDots" || model.getEnabled(row, -1) <= 0)
                continue
            var group = dotAA[Number(model.getP1(row, -1))] || []
            for (var d = 0; d < group.length; ++d) {
                var dot = group[d].dot || group[d]
                var refs = [refOf(dot.preferredRef1, 0), refOf(dot.preferredRef2, 1)]
                for (var k = 0; k < refs.length; ++k)
                    if (refs[k] && refs[k].previews[0] && refs[k].previews[0][0])
                        refs[k].previews[0][0].used = true
            }
        }
    }

    // ---- feeder check

    function bankRecord(model, n) {
        if (!model || n < 0 || n >= model.count)
            return null
        return Models.copyEntry(model, n)
    }

    function frameHeight() {
        var request = app.componentCameraRequest
        var camera = request ? request.camera : null
        var h = camera && camera.frameHeight !== undefined ? Number(camera.frameHeight) : 0
        return h > 0 ? h : 480
    }

    function isFeederCorrect(model, number) {
        var f = app.getFeeder(String(model), Number(number))
        // Components exist only with a known package; a feeder whose package
        // left the base has no package record.
        var packageFound = f === null || (f.packageSettings !== null && f.packageSettings !== undefined)
        var cup = f ? bankRecord(app.cupModel, Number(f.cupNumber)) : null
        var env = { "model": String(model), "packageFound": packageFound, "vcCount": app.vcCount,
                    "area": { "x1": app.workAreaX1, "x2": app.workAreaX2, "y1": app.workAreaY1,
                              "y2": app.workAreaY2, "z1": app.workAreaZ1, "z2": app.workAreaZ2 },
                    "cup": cup,
                    "bandBank": f ? bankRecord(app.bandBankModel, Number(f.bankNumber)) : null,
                    "vibroBank": f ? bankRecord(app.vibroBankModel, Number(f.bankNumber)) : null,
                    "frameHeight": frameHeight(), "camera2PPM": app.camera2PPM,
                    "camera2PPMDistance": app.camera2PPMDistance, "camera2MinHeight": app.camera2MinHeight }
        return Program.checkFeeder(f, env)
    }

    function isFeederCorrectErrorAdd(model, number) {
        var result = isFeederCorrect(model, number)
        if (result !== true)
            app.errorAdd(Program.feederErrorText(model, number, result))
        return result
    }

    // ---- the program

    function fail(text) {
        model.clear()
        epAA = []
        dotAA = []
        if (text)
            app.errorMessage(text, false, "")
        return false
    }

    function appendRow(row) { model.append(row) }

    function createProgram() {
        model.clear()
        epAA = []
        dotAA = []
        programCreated = false
        feederCache = ({})
        var refCount = app.refCount
        if (refCount < 2 && !app.allowRunWithoutFiducials)
            return fail(tr(qsTr("Проверьте расстановку реперных знаков!")))
        var kept = keptBoardCount()
        if (app.pcbMulti && kept === 0)
            return fail(tr(qsTr("Все платы исключены из расстановки!")))
        if (app.calibBeforeRun && app.calibEnabled)
            appendRow({ "op": tr(qsTr("Калибровка")), "enabled": 2, "opFunc": "justCalibrateWait",
                        "image": "qrc:/images/calibration" })
        if (String(app.startingGcode) !== "")
            appendRow({ "op": tr(qsTr("Исполнение стартового g-кода")), "enabled": 1, "opFunc": "gCodeWait",
                        "p1": "startingGcode", "p2": true })
        if (refCount >= 2) {
            var n = app.pcbMulti && Number(app.refMode) === 0 ? refCount * kept : refCount
            appendRow({ "op": tr(Program.refRowText(n)), "enabled": 2, "opFunc": "findRefPoints",
                        "image": "qrc:/images/refPoint" })
        }
        createMultiPCBList(sortElements)
        if (!app.allowOutOfBoard && !allInsideBoard(elementListMulti))
            return fail(tr(qsTr("Один или более компонент находится за границей области расстановки!")))
        appendDotRows()
        if (elements().length > 0 && !componentsHaveGoodFeeders())
            return fail("")
        minHeigthCompPCBCalculated = Program.safeHeight(elements(), Number(app.minHeigthCompPCB))
        var placed = appendFeederRows()
        if (placed.count > 0)
            appendRow({ "op": tr(qsTr("Возврат насадки ")), "enabled": placed.nozzles > 1 ? 1 : 0,
                        "opFunc": "cupWait", "p1": -1, "complete": "" })
        if (app.projectAoiEnabled)
            appendRow({ "op": tr(qsTr("Оптическая инспекция")), "enabled": 1, "opFunc": "aoi",
                        "image": "qrc:/images/machineVision" })
        if (String(app.endingGcode) !== "")
            appendRow({ "op": tr(qsTr("Исполнение завершающего g-кода")), "enabled": 1, "opFunc": "gCodeWait",
                        "p1": "endingGcode", "p2": true })
        programCreated = true
        componentsChanged = false
        return true
    }

    function allInsideBoard(list) {
        return Program.allInsideBoard(list, app)
    }

    function appendDotRows() {
        var dots = Program.dotProgram(Program.dotPreviews(app.dotList, feederOf), sortDots, feederOf)
        for (var i = 0; i < dots.rows.length; ++i) {
            var row = dots.rows[i]
            row.op = tr(row.op)
            appendRow(row)
        }
        dotAA = dots.groups
    }

    // Every enabled component has a feeder, and every feeder used is sound;
    // all faults go to the error list.
    function componentsHaveGoodFeeders() {
        var els = elements()
        var missing = false
        var i
        for (i = 0; i < els.length; ++i) {
            if (!els[i].disabled && !els[i].feederMatches) {
                app.errorAdd(tr(Program.noFeederText(els[i])))
                missing = true
            }
        }
        if (missing)
            return false
        var checked = {}
        var good = true
        for (i = 0; i < els.length; ++i) {
            var el = els[i]
            var key = el.model + ":" + el.index
            if (el.disabled || key in checked)
                continue
            checked[key] = true
            if (isFeederCorrectErrorAdd(el.model, el.index) !== true)
                good = false
        }
        return good
    }

    // Feeder rows with their component lines, nozzle rows before the feeders
    // that use them. Returns { count, nozzles }.
    function appendFeederRows() {
        var env = { "workAreaX1": app.workAreaX1, "workAreaY2": app.workAreaY2, "pcbMulti": app.pcbMulti,
                    "pcbMultiNonstandart": app.pcbMultiNonstandart }
        var program = Program.feederProgram(elementListMulti, feederOf, env)
        for (var i = 0; i < program.rows.length; ++i) {
            var row = program.rows[i]
            var lines = row.lines
            delete row.lines
            row.op = tr(row.op)
            appendRow(row)
            for (var k = 0; lines && k < lines.length; ++k) {
                model.appendChild({ "op": tr(lines[k].op), "enabled": 1, "p1": lines[k].ep, "p2": "element" })
                lines[k].ep.lineNumber = model.lineCount
            }
        }
        epAA = program.groups
        return { "count": program.count, "nozzles": program.nozzles }
    }
}

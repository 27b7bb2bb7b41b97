.pragma library
.import "../lib/feeders.js" as Feeders
.import "pickTexts.js" as PT
.import "../lib/geometry.js" as Geometry
// The placement program of a run: comparison of placements, dots and
// reference marks, the boards of a panel and where a component lies on each,
// the feeder check and the texts of the program's rows. Plain functions of
// their arguments, so that tests can call them directly.

// Bank order of the feeder sort.
var bankOrder = ["B", "U", "R", "L"]

// Centring type that matches the component against a photo.
var centerTypeTemplate = 4

// Machine coordinate of an unmeasured reference mark.
var notMeasured = -1000

function sign(v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0)
}

// The side name of a bank letter; "" for anything else.
function feederName(model) {
    switch (String(model)) {
    case "L": return qsTr("слева")
    case "B": return qsTr("снизу")
    case "R": return qsTr("справа")
    case "U": return qsTr("сверху")
    default: return ""
    }
}

// ---- comparisons (negative: a first, positive: b first, 0: no rule decides)

// Rule on positions. orderType 1 orders columns (larger rY first within a
// column, then smaller rX); 0 and 2 order rows (smaller rX first within a
// row; rows by larger rY with 0 and smaller rY with 2).
function comparePositions(a, b, orderType, tolX, tolY) {
    if (Number(orderType) === 1) {
        if (Math.abs(a.rX - b.rX) < tolX)
            return sign(b.rY - a.rY)
        return sign(a.rX - b.rX)
    }
    if (Math.abs(a.rY - b.rY) < tolY)
        return sign(a.rX - b.rX)
    return Number(orderType) === 2 ? sign(a.rY - b.rY) : sign(b.rY - a.rY)
}

// Rule on banks and feeder numbers.
function compareFeeders(modelA, indexA, modelB, indexB) {
    var d = bankOrder.indexOf(String(modelA)) - bankOrder.indexOf(String(modelB))
    if (d !== 0)
        return sign(d)
    return sign(Number(indexA) - Number(indexB))
}

// Placements a and b (each with el, rX, rY). opts: orderType, feederSort,
// feederOf(model, index) -> feeder record or null.
function compareElements(a, b, opts) {
    var fa = opts.feederOf(a.el.model, a.el.index) || {}
    var fb = opts.feederOf(b.el.model, b.el.index) || {}
    var ua = fa.unqueued === true, ub = fb.unqueued === true
    if (ua !== ub)
        return ua ? -1 : 1
    var d = sign(Number(fa.cupNumber || 0) - Number(fb.cupNumber || 0))
    if (d !== 0)
        return d
    if (opts.feederSort) {
        d = compareFeeders(a.el.model, a.el.index, b.el.model, b.el.index)
        if (d !== 0)
            return d
    }
    return comparePositions(a, b, opts.orderType, a.el.rotWidth / 2, a.el.rotHeight / 2)
}

// Solder dots (model, index, rX, rY, rotWidth, rotHeight of their own).
function compareDots(a, b, opts) {
    if (opts.feederSort) {
        var d = compareFeeders(a.model, a.index, b.model, b.index)
        if (d !== 0)
            return d
    }
    return comparePositions(a, b, opts.orderType, a.rotWidth / 2, a.rotHeight / 2)
}

// Reference marks: opts.refTolerance (half the mark size) both ways; kind 1
// orders columns, the others rows with the larger rY first.
function compareRefs(a, b, opts) {
    var kind = Number(opts.orderType) === 1 ? 1 : 0
    return comparePositions(a, b, kind, opts.refTolerance, opts.refTolerance)
}

function sizeOf(p, name) {
    if (p[name] !== undefined)
        return Number(p[name])
    return p.el ? Number(p.el[name]) : 0
}

// Check screen: rows, larger rY first.
function compareX(a, b) {
    return comparePositions(a, b, 0, 0, sizeOf(a, "rotHeight") / 2)
}

// Check screen: columns, smaller rX first.
function compareY(a, b) {
    return comparePositions(a, b, 1, sizeOf(a, "rotWidth") / 2, 0)
}

// Stable merge sort; the comparison need not be symmetric, the result is
// the same for the same input. Returns a new array.
function mergeSort(list, compare) {
    var a = list.slice()
    var n = a.length
    if (n < 2)
        return a
    var b = new Array(n)
    for (var width = 1; width < n; width *= 2) {
        for (var lo = 0; lo < n; lo += 2 * width) {
            var mid = Math.min(lo + width, n), hi = Math.min(lo + 2 * width, n)
            var i = lo, j = mid, k = lo
            while (i < mid && j < hi)
                b[k++] = compare(a[i], a[j]) <= 0 ? a[i++] : a[j++]
            while (i < mid)
                b[k++] = a[i++]
            while (j < hi)
                b[k++] = a[j++]
        }
        var t = a
        a = b
        b = t
    }
    return a
}

// ---- boards of a panel

// Rows and columns of the board grid. panel: pcbMulti, pcbMultiNonstandart,
// pcbMultiCountX, pcbMultiCountY, freeCount (free board positions).
function boardGrid(panel) {
    if (!panel.pcbMulti)
        return { "rows": 1, "cols": 1 }
    if (panel.pcbMultiNonstandart)
        return { "rows": Math.max(1, Math.round(Number(panel.freeCount))), "cols": 1 }
    return { "rows": Math.max(1, Math.round(Number(panel.pcbMultiCountY))),
             "cols": Math.max(1, Math.round(Number(panel.pcbMultiCountX))) }
}

function isExcluded(ban2D, row, col) {
    return !!(ban2D && ban2D[row] && ban2D[row][col])
}

function keptBoardCount(grid, ban2D) {
    var n = 0
    for (var r = 0; r < grid.rows; ++r)
        for (var c = 0; c < grid.cols; ++c)
            if (!isExcluded(ban2D, r, c))
                ++n
    return n
}

// Board turn of a free position, as one of 0, 90, 180 and -90.
function quarterTurn(rot) {
    var q = Math.round(Number(rot) / 90) % 4
    if (q < 0)
        q += 4
    return [0, 90, 180, -90][q]
}

// Shift of a footprint (corner rX, rY; size w x h) to the free board
// position `entry` (x, y, rot). env: Y2 (workAreaY2), bX1, bY1 (boardX1,
// boardY1), fX, fY (firstPcbX, firstPcbY).
function freePanelShift(rX, rY, w, h, entry, env) {
    var addX = Number(entry.x), addY = Number(entry.y)
    var Y2 = env.Y2, bX1 = env.bX1, bY1 = env.bY1, fX = env.fX, fY = env.fY
    switch (quarterTurn(entry.rot)) {
    case 90:
        return { "x": -rY + Y2 - bY1 - fY + addX - rX + bX1 - (w + h) / 2,
                 "y": rX - bX1 - fX - addY - rY + Y2 - bY1 + (w - h) / 2, "rot": 90 }
    case 180:
        return { "x": -2 * rX + 2 * bX1 + fX + addX - w,
                 "y": -2 * rY + 2 * Y2 - 2 * bY1 - fY - addY - h, "rot": 180 }
    case -90:
        return { "x": rY - Y2 + bY1 + fY + addX - rX + bX1 - (w - h) / 2,
                 "y": -rX + bX1 + fX - addY - rY + Y2 - bY1 - (w + h) / 2, "rot": -90 }
    default:
        return { "x": addX - fX, "y": fY - addY, "rot": 0 }
    }
}

// Where a footprint lies on board (row, col): { rX, rY, rot } with rot the
// board's own turn. panel: pcbMulti, pcbMultiNonstandart, pcbMultiSpacingX,
// pcbMultiSpacingY, free (list of x, y, rot), Y2, bX1, bY1, fX, fY.
function placeOnBoard(rX, rY, w, h, row, col, panel) {
    if (!panel.pcbMulti)
        return { "rX": rX, "rY": rY, "rot": 0 }
    if (panel.pcbMultiNonstandart) {
        if (row < 1 || !panel.free || row >= panel.free.length)
            return { "rX": rX, "rY": rY, "rot": 0 }
        var s = freePanelShift(rX, rY, w, h, panel.free[row], panel)
        return { "rX": rX + s.x, "rY": rY + s.y, "rot": s.rot }
    }
    return { "rX": rX + col * panel.pcbMultiSpacingX, "rY": rY - row * panel.pcbMultiSpacingY, "rot": 0 }
}

// ---- placement rows of a run

// The placement of component `el` on every board: rows of columns of
// { el, row, col, rX, rY, elWidth, elHeight, rotWidth, rotHeight, rotation,
// boardRotation, disabled, disabledTemp, lineNumber }. panel: as for
// placeOnBoard.
function elementPreviews(el, panel) {
    var g = boardGrid(panel)
    var rows = []
    for (var r = 0; r < g.rows; ++r) {
        var cols = []
        for (var c = 0; c < g.cols; ++c) {
            var pos = placeOnBoard(el.rX, el.rY, el.elWidth, el.elHeight, r, c, panel)
            cols.push({ "el": el, "row": r, "col": c, "rX": pos.rX, "rY": pos.rY,
                        "elWidth": el.elWidth, "elHeight": el.elHeight,
                        "rotWidth": el.rotWidth, "rotHeight": el.rotHeight,
                        "rotation": Geometry.minAngle(el.rot + pos.rot), "boardRotation": pos.rot,
                        "disabled": el.disabled, "disabledTemp": false, "lineNumber": 0 })
        }
        rows.push(cols)
    }
    return rows
}

// The place of reference mark `ref` on every board, unmeasured; with
// refMode 1 (two marks for the whole panel) every board has the mark's own
// design place.
function refPreviews(ref, panel, refMode) {
    var g = boardGrid(panel)
    var rows = []
    for (var r = 0; r < g.rows; ++r) {
        var cols = []
        for (var c = 0; c < g.cols; ++c) {
            var p = Number(refMode) === 1 ? { "rX": ref.rX, "rY": ref.rY, "rot": 0 }
                                          : placeOnBoard(ref.rX, ref.rY, 0, 0, r, c, panel)
            cols.push({ "ref": ref, "row": r, "col": c, "rX": p.rX, "rY": p.rY,
                        "rotWidth": ref.rotWidth, "rotHeight": ref.rotHeight, "used": true,
                        "fidX": notMeasured, "fidY": notMeasured })
        }
        rows.push(cols)
    }
    return rows
}

// Fresh `previews` on every component and mark.
function buildPreviews(elements, marks, panel, refMode) {
    for (var i = 0; i < elements.length; ++i)
        elements[i].previews = elementPreviews(elements[i], panel)
    for (var k = 0; k < marks.length; ++k)
        marks[k].previews = refPreviews(marks[k], panel, refMode)
}

// The marks to measure and the placements of a run, in order, from the
// previews. input: marks, elements (with previews), grid ({ rows, cols },
// possibly reduced to the first board), ban2D, refMode, keepFirstBoard
// (board (0,0) even when excluded), compareRefs, order (a comparison or
// "nearest"), antSort(list) and nearestSort(list) (the orderings of the
// back end). The first mark of board (0,0) stays first whatever the ant
// colony returns. Returns { refs, elements }.
function panelLists(input) {
    var refs = []
    var elements = []
    var marks = input.marks, els = input.elements, g = input.grid
    var refMode = Number(input.refMode)
    var i
    if (refMode === 1) {
        for (i = 0; i < marks.length; ++i) {
            var p0 = marks[i].previews[0][0]
            p0.used = true
            refs.push(p0)
        }
    }
    var first = null
    for (var r = 0; r < g.rows; ++r) {
        for (var c = 0; c < g.cols; ++c) {
            if (isExcluded(input.ban2D, r, c) && !(r === 0 && c === 0 && input.keepFirstBoard))
                continue
            if (refMode === 0) {
                for (i = 0; i < marks.length; ++i) {
                    var rp = marks[i].previews[r][c]
                    rp.used = true
                    refs.push(rp)
                }
            }
            if (r === 0 && c === 0) {
                refs = mergeSort(refs, input.compareRefs)
                first = refs.length > 0 ? refs.shift() : null
            }
            for (i = 0; i < els.length; ++i)
                if (!els[i].disabled)
                    elements.push(els[i].previews[r][c])
        }
    }
    refs = mergeSort(refs, input.compareRefs)
    if (refs.length > 2)
        refs = input.antSort(refs)
    if (first)
        refs.unshift(first)
    if (input.order === "nearest")
        elements = elements.length > 1 ? input.nearestSort(elements) : elements
    else
        elements = mergeSort(elements, input.order)
    return { "refs": refs, "elements": elements }
}

// Every placement's centre lies inside the placement area (edges included).
// env: workAreaX1, workAreaY2, boardX1, boardY1, boardMaxWidth, boardMaxHeight.
function allInsideBoard(list, env) {
    for (var i = 0; i < list.length; ++i) {
        var m = Geometry.machineCentre(list[i].rX, list[i].rY, list[i].elWidth, list[i].elHeight, env)
        if (m.x < env.boardX1 || m.x > env.boardX1 + env.boardMaxWidth
                || m.y < env.boardY1 || m.y > env.boardY1 + env.boardMaxHeight)
            return false
    }
    return true
}

// ---- dot rows

// The solder dots of the project that are not deleted, each with the dot
// size of its feeder (its own when the feeder gives none).
function dotPreviews(dotList, feederOf) {
    var out = []
    for (var i = 0; i < dotList.length; ++i) {
        var d = dotList[i]
        if (d.deleted)
            continue
        var f = feederOf(d.model, d.index)
        var size = f && Number(f.dotSize) > 0 ? Number(f.dotSize) : Number(d.dotSize)
        out.push({ "dot": d, "model": d.model, "index": d.index, "rX": d.rX, "rY": d.rY,
                   "rotWidth": size, "rotHeight": size, "size": size, "disabled": d.disabled })
    }
    return out
}

// Runs of consecutive enabled dots with the same feeder, of dots sorted
// with compareDots, and one row per run (its text untranslated).
// Returns { groups, rows }.
function dotProgram(dots, compareDots, feederOf) {
    var sorted = mergeSort(dots, compareDots)
    var groups = []
    var run = []
    for (var i = 0; i < sorted.length; ++i) {
        if (sorted[i].disabled)
            continue
        if (run.length > 0 && (run[0].model !== sorted[i].model || run[0].index !== sorted[i].index)) {
            groups.push(run)
            run = []
        }
        run.push(sorted[i])
    }
    if (run.length > 0)
        groups.push(run)
    var rows = []
    for (var g = 0; g < groups.length; ++g) {
        var first = groups[g][0]
        var f = feederOf(first.model, first.index)
        var one = f && Number(f.type) === 6
        rows.push({ "op": dotRowText(one ? "1" : "2", first.size, groups[g].length),
                    "enabled": 1, "opFunc": "setupDots", "p1": g, "image": one ? "d1" : "d2" })
    }
    return { "groups": groups, "rows": rows }
}

// ---- feeder rows

// Runs of consecutive placements (of enabled components) with the same
// feeder, in list order, and the rows they give: a nozzle row whenever the
// nozzle changes (so that it stands before the feeder rows that use it), a
// feeder row per run with one component line per placement (`lines`, each
// { op, ep }). Texts are untranslated. env: workAreaX1, workAreaY2,
// pcbMulti, pcbMultiNonstandart. Returns { groups, rows, count, nozzles }.
function feederProgram(list, feederOf, env) {
    var groups = []
    var rows = []
    var run = []
    var prevCup = -1
    var nozzles = 0
    var count = 0
    function close() {
        if (run.length === 0)
            return
        groups.push(run)
        var el = run[0].el
        var f = feederOf(el.model, el.index) || {}
        var image = (f.packageSettings && f.packageSettings.path ? String(f.packageSettings.path) : "")
                + " ROT:" + Number(f.rot || 0)
        var lines = []
        for (var k = 0; k < run.length; ++k)
            lines.push({ "op": componentLineText(run[k], env), "ep": run[k] })
        rows.push({ "op": feederRowText(el.model, el.index, f.pack, f.partNumber, run.length),
                    "enabled": 1, "opFunc": "setupFeeder", "p1": groups.length - 1, "image": image,
                    "lines": lines })
        run = []
    }
    for (var i = 0; i < list.length; ++i) {
        var ep = list[i]
        if (ep.el.disabled)
            continue
        if (run.length > 0 && (run[0].el.model !== ep.el.model || run[0].el.index !== ep.el.index))
            close()
        run.push(ep)
        ++count
        var f = feederOf(ep.el.model, ep.el.index)
        var cup = f ? Number(f.cupNumber) : 0
        if (cup !== prevCup) {
            rows.push({ "op": nozzleRowText(cup), "enabled": 2, "opFunc": "cupWaitDummy", "p1": cup, "complete": "" })
            prevCup = cup
            ++nozzles
        }
    }
    close()
    return { "groups": groups, "rows": rows, "count": count, "nozzles": nozzles }
}

// ---- texts of the program

function fixed(v, decimals) {
    return Number(v).toFixed(decimals)
}

function refRowText(count) {
    return qsTr("Поиск реперных знаков (") + count + qsTr(" шт.)")
}

function dotRowText(dispenser, size, count) {
    return qsTr("Нанесение точек. Диспенсер ") + dispenser + qsTr(". Диаметр ") + fixed(size, 1)
            + qsTr("мм. Кол-во: ") + count
}

function nozzleRowText(cup) {
    return qsTr("Взятие насадки ") + (Number(cup) + 1)
}

function feederRowText(model, index, pack, partNumber, count) {
    return qsTr("Питатель: ") + feederName(model) + " №" + (Number(index) + 1) + ". "
            + (pack ? pack + ". " : "") + (partNumber ? partNumber + ". " : "") + qsTr("Кол-во: ") + count
}

// Board part of a component line. panel: pcbMulti, pcbMultiNonstandart.
function boardText(row, col, panel) {
    if (!panel.pcbMulti)
        return ""
    if (panel.pcbMultiNonstandart)
        return qsTr("; Плата: ") + (row + 1)
    return qsTr("; Плата: X: ") + (col + 1) + ", Y: " + (row + 1)
}

// Component line of placement ep. env: workAreaX1, workAreaY2, pcbMulti,
// pcbMultiNonstandart.
function componentLineText(ep, env) {
    var m = Geometry.machineCentre(ep.rX, ep.rY, ep.elWidth, ep.elHeight, env)
    var x = m.x, y = m.y
    var designator = ep.el && ep.el.designator ? qsTr("; Обозн.: ") + ep.el.designator : ""
    return "X: " + fixed(x, 2) + "; Y: " + fixed(y, 2) + qsTr("; Поворот: ") + fixed(ep.rotation, 0)
            + designator + boardText(ep.row, ep.col, env)
}

function noFeederText(el) {
    return qsTr("Компоненту не присвоен питатель! Корпус: ") + el.pack
            + (el.partNumber ? qsTr("; номинал: ") + el.partNumber : "")
            + "; X: " + fixed(el.rX, 2) + "; Y: " + fixed(el.rY, 2)
}

function feederErrorText(model, number, text) {
    return qsTr("Ошибка при проверке питателя ") + feederName(model) + " " + (Number(number) + 1) + ": " + text
}

// ---- feeder check

// Width and height of a photo stored as a "data:image/png;base64," text;
// 0 x 0 for anything else.
function photoSize(photo) {
    var text = String(photo === undefined || photo === null ? "" : photo)
    var comma = text.indexOf(",")
    if (text.indexOf("data:image/png;base64") !== 0 || comma < 0)
        return { "width": 0, "height": 0 }
    var bytes = decodeBase64(text.substr(comma + 1, 44), 24)
    if (bytes.length < 24 || bytes[1] !== 0x50 || bytes[2] !== 0x4E || bytes[3] !== 0x47)
        return { "width": 0, "height": 0 }
    function be32(i) { return ((bytes[i] << 24) >>> 0) + (bytes[i + 1] << 16) + (bytes[i + 2] << 8) + bytes[i + 3] }
    return { "width": be32(16), "height": be32(20) }
}

function decodeBase64(text, count) {
    var alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
    var bytes = []
    var buffer = 0, bits = 0
    for (var i = 0; i < text.length && bytes.length < count; ++i) {
        var v = alphabet.indexOf(text.charAt(i))
        if (v < 0)
            break
        buffer = (buffer << 6) | v
        bits += 6
        if (bits >= 8) {
            bits -= 8
            bytes.push((buffer >> bits) & 0xFF)
        }
    }
    return bytes
}

function inRange(v, lo, hi) {
    v = Number(v)
    return v >= lo && v <= hi
}

function strictlyInside(x, y, area) {
    return Number(x) > area.x1 && Number(x) < area.x2 && Number(y) > area.y1 && Number(y) < area.y2
}

// Strip of tape: does its length fit a whole number of pitches?
function stripFits(length, pitch) {
    var n = Math.round(length / pitch)
    n = n > 0 ? n + 1 : 0
    return Math.abs(length / pitch + 1 - n) <= 0.3
}

// Does a template photo fit the search region of the component camera?
// f: the feeder; env: frameHeight, camera2PPM, camera2PPMDistance,
// camera2MinHeight.
function templateFits(photo, f, env) {
    var size = photoSize(photo)
    var side = 1.3 * Math.max(size.width, size.height)
    return side + 33 < searchRegionPercent(f, env) * env.frameHeight / 100
}

// The component camera's search region of a feeder, percent of the frame
// (15 ... 100): the feeder's own with its own camera settings, otherwise
// twice the larger side of the part at the camera's scale. f: the feeder;
// env: frameHeight, camera2PPM, camera2PPMDistance, camera2MinHeight.
function searchRegionPercent(f, env) {
    var percent
    if (f.cameraIndiv === true || f.cameraIndiv === "true") {
        percent = Number(f.cameraROIPercent)
    } else {
        var d = Math.max(Number(f.centeringZ), Number(env.camera2MinHeight) || 0)
        var ppm = Number(env.camera2PPM) * Number(env.camera2PPMDistance) / d
        percent = Math.max(Number(f.elWidth), Number(f.elHeight)) * 2 * ppm / env.frameHeight * 100
    }
    if (!isFinite(percent))
        percent = 100
    return Math.min(100, Math.max(15, percent))
}

function photoMissing(photo) {
    var size = photoSize(photo)
    return size.width < 2 || size.height < 2
}

// true, or the text of the first failed check. f: the feeder record (null
// when there is none). env: model (bank letter), packageFound (the
// component's package is in the base), vcCount, area (x1, x2, y1, y2, z1,
// z2), cup (cupLength, press of the feeder's nozzle, or null), bandBank and
// vibroBank (records of the feeder's banks, or null), frameHeight,
// camera2PPM, camera2PPMDistance, camera2MinHeight.
function checkFeeder(f, env) {
    var area = env.area
    if (!env.packageFound)
        return qsTr("Корпус компонента не найден в базе!")
    if (!f || f.elError === true || !(Number(f.elWidth) > 0) || !(Number(f.elHeight) > 0))
        return qsTr("Питатель не настроен")
    var type = Number(f.type)
    var coordsText = qsTr("Неверно указаны координаты взятия компонента")
    if (type === 0 && String(f.gCode || "").trim() === "")
        return qsTr("G-код взятия компонента не задан!")
    var cup = Number(f.cupNumber)
    if (!(cup >= 0 && cup <= Number(env.vcCount) - 1) || Math.floor(cup) !== cup)
        return qsTr("Неверно указан номер насадки")
    if ([1, 3, 4, 5].indexOf(type) >= 0
            && !(inRange(f.caseX, area.x1, area.x2) && inRange(f.caseY, area.y1, area.y2)))
        return coordsText
    if ([1, 2, 5].indexOf(type) >= 0) {
        var cupLength = env.cup ? Number(env.cup.cupLength) : 0
        var press = env.cup ? Number(env.cup.press) : 0
        if (!inRange(f.caseZ, Math.ceil(area.z1 - cupLength + press), Math.floor(area.z2 - cupLength)))
            return coordsText
    }
    if (type === 1) {
        var rowsX = Number(f.caseRowsX), rowsY = Number(f.caseRowsY)
        if (!inRange(rowsX, 1, 1000) || !inRange(rowsY, 1, 1000) || !strictlyInside(f.caseX, f.caseY, area)
                || (rowsX * rowsY > 1 && !strictlyInside(f.cutX2, f.cutY2, area)))
            return qsTr("Неверные настройки поддона!")
    }
    if (type === 2) {
        // At least one search window: a pair of numbers from the two lists.
        if (PT.placerWindows(f.placerX, f.placerY).length === 0)
            return qsTr("Неверные настройки питателя")
        if (Number(f.placerType) === 1 && photoMissing(f.elPhoto))
            return qsTr("Не задано фото шаблона")
    }
    if (Number(f.centering) !== 0 && Number(f.centerType) === centerTypeTemplate) {
        if (photoMissing(f.camera2Photo))
            return qsTr("Не задано фото шаблона")
        if (!templateFits(f.camera2Photo, f, env))
            return qsTr("Слишком большое фото шаблона")
    }
    if (type === 3 && !(env.bandBank && env.bandBank.bankEnabled === true
                        && Number(env.bandBank.position) === Feeders.bandBankPosition(env.model)))
        return qsTr("Неверные настройки ленточного питателя")
    if (type === 4 && !(env.vibroBank && env.vibroBank.bankEnabled === true))
        return qsTr("Неверные настройки вибропитателя")
    if (type === 5) {
        if (!(inRange(f.cutX2, area.x1, area.x2) && inRange(f.cutY2, area.y1, area.y2)))
            return coordsText
        var pitch = Number(f.cutDistance)
        var length = Math.sqrt(Math.pow(f.cutX2 - f.caseX, 2) + Math.pow(f.cutY2 - f.caseY, 2))
        if (!inRange(pitch, 1, 100) || !stripFits(length, pitch))
            return qsTr("Неверные настройки питателя")
    }
    var centering = Number(f.centering)
    if (centering !== 0 && centering !== 1 && !inRange(f.centeringCount, 1, 100))
        return qsTr("Неверные настройки центрирования")
    return true
}

// Lowest safe travel height over the board.
function safeHeight(elements, minHeight) {
    var highest = -Infinity
    for (var i = 0; i < elements.length; ++i)
        highest = Math.max(highest, Number(elements[i].elThickness))
    return highest + 2 > minHeight ? highest + 2 : minHeight
}

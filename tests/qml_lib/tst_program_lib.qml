import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/program.js" as Program
import "JobRig.js" as J

// The pure parts of program creation: comparisons, the sort, panel
// placements, the feeder check and the row texts.
TestCase {
    name: "ProgramLibrary"

    function el(model, index, rotWidth, rotHeight) {
        return { "model": model, "index": index, "rotWidth": rotWidth, "rotHeight": rotHeight }
    }
    function ep(element, rX, rY) { return { "el": element, "rX": rX, "rY": rY } }
    function opts(orderType, feederSort, feeders) {
        return { "orderType": orderType, "feederSort": feederSort !== false, "refTolerance": 0.5,
                 "feederOf": function(model, index) { return feeders ? feeders[model + index] || null : null } }
    }
    function sorted(list, compare) { return Program.mergeSort(list, compare) }
    function names(list) { return list.map(function(p) { return p.name }) }

    // ---- comparisons

    // a against b and b against a; tolerances from the footprint. In one
    // row the smaller rX goes first.
    function test_positions_data() {
        return [
            { tag: "kind 0: one row", kind: 0, a: [20, 10.4], b: [5, 10], expected: 1 },
            { tag: "kind 0: larger rY first", kind: 0, a: [5, 10], b: [40, 30], expected: 1 },
            { tag: "kind 2: smaller rY first", kind: 2, a: [5, 10], b: [40, 30], expected: -1 },
            // |ΔrX| 0.9 < rotWidth / 2: one column, larger rY first.
            { tag: "kind 1: one column", kind: 1, a: [10, 5], b: [10.9, 50], w: 2, expected: 1 },
            { tag: "kind 1: past it", kind: 1, a: [10, 5], b: [11.1, 50], w: 2, expected: -1 }
        ]
    }
    function test_positions(data) {
        var e = el("B", 0, data.w || 1, 1)
        var a = ep(e, data.a[0], data.a[1]), b = ep(e, data.b[0], data.b[1])
        compare(Program.compareElements(a, b, opts(data.kind, true, {})), data.expected)
        compare(Program.compareElements(b, a, opts(data.kind, true, {})), -data.expected)
    }

    function test_feederRules() {
        var feeders = { "B0": { "cupNumber": 1 }, "U0": { "cupNumber": 1 }, "B7": { "cupNumber": 1 },
                        "L3": { "cupNumber": 2, "unqueued": true }, "R2": { "cupNumber": 0 } }
        var o = opts(0, true, feeders)
        var b0 = ep(el("B", 0, 1, 1), 100, 0), u0 = ep(el("U", 0, 1, 1), 0, 100)
        var b7 = ep(el("B", 7, 1, 1), 0, 100), l3 = ep(el("L", 3, 1, 1), 300, 0)
        var r2 = ep(el("R", 2, 1, 1), 300, 0)
        // Bank B before U whatever the position; lower index first in a bank.
        compare(Program.compareElements(b0, u0, o), -1)
        compare(Program.compareElements(u0, b0, o), 1)
        compare(Program.compareElements(b0, b7, o), -1)
        // Unqueued first, even before a lower nozzle.
        compare(Program.compareElements(l3, r2, o), -1)
        compare(Program.compareElements(r2, l3, o), 1)
        // Lower nozzle first.
        compare(Program.compareElements(r2, b0, o), -1)
        // Without the feeder sort the position decides between B and U.
        compare(Program.compareElements(b0, u0, opts(0, false, feeders)), 1)
    }

    function test_sortOfAPanel() {
        var feeders = { "B0": { "cupNumber": 0 }, "U1": { "cupNumber": 0 }, "R0": { "cupNumber": 1 } }
        var o = opts(0, true, feeders)
        var list = [
            { "name": "R0 low", "el": el("R", 0, 1, 1), "rX": 0, "rY": 0 },
            { "name": "U1 a", "el": el("U", 1, 1, 1), "rX": 30, "rY": 50 },
            { "name": "B0 right", "el": el("B", 0, 1, 1), "rX": 30, "rY": 50.3 },
            { "name": "B0 left", "el": el("B", 0, 1, 1), "rX": 10, "rY": 50 },
            { "name": "B0 lower row", "el": el("B", 0, 1, 1), "rX": 5, "rY": 20 },
            { "name": "U1 b", "el": el("U", 1, 1, 1), "rX": 10, "rY": 50 }
        ]
        compare(names(sorted(list, function(a, b) { return Program.compareElements(a, b, o) })),
                ["B0 left", "B0 right", "B0 lower row", "U1 b", "U1 a", "R0 low"])
    }

    function test_mergeSortIsStableAndOrders() {
        var list = []
        for (var i = 0; i < 97; ++i)
            list.push({ "key": (i * 37) % 11, "pos": i })
        var out = sorted(list, function(a, b) { return a.key - b.key })
        compare(out.length, list.length)
        for (var k = 1; k < out.length; ++k) {
            verify(out[k - 1].key <= out[k].key)
            if (out[k - 1].key === out[k].key)
                verify(out[k - 1].pos < out[k].pos)
        }
        compare(list[1].pos, 1)     // the input is left as it was
    }

    // ---- boards

    function test_boardGrid() {
        compare(Program.boardGrid({ "pcbMulti": false, "pcbMultiCountX": 3, "pcbMultiCountY": 2 }),
                { "rows": 1, "cols": 1 })
        compare(Program.boardGrid({ "pcbMulti": true, "pcbMultiCountX": 3, "pcbMultiCountY": 2 }),
                { "rows": 2, "cols": 3 })
        compare(Program.boardGrid({ "pcbMulti": true, "pcbMultiNonstandart": true, "freeCount": 4 }),
                { "rows": 4, "cols": 1 })
        var ban = [[false, true], [true, true]]
        compare(Program.keptBoardCount({ "rows": 2, "cols": 2 }, ban), 1)
        compare(Program.keptBoardCount({ "rows": 2, "cols": 3 }, []), 6)
        verify(Program.isExcluded(ban, 1, 0))
        verify(!Program.isExcluded(ban, 0, 0))
        verify(!Program.isExcluded(ban, 5, 5))
    }

    // Component: corner (10, 20), 4 x 2. Machine: workAreaY2 500, board area
    // corner (5, 7), first board at (30, 400); the free board at (150, 120).
    function test_freePanel_data() {
        return [
            { tag: "0", rot: 0, x: 130, y: 300, turned: 90 },
            { tag: "90", rot: 90, x: 225, y: 349, turned: 180 },
            { tag: "270 is -90", rot: 270, x: 81, y: 395, turned: 0 }
        ]
    }
    function test_freePanel(data) {
        var panel = { "pcbMulti": true, "pcbMultiNonstandart": true,
                      "free": [{ "x": 0, "y": 0, "rot": 0 }, { "x": 150, "y": 120, "rot": data.rot }],
                      "Y2": 500, "bX1": 5, "bY1": 7, "fX": 30, "fY": 400 }
        var p = Program.placeOnBoard(10, 20, 4, 2, 1, 0, panel)
        fuzzyCompare(p.rX, data.x, 1e-9)
        fuzzyCompare(p.rY, data.y, 1e-9)
        // Board 0 stays where it is; a component turned by 90 turns with its board.
        compare(Program.placeOnBoard(10, 20, 4, 2, 0, 0, panel), { "rX": 10, "rY": 20, "rot": 0 })
        var previews = Program.elementPreviews({ "rX": 10, "rY": 20, "elWidth": 4, "elHeight": 2, "rot": 90 },
                                               J.merged(panel, { "freeCount": 2 }))
        compare([previews[1][0].rX, previews[1][0].rY], [p.rX, p.rY])
        compare(previews[1][0].rotation, data.turned)
    }

    // ---- placement rows

    function test_previewsOnAPanel() {
        var panel = { "pcbMulti": true, "pcbMultiCountX": 2, "pcbMultiCountY": 2,
                      "pcbMultiSpacingX": 55, "pcbMultiSpacingY": 42 }
        var el = { "rX": 10, "rY": 20, "elWidth": 4, "elHeight": 2, "rotWidth": 2, "rotHeight": 4, "rot": -90,
                   "disabled": false }
        var rows = Program.elementPreviews(el, panel)
        compare(rows.length, 2)
        compare(rows[1][1], { "el": el, "row": 1, "col": 1, "rX": 65, "rY": -22, "elWidth": 4, "elHeight": 2,
                              "rotWidth": 2, "rotHeight": 4, "rotation": -90, "boardRotation": 0,
                              "disabled": false, "disabledTemp": false, "lineNumber": 0 })
        var ref = { "rX": 1, "rY": 2, "rotWidth": 1, "rotHeight": 1 }
        compare(Program.refPreviews(ref, panel, 0)[1][0],
                { "ref": ref, "row": 1, "col": 0, "rX": 1, "rY": -40, "rotWidth": 1, "rotHeight": 1,
                  "used": true, "fidX": -1000, "fidY": -1000 })
        // Two marks for the whole panel: every board has the design place.
        compare(Program.refPreviews(ref, panel, 1)[1][1].rY, 2)
    }

    // 2 x 2 boards, two marks each, board (0,1) excluded: six marks; the
    // first mark of board (0,0) stays first whatever the ant colony returns,
    // disabled components give no placement.
    function test_panelLists_data() {
        return [ { tag: "all boards", keepFirst: false, ban: [[false, true]], refs: 6, placements: 3 },
                 { tag: "board (0,0) excluded", keepFirst: false, ban: [[true, true]], refs: 4, placements: 2 },
                 { tag: "board (0,0) kept for the check", keepFirst: true, ban: [[true, true]], refs: 6,
                   placements: 3 } ]
    }
    function test_panelLists(data) {
        var panel = { "pcbMulti": true, "pcbMultiCountX": 2, "pcbMultiCountY": 2,
                      "pcbMultiSpacingX": 100, "pcbMultiSpacingY": 100 }
        var marks = [{ "rX": 50, "rY": 10 }, { "rX": 5, "rY": 10 }]
        var els = [{ "rX": 20, "rY": 20, "elWidth": 1, "elHeight": 1, "rot": 0, "disabled": false },
                   { "rX": 30, "rY": 20, "elWidth": 1, "elHeight": 1, "rot": 0, "disabled": true }]
        Program.buildPreviews(els, marks, panel, 0)
        var antCalls = 0
        var lists = Program.panelLists({
            "marks": marks, "elements": els, "grid": Program.boardGrid(panel), "ban2D": data.ban, "refMode": 0,
            "keepFirstBoard": data.keepFirst, "compareRefs": function(a, b) { return Program.compareRefs(a, b, opts(0)) },
            "order": function(a, b) { return a.rX - b.rX },
            "antSort": function(list) { ++antCalls; return list.slice().reverse() },
            "nearestSort": function(list) { return list } })
        compare(lists.refs.length, data.refs)
        compare(antCalls, 1)
        var first = lists.refs[0]
        if (data.ban[0][0] && !data.keepFirst)
            compare([first.row, first.col, first.rX], [1, 1, 150])     // the ant colony's first
        else
            compare([first.row, first.col, first.rX], [0, 0, 5])       // smaller rX first in its row
        compare(lists.elements.length, data.placements)
        verify(lists.elements.every(function(p) { return !p.el.disabled }))
        for (var i = 1; i < lists.elements.length; ++i)
            verify(lists.elements[i - 1].rX <= lists.elements[i].rX)
    }

    function test_panelListsNearestAndMarksOfThePanel() {
        var marks = [{ "rX": 50, "rY": 10 }, { "rX": 5, "rY": 10 }, { "rX": 9, "rY": 90 }]
        var els = [{ "rX": 20, "rY": 20, "elWidth": 1, "elHeight": 1, "rot": 0 },
                   { "rX": 10, "rY": 20, "elWidth": 1, "elHeight": 1, "rot": 0 }]
        var panel = { "pcbMulti": true, "pcbMultiCountX": 2, "pcbMultiCountY": 1, "pcbMultiSpacingX": 100 }
        Program.buildPreviews(els, marks, panel, 1)
        var nearest = []
        var lists = Program.panelLists({
            "marks": marks, "elements": els, "grid": Program.boardGrid(panel), "ban2D": [], "refMode": 1,
            "keepFirstBoard": false, "compareRefs": function(a, b) { return Program.compareRefs(a, b, opts(0)) },
            "order": "nearest", "antSort": function(list) { return list },
            "nearestSort": function(list) { nearest = list; return list.slice().reverse() } })
        // refMode 1: the panel's marks once, from board (0,0).
        compare(lists.refs.length, 3)
        compare(lists.refs[0].rY, 90)
        compare(nearest.length, 4)
        compare(lists.elements[0], nearest[3])
    }

    // ---- dot rows

    function test_dotProgram() {
        var feeders = { "B1": { "type": 6, "dotSize": 0.8 }, "U2": { "type": 7 } }
        var feederOf = function(model, index) { return feeders[model + index] || null }
        var dotList = [{ "model": "U", "index": 2, "rX": 1, "rY": 0, "dotSize": 0.5 },
                       { "model": "B", "index": 1, "rX": 9, "rY": 0, "dotSize": 0.5 },
                       { "model": "B", "index": 1, "rX": 5, "rY": 0, "dotSize": 0.5, "disabled": true },
                       { "model": "B", "index": 1, "rX": 2, "rY": 0, "dotSize": 0.5 },
                       { "model": "U", "index": 2, "rX": 3, "rY": 0, "dotSize": 0.5, "deleted": true }]
        var dots = Program.dotPreviews(dotList, feederOf)
        compare(dots.length, 4)
        compare([dots[1].size, dots[1].rotWidth, dots[0].size], [0.8, 0.8, 0.5])   // the feeder's size wins
        var p = Program.dotProgram(dots, function(a, b) { return Program.compareDots(a, b, opts(0)) }, feederOf)
        compare(p.groups.map(function(g) { return g.map(function(d) { return d.rX }) }), [[2, 9], [1]])
        compare(p.rows, [
            { "op": "Нанесение точек. Диспенсер 1. Диаметр 0.8мм. Кол-во: 2", "enabled": 1, "opFunc": "setupDots",
              "p1": 0, "image": "d1" },
            { "op": "Нанесение точек. Диспенсер 2. Диаметр 0.5мм. Кол-во: 1", "enabled": 1, "opFunc": "setupDots",
              "p1": 1, "image": "d2" }])
    }

    // ---- feeder rows

    // Two feeders on nozzle 1 and one on nozzle 2: nozzle 1, feeder,
    // feeder, nozzle 2, feeder; a disabled component leaves no line.
    function test_feederProgram() {
        var feeders = { "B0": { "cupNumber": 0, "pack": "0603", "partNumber": "10k", "rot": -90,
                                "packageSettings": { "path": "/base/0603.png" } },
                        "B1": { "cupNumber": 0 }, "U0": { "cupNumber": 1, "pack": "SOT23" } }
        var feederOf = function(model, index) { return feeders[model + index] || null }
        function p(model, index, rX, disabled) {
            return { "el": { "model": model, "index": index, "disabled": disabled === true }, "rX": rX, "rY": 10,
                     "elWidth": 2, "elHeight": 2, "rotation": 0, "row": 0, "col": 0 }
        }
        var list = [p("B", 0, 1), p("B", 0, 2), p("B", 1, 3), p("B", 1, 4, true), p("U", 0, 5)]
        var r = Program.feederProgram(list, feederOf, { "workAreaX1": 0, "workAreaY2": 100, "pcbMulti": false })
        compare(r.count, 4)
        compare(r.nozzles, 2)
        compare(r.groups.map(function(g) { return g.length }), [2, 1, 1])
        compare(r.rows.map(function(row) { return row.op }),
                ["Взятие насадки 1", "Питатель: снизу №1. 0603. 10k. Кол-во: 2", "Питатель: снизу №2. Кол-во: 1",
                 "Взятие насадки 2", "Питатель: сверху №1. SOT23. Кол-во: 1"])
        compare(r.rows[0], { "op": "Взятие насадки 1", "enabled": 2, "opFunc": "cupWaitDummy", "p1": 0, "complete": "" })
        var first = r.rows[1]
        compare([first.enabled, first.opFunc, first.p1, first.image], [1, "setupFeeder", 0, "/base/0603.png ROT:-90"])
        compare(first.lines.map(function(l) { return l.op }),
                ["X: 2.00; Y: 89.00; Поворот: 0", "X: 3.00; Y: 89.00; Поворот: 0"])
        compare(first.lines[1].ep, list[1])
        compare([r.rows[2].image, r.rows[4].p1], [" ROT:0", 2])
    }

    // ---- feeder check

    property var area: ({ "x1": 0, "x2": 400, "y1": 0, "y2": 300, "z1": 0, "z2": 100 })

    function goodFeeder(type) {
        return { "type": type, "cupNumber": 1, "gCode": "g0 x1", "elWidth": 1.6, "elHeight": 0.8,
                 "caseX": 100, "caseY": 50, "caseZ": 10, "cutX2": 140, "cutY2": 50, "cutDistance": 4,
                 "caseRowsX": 3, "caseRowsY": 2, "placerX": "1 2", "placerY": "3 4", "placerType": 0,
                 "elPhoto": "", "centering": 1, "centerType": 0, "centeringCount": 5, "bankNumber": 1,
                 "cameraIndiv": false, "cameraROIPercent": 100, "centeringZ": 20, "camera2Photo": "" }
    }
    function env(model) {
        return { "model": model || "B", "packageFound": true, "vcCount": 6, "area": area,
                 "cup": { "cupLength": 31, "press": 1 },
                 "bandBank": { "bankEnabled": true, "position": 0 },
                 "vibroBank": { "bankEnabled": true },
                 "frameHeight": 480, "camera2PPM": 20, "camera2PPMDistance": 50, "camera2MinHeight": 5 }
    }
    // The head of a PNG photo of 100 x 60 pixels (only the header is read).
    readonly property string photo100x60: "data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAGQAAAA8CAYAAAA="

    function test_feederCheck_data() {
        var rows = []
        function row(tag, type, change, text, envChange) {
            rows.push({ tag: tag, type: type, change: change, envChange: envChange || {}, text: text })
        }
        for (var type = 0; type <= 5; ++type)
            row("good feeder of type " + type, type, {}, true)
        row("package not in base", 3, {}, "Корпус компонента не найден в базе!", { "packageFound": false })
        row("no feeder", 3, null, "Питатель не настроен")
        row("empty pick G-code", 0, { "gCode": "  " }, "G-код взятия компонента не задан!")
        row("nozzle below", 3, { "cupNumber": -1 }, "Неверно указан номер насадки")
        row("pick X outside", 3, { "caseX": 400.01 }, "Неверно указаны координаты взятия компонента")
        row("pick on the border", 3, { "caseX": 400, "caseY": 0 }, true)
        // caseZ within ceil(0 - 31 + 1) = -30 ... floor(100 - 31) = 69
        row("pick too low", 2, { "caseZ": -30.5 }, "Неверно указаны координаты взятия компонента")
        row("pick height limits", 2, { "caseZ": -30 }, true)
        row("tray rows", 1, { "caseRowsX": 0 }, "Неверные настройки поддона!")
        row("tray last cell on the border", 1, { "cutY2": 300 }, "Неверные настройки поддона!")
        row("loose parts without a numeric pair", 2, { "placerX": "a ; -", "placerY": "b 2" },
            "Неверные настройки питателя")
        row("loose parts with one numeric pair", 2, { "placerX": "1 2 3", "placerY": " x 4" }, true)
        row("loose parts template without photo", 2, { "placerType": 1, "elPhoto": "" }, "Не задано фото шаблона")
        row("template too big", 3, { "centerType": 4, "camera2Photo": photo100x60 },
            "Слишком большое фото шаблона")
        row("tape bank disabled", 3, {}, "Неверные настройки ленточного питателя",
            { "bandBank": { "bankEnabled": false, "position": 0 } })
        row("vibration bank disabled", 4, {}, "Неверные настройки вибропитателя",
            { "vibroBank": { "bankEnabled": false } })
        row("strip end outside", 5, { "cutX2": 401 }, "Неверно указаны координаты взятия компонента")
        row("strip does not fit", 5, { "cutX2": 100, "cutY2": 60 }, "Неверные настройки питателя")
        row("centring count", 3, { "centering": 2, "centeringCount": 0 }, "Неверные настройки центрирования")
        return rows
    }
    function test_feederCheck(data) {
        var f = null
        if (data.change !== null) {
            f = goodFeeder(data.type)
            if (data.type === 5) {
                f.cutX2 = 100
                f.cutY2 = 62
            }
            for (var key in data.change)
                f[key] = data.change[key]
        }
        var e = env()
        for (var k in data.envChange)
            e[k] = data.envChange[k]
        compare(Program.checkFeeder(f, e), data.text)
    }

    // Whole pitches within 0.3 of one; the rest in test_feederCheck.
    function test_stripFit() {
        verify(Program.stripFits(12.8, 4))      // 4.2 against 4
        verify(!Program.stripFits(1, 4))        // shorter than half a pitch
    }

    // The component camera's search region: twice the larger side at the
    // camera's scale, bounded to 15 ... 100 %, or the feeder's own.
    function test_searchRegion_data() {
        // env(): ppm = 20 * 50 / 20 = 50 at 480 rows
        return [{ tag: "0603", w: 1.6, h: 0.8, rows: 480, own: false, expected: 1.6 * 2 * 50 / 480 * 100 },
                { tag: "larger than the frame", w: 4.9, h: 6, rows: 480, own: false, expected: 100 },
                { tag: "tiny part", w: 0.4, h: 0.2, rows: 960, own: false, expected: 15 },
                { tag: "own region too large", w: 1.6, h: 0.8, rows: 480, own: true, roi: 150, expected: 100 }]
    }
    function test_searchRegion(data) {
        var f = goodFeeder(3)
        f.elWidth = data.w
        f.elHeight = data.h
        f.cameraIndiv = data.own
        f.cameraROIPercent = data.roi
        var e = env()
        e.frameHeight = data.rows
        fuzzyCompare(Program.searchRegionPercent(f, e), data.expected, 1e-9)
    }

    // ---- texts

    function test_feederErrorText() {
        compare(Program.feederErrorText("R", 2, "Питатель не настроен"),
                "Ошибка при проверке питателя справа 3: Питатель не настроен")
    }

    function test_safeHeight() {
        compare(Program.safeHeight([{ "elThickness": 1 }, { "elThickness": 31 }], 30), 33)
        compare(Program.safeHeight([{ "elThickness": 1 }], 30), 30)
        compare(Program.safeHeight([], 30), 30)
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// The job screen of the real program: a project with packages, feeder banks,
// reference marks, dots and components on a panel; the program built when
// the screen is shown, its rows and lines, the check boxes and the marks a
// run needs, and every reason creation refuses to build a program.
// Every case starts from the same project, laid out afresh.
TestCase {
    id: testCase
    name: "JobScreen"
    when: windowShown

    property string dir: probe.tempPath()
    property string base: dir + "/base"
    property var screen: root.smtInterface
    property var creation: screen.creation
    property var jobModel: null

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function feeder(bank, n) { return call(root, "getFeeder", [bank, n]) }
    function setFeeder(bank, n, pack, fields) {
        var f = feeder(bank, n)
        f.pack = pack
        for (var key in fields)
            f[key] = fields[key]
        verify(call(root.feedersInvoker, "changeOne", [bank, n, Rig.packageIndex(pack), f]))
    }
    function element(pack, partNumber, bank, index, x, y, designator) {
        return call(root.area, "createElement", [Rig.packageIndex(pack), partNumber, bank, index, x, y, 0, 0,
                                                  designator, -1, -1, ""])
    }
    function rows() {
        var out = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            out.push(probe.entry(jobModel, i))
        return out
    }
    function rowTexts() { return rows().map(function(r) { return r.op }) }
    function lineIndex(row, line) { return jobModel.index(line, 0, jobModel.index(row, 0)) }
    function lineText(row, line) { return jobModel.data(lineIndex(row, line), 257) }

    // Shows the screen again and waits for the program (or its refusal).
    function rebuild() {
        screen.close()
        root.errorListModel.clear()
        var log = root.logModel.count
        call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        verify(jobModel !== null)
        compare(jobModel.rowCount, 0)                    // cleared at once, built 200 ms later
        function refused() {
            for (var i = log; i < root.logModel.count; ++i)
                if (String(probe.entry(root.logModel, i).message).indexOf("Ошибка") === 0)
                    return true
            return Rig.errorList().length > 0
        }
        tryVerify(function() { return screen.programCreated || refused() }, 5000)
    }

    function initTestCase() {
        verify(Rig.loadPackages(base, { "0603(A1.6B0.8H0.45).png": [16, 8],
                                        "SOT23(A2.9B1.3H1.1).png": [29, 13] }))
        compare(root.packageList.count, 2)
    }

    // A panel of 2 x 2 boards, (1, 1) excluded: two marks, R1, R2 and Q1 from
    // the bottom bank on nozzle 1, R3 from the top bank on nozzle 2, two
    // dots; starting and ending G-code, calibration and inspection on.
    function init() {
        root.vcCount = 6
        root.bandBankModel.setProperty(0, "bankEnabled", true)
        root.bandBankModel.setProperty(0, "position", 0)
        root.vibroBankModel.setProperty(0, "bankEnabled", true)
        root.feederEnabledB = true
        root.feederEnabledU = true
        root.feederCountB = 2
        root.feederCountU = 2
        call(root.feedersInvoker, "changeCount", ["B"])
        call(root.feedersInvoker, "changeCount", ["U"])
        setFeeder("B", 0, "0603", { "partNumber": "10k", "type": 3, "cupNumber": 0, "caseX": 100, "caseY": 20,
                                    "bankNumber": 0 })
        setFeeder("B", 1, "SOT23", { "partNumber": "BC847", "type": 3, "cupNumber": 0, "caseX": 110, "caseY": 20,
                                     "bankNumber": 0 })
        setFeeder("U", 0, "0603", { "partNumber": "1k", "type": 4, "cupNumber": 1, "caseX": 200, "caseY": 480,
                                    "bankNumber": 0 })
        setFeeder("U", 1, "0603", { "partNumber": "", "type": 6, "dotSize": 0.5 })

        call(root.projectActions, "clearProject")
        call(root.area, "setRefPoint", [5, 310, 0])
        call(root.area, "setRefPoint", [45, 330, 0])
        element("0603", "10k", "B", 0, 10, 300, "R1")
        element("0603", "10k", "B", 0, 20, 300.2, "R2")
        element("SOT23", "BC847", "B", 1, 15, 320, "Q1")
        element("0603", "1k", "U", 0, 30, 305, "R3")
        call(root.area, "setDot", ["U", 1, 25, 315, 0, -1, -1])
        call(root.area, "setDot", ["U", 1, 12, 315, 0, -1, -1])
        call(root.projectActions, "updateAllFeederMatches")
        root.pcbMulti = true
        root.pcbMultiCountX = 2
        root.pcbMultiCountY = 2
        root.pcbMultiSpacingX = 60
        root.pcbMultiSpacingY = 50
        root.refMode = 0
        call(creation, "setBoardExcluded", [1, 1, true])
        root.startingGcode = "g0 x0"
        root.endingGcode = "g0 y0"
        root.calibBeforeRun = true
        root.calibEnabled = true
        root.projectAoiEnabled = true
        root.pcbMultiNonstandart = false
        root.allowOutOfBoard = false
        root.boardMaxHeight = 300
        for (var b = 0; b < 3; ++b)
            call(creation, "setBoardExcluded", [b >> 1, b & 1, false])
        call(root, "maxVelGet", [100, 100, 50, 100, 100, 100])
        call(root, "maxAccGet", [1000, 1000, 500, 1000])
    }

    function test_panelProgram() {
        rebuild()
        compare(Rig.errorList(), [])
        verify(screen.programCreated)
        compare(rowTexts(), [
            "Калибровка",
            "Исполнение стартового g-кода",
            "Поиск реперных знаков (6 шт.)",
            "Нанесение точек. Диспенсер 1. Диаметр 0.5мм. Кол-во: 2",
            "Взятие насадки 1",
            "Питатель: снизу №1. 0603. 10k. Кол-во: 6",
            "Питатель: снизу №2. SOT23. BC847. Кол-во: 3",
            "Взятие насадки 2",
            "Питатель: сверху №1. 0603. 1k. Кол-во: 3",
            "Возврат насадки ",
            "Оптическая инспекция",
            "Исполнение завершающего g-кода"
        ])
        // The feeder rows and their lines (their texts and order:
        // tst_program_lib.qml); none on the excluded board.
        compare([5, 6, 8].map(function(row) { return jobModel.getSubSteps(row) }), [6, 3, 3])
        compare(lineText(5, 0), "X: 10.80; Y: 199.60; Поворот: 0; Обозн.: R1; Плата: X: 1, Y: 1")
        verify(screen.startEnabled === false)      // the machine is not homed
    }

    function test_checkBoxesInTheView() {
        rebuild()
        var tree = findChild(screen.contentItem, "jobTree")
        verify(tree !== null)
        waitForRendering(tree)                        // the rows drawn where the clicks go
        var rowHeight = 25, top = 24
        function clickRow(row) { mouseClick(tree, 27, top + rowHeight * row + rowHeight / 2) }
        // (what a click does to a row and its lines: tst_opmodel.cpp)
        clickRow(1)                                   // the starting G-code
        compare(jobModel.getEnabled(1, -1), 0)
        clickRow(6)                                   // a feeder with its lines
        compare([jobModel.getEnabled(6, -1), jobModel.getEnabled(6, 0), jobModel.getEnabled(6, 2)], [0, 0, 0])
        verify(probe.value(screen, "epAA")[1][2].disabledTemp)
        clickRow(6)
        compare([jobModel.getEnabled(6, -1), jobModel.getEnabled(6, 0)], [1, 1])
        verify(!probe.value(screen, "epAA")[1][2].disabledTemp)
    }

    function test_checkBoxesAndMarksOfARun() {
        rebuild()
        // Every feeder row off: only the dots need marks, those of board (0,0).
        for (var row of [5, 6, 8])
            jobModel.cbClicked(jobModel.index(row, 0))
        var dotRow = -1
        for (var i = 0; i < jobModel.rowCount; ++i)
            if (jobModel.getOpFunc(i) === "setupDots")
                dotRow = i
        verify(dotRow >= 0)
        call(screen, "recalcUsedRefsBeforeRun")
        var refs = probe.value(screen, "refListMulti")
        var forDots = refs.filter(function(m) { return m.used })
        compare(forDots.length, 2)
        compare([forDots[0].row, forDots[0].col, forDots[1].row, forDots[1].col], [0, 0, 0, 0])
        // The dot row off too, one line on: the marks of its board only.
        jobModel.cbClicked(jobModel.index(dotRow, 0))
        jobModel.cbClicked(lineIndex(6, 2))
        compare(jobModel.getEnabled(6, -1), 3)
        var p = probe.value(screen, "epAA")[1][2]
        verify(!p.disabledTemp)
        call(screen, "recalcUsedRefsBeforeRun")
        refs = probe.value(screen, "refListMulti")
        var used = refs.filter(function(m) { return m.used })
        compare(used.length, 2)
        compare([used[0].row, used[0].col, used[1].row, used[1].col], [p.row, p.col, p.row, p.col])
    }

    // The marks' order comes from the back end (the orders themselves:
    // tst_ordering.cpp).
    function test_markOrderFromTheBackEnd() {
        var marks = [{ "name": "A", "rX": 0, "rY": 0 }, { "name": "C", "rX": 20, "rY": 0 },
                     { "name": "B", "rX": 10, "rY": 0 }]
        compare(call(creation, "antSort", [marks]).map(function(m) { return m.name }), ["A", "B", "C"])
    }

    function test_refusals() {
        // All boards excluded.
        call(creation, "setBoardExcluded", [0, 0, true])
        call(creation, "setBoardExcluded", [0, 1, true])
        call(creation, "setBoardExcluded", [1, 0, true])
        call(creation, "setBoardExcluded", [1, 1, true])
        rebuild()
        compare(jobModel.rowCount, 0)
        verify(!screen.programCreated)
        compare(Rig.lastLog(), "Ошибка: Все платы исключены из расстановки!")
        for (var b = 0; b < 4; ++b)
            call(creation, "setBoardExcluded", [b >> 1, b & 1, false])
        root.pcbMulti = false

        // A component off the placement area.
        root.boardMaxHeight = 150
        rebuild()
        compare(jobModel.rowCount, 0)
        compare(Rig.lastLog(), "Ошибка: Один или более компонент находится за границей области расстановки!")
        root.allowOutOfBoard = true
        rebuild()
        verify(screen.programCreated)
        root.allowOutOfBoard = false
        root.boardMaxHeight = 300

        // Faulty feeders: all of them are listed.
        setFeeder("B", 0, "0603", { "partNumber": "10k", "type": 3, "cupNumber": 7, "caseX": 100, "caseY": 20,
                                    "bankNumber": 0 })
        setFeeder("B", 1, "SOT23", { "partNumber": "BC847", "type": 3, "cupNumber": 0, "caseX": 900,
                                     "caseY": 20, "bankNumber": 0 })
        rebuild()
        compare(jobModel.rowCount, 0)
        compare(Rig.errorList(),
                ["Ошибка при проверке питателя снизу 1: Неверно указан номер насадки",
                              "Ошибка при проверке питателя снизу 2: Неверно указаны координаты взятия компонента"])

        // A component without a feeder stops before any feeder is checked.
        element("0603", "", "B", -1, 40, 310.5, "R9")
        call(root.projectActions, "updateAllFeederMatches")
        rebuild()
        compare(jobModel.rowCount, 0)
        compare(Rig.errorList(),
                ["Компоненту не присвоен питатель! Корпус: 0603; X: 40.00; Y: 310.50"])

        // Too few marks.
        call(root.projectActions, "clearProject")
        element("0603", "10k", "B", 0, 10, 300, "R1")
        rebuild()
        compare(jobModel.rowCount, 0)
        compare(Rig.lastLog(), "Ошибка: Проверьте расстановку реперных знаков!")
        verify(!screen.programCreated)
        screen.close()
    }
}

import QtQuick 2.15
import QtTest 1.2
import "qrc:/main/lib/importing.js" as Importing
import "qrc:/main/lib/statistics.js" as Statistics

// Importing placement lists and BOMs, exporting the feeder list, the day
// statistics and the project log, in the real program. The functions run in
// any order: each case reads and imports what it needs.
TestCase {
    id: testCase
    name: "Import"
    when: windowShown

    property string dir: probe.tempPath()

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function list(name) { return probe.value(root, name) }
    function feeder(bank, n) { return call(root, "getFeeder", [bank, n]) }
    function errorList() {
        var l = []
        for (var i = 0; i < root.errorListModel.count; ++i)
            l.push(probe.entry(root.errorListModel, i).message)
        return l
    }
    function lastLog() {
        var log = root.logModel
        return log.count > 0 ? probe.entry(log, log.count - 1).message : ""
    }
    function element(designator) {
        var elements = list("elementList")
        for (var i = 0; i < elements.length; ++i) {
            if (elements[i].designator === designator)
                return elements[i]
        }
        return null
    }
    function setFeeder(bank, n, fields) {
        var f = feeder(bank, n)
        for (var k in fields)
            f[k] = fields[k]
        var pkg = call(root, "packageIndexOf", [f.pack])
        call(root.feedersInvoker, "changeOne", [bank, n, pkg, f])
    }

    function initTestCase() {
        verify(probe.makePicture(dir + "/base/0603(A1.6B0.8H0.45W8P4).png", 16, 8))
        verify(probe.makePicture(dir + "/base/SOT23(A2.9B2.4H1.1W8P4).png", 29, 24))
        verify(probe.makePicture(dir + "/base/SOIC8(A4.9B6H1.5W12P8).png", 49, 60))
        verify(probe.makePicture(dir + "/base/QFP64(A12B12H1.6D3.5).png", 40, 40))
        probe.setIniValue(settingsFile, "packageBasePath", dir + "/base")
        root.loadPackageList()
        compare(root.packageList.count, 4)
    }

    // Every case starts with empty banks but for 0603 10k in the first
    // bottom feeder and SOT23 BC847 in the fourth.
    function init() {
        root.noCalcOverlaps = false
        root.feederCountB = 0
        root.feederCountU = 0
        call(root.feedersInvoker, "changeAll")
        root.feederEnabledB = true
        root.feederEnabledU = true
        root.feederCountB = 10
        root.feederCountU = 4
        call(root.feedersInvoker, "changeAll")
        setFeeder("B", 0, { "pack": "0603", "partNumber": "10k" })
        setFeeder("B", 3, { "pack": "SOT23", "partNumber": "BC847" })
        root.workAreaX2 = 400
        root.workAreaY2 = 300
        root.boardX1 = 50
        root.boardY1 = 40
    }

    function test_pureFunctions() {
        var p = Importing.placement(60, 50, 90, 90, -90, 2, 1, { "x1": 0, "y1": 0, "x2": 400, "y2": 300 })
        compare(p.rX, 59)
        compare(p.rY, 249.5)
        compare(p.angle, 90)
        verify(p.inside)
        verify(!Importing.placement(-5, 50, 0, 0, 0, 2, 1, { "x1": 0, "y1": 0, "x2": 400, "y2": 300 }).inside)
        compare(Importing.feederRotation("R", 5), -90)
        compare(Importing.feederRotation("R", 3), 180)
        compare(Importing.feederRotation("B", 3), -90)
        compare(Importing.feederRotation("U", 3), 90)
        compare(Importing.feederRotation("L", 3), 0)
        var f = Importing.importedFeeder({ "type": 3, "bandWidth": 0, "caseX": 100, "caseY": 20, "cutDistance": 4,
                                           "centeringZ": 9 },
                                         { "name": "QFP64", "A": 12, "B": 12, "H": 1.6, "cupNumber": 7, "bandStep": 4,
                                           "slowPick": false, "cameraIndiv": false, "centerType": 2 },
                                         { "partNumber": "STM32", "designators": "U1", "bandWidth": 3 }, "B", 6, true)
        compare(f.cupNumber, 5)
        compare(f.rot, -90)
        compare(f.cutDistance, 16)
        compare(f.bandWidth, 3)
        compare(f.caseY, 20 + (24 - 8) / 2)
        compare(f.caseX, 100)
        compare(f.comment, "U1")
        compare(f.centeringZ, 2.1)
        compare(f.pack, "QFP64")
        var tray = Importing.importedFeeder({ "type": 1, "bandWidth": 0, "caseX": 5, "caseY": 5, "cutDistance": 2 },
                                            { "name": "X", "A": 1, "B": 1, "H": 1, "cupNumber": 0, "bandStep": 0,
                                              "slowPick": false },
                                            { "partNumber": "p", "bandWidth": 0 }, "R", 6, false)
        compare(tray.slowPick, true)
        compare(tray.rot, undefined)       // trays keep their rotation
        compare(tray.cutDistance, 2)
        compare(Statistics.pcbPerHour(2, 1800), "4.0")
        compare(Statistics.elementsPerHour(2, 0), "")
    }

    function test_autoAssign() {
        var banks = {
            "B": [{ "pack": "0603", "partNumber": "10k", "used": true }, { "pack": "", "partNumber": "", "used": false },
                  { "pack": "0805", "partNumber": "1u", "used": true }, { "pack": "0805", "partNumber": "2u", "used": false }],
            "U": [{ "pack": "", "partNumber": "", "used": false }, { "pack": "", "partNumber": "", "used": false }] }
        var ranges = { "w8": { "bank": 0, "first": 0, "last": 3 }, "w12_16": { "bank": 1, "first": 1, "last": 5 } }
        var lines = [{ "pack": "0603", "partNumber": "4k7", "bandWidth": 0, "known": true },
                     { "pack": "0603", "partNumber": "10K", "bandWidth": 0, "known": true },
                     { "pack": "SOIC8", "partNumber": "NE555", "bandWidth": 1, "known": true },
                     { "pack": "0402", "partNumber": "1k", "bandWidth": 0, "known": true },
                     { "pack": "BGA", "partNumber": "x", "bandWidth": 6, "known": false },
                     { "pack": "0402", "partNumber": "2k", "bandWidth": 0, "known": true }]
        var r = Importing.autoAssign(lines, banks, ranges)
        compare(r[1].model + r[1].index, "B0")    // its own feeder, though listed later
        compare(r[0].model + r[0].index, "B1")    // the empty one
        compare(r[2].model + r[2].index, "U1")    // 12 mm range starts at 1
        compare(r[3].model + r[3].index, "B3")    // not used by the project
        compare(r[4].model, "")                   // unknown package
        compare(r[5].model, "")                   // the range is full
    }

    // The placement list of the board read into the import window, the
    // project empty.
    function readList() {
        call(root.projectActions, "clearProject")
        var file = dir + "/lists/board.csv"
        probe.writeText(file,
            "Designator;Value;Package;X;Y;Rot;Side\n" +
            "R1;10k;0603;10,5;20;0;top\n" +
            "R2;10k;0603;12.5;20;-270;top\n" +
            "Q1;bc847;sot23;30;25;90;top\n" +
            "U1;NE555;SOIC8;40;30;0;top\n" +
            "FID1;;ReperPoint;5;5;0;top\n" +
            "FID2;;ReperPoint;45;35;0;top\n" +
            "C9;1u;0603;1;1;0;bottom\n" +
            "R3;10k;0603;15;20;0\n")
        root.importSeparatorType = 2
        root.importElPackCol = 2
        root.importElPartNumberCol = 1
        root.importElDesigCol = 0
        root.importElXCol = 3
        root.importElYCol = 4
        root.importElACol = 5
        root.importSideCol = 6
        root.importSideEnabled = true
        root.importSide = 0
        root.importAddRot = 1
        root.importSortType = 0
        var panel = root.elementListImportWindow.panel
        call(panel, "read", [probe.fileUrl(file)])
    }
    // Imported as components, then once more through the project import
    // with SOIC8 in the top bank's third feeder.
    function importBoard() {
        readList()
        root.elementListImportWindow.open()
        call(root.elementListImportWindow.panel, "createAll")
        var panel = root.projectImportWindow.panel
        call(panel, "read", [probe.fileUrl(dir + "/lists/board.csv")])
        call(panel, "setGroupFeeder", [3, "U", 2])
        call(panel, "createAll")
    }

    function test_placementListImport() {
        readList()
        var m = root.importElementModel
        compare(m.count, 4)
        compare(lastLog(), "Импортировано записей: 6.\nТипов компонентов: 4.")
        var first = probe.entry(m, 0)
        compare(first.elPack, "0603")
        compare(first.count, 2)
        compare(first.model1, "B")
        compare(first.index1, 0)
        compare(first.feeder, "снизу №1")
        compare(first.designators, "R1, R2")
        var refs = probe.entry(m, 1)
        compare(refs.model1, "Ref")
        compare(refs.feeder, "Реперный знак")
        var q = probe.entry(m, 2)
        compare(q.elPack, "sot23")
        compare(q.model1, "B")               // case of package and part number ignored
        compare(q.index1, 3)
        var u = probe.entry(m, 3)
        compare(u.model1, "")                // no feeder holds it
        compare(u.bandWidth, 1)              // from the package record
        var data = probe.value(root, "importElementData")
        compare(data[0].x[0], 50 + 10.5 - 5) // the smallest X moves to boardX1
        compare(data[0].angle[1], -270)
    }

    function test_createComponents() {
        readList()
        root.errorListModel.clear()
        root.noCalcOverlaps = false
        var panel = root.elementListImportWindow.panel
        root.elementListImportWindow.open()
        compare(call(panel, "createAll"), 5)
        verify(!root.elementListImportWindow.visible)
        compare(root.elementCount, 3)
        compare(root.refCount, 2)
        var r2 = element("R2")
        compare(r2.pack, "0603")
        compare(r2.rot, 90)                    // -270 folds to 90
        compare(r2.rX, 50 + 12.5 - 5 - 0.8)
        compare(r2.rY, 300 - (40 + 20 - 5) - 0.4)
        compare(r2.partNumber, "10k")
        verify(r2.feederMatches)
        var q1 = element("Q1")
        compare(q1.model, "B")
        compare(q1.index, 3)
        compare(list("refList")[0].rX, 50)
        compare(list("refList")[0].rY, 300 - 40)
        compare(lastLog(), "Импорт завершен. Количество импортированных компонентов (и реперных знаков): 5")

        // Outside the work area: reported, not created.
        root.boardY1 = 290
        call(panel, "read")
        root.errorListModel.clear()
        call(panel, "createAll")
        verify(errorList().length >= 1)
        verify(errorList()[0].indexOf("Ошибка импорта. Координаты X") === 0, errorList()[0])
        verify(errorList()[0].indexOf("выходят за границы. refDes: ") > 0)
        root.boardY1 = 40
    }

    // Over the components imported before, the project import sets the
    // feeder of a group.
    function test_projectImportSetsFeeders() {
        readList()
        root.elementListImportWindow.open()
        compare(call(root.elementListImportWindow.panel, "createAll"), 5)
        var panel = root.projectImportWindow.panel
        call(panel, "read", [probe.fileUrl(dir + "/lists/board.csv")])
        var m = root.importElementModel
        compare(probe.entry(m, 3).elPack, "SOIC8")
        call(panel, "setGroupFeeder", [3, "U", 2])
        var before = root.elementCount
        call(panel, "createAll")
        var f = feeder("U", 2)
        compare(f.pack, "SOIC8")
        compare(f.partNumber, "NE555")
        compare(f.rot, 90)
        compare(f.elWidth, 4.9)
        compare(root.elementCount, before + 4)
        verify(element("U1").feederMatches)
    }

    function test_bomImport() {
        var file = dir + "/lists/bom.txt"
        probe.writeText(file, "Package\tValue\tRefs\tQty\n0603\t22k\tR7,R8\t2\nsoic8\tLM358\tU7\t1,0\n" +
                              "0402\t1k\t\t0\nBGA256\tFPGA\tU9\t1\n")
        root.importFeederSeparatorType = 0
        root.importFeederPackCol = 0
        root.importFeederPartNumberCol = 1
        root.importFeederDesigCol = 2
        root.feederElCountInBomCol = 3
        root.feederDontImportEmpty = true
        var w = root.feederListImportWindow
        call(w, "read", [probe.fileUrl(file)])
        var m = root.importFeederModel
        compare(m.count, 3)                  // "Package" header (count 0) and 0402 dropped
        compare(probe.entry(m, 0).feederPack, "0603")
        compare(probe.entry(m, 1).feederPack, "SOIC8")   // the base's spelling
        compare(probe.entry(m, 1).count, 1)
        compare(probe.entry(m, 2).color, "red")
        compare(probe.entry(m, 2).bandWidth, 6)

        root.importFeederAutoAssign8mmBank = 0
        root.importFeederAutoAssign8mmFirst = 4
        root.importFeederAutoAssign8mmLast = 9
        root.importFeederAutoAssign12_16mmBank = 1
        root.importFeederAutoAssign12_16mmFirst = 0
        root.importFeederAutoAssign12_16mmLast = 3
        call(w, "autoAssign")
        compare(probe.entry(m, 0).model1 + probe.entry(m, 0).index1, "B4")
        compare(probe.entry(m, 1).model1 + probe.entry(m, 1).index1, "U0")
        compare(probe.entry(m, 2).model1, "")
        w.open()
        compare(call(w, "importFeeders"), 2)
        compare(feeder("B", 4).partNumber, "22k")
        compare(feeder("B", 4).comment, "R7,R8")
        compare(feeder("B", 4).rot, -90)
        compare(feeder("U", 0).pack, "SOIC8")
        compare(lastLog(), "Импорт завершен. Количество импортированных наименований: 2")
    }

    function test_feederExport() {
        importBoard()
        root.exportSeparatorType = 1
        root.exportSortType = 0
        root.exportHeaderEnabled = false
        root.exportEmptyFeeders = false
        root.exportDesignator = true
        root.exportColumnOrder = []
        var file = dir + "/lists/feeders"
        root.feederListExport(probe.fileUrl(file))
        var text = probe.readText(file + ".txt")
        var lines = text.split("\n")
        compare(lines[0], "Снизу;1;0603;10k;4;0;0;R1,R2,R1,R2")   // imported twice
        verify(text.indexOf("Сверху;3;SOIC8;NE555;1;0;0;U1") >= 0, text)
        compare(lastLog(), "Экспорт завершен. Экспортировано строк: 3")
        // Dragging "partNumber" to the front.
        call(root.feederExportSettings, "moveColumn", [3, 0])
        compare(probe.value(root, "exportColumnOrder")[0], "partNumber")
        root.feederListExport(probe.fileUrl(file))
        compare(probe.readText(file + ".txt").split("\n")[0], "10k;Снизу;1;0603;4;0;0;R1,R2,R1,R2")
    }

    function test_dayStatisticsAcrossMidnight() {
        var stats = root.projectStatisticsWindow
        root.projectDayStatisticsM.clear()
        stats.fixedToday = new Date(2026, 11, 5, 23, 59, 58)
        call(stats, "appendSeconds", [1])
        call(stats, "appendSeconds", [1])
        call(stats, "appendComponentsAndSolderPoints", [4, 8])
        stats.fixedToday = new Date(2026, 11, 6, 0, 0, 1)
        call(stats, "appendSeconds", [2])
        call(stats, "appendPcbCount", [1])
        call(stats, "appendBasketCount", [1])
        compare(root.projectDayStatisticsM.count, 2)
        var today = probe.entry(root.projectDayStatisticsM, 0)
        compare(today.mountTime, 2)
        compare(today.pcbCount, 1)
        compare(today.basketCount, 1)
        compare(today.pcbPerHour, "1800.0")
        var yesterday = probe.entry(root.projectDayStatisticsM, 1)
        compare(yesterday.mountTime, 2)
        compare(yesterday.elementCount, 4)
        compare(yesterday.solderPointCount, 8)
        compare(yesterday.elementsPerHour, "7200")
        compare(call(root.projectDayStatisticsMInvoker, "get"), "06.12.2026;1;0;0;1;2|05.12.2026;0;4;8;0;2|")

        // Sorted views of the days.
        var view = root.projectDayStatisticsWindow.view
        view.sortRole = "date"
        view.ascending = true
        compare(Qt.formatDate(view.get(0).date, "dd.MM.yyyy"), "05.12.2026")
        view.sortRole = "pcbCount"
        view.ascending = false
        compare(view.get(0).pcbCount, 1)

        // The export of the days.
        verify(probe.writeText(dir + "/lists/.folder", ""))
        root.projectDayStatisticsExport(probe.fileUrl(dir + "/lists/days"))
        var lines = probe.readText(dir + "/lists/days.csv").split("\n")
        compare(lines[4], "06.12.2026;1;0;0;1;00:00:02;1800.0;0")
        compare(lines[5], "05.12.2026;0;4;8;0;00:00:02;0.0;7200")
        compare(lastLog(), "Экспорт завершен. Экспортировано записей: 2")
        stats.fixedToday = null
    }

    function test_projectLogFilter() {
        root.projectName = probe.fileUrl(dir + "/log.project")
        root.projectLogModel.clear()
        root.logAdd("Плата 1 готова")
        root.logAdd("Ошибка: питатель пуст", "red")
        root.logAdd("Оператор остановил работу", "yellow")
        root.logAdd("Плата 2 готова")
        var view = root.projectLogWindow.view
        compare(view.count, 4)
        compare(view.get(0).message, "Плата 2 готова")     // newest first
        view.filterText = "плата"
        compare(view.count, 2)
        view.filterText = ""
        view.acceptedValues = ["red", "yellow"]
        compare(view.count, 2)
        compare(view.get(1).message, "Ошибка: питатель пуст")
        view.acceptedValues = []
        compare(view.count, 4)
        root.projectName = ""
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// Importing placement lists and BOMs, exporting the feeder list and the day
// statistics, in the real program. The functions run in
// any order: each case reads and imports what it needs.
TestCase {
    id: testCase
    name: "Import"
    when: windowShown

    property string dir: probe.tempPath()

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function list(name) { return probe.value(root, name) }
    function feeder(bank, n) { return call(root, "getFeeder", [bank, n]) }
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
        compare(Rig.lastLog(), "Импортировано записей: 6.\nТипов компонентов: 4.")
        // Grouping and case-blind feeder matching are the back end's; the
        // window names the feeders and takes the tape width from the base.
        var first = probe.entry(m, 0)
        compare([first.model1, first.index1, first.feeder], ["B", 0, "снизу №1"])
        // The smallest X moves to boardX1.
        compare(probe.value(root, "importElementData")[0].x[0], 50 + 10.5 - 5)
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
        // R2 from its feeder's 1.6 x 0.8 body, its -270 folded.
        var r2 = element("R2")
        compare([r2.pack, r2.partNumber, r2.rot, r2.rX, r2.rY, r2.feederMatches],
                ["0603", "10k", 90, 50 + 12.5 - 5 - 0.8, 300 - (40 + 20 - 5) - 0.4, true])
        compare([element("Q1").model, element("Q1").index], ["B", 3])
        compare([list("refList")[0].rX, list("refList")[0].rY], [50, 300 - 40])
        compare(Rig.lastLog(), "Импорт завершен. Количество импортированных компонентов (и реперных знаков): 5")

        // Outside the work area: reported, not created.
        root.boardY1 = 290
        call(panel, "read")
        root.errorListModel.clear()
        call(panel, "createAll")
        verify(Rig.errorList().length >= 1)
        verify(Rig.errorList()[0].indexOf("Ошибка импорта. Координаты X") === 0, Rig.errorList()[0])
        verify(Rig.errorList()[0].indexOf("выходят за границы. refDes: ") > 0)
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
        compare([f.pack, f.partNumber, f.rot, f.elWidth], ["SOIC8", "NE555", 90, 4.9])
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
        // The header and the empty 0402 line dropped; the base's spelling;
        // an unknown package in red, its tape width unknown.
        compare(m.count, 3)
        compare([probe.entry(m, 0).feederPack, probe.entry(m, 1).feederPack], ["0603", "SOIC8"])
        compare([probe.entry(m, 2).color, probe.entry(m, 2).bandWidth], ["red", 6])

        root.importFeederAutoAssign8mmBank = 0
        root.importFeederAutoAssign8mmFirst = 4
        root.importFeederAutoAssign8mmLast = 9
        root.importFeederAutoAssign12_16mmBank = 1
        root.importFeederAutoAssign12_16mmFirst = 0
        root.importFeederAutoAssign12_16mmLast = 3
        call(w, "autoAssign")
        var assigned = [0, 1, 2].map(function(i) {
            return probe.entry(m, i).model1 + probe.entry(m, i).index1
        })
        compare(assigned, ["B4", "U0", "-1"])
        compare(Rig.lastLog(), "Питатели не назначены строкам: 1")
        w.open()
        compare(call(w, "importFeeders"), 2)
        var b4 = feeder("B", 4)
        compare([b4.partNumber, b4.comment, b4.rot], ["22k", "R7,R8", -90])
        compare(feeder("U", 0).pack, "SOIC8")
        compare(Rig.lastLog(), "Импорт завершен. Количество импортированных наименований: 2")
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
        var lines = probe.readText(file + ".txt").split("\n")
        compare(lines[0], "Снизу;1;0603;10k;4;0;0;R1,R2,R1,R2")   // imported twice
        compare(Rig.lastLog(), "Экспорт завершен. Экспортировано строк: 3")
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
        // The export of the days.
        verify(probe.writeText(dir + "/lists/.folder", ""))
        root.projectDayStatisticsExport(probe.fileUrl(dir + "/lists/days"))
        compare(probe.readText(dir + "/lists/days.csv").split("\n")[4], "06.12.2026;1;0;0;1;00:00:02;1800.0;0")
        compare(Rig.lastLog(), "Экспорт завершен. Экспортировано записей: 2")
        stats.fixedToday = null
    }

}

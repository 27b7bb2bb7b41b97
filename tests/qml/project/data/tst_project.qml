import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// The operator's data in the real program: package base, feeder banks and
// projects written to real files and read back through the main window.
// Every case lays out its package base, bank and project in a folder of its own.
TestCase {
    id: testCase
    name: "ProjectData"
    when: windowShown

    property int caseNumber: 0
    property string dir: probe.tempPath() + "/case" + caseNumber
    property string base: probe.tempPath() + "/base"
    property string projectPath: dir + "/jobs/board one.project"
    property string projectUrl: probe.fileUrl(projectPath)
    property string bankPath: dir + "/banks/Нижний.bottomFeeders"
    property string bankUrl: probe.fileUrl(bankPath)
    SignalSpy { id: proceeded; signalName: "proceeded" }

    property string packageIni: settingsFile.replace("settings.ini", "packageBase.ini")

    // Script functions and arrays of the program cross engines through the probe.
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

    // One package base for every case (the program keeps the packages it
    // has read); the banks and projects of each case in a folder of its own.
    function initTestCase() {
        root.errorListModel.clear()
        // old/sot23 is a duplicate name.
        verify(Rig.loadPackages(base, { "SOT23(A2.9B1.3H1.1W8P4).png": [30, 13],
                                        "chips/0603(a1.6b0.8h0.45).PNG": [16, 8],
                                        "chips/R0805.jpg": [20, 12],
                                        "old/sot23(A3B3H1).png": [30, 30] }))
        baseErrors = Rig.errorList()
    }
    property var baseErrors: []
    function init() {
        caseNumber += 1
        verify(probe.makePicture(dir + "/jobs/board.png", 400, 300))
    }

    // The records themselves: tst_package_base.cpp.
    function test_packageBase() {
        compare(root.packageBasePath, base)
        compare(root.packageList.count, 3)
        var sot = probe.entry(root.packageList, Rig.packageIndex("SOT23"))
        compare([sot.A, sot.B, sot.H], [2.9, 1.3, 1.1])
        verify(baseErrors.indexOf("В базе найдены одинаковые корпуса с именем: sot23") >= 0, baseErrors)
        // The base file was completed beside the settings store.
        compare(Number(probe.iniValue(packageIni, "sot23/A")), 2.9)
    }

    function test_packageReload() {
        verify(probe.makePicture(base + "/new/QFN16(A3B3H0.9).png", 30, 30))
        verify(probe.makePicture(base + "/new/SOIC8(A5B4H1.5).png", 50, 40))
        root.errorListModel.clear()
        root.loadPackageList()
        compare(root.packageList.count, 5)
        compare(Rig.lastLog(), "Количество новых корпусов в базе:2.\nОни в конце списка.")
        compare(Rig.errorList().length, 0)  // the known duplicate is not reported again
        // Saving writes the operator's edits.
        root.packageList.setProperty(Rig.packageIndex("QFN16"), "cameraT1", 111)
        root.savePackageSettings()
        compare(Number(probe.iniValue(packageIni, "qfn16/cameraT1")), 111)
    }

    // Bank B of four feeders saved in its file: SOT23 BC847 (12 set) in the
    // first, 0603 10k in a tray in the second.
    function makeBank() {
        root.feederEnabledB = true
        root.feederCountB = 4
        call(root.feedersInvoker, "changeCount", ["B"])
        var f = feeder("B", 0)
        f.pack = "SOT23"
        f.partNumber = "BC847"
        f.setCount = 12
        verify(call(root.feedersInvoker, "changeOne", ["B", 0, Rig.packageIndex("SOT23"), f]))
        f = feeder("B", 1)
        f.pack = "0603"
        f.partNumber = "10k"
        f.type = 1
        verify(call(root.feedersInvoker, "changeOne", ["B", 1, Rig.packageIndex("0603"), f]))
        root.feederFileB = bankUrl
        root.saveFeeders(bankUrl)
    }

    // A bank grown, saved, changed and read back (the file: tst_feeder_file.cpp).
    function test_feederBank() {
        makeBank()
        compare(feeder("B", 0).elWidth, 2.9)
        compare(Number(probe.iniValue(bankPath, "count")), 4)
        compare(probe.iniValue(bankPath, "feederB1/partNumber"), "BC847")
        verify(!worker.checkFeedersHasChanges(bankUrl))
        root.bottomFeedersModel.setProperty(0, "comment", "reel 2")
        verify(worker.checkFeedersHasChanges(bankUrl))

        // Reading the file back restores the saved bank.
        root.feederCountB = 1
        call(root.feedersInvoker, "changeCount", ["B"])
        root.openFeeders(bankUrl)
        compare(root.feederCountB, 4)
        compare(root.bottomFeedersModel.count, 4)
        compare(feeder("B", 0).comment, "")
        compare(feeder("B", 1).pack, "0603")

        // A file with another extension is refused.
        root.openFeeders(probe.fileUrl(dir + "/banks/bank.txt"))
        verify(Rig.lastLog().indexOf("Файл настроек питателей не найден!") >= 0, Rig.lastLog())
    }

    // Over that bank: Q1 turned over R1, a disabled R2 apart, two marks, a
    // dot, a free panel of two boards and a line in the project log.
    function buildProject() {
        makeBank()
        call(root.projectActions, "clearProject")
        root.noCalcOverlaps = false
        root.projectName = projectUrl
        root.pcbImage = probe.fileUrl(dir + "/jobs/board.png")
        root.pcbScale = 0.25
        root.pcbX = 12.5
        root.pcbMultiNonstandart = true
        root.pcbMultiNonstandartModel.append({ "x": 100, "y": 50, "rot": 90 })
        root.pcbMultiNonstandartModel.append({ "x": 200, "y": 50, "rot": 180 })
        var area = root.area
        var q1 = call(area, "createElement", [Rig.packageIndex("SOT23"), "BC847", "B", 0, 10, 20, 90, 0, "Q1", -1, -1, ""])
        verify(q1.feederMatches)
        var chip = Rig.packageIndex("0603")
        call(area, "createElement", [chip, "10k", "B", 1, 10.5, 20.2, 0, 0, "R1", -1, -1, ""])
        call(area, "createElement", [chip, "10k", "B", 1, 40, 20, -90, 1, "", -1, -1, ""])
        compare(call(area, "createElement", [-1, "x", "B", 0, 1, 1, 0, 0, "X1", -1, -1, ""]), null)
        compare(root.elementCount, 3)
        call(area, "setRefPoint", [5, 5, 0])
        call(area, "setRefPointFull", [80, 60, 0, true, 1, 1.5, 0.7, true, 40, 70, 120, 90, "", 250])
        call(area, "setDot", ["U", 1, 30, 30, 0, 101, -1])
        root.logAdd("Проверка журнала; с точкой с запятой", "yellow")
    }

    // The project saved, twice (the second save of the day keeps a backup),
    // with 17 components counted.
    function savedProject() {
        buildProject()
        root.saveProject(projectUrl)
        root.pcbComponentsMountedCount = 17
        root.saveProject(projectUrl)
        verify(!worker.checkProjectHasChanges(projectUrl))
    }

    function test_changeCheck() {
        savedProject()
        root.pcbComponentsMountedCount = 18
        verify(!worker.checkProjectHasChanges(projectUrl))
        var r2 = element("")
        r2.rX = 41
        verify(worker.checkProjectHasChanges(projectUrl))
    }

    // The project saved and read back through the main window (every key of
    // the file: tst_project_file.cpp).
    function test_openProject() {
        savedProject()
        root.errorListModel.clear()
        call(root.projectActions, "clearProject")
        compare(root.elementCount, 0)
        call(root, "openProjectSeq", [projectUrl])
        compare(root.projectName, projectUrl)
        compare(root.elementCount, 3)
        compare(root.refCount, 2)
        compare(root.dotCount, 1)
        var q1 = element("Q1")
        compare([q1.rot, q1.model, q1.index, q1.elHeight], [90, "B", 0, 1.3])
        verify(q1.overlap)              // recomputed once the project was read
        compare(list("refList")[1].refId, 250)
        compare(root.pcbWidth, 100)     // 400 pixels of 0.25 mm
        compare(probe.entry(root.pcbMultiNonstandartModel, 0).rot, 90)
        compare(root.pcbComponentsMountedCount, 17)
        var log = []
        for (var i = 0; i < root.projectLogModel.count; ++i)
            log.push(probe.entry(root.projectLogModel, i).message)
        verify(log.indexOf("Проверка журнала; с точкой с запятой") >= 0, JSON.stringify(log))
        compare(Rig.errorList().length, 0)
        verify(!worker.checkProjectHasChanges(projectUrl))
        // The first save of a day kept the file before it.
        verify(probe.fileNames(dir + "/jobs/backups").length === 1, probe.fileNames(dir + "/jobs/backups"))
    }

    function test_unknownPackagesAreListed() {
        var damaged = dir + "/jobs/damaged.project"
        probe.setIniValue(damaged, "elementCount", 2)
        probe.setIniValue(damaged, "element0/pack", "sot23")        // other case: still found
        probe.setIniValue(damaged, "element0/designator", "Q9")
        probe.setIniValue(damaged, "element1/pack", "TO220")
        probe.setIniValue(damaged, "element1/designator", "U5")
        probe.setIniValue(damaged, "element1/rX", 7.5)
        root.errorListModel.clear()
        call(root, "openProjectSeq", [probe.fileUrl(damaged)])
        compare(root.elementCount, 1)
        compare(list("elementList")[0].pack, "SOT23")
        var errors = Rig.errorList()
        compare(errors.length, 1)
        verify(errors[0].indexOf("U5") >= 0 && errors[0].indexOf("TO220") >= 0 && errors[0].indexOf("7.5") >= 0, errors[0])
    }

    function logHas(text) {
        for (var i = 0; i < root.logModel.count; ++i) {
            if (probe.entry(root.logModel, i).message.indexOf(text) >= 0)
                return true
        }
        return false
    }

    // Five components announced, three present, one of them at infinity;
    // the board scale is negative: the components go to the error list, the
    // board's value to the log (every message: tst_file_readers.cpp).
    function test_damagedCountsAndValues() {
        var damaged = dir + "/jobs/counts.project"
        var text = "[General]\nelementCount=5\n[Pcb]\npcbScale=-1\n"
            + "[element0]\npack=SOT23\ndesignator=Q1\nrX=3\nrY=4\n"
            + "[element1]\npack=SOT23\ndesignator=Q2\nrX=inf\nrY=4\n"
            + "[element2]\npack=SOT23\ndesignator=Q3\nrX=9\nrY=4\n"
        verify(probe.writeText(damaged, text))
        root.errorListModel.clear()
        call(root, "openProjectSeq", [probe.fileUrl(damaged)])
        compare(root.elementCount, 2)
        compare(root.pcbScale, 1)
        compare(Rig.errorList(), ["Компонент Q2 (№2) не загружен: неверное значение rX = \"inf\"",
                              "Файл проекта повреждён: указано elementCount = 5, но в файле только 3 из них; "
                              + "загружены имеющиеся"])
        verify(logHas("Плата: неверное значение pcbScale = \"-1\", взято 1"))
        compare(probe.readText(damaged), text)
    }

    function test_undecodableProjectIsRefused() {
        savedProject()
        call(root, "openProjectSeq", [projectUrl])
        compare(root.elementCount, 3)
        // A list claiming 2^31 - 1 items in the feeder banks' group.
        var damaged = dir + "/jobs/undecodable.project"
        var text = "[General]\nelementCount=1\n[feederBanks]\nfeederFileB=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n"
            + "[element0]\npack=SOT23\ndesignator=Q1\n"
        verify(probe.writeText(damaged, text))
        proceeded.clear()
        call(root.projectActions, "requestOpen", [probe.fileUrl(damaged)])
        verify(logHas("Файл проекта повреждён: его значения не читаются. Проект не открыт: " + damaged))
        // The open stopped before the board was cleared.
        compare(root.elementCount, 3)
        compare(root.projectName, projectUrl)
        // Opened directly (as at start-up) it is refused too, and the
        // project is left unnamed so that no save replaces the file.
        root.projectName = probe.fileUrl(damaged)
        call(root, "openProject", [probe.fileUrl(damaged)])
        compare(String(root.projectName), "")
        compare(probe.readText(damaged), text)
        call(root, "openProjectSeq", [projectUrl])
        compare(root.elementCount, 3)
    }

    function test_banksOfAnotherProject() {
        savedProject()
        call(root, "openProjectSeq", [projectUrl])
        // The open bank is another file now: opening offers the project's one.
        var otherUrl = probe.fileUrl(dir + "/banks/other.bottomFeeders")
        root.saveFeeders(otherUrl)
        root.feederFileB = otherUrl
        root.checkFeederBanksMatch(projectUrl)
        var propose = root.proposeFeederBanksOnProjectOpening
        verify(propose.visible)
        var banks = probe.value(propose, "banks")
        compare(banks.length, 1)
        compare(banks[0].bank, "B")
        compare(banks[0].file, bankUrl)
        call(propose, "accept")
        verify(!propose.visible)
        compare(root.feederFileB, bankUrl)
        compare(root.elementCount, 3)

        // Same banks: the project opens at once.
        root.checkFeederBanksMatch(projectUrl)
        verify(!propose.visible)
        compare(root.elementCount, 3)
    }

    function test_feederAssignment() {
        savedProject()
        // R1 and R2 want 10k in feeder B2, which now holds 22k; B4 holds 10k.
        var f = feeder("B", 1)
        f.partNumber = "22k"
        call(root.feedersInvoker, "changeOne", ["B", 1, Rig.packageIndex("0603"), f])
        f = feeder("B", 3)
        f.pack = "0603"
        f.partNumber = "10k"
        call(root.feedersInvoker, "changeOne", ["B", 3, Rig.packageIndex("0603"), f])
        var groups = call(root, "mapFeedersToElements", [true])
        compare(groups.length, 1)
        compare(groups[0].designatorText, "R1; N/A")
        compare(groups[0].count, 2)
        compare(groups[0].replacements.length, 1)
        compare(groups[0].replacements[0].index, 3)
        var window = root.notFoundFeedersWorkout
        verify(window.visible)
        call(window, "applyChosen")
        compare(element("R1").index, 3)
        verify(element("R1").feederMatches)
        compare(call(root, "mapFeedersToElements", [true]).length, 0)
        // Started by the operator with nothing to replace: the notice.
        call(root, "mapFeedersToElements", [false])
        compare(Rig.lastLog(), "Для компонентов нет доступных питателей на замену.")
    }

    function test_saveBeforeCloseAndAutosave() {
        savedProject()
        root.saveProject(projectUrl)
        root.saveFeeders(root.feederFileB)
        var asked = root.saveBeforeClose
        proceeded.target = asked
        proceeded.clear()
        verify(!call(asked, "ask"))   // nothing changed: goes on at once
        compare(proceeded.count, 1)
        element("Q1").rY = 25
        root.bottomFeedersModel.setProperty(2, "comment", "changed")
        verify(call(asked, "ask"))
        verify(asked.visible)
        var changed = probe.value(asked, "changed")
        compare(changed.length, 2)
        compare(changed[0].kind, "project")
        compare(changed[1].kind, "B")
        call(asked, "finish", [true])
        compare(proceeded.count, 2)
        verify(!worker.checkProjectHasChanges(projectUrl))
        verify(!worker.checkFeedersHasChanges(root.feederFileB))

        // Autosave skips a running job.
        element("Q1").rY = 26
        root.setActivity("placement", true)
        verify(!call(root.projectActions, "autosaveNow"))
        verify(worker.checkProjectHasChanges(projectUrl))
        root.setActivity("placement", false)
        verify(call(root.projectActions, "autosaveNow"))
        verify(!worker.checkProjectHasChanges(projectUrl))
    }

    function test_newProject() {
        call(root.projectActions, "clearProject")
        root.projectName = ""
        compare(root.elementCount, 0)
        call(root.projectActions, "newProjectNotNamed")
        verify(Rig.lastLog().indexOf("Вы отказались дать имя новому проекту.") === 0, Rig.lastLog())
        var newUrl = probe.fileUrl(dir + "/new/first")
        call(root.projectActions, "newProjectNamed", [newUrl])
        compare(root.projectName, newUrl + ".project")
        verify(probe.fileExists(dir + "/new/first.project"))
        var select = root.selectFeedersForProject
        verify(select.visible)
        var proposed = probe.value(select, "banks")
        compare(proposed[0].bank, "B")
        compare(proposed[0].file, probe.fileUrl(dir + "/new") + "/НижнийБанк.bottomFeeders")
        call(select, "setChecked", [0, true])
        call(select, "accept")
        verify(probe.fileExists(dir + "/new/НижнийБанк.bottomFeeders"))
        compare(root.feederFileB, probe.fileUrl(dir + "/new") + "/НижнийБанк.bottomFeeders")
        compare(probe.iniValue(dir + "/new/first.project", "feederBanks/feederFileB"), root.feederFileB)
    }

    function test_closingAsksFirst() {
        savedProject()
        call(root, "openProjectSeq", [projectUrl])
        element("Q1").rY = 27
        verify(worker.checkProjectHasChanges(root.projectName))
        root.close()
        verify(root.visible)                 // refused: the operator is asked first
        verify(root.saveBeforeClose.visible)
        compare(probe.value(root.saveBeforeClose, "changed")[0].kind, "project")
        call(root.saveBeforeClose, "cancel")
        verify(!root.saveBeforeClose.visible)
        verify(!root.saveBeforeCloseOpen)
        verify(root.visible)
    }

    // A left bank of 10 read from its file (the reading itself:
    // tst_feeder_file.cpp), then reset: the reset keeps the type and the
    // pick position of a vibration feeder.
    function test_bankFileAndReset() {
        var left = dir + "/banks/short.leftFeeders"
        probe.setIniValue(left, "count", 10)
        for (var i = 1; i <= 5; ++i) {
            probe.setIniValue(left, "feederL" + i + "/exists", true)
            probe.setIniValue(left, "feederL" + i + "/type", 4)
            probe.setIniValue(left, "feederL" + i + "/comment", "old " + i)
        }
        root.openFeeders(probe.fileUrl(left))
        compare(root.leftFeedersModel.count, 10)
        compare(feeder("L", 2).comment, "old 3")
        root.leftFeedersModel.setProperty(0, "caseX", 42)
        call(root, "resetFeederBank", ["L"])
        compare(feeder("L", 0).type, 4)
        compare(feeder("L", 0).caseX, 42)
        compare(feeder("L", 0).comment, "")
        compare(root.leftFeedersModel.count, 10)
    }
}

import QtQuick 2.15
import QtQuick.Dialogs 1.3
import "../lib/feeders.js" as Feeders
import "../lib/project.js" as Project

// The operator's project actions: new, open, save, save as, autosave, the
// feeder banks a project was made with, and feeder assignment after loading.
Item {
    id: actions
    property var app
    property var area
    property var feedersInvoker
    property var proposeBanksWindow
    property var selectFeedersWindow
    property var notFoundFeedersWindow
    property var saveBeforeCloseWindow

    // ---- clearing and opening

    // Clears the board, the log, the statistics and the counters.
    function clearProject() {
        area.clearBoard()
        app.pcbRefPointMaxId = 100
        app.pcbImage = ""
        app.pcbMultiNonstandartModel.clear()
        app.projectLogModel.clear()
        app.projectDayStatisticsM.clear()
        app.pcbFinishedCount = 0
        app.pcbComponentsMountedCount = 0
        app.pcbComponentsBasketCount = 0
        app.pcbSolderPointsMountedCount = 0
        app.pcbMountTimeInt = 0
        app.calcPcbMountTime()
    }

    // Reads a project into the cleared board.
    function openProjectSeq(url) {
        clearProject()
        app.noCalcOverlaps = true
        app.projectName = String(url)
        app.openProject(url)
        app.calcPcbMountTime()
        app.projectStatisticsWindow.updateDayStatistics()
        app.setLastProjectFolder(String(url))
        app.logAdd(app.t + qsTr("Открыт проект ") + decodeURIComponent(String(url).replace(/^file:\/\//, "")))
    }

    // Opens the project of the last session, when its file is still there.
    function openProjectOnStart() {
        if (String(app.projectName) === "")
            return
        if (!worker.checkFileExistance(app.projectName)) {
            app.logAdd(app.t + qsTr("Файл проекта не найден: ") + decodeURIComponent(String(app.projectName)), "yellow")
            app.projectName = ""
            return
        }
        openProjectSeq(app.projectName)
    }

    // The open dialog's choice: first the feeder banks the project was made with.
    function requestOpen(url) {
        app.checkFeederBanksMatch(url)
    }

    function previouslyOpenedBanks(url, b, l, u, r) {
        var current = {}
        var banks = ["B", "L", "U", "R"]
        for (var i = 0; i < banks.length; ++i)
            current[banks[i]] = { "enabled": app["feederEnabled" + banks[i]], "file": app["feederFile" + banks[i]] }
        var differing = Project.differingBanks({ "B": b, "L": l, "U": u, "R": r }, current)
        if (differing.length === 0)
            openProjectSeq(url)
        else
            proposeBanksWindow.open(url, differing)
    }

    // ---- menu actions

    function newProject() {
        saveBeforeCloseWindow.ask(function() {
            clearProject()
            app.projectName = ""
            app.logAdd(app.t + qsTr("Новый проект"))
            newProjectDialog.open()
        })
    }

    function openProjectDialog() {
        saveBeforeCloseWindow.ask(function() {
            openDialog.folder = app.lastProjectFolder
            openDialog.open()
        })
    }

    function saveProjectCurrent() {
        if (String(app.projectName) === "") {
            saveAsDialog.open()
            return
        }
        app.saveAllFeeders()
        app.saveProject(app.projectName)
        app.logAdd(app.t + qsTr("Проект сохранён"))
    }

    function saveAsDialogOpen() { saveAsDialog.open() }

    // Saves the project under a new name, which it keeps from now on.
    function saveProjectAs(url) {
        var name = Project.withProjectSuffix(url)
        if (name === "")
            return
        app.projectName = name
        app.saveAllFeeders()
        app.saveProject(name)
        app.setLastProjectFolder(name)
        app.logAdd(app.t + qsTr("Проект сохранён как ") + decodeURIComponent(name))
    }

    // The name of a new project was chosen: saved at once, then the banks.
    function newProjectNamed(url) {
        saveProjectAs(url)
        selectFeedersWindow.open(app.projectName)
    }

    function newProjectNotNamed() {
        if (String(app.projectName) === "")
            app.errorMessage(app.t + qsTr("Вы отказались дать имя новому проекту. Можно сделать это позже, нажав на \"дискету\", или выбрав меню \"Файл->Сохранить проект как\"."),
                             true, "notice")
    }

    FileDialog {
        id: openDialog
        title: app.t + qsTr("Открыть проект")
        nameFilters: [app.t + qsTr("Проекты (*.project)")]
        selectExisting: true
        onAccepted: actions.requestOpen(fileUrl)
    }
    FileDialog {
        id: saveAsDialog
        title: app.t + qsTr("Сохранить проект как")
        nameFilters: [app.t + qsTr("Проекты (*.project)")]
        selectExisting: false
        folder: app.lastProjectFolder
        onAccepted: actions.saveProjectAs(fileUrl)
    }
    FileDialog {
        id: newProjectDialog
        title: app.t + qsTr("Имя нового проекта")
        nameFilters: [app.t + qsTr("Проекты (*.project)")]
        selectExisting: false
        folder: app.lastProjectFolder
        onAccepted: actions.newProjectNamed(fileUrl)
        onRejected: actions.newProjectNotNamed()
    }

    // ---- autosave

    readonly property int autosaveMinutes: Project.autosaveMinutes(app.projectAutosaveInterval)
    Timer {
        id: autosave
        interval: Math.max(1, actions.autosaveMinutes) * 60000
        repeat: true
        running: app.settingsLoaded && app.projectAutosave && actions.autosaveMinutes > 0
        onTriggered: actions.autosaveNow()
    }

    // Saves an open, named project with its banks unless a job runs.
    function autosaveNow() {
        if (String(app.projectName) === "" || app.executing)
            return false
        app.saveAllFeeders()
        app.saveProject(app.projectName)
        return true
    }

    // The changed files: the open project and the enabled banks,
    // [{kind: "project" | bank letter, file}].
    function unsavedFiles() {
        var list = []
        if (String(app.projectName) !== "" && worker.checkProjectHasChanges(app.projectName))
            list.push({ "kind": "project", "file": String(app.projectName) })
        var banks = ["B", "L", "U", "R"]
        for (var i = 0; i < banks.length; ++i) {
            var file = String(app["feederFile" + banks[i]])
            if (app["feederEnabled" + banks[i]] && file !== "" && worker.checkFeedersHasChanges(file))
                list.push({ "kind": banks[i], "file": file })
        }
        return list
    }

    // ---- feeders of the components

    // What matching needs of every feeder of the enabled banks, read once:
    // {bank: [{pack, partNumber, type}]}.
    function feederSnapshot() {
        var snapshot = {}
        var banks = ["B", "U", "R", "L"]
        for (var b = 0; b < banks.length; ++b) {
            var list = []
            if (app["feederEnabled" + banks[b]]) {
                var m = feedersInvoker.modelOf(banks[b])
                for (var i = 0; i < m.count; ++i) {
                    var e = m.get(i)
                    list.push({ "pack": e.pack, "partNumber": e.partNumber, "type": e.type })
                }
            }
            snapshot[banks[b]] = list
        }
        return snapshot
    }

    function snapshotFeeder(snapshot, model, index) {
        var list = snapshot[Feeders.bankOf(model)]
        var i = Number(index)
        return list && i >= 0 && i < list.length ? list[i] : null
    }

    function updateFeederMatch(el, snapshot) {
        var s = snapshot === undefined ? feederSnapshot() : snapshot
        var bank = Feeders.bankOf(el.model)
        el.feederMatches = Feeders.matches(el, snapshotFeeder(s, el.model, el.index), app["feederEnabled" + bank] === true)
    }

    function updateAllFeederMatches() {
        var snapshot = feederSnapshot()
        var list = app.elementList
        for (var i = 0; i < list.length; ++i)
            updateFeederMatch(list[i], snapshot)
    }

    // Every feeder of the enabled banks, in the bank order B, U, R, L.
    function enabledFeeders(snapshot) {
        var list = []
        var banks = ["B", "U", "R", "L"]
        for (var b = 0; b < banks.length; ++b) {
            var feeders = snapshot[banks[b]]
            for (var i = 0; i < feeders.length; ++i)
                list.push({ "model": banks[b], "index": i, "feeder": feeders[i] })
        }
        return list
    }

    // The components whose feeder is missing or holds other parts (onStart),
    // or all of them, grouped with the feeders that could replace theirs.
    function feederGroups(onStart) {
        var snapshot = feederSnapshot()
        var groups = Feeders.groupCandidates(app.elementList, onStart, function(model, index) {
            return snapshotFeeder(snapshot, model, index) }, enabledFeeders(snapshot))
        return groups.filter(function(g) { return g.replacements.length > 0 })
    }

    function mapFeedersToElements(onStart) {
        updateAllFeederMatches()
        var groups = feederGroups(onStart === true)
        if (groups.length === 0) {
            if (onStart !== true)
                app.errorMessage(app.t + qsTr("Для компонентов нет доступных питателей на замену."), true, "notice")
            return groups
        }
        notFoundFeedersWindow.open(groups)
        return groups
    }
}

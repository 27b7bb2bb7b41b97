import QtQuick 2.15
import QtTest 1.2
import "../common"

// The demo job placed end to end on the real LinuxCNC of the simulated
// machine, as ./run.sh starts it (settings store and demo project of sim/,
// the simulated cameras, a vacuum sensor that follows the simulated
// nozzle): the marks, the dots, both nozzles and every component from its
// tape, tray or strip. The board lies off and turned; each part must land
// where the corrected design puts it, the counters, statistics and feeder
// records must agree with what landed, and nothing but the expected blocks
// may reach the machine.
MachineSimCase {
    id: testCase
    name: "PlaceOnMachine"

    property var screen: root.smtInterface
    property var jobModel: null

    readonly property real boardDx: 0.4
    readonly property real boardDy: -0.3
    readonly property real boardTurn: 0.3
    readonly property real placeTolerance: 0.05
    // A turn is measured from the part's outline in the component camera's
    // picture: 0.2 degrees, or what one pixel (and a little) across the
    // part's length comes to when that is more (a 0603 is 192 pixels long
    // at the simulated camera's 120 pixels per mm: 0.36 degrees).
    function angleTolerance(el) {
        var length = Math.max(Number(el.elWidth), Number(el.elHeight)) * root.camera2MM
        return Math.max(0.2, Math.atan(1.2 / length) * 180 / Math.PI)
    }

    SignalSpy { id: sent; target: root; signalName: "sendGCode" }

    function completes() {
        var out = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            out.push(jobModel.getComplete(i))
        return out
    }

    function initTestCase() {
        waitForDemoProject(true)
        startLinuxCnc(true)
        startVacuumSensor()
    }

    function cleanupTestCase() {
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function test_demoJobPlacesEveryPart() {
        root.calibEnabled = true
        root.calibBeforeRun = true
        root.cupWarningEnabled = false
        root.progAutoRestart = false
        root.projectAutosave = false
        root.startingGcode = "g0 x100 y100"
        root.endingGcode = "g0 x40 y200"
        root.setMachineSpeedSlider(100)
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        root.maxPcbSetupError = 1
        findChild(root, "camera1").targetSizeTolerance = 10
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        verify(root.machineHomed2, JSON.stringify(loggedErrors()))

        worker.simWorldSetBoardDisplacement(boardDx, boardDy, boardTurn)
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 5000)

        var from = sent.count
        var mounted = root.pcbComponentsMountedCount
        var basket = root.pcbComponentsBasketCount
        var released = worker.simWorldReleases().length
        var days = root.projectDayStatisticsM
        var today = days.count > 0 ? probe.entry(days, 0) : null
        var points = root.pcbSolderPointsMountedCount
        var setCounts = {}
        var banks = ["B", "U"]
        for (var bank = 0; bank < banks.length; ++bank)
            for (var n = 0; n < 10; ++n) {
                var before = probe.call(root, "getFeeder", [banks[bank], n])
                if (before)
                    setCounts[banks[bank] + n] = Number(before.setCount)
            }
        verify(root.startStopF())
        // The state is read when the wait ends (a message argument would be
        // taken at the start).
        for (var waited = 0; waited < 400 && probe.value(screen, "executing"); ++waited)
            wait(1000)
        verify(!probe.value(screen, "executing"), "the run ends: " + JSON.stringify(completes()) + " "
               + JSON.stringify(loggedErrors()) + " panel " + JSON.stringify(probe.value(screen, "panel"))
               + " gCodeDone " + root.gCodeDone + " vs " + root.vsRunning + root.vsStarting
               + " activities " + JSON.stringify(probe.value(root.machineState, "activities"))
               + " pos " + JSON.stringify(probe.value(root.machineState, "jointPos"))
               + " last " + JSON.stringify(sent.signalArguments.slice(-3).map(function(a) { return String(a[0]) })))
        compare(loggedErrors(), [])

        // Every component landed once, on the board, where the corrected
        // design puts it: the design centre moved and turned as the world
        // moved and turned the board (counter-clockwise about its pivot).
        var world = worker.simWorld()
        var pivot = world.pivot
        var turn = boardTurn * Math.PI / 180
        var list = probe.value(root, "elementList")
        var design = []
        for (var i = 0; i < list.length; ++i) {
            var el = list[i]
            if (el.deleted)
                continue
            var x = Number(el.rX) + Number(el.elWidth) / 2 + root.workAreaX1 - pivot[0]
            var y = root.workAreaY2 - Number(el.rY) - Number(el.elHeight) / 2 - pivot[1]
            design.push({ "bank": String(el.model), "index": Number(el.index), "name": String(el.designator),
                          "x": pivot[0] + x * Math.cos(turn) - y * Math.sin(turn) + boardDx,
                          "y": pivot[1] + x * Math.sin(turn) + y * Math.cos(turn) + boardDy,
                          "angle": -Number(el.rot) + boardTurn, "angleTolerance": angleTolerance(el),
                          "pack": String(el.pack), "taken": false })
        }
        compare(design.length, root.elementCount)
        var releases = worker.simWorldReleases().slice(released)
        compare(releases.length, design.length)
        var placedFrom = {}
        var off = []
        var worstMiss = 0, worstAngle = {}
        for (var r = 0; r < releases.length; ++r) {
            var rel = releases[r]
            verify(rel.onBoard, "release " + r + " off the board")
            var best = null
            for (var k = 0; k < design.length; ++k) {
                var d = design[k]
                if (d.taken || d.bank !== rel.bank || d.index !== rel.feeder)
                    continue
                var miss = Math.max(Math.abs(rel.partX - d.x), Math.abs(rel.partY - d.y))
                if (!best || miss < best.miss)
                    best = { "miss": miss, "design": d }
            }
            verify(best !== null, "a part of " + rel.bank + rel.feeder + " with no component left")
            best.design.taken = true
            var da = ((rel.partAngle - best.design.angle) % 360 + 540) % 360 - 180
            worstMiss = Math.max(worstMiss, best.miss)
            worstAngle[best.design.pack] = Math.max(worstAngle[best.design.pack] || 0, Math.abs(da))
            if (best.miss > placeTolerance || Math.abs(da) > best.design.angleTolerance)
                off.push(best.design.name + ": " + best.miss.toFixed(3) + " mm, " + da.toFixed(3) + " degrees")
            var key = rel.bank + rel.feeder
            placedFrom[key] = (placedFrom[key] || 0) + 1
        }

        compare(off, [])
        console.log("worst placement: " + worstMiss.toFixed(4) + " mm; worst turn by package: " + JSON.stringify(worstAngle))

        // The counters, the statistics and the feeder records agree with what
        // landed; the changed feeder files are written.
        compare(root.pcbComponentsMountedCount - mounted, design.length)
        compare(root.pcbComponentsBasketCount - basket, 0)
        compare(probe.value(screen, "currPlacedComponents"), design.length)
        for (var f in placedFrom) {
            var rec = probe.call(root, "getFeeder", [f.charAt(0), Number(f.substring(1))])
            compare(Number(rec.setCount) - (setCounts[f] || 0), placedFrom[f], "setCount of " + f)
            if (Number(rec.type) === 1 || Number(rec.type) === 5)
                compare(Number(rec.caseCurrNumber), placedFrom[f], "next cell of " + f)
        }
        verify(probe.call(root, "saveDirtyFeeders", []))
        // The saved feeder files hold the counts when read back.
        for (var g in placedFrom) {
            var file = String(root["feederFile" + g.charAt(0)]).replace(/^file:\/\//, "")
            var key = "feeder" + g.charAt(0) + (Number(g.substring(1)) + 1)
            var stored = probe.call(root, "getFeeder", [g.charAt(0), Number(g.substring(1))])
            compare(Number(probe.iniValue(file, key + "/setCount")), Number(stored.setCount), key + " setCount in " + file)
            compare(Number(probe.iniValue(file, key + "/caseCurrNumber") || 0), Number(stored.caseCurrNumber || 0),
                    key + " caseCurrNumber in " + file)
        }
        // Today's statistics count the placed parts and their solder points,
        // and no rejects.
        var day = probe.entry(days, 0)
        var sameDay = today !== null && String(today.date) === String(day.date)
        compare(Number(day.elementCount) - (sameDay ? Number(today.elementCount) : 0), design.length)
        compare(Number(day.solderPointCount) - (sameDay ? Number(today.solderPointCount) : 0),
                root.pcbSolderPointsMountedCount - points)
        verify(root.pcbSolderPointsMountedCount - points >= 2 * design.length)
        compare(Number(day.basketCount) - (sameDay ? Number(today.basketCount) : 0), 0)

        // Nothing but the expected blocks reached the machine: one pick
        // (with the move over the component camera) and one placing per
        // part, the nozzle changes, and the run's own blocks.
        var kinds = { "pick": 0, "place": 0, "nozzle": 0, "dot": 0, "mark": 0, "run": 0 }
        var unknown = []
        var blocks = sent.signalArguments.slice(from).map(function(a) { return String(a[0]) })
        for (var b = 0; b < blocks.length; ++b) {
            var t = blocks[b]
            if (/m64 p1\n/.test(t) && t.indexOf("x" + root.camera2X.toFixed(3) + " y" + root.camera2Y.toFixed(3)) >= 0)
                kinds.pick += 1
            else if (/^g0  z[0-9.]+\ng0 \ng0  x[-0-9.]+ y[-0-9.]+ z[0-9.]+ a[-0-9.]+\ng0  z[0-9.]+\nm65 p1\ng4 p0.200\ng0 z[0-9.]+\ng0$/.test(t))
                kinds.place += 1
            else if (/M6[45] P0/.test(t))
                kinds.nozzle += 1
            else if (/\nm64 p8\ng4 p0.1\nm65 p8\n/.test(t))
                kinds.dot += 1
            else if (/^m65 p4\ng0 zMax\n g0 x[0-9.]+ y[0-9.]+\n\ng0 zMax\n$/.test(t))
                kinds.mark += 1
            else if (t.indexOf("xCalib yCalib") >= 0 || /^g0 x[0-9.]+ y[0-9.]+\ng0$/.test(t) || t === "g0 zMax\n\ng0 zMax\n"
                     || t === root.startingGcode + "\ng0 zMax\n" || t === root.endingGcode + "\ng0 zMax\n")
                kinds.run += 1
            else
                unknown.push(t)
        }
        compare(unknown, [])
        compare(kinds.pick, design.length)
        compare(kinds.place, design.length)
        compare(kinds.dot, root.dotCount)
        compare(kinds.mark, root.refCount)
        // Nozzle 1 taken; nozzle 1 back and nozzle 2 taken; nozzle 2 back.
        compare(kinds.nozzle, 4)
    }
}

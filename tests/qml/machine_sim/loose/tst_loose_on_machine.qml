import QtQuick 2.15
import QtTest 1.2

// Loose parts on the real LinuxCNC of the simulated machine with the demo
// project: the SOIC8 tray becomes a loose-part placer with two parts lying
// on it, in some rows one of them upside down. The head camera finds both
// by their outline and looks at each by template; the upturned one is let
// go from high enough to turn over, found again and placed with the other.
// Each row runs the demo job with only the components of that feeder
// switched on.
TestCase {
    id: testCase
    name: "LooseOnMachine"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null

    function loggedErrors() {
        var list = []
        for (var i = 0; i < root.logModel.count; ++i) {
            var e = probe.entry(root.logModel, i)
            if (e.color === "red")
                list.push(e.message)
        }
        return list
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("demo.project") >= 0 && root.elementCount > 0 },
                  10000)
        root.iniFile = Qt.resolvedUrl("../../../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        if (!root.cncRunning)
            root.cncControl.start()
        tryCompare(root, "cncRunning", true, 45000)
        root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
        var vs = probe.startVsEmulatorFollowingNozzle(60)
        verify(vs !== "")
        root.vsFileName = vs
        root.calibEnabled = false
        root.cupWarningEnabled = false
        root.progAutoRestart = false
        root.projectAutosave = false
        root.startingGcode = ""
        root.endingGcode = ""
        root.setMachineSpeedSlider(100)
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        root.maxPcbSetupError = 1
        findChild(root, "camera1").targetSizeTolerance = 10
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        verify(root.machineHomed2, JSON.stringify(loggedErrors()))
    }

    function cleanupTestCase() {
        worker.simWorldClearErrors()
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    // A row that failed with the run held at a panel stops it, so that the
    // next row starts afresh.
    function cleanup() {
        if (probe.value(screen, "executing")) {
            root.startStopF()
            tryVerify(function() { return !probe.value(screen, "executing") }, 30000)
        }
        worker.simWorldClearErrors()
    }

    // The design position and turn of every component of the project, by
    // designator (the board lies where the project has it).
    function designs() {
        var out = {}
        var list = probe.value(root, "elementList")
        for (var i = 0; i < list.length; ++i) {
            var el = list[i]
            if (el.deleted)
                continue
            out[String(el.designator)] = {
                "bank": String(el.model), "index": Number(el.index),
                "x": Number(el.rX) + Number(el.elWidth) / 2 + root.workAreaX1,
                "y": root.workAreaY2 - Number(el.rY) - Number(el.elHeight) / 2,
                "angle": -Number(el.rot)
            }
        }
        return out
    }

    // Runs the demo job with only the components of feeder `bank` `index`
    // switched on; returns what the run released (placed and dropped). A
    // run held at an operator panel (the placer searched empty) fails here.
    function runFeeder(bank, index) {
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 5000)
        jobModel.excludeAllComponents()
        var chosen = 0
        for (var row = 0; row < jobModel.rowCount; ++row) {
            for (var line = 0; line < jobModel.getSubSteps(row); ++line) {
                var ep = probe.call(jobModel, "getP1", [row, line])
                if (ep && ep.el && String(ep.el.model) === bank && Number(ep.el.index) === index) {
                    jobModel.setEnabled(row, line, 1)
                    ++chosen
                }
            }
        }
        verify(chosen > 0, "components of " + bank + index)
        var released = worker.simWorldReleases().length
        root.logModel.clear()
        verify(root.startStopF())
        for (var waited = 0; waited < 300 && probe.value(screen, "executing") && probe.value(screen, "panel") === null;
             ++waited)
            wait(1000)
        compare(probe.value(screen, "panel"), null, "the run is held: " + JSON.stringify(loggedErrors()))
        verify(!probe.value(screen, "executing"), "the run ends: " + JSON.stringify(loggedErrors()))
        return worker.simWorldReleases().slice(released)
    }

    // Every release on the board matched to its component: within the
    // tolerances of its design place and turn; returns the designators.
    function checkLanded(releases, bank, index, placeTol, angleTol) {
        var all = designs()
        var left = []
        for (var d in all)
            if (all[d].bank === bank && all[d].index === index)
                left.push(d)
        var landed = []
        var off = []
        for (var r = 0; r < releases.length; ++r) {
            var rel = releases[r]
            if (!rel.onBoard)
                continue
            var best = -1, miss = 0
            for (var k = 0; k < left.length; ++k) {
                var want = all[left[k]]
                var m = Math.max(Math.abs(rel.partX - want.x), Math.abs(rel.partY - want.y))
                if (best < 0 || m < miss) {
                    best = k
                    miss = m
                }
            }
            verify(best >= 0, "a part on the board with no component left for it")
            var name = left.splice(best, 1)[0]
            var da = ((rel.partAngle - all[name].angle) % 360 + 540) % 360 - 180
            if (miss > placeTol || Math.abs(da) > angleTol)
                off.push(name + ": " + miss.toFixed(4) + " mm, " + da.toFixed(3) + " degrees")
            landed.push(name)
        }
        compare(off, [])
        compare(left, [], "components not placed")
        return landed
    }

    function placer() {
        return worker.simWorld().feeders.filter(function(f) { return f.bank === "U" && f.index === 0 })[0]
    }

    function test_looseParts_data() {
        return [{ tag: "one upside down", flipped: [true, false] },
                { tag: "both upright", flipped: [false, false] }]
    }
    function test_looseParts(data) {
        // The tray a loose-part feeder searched by template: its one window
        // is the head camera's view of the placer (32 x 24 mm), searched
        // whole (camera1Roi 100: the parts lie anywhere on it); the picture
        // inverted for the outline search (the parts' bodies are dark); the
        // photos of both faces for the close look.
        var values = { "type": 2, "placerX": "450", "placerY": "300", "placerType": 1, "camera1Roi": 100,
                       "placerTemplateHighRes": 0, "placerTemplateType": 1, "camera1T2": 60,
                       "camera1Inv": true, "camera1T1": 150,
                       "elFlippedEnabled": true, "elFlippedMatchPercent": 80, "elFlippedAction": 0,
                       "caseCurrNumber": 0,
                       "elPhoto": worker.simWorldPartPhoto(4.9, 6, false),
                       "elFlippedPhoto": worker.simWorldPartPhoto(4.9, 6, true) }
        for (var k in values)
            verify(probe.call(root, "setFeederValue", ["U", 0, k, values[k]]), k)
        tryVerify(function() { var p = placer(); return p && p.loose === true }, 5000)
        // Let go 11 mm above the pick height, the part turns over. The
        // simulated nozzle lets go where the main window last showed the
        // head, which trails the machine by up to one status report: the
        // dwell before the valve lets the shown position reach the top.
        var high = Math.round((Number(placer().pickZ) + 11) * 10) / 10
        verify(high <= root.workAreaZ2, high)
        verify(probe.call(root, "setFeederValue", ["U", 0, "elFlippedGCode",
                                                   "g0 z" + high + "\ng4 p0.3\nm65 p1\ng4 p0.3"]))
        verify(worker.simWorldSetLooseParts("U", 0, [{ "x": 444, "y": 296, "angle": 20, "flipped": data.flipped[0] },
                                                     { "x": 457, "y": 304, "angle": -35, "flipped": data.flipped[1] }]))
        var releases = runFeeder("U", 0)
        compare(loggedErrors(), [])
        compare(checkLanded(releases, "U", 0, 0.05, 0.2).length, 2)
        // The upturned part was turned over where it lay.
        var turned = releases.filter(function(r) { return r.onPlacer })
        compare(turned.length, data.flipped[0] ? 1 : 0, JSON.stringify(releases))
        if (turned.length > 0) {
            compare(turned[0].flipped, false)
            verify(Math.abs(turned[0].partX - 444) < 0.05 && Math.abs(turned[0].partY - 296) < 0.05,
                   JSON.stringify(turned[0]))
        }
        compare(releases.length, turned.length + 2, JSON.stringify(releases))
        compare(placer().parts.length, 0)
    }
}

import QtQuick 2.15
import QtTest 1.2

// Runs of the demo job with only the components of one feeder switched on,
// on the real LinuxCNC of the simulated machine, and where each part the
// run released landed against its component's design place and turn.
MachineSimCase {
    property var screen: root.smtInterface
    property var jobModel: null
    // A run held at an operator panel fails at once (else the run is
    // waited for to its end).
    property bool heldRunFails: false

    // LinuxCNC started, the machine on and homed, the vacuum sensor
    // following the nozzle, and nothing in the way of a plain run: no
    // calibration, no starting or ending G-code, no restart, no autosave,
    // full speed.
    function prepareFeederRuns() {
        waitForDemoProject(true)
        startLinuxCnc(true)
        startVacuumSensor()
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
    // switched on; returns what the run released (placed and dropped).
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
        for (var waited = 0; waited < 300 && probe.value(screen, "executing")
             && !(heldRunFails && probe.value(screen, "panel") !== null); ++waited)
            wait(1000)
        if (heldRunFails)
            compare(probe.value(screen, "panel"), null, "the run is held: " + JSON.stringify(loggedErrors()))
        verify(!probe.value(screen, "executing"), "the run ends: " + JSON.stringify(loggedErrors())
               + " panel " + JSON.stringify(probe.value(screen, "panel")))
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
}

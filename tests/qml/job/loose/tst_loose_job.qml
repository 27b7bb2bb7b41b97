import QtQuick 2.15
import QtTest 1.2
import "../../common"

// Loose parts through the whole job, in the program as ./run.sh starts it
// (the simulated machine's settings store and demo project) with the
// machine link detached: the stand-in machine walks every block line by
// line, moves and outputs, so that the simulated head camera looks where the
// program sends it and the simulated nozzle picks and lets go where a
// machine would.
//
// The demo's SOIC8 tray (U, index 0) becomes a loose-part feeder searched by
// template, with one window at (450, 300) and two parts lying in it, one of
// them upside down in some rows. The contour search of the window finds
// both; the close look tells the upturned one, which is taken up and let
// go high enough to turn over, looked at again and placed; the other one is
// looked at from the first search's list and placed. The blocks of the
// search are the loose-part library's (tst_looseParts.qml); here: where the
// parts went.
TestCase {
    id: testCase
    name: "LooseJob"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null

    MachineStandIn { id: machine; outputs: null }

    function loggedErrors() {
        var list = []
        for (var i = 0; i < root.logModel.count; ++i) {
            var e = probe.entry(root.logModel, i)
            if (e.color === "red")
                list.push(e.message)
        }
        return list
    }
    function logged(text) {
        for (var i = 0; i < root.logModel.count; ++i)
            if (String(probe.entry(root.logModel, i).message) === text)
                return true
        return false
    }
    function placer() {
        return worker.simWorld().feeders.filter(function(f) { return f.bank === "U" && f.index === 0 })[0]
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("demo.project") >= 0 && root.elementCount > 0 },
                  10000)
        verify(machine.takeOver())
        var vs = probe.startVsEmulatorFollowingNozzle(60)
        verify(vs !== "")
        root.vsFileName = vs
        root.camera1Delay = 100
        root.calibEnabled = false
        root.cupWarningEnabled = false
        root.progAutoRestart = false
        root.projectAutosave = false
        root.startingGcode = ""
        root.endingGcode = ""
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        root.maxPcbSetupError = 1
        findChild(root, "camera1").targetSizeTolerance = 10
        // The tray made a loose-part feeder: its window is the head camera's
        // whole view (32 x 24 mm), searched whole; template search with the
        // photos of both faces.
        var values = { "type": 2, "placerX": "450", "placerY": "300", "placerType": 1, "camera1Roi": 100,
                       "placerTemplateHighRes": 0, "placerTemplateType": 1, "camera1T2": 60,
                       "camera1Inv": true, "camera1T1": 150,
                       "elFlippedEnabled": true, "elFlippedMatchPercent": 80, "elFlippedAction": 0,
                       "elPhoto": worker.simWorldPartPhoto(4.9, 6, false),
                       "elFlippedPhoto": worker.simWorldPartPhoto(4.9, 6, true) }
        for (var k in values)
            verify(probe.call(root, "setFeederValue", ["U", 0, k, values[k]]), k)
        tryVerify(function() { var p = placer(); return p && p.loose === true }, 5000)
        compare(placer().pickZ, 18.5)
        // Let go 11 mm above the pick height, the part turns over.
        verify(probe.call(root, "setFeederValue", ["U", 0, "elFlippedGCode", "g0 z29.5\nm65 p1\ng4 p0.3"]))
    }

    function cleanupTestCase() {
        machine.giveBack()
        worker.simWorldClearErrors()
        screen.close()
    }

    // Runs the demo job with only the components of the loose-part feeder;
    // returns what the run released.
    function runLooseFeeder() {
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 5000)
        jobModel.excludeAllComponents()
        var chosen = 0
        for (var row = 0; row < jobModel.rowCount; ++row) {
            for (var line = 0; line < jobModel.getSubSteps(row); ++line) {
                var ep = probe.call(jobModel, "getP1", [row, line])
                if (ep && ep.el && String(ep.el.model) === "U" && Number(ep.el.index) === 0) {
                    jobModel.setEnabled(row, line, 1)
                    ++chosen
                }
            }
        }
        compare(chosen, 2)
        var released = worker.simWorldReleases().length
        root.logModel.clear()
        machine.blocks = []
        verify(root.startStopF())
        tryVerify(function() { return !probe.value(screen, "executing") || probe.value(screen, "panel") !== null },
                  60000)
        compare(probe.value(screen, "panel"), null, JSON.stringify(loggedErrors()))
        verify(!probe.value(screen, "executing"))
        return worker.simWorldReleases().slice(released)
    }

    // Each row has an upright part too: looked at from the first search's
    // list and placed as it lies.
    function test_looseParts_data() {
        return [{ tag: "the first upside down", flipped: [true, false] },
                { tag: "the second upside down", flipped: [false, true] }]
    }
    function test_looseParts(data) {
        var parts = [{ "x": 444, "y": 296, "angle": 20 }, { "x": 457, "y": 304, "angle": -35 }]
        verify(probe.call(root, "setFeederValue", ["U", 0, "caseCurrNumber", 0]))
        verify(worker.simWorldSetLooseParts("U", 0, parts.map(function(p, i) {
            return { "x": p.x, "y": p.y, "angle": p.angle, "flipped": data.flipped[i] }
        })))
        var releases = runLooseFeeder()
        compare(loggedErrors(), [])
        verify(logged("Программа расстановки завершена. Установлено компонентов: 2"))

        // U1 at (127.45, 349) turned 0, U2 at (152.45, 349) turned 90
        // degrees counter-clockwise (A -90: a positive A turns clockwise):
        // the first part found goes to U1.
        var places = [{ "x": 127.45, "y": 349, "a": 0 }, { "x": 152.45, "y": 349, "a": -90 }]
        // One search of the window (the head camera over (450, 300)) for
        // both parts; a pick for each part and one more for each turned over.
        var blocks = machine.blocks
        var window = blocks.filter(function(b) { return /\ng0  x480\.000 y285\.000 /.test(b) })
        compare(window.length, 1, blocks.join("\n-----\n"))
        var picks = blocks.join("\n").split("\n").filter(function(l) { return l.trim() === "m64 p1" })
        compare(picks.length, 2 + data.flipped.filter(function(f) { return f }).length)

        // The upturned part lay where it was, the right way up; both parts
        // landed on their places.
        var turned = releases.filter(function(r) { return r.onPlacer })
        var onBoard = releases.filter(function(r) { return r.onBoard })
        compare(turned.length, data.flipped.filter(function(f) { return f }).length)
        compare(onBoard.length, 2)
        compare(releases.length, turned.length + 2)
        for (var t = 0; t < turned.length; ++t) {
            var was = parts[data.flipped.indexOf(true)]
            compare(turned[t].flipped, false)
            verify(Math.abs(turned[t].partX - was.x) < 0.05 && Math.abs(turned[t].partY - was.y) < 0.05,
                   JSON.stringify(turned[t]))
        }
        for (var n = 0; n < 2; ++n) {
            var r = onBoard[n]
            verify(Math.abs(r.partX - places[n].x) < 0.05 && Math.abs(r.partY - places[n].y) < 0.05,
                   JSON.stringify(r))
            var da = ((r.partAngle + places[n].a) % 360 + 540) % 360 - 180
            verify(Math.abs(da) < 0.2, JSON.stringify(r))
        }
        compare(placer().parts.length, 0)
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../common"

// Loose parts on the real LinuxCNC of the simulated machine with the demo
// project: the SOIC8 tray becomes a loose-part placer with two parts lying
// on it, in some rows one of them upside down. The head camera finds both
// by their outline and looks at each by template; the upturned one is let
// go from high enough to turn over, found again and placed with the other.
// Each row runs the demo job with only the components of that feeder
// switched on.
FeederRunCase {
    id: testCase
    name: "LooseOnMachine"
    heldRunFails: true

    function initTestCase() {
        prepareFeederRuns()
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

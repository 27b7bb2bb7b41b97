import QtQuick 2.15
import QtTest 1.2

// Loose parts through the whole job, in the program as ./run.sh starts it
// (the simulated machine's settings store and demo project) with the
// machine link detached: this test plays the machine, answering every block
// and moving the machine position and valve 1 line by line as it goes, so
// that the simulated head camera looks where the program sends it and the
// simulated nozzle picks and lets go where a machine would.
//
// The demo's SOIC8 tray (U, index 0) becomes a loose-part feeder searched by
// template, with one window at (450, 300) and two parts lying in it, one of
// them upside down in some rows. The contour search of the window finds
// both; the close look tells the upturned one, which is taken up and let
// go high enough to turn over, looked at again and placed; the other one is
// looked at from the first search's list and placed. The blocks of the
// search are checked one by one.
TestCase {
    id: testCase
    name: "LooseJob"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null
    property int answered: 0
    property var at: [200, 200, 25, 0]
    property var blocks: []

    // ---- the machine
    function wordValue(line, axis) {
        var m = new RegExp("(?:^|\\s)" + axis + "(\\+\\+|--)?([-+]?[0-9]*\\.?[0-9]+|max)", "i").exec(line)
        if (!m)
            return null
        return { "relative": m[1] || "", "value": m[2].toLowerCase() === "max" ? 25 : Number(m[2]) }
    }
    // Runs a block line by line: moves (absolute words from the relative
    // zero, ++/-- from where the axis is) and outputs.
    function follow(text) {
        var lines = String(text).split("\n")
        for (var i = 0; i < lines.length; ++i) {
            var l = lines[i].trim().toLowerCase()
            var out = /^m6([45])\s*p\s*([0-9]+)/.exec(l)
            if (out) {
                root.doutGet(Number(out[2]), out[1] === "4")
                continue
            }
            if (!/^g[01]\b/.test(l))
                continue
            var p = at.slice()
            var axes = ["x", "y", "z", "a"]
            for (var k = 0; k < 4; ++k) {
                var w = wordValue(l.substring(2), axes[k])
                if (w === null)
                    continue
                var rel = k < 2 ? [root.relX, root.relY][k] : 0
                if (w.relative === "++")
                    p[k] += w.value
                else if (w.relative === "--")
                    p[k] -= w.value
                else
                    p[k] = w.value + rel
            }
            at = p
            root.jointPosGet(p)
        }
    }
    Timer {
        id: machine
        interval: 10
        repeat: true
        onTriggered: {
            var texts = probe.machineLinkTexts()
            if (texts.length <= testCase.answered)
                return
            var text = texts[testCase.answered]
            testCase.follow(text)
            testCase.blocks.push(text)
            testCase.answered += 1
            probe.answerMachineLink(true)
        }
    }

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
        verify(probe.detachMachineLink())
        probe.setMachineLinkAnswers(false)
        root.maxVelGet(250, 250, 100, 360, 100, 100)
        root.maxAccGet(1000, 1000, 500, 1000)
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        probe.setValue(root.machineState, "machineHomed2", true)
        root.jointPosGet(at)
        machine.start()
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
        machine.stop()
        worker.simWorldClearErrors()
        screen.close()
        root.machineOnGet(false)
        probe.attachMachineLink()
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
        blocks = []
        verify(root.startStopF())
        tryVerify(function() { return !probe.value(screen, "executing") || probe.value(screen, "panel") !== null },
                  60000)
        compare(probe.value(screen, "panel"), null, JSON.stringify(loggedErrors()))
        verify(!probe.value(screen, "executing"))
        return worker.simWorldReleases().slice(released)
    }

    // ---- blocks: the text with every number taken out, and the numbers
    function shapeOf(text) {
        return String(text).replace(/[-+]?[0-9]*\.?[0-9]+/g, "#")
    }
    function numbersOf(text) {
        var list = []
        var re = /([a-z]*)([-+]?[0-9]*\.?[0-9]+)/gi
        var m
        while ((m = re.exec(String(text))) !== null)
            list.push({ "word": m[1].toLowerCase(), "value": Number(m[2]) })
        return list
    }
    // Each block as expected, its numbers within 0.05 mm and 0.3 degrees
    // (what the cameras measure); `halfTurn`: the angle of a part lying
    // upside down, whose underside looks the same either way round.
    function compareBlock(actual, expected, what) {
        compare(shapeOf(actual), shapeOf(expected.text), what + ":\n" + actual)
        var a = numbersOf(actual), e = numbersOf(expected.text)
        for (var i = 0; i < e.length; ++i) {
            var d = a[i].value - e[i].value
            if (e[i].word === "a" && expected.halfTurn === true)
                d = ((d % 180) + 270) % 180 - 90
            var tolerance = e[i].word === "a" ? 0.3 : (["x", "y", "z"].indexOf(e[i].word) >= 0 ? 0.05 : 0)
            verify(Math.abs(d) <= tolerance, what + ", " + e[i].word + ": " + a[i].value + " instead of "
                   + e[i].value + "\n" + actual)
        }
    }

    // The blocks of the search (the head camera's offset is (-30, 15); the
    // travel height 30; pick height 18.5; the component camera at (250, 80),
    // 26.5 high with the part; the components' places on the board).
    // The window: the head camera over (450, 300).
    readonly property string window: "g0 z30.0\nm65 p4\ng0  x480.000 y285.000 z30.0 a0.0\ng0"
    // A close look, 1 mm off in Y, over a part at (x, y).
    function lookAt(x, y) {
        return { "text": "g0 z30.0\nm65 p4\ng0 x" + (x + 30).toFixed(3) + " y" + (y - 15 + 1).toFixed(3) + " a0.0\ng0" }
    }
    // The pick of an upturned part at (x, y), turned by `a` on the placer,
    // and the let-go high above it.
    function turnOver(x, y, a) {
        return { "text": "g0 z30.0\ng0  x" + x.toFixed(3) + " y" + y.toFixed(3) + " a" + (-a).toFixed(2)
                         + "\ng0 z18.500\nm64 p1\ng4 p0.200\ng0  z30.0\ng0 \ng0 z29.5\nm65 p1\ng4 p0.3\ng0",
                 "halfTurn": true }
    }
    // The pick of an upright part and its move over the component camera,
    // turned to its place's angle.
    function pickUp(x, y, a, placeAngle) {
        return { "text": "g0 z30.0\ng0  x" + x.toFixed(3) + " y" + y.toFixed(3) + " a" + (-a).toFixed(2)
                         + "\ng0 z18.500\nm64 p1\ng4 p0.200\ng0  z30.0\ng0 \nm64 p4\ng0 \ng0  z30.0\ng0  x250.000 y80.000 a"
                         + placeAngle.toFixed(2) + "\ng0  z26.500\ng0" }
    }
    // The part let go at its place on the board.
    function place(x, y, a) {
        return { "text": "g0  z30.0\ng0 \ng0  x" + x.toFixed(3) + " y" + y.toFixed(3) + " z30.0 a" + a.toFixed(3)
                         + "\ng0  z17.100\nm65 p1\ng4 p0.200\ng0 z30.0\ng0" }
    }

    function test_looseParts_data() {
        var first = { "x": 444, "y": 296, "angle": 20 }
        var second = { "x": 457, "y": 304, "angle": -35 }
        return [{ tag: "both upright", first: first, second: second, flipped: [false, false] },
                { tag: "the first upside down", first: first, second: second, flipped: [true, false] },
                { tag: "the second upside down", first: first, second: second, flipped: [false, true] }]
    }
    function test_looseParts(data) {
        var parts = [data.first, data.second]
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
        var expected = [{ "text": window }]
        for (var i = 0; i < 2; ++i) {
            var p = parts[i]
            expected.push(lookAt(p.x, p.y))
            if (data.flipped[i]) {
                expected.push(turnOver(p.x, p.y, p.angle))
                expected.push(lookAt(p.x, p.y))
            }
            expected.push(pickUp(p.x, p.y, p.angle, places[i].a))
            expected.push(place(places[i].x, places[i].y, places[i].a))
        }
        var start = -1
        for (var b = 0; b < blocks.length && start < 0; ++b)
            if (shapeOf(blocks[b]) === shapeOf(window))
                start = b
        verify(start >= 0, "no block over the window:\n" + blocks.join("\n-----\n"))
        // One search of the window for both parts, each part taken where it
        // lies; nothing else picked.
        var searched = blocks.slice(start, start + expected.length)
        compare(searched.length, expected.length, searched.join("\n-----\n"))
        for (var k = 0; k < expected.length; ++k)
            compareBlock(searched[k], expected[k], "block " + k)
        var picks = blocks.join("\n").split("\n").filter(function(l) { return l.trim() === "m64 p1" })
        compare(picks.length, expected.length === 7 ? 2 : 3)

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

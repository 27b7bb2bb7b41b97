import QtQuick 2.15
import QtTest 1.2
import "../common"
import "../../../../qml/main/job/boardCorrection.js" as BC

// The head-camera steps on the real LinuxCNC of the simulated machine, with
// the simulated head camera looking at the demo board (the runner lays out
// the simulated machine's settings store and demo project): homing through
// homeWait finds the calibration mark, and a run of the program (calibration
// mark, reference marks, dots) on a board the simulated world moves and
// turns finds the board where the world put it and dispenses the dots there.
MachineSimCase {
    id: testCase
    name: "MarksOnMachine"

    SignalSpy { id: sent; target: root; signalName: "sendGCode" }

    property var screen: root.smtInterface
    readonly property string dotGCode: "m64 p8\ng4 p0.1\nm65 p8"

    function env() { return { "workAreaX1": root.workAreaX1, "workAreaY2": root.workAreaY2 } }
    function near(a, b, tolerance, what) {
        verify(Math.abs(a - b) <= tolerance, what + ": " + a + " instead of " + b)
    }
    function texts(from) {
        var out = []
        for (var i = from; i < sent.count; ++i)
            out.push(String(sent.signalArguments[i][0]))
        return out
    }
    function xyOf(text) {
        var m = /g0 x(-?\d+\.\d{3}) y(-?\d+\.\d{3})/.exec(text)
        return m ? [Number(m[1]), Number(m[2])] : null
    }
    // Where the world puts a design point of the board moved by (dx, dy)
    // and turned counter-clockwise by `angle` degrees about its pivot.
    function worldPoint(x, y, pivot, dx, dy, angle) {
        var a = angle * Math.PI / 180
        var vx = x - pivot[0], vy = y - pivot[1]
        return [pivot[0] + vx * Math.cos(a) - vy * Math.sin(a) + dx,
                pivot[1] + vx * Math.sin(a) + vy * Math.cos(a) + dy]
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.elementCount > 0 && root.refCount === 3 && root.dotCount === 4 }, 10000)
        tryVerify(function() { return root.upFeedersModel.count >= 10 }, 5000)
        // Marks and dots only: the components go.
        for (var k = root.elementCount; k > 0 && root.elementCount > 0; --k)
            root.area.removeElement(root.elementList[0])
        compare(root.elementCount, 0)
        root.upFeedersModel.setProperty(9, "gCode", dotGCode)
        root.vsEnabled = false
        root.calibEnabled = true
        root.calibBeforeRun = true
        root.startingGcode = ""
        root.endingGcode = ""
        root.cupWarningEnabled = false
        root.projectAoiEnabled = false
        root.progAutoRestart = false
        root.camera1Delay = 300
        // The board's shift is measured, not corrected in the project here.
        root.maxPcbSetupError = 100
        root.d1XShift = 2
        root.d1YShift = -1
        // The simulated camera draws a 1 mm mark a little over 5 % off its
        // size as the recognition measures it: a wider size window.
        findChild(root, "camera1").targetSizeTolerance = 10
        startLinuxCnc(false)
    }

    function cleanupTestCase() {
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        screen.close()
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function cleanup() {
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        if (probe.value(screen, "executing"))
            root.appError("test end")
        root.setActivity("test", false)
    }

    function waitFor(fn, ms) {
        for (var t = 0; !fn() && t < ms; t += 50)
            wait(50)
        return fn()
    }
    // What the program logged and sent, for a failure message.
    function diagnosis(from) {
        var log = []
        for (var i = Math.max(0, root.logModel.count - 12); i < root.logModel.count; ++i)
            log.push(String(probe.entry(root.logModel, i).message))
        return JSON.stringify({ "log": log, "sent": texts(from) })
    }

    function switchOn() {
        if (!root.machineOn)
            root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
    }

    // Homing with the calibration mark on: the camera goes to the mark by
    // the calibration G-code, centres on it once more, and the correction
    // between the encoder zero and the camera comes out near 0.
    function test_1_homingFindsTheCalibrationMark() {
        switchOn()
        var from = sent.count
        probe.forget("home")
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        verify(waitFor(function() { return probe.hits("home") === 1 }, 60000), diagnosis(from))
        verify(root.machineHomed2, diagnosis(from))
        verify(root.calibrated)
        verify(!root.calibrating)
        verify(root.calibFound)
        near(root.relX, 0, 0.02, "relX")
        near(root.relY, 0, 0.02, "relY")
        near(root.calibFoundX, root.calibX + root.camera1XShift, 0.02, "calibration mark X")
        near(root.calibFoundY, root.calibY + root.camera1YShift, 0.02, "calibration mark Y")
        // To the mark, centred once more, head up (the blocks: tst_marks.qml).
        var t = texts(from)
        compare(t.length, 3)
        var xy = xyOf(t[1])
        verify(xy !== null, JSON.stringify(t))
        near(xy[0], root.calibX, 0.02, "centring X")
        near(xy[1], root.calibY, 0.02, "centring Y")
        tryVerify(function() { return Math.abs(root.jointPosXRel - root.calibX) < 0.03
                               && Math.abs(root.jointPosYRel - root.calibY) < 0.03 }, 5000)
    }

    function test_2_boardFoundWhereTheWorldPutsIt_data() {
        return [
            { tag: "board in place", dx: 0, dy: 0, angle: 0 },
            { tag: "board moved (0.3, -0.2)", dx: 0.3, dy: -0.2, angle: 0 },
            { tag: "board turned 0.5 deg", dx: 0, dy: 0, angle: 0.5 },
            { tag: "board moved and turned", dx: -0.4, dy: 0.25, angle: -0.3 }
        ]
    }
    function test_2_boardFoundWhereTheWorldPutsIt(data) {
        if (!root.machineHomed2) {
            switchOn()
            probe.forget("home")
            probe.callRecording(root, "homeWait", ["@recorder"], "home")
            tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        }
        worker.simWorldSetBoardDisplacement(data.dx, data.dy, data.angle)
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        var jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 3000)
        var ops = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            ops.push(jobModel.getOpFunc(i))
        compare(ops, ["justCalibrateWait", "findRefPoints", "setupDots"])
        tryVerify(function() { return screen.startEnabled }, 5000)
        var from = sent.count
        mouseClick(findChild(screen.contentItem, "startButton"))
        verify(probe.value(screen, "executing"))
        tryVerify(function() { return !probe.value(screen, "executing") }, 120000)
        compare([jobModel.getComplete(0), jobModel.getComplete(1), jobModel.getComplete(2)],
                ["выполнено", "3 из 3", "4"])
        near(root.relX, 0, 0.02, "relX")
        near(root.relY, 0, 0.02, "relY")

        var world = worker.simWorld()
        var pivot = world.pivot
        // Every mark measured where the world put it.
        var list = probe.value(screen, "refListMulti")
        compare(list.length, 3)
        var byWorld = []
        for (i = 0; i < world.marks.length; ++i) {
            var design = world.marks[i]
            var p = null
            for (var j = 0; j < list.length; ++j) {
                var d = BC.designPoint(list[j], env())
                if (Math.abs(d.x - design.x) < 1e-6 && Math.abs(d.y - design.y) < 1e-6)
                    p = list[j]
            }
            verify(p !== null, "mark " + i + " in the search list")
            var real = worldPoint(design.x, design.y, pivot, data.dx, data.dy, data.angle)
            near(p.fidX, real[0], 0.02, "mark " + i + " X")
            near(p.fidY, real[1], 0.02, "mark " + i + " Y")
            byWorld.push(p)
        }
        // A point at the board's far corner, corrected through the first two
        // marks as a component there would be.
        var corner = BC.designXY(root.pcbX + root.pcbWidth, root.pcbY + root.pcbHeight, env())
        var c = BC.correctedPoint(corner.x, corner.y, [byWorld[0], byWorld[1]], env())
        verify(c.ok, JSON.stringify(c))
        var cornerReal = worldPoint(corner.x, corner.y, pivot, data.dx, data.dy, data.angle)
        near(c.x, cornerReal[0], 0.02, "far corner X")
        near(c.y, cornerReal[1], 0.02, "far corner Y")

        // The dots dispensed where the world put them, less the camera's and
        // the dispenser's offsets.
        var dotBlocks = texts(from).filter(function(t) { return t.indexOf(dotGCode) >= 0 })
        compare(dotBlocks.length, world.dots.length)
        var used = []
        for (i = 0; i < world.dots.length; ++i) {
            var w = worldPoint(world.dots[i].x, world.dots[i].y, pivot, data.dx, data.dy, data.angle)
            var target = [w[0] - root.camera1XShift - root.d1XShift, w[1] - root.camera1YShift - root.d1YShift]
            var hit = -1
            for (j = 0; j < dotBlocks.length; ++j) {
                var xy = xyOf(dotBlocks[j])
                if (used.indexOf(j) < 0 && Math.abs(xy[0] - target[0]) <= 0.02 && Math.abs(xy[1] - target[1]) <= 0.02)
                    hit = j
            }
            verify(hit >= 0, "dot " + i + " at " + JSON.stringify(target) + " among " + JSON.stringify(dotBlocks))
            used.push(hit)
        }
        screen.close()
    }
}

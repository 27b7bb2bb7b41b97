import QtQuick 2.15
import QtTest 1.2
import "../common"

// A whole program run from "Начать" on the real LinuxCNC of the simulated
// machine, as ./run.sh starts it (settings store and demo project of sim/,
// the simulated head camera over the demo board): the calibration mark, the
// starting G-code, the reference-mark search, the solder dots and the
// ending G-code. The board lies 0.4 mm and 0.3 mm off and turned 0.3° (less
// than the error that makes the run ask before correcting): the marks are
// found where the board really is, every dot is sent to its corrected
// position, and the run ends where the ending G-code goes.
MachineSimCase {
    id: testCase
    name: "RunOnMachine"

    property var screen: root.smtInterface
    property var jobModel: null

    SignalSpy { id: sent; target: root; signalName: "sendGCode" }
    // Each dot is one block: up, the move over the dot, the dispenser's
    // G-code (a pulse of spare output 8 on the simulated machine), up; their
    // X and Y as sent.
    function dotMovesSince(from) {
        var out = []
        for (var i = from; i < sent.count; ++i) {
            var t = String(sent.signalArguments[i][0])
            var m = /^g0 zMax\ng0 x(-?[0-9.]+) y(-?[0-9.]+)\nm64 p8\ng4 p0.1\nm65 p8\ng0 zMax\n/.exec(t)
            if (m)
                out.push([Number(m[1]), Number(m[2])])
        }
        return out
    }

    function completes() {
        var out = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            out.push(jobModel.getComplete(i))
        return out
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("demo.project") >= 0 && root.dotCount > 0 },
                  10000)
        // The program without components: marks and dots only.
        for (var k = root.elementCount; k > 0 && root.elementCount > 0; --k)
            root.area.removeElement(root.elementList[0])
        compare(root.elementCount, 0)
        startLinuxCnc(true)
    }

    function cleanupTestCase() {
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function test_programRunsFromStart() {
        root.calibEnabled = true
        root.calibBeforeRun = true
        root.cupWarningEnabled = false
        root.progAutoRestart = false
        root.startingGcode = "g0 x100 y100"
        root.endingGcode = "g0 x40 y200"
        root.setMachineSpeedSlider(100)
        // No vacuum sensor here (./run.sh starts its emulator): no sensor,
        // no nozzle-on-head check.
        root.vsEnabled = false
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        // A board this close to its place is corrected without asking.
        root.maxPcbSetupError = 1
        // The simulated marks measure a little larger than drawn.
        findChild(root, "camera1").targetSizeTolerance = 10
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        verify(root.machineHomed2, JSON.stringify(loggedErrors()))
        verify(Math.abs(root.relX) < 0.05 && Math.abs(root.relY) < 0.05, root.relX + " " + root.relY)

        worker.simWorldSetBoardDisplacement(0.4, -0.3, 0.3)
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 5000)
        compare(jobModel.rowCount, 5)

        var from = sent.count
        verify(root.startStopF())
        tryVerify(function() { return !probe.value(screen, "executing") }, 120000,
                  "the run ends: " + JSON.stringify(completes()) + " " + JSON.stringify(loggedErrors()))
        compare(completes(), ["выполнено", "выполнено", root.refCount + " из " + root.refCount,
                              String(root.dotCount), "выполнено"])
        compare(loggedErrors(), [])
        var dotMoves = dotMovesSince(from)
        compare(dotMoves.length, root.dotCount, JSON.stringify(sent.signalArguments.slice(from).map(function(a) { return a[0] })))

        // Every dot went where the world puts it (the board moved and turned
        // counter-clockwise about the world's pivot), less the camera's and
        // the dispenser's offsets.
        var world = worker.simWorld()
        var pivot = world.pivot
        var a = 0.3 * Math.PI / 180
        compare(world.dots.length, root.dotCount)
        for (var d = 0; d < world.dots.length; ++d) {
            var vx = world.dots[d].x - pivot[0], vy = world.dots[d].y - pivot[1]
            var wx = pivot[0] + vx * Math.cos(a) - vy * Math.sin(a) + 0.4
            var wy = pivot[1] + vx * Math.sin(a) + vy * Math.cos(a) - 0.3
            var tx = wx - root.camera1XShift - root.d1XShift, ty = wy - root.camera1YShift - root.d1YShift
            var best = 1e9
            for (var k = 0; k < dotMoves.length; ++k)
                best = Math.min(best, Math.max(Math.abs(dotMoves[k][0] - tx), Math.abs(dotMoves[k][1] - ty)))
            verify(best <= 0.03, "dot " + d + " off by " + best + " mm")
        }
        // The ending G-code took the head to its place.
        tryVerify(function() { return Math.abs(root.jointPosXRel - 40) < 0.01 && Math.abs(root.jointPosYRel - 200) < 0.01 },
                  5000)
    }
}

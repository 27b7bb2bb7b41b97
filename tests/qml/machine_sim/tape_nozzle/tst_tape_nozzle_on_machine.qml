import QtQuick 2.15
import QtTest 1.2
import "../common"
import "../../../../qml/main/job/nozzleBaseCalibration.js" as Base

// The tape centring and the nozzle base auto-calibration on the real
// LinuxCNC of the simulated machine, as ./run.sh starts the program (the
// runner lays out the simulated machine's settings store and demo project):
// the demo's tapes, off their place by known amounts in the simulated world,
// are centred by the simulated head camera within 0.05 mm; the slots of the
// simulated nozzle base, moved with halcmd, are found where the base has
// them by feeling its walls through the encoders, and saved.
MachineSimCase {
    id: testCase
    name: "TapeNozzleOnMachine"

    property var tape: root.tapeCentringWindow
    property var nozzles: root.nozzleSettingsWindow

    function near(a, b, tolerance, what) {
        verify(Math.abs(a - b) <= tolerance, what + ": " + a + " instead of " + b)
    }
    function feeder(i) { return probe.entry(root.bottomFeedersModel, i) }
    function logLines() {
        var out = []
        for (var i = 0; i < tape.log.count; ++i)
            out.push(String(probe.entry(tape.log, i).text))
        return out
    }
    function halcmd(args) { compare(probe.halcmd(args), 0, "halcmd " + args.join(" ")) }
    function moveTo(x, y, z) {
        tryVerify(function() { return root.gCodeDone }, 20000)
        verify(root.machineMoveTo(x, y, z, false))
        tryVerify(function() {
            return root.gCodeDone && Math.abs(root.jointPosXRel - (x === false ? root.jointPosXRel : x)) < 0.001
                && Math.abs(root.jointPosYRel - (y === false ? root.jointPosYRel : y)) < 0.001
                && (z === false || Math.abs(probe.value(root, "jointPos")[2] - z) < 0.001)
        }, 30000)
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.elementCount > 0 }, 10000)
        tryVerify(function() { return root.bottomFeedersModel.count >= 10 }, 5000)
        root.vsEnabled = false
        root.calibEnabled = false
        root.camera1Delay = 300
        startLinuxCnc(true)
        probe.forget("home")
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 30000)
        verify(root.machineHomed2)
        verify(root.calibrated)
        tryVerify(function() { return root.encXexist && root.encYexist }, 5000)
    }

    function cleanupTestCase() {
        worker.simWorldClearTapeOffsets()
        tape.close()
        nozzles.close()
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    // Tapes off by up to 0.8 mm: every pick point within 0.05 mm of where
    // its tape really lies; a second pass corrects by less than 0.05 mm.
    function test_1_tapesRecentred() {
        var offsets = [[0.3, -0.2], [-0.45, 0.35], [0, 0], [0.6, 0.8], [-0.25, -0.7]]
        var before = []
        for (var i = 0; i < offsets.length; ++i) {
            before.push([Number(feeder(i).caseX), Number(feeder(i).caseY)])
            verify(worker.simWorldSetTapeOffset("B", i, offsets[i][0], offsets[i][1]), "tape " + i)
        }
        root.showToolWindow("tapeCentring")
        tape.currBankModel = "B"
        tape.rangeFirst = 0
        tape.rangeEnd = offsets.length
        verify(probe.call(tape, "start"))
        tryVerify(function() { return !tape.running }, 300000, JSON.stringify(logLines()))
        var log = logLines()
        compare(log.length, offsets.length, JSON.stringify(log))
        for (i = 0; i < offsets.length; ++i) {
            verify(log[i].indexOf("Питатель №" + (i + 1) + " отцентрирован, корректировка по X: ") === 0, log[i])
            near(Number(feeder(i).caseX), before[i][0] + offsets[i][0], 0.05, "feeder " + (i + 1) + " X")
            near(Number(feeder(i).caseY), before[i][1] + offsets[i][1], 0.05, "feeder " + (i + 1) + " Y")
        }
        verify(probe.call(tape, "start"))
        tryVerify(function() { return !tape.running }, 300000, JSON.stringify(logLines()))
        log = logLines()
        for (i = 0; i < offsets.length; ++i) {
            var m = /корректировка по X: (-?[0-9.]+), по Y: (-?[0-9.]+)$/.exec(log[i])
            verify(m !== null, log[i])
            verify(Math.abs(Number(m[1])) < 0.05 && Math.abs(Number(m[2])) < 0.05, log[i])
        }
        tape.close()
    }

    // The base moved off its nominal place: first slot at Y 30.12, slots
    // 15.04 mm apart, 0.1 mm of play (fewer single steps), back wall at X
    // 19.5. The head starts in the first slot, 0.2 mm before the back wall;
    // three nozzles.
    function test_2_nozzleSlotsFound() {
        halcmd(["sets", "sim-base-first-y", "30.12"])
        halcmd(["sets", "sim-base-pitch", "15.04"])
        halcmd(["sets", "sim-base-play", "0.1"])
        halcmd(["sets", "sim-base-back-x", "19.5"])
        root.cupBaseType = 0
        root.vcCount = 3
        root.vcdY = 15
        root.vcX2 = 32
        root.debugMode = true
        moveTo(19.7, 30.15, false)
        moveTo(false, false, 12)
        root.showToolWindow("nozzleSettings")
        tryVerify(function() { return findChild(nozzles.contentItem, "autoButton").enabled }, 5000)
        verify(probe.call(nozzles, "startAuto"))
        tryVerify(function() { return !nozzles.measuring }, 600000)
        var r = probe.value(nozzles, "result")
        verify(r !== null, nozzles.message)
        for (var i = 0; i < 3; ++i)
            near(Base.nozzleY(r.yArr, i), 30.12 + 15.04 * i, 0.006, "nozzle " + (i + 1) + " Y")
        // Felt 0.08 mm or a step more beyond the back wall, then 0.6 mm back.
        near(r.xCurr, 19.5 - 0.08 + 0.6, 0.006, "X")
        verify(nozzles.message.indexOf("Калибровка прошла успешно! Новые координаты взятия насадок:\n") === 0,
               nozzles.message)
        verify(probe.call(nozzles, "saveResult"))
        for (i = 0; i < 3; ++i) {
            var lines = String(probe.entry(root.cupModel, i).takeM).split("\n")
            compare(lines[1], "G0 X" + r.xCurr.toFixed(2) + " Y" + Base.nozzleY(r.yArr, i).toFixed(2) + " A0")
        }
        // The head never pushed into a wall by more than the contact needs.
        verify(Math.abs(root.encStepperYMaxDiv) < 0.2, "Y divergence peak " + root.encStepperYMaxDiv)
        halcmd(["sets", "sim-base-first-y", "30"])
        halcmd(["sets", "sim-base-pitch", "15"])
        halcmd(["sets", "sim-base-play", "0.4"])
        root.debugMode = false
        nozzles.close()
    }
}

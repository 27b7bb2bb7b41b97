import QtQuick 2.15
import QtTest 1.2

// Benchmark, not a test: the demo job as ./run.sh --demo-job runs it (the
// calibration mark, 3 reference marks, 4 solder dots, 24 components from
// tapes, a tray and a strip with two nozzles), from "Начать" on the
// simulated machine (real LinuxCNC, simulated cameras, the vacuum sensor
// emulator following the simulated nozzle). Prints the run's wall time, the
// time the machine spent executing the blocks sent (motion only), their
// ratio, the components per hour, and the time of every row; then the same
// job with pick errors and empty picks at every feeder, and the components
// per hour of the two runs against each other. Run by
// bench/bench_job_demo.sh.
TestCase {
    id: bench
    name: "JobDemoBench"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null
    property var sentAt: []
    property real motionMs: 0
    property int blocks: 0

    Connections {
        target: root
        function onSendGCode(text, safeH) { bench.sentAt.push(Date.now()) }
        function onGetGcodeDone(successful) {
            if (bench.sentAt.length === 0)
                return
            bench.motionMs += Date.now() - bench.sentAt.shift()
            bench.blocks += 1
        }
    }

    function completes() {
        var out = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            out.push(jobModel.getComplete(i))
        return out
    }

    // One run of the demo job from "Начать"; prints its figures under
    // `label`.
    function runDemo(label) {
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 5000)
        var rows = []
        for (var r = 0; r < jobModel.rowCount; ++r)
            rows.push(probe.entry(jobModel, r).op)

        sentAt = []
        motionMs = 0
        blocks = 0
        var rowDone = []
        var t0 = Date.now()
        verify(root.startStopF())
        // The row being run is the one selected in the job tree: a row ends
        // when the next one is selected, the last one with the run.
        var tree = findChild(screen.contentItem, "jobTree")
        var current = -1
        tryVerify(function() {
            var row = tree.currentIndex.row
            if (row !== current) {
                if (current >= 0)
                    rowDone.push(Date.now())
                current = row
            }
            return !probe.value(screen, "executing")
        }, 600000, "the run ends")
        rowDone.push(Date.now())
        var wall = Date.now() - t0
        console.log("rows: " + JSON.stringify(completes()))
        var placed = probe.value(screen, "currPlacedComponents")
        console.log("BENCH " + label + " run wall time " + (wall / 1000).toFixed(2) + " s, motion only " + (motionMs / 1000).toFixed(2)
                    + " s in " + blocks + " blocks, ratio " + (motionMs > 0 ? (wall / motionMs).toFixed(2) : "-"))
        console.log("BENCH " + label + " placed " + placed + " components, " + Math.round(placed * 3600000 / wall)
                    + " components per hour (wall), " + (motionMs > 0 ? Math.round(placed * 3600000 / motionMs) : "-")
                    + " at motion only")
        var prev = t0
        for (var i = 0; i < rowDone.length; ++i) {
            var ms = rowDone[i] - prev
            var per = ""
            console.log("BENCH " + label + " row " + i + " " + rows[i] + ": " + (ms / 1000).toFixed(2) + " s" + per)
            prev = rowDone[i]
        }
        return placed * 3600000 / wall
    }

    function test_run() {
        tryVerify(function() { return String(root.projectName).indexOf("demo.project") >= 0 && root.elementCount > 0 },
                  10000)
        var port = probe.startVsEmulatorFollowingNozzle(60)
        verify(port !== "")
        root.vsFileName = port
        root.iniFile = Qt.resolvedUrl("../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        if (!root.cncRunning)
            root.cncControl.start()
        tryCompare(root, "cncRunning", true, 45000)
        root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
        root.calibEnabled = true
        root.calibBeforeRun = true
        root.startingGcode = "g0 x100 y100"
        root.endingGcode = "g0 x40 y200"
        root.cupWarningEnabled = false
        root.progAutoRestart = false
        root.setMachineSpeedSlider(100)
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        root.maxPcbSetupError = 1
        // The simulated marks measure a little larger than drawn.
        findChild(root, "camera1").targetSizeTolerance = 10
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        if (!root.machineHomed2) {
            for (var e = 0; e < root.logModel.count; ++e)
                console.log("BENCH log: " + probe.entry(root.logModel, e).message)
        }
        verify(root.machineHomed2, "homed and calibrated")

        var clean = runDemo("clean:")
        // The same job again with faults at every feeder: each part picked
        // 0.2 mm / -0.15 mm off and turned 1 degree, and every fifth pick of
        // the tapes empty (retried: up to five parts may go to the basket
        // before the operator is asked).
        worker.simWorldResetParts()
        for (var bank of ["B", "U"]) {
            for (var n = 0; n < 5; ++n) {
                if (!probe.call(root, "getFeeder", [bank, n]))
                    continue
                verify(worker.simWorldSetPickError(bank, n, 0.2, -0.15, 1, bank === "B" ? 5 : 0))
                verify(probe.call(root, "setFeederValue", [bank, n, "pickRetryCount", 5]))
                verify(probe.call(root, "setFeederValue", [bank, n, "caseCurrNumber", 0]))
            }
        }
        var faulty = runDemo("with pick errors and misses:")
        console.log("BENCH components per hour with faults against without: " + Math.round(faulty) + " / "
                    + Math.round(clean) + " = " + (faulty / clean).toFixed(2))
        worker.simWorldClearErrors()
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }
}

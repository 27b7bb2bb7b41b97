import QtQuick 2.15
import QtTest 1.2

// Benchmark, not a test: a program of the calibration mark, the starting
// G-code, 4 reference marks, 50 solder dots and the ending G-code, run from
// "Начать" on the simulated machine (real LinuxCNC, simulated head camera).
// Prints the run's wall time, the time the machine spent executing the
// blocks sent (motion only), their ratio, and the time of every row (per
// mark for the reference-mark search). Run by bench/bench_job_run.sh.
TestCase {
    id: bench
    name: "JobRunBench"
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

    // The demo project without components, with a fourth mark and 50 dots.
    function benchProject(text) {
        var out = []
        var lines = text.split("\n")
        var section = ""
        for (var i = 0; i < lines.length; ++i) {
            var l = lines[i]
            var m = /^\[(.*)\]$/.exec(l)
            if (m)
                section = m[1]
            if (/^dot\d+$/.test(section))
                continue
            if (/^element\d+$/.test(section) && l === "disabled=0")
                l = "disabled=1"
            if (section === "General" && /^refCount=/.test(l))
                l = "refCount=4"
            if (section === "General" && /^dotCount=/.test(l))
                l = "dotCount=50"
            out.push(l)
        }
        out.push("[ref3]", "rX=175", "rY=155", "disabled=0", "indiv=false", "type=0", "size=1", "size2=1",
                 "inv=false", "roi=50", "templateMathCoeff=80", "t1=150", "t2=100", "id=104", "")
        for (var d = 0; d < 50; ++d)
            out.push("[dot" + d + "]", "model=U", "index=9", "rX=" + (112 + (d % 10) * 6),
                     "rY=" + (112 + Math.floor(d / 10) * 8), "disabled=0", "preferredRef1=-1",
                     "preferredRef2=-1", "")
        return out.join("\n")
    }

    function completes() {
        var out = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            out.push(jobModel.getComplete(i))
        return out
    }

    function test_run() {
        tryVerify(function() { return String(root.projectName).indexOf("demo.project") >= 0 }, 10000)
        var demo = String(root.projectName).replace("file://", "")
        var path = demo.replace("demo.project", "bench.project")
        verify(probe.writeText(path, benchProject(probe.readText(demo))))
        root.openProjectSeq(probe.fileUrl(path))
        tryVerify(function() { return root.refCount === 4 && root.dotCount === 50 }, 10000)

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
        // The simulated marks measure a little larger than drawn.
        findChild(root, "camera1").targetSizeTolerance = 10
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        if (!root.machineHomed2) {
            for (var e = 0; e < root.logModel.count; ++e)
                console.log("BENCH log: " + probe.entry(root.logModel, e).message)
        }
        verify(root.machineHomed2, "homed and calibrated")

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
        console.log("BENCH run wall time " + (wall / 1000).toFixed(2) + " s, motion only " + (motionMs / 1000).toFixed(2)
                    + " s in " + blocks + " blocks, ratio " + (motionMs > 0 ? (wall / motionMs).toFixed(2) : "-"))
        var prev = t0
        for (var i = 0; i < rowDone.length; ++i) {
            var ms = rowDone[i] - prev
            var per = String(rows[i]).indexOf("репер") >= 0 || String(rows[i]).indexOf("Репер") >= 0
                      ? "  (" + (ms / 4000).toFixed(2) + " s per mark)" : ""
            console.log("BENCH row " + i + " " + rows[i] + ": " + (ms / 1000).toFixed(2) + " s" + per)
            prev = rowDone[i]
        }
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }
}

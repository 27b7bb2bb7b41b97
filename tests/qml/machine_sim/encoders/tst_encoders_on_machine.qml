import QtQuick 2.15
import QtTest 1.2

// The encoders on the real LinuxCNC of the simulated machine (a copy of its
// configuration in the test's folder, which the calibration rewrites): the
// simulated X strip reads 0.5 % long, the manual calibration measures that
// and writes the corrected scale, and after a restart of LinuxCNC the same
// strip measures true; a belt that slips beyond the allowed difference stops
// the machine.
TestCase {
    id: testCase
    name: "EncodersOnMachine"
    when: windowShown

    SignalSpy { id: estop; target: root; signalName: "setEstop" }

    property string folder: ""
    property string iniPath: ""

    function localPath(url) { return String(url).replace(/^file:\/\//, "") }
    function near(a, b, tolerance, what) {
        verify(Math.abs(a - b) <= tolerance, what + ": " + a + " instead of " + b)
    }
    function logHas(text) {
        for (var i = 0; i < root.logModel.count; ++i)
            if (String(probe.entry(root.logModel, i).message).indexOf(text) >= 0)
                return true
        return false
    }
    function iniLine(section, key) {
        var lines = probe.readText(iniPath).split("\n")
        var inside = false
        for (var i = 0; i < lines.length; ++i) {
            if (lines[i].charAt(0) === "[")
                inside = lines[i] === "[" + section + "]"
            else if (inside && lines[i].indexOf(key + " =") === 0)
                return lines[i]
        }
        return ""
    }
    function halcmd(args) { compare(probe.halcmd(args), 0, "halcmd " + args.join(" ")) }

    function startLinuxCnc() {
        tryVerify(function() { return root.cncRunning || root.cncStarting || root.cncControl.canStart }, 20000)
        if (!root.cncRunning && !root.cncStarting)
            root.cncControl.start()
        tryCompare(root, "cncRunning", true, 45000)
        tryVerify(function() { return root.encXexist && root.encYexist && root.encZexist }, 5000)
    }
    function stopLinuxCnc() {
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function initTestCase() {
        verify(root.encoderCalibrationWindow !== null)
        folder = probe.tempPath() + "/linuxcnc"
        for (var name of ["kestravo_sim.ini", "kestravo_sim.hal", "kestravo_sim.tbl"]) {
            var text = probe.readText(localPath(Qt.resolvedUrl("../../../../sim/linuxcnc/" + name)))
            verify(text.length > 0, name)
            verify(probe.writeText(folder + "/" + name, text), name)
        }
        iniPath = folder + "/kestravo_sim.ini"
        root.iniFile = probe.fileUrl(iniPath)
        tryCompare(root, "iniFileCorrect", true, 5000)
        root.calibEnabled = false
        startLinuxCnc()
        compare([root.encoderScaleX, root.encoderScaleY], [200, 200])
    }

    function cleanupTestCase() {
        stopLinuxCnc()
    }

    function cleanup() {
        probe.call(root.encoderCalibrationWindow, "cancel")
        root.encStepperMaxDivEnabled = false
    }

    function homeAndCalibrate() {
        if (!root.machineOn)
            root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
        probe.forget("home")
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 30000)
        verify(root.machineHomed2)
    }

    function moveX(x) {
        tryVerify(function() { return root.gCodeDone }, 10000)
        verify(root.machineMoveTo(x, false, false, false))
        tryVerify(function() { return root.gCodeDone && Math.abs(probe.value(root, "jointPos")[0] - x) < 0.001 }, 20000)
    }

    // The manual calibration of the X strip over 200 mm; the readings are
    // taken once the poll has caught up with the machine.
    function calibrateStripX(encoderFactor) {
        root.encoderCalibrationWindow.bringToFront()
        root.encoderCalibrationWindow.calibType = 0
        root.encoderCalibrationWindow.axis = 0
        root.encoderCalibrationWindow.calibrateBelt = false
        root.encoderCalibrationWindow.calibrateStrip = true
        root.encCalibSize = 200
        moveX(100)
        tryVerify(function() { return Math.abs(root.encX - 100 * encoderFactor) < 0.002 }, 5000)
        verify(probe.call(root.encoderCalibrationWindow, "markStart"))
        moveX(300)
        tryVerify(function() { return Math.abs(root.encX - 300 * encoderFactor) < 0.002 }, 5000)
        verify(probe.call(root.encoderCalibrationWindow, "markEnd"))
        return probe.value(root.encoderCalibrationWindow, "manualResult")
    }

    function test_1_stripErrorMeasuredAndCorrected() {
        homeAndCalibrate()
        // The strip gives 201 counts per millimetre where the configuration
        // says 200: the encoder reads 0.5 % long.
        halcmd(["setp", "sim-strip-x.counts-per-mm", "201"])
        var r = calibrateStripX(1.005)
        verify(r.ok)
        near(r.encDistance, 201, 0.005, "measured distance")
        near(r.encError, 0.005, 0.00003, "relative error")
        verify(r.good)
        near(r.newEncoderScale, 201, 0.005, "new scale")
        verify(probe.call(root.encoderCalibrationWindow, "save"))
        var written = Number(iniLine("JOINT_0", "ENCODER_SCALE").split("=")[1])
        near(written, 201, 0.005, "ENCODER_SCALE of X in the configuration")
        compare(iniLine("JOINT_1", "ENCODER_SCALE"), "ENCODER_SCALE = 200.000000")
        compare(iniLine("JOINT_0", "STEP_SCALE"), "STEP_SCALE = 80")

        // LinuxCNC takes the new scale at its next start; the strip is the
        // same one.
        stopLinuxCnc()
        startLinuxCnc()
        near(root.encoderScaleX, written, 1e-6, "scale read at start")
        halcmd(["setp", "sim-strip-x.counts-per-mm", "201"])
        homeAndCalibrate()
        r = calibrateStripX(201 / written)
        verify(r.good)
        near(r.encDistance, 200, 0.005, "distance after the correction")
        verify(r.encError < 0.0001, "error after the correction: " + r.encError)
    }

    // The motor runs 2.5 mm ahead of the head (a slipping belt): beyond the
    // allowed 2 mm the machine stops and the operator is told why.
    function test_2_slipBeyondTheLimitStops() {
        homeAndCalibrate()
        moveX(50)
        root.maxDivX = 2
        root.encStepperMaxDivEnabled = true
        estop.clear()
        halcmd(["setp", "sim-step-x.offset", "2.5"])
        tryCompare(root, "machineOn", false, 5000)
        verify(estop.count >= 1)
        near(root.encStepperXMaxDiv, 2.5, 0.01, "peak difference")
        tryVerify(function() { return logHas("По оси X превышено максимально допустимое расхождение пути двигателя и энкодера!") },
                  3000)
        halcmd(["setp", "sim-step-x.offset", "0"])
    }
}

import QtQuick 2.15
import QtTest 1.2

// LinuxCNC started and stopped the way the operator does it: automatically
// after the program start, then from the menu; a G-code block runs through
// the root signals.
TestCase {
    name: "CncStart"

    SignalSpy {
        id: gcodeDone
        target: root
        signalName: "getGcodeDone"
    }

    function test_autoStartMenuStopAndStart() {
        verify(root.settingsLoaded)
        root.iniFile = Qt.resolvedUrl("../../../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        compare(root.iniMesaType, "5i25")
        compare(root.workAreaX2, 500)
        compare(root.workAreaZ2, 30)
        // Auto-start: 5 s after the program start.
        tryCompare(root, "cncRunning", true, 45000)

        root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
        root.machineHome(true)
        tryVerify(function() {
            var homed = probe.value(root, "jointHomed")
            return homed[0] && homed[1] && homed[2] && homed[3] && homed[4]
        }, 20000)
        wait(1000) // C, the last of its group, is not reported
        root.sendGCode("g0 x12.5 y20\nm64 p2", false)
        gcodeDone.wait(10000)
        compare(gcodeDone.signalArguments[0][0], true)
        tryVerify(function() { return Math.abs(probe.value(root, "jointPos")[0] - 12.5) < 0.001 }, 2000)
        tryVerify(function() { return probe.value(root, "doutState")[2] === true }, 2000)

        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
        verify(root.cncControl.restartDelay > 0)
        verify(!root.cncControl.canStart)
        tryCompare(root.cncControl, "restartDelay", 0, 15000)
        root.cncControl.start()
        tryCompare(root, "cncRunning", true, 45000)
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }
}

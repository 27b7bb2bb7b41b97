import QtQuick 2.15
import QtTest 1.2

// A test case on the real LinuxCNC of the simulated machine: the start of
// LinuxCNC with the simulated machine's configuration, and what the
// operator's log shows as errors.
TestCase {
    when: windowShown

    // The red lines of the operator's log, oldest first.
    function loggedErrors() {
        var list = []
        for (var i = 0; i < root.logModel.count; ++i) {
            var e = probe.entry(root.logModel, i)
            if (e.color === "red")
                list.push(e.message)
        }
        return list
    }

    // Waits for the demo project (with components when `withComponents`).
    function waitForDemoProject(withComponents) {
        tryVerify(function() {
            return String(root.projectName).indexOf("demo.project") >= 0 && (!withComponents || root.elementCount > 0)
        }, 10000)
    }

    // LinuxCNC running the simulated machine, started unless the program
    // already started it; switched on when `switchOn`.
    function startLinuxCnc(switchOn) {
        root.iniFile = Qt.resolvedUrl("../../../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        if (!root.cncRunning && !root.cncStarting)
            root.cncControl.start()
        tryCompare(root, "cncRunning", true, 45000)
        if (switchOn) {
            root.setMachineOn(true)
            tryCompare(root, "machineOn", true, 5000)
        }
    }

    // The vacuum sensor emulator reading the nozzle's state, as the
    // program's vacuum sensor.
    function startVacuumSensor() {
        var port = probe.startVsEmulatorFollowingNozzle(60)
        verify(port !== "")
        root.vsFileName = port
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// The program as ./run.sh starts it: the settings store, package base and
// demo project of the simulated machine (the runner lays them out when
// KESTRAVO_TEST_SIM names sim/). Showing the job screen builds the demo's
// program without a single error, first with the stored work area and then
// with the limits of the simulated machine's LinuxCNC configuration. That
// every part lies where the job picks it is tst_place_on_machine.qml's,
// which places the whole demo job.
TestCase {
    id: testCase
    name: "DemoProgram"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null

    // Log lines of errors shown to the operator ("Ошибка: " + text).
    function loggedErrors() {
        var list = []
        for (var i = 0; i < root.logModel.count; ++i) {
            var m = String(probe.entry(root.logModel, i).message)
            if (m.indexOf("Ошибка") >= 0)
                list.push(m)
        }
        return list
    }

    // Shows the screen again and waits for the program (or its refusal).
    function rebuild() {
        screen.close()
        root.errorListModel.clear()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        verify(jobModel !== null)
        tryVerify(function() { return screen.programCreated || loggedErrors().length > 0 || Rig.errorList().length > 0 },
                  5000)
    }

    function initTestCase() {
        // The demo project opens at start-up, with its feeder banks.
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.elementCount > 0 && root.refCount >= 2 }, 10000)
        tryVerify(function() { return root.bottomFeedersModel.count > 0 && root.upFeedersModel.count > 0 }, 5000)
        compare(loggedErrors(), [])
        compare(Rig.errorList(), [])
    }

    function checkCleanProgram() {
        rebuild()
        compare(loggedErrors(), [])
        compare(Rig.errorList(), [])
        verify(screen.programCreated)
        // Every component of the demo has its line under its feeder's row.
        var lines = 0
        for (var i = 0; i < jobModel.rowCount; ++i)
            if (jobModel.getOpFunc(i) === "setupFeeder")
                lines += jobModel.getSubSteps(i)
        compare(lines, root.elementCount)
        screen.close()
    }

    // With the stored work area, and then with the one the configuration
    // check takes from the ini file (X and Y maxima, Z range): the demo's
    // pick and place heights and feeder positions must fit the simulated
    // machine.
    function test_programWithTheStoredSettingsAndTheMachineLimits() {
        checkCleanProgram()
        root.iniFile = Qt.resolvedUrl("../../../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        compare(root.workAreaZ1, -5)
        compare(root.workAreaZ2, 30)
        compare(root.workAreaX2, 500)
        compare(root.workAreaY2, 500)
        verify(!root.cncRunning && !root.cncStarting)
        checkCleanProgram()
    }

    // The feeders' search regions are worked out on the component camera's
    // own frame, as the run will use it.
    function test_creationUsesTheComponentCameraFrame() {
        var creation = probe.find(screen, "programCreation")
        var camera = findChild(root, "camera2")
        verify(creation !== null && camera !== null)
        verify(camera.frameHeight > 0)
        compare(creation.frameHeight(), camera.frameHeight)
    }
}

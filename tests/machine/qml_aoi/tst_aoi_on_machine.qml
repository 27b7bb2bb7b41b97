import QtQuick 2.15
import QtTest 1.2

// The optical inspection on the real LinuxCNC of the simulated machine, as
// ./run.sh starts it: every component of the demo board drawn where the
// design puts it, templates of the board, an inspection that passes it,
// and one after a part was left out and another moved by half a millimetre
// and turned, which flags exactly those two.
TestCase {
    id: testCase
    name: "AoiOnMachine"
    when: windowShown

    property var aoi: root.aoiInterface

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function loggedErrors() {
        var list = []
        for (var i = 0; i < root.logModel.count; ++i) {
            var e = probe.entry(root.logModel, i)
            if (e.color === "red")
                list.push(e.message)
        }
        return list
    }
    function elements() {
        var list = probe.value(root, "elementList")
        var out = []
        for (var i = 0; i < list.length; ++i)
            if (!list[i].deleted && Number(list[i].disabled) === 0)
                out.push(list[i])
        return out
    }
    function placeParts() {
        worker.simWorldResetParts()
        var els = elements()
        for (var i = 0; i < els.length; ++i) {
            var x = Number(els[i].rX) + Number(els[i].elWidth) / 2 + root.workAreaX1
            var y = root.workAreaY2 - Number(els[i].rY) - Number(els[i].elHeight) / 2
            verify(worker.simWorldAddPlacedPart(x, y, -Number(els[i].rot), Number(els[i].elWidth),
                                                Number(els[i].elHeight)))
        }
    }
    function over() {
        var out = []
        for (var i = 0; i < aoi.objectsModel.count; ++i) {
            var o = probe.entry(aoi.objectsModel, i)
            verify(o.loaded, o.name)
            if (o.aoiDiff > root.aoiDiffPercentLimit)
                out.push(o.name)
        }
        return out.sort()
    }
    function runProcedure(name) {
        call(aoi, name)
        verify(aoi.executing)
        tryVerify(function() { return !aoi.executing }, 300000)
        compare(loggedErrors(), [])
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("demo.project") >= 0 && root.elementCount > 0 },
                  10000)
        root.iniFile = Qt.resolvedUrl("../../../sim/linuxcnc/kestravo_sim.ini")
        tryCompare(root, "iniFileCorrect", true, 5000)
        if (!root.cncRunning)
            root.cncControl.start()
        tryCompare(root, "cncRunning", true, 45000)
        root.setMachineOn(true)
        tryCompare(root, "machineOn", true, 5000)
    }

    function cleanupTestCase() {
        aoi.close()
        worker.simWorldResetParts()
        root.cncControl.stop()
        tryCompare(root, "cncRunning", false, 20000)
    }

    function test_inspection() {
        root.calibEnabled = false
        root.vsEnabled = false
        root.nozzleOnHeadCheckEnabled = false
        root.updateNozzleOnHeadCheck()
        root.setMachineSpeedSlider(100)
        root.camera1Delay = 200
        root.camera1DelayAoi = 200
        root.endingGcode = ""
        findChild(root, "camera1").targetSizeTolerance = 10
        probe.callRecording(root, "homeWait", ["@recorder"], "home")
        tryVerify(function() { return probe.hits("home") === 1 }, 60000)
        verify(root.machineHomed2, JSON.stringify(loggedErrors()))
        placeParts()

        call(root, "showToolWindow", ["aoiInterface"])
        runProcedure("creatingTemplatesF")
        var els = elements()
        for (var i = 0; i < els.length; ++i)
            verify(String(els[i].elPhoto).indexOf("data:image/png;base64,") === 0, els[i].designator)

        // The good board passes.
        runProcedure("makingAoiF")
        compare(over(), [])

        // One part left out, one moved and turned: exactly those two.
        var gone = els[2].designator, moved = els[5].designator
        verify(worker.simWorldMovePlacedPart(5, 0.5, 0, 15))
        verify(worker.simWorldRemovePlacedPart(2))
        runProcedure("makingAoiF")
        compare(over(), [gone, moved].sort())
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../common"

// The optical inspection on the real LinuxCNC of the simulated machine, as
// ./run.sh starts it: every component of the demo board drawn where the
// design puts it, templates of the board, an inspection that passes it,
// and one after a part was left out and another moved by half a millimetre
// and turned, which flags exactly those two.
MachineSimCase {
    id: testCase
    name: "AoiOnMachine"

    property var aoi: root.aoiInterface

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    // The components as the window's board view has them (one board):
    // { x, y (design corner), w, h, rot, template, name }. Program objects
    // themselves are not taken into the test's engine.
    function elements() {
        var out = []
        for (var i = 0; i < aoi.objectsModel.count; ++i)
            out.push(probe.entry(aoi.objectsModel, i))
        return out
    }
    function placeParts() {
        worker.simWorldResetParts()
        var els = elements()
        for (var i = 0; i < els.length; ++i) {
            var x = Number(els[i].x) + Number(els[i].w) / 2 + root.workAreaX1
            var y = root.workAreaY2 - Number(els[i].y) - Number(els[i].h) / 2
            verify(worker.simWorldAddPlacedPart(x, y, -Number(els[i].rot), Number(els[i].w), Number(els[i].h)))
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
        waitForDemoProject(true)
        startLinuxCnc(true)
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
        call(root, "showToolWindow", ["aoiInterface"])
        compare(elements().length, root.elementCount)
        placeParts()

        runProcedure("creatingTemplatesF")
        var els = elements()
        for (var i = 0; i < els.length; ++i)
            verify(String(els[i].template).indexOf("data:image/png;base64,") === 0, els[i].name)

        // The good board passes.
        runProcedure("makingAoiF")
        compare(over(), [])

        // One part left out, one moved and turned: exactly those two.
        var gone = els[2].name, moved = els[5].name
        verify(worker.simWorldMovePlacedPart(5, 0.5, 0, 15))
        verify(worker.simWorldRemovePlacedPart(2))
        runProcedure("makingAoiF")
        compare(over(), [gone, moved].sort())
    }
}

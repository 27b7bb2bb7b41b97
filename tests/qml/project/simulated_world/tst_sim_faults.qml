import QtQuick 2.15
import QtTest 1.2

// The simulated machine's loose parts and faults as a test script drives
// them through the back end, in the program started as ./run.sh starts it:
// a loose-part feeder of a bank reaches the simulated world (its placer and
// parts: tst_simulatedWorld_lib.qml, test_looseFeeder), the head camera's
// template search with the photos the back end renders tells an upturned
// part from an upright one, pick and RLC errors stay with their feeder when
// the world is sent again, and a feeder's nominal reaches the world.
TestCase {
    id: testCase
    name: "SimulatedFaults"
    when: windowShown

    property var camera1: findChild(root, "camera1")
    // The demo's SOIC8 tray of the upper bank, made a loose-part feeder.
    property int loose: 0

    SignalSpy { id: updatedSpy; signalName: "updated" }

    function feeder(bank, index) {
        var list = worker.simWorld().feeders
        for (var i = 0; i < list.length; ++i)
            if (list[i].bank === bank && list[i].index === index)
                return list[i]
        return null
    }

    function imageOf(dataUrl) {
        worker.makeQImage(dataUrl)
        return root.makeQImageResult
    }

    // The head camera over (x, y) as the program moves it there: the
    // machine at that point less the camera offset; the result of a frame
    // taken after the move.
    function lookAt(x, y) {
        root.jointPosGet([x - root.camera1XShift, y - root.camera1YShift, 0, 0])
        updatedSpy.target = camera1
        updatedSpy.clear()
        for (var i = 0; i < 3; ++i)
            updatedSpy.wait(3000)
    }

    function fold(degrees, period) {
        var d = degrees % period
        if (d > period / 2)
            d -= period
        if (d < -period / 2)
            d += period
        return d
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0 }, 10000)
        tryVerify(function() { return root.upFeedersModel.count > loose && feeder("U", loose) !== null }, 10000)
        compare(probe.entry(root.upFeedersModel, loose).pack, "SOIC8")
        verify(probe.call(root, "setFeederValue", ["U", loose, "type", 2]))
        verify(probe.call(root, "setFeederValue", ["U", loose, "placerX", "300 340"]))
        verify(probe.call(root, "setFeederValue", ["U", loose, "placerY", "100 x 100"]))
        tryVerify(function() { var f = feeder("U", loose); return f !== null && f.loose === true }, 5000)
        root.showToolWindow("camera1Window")
        tryCompare(camera1, "opened", true, 5000)
    }

    function cleanupTestCase() {
        worker.simWorldClearErrors()
        camera1.mode = ""
        root.closeAllToolWindows()
    }

    // The feeder's photos (upright and upturned) from the back end, the
    // search as the job sets it up for a template feeder: an upturned part
    // is found upside down, an upright one upright with its angle over a
    // full turn (every face and angle: tst_simulated_faults.cpp).
    function test_upturnedToldApart_data() {
        return [{ tag: "upright, -150 degrees", angle: -150, flipped: false },
                { tag: "upside down, -60 degrees", angle: -60, flipped: true }]
    }
    function test_upturnedToldApart(data) {
        verify(worker.simWorldSetLooseParts("U", loose, [{ "x": 300, "y": 100, "angle": data.angle,
                                                           "flipped": data.flipped }]))
        var up = worker.simWorldPartPhoto(4.9, 6, false)
        var down = worker.simWorldPartPhoto(4.9, 6, true)
        compare(up.indexOf("data:image/png;base64,"), 0)
        verify(up !== down)
        camera1.compareImage = imageOf(up)
        camera1.compareFlippedImage = imageOf(down)
        camera1.templMult = 0.3
        camera1.templateType = 1
        camera1.templMatchCoeff = 60
        camera1.flippedTemplMatchCoeff = 80
        camera1.flippedEnabled = 1
        camera1.mode = "placerTemplateCenter"
        lookAt(300, 100)
        verify(camera1.objFound)
        compare(camera1.flipped, data.flipped)
        verify(Math.abs(fold(camera1.objAngle - data.angle, data.flipped ? 180 : 360)) < 1, camera1.objAngle)
        verify(Math.abs(camera1.objCenterX) < 2 && Math.abs(camera1.objCenterY) < 2,
               camera1.objCenterX + ", " + camera1.objCenterY)
    }

    // Errors set from the script stay with the feeder when the program
    // sends the world again (as it does on every feeder change) and go with
    // simWorldClearErrors, which also lays the described parts out again.
    function test_errorsKept() {
        verify(worker.simWorldSetLooseParts("U", loose, [{ "x": 300, "y": 100, "angle": 0 }]))
        verify(worker.simWorldSetPickError("U", loose, 0.3, -0.2, 1.5, 3))
        verify(worker.simWorldSetRlcError("U", loose, 2, "01"))
        verify(probe.call(root, "setFeederValue", ["U", loose, "rot", 90]))
        tryVerify(function() { return feeder("U", loose).angle === 90 }, 5000)
        var f = feeder("U", loose)
        compare(f.pickError, { "dx": 0.3, "dy": -0.2, "turn": 1.5, "miss": "001" })
        compare(f.rlcError, { "factor": 2, "parts": "01" })
        compare(f.parts.length, 1)
        worker.simWorldClearErrors()
        f = feeder("U", loose)
        compare(f.pickError, { "dx": 0, "dy": 0, "turn": 0, "miss": "" })
        compare(f.rlcError, { "factor": 1, "parts": "" })
        compare(f.parts.length, 2)
        compare(f.parts[0].angle, 90)
    }

    // The feeder's nominal (100 nF) reaches the world in base units, for the
    // RLC meter emulator (the units: tst_simulatedWorld_lib.qml; the emulator
    // reading the held part to the real meter worker: tst_rlc_held_part.cpp,
    // the program's check of it: tst_checks_on_machine.qml).
    function test_nominalReachesTheWorld() {
        verify(probe.call(root, "setFeederValue", ["U", loose, "rlcType", 2]))
        verify(probe.call(root, "setFeederValue", ["U", loose, "rlcUnit", 1]))
        verify(probe.call(root, "setFeederValue", ["U", loose, "rlcValue", 100]))
        tryVerify(function() { return feeder("U", loose).rlcMode === "C" }, 5000)
        verify(Math.abs(feeder("U", loose).rlcValue / 1e-7 - 1) < 1e-9, feeder("U", loose).rlcValue)
    }
}

import QtQuick 2.15
import QtTest 1.2

// Renders the optical inspection window on the simulated machine's demo
// project after real runs of its procedures: the templates of the first
// board from the simulated head camera, then an inspection of a board with
// one part left out and one moved, its worst object selected so that the
// previews show. No LinuxCNC: a stand-in moves the machine to the X and Y
// each block names and answers it. The window in Russian and in English,
// into aoi-ru.png and aoi-en.png in the current folder. Run by
// scripts/shoot-windows.sh.
TestCase {
    id: testCase
    name: "AoiShots"
    when: windowShown

    property var aoi: root.aoiInterface
    property int answered: 0
    property var at: [200, 200]

    // ---- the machine stand-in
    function wordValue(line, axis) {
        var m = new RegExp("(?:^|\\s)" + axis + "([-+]?[0-9]*\\.?[0-9]+)", "i").exec(line)
        return m ? Number(m[1]) : null
    }
    function follow(text) {
        var x = null, y = null
        var lines = String(text).split("\n")
        for (var i = 0; i < lines.length; ++i) {
            var l = lines[i].trim()
            if (!/^g[01]\b/i.test(l))
                continue
            var vx = wordValue(l, "x"), vy = wordValue(l, "y")
            if (vx !== null) x = vx
            if (vy !== null) y = vy
        }
        if (x !== null)
            at[0] = x + root.relX
        if (y !== null)
            at[1] = y + root.relY
        moveTo(at[0], at[1])
    }
    function moveTo(x, y) {
        at = [x, y]
        probe.call(root, "jointPosGet", [[x, y, 0, 0]])
    }
    Timer {
        id: machine
        interval: 15
        repeat: true
        onTriggered: {
            var texts = probe.machineLinkTexts()
            if (texts.length <= testCase.answered)
                return
            testCase.follow(texts[testCase.answered])
            testCase.answered += 1
            probe.answerMachineLink(true)
        }
    }

    function objects() {
        var out = []
        for (var i = 0; i < aoi.objectsModel.count; ++i)
            out.push(probe.entry(aoi.objectsModel, i))
        return out
    }
    // Every component lies on the board as designed (turns counter-clockwise).
    function placeParts() {
        worker.simWorldResetParts()
        var els = objects()
        for (var i = 0; i < els.length; ++i) {
            var cx = Number(els[i].x) + Number(els[i].w) / 2 + root.workAreaX1
            var cy = root.workAreaY2 - Number(els[i].y) - Number(els[i].h) / 2
            verify(worker.simWorldAddPlacedPart(cx, cy, -Number(els[i].rot), Number(els[i].w), Number(els[i].h)))
        }
    }
    function runProcedure(name) {
        probe.call(aoi, name, [])
        verify(aoi.executing)
        tryVerify(function() { return !aoi.executing }, 180000)
    }

    function shoot(lang, file) {
        root.lang = lang
        wait(300)
        verify(probe.grabWindow(aoi, file), "written " + file)
    }

    function test_shots() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.elementCount > 0 && root.refCount === 3 }, 10000)
        verify(probe.detachMachineLink())
        probe.setMachineLinkAnswers(false)
        root.maxVelGet(250, 250, 100, 360, 100, 100)
        root.maxAccGet(1000, 1000, 500, 1000)
        root.setMachineSpeedSlider(100)
        root.camera1Delay = 100
        root.camera1DelayAoi = 100
        root.endingGcode = ""
        root.allowRunWithoutFiducials = false
        findChild(root, "camera1").targetSizeTolerance = 10
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        probe.setValue(root.machineState, "machineHomed2", true)
        moveTo(200, 200)
        machine.start()
        probe.call(root, "showToolWindow", ["aoiInterface"])
        verify(aoi.visible)
        placeParts()
        runProcedure("creatingTemplatesF")
        // One part left out, one moved by half a millimetre and turned.
        verify(worker.simWorldMovePlacedPart(5, 0.5, 0, 15))
        verify(worker.simWorldRemovePlacedPart(2))
        runProcedure("makingAoiF")
        machine.stop()
        var list = objects()
        var worst = 0
        for (var i = 1; i < list.length; ++i)
            if (Number(list[i].aoiDiff) > Number(list[worst].aoiDiff))
                worst = i
        probe.call(aoi, "select", [worst])
        wait(300)
        probe.call(aoi, "autoScale", [])
        shoot("ru", "aoi-ru.png")
        shoot("en", "aoi-en.png")
        root.lang = "ru"
        aoi.close()
        root.machineOnGet(false)
        worker.simWorldResetParts()
        probe.attachMachineLink()
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig
import "../../../../qml/main/job/program.js" as Program
import "../../common"

// The optical inspection window in the whole program as ./run.sh starts it
// (the simulated machine's settings store and demo project, the simulated
// head camera over the demo board), with every component drawn on the
// board where the design puts it. The machine link is detached; the stand-in
// machine walks and answers every block. The templates of the first board,
// the template kept with the project, the run's inspection row, and the
// refusal after the camera's scale changed. Which parts an inspection flags
// on the simulated board is tst_aoi_on_machine.qml's (test_inspection), the
// verdicts tst_aoi.qml's. Every case makes the templates it needs.
TestCase {
    id: testCase
    name: "AoiWindow"
    when: windowShown

    property var aoi: root.aoiInterface
    readonly property real shiftX: root.camera1XShift
    readonly property real shiftY: root.camera1YShift

    MachineStandIn { id: machine; at: [200, 200, 0, 0] }

    // ---- helpers
    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    // The components as the window's board view has them (one board):
    // { key, x, y (design corner), w, h, rot, template, name }. Program
    // objects themselves are not taken into the test's engine.
    function elements() {
        var model = aoi.objectsModel
        var out = []
        for (var i = 0; i < model.count; ++i)
            out.push(probe.entry(model, i))
        return out
    }
    // The design centre of a component in machine coordinates.
    function centre(el) {
        return [Number(el.x) + Number(el.w) / 2 + root.workAreaX1, root.workAreaY2 - Number(el.y) - Number(el.h) / 2]
    }
    function errors(from) { return Rig.logMessages(from).filter(function(m) { return m.indexOf("Ошибка") >= 0 }) }
    // The approach of the camera to a component, as the gate gets it.
    function approachOf(el) {
        var c = centre(el)
        return "g0 zMax\ng0 x" + (c[0] - shiftX).toFixed(3) + " y" + (c[1] - shiftY).toFixed(3) + "\ng0 zMax\n"
    }
    function runProcedure(name) {
        var from = probe.machineLinkTexts().length
        call(aoi, name)
        verify(aoi.executing)
        tryVerify(function() { return !aoi.executing }, 120000)
        return from
    }
    // Every component lies on the board as designed (turns counter-clockwise).
    function placeParts() {
        worker.simWorldResetParts()
        var els = elements()
        for (var i = 0; i < els.length; ++i) {
            var c = centre(els[i])
            verify(worker.simWorldAddPlacedPart(c[0], c[1], -Number(els[i].rot), Number(els[i].w), Number(els[i].h)))
        }
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.elementCount > 0 && root.refCount === 3 }, 10000)
        root.setMachineSpeedSlider(100)
        root.camera1Delay = 100
        root.camera1DelayAoi = 100
        root.endingGcode = ""
        root.allowRunWithoutFiducials = false
        findChild(root, "camera1").targetSizeTolerance = 10
        verify(machine.takeOver())
        call(root, "showToolWindow", ["aoiInterface"])
        verify(aoi.visible)
    }

    // Every case starts with the window shown and every part on the board.
    function init() {
        call(root, "showToolWindow", ["aoiInterface"])
        placeParts()
    }
    // The templates of the good board, made unless every component has one.
    function withTemplates() {
        if (!elements().every(function(e) { return e.template !== "" }))
            runProcedure("creatingTemplatesF")
    }

    function cleanupTestCase() {
        machine.giveBack()
        aoi.close()
        worker.simWorldResetParts()
    }

    function test_templatesOfTheBoard() {
        var els = elements()
        verify(els.length > 10)
        compare(els.length, root.elementCount)
        var log = root.logModel.count
        var from = runProcedure("creatingTemplatesF")
        compare(errors(log), [])
        // The marks first, then each component once, in the nearest order.
        var texts = probe.machineLinkTexts().slice(from)
        compare(texts.length, 3 + els.length, JSON.stringify(texts))
        var wanted = els.map(approachOf).sort()
        compare(texts.slice(3).sort(), wanted)
        // Every template is 1.3 times its component at the camera's scale.
        var ppm = root.camera1PPMCorr
        els = elements()
        for (var i = 0; i < els.length; ++i)
            compare(Program.photoSize(els[i].template), { "width": Math.round(els[i].w * ppm * 1.3),
                                                          "height": Math.round(els[i].h * ppm * 1.3) }, els[i].name)
    }

    // The templates go into the project file and come back from it.
    function test_templatesKeptWithTheProject() {
        withTemplates()
        var before = elements().map(function(e) { return Program.photoSize(e.template) })
        var file = "file://" + probe.tempPath() + "/aoi.project"
        call(root, "saveProject", [file])
        call(root.projectActions, "openProjectSeq", [file])
        tryVerify(function() { return String(root.projectName) === file && root.elementCount === before.length }, 10000)
        call(aoi, "rebuildObjects")
        var again = elements()
        compare(again.map(function(e) { return Program.photoSize(e.template) }), before)
        verify(String(again[0].template).indexOf("data:image/png;base64,") === 0)
    }

    // The run's "aoi" row: the window shown, the inspection, then the run's
    // continuation once; refused at once (a template missing), the
    // continuation comes at once.
    function test_runRow() {
        withTemplates()
        aoi.close()
        var from = probe.machineLinkTexts().length
        probe.callRecording(aoi, "runRow", ["@recorder"], "row")
        verify(aoi.visible)
        verify(aoi.executing)
        compare(probe.hits("row"), 0)
        tryVerify(function() { return probe.hits("row") === 1 }, 120000)
        verify(!aoi.executing)
        compare(probe.machineLinkTexts().length - from, 3 + elements().length)

        // Without templates the row is refused and the run goes on at once.
        call(aoi, "aoiRemoveTemplates")
        from = probe.machineLinkTexts().length
        probe.callRecording(aoi, "runRow", ["@recorder"], "refused")
        verify(!aoi.executing)
        tryVerify(function() { return probe.hits("refused") === 1 }, 2000)
        compare(probe.machineLinkTexts().length, from)
        compare(elements().filter(function(e) { return e.template !== "" }), [])
    }

    // The head camera's scale changed since: refused, nothing moves.
    function test_refusedAfterTheScaleChanged() {
        withTemplates()
        var log = root.logModel.count
        var from = probe.machineLinkTexts().length
        var mm = root.camera1MM
        root.camera1MM = mm * 1.1
        call(aoi, "makingAoiF")
        verify(!aoi.executing)
        root.camera1MM = mm
        compare(errors(log), ["Ошибка: Не для всех элементов корректны размеры проверочных шаблонов! Нужно заново создать шаблоны."])
        compare(probe.machineLinkTexts().length, from)
    }
}

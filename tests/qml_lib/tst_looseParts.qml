import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/looseParts.js" as LP
import "JobRig.js" as J

// Loose parts against the fake machine: the search of the placer area by
// the head camera window by window, contour and template searches, parts
// lying upside down, the empty placer, and the search settings of a group.
TestCase {
    id: tc
    name: "LooseParts"

    // Machine maxima X 250, Y 200, Z 100 units/s; travel height 40 in a run.
    // Nozzle 1 is 30 mm long pressing 0.5 mm: a 1 mm part on the placer at
    // height 5 is taken at 35.5. The head camera looks 30 mm left of and
    // 20 mm above the nozzle (camera1XShift -30, camera1YShift 20), at
    // 20 px/mm, 500 ms after each move. Component camera 2 at (200, 30).
    function rig() {
        var r = J.pickingRig(J.pickSettings({ "autoSwithToSimilarFeedersWhenPlacerEmpty": false }))
        r.b.outputs[0] = true
        return r
    }
    // A loose-part feeder on bank B with three windows along X, searched
    // by contour, parts not centred on the camera.
    function loose(extra) {
        return J.merged({ "type": 2, "cupNumber": 1, "caseZ": 5, "elThickness": 1, "elWidth": 2, "elHeight": 1.2,
                        "maxAcc": 100, "centering": 0, "centeringZ": 2, "rot": 0, "slowPick": false,
                        "placerX": "100 150 200", "placerY": "50 50 50", "placerType": 0, "placerLessPhotos": false,
                        "caseCurrNumber": 0, "camera1Roi": 60, "camera1T1": 150, "camera1T2": 30,
                        "camera1Inv": false, "camera1Exposure": 40, "placerTemplateType": 1,
                        "placerTemplateHighRes": 0, "elFlippedEnabled": false, "elFlippedMatchPercent": 70,
                        "elFlippedAction": 0, "elFlippedGCode": "G0 X5 Y5\nM65 P1",
                        "elFlippedRemoveGCode": "G0 X470 Y120\nM65 P1" }, extra)
    }
    function template(extra) { return loose(J.merged({ "placerType": 1, "elFlippedEnabled": true }, extra)) }

    function f3(v) { return Number(v).toFixed(3) }
    // The head camera over window (x, y), over a part at (x, y), and the pick
    // of a part at (x, y) turned to a.
    function win(x, y) { return "g0 z40.0\nm65 p4\ng0  x" + f3(x + 30) + " y" + f3(y - 20) + " z40.0 a0.0\ng0" }
    function look(x, y) { return "g0 z40.0\nm65 p4\ng0 x" + f3(x + 30) + " y" + f3(y - 19) + " a0.0\ng0" }
    function pickLines(x, y, a) {
        return ["g0 z40.0", "g0  x" + f3(x) + " y" + f3(y) + " a" + Number(a).toFixed(2), "g0 z35.500", "m64 p1",
                "g4 p0.200", "g0  z40.0", "g0 "]
    }
    function pick(x, y, a) { return pickLines(x, y, a).join("\n") + "\ng0" }
    function flip(x, y, a) { return pickLines(x, y, a).concat(["G0 X5 Y5\nM65 P1"]).join("\n") + "\ng0" }
    function removal(x, y, a) { return pickLines(x, y, a).concat(["G0 X470 Y120\nM65 P1"]).join("\n") + "\ng0" }

    function expect(r, e, done) { J.expect(tc, r, e, done) }
    function part(x, y, angle, extra) { return J.merged({ found: true, x: x, y: y, angle: angle || 0 }, extra) }
    readonly property var none: ({ found: false })

    function modes(r) { return r.b.placer.requests.map(function(q) { return q.mode }) }

    function start(r, feeder, results) {
        r.b.job.feeders["B0"] = feeder
        r.b.placer.results = results
        var f = J.counter()
        r.p.elGetWait("B", 0, {}, f)
        r.m.advance(20000)
        return f
    }

    // ---- the search windows

    // The windows are the numeric pairs of the two lists, and the search
    // starts at caseCurrNumber and goes round once: here with nothing found
    // anywhere, up to the tape-change panel.
    function test_windows() {
        var r = rig()
        var f = start(r, loose(), [])
        expect(r, { sent: [win(100, 50), win(150, 50), win(200, 50), "g0 x0 y0\ng0 zMax\n"], panels: ["tapeChange"],
                    done: 0, failures: [] }, f)
        // Two results per window: the search, then the one that decides.
        compare(modes(r).length, 6)
    }

    // A feeder with no window at all stops the pick with the feeder error.
    function test_noWindows() {
        var r = rig()
        var f = start(r, loose({ placerX: "1;2", placerY: "3;4" }), [])
        compare(r.m.failures, ["Неверные настройки питателя"])
        compare(r.m.sent.length, 0)
        compare(f.args.length, 0)
    }

    // ---- contour search

    // Nothing in window 1, a part in window 2: it is taken at A 0 where it
    // lies, and the window stays the feeder's search position.
    function test_contourFindsInWindow2() {
        var r = rig()
        var f = start(r, loose(), [none, none, part(150.25, 49.5, 30), part(150.25, 49.5, 30)])
        compare(r.m.sentTexts(), [win(100, 50), win(150, 50), pick(150.25, 49.5, 0)])
        compare(modes(r), ["placerContours", "placerContours", "placerContours", "placerContours"])
        compare(f.args.length, 1)
        compare(J.writesOf(r, "caseCurrNumber"), [1])
        // Where the part was taken, for a part dropped back (dropType 1).
        compare(J.writesOf(r, "lastGetX"), [150.25])
        compare(J.writesOf(r, "lastGetY"), [49.5])
        // The camera waited for the head after each move.
        compare(r.b.placer.requests[0].x, 130)
        compare(r.b.placer.requests[0].y, 30)

        // The next pick starts in window 2.
        r.b.placer.results = [part(151, 50), part(151, 50)]
        r.m.sent = []
        r.p.elGetWait("B", 0, {}, f)
        r.m.advance(20000)
        expect(r, { sent: [win(150, 50), pick(151, 50, 0)], done: 2 }, f)
    }

    // ---- template search

    // The wide look finds a candidate, the camera goes over it, the template
    // match gives the exact place and angle: the package's own pick point
    // is turned with the part and the nozzle turns the part back. A part
    // that goes on to the component camera is carried there in the same
    // block, and that camera starts.
    function test_templatePickPoint() {
        var r = rig()
        var own = { customPickPoint: true, aShift: 1, bShift: 0 }
        var f = start(r, template({ centering: 1, packageSettings: own }),
                      [part(120, 60), part(120.2, 60.1, 90)])
        var toCamera = ["m64 p4", "g0 ", "g0  z40.0", "g0  x201.000 y30.000 a0.00", "g0  z53.000"]
        compare(r.m.sentTexts(), [win(100, 50), look(120, 60),
                                  pickLines(120.2, 59.1, -90).concat(toCamera).join("\n") + "\ng0"])
        compare(modes(r), ["placerContours", "placerTemplateCenter"])
        compare(r.m.events.indexOf("camera2:start:2") >= 0, true)
        compare(J.writesOf(r, "lastGetX"), [120.2])
        fuzzyCompare(J.writesOf(r, "lastGetY")[0], 59.1, 1e-9)
        expect(r, { done: 1, failures: [] }, f)
    }

    // A template match that finds nothing is tried three times in a window,
    // each time from a new wide look; then the search goes on in the next
    // window.
    function test_templateMissesMoveOn() {
        var r = rig()
        var f = start(r, template(), [part(120, 60), none, part(120, 60), none, part(120, 60), none,
                                      part(170, 55), part(170, 55, 0)])
        compare(r.m.sentTexts(), [win(100, 50), look(120, 60), win(100, 50), look(120, 60), win(100, 50),
                                  look(120, 60), win(150, 50), look(170, 55), pick(170, 55, 0)])
        compare(J.writesOf(r, "caseCurrNumber"), [1])
        compare(f.args.length, 1)
    }

    // With fewer photos the parts of one wide look are visited in turn
    // without a new one, also by the next pick of the same feeder; misses
    // still count, and an empty list means a new wide look.
    function test_lessPhotos() {
        var r = rig()
        var seen = [{ x: 110, y: 45 }, { x: 120, y: 55 }, { x: 130, y: 60 }, { x: 140, y: 50 }]
        var f = start(r, template({ placerLessPhotos: true }),
                      [part(140, 50, 0, { parts: seen }), none, part(120, 55, 0)])
        expect(r, { sent: [win(100, 50), look(110, 45), look(120, 55), pick(120, 55, 0)],
                    done: 1 }, f)
        r.m.sent = []
        r.b.placer.results = [none, none, part(100, 50, 0, { parts: [{ x: 100, y: 50 }] }), part(100, 50, 0)]
        r.p.elGetWait("B", 0, {}, f)
        r.m.advance(20000)
        expect(r, { sent: [look(130, 60), look(140, 50), win(100, 50), look(100, 50), pick(100, 50, 0)],
                    done: 2 }, f)
    }

    // ---- parts upside down

    // Flipped detection off, or the feeder editor checking a pick: the part
    // is taken as it lies.
    function test_flippedTakenAsItLies_data() {
        return [ { tag: "detection off", f: { elFlippedEnabled: false } }, { tag: "feeder editor", check: true } ]
    }
    function test_flippedTakenAsItLies(data) {
        var r = rig()
        r.b.feederCheck = data.check === true
        var f = start(r, template(data.f), [part(120, 60), part(120, 60, 0, { flipped: true })])
        compare(r.m.sentTexts().slice(-1), [pick(120, 60, 0)])
        compare(f.args.length, 1)
    }

    // Four flips that leave the part upside down raise one panel, a part
    // not found after a flip the other. "Повторить распознавание" looks at
    // it again; "Продолжить" searches the window anew.
    function test_flipPanels_data() {
        return [
            { tag: "four flips, retry finds it upright", flips: 4, button: "retryRecognition",
              after: [part(120, 60, 0)], sent: [look(120, 60), pick(120, 60, 0)],
              modes: ["placerTemplate"] },
            { tag: "four flips, continue searches the window", flips: 4, button: "continue",
              after: [part(130, 50), part(130, 50, 5)], sent: [win(100, 50), look(130, 50), pick(130, 50, -5)],
              modes: ["placerContours", "placerTemplateCenter"] },
            { tag: "lost after a flip, retry", flips: 1, button: "retryRecognition",
              after: [part(119, 59, 0)], sent: [look(120, 60), pick(119, 59, 0)],
              modes: ["placerTemplate"] },
        ]
    }
    function test_flipPanels(data) {
        var r = rig()
        var results = [part(120, 60)]
        var sent = [win(100, 50), look(120, 60)]
        for (var i = 0; i < data.flips; ++i) {
            results.push(part(120, 60, 0, { flipped: true }))
            sent = sent.concat([flip(120, 60, 0), look(120, 60)])
        }
        // Upside down once more, or not found at all.
        results.push(data.flips === 4 ? part(120, 60, 0, { flipped: true }) : none)
        var f = start(r, template(), results)
        expect(r, { sent: sent,
                    panels: [data.flips === 4 ? "flipFailures" : "notRecognisedAfterFlip"],
                    done: 0 }, f)
        var asked = r.b.placer.requests.length
        r.b.placer.results = data.after
        r.b.press(data.button)
        r.m.advance(20000)
        compare(r.m.sentTexts().slice(sent.length), data.sent)
        compare(modes(r).slice(asked), data.modes)
        compare(f.args.length, 1)
        compare(r.b.panels.length, 1)
    }

    // Parts upside down taken away: each removal searches the window anew;
    // four in a row raise the same panel rather than go on for ever.
    function test_removalLimit() {
        var r = rig()
        var results = []
        for (var i = 0; i < 5; ++i)
            results.push(part(120, 60), part(120, 60, 0, { flipped: true }))
        var f = start(r, template({ elFlippedAction: 1 }), results)
        var sent = []
        for (i = 0; i < 4; ++i)
            sent = sent.concat([win(100, 50), look(120, 60), removal(120, 60, 0)])
        sent = sent.concat([win(100, 50), look(120, 60)])
        expect(r, { sent: sent, panels: ["flipFailures"], done: 0 }, f)
    }

    // A flip G-code that is not set stops rather than leave the part on
    // the nozzle.
    function test_flipGCodeMissing_data() {
        return [
            { tag: "flip", f: { elFlippedGCode: " " },
              error: "Не задан G-код переворота компонента: взятие не выполнено" },
            { tag: "removal", f: { elFlippedAction: 1, elFlippedRemoveGCode: "" },
              error: "Не задан G-код удаления перевёрнутого компонента: взятие не выполнено" },
        ]
    }
    function test_flipGCodeMissing(data) {
        var r = rig()
        var f = start(r, template(data.f), [part(120, 60), part(120, 60, 0, { flipped: true })])
        expect(r, { failures: [data.error], sent: [win(100, 50), look(120, 60)], done: 0 }, f)
    }

    // ---- the empty placer

    function test_emptyPlacer_data() {
        return [
            { tag: "panel", panel: true, sent: ["g0 x0 y0\ng0 zMax\n"],
              logs: [{ text: "Компоненты в россыпи не найдены! Остановка! Питатель: снизу  №1", color: "yellow" }] },
            { tag: "switched to an equivalent feeder", auto: true, switches: true, sent: [], logs: [],
              switched: [["B", 0, "Компоненты в россыпи не найдены! Переключаюсь на питатель: "]] },
        ]
    }
    function test_emptyPlacer(data) {
        var r = rig()
        r.b.settings.autoSwithToSimilarFeedersWhenPlacerEmpty = data.auto === true
        var switched = []
        r.m.port.switchToEquivalent = function(model, index, logText) {
            switched.push([model, index, logText])
            return data.switches === true
        }
        var f = start(r, loose({ placerX: "100 150", placerY: "50 50" }), [])
        var windows = [win(100, 50), win(150, 50)]
        expect(r, { sent: windows.concat(data.sent), panels: data.panel ? ["tapeChange"] : [] })
        compare(r.m.logs, data.logs)
        compare(switched, data.switched || [])
        compare(f.args.length, 0)
        if (!data.panel)
            return
        // "Продолжить" after refilling: the search starts again at the
        // first window.
        r.b.placer.results = [part(100, 51), part(100, 51)]
        r.b.press("continue")
        r.m.advance(20000)
        compare(J.writesOf(r, "caseCurrNumber"), [1, 0])
        compare(r.m.sentTexts().slice(3), [win(100, 50), pick(100, 51, 0)])
        compare(f.args.length, 1)
    }

    // ---- one head-camera result

    // A result that comes while paused is taken again after the pause,
    // as a machine position from where the camera stands.
    function test_placerWait() {
        var r = rig()
        r.m.pos.x = 100
        r.m.pos.y = 40
        r.b.placer.results = [none, part(71, 59)]
        var f = J.counter()
        var w = r.p.placerWait
        w.settings = { mode: "placerContours" }
        w(f)
        r.m.setPaused(true)
        r.m.advance(1000)
        compare(f.args.length, 0)
        r.m.setPaused(false)
        r.m.advance(1000)
        compare(f.args.length, 1)
        compare([w.found, w.x, w.y], [true, 71, 59])
        compare(r.b.placer.requests.length, 2)
    }

    // A part found where the scale is unknown counts as not found.
    function test_headCameraResultWithoutScale() {
        var r = LP.headCameraResult({ found: true, x: 40, y: 0, angle: 0 }, { x: 100, y: 40 },
                                    { camera1PPMCorr: 0, camera1XShift: -30, camera1YShift: 20 })
        compare(r.found, false)
    }

    // ---- the search settings

    // A template search with flipped detection and the machine's exposure.
    function test_searchSettings() {
        var f = loose({ placerType: 1, elFlippedEnabled: true, camera1Exposure: "", placerTemplateType: 0 })
        compare(LP.searchSettings("R", 3, f, 55),
                { indiv: true, mode: "placerContours", roi: 60, t1: 150, templMatchCoeff: 30, inv: false,
                  calcSize: 2, calcSize2: 1.2, exposure: 55, templMult: 0.3, templateType: 0,
                  flippedTemplMatchCoeff: 70, flippedEnabled: true, photo: "image://worker/R3",
                  flippedPhoto: "image://worker/flipped_R3" })
    }

    // ---- the group start

    function componentRig(feeder) {
        var settings = J.componentSettings({ "autoSwithToSimilarFeedersWhenPlacerEmpty": false })
        return J.componentRig(settings, feeder)
    }

    // A loose-part group loads the feeder's search settings onto the head
    // camera.
    function test_groupStart() {
        var f = loose()
        var r = componentRig(f)
        r.b.job.groups = [[J.placement(0)]]
        r.c.setupFeeder(0, J.counter())
        compare(r.b.placer.loads, [LP.searchSettings("B", 0, f, 50)])
    }

    // An empty placer in a run when feeder errors do not stop it: the group
    // is skipped by itself and its placements go to the missed list (the
    // operator's "Пропустить" at the panel: tst_component.qml).
    function test_groupSkipped() {
        var r = componentRig(loose({ placerX: "100", placerY: "50" }))
        r.b.settings.dontStopProgramOnFeederErrors = true
        r.b.job.groups = [J.group(2)]
        var done = J.counter()
        r.c.setupFeeder(0, done)
        r.m.advance(20000)
        compare(r.m.logs, [{ text: "Компоненты в россыпи не найдены! Пропускаю питатель: снизу  №1", color: "red" }])
        compare(done.args.length, 1)
        compare(r.m.missed.getSubSteps(0), 2)
        compare(r.b.placed.length, 0)
    }

    // ---- a stop in the middle: a late camera result does nothing

    function test_stopIgnoresLateResult() {
        var r = rig()
        r.b.job.feeders["B0"] = loose()
        r.b.placer.results = [part(100, 50), part(100, 50)]
        var f = J.counter()
        r.p.elGetWait("B", 0, {}, f)
        r.m.advance(520)      // the window move has ended, the camera is asked
        compare(r.b.placer.requests.length, 1)
        r.m.stopAll()
        r.m.advance(20000)
        compare(r.m.sentTexts(), [win(100, 50)])
        compare(r.b.placer.requests.length, 1)
        compare(f.args.length, 0)
    }
}

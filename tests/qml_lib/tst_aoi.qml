import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "FakeBoard.js" as Board
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/sequencer.js" as Sequencer
import "../../qml/main/job/aoi.js" as Aoi

// Optical inspection: the clips and what refuses a procedure; then the two
// procedures against the fake machine: the exact blocks, the photos taken,
// the templates replaced only by new photos, the results stored, the ending
// G-code, the operator's stop, and the run's "aoi" row, which goes on when
// the inspection ends or is refused at once.
//
// The camera sees 30 mm left of and 20 mm above the nozzle (camera1XShift
// -30, camera1YShift 20) at 20 pixels per mm; its scan photos are 640 x 480.
TestCase {
    name: "Aoi"

    // ---- plain functions

    // The clip of a board turned by the marks is the frame turned about the
    // photo's centre: its corner in the unturned photo and the turn.
    function test_clip() {
        var r = Aoi.clipRect(640, 480, 42, 22, 89.5, 0.5)
        compare(r.x, 331)
        compare(r.y, 219)
        compare(r.width, 42)
        compare(r.height, 22)
        fuzzyCompare(r.angle, 90, 1e-9)
    }

    function test_inspectionRefusal_data() {
        var good = { template: { width: 42, height: 21 }, frame: { width: 42, height: 21 } }
        var missing = { template: { width: 0, height: 0 }, frame: { width: 42, height: 21 } }
        var rescaled = { template: { width: 42, height: 21 }, frame: { width: 46, height: 23 } }
        var sizeText = "Не для всех элементов корректны размеры проверочных шаблонов! Нужно заново создать шаблоны."
        var missingText = "Не для всех элементов созданы проверочные шаблоны! Нужно заново создать шаблоны."
        return [
            { tag: "marks first", refs: 1, excluded: true, list: [missing], text: "Проверьте расстановку реперных знаков!" },
            { tag: "a template is missing", refs: 2, excluded: true, list: [good, missing, rescaled], text: missingText },
            { tag: "the camera scale changed", refs: 2, excluded: true, list: [good, rescaled], text: sizeText },
            { tag: "one pixel off is good", refs: 2, excluded: false,
              list: [{ template: { width: 43, height: 20 }, frame: { width: 42, height: 21 } }], text: "" },
            { tag: "all boards excluded", refs: 2, excluded: true, list: [good], text: "Все платы исключены из расстановки!" }
        ]
    }
    function test_inspectionRefusal(data) {
        compare(Aoi.inspectionRefusal({ refCount: data.refs, allowWithoutMarks: false, allExcluded: data.excluded },
                                      data.list), data.text)
    }

    // ---- the procedures on the fake machine

    // Components A and B on each of two boards (columns 0 and 1); the
    // targets are the design centres, moved by 50 mm per board column.
    function rig(options) {
        var opts = options || {}
        var m = Fake.create({ blockMode: "auto", blockMs: 10, busy: false })
        var b = Board.extend(m, { settings: { camera1DelayAoi: 300, aoiThreshold: 90, aoiErosion: 2,
                                              allowRunWithoutFiducials: false, endingGCodeOnUserStop: true,
                                              endingGcode: "g0 x40 y200", startingGcode: "", progAutoRestart: false,
                                              finalSoundEnabled: false, projectAutosave: false } })
        var w = Waiters.create(m.port)
        var r = { m: m, b: b, w: w, photos: [], clips: [], compares: [], stored: [], marks: 0,
                  states: [], shown: 0, refCount: opts.refCount !== undefined ? opts.refCount : 2,
                  excluded: false, diffs: opts.diffs || {}, cameraFault: "", stoppedMarks: 0 }
        var elA = { name: "A", elWidth: 1.6, elHeight: 0.8, rX: 10, rY: 20, elPhoto: "old A" }
        var elB = { name: "B", elWidth: 2, elHeight: 1.2, rX: 30, rY: 40, elPhoto: "old B" }
        r.elements = [elA, elB]
        r.list = []
        for (var col = 0; col < 2; ++col)
            for (var i = 0; i < r.elements.length; ++i) {
                var el = r.elements[i]
                r.list.push({ el: el, row: 0, col: col, rX: el.rX + 50 * col, rY: el.rY, rotation: i === 1 ? 90 : 0,
                              rotWidth: 1, rotHeight: 1, disabled: 0, disabledTemp: false })
            }
        // Photos are texts here: "clip" and the rectangle; their size is
        // what the fake says.
        r.sizes = {}
        m.port.aoi = {
            refCount: function() { return r.refCount },
            allExcluded: function() { return r.excluded },
            components: function() { return r.elements },
            buildList: function(templates) {
                m.events.push("buildList:" + templates)
                return r.list
            },
            findMarks: function(f) {
                r.marks++
                m.events.push("findMarks")
                m.after(100, f)
            },
            targetOf: function(ep) {
                return { ok: true, x: 100 + ep.rX, y: 300 - ep.rY, boardAngle: 0 }
            },
            templateOf: function(el) { return el.elPhoto },
            setTemplate: function(el, photo) {
                m.events.push("template:" + el.name)
                el.elPhoto = photo
            },
            photoSize: function(photo) { return r.sizes[photo] || { width: 0, height: 0 } },
            objectOf: function(ep) { return ep.el.name + ep.col },
            storeResult: function(object, result) { r.stored.push({ object: object, result: result }) },
            clearResults: function() { m.events.push("clearResults") },
            acc: function() { return 100 },
            setState: function(kind, scanning) {
                r.states.push(kind + (scanning ? ":scanning" : ""))
                r.active = kind !== ""
            },
            stopMarks: function() {
                r.stoppedMarks++
                m.events.push("stopMarks")
            },
            showWindow: function() {
                r.shown++
                m.events.push("aoiWindow")
            }
        }
        // The window's activity makes the machine busy while it works.
        r.active = false
        m.port.busy = function() { return m.busy || m.run.executing === true || r.active }
        m.port.headCamera.ensureCapture = function(f) {
            m.events.push("capture")
            m.port.later(f)
        }
        m.port.headCamera.fullField = function() { m.events.push("fullField") }
        m.port.headCamera.scanPhoto = function(f) {
            r.photos.push({ x: m.pos.x, y: m.pos.y, at: m.now })
            m.after(30, function() { f(r.cameraFault === "noPhoto" ? null : { width: 640, height: 480 }) })
        }
        m.port.headCamera.clip = function(x, y, width, height, angle) {
            var photo = "clip " + [x, y, width, height, angle].join(",")
            r.clips.push(photo)
            return photo
        }
        m.port.compare = function(template, photo, threshold, erosion) {
            r.compares.push([template, photo, threshold, erosion])
            var key = String(template).split(" ")[1]
            return { diffImage: "mask of " + photo, diff: r.diffs[key] !== undefined ? r.diffs[key] : 1,
                     shift: { x: 1, y: -2 } }
        }
        r.a = Aoi.create(m.port, w)
        m.attach({ positionGet: w.positionGet, pauseGet: w.pauseGet, homedGet: w.homedGet,
                   gCodeDoneGet: r.a.gCodeDoneGet, stopAll: function() { w.stopAll(); r.a.stopAll() } })
        m.setPosition({ x: 0, y: 0, z: 25, a: 0 })
        return r
    }
    function approach(x, y) {
        return "g0 zMax\ng0 x" + (x + 30).toFixed(3) + " y" + (y - 20).toFixed(3) + "\ng0 zMax\n"
    }
    // Templates of the fake's components at their current sizes (20 px/mm).
    function templatesFit(r) {
        r.elements[0].elPhoto = "tpl A"
        r.elements[1].elPhoto = "tpl B"
        r.sizes["tpl A"] = { width: 42, height: 21 }
        r.sizes["tpl B"] = { width: 52, height: 31 }
    }

    function test_templatesOfTheFirstBoard() {
        var r = rig()
        verify(r.a.creatingTemplatesF())
        compare(r.a.kind(), "templates")
        verify(r.a.scanning())
        r.m.advance(60000)
        compare(r.a.kind(), "")
        compare(r.marks, 1)
        // Board 0 only: A and B, each approached, given the settling time and
        // photographed where the camera stands over it; then the ending G-code.
        compare(r.m.sentTexts(), [approach(110, 280), approach(130, 260), "g0 x40 y200\ng0 zMax\n"])
        compare(r.photos.map(function(p) { return [p.x, p.y] }), [[140, 260], [160, 240]])
        verify(r.photos[0].at >= 100 + 10 + 300)
        // A: 42 x 21 around the centre of 640 x 480; B turned a quarter.
        compare(r.clips, ["clip 299,230,42,21,0", "clip 336,214,52,31,90"])
        compare(r.elements.map(function(e) { return e.elPhoto }), r.clips)
        compare(r.m.events.filter(function(e) { return e.indexOf("template:") === 0 || e.indexOf("buildList") === 0 }),
                ["buildList:true", "template:A", "template:B"])
        compare(r.states, ["templates:scanning", "templates", ""])
        compare(r.b.errors, [])
    }

    // Refused before anything is checked: every saved template stays.
    function test_refusedCreationKeepsTemplates() {
        var r = rig({ refCount: 1 })
        verify(!r.a.creatingTemplatesF())
        r.m.advance(10000)
        compare(r.b.errors.map(function(e) { return e.text }), ["Проверьте расстановку реперных знаков!"])
        compare(r.elements.map(function(e) { return e.elPhoto }), ["old A", "old B"])
        compare(r.m.sentTexts(), [])
        compare(r.a.kind(), "")
    }

    // Stopped after the first photo: A has its new template, B keeps its old
    // one; the operator's stop sends the ending G-code once the machine is idle.
    function test_stoppedCreationKeepsTheRest() {
        var r = rig()
        verify(r.a.creatingTemplatesF())
        r.m.advance(100 + 10 + 300 + 30 + 5)
        compare(r.elements[0].elPhoto, "clip 299,230,42,21,0")
        verify(r.m.running !== null)         // on the way to B
        verify(!r.a.creatingTemplatesF())
        compare(r.a.kind(), "")
        r.m.advance(10000)
        compare(r.elements.map(function(e) { return e.elPhoto }), ["clip 299,230,42,21,0", "old B"])
        compare(r.photos.length, 1)
        compare(r.m.sentTexts(), [approach(110, 280), approach(130, 260), "g0 x40 y200\ng0 zMax\n"])
    }

    // Stopped while the marks are searched: the search stops, nothing changes.
    function test_stoppedWhileScanning() {
        var r = rig()
        verify(r.a.creatingTemplatesF())
        r.a.creatingTemplatesF()
        compare(r.stoppedMarks, 1)
        r.m.advance(10000)
        compare(r.photos.length, 0)
        compare(r.elements.map(function(e) { return e.elPhoto }), ["old A", "old B"])
    }

    // A photo the camera does not give: the procedure stops with the
    // operator told; the template of that component is kept.
    function test_noPhotoKeepsTheTemplate() {
        var r = rig()
        r.cameraFault = "noPhoto"
        verify(r.a.creatingTemplatesF())
        r.m.advance(60000)
        compare(r.b.errors.map(function(e) { return e.text }), ["Камера не дала снимок: инспекция остановлена"])
        compare(r.elements.map(function(e) { return e.elPhoto }), ["old A", "old B"])
        compare(r.m.sentTexts(), [approach(110, 280)])
        compare(r.a.kind(), "")
    }

    function test_inspectionOfEveryBoard() {
        var r = rig({ diffs: { A: 3, B: 12 } })
        templatesFit(r)
        verify(r.a.makingAoiF())
        r.m.advance(60000)
        compare(r.a.kind(), "")
        compare(r.m.sentTexts(), [approach(110, 280), approach(130, 260), approach(160, 280), approach(180, 260),
                                  "g0 x40 y200\ng0 zMax\n"])
        // Inspection frames are 1.1 times the component.
        compare(r.clips, ["clip 303,231,35,18,0", "clip 333,218,44,26,90", "clip 303,231,35,18,0",
                          "clip 333,218,44,26,90"])
        compare(r.compares[0], ["tpl A", "clip 303,231,35,18,0", 90, 2])
        compare(r.compares[1], ["tpl B", "clip 333,218,44,26,90", 90, 2])
        compare(r.stored.map(function(s) { return s.object + ":" + s.result.aoiDiff }), ["A0:3", "B0:12", "A1:3", "B1:12"])
        compare(r.stored[1].result.aoiPhoto, "clip 333,218,44,26,90")
        compare(r.stored[1].result.diffPhoto, "mask of clip 333,218,44,26,90")
        compare(r.stored[1].result.aoiShift, { x: 1, y: -2 })
        // The results were cleared once the inspection was allowed.
        compare(r.m.events.filter(function(e) { return e === "clearResults" || e.indexOf("buildList") === 0 }),
                ["buildList:false", "clearResults"])
        // Templates are never touched by an inspection.
        compare(r.elements.map(function(e) { return e.elPhoto }), ["tpl A", "tpl B"])
    }

    // The ending G-code waits for a machine that is busy with something else
    // no more: it is not sent then.
    function test_noEndingWhileBusy() {
        var r = rig()
        templatesFit(r)
        r.m.busy = true
        verify(r.a.makingAoiF())
        r.m.advance(60000)
        compare(r.m.sentTexts().length, 4)
        compare(r.stored.length, 4)
    }

    // ---- the run's "aoi" row

    function runRig(options) {
        var r = rig(options)
        var s = Sequencer.create(r.m.port)
        r.w.rowDriver = s.make
        r.m.attach(s)
        r.m.onRowComplete = s.rowComplete
        r.m.steps.gCodeWait = r.w.gCodeWait
        r.m.steps.aoi = r.a.aoi
        r.b.settings.endingGcode = "g0 x0 y300"
        r.s = s
        r.m.model.append({ op: "Оптическая инспекция", enabled: 1, opFunc: "aoi" })
        r.m.model.append({ op: "Финиш", enabled: 1, opFunc: "gCodeWait", p1: "endingGcode", p2: true })
        return r
    }

    function test_runRowInspectsAndGoesOn() {
        var r = runRig()
        templatesFit(r)
        r.s.startFrom(0)
        r.m.advance(60000)
        compare(r.shown, 1)
        // In a run the marks are measured already: no search.
        compare(r.marks, 0)
        compare(r.stored.length, 4)
        compare(r.m.model.completes(), ["выполнено", "выполнено"])
        compare(r.m.sentTexts(), [approach(110, 280), approach(130, 260), approach(160, 280), approach(180, 260),
                                  "g0 x0 y300\ng0 zMax\n"])
        verify(!r.m.run.executing)
    }

    // An inspection refused at once (no templates) does not hold the run:
    // the row is not done and the run goes on with the next row.
    function test_runRowRefusedGoesOnAtOnce() {
        var r = runRig()
        r.s.startFrom(0)
        r.m.advance(1000)
        compare(r.b.errors.map(function(e) { return e.text }),
                ["Не для всех элементов созданы проверочные шаблоны! Нужно заново создать шаблоны."])
        compare(r.m.model.completes(), ["не выполнено", "выполнено"])
        compare(r.m.sentTexts(), ["g0 x0 y300\ng0 zMax\n"])
        verify(!r.m.run.executing)
    }

    // Stopped after the first photo by the operator: the row is "прервано",
    // no ending G-code of the window, and the run goes on; by the run's
    // stop: nothing more is photographed and nothing goes on. Either way
    // the run's own ending G-code follows.
    function test_runRowStopped_data() {
        return [
            { tag: "by the operator", stop: function(r) { r.a.makingAoiF() },
              completes: ["прервано", "выполнено"] },
            { tag: "by the run", stop: function(r) { r.s.stop("user") }, completes: ["", ""] }
        ]
    }
    function test_runRowStopped(data) {
        var r = runRig()
        templatesFit(r)
        r.s.startFrom(0)
        r.m.advance(10 + 300 + 30 + 5)
        compare(r.stored.length, 1)
        data.stop(r)
        r.m.advance(60000)
        compare(r.stored.length, 1)
        compare(r.a.kind(), "")
        verify(!r.m.run.executing)
        compare(r.m.model.completes(), data.completes)
        compare(r.m.sentTexts(), [approach(110, 280), approach(130, 260), "g0 x0 y300\ng0 zMax\n"])
    }
}

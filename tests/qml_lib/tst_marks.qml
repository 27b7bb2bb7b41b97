import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "FakeBoard.js" as Board
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/marks.js" as Marks

// The steps that use the head camera, against the fake machine and the
// world its head camera sees: the exact blocks sent, the measured marks,
// the panels and dialogs raised, and what happens when the camera fails.
//
// The board: work area X1 10, Y2 400; the camera sees 30 mm left of and
// 20 mm above the nozzle (camera1XShift -30, camera1YShift 20). Mark 0 at
// design (10, 10) lies at machine (20, 390): the camera looks at it from
// (50, 370). Mark 1 at design (110, 80) lies at machine (120, 320), seen
// from (150, 300).
TestCase {
    name: "Marks"

    function rig(options) {
        var m = Fake.create({ blockMode: "auto", blockMs: 10 })
        var b = Board.extend(m, options)
        var w = Waiters.create(m.port)
        var k = Marks.create(m.port, w)
        m.attach({ positionGet: w.positionGet, pauseGet: w.pauseGet, homedGet: w.homedGet,
                   stopAll: function() { w.stopAll(); k.stopAll() } })
        return { m: m, b: b, w: w, k: k }
    }
    function counter() {
        var c = function(ok) { c.count++; c.args.push(ok) }
        c.count = 0
        c.args = []
        return c
    }
    function ref() {
        return { "type": 0, "indiv": false, "size": 1.2, "size2": 1.2, "roi": 40, "t1": 140, "t2": 90,
                 "inv": false, "photo": "", "templateMathCoeff": 80 }
    }
    function preview(rX, rY) {
        return { "ref": ref(), "rX": rX, "rY": rY, "row": 0, "col": 0, "used": true,
                 "fidX": -1000, "fidY": -1000 }
    }
    // A board with marks 0 and 1, lying moved by (dx, dy) from the design.
    function board(r, dx, dy) {
        r.b.job.refListMulti = [preview(10, 10), preview(110, 80)]
        r.b.marks = [{ "x": 20 + dx, "y": 390 + dy }, { "x": 120 + dx, "y": 320 + dy }]
        return r.b.job.refListMulti
    }
    function refMove(x, y) { return "m65 p4\ng0 zMax\n g0 x" + x + " y" + y + "\n\ng0 zMax\n" }
    function near(actual, expected, what) {
        verify(Math.abs(actual - expected) < 1e-6, what + ": " + actual + " instead of " + expected)
    }
    function measured(mark, x, y, what) {
        near(mark.fidX, x, what + " X")
        near(mark.fidY, y, what + " Y")
    }
    function panelNames(b) { return b.panels.map(function(p) { return p.name }) }
    // Runs the mark search for a minute on the clock; returns its continuation.
    function search(r) {
        var f = counter()
        r.k.findRefPoints(f)
        r.m.advance(60000)
        return f
    }

    // ---- findRefPoints

    // A mark seen 1.2 mm from the camera centre is measured again after
    // centring; the later mark is looked for where the first one was found.
    function test_foundAfterRecentring() {
        var r = rig()
        var list = board(r, 1.2, -0.5)
        var f = search(r)
        compare(r.m.sentTexts(), [refMove("50.000", "370.000"), refMove("51.200", "369.500"),
                                  refMove("151.200", "299.500")])
        compare(r.b.requests.length, 9)
        measured(list[0], 21.2, 389.5, "mark 0")
        measured(list[1], 121.2, 319.5, "mark 1")
        // The first mark is 1.7 mm off: the board-move dialog asks.
        compare(r.b.dialogs.length, 1)
        compare(r.b.dialogs[0].values.title, "Обнаружен сдвиг")
        compare(r.b.dialogs[0].values.text, "Обнаружен сдвиг первого реперного знака по X: -1.20 по Y: 0.50.\n"
                + "Подвинуть плату в проекте на соответствующее расстояние?\n"
                + "Если плата установлена правильно, рекомендуется согласиться.")
        compare(f.count, 0)
        r.b.answer("yes")
        r.m.advance(1000)
        compare(f.count, 1)
        compare(r.b.boardMoves.length, 1)
        near(r.b.boardMoves[0][0], 1.2, "board move X")
        near(r.b.boardMoves[0][1], 0.5, "board move Y")
    }

    function test_boardMoveDialog_data() {
        return [
            { tag: "0.15 mm off: no dialog", dx: 0.15, dialog: false, answer: "", calls: 1, moves: 0, stop: false },
            { tag: "0.25 mm off, no", dx: 0.25, dialog: true, answer: "no", calls: 1, moves: 0, stop: false },
            { tag: "0.25 mm off, cancel", dx: 0.25, dialog: true, answer: "cancel", calls: 0, moves: 0, stop: true },
        ]
    }
    function test_boardMoveDialog(data) {
        var r = rig()
        board(r, data.dx, 0)
        var f = search(r)
        compare(r.b.dialogs.length, data.dialog ? 1 : 0)
        if (data.dialog) {
            compare(r.m.events.indexOf("camera:stop"), -1)
            r.b.answer(data.answer)
            r.m.advance(1000)
        }
        compare(f.count, data.calls)
        compare(r.b.boardMoves.length, data.moves)
        compare(r.m.events.indexOf("stopByOperator") >= 0, data.stop)
        compare(r.m.sent.length, 2)
    }

    // The first mark is not found: the run waits at the panel with the mark
    // counted as not found. Never centred: one move to the mark and ten
    // centring moves before that.
    function test_cameraFails_data() {
        return [
            { tag: "camera never answers", fault: "silent" },
            { tag: "never centred", fault: "alwaysOff", moves: 10 },
        ]
    }
    function test_cameraFails(data) {
        var r = rig({ cameraFault: data.fault })
        var list = board(r, 0, 0)
        var f = search(r)
        var expected = [refMove("50.000", "370.000")]
        for (var i = 1; i <= (data.moves || 0); ++i)
            expected.push(refMove((50 + 1.2 * i).toFixed(3), "370.000"))
        compare(r.m.sentTexts(), expected)
        compare(panelNames(r.b), ["refNotFound"])
        compare(list[0].fidX, 0)
        compare(list[0].fidY, 0)
        compare(list[1].fidX, -1000)
        compare(r.b.rowErrors, 1)
        compare(f.count, 0)
        if (data.moves)
            compare(r.m.logs[r.m.logs.length - 1].color, "red")      // the centring gave up
        verify(r.m.events.indexOf("camera:crossHair:true") >= 0)
    }

    // "Повторить поиск" at the panel looks again: the first picture found
    // nothing, the later ones find the mark and the search goes on.
    function test_refPanelRetry() {
        var r = rig({ cameraFault: "lateFound" })
        r.b.lateCount = 1
        var list = board(r, 0, 0)
        var f = search(r)
        compare(r.b.panels.length, 1)
        r.b.press("retry")
        r.m.advance(60000)
        compare(f.count, 1)
        compare(r.b.requests.length, 7)
        measured(list[0], 20, 390, "mark 0")
        compare(r.m.sentTexts(), [refMove("50.000", "370.000"), refMove("150.000", "300.000")])
        compare(r.b.panels.length, 1)
        compare(r.b.rowErrors, 1)
    }

    // Unused marks are not measured.
    function test_unusedMarkSkipped() {
        var r = rig()
        var list = board(r, 0, 0)
        list.push(preview(60, 40))
        list[1].used = false
        r.b.marks.push({ "x": 70, "y": 360 })
        var f = search(r)
        compare(f.count, 1)
        compare(r.m.sentTexts(), [refMove("50.000", "370.000"), refMove("100.000", "340.000")])
        compare(list[1].fidX, -1000)
        near(list[2].fidX, 70, "mark 2 X")
        compare(r.m.rows, ["0 из 3", "1 из 3", "3 из 3"])
    }

    // On the inspection check screen the camera travels with the speed
    // prefix: gentle acceleration to the first mark, full to the others.
    function test_checkScreenMoves() {
        var r = rig()
        r.b.checkScreen = true
        board(r, 0, 0)
        search(r)
        compare(r.m.sentTexts(), ["g0 zMax\ng1 f15000  acc200  x50.000 y370.000\n\ng0 zMax\n",
                                  "g0 zMax\ng0  x150.000 y300.000\n\ng0 zMax\n"])
    }

    function test_homesFirstWhenNotCalibrated() {
        var r = rig()
        r.m.homedAndCalibrated = false
        board(r, 0, 0)
        var f = counter()
        r.k.findRefPoints(f)
        compare(r.m.events.slice(0, 3), ["vacuumStart", "clearHomed", "home"])
        r.m.advance(60000)
        compare(f.count, 1)
        compare(r.m.sent.length, 2)
    }

    function test_stoppedSearchDoesNothingMore() {
        var r = rig()
        board(r, 1.2, 0)
        var f = counter()
        r.k.findRefPoints(f)
        r.m.advance(700)
        var sent = r.m.sent.length
        r.m.stopAll()
        r.m.advance(60000)
        compare(r.m.sent.length, sent)
        compare(f.count, 0)
        compare(r.b.panels.length, 0)
        compare(r.b.dialogs.length, 0)
    }

    // ---- solder dots

    function dotRig(type, fidShift) {
        var r = rig()
        var m0 = { "refId": 4, "previews": [[preview(10, 10)]] }
        var m1 = { "refId": 7, "previews": [[preview(110, 80)]] }
        m0.previews[0][0].fidX = 20 + fidShift[0]
        m0.previews[0][0].fidY = 390 + fidShift[1]
        m1.previews[0][0].fidX = 120 + fidShift[0]
        m1.previews[0][0].fidY = 320 + fidShift[1]
        r.b.job.refList = [m0, m1]
        r.b.job.feeders = { "U2": { "type": type, "gCode": "m64 p8\ng4 p0.1\nm65 p8" } }
        function dot(rX, rY) {
            return { "dot": { "preferredRef1": -1, "preferredRef2": -1 }, "model": "U", "index": 2, "rX": rX, "rY": rY }
        }
        r.b.job.dotAA = [[dot(40, 30), dot(45, 30), dot(45, 35.5)]]
        return r
    }
    function dotBlock(x, y) { return "g0 zMax\ng0 x" + x + " y" + y + "\nm64 p8\ng4 p0.1\nm65 p8\ng0 zMax\n\ng0 zMax\n" }

    // Dot (40, 30) lies at machine (50, 370); the board is moved by
    // (0.5, -0.3); the camera offset is (-30, 20).
    function test_setupDots() {
        var r = dotRig(6, [0.5, -0.3])
        var f = counter()
        r.k.setupDots(0, f)
        r.m.advance(60000)
        compare(r.m.sentTexts(), [dotBlock("75.500", "343.700"), dotBlock("80.500", "343.700"),
                                  dotBlock("80.500", "338.200")])
        compare(r.m.sent.map(function(s) { return s.safeH }), [true, true, true])
        compare(r.m.rows, ["0", "1", "2", "3"])
        compare(f.count, 1)
    }

    // One block at a time: the next dot goes only when the last is done.
    function test_setupDotsOneAtATime() {
        var r = dotRig(6, [0, 0])
        r.m.blockMode = "manual"
        var f = counter()
        r.k.setupDots(0, f)
        compare(r.m.sent.length, 1)
        r.m.finishBlock(true)
        compare(r.m.sent.length, 2)
        r.m.stopAll()
        r.m.finishBlock(true)
        compare(r.m.sent.length, 2)
        compare(f.count, 0)
    }

    function test_setupDotsRefused() {
        var r = dotRig(6, [0, 0])
        r.b.job.refList[1].previews[0][0].fidX = 0
        r.b.job.refList[1].previews[0][0].fidY = 0
        var f = counter()
        r.k.setupDots(0, f)
        r.m.advance(60000)
        compare(r.m.sent.length, 0)
        compare(r.m.failures, ["Реперный знак X: 120.00 Y: 320.00 не найден: коррекция положения платы невозможна"])
        compare(f.count, 0)
    }

    // ---- calibration mark

    // The camera over calibX 100, calibY 50 sees the point (70, 70).
    function calibRig(offX, offY, options) {
        var r = rig(options)
        r.b.marks = [{ "x": 70 + offX, "y": 70 + offY }]
        return r
    }
    readonly property string shortMove: "m65 p4\ng1 f6000   acc75  zMax\ng1 f15000  acc150  xCalib yCalib\n\ng0 zMax\n"

    function test_calibrate_data() {
        return [
            { tag: "short, 0.3 mm off: accepted", shortForm: true, off: [0.3, -0.2], ok: true, rel: [0.3, -0.2],
              safeH: [true, false, false, true],
              sent: [shortMove, "g0 x100.300 y49.800\ng0", "g0 x100.300 y49.800\ng0", "g0 zMax\n\ng0 zMax\n"] },
            { tag: "short, 2.5 mm off: refused", shortForm: true, off: [2.5, 0], ok: false, rel: [0, 0],
              safeH: [true, false, false, true],
              sent: [shortMove, "g0 x102.500 y50.000\ng0", "g0 x102.500 y50.000\ng0", "g0 zMax\n\ng0 zMax\n"] },
            { tag: "short, 2.5 mm off in Y: refused", shortForm: "justCalibrate", off: [0, -2.5], ok: false,
              rel: [0, 0], safeH: [true, false, false, true],
              sent: [shortMove, "g0 x100.000 y47.500\ng0", "g0 x100.000 y47.500\ng0", "g0 zMax\n\ng0 zMax\n"] },
            { tag: "full, with the G-code after", shortForm: false, off: [0.3, 0], ok: true, rel: [0.3, 0],
              after: "g0 x10 y10", safeH: [true, false, false, true, true],
              sent: ["m65 p4\ng0 x100 y50\ng0 zMax\n", "g0 x100.300 y50.000\ng0", "g0 x100.300 y50.000\ng0",
                     "g0 zMax\n\ng0 zMax\n", "g0 x10 y10\ng0 zMax\n"] },
        ]
    }
    function test_calibrate(data) {
        var r = calibRig(data.off[0], data.off[1], { settings: { "afterCalibGcode": data.after || "" } })
        var done = counter()
        r.k.calibrate(data.shortForm, done)
        r.m.advance(60000)
        compare(r.m.sentTexts(), data.sent)
        // Centring moves go without the safe-height check, the rest with it.
        compare(r.m.sent.map(function(s) { return s.safeH }), data.safeH)
        compare(done.args, [data.ok])
        near(r.b.rel.x, data.rel[0], "relX")
        near(r.b.rel.y, data.rel[1], "relY")
        compare(r.b.calib.calibrated, data.ok)
        compare(r.b.calib.calibrating, false)
        compare(r.b.calib.found, true)
        if (data.ok) {
            compare(r.b.errors, [])
            verify(r.m.events.indexOf("homedAndCalibrated:false") < 0)
        } else {
            compare(r.b.errors.map(function(e) { return e.text }), ["Ошибка при поиске калибровочного знака!"])
            verify(r.m.events.indexOf("homedAndCalibrated:false") >= 0)
            compare(r.m.logs[0].color, "red")
        }
        if (data.shortForm !== false)
            compare(r.m.calibXY, { "x": 100, "y": 50 })
        compare(r.m.events.filter(function(e) { return e.indexOf("camera:") === 0 }),
                ["camera:start", "camera:stop"])
    }

    function test_calibrateFails() {
        var r = calibRig(0, 0, { cameraFault: "blind" })
        var done = counter()
        r.k.calibrate(true, done)
        r.m.advance(120000)
        compare(done.args, [false])
        compare(r.m.sentTexts()[1], "g0 zMax\n\ng0 zMax\n")
        compare(r.m.sent.length, 2)
        compare(r.b.rel, { "x": 0, "y": 0 })
        verify(r.m.events.indexOf("homedAndCalibrated:false") >= 0)
        compare(r.b.calib.calibrated, false)
    }

    function test_calibrateDisabled_data() {
        return [
            { tag: "short form", shortForm: true, ok: false },
            { tag: "full form", shortForm: false, ok: true },
        ]
    }
    function test_calibrateDisabled(data) {
        var r = calibRig(0, 0)
        r.m.calibrationEnabled = false
        r.b.rel = { "x": 1, "y": 1 }
        var done = counter()
        r.k.calibrate(data.shortForm, done)
        compare(done.args, [data.ok])
        compare(r.m.sent.length, 0)
        compare(r.b.rel, data.ok ? { "x": 0, "y": 0 } : { "x": 1, "y": 1 })
    }

    // ---- second calibration mark

    function test_toSecondCalibSign_data() {
        // The camera over (300, 50) sees the point (270, 70).
        return [
            { tag: "in place", off: [0.3, 0.2], ok: true, error: "" },
            { tag: "X 1.5 mm off", off: [1.5, 0], ok: false,
              error: "Калибровочный знак смещен по оси X! Обратитесь в службу поддержки." },
            { tag: "Y 0.7 mm off", off: [0, -0.7], ok: false,
              error: "Калибровочный знак смещен на 0.70мм. Натяжение ремней оси Y некорректно. Оси X и Y неперпендикулярны!" },
            { tag: "not found", off: [20, 0], ok: false, error: "Калибровочный знак не найден!" },
        ]
    }
    function test_toSecondCalibSign(data) {
        var r = rig()
        r.b.marks = [{ "x": 270 + data.off[0], "y": 70 + data.off[1] }]
        var f = counter()
        r.k.toSecondCalibSign(true, f)
        r.m.advance(60000)
        compare(r.m.sentTexts(), ["g0 zMax\nG0 X300.000 Y50.000\n\ng0 zMax\n"])
        compare(r.m.sent[0].safeH, true)
        compare(f.args, [data.ok])
        compare(r.b.errors.map(function(e) { return e.text }), data.error ? [data.error] : [])
        compare(r.m.events[0], "dout:4:false")
    }

    // ---- centring on a mark

    // The camera at (100, 50) sees the point (70, 70) 0.004 mm off: one
    // encoder step (1/200 = 0.005 mm) brings it to the centre.
    function test_centerAtRef() {
        var r = calibRig(0.004, -0.004)
        r.m.setPosition({ x: 100, y: 50 })
        var f = counter()
        r.k.centerAtRef(true, f)
        r.m.advance(60000)
        compare(r.m.sentTexts(), ["g0 x++0.005 y--0.005\ng0"])
        compare(r.m.sent[0].safeH, false)
        compare(f.args, [true])
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/pickTexts.js" as PT
import "JobRig.js" as J

// The G-code texts of picking: every feeder kind, the move to the component
// camera and the basket drop, asserted as exact texts; and the refusals of
// the nozzle change.
TestCase {
    name: "PickTexts"

    // Machine maxima X 100, Y 80, Z 50 units/s; 1000, 800, 500 units/s².
    // At 100 % everything is "g0 "; xySpeed(100, 15) is "g1 f6000  acc150 ",
    // zSpeed(100, 15) "g1 f3000   acc75 ", xySpeed(2, 2) "g1 f120  acc20 ".
    function env(extra) {
        var e = { "maxVel": [100, 80, 50], "maxAcc": [1000, 800, 500], "acc": 100, "zTravel": 40,
                  "vacuumDelay": 0.2, "slowPickPlaceSpeed": 6000, "relativeVacuum": false, "side": "B",
                  "shift1": 0.15, "shift2": 0.07 }
        return J.merged(e, extra)
    }
    // Nozzle 30 mm long pressing 0.5 mm: a 1 mm part on a floor at height
    // h is taken at h + 30.5.
    function nozzle(extra) {
        return J.merged({ "cupLength": 30, "press": 0.5 }, extra)
    }
    function feeder(extra) {
        return J.merged({ "elThickness": 1, "elWidth": 2, "elHeight": 1.2, "maxAcc": 100, "slowPick": false,
                        "rot": 0, "caseX": 100, "caseY": 50, "caseZ": 5 }, extra)
    }
    // Descent to z (3 decimals), vacuum and the rise to 40 at full speed.
    function tail(z) { return ["g0 z" + z, "m64 p1", "g4 p0.200", "g0  z40.0"] }
    function refusedWith(r, error) {
        compare(r.ok, false)
        compare(r.error, error)
        compare(r.text, undefined)
    }
    readonly property string numberError: "Неверное число в G-коде взятия компонента: взятие не выполнено"

    // ---- tray

    // The approach at the travel height, the move to `at` and the pick at z
    // (a part in a tray with its floor at 5: 35.5).
    function pick(at, z) { return ["g0 z40.0", "g0  " + at + " a0.0"].concat(tail(z || "35.500")) }
    // The row's text, or the row's refusal when it names an error.
    function check(r, data) {
        if (data.error !== undefined) {
            refusedWith(r, data.error)
            return
        }
        verify(r.ok, String(r.error))
        compare(r.text, typeof data.text === "string" ? data.text : J.lines(data.text))
    }

    function test_tray_data() {
        var rows = "Неверное число рядов поддона: взятие не выполнено"
        return [
            { tag: "past the last cell stays on the last", cell: 99, text: pick("x120 y80") },
            { tag: "relative vacuum control samples before the pick", e: { relativeVacuum: true },
              f: { caseCurrNumber: 0 },
              text: ["g0 z40.0", "g0  x100 y50 a0.0", "(vsMeasureBeforeGet)"].concat(tail("35.500")) },
            { tag: "soft pick", f: { slowPick: true, caseCurrNumber: 0 },
              text: ["g0 z40.0", "g0  x100 y50 a0.0", "g0 z38.00", "g1 f6000 z--2.50", "m64 p1", "g4 p0.200",
                     "g1 f6000 z++2.50", "g0  z40.0"] },
            { tag: "lowered feeder acceleration on the rise", f: { maxAcc: 50, caseCurrNumber: 0 },
              text: ["g0 z40.0", "g0  x100 y50 a0.0", "g0 z35.500", "m64 p1", "g4 p0.200",
                     "g1 f3000   acc250  z40.0"] },
            { tag: "no rows", f: { caseRowsX: 0 }, error: rows },
            { tag: "corner not a number", f: { caseX: NaN }, error: numberError },
        ]
    }
    function test_tray(data) {
        var f = feeder(J.merged({ cutX2: 120, cutY2: 80, caseRowsX: 3, caseRowsY: 4,
                                  caseCurrNumber: data.cell }, data.f))
        check(PT.trayText(f, nozzle(data.n), env(data.e)), data)
    }

    // ---- strip: (10, 20) to (10, 60), parts 4 mm apart, floor at 2

    function test_strip_data() {
        var ends = "Неверный шаг или концы отрезка ленты: взятие не выполнено"
        // Aligned: the move beside the part, and after the vacuum the push
        // back across it.
        function aligned(at, back) {
            return ["g0 z40.0", "g0  " + at + " a0.0", "g0 z32.500", "m64 p1", "g4 p0.200",
                    "g0 " + back, "g0  z40.0"]
        }
        return [
            { tag: "fourth part", f: { caseCurrNumber: 3 },
              text: pick("x10.000 y32.000", "32.500") },
            { tag: "41 mm strip spreads 11 parts evenly", f: { cutY2: 61, caseCurrNumber: 3 },
              text: pick("x10.000 y32.300", "32.500") },
            { tag: "past the end stays on the last part", f: { caseCurrNumber: 30 },
              text: pick("x10.000 y60.000", "32.500") },
            { tag: "aligned on a right bank", e: { side: "R" }, f: { shiftEnabled: true, caseCurrNumber: 3 },
              text: aligned("x10.000 y32.180", "x10.000 y31.916") },
            { tag: "no pitch", f: { cutDistance: 0 }, error: ends },
        ]
    }
    function test_strip(data) {
        var f = feeder(J.merged({ caseX: 10, caseY: 20, cutX2: 10, cutY2: 60, cutDistance: 4, caseZ: 2 }, data.f))
        check(PT.stripText(f, nozzle(), env(data.e)), data)
    }

    // ---- G-code feeder

    readonly property var target: ({ "x": 120.5, "y": 80.25, "z": 3.2, "a": -90 })

    function test_gcodeFeeder_data() {
        var xya = "G0 (X) (Y) (A)"
        return [
            { tag: "a part for the camera drops the placeholders", g: "G0 (X) (Y) (A)\nG0 (Z)", camera: true,
              text: ["g0   ", "g0 ", "g0  z40.0"] },
            { tag: "no target", g: xya, t: null, error: numberError },
        ]
    }
    function test_gcodeFeeder(data) {
        var t = data.t === undefined ? target : data.t
        check(PT.gcodeFeederText(feeder({ gCode: data.g }), t, data.camera === true, env()), data)
    }

    // ---- tape
    // Bank at the bottom, floor 3 (pick at 33.5), shifts of 1 ... 2
    // perforations; the 1-step shift G-code uses the pick point.

    function bank(extra) {
        return J.merged({ "position": 0, "maxShift": 1, "zShift": 3, "g1": "G0 (xGet) (yGet) B++4", "g2": "G0 B++8",
                        "g3": "G0 B++12", "g4": "G0 B++16", "g1p2c": "", "g2p2c": "", "yRoundEnabled": false,
                        "yRound": 200 }, extra)
    }
    function tapeFeeder(extra) {
        return feeder(J.merged({ "bandStep": 1, "bandSemiStep": 0, "bankNumber": 0, "bandWidth": 0,
                               "release2Comps": false, "release2CompsDone": false, "noShiftOnStartDone": false,
                               "shiftEnabled": false }, extra))
    }
    // Approach, shift lines, the move to (x, y) and the pick.
    function tapeText(x, y, shifts) {
        return ["g0 z40.0", "g0  x" + x + " y" + y + " a0.0"].concat(shifts)
            .concat(["g0  x" + x + " y" + y]).concat(tail("33.500"))
    }
    function repeated(line, n) {
        var list = []
        for (var i = 0; i < n; ++i)
            list.push(line)
        return list
    }
    function missing(steps, bankNumber) {
        return "Не задан G-код сдвига ленты на " + steps + " шаг(а) в банке ленточных питателей №"
                + bankNumber + ": взятие не выполнено"
    }

    function test_tape_data() {
        var one = "g0 x100.000 y50.000 b++4"
        return [
            { tag: "widest tape on a bottom bank comes from the left", f: { bandWidth: 5 },
              text: ["g0 z40.0", "g0  x90.000 y50.000 a0.0", one, "g0  x100.000 y50.000"].concat(tail("33.500")) },
            { tag: "detour over yRound on a bottom bank", b: { yRoundEnabled: true, yRound: 200 },
              text: ["g0 z40.0", "g0  y200.000  a0.0", "g0 x100.000", "g0 y50.000", one, "g0  x100.000 y50.000"]
                    .concat(tail("33.500")).concat(["g0  y200.000"]) },
            { tag: "aligned on a bottom bank", e: { side: "B" }, f: { shiftEnabled: true },
              text: ["g0 z40.0", "g0  x100.000 y50.000 a0.0", one, "g0  x100.300 y50.000", "g0 z33.500", "m64 p1",
                     "g4 p0.200", "g0 x99.860 y50.000", "g0  z40.0"] },
            { tag: "steps cut to 50", f: { bandStep: 100 }, b: { maxShift: 3 },
              text: tapeText("100.000", "50.000", repeated("g0 b++16", 12).concat(["g0 b++8"])) },
            { tag: "2-step shift missing", f: { bandStep: 3 }, b: { g2: "" },
              error: missing(2, 1) },
            { tag: "no bank record", f: { bankNumber: 1 }, b: null,
              error: "Банк ленточных питателей №2 не настроен: взятие не выполнено" },
            { tag: "bank position out of range", b: { position: 4 },
              error: "Неверное положение банка ленточных питателей №1: взятие не выполнено" },
        ]
    }
    function test_tape(data) {
        var b = data.b === null ? null : bank(data.b)
        var r = PT.tapeText(tapeFeeder(data.f), b, nozzle(), env(data.e))
        check(r, data)
        if (data.error !== undefined)
            return
        compare(r.jog, null)
        compare(r.advanced, true)
        compare(r.state.lastGetX, 100)
        compare(r.state.lastGetY, 50)
    }

    // How much of the tape is released per pick: half a perforation
    // (bandStep 0), none for a first part already released at the start,
    // or two parts at once (release2Comps). The text goes to (x, y) with
    // `shifts`; `state` holds what the feeder keeps for the next pick.
    function test_tapeRelease_data() {
        var one = "g0 x100.000 y50.000 b++4"
        var more = { morePlacements: true }, last = { morePlacements: false }
        var pair = { release2Comps: true }
        var second = { release2Comps: true, release2CompsDone: true }
        var cover = { g2p2c: "G0 C++8" }
        function released(done) {
            return { noShiftOnStartDone: done, release2Comps: true, release2CompsDone: true }
        }
        function pairDone(v) { return { release2CompsDone: v } }
        function jog(axis) {
            return { "axis": axis, "direction": true, "speed": 20, "distance": 12 }
        }
        function halfJog(axis) {
            return { "axis": axis, "direction": true, "speed": 10, "distance": 6 }
        }
        function halfCover(position) { return { position: position, g1p2c: "G0 (yGet) C++2" } }
        var secondHalf = { bandStep: 0, bandSemiStep: 1 }
        return [
            { tag: "half pitch: advance with the cover-tape shift", f: { bandStep: 0 },
              b: { g1p2c: "G0 C++2" }, shifts: ["g0 c++2"], state: { bandSemiStep: 1 } },
            { tag: "half pitch: the part 2 mm on, no cover-tape jog without its shift",
              f: { bandStep: 0, bandSemiStep: 1 }, y: 48, shifts: [], state: { bandSemiStep: 0 } },
            // 2 mm on in the direction the bank feeds, the cover tape jogged.
            { tag: "half pitch on an upper bank", f: secondHalf, b: halfCover(1), y: 52, shifts: [],
              state: { bandSemiStep: 0 }, jog: halfJog(5) },
            // A first part released at the start: the first pick of the run
            // does not advance, and taking it starts a fresh pair.
            { tag: "first part released: the first pick stays", e: { noShiftOnStart: true },
              f: released(false), b: { maxShift: 0 }, shifts: [], advanced: false,
              state: { noShiftOnStartDone: true, release2CompsDone: false } },
            { tag: "first of a pair on a bottom bank: 4 mm on, two-step shift", f: pair, e: more,
              b: cover, y: 54, shifts: ["g0 c++8"], state: pairDone(true) },
            { tag: "second of a pair: no shift, cover-tape jog", f: second, e: more, b: cover,
              shifts: [], state: pairDone(false), jog: jog(4) },
            { tag: "last placement of the group: single release", f: pair, e: last, shifts: [one],
              state: pairDone(false) },
        ]
    }
    function test_tapeRelease(data) {
        var r = PT.tapeText(tapeFeeder(data.f), bank(data.b), nozzle(), env(data.e))
        verify(r.ok, String(r.error))
        var x = data.x === undefined ? 100 : data.x, y = data.y === undefined ? 50 : data.y
        compare(r.text, J.lines(tapeText(x.toFixed(3), y.toFixed(3), data.shifts)))
        compare(r.jog, data.jog || null)
        compare(r.state.lastGetX, x)
        compare(r.state.lastGetY, y)
        for (var k in data.state)
            compare(r.state[k], data.state[k], k)
        if (data.advanced !== undefined)
            compare(r.advanced, data.advanced)
    }

    // ---- vibration feeder: floor 4, pick at 34.5, approach 2 mm longer

    function test_vibration_data() {
        var gcode = { pwm: false, g1: "M64 P6\nG4 P0.5 (xGet) (yGet)\nM65 P6", zShift: 4 }
        var pick = ["g0  x100.000 y50.000 a0.0"].concat(tail("34.500"))
        var shake = ["g0 z40.0", "m64 p6", "g4 p0.5 x100.000 y50.000", "m65 p6",
                     "g0  x100.000 y50.000 a0.0"]
        var pwm = "Неверные параметры ШИМ банка вибропитателей: взятие не выполнено"
        return [
            { tag: "vibration by G-code", b: gcode, pwm: null,
              text: ["g0 z40.0", "m64 p6", "g4 p0.5 x100.000 y50.000", "m65 p6"].concat(pick) },
            { tag: "vibration by PWM", b: { pwm: true, pwmFreq: 20, pwmDutyCycle: 35, pwmLength: 2.5, zShift: 4 },
              pwm: { "freq": 20, "dutyCycle": 35, "length": 2.5 }, text: pick },
            { tag: "freeing the part", b: gcode, f: { releaseEl: true }, pwm: null,
              text: shake.concat(["g0 z34.500", "m64 p1", "g4 p0.200", "g1 f120  acc20  x++1",
                                  "g1 f120  acc20  x--0.7", "g0  z40.0"]) },
            { tag: "no bank record", b: null, error: "Банк вибропитателей не настроен: взятие не выполнено" },
            { tag: "PWM length not a number", b: { pwm: true, pwmFreq: 20, pwmDutyCycle: 50, pwmLength: "" },
              error: pwm },
        ]
    }
    function test_vibration(data) {
        var r = PT.vibrationText(feeder(data.f), data.b, nozzle(), env())
        check(r, data)
        if (data.error === undefined)
            compare(r.pwm, data.pwm)
    }

    // ---- loose parts: the head camera sits 30 mm right of and 20 mm
    // below the nozzle's line

    function looseEnv(extra) {
        return env(J.merged({ "camera1XShift": 30, "camera1YShift": -20 }, extra))
    }

    function test_placerWindows_data() {
        return [
            { tag: "empty and non-numeric entries skipped", x: "10  abc 20 ", y: " 5 - 6", w: [[10, 5], [20, 6]] },
        ]
    }
    function test_placerWindows(data) {
        compare(PT.placerWindows(data.x, data.y).map(function(w) { return [w.x, w.y] }), data.w)
    }

    // The window and look moves themselves: the loose-part step cases.
    function test_placerMovesRefused() {
        refusedWith(PT.placerWindowText({ "x": NaN, "y": 50 }, looseEnv()), numberError)
        refusedWith(PT.placerLookText(100, 50, looseEnv({ camera1YShift: "" })), numberError)
    }

    function test_placerPick_data() {
        var own = { customPickPoint: true, aShift: 1, bShift: 2 }
        // The pick at `at` turned to a, and the carry at full acceleration.
        function at(xy, a) {
            return ["g0 z40.0", "g0  " + xy + " a" + a].concat(tail("35.500")).concat(["g0 "])
        }
        return [
            { tag: "contour search ignores the own pick point", f: { placerType: 0, packageSettings: own },
              found: { x: 100, y: 50, angle: 90 }, text: at("x100.000 y50.000", "0.00"),
              x: 100, y: 50, a: 0 },
            { tag: "relative vacuum sampled once, before the move", f: { placerType: 0 }, e: { relativeVacuum: true },
              found: { x: 100, y: 50, angle: 0 },
              text: ["g0 z40.0", "(vsMeasureBeforeGet)", "g0  x100.000 y50.000 a0.00"].concat(tail("35.500"))
                    .concat(["g0 "]), x: 100, y: 50, a: 0 },
            { tag: "position not a number", found: { x: NaN, y: 50, angle: 0 },
              f: { placerType: 0 }, error: numberError },
        ]
    }
    function test_placerPick(data) {
        var r = PT.placerPickText(data.found, feeder(data.f), nozzle(), looseEnv(data.e))
        check(r, data)
        if (data.error !== undefined)
            return
        verify(Math.abs(r.x - data.x) < 1e-9, "x " + r.x)
        verify(Math.abs(r.y - data.y) < 1e-9, "y " + r.y)
        compare(r.a + 0, data.a)
    }

    // ---- to the component camera at (300, 20): lowest 5, camera 10 high

    function cameraEnv(extra) {
        return env(J.merged({ "cameraX": 300, "cameraY": 20, "cameraMinHeight": 5, "cameraHeight": 10,
                            "workAreaX1": 0, "workAreaY1": 0, "workAreaZ2": 60, "preCameraGcode": "M64 P8" }, extra))
    }

    function test_cameraMove_data() {
        var border = "Перемещение для центрирования компонента выходит за допустимые границы!"
        var number = "Неверное число в G-коде перемещения к камере: перемещение не выполнено"
        // With the before-camera G-code, over the camera at `at`, down to z.
        function over(at, z) {
            return ["m64 p4", "g0 ", "M64 P8", "g0  z40.0", "g0  " + at, "g0  z" + z]
        }
        return [
            { tag: "turned for centring", x: 299.5, y: 20.25, a: 90,
              text: over("x299.500 y20.250 a90.00", "46.000") },
            { tag: "feeder's lowest above the camera's", x: 300, y: 20, f: { centeringZ: 8 },
              text: over("x300.000 y20.000", "49.000") },
            { tag: "capped by the work area", x: 300, y: 20, e: { workAreaZ2: 45 },
              text: over("x300.000 y20.000", "45.000") },
            { tag: "no before-camera G-code, feeder at 50 %", x: 300, y: 20, a: 0,
              f: { maxAcc: 50 }, e: { preCameraGcode: "" },
              text: ["m64 p4", "g1 f6000  acc500 ", "g1 f3000   acc250  z40.0", "g1 f6000  acc500  x300.000 y20.000 a0.00",
                     "g1 f3000   acc250  z46.000"] },
            { tag: "25 mm off is still over the camera", x: 325, y: -5, e: { workAreaY1: -10 },
              text: over("x325.000 y-5.000", "46.000") },
            { tag: "more than 25 mm off in X", x: 325.5, y: 20, error: border },
            { tag: "angle not a number", x: 300, y: 20, a: NaN, error: number },
        ]
    }
    function test_cameraMove(data) {
        var a = data.a === undefined ? null : data.a
        var f = feeder(J.merged({ centeringZ: 2 }, data.f))
        check(PT.cameraMoveText(data.x, data.y, a, f, nozzle(), cameraEnv(data.e)), data)
    }

    // ---- basket

    function test_basket_data() {
        var noMove = "G-код сброса в корзину не содержит перемещения по X или Y: "
                + "компонент не сброшен"
        return [
            { tag: "feeder at 50 %", e: { feederMaxAcc: 50 },
              text: "g1 f3000   acc250  zMax\ng1 f6000  acc500 \ng0 x470 y120\n\nm65 p1" },
            { tag: "relative move", e: { feederMaxAcc: null, basketGcode: "G0 Y--30" },
              text: "g0 zMax\nG0 Y--30\nm65 p1" },
            { tag: "absolute move to zero", e: { feederMaxAcc: null, basketGcode: "G0 X0 Y0" },
              text: "g0 zMax\nG0 X0 Y0\nm65 p1" },
            { tag: "move with a decimal comma after a comment", e: { feederMaxAcc: null, basketGcode: "(basket) G0 X,5" },
              text: "g0 zMax\n(basket) G0 X,5\nm65 p1" },
            { tag: "height only", e: { basketGcode: "G0 Z10\nG0 zMax" }, error: noMove },
            { tag: "machine maxima unknown",
              e: { basketGcode: "G0 X10", feederMaxAcc: 50, maxVel: [] },
              error: "Неверное число в G-коде сброса в корзину: компонент не сброшен" },
        ]
    }
    function test_basket(data) {
        var e = env(J.merged({ basketGcode: "g0 x470 y120\n", feederMaxAcc: 100 }, data.e))
        check(PT.basketText(e), data)
    }

    // ---- nozzle change

    readonly property var nozzles: [
        { "takeM": "take 1", "setupM": "back 1" },
        { "takeM": "take 2", "setupM": "back 2" },
        { "takeM": "take 3", "setupM": "back 3" },
        { "takeM": "", "setupM": "" },
    ]

    function test_nozzleChange_data() {
        return [
            { tag: "no take G-code", from: 0, to: 3, error: "Не задан G-код взятия насадки №4" },
            { tag: "no return G-code", from: 3, to: 0,
              error: "Не задан G-код возврата насадки №4 в базу" },
        ]
    }
    function test_nozzleChange(data) {
        refusedWith(PT.nozzleChange(data.from, data.to, nozzles), data.error)
    }

    function test_cloggingCheckText_data() {
        return [
            { tag: "absolute, sensor just started", relative: false, started: true, prepare: 2,
              text: "g4 p2\nm64 p0 \n m64 p1 \n g4 p1 \n" },
            { tag: "relative", relative: true, started: false, prepare: 3.25,
              text: "m64 p0 \nm65 p1 \ng4 p3.3 \n(vsMeasureBeforeGet) \nm64 p1 \ng4 p1 \n" },
        ]
    }
    function test_cloggingCheckText(data) {
        compare(PT.cloggingCheckText(data.relative, data.started, data.prepare), data.text)
    }

    function test_clogging_data() {
        var n = { "vsUse": true, "checkClogging": true, "vsPressure": 10, "vsPressureDiff": 5 }
        return [
            { tag: "absolute: clogged", n: n, relative: false, now: 10.1, clogged: true },
            { tag: "relative: fell too little", n: n, relative: true, before: 40, now: 35.5, clogged: true },
            { tag: "reading not a number", n: n, relative: false, now: NaN, clogged: true },
            { tag: "no reading before", n: n, relative: true, before: undefined, now: 20, clogged: true },
        ]
    }
    function test_clogging(data) {
        compare(PT.isClogged(data.n, data.relative, data.before, data.now), data.clogged)
    }
}

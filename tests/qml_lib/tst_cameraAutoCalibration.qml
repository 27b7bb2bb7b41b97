import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "FakeBoard.js" as Board
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/picking.js" as Picking
import "../../qml/main/job/component.js" as Cycle
import "../../qml/main/job/cameraAutoCalibration.js" as Auto

// The camera position calibration against the fake machine and a small
// world of its own: a calibration object on the table, the nozzle that
// takes it with valve 1 and lets it go where it is, a head camera that is
// really `trueShift` away from the nozzle and a component camera that really
// stands at `trueCamera2`, while the settings believe otherwise. The blocks
// sent, the values found and applied, the placement correction through the
// new offset, the failed looks and "Продолжить", the stop and the restore.
TestCase {
    name: "CameraAutoCalibration"

    // The readings of the four turns (0°, 90°, 180°, 270°) each count: the
    // component camera moves by their mean, the head-camera offset by the
    // part of them that turns with the nozzle. (The step world below is
    // symmetric: a mean over two turns would pass there.)
    function test_newValues() {
        var v = Auto.newValues(200, 100, [1, 0.2, -0.6, 0.4], [0.5, -0.3, 0.1, 0.9], 10, -5)
        var got = [v.camera2X, v.camera2Y, v.camera1XShift, v.camera1YShift], want = [199.75, 99.7, 10.7, -4.95]
        for (var i = 0; i < 4; ++i)
            near(got[i], want[i], 1e-9, "value " + i)
    }

    // ---- the sequence

    function rig(options) {
        var opts = options || {}
        var m = Fake.create({ blockMode: "auto", blockMs: 10 })
        var b = Board.extend(m, { settings: {
            "cameraACGetX": 150, "cameraACGetY": 100, "cameraACGetZ": 10, "cameraACElThickness": 1.5,
            "cameraACCamera1T1": 110, "cameraACCamera2T1": 120, "cameraACVC": 4, "cameraACObj": opts.kind || 0,
            "camera2X": 200, "camera2Y": 30, "camera2Height": 20, "camera2MinHeight": 10, "camera2PPM": 20,
            "camera2PPMDistance": 10, "camera2Delay": 400, "pcbCorrX": 0.05, "pcbCorrY": -0.05,
            "workAreaZ2": 80, "basketGcode": "g0 x470 y120", "vsEnabled": false } })
        var nozzles = []
        for (var i = 0; i < 6; ++i)
            nozzles.push({ "cupLength": 30, "press": 0.5, "setupM": "g0 x10 y" + i, "takeM": "g0 x20 y" + i,
                           "vsUse": false, "checkClogging": false })
        b.job.nozzles = nozzles
        b.currVC = 4
        var r = { m: m, b: b, applied: [], states: [], slider: [],
                  object: opts.object || { x: 150, y: 100, angle: 0 }, held: null,
                  trueShift: opts.trueShift || { x: -30.4, y: 20.3 },
                  trueCamera2: { x: 200.25, y: 29.8 },
                  objectAngle: opts.objectAngle || 0, pos: { x: 0, y: 0, z: 25, a: 0 } }
        m.port.applyValues = function(v) { r.applied.push(v) }
        m.port.setSpeedSlider = function(v) { r.slider.push(v) }
        m.port.headCamera.start = function() { m.events.push("camera:start") }

        // The world follows every block that ended well, line by line.
        var send = m.port.sendGCode
        m.port.sendGCode = function(text, safeH, onDone) {
            send(text, safeH, function(ok) {
                if (ok)
                    walk(r, text)
                if (onDone)
                    onDone(ok)
            })
        }
        // The head camera sees the object from where it really looks.
        m.port.headCamera.placerRequest = function(settings, onResult) {
            r.b.placer.requests.push({ settings: settings, x: m.pos.x, y: m.pos.y })
            m.after(40, function() {
                var ppm = Number(b.settings.camera1PPMCorr)
                var cx = m.pos.x + r.trueShift.x, cy = m.pos.y + r.trueShift.y
                var seen = !r.held && r.object && Math.abs(r.object.x - cx) < 3 && Math.abs(r.object.y - cy) < 3
                onResult({ found: !!seen, flipped: false, x: seen ? (r.object.x - cx) * ppm : 0,
                           y: seen ? -(r.object.y - cy) * ppm : 0, angle: 0, centersX: [], centersY: [], angles: [],
                           timeout: false })
            })
        }
        // The component camera sees the held object against where it really is.
        b.componentCamera.answer = function(settings, count, i) {
            if (!r.held)
                return { found: false, x: 0, y: 0, angle: 0, width: 0, height: 0 }
            var c = heldCentre(r)
            var s = b.settings
            var ppm = Cycle.cameraPpm(m.pos.z, s.cameraACElThickness, 30, s.camera2Height, s.camera2PPM,
                                      s.camera2PPMDistance)
            return { found: true, x: (c.x - r.trueCamera2.x) * ppm, y: (c.y - r.trueCamera2.y) * ppm,
                     angle: r.objectAngle - m.pos.a, width: 20, height: 20 }
        }
        var w = Waiters.create(m.port)
        var p = Picking.create(m.port, w)
        var cycle = Cycle.create(m.port, w, p)
        var a = Auto.create(m.port, w, { cupWait: p.cupWait, placerWait: p.placerWait,
                                         elToBasketWait: cycle.elToBasketWait })
        m.attach({ positionGet: w.positionGet, homedGet: w.homedGet, pauseGet: w.pauseGet,
                   stopAll: function() { w.stopAll(); p.stopAll(); cycle.stopAll() } })
        m.setPosition({ x: 0, y: 0, z: 25, a: 0 })
        r.w = w
        r.a = a
        r.start = function() { a.calibrate(function(s) { r.states.push(s) }) }
        r.last = function() { return r.states[r.states.length - 1] }
        return r
    }

    // A clockwise turn by `a` degrees seen from above (X right, Y up).
    function turned(v, a) {
        var k = a * Math.PI / 180
        return { x: v.x * Math.cos(k) + v.y * Math.sin(k), y: -v.x * Math.sin(k) + v.y * Math.cos(k) }
    }
    function heldCentre(r) {
        var d = turned(r.held, r.pos.a)
        return { x: r.pos.x + d.x, y: r.pos.y + d.y }
    }
    // The lines of a block: the nozzle moves to each X, Y, Z, A word (A and
    // ++/-- relative), valve 1 on takes the object under the nozzle, off
    // lets it go where it is.
    function walk(r, text) {
        var lines = String(text).toLowerCase().split("\n")
        for (var i = 0; i < lines.length; ++i) {
            var line = lines[i].trim()
            if (/^m64 p1$/.test(line)) {
                if (!r.held && r.object && Math.abs(r.object.x - r.pos.x) < 1 && Math.abs(r.object.y - r.pos.y) < 1) {
                    r.held = turned({ x: r.object.x - r.pos.x, y: r.object.y - r.pos.y }, -r.pos.a)
                    r.object = null
                }
                continue
            }
            if (/^m65 p1$/.test(line)) {
                if (r.held) {
                    r.object = heldCentre(r)
                    r.held = null
                }
                continue
            }
            if (!/^g[01]\b/.test(line))
                continue
            if (/\bzmax\b/.test(line))
                r.pos.z = 25
            var re = /(?:^|\s)([xyza])\s*(\+\+|--)?\s*([+-]?(?:\d+\.?\d*|\.\d+))/g
            var hit
            while ((hit = re.exec(line)) !== null) {
                var v = Number(hit[3])
                if (hit[2])
                    v = r.pos[hit[1]] + (hit[2] === "++" ? v : -v)
                r.pos[hit[1]] = v
            }
        }
    }

    function near(actual, expected, eps, what) {
        verify(Math.abs(actual - expected) <= eps, (what || "") + ": " + actual + " instead of " + expected)
    }

    readonly property string xy: "g1 f4500  acc50 "
    readonly property string z30: "g1 f1800   acc25 "
    readonly property string z1: "g1 f60   acc5 "

    function test_calibratesExactly() {
        var r = rig()
        r.start()
        r.m.advance(120000)
        var s = r.last()
        verify(!s.running)
        compare(s.error, "")
        verify(s.applied)
        compare(r.m.failures, [])
        compare(r.slider, [100])
        compare(r.m.sentTexts(), [
            "g0 zMax\nm65 p4\n" + xy + "x180.00 y80.00\ng0 zMax\n",
            "g0 zMax a0.0\n" + xy + "x180.40 y79.70\ng0",
            "g0 zMax a0.0\n" + xy + "x150.40 y99.70\n" + z30 + "z49.5\n" + z1 + "z39.5\nm64 p1\ng4 p1\n" + z1
                + "z49.5\n" + z30 + "zMax\n" + xy + "x200.00 y30.00\n" + z30 + "z61.5\ng0",
            xy + "x200.650 y29.500 a0.000\ng0",
            xy + "x200.650 y29.500 a0.000\ng0",
            "g0 a++0\ng0", "g0 a++90\ng0", "g0 a++90\ng0", "g0 a++90\ng0", "g0 a++90\ng0",
            z30 + "zMax\n" + xy + "x150.400 y99.700\n" + z30 + "z49.5\n" + z1 + "z39.5\nm65 p1\ng4 p1\n" + z1
                + "z49.5\n" + z30 + "zMax\n" + xy + "a0\n" + xy + "x180.800 y79.400\ng0 x++0 y++0 z--0 a++0\ng0"])
        compare(r.applied.length, 1)
        var v = r.applied[0]
        near(v.camera1XShift, -30.4, 1e-9, "head camera X offset")
        near(v.camera1YShift, 20.3, 1e-9, "head camera Y offset")
        near(v.camera2X, 200.25, 1e-9, "component camera X")
        near(v.camera2Y, 29.8, 1e-9, "component camera Y")
        // The object lies where it was, and the head camera found it there
        // through the new offset: no placement correction.
        near(r.object.x, 150, 1e-9, "object X")
        near(r.object.y, 100, 1e-9, "object Y")
        near(v.pcbCorrX, 0, 1e-9, "correction X")
        near(v.pcbCorrY, 0, 1e-9, "correction Y")
        compare(s.before, { camera1XShift: -30, camera1YShift: 20, camera2X: 200, camera2Y: 30, pcbCorrX: 0.05,
                            pcbCorrY: -0.05 })
        // The head camera's search: the object's own threshold, one outline.
        compare(r.b.placer.requests[0].settings.t1, 110)
        compare(r.b.placer.requests[0].settings.mode, "element")
        compare(r.b.componentCamera.requests[0].settings.param1, 120)
        compare(r.b.componentCamera.requests[0].settings.centerType, 2)
        compare(r.b.outputs[4], false)
    }

    // A disk reports no angle: A stays although the camera reads a turn.
    function test_diskIsNotTurned() {
        var r = rig({ kind: 1, objectAngle: 2.5, trueShift: { x: -30, y: 20 } })
        r.start()
        r.m.advance(120000)
        compare(r.m.sentTexts()[3], xy + "x200.250 y29.800 a0.000\ng0")
        compare(r.b.componentCamera.requests[0].settings.centerType, 0)
        compare(r.applied.length, 1)
    }

    // The object is not seen: the sequence waits at "notFound1" and repeats
    // the look on "Продолжить"; once it is there, it goes on.
    function test_notFoundFirstLook() {
        var r = rig({ object: { x: 250, y: 100 } })
        r.start()
        r.m.advance(10000)
        var s = r.last()
        verify(s.running)
        compare(s.error, "notFound1")
        compare(s.errorText, "Не удалось найти калибровочный объект. Попробуйте изменить порог поиска контуров верхней камеры.")
        compare(r.m.sentTexts().length, 1)
        verify(r.a.retry())
        r.m.advance(10000)
        compare(r.last().error, "notFound1")
        compare(r.b.placer.requests.length, 2)
        r.object = { x: 150, y: 100 }
        verify(r.a.retry())
        r.m.advance(120000)
        verify(r.last().applied)
        compare(r.applied.length, 1)
    }

    function test_stop() {
        var r = rig()
        r.start()
        r.m.advance(3000)
        var n = r.m.sentTexts().length
        r.a.stop()
        r.m.advance(120000)
        compare(r.m.sentTexts().length, n)
        compare(r.applied, [])
        verify(!r.a.running())
        compare(r.last().before, null)
    }

    function test_restore() {
        var r = rig()
        r.start()
        r.m.advance(120000)
        verify(r.a.restore())
        compare(r.applied[1], { camera1XShift: -30, camera1YShift: 20, camera2X: 200, camera2Y: 30, pcbCorrX: 0.05,
                                pcbCorrY: -0.05 })
        compare(r.last().after, null)
        verify(!r.a.restore())
    }
}

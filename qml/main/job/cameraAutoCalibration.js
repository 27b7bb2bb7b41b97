.pragma library
.import "../lib/coords.js" as Coords
.import "../lib/geometry.js" as Geometry
.import "gcodeTexts.js" as GT
.import "pickTexts.js" as PT
.import "component.js" as Cycle

// The automatic calibration of the camera positions: one calibration object
// (a small chip or a disk) lying on the platform measures the head camera's
// offset from the nozzle (camera1XShift/YShift), the component camera's
// position (camera2X/Y) and the placement correction (pcbCorrX/Y). The head
// camera finds the object, the chosen nozzle picks it, the component camera
// looks at it at four turns 90 degrees apart, the nozzle puts it back where
// the new component camera position says it was, and the head camera finds
// it again through the new offset.
//
// Plain functions first (input limits, the blocks, the formulas), then
// `create(port, waiters, steps)`: the sequence over the job's port and
// waiting primitives; `steps` are the job's cupWait, placerWait and
// elToBasketWait.
//
// Port functions used, beyond the job foundation's (setting, position,
// outputOn, setDoutOn, later):
//   setting(name)          cameraACGetX/Y/Z, cameraACElThickness,
//                          cameraACCamera1T1, cameraACCamera2T1, cameraACVC,
//                          cameraACObj, camera1XShift/YShift, camera2X/Y,
//                          pcbCorrX/Y, camera1Delay, camera2Delay,
//                          camera1Exposure, camera2Height, camera2MinHeight,
//                          camera2PPM, camera2PPMDistance, workAreaZ2,
//                          maxVel, maxAcc
//   nozzles() -> [{ cupLength, press }], currVC()
//   setSpeedSlider(value)   the machine speed slider
//   headCamera.start()      the head camera captures (its window shown)
//   componentCamera.start(camera3), componentCamera.ask(settings, count,
//                          onResult), componentCamera.cancel()
//   setSupposedAngle(camera3, angle)   the component camera's assumed turn

// Every move at 30 % speed and 5 % acceleration; the touch at 1 %.
var SPEED = 30
var ACC = 5
var SLOW = 1
// The object's search area of the head camera, per cent of the frame.
var HEAD_ROI = 50
// Rises above the object before the slow touch, mm.
var RISE_MM = 10
var ROTATION_WAIT_MS = 200
// Looks at the component camera: turns 0, 90, 180, 270 and once more.
var LOOKS = 5

// Error kinds and their texts.
var NOT_FOUND_1 = "notFound1"
var NOT_FOUND_2 = "notFound2"
var NOT_FOUND_3 = "notFound3"
var NOT_FOUND_4 = "notFound4"
function errorText(kind) {
    switch (kind) {
    case NOT_FOUND_1:
        return qsTr("Не удалось найти калибровочный объект. Попробуйте изменить порог поиска контуров верхней камеры.")
    case NOT_FOUND_2:
    case NOT_FOUND_3:
        return qsTr("Не удалось найти калибровочный объект. Попробуйте изменить порог поиска контуров нижней камеры.")
    case NOT_FOUND_4:
        return qsTr("Не удалось найти установленный калибровочный объект. Калибровка выполнена не полностью! Попробуйте изменить порог поиска контуров верхней камеры.")
    }
    return ""
}

function num(v) { return PT.num(v) }

// ---- the window's inputs

// The range of the object's position and touch height:
// env { workAreaX1, workAreaX2, workAreaY1, workAreaY2, workAreaZ1,
// workAreaZ2, camera1XShift, camera1YShift }, nozzle { cupLength, press }.
function inputLimits(env, nozzle) {
    var sx = num(env.camera1XShift), sy = num(env.camera1YShift)
    var length = nozzle ? num(nozzle.cupLength) : 0, press = nozzle ? num(nozzle.press) : 0
    return { "xMin": num(env.workAreaX1) + 10 + Math.max(0, sx), "xMax": num(env.workAreaX2) - 10 + Math.min(0, sx),
             "yMin": num(env.workAreaY1) + 10 + Math.max(0, sy), "yMax": num(env.workAreaY2) - 10 + Math.min(0, sy),
             "zMin": Math.ceil(num(env.workAreaZ1) - length + press), "zMax": Math.floor(num(env.workAreaZ2) - length) }
}

// "Насадки" is offered when the machine is calibrated, a nozzle is on the
// head and the head is more than 15 mm below the top of the Z range.
function nozzlePositionAvailable(calibrated, currVC, z, zTop) {
    return calibrated === true && num(currVC) >= 0 && num(z) < num(zTop) - 15
}

// The three fields from the nozzle position: relative X and Y to two
// decimals, the touch height (the nozzle height less its length plus its
// press) to one.
function nozzlePosition(relX, relY, z, nozzle) {
    return { "x": Number(num(relX).toFixed(2)), "y": Number(num(relY).toFixed(2)),
             "z": Number((num(z) - num(nozzle.cupLength) + num(nozzle.press)).toFixed(1)) }
}

// The feeder record made for the object: no size check, 1 x 1 mm, its
// thickness, centred by pins (a chip) or by its outline (a disk).
function dummyFeeder(kind, thickness) {
    return { "type": 0, "cameraIndiv": true, "cameraCheckSize": 0, "centerType": num(kind) === 1 ? 0 : 2,
             "elWidth": 1, "elHeight": 1, "elThickness": num(thickness), "rot": 0, "centering": 1 }
}

// The component camera's settings for the object (the cycle's terms).
function componentCameraSettings(kind, threshold) {
    return { "indiv": true, "centerType": num(kind) === 1 ? 0 : 2, "roiPercent": 100, "param1": num(threshold),
             "param2": 1, "checkSize": 0, "targetWidth": 1, "targetHeight": 1 }
}

// The head camera's search for the object (placerWait's settings): the one
// outline in the search area.
function headCameraSettings(threshold, exposure) {
    return { "mode": "element", "t1": num(threshold), "t2": 1, "roi": HEAD_ROI, "inv": false, "calcSize": 1,
             "calcSize2": 1, "templMatchCoeff": 80, "exposure": num(exposure), "templMult": 0.3, "templateType": 1,
             "flippedEnabled": false, "flippedTemplMatchCoeff": 80 }
}

// ---- the formulas

// From the component camera's offsets X[0..3], Y[0..3] (mm, at turns 0, 90,
// 180 and 270 degrees) with the head at (px, py): the component camera is
// where the mean offset says, and the nozzle missed the object's centre by
// the offsets' turning part, which is what the head camera's offset was out.
function newValues(px, py, X, Y, shiftX, shiftY) {
    return { "camera2X": num(px) - (X[0] + X[1] + X[2] + X[3]) / 4,
             "camera2Y": num(py) - (Y[0] + Y[1] + Y[2] + Y[3]) / 4,
             "camera1XShift": num(shiftX) + (X[0] - X[2] - Y[1] + Y[3]) / 4,
             "camera1YShift": num(shiftY) + (Y[0] - Y[2] + X[1] - X[3]) / 4 }
}

// The placement correction: where the object was put back (getX, getY)
// less where the head camera finds it. `found` was taken through the head
// camera offset `usedShift`, while the camera stood where the new offset
// `newShift` puts it: the found position is taken through the new one.
function boardCorrection(getX, getY, found, usedShift, newShift) {
    var x = num(found.x) - num(usedShift.x) + num(newShift.x)
    var y = num(found.y) - num(usedShift.y) + num(newShift.y)
    return { "x": num(getX) - x, "y": num(getY) - y }
}

// Two decimals, as the settings keep them.
function round2(v) { return Math.round(num(v) * 100) / 100 }

// ---- the blocks. env: { maxVel, maxAcc, workAreaZ2, getZ, cupLength,
// press, thickness, camera2X, camera2Y, camera2MinHeight, camera2Height }.

function xy(speed, acc, env) { return GT.xySpeed(speed, acc, env.maxVel, env.maxAcc) }
function zs(speed, acc, env) { return GT.zSpeed(speed, acc, env.maxVel, env.maxAcc) }
function fixed(v, d) { return Coords.fixed(v, d) }

// Step 3: over the object with the head camera.
function approachText(x, y, shiftX, shiftY, env) {
    var lines = new PT.Lines()
    lines.add("g0 zMax")
    lines.add("m65 p4")
    lines.add(xy(SPEED, ACC, env), "x", fixed(num(x) - num(shiftX), 2), " y", fixed(num(y) - num(shiftY), 2))
    return lines.broken ? null : lines.text()
}

// Step 5: the camera over the found object, A at 0.
function lookAgainText(x, y, shiftX, shiftY, env) {
    var lines = new PT.Lines()
    lines.add("g0 zMax a0.0")
    lines.add(xy(SPEED, ACC, env), "x", fixed(num(x) - num(shiftX), 2), " y", fixed(num(y) - num(shiftY), 2))
    return lines.broken ? null : lines.text()
}

// The touch height of the nozzle on the object and the height above it.
function touchHeights(env) {
    var z = num(env.getZ) + num(env.cupLength) - num(env.press)
    return { "z": z, "high": z + RISE_MM, "top": num(env.workAreaZ2) }
}
function lower(lines, h, env) {
    if (h.high < h.top)
        lines.add(zs(SPEED, ACC, env), "z", fixed(h.high, 1))
    lines.add(zs(SLOW, SLOW, env), "z", fixed(h.z, 1))
}
function lift(lines, h, env) {
    if (h.high < h.top) {
        lines.add(zs(SLOW, SLOW, env), "z", fixed(h.high, 1))
        lines.add(zs(SPEED, ACC, env), "zMax")
    } else {
        lines.add(zs(SLOW, SLOW, env), "zMax")
    }
}
// The centring height over the component camera, at most the top.
function centringHeight(env) {
    var h = num(env.camera2MinHeight) + num(env.camera2Height) + num(env.cupLength) + num(env.thickness)
    return Math.min(h, num(env.workAreaZ2))
}

// Step 6: pick the object at (x, y) and take it over the component camera.
function pickText(x, y, env) {
    var h = touchHeights(env)
    var lines = new PT.Lines()
    lines.add("g0 zMax a0.0")
    lines.add(xy(SPEED, ACC, env), "x", fixed(x, 2), " y", fixed(y, 2))
    lower(lines, h, env)
    lines.add("m64 p1")
    lines.add("g4 p1")
    lift(lines, h, env)
    lines.add(xy(SPEED, ACC, env), "x", fixed(env.camera2X, 2), " y", fixed(env.camera2Y, 2))
    lines.add(zs(SPEED, ACC, env), "z", fixed(centringHeight(env), 1))
    return lines.broken ? null : lines.text()
}

// Step 8: the object's centre over the camera, turned straight.
function centreText(px, py, a, elX, elY, angle, env) {
    var lines = new PT.Lines()
    lines.add(xy(SPEED, ACC, env), "x", fixed(num(px) - num(elX), 3), " y", fixed(num(py) - num(elY), 3),
              " a", fixed(num(a) + num(angle), 3))
    return lines.broken ? null : lines.text()
}

// Step 9: the next turn (none before the first look).
function rotateText(index) {
    return "g0 a++" + (index === 0 ? "0" : "90")
}

// Step 11: the object back at (x, y), then the head camera over where it
// should lie through the new offset.
function putBackText(x, y, shiftX, shiftY, env) {
    var h = touchHeights(env)
    var lines = new PT.Lines()
    lines.add(zs(SPEED, ACC, env), "zMax")
    lines.add(xy(SPEED, ACC, env), "x", fixed(x, 3), " y", fixed(y, 3))
    lower(lines, h, env)
    lines.add("m65 p1")
    lines.add("g4 p1")
    lift(lines, h, env)
    lines.add(xy(SPEED, ACC, env), "a0")
    lines.add(xy(SPEED, ACC, env), "x", fixed(num(x) - num(shiftX), 3), " y", fixed(num(y) - num(shiftY), 3))
    lines.add("g0 x++0 y++0 z--0 a++0")
    return lines.broken ? null : lines.text()
}

// A measured turn of the object folded into -45 ... 45 degrees: a chip
// turned by a quarter looks the same, and the object is only to lie
// straight.
function foldAngle(angle) {
    var a = Geometry.minAngle(num(angle))
    while (a > 45)
        a -= 90
    while (a <= -45)
        a += 90
    return a
}

// ================================================================
// calibrate(onState): runs steps 1 to 12. onState(state) after every change
// that the window shows: { running, step, error, errorText, before, after,
// applied }. retry() repeats the failed look; stop() ends it where it is.
function create(port, waiters, steps) {
    var c = {}
    var st = null
    var ticket = 0
    var onState = null

    function setting(name) { return port.setting(name) }
    function alive(t) { return st !== null && t === ticket && st.running }
    function report() {
        if (onState)
            onState(c.state())
    }
    function nozzle() {
        var list = port.nozzles() || []
        var n = PT.clampInt(setting("cameraACVC"), 0, 1000, 0)
        return list[n] || { "cupLength": 0, "press": 0 }
    }
    function env() {
        var n = nozzle()
        return { "maxVel": setting("maxVel"), "maxAcc": setting("maxAcc"), "workAreaZ2": setting("workAreaZ2"),
                 "getZ": setting("cameraACGetZ"), "cupLength": n.cupLength, "press": n.press,
                 "thickness": setting("cameraACElThickness"), "camera2X": setting("camera2X"),
                 "camera2Y": setting("camera2Y"), "camera2MinHeight": setting("camera2MinHeight"),
                 "camera2Height": setting("camera2Height") }
    }
    function values() {
        return { "camera1XShift": num(setting("camera1XShift")), "camera1YShift": num(setting("camera1YShift")),
                 "camera2X": num(setting("camera2X")), "camera2Y": num(setting("camera2Y")),
                 "pcbCorrX": num(setting("pcbCorrX")), "pcbCorrY": num(setting("pcbCorrY")) }
    }
    function kind() { return num(setting("cameraACObj")) === 1 ? 1 : 0 }

    c.state = function() {
        if (!st)
            return { "running": false, "step": 0, "error": "", "errorText": "", "before": null, "after": null,
                     "applied": false }
        return { "running": st.running, "step": st.step, "error": st.error, "errorText": errorText(st.error),
                 "before": st.before, "after": st.after, "applied": st.applied }
    }

    // A block; a broken number ends the calibration with the operator told.
    function send(text, safeH, next) {
        if (text === null) {
            stopWith(qsTr("Неверное число в G-коде калибровки: калибровка остановлена"))
            return
        }
        var t = ticket
        waiters.gCodeWait(text, safeH, function() { if (alive(t)) next() })
    }
    function delay(ms, next) {
        var t = ticket
        waiters.delayWait(ms, function() { if (alive(t)) next() })
    }
    function stopWith(text) {
        st.running = false
        ticket += 1
        port.fail(text)
        report()
    }
    // A failed look: the sequence waits for "Продолжить" (retry).
    function failed(kindOfError, retry) {
        st.error = kindOfError
        st.retry = retry
        report()
    }
    c.retry = function() {
        if (!st || !st.running || st.error === "" || !st.retry)
            return false
        var r = st.retry
        st.error = ""
        st.retry = null
        report()
        r()
        return true
    }

    // ---- steps 1 to 3
    c.calibrate = function(stateFn) {
        onState = stateFn || null
        ticket += 1
        st = { "running": true, "step": 1, "error": "", "retry": null, "before": values(), "after": null,
               "applied": false, "found": null, "usedShift": null, "index": 0, "centred": 0, "X": [], "Y": [],
               "px": NaN, "py": NaN }
        report()
        var t = ticket
        port.headCamera.start()
        if (port.outputOn(1)) {
            steps.elToBasketWait(function() { if (alive(t)) takeNozzle() })
            return
        }
        takeNozzle()
    }
    function takeNozzle() {
        st.step = 2
        var t = ticket
        steps.cupWait(PT.clampInt(setting("cameraACVC"), 0, 1000, 0), function() { if (alive(t)) approach() })
    }
    function approach() {
        st.step = 3
        port.setSpeedSlider(100)
        send(approachText(setting("cameraACGetX"), setting("cameraACGetY"), setting("camera1XShift"),
                          setting("camera1YShift"), env()), true, firstLook)
    }

    // ---- steps 4 and 5: the head camera finds the object twice
    function headLook(next, errorKind) {
        var t = ticket
        delay(2 * num(setting("camera1Delay")), function() {
            steps.placerWait.settings = headCameraSettings(setting("cameraACCamera1T1"), setting("camera1Exposure"))
            steps.placerWait(function() {
                if (!alive(t))
                    return
                var pw = steps.placerWait
                if (!pw.found) {
                    failed(errorKind, function() { headLook(next, errorKind) })
                    return
                }
                next({ "x": num(pw.x), "y": num(pw.y) },
                     { "x": num(setting("camera1XShift")), "y": num(setting("camera1YShift")) })
            })
        })
    }
    function firstLook() {
        st.step = 4
        headLook(function(found) {
            st.step = 5
            send(lookAgainText(found.x, found.y, setting("camera1XShift"), setting("camera1YShift"), env()), false,
                 secondLook)
        }, NOT_FOUND_1)
    }
    function secondLook() {
        headLook(function(found) {
            st.found = found
            pick()
        }, NOT_FOUND_1)
    }

    // ---- step 6: pick it and take it over the component camera
    function pick() {
        st.step = 6
        port.componentCamera.start(false)
        port.setSupposedAngle(false, 0)
        port.setDoutOn(4, true)
        send(pickText(st.found.x, st.found.y, env()), false, componentLook)
    }

    // ---- steps 7 and 8: the component camera centres it, twice
    function componentAsk(onFound, errorKind, retry) {
        var t = ticket
        var n = nozzle()
        port.componentCamera.ask(componentCameraSettings(kind(), setting("cameraACCamera2T1")), 1, function(r) {
            if (!alive(t))
                return
            var ppm = Cycle.cameraPpm(port.position().z, setting("cameraACElThickness"), n.cupLength,
                                      setting("camera2Height"), setting("camera2PPM"), setting("camera2PPMDistance"))
            if (!r || r.found !== true || !isFinite(ppm)) {
                failed(errorKind, retry)
                return
            }
            onFound({ "x": num(r.x) / ppm, "y": num(r.y) / ppm, "angle": kind() === 1 ? 0 : foldAngle(r.angle) })
        })
    }
    function componentLook() {
        st.step = 7
        delay(2 * num(setting("camera2Delay")), function() {
            componentAsk(centre, NOT_FOUND_2, componentLook)
        })
    }
    function centre(m) {
        st.step = 8
        var pos = port.position()
        send(centreText(pos.x, pos.y, pos.a, m.x, m.y, m.angle, env()), false, function() {
            st.centred += 1
            if (st.centred < 2)
                componentLook()
            else
                turn(0)
        })
    }

    // ---- step 9: five looks a quarter turn apart
    function turn(index) {
        st.step = 9
        st.index = index
        delay(ROTATION_WAIT_MS, function() {
            send(rotateText(index), false, function() { turnLook(index) })
        })
    }
    // A failed look is taken again at the same turn.
    function turnLook(index) {
        delay(2 * num(setting("camera2Delay")), function() {
            componentAsk(function(m) {
                st.X[index] = m.x
                st.Y[index] = m.y
                if (index + 1 < LOOKS)
                    turn(index + 1)
                else
                    compute()
            }, NOT_FOUND_3, function() { delay(ROTATION_WAIT_MS, function() { turnLook(index) }) })
        })
    }

    // ---- step 10: the new values
    function compute() {
        st.step = 10
        var pos = port.position()
        st.px = num(pos.x)
        st.py = num(pos.y)
        var v = newValues(st.px, st.py, st.X, st.Y, setting("camera1XShift"), setting("camera1YShift"))
        st.after = { "camera1XShift": v.camera1XShift, "camera1YShift": v.camera1YShift, "camera2X": v.camera2X,
                     "camera2Y": v.camera2Y, "pcbCorrX": NaN, "pcbCorrY": NaN }
        port.componentCamera.cancel()
        report()
        putBack()
    }

    // ---- step 11: back where it was, the head camera over it
    function putBack() {
        st.step = 11
        port.setDoutOn(4, false)
        port.headCamera.start()
        var a = st.after
        var x = num(setting("cameraACGetX")) + st.px - a.camera2X
        var y = num(setting("cameraACGetY")) + st.py - a.camera2Y
        send(putBackText(x, y, a.camera1XShift, a.camera1YShift, env()), false, lastLook)
    }

    // ---- step 12: found again: the values apply
    function lastLook() {
        st.step = 12
        headLook(function(found, usedShift) {
            var a = st.after
            var corr = boardCorrection(setting("cameraACGetX"), setting("cameraACGetY"), found, usedShift,
                                       { "x": a.camera1XShift, "y": a.camera1YShift })
            a.pcbCorrX = corr.x
            a.pcbCorrY = corr.y
            port.applyValues({ "camera1XShift": round2(a.camera1XShift), "camera1YShift": round2(a.camera1YShift),
                               "camera2X": round2(a.camera2X), "camera2Y": round2(a.camera2Y),
                               "pcbCorrX": corr.x, "pcbCorrY": corr.y })
            st.applied = true
            st.running = false
            ticket += 1
            report()
        }, NOT_FOUND_4)
    }

    // "Восстановить старые параметры": the values before the calibration.
    c.restore = function() {
        if (!st || !st.applied || st.running)
            return false
        var b = st.before
        port.applyValues({ "camera1XShift": b.camera1XShift, "camera1YShift": b.camera1YShift,
                           "camera2X": b.camera2X, "camera2Y": b.camera2Y, "pcbCorrX": b.pcbCorrX,
                           "pcbCorrY": b.pcbCorrY })
        st.after = null
        st.applied = false
        report()
        return true
    }

    // "Остановить" (or the machine lost its calibration): everything
    // forgotten, the results hidden.
    c.stop = function() {
        ticket += 1
        if (st) {
            st.running = false
            st.error = ""
            st.retry = null
        }
        st = null
        port.componentCamera.cancel()
        report()
    }
    c.running = function() { return st !== null && st.running }
    c.measurements = function() { return st ? { "X": st.X.slice(), "Y": st.Y.slice(), "px": st.px, "py": st.py } : null }
    return c
}

import QtQuick 2.15

// The picking part of the job port (see JobPort.qml): the nozzles and the
// feeder banks' records, the nozzle on the head, the outputs, the vacuum
// sensor with its clock, the PWM vibration of vibration feeders, the
// component camera's assumed angle and the feeder state the picking steps
// write. What the component cycle decides (travel height, placement angle and
// target, the group's next placements, a skipped feeder) is asked of the
// cycle through `jobPort.component`.
Item {
    id: pickPort
    property var app
    property var machineState
    property var jobPort

    function plain(record) {
        var out = {}
        for (var k in record)
            out[k] = record[k]
        return out
    }
    function record(model, n) {
        var i = Number(n)
        return model && i >= 0 && i < model.count ? plain(model.get(i)) : null
    }
    function records(model) {
        var out = []
        for (var i = 0; model && i < model.count; ++i)
            out.push(plain(model.get(i)))
        return out
    }

    // The nozzle change is one of the program's long activities.
    function setNozzleChanging(on) {
        jobPort.nozzleChanging = on === true
        machineState.setActivity("nozzleChange", on === true)
    }

    // ---- vibration: the callbacks wait for the end of the running vibration
    property var vibrationWaiting: []
    function startVibration(freq, dutyCycle, length, onDone) {
        var list = vibrationWaiting.slice()
        if (onDone)
            list.push(onDone)
        vibrationWaiting = list
        app.instruments.startPWMVibro(freq, dutyCycle, length)
    }
    function vibrationDone() {
        var list = vibrationWaiting
        vibrationWaiting = []
        for (var i = 0; i < list.length; ++i)
            list[i]()
    }
    Connections {
        target: pickPort.app
        function onPwmVibroDoneSignal() { pickPort.vibrationDone() }
    }

    function component() { return jobPort.component }

    // ---- feeder state: the fields that last go to the feeder's record
    // (and its file); those of this run only go to the run's table, which
    // the record the steps read carries over its own.
    readonly property var runFields: ["centeringCurrCount", "centeringX", "centeringY", "centeringA",
                                      "noShiftOnStartDone", "debugArray", "lastGetX", "lastGetY"]
    function setFeederValue(model, index, name, value) {
        if (runFields.indexOf(String(name)) >= 0) {
            app.feederRunState(model, index)[name] = value
            return true
        }
        return app.setFeederValue(model, index, name, value)
    }
    function feederOf(model, index) {
        // A fresh copy: the steps read back what they have just written.
        var record = Number(index) >= 0 ? app.getFeeder(String(model), Number(index)) : null
        if (!record)
            return null
        var state = app.feederRunState(model, index)
        for (var i = 0; i < runFields.length; ++i)
            record[runFields[i]] = state[runFields[i]]
        return record
    }

    // ---- the component camera, through its request object
    readonly property var request: app.componentCameraRequest
    function cameraWindow() { return app.findToolWindow("camera2Window") }
    function cameraStart() {
        request.hold = true
        var w = cameraWindow()
        if (app.camera2AutoShow && w && !w.visible)
            app.showToolWindow("camera2Window")
    }
    function cameraStop() {
        request.cancel()
        request.hold = false
        var w = cameraWindow()
        if (w && w.visible && app.smtInterface.executing)
            w.close()
    }
    // A feeder's recognition settings in the camera's terms (sizes in mm
    // become pixels at the camera's scale).
    function cameraSettings(s) {
        var type = Number(s.centerType)
        var out = { "mode": type === 2 ? "pins" : (type === 3 ? "corners" : (type === 4 ? "template" : "element")) }
        var names = ["param1", "param2", "roiPercent", "templMatchCoeff"]
        for (var i = 0; i < names.length; ++i) {
            var v = Number(s[names[i]])
            if (s[names[i]] !== undefined && isFinite(v))
                out[names[i]] = v
        }
        var ppm = Number(request.pixelsPerMm)
        if (isFinite(Number(s.targetWidth)) && Number(s.targetWidth) > 0)
            out.targetSize = Number(s.targetWidth) * ppm
        if (isFinite(Number(s.targetHeight)) && Number(s.targetHeight) > 0)
            out.targetSize2 = Number(s.targetHeight) * ppm
        if (s.photo !== undefined)
            out.photo = String(s.photo)
        return out
    }
    function cameraAsk(settings, count, onResult) {
        request.ask(cameraSettings(settings || {}), count, function(r) {
            var frames = []
            var list = r.frames || []
            for (var i = 0; i < list.length; ++i)
                frames.push({ "found": list[i].found === true, "x": list[i].x, "y": list[i].y,
                              "angle": list[i].angle, "width": list[i].width, "height": list[i].height,
                              "exAngle": list[i].exAngle, "pinCountCorrect": list[i].pinCountCorrect === true,
                              "pinCount": list[i].pinCount, "avgPinDist": list[i].avgPinDist,
                              "minPinDist": list[i].minPinDist, "maxPinDist": list[i].maxPinDist })
            onResult({ "found": r.found === true && r.timeout !== true, "x": Number(r.x), "y": Number(r.y),
                       "angle": Number(r.angle), "width": Number(r.width), "height": Number(r.height),
                       "frames": r.timeout === true ? [] : frames })
        })
    }

    // ---- counters: the project's and the day's statistics
    function solderPoints(ep) {
        var el = ep && ep.el ? ep.el : null
        var feeder = el ? jobPort.port.feederOf(el.model, el.index) : null
        var n = feeder && feeder.packageSettings ? Number(feeder.packageSettings.solderPointCount) : 0
        return isFinite(n) && n > 0 ? Math.round(n) : 0
    }
    function countPlaced(ep) {
        var points = solderPoints(ep)
        app.pcbComponentsMountedCount += 1
        app.pcbSolderPointsMountedCount += points
        app.projectStatisticsWindow.appendComponentsAndSolderPoints(1, points)
    }
    function countBasket(ep) {
        app.pcbComponentsBasketCount += 1
        app.projectStatisticsWindow.appendBasketCount(1)
    }

    // ---- instruments of the component cycle: the RLC meter, the
    // programmer, the equivalent feeders. The meter and the programmer answer
    // through the main window's result signals; one request of each is
    // awaited at a time.
    property var rlcPending: null          // { kind: "start" | "setup" | "measure", fn }
    function rlcAsk(kind, fn, send) {
        rlcPending = { "kind": kind, "fn": jobPort.guarded(fn) }
        send()
    }
    function rlcAnswer(kind, result) {
        var p = rlcPending
        if (!p || p.kind !== kind)
            return
        rlcPending = null
        p.fn(result)
    }
    Connections {
        target: pickPort.app
        function onRlcStartedSignal() { pickPort.rlcAnswer("start", { "ok": true }) }
        function onRlcStartFailedSignal(message) { pickPort.rlcAnswer("start", { "ok": false, "message": message }) }
        function onRlcSetupFinishedSignal() { pickPort.rlcAnswer("setup", { "ok": true }) }
        function onRlcSetupFailedSignal(message) { pickPort.rlcAnswer("setup", { "ok": false, "message": message }) }
        function onRlcMeasureSignal(type, value, strValue) {
            pickPort.rlcAnswer("measure", { "ok": true, "value": Number(value), "text": String(strValue) })
        }
        function onRlcMeasureFailedSignal(message) {
            pickPort.rlcAnswer("measure", { "ok": false, "message": message })
        }
        function onProgrammerResultSignal(result) {
            var fn = pickPort.programmerListener
            pickPort.programmerListener = null
            if (fn)
                fn(String(result))
        }
    }
    function rlcStart(onDone) {
        rlcAsk("start", onDone, function() { app.rlcStart(app.rlcPort !== "" ? app.rlcPort : "/dev/ttyS0") })
    }
    function rlcSetNominal(letter, value, onDone) {
        rlcAsk("setup", onDone, function() { app.rlcSetupValueSend(String(letter), Number(value)) })
    }
    function rlcMeasure(onDone) { rlcAsk("measure", onDone, function() { app.rlcMeasure() }) }
    function rlcCancel() { rlcPending = null }
    property var programmerListener: null
    function programmerListen(fn) {
        programmerListener = jobPort.guarded(fn)
        app.instruments.programmerStartWaiting(true)
    }
    function programmerCancel() {
        programmerListener = null
        app.instruments.programmerStartWaiting(false)
    }
    function programmerRunScript(path, seconds) { app.programmerScriptStart(String(path), Number(seconds)) }
    // The enabled banks with their feeders, for the equivalents of a part.
    function feederBanks() {
        var banks = [["B", app.bottomFeedersModel], ["U", app.upFeedersModel], ["R", app.rightFeedersModel],
                     ["L", app.leftFeedersModel]]
        var out = []
        for (var i = 0; i < banks.length; ++i)
            if (banks[i][1] && banks[i][1].enabled)
                out.push({ "model": banks[i][0], "feeders": records(banks[i][1]) })
        return out
    }
    function installInstruments(port) {
        port.rlc = {
            "running": function() { return pickPort.app.instruments.rlcRunning === true },
            "start": function(onDone) { pickPort.rlcStart(onDone) },
            "setNominal": function(letter, value, onDone) { pickPort.rlcSetNominal(letter, value, onDone) },
            "measure": function(onDone) { pickPort.rlcMeasure(onDone) },
            "cancel": function() { pickPort.rlcCancel() }
        }
        port.programmer = {
            "listen": function(onResult) { pickPort.programmerListen(onResult) },
            "cancel": function() { pickPort.programmerCancel() },
            "runScript": function(path, seconds) { pickPort.programmerRunScript(path, seconds) }
        }
        port.openRlcSettings = function() { pickPort.app.showToolWindow("rlcSettings") }
        port.feederBanks = function() { return pickPort.feederBanks() }
        port.programmingPending = function() { return pickPort.component().programmingPending() }
        port.switchToEquivalent = function(model, index, logText) {
            return pickPort.component().switchToEquivalent(model, index, logText)
        }
    }

    // ---- loose parts: the head camera's search of the placer area
    // The search settings of looseParts.js in the camera's terms (sizes in mm
    // become pixels at the head camera's scale).
    function placerCameraSettings(s) {
        var ppm = Number(app.headCameraRequest.pixelsPerMm)
        var out = { "mode": String(s.mode), "param1": Number(s.t1), "roiPercent": Number(s.roi),
                    "inverse": s.inv === true, "targetSize": Number(s.calcSize) * ppm,
                    "targetSize2": Number(s.calcSize2) * ppm, "templMatchCoeff": Number(s.templMatchCoeff),
                    "exposure": Number(s.exposure), "templMult": Number(s.templMult),
                    "templateType": Number(s.templateType), "flippedEnabled": s.flippedEnabled === true,
                    "flippedTemplMatchCoeff": Number(s.flippedTemplMatchCoeff) }
        // The second threshold where a search names one (an outline search).
        if (s.t2 !== undefined && isFinite(Number(s.t2)))
            out.param2 = Number(s.t2)
        if (s.photo !== undefined)
            out.photo = String(s.photo)
        if (s.flippedPhoto !== undefined)
            out.flippedPhoto = String(s.flippedPhoto)
        return out
    }
    // The mark steps must not take these settings for theirs.
    function placerLoad(settings) {
        jobPort.markPort.loadedKey = ""
        app.headCameraRequest.load(placerCameraSettings(settings || {}))
    }
    function placerRequest(settings, onResult) {
        jobPort.markPort.loadedKey = ""
        app.headCameraRequest.ask(placerCameraSettings(settings || {}), 1, function(r) {
            var ok = r.found === true && r.timeout !== true
            onResult({ "found": ok, "flipped": r.flipped === true, "x": Number(r.x), "y": Number(r.y),
                       "angle": Number(r.angle), "centersX": ok ? r.centersX || [] : [],
                       "centersY": ok ? r.centersY || [] : [], "angles": ok ? r.angles || [] : [],
                       "timeout": r.timeout === true })
        })
    }

    function install(port) {
        installInstruments(port)
        port.nozzles = function() { return pickPort.records(pickPort.app.cupModel) }
        port.tapeBank = function(n) { return pickPort.record(pickPort.app.bandBankModel, n) }
        port.vibrationBank = function(n) { return pickPort.record(pickPort.app.vibroBankModel, n) }
        port.setNozzleChanging = function(on) { pickPort.setNozzleChanging(on) }
        port.outputOn = function(n) { return pickPort.machineState.doutTriggered(Number(n)) }
        port.machineMoveIncr = function(axis, direction, speed, distance) {
            pickPort.app.machineMoveIncr(axis, direction, speed, distance)
        }
        // The feeder editor's pick check (a window activity).
        port.feederCheck = function() { return pickPort.app.activityRunning("feederCheck") }
        port.setSupposedAngle = function(camera3, angle) {
            var camera = pickPort.app.componentCameraRequest.camera
            if (camera)
                camera.supposedAngle = Number(angle)
        }
        port.vibration = {
            "done": function() { return pickPort.app.instruments.pwmVibroDone === true },
            "start": function(freq, dutyCycle, length, onDone) {
                pickPort.startVibration(freq, dutyCycle, length, onDone)
            }
        }
        port.vacuum = {
            "start": function() {
                var a = pickPort.app
                if (!a.vsRunning && !a.vsStarting)
                    a.vsStart(a.vsFileName)
            },
            "running": function() { return pickPort.app.vsRunning === true },
            "starting": function() { return pickPort.app.vsStarting === true },
            "measure": function() { pickPort.app.vsMeasure() },
            "now": function() { return worker.vsClock() },
            "before": function() { return Number(pickPort.app.vsMeasureBeforeGet) },
            "storeBefore": function() { pickPort.app.getVsMeasureBeforeGet() },
            "message": function() { return String(pickPort.app.instruments.vsErrorText) },
            "latest": function() {
                return { "value": Number(pickPort.app.vsMeasureResult), "time": Number(pickPort.app.vsMeasureTime) }
            },
            "setFast": function(on) { pickPort.app.vsFastPolling = on === true }
        }
        port.setFeederValue = function(model, index, name, value) {
            return pickPort.setFeederValue(model, index, name, value)
        }
        port.feederOf = function(model, index) { return pickPort.feederOf(model, index) }
        port.openFeederSettings = function(model, index) { pickPort.app.showToolWindow("feederEditor") }
        port.openSensorSettings = function() { pickPort.app.showToolWindow("vsSettings") }
        // The component cycle's own needs.
        port.epGroup = function(index) { return pickPort.app.smtInterface.epAA[Number(index)] || [] }
        port.runState = function(model, index) { return pickPort.app.feederRunState(model, index) }
        port.countPlaced = function(ep) { pickPort.countPlaced(ep) }
        port.countBasket = function(ep) { pickPort.countBasket(ep) }
        port.componentCamera = {
            "start": function(camera3) { pickPort.cameraStart() },
            "stop": function() { pickPort.cameraStop() },
            "ask": function(settings, count, onResult) { pickPort.cameraAsk(settings, count, onResult) },
            "cancel": function() { pickPort.request.cancel() },
            "frameHeight": function() { return Number(pickPort.request.camera.frameHeight) }
        }
        // What the component cycle decides.
        port.travelHeight = function() { return pickPort.component().travelHeight() }
        port.placementAngle = function(ep, feeder) { return pickPort.component().placementAngle(ep, feeder) }
        port.placementTarget = function(ep, feeder) { return pickPort.component().placementTarget(ep, feeder) }
        port.morePlacements = function() { return pickPort.component().morePlacements() }
        // The run keeps the first part of each tape where it is.
        port.noShiftOnStart = function() { return pickPort.app.smtInterface.keepFirstTapeComponent === true }
        port.skipFeeder = function(model, index, logText, color) {
            pickPort.component().skipFeeder(model, index, logText, color)
        }
        // Loose parts: the head camera searches the placer area.
        port.headCamera.placerLoad = function(settings) { pickPort.placerLoad(settings) }
        port.headCamera.placerRequest = function(settings, onResult) { pickPort.placerRequest(settings, onResult) }
    }
}

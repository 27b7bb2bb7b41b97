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

    function install(port) {
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
            "setFast": function(on) { pickPort.jobPort.markPort.vacuumFast = on === true }
        }
        port.setFeederValue = function(model, index, name, value) {
            pickPort.app.setFeederValue(model, index, name, value)
        }
        port.openFeederSettings = function(model, index) { pickPort.app.showToolWindow("feederEditor") }
        port.openSensorSettings = function() { pickPort.app.showToolWindow("vsSettings") }
        // What the component cycle decides.
        port.travelHeight = function() { return pickPort.component().travelHeight() }
        port.placementAngle = function(ep, feeder) { return pickPort.component().placementAngle(ep, feeder) }
        port.placementTarget = function(ep, feeder) { return pickPort.component().placementTarget(ep, feeder) }
        port.morePlacements = function() { return pickPort.component().morePlacements() }
        port.noShiftOnStart = function() { return pickPort.component().noShiftOnStart() }
        port.skipFeeder = function(model, index) { pickPort.component().skipFeeder(model, index) }
    }
}

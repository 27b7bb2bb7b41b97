import QtQuick 2.15
import "../lib/encoderCalibration.js" as Enc

// The encoders of X, Y and Z: what the machine link reports (motor and
// encoder readings relative to homing, their difference and its peak, the
// scales of the configuration), the operator's wishes (feedback per axis,
// the allowed difference, the stop on exceeding it; settings of the main
// window), and what follows: the difference watch that stops the machine,
// the warning and in-place homing for axes with neither home switch nor
// encoder, and the saving of calibrated scales into the configuration. The
// main window forwards the machine link's callbacks here and aliases these
// names.
Item {
    id: enc
    property var app
    property var machineState

    // ---- readings relative to homing
    property real encX: 0
    property real encY: 0
    property real encZ: 0
    property real stepperX: 0
    property real stepperY: 0
    property real stepperZ: 0
    property real encStepperXDiv: 0
    property real encStepperYDiv: 0
    property real encStepperZDiv: 0
    property real encStepperXMaxDiv: 0
    property real encStepperYMaxDiv: 0
    property real encStepperZMaxDiv: 0

    // ---- scales of the configuration (read at each LinuxCNC start)
    property real encoderScaleX: 0
    property real encoderScaleY: 0
    property real encoderScaleZ: 0
    property real stepperScaleX: 0
    property real stepperScaleY: 0
    property real stepperScaleZ: 0
    // Scales saved since: the configuration holds new ones that LinuxCNC
    // takes at its next start ([X, Y] per kind).
    property var encoderScaleSaved: [false, false]
    property var stepperScaleSaved: [false, false]

    // ---- what the configuration has
    readonly property bool encXexist: machineState.encExists[0] === true
    readonly property bool encYexist: machineState.encExists[1] === true
    readonly property bool encZexist: machineState.encExists[2] === true
    readonly property bool homeXExists: machineState.homeExists[0] === true
    readonly property bool homeYExists: machineState.homeExists[1] === true
    readonly property bool homeZExists: machineState.homeExists[2] === true
    readonly property bool noHomeNoEncoderX: Enc.noHomeNoEncoder(homeXExists, app.encXEnabled, encXexist)
    readonly property bool noHomeNoEncoderY: Enc.noHomeNoEncoder(homeYExists, app.encYEnabled, encYexist)
    readonly property bool noHomeNoEncoderZ: Enc.noHomeNoEncoder(homeZExists, app.encZEnabled, encZexist)

    // A feedback wish changed since LinuxCNC started: it applies at the next start.
    property bool encoderRestartNeeded: false

    readonly property var enabledNames: ["encXEnabled", "encYEnabled", "encZEnabled"]
    readonly property var maxDivNames: ["maxDivX", "maxDivY", "maxDivZ"]
    readonly property var maxDivDefaults: [2, 2, 1]

    function num(value) {
        var v = Number(value)
        return isFinite(v) ? v : 0
    }
    function exists(axis) { return [encXexist, encYexist, encZexist][axis] === true }
    function enabled(axis) { return app[enabledNames[axis]] === true }
    function limit(axis) { return Enc.maxDivValue(app[maxDivNames[axis]], maxDivDefaults[axis]) }
    function peak(axis) { return [encStepperXMaxDiv, encStepperYMaxDiv, encStepperZMaxDiv][axis] }

    // ---- operator's wishes
    function setEncoderEnabledWish(axis, on) {
        if (axis < 0 || axis > 2)
            return
        app[enabledNames[axis]] = on === true
        app.saveSetting("device", enabledNames[axis])
    }
    function setMaxDiv(axis, value) {
        if (axis < 0 || axis > 2)
            return
        app[maxDivNames[axis]] = Enc.maxDivValue(value, limit(axis))
        app.saveSetting("device", maxDivNames[axis])
    }
    function setMaxDivEnabled(on) {
        app.encStepperMaxDivEnabled = on === true
        app.saveSetting("device", "encStepperMaxDivEnabled")
    }
    // Each change of a wish reaches the machine link, which applies it at the
    // next LinuxCNC start.
    function wishChanged(axis) {
        app.setEncoderEnabled(axis, enabled(axis))
        if (app.settingsLoaded && machineState.cncRunning)
            encoderRestartNeeded = true
    }
    Connections {
        target: enc.app
        function onEncXEnabledChanged() { enc.wishChanged(0) }
        function onEncYEnabledChanged() { enc.wishChanged(1) }
        function onEncZEnabledChanged() { enc.wishChanged(2) }
        function onSettingsLoadedChanged() {
            if (!enc.app.settingsLoaded)
                return
            // Stored limits outside 1..10 (or not on a half) are taken to
            // the nearest allowed value.
            for (var i = 0; i < 3; ++i) {
                var v = enc.limit(i)
                if (enc.app[enc.maxDivNames[i]] !== v)
                    enc.app[enc.maxDivNames[i]] = v
            }
        }
    }
    // Without a Z home switch the Z encoder is what homes Z: always wanted
    // (the switches are reported at each LinuxCNC start, before the link
    // sets up the encoders).
    property bool homeReported: false
    function forceZFeedback() {
        if (homeReported && !homeZExists && app.encZEnabled !== true)
            setEncoderEnabledWish(2, true)
    }

    // ---- the difference watch: a new peak beyond the axis's limit stops
    // the machine, and the operator learns why a moment later.
    property int exceededAxis: -1
    function checkMaxDiv(axis) {
        if (!Enc.maxDivExceeded({ "homed": machineState.machineHomed, "watchEnabled": app.encStepperMaxDivEnabled === true,
                                  "encoderExists": exists(axis), "encoderEnabled": enabled(axis),
                                  "peak": peak(axis), "limit": limit(axis) }))
            return false
        app.setEstop()
        exceededAxis = axis
        errorTimer.restart()
        return true
    }
    Timer {
        id: errorTimer
        interval: 100
        onTriggered: enc.app.errorMessage(enc.app.t + Enc.maxDivErrorText(enc.exceededAxis), false, "")
    }
    property alias errorTimer: errorTimer

    // ---- axes with neither home switch nor working encoder, when LinuxCNC
    // has started: the operator is warned, and such an axis homes in place at
    // the first calibration mark.
    function noHomeNoEncoderWarning() {
        var text = Enc.noHomeNoEncoderWarning(noHomeNoEncoderX, noHomeNoEncoderY)
        if (text === "")
            return false
        app.errorMessage(app.t + text, false, "warning")
        var calls = Enc.disableHomeCalls(noHomeNoEncoderX, noHomeNoEncoderY, app.calibX, app.calibY)
        for (var i = 0; i < calls.length; ++i)
            app.disableHome(calls[i][0], calls[i][1])
        return true
    }
    Connections {
        target: enc.machineState
        function onCncRunningChanged() {
            if (!enc.machineState.cncRunning)
                return
            enc.encoderRestartNeeded = false
            enc.noHomeNoEncoderWarning()
        }
        function onHomeExistsChanged() {
            enc.homeReported = true
            enc.forceZFeedback()
        }
    }

    // ---- saving calibrated scales. `fresh`: { encoderX, encoderY,
    // stepperX, stepperY }, the new scales of the calibrated axes and kinds;
    // the other axis of a calibrated kind keeps its current scale. False
    // (nothing written, the operator told) when a scale is not usable.
    function saveScales(fresh) {
        var s = Enc.scalesToSave({ "encoderX": encoderScaleX, "encoderY": encoderScaleY,
                                   "stepperX": stepperScaleX, "stepperY": stepperScaleY }, fresh || {})
        if (s.error !== "") {
            app.errorMessage(app.t + s.error, false, "")
            return false
        }
        var given = function(name) { return fresh[name] !== undefined && fresh[name] !== null }
        if (s.encoder) {
            app.encoderScaleSend(app.iniFile, s.encoder[0], s.encoder[1])
            encoderScaleSaved = [encoderScaleSaved[0] || given("encoderX"), encoderScaleSaved[1] || given("encoderY")]
        }
        if (s.stepper) {
            app.stepperScaleSend(app.iniFile, s.stepper[0], s.stepper[1])
            stepperScaleSaved = [stepperScaleSaved[0] || given("stepperX"), stepperScaleSaved[1] || given("stepperY")]
        }
        return true
    }

    // ---- callbacks of the machine link
    function encoderScaleGet(x, y, z) {
        encoderScaleX = num(x)
        encoderScaleY = num(y)
        encoderScaleZ = num(z)
        encoderScaleSaved = [false, false]
    }
    function stepperScaleGet(x, y, z) {
        stepperScaleX = num(x)
        stepperScaleY = num(y)
        stepperScaleZ = num(z)
        stepperScaleSaved = [false, false]
    }
    function halEncXGet(value) { encX = num(value) }
    function halEncYGet(value) { encY = num(value) }
    function halEncZGet(value) { encZ = num(value) }
    function halStepperXGet(value) { stepperX = num(value) }
    function halStepperYGet(value) { stepperY = num(value) }
    function halStepperZGet(value) { stepperZ = num(value) }
    function encStepperXDivGet(value) { encStepperXDiv = num(value) }
    function encStepperYDivGet(value) { encStepperYDiv = num(value) }
    function encStepperZDivGet(value) { encStepperZDiv = num(value) }
    function encStepperXMaxDivGet(value) {
        encStepperXMaxDiv = num(value)
        checkMaxDiv(0)
    }
    function encStepperYMaxDivGet(value) {
        encStepperYMaxDiv = num(value)
        checkMaxDiv(1)
    }
    function encStepperZMaxDivGet(value) {
        encStepperZMaxDiv = num(value)
        checkMaxDiv(2)
    }
}

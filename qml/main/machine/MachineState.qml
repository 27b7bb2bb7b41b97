import QtQuick 2.15
import "../lib/coords.js" as Coords

// The machine as the program sees it: what the machine link reports (power,
// homing, positions, outputs, inputs), what the program derives from it
// (homed and calibrated, relative positions, speed), the registry of long
// activities that make the machine busy, and the effects of the machine's
// state changes (switching on and off, LinuxCNC coming up, automatic
// calibration). The main window forwards the machine link's callbacks here
// and aliases these names.
Item {
    id: state
    property var app
    property var gate       // the G-code gate

    // ---- reported by the machine link
    property bool cncRunning: false
    property bool machineEStop: true
    property bool machineOn: false
    property bool machineXHomed: false
    property bool machineYHomed: false
    property bool machineZHomed: false
    property bool machineAHomed: false
    property bool machineBHomed: false
    readonly property bool machineHomed: machineXHomed && machineYHomed && machineZHomed && machineAHomed && machineBHomed
    readonly property var jointHomed: [machineXHomed, machineYHomed, machineZHomed, machineAHomed, machineBHomed]
    property var jointPos: [0, 0, 0, 0]
    property real jointBPos: 0
    property real jointCPos: 0
    property real jointDPos: 0
    property string machineError: "OK"
    property real encoderStep: 0
    property var homeExists: [false, false, false]
    property var encExists: [false, false, false]
    property bool homeBExists: false

    // Inputs read from HAL (true = active / pressed).
    property bool halHomeX: false
    property bool halHomeY: false
    property bool halHomeZ: false
    property bool halHomeB: false
    property bool halESTOP: false
    property bool halStartPause: false
    property real halSpeedEncoder: 0
    property real halSpeedEncoderInc: 0
    property bool programmerErrPin: false
    property bool programmerSucPin: false

    // The 16 digital outputs: `enabled` (the configuration has it) and
    // `triggered` (switched on).
    property ListModel doutList: ListModel {
        Component.onCompleted: {
            for (var i = 0; i < 16; ++i)
                append({ "enabled": false, "triggered": false })
        }
    }

    // ---- derived
    // The homing-and-calibration sequence has completed: the gate for
    // almost every action.
    property bool machineHomed2: false
    property bool calibrated: false
    // The calibration-mark search runs (a long activity while it does), and
    // what its last measurement found: the mark's machine position.
    property bool calibrating: false
    onCalibratingChanged: setActivity("calibration", calibrating)
    property bool calibFound: false
    property real calibFoundX: 0
    property real calibFoundY: 0
    property real relX: 0
    property real relY: 0
    readonly property real jointPosXRel: Number(jointPos[0]) - relX
    readonly property real jointPosYRel: Number(jointPos[1]) - relY
    // The nozzle on the head (-1: none) and its length.
    property int currVC: -1
    readonly property real currVCLength: nozzleLength(currVC)
    readonly property real jointPosZCup: Number(jointPos[2]) - currVCLength
    readonly property real cameraPosX: jointPosXRel + Number(app.camera1XShift)
    readonly property real cameraPosY: jointPosYRel + Number(app.camera1YShift)

    // ---- speed: slider 1..100 → machineSpeed = value^1.849485 / 50 per cent
    readonly property real speedExponent: 1.849485
    property int machineSpeedSliderValue: 1
    property real machineSpeed: 0.02
    readonly property real slowSpeed: 0.05
    readonly property int slowAcc: 15
    property bool debugMode: false
    onDebugModeChanged: app.debugModeSend(debugMode)
    property bool prerunDone: false

    function sliderToSpeed(value) {
        return Math.pow(value, speedExponent) / 50
    }
    function setMachineSpeedSlider(value) {
        var v = Math.round(Number(value))
        if (!isFinite(v))
            return
        v = Math.max(1, Math.min(100, v))
        machineSpeedSliderValue = v
        machineSpeed = sliderToSpeed(v)
    }
    // The jog speed is capped by the XY velocity limit: the slider moves
    // down when the limit, in per cent of the axes' top speed, is below it.
    function setSlowSpeed() {
        if (debugMode)
            return
        var vel = app.maxVel || []
        var top = Math.max(Number(vel[0]) || 0, Number(vel[1]) || 0)
        if (!(top > 0))
            return
        // The cap in per cent of the top speed (the plain ratio, taken as a
        // percentage, capped a 500 mm/s limit over 300 mm/s axes at 2 %).
        var ceiling = Math.ceil(100 * Number(app.maxVelXYLimit) / top)
        // The slider moves in whole steps: the step below the cap.
        if (ceiling < machineSpeed)
            setMachineSpeedSlider(Math.floor(Math.pow(50 * ceiling, 1 / speedExponent)))
    }
    onMachineSpeedChanged: if (calibrated) app.feedOverrideSend(Math.ceil(machineSpeed), true)
    onCalibratedChanged: app.feedOverrideSend(calibrated ? Math.ceil(machineSpeed) : 100, true)

    // ---- long activities; `executing` while any runs or G-code runs
    property var activities: []
    property int activityCount: 0
    readonly property bool gCodeDone: gate ? gate.gCodeDone : true
    readonly property bool executing: !gCodeDone || activityCount > 0

    function setActivity(name, running) {
        var key = String(name)
        var list = activities.slice()
        var at = list.indexOf(key)
        if ((at >= 0) === (running === true))
            return
        if (at >= 0)
            list.splice(at, 1)
        else
            list.push(key)
        activities = list
        activityCount = list.length
    }
    function activityRunning(name) {
        return activities.indexOf(String(name)) >= 0
    }
    readonly property bool longActivity: activityCount > 0

    // Shafts (feeder axes B, C) may be turned by hand with the start key.
    // A paused run lets the shafts turn, and so does the tape centring while
    // it waits for the operator.
    property bool tapeCentringHalted: false
    readonly property bool shaftsMayMoveWhileBusy: (app.smtInterface ? app.smtInterface.shaftsFree === true : false)
                                                   || tapeCentringHalted
    readonly property bool allowMoveShafts: machineOn && (!executing || shaftsMayMoveWhileBusy)
    onAllowMoveShaftsChanged: app.allowMoveShaftsSend(allowMoveShafts)
    // Gentle accelerations while the operator sets the machine up.
    readonly property bool needSlowAcc: (!longActivity && !debugMode) || activityRunning("zAutoFind")
    onNeedSlowAccChanged: app.needSlowAccSend(needSlowAcc)

    function nozzleLength(index) {
        if (index < 0 || !app.cupModel || index >= app.cupModel.count)
            return 0
        var length = Number(app.cupModel.get(index).cupLength)
        return isFinite(length) ? length : 0
    }
    onCurrVCChanged: app.currVCHeightSend(nozzleLength(currVC))

    // ---- callbacks of the machine link
    function cncRunningGet(running) {
        app.cncStarting = false
        var on = running === true
        if (on === cncRunning)
            return
        cncRunning = on
        prerunDone = false
        if (on) {
            sendLinkState()
            setMachineSpeedSlider(13)
            app.logAdd(app.t + qsTr("LinuxCNC запущен"))
            if (app.executionAutoShow && app.findToolWindow("executionInterface"))
                app.showToolWindow("executionInterface")
            autoCalibTimer.start()
        } else {
            gate.reset()
            app.logAdd(app.t + qsTr("LinuxCNC остановлен"))
        }
    }
    function cncStartFailedGet() {
        app.cncStarting = false
        if (cncRunning)
            cncRunningGet(false)
        app.logAdd(app.t + qsTr("Не удалось запустить LinuxCNC"), "red")
    }
    // The machine link keeps what it is told only on a change: it is told
    // the whole state once the settings are loaded and again whenever
    // LinuxCNC comes up, so its defaults never stand in for the settings.
    function sendLinkState() {
        app.maxVelLimitSend(app.maxVelZLimit, app.maxVelXYLimit)
        app.sendShaftsMovingState(app.longPressBRotate === true, app.longPressCRotate === true)
        app.needSlowAccSend(needSlowAcc)
        app.allowMoveShaftsSend(allowMoveShafts)
        app.currVCHeightSend(nozzleLength(currVC))
        app.debugModeSend(debugMode)
    }
    readonly property bool longPressB: app.longPressBRotate === true
    readonly property bool longPressC: app.longPressCRotate === true
    onLongPressBChanged: app.sendShaftsMovingState(longPressB, longPressC)
    onLongPressCChanged: app.sendShaftsMovingState(longPressB, longPressC)
    function machineOnGet(on) {
        machineOn = on === true
    }
    function jointPosGet(pos) {
        if (!pos || pos.length < 4)
            return
        jointPos = [Number(pos[0]), Number(pos[1]), Number(pos[2]), Number(pos[3])]
        positionUpdated()
    }
    function jointPos2Get(pos) {
        if (!pos || pos.length < 3)
            return
        jointBPos = Number(pos[0])
        jointCPos = Number(pos[1])
        jointDPos = Number(pos[2])
    }
    function jointHomedGet(x, y, z, a, b) {
        machineXHomed = x === true
        machineYHomed = y === true
        machineZHomed = z === true
        machineAHomed = a === true
        machineBHomed = b === true
    }
    // The outputs switched on, as a list that bindings can follow.
    property var doutState: []
    function doutGet(number, triggered) {
        var n = Number(number)
        if (!(n >= 0 && n < doutList.count))
            return
        doutList.setProperty(n, "triggered", triggered === true)
        var list = doutState.slice()
        list[n] = triggered === true
        doutState = list
    }
    function doutListChangeEnabled(number, enabled) {
        var n = Number(number)
        if (n >= 0 && n < doutList.count)
            doutList.setProperty(n, "enabled", enabled === true)
    }
    function doutTriggered(number) {
        return number >= 0 && number < doutList.count && doutList.get(number).triggered === true
    }
    // Every LinuxCNC error but a realtime delay stops whatever runs.
    function machineErrorGet(error) {
        machineError = String(error)
        app.logAdd(app.t + qsTr("Ошибка LinuxCNC: ") + machineError, "red")
        if (machineError.indexOf("realtime delay") < 0)
            app.appError(machineError)
    }
    function encoderStepGet(step) {
        var s = Number(step)
        encoderStep = isFinite(s) && s > 0 ? s : 0
    }
    function homeExistsGet(x, y, z) { homeExists = [x === true, y === true, z === true] }
    function encExistGet(x, y, z) { encExists = [x === true, y === true, z === true] }
    // ---- direct moves for the windows
    // "G0" with the given coordinates (false omits one); nothing unless the
    // G-code channel is idle, nothing when a coordinate is not a number.
    function machineMoveTo(x, y, z, a) {
        if (!gCodeDone)
            return false
        var move = Coords.moveText(x, y, z, a)
        if (move.text === null) {
            app.errorMessage(app.t + qsTr("Неверная координата %1: перемещение не выполнено").arg(move.error), false, "")
            return false
        }
        if (move.text === "")
            return false
        gate.send(move.text, false, null)
        return true
    }
    // The machine stands within 0.01 of every given coordinate (X and Y
    // relative, Z and A joint).
    function machineWait(x, y, z, a) {
        return Coords.near({ "x": jointPosXRel, "y": jointPosYRel, "z": Number(jointPos[2]), "a": Number(jointPos[3]) },
                           x, y, z, a, 0.01)
    }
    function halBool(value) { return value === true || Number(value) !== 0 }

    signal positionUpdated()

    // ---- effects
    onMachineOnChanged: {
        machineXHomed = machineYHomed = machineZHomed = machineAHomed = machineBHomed = false
        machineHomed2 = false
        calibrated = false
        relX = 0
        relY = 0
        app.relXYSend(0, 0)
        app.instruments.pwmVibroDone = false
        if (machineOn)
            machineEStop = false
    }
    // E-STOP commanded by the operator.
    Connections {
        target: state.app
        function onSetEstop() { state.machineEStop = true }
    }
    onMachineHomedChanged: if (!machineHomed && machineHomed2) machineHomed2 = false
    onMachineHomed2Changed: {
        calibrated = machineHomed2
        if (machineHomed2)
            app.logAdd(app.t + qsTr("Калибровка выполнена"))
    }

    // Automatic calibration after LinuxCNC comes up: switch the machine on,
    // then home and calibrate it.
    property alias autoCalibTimer: autoCalibTimer
    Timer {
        id: autoCalibTimer
        interval: 300
        onTriggered: {
            if (!state.app.autoCalibOnStart || !state.cncRunning || state.halESTOP || state.executing)
                return
            if (!(state.homeExists[0] || state.encExists[0]) || !(state.homeExists[1] || state.encExists[1]))
                return
            if (!state.machineOn) {
                state.app.setMachineOn(true)
                autoCalibTimer.start()
            } else if (!state.machineHomed2) {
                state.app.homeWait(null)
            }
        }
    }
}

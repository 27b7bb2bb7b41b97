import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "jog.js" as Jog
import "commandHistory.js" as History
import "directControl.js" as DirectControl

// "Прямое управление": the machine by hand. Power, E-STOP, command stop,
// homing and calibration; jogging by buttons and by keys (jog.js has the key
// table and the enabling rules); the position read-out; typed commands; the
// digital outputs; the nozzles; the warm-up run; and the extra panel with
// the inputs and the canned motions.
//
// The keyboard belongs to the jog handler: clicking anywhere in the window
// gives it back. Losing it or hiding the window stops every axis.
BaseWindow {
    id: window
    objectName: "executionInterface"
    property var app

    title: app.t + qsTr("Прямое управление")
    readonly property int narrowWidth: 770
    readonly property int wideWidth: 900
    property bool extraOpen: false
    width: extraOpen ? wideWidth : narrowWidth
    height: 600
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    // ---- jogging
    property var jogState: Jog.emptyState()
    // Scanning a board takes the axes too.
    readonly property bool scanning: app.machineState.activityCount > 0 && app.activityRunning("boardScan")
    readonly property var perm: ({ "scanning": scanning, "calibrated": app.calibrated, "machineOn": app.machineOn,
                                   "debugMode": app.debugMode, "gCodeDone": app.gCodeDone })
    property alias jogHandler: jogHandler

    function jogActive(axis, dir, kind) { return Jog.isActive(jogState, axis, dir, kind) }
    function jogAllowed(axis, dir, kind) { return Jog.jogEnabled(perm, jogState, axis, dir, kind) }
    function stepAllowed(axis) { return Jog.stepEnabled(perm, jogState, axis) }
    function speedOf(kind) { return kind === "slow" ? app.slowSpeed : app.machineSpeed }

    // Turns jog actions into machine commands, in order.
    function run(actions) {
        for (var i = 0; i < actions.length; ++i) {
            var a = actions[i]
            switch (a.type) {
            case "start":
                stopsSent = false
                app.machineMove(a.axis, a.dir, speedOf(a.kind), true)
                break
            case "stop":
                app.machineMove(a.axis, a.dir, speedOf(a.kind), false)
                break
            case "step":
                stopsSent = false
                app.machineMoveStep(a.axis, a.dir, 0)
                break
            case "zUp":
                app.zUpSend()
                break
            }
            jogState = Jog.apply(jogState, a)
        }
    }
    function startJog(axis, dir, kind) {
        if (jogActive(axis, dir, kind) || !jogAllowed(axis, dir, kind))
            return false
        run([{ "type": "start", "axis": axis, "dir": dir, "kind": kind }])
        return true
    }
    function stopJog(axis, dir, kind) {
        if (!jogActive(axis, dir, kind))
            return false
        run([{ "type": "stop", "axis": axis, "dir": dir, "kind": kind }])
        return true
    }
    function stepJog(axis, dir) {
        if (!stepAllowed(axis))
            return false
        run([{ "type": "step", "axis": axis, "dir": dir }])
        return true
    }
    // A step button let go: its slow jog stops.
    function endStep(axis, dir) {
        stopJog(axis, dir, "slow")
        run([{ "type": "clearStep", "axis": axis }])
    }
    function zUp() { run([{ "type": "zUp" }]) }

    // Every axis stops, whatever the window believes runs. The stops are
    // sent once per loss (hiding the window also takes the focus).
    property bool stopsSent: false
    function stopAllJogs() {
        if (stopsSent)
            return
        stopsSent = true
        run(Jog.stopAllActions(jogState))
        jogState = Jog.emptyState()
    }

    // Another window may take the keys for a while (a calibration that moves
    // by keys of its own): its handler(event, pressed) then gets every key
    // event instead of the jog table, until it is removed.
    property var keyHandler: null
    function installKeyHandler(handler) { keyHandler = handler }
    // Removes `handler`, or whichever handler is installed when none is given.
    function removeKeyHandler(handler) {
        if (handler === undefined || keyHandler === handler)
            keyHandler = null
    }

    // A key event of the jog handler (pressed false: released).
    function handleKey(event, pressed) {
        if (keyHandler) {
            keyHandler(event, pressed)
            return
        }
        var actions = Jog.keyActions({ "key": event.key, "modifiers": event.modifiers,
                                       "autoRepeat": event.isAutoRepeat, "pressed": pressed }, jogState, perm)
        if (actions.length === 1 && actions[0].type === "pass") {
            event.accepted = false
            return
        }
        event.accepted = true
        run(actions)
    }

    function takeKeys() {
        stopsSent = false
        jogHandler.forceActiveFocus()
    }

    onVisibleChanged: {
        if (!visible) {
            stopAllJogs()
            if (app.saveWindowsPos)
                app.executionInterfacePos = Qt.vector4d(x, y, width, height)
        } else {
            takeKeys()
        }
    }

    // ---- typed commands
    property var history: History.create()
    // The command line (the main panel puts it here).
    property var commandField: null
    readonly property bool commandWarning: app.machineSpeed > 10 && app.calibrated

    // Sends the typed command; nothing while not calibrated or while G-code runs.
    function sendCommand() {
        var text = commandField.text
        if (!app.calibrated || !app.gCodeDone || text.trim() === "")
            return false
        app.gCodeSend(text, false, null)
        history = History.add(history, text)
        commandField.text = ""
        return true
    }
    function recallCommand(older, autoRepeat) {
        var r = History.recall(history, older, autoRepeat)
        history = r.history
        if (r.text !== null)
            commandField.text = r.text
    }

    // ---- outputs, canned motions, nozzles
    // The homing and calibration sequence runs.
    readonly property bool calibrating: app.machineState.activityCount > 0 && app.activityRunning("homing")
    readonly property bool cannedAllowed: app.calibrated && !app.executing
    property string editMenuSetting: ""
    property string editMenuCaption: ""
    property alias gCodeEditor: gCodeEditor
    property alias warmUp: warmUp

    function outputText(n) {
        switch (n) {
        case 0: return app.t + qsTr("Компрессор")
        case 1: return app.t + qsTr("Пн-клапан 1")
        case 2: return app.t + qsTr("Пн-клапан 2")
        case 4: return app.t + qsTr("Кам 1/Кам 2")
        case 6: return app.t + qsTr("Вибропитатель 1")
        case 7: return app.t + qsTr("Вибропитатель 2")
        case 8: return app.t + qsTr("Вых 1")
        case 9: return app.t + qsTr("Вых 2")
        case 10: return app.t + qsTr("Вых 3")
        }
        return ""
    }
    function vibroBanks() {
        var banks = []
        for (var i = 0; i < app.vibroBankModel.count; ++i)
            banks.push(app.vibroBankModel.get(i))
        return banks
    }
    function outputAllowed(n, configured) {
        if (!app.cncRunning)
            return false
        if (n === 6)
            return app.vibroBankModel.count > 0 && DirectControl.vibroButtonEnabled(vibroBanks())
        if (n <= 2 && calibrating)
            return false
        return configured
    }
    // An output button pressed. Vibration feeder 1 goes by bank 0's drive.
    function pressOutput(n) {
        var triggered = app.doutList.get(n).triggered === true
        if (n === 6) {
            var bank = app.vibroBankModel.count > 0 ? app.vibroBankModel.get(0) : null
            switch (DirectControl.vibroButtonAction(bank, app.executing, app.calibrated)) {
            case "pwm":
                app.startPWMVibro(Number(bank.pwmFreq), Number(bank.pwmDutyCycle), Number(bank.pwmLength))
                return
            case "gcode":
                app.gCodeWait(String(bank.g1), false, null)
                return
            }
        }
        app.setDoutOn(n, !triggered)
    }

    // Runs a canned motion: the G-code setting `setting` with safe height.
    function runCanned(setting) {
        if (!cannedAllowed)
            return false
        var text = setting === "preCameraGcode"
                ? DirectControl.toCameraText(app.preCameraGcode, app.camera2X, app.camera2Y)
                : String(app[setting])
        if (text === null) {
            app.errorMessage(app.t + qsTr("Положение камеры компонентов задано неверно"), false, "")
            return false
        }
        if (text.trim() === "") {
            app.logAdd(app.t + qsTr("G-код не задан"), "yellow")
            return false
        }
        app.gCodeWait(text, true, null)
        return true
    }
    function editCanned(setting, caption) { return gCodeEditor.edit(setting, caption) }

    // What the service moves of the head camera to the calibration marks
    // depend on (directControl.js markMoveAllowed).
    readonly property var markState: ({ "calibrated": app.calibrated, "executing": app.executing,
                                        "calibEnabled": app.calibEnabled, "calib2Enabled": app.calib2Enabled })
    function markMoveAllowed(move) { return DirectControl.markMoveAllowed(markState, move) }

    // The head camera over a calibration mark: the first through the short
    // calibration-mark search, the second through its check. Both light the
    // head camera and show its window.
    function toCalibrationMark(number) {
        if (!markMoveAllowed(number === 2 ? "mark2" : "mark1"))
            return false
        app.showCameraWindow(1)
        if (number === 1) {
            app.justCalibrateWait(null)
            return true
        }
        app.setActivity("secondCalibrationMark", true)
        app.jobPort.steps.toSecondCalibSign(true, function() { app.setActivity("secondCalibrationMark", false) })
        return true
    }

    // The head camera centred on the mark it sees (the calibration mark's
    // recognition settings), to one encoder step.
    function centreOnMark() {
        var w = window
        return DirectControl.centreOnMark({
            "state": function() { return w.markState },
            "showHeadCamera": function() { w.app.showCameraWindow(1) },
            "setActivity": function(name, on) { w.app.setActivity(name, on) },
            "step": function(name) { return w.app.jobPort.steps[name] || null },
            "cameraStop": function() { w.app.jobPort.markPort.cameraStop() },
            "finished": function(ok) {
                if (!ok)
                    w.app.logAdd(w.app.t + qsTr("Не удалось навести камеру на знак"), "yellow")
            }
        })
    }

    // The nozzle buttons: nozzle `index` onto the head, or, when it is the
    // one on the head, back to its place. Both run the job's nozzle step.
    function changeNozzle(index) {
        if (!cannedAllowed)
            return false
        var wanted = app.currVC === index ? -1 : index
        app.setActivity("nozzleChange", true)
        app.jobPort.steps.cupWait(wanted, function() { app.setActivity("nozzleChange", false) })
        return true
    }
    // The held part into the basket, by the job's basket step.
    function dropToBasket() {
        if (!cannedAllowed || app.currVC < 0)
            return false
        app.setActivity("basketDrop", true)
        app.jobPort.steps.elToBasketWait(function() { app.setActivity("basketDrop", false) })
        return true
    }

    function toggleMachineOn() { app.setMachineOn(!app.machineOn) }
    function calibrate() {
        if (!app.machineOn || app.executing)
            return false
        app.homeWait(null)
        return true
    }

    function endOwnActivities() {
        app.setActivity("nozzleChange", false)
        app.setActivity("basketDrop", false)
        app.setActivity("secondCalibrationMark", false)
        app.setActivity(DirectControl.CENTRE_ACTIVITY, false)
    }

    Component.onCompleted: {
        var p = app.executionInterfacePos
        if (app.saveWindowsPos && p.z > 0 && p.w > 0) {
            x = p.x
            y = p.y
        }
        app.toolWindows.register("executionInterface", window)
    }
    Connections {
        target: window.app
        function onCncRunningChanged() { if (!window.app.cncRunning) window.close() }
        // A failed move or any machine error ends the trip to the second
        // mark and the centring (the job's steps drop their continuations).
        function onAppError() { window.endOwnActivities() }
        function onMachineOnChanged() { window.endOwnActivities() }
        function onCalibratedChanged() {
            if (window.commandField)
                window.commandField.text = ""
        }
    }
    // The machine link learns whether the extra panel (the inputs) is shown.
    readonly property bool diagOpened: extraOpen && visible
    onDiagOpenedChanged: app.diagOpenedSend(diagOpened)

    WarmUpRun { id: warmUp; app: window.app }
    GCodeSettingEditor { id: gCodeEditor; app: window.app }

    Shortcut { sequence: "Ctrl+-"; onActivated: app.setMachineSpeedSlider(app.machineSpeedSliderValue - 1) }
    Shortcut { sequences: ["Ctrl++", "Ctrl+="]; onActivated: app.setMachineSpeedSlider(app.machineSpeedSliderValue + 1) }
    Shortcut { sequence: "Shift+F9"; onActivated: window.zUp() }

    // Clicking anywhere gives the keys back to the jog handler.
    MouseArea {
        anchors.fill: parent
        onPressed: {
            window.takeKeys()
            mouse.accepted = false
        }
    }
    Item {
        id: jogHandler
        objectName: "jogHandler"
        focus: true
        Keys.onPressed: window.handleKey(event, true)
        Keys.onReleased: window.handleKey(event, false)
        onActiveFocusChanged: {
            if (activeFocus)
                window.stopsSent = false
            else
                window.stopAllJogs()
        }
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        ExecutionMainPanel {
            Layout.preferredWidth: window.narrowWidth - 14
            Layout.fillHeight: true
            app: window.app
            control: window
        }
        // The side button that opens the extra panel.
        Rectangle {
            Layout.preferredWidth: 14
            Layout.fillHeight: true
            color: extraToggle.containsMouse ? "#4b5559" : "#3a4246"
            Text {
                anchors.centerIn: parent
                color: "white"
                text: window.extraOpen ? "‹" : "›"
                font.pixelSize: 16
            }
            MouseArea {
                id: extraToggle
                objectName: "extraToggle"
                anchors.fill: parent
                hoverEnabled: true
                onClicked: window.extraOpen = !window.extraOpen
            }
        }
        ExecutionExtraPanel {
            visible: window.extraOpen
            Layout.preferredWidth: window.wideWidth - window.narrowWidth
            Layout.fillHeight: true
            app: window.app
            control: window
        }
    }
}

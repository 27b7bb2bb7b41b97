import QtQuick 2.15
import "warmUp.js" as WarmUp

// The warm-up run before work: idle → running (the program in the G-code
// channel) → calibrating (the short calibration-mark search) → idle.
// It is a long activity of its own ("warmUp") while it runs. Any change of
// the homed-and-calibrated state, a machine error or the operator stops it.
Item {
    id: run
    property var app
    // "idle", "running" or "calibrating".
    property string phase: "idle"
    readonly property bool running: phase !== "idle"
    // The last program sent, for the operator's log and the tests.
    property string program: ""
    // Each start gets a new ticket: a continuation of an earlier start that
    // comes late does nothing.
    property int ticket: 0

    function start() {
        if (running)
            return false
        phase = "running"
        app.setActivity("warmUp", true)
        var text = WarmUp.program({ "x1": app.workAreaX1, "y1": app.workAreaY1, "x2": app.workAreaX2, "y2": app.workAreaY2 },
                                  app.slowAcc, app.maxVel, app.maxAcc)
        if (text === null) {
            phase = "idle"
            app.setActivity("warmUp", false)
            app.errorMessage(app.t + qsTr("Прогонка невозможна: границы рабочей зоны или скорости осей не известны"),
                             false, "")
            return false
        }
        ticket += 1
        var mine = ticket
        program = text
        // The head camera's light, its window in front, full speed.
        app.setDoutOn(4, false)
        var componentCamera = app.findToolWindow("camera2Window")
        if (componentCamera)
            componentCamera.close()
        app.showToolWindow("camera1Window")
        app.setMachineSpeedSlider(100)
        app.logAdd(app.t + qsTr("Прогонка аппарата начата"), "yellow")
        app.gCodeWait(text, true, function() { run.programDone(mine) })
        return true
    }

    function programDone(mine) {
        if (mine !== ticket || phase !== "running")
            return
        app.prerunDone = true
        phase = "calibrating"
        app.justCalibrateWait(function() {
            if (mine === run.ticket)
                run.end(true)
        })
    }

    // Stops the run (the operator, a state change, an error).
    function stop() { return end(false) }

    // Ends the run: the machine stops whatever it does and both camera
    // windows close.
    function end(finished) {
        if (!running)
            return false
        ticket += 1
        phase = "idle"
        // The waiters let go first, so that the aborted block is not taken
        // for a machine failure.
        app.jobPort.stopAll()
        app.setAbort()
        var cameras = ["camera1Window", "camera2Window"]
        for (var i = 0; i < cameras.length; ++i) {
            var w = app.findToolWindow(cameras[i])
            if (w)
                w.close()
        }
        app.setActivity("warmUp", false)
        app.logAdd(finished ? app.t + qsTr("Прогонка аппарата выполнена") : app.t + qsTr("Прогонка аппарата остановлена"),
                   "yellow")
        return true
    }

    Connections {
        target: run.app
        function onMachineHomed2Changed() { run.stop() }
        function onAppError() { run.stop() }
        function onCncRunningChanged() { if (!run.app.cncRunning) run.stop() }
    }
}

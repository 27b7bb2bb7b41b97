import QtQuick 2.15

// The part of the job port that the head-camera steps (marks.js) and the
// nozzle-on-head check (nozzleOnHead.js) use: the run's marks and dots, the
// head camera through its request object, the board-move dialog, the
// calibration state, the vacuum sensor. `install(port)` adds these functions
// to the job port's object; the job port owns this item.
Item {
    id: markPort
    property var app
    property var machineState
    property var jobPort

    readonly property var screen: app.smtInterface
    readonly property var request: app.headCameraRequest

    // ---- head camera
    // Recognition settings in the camera's terms. A mark without settings of
    // its own is looked for with the project's mark settings (the same ones
    // the board view draws it with); element sizes are millimetres.
    function cameraSettings(s) {
        if (!s)
            return null
        if (s.indiv !== true) {
            var common = request.markSettings(null)
            if (s.exposure !== undefined)
                common.exposure = Number(s.exposure)
            return common
        }
        var ppm = Number(request.pixelsPerMm)
        var out = {
            "mode": String(s.mode),
            "param1": Number(s.t1),
            "param2": Number(s.t2),
            "roiPercent": Number(s.roi),
            "inverse": s.inv === true,
            "targetSize": Number(s.calcSize) * ppm,
            "targetSize2": Number(s.calcSize2) * ppm,
            "exposure": Number(s.exposure),
            "photo": String(s.photo || "")
        }
        if (s.templateMathCoeff !== undefined)
            out.templMatchCoeff = Number(s.templateMathCoeff)
        return out
    }

    // The settings last put on the camera while it was held: a request with
    // the same ones takes the next picture without letting the camera settle.
    property string loadedKey: ""

    function cameraRequest(settings, onResult) {
        var cs = cameraSettings(settings)
        var key = JSON.stringify(cs)
        var same = request.hold && key === loadedKey
        loadedKey = key
        var settle = request.settleFrames
        if (same)
            request.settleFrames = 0
        request.ask(same ? null : cs, 1, function(r) {
            onResult({ "found": r.found === true && r.timeout !== true, "x": Number(r.x), "y": Number(r.y),
                       "timeout": r.timeout === true })
        })
        request.settleFrames = settle
    }

    function window() { return app.findToolWindow("camera1Window") }
    property bool windowShownByStep: false

    function cameraStart() {
        request.hold = true
        var w = window()
        if (app.camera1AutoShow && w && !w.visible) {
            windowShownByStep = true
            app.showToolWindow("camera1Window")
        }
    }
    // Stops calculating; during a run the window goes.
    function cameraStop() {
        request.cancel()
        request.hold = false
        loadedKey = ""
        var w = window()
        if (w && w.visible && screen.executing) {
            w.markCross = false
            w.close()
        }
        windowShownByStep = false
    }
    property bool crossWindowWasVisible: false
    function crossHair(on) {
        var w = window()
        if (!w)
            return
        if (on) {
            if (!w.markCross)
                crossWindowWasVisible = w.visible
            w.markCross = true
            app.showToolWindow("camera1Window")
        } else if (w.markCross) {
            w.markCross = false
            if (!crossWindowWasVisible)
                w.close()
        }
    }
    function notFound() {
        var w = window()
        if (w)
            w.notFound()
    }

    // ---- the words XCalib and YCalib of G-code (the calibration G-code
    // uses them) stand for the calibration mark's position: the machine link
    // learns it whenever it changes and whenever LinuxCNC comes up.
    readonly property var calibWords: [app.calibX, app.calibY, app.cncRunning]
    onCalibWordsChanged: app.calibXYSend(Number(app.calibX), Number(app.calibY))

    // ---- the board-move dialog of the mark search
    BoardMoveDialog {
        id: boardMoveDialog
        app: markPort.app
    }
    property alias boardMoveDialog: boardMoveDialog
    function showBoardMoveDialog(values, onAnswer) {
        screen.pcbMoveDialogShown = true
        app.beep()
        boardMoveDialog.open(values, function(answer) {
            screen.pcbMoveDialogShown = false
            if (onAnswer)
                onAnswer(answer)
        })
    }
    function boardMoveAgree() {
        if (boardMoveDialog.waiting)
            boardMoveDialog.answer("yes")
    }
    function closeBoardMoveDialog() {
        boardMoveDialog.dismiss()
        screen.pcbMoveDialogShown = false
    }

    // ---- the operator panel of a mark that was not found: one panel
    // mechanism with the run's other panels (panels.js).
    function showPanel(name, values, onButton) {
        return jobPort.sequencer.showPanel(name, values, onButton)
    }

    // The run's marks in the order of the search, the project's marks.
    function liveRefs() {
        var out = []
        var list = app.refList
        for (var i = 0; i < list.length; ++i)
            if (!list[i].deleted)
                out.push(list[i])
        return out
    }

    function rowErrorUp() {
        var model = jobPort.port.model()
        var row = jobPort.sequencer.make.Step
        if (!model || row < 0 || row >= model.rowCount)
            return
        var n = Number(model.getErrorCount(row))
        model.setErrorCount(row, String((isFinite(n) ? n : 0) + 1))
    }

    function install(port) {
        port.refListMulti = function() { return markPort.screen.refListMulti }
        port.refList = function() { return markPort.liveRefs() }
        port.dotGroup = function(index) { return markPort.screen.dotAA[index] || [] }
        port.feederOf = function(model, index) { return markPort.screen.creation.feederOf(model, index) }
        port.onCheckScreen = function() { return markPort.app.activityRunning("check") }
        port.rowErrorUp = function() { markPort.rowErrorUp() }
        port.headCamera = {
            "start": function() { markPort.cameraStart() },
            "stop": function() { markPort.cameraStop() },
            "request": function(settings, onResult) { markPort.cameraRequest(settings, onResult) },
            "crossHair": function(on) { markPort.crossHair(on === true) },
            "notFound": function() { markPort.notFound() }
        }
        port.showBoardMoveDialog = function(values, onAnswer) { markPort.showBoardMoveDialog(values, onAnswer) }
        port.moveBoard = function(dx, dy) {
            markPort.app.area.moveBoard(dx, dy)
            markPort.app.logAdd(markPort.app.t + qsTr("Плата в проекте сдвинута на X: %1 Y: %2 мм")
                                .arg(Number(dx).toFixed(2)).arg(Number(dy).toFixed(2)), "yellow")
        }
        port.stopByOperator = function() { markPort.jobPort.sequencer.stop("user") }
        // The mark's own settings, or the project's mark settings (null).
        port.openRefSettings = function(mark) {
            var a = markPort.app
            var name = mark ? "refPointSettings" : "pcbSettings"
            var w = a.findToolWindow(name)
            if (w && mark && typeof w.editMark === "function")
                w.editMark(mark)
            a.showToolWindow(name)      // a window that does not exist is logged
        }
        port.setRelXY = function(x, y) {
            var s = markPort.machineState
            s.relX = Number(x)
            s.relY = Number(y)
            markPort.app.relXYSend(s.relX, s.relY)
        }
        port.sendCalibXY = function(x, y) { markPort.app.calibXYSend(Number(x), Number(y)) }
        port.setCalibrating = function(on) { markPort.machineState.calibrating = on === true }
        port.setCalibrated = function(on) { markPort.machineState.calibrated = on === true }
        port.setCalibFound = function(found, x, y) {
            var s = markPort.machineState
            s.calibFound = found === true
            s.calibFoundX = Number(x) || 0
            s.calibFoundY = Number(y) || 0
        }
        port.setDoutOn = function(n, on) { markPort.app.setDoutOn(n, on === true) }
        port.showError = function(text, type) { markPort.app.errorMessage(markPort.app.t + text, false, type || "") }
        // the nozzle-on-head check
        port.vacuum = {
            "start": function() {
                var a = markPort.app
                if (!a.vsRunning && !a.vsStarting)
                    a.vsStart(a.vsFileName)
            },
            "running": function() { return markPort.app.vsRunning === true },
            "latest": function() {
                return { "value": Number(markPort.app.vsMeasureResult), "time": Number(markPort.app.vsMeasureTime) }
            },
            // The instruments ask for the readings, every 20 ms in fast mode.
            "setFast": function(on) { markPort.app.vsFastPolling = on === true }
        }
        port.abortMotion = function() { markPort.app.setAbort() }
        port.currVC = function() { return markPort.machineState.currVC }
        port.setCurrVC = function(n) { markPort.machineState.currVC = Number(n) }
    }
}

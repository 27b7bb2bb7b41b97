.pragma library
.import "program.js" as Program
.import "panels.js" as Panels

// Run control of a placement job: start, the row driver `make`, the end of a
// run, stop, automatic restart, pause by the start key, the operator panels,
// the nozzle confirmation and the second pass over missed components.
//
// `create(port)` makes one sequencer over a port (see JobPort.qml; the tests
// give a fake machine). Nothing here waits: each function does its part and
// returns; the row functions get `make` as their continuation and call it
// when their row is done. `make.Step` is the current row (-1: none).
//
// What the sequencer uses of the port, beyond the waiters' part:
//   run()                 the run state (the job screen): executing,
//                         lineToStart, placingMissedComponents, prevOpModel,
//                         currPlacedComponents, pcbCounter, lastRunFinished,
//                         lastPlacedLine, lastPlacedLineCount, lastPlacedText,
//                         missedCount, cupWarning, keepFirstTapeComponent,
//                         panel, operatorPanelShown, pcbMoveDialogShown,
//                         missedWindowShown, nozzleConfirmShown
//   model(), missedModel() the operations models ("opModel", "missedModel")
//   setting(name)         a machine setting (startingGcode, endingGcode,
//                         tapeChangeGCode, progAutoRestart, endingGCodeOnUserStop,
//                         finalSoundEnabled, projectAutosave,
//                         projectAutosaveInterval, workAreaX1, workAreaY2)
//   step(name)            a step function by name, or null while none exists
//   later(fn)             calls fn once the current event is handled
//   startAllowed()        the start action is enabled
//   homedAndCalibrated(), setPaused(on)
//   selectRow(row)        shows the row being executed
//   stopwatch(action)     "start", "stop", "pause", "resume"; runSeconds()
//   boardCount()          boards of one run (1, or the kept boards of a panel)
//   countFinishedBoards(n) the project's and the day's finished boards
//   playFinalSound(), beep(), saveProject()
//   closeWindow(name)     "feederEditor", "aoiInterface", "executionInterface"
//   startVacuumSensor(), resetVibration(), recalcUsedRefs()
//   resetVision(), stopWaiters(), resetSteps(), resetRlc(),
//   resetVacuumErrors(), resetProgrammer(), disconnectSignals(), resetFeeders()
//   showMissedWindow(shown), showNozzleConfirm(shown), boardMoveAgree()
// Event entries the port's owner calls: pauseGet(), gCodeDoneGet(ok),
// machineOnGet(), homedAndCalibratedGet(), appErrorGet().

// The functions a row of the program may name.
var ROW_FUNCTIONS = ["justCalibrateWait", "gCodeWait", "findRefPoints", "setupDots", "cupWaitDummy",
                     "setupFeeder", "cupWait", "aoi"]
// Row functions that later libraries bring; until one exists its rows end
// as "не выполнено" and the run goes on.
var LATER_ROW_FUNCTIONS = ["setupFeeder", "cupWaitDummy", "cupWait", "aoi"]

function create(port) {
    var s = {}

    function run() { return port.run() }
    function count(v) {
        var n = Number(v)
        return isFinite(n) ? n : 0
    }
    function rowText(model, row, line) {
        if (typeof model.index !== "function" || typeof model.data !== "function")
            return ""
        var index = line >= 0 ? model.index(line, 0, model.index(row, 0)) : model.index(row, 0)
        var text = model.data(index, 257)
        return text === undefined || text === null ? "" : String(text)
    }

    // ---- the stopwatch runs while a run runs, held while paused or while an
    // operator panel waits
    var stopwatchHeld = false
    function stopwatchUpdate() {
        var r = run()
        if (!r.executing)
            return
        var hold = port.paused() || r.operatorPanelShown === true
        if (hold && !stopwatchHeld) {
            stopwatchHeld = true
            port.stopwatch("pause")
        } else if (!hold && stopwatchHeld) {
            stopwatchHeld = false
            port.stopwatch("resume")
        }
    }

    // ---- the ending G-code after the operator's stop: sent once the
    // machine is idle; a failed block, the machine switched off and every
    // new start disarm it
    var endingArmed = false
    function endingConditions() {
        return port.setting("endingGCodeOnUserStop") === true && String(port.setting("endingGcode")) !== ""
                && port.machineOn() && port.homed() && !port.busy()
    }
    function sendEnding() {
        endingArmed = false
        port.sendGCode(String(port.setting("endingGcode")) + "\ng0 zMax\n", true, null)
    }

    // ---- automatic restart: one deferred start, cancelled by any stop
    var restartTicket = 0
    var tickets = 0

    // ---- start
    function start() {
        var r = run()
        var model = port.model()
        endingArmed = false
        restartTicket = 0
        s.startCount += 1
        port.closeWindow("feederEditor")
        if (r.placingMissedComponents)
            port.log(qsTr("Запущена расстановка пропущенных компонентов!"))
        else
            port.log(qsTr("Программа расстановки запущена"))
        port.closeWindow("aoiInterface")
        stopwatchHeld = false
        port.stopwatch("start")
        r.currPlacedComponents = 0
        r.lastRunFinished = false
        r.lastPlacedLine = 0
        r.lastPlacedLineCount = 0
        r.executing = true
        port.missedModel().clear()
        r.missedCount = 0
        // Component lines switched off, and those before the chosen line,
        // are not placed in this run.
        var from = count(r.lineToStart)
        var rows = model.rowCount
        for (var row = 0; row < rows; ++row) {
            var lines = model.getSubSteps(row)
            for (var line = 0; line < lines; ++line) {
                var ep = model.getP1(row, line)
                if (!ep || typeof ep !== "object")
                    continue
                ep.disabledTemp = model.getEnabled(row, line) === 0
                        || (from > 0 && model.getLineNumber(row, line) < from)
            }
            model.setComplete(row, "")
            model.setErrorCount(row, "")
        }
        port.closeWindow("executionInterface")
        port.startVacuumSensor()
        port.resetVibration()
        port.recalcUsedRefs()
        make(0)
    }

    // ---- the row driver
    var dispatching = false
    var redo = false
    function make(step) {
        if (!run().executing)
            return
        if (step !== undefined)
            make.Step = Number(step)
        else
            make.Step = make.Step < 0 ? 0 : make.Step + 1
        // A row function that finishes at once calls make() again from inside
        // the dispatch: the loop below takes it up instead of going deeper.
        if (dispatching) {
            redo = true
            return
        }
        dispatching = true
        try {
            do {
                redo = false
                dispatch()
            } while (redo && run().executing)
        } finally {
            dispatching = false
        }
    }
    make.Step = -1

    function dispatch() {
        var model = port.model()
        for (;;) {
            var rows = model.rowCount
            var row = make.Step
            while (row < rows && !(model.getEnabled(row, -1) > 0))
                ++row
            if (row >= rows) {
                make.Step = row
                finish()
                return
            }
            make.Step = row
            port.selectRow(row)
            var name = String(model.getOpFunc(row))
            if (ROW_FUNCTIONS.indexOf(name) < 0) {
                stop()
                port.fail(qsTr("Неизвестная операция в программе: ") + name)
                return
            }
            var fn = port.step(name)
            if (typeof fn !== "function") {
                // Not available yet: the row is not done and the run goes on.
                model.setComplete(row, qsTr("не выполнено"))
                port.log(qsTr("Операция недоступна в этой версии программы: ") + rowText(model, row, -1), "yellow")
                make.Step = row + 1
                continue
            }
            var p1 = model.getP1(row, -1)
            var p2 = model.getP2(row)
            if (name === "gCodeWait" && (p1 === "startingGcode" || p1 === "endingGcode"))
                p1 = String(port.setting(p1))
            // A row function that throws (a fault of the program) stops the
            // run instead of leaving it waiting for a continuation.
            try {
                if (p1 === undefined)
                    fn(make)
                else if (p2 === undefined)
                    fn(p1, make)
                else
                    fn(p1, p2, make)
            } catch (e) {
                stop()
                port.fail(qsTr("Внутренняя ошибка программы: ") + (e && e.message ? e.message : String(e)))
            }
            return
        }
    }

    // ---- the end of a run
    function finish() {
        var r = run()
        var placed = count(r.currPlacedComponents)
        // Boards count only when something was placed, and not on a second pass.
        if (placed > 0 && !r.placingMissedComponents) {
            var boards = count(port.boardCount())
            r.pcbCounter = count(r.pcbCounter) + boards
            port.countFinishedBoards(boards)
        }
        if (port.setting("finalSoundEnabled") === true && count(port.runSeconds()) > 20)
            port.playFinalSound()
        port.log(qsTr("Программа расстановки завершена. Установлено компонентов: ") + placed)
        r.lastRunFinished = true
        var missed = port.missedModel().rowCount > 0
        if (missed) {
            r.missedWindowShown = true
            port.showMissedWindow(true)
        }
        // A run that placed nothing is not repeated (it would only repeat
        // itself at once); the new run starts once this one has returned.
        if (port.setting("progAutoRestart") === true && !missed && placed > 0) {
            var ticket = ++tickets
            restartTicket = ticket
            port.later(function() {
                if (restartTicket !== ticket || !run().executing)
                    return
                restartTicket = 0
                start()
            })
            return
        }
        stop(true)
    }

    // ---- stop: result undefined (an interruption), "user" or true (the run
    // ended by itself)
    function stop(result) {
        var r = run()
        var wasRunning = r.executing === true
        restartTicket = 0
        if (result === "user") {
            port.log(qsTr("Программа расстановки остановлена оператором"), "yellow")
        } else if (result === true) {
            r.keepFirstTapeComponent = false
            if (port.setting("projectAutosave") === true && count(port.setting("projectAutosaveInterval")) === 0
                    && count(r.currPlacedComponents) > 0)
                port.saveProject()
        } else if (wasRunning) {
            port.log(qsTr("Программа расстановки прервана"), "red")
        }
        port.resetVision()
        port.stopWaiters()
        port.resetSteps()
        make.Step = -1
        hidePanel(true)
        port.resetRlc()
        port.resetVacuumErrors()
        port.resetProgrammer()
        port.disconnectSignals()
        port.resetFeeders()
        if (wasRunning)
            port.stopwatch("stop")
        stopwatchHeld = false
        r.cupWarning = false
        r.executing = false
        if (port.paused())
            port.setPaused(false)
        if (result === "user" && endingConditions()) {
            if (port.gCodeDone())
                sendEnding()
            else
                endingArmed = true
        }
        leaveSecondPass()
    }

    // ---- the start/stop action and the start key
    function startStopF() {
        var r = run()
        if (!port.startAllowed())
            return false
        if (r.executing) {
            stop("user")
            return true
        }
        if (r.cupWarning === true) {
            r.nozzleConfirmShown = true
            port.showNozzleConfirm(true)
            return true
        }
        start()
        return true
    }

    // "Начать" and the start key: from the beginning; "Начать с выбранного
    // компонента": from a line number.
    function startFrom(line) {
        run().lineToStart = Math.max(0, Math.round(count(line)))
        return startStopF()
    }
    // "Продолжить расстановку" is offered after a run that did not finish,
    // while the program is the one the last placed line belongs to.
    function continueAvailable() {
        var r = run()
        return r.lastRunFinished !== true && count(r.lastPlacedLine) > 0
                && port.model().lineCount === count(r.lastPlacedLineCount)
    }
    function continueFromLastPlaced() {
        if (run().executing || !continueAvailable())
            return false
        return startFrom(count(run().lastPlacedLine) + 1)
    }

    // The nozzle confirmation: "Верно" (true) starts, "Нет" (false) does not.
    function nozzleConfirmed(ok) {
        var r = run()
        r.nozzleConfirmShown = false
        port.showNozzleConfirm(false)
        if (ok === true && !r.executing && port.startAllowed())
            start()
    }

    function pauseEnabled() {
        var r = run()
        return r.executing === true && r.operatorPanelShown !== true && r.pcbMoveDialogShown !== true
    }
    function togglePause() {
        if (!pauseEnabled())
            return false
        port.setPaused(!port.paused())
        return true
    }

    function progStartBtnPressed() {
        var r = run()
        if (!r.executing) {
            startFrom(0)
        } else if (r.pcbMoveDialogShown === true) {
            port.boardMoveAgree()
        } else if (!current || current.panel.duringPause) {
            togglePause()
        } else {
            pressMainButton()
        }
    }

    // ---- operator panels: exactly one at a time
    var current = null     // { panel, onButton }

    function showPanel(name, values, onButton) {
        var p = Panels.make(name, values)
        if (!p) {
            stop()
            port.fail(qsTr("Неизвестная панель оператора: ") + name)
            return false
        }
        if (p.duringPause && !port.paused())
            return false
        var r = run()
        current = { "panel": p, "onButton": onButton || null }
        r.panel = p
        r.operatorPanelShown = !p.duringPause
        // The pause button is disabled while a panel waits, which clears the pause.
        if (!p.duringPause && port.paused())
            port.setPaused(false)
        port.beep()
        stopwatchUpdate()
        return true
    }

    // `stopping`: the run ends, the stopwatch stops rather than resumes.
    function hidePanel(stopping) {
        var r = run()
        current = null
        if (r.panel !== null && r.panel !== undefined)
            r.panel = null
        if (r.operatorPanelShown)
            r.operatorPanelShown = false
        if (stopping !== true)
            stopwatchUpdate()
    }

    function panelButton(id) {
        var c = current
        if (!c)
            return false
        var b = Panels.buttonOf(c.panel, id)
        if (!b || !b.enabled)
            return false
        if (b.action === "moveAway") {
            // The head leaves the feeder so that the operator can reach it.
            port.sendGCode("g0 zMax\n" + String(port.setting("tapeChangeGCode")), true, null)
            return true
        }
        if (!b.keep)
            hidePanel()
        if (c.onButton)
            c.onButton(id)
        return true
    }

    function pressMainButton() {
        if (!current || current.panel.main === "")
            return false
        return panelButton(current.panel.main)
    }

    // The row being executed reports its result in its "complete" column.
    function rowComplete(text) {
        var model = port.model()
        if (make.Step >= 0 && make.Step < model.rowCount)
            model.setComplete(make.Step, String(text))
    }

    // ---- a placed component (reported by the component cycle)
    function componentPlaced(ep) {
        var r = run()
        r.currPlacedComponents = count(r.currPlacedComponents) + 1
        if (!ep)
            return
        var lineNumber = count(ep.lineNumber)
        r.lastPlacedLine = lineNumber
        r.lastPlacedLineCount = port.model().lineCount
        var el = ep.el || {}
        var x = count(ep.rX) + count(ep.elWidth) / 2 + count(port.setting("workAreaX1"))
        var y = count(port.setting("workAreaY2")) - count(ep.rY) - count(ep.elHeight) / 2
        r.lastPlacedText = qsTr("Последний установл. компонент: питатель: ") + Program.feederName(el.model) + "  "
                + (count(el.index) + 1) + qsTr("; коорд.: X:") + x.toFixed(2) + " Y:" + y.toFixed(2)
                + qsTr("; строка: ") + lineNumber
    }

    // ---- second pass over missed components
    function closeMissedWindow() {
        var r = run()
        r.missedWindowShown = false
        port.showMissedWindow(false)
        port.missedModel().clear()
    }

    // "Доустановить выбранные компоненты": only the checked missed lines stay on.
    function placeMissed() {
        var r = run()
        var model = port.model()
        var missed = port.missedModel()
        var prev = []
        var positions = []
        var row, line
        for (row = 0; row < model.rowCount; ++row) {
            var lines = []
            var n = model.getSubSteps(row)
            for (line = 0; line < n; ++line) {
                lines.push(model.getEnabled(row, line))
                positions.push({ "row": row, "line": line })
            }
            prev.push(lines)
        }
        r.prevOpModel = prev
        for (var k = 0; k < positions.length; ++k)
            model.setEnabled(positions[k].row, positions[k].line, 0)
        // Each missed placement is looked for from the last match on, round
        // the whole program.
        var from = 0
        for (row = 0; row < missed.rowCount; ++row) {
            var m = missed.getSubSteps(row)
            for (line = 0; line < m; ++line) {
                if (missed.getEnabled(row, line) !== 1)
                    continue
                var ep = missed.getP1(row, line)
                var found = -1
                for (var i = 0; i < positions.length && found < 0; ++i) {
                    var at = (from + i) % positions.length
                    if (model.getP1(positions[at].row, positions[at].line) === ep)
                        found = at
                }
                if (found < 0) {
                    port.log(qsTr("Пропущенный компонент не найден в программе: ") + rowText(missed, row, line),
                             "yellow")
                    continue
                }
                model.setEnabled(positions[found].row, positions[found].line, 1)
                from = (found + 1) % positions.length
            }
        }
        r.placingMissedComponents = true
        closeMissedWindow()
    }

    // "Не доустанавливать"
    function dontPlaceMissed() {
        closeMissedWindow()
    }

    // Leaves second-pass mode ("Отмена", the end of the second pass): the
    // component lines are switched as they were before it.
    function leaveSecondPass() {
        var r = run()
        if (!r.placingMissedComponents)
            return
        r.placingMissedComponents = false
        var model = port.model()
        var prev = r.prevOpModel || []
        var rows = Math.min(prev.length, model.rowCount)
        for (var row = 0; row < rows; ++row) {
            var lines = prev[row] || []
            var n = Math.min(lines.length, model.getSubSteps(row))
            for (var line = 0; line < n; ++line)
                model.setEnabled(row, line, lines[line])
        }
    }

    // ---- events
    s.pauseGet = function() {
        if (current && current.panel.duringPause && !port.paused())
            hidePanel()
        stopwatchUpdate()
    }
    s.gCodeDoneGet = function(ok) {
        if (!endingArmed)
            return
        if (ok === false) {
            endingArmed = false
            return
        }
        if (endingConditions())
            sendEnding()
    }
    s.machineOnGet = function() {
        if (port.machineOn())
            return
        endingArmed = false
        if (run().executing)
            stop()
    }
    s.homedAndCalibratedGet = function() {
        if (!port.homedAndCalibrated() && run().executing)
            stop()
    }
    s.appErrorGet = function() {
        if (run().executing)
            stop()
    }

    s.startCount = 0
    s.start = start
    s.make = make
    s.stop = stop
    s.startStopF = startStopF
    s.startFrom = startFrom
    s.continueAvailable = continueAvailable
    s.continueFromLastPlaced = continueFromLastPlaced
    s.progStartBtnPressed = progStartBtnPressed
    s.nozzleConfirmed = nozzleConfirmed
    s.pauseEnabled = pauseEnabled
    s.togglePause = togglePause
    s.showPanel = showPanel
    s.panelButton = panelButton
    s.pressMainButton = pressMainButton
    s.componentPlaced = componentPlaced
    s.rowComplete = rowComplete
    s.placeMissed = placeMissed
    s.dontPlaceMissed = dontPlaceMissed
    s.leaveSecondPass = leaveSecondPass
    s.endingArmed = function() { return endingArmed }
    s.restartPending = function() { return restartTicket !== 0 }
    return s
}

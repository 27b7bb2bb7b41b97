import QtQuick 2.15
import QtTest 1.2
import "FakeMachine.js" as Fake
import "../../qml/main/job/waiters.js" as Waiters
import "../../qml/main/job/sequencer.js" as Sequencer

// Run control against the fake machine: the rows of a program in order,
// starting from a line, the operator's stop with the ending G-code,
// automatic restart, the end of a run, the second pass over missed
// components, the operator panels and the nozzle confirmation.
TestCase {
    name: "Sequencer"

    readonly property string startBlock: "g28 start\ng0 zMax\n"
    readonly property string endBlock: "g0 x0 y300\ng0 zMax\n"

    // A fake machine (on, homed, no other activity) with the waiters and the
    // sequencer over it, wired as the job port wires them; with `feeders`,
    // their program (see program()).
    function rig(options, feeders, flags) {
        var opts = options || {}
        if (opts.busy === undefined)
            opts.busy = false
        var m = Fake.create(opts)
        var w = Waiters.create(m.port)
        var s = Sequencer.create(m.port)
        w.rowDriver = s.make
        m.attach(w)
        m.attach(s)
        m.onRowComplete = s.rowComplete
        m.steps.gCodeWait = w.gCodeWait
        m.steps.justCalibrateWait = w.justCalibrateWait
        m.settings.startingGcode = "g28 start"
        m.settings.endingGcode = "g0 x0 y300"
        var r = { m: m, w: w, s: s, groups: [], calls: [], placed: [], pressed: [] }
        m.steps.cupWaitDummy = function(cup, f) {
            r.calls.push("cupWaitDummy:" + cup)
            f()
        }
        m.steps.setupFeeder = function(group, f) { feederStep(r, group, f) }
        if (feeders)
            program(r, feeders, flags)
        return r
    }

    // A feeder group as the component cycle runs it, reduced to what run
    // control needs: one block per placement without disabledTemp, the
    // placement reported when its block is done, the placed count in the
    // row. A placement with `miss` goes to the missed list instead; one with
    // `panel` raises that panel first and is placed after its button.
    function feederStep(r, group, f) {
        var list = r.groups[group]
        var i = 0
        var installed = 0
        var missedRow = false
        function place(ep) {
            r.w.gCodeWait("place " + ep.name, false, function() {
                r.s.componentPlaced(ep)
                r.placed.push(ep.name)
                ++installed
                next()
            })
        }
        function next() {
            while (i < list.length && list[i].disabledTemp)
                ++i
            if (i >= list.length) {
                r.m.port.rowComplete(String(installed))
                f()
                return
            }
            var ep = list[i++]
            if (ep.miss) {
                ep.miss = false
                if (!missedRow) {
                    r.m.missed.append({ op: "Питатель " + group, enabled: 1, opFunc: "setupFeeder", p1: group })
                    missedRow = true
                }
                r.m.missed.appendChild({ op: ep.name, enabled: 1, p1: ep, p2: "element" })
                r.m.run.missedCount += 1
                next()
                return
            }
            if (ep.panel) {
                var name = ep.panel
                ep.panel = ""
                r.s.showPanel(name, {}, function(id) {
                    r.pressed.push(id)
                    place(ep)
                })
                return
            }
            place(ep)
        }
        next()
    }

    // The program: the starting G-code (line 1), a nozzle row (2), one
    // feeder row per group with a line per placement, the ending G-code.
    // feeders: [["R1", "R2"], ["C1"]]; flags: { R2: { miss: true } }.
    function program(r, feeders, flags) {
        var model = r.m.model
        model.append({ op: "Исполнение стартового g-кода", enabled: 1, opFunc: "gCodeWait",
                       p1: "startingGcode", p2: true })
        model.append({ op: "Взятие насадки 1", enabled: 2, opFunc: "cupWaitDummy", p1: 0 })
        for (var g = 0; g < feeders.length; ++g) {
            model.append({ op: "Питатель " + g, enabled: 1, opFunc: "setupFeeder", p1: g })
            var list = []
            for (var k = 0; k < feeders[g].length; ++k) {
                var name = feeders[g][k]
                var ep = { name: name, rX: 10 * k, rY: 300, elWidth: 1, elHeight: 1,
                           el: { model: "B", index: g, designator: name }, disabledTemp: false }
                var extra = (flags || {})[name] || {}
                for (var key in extra)
                    ep[key] = extra[key]
                model.appendChild({ op: name, enabled: 1, p1: ep, p2: "element" })
                ep.lineNumber = model.lineCount
                list.push(ep)
            }
            r.groups.push(list)
        }
        model.append({ op: "Исполнение завершающего g-кода", enabled: 1, opFunc: "gCodeWait",
                       p1: "endingGcode", p2: true })
    }

    function logTexts(m) { return m.logs.map(function(l) { return l.text }) }
    function lastLog(m) { return m.logs.length > 0 ? m.logs[m.logs.length - 1] : { text: "", color: "" } }

    // ---- a run

    // The rows run in order, each step given its arguments; a row switched
    // off is passed over.
    function test_rowsRunInOrder() {
        var r = rig({ blockMode: "auto" }, [["R1", "R2"], ["C1"]])
        r.m.model.setEnabled(1, -1, 0)
        verify(r.s.startFrom(0))
        r.m.advance(1000)
        compare(r.m.sentTexts(), [startBlock, "place R1\ng0", "place R2\ng0", "place C1\ng0", endBlock])
        compare(r.m.sent.map(function(b) { return b.safeH }), [true, false, false, false, true])
        compare(r.m.selected, [0, 2, 3, 4])
        compare(r.calls, [])
        compare(r.m.model.completes(), ["выполнено", "", "2", "1", "выполнено"])
        verify(!r.m.run.executing)
        verify(r.m.run.lastRunFinished)
        compare(r.m.run.currPlacedComponents, 3)
    }

    function test_startPreparesTheRun() {
        var r = rig({}, [["R1", "R2"]])
        r.m.model.setEnabled(2, 1, 0)
        r.m.model.setComplete(0, "выполнено")
        r.m.model.setErrorCount(2, "3")
        r.m.missed.append({ op: "old", enabled: 1 })
        r.m.run.missedCount = 4
        r.groups[0][0].disabledTemp = true
        r.m.run.lastRunFinished = true
        r.m.run.lastPlacedLine = 9
        r.s.startFrom(0)
        compare(r.m.events.slice(0, 8), ["close:feederEditor", "close:aoiInterface", "stopwatch:start",
                                         "close:executionInterface", "vacuumSensor", "vibration",
                                         "recalcUsedRefs", "gcode:" + startBlock])
        verify(!r.groups[0][0].disabledTemp)      // cleared
        verify(r.groups[0][1].disabledTemp)       // switched off in the model
        compare(r.m.model.getComplete(0), "")
        compare(r.m.model.getErrorCount(2), "")
        compare(r.m.missed.rowCount, 0)
        compare(r.m.run.missedCount, 0)
        verify(!r.m.run.lastRunFinished)
        compare(r.m.run.lastPlacedLine, 0)
        compare(r.m.run.currPlacedComponents, 0)
    }

    // A long program of rows that finish at once runs without going deeper
    // on every row.
    function test_rowsThatFinishAtOnceDoNotNest() {
        var r = rig()
        r.m.settings.endingGcode = ""
        for (var i = 0; i < 5000; ++i)
            r.m.model.append({ op: "Взятие насадки", enabled: 2, opFunc: "cupWaitDummy", p1: i })
        r.s.startFrom(0)
        compare(r.calls.length, 5000)
        compare(r.calls[4999], "cupWaitDummy:4999")
        verify(!r.m.run.executing)
        compare(lastLog(r.m).text, "Программа расстановки завершена. Установлено компонентов: 0")
    }

    // ---- start from a line

    // Lines: start 1, nozzle 2, feeder 0 on 3 with R1..R10 on 4..13,
    // feeder 1 on 14 with C1, C2 on 15, 16, ending 17.
    function test_startFromLine() {
        var r = rig({ blockMode: "auto" },
                    [["R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "R10"], ["C1", "C2"]])
        r.s.startFrom(12)
        r.m.advance(1000)
        compare(r.placed, ["R9", "R10", "C1", "C2"])
        // The rows before the line run all the same.
        compare(r.m.sentTexts(), [startBlock, "place R9\ng0", "place R10\ng0", "place C1\ng0", "place C2\ng0",
                                  endBlock])
        compare(r.calls, ["cupWaitDummy:0"])
        compare(r.m.run.lineToStart, 12)
    }

    // ---- the operator's stop and the ending G-code

    function test_endingGCodeAfterStop_data() {
        function userStop(r) { verify(r.s.startStopF()) }
        return [
            { tag: "operator stop while a block runs: sent when it ends", after: [endBlock],
              act: function(r) { userStop(r); compare(r.m.sent.length, 2); r.m.finishBlock(true) } },
            { tag: "operator stop with the channel idle: sent at once", after: [endBlock],
              act: function(r) { r.s.togglePause(); r.m.finishBlock(true); userStop(r) } },
            { tag: "error stop", after: [],
              act: function(r) { r.m.raiseAppError(); r.m.finishBlock(true) } },
            { tag: "operator stop, the running block fails", after: ["g4 p1"],
              act: function(r) { userStop(r); r.m.finishBlock(false);
                                 r.m.port.sendGCode("g4 p1", false, null); r.m.finishBlock(true) } },
            { tag: "operator stop, machine switched off and on", after: ["g4 p1"],
              act: function(r) { userStop(r); r.m.setMachineOn(false); r.m.finishBlock(true);
                                 r.m.setMachineOn(true); r.m.port.sendGCode("g4 p1", false, null);
                                 r.m.finishBlock(true) } },
            { tag: "operator stop, then a new start", after: [startBlock], running: true,
              act: function(r) { userStop(r); r.s.startFrom(0); r.m.finishBlock(true) } },
            { tag: "operator stop, another activity runs", after: [],
              act: function(r) { r.m.busy = true; userStop(r); r.m.finishBlock(true) } },
        ]
    }
    function test_endingGCodeAfterStop(data) {
        var r = rig({}, [["R1", "R2"]])
        r.s.startFrom(0)
        r.m.finishBlock(true)
        compare(r.m.sentTexts(), [startBlock, "place R1\ng0"])
        data.act(r)
        compare(r.m.run.executing, data.running === true)
        compare(r.m.sentTexts().slice(2), data.after)
        if (data.after.length === 1 && data.after[0] === endBlock)
            compare(r.m.sent[2].safeH, true)
        // Nothing more comes later.
        verify(!r.s.endingArmed())
        r.m.advance(1000)
        compare(r.m.sentTexts().slice(2), data.after)
    }

    // How a run ends: its log line, and whether the first tape component is
    // kept for the next run (it is not after a run that finished).
    function test_runEnds_data() {
        var broken = "Программа расстановки прервана"
        var done = "Программа расстановки завершена. Установлено компонентов: "
        // Stopped while the first placement's block runs.
        function stop(fn) { return function(r) { r.m.advance(15); fn(r) } }
        return [
            { tag: "finished", act: function(r) { r.m.advance(1000) }, kept: false,
              text: done + "2", color: undefined },
            { tag: "operator", act: stop(function(r) { r.s.startStopF() }), kept: true,
              text: "Программа расстановки остановлена оператором", color: "yellow" },
            { tag: "error", act: stop(function(r) { r.m.raiseAppError() }), kept: true,
              text: broken, color: "red" },
            { tag: "calibration lost", act: stop(function(r) { r.m.setHomedAndCalibrated(false) }),
              kept: true, text: broken, color: "red" },
            { tag: "machine off", act: stop(function(r) { r.m.setMachineOn(false) }), kept: true,
              text: broken, color: "red" },
        ]
    }
    function test_runEnds(data) {
        var r = rig({ blockMode: "auto" }, [["R1", "R2"]])
        r.m.run.keepFirstTapeComponent = true
        r.s.startFrom(0)
        data.act(r)
        verify(!r.m.run.executing)
        compare(lastLog(r.m).text, data.text)
        compare(lastLog(r.m).color, data.color)
        compare(r.m.run.keepFirstTapeComponent, data.kept)
        compare(r.m.run.lastRunFinished, !data.kept)
        // A late completion does not move the run on.
        function places() {
            return r.m.sentTexts().filter(function(t) { return t.indexOf("place") === 0 })
        }
        var before = places()
        r.m.advance(1000)
        compare(places(), before)
    }

    // Every stop resets the waiters, the step state, the panels, the devices
    // and the feeders, and stops the stopwatch.
    function test_stopResetsEverything() {
        var r = rig({}, [["R1"]], { R1: { panel: "tapeChange" } })
        r.s.startFrom(0)
        r.m.finishBlock(true)
        verify(r.m.run.operatorPanelShown)
        r.m.run.cupWarning = true        // armed again by showing the screen
        var before = r.m.events.length
        r.s.stop()
        compare(r.m.events.slice(before), ["reset:vision", "stopAll", "reset:steps", "reset:rlc",
                                           "reset:vacuumErrors", "reset:programmer", "reset:signals",
                                           "reset:feeders", "stopwatch:stop"])
        verify(!r.m.run.operatorPanelShown)
        verify(!r.m.run.cupWarning)
        verify(!r.w.waiting())
        // The panel's button does nothing any more.
        verify(!r.s.pressMainButton())
        compare(r.pressed, [])
    }

    // ---- the end of a run

    function test_automaticRestart_data() {
        return [
            { tag: "placed: starts again", off: false, restarted: true },
            { tag: "nothing placed: no restart", off: true, restarted: false },
            { tag: "a stop cancels the restart", off: false, stop: true, restarted: false },
        ]
    }
    function test_automaticRestart(data) {
        var r = rig()
        r.m.settings.progAutoRestart = true
        program(r, [["R1", "R2"]])
        if (data.off) {
            r.m.model.setEnabled(2, 0, 0)
            r.m.model.setEnabled(2, 1, 0)
        }
        r.s.startFrom(0)
        while (r.m.running)
            r.m.finishBlock(true)
        if (data.stop) {
            verify(r.s.restartPending())
            r.s.startStopF()
        }
        // The run has ended; a restart is only asked for, never made from
        // inside the completion that ended the run.
        compare(r.s.startCount, 1)
        compare(r.s.restartPending(), data.restarted)
        compare(r.m.run.executing, data.restarted)
        compare(r.m.run.pcbCounter, data.off ? 0 : 1)
        r.m.advance(0)
        compare(r.s.startCount, data.restarted ? 2 : 1)
        compare(r.m.run.executing, data.restarted)
        if (data.restarted) {
            compare(r.m.sentTexts().slice(-1), [startBlock])
            compare(logTexts(r.m).filter(function(t) { return t === "Программа расстановки запущена" }).length, 2)
        }
    }

    // The end of a run counts its boards and saves the project after every
    // run when autosave has no interval.
    function test_endOfRun() {
        var r = rig({ blockMode: "auto" })
        r.m.boards = 4
        r.m.run.pcbCounter = 5
        r.m.settings.projectAutosave = true
        r.m.settings.projectAutosaveInterval = 0
        program(r, [["R1", "R2", "R3"]])
        r.s.startFrom(0)
        r.m.advance(100000)
        verify(!r.m.run.executing)
        compare(r.m.run.pcbCounter, 9)
        compare(r.m.finishedBoards, 4)
        compare(r.m.saves, 1)
    }

    // ---- continuing an interrupted run

    function test_continueAfterAnInterruptedRun() {
        var r = rig({}, [["R1", "R2", "R3"], ["C1"]])
        verify(!r.s.continueAvailable())
        r.s.startFrom(0)
        r.m.finishBlock(true)        // starting G-code
        r.m.finishBlock(true)        // R1
        r.m.finishBlock(true)        // R2
        r.m.raiseAppError()
        compare(r.placed, ["R1", "R2"])
        compare(r.m.run.lastPlacedLine, 5)
        verify(r.s.continueAvailable())
        r.placed = []
        verify(r.s.continueFromLastPlaced())
        compare(r.m.run.lineToStart, 6)
        while (r.m.running)
            r.m.finishBlock(true)
        compare(r.placed, ["R3", "C1"])
        // R3's block was on its way when the run was interrupted.
        compare(r.m.sentTexts().slice(4), [startBlock, "place R3\ng0", "place C1\ng0", endBlock])
        // Finished: nothing to continue.
        verify(!r.s.continueAvailable())
        verify(!r.s.continueFromLastPlaced())
    }

    function test_continueNeedsTheSameProgram() {
        var r = rig({}, [["R1", "R2"]])
        r.s.startFrom(0)
        r.m.finishBlock(true)
        r.m.finishBlock(true)
        r.s.startStopF()
        verify(r.s.continueAvailable())
        r.m.model.append({ op: "Оптическая инспекция", enabled: 1, opFunc: "aoi" })
        verify(!r.s.continueAvailable())
        verify(!r.s.continueFromLastPlaced())
        verify(!r.m.run.executing)
    }

    // ---- the second pass

    function enabledStates(model) {
        var out = []
        for (var row = 0; row < model.rowCount; ++row) {
            var lines = []
            for (var line = 0; line < model.getSubSteps(row); ++line)
                lines.push(model.getEnabled(row, line))
            out.push(lines)
        }
        return out
    }

    function test_secondPassRestoresTheProgram() {
        var r = rig({ blockMode: "auto" }, [["R1", "R2", "R3"], ["C1", "C2"]],
                    { R2: { miss: true }, C2: { miss: true } })
        r.m.model.setEnabled(2, 2, 0)                 // R3 off by the operator
        var before = enabledStates(r.m.model)
        r.s.startFrom(0)
        r.m.advance(1000)
        compare(r.placed, ["R1", "C1"])
        verify(r.m.missedWindow)
        compare(r.m.run.pcbCounter, 1)

        r.s.placeMissed()
        compare(enabledStates(r.m.model), [[], [], [0, 1, 0], [0, 1], []])
        verify(r.m.run.placingMissedComponents)
        verify(!r.m.missedWindow)
        compare(r.m.missed.rowCount, 0)

        r.placed = []
        r.s.startFrom(0)
        compare(r.m.logs[r.m.logs.length - 1].text, "Запущена расстановка пропущенных компонентов!")
        r.m.advance(1000)
        compare(r.placed, ["R2", "C2"])
        compare(r.m.run.pcbCounter, 1)                 // a second pass finishes no board
        verify(!r.m.run.placingMissedComponents)
        compare(enabledStates(r.m.model), before)
    }

    // ---- rows

    // A fault of the program ends the run with a message rather than
    // leaving it waiting: a row function that throws, a name that is a step
    // but not one a row may call, a panel nobody declared.
    function test_programFaultStopsTheRun_data() {
        function raise(n, f) { throw new Error("Insufficient arguments") }
        return [
            { tag: "a row function throws", op: "cupWait", p1: 0, step: function() { return raise },
              failure: "Внутренняя ошибка программы: Insufficient arguments" },
            { tag: "a step no row may call", op: "delayWait", p1: 10,
              step: function(r) { return r.w.delayWait },
              failure: "Неизвестная операция в программе: delayWait" },
            { tag: "an unknown panel", op: "findRefPoints",
              step: function(r) { return function(f) { r.s.showPanel("coffeeBreak", {}, f) } },
              failure: "Неизвестная панель оператора: coffeeBreak" },
        ]
    }
    function test_programFaultStopsTheRun(data) {
        var r = rig()
        r.m.steps[data.op] = data.step(r)
        r.m.model.append({ op: "Строка", enabled: 1, opFunc: data.op, p1: data.p1 })
        r.s.startFrom(0)
        verify(!r.m.run.executing)
        compare(r.m.failures, [data.failure])
        compare(r.m.pendingTimers(), 0)
        compare(r.m.run.panel, null)
    }
    // ---- operator panels

    // A step waiting at a panel holds the stopwatch; the start key presses
    // the panel's main button.
    function test_panelMainButton() {
        var r = rig({}, [["R1", "R2"]], { R1: { panel: "refNotFound" } })
        r.s.startFrom(0)
        r.m.advance(2000)
        r.m.finishBlock(true)
        // The step waits for the operator.
        verify(r.m.run.operatorPanelShown)
        compare(r.m.run.panel.name, "refNotFound")
        compare(r.m.beeps, 1)
        verify(!r.s.pauseEnabled())
        verify(!r.s.togglePause())
        r.m.advance(60000)
        // The start key presses the main button: the step goes on where it stopped.
        r.s.progStartBtnPressed()
        compare(r.pressed, ["retry"])
        verify(!r.m.run.operatorPanelShown)
        compare(r.m.sentTexts(), [startBlock, "place R1\ng0"])
        compare(r.m.events.filter(function(e) { return e.indexOf("stopwatch:") === 0 }),
                ["stopwatch:start", "stopwatch:pause", "stopwatch:resume"])
    }

    // The move-away button of the tape-change panel takes the head away
    // from the feeder; the panel stays and the step is not told.
    function test_panelMoveAway() {
        var r = rig()
        r.m.settings.tapeChangeGCode = "m64 p6\ng0 x100"
        var pressed = []
        r.m.steps.findRefPoints = function(f) {
            r.s.showPanel("tapeChange", {}, function(id) { pressed.push(id) })
        }
        r.m.model.append({ op: "Поиск реперных знаков", enabled: 2, opFunc: "findRefPoints" })
        r.s.startFrom(0)
        verify(r.m.run.operatorPanelShown)
        r.s.panelButton("moveAway")
        compare(pressed, [])
        verify(r.m.run.operatorPanelShown)
        compare(r.m.sentTexts(), ["g0 zMax\nm64 p6\ng0 x100"])
        compare(r.m.sent[0].safeH, true)
    }

    // ---- the start action and the nozzle confirmation

    function test_startNotAllowed() {
        var r = rig({}, [["R1"]])
        r.m.startAllowed = false
        verify(!r.s.startStopF())
        r.s.progStartBtnPressed()
        verify(!r.m.run.executing)
        compare(r.m.sent.length, 0)
    }

    function test_nozzleConfirmation() {
        var r = rig({}, [["R1"]])
        r.m.run.cupWarning = true
        r.s.startFrom(0)
        verify(r.m.run.nozzleConfirmShown)
        verify(!r.m.run.executing)
        r.s.nozzleConfirmed(false)                  // "Нет"
        verify(!r.m.run.nozzleConfirmShown)
        compare(r.m.sent.length, 0)
        r.s.progStartBtnPressed()
        verify(r.m.nozzleConfirm)
        r.s.nozzleConfirmed(true)                   // "Верно"
        verify(r.m.run.executing)
        compare(r.m.sentTexts(), [startBlock])
        // Every stop disarms the warning: the next start asks no more.
        r.s.startStopF()
        verify(!r.m.run.cupWarning)
        r.s.startFrom(0)
        verify(r.m.run.executing)
    }
}

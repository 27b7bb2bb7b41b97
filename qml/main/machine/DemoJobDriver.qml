import QtQuick 2.15
import "../lib/demoJobSummary.js" as Summary

// The demo job (./run.sh --demo-job): drives the program as an operator
// would, through the same functions the menu, the machine state panel and
// the job screen use. It starts LinuxCNC, switches the machine on, homes it,
// takes the open (demo) project's program on the job screen and presses
// "Начать"; at the end of the run it takes a picture of the job screen,
// prints the summary (demoJobSummary.js) on standard output, stops LinuxCNC
// and ends the program with the summary's exit status. A step that does not
// happen before the job's time is up, or a run that stops with an error,
// ends it the same way with the reason printed.
//
// Made by main.qml only when the program was started for the demo job
// (`link` is the "demoJob" object of the back end).
Item {
    id: driver
    property var app
    property var link

    // "loading", "linuxcnc", "machineOn", "homing", "program", "starting",
    // "running", "ending", "done"
    property string phase: "loading"
    property real startedAt: Date.now()
    property real phaseSince: Date.now()
    onPhaseChanged: phaseSince = Date.now()
    // Seconds each step before the run may take; the run itself has the
    // rest of the job's time.
    readonly property var phaseLimits: ({ "loading": 60, "linuxcnc": 90, "machineOn": 20, "homing": 180,
                                          "program": 60 })
    readonly property var phaseTexts: ({ "loading": "the settings were not loaded",
                                         "linuxcnc": "LinuxCNC did not start",
                                         "machineOn": "the machine did not switch on",
                                         "homing": "the machine did not home",
                                         "program": "the job screen did not create the program" })
    property bool cncStartAsked: false
    property bool machineOnAsked: false
    property bool homeAsked: false
    property bool homeDone: false
    property bool programAsked: false
    property int errorsBefore: 0
    property real panelSince: 0
    // Seconds an operator panel may stay before the job counts the run as
    // stopped.
    readonly property int panelWaitSeconds: 15
    readonly property int simulatedMarkTolerance: 10
    property int basketAtStart: 0
    // Red lines of the log since the job began: the reasons a run stopped.
    property var redLines: []
    property var result: ({})

    readonly property var screen: app ? app.smtInterface : null

    function elapsedSeconds() { return (Date.now() - startedAt) / 1000 }
    function lastRed() { return redLines.length > 0 ? redLines[redLines.length - 1] : "" }

    Connections {
        target: driver.app ? driver.app.logModel : null
        function onRowsInserted(parent, first, last) {
            for (var i = first; i <= last; ++i) {
                var e = driver.app.logModel.get(i)
                if (e && e.color === "red")
                    driver.redLines = driver.redLines.concat([String(e.message)])
            }
        }
    }

    // One look at the program's state every 200 ms: each phase waits for
    // what its action brings about.
    Timer {
        id: tick
        interval: 200
        repeat: true
        running: driver.phase !== "ending" && driver.phase !== "done"
        onTriggered: driver.step()
    }

    function step() {
        var a = app
        if (!a || !link)
            return
        if (elapsedSeconds() > link.timeoutSeconds) {
            end(false, true, "the job did not get past \"" + phase + "\" within " + link.timeoutSeconds + " s"
                + (screen && screen.panel ? "; operator panel shown: " + String(screen.panel.text) : "")
                + (lastRed() !== "" ? "; last error: " + lastRed() : ""))
            return
        }
        var limit = phaseLimits[phase]
        if (limit !== undefined && (Date.now() - phaseSince) / 1000 > limit) {
            end(false, true, phaseTexts[phase] + " within " + limit + " s"
                + (lastRed() !== "" ? "; last error: " + lastRed() : ""))
            return
        }
        switch (phase) {
        case "loading":
            if (!a.settingsLoaded)
                return
            // The simulated head camera's marks measure a few per cent larger
            // than drawn: a wider size window, as the whole-program tests use.
            if (String(a.camera1Name).indexOf("sim:") === 0)
                a.headCameraRequest.camera.targetSizeTolerance = simulatedMarkTolerance
            phase = "linuxcnc"
            return
        case "linuxcnc":
            if (a.cncRunning) {
                phase = "machineOn"
                return
            }
            if (!cncStartAsked && a.cncControl.canStart) {
                cncStartAsked = true
                a.cncControl.start()
            } else if (cncStartAsked && !a.cncStarting && !a.cncRunning && a.cncControl.canStart) {
                end(false, false, "LinuxCNC did not start (see /tmp/kestravo-linuxcnc-*.log)"
                    + (lastRed() !== "" ? ": " + lastRed() : ""))
            }
            return
        case "machineOn":
            if (a.machineOn) {
                phase = "homing"
                return
            }
            if (!machineOnAsked) {
                machineOnAsked = true
                a.setMachineOn(true)
            }
            return
        case "homing":
            if (!homeAsked) {
                homeAsked = true
                a.homeWait(function() { driver.homeDone = true })
                return
            }
            if (homeDone) {
                if (!a.machineHomed2) {
                    end(false, false, "homing did not succeed" + (lastRed() !== "" ? ": " + lastRed() : ""))
                    return
                }
                phase = "program"
            }
            return
        case "program":
            if (!programAsked) {
                if (String(a.projectName) === "" || a.elementCount + a.dotCount === 0) {
                    end(false, false, "no project with components or dots is open")
                    return
                }
                programAsked = true
                errorsBefore = a.errorListModel.count
                a.showToolWindow("smtInterface")
                return
            }
            if (a.errorListModel.count > errorsBefore) {
                end(false, false, "the program could not be created: " + a.errorListModel.get(errorsBefore).message)
                return
            }
            if (screen.programCreated && screen.startEnabled)
                phase = "starting"
            return
        case "starting":
            // The fastest machine speed (LinuxCNC's start and the jogs set
            // their own): the demo is about the job, not the motion.
            a.setMachineSpeedSlider(100)
            basketAtStart = Number(a.pcbComponentsBasketCount) || 0
            redLines = []
            phase = "running"
            if (!a.startStopF()) {
                end(false, false, "the job screen refused to start the run")
                return
            }
            // The nozzle question of the job screen: the nozzle on the head is right.
            if (screen.nozzleConfirmShown)
                screen.sequencer.nozzleConfirmed(true)
            // The start closes the manual-control window, whose jog stops
            // cap the speed again.
            a.setMachineSpeedSlider(100)
            return
        case "running":
            // A panel waits for an operator, and there is none: the run has
            // stopped where the panel says.
            if (screen.executing && screen.operatorPanelShown && screen.panel) {
                if (panelSince === 0)
                    panelSince = Date.now()
                if ((Date.now() - panelSince) / 1000 > panelWaitSeconds)
                    end(false, false, "the run waits for the operator: " + String(screen.panel.text))
                return
            }
            panelSince = 0
            if (screen.executing)
                return
            if (screen.lastRunFinished === true)
                end(true, false, "")
            else
                end(false, false, lastRed() !== "" ? lastRed() : "the run stopped before its end")
            return
        }
    }

    // The end of the job: picture, summary, LinuxCNC stopped, exit.
    function end(ended, timedOut, reason) {
        var wasRunning = phase === "running"
        phase = "ending"
        var missedModel = screen ? screen.missedJobModel() : null
        result = {
            "ended": ended, "timedOut": timedOut, "reason": reason,
            "placed": wasRunning ? screen.currPlacedComponents : 0,
            "missed": wasRunning && missedModel ? missedModel.rowCount : 0,
            "basket": wasRunning ? (Number(app.pcbComponentsBasketCount) || 0) - basketAtStart : 0,
            "seconds": wasRunning ? app.stopwatchTimeInt : 0,
            "screenshot": ""
        }
        // The screen shows the end of the run a moment later.
        pictureTimer.start()
    }
    Timer {
        id: pictureTimer
        interval: 500
        onTriggered: {
            var r = driver.result
            if (driver.screen && driver.screen.visible && driver.link.saveScreenshot(driver.screen, driver.link.screenshotPath))
                r.screenshot = driver.link.screenshotPath
            driver.result = r
            if (driver.screen && driver.screen.executing)
                driver.screen.stop()
            driver.link.print(Summary.text(r))
            if (driver.app.cncRunning || driver.app.cncStarting)
                driver.app.cncControl.stop()
            stopWait.startedAt = Date.now()
            stopWait.start()
        }
    }
    // LinuxCNC stops with the program in any case; waiting here lets it end
    // while the program still reports on it.
    Timer {
        id: stopWait
        property real startedAt: 0
        interval: 200
        repeat: true
        onTriggered: {
            if ((driver.app.cncRunning || driver.app.cncStarting) && Date.now() - startedAt < 30000)
                return
            stop()
            driver.phase = "done"
            driver.link.finish(Summary.outcome(driver.result).status)
        }
    }
}

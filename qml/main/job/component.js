.pragma library
.import "../lib/coords.js" as Coords
.import "../lib/geometry.js" as Geometry
.import "boardCorrection.js" as BC
.import "program.js" as Program
.import "pickTexts.js" as PT
.import "componentInstruments.js" as CI
.import "instrumentSteps.js" as InstrumentSteps
.import "equivalents.js" as Equivalents
.import "componentChecks.js" as Checks

// The component cycle of a job: one feeder group (setupFeeder, the row
// function of a feeder row) and one component of it (setupElement: pick,
// centre over the component camera, place, count), with what goes wrong on
// the way: recognition and vacuum failures, full trays and strips, the
// basket, the operator panels and the missed list.
//
// `create(port, waiters, picking)` as every step library: `waiters` are the
// waiting primitives of waiters.js, `picking` the picking steps of
// picking.js, both over the same port. Each step keeps its state on its own
// function object; its `ticket` goes up on every start and on stopAll(), so a
// block end, a camera result, a sensor reading or a panel button that arrives
// for an older start does nothing. A continuation that completes at once is
// called through port.later(), and the placements of a group are walked by a
// loop, never by recursion.
//
// Port functions this library uses, beyond those of the job foundation
// (sendGCode, paused, after, later, log, fail, beep, run, model, missedModel,
// setting, showPanel, rowComplete, position):
//   setting(name) -> value           workAreaX1, workAreaY1, workAreaY2,
//                                   workAreaZ1, workAreaZ2, pcbThickness,
//                                   pcbCorrX, pcbCorrY, maxVel, maxAcc,
//                                   vacuumDelay, slowPickPlaceSpeed,
//                                   camera2X/Y, camera3X/Y, camera2Height,
//                                   camera3Height, camera2MinHeight,
//                                   camera3MinHeight, camera2PPM,
//                                   camera2PPMDistance, camera2Delay,
//                                   camera2CheckSize, camera2Treshold1/2,
//                                   postCameraGcode, postCameraGcode3,
//                                   vsEnabled, vsControlType, basketGcode,
//                                   tapeChangeGCode, allowCustomPlaceGCode,
//                                   dontStopProgramOnFeederErrors, pcbMulti,
//                                   refMode, allowRunWithoutFiducials,
//                                   zTravelEnabled, encZEnabled
//   run() -> the job screen's run state: executing, placingMissedComponents,
//                                   missedCount, softPlacement,
//                                   dontThrowToBasket, feederDebugMode,
//                                   minHeigthCompPCBCalculated, visible
//   epGroup(index) -> [placement]    group `index` of the program (epAA)
//   refList() -> [mark]              the project's reference marks
//   feederOf(model, index) -> record or null
//   setFeederValue(model, index, name, value)   a lasting feeder field
//   runState(model, index) -> object  the feeder's state of this run (a
//                                   plain object the run clears at its end)
//   nozzles() -> [nozzle record], outputOn(n) -> bool
//   zEncoderFitted() -> bool         the Z encoder is fitted (optional)
//   rowErrorUp()                     the current row's error count + 1
//   componentCamera.start(camera3)   capture on camera 3 (true) or 2
//   componentCamera.stop()           capture off, its window hidden
//   componentCamera.ask(settings, count, onResult)
//                                   the next `count` results with these
//                                   recognition settings: onResult({ found,
//                                   x, y, angle, width, height, frames }),
//                                   pixels from the frame centre; frames
//                                   (optional) the single results, each
//                                   also with the camera's pin results
//                                   (pinCountCorrect, pinCount, avgPinDist,
//                                   minPinDist, maxPinDist) and exAngle, the
//                                   angle of the part's long side
//   componentCamera.cancel()         forgets a pending request
//   componentCamera.frameHeight()    rows of its frames (optional)
//   headCamera.stop()                head-camera capture off
//   vacuum.setFast(on)               the sensor polled every 20 ms (on)
//   vacuum.running(), vacuum.starting(), vacuum.start(), vacuum.before()
//   componentPlaced(ep)              the run's last-placed line and count
//   countPlaced(ep)                  the machine's component counter and the
//                                   project statistics (components, points)
//   countBasket(ep)                  the machine's basket counter and the
//                                   project statistics
//   openFeederSettings(model, index), openSensorSettings()
//   feederBanks() -> [{ model, feeders: [record] }]   the enabled banks
//                                   (the equivalent feeders of a part)
//   and those of the instrument steps (instrumentSteps.js: rlc.*,
//   programmer.*, setDoutOn, openRlcSettings; settings programmerEnabled,
//   autoSwithToSimilarFeeders and the meter's and programmer's own).
// Entries for the port's owner: pauseGet(), stopAll(), resetRlc(),
// skipFeeder(model, index, logText, color) (picking's panels; the log line
// is the operator's skip when logText is absent), and for picking's port: travelHeight(), placementAngle(ep, feeder), placementTarget(ep,
// feeder), morePlacements(), programmingPending(), switchToEquivalent(model,
// index, logText).
//
// A group moved to an equivalent feeder keeps its placements as the project
// has them: the run notes the move in the run state of the placement's own
// feeder (`substitute`: { model, index }), which the run clears at its end,
// and every step asks feederOfPlacement(ep) for the feeder to use.

// Recognitions of one pick before it counts as a failure.
var RECOGNITION_TRIES = 3
// A recognition failure costs 1, a success gives back this much.
var FOUND_CREDIT = 0.2
// A beep is left out this soon after a panel's continue button.
var QUIET_AFTER_PANEL_MS = 1000
// Centring types of the feeder record.
var CENTER_PINS = 2
var CENTER_CORNERS = 3
var CENTER_TEMPLATE = 4
// Centring in place: correcting moves over the camera, and their
// acceleration limit (percent).
var CENTER_IN_PLACE_MOVES = 2
var CENTER_IN_PLACE_ACC = 10
// Acceleration limit of the correcting moves of corner centring (percent).
var CORNER_ACC = 3
// Loose parts dropped back where they were picked: the drop height above
// the part's own (thickness × 1.5 + this), the extra dwell (s) and what a
// drop-back gives back of the failure count.
var DROP_BACK_RISE_MM = 3
var DROP_BACK_DWELL_S = 0.5
var DROP_BACK_CREDIT = 0.8

function num(v) { return PT.num(v) }
function isTrue(v) { return PT.isTrue(v) }
function count(v) {
    var n = num(v)
    return isFinite(n) ? n : 0
}
function text(v) { return v === undefined || v === null ? "" : String(v) }

// How many parts of a feeder go to the basket before the operator is asked:
// an integer 0 ... 10 (a broken file value gives 1, a negative one 0).
function pickRetryCount(feeder) {
    return PT.pickRetryCount(feeder)
}

// The target angle for a part measured at `measured` degrees that is to
// lie at `c` degrees (the placement angle with the board's turn).
function angleChoice(c, measured) {
    return CI.angleChoice(c, measured)
}

// The mean of frames of one recognition: every angle takes the sign of the
// first frame's angle; one frame not found makes the whole result not found.
// Returns { found, x, y, angle, width, height } in pixels.
function meanOfFrames(frames) {
    var none = { "found": false, "x": 0, "y": 0, "angle": 0, "width": 0, "height": 0 }
    if (!frames || frames.length === 0)
        return none
    var sign = Number(frames[0].angle) < 0 ? -1 : 1
    var sum = { "x": 0, "y": 0, "angle": 0, "width": 0, "height": 0 }
    for (var i = 0; i < frames.length; ++i) {
        var f = frames[i]
        if (!f || f.found !== true)
            return none
        sum.x += Number(f.x)
        sum.y += Number(f.y)
        sum.angle += sign * Math.abs(Number(f.angle))
        sum.width += Number(f.width)
        sum.height += Number(f.height)
    }
    var n = frames.length
    var r = { "found": true, "x": sum.x / n, "y": sum.y / n, "angle": sum.angle / n, "width": sum.width / n,
              "height": sum.height / n }
    for (var k in r)
        if (k !== "found" && !isFinite(r[k]))
            return none
    return r
}

// Pixels per millimetre of the component camera for a part held at
// machine height `z`: camera2PPM × camera2PPMDistance / d with d the
// distance from the camera to the part's underside. NaN when d is not
// above 0 or any value is not a number.
function cameraPpm(z, thickness, nozzleLength, cameraHeight, ppm, ppmDistance) {
    var d = Math.abs(num(z)) - num(thickness) - num(nozzleLength) - num(cameraHeight)
    if (!(d > 0))
        return NaN
    var r = num(ppm) * num(ppmDistance) / d
    return isFinite(r) && r > 0 ? r : NaN
}

// Recognition settings of a feeder's parts on the component camera.
function cameraSettings(model, index, feeder, env) {
    var own = isTrue(feeder.cameraIndiv)
    var type = count(feeder.centerType)
    var s = { "indiv": own, "centerType": type, "checkPinDistance": isTrue(feeder.checkPinDistance),
              "pinDistanceMaxDev": num(feeder.pinDistanceMaxDev),
              "roiPercent": Program.searchRegionPercent(feeder, env),
              "param1": own ? num(feeder.cameraT1) : num(env.camera2Treshold1),
              "param2": own ? num(feeder.cameraT2) : num(env.camera2Treshold2),
              "checkSize": type === CENTER_CORNERS || type === CENTER_TEMPLATE ? 0
                           : (own ? count(feeder.cameraCheckSize) : count(env.camera2CheckSize)),
              "targetWidth": num(feeder.elWidth), "targetHeight": num(feeder.elHeight) }
    if (type === CENTER_TEMPLATE) {
        s.templMatchCoeff = num(feeder.camera2MatchPercent)
        s.photo = "image://worker/camera2_" + model + index
    }
    return s
}

// The missed-list row of a feeder with `n` placements.
function missedRowText(model, index, feeder, n) {
    var f = feeder || {}
    return qsTr("Питатель: ") + Program.feederName(model) + " №" + (Number(index) + 1) + ". " + text(f.pack) + " "
            + text(f.partNumber) + qsTr(" Кол-во: ") + n
}

function create(port, waiters, picking) {
    var c = {}

    function setting(name) { return port.setting(name) }
    // Rows of the component camera's frames (480 while it is unknown).
    function componentFrameHeight() {
        var h = typeof port.componentCamera.frameHeight === "function" ? Number(port.componentCamera.frameHeight()) : 0
        return isFinite(h) && h > 0 ? h : 480
    }
    function run() { return port.run() || {} }
    function inRun() { return run().executing === true }
    function secondPass() { return run().placingMissedComponents === true }
    function feederText(model, index) { return Program.feederName(model) + "  №" + (Number(index) + 1) }
    function nozzleOf(feeder) {
        var list = port.nozzles() || []
        var n = PT.clampInt(feeder ? feeder.cupNumber : undefined, 0, 1000, 0)
        return n < list.length ? list[n] : null
    }
    function runState(model, index) {
        var s = port.runState(model, index)
        return s || {}
    }
    function env() {
        return { "maxVel": setting("maxVel"), "maxAcc": setting("maxAcc") }
    }
    function xySpeed(speed, acc) { return PT.xySpeed(speed, acc, env()) }
    function zSpeed(speed, acc) { return PT.zSpeed(speed, acc, env()) }
    // The part may not go to the basket: the feeder or the job screen says so.
    function mayNotThrow(feeder) { return isTrue(feeder.dontThrow) || run().dontThrowToBasket === true }
    function skipsOnErrors(feeder) {
        return setting("dontStopProgramOnFeederErrors") === true && !secondPass()
                && !isTrue(feeder.forceProgramStopOnFeederError) && !mayNotThrow(feeder)
    }
    function later(t, owner, fn) {
        port.later(function() { if (t === owner.ticket) fn() })
    }
    // The feeder a placement is picked from in this run: its own, or the
    // equivalent its group was moved to.
    function feederOfPlacement(ep) {
        var el = ep.el
        var moved = runState(el.model, el.index).substitute
        return moved ? { "model": moved.model, "index": moved.index } : { "model": el.model, "index": el.index }
    }

    // ================================================================
    // setupFeeder(epAAIndex, nFunc, elNumber, prevInstalled): the row of a
    // feeder group. Called without arguments it goes on with the next
    // placement.
    function setupFeeder(epAAIndex, nFunc, elNumber, prevInstalled) {
        if (arguments.length === 0) {
            next(sf.ticket)
            return
        }
        sf.ticket += 1
        var t = sf.ticket
        sf.epAAIndex = epAAIndex
        sf.nFunc = nFunc
        sf.group = port.epGroup(epAAIndex) || []
        sf.elNumber = elNumber === undefined ? 0 : Math.max(0, Math.floor(count(elNumber)))
        sf.installed = prevInstalled === undefined ? 0 : count(prevInstalled)
        sf.missed = false
        sf.finished = false
        se.active = false
        var first = sf.group.length > 0 ? sf.group[0] : null
        if (elNumber === undefined && first && first.el) {
            sf.initModel = first.el.model
            sf.initIndex = first.el.index
        }
        var allOff = true
        for (var i = 0; i < sf.group.length && allOff; ++i)
            if (!(sf.group[i] && sf.group[i].disabledTemp === true))
                allOff = false
        if (allOff) {
            port.rowComplete(qsTr("не выполнено"))
            later(t, sf, groupDone)
            return
        }
        var own = feederOfPlacement(first)
        var model = own.model, index = own.index
        var feeder = port.feederOf(model, index)
        if (!feeder) {
            port.fail(qsTr("Питатель не найден: ") + feederText(model, index))
            return
        }
        if (num(feeder.centering) === 1 || num(feeder.centering) === 2) {
            sf.cameraSettings = cameraSettings(model, index, feeder,
                                               { "camera2Treshold1": setting("camera2Treshold1"),
                                                 "camera2Treshold2": setting("camera2Treshold2"),
                                                 "camera2CheckSize": setting("camera2CheckSize"),
                                                 "camera2PPM": setting("camera2PPM"),
                                                 "camera2PPMDistance": setting("camera2PPMDistance"),
                                                 "camera2MinHeight": setting("camera2MinHeight"),
                                                 "frameHeight": componentFrameHeight() })
        } else {
            sf.cameraSettings = null
            port.componentCamera.stop()
        }
        // Loose parts: the head camera gets the feeder's search settings.
        if (num(feeder.type) === 2)
            picking.loadSearchSettings(model, index, feeder)
        else
            port.headCamera.stop()
        picking.cupWait(PT.clampInt(feeder.cupNumber, 0, 1000, 0), function() {
            if (t === sf.ticket)
                next(t)
        })
    }
    setupFeeder.ticket = 0
    setupFeeder.epAAIndex = -1
    setupFeeder.nFunc = null
    setupFeeder.group = []
    setupFeeder.elNumber = 0
    setupFeeder.installed = 0
    setupFeeder.missed = false
    setupFeeder.finished = false
    setupFeeder.initModel = ""
    setupFeeder.initIndex = -1
    setupFeeder.cameraSettings = null
    setupFeeder.quiet = false
    setupFeeder.quietTicket = 0

    var sf = setupFeeder

    function groupDone() {
        se.active = false
        var cont = sf.nFunc
        sf.nFunc = null
        if (cont)
            cont()
    }
    function endGroup(t) { later(t, sf, groupDone) }

    // The placement's reference marks on its board were not both measured
    // (a panel whose boards each have their own marks).
    function marksMissing(ep) {
        if (setting("pcbMulti") !== true || count(setting("refMode")) !== 0
                || setting("allowRunWithoutFiducials") === true)
            return false
        var marks = placementMarks(ep)
        return marks.length === 2 && (!marks[0] || !marks[1] || marks[0].used === false || marks[1].used === false)
    }

    // The later calls: one placement each, skipped ones in a loop.
    function next(t) {
        if (t !== sf.ticket)
            return
        se.active = false
        var group = sf.group
        for (;;) {
            port.rowComplete(String(sf.installed))
            if (sf.elNumber >= group.length) {
                endGroup(t)
                return
            }
            var ep = group[sf.elNumber]
            if (!ep || ep.disabledTemp === true) {
                sf.elNumber += 1
                continue
            }
            if (marksMissing(ep)) {
                port.log(qsTr("Компонент не установлен, потому что не были просканированы соответствующие реперные знаки"),
                         "yellow")
                sf.elNumber += 1
                continue
            }
            break
        }
        var own = feederOfPlacement(ep)
        var model = own.model, index = own.index
        var feeder = port.feederOf(model, index)
        if (!feeder) {
            port.fail(qsTr("Питатель не найден: ") + feederText(model, index))
            return
        }
        if (sf.missed) {
            toMissed(model, index, feeder)
            endGroup(t)
            return
        }
        var type = num(feeder.type)
        var caseKind = type === 1 || type === 5
        if (caseKind && !(num(feeder.caseCurrNumber) >= 0)) {
            port.setFeederValue(model, index, "caseCurrNumber", 0)
            feeder = port.feederOf(model, index)
        }
        if (sf.finished) {
            if (type === 2)
                port.rowComplete(String(sf.elNumber - 1))
            endGroup(t)
            return
        }
        if (caseKind && full(t, model, index, feeder))
            return
        setupElement(ep, setupFeeder)
        sf.elNumber += 1
        sf.installed += 1
        if (caseKind) {
            var now = port.feederOf(model, index) || feeder
            port.setFeederValue(model, index, "caseCurrNumber", count(now.caseCurrNumber) + 1)
        }
    }

    // A tray or strip whose last position was taken: wrapped to the first
    // one, or the operator refills it at the tape-change panel (true).
    function full(t, model, index, feeder) {
        var tray = num(feeder.type) === 1
        var capacity = tray ? PT.trayCapacity(feeder) : PT.stripCapacity(feeder)
        if (!(capacity > 0)) {
            port.fail(tray ? qsTr("Неверное число рядов поддона: взятие не выполнено")
                           : qsTr("Неверный шаг или концы отрезка ленты: взятие не выполнено"))
            return true
        }
        if (count(feeder.caseCurrNumber) < capacity)
            return false
        if (!isTrue(feeder.caseStopEnabled) || (setting("dontStopProgramOnFeederErrors") === true && !secondPass())) {
            port.setFeederValue(model, index, "caseCurrNumber", 0)
            return false
        }
        port.log((tray ? qsTr("Жду замены/пополнения поддона! Остановка! Питатель: ")
                       : qsTr("Жду замены/пополнения отрезка ленты! Остановка! Питатель: "))
                 + feederText(model, index), "yellow")
        runState(model, index).feederError = true
        tapeChangePanel(t, model, index)
        var g = text(setting("tapeChangeGCode"))
        if (g.trim() !== "")
            port.sendGCode(g + "\ng0 zMax\n", true, null)
        return true
    }

    function tapeChangePanel(t, model, index) {
        port.showPanel("tapeChange", {}, function(id) {
            if (t !== sf.ticket)
                return
            if (id === "feederSettings") {
                port.openFeederSettings(model, index)
            } else if (id === "skip") {
                skip(model, index)
            } else if (id === "continue") {
                quietAfterPanel()
                var feeder = port.feederOf(model, index) || {}
                var type = num(feeder.type)
                if (type === 1 || type === 5)
                    port.setFeederValue(model, index, "caseCurrNumber", 0)
                else if (type === 0 || type === 3 || type === 4)
                    port.setFeederValue(model, index, "inTapeNow", count(feeder.inTapeNow) + count(feeder.inTape))
                runState(model, index).feederError = false
                next(t)
            }
        })
    }

    // The rest of the group, from the current placement on, goes to the
    // missed list.
    function toMissed(model, index, feeder) {
        var missedModel = port.missedModel()
        var area = { "workAreaX1": count(setting("workAreaX1")), "workAreaY2": count(setting("workAreaY2")),
                     "pcbMulti": setting("pcbMulti") === true,
                     "pcbMultiNonstandart": setting("pcbMultiNonstandart") === true }
        var rest = []
        for (var i = sf.elNumber; i < sf.group.length; ++i)
            if (sf.group[i] && sf.group[i].disabledTemp !== true)
                rest.push(sf.group[i])
        sf.elNumber = sf.group.length
        if (rest.length === 0)
            return
        missedModel.append({ "op": missedRowText(model, index, feeder, rest.length), "enabled": 1,
                             "opFunc": "setupFeeder", "p1": sf.epAAIndex, "complete": "" })
        for (var k = 0; k < rest.length; ++k)
            missedModel.appendChild({ "op": Program.componentLineText(rest[k], area), "enabled": 1,
                                      "p1": rest[k], "p2": "element" })
        var r = run()
        r.missedCount = count(r.missedCount) + rest.length
    }

    // The placement being worked on is tried again later (its pick was
    // rejected or never happened).
    function takeBack() {
        sf.elNumber = Math.max(0, sf.elNumber - 1)
        sf.installed = Math.max(0, sf.installed - 1)
    }

    // "Пропустить" and the skips of repeated errors: the group goes to the
    // missed list; a part still held goes to the basket first.
    function skip(model, index, logText, color) {
        var t = sf.ticket
        port.log(logText !== undefined ? logText
                                       : qsTr("Питатель: ") + feederText(model, index) + qsTr(" пропущен оператором."),
                 color || "yellow")
        sf.finished = true
        sf.missed = true
        if (se.active) {
            takeBack()
            se.active = false
        }
        se.ticket += 1
        if (port.outputOn(1)) {
            elToBasketWait(function() { if (t === sf.ticket) next(t) })
            return
        }
        later(t, sf, function() { next(t) })
    }
    c.skipFeeder = function(model, index, logText, color) { skip(model, index, logText, color) }

    // The group goes on from the equivalent feeder after (model, index)
    // (autoSwithToSimilarFeeders and autoSwithToSimilarFeedersWhenPlacerEmpty):
    // the placement being worked on is tried again there, a part still held
    // goes to the basket first. `logText` is followed by the new feeder's
    // name. False, and nothing done, when there is none to go to or the next
    // one is the feeder the group began with.
    function switchToEquivalent(model, index, logText) {
        var initial = { "model": sf.initModel, "index": sf.initIndex }
        var first = sf.group.length > 0 ? sf.group[0] : null
        if (!first || !first.el)
            return false
        var banks = typeof port.feederBanks === "function" ? port.feederBanks() : []
        var entries = Equivalents.list(banks, Equivalents.partOf(port.feederOf(initial.model, initial.index)))
        var target = Equivalents.switchTarget(entries, { "model": model, "index": index }, initial)
        if (!target)
            return false
        var t = sf.ticket
        // The placements stay as the project has them; the run remembers the
        // move for each feeder the group's placements name.
        for (var i = 0; i < sf.group.length; ++i) {
            var el = sf.group[i] && sf.group[i].el
            if (el)
                runState(el.model, el.index).substitute = { "model": target.model, "index": target.index }
        }
        port.log(logText + Program.feederName(target.model) + " " + (Number(target.index) + 1), "yellow")
        if (se.active) {
            takeBack()
            se.active = false
        }
        se.ticket += 1
        var restart = function() {
            if (t === sf.ticket)
                setupFeeder(sf.epAAIndex, sf.nFunc, sf.elNumber, sf.installed)
        }
        if (port.outputOn(1)) {
            elToBasketWait(restart)
            return true
        }
        later(t, sf, restart)
        return true
    }
    c.switchToEquivalent = function(model, index, logText) { return switchToEquivalent(model, index, logText) }

    // ---- what picking asks of the component being placed

    function placementMarks(ep) {
        var refs = port.refList() || []
        var el = ep.el || {}
        function byId(id) {
            if (!(Number(id) >= 0))
                return null
            for (var i = 0; i < refs.length; ++i)
                if (Number(refs[i].refId) === Number(id))
                    return refs[i]
            return null
        }
        if (refs.length < 2)
            return []
        return BC.marksFor(byId(el.preferredRef1), byId(el.preferredRef2), refs[0], refs[1], setting("refMode"),
                           ep.row, ep.col)
    }

    function boardCoords(ep, feeder) {
        var nozzle = nozzleOf(feeder) || {}
        return BC.elSetupCoords(ep, placementMarks(ep), nozzle, feeder,
                                { "workAreaX1": setting("workAreaX1"), "workAreaY2": setting("workAreaY2"),
                                  "workAreaZ1": setting("workAreaZ1"), "workAreaZ2": setting("workAreaZ2"),
                                  "pcbThickness": setting("pcbThickness") })
    }

    c.travelHeight = function() { return se.zTravel }
    // The angle the part is turned to before the camera: the placement
    // angle with the board's turn, so that the camera measures what is left
    // to correct (the angle choice of placing takes the turn once).
    c.placementAngle = function(ep, feeder) {
        var r = boardCoords(ep, feeder)
        return r.ok ? Geometry.minAngle(r.a + r.boardAngle) : NaN
    }
    c.placementTarget = function(ep, feeder) {
        var r = elSetupCoordsWithCorrections(ep, feeder)
        return r ? { "x": r[0], "y": r[1], "z": r[2], "a": r[3] } : null
    }
    c.morePlacements = function() {
        for (var i = sf.elNumber + 1; i < sf.group.length; ++i)
            if (sf.group[i] && sf.group[i].disabledTemp !== true)
                return true
        return false
    }

    // ================================================================
    // setupElement(ep, nFunc): one component.
    function setupElement(ep, nFunc) {
        se.ticket += 1
        var t = se.ticket
        se.ep = ep
        se.nFunc = nFunc
        se.step = 0
        var own = feederOfPlacement(ep)
        se.model = own.model
        se.index = own.index
        var feeder = port.feederOf(se.model, se.index)
        if (!feeder) {
            port.fail(qsTr("Питатель не найден: ") + feederText(se.model, se.index))
            return
        }
        se.feeder = feeder
        var key = String(se.model) + ":" + se.index
        if (key !== se.feederKey)
            se.notFoundCounter = 0
        se.feederKey = key
        se.active = true
        se.programmed = false
        var mode = num(feeder.centering)
        se.feederCentering = mode === 1 || mode === 2 ? mode : 0
        se.centering = mode === 1 || (mode === 2 && count(runState(se.model, se.index).centeringCurrCount)
                                      < count(feeder.centeringCount))
        se.camera3 = picking.camera23Choose(feeder)
        se.tryNumber = 0
        se.centerTry = 0
        se.centeredInPlace = false
        se.found = false
        se.elX = se.elY = se.elA = se.elWidth = se.elHeight = 0
        se.shiftX = se.shiftY = 0
        se.aPrev = 0
        se.pins = null
        se.exAngle = NaN
        se.sizeFailed = false
        se.corners = false
        se.corner = null
        var nozzle = nozzleOf(feeder)
        if (!nozzle) {
            port.fail(qsTr("Насадка №%1 не настроена: взятие не выполнено")
                      .arg(PT.clampInt(feeder.cupNumber, 0, 1000, 0) + 1))
            return
        }
        var cam = se.camera3 ? "camera3" : "camera2"
        se.centeringZ = PT.centringHeight(feeder, nozzle, { "cameraMinHeight": setting(cam + "MinHeight"),
                                                            "cameraHeight": setting(cam + "Height"),
                                                            "workAreaZ2": setting("workAreaZ2") })
        se.zTravel = travelHeight(feeder, nozzle)
        if (!se.centering) {
            pick(t, function() { placeOrProgram(t) })
            return
        }
        if (se.zTravel < se.centeringZ)
            se.zTravel = se.centeringZ
        se.corners = count(feeder.centerType) === CENTER_CORNERS
        if (se.corners && !cornerPrepare(ep, feeder))
            return
        port.componentCamera.start(se.camera3)
        pick(t, function() {
            if (se.corners)
                cornerAtCamera()
            recognise(t)
        })
    }
    setupElement.ticket = 0
    setupElement.step = -1
    setupElement.ep = null
    setupElement.feeder = null
    setupElement.model = ""
    setupElement.index = -1
    setupElement.feederKey = ""
    setupElement.feederCentering = 0
    setupElement.nFunc = null
    setupElement.tryNumber = 0
    setupElement.centerTry = 0
    setupElement.notFoundCounter = 0
    setupElement.centering = false
    setupElement.camera3 = false
    setupElement.centeringZ = 0
    setupElement.zTravel = 0
    setupElement.centeredInPlace = false
    setupElement.programmed = false
    setupElement.active = false
    setupElement.found = false
    setupElement.elX = 0
    setupElement.elY = 0
    setupElement.elA = 0
    setupElement.elWidth = 0
    setupElement.elHeight = 0
    setupElement.shiftX = 0
    setupElement.shiftY = 0
    // What the camera reported beside the position: its pin results and the
    // angle of the part's long side (the last frame's).
    setupElement.pins = null
    setupElement.exAngle = NaN
    // The last result was found but failed the size check (its text).
    setupElement.sizeFailed = false
    setupElement.sizeText = ""
    // The head's angle after the last centring move.
    setupElement.aPrev = 0
    // Corner centring: on for the feeder's parts, and the walk's state.
    setupElement.corners = false
    setupElement.corner = null

    var se = setupElement

    // The RLC check and the programming of the held part.
    var instruments = InstrumentSteps.create(port, waiters, {
        "element": function() { return se },
        "nozzle": function(feeder) { return nozzleOf(feeder) },
        "reject": function() { rejected(se.ticket) },
        "skip": function(model, index) { skip(model, index) },
        "mayNotThrow": function(feeder) { return mayNotThrow(feeder) },
        "quietAfterPanel": function() { quietAfterPanel() }
    })

    function programmingWanted(feeder) {
        return setting("programmerEnabled") === true && !!feeder && isTrue(feeder.programmerEnabled)
    }
    // The part waits to be programmed: picking turns it to the socket's
    // angle over the camera.
    c.programmingPending = function() { return se.active && programmingWanted(se.feeder) && !se.programmed }

    // The part is placed, or programmed first when it waits for that; a
    // part centred on the camera is then seen there once more (it sits
    // anew on the nozzle after the socket).
    function placeOrProgram(t) {
        if (programmingWanted(se.feeder) && !se.programmed) {
            instruments.elProgramWait(se.ep, function() {
                if (t !== se.ticket)
                    return
                if (se.centering)
                    backToCamera(t)
                else
                    placeOrProgram(t)
            })
            return
        }
        se.step = 4
        elSetupWait(se.ep, function() { componentDone(t) })
    }

    // Step 0 once more: only the stored move over the camera.
    function backToCamera(t) {
        se.step = 0
        se.tryNumber = 0
        se.centerTry = 0
        se.centeredInPlace = false
        se.shiftX = -count(picking.elGetWait.xShift)
        se.shiftY = -count(picking.elGetWait.yShift)
        picking.elGetWait(se.model, se.index, se.ep, function() {
            if (t === se.ticket)
                recognise(t)
        }, true)
    }

    // Travel height of the component over the board.
    function travelHeight(feeder, nozzle) {
        var top = num(setting("workAreaZ2"))
        var fitted = typeof port.zEncoderFitted === "function" && port.zEncoderFitted() === true
        if (setting("zTravelEnabled") !== true || setting("encZEnabled") !== true || !fitted || !inRun())
            return top
        var h = num(run().minHeigthCompPCBCalculated) + num(nozzle.cupLength) + num(feeder.elThickness)
                + num(setting("pcbThickness"))
        return isFinite(h) && h <= top ? h : top
    }

    // The pick (and the move over the camera); the centring shift is the
    // negated pick-point offset.
    function pick(t, then) {
        se.step = 0
        picking.elGetWait(se.model, se.index, se.ep, function() {
            if (t !== se.ticket)
                return
            se.shiftX = -count(picking.elGetWait.xShift)
            se.shiftY = -count(picking.elGetWait.yShift)
            then()
        })
    }

    // Steps 1 and 2: the camera settles, then one result.
    function recognise(t) {
        se.step = 1
        var feeder = se.feeder
        var ms = count(setting("camera2Delay")) + Math.max(0, count(feeder.placeDelay))
        port.after(ms, function() {
            if (t !== se.ticket)
                return
            se.step = 2
            elWait(feeder, function() { if (t === se.ticket) evaluate(t) })
        })
    }

    // Step 3: the result. A part counts as found when the camera found it
    // where it can be, and it passed the size check; a part centred by its
    // pins whose pins do not add up stops at the pin panel.
    function evaluate(t) {
        se.step = 3
        var feeder = se.feeder
        var settings = sf.cameraSettings || {}
        var found = se.found && Checks.offsetPlausible(se.elX, se.elY, feeder.elWidth, feeder.elHeight, se.elWidth,
                                                       se.elHeight)
        se.sizeFailed = false
        if (found && !se.corners && count(settings.checkSize) !== 0) {
            var size = Checks.sizeCheck(sizeInput(feeder, settings.checkSize))
            se.sizeText = size.text
            if (!size.ok) {
                found = false
                se.sizeFailed = true
            }
        }
        if (found && count(settings.centerType) === CENTER_PINS && settings.checkPinDistance === true) {
            var pins = Checks.pinCheck(se.pins, settings.pinDistanceMaxDev)
            if (pins.failed) {
                pinPanel(t, feeder, pins)
                return
            }
        }
        if (!found && se.tryNumber < RECOGNITION_TRIES - 1) {
            se.tryNumber += 1
            recognise(t)
            return
        }
        if (!found) {
            notFound(t, feeder)
            return
        }
        se.notFoundCounter = Math.max(0, se.notFoundCounter - FOUND_CREDIT)
        if (se.corners) {
            cornerStep(t)
            return
        }
        var rs = runState(se.model, se.index)
        if (se.feederCentering === 2)
            storeMean(feeder)
        rs.centeringCurrCount = count(rs.centeringCurrCount) + 1
        if (se.feederCentering === 2 || !isTrue(feeder.centerInPlace) || se.centerTry >= CENTER_IN_PLACE_MOVES) {
            placeOrProgram(t)
            return
        }
        centreInPlace(t)
    }

    // What the size check compares: the part's sizes from the feeder, the
    // angle it is expected at (the placement's rotation once the part was
    // turned to it, mode 1), and what the camera measured.
    function sizeInput(feeder, mode) {
        var ep = se.ep || {}
        var el = ep.el || {}
        var rot = PT.feederRot(feeder)
        var angle = rot
        if (se.feederCentering !== 2 && se.ep)
            angle = PT.finite(el.rot) ? num(el.rot) + count(ep.boardRotation) : num(ep.rotation)
        return { "mode": mode, "width": feeder.elWidth, "height": feeder.elHeight, "rot": rot, "angle": angle,
                 "bank": String(se.model), "measuredWidth": se.elWidth, "measuredHeight": se.elHeight,
                 "measuredOrientation": se.exAngle }
    }

    // The pin panel: "Продолжить" looks at the part again, "Сброс в корзину"
    // drops it and picks a new one.
    function pinPanel(t, feeder, pins) {
        se.step = 1
        se.notFoundCounter = mayNotThrow(feeder) || pickRetryCount(feeder) === 0 ? -1 : 0
        port.showPanel("pinDistance", { "pinCountRight": pins.countRight, "maximum": pins.maximum,
                                        "measured": pins.measured }, function(id) {
            if (t !== se.ticket)
                return
            if (id === "feederSettings") {
                port.openFeederSettings(se.model, se.index)
            } else if (id === "continue") {
                quietAfterPanel()
                se.tryNumber = 0
                recognise(t)
            } else if (id === "basket") {
                quietAfterPanel()
                port.rowErrorUp()
                rejected(t)
            }
        })
    }

    // Centring in place (step 4 of a found part): the head moves so that the
    // part's centre comes over the camera, turned by the angle choice, and
    // the camera looks again; at most CENTER_IN_PLACE_MOVES times.
    function centreInPlace(t) {
        var feeder = se.feeder
        var c0 = c.placementAngle(se.ep, feeder)
        var target = angleChoice(c0, se.elA)
        var a = se.centerTry === 0 ? target : se.aPrev - (c0 - target)
        var cam = cameraArea()
        var x = num(cam.cameraX) - se.shiftX - se.elX
        var y = num(cam.cameraY) - se.shiftY - se.elY
        if (!Checks.cameraSafe(x, y, cam)) {
            port.fail(borderText())
            return
        }
        var line = new PT.Lines()
        line.add(xySpeed(100, PT.minPercent(feeder.maxAcc, CENTER_IN_PLACE_ACC)), " x", Coords.fixed(x, 3), " y",
                 Coords.fixed(y, 3), " a", Coords.fixed(a, 3))
        if (line.broken) {
            port.fail(centringNumberError())
            return
        }
        se.shiftX += se.elX
        se.shiftY += se.elY
        se.centeredInPlace = true
        se.centerTry += 1
        se.aPrev = a
        se.step = 1
        waiters.gCodeWait(line.text(), false, function() { if (t === se.ticket) recognise(t) })
    }

    // The camera the part is centred on, with the lower ends of the work area.
    function cameraArea() {
        var cam = se.camera3 ? "camera3" : "camera2"
        return { "cameraX": setting(cam + "X"), "cameraY": setting(cam + "Y"), "workAreaX1": setting("workAreaX1"),
                 "workAreaY1": setting("workAreaY1") }
    }
    function borderText() {
        return qsTr("Перемещение для центрирования компонента выходит за допустимые границы!")
    }
    function centringNumberError() {
        return qsTr("Неверное число в G-коде центрирования компонента: центрирование не выполнено")
    }

    // ---- corner centring: each of the part's four sides is centred over the
    // camera in turn; the crossing of the lines between opposite sides is the
    // part's centre.

    // Step 0: the walk's start (false after telling the operator).
    function cornerPrepare(ep, feeder) {
        var start = Checks.cornerStart(c.placementAngle(ep, feeder), PT.feederRot(feeder), feeder.elWidth,
                                       feeder.elHeight)
        if (!start) {
            port.fail(qsTr("Неверные размеры или угол компонента: центрирование по углам не выполнено"))
            return false
        }
        se.corner = { "start": start, "side": 1, "moves": 0, "aligned": false, "assumed": start.assumed,
                      "x": NaN, "y": NaN, "points": [] }
        return true
    }

    // The head is over the camera at the first side (the move picking sent).
    function cornerAtCamera() {
        var k = se.corner
        k.x = num(Coords.fixed(picking.elGetWait.cameraX, 3))
        k.y = num(Coords.fixed(picking.elGetWait.cameraY, 3))
    }

    // One found result of the walk: a correcting move on the current side;
    // once the side's moves are used up, its position is kept and the head
    // goes on to the next side, or, after the fourth, the part is placed.
    function cornerStep(t) {
        var k = se.corner
        var feeder = se.feeder
        var acc = PT.minPercent(feeder.maxAcc, CORNER_ACC)
        var to = Checks.cornerCorrection(k.x, k.y, se.elX, k.assumed)
        var line = new PT.Lines()
        var turn = ""
        if (!k.aligned) {
            var c0 = c.placementAngle(se.ep, feeder)
            var inc = -(c0 - angleChoice(c0, se.elA))
            var v = Coords.fixed(Math.abs(inc), 3)
            turn = v === null ? null : (inc < 0 ? " a--" : " a++") + v
        }
        line.add(xySpeed(100, acc), " x", Coords.fixed(to.x, 3), " y", Coords.fixed(to.y, 3), turn)
        if (!cornerMoveAllowed(line, to))
            return
        k.x = num(Coords.fixed(to.x, 3))
        k.y = num(Coords.fixed(to.y, 3))
        k.moves += 1
        se.step = 1
        waiters.gCodeWait(line.text(), false, function() {
            if (t !== se.ticket)
                return
            if (k.moves < (k.aligned ? Checks.CORNER_MOVES_ALIGNED : Checks.CORNER_MOVES_UNALIGNED)) {
                recognise(t)
                return
            }
            cornerSideDone(t)
        })
    }

    function cornerSideDone(t) {
        var k = se.corner
        var feeder = se.feeder
        k.points.push({ "x": k.x, "y": k.y })
        if (k.side === 4) {
            cornerFinish(t)
            return
        }
        var move = Checks.cornerSideMove(k.side, k.start)
        var dx = Coords.fixed(Math.abs(move.dx), 3), dy = Coords.fixed(Math.abs(move.dy), 3)
        var to = { "x": k.x + (move.dx < 0 ? -1 : 1) * num(dx), "y": k.y + (move.dy < 0 ? -1 : 1) * num(dy) }
        var line = new PT.Lines()
        line.add(xySpeed(100, feeder.maxAcc), move.dx < 0 ? " x--" : " x++", dx, move.dy < 0 ? " y--" : " y++", dy)
        if (!cornerMoveAllowed(line, to))
            return
        k.x = num(Coords.fixed(to.x, 3))
        k.y = num(Coords.fixed(to.y, 3))
        k.side += 1
        k.moves = 0
        k.aligned = true
        k.assumed += move.turn
        waiters.gCodeWait(line.text(), false, function() { if (t === se.ticket) recognise(t) })
    }

    // A move of the walk goes out only inside the camera's safe area and
    // with every number written; otherwise the run stops.
    function cornerMoveAllowed(line, to) {
        if (!Checks.cameraSafe(to.x, to.y, cameraArea())) {
            port.fail(borderText())
            return false
        }
        if (line.broken) {
            port.fail(centringNumberError())
            return false
        }
        return true
    }

    // After the fourth side: the centre, the shift, and the part is placed.
    // Sides that do not cross (parallel) found nothing.
    function cornerFinish(t) {
        var k = se.corner
        var p = k.points
        var centre = Checks.cornerCentre(p[0], p[1], p[2], p[3])
        if (!centre) {
            se.found = false
            se.sizeFailed = false
            notFound(t, se.feeder)
            return
        }
        var cam = cameraArea()
        se.shiftX = num(cam.cameraX) - centre.x
        se.shiftY = num(cam.cameraY) - centre.y
        se.centeredInPlace = true
        placeOrProgram(t)
    }

    // The operator asked to look at the part again: a walk that has begun
    // starts over from the move to the camera.
    function recogniseAgain(t) {
        se.tryNumber = 0
        var k = se.corner
        if (!se.corners || !k || (k.side === 1 && k.moves === 0)) {
            recognise(t)
            return
        }
        se.corner = { "start": k.start, "side": 1, "moves": 0, "aligned": false, "assumed": k.start.assumed,
                      "x": NaN, "y": NaN, "points": [] }
        picking.elGetWait(se.model, se.index, se.ep, function() {
            if (t !== se.ticket)
                return
            cornerAtCamera()
            recognise(t)
        }, true)
    }

    function notFound(t, feeder) {
        se.notFoundCounter += 1
        port.rowErrorUp()
        if (se.sizeFailed)
            port.log(qsTr("Проверка размера не пройдена!") + se.sizeText, "yellow")
        var noThrow = mayNotThrow(feeder)
        var retries = pickRetryCount(feeder)
        var n = Math.round(se.notFoundCounter)
        if (noThrow ? n >= 1 : n >= retries + 1) {
            if (skipsOnErrors(feeder)) {
                skip(se.model, se.index, qsTr("Несколько ошибок распознавания подряд! Пропускаю питатель: ")
                     + feederText(se.model, se.index), "red")
                return
            }
            if (setting("autoSwithToSimilarFeeders") === true
                    && switchToEquivalent(se.model, se.index,
                                          qsTr("Несколько ошибок распознавания подряд! Переключаюсь на питатель: ")))
                return
            port.log(qsTr("Несколько ошибок распознавания подряд! Остановка программы!"), "red")
            se.step = 1
            se.notFoundCounter = noThrow || retries === 0 ? -1 : 0
            port.showPanel("notRecognised", {}, function(id) {
                if (t !== se.ticket)
                    return
                if (id === "feederSettings") {
                    port.openFeederSettings(se.model, se.index)
                } else if (id === "skip") {
                    skip(se.model, se.index)
                } else if (id === "continue") {
                    quietAfterPanel()
                    recogniseAgain(t)
                }
            })
            return
        }
        port.log(qsTr("Ошибка распознавания компонента из питателя ") + Program.feederName(se.model) + " "
                 + (Number(se.index) + 1) + qsTr(". Сброс в корзину."), "yellow")
        beepUnlessQuiet()
        var back = dropBackText(feeder)
        if (back !== null) {
            se.notFoundCounter -= DROP_BACK_CREDIT
            rejected(t, back)
            return
        }
        rejected(t)
    }

    // Loose parts of a feeder that drops them back (dropType 1) go back where
    // they were picked instead of into the basket: the block, or null for
    // the basket (another feeder, or no pick point known).
    function dropBackText(feeder) {
        var now = port.feederOf(se.model, se.index) || feeder
        if (num(now.type) !== 2 || num(now.dropType) !== 1)
            return null
        var x = num(now.lastGetX), y = num(now.lastGetY)
        if (!isFinite(x) || !isFinite(y) || x === -1000 || y === -1000)
            return null
        var nozzle = nozzleOf(now) || {}
        var acc = PT.finite(now.maxAcc) ? now.maxAcc : PT.BASKET_ACC
        var lines = new PT.Lines()
        lines.add(zSpeed(100, acc), " zMax")
        lines.add(xySpeed(100, acc), " x", Coords.fixed(x, 3), " y", Coords.fixed(y, 3))
        lines.add(zSpeed(100, acc), " z", Coords.fixed(num(now.caseZ) + num(nozzle.cupLength)
                                                        + num(now.elThickness) * 1.5 + DROP_BACK_RISE_MM, 3))
        lines.add("m65 p1")
        lines.add("g4 p", Coords.fixed(num(setting("vacuumDelay")) + DROP_BACK_DWELL_S, 3))
        lines.add("g0 zMax")
        return lines.broken ? null : lines.text()
    }

    // A failure right after the operator pressed a panel's continue button
    // does not beep again.
    function quietAfterPanel() {
        sf.quiet = true
        sf.quietTicket += 1
        var q = sf.quietTicket
        port.after(QUIET_AFTER_PANEL_MS, function() { if (q === sf.quietTicket) sf.quiet = false })
    }
    function beepUnlessQuiet() {
        if (!sf.quiet)
            port.beep()
    }

    // The part is rejected: the placement is tried again with a new part.
    // The part goes into the basket, or is put down with `dropText`.
    function rejected(t, dropText) {
        takeBack()
        se.tryNumber = 0
        se.active = false
        var then = function() {
            if (t !== se.ticket)
                return
            var cont = se.nFunc
            se.nFunc = null
            if (cont)
                cont()
        }
        if (dropText !== undefined)
            waiters.gCodeWait(dropText, false, then)
        else
            elToBasketWait(then)
    }

    function componentDone(t) {
        if (t !== se.ticket)
            return
        se.step = -1
        se.active = false
        var cont = se.nFunc
        se.nFunc = null
        if (cont)
            cont()
    }

    // ================================================================
    // elWait(feeder, f): one component-camera result into setupElement's
    // found, elX, elY (mm from the camera centre), elA, elWidth, elHeight.
    function elWait(feeder, f) {
        elWait.ticket += 1
        var t = elWait.ticket
        elWait.f = f
        elWait.held = null
        var settings = {}
        var given = sf.cameraSettings || {}
        for (var k in given)
            settings[k] = given[k]
        settings.camera3 = se.camera3
        var frames = !se.corners ? 1 : (se.corner && se.corner.aligned ? Checks.CORNER_FRAMES_ALIGNED
                                                                        : Checks.CORNER_FRAMES_UNALIGNED)
        port.componentCamera.ask(settings, frames, function(result) {
            if (t !== elWait.ticket)
                return
            // A result that comes while paused is taken up on leaving pause.
            if (port.paused()) {
                elWait.held = result
                return
            }
            elWaitResult(feeder, result)
        })
    }
    elWait.ticket = 0
    elWait.f = null
    elWait.held = null

    function elWaitResult(feeder, result) {
        var frames = result && result.frames ? result.frames : [result]
        var r = meanOfFrames(frames)
        var last = frames.length > 0 && frames[frames.length - 1] ? frames[frames.length - 1] : {}
        se.pins = { "pinCountCorrect": last.pinCountCorrect === true, "pinCount": num(last.pinCount),
                    "avgPinDist": num(last.avgPinDist), "minPinDist": num(last.minPinDist),
                    "maxPinDist": num(last.maxPinDist) }
        se.exAngle = num(last.exAngle)
        var nozzle = nozzleOf(feeder) || {}
        var ppm = cameraPpm(port.position().z, feeder.elThickness, nozzle.cupLength,
                            setting(se.camera3 ? "camera3Height" : "camera2Height"), setting("camera2PPM"),
                            setting("camera2PPMDistance"))
        if (!r.found || !isFinite(ppm))
            r = { "found": false, "x": 0, "y": 0, "angle": 0, "width": 0, "height": 0 }
        se.found = r.found
        se.elX = r.found ? r.x / ppm : 0
        se.elY = r.found ? r.y / ppm : 0
        se.elA = r.angle
        se.elWidth = r.found ? r.width / ppm : 0
        se.elHeight = r.found ? r.height / ppm : 0
        // The result of a centred part joins the mode-2 mean only once the
        // checks of step 3 have accepted it (storeMean in evaluate).
        var cont = elWait.f
        elWait.f = null
        if (debugWanted(feeder)) {
            debugWait(feeder, cont)
            return
        }
        if (cont)
            cont()
    }

    // ---- the feeder debug mode: the mean pick offset of the last parts
    // of a tape or vibration feeder, first look at each part only.
    function debugWanted(feeder) {
        var type = num(feeder.type)
        return run().feederDebugMode === true && inRun() && (type === 3 || type === 4) && se.found
                && se.tryNumber === 0 && se.centerTry === 0 && !se.corners
                && Checks.offsetPlausible(se.elX, se.elY, feeder.elWidth, feeder.elHeight, se.elWidth, se.elHeight)
    }

    // debugWait(feeder, f): the offset joins the feeder's ring; a full ring
    // whose mean is off asks the operator whether to move the pick point.
    function debugWait(feeder, f) {
        var t = se.ticket
        var model = se.model, index = se.index
        var rs = runState(model, index)
        var angle = se.feederCentering === 1 ? c.placementAngle(se.ep, feeder) : 0
        rs.debugArray = Checks.debugPush(rs.debugArray, Checks.debugOffset(se.elX, se.elY, angle, se.feederCentering))
        var verdict = Checks.debugVerdict(rs.debugArray, se.elWidth, se.elHeight)
        if (!verdict.off) {
            if (f)
                f()
            return
        }
        port.showPanel("centeringOffset", { "x": verdict.x, "y": verdict.y }, function(id) {
            if (t !== se.ticket)
                return
            if (id === "yes") {
                var now = port.feederOf(model, index) || feeder
                port.setFeederValue(model, index, "caseX", Checks.correctedPickPoint(now.caseX, verdict.x))
                port.setFeederValue(model, index, "caseY", Checks.correctedPickPoint(now.caseY, verdict.y))
                rs.centeringCurrCount = 0
                rs.centeringResults = []
            } else if (id !== "no") {
                return
            }
            rs.debugArray = []
            if (f)
                f()
        })
    }

    // Mode 2: the result of the n-th centred part; the last of them sets
    // the feeder's mean offset.
    function storeMean(feeder) {
        var rs = runState(se.model, se.index)
        var n = count(rs.centeringCurrCount)
        if (!rs.centeringResults)
            rs.centeringResults = []
        rs.centeringResults[n] = { "x": se.elX, "y": se.elY, "a": se.elA }
        var total = count(feeder.centeringCount)
        if (n !== total - 1)
            return
        var sx = 0, sy = 0, sa = 0, k = 0
        for (var i = 0; i < total; ++i) {
            var r = rs.centeringResults[i]
            if (!r)
                continue
            sx += r.x
            sy += r.y
            sa += r.a
            ++k
        }
        if (k === 0)
            return
        port.setFeederValue(se.model, se.index, "centeringX", sx / k)
        port.setFeederValue(se.model, se.index, "centeringY", sy / k)
        port.setFeederValue(se.model, se.index, "centeringA", sa / k)
    }

    // ================================================================
    // elSetupCoordsWithCorrections(ep, feeder) -> [x, y, z, a, board
    // angle, fast z], or null after telling the operator.
    function elSetupCoordsWithCorrections(ep, feeder) {
        var b = boardCoords(ep, feeder)
        if (!b.ok) {
            port.fail(b.error)
            return null
        }
        var mode = se.feederCentering
        var found = se.found, elX = se.elX, elY = se.elY, elA = se.elA
        if (mode === 2 && !se.centering) {
            found = true
            elX = count(feeder.centeringX)
            elY = count(feeder.centeringY)
            elA = count(feeder.centeringA)
        }
        var cx = se.shiftX, cy = se.shiftY, correction = 0
        if (mode !== 0 && found) {
            // Corner centring leaves the whole offset in the shift.
            if (se.corners && se.centering) {
                elX = 0
                elY = 0
            }
            var da = mode === 1 ? 0 : b.a * Math.PI / 180
            cx = elX * Math.cos(da) + elY * Math.sin(da) + se.shiftX
            cy = elY * Math.cos(da) - elX * Math.sin(da) + se.shiftY
            correction = isTrue(feeder.forbidAngle) ? 0 : elA
        }
        var x = -cx + b.x + count(setting("pcbCorrX"))
        var y = -cy + b.y + count(setting("pcbCorrY"))
        var c0 = b.a + b.boardAngle
        var a = mode === 1 ? angleChoice(c0, correction) : Geometry.minAngle(c0)
        var r = [x, y, b.z, a, b.boardAngle, b.fastZ]
        for (var i = 0; i < r.length; ++i) {
            if (!isFinite(r[i])) {
                port.fail(qsTr("Неверные данные компонента: координаты установки не вычислены"))
                return null
            }
        }
        return r
    }

    // ================================================================
    // elSetupWait(ep, f): the part to its place, with the vacuum check.
    function placeBlocks(ep, feeder) {
        var target = elSetupCoordsWithCorrections(ep, feeder)
        if (!target)
            return null
        var acc = feeder.maxAcc
        var zTravel = Coords.fixed(se.zTravel, 1)
        var move = new PT.Lines()
        move.add(zSpeed(100, acc), " z", zTravel)
        if (se.centering) {
            move.add(xySpeed(100, acc))
            var post = text(setting(se.camera3 ? "postCameraGcode3" : "postCameraGcode"))
            if (post !== "")
                move.add(post)
        }
        var turn = ""
        // A part centred over the camera already has its angle: the walk
        // round its corners turned it as well.
        if (!(se.centeredInPlace && (isTrue(feeder.centerInPlace) || se.corners))) {
            var a = Coords.fixed(target[3], 3)
            turn = a === null ? null : " a" + a
        }
        move.add(xySpeed(100, acc), " x", Coords.fixed(target[0], 3), " y", Coords.fixed(target[1], 3), " z",
                 zTravel, turn)
        var place = new PT.Lines()
        var delay = num(feeder.placeDelay)
        if (delay > 0)
            place.add("g4 p", Coords.fixed(delay / 1000, 3))
        if (setting("allowCustomPlaceGCode") === true && isTrue(feeder.customPlaceGCodeEnabled)) {
            place.add(text(feeder.customPlaceGCode))
        } else {
            var soft = run().softPlacement === true || isTrue(feeder.slowPlace)
            var speed = PT.shortest(setting("slowPickPlaceSpeed"))
            if (soft) {
                place.add(zSpeed(100, acc), " z", Coords.fixed(target[5], 3))
                place.add("g1 f", speed, " z", Coords.fixed(target[2], 3))
            } else {
                place.add(zSpeed(100, acc), " z", Coords.fixed(target[2], 3))
            }
            place.add("m65 p1")
            place.add("g4 p", Coords.fixed(setting("vacuumDelay"), 3))
            if (soft)
                place.add("g1 f", speed, " z", Coords.fixed(target[5], 3))
        }
        place.add("g0 z", zTravel)
        if (move.broken || place.broken) {
            port.fail(qsTr("Неверное число в G-коде установки компонента: установка не выполнена"))
            return null
        }
        return { "move": move.text(), "place": place.text() }
    }

    function elSetupWait(ep, f) {
        elSetupWait.ticket += 1
        var t = elSetupWait.ticket
        elSetupWait.f = f
        var feeder = se.feeder
        var blocks = placeBlocks(ep, feeder)
        if (!blocks)
            return
        var nozzle = nozzleOf(feeder) || {}
        var check = isTrue(nozzle.vsUse) && setting("vsEnabled") === true && isTrue(feeder.vsCheck)
        if (!check) {
            waiters.gCodeWait(blocks.move + "\n" + blocks.place, false, function() {
                if (t === elSetupWait.ticket)
                    placed(ep, feeder)
            })
            return
        }
        port.vacuum.setFast(true)
        waiters.gCodeWait(blocks.move, false, function() {
            if (t === elSetupWait.ticket)
                measureVacuum(t, ep, feeder, nozzle, blocks)
        }, true, true)
    }
    elSetupWait.ticket = 0
    elSetupWait.f = null
    elSetupWait.vacuumErrorCount = 0

    function measureVacuum(t, ep, feeder, nozzle, blocks) {
        picking.vsMeasureWait(function(result) {
            if (t !== elSetupWait.ticket)
                return
            if (!result.ok) {
                port.log(qsTr("Ошибка связи с датчиком разрежения!"), "red")
                vacuumPanel(t, ep, feeder, nozzle, blocks, { "control": "failure", "message": result.message })
                return
            }
            judgeVacuum(t, ep, feeder, nozzle, blocks, result.value)
        })
    }

    function judgeVacuum(t, ep, feeder, nozzle, blocks, value) {
        var relative = num(setting("vsControlType")) === 1
        var before = port.vacuum.before()
        var v = elSetupWait
        if (picking.vacuumHeld(nozzle, relative, before, value)) {
            v.vacuumErrorCount = v.vacuumErrorCount <= 0.2 ? 0 : v.vacuumErrorCount - 0.3
            waiters.gCodeWait(blocks.place, false, function() {
                if (t === elSetupWait.ticket)
                    placed(ep, feeder)
            })
            return
        }
        var values = relative
                ? { "control": "relative", "before": num(before), "after": value, "difference": num(before) - value,
                    "threshold": num(nozzle.vsPressureDiff) }
                : { "control": "absolute", "measured": value, "threshold": num(nozzle.vsPressure) }
        var detail = relative
                ? qsTr("До взятия: ") + fixed1(before) + qsTr("кПа, после: ") + fixed1(value) + qsTr("кПа, разница: ")
                  + fixed1(num(before) - value) + qsTr("кПа, порог: ") + fixed1(nozzle.vsPressureDiff) + qsTr("кПа.")
                : qsTr("Измерено: ") + fixed1(value) + qsTr("кПа, порог: ") + fixed1(nozzle.vsPressure) + qsTr("кПа.")
        port.log(qsTr("Ошибка по датчику разрежения! Питатель: ") + feederText(se.model, se.index) + ". " + detail,
                 "yellow")
        port.rowErrorUp()
        runState(se.model, se.index).debugArray = []
        v.vacuumErrorCount += 1
        var noThrow = mayNotThrow(feeder)
        var retries = pickRetryCount(feeder)
        if (v.vacuumErrorCount > (noThrow ? 0 : retries)) {
            if (skipsOnErrors(feeder)) {
                port.vacuum.setFast(false)
                skip(se.model, se.index, qsTr("Несколько ошибок по датчику разрежения подряд! Пропускаю питатель: ")
                     + feederText(se.model, se.index), "red")
                return
            }
            v.vacuumErrorCount = noThrow || retries === 0 ? -1 : 0
            vacuumPanel(t, ep, feeder, nozzle, blocks, values)
            return
        }
        port.vacuum.setFast(false)
        port.beep()
        rejected(se.ticket)
    }

    function fixed1(v) {
        var n = num(v)
        return isFinite(n) ? n.toFixed(1) : "—"
    }

    function vacuumPanel(t, ep, feeder, nozzle, blocks, values) {
        var st = se.ticket
        port.showPanel("vacuumError", values, function(id) {
            if (t !== elSetupWait.ticket || st !== se.ticket)
                return
            if (id === "feederSettings") {
                port.openFeederSettings(se.model, se.index)
            } else if (id === "sensorSettings") {
                port.openSensorSettings()
            } else if (id === "skip") {
                port.vacuum.setFast(false)
                skip(se.model, se.index)
            } else if (id === "continue") {
                quietAfterPanel()
                if (!port.vacuum.running() && !port.vacuum.starting())
                    port.vacuum.start()
                measureVacuum(t, ep, feeder, nozzle, blocks)
            }
        })
    }

    // The part lies on the board: texts, counters, then the continuation.
    function placed(ep, feeder) {
        port.vacuum.setFast(false)
        var model = se.model, index = se.index
        var now = port.feederOf(model, index) || feeder
        port.setFeederValue(model, index, "setCount", count(now.setCount) + 1)
        port.componentPlaced(ep)
        port.countPlaced(ep)
        var cont = elSetupWait.f
        elSetupWait.f = null
        if (cont)
            cont()
    }

    // ================================================================
    // elToBasketWait(f): the held part into the basket. A basket G-code
    // that does not move the head is refused: switching the valve off
    // wherever the head stands would drop the part there.
    function elToBasketWait(f) {
        elToBasketWait.ticket += 1
        var t = elToBasketWait.ticket
        var feeder = se.feeder
        var r = PT.basketText({ "basketGcode": setting("basketGcode"), "maxVel": setting("maxVel"),
                                "maxAcc": setting("maxAcc"), "acc": PT.pickAcc(inRun()),
                                "feederMaxAcc": feeder ? (PT.finite(feeder.maxAcc) ? feeder.maxAcc : NaN) : null,
                                "screenHidden": run().visible === false })
        if (!r.ok) {
            port.fail(r.error)
            return
        }
        var ep = se.ep, model = se.model, index = se.index
        waiters.gCodeWait(r.text, true, function() {
            if (t !== elToBasketWait.ticket)
                return
            if (inRun() && feeder) {
                var now = port.feederOf(model, index) || feeder
                port.setFeederValue(model, index, "basketCount", count(now.basketCount) + 1)
                port.countBasket(ep)
                var el = (ep && ep.el) || {}
                var line = qsTr("Сброс в корзину. Питатель: ") + feederText(model, index)
                var parts = [text(now.pack), text(now.partNumber), text(el.designator)]
                for (var i = 0; i < parts.length; ++i)
                    if (parts[i] !== "")
                        line += "  " + parts[i]
                port.log(line, "yellow")
            }
            if (f)
                f()
        })
    }
    elToBasketWait.ticket = 0

    // ---- events
    c.pauseGet = function() {
        if (port.paused() || !elWait.held)
            return
        var held = elWait.held
        elWait.held = null
        elWaitResult(se.feeder, held)
    }

    // A stop: every step forgets what it waits for.
    c.stopAll = function() {
        instruments.stopAll()
        sf.ticket += 1
        sf.nFunc = null
        se.ticket += 1
        se.nFunc = null
        se.step = -1
        se.active = false
        elWait.ticket += 1
        elWait.f = null
        elWait.held = null
        elSetupWait.ticket += 1
        elSetupWait.f = null
        elSetupWait.vacuumErrorCount = 0
        elToBasketWait.ticket += 1
        if (port.componentCamera && typeof port.componentCamera.cancel === "function")
            port.componentCamera.cancel()
    }

    c.resetRlc = function() { instruments.resetRlc() }
    c.rlcWait = instruments.rlcWait
    c.elProgramWait = instruments.elProgramWait
    c.setupFeeder = setupFeeder
    c.setupElement = setupElement
    c.elWait = elWait
    c.elSetupCoordsWithCorrections = elSetupCoordsWithCorrections
    c.elSetupWait = elSetupWait
    c.elToBasketWait = elToBasketWait
    return c
}

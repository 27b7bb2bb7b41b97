.pragma library
.import "FakeMachine.js" as Fake
.import "FakeBoard.js" as Board
.import "../../qml/main/job/waiters.js" as Waiters
.import "../../qml/main/job/picking.js" as Picking
.import "../../qml/main/job/component.js" as Component

// The set-up the job step tests share: the fake machine with its board,
// the steps wired to it, the feeders and placements they use, and the exact
// blocks those send.
//
// Machine maxima X 250, Y 200, Z 100 units/s. Six nozzles 30 mm long
// pressing 0.5 mm, nozzle 1 on the head. Component camera 2 at (200, 30),
// 20 px/mm at the centring height. Placement k of feeder B0 lies at machine
// (60 + 10 k, 300) and is placed at Z 32.

// ---- small helpers

function merged(base, extra) {
    var r = {}
    var k
    for (k in base)
        r[k] = base[k]
    for (k in (extra || {}))
        r[k] = extra[k]
    return r
}

// A continuation that records its arguments in `args`.
function counter() {
    var c = function(arg) { c.args.push(arg) }
    c.args = []
    return c
}

function lines(list) { return list.join("\n") }
function block(list) { return lines(list) + "\ng0" }

function logTexts(r, color) {
    return r.m.logs.filter(function(l) { return color === undefined || l.color === color })
                   .map(function(l) { return l.text })
}
function panelNames(r) { return r.b.panels.map(function(p) { return p.name }) }
// The values written to one field of the feeders.
function writesOf(r, name) {
    return r.b.feederWrites.filter(function(w) { return w[2] === name }).map(function(w) { return w[3] })
}
function eventsLike(r, prefix) {
    return r.m.events.filter(function(e) { return e.indexOf(prefix) === 0 })
}

// Compares what the steps left in rig r with `e`, key by key, through the
// test case t (each compare named by its key); `done` is the continuation
// whose calls e.done counts. Keys: sent (the blocks), safeH (their flags),
// looks (component camera requests), panels (names), values (the first
// panel's), yellow and red (log texts), rowErrors, placed, counted and
// baskets (how many), setCount and basketCount (the values written),
// missed (the run's missed count), failures, rows.
function expect(t, r, e, done) {
    var got = {
        "sent": function() { return r.m.sentTexts() },
        "safeH": function() { return r.m.sent.map(function(s) { return s.safeH }) },
        "looks": function() { return r.b.componentCamera.requests.length },
        "panels": function() { return panelNames(r) },
        "values": function() { return r.b.panels[0].values },
        "yellow": function() { return logTexts(r, "yellow") },
        "red": function() { return logTexts(r, "red") },
        "rowErrors": function() { return r.b.rowErrors },
        "placed": function() { return r.b.placed.length },
        "counted": function() { return r.b.counted.length },
        "baskets": function() { return r.b.basket.length },
        "setCount": function() { return writesOf(r, "setCount") },
        "basketCount": function() { return writesOf(r, "basketCount") },
        "missed": function() { return r.m.run.missedCount },
        "failures": function() { return r.m.failures },
        "rows": function() { return r.m.rows },
        "done": function() { return done.args.length }
    }
    for (var key in e) {
        if (!got[key])
            throw new Error("expect: no such key " + key)
        t.compare(got[key](), e[key], key)
    }
}

// ---- machines

function nozzles() {
    var list = []
    for (var i = 0; i < 6; ++i)
        list.push({ "cupLength": 30, "press": 0.5, "setupM": "g0 x10 y" + i, "takeM": "g0 x20 y" + i,
                    "vsUse": false, "checkClogging": false, "vsPressure": 10, "vsPressureDiff": 5 })
    return list
}

// The settings of the picking and component steps.
function pickSettings(extra) {
    return merged({ "vacuumDelay": 0.2, "slowPickPlaceSpeed": 6000, "vsEnabled": false, "vsControlType": 0,
                    "workAreaX1": 10, "workAreaY1": 0, "workAreaZ2": 60, "camera2X": 200, "camera2Y": 30,
                    "camera2Height": 20, "camera2MinHeight": 0, "preCameraGcode": "", "camera3Enabled": false,
                    "camera2MaxElementSize": 5, "rlcEnabled": false, "basketGcode": "g0 x470 y120",
                    "tapeChangeGCode": "g0 x0 y0", "dontStopProgramOnFeederErrors": false }, extra)
}
function componentSettings(extra) {
    return pickSettings(merged({ "workAreaY2": 400, "workAreaZ1": 0, "pcbThickness": 1.5, "pcbCorrX": 0,
                                 "pcbCorrY": 0, "camera2PPM": 20, "camera2PPMDistance": 2, "camera2Delay": 500,
                                 "camera2Treshold1": 180, "camera2Treshold2": 50, "camera2CheckSize": 0,
                                 "postCameraGcode": "", "refMode": 1, "pcbMulti": false,
                                 "allowRunWithoutFiducials": false, "allowCustomPlaceGCode": false,
                                 "zTravelEnabled": false, "programmerEnabled": false }, extra))
}

var tapeBank = { "position": 0, "maxShift": 1, "g1": "G0 B1", "g2": "G0 B2", "zShift": 3 }

// The vacuum sensor's events for the picking steps p.
function vacuumHooks(engine, p) {
    engine.vsMeasureGet = p.vsMeasureGet
    engine.vsMeasureFailedGet = p.vsMeasureFailedGet
    engine.vsStartedGet = p.vsStartedGet
    engine.vsStartFailedGet = p.vsStartFailedGet
    return engine
}

// The picking steps in a run, over `settings` (pickSettings), travel
// height 40 and placement angle 0; `vacuum`: the sensor's events reach them.
function pickingRig(settings, vacuum) {
    var m = Fake.create({ blockMode: "auto", blockMs: 10 })
    var b = Board.extend(m, { settings: settings })
    b.job.nozzles = nozzles()
    b.job.travelHeight = 40
    b.job.placementAngle = 0
    var w = Waiters.create(m.port)
    var p = Picking.create(m.port, w)
    var engine = { positionGet: w.positionGet, homedGet: w.homedGet,
                   pauseGet: function() { w.pauseGet(); p.pauseGet() },
                   stopAll: function() { w.stopAll(); p.stopAll() } }
    m.attach(vacuum ? vacuumHooks(engine, p) : engine)
    m.run.executing = true
    return { m: m, b: b, w: w, p: p }
}

// The component cycle in a run over `settings` (componentSettings), the
// tape bank, valve 1 open and feeder B0 `feeder`. options: instruments (the
// RLC check, programming and the switch to equivalents are wired too),
// vacuum (the sensor's events reach the steps).
function componentRig(settings, feeder, options) {
    var o = options || {}
    var m = Fake.create({ blockMode: "auto", blockMs: 10 })
    var b = Board.extend(m, { settings: settings })
    b.job.nozzles = nozzles()
    b.job.tapeBanks = [tapeBank]
    b.currVC = 1
    b.outputs[0] = true
    b.job.feeders["B0"] = feeder
    var w = Waiters.create(m.port)
    var p = Picking.create(m.port, w)
    var c = Component.create(m.port, w, p)
    m.port.travelHeight = c.travelHeight
    m.port.placementAngle = c.placementAngle
    m.port.placementTarget = c.placementTarget
    m.port.morePlacements = c.morePlacements
    m.port.skipFeeder = c.skipFeeder
    m.steps.elToBasketWait = c.elToBasketWait
    if (o.instruments) {
        m.port.programmingPending = c.programmingPending
        m.port.switchToEquivalent = c.switchToEquivalent
        m.steps.rlcWait = c.rlcWait
    }
    var engine = { positionGet: w.positionGet, homedGet: w.homedGet,
                   pauseGet: function() { w.pauseGet(); p.pauseGet(); c.pauseGet() },
                   stopAll: function() { w.stopAll(); p.stopAll(); c.stopAll() } }
    m.attach(o.vacuum ? vacuumHooks(engine, p) : engine)
    m.run.executing = true
    return { m: m, b: b, w: w, p: p, c: c }
}

// ---- feeders and placements of the component cycle

// A tape feeder on bank B, nozzle 1, one perforation per part, not centred.
function tape(extra) {
    return merged({ "type": 3, "cupNumber": 1, "bankNumber": 0, "bandStep": 1, "caseX": 100, "caseY": 50,
                    "elThickness": 1, "elWidth": 2, "elHeight": 1.2, "maxAcc": 100, "centering": 0,
                    "centeringZ": 2, "centeringCount": 3, "rot": 0, "slowPick": false, "pickRetryCount": 1,
                    "setCount": 0, "basketCount": 0, "pack": "0603", "partNumber": "10k", "vsCheck": false,
                    "placeDelay": 0 }, extra)
}

// Placement k of feeder B0 at machine (60 + 10 k, 300).
function placement(k, extra) {
    return merged({ "el": { "model": "B", "index": 0, "rot": 0, "elThickness": 1, "designator": "R" + (k + 1) },
                    "rX": 49 + 10 * k, "rY": 99.4, "elWidth": 2, "elHeight": 1.2, "rotation": 0,
                    "boardRotation": 0, "row": 0, "col": 0, "disabledTemp": false, "lineNumber": k + 1 },
                   extra)
}
function group(n, extra) {
    var list = []
    for (var k = 0; k < n; ++k)
        list.push(placement(k, extra))
    return list
}

// The pick from the tape at X `x` (100 for B0), and the move over the
// camera turned to `angle` (text with 2 decimals; null: not turned).
function tapePick(x) {
    var at = (x === undefined ? 100 : x).toFixed(3)
    return ["g0 z60.0", "g0  x" + at + " y50.000 a0.0", "g0 b1", "g0  x" + at + " y50.000", "g0 z33.500",
            "m64 p1", "g4 p0.200", "g0  z60.0"]
}
function toCamera(angle) {
    return ["m64 p4", "g0 ", "g0  z60.0", "g0  x200.000 y30.000" + (angle === null ? "" : " a" + angle),
            "g0  z53.000"]
}
// Move to (x, y) turned to a and place (after the camera when centred).
function placeBlock(x, y, a, centred) {
    return block(["g0  z60.0"].concat(centred ? ["g0 "] : []).concat(["g0  x" + x + " y" + y + " z60.0 a" + a,
                  "g0  z32.000", "m65 p1", "g4 p0.200", "g0 z60.0"]))
}
var basketBlock = "g0  zMax\ng0 \ng0 x470 y120\nm65 p1\ng0 zMax\n"

// A part seen `mm` off the camera centre at 20 px/mm, 2 x 1.2 mm.
function seen(x, y, angle, extra) {
    return merged({ found: true, x: x * 20, y: y * 20, angle: angle || 0, width: 40, height: 24 }, extra)
}
var notSeen = { found: false, x: 0, y: 0, angle: 0, width: 0, height: 0 }

// Runs feeder group 0 of n placements (1 by default; extra for each) through the component
// cycle of rig r for ms on the clock; returns the group's continuation.
function start(r, n, ms, extra) {
    r.b.job.groups = [group(n === undefined ? 1 : n, extra)]
    var done = counter()
    r.c.setupFeeder(0, done)
    if (ms)
        r.m.advance(ms)
    return done
}

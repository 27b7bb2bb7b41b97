.pragma library
.import "geometry.js" as Geometry
.import "../job/program.js" as Program
.import "../job/pickTexts.js" as PT
.import "../job/componentInstruments.js" as Instruments
// The world the simulated head camera sees, built from the open project and
// the machine settings: every board of the panel, the reference marks and
// solder dots on them, and the calibration marks on the table, all in
// machine coordinates (X = rX + workAreaX1, Y = workAreaY2 - rY). Plain
// functions of their arguments, so that tests can call them directly.

// Machine point of a design point, as [x, y].
function machinePoint(rX, rY, env) {
    var m = Geometry.machinePoint(rX, rY, env)
    return [m.x, m.y]
}

// A design point turned by `angle` degrees about (ax, ay) as the board view
// turns the board picture (clockwise on the screen, design Y downwards).
function turnedInDesign(x, y, ax, ay, angle) {
    var a = Number(angle) * Math.PI / 180
    var dx = x - ax, dy = y - ay
    return { "x": ax + dx * Math.cos(a) - dy * Math.sin(a), "y": ay + dx * Math.sin(a) + dy * Math.cos(a) }
}

// Shape of a mark type: 1 is square, everything else is drawn round.
function shapeOf(type) {
    return Number(type) === 1 ? "square" : "round"
}

// The world's map for SimulatedWorld. input:
//   workAreaX1, workAreaY2, cameraShift [x, y] (camera1XShift, camera1YShift);
//   board {x, y, width, height, anchorX, anchorY, rotation} (design mm, the
//   board picture of the project);
//   panel: as for program.js placeOnBoard (pcbMulti, pcbMultiNonstandart,
//   counts, spacings, free, Y2, bX1, bY1, fX, fY);
//   refMode (1: only board (0,0) carries marks);
//   refs [{rX, rY, indiv, type, size, size2}], refDefaults {type, size, size2}
//   (the project's settings for marks without their own);
//   dots [{rX, rY, size}];
//   calib {x, y, second, x2, y2, type, size, size2}.
// The pivot of the board's turn is the first reference mark on board (0,0),
// or the centre of that board when there are no marks.
function build(input) {
    var env = { "workAreaX1": input.workAreaX1, "workAreaY2": input.workAreaY2 }
    var panel = input.panel
    var grid = Program.boardGrid(panel)
    var b = input.board
    var corners = [[b.x, b.y], [b.x + b.width, b.y], [b.x + b.width, b.y + b.height], [b.x, b.y + b.height]]
    var boards = []
    var marks = []
    var r, c, i
    for (r = 0; r < grid.rows; ++r) {
        for (c = 0; c < grid.cols; ++c) {
            var outline = []
            for (i = 0; i < corners.length; ++i) {
                var t = turnedInDesign(corners[i][0], corners[i][1], b.anchorX, b.anchorY, b.rotation)
                var p = Program.placeOnBoard(t.x, t.y, 0, 0, r, c, panel)
                outline.push(machinePoint(p.rX, p.rY, env))
            }
            boards.push(outline)
            if (Number(input.refMode) === 1 && (r > 0 || c > 0))
                continue
            for (i = 0; i < input.refs.length; ++i) {
                var ref = input.refs[i]
                var own = ref.indiv === true
                var type = own ? ref.type : input.refDefaults.type
                var size = Number(own ? ref.size : input.refDefaults.size)
                var size2 = Number(own ? ref.size2 : input.refDefaults.size2)
                var m = Program.placeOnBoard(ref.rX, ref.rY, 0, 0, r, c, panel)
                var at = machinePoint(m.rX, m.rY, env)
                marks.push({ "x": at[0], "y": at[1], "shape": shapeOf(type), "size": size, "size2": size2,
                             "angle": -Number(m.rot) })
            }
        }
    }
    var dots = []
    for (i = 0; i < input.dots.length; ++i) {
        var d = machinePoint(input.dots[i].rX, input.dots[i].rY, env)
        dots.push({ "x": d[0], "y": d[1], "size": Number(input.dots[i].size) })
    }
    var pivot
    if (input.refs.length > 0) {
        pivot = machinePoint(input.refs[0].rX, input.refs[0].rY, env)
    } else {
        var first = boards[0]
        pivot = [(first[0][0] + first[2][0]) / 2, (first[0][1] + first[2][1]) / 2]
    }
    // The camera centred on a calibration mark stands at (calibX, calibY):
    // the mark lies the camera's offset further on.
    var cal = input.calib
    var shift = input.cameraShift
    var tableMarks = [{ "x": Number(cal.x) + Number(shift[0]), "y": Number(cal.y) + Number(shift[1]),
                        "shape": shapeOf(cal.type), "size": Number(cal.size), "size2": Number(cal.size2) }]
    if (cal.second)
        tableMarks.push({ "x": Number(cal.x2) + Number(shift[0]), "y": Number(cal.y2) + Number(shift[1]),
                          "shape": shapeOf(cal.type), "size": Number(cal.size), "size2": Number(cal.size2) })
    return { "boards": boards, "marks": marks, "dots": dots, "tableMarks": tableMarks, "pivot": pivot,
             "cameraShift": [Number(shift[0]), Number(shift[1])] }
}

// The component camera's scale for the world (pixels per mm), or null when
// the setting is no usable scale (the world then keeps its own).
function componentScale(pixelsPerMm) {
    var v = Number(pixelsPerMm)
    return isFinite(v) && v >= 1 && v <= 500 ? v : null
}

// Most pockets given for one feeder (a tray larger than that is cut).
var maxPockets = 2500

function finite(v, otherwise) {
    var n = Number(v)
    return isFinite(n) ? n : otherwise
}

// Whether a tape of bank `letter` on tape bank `bank` runs along Y: the
// bottom and upper banks stand horizontally, so their tapes run along Y.
function tapeAlongY(letter, bank) {
    if (bank && bank.position !== undefined && finite(bank.position, -1) >= 0 && finite(bank.position, -1) <= 3)
        return finite(bank.position, 0) < 2
    return letter === "B" || letter === "U"
}

// The paper tape of a tape width index (bandWidth of a feeder record): its
// width and the distance from its perforation line to its pocket centres,
// mm, as the tape standard gives them; an unknown index is an 8 mm tape.
var tapeSizes = [[8, 3.5], [12, 5.5], [16, 7.5], [24, 11.5], [32, 14.2], [44, 20.2]]
function tapeSize(bandWidth) {
    var i = Number(bandWidth)
    var t = i >= 0 && i < tapeSizes.length && Math.floor(i) === i ? tapeSizes[i] : tapeSizes[0]
    return { "width": t[0], "holeOffset": t[1] }
}

// The side of the pockets the sprocket holes lie on, by bank: towards lower
// X (bottom bank), higher X (upper), lower Y (right) or higher Y (left).
function holeSide(letter) {
    return letter === "U" || letter === "L" ? 1 : -1
}

// What the simulated head camera sees of one search window of a placer, mm
// (a 640 x 480 frame at 20 pixels per mm): the window's placer area.
var placerWindowMm = [32, 24]

// The value the RLC meter measures of a feeder's parts: { rlcMode, rlcValue }
// (base units), or {} when the feeder's nominal is not a positive value of a
// known type and unit.
function rlcOf(f) {
    var unit = Instruments.rlcUnit(f.rlcType, f.rlcUnit)
    var value = finite(f.rlcValue, 0)
    if (!unit || !(value > 0))
        return {}
    return { "rlcMode": unit.letter, "rlcValue": value * unit.factor }
}

// A loose-part feeder (kind 2): its placer, one window area about each
// search window (placerX / placerY), and one part lying upright in the
// middle of each window, turned by the feeder's rotation. Null without
// windows.
function looseParts(letter, index, f, pickZ) {
    var windows = PT.placerWindows(f.placerX, f.placerY)
    if (windows.length === 0)
        return null
    var placer = [], parts = []
    for (var i = 0; i < windows.length && i < maxPockets; ++i) {
        placer.push([windows[i].x, windows[i].y, placerWindowMm[0], placerWindowMm[1]])
        parts.push({ "x": windows[i].x, "y": windows[i].y, "angle": finite(f.rot, 0), "flipped": false })
    }
    return { "bank": letter, "index": index, "loose": true, "placer": placer, "parts": parts, "pockets": [],
             "pickZ": pickZ, "width": finite(f.elWidth, 1), "height": finite(f.elHeight, 1),
             "thickness": finite(f.elThickness, 1), "angle": finite(f.rot, 0), "current": finite(f.caseCurrNumber, 0) }
}

function withRlc(feeder, f) {
    var rlc = rlcOf(f)
    if (rlc.rlcMode !== undefined) {
        feeder.rlcMode = rlc.rlcMode
        feeder.rlcValue = rlc.rlcValue
    }
    return feeder
}

// The pockets and parts of one feeder (record as in a bank model), or null
// for a feeder whose parts the simulated nozzle cannot pick: no package, no
// pick position, or a kind without parts to pick (tape 3, tray 1 and strip 5
// have pockets, loose parts 2 lie on a placer). A tape feeder also gets its
// tape ("tape", see SimulatedWorld) with the sprocket holes the tape
// centring looks for. env: {bandBanks: [{position, zShift}], cups:
// [{cupLength, press}]}.
function feederParts(letter, index, f, env) {
    var type = Number(f.type)
    if (type !== 1 && type !== 2 && type !== 3 && type !== 5)
        return null
    if (String(f.pack === undefined ? "" : f.pack) === "")
        return null
    var cup = env.cups[finite(f.cupNumber, 0)] || {}
    var length = finite(cup.cupLength, 31), press = finite(cup.press, 1)
    var thickness = finite(f.elThickness, 1)
    if (type === 2) {
        var loose = looseParts(letter, index, f, finite(f.caseZ, 10) + length + thickness - press)
        return loose ? withRlc(loose, f) : null
    }
    var x = finite(f.caseX, -1), y = finite(f.caseY, -1)
    if (x < 0 || y < 0)
        return null
    var pockets = []
    var pickZ
    var refills = false
    var tape = null
    var i
    if (type === 3) {
        var bank = env.bandBanks[finite(f.bankNumber, 0)]
        var pitch = finite(f.bandStep, 1) <= 0 ? 2 : 4 * finite(f.bandStep, 1)
        var alongY = tapeAlongY(letter, bank)
        for (i = -2; i <= 2; ++i)
            pockets.push(alongY ? [x, y + i * pitch] : [x + i * pitch, y])
        pickZ = finite(bank ? bank.zShift : 0, 0) + length + thickness - press
        refills = true
        var size = tapeSize(f.bandWidth)
        tape = { "pick": [x, y], "alongY": alongY, "holeOffset": size.holeOffset, "holeSide": holeSide(letter),
                 "width": size.width }
    } else if (type === 1) {
        var rowsX = Math.max(1, Math.floor(finite(f.caseRowsX, 1)))
        var rowsY = Math.max(1, Math.floor(finite(f.caseRowsY, 1)))
        var pitchX = rowsX > 1 ? (finite(f.cutX2, x) - x) / (rowsX - 1) : 0
        var pitchY = rowsY > 1 ? (finite(f.cutY2, y) - y) / (rowsY - 1) : 0
        for (i = 0; i < rowsX * rowsY && i < maxPockets; ++i)
            pockets.push([x + (i % rowsX) * pitchX, y + Math.floor(i / rowsX) * pitchY])
        pickZ = finite(f.caseZ, 10) + length + thickness - press
    } else {
        var endX = finite(f.cutX2, x), endY = finite(f.cutY2, y)
        var distance = finite(f.cutDistance, 4)
        var span = Math.sqrt((endX - x) * (endX - x) + (endY - y) * (endY - y))
        var count = distance > 0 ? Math.round(span / distance) + 1 : 1
        count = Math.min(count, maxPockets)
        for (i = 0; i < count; ++i)
            pockets.push(count > 1 ? [x + (endX - x) * i / (count - 1), y + (endY - y) * i / (count - 1)] : [x, y])
        pickZ = finite(f.caseZ, 10) + length + thickness - press
    }
    var parts = { "bank": letter, "index": index, "refills": refills, "pockets": pockets, "pickZ": pickZ,
                  "width": finite(f.elWidth, 1), "height": finite(f.elHeight, 1), "thickness": thickness,
                  "angle": finite(f.rot, 0), "current": finite(f.caseCurrNumber, 0) }
    if (tape)
        parts.tape = tape
    return withRlc(parts, f)
}

// The world's "feeders" list. input: {banks: [{letter, feeders: [records]}],
// bandBanks, cups} (see feederParts).
function feeders(input) {
    var out = []
    for (var b = 0; b < input.banks.length; ++b) {
        var bank = input.banks[b]
        for (var i = 0; i < bank.feeders.length; ++i) {
            var parts = feederParts(bank.letter, i, bank.feeders[i], input)
            if (parts)
                out.push(parts)
        }
    }
    return out
}

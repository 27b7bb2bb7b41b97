.pragma library
.import "geometry.js" as Geometry
// Component and feeder list import: angles, positions, the feeder fields
// written from a package record and the automatic feeder assignment. Plain
// functions of their arguments, so that tests can call them directly.

var extraRotations = [-90, 0, 90, 180]

// The component of entry i of an import group, placed from its feeder:
// rotation = file angle + group rotation + extra rotation; the design corner
// from the machine coordinates of its centre. area: {x1, y1, x2, y2} of the
// work area. `inside` is false when the corner lies outside the work area.
function placement(x, y, angle, groupRot, extraRot, elWidth, elHeight, area) {
    var d = Geometry.designPoint(x, y, { "workAreaX1": area.x1, "workAreaY2": area.y2 })
    var rX = d.rX - elWidth / 2
    var rY = d.rY - elHeight / 2
    return {
        "rX": rX, "rY": rY,
        "angle": Geometry.minAngle(Number(angle) + Number(groupRot) + Number(extraRot)),
        "inside": rX >= 0 && rY >= 0 && rX <= area.x2 - area.x1 && rY <= area.y2 - area.y1
    }
}

// A reference mark of an import group: its design position.
function refPlacement(x, y, area) {
    return Geometry.designPoint(x, y, { "workAreaX1": area.x1, "workAreaY2": area.y2 })
}

// Rotation of a component in a feeder of a bank (tape strips on the right
// are turned the other way).
function feederRotation(bank, type) {
    switch (bank) {
    case "R": return Number(type) === 5 ? -90 : 180
    case "B": return -90
    case "U": return 90
    default: return 0
    }
}

// Pitch of a tape in mm for a pitch index: 2 for index 0, 4 × index otherwise.
function cutDistanceOf(bandStep) {
    return Number(bandStep) === 0 ? 2 : 4 * Number(bandStep)
}

// Tape widths in mm of the width indices.
var tapeWidths = [8, 12, 16, 24, 32, 44]

// The feeder after a BOM line was imported into it. feeder: the old entry;
// pkg: the package record; line: {partNumber, designators, bandWidth};
// bank: its bank letter; fittedCups: number of cups fitted (vcCount);
// withDesignators: the BOM has a designator column. The pick position of a
// tape moves by half the change of its width (the tape is guided at one edge).
function importedFeeder(feeder, pkg, line, bank, fittedCups, withDesignators) {
    var f = {}
    for (var key in feeder)
        f[key] = feeder[key]
    var type = Number(f.type)
    f.pack = String(pkg.name)
    f.partNumber = String(line.partNumber)
    if (withDesignators)
        f.comment = String(line.designators)
    f.elWidth = Number(pkg.A)
    f.elHeight = Number(pkg.B)
    f.elThickness = Number(pkg.H)
    if (type === 0 || type === 3 || type === 4 || type === 5)
        f.rot = feederRotation(bank, type)
    f.cupNumber = Math.max(0, Math.min(Number(pkg.cupNumber), Number(fittedCups) - 1))
    f.bandStep = Number(pkg.bandStep)
    if (Number(f.cutDistance) !== cutDistanceOf(f.bandStep))
        f.cutDistance = cutDistanceOf(f.bandStep)
    var oldWidth = tapeWidths[Number(f.bandWidth)]
    var newWidth = tapeWidths[Number(line.bandWidth)]
    if (oldWidth !== undefined && newWidth !== undefined && (type === 3 || type === 5)
            && Number(f.caseX) >= 0 && Number(f.caseY) >= 0) {
        var shift = (newWidth - oldWidth) / 2
        // Vertical banks (left, right) take the tape across X, the others across Y.
        if (bank === "L")
            f.caseX = Number(f.caseX) + shift
        else if (bank === "R")
            f.caseX = Number(f.caseX) - shift
        else if (bank === "B")
            f.caseY = Number(f.caseY) + shift
        else
            f.caseY = Number(f.caseY) - shift
    }
    if (Number(line.bandWidth) >= 0 && Number(line.bandWidth) < tapeWidths.length)
        f.bandWidth = Number(line.bandWidth)
    var copied = ["dontThrow", "maxAcc", "indivPress", "indivPressEnabled", "slowPick", "slowPlace",
                  "placeDelay", "release2Comps", "vsCheck", "centerType", "centerInPlace", "cameraIndiv"]
    for (var i = 0; i < copied.length; ++i)
        f[copied[i]] = pkg[copied[i]]
    if (type === 1 || type === 2 || type === 4 || type === 5)
        f.slowPick = true
    if (pkg.cameraIndiv) {
        var camera = ["cameraROIPercent", "cameraT1", "cameraT2", "cameraCheckSize", "forbidAngle"]
        for (i = 0; i < camera.length; ++i)
            f[camera[i]] = pkg[camera[i]]
    }
    f.centeringZ = centeringZ(pkg, Number(f.centerType), f.centeringZ)
    f.bandSemiStep = 0
    f.release2CompsDone = false
    return f
}

// Height for centring the component on the nozzle: above the component
// camera by the body height, more for pin and corner centring, which look
// at the leads. current: the feeder's value, kept when no height is known.
function centeringZ(pkg, centerType, current) {
    var h = Number(pkg.H)
    if (!(h > 0))
        return current
    var extra = centerType === 2 || centerType === 3 ? 0.5 : 0
    return Math.round((h + extra) * 100) / 100
}

// Banks of the automatic assignment settings, by index.
var autoAssignBanks = ["B", "U", "R", "L"]

// Feeder assignment of BOM lines. lines: [{pack, partNumber, bandWidth,
// known}]; banks: {B: [{pack, partNumber, used}], ...} where `used` tells
// that components of the project take parts from it; ranges:
// {w8: {bank, first, last}, w12_16: {bank, first, last}} (bank as an index of
// autoAssignBanks, feeders 0-based and inclusive). Tapes of 8 mm go to the
// first range, 12 and 16 mm to the second. In its range a line takes a
// feeder that already holds its package and part number, else the first
// empty one, else the first one no component uses; lines that find none stay
// unassigned. Returns [{model, index}] per line (model "" when unassigned).
function autoAssign(lines, banks, ranges) {
    var taken = {}
    var result = []
    function key(bank, i) { return bank + i }
    function search(range, test) {
        var bank = autoAssignBanks[Number(range.bank)]
        var feeders = banks[bank] || []
        var last = Math.min(Number(range.last), feeders.length - 1)
        for (var i = Math.max(0, Number(range.first)); i <= last; ++i) {
            if (!taken[key(bank, i)] && test(feeders[i]))
                return { "model": bank, "index": i }
        }
        return null
    }
    // Feeders already holding a line's parts go first, so that an empty
    // feeder is not given away to a line that has its own.
    var pass1 = []
    for (var n = 0; n < lines.length; ++n) {
        var l = lines[n]
        var range = !l.known ? null : Number(l.bandWidth) === 0 ? ranges.w8
                  : (Number(l.bandWidth) === 1 || Number(l.bandWidth) === 2) ? ranges.w12_16 : null
        pass1.push(range)
        var same = range ? search(range, function(f) {
            return String(f.pack).toLowerCase() === String(l.pack).toLowerCase()
                && String(f.partNumber).toLowerCase() === String(l.partNumber).toLowerCase() }) : null
        if (same)
            taken[key(same.model, same.index)] = true
        result.push(same)
    }
    for (n = 0; n < lines.length; ++n) {
        if (result[n] || !pass1[n])
            continue
        var found = search(pass1[n], function(f) { return String(f.pack) === "" })
                 || search(pass1[n], function(f) { return !f.used })
        if (found)
            taken[key(found.model, found.index)] = true
        result[n] = found
    }
    for (n = 0; n < result.length; ++n) {
        if (!result[n])
            result[n] = { "model": "", "index": -1 }
    }
    return result
}

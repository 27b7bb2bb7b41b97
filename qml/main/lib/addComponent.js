.pragma library
.import "importing.js" as Importing
.import "boardView.js" as BoardView
.import "geometry.js" as Geometry

// The add-component window's rules: which banks it offers, how it reads the
// operator's numbers, and the checks and the design position of the
// component it creates at a machine point. Plain functions of their
// arguments, so that tests call them directly.

// Banks in the order the window lists them.
var BANK_ORDER = ["B", "U", "R", "L"]

// Feeder types 6 and 7 are dispensers: they make solder dots, not components.
var LAST_COMPONENT_FEEDER_TYPE = 5

// The banks the window offers: the enabled ones that hold feeders, in the
// order B, U, R, L. banks: { "B": { enabled, count }, ... }. Returns
// [{ model, count }].
function bankChoices(banks) {
    var out = []
    for (var i = 0; i < BANK_ORDER.length; ++i) {
        var b = banks ? banks[BANK_ORDER[i]] : null
        var count = b ? Math.floor(Number(b.count)) : 0
        if (b && b.enabled === true && count > 0)
            out.push({ "model": BANK_ORDER[i], "count": count })
    }
    return out
}

// A number typed by the operator: a decimal comma counts as a point; NaN
// for anything that is not a whole number text.
function parseNumber(text) {
    if (typeof text === "number")
        return text
    var s = String(text === undefined || text === null ? "" : text).trim().replace(",", ".")
    if (!/^[+-]?(\d+\.?\d*|\.\d+)$/.test(s))
        return NaN
    return Number(s)
}

// The component the window creates, or why it creates none.
//   input:  { model, index, designator, angle, x, y }: the chosen bank letter
//           and feeder index (from 0), the designator, the rotation and the
//           machine point (numbers or the operator's texts)
//   feeder: the chosen feeder's entry ({ type, packageIndex, elWidth,
//           elHeight }), or null
//   env:    the work area (workAreaX1, workAreaX2, workAreaY1, workAreaY2)
//           and `banks` as for bankChoices
// Returns { error: "" , model, index, rX, rY, angle, designator } or
// { error } with error one of "coordinates" (X or Y is not a number),
// "outside" (the point lies outside the work area), "noFeeder" (no feeder
// of an enabled bank chosen), "dispenser", "noPackage" (the feeder has no
// package) and "rotation" (not a number). The design corner is the point
// less half the body, as the list import places a component.
function componentAt(input, feeder, env) {
    var x = parseNumber(input.x), y = parseNumber(input.y)
    if (!isFinite(x) || !isFinite(y))
        return { "error": "coordinates" }
    if (!BoardView.insideWorkArea(x, y, env))
        return { "error": "outside" }
    var model = String(input.model === undefined || input.model === null ? "" : input.model)
    var index = Number(input.index)
    var offered = bankChoices(env.banks).filter(function(b) { return b.model === model })
    if (offered.length === 0 || !(index >= 0 && index < offered[0].count && Math.floor(index) === index) || !feeder)
        return { "error": "noFeeder" }
    if (Number(feeder.type) > LAST_COMPONENT_FEEDER_TYPE)
        return { "error": "dispenser" }
    if (!(Number(feeder.packageIndex) >= 0))
        return { "error": "noPackage" }
    var angle = parseNumber(input.angle)
    if (!isFinite(angle))
        return { "error": "rotation" }
    var area = { "x1": Number(env.workAreaX1), "y1": Number(env.workAreaY1), "x2": Number(env.workAreaX2),
                 "y2": Number(env.workAreaY2) }
    var p = Importing.placement(x, y, 0, 0, 0, Number(feeder.elWidth) || 0, Number(feeder.elHeight) || 0, area)
    return { "error": "", "model": model, "index": index, "rX": p.rX, "rY": p.rY,
             "angle": Geometry.minAngle(angle),
             "designator": String(input.designator === undefined || input.designator === null ? ""
                                                                                            : input.designator).trim() }
}

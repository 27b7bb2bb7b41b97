.pragma library
.import "pickTexts.js" as PT

// Equivalent feeders: feeders loaded with the same part, to which a run
// moves a feeder group whose own feeder keeps failing. Plain functions, no
// port: the component cycle hands in the banks and keeps the switch itself.
//
// A bank is { model: "B" | "U" | "R" | "L", feeders: [feeder record] } for
// each enabled bank; a feeder is named { model, index } (index from 0).

// The order in which the equivalents of a part are listed (and tried): the
// banks as the program sorts them, then the feeders of a bank by number.
var BANK_ORDER = ["B", "U", "R", "L"]
// Feeder kinds whose parts a component can be placed from (G-code, tray,
// loose parts, tape, vibration, tape strip); dispensers never are.
var PICK_KINDS = [0, 1, 2, 3, 4, 5]

function text(v) { return v === undefined || v === null ? "" : String(v).trim() }

// The part number that makes feeders equivalent; "" when the feeder
// declares none (such a feeder has no equivalents: nothing says what it
// holds).
function partOf(feeder) { return feeder ? text(feeder.partNumber) : "" }

function sameFeeder(a, b) {
    return !!a && !!b && String(a.model) === String(b.model) && Number(a.index) === Number(b.index)
}

// Every feeder of the enabled banks that holds `partNumber`, in BANK_ORDER
// and then by number: [{ model, index }]. Banks not listed in BANK_ORDER
// follow in the order given.
function list(banks, partNumber) {
    var part = text(partNumber)
    var out = []
    if (part === "" || !banks)
        return out
    var ordered = banks.slice().sort(function(a, b) {
        var ia = BANK_ORDER.indexOf(String(a.model)), ib = BANK_ORDER.indexOf(String(b.model))
        return (ia < 0 ? BANK_ORDER.length : ia) - (ib < 0 ? BANK_ORDER.length : ib)
    })
    for (var i = 0; i < ordered.length; ++i) {
        var feeders = ordered[i].feeders || []
        for (var k = 0; k < feeders.length; ++k) {
            var f = feeders[k]
            if (f && partOf(f) === part && PICK_KINDS.indexOf(PT.num(f.type)) >= 0)
                out.push({ "model": String(ordered[i].model), "index": k })
        }
    }
    return out
}

// The entry after `current` in `entries`, cyclically; null when the list has
// fewer than two entries or does not hold `current`.
function after(entries, current) {
    if (!entries || entries.length < 2)
        return null
    for (var i = 0; i < entries.length; ++i)
        if (sameFeeder(entries[i], current))
            return entries[(i + 1) % entries.length]
    return null
}

// The feeder a group moves to from `current`: the entry after it, unless
// that is `initial` (the feeder the group began with: every equivalent has
// been tried) or there is none. null means no switch.
function switchTarget(entries, current, initial) {
    var next = after(entries, current)
    if (!next || sameFeeder(next, initial))
        return null
    return next
}

.pragma library
// Feeder records and banks: new feeders, matching components to feeders and
// grouping the components that need another feeder. Plain functions of their
// arguments, so that tests can call them directly.

var banks = ["L", "R", "B", "U"]

// Bank letter of a model name: its first letter; unknown letters mean L.
function bankOf(model) {
    var letter = String(model === undefined || model === null ? "" : model).charAt(0).toUpperCase()
    return banks.indexOf(letter) >= 0 ? letter : "L"
}

// File extension of a bank, with the dot.
function suffixOf(model) {
    switch (bankOf(model)) {
    case "R": return ".rightFeeders"
    case "B": return ".bottomFeeders"
    case "U": return ".upFeeders"
    default: return ".leftFeeders"
    }
}

// Band bank position of a feeder bank: B 0, U 1, R 2, L 3.
function bandBankPosition(model) {
    return { "B": 0, "U": 1, "R": 2, "L": 3 }[bankOf(model)]
}

// One-letter names of the feeder types.
var typeLetters = ["G", "П", "Р", "Л", "В", "О", "Д", "Д"]
function typeLetter(type) {
    return type >= 0 && type < typeLetters.length ? typeLetters[type] : "?"
}

// The band bank (0..3) a new feeder of a bank belongs to: the first enabled
// or not, whose position matches; `fallback` when none does.
function bankNumberFor(model, bandBanks, fallback) {
    var position = bandBankPosition(model)
    for (var i = 0; i < bandBanks.length && i < 4; ++i) {
        if (bandBanks[i] && Number(bandBanks[i].position) === position)
            return i
    }
    return fallback
}

// A new, empty feeder (packageSettings stays null until a package is set;
// the model keeps its position in the package list as packageIndex). env: centeringZ (highest Z of the work area),
// cameraT1, cameraT2, cameraCheckSize (global component-camera settings),
// camera1Exposure (global head-camera exposure), bankNumber.
function newFeeder(env) {
    return {
        "cupNumber": 0, "partNumber": "", "comment": "", "bandWidth": 0, "type": 3, "gCode": "",
        "pack": "", "rot": 0, "maxAcc": 100,
        "customPlaceGCodeEnabled": false, "customPlaceGCode": "",
        "caseX": -1, "caseY": -1, "caseZ": 10, "cutX2": -1, "cutY2": -1, "cutDistance": 4,
        "caseRowsX": 1, "caseRowsY": 1, "caseCurrNumber": 0, "caseStopEnabled": true,
        "centering": 1, "shiftEnabled": false, "centeringZ": env.centeringZ, "centeringCount": 5,
        "centerInPlace": false, "centerType": 0, "checkPinDistance": false, "pinDistanceMaxDev": 15,
        "cameraIndiv": false, "cameraROIPercent": 100, "cameraT1": env.cameraT1, "cameraT2": env.cameraT2,
        "cameraCheckSize": env.cameraCheckSize, "forbidAngle": false,
        "camera2Photo": "", "camera2MatchPercent": 90,
        "dontThrow": false, "forceProgramStopOnFeederError": false, "unqueued": false, "releaseEl": false,
        "setCount": 0, "basketCount": 0, "inTape": 2000, "inTapeStop": 40, "inTapeNow": 2000, "tapeEnabled": false,
        "elPhoto": "", "placerX": "", "placerY": "", "templMatch": 0, "camera1Roi": 60, "camera1T1": 150,
        "camera1T2": 30, "camera1Inv": false, "placerLessPhotos": true, "placerType": 0, "placerTemplateType": 1,
        "placerTemplateHighRes": 0, "camera1Exposure": env.camera1Exposure, "debugCounter": 0,
        "elFlippedEnabled": false, "elFlippedPhoto": "", "elFlippedMatchPercent": 80, "elFlippedGCode": "",
        "elFlippedRemoveGCode": "", "elFlippedAction": 0, "bankNumber": env.bankNumber, "bandStep": 1,
        "dotSize": 0.5, "slowPick": false, "slowPlace": false, "placeDelay": 0, "indivPressEnabled": false,
        "indivPress": 1, "pickRetryCount": 1, "rlcEnabled": false, "rlcPercent1": 10, "rlcPercent2": 10,
        "rlcRotation": 90, "rlcValue": 1, "rlcType": 0, "rlcUnit": 0, "programmerEnabled": false,
        "vsCheck": true, "release2Comps": false, "release2CompsDone": false, "bandSemiStep": 0,
        "placerManualStep": false, "placerManualStepX": 5, "placerManualStepY": 5, "dropType": 0,
        "elWidth": 1, "elHeight": 1, "elThickness": 1, "packageIndex": -1
    }
}

// A feeder after a bank reset: new, keeping its type and tape width; tape and
// vibration feeders keep their pick position.
function resetFeeder(old, env, lowestCenteringZ) {
    var f = newFeeder(env)
    f.type = old.type
    f.bandWidth = old.bandWidth
    f.centeringZ = lowestCenteringZ
    f.slowPick = Number(old.type) !== 3
    if (Number(old.type) === 3 || Number(old.type) === 4) {
        f.caseX = old.caseX
        f.caseY = old.caseY
    }
    return f
}

// True when the component can be taken from the feeder: a feeder is set, the
// package and part number agree, it places components (types 0..5) and its
// bank is enabled.
function matches(element, feeder, bankEnabled) {
    if (!element || !feeder || Number(element.index) === -1)
        return false
    return String(element.pack) === String(feeder.pack) && String(element.partNumber) === String(feeder.partNumber)
        && Number(feeder.type) <= 5 && bankEnabled === true
}

// The components that need a feeder, grouped by (package, part number, bank,
// feeder number). elements: objects with pack, partNumber, model, index,
// designator; feederOf(model, index) → feeder entry or null;
// feeders: every feeder of the enabled banks as {model, index, feeder}.
// With onStart only components whose feeder is missing or differs are taken.
// Each group lists its designators ("N/A" for an empty one), its count and the
// feeders that could replace its own (same package and part number).
function groupCandidates(elements, onStart, feederOf, feeders) {
    var groups = []
    var byKey = {}
    for (var i = 0; i < elements.length; ++i) {
        var el = elements[i]
        if (!el || el.deleted)
            continue
        if (onStart) {
            var own = Number(el.index) === -1 ? null : feederOf(el.model, el.index)
            if (own && String(own.pack) === String(el.pack) && String(own.partNumber) === String(el.partNumber))
                continue
        }
        var key = [el.pack, el.partNumber, el.model, el.index].join("\u0001")
        var g = byKey[key]
        if (!g) {
            g = { "pack": String(el.pack), "partNumber": String(el.partNumber), "model": String(el.model),
                  "index": Number(el.index), "designators": [], "count": 0, "elements": [], "replacements": [] }
            for (var f = 0; f < feeders.length; ++f) {
                var c = feeders[f]
                if (Number(c.feeder.type) > 5)
                    continue
                if (c.model === g.model && Number(c.index) === g.index)
                    continue
                if (String(c.feeder.pack) === g.pack && String(c.feeder.partNumber) === g.partNumber)
                    g.replacements.push({ "model": c.model, "index": Number(c.index) })
            }
            byKey[key] = g
            groups.push(g)
        }
        g.designators.push(String(el.designator) === "" ? "N/A" : String(el.designator))
        g.count++
        g.elements.push(el)
    }
    for (var k = 0; k < groups.length; ++k)
        groups[k].designatorText = groups[k].designators.join("; ")
    return groups
}

.pragma library
// What a run changes in the feeders: checked writes of stored feeder fields
// (the values then go to the bank's file) and the run-only state of each
// feeder (never stored). Plain functions of their arguments, so that tests
// call them directly.

var bankLetters = ["L", "R", "B", "U"]

// Bank letter of a model name ("B", "bottom", "bottomFeedersModel", ...):
// its first letter; "" when that names no bank.
function strictBankOf(model) {
    if (model === undefined || model === null)
        return ""
    var letter = String(model).charAt(0).toUpperCase()
    return bankLetters.indexOf(letter) >= 0 ? letter : ""
}

function shown(value) {
    if (value === undefined)
        return "undefined"
    if (value === null)
        return "null"
    if (typeof value === "string")
        return "\"" + value + "\""
    return String(value)
}

// Checks `value` for the stored field `name`; types maps every stored field
// to "int", "real", "bool", "string" or "image". Returns {ok, value} with the
// value in the field's type, or {ok: false, error} with an operator text
// (after the feeder's name) when the field is unknown or the value does not
// fit. Integers and reals must be finite numbers (a text holding one is
// taken); bool takes true/false and 1/0; texts and pictures take text.
function checkValue(name, value, types) {
    var type = types ? types[name] : undefined
    if (type === undefined)
        return { "ok": false, "error": qsTr("поле «%1» не хранится в файле питателей, значение не записано").arg(name) }
    if (type === "int" || type === "real") {
        var n = NaN
        if (typeof value === "number")
            n = value
        else if (typeof value === "string" && value.trim() !== "")
            n = Number(value)
        if (!isFinite(n))
            return { "ok": false, "error": qsTr("значение %1 поля «%2» не является конечным числом, значение не записано")
                                           .arg(shown(value)).arg(name) }
        if (type === "int" && Math.round(n) !== n)
            return { "ok": false, "error": qsTr("значение %1 поля «%2» не является целым числом, значение не записано")
                                           .arg(shown(value)).arg(name) }
        return { "ok": true, "value": n }
    }
    if (type === "bool") {
        if (value === true || value === 1)
            return { "ok": true, "value": true }
        if (value === false || value === 0)
            return { "ok": true, "value": false }
        return { "ok": false, "error": qsTr("значение %1 поля «%2» не является логическим (да/нет), значение не записано")
                                       .arg(shown(value)).arg(name) }
    }
    if (typeof value === "string" || typeof value === "number" || typeof value === "boolean")
        return { "ok": true, "value": String(value) }
    return { "ok": false, "error": qsTr("значение %1 поля «%2» не является текстом, значение не записано")
                                   .arg(shown(value)).arg(name) }
}

// The run-only state of one feeder, as a run starts.
function newRunState() {
    return {
        "centeringCurrCount": 0,
        "centeringX": 0, "centeringY": 0, "centeringA": 0,
        "centeringResults": [],
        "debugArray": [],
        "noShiftOnStartDone": false,
        "lastGetX": -1000, "lastGetY": -1000,
        "finished": false,
        "error": ""
    }
}

// The table of run-only states: get(model, index) hands out the same object
// for a feeder until clear(); nothing of it belongs to the feeder records.
function createRunStates() {
    var table = {}
    return {
        "get": function(model, index) {
            var bank = strictBankOf(model) || "L"
            var n = Math.round(Number(index))
            var key = bank + (isFinite(n) ? n : -1)
            if (!table.hasOwnProperty(key))
                table[key] = newRunState()
            return table[key]
        },
        "clear": function() { table = {} },
        "count": function() { return Object.keys(table).length },
        // Every feeder's debug ring starts empty (the debug mode was
        // switched on).
        "emptyDebugRings": function() {
            for (var key in table)
                table[key].debugArray = []
        }
    }
}

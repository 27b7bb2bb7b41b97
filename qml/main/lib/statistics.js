.pragma library
// Day statistics records: plain functions of their arguments.

function sameDay(a, b) {
    if (!a || !b)
        return false
    var x = new Date(a)
    var y = new Date(b)
    return x.getFullYear() === y.getFullYear() && x.getMonth() === y.getMonth() && x.getDate() === y.getDate()
}

// Boards per hour with one decimal, components per hour without; empty while
// there is no mounting time.
function pcbPerHour(pcbCount, mountTime) {
    return Number(mountTime) < 1 ? "" : (Number(pcbCount) / Number(mountTime) * 3600).toFixed(1)
}
function elementsPerHour(elementCount, mountTime) {
    return Number(mountTime) < 1 ? "" : (Number(elementCount) / Number(mountTime) * 3600).toFixed(0)
}

// A record of a day with all counts 0 (the date at midnight).
function newDay(day) {
    var d = new Date(day)
    return { "date": new Date(d.getFullYear(), d.getMonth(), d.getDate()), "pcbCount": 0, "elementCount": 0,
             "solderPointCount": 0, "basketCount": 0, "mountTime": 0, "pcbPerHour": "", "elementsPerHour": "" }
}

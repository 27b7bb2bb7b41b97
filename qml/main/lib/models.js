.pragma library
// List model entries as plain script objects: plain functions of their
// arguments, so that tests can call them directly.

// A plain copy of entry n of a list model (no live model object), or null
// when there is no such entry.
function copyEntry(model, n) {
    if (n < 0 || n >= model.count)
        return null
    var entry = model.get(n)
    var copy = {}
    for (var key in entry)
        if (typeof entry[key] !== "function" && key !== "objectName")
            copy[key] = entry[key]
    return copy
}

// Plain copies of every entry of a list model, in order.
function copyAll(model) {
    var all = []
    for (var i = 0; i < model.count; ++i)
        all.push(copyEntry(model, i))
    return all
}

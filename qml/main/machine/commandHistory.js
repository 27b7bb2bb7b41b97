.pragma library
// The history of the typed commands of the direct control window.
// A history is { entries: [oldest, ..., newest], index } where index is the
// entry last recalled, -1 before the first recall. Every function returns a
// new history and leaves its argument alone.

function create() {
    return { "entries": [], "index": -1 }
}

// The history after sending `text`: it is appended unless it equals the
// newest entry; recalling starts again from the newest.
function add(history, text) {
    var entries = history.entries.slice()
    text = String(text)
    if (text !== "" && (entries.length === 0 || entries[entries.length - 1] !== text))
        entries.push(text)
    return { "entries": entries, "index": -1 }
}

// Up (older) or Down (newer): { history, text } where text is the recalled
// entry, or null when the field stays as it is (auto-repeat, nothing to
// recall, Down before any Up).
function recall(history, older, autoRepeat) {
    var n = history.entries.length
    if (autoRepeat || n === 0)
        return { "history": history, "text": null }
    var index = history.index
    if (older)
        index = index < 0 ? n - 1 : Math.max(0, index - 1)
    else if (index < 0)
        return { "history": history, "text": null }
    else
        index = Math.min(n - 1, index + 1)
    return { "history": { "entries": history.entries.slice(), "index": index }, "text": history.entries[index] }
}

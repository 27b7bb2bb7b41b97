.pragma library
// Project files and the banks they were made with: plain functions of their
// arguments, so that tests can call them directly.

// Minutes between autosaves for the setting projectAutosaveInterval; 0 = none.
function autosaveMinutes(setting) {
    switch (Number(setting)) {
    case 1: return 1
    case 2: return 3
    case 3: return 10
    case 4: return 30
    default: return 0
    }
}

// A project file name always ends in ".project".
function withProjectSuffix(url) {
    var s = String(url)
    return s === "" || /\.project$/.test(s) ? s : s + ".project"
}

// A feeder file name ends in its bank's extension (suffix with the dot).
function withSuffix(url, suffix) {
    var s = String(url)
    return s === "" || s.slice(-suffix.length) === suffix ? s : s + suffix
}

// The banks whose files a project was saved with and that differ from the
// files open now. stored: {B, L, U, R} URLs (empty when unknown or missing);
// current: {B: {enabled, file}, ...}. Returns [{bank, file}] in the order
// B, L, U, R; only enabled banks are compared.
function differingBanks(stored, current) {
    var result = []
    var order = ["B", "L", "U", "R"]
    for (var i = 0; i < order.length; ++i) {
        var b = order[i]
        var file = String(stored[b] === undefined || stored[b] === null ? "" : stored[b])
        if (file === "" || !current[b] || !current[b].enabled)
            continue
        if (file !== String(current[b].file))
            result.push({ "bank": b, "file": file })
    }
    return result
}

// The folder of a "file://" URL, without the trailing "/".
function folderOf(url) {
    var s = String(url)
    return s.substring(0, s.lastIndexOf("/"))
}

var bankFileNames = { "B": "Нижний", "L": "Левый", "U": "Верхний", "R": "Правый" }

// The feeder file proposed for a bank of a new project: in the project's
// folder, "НижнийБанк.bottomFeeders" and so on.
function proposedBankFile(projectUrl, bank, suffix) {
    return folderOf(projectUrl) + "/" + bankFileNames[bank] + "Банк" + suffix
}

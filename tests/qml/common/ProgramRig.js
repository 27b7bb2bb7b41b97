// What the whole-program tests read from and set on the program: its main
// window "root" through the runner's "probe". Not a .pragma library: the
// functions run in the context of the test that imports them.

// The message of the last log line, "" while the log is empty.
function lastLog() {
    var log = root.logModel
    return log.count > 0 ? String(probe.entry(log, log.count - 1).message) : ""
}

// The log messages from line `from` on.
function logMessages(from) {
    var out = []
    for (var i = from; i < root.logModel.count; ++i)
        out.push(String(probe.entry(root.logModel, i).message))
    return out
}

// The messages of the error list.
function errorList() {
    var out = []
    for (var i = 0; i < root.errorListModel.count; ++i)
        out.push(probe.entry(root.errorListModel, i).message)
    return out
}

// The row of the package base of that name, -1 for none.
function packageIndex(name) {
    for (var i = 0; i < root.packageList.count; ++i)
        if (probe.entry(root.packageList, i).name === name)
            return i
    return -1
}

// A package base of pictures in folder `base` ({ file name: [width, height] })
// read by the program.
function loadPackages(base, pictures) {
    for (var name in pictures)
        if (!probe.makePicture(base + "/" + name, pictures[name][0], pictures[name][1]))
            return false
    probe.setIniValue(settingsFile, "packageBasePath", base)
    root.loadPackageList()
    return true
}

// The machine on, homed and calibrated, as after homeWait.
function calibrate() {
    root.machineOnGet(true)
    root.jointHomedGet(true, true, true, true, true)
    probe.setValue(root.machineState, "machineHomed2", true)
}

// The "complete" text of every row of a job model.
function completes(jobModel) {
    var out = []
    for (var i = 0; i < jobModel.rowCount; ++i)
        out.push(jobModel.getComplete(i))
    return out
}

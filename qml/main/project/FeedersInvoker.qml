import QtQuick 2.15
import "../lib/feeders.js" as Feeders
import "../lib/models.js" as Models

// The four feeder bank models, as the back end and the windows reach them.
Item {
    id: invoker
    objectName: "feedersInvoker"
    property var app

    // Emitted after a bank was read, for the feeder views.
    signal layoutForced()

    function modelOf(model) {
        switch (Feeders.bankOf(model)) {
        case "R": return app.rightFeedersModel
        case "B": return app.bottomFeedersModel
        case "U": return app.upFeedersModel
        default: return app.leftFeedersModel
        }
    }

    function countProperty(model) {
        return "feederCount" + Feeders.bankOf(model)
    }

    // A plain copy of a feeder entry with its package record (none when the
    // package is not in the base).
    function plainEntry(m, n) {
        if (n < 0 || n >= m.count)
            return null
        var entry = m.get(n)
        var copy = {}
        var props = app.feederProps
        for (var i = 0; i < props.length; ++i)
            copy[props[i]] = entry[props[i]]
        copy.elWidth = entry.elWidth
        copy.elHeight = entry.elHeight
        copy.elThickness = entry.elThickness
        copy.packageIndex = entry.packageIndex
        copy.packageSettings = entry.packageIndex >= 0 ? Models.copyEntry(app.packageList, entry.packageIndex) : null
        return copy
    }

    function getAllOf(model) {
        var m = modelOf(model)
        var all = []
        for (var i = 0; i < m.count; ++i)
            all.push(plainEntry(m, i))
        return all
    }
    function getL() { return getAllOf("L") }
    function getR() { return getAllOf("R") }
    function getB() { return getAllOf("B") }
    function getU() { return getAllOf("U") }

    function getFeeder(model, number) {
        return plainEntry(modelOf(model), Number(number))
    }

    // One field of a feeder entry; undefined when there is no such feeder.
    function getFeederValue(model, number, name) {
        var m = modelOf(model)
        var n = Number(number)
        if (!(n >= 0 && n < m.count))
            return undefined
        return m.get(n)[String(name)]
    }

    // The components that take their parts from a feeder.
    function feederElements(model, number) {
        var bank = Feeders.bankOf(model)
        var list = app.elementList
        var found = []
        for (var i = 0; i < list.length; ++i) {
            if (!list[i].deleted && Feeders.bankOf(list[i].model) === bank && list[i].index === Number(number))
                found.push(list[i])
        }
        return found
    }
    function getFeederElementCount(model, number) {
        return feederElements(model, number).length
    }
    function getFeederElementRefDes(model, number) {
        return feederElements(model, number).map(function(e) { return e.designator }).join(",")
    }

    function newFeederEnv(model) {
        var bandBanks = []
        for (var i = 0; i < app.bandBankModel.count; ++i)
            bandBanks.push({ "position": app.bandBankModel.get(i).position })
        return { "centeringZ": Math.max(app.workAreaZ1, app.workAreaZ2),
                 "cameraT1": app.camera2Treshold1, "cameraT2": app.camera2Treshold2,
                 "cameraCheckSize": app.camera2CheckSize, "camera1Exposure": app.camera1Exposure,
                 "bankNumber": Feeders.bankNumberFor(model, bandBanks, 0) }
    }

    // Grows the bank with new feeders or cuts it to the bank's feeder count.
    function changeCount(model) {
        var m = modelOf(model)
        var wanted = Math.max(0, Math.round(Number(app[countProperty(model)])))
        if (m.count > wanted)
            m.remove(wanted, m.count - wanted)
        var env = newFeederEnv(model)
        while (m.count < wanted)
            m.append(Feeders.newFeeder(env))
        app.feedersChanged()
    }

    function changeAll() {
        var banks = ["L", "R", "B", "U"]
        for (var i = 0; i < banks.length; ++i)
            changeCount(banks[i])
    }

    // Replaces one entry by `data`, with the package record at position
    // indexInBase of the package list (none for -1).
    function changeOne(model, number, indexInBase, data) {
        var m = modelOf(model)
        var n = Number(number)
        if (n < 0 || n >= m.count)
            return false
        var entry = {}
        for (var key in data) {
            // The package record is not kept in the model, only its position.
            if (key !== "packageSettings")
                entry[key] = data[key]
        }
        var i = Number(indexInBase)
        var pack = i >= 0 && i < app.packageList.count ? app.packageList.get(i) : null
        entry.packageIndex = pack ? i : -1
        entry.elWidth = pack ? Number(pack.A) : 1
        entry.elHeight = pack ? Number(pack.B) : 1
        entry.elThickness = pack ? Number(pack.H) : 1
        m.set(n, entry)
        return true
    }

    function forceLayout() {
        layoutForced()
        app.feedersChanged()
    }
}

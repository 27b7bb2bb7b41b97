import QtQuick 2.15

// The lists the import windows show, as the back end fills them while it
// reads a placement list or a bill of materials: one row per component group
// or feeder line, with the package, feeder and picture found for it.
QtObject {
    id: lists
    property var app

    // A group of the placement-list import: the list shows the group; the
    // coordinates, angles and designators of its components are kept beside
    // it in the main window's importElementData (same position).
    function addImportElement(elPack, elPartNumber, designators, count, x, y, angle, designator, model, index1, comment) {
        var pack = String(elPack)
        var isRef = pack === String(app.importRefPointType)
        var feeder = !isRef && String(model) !== "" && Number(index1) >= 0 ? app.getFeeder(model, index1) : null
        var pkgIndex = packageIndexOf(pack)
        var image = ""
        if (feeder && feeder.packageSettings)
            image = String(feeder.packageSettings.path)
        else if (pkgIndex >= 0)
            image = String(app.packageList.get(pkgIndex).path)
        var bandWidth = feeder ? Number(feeder.bandWidth) : pkgIndex >= 0 ? Number(app.packageList.get(pkgIndex).bandWidth) : 6
        app.importElementModel.append({
            "elPack": pack, "partNumber": String(elPartNumber), "designators": String(designators),
            "count": Number(count), "model1": isRef ? "Ref" : String(model), "index1": isRef ? 0 : Number(index1),
            "comment": String(comment), "image": isRef ? "" : image, "bandWidth": bandWidth,
            "feeder": isRef ? app.t + qsTr("Реперный знак")
                            : feeder ? app.feederBanks.sideName(model) + " №" + (Number(index1) + 1) : "",
            "removeBtn": false, "rot": 0 })
        var data = app.importElementData
        data.push({ "x": x, "y": y, "angle": angle, "designator": designator })
        app.importElementData = data
    }

    // A line of the feeder-list import; lines with count 0 are dropped when
    // asked to and a count column is used.
    function addImportFeeder(feederPack, feederPartNumber, designators, count) {
        if (Number(count) === 0 && app.feederDontImportEmpty && app.feederElCountInBomCol < 10)
            return false
        var pkgIndex = packageIndexOf(String(feederPack))
        var pkg = pkgIndex >= 0 ? app.packageList.get(pkgIndex) : null
        app.importFeederModel.append({
            "feederPack": pkg ? String(pkg.name) : String(feederPack), "color": pkg ? "white" : "red",
            "bandWidth": pkg ? Number(pkg.bandWidth) : 6, "partNumber": String(feederPartNumber),
            "designators": String(designators), "count": Number(count), "model1": "", "index1": -1,
            "feeder": "", "removeBtn": false, "image": pkg ? String(pkg.path) : "" })
        return true
    }

    // Position of a package in the package list by name, exactly or else
    // without regard to case; -1 when unknown.
    function packageIndexOf(name) {
        var lower = String(name).toLowerCase()
        var found = -1
        for (var i = 0; i < app.packageList.count; ++i) {
            var n = String(app.packageList.get(i).name)
            if (n === String(name))
                return i
            if (found < 0 && n.toLowerCase() === lower)
                found = i
        }
        return found
    }
}

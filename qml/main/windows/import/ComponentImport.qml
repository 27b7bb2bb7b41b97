import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import "../../lib/importing.js" as Importing
import "../../lib/feeders.js" as Feeders
import "../../lib/models.js" as Models

// Reading a placement list into groups and creating the components: the
// part shared by the two import windows. With assignFeeders the operator
// picks a feeder per group, which is loaded with the group's package and part
// number on import; otherwise groups keep the feeder found for them.
ColumnLayout {
    id: panel
    property var app
    property bool assignFeeders: false
    property string fileUrl: ""
    // Emitted when the import created something (the window closes).
    signal imported()

    readonly property var separators: ["Пробел/Таб", ",", ";", "|"]
    readonly property var columnNames: {
        var names = []
        for (var i = 1; i <= 15; ++i)
            names.push("№" + i)
        return names
    }

    function separatorText() { return separators[Math.max(0, Math.min(3, app.importSeparatorType))] }

    // Reads the chosen file into the group list.
    function read(url) {
        if (url !== undefined)
            fileUrl = String(url)
        if (fileUrl === "")
            return
        app.importElementModel.clear()
        app.importElementData = []
        app.openFileImport(fileUrl, separatorText(), app.importElPackCol, app.importElPartNumberCol,
                           app.importElDesigCol, app.importElXCol, app.importElYCol, app.importElACol)
        if (app.importSortType === 1)
            sortByPackage()
    }

    function sortByPackage() {
        var m = app.importElementModel
        for (var i = 1; i < m.count; ++i) {
            var j = i
            while (j > 0 && String(m.get(j - 1).elPack).toLowerCase() > String(m.get(j).elPack).toLowerCase()) {
                m.move(j, j - 1, 1)
                var d = app.importElementData
                var t = d[j]; d[j] = d[j - 1]; d[j - 1] = t
                --j
            }
        }
    }

    function removeGroup(i) {
        app.importElementModel.remove(i)
        app.importElementData.splice(i, 1)
    }

    // Sets the feeder of a group (for assignFeeders).
    function setGroupFeeder(i, model, index) {
        var m = app.importElementModel
        m.setProperty(i, "model1", model)
        m.setProperty(i, "index1", Number(index))
        m.setProperty(i, "feeder", model === "" ? "" : app.feederBanks.sideName(model) + " №" + (Number(index) + 1))
    }

    function workArea() {
        return { "x1": app.workAreaX1, "y1": app.workAreaY1, "x2": app.workAreaX2, "y2": app.workAreaY2 }
    }

    // Loads the assigned feeders with the groups' packages (assignFeeders).
    function loadFeeders() {
        var m = app.importElementModel
        for (var i = 0; i < m.count; ++i) {
            var g = m.get(i)
            if (g.model1 === "Ref" || g.model1 === "" || Number(g.index1) < 0)
                continue
            var pkgIndex = app.packageIndexOf(g.elPack)
            var feeder = app.getFeeder(g.model1, g.index1)
            if (pkgIndex < 0 || !feeder)
                continue
            var pkg = Models.copyEntry(app.packageList, pkgIndex)
            var f = Importing.importedFeeder(feeder, pkg, { "partNumber": g.partNumber, "designators": g.designators,
                                                            "bandWidth": pkg.bandWidth },
                                             Feeders.bankOf(g.model1), app.vcCount, false)
            app.feedersInvoker.changeOne(g.model1, g.index1, pkgIndex, f)
        }
        app.projectActions.updateAllFeederMatches()
    }

    // Creates the components and reference marks of the groups that have a
    // feeder. Returns the number created.
    function createAll() {
        if (assignFeeders)
            loadFeeders()
        var m = app.importElementModel
        var area = workArea()
        var extra = Importing.extraRotations[Math.max(0, Math.min(3, app.importAddRot))]
        var created = 0
        for (var i = 0; i < m.count; ++i) {
            var g = m.get(i)
            var data = app.importElementData[i]
            if (g.model1 === "" || Number(g.index1) < 0)
                continue
            for (var k = 0; k < data.x.length; ++k) {
                if (g.model1 === "Ref") {
                    var r = Importing.refPlacement(data.x[k], data.y[k], area)
                    if (app.area.setRefPoint(r.rX, r.rY, 0))
                        ++created
                    continue
                }
                var feeder = app.getFeeder(g.model1, g.index1)
                var w = feeder ? Number(feeder.elWidth) : 1
                var h = feeder ? Number(feeder.elHeight) : 1
                var p = Importing.placement(data.x[k], data.y[k], data.angle[k], g.rot, extra, w, h, area)
                if (!p.inside) {
                    app.errorAdd(app.t + qsTr("Ошибка импорта. Координаты X") + p.rX.toFixed(2) + app.t + qsTr(" и ")
                                 + p.rY.toFixed(2) + app.t + qsTr(" выходят за границы. refDes: ") + data.designator[k])
                    continue
                }
                if (app.area.createElementFromFeeder(g.model1, g.index1, p.rX, p.rY, p.angle, 0, data.designator[k], -1, -1))
                    ++created
            }
        }
        if (created > 0) {
            app.errorMessage(app.t + qsTr("Импорт завершен. Количество импортированных компонентов (и реперных знаков): ")
                             + created, true, "notice")
            imported()
        } else {
            app.errorMessage(app.t + qsTr("Компоненты не были импортированы."), true, "notice")
        }
        return created
    }

    FileDialog {
        id: fileDialog
        title: app.t + qsTr("Файл списка компонентов")
        nameFilters: [app.t + qsTr("Списки компонентов (*.pos *.csv *.txt *.mnt *.mnb)"), app.t + qsTr("Все файлы (*)")]
        onAccepted: panel.read(fileUrl)
    }

    GridLayout {
        columns: 4
        Button { text: app.t + qsTr("Открыть файл..."); onClicked: fileDialog.open() }
        Text {
            Layout.columnSpan: 3
            Layout.fillWidth: true
            color: "white"
            elide: Text.ElideMiddle
            text: decodeURIComponent(panel.fileUrl.replace(/^file:\/\//, ""))
        }
        Text { color: "white"; text: app.t + qsTr("Разделитель") }
        ComboBox {
            model: panel.separators
            currentIndex: app.importSeparatorType
            onActivated: app.importSeparatorType = index
        }
        Text { color: "white"; text: app.t + qsTr("Корпус") }
        ComboBox {
            model: panel.columnNames.concat([app.t + qsTr("Не используется")])
            currentIndex: app.importElPackCol
            onActivated: app.importElPackCol = index
        }
        Text { color: "white"; text: app.t + qsTr("Номинал") }
        ComboBox { model: panel.columnNames; currentIndex: app.importElPartNumberCol; onActivated: app.importElPartNumberCol = index }
        Text { color: "white"; text: app.t + qsTr("Обозначение") }
        ComboBox { model: panel.columnNames; currentIndex: app.importElDesigCol; onActivated: app.importElDesigCol = index }
        Text { color: "white"; text: "X" }
        ComboBox { model: panel.columnNames; currentIndex: app.importElXCol; onActivated: app.importElXCol = index }
        Text { color: "white"; text: "Y" }
        ComboBox { model: panel.columnNames; currentIndex: app.importElYCol; onActivated: app.importElYCol = index }
        Text { color: "white"; text: app.t + qsTr("Угол") }
        ComboBox { model: panel.columnNames; currentIndex: app.importElACol; onActivated: app.importElACol = index }
        Text { color: "white"; text: app.t + qsTr("Комментарий") }
        ComboBox {
            model: panel.columnNames.concat([app.t + qsTr("Не используется")])
            currentIndex: Math.min(15, app.importCommentCol)
            onActivated: app.importCommentCol = index
        }
        CheckBox {
            text: app.t + qsTr("Сторона платы")
            checked: app.importSideEnabled
            onClicked: app.importSideEnabled = checked
        }
        ComboBox {
            model: [app.t + qsTr("Верх"), app.t + qsTr("Низ")]
            currentIndex: app.importSide
            onActivated: app.importSide = index
        }
        Text { color: "white"; text: app.t + qsTr("Колонка стороны") }
        ComboBox { model: panel.columnNames; currentIndex: app.importSideCol; onActivated: app.importSideCol = index }
        Text { color: "white"; text: app.t + qsTr("Низ: отразить") }
        ComboBox {
            model: [app.t + qsTr("по X"), app.t + qsTr("по Y")]
            currentIndex: app.importSideInverse
            onActivated: app.importSideInverse = index
        }
        Text { color: "white"; text: app.t + qsTr("Доп. поворот") }
        ComboBox {
            model: ["-90", "0", "90", "180"]
            currentIndex: app.importAddRot
            onActivated: app.importAddRot = index
        }
        Text { color: "white"; text: app.t + qsTr("Сортировка") }
        ComboBox {
            model: [app.t + qsTr("по количеству"), app.t + qsTr("по корпусу")]
            currentIndex: app.importSortType
            onActivated: app.importSortType = index
        }
        Button { text: app.t + qsTr("Прочитать"); enabled: panel.fileUrl !== ""; onClicked: panel.read() }
    }

    TableView {
        id: table
        Layout.fillWidth: true
        Layout.fillHeight: true
        model: app.importElementModel
        TableViewColumn { role: "designators"; title: app.t + qsTr("Компоненты"); width: 260 }
        TableViewColumn { role: "elPack"; title: app.t + qsTr("Корпус"); width: 120 }
        TableViewColumn { role: "partNumber"; title: app.t + qsTr("Номинал"); width: 120 }
        TableViewColumn { role: "count"; title: app.t + qsTr("Шт."); width: 50 }
        TableViewColumn { role: "feeder"; title: app.t + qsTr("Питатель"); width: 130 }
        TableViewColumn { role: "rot"; title: app.t + qsTr("Поворот"); width: 70 }
    }

    RowLayout {
        visible: table.currentRow >= 0
        Text { color: "white"; text: app.t + qsTr("Выбранная группа:") }
        ComboBox {
            id: rotCombo
            model: ["0", "90", "180", "-90"]
            onActivated: app.importElementModel.setProperty(table.currentRow, "rot", Number(model[index]))
        }
        ComboBox {
            id: bankCombo
            visible: panel.assignFeeders
            model: [app.t + qsTr("снизу"), app.t + qsTr("слева"), app.t + qsTr("сверху"), app.t + qsTr("справа")]
        }
        SpinBox { id: feederNumber; visible: panel.assignFeeders; minimumValue: 1; maximumValue: 200 }
        Button {
            visible: panel.assignFeeders
            text: app.t + qsTr("Назначить питатель")
            onClicked: panel.setGroupFeeder(table.currentRow, ["B", "L", "U", "R"][bankCombo.currentIndex],
                                            feederNumber.value - 1)
        }
        Button { text: app.t + qsTr("Убрать группу"); onClicked: panel.removeGroup(table.currentRow) }
    }

    RowLayout {
        Layout.alignment: Qt.AlignRight
        Button { text: app.t + qsTr("Импорт"); enabled: app.importElementModel.count > 0; onClicked: panel.createAll() }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/importing.js" as Importing
import "../../lib/feeders.js" as Feeders
import "../../lib/models.js" as Models

// Loading feeders from a bill of materials: (1) open the file, (2) read it
// with the chosen columns, (3) assign feeders by hand or automatically,
// (4) import: each assigned feeder takes the line's package and part number.
BaseWindow {
    id: window
    property var app
    property string fileUrl: ""
    title: app.t + qsTr("Импорт списка питателей")
    width: 900
    height: 620

    readonly property var separators: ["Табуляция", ",", ";", "|"]
    readonly property var columnNames: ["№1", "№2", "№3", "№4", "№5", "№6", "№7", "№8", "№9", "№10"]

    function open() { bringToFront() }

    function read(url) {
        if (url !== undefined)
            fileUrl = String(url)
        if (fileUrl === "")
            return
        app.importFeederModel.clear()
        app.openFeederFileImport(fileUrl, separators[Math.max(0, Math.min(3, app.importFeederSeparatorType))],
                                 app.importFeederPackCol, app.importFeederPartNumberCol, app.importFeederDesigCol,
                                 app.feederElCountInBomCol)
    }

    function setLineFeeder(i, model, index) {
        var m = app.importFeederModel
        m.setProperty(i, "model1", model)
        m.setProperty(i, "index1", Number(index))
        m.setProperty(i, "feeder", model === "" ? "" : app.feederBanks.sideName(model) + " №" + (Number(index) + 1))
    }

    // Assigns feeders by the ranges of the automatic assignment settings.
    function autoAssign() {
        var m = app.importFeederModel
        var lines = []
        for (var i = 0; i < m.count; ++i) {
            var l = m.get(i)
            lines.push({ "pack": l.feederPack, "partNumber": l.partNumber, "bandWidth": l.bandWidth,
                         "known": l.color === "white" })
        }
        var banks = {}
        var letters = ["B", "U", "R", "L"]
        for (var b = 0; b < letters.length; ++b) {
            var fm = app.feedersInvoker.modelOf(letters[b])
            var list = []
            for (var n = 0; n < fm.count; ++n) {
                var f = fm.get(n)
                list.push({ "pack": f.pack, "partNumber": f.partNumber,
                            "used": app.feedersInvoker.getFeederElementCount(letters[b], n) > 0 })
            }
            banks[letters[b]] = list
        }
        var ranges = {
            "w8": { "bank": app.importFeederAutoAssign8mmBank, "first": app.importFeederAutoAssign8mmFirst,
                    "last": app.importFeederAutoAssign8mmLast },
            "w12_16": { "bank": app.importFeederAutoAssign12_16mmBank, "first": app.importFeederAutoAssign12_16mmFirst,
                        "last": app.importFeederAutoAssign12_16mmLast } }
        var result = Importing.autoAssign(lines, banks, ranges)
        var unassigned = 0
        for (i = 0; i < result.length; ++i) {
            setLineFeeder(i, result[i].model, result[i].index)
            if (result[i].model === "")
                ++unassigned
        }
        if (unassigned > 0)
            app.errorMessage(app.t + qsTr("Питатели не назначены строкам: ") + unassigned, true, "warning")
        return result
    }

    // Writes the lines with a package record and a feeder into their feeders.
    function importFeeders() {
        var m = app.importFeederModel
        var count = 0
        var withDesignators = app.importFeederDesigCol < 10
        for (var i = 0; i < m.count; ++i) {
            var l = m.get(i)
            if (l.model1 === "" || Number(l.index1) < 0)
                continue
            var pkgIndex = app.packageIndexOf(l.feederPack)
            var feeder = app.getFeeder(l.model1, l.index1)
            if (pkgIndex < 0 || !feeder)
                continue
            var pkg = Models.copyEntry(app.packageList, pkgIndex)
            var f = Importing.importedFeeder(feeder, pkg, { "partNumber": l.partNumber, "designators": l.designators,
                                                            "bandWidth": l.bandWidth },
                                             Feeders.bankOf(l.model1), app.vcCount, withDesignators)
            app.feedersInvoker.changeOne(l.model1, l.index1, pkgIndex, f)
            ++count
        }
        app.projectActions.updateAllFeederMatches()
        if (count > 0) {
            app.errorMessage(app.t + qsTr("Импорт завершен. Количество импортированных наименований: ") + count, true, "notice")
            close()
        } else {
            app.errorMessage(app.t + qsTr("Наименования не были импортированы."), true, "notice")
        }
        return count
    }

    FileDialog {
        id: fileDialog
        title: app.t + qsTr("Файл списка питателей")
        nameFilters: [app.t + qsTr("Таблицы (*.csv *.txt *.tsv)"), app.t + qsTr("Все файлы (*)")]
        onAccepted: window.read(fileUrl)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        GridLayout {
            columns: 4
            Button { text: app.t + qsTr("(1) Открыть файл..."); onClicked: fileDialog.open() }
            Text {
                Layout.columnSpan: 2
                Layout.fillWidth: true
                color: "white"
                elide: Text.ElideMiddle
                text: decodeURIComponent(window.fileUrl.replace(/^file:\/\//, ""))
            }
            Button { text: "?"; onClicked: app.feederListImportHelpWindow.open() }
            Text { color: "white"; text: app.t + qsTr("Разделитель") }
            ComboBox { model: window.separators; currentIndex: app.importFeederSeparatorType; onActivated: app.importFeederSeparatorType = index }
            Text { color: "white"; text: app.t + qsTr("Корпус") }
            ComboBox { model: window.columnNames; currentIndex: app.importFeederPackCol; onActivated: app.importFeederPackCol = index }
            Text { color: "white"; text: app.t + qsTr("Номинал") }
            ComboBox { model: window.columnNames; currentIndex: app.importFeederPartNumberCol; onActivated: app.importFeederPartNumberCol = index }
            Text { color: "white"; text: app.t + qsTr("Обозначения") }
            ComboBox {
                model: window.columnNames.concat([app.t + qsTr("Не используется")])
                currentIndex: Math.min(10, app.importFeederDesigCol)
                onActivated: app.importFeederDesigCol = index
            }
            Text { color: "white"; text: app.t + qsTr("Количество") }
            ComboBox {
                model: window.columnNames.concat([app.t + qsTr("Не используется")])
                currentIndex: Math.min(10, app.feederElCountInBomCol)
                onActivated: app.feederElCountInBomCol = index
            }
            CheckBox {
                Layout.columnSpan: 2
                text: app.t + qsTr("Не импортировать строки с количеством 0")
                checked: app.feederDontImportEmpty
                onClicked: app.feederDontImportEmpty = checked
            }
            Button { text: app.t + qsTr("(2) Прочитать"); enabled: window.fileUrl !== ""; onClicked: window.read() }
        }
        TableView {
            id: table
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: app.importFeederModel
            TableViewColumn { role: "feederPack"; title: app.t + qsTr("Корпус"); width: 130 }
            TableViewColumn { role: "partNumber"; title: app.t + qsTr("Номинал"); width: 140 }
            TableViewColumn { role: "designators"; title: app.t + qsTr("Обозначения"); width: 280 }
            TableViewColumn { role: "count"; title: app.t + qsTr("Шт."); width: 50 }
            TableViewColumn { role: "feeder"; title: app.t + qsTr("Питатель"); width: 130 }
            itemDelegate: Text {
                color: styleData.column === 0 && model && model.color === "red" ? "red" : styleData.textColor
                text: styleData.value === undefined ? "" : String(styleData.value)
                elide: Text.ElideRight
            }
        }
        RowLayout {
            visible: table.currentRow >= 0
            ComboBox {
                id: bankCombo
                model: [app.t + qsTr("снизу"), app.t + qsTr("слева"), app.t + qsTr("сверху"), app.t + qsTr("справа")]
            }
            SpinBox { id: feederNumber; minimumValue: 1; maximumValue: 200 }
            Button {
                text: app.t + qsTr("Назначить питатель")
                onClicked: window.setLineFeeder(table.currentRow, ["B", "L", "U", "R"][bankCombo.currentIndex], feederNumber.value - 1)
            }
            Button { text: app.t + qsTr("Убрать строку"); onClicked: app.importFeederModel.remove(table.currentRow) }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button { text: app.t + qsTr("(3) Назначить автоматически..."); onClicked: app.feederListImportAutoAssignWindow.open() }
            Button { text: app.t + qsTr("(4) Импорт"); enabled: app.importFeederModel.count > 0; onClicked: window.importFeeders() }
        }
    }
}

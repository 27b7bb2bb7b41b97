import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import "../../../elements"

// Export of the feeders in use by the project as a text table: which columns,
// in which order (dragged into place), how separated and sorted.
BaseWindow {
    id: window
    property var app
    title: app.t + qsTr("Экспорт списка питателей")
    width: 560
    height: 520

    readonly property var allColumns: ["feeder", "number", "package", "partNumber", "count", "installed", "toBasket", "designator"]

    function columnTitle(id) {
        switch (id) {
        case "feeder": return app.t + qsTr("Питатель")
        case "number": return app.t + qsTr("Номер")
        case "package": return app.t + qsTr("Корпус")
        case "partNumber": return app.t + qsTr("Номинал (part number)")
        case "count": return app.t + qsTr("В проекте шт.")
        case "installed": return app.t + qsTr("Установлено шт.")
        case "toBasket": return app.t + qsTr("Сбросов шт.")
        default: return app.t + qsTr("Позиционные обозначения")
        }
    }

    // The column order: the stored one, completed by the columns it lacks.
    function columnOrder() {
        var order = []
        var stored = app.exportColumnOrder || []
        for (var i = 0; i < stored.length; ++i) {
            if (allColumns.indexOf(String(stored[i])) >= 0 && order.indexOf(String(stored[i])) < 0)
                order.push(String(stored[i]))
        }
        for (i = 0; i < allColumns.length; ++i) {
            if (order.indexOf(allColumns[i]) < 0)
                order.push(allColumns[i])
        }
        return order
    }

    // Moves a column from one place of the order to another.
    function moveColumn(from, to) {
        var order = columnOrder()
        if (from < 0 || from >= order.length || to < 0 || to >= order.length || from === to)
            return order
        var id = order.splice(from, 1)[0]
        order.splice(to, 0, id)
        app.exportColumnOrder = order
        return order
    }

    function open() { bringToFront() }

    FileDialog {
        id: saveDialog
        title: app.t + qsTr("Экспорт списка питателей")
        nameFilters: [app.t + qsTr("Текстовый файл (*.txt)")]
        selectExisting: false
        onAccepted: app.feederListExport(fileUrl)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        GridLayout {
            columns: 2
            Text { color: "white"; text: app.t + qsTr("Разделитель") }
            ComboBox {
                model: [app.t + qsTr("пробелы (колонки)"), ";", "|"]
                currentIndex: app.exportSeparatorType
                onActivated: app.exportSeparatorType = index
            }
            Text { color: "white"; text: app.t + qsTr("Порядок строк") }
            ComboBox {
                model: [app.t + qsTr("по количеству в проекте"), app.t + qsTr("по питателям")]
                currentIndex: app.exportSortType
                onActivated: app.exportSortType = index
            }
        }
        CheckBox { text: app.t + qsTr("Заголовок"); checked: app.exportHeaderEnabled; onClicked: app.exportHeaderEnabled = checked }
        CheckBox { text: app.t + qsTr("Пустые питатели"); checked: app.exportEmptyFeeders; onClicked: app.exportEmptyFeeders = checked }
        CheckBox { text: app.t + qsTr("Питатель"); checked: app.exportFeederModel; onClicked: app.exportFeederModel = checked }
        CheckBox { text: app.t + qsTr("Номер"); checked: app.exportFeederNumber; onClicked: app.exportFeederNumber = checked }
        CheckBox { text: app.t + qsTr("Установлено шт."); checked: app.exportInstalledCount; onClicked: app.exportInstalledCount = checked }
        CheckBox { text: app.t + qsTr("Сбросов шт."); checked: app.exportToBasketCount; onClicked: app.exportToBasketCount = checked }
        CheckBox { text: app.t + qsTr("Позиционные обозначения"); checked: app.exportDesignator; onClicked: app.exportDesignator = checked }
        Text { color: "white"; text: app.t + qsTr("Порядок колонок (перетащите):") }
        ListView {
            id: columnList
            Layout.fillWidth: true
            Layout.fillHeight: true
            interactive: false
            model: window.columnOrder()
            delegate: Rectangle {
                id: row
                width: columnList.width
                height: 26
                color: dragArea.drag.active ? "#546E7A" : "#37474F"
                border.color: "#263238"
                Text { anchors.verticalCenter: parent.verticalCenter; x: 8; color: "white"; text: window.columnTitle(modelData) }
                MouseArea {
                    id: dragArea
                    anchors.fill: parent
                    drag.target: row
                    drag.axis: Drag.YAxis
                    property int from: index
                    onPressed: from = index
                    onReleased: {
                        var to = Math.max(0, Math.min(columnList.count - 1, Math.round(row.y / row.height)))
                        window.moveColumn(from, to)
                        columnList.model = window.columnOrder()
                    }
                }
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button { text: app.t + qsTr("Экспорт..."); onClicked: saveDialog.open() }
            Button { text: app.t + qsTr("Закрыть"); onClicked: window.close() }
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.15
import CustomComponents 1.0
import "../../../elements"

// The project's statistics per day, sorted by any column, exported as a table.
BaseWindow {
    id: window
    property var app
    property alias view: sorted
    title: app.t + qsTr("Статистика по дням")
    width: 760
    height: 420

    function open() {
        app.projectStatisticsWindow.updateDayStatistics()
        bringToFront()
    }

    SortFilterModel {
        id: sorted
        source: app.projectDayStatisticsM
        sortRole: "date"
        ascending: false
    }

    FileDialog {
        id: saveDialog
        title: app.t + qsTr("Экспорт статистики")
        nameFilters: [app.t + qsTr("Простая таблица (*.csv)")]
        selectExisting: false
        onAccepted: app.projectDayStatisticsExport(fileUrl)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        TableView {
            id: table
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: sorted
            sortIndicatorVisible: true
            sortIndicatorColumn: 0
            sortIndicatorOrder: Qt.DescendingOrder
            onSortIndicatorColumnChanged: sorted.sortRole = getColumn(sortIndicatorColumn).role
            onSortIndicatorOrderChanged: sorted.ascending = sortIndicatorOrder === Qt.AscendingOrder
            TableViewColumn { role: "date"; title: app.t + qsTr("Дата"); width: 100
                delegate: Text { color: styleData.textColor; text: Qt.formatDate(styleData.value, "dd.MM.yyyy") } }
            TableViewColumn { role: "pcbCount"; title: app.t + qsTr("Плат"); width: 70 }
            TableViewColumn { role: "elementCount"; title: app.t + qsTr("Компонентов"); width: 100 }
            TableViewColumn { role: "solderPointCount"; title: app.t + qsTr("Точек пайки"); width: 100 }
            TableViewColumn { role: "basketCount"; title: app.t + qsTr("Сбросов"); width: 80 }
            TableViewColumn { role: "mountTime"; title: app.t + qsTr("Время монтажа"); width: 110
                delegate: Text { color: styleData.textColor; text: worker ? worker.calcPcbMountTime2(Number(styleData.value)) : "" } }
            TableViewColumn { role: "pcbPerHour"; title: app.t + qsTr("Плат/час"); width: 80 }
            TableViewColumn { role: "elementsPerHour"; title: app.t + qsTr("Компонентов/час"); width: 110 }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Button { text: app.t + qsTr("Экспорт..."); onClicked: saveDialog.open() }
            Button { text: app.t + qsTr("Закрыть"); onClicked: window.close() }
        }
    }
}

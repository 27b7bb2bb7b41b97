import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"
import "../../lib/statistics.js" as Statistics

// The counters of the project and its mounting time; keeps the day
// statistics (newest day first) as the job counts boards, components, solder
// points, rejects and seconds.
BaseWindow {
    id: window
    property var app
    title: app.t + qsTr("Статистика проекта")
    width: 420
    height: 260

    // Today's date; a test may fix it.
    property var fixedToday: null
    function today() { return fixedToday !== null ? fixedToday : new Date() }

    function open() { bringToFront() }

    // Makes sure that the first record is today's.
    function checkCurrentStatDay() {
        var m = app.projectDayStatisticsM
        var day = today()
        if (m.count === 0 || !Statistics.sameDay(m.get(0).date, day))
            m.insert(0, Statistics.newDay(day))
    }

    function add(field, amount) {
        checkCurrentStatDay()
        var m = app.projectDayStatisticsM
        m.setProperty(0, field, Number(m.get(0)[field]) + Number(amount))
        updateRates(0)
    }

    function updateRates(i) {
        var d = app.projectDayStatisticsM.get(i)
        app.projectDayStatisticsM.setProperty(i, "pcbPerHour", Statistics.pcbPerHour(d.pcbCount, d.mountTime))
        app.projectDayStatisticsM.setProperty(i, "elementsPerHour", Statistics.elementsPerHour(d.elementCount, d.mountTime))
    }

    function appendComponentsAndSolderPoints(components, solderPoints) {
        add("elementCount", components)
        add("solderPointCount", solderPoints)
    }
    function appendBasketCount(basketCount) { add("basketCount", basketCount) }
    function appendSeconds(seconds) { add("mountTime", seconds) }
    function appendPcbCount(pcbCount) { add("pcbCount", pcbCount) }
    function updateDayStatistics() {
        for (var i = 0; i < app.projectDayStatisticsM.count; ++i)
            updateRates(i)
    }

    GridLayout {
        anchors.fill: parent
        anchors.margins: 10
        columns: 2
        Text { color: "white"; text: app.t + qsTr("Плат готово:") }
        Text { color: "white"; text: app.pcbFinishedCount }
        Text { color: "white"; text: app.t + qsTr("Компонентов установлено:") }
        Text { color: "white"; text: app.pcbComponentsMountedCount }
        Text { color: "white"; text: app.t + qsTr("Компонентов сброшено:") }
        Text { color: "white"; text: app.pcbComponentsBasketCount }
        Text { color: "white"; text: app.t + qsTr("Точек пайки:") }
        Text { color: "white"; text: app.pcbSolderPointsMountedCount }
        Text { color: "white"; text: app.t + qsTr("Время монтажа:") }
        Text { color: "white"; text: app.pcbMountTime }
        Text { color: "white"; text: app.t + qsTr("Секундомер:") }
        Text { color: "white"; text: app.stopwatchTime }
        Button { text: app.t + qsTr("По дням..."); onClicked: app.projectDayStatisticsWindow.open() }
        Button {
            text: app.t + qsTr("Сбросить счётчики")
            onClicked: {
                app.pcbFinishedCount = 0
                app.pcbComponentsMountedCount = 0
                app.pcbComponentsBasketCount = 0
                app.pcbSolderPointsMountedCount = 0
                app.pcbMountTimeInt = 0
                app.calcPcbMountTime()
            }
        }
    }
}

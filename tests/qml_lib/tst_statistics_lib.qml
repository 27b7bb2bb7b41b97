import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/statistics.js" as Statistics

// The day statistics records: when a new day begins.
TestCase {
    name: "StatisticsLibrary"

    function test_days() {
        var lateEvening = new Date(2026, 11, 5, 23, 59, 58)
        verify(Statistics.sameDay(lateEvening, new Date(2026, 11, 5, 0, 0, 1)))
        verify(!Statistics.sameDay(lateEvening, new Date(2026, 11, 6, 0, 0, 1)))
        verify(!Statistics.sameDay(null, lateEvening))
        compare(Statistics.newDay(lateEvening).date, new Date(2026, 11, 5))
    }
}

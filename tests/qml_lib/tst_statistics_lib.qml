import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/statistics.js" as Statistics

// The day statistics records: the rates shown for a day and when a new
// day begins.
TestCase {
    name: "StatisticsLibrary"

    // Boards per hour with one decimal, components per hour without; empty
    // while there is no mounting time.
    function test_perHour_data() {
        return [
            { tag: "half an hour", count: 2, seconds: 1800, pcb: "4.0", elements: "4" },
            { tag: "rounded", count: 7, seconds: 100, pcb: "252.0", elements: "252" },
            { tag: "no time", count: 2, seconds: 0, pcb: "", elements: "" },
            { tag: "under a second", count: 2, seconds: 0.5, pcb: "", elements: "" }
        ]
    }
    function test_perHour(data) {
        compare(Statistics.pcbPerHour(data.count, data.seconds), data.pcb)
        compare(Statistics.elementsPerHour(data.count, data.seconds), data.elements)
    }

    function test_days() {
        var lateEvening = new Date(2026, 11, 5, 23, 59, 58)
        verify(Statistics.sameDay(lateEvening, new Date(2026, 11, 5, 0, 0, 1)))
        verify(!Statistics.sameDay(lateEvening, new Date(2026, 11, 6, 0, 0, 1)))
        verify(!Statistics.sameDay(null, lateEvening))
        compare(Statistics.newDay(lateEvening).date, new Date(2026, 11, 5))
    }
}

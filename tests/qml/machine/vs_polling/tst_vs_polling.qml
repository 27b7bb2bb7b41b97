import QtQuick 2.15
import QtTest 1.2

// The vacuum sensor read by the program while the job screen exists: the
// readings of the real sensor worker over its emulator arrive every 100 ms,
// clearly faster in fast mode (judged by the readings' own time stamps),
// none once the sensor is stopped.
TestCase {
    id: testCase
    name: "VacuumPolling"
    when: windowShown

    property var stamps: []
    Connections {
        target: root
        function onVsMeasureSignal(value) { testCase.stamps.push(Number(root.vsMeasureTime)) }
    }
    SignalSpy { id: requests; target: root; signalName: "vsMeasure" }

    // Readings per second over the next `count` readings, by their stamps.
    function readingRate(count) {
        stamps = []
        tryVerify(function() { return testCase.stamps.length >= count }, 10000)
        var first = stamps[0], last = stamps[count - 1]
        verify(last > first, "stamps " + stamps)
        return (count - 1) * 1000 / (last - first)
    }

    function initTestCase() {
        var link = probe.startVsEmulator(30)
        verify(link !== "")
        root.vsFileName = link
        verify(root.smtInterface)
    }

    function startSensor() {
        if (!root.vsRunning)
            root.vsStart(root.vsFileName)
        tryCompare(root, "vsRunning", true, 10000)
    }

    function test_readingsAtTheTwoRates() {
        startSensor()
        var slow = readingRate(8)
        root.vsFastPolling = true
        var fast = readingRate(16)
        root.vsFastPolling = false
        var slowAgain = readingRate(6)
        verify(fast > 2 * slow, "fast " + fast + "/s, slow " + slow + "/s")
        verify(fast > 2 * slowAgain, "fast " + fast + "/s, slow again " + slowAgain + "/s")
        verify(root.vsRunning)
        compare(root.vsMeasureResult, 30)
    }

    // Absence is watched over a few polling periods, in fast mode too: no
    // state to wait for.
    function test_noReadingsOnceStopped() {
        startSensor()
        root.vsStop()
        verify(!root.vsRunning)
        wait(300)          // a reading already on its way may still arrive
        requests.clear()
        var readings = stamps.length
        root.vsFastPolling = true
        wait(400)
        root.vsFastPolling = false
        compare(requests.count, 0)
        compare(stamps.length, readings)
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../common"

// What makes placement trustworthy, on the real LinuxCNC of the simulated
// machine with the demo project: parts picked off-centre and turned are
// measured and land where they belong; missed picks, a wrong value at the
// RLC meter and a feeder that keeps failing are handled without a wrong
// part on the board. Each case runs the demo job with only the components
// of one feeder switched on.
FeederRunCase {
    id: testCase
    name: "ChecksOnMachine"

    readonly property real placeTolerance: 0.02
    readonly property real angleTolerance: 0.1

    function initTestCase() {
        prepareFeederRuns()
    }

    function cleanup() {
        worker.simWorldClearErrors()
        root.autoSwithToSimilarFeeders = false
        root.rlcEnabled = false
    }

    function feederOf(bank, index) {
        return probe.call(root, "getFeeder", [bank, index])
    }

    // A part picked 0.30 mm, -0.20 mm off and turned 1.5 degrees is measured
    // on the component camera and lands where it belongs.
    function test_1_pickErrorIsCorrected() {
        verify(worker.simWorldSetPickError("U", 0, 0.30, -0.20, 1.5, 0))
        var releases = runFeeder("U", 0)
        compare(loggedErrors(), [])
        compare(checkLanded(releases, "U", 0, placeTolerance, angleTolerance).length, 2)
    }

    // Every third pick from the 10k tape comes up empty: the miss is seen on
    // the camera, counted to the basket and picked again; every component
    // lands once, nothing else is released.
    function test_2_missedPicksArePickedAgain() {
        verify(probe.call(root, "setFeederValue", ["B", 0, "pickRetryCount", 3]))
        verify(worker.simWorldSetPickError("B", 0, 0, 0, 0, 3))
        var basketBefore = Number(feederOf("B", 0).basketCount)
        var machineBasket = root.pcbComponentsBasketCount
        var releases = runFeeder("B", 0)
        compare(loggedErrors(), [])
        var landed = checkLanded(releases, "B", 0, 0.05, 0.4)
        compare(landed.length, 4)
        compare(releases.length, 4)
        // Five picks for four parts: the third missed.
        var w = worker.simWorld().feeders.filter(function(f) { return f.bank === "B" && f.index === 0 })[0]
        compare(w.attempts, 5)
        compare(Number(feederOf("B", 0).basketCount) - basketBefore, 1)
        compare(root.pcbComponentsBasketCount - machineBasket, 1)
        verify(probe.call(root, "setFeederValue", ["B", 0, "pickRetryCount", 1]))
    }

    // The RLC meter measures every 10k part; every second part taken reads
    // half as much again and goes to the basket, the next one is placed in
    // its stead.
    function test_3_wrongValueGoesToTheBasket() {
        var rlc = probe.startRlcEmulatorFollowingNozzle("R,A,12345,3")
        verify(rlc !== "")
        root.rlcPort = rlc
        root.rlcEnabled = true
        var values = { "rlcEnabled": true, "rlcType": 0, "rlcUnit": 1, "rlcValue": 10, "rlcPercent1": 5,
                       "rlcPercent2": 5, "rlcRotation": 0 }
        for (var k in values)
            verify(probe.call(root, "setFeederValue", ["B", 0, k, values[k]]), k)
        verify(worker.simWorldSetRlcError("B", 0, 1.5, "01"))
        var releases = runFeeder("B", 0)
        compare(loggedErrors(), [])
        var dropped = releases.filter(function(r) { return !r.onBoard })
        // Parts 2, 4 and 6 of the seven taken read 15k: each is dropped
        // (the part in range between them starts the count afresh).
        compare(dropped.length, 3)
        compare(dropped[0].bank + dropped[0].feeder, "B0")
        compare(checkLanded(releases, "B", 0, 0.05, 0.4).length, 4)
        var warned = 0
        for (var i = 0; i < root.logModel.count; ++i)
            if (String(probe.entry(root.logModel, i).message).indexOf("Номинал компонента не соответствует") === 0)
                ++warned
        compare(warned, 3)
        verify(probe.call(root, "setFeederValue", ["B", 0, "rlcEnabled", false]))
    }

    // The 10k tape runs dry (every pick comes up empty); the 4k7 tape holds
    // the same part now, and the run goes on from it. The project keeps
    // its placements on the first tape.
    function test_4_dryFeederHandsOverToItsEquivalent() {
        var partNumber = String(feederOf("B", 1).partNumber)
        verify(probe.call(root, "setFeederValue", ["B", 1, "partNumber", String(feederOf("B", 0).partNumber)]))
        root.autoSwithToSimilarFeeders = true
        verify(worker.simWorldSetPickError("B", 0, 0, 0, 0, 1))
        var releases = runFeeder("B", 0)
        compare(loggedErrors(), [])
        compare(checkLanded(releases, "B", 0, 0.05, 0.4).length, 4)
        for (var r = 0; r < releases.length; ++r)
            compare(releases[r].bank + releases[r].feeder, "B1", "released part " + r)
        var switched = 0
        for (var i = 0; i < root.logModel.count; ++i)
            if (String(probe.entry(root.logModel, i).message).indexOf("Переключаюсь на питатель") >= 0)
                ++switched
        compare(switched, 1)
        var still = probe.value(root, "elementList").filter(function(el) {
            return !el.deleted && String(el.designator) === "R1"
        })[0]
        compare([String(still.model), Number(still.index)], ["B", 0])
        verify(probe.call(root, "setFeederValue", ["B", 1, "partNumber", partNumber]))
    }
}

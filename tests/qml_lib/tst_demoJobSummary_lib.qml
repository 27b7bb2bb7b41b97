import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/demoJobSummary.js" as Summary

// The exit status the demo job ends with.
TestCase {
    name: "DemoJobSummary"

    function test_outcome_data() {
        return [
            { tag: "ended", r: { ended: true }, status: 0, reason: "" },
            { tag: "ended but a step failed", r: { ended: true, reason: "the screenshot failed" }, status: 1,
              reason: "the screenshot failed" },
            { tag: "interrupted", r: { ended: false, reason: "Ошибка: LinuxCNC" }, status: 1,
              reason: "Ошибка: LinuxCNC" },
            { tag: "timed out", r: { ended: false, timedOut: true, reason: "no end after 600 s" }, status: 2,
              reason: "no end after 600 s" },
        ]
    }
    function test_outcome(data) {
        var o = Summary.outcome(data.r)
        compare(o.status, data.status)
        compare(o.reason, data.reason)
    }
}

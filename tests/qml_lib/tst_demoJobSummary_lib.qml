import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/demoJobSummary.js" as Summary

// The summary the demo job prints at its end and the exit status it ends
// with.
TestCase {
    name: "DemoJobSummary"

    function test_perHour_data() {
        return [
            { tag: "rounded", placed: 7, seconds: 100, rate: 252 },
            { tag: "rounded half up", placed: 1, seconds: 7200, rate: 1 },
            { tag: "no time", placed: 5, seconds: 0, rate: 0 },
            { tag: "not numbers", placed: "x", seconds: undefined, rate: 0 },
        ]
    }
    function test_perHour(data) {
        compare(Summary.perHour(data.placed, data.seconds), data.rate)
    }

    function test_outcome_data() {
        return [
            { tag: "ended", r: { ended: true }, status: 0, reason: "" },
            { tag: "ended but a step failed", r: { ended: true, reason: "the screenshot failed" }, status: 1,
              reason: "the screenshot failed" },
            { tag: "interrupted", r: { ended: false, reason: "Ошибка: LinuxCNC" }, status: 1,
              reason: "Ошибка: LinuxCNC" },
            { tag: "interrupted without a reason", r: { ended: false }, status: 1,
              reason: "the run stopped before its end" },
            { tag: "timed out", r: { ended: false, timedOut: true, reason: "no end after 600 s" }, status: 2,
              reason: "no end after 600 s" },
            { tag: "timed out wins", r: { ended: true, timedOut: true }, status: 2,
              reason: "the run did not end in time" },
        ]
    }
    function test_outcome(data) {
        var o = Summary.outcome(data.r)
        compare(o.status, data.status)
        compare(o.reason, data.reason)
    }

    function test_lines_data() {
        return [
            { tag: "normal end",
              s: { placed: 24, missed: 1, basket: 2, seconds: 96, screenshot: "/run/demo-job/job.png", ended: true },
              lines: ["Demo job: finished", "Placed: 24", "Missed: 1", "Basket: 2", "Run time: 0:01:36 (96 s)",
                      "Components per hour: 900", "Screenshot of the job screen: /run/demo-job/job.png",
                      "Exit status: 0"] },
            { tag: "stopped",
              s: { placed: 3, missed: 0, basket: 0, seconds: 20, screenshot: "/tmp/a.png", ended: false,
                   reason: "Программа расстановки прервана\nОшибка" },
              lines: ["Demo job: stopped", "Reason: Программа расстановки прервана Ошибка", "Placed: 3", "Missed: 0",
                      "Basket: 0", "Run time: 0:00:20 (20 s)", "Components per hour: 540",
                      "Screenshot of the job screen: /tmp/a.png", "Exit status: 1"] },
            { tag: "timed out before the run, no picture",
              s: { ended: false, timedOut: true, reason: "LinuxCNC did not start within 60 s", screenshot: "" },
              lines: ["Demo job: timed out", "Reason: LinuxCNC did not start within 60 s", "Placed: 0", "Missed: 0",
                      "Basket: 0", "Run time: 0:00:00 (0 s)", "Components per hour: 0",
                      "Screenshot of the job screen: none", "Exit status: 2"] },
        ]
    }
    function test_lines(data) {
        compare(Summary.lines(data.s), data.lines)
        compare(Summary.text(data.s), data.lines.join("\n") + "\n")
    }
}

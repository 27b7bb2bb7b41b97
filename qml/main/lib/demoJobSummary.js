.pragma library

// What the demo job (./run.sh --demo-job) prints on standard output when it
// ends, and the exit status it ends with. Plain functions of their
// arguments, so that tests call them directly. The text is for the
// developer at the terminal (and for the test that reads it): English, one
// "Name: value" line each, stable enough to be read back.

// Exit statuses of the demo job.
var STATUS_OK = 0
var STATUS_STOPPED = 1   // the run stopped with an error, or never started
var STATUS_TIMEOUT = 2   // the run did not end in time

function count(v) {
    var n = Number(v)
    return isFinite(n) && n > 0 ? Math.floor(n) : 0
}

// Components per hour of `placed` components in `seconds`, 0 while either
// is 0 (as the job screen shows no rate then).
function perHour(placed, seconds) {
    var p = count(placed), s = count(seconds)
    return p > 0 && s > 0 ? Math.round(p * 3600 / s) : 0
}

// Seconds as "h:mm:ss".
function clock(seconds) {
    var s = count(seconds)
    var h = Math.floor(s / 3600), m = Math.floor(s / 60) % 60
    s = s % 60
    return h + ":" + (m < 10 ? "0" : "") + m + ":" + (s < 10 ? "0" : "") + s
}

// The exit status and its one-line reason. r:
//   ended      the run ended by itself ("Программа расстановки завершена")
//   timedOut   the job gave up waiting (for the run or for a step before it)
//   reason     what went wrong, as the driver saw it (empty when nothing did)
function outcome(r) {
    if (r.timedOut === true)
        return { "status": STATUS_TIMEOUT, "reason": String(r.reason || "the run did not end in time") }
    if (r.ended === true && String(r.reason || "") === "")
        return { "status": STATUS_OK, "reason": "" }
    return { "status": STATUS_STOPPED, "reason": String(r.reason || "the run stopped before its end") }
}

// The summary lines. s: placed, missed, basket (components), seconds (run
// time of the stopwatch), screenshot (path of the job screen's picture,
// empty when none could be written), ended, timedOut, reason (see outcome).
function lines(s) {
    var o = outcome(s)
    var out = []
    out.push("Demo job: " + (o.status === STATUS_OK ? "finished" : o.status === STATUS_TIMEOUT ? "timed out" : "stopped"))
    if (o.reason !== "")
        out.push("Reason: " + o.reason.replace(/[\r\n]+/g, " "))
    out.push("Placed: " + count(s.placed))
    out.push("Missed: " + count(s.missed))
    out.push("Basket: " + count(s.basket))
    out.push("Run time: " + clock(s.seconds) + " (" + count(s.seconds) + " s)")
    out.push("Components per hour: " + perHour(s.placed, s.seconds))
    var shot = String(s.screenshot === undefined || s.screenshot === null ? "" : s.screenshot)
    out.push("Screenshot of the job screen: " + (shot !== "" ? shot : "none"))
    out.push("Exit status: " + o.status)
    return out
}

function text(s) {
    return lines(s).join("\n") + "\n"
}

import QtQuick 2.15

// The one way G-code reaches the machine link. Every sender (the job's
// waiters, the windows, the command line) hands its block here; a block
// handed over while another runs waits in a queue and is sent when the
// channel is idle, never lost. Each block's own `onDone(successful)` is
// called when that block finishes, so a sender never takes another sender's
// completion for its own.
QtObject {
    id: gate
    property var app

    // The channel is idle: no block runs and none waits.
    readonly property bool gCodeDone: !running && queued === 0
    property bool running: false
    property int queued: 0
    // Blocks sent since the program started (for the tests and benchmarks).
    property int sentCount: 0

    property var queue: []
    property var current: null

    // Hands a block over; `onDone` may be null.
    function send(text, safeH, onDone) {
        queue.push({ "text": String(text), "safeH": safeH === true, "onDone": onDone || null })
        queued = queue.length
        if (!running)
            dispatch()
    }

    function dispatch() {
        if (running || queue.length === 0)
            return
        current = queue.shift()
        queued = queue.length
        running = true
        sentCount += 1
        app.sendGCode(current.text, current.safeH)
    }

    // The machine link finished the running block.
    function doneGet(successful) {
        if (!running)
            return      // an answer to a block not sent through the gate
        var block = current
        current = null
        running = false
        if (block.onDone)
            block.onDone(successful !== false)
        dispatch()
    }

    // Forgets the waiting blocks (a stop, E-STOP, the machine switched off);
    // their senders are told that they failed.
    function clear() {
        var dropped = queue
        queue = []
        queued = 0
        for (var i = 0; i < dropped.length; ++i)
            if (dropped[i].onDone)
                dropped[i].onDone(false)
    }

    // The machine link went away: the running block will never be answered.
    function reset() {
        clear()
        if (running) {
            var block = current
            current = null
            running = false
            if (block.onDone)
                block.onDone(false)
        }
    }
}

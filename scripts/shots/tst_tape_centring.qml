import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/tapeCentring.js" as Tape

// Renders the tape centring window on the simulated machine's demo project,
// calibrated, halfway through the bottom bank: three feeders centred (one
// by hand), one skipped, and the sprocket hole of the fifth not found, so
// that the operator's choices show. In Russian and in English, into
// tape-centring-ru.png and tape-centring-en.png in the current folder. Run
// by scripts/shoot-windows.sh.
TestCase {
    name: "TapeCentringShots"
    when: windowShown

    property var win: root.tapeCentringWindow

    // The log as the centring writes it, in the language shown.
    function fillLog() {
        probe.call(win.log, "clear")
        var lines = [
            [Tape.centredText(1, 0.12, -0.05), Tape.correctionColour(0.12, -0.05)],
            [Tape.centredText(2, -0.08, 0.03), Tape.correctionColour(-0.08, 0.03)],
            [Tape.skippedText(3), "yellow"],
            [Tape.centredByHandText(4, 0.31, 0.1), Tape.correctionColour(0.31, 0.1)]
        ]
        for (var i = 0; i < lines.length; ++i)
            probe.call(win.log, "append", [{ "text": lines[i][0], "colour": lines[i][1] }])
    }

    function shoot(lang, file) {
        root.lang = lang
        fillLog()
        wait(200)
        verify(probe.grabWindow(win, file), "written " + file)
    }

    function test_shots() {
        tryVerify(function() { return root.bottomFeedersModel.count >= 5 }, 10000)
        root.cncRunningGet(true)
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        probe.setValue(root.machineState, "machineHomed2", true)
        win.bringToFront()
        tryVerify(function() { return win.visible })
        // Halted on the fifth feeder (the state the centring reports).
        probe.call(win, "stateGet", [{ "running": true, "error": "notFound", "manual": false,
                                       "secondThreshold": true, "feeder": 4 }])
        shoot("ru", "tape-centring-ru.png")
        shoot("en", "tape-centring-en.png")
        root.lang = "ru"
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/machine/commandHistory.js" as History

// The typed-command history of the direct control window: what is kept and
// what Up and Down recall.
TestCase {
    name: "CommandHistoryLibrary"

    function withEntries(list) {
        var h = History.create()
        for (var i = 0; i < list.length; ++i)
            h = History.add(h, list[i])
        return h
    }

    function test_add_data() {
        return [
            { tag: "same twice", sent: ["g0 x1", "g0 x1"], kept: ["g0 x1"] },
            { tag: "empty text", sent: ["", "g0 x1", ""], kept: ["g0 x1"] },
        ]
    }
    function test_add(data) {
        compare(withEntries(data.sent).entries, data.kept)
    }

    // Keys pressed in order ("U" up, "D" down, "u"/"d" auto-repeated) and
    // the text each one puts in the field (null: the field stays).
    function test_recall_data() {
        return [
            { tag: "Up, Up, Up, Up: down to the oldest and stays", entries: ["a", "b", "c"], keys: "UUUU",
              texts: ["c", "b", "a", "a"] },
            { tag: "Up, Up, Down", entries: ["a", "b", "c"], keys: "UUD", texts: ["c", "b", "c"] },
            { tag: "auto-repeated Up ignored", entries: ["a", "b", "c"], keys: "Uuu", texts: ["c", null, null] },
        ]
    }
    function test_recall(data) {
        var h = withEntries(data.entries)
        var got = []
        for (var i = 0; i < data.keys.length; ++i) {
            var k = data.keys.charAt(i)
            var r = History.recall(h, k.toUpperCase() === "U", k === k.toLowerCase())
            got.push(r.text)
            h = r.history
        }
        compare(got, data.texts)
    }

    // Sending starts recalling from the newest again.
    function test_addResetsRecall() {
        var h = withEntries(["a", "b", "c"])
        h = History.recall(h, true, false).history
        h = History.recall(h, true, false).history
        h = History.add(h, "d")
        compare(History.recall(h, true, false).text, "d")
    }
}

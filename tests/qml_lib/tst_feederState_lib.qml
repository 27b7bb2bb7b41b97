import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/feederState.js" as FeederState

// What a run may write into a feeder record and the run-only state of the
// feeders, without the program: the checks of each field type and the
// identity of a feeder's run state until the table is cleared.
TestCase {
    name: "FeederStateLibrary"

    readonly property var types: ({ "caseCurrNumber": "int", "rot": "real", "vsCheck": "bool",
                                     "comment": "string", "camera2Photo": "image" })

    function test_strictBankOf_data() {
        return [
            { tag: "letter", model: "B", bank: "B" },
            { tag: "model name", model: "leftFeedersModel", bank: "L" },
            { tag: "unknown letter", model: "X", bank: "" },
        ]
    }
    function test_strictBankOf(data) {
        compare(FeederState.strictBankOf(data.model), data.bank)
    }

    function test_checkValue_data() {
        var notFinite = "не является конечным числом, значение не записано"
        return [
            { tag: "int from text", name: "caseCurrNumber", value: "12", ok: true, stored: 12 },
            { tag: "int fraction", name: "caseCurrNumber", value: 2.5, ok: false,
              error: "значение 2.5 поля «caseCurrNumber» не является целым числом, значение не записано" },
            { tag: "int bool", name: "caseCurrNumber", value: true, ok: false,
              error: "значение true поля «caseCurrNumber» " + notFinite },
            { tag: "real", name: "rot", value: -90.5, ok: true, stored: -90.5 },
            { tag: "real text", name: "rot", value: "1e999", ok: false,
              error: "значение \"1e999\" поля «rot» " + notFinite },
            { tag: "bool one", name: "vsCheck", value: 1, ok: true, stored: true },
            { tag: "bool text", name: "vsCheck", value: "true", ok: false,
              error: "значение \"true\" поля «vsCheck» не является логическим (да/нет), значение не записано" },
            { tag: "string from number", name: "comment", value: 5, ok: true, stored: "5" },
            { tag: "picture", name: "camera2Photo", value: "data:image/png;base64,AAAA", ok: true,
              stored: "data:image/png;base64,AAAA" },
            { tag: "run-only field", name: "centeringCurrCount", value: 1, ok: false,
              error: "поле «centeringCurrCount» не хранится в файле питателей, значение не записано" },
        ]
    }
    function test_checkValue(data) {
        var r = FeederState.checkValue(data.name, data.value, types)
        compare(r.ok, data.ok)
        if (data.ok)
            verify(r.value === data.stored, String(r.value))
        else
            compare(r.error, data.error)
    }

    function test_runStateIsOneObjectPerFeederUntilCleared() {
        var states = FeederState.createRunStates()
        var b0 = states.get("B", 0)
        b0.centeringCurrCount = 3
        b0.centeringResults.push({ "x": 0.1, "y": -0.2 })
        verify(states.get("B", 0) === b0)
        verify(states.get("bottomFeedersModel", "0") === b0)
        compare(states.get("B", 0).centeringCurrCount, 3)
        // Other feeders have their own.
        verify(states.get("B", 1) !== b0)
        verify(states.get("U", 0) !== b0)
        compare(states.get("U", 0).centeringResults.length, 0)
        compare(states.count(), 3)
        // A new run starts afresh; the old object is not reused.
        states.clear()
        compare(states.count(), 0)
        var again = states.get("B", 0)
        verify(again !== b0)
        compare(again.centeringCurrCount, 0)
        compare(again.centeringResults.length, 0)
    }
}

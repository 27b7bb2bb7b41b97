import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/deviceSettings.js" as Model
import "../../qml/main/lib/settingsKeys.js" as Keys

// The machine settings editor without its window: which keys it shows and
// leaves to other windows, and what an entry may be.
TestCase {
    name: "DeviceSettingsLibrary"

    function deviceKeys() {
        for (var g = 0; g < Keys.groups.length; ++g)
            if (Keys.groups[g].section === "device")
                return Keys.groups[g].names
        return []
    }

    // Every key shown is a stored, written machine setting, shown once,
    // and none of those another window edits.
    function test_shownKeys() {
        var device = deviceKeys()
        var seen = {}
        var all = Model.keys()
        for (var i = 0; i < all.length; ++i) {
            var e = all[i]
            verify(device.indexOf(e.name) >= 0, e.name + " is a machine setting")
            verify(Keys.isWritten(e.name), e.name + " is written back")
            verify(Model.ownedElsewhere.indexOf(e.name) < 0, e.name + " belongs to another window")
            verify(!seen[e.name], e.name + " shown once")
            seen[e.name] = true
        }
        for (var k = 0; k < Model.ownedElsewhere.length; ++k)
            verify(device.indexOf(Model.ownedElsewhere[k]) >= 0, Model.ownedElsewhere[k] + " is a machine setting")
    }

    // The engineer can reach every machine setting the program writes back:
    // each is shown here, edited in its own window, or acted on by nothing.
    function test_everyWrittenKeyHasAPlace() {
        var shown = Model.keys().map(function (e) { return e.name })
        var device = deviceKeys()
        for (var i = 0; i < device.length; ++i) {
            var name = device[i]
            if (!Keys.isWritten(name))
                continue
            var places = (shown.indexOf(name) >= 0 ? 1 : 0) + (Model.ownedElsewhere.indexOf(name) >= 0 ? 1 : 0)
                       + (Model.unused.indexOf(name) >= 0 ? 1 : 0)
            compare(places, 1, name + " has one place")
        }
    }

    function test_parse_data() {
        var out = "«Максимальная скорость при ручном перемещении по x,y»: допустимо от 100 до 4000"
        var nan = "«Рабочее поле по X, мм»: введите число"
        return [
            { tag: "decimal comma", key: "workAreaX2", input: " 420,5 ", value: 420.5 },
            { tag: "below", key: "maxVelXYLimit", input: "99.9", message: out },
            { tag: "above", key: "maxVelXYLimit", input: "4001", message: out },
            { tag: "empty", key: "workAreaX2", input: "", message: nan },
            { tag: "whole number", key: "calibThreshold1", input: "12.5",
              message: "«Порог распознавания знака 1»: нужно целое число" },
            { tag: "check box", key: "slowPlacement", input: false, value: false },
            { tag: "colour", key: "d1Color", input: " #12aBcD ", value: "#12aBcD" },
            { tag: "no colour", key: "d2Color", input: "blue", message: "«Цвет точек дозатора 2»: нужен цвет вида #RRGGBB" },
        ]
    }
    function test_parse(data) {
        var r = Model.parse(Model.entry(data.key), data.input)
        if (data.message !== undefined) {
            verify(!r.ok)
            compare(r.message, data.message)
        } else {
            verify(r.ok, r.message)
            compare(r.value, data.value)
        }
    }

    // One refused edit refuses the whole set; unknown keys are refused.
    function test_parseAll() {
        var good = Model.parseAll({ "workAreaX2": "300", "slowPlacement": true })
        verify(good.ok)
        compare(good.values.workAreaX2, 300)
        compare(good.values.slowPlacement, true)
        var bad = Model.parseAll({ "workAreaX2": "300", "maxVelZLimit": "5", "password": "x" })
        verify(!bad.ok)
        compare(Object.keys(bad.errors).sort(), ["maxVelZLimit", "password"])
    }
}

import QtQuick 2.15
import QtTest 1.2
import "../../../../qml/main/lib/deviceSettings.js" as Model

// The machine settings window in the real program: edits reach the main
// window, the settings store and the machine link only on "Сохранить", all
// or none; "Отмена" drops them.
TestCase {
    id: testCase
    name: "DeviceSettings"
    when: windowShown

    property var win: root.findToolWindow("deviceSettings")
    // The values the tests change, put back after each.
    readonly property var touched: ({ "workAreaX2": 500, "slowPlacement": true, "maxVelXYLimit": 500,
                                      "maxVelZLimit": 150 })

    SignalSpy { id: limitSpy; target: root; signalName: "maxVelLimitSend" }
    SignalSpy { id: saveSpy; target: root; signalName: "saveSetting" }

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function field(name) {
        var found = probe.find(win, "edit_" + name)
        verify(found !== null, "no editor for " + name)
        return found
    }
    function stored(name) { return probe.iniValue(settingsFile, "device/" + name) }

    function init() {
        for (var name in touched)
            root[name] = touched[name]
        root.closeAllToolWindows()
        verify(root.showToolWindow("deviceSettings"))
        win.groupIndex = 0
        limitSpy.clear()
        saveSpy.clear()
    }
    function cleanup() {
        root.closeAllToolWindows()
        for (var name in touched)
            root[name] = touched[name]
    }

    // Each editor suits its main window property.
    function test_editorsSuitTheProperties() {
        var types = { "bool": "boolean", "number": "number", "line": "string", "text": "string" }
        var all = Model.keys()
        for (var i = 0; i < all.length; ++i)
            compare(typeof root[all[i].name], types[Model.kind(all[i])], all[i].name)
    }

    function test_saveAppliesStoresAndTellsTheLink() {
        field("workAreaX2").text = "432,5"
        field("maxVelXYLimit").text = "1200"
        field("maxVelZLimit").text = "200"
        call(win, "edit", ["slowPlacement", false])
        // Nothing reaches the main window before "Сохранить".
        compare(root.workAreaX2, 500)
        verify(call(win, "save"))
        compare(root.workAreaX2, 432.5)
        compare(root.slowPlacement, false)
        compare(root.maxVelXYLimit, 1200)
        compare(root.maxVelZLimit, 200)
        var sent = limitSpy.signalArguments[limitSpy.count - 1]
        compare([sent[0], sent[1]], [200, 1200])
        compare(saveSpy.count, 4)
        tryVerify(function() { return Number(stored("workAreaX2")) === 432.5 }, 5000, "stored")
        compare(String(stored("slowPlacement")), "false")
        for (var name in touched)
            root.saveSetting("device", name)
    }

    // One refused entry, even in a group not shown, applies nothing of any
    // (every refused text: tst_deviceSettings_lib.qml, test_parse).
    function test_refusedEntryAppliesNothing() {
        field("workAreaX2").text = "300"
        field("maxVelZLimit").text = "5"
        call(win, "edit", ["slowPlacement", false])
        win.groupIndex = 3
        verify(!call(win, "save"))
        compare(root.workAreaX2, 500)
        compare(root.maxVelZLimit, 150)
        compare(root.slowPlacement, true)
        compare(saveSpy.count, 0)
        compare(limitSpy.count, 0)
        // Back on the refused setting's group, named in the message.
        compare(win.groupIndex, 0)
        compare(probe.find(win, "deviceSettingsStatus").text,
                "Не сохранено: «Максимальная скорость при ручном перемещении по z»: допустимо от 10 до 300")
        // Corrected, the same edits are saved.
        field("maxVelZLimit").text = "120"
        verify(call(win, "save"))
        compare(root.workAreaX2, 300)
        compare(root.maxVelZLimit, 120)
        for (var name in touched)
            root.saveSetting("device", name)
    }

    function test_cancelDropsTheEdits() {
        field("workAreaX2").text = "300"
        call(win, "cancel")
        verify(!win.visible)
        compare(root.workAreaX2, 500)
        compare(saveSpy.count, 0)
        root.showToolWindow("deviceSettings")
        compare(field("workAreaX2").text, "500")
    }
}

import QtQuick 2.15
import QtTest 1.2

// Renders the machine settings window on the simulated machine's settings:
// the first group with a refused entry after "Сохранить", the cameras and
// the G-code groups. In Russian and in English, into
// device-settings-<group>-<lang>.png in the current folder. Run by
// scripts/shoot-windows.sh.
TestCase {
    name: "DeviceSettingsShots"
    when: windowShown

    property var win: root.findToolWindow("deviceSettings")

    function shoot(lang, group, file) {
        root.lang = lang
        win.groupIndex = group
        wait(200)
        verify(probe.grabWindow(win, file), "written " + file)
    }

    function test_shots() {
        verify(root.showToolWindow("deviceSettings"))
        tryVerify(function() { return win.visible })
        var langs = ["ru", "en"]
        for (var i = 0; i < langs.length; ++i) {
            root.lang = langs[i]
            probe.call(win, "reset")
            probe.find(win, "edit_maxVelZLimit").text = "5"
            probe.call(win, "save")
            shoot(langs[i], 0, "device-settings-speeds-" + langs[i] + ".png")
            shoot(langs[i], 3, "device-settings-cameras-" + langs[i] + ".png")
            shoot(langs[i], 4, "device-settings-gcode-" + langs[i] + ".png")
        }
        probe.call(win, "cancel")
        root.lang = "ru"
    }
}

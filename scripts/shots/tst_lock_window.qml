import QtQuick 2.15
import QtTest 1.2

// Renders the settings password request, after a wrong entry, in Russian
// and in English, into lock-window-ru.png and lock-window-en.png in the
// current folder. Run by scripts/shoot-windows.sh.
TestCase {
    name: "LockWindowShots"
    when: windowShown

    function shoot(lang, file) {
        root.lang = lang
        var request = probe.find(root, "pwdRequest")
        verify(request !== null)
        root.openLocked("cameraSettings")
        tryVerify(function() { return probe.value(request, "visible") === true })
        probe.setValue(request, "entry", "12")
        probe.call(request, "next")
        wait(200)
        verify(probe.grabWindow(request, file), "written " + file)
        probe.setValue(request, "visible", false)
    }

    function test_shots() {
        root.password = "1234"
        shoot("ru", "lock-window-ru.png")
        shoot("en", "lock-window-en.png")
        root.lang = "ru"
        root.password = ""
    }
}

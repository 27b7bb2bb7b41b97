import QtQuick 2.15
import QtTest 1.2

// The instruments as the job's steps reach them through the job port: the
// RLC meter driven by the real meter worker over its emulator (opened, set
// up for a nominal, read), a meter that cannot be opened, and the
// programmer's verdict handed to the one listener waiting for it.
TestCase {
    id: testCase
    name: "JobInstruments"
    when: windowShown

    property var pickPort: root.jobPort.pickPort

    // The first answer recorded under `name`, once it came.
    function answer(name) {
        tryVerify(function() { return probe.hits(name) === 1 }, 15000, "no answer: " + name)
        return probe.recorded(name)[0][0]
    }

    function test_meterThatCannotBeOpened() {
        root.rlcPort = probe.tempPath() + "/no-such-port"
        probe.callRecording(pickPort, "rlcStart", ["@recorder"], "startFailed")
        var r = answer("startFailed")
        compare(r.ok, false)
        compare(String(r.message).indexOf("Ошибка открытия порта: "), 0)
        verify(!root.instruments.rlcRunning)
    }

    function test_meterOverItsEmulator() {
        var link = probe.startRlcEmulator("R,A,10000,3")
        verify(link !== "")
        root.rlcPort = link
        probe.callRecording(pickPort, "rlcStart", ["@recorder"], "start")
        compare(answer("start").ok, true)
        verify(root.instruments.rlcRunning)
        probe.callRecording(pickPort, "rlcSetNominal", ["R", 10000, "@recorder"], "setup")
        compare(answer("setup").ok, true)
        probe.callRecording(pickPort, "rlcMeasure", ["@recorder"], "measure")
        var r = answer("measure")
        compare(r.ok, true)
        compare(r.value, 10000)
        compare(r.text, "10.000kΩ")
    }

    function test_programmerVerdict() {
        probe.callRecording(pickPort, "programmerListen", ["@recorder"], "verdict")
        verify(root.programmerWaiting)
        verify(root.programmerResultGet("3"))
        compare(answer("verdict"), "3")
        // Nobody listens any more: a late verdict is not taken.
        probe.callRecording(pickPort, "programmerListen", ["@recorder"], "late")
        probe.call(pickPort, "programmerCancel", [])
        verify(!root.programmerWaiting)
        verify(!root.programmerResultGet("success"))
        compare(probe.hits("late"), 0)
    }
}

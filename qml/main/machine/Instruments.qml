import QtQuick 2.15

// The instruments as the QML side sees them: the vacuum sensor, the device
// programmer and the PWM vibration of the feeders. Holds their state, starts
// and stops them, and turns the back end's answers into the result signals
// of the main window that the waiting step or window listens to.
QtObject {
    id: instruments
    property var app

    // ---- vacuum sensor
    property bool vsStarting: false
    property bool vsRunning: false
    property real vsMeasureResult: 0
    property real vsMeasureTime: -1000000     // stamp of the last reading (forward-only clock, ms)
    property bool vsMeasureTimeFresh: false
    property string vsErrorText: ""
    // vsEnabled when the sensor was started: a reading after it was switched
    // off meanwhile stops the sensor.
    property bool vsEnabledAtStart: false

    function vsStart(fileName) {
        vsEnabledAtStart = app.vsEnabled
        vsStarting = true
        app.vsStartSend(fileName)
    }
    function vsStop() {
        app.vsStopSend()
        vsRunning = false
        vsStarting = false
    }
    function vsStartedGet() {
        vsStarting = false
        vsRunning = true
        vsErrorText = ""
        app.vsStartedSignal()
    }
    function vsStartFailedGet(message) {
        app.errorMessage(message, false, "")
        vsStarting = false
        vsRunning = false
        vsErrorText = String(message)
        app.vsStartFailedSignal(vsErrorText)
    }
    function vsMeasureGet(value, raw) {
        vsMeasureResult = Number(value)
        vsMeasureTime = Number(raw)
        if (vsEnabledAtStart && !app.vsEnabled && vsRunning)
            vsStop()     // switched off meanwhile
        app.vsMeasureSignal(vsMeasureResult)
    }
    // The reading kept when the machine link runs "(vsMeasureBeforeGet)"
    // (the pressure before a pick, for the difference check) and its stamp.
    property real vsMeasureBeforeGet: 0
    property real vsMeasureBeforeTime: -1000000
    function getVsMeasureBeforeGet() {
        vsMeasureBeforeGet = vsMeasureResult
        vsMeasureBeforeTime = vsMeasureTime
    }

    // While the job screen exists and the sensor runs, a reading is asked for
    // every 100 ms, every 20 ms in fast mode (set while the job judges a
    // placement or a pick by the pressure).
    property bool vsFastPolling: false
    readonly property bool vsPolling: vsRunning && !!app && !!app.smtInterface
    property Timer vsPollTimer: Timer {
        interval: instruments.vsFastPolling ? 20 : 100
        repeat: true
        running: instruments.vsPolling
        onTriggered: instruments.app.vsMeasure()
    }

    function vsMeasureFailedGet(message) {
        vsRunning = false
        vsStarting = false
        vsMeasureResult = 0
        vsErrorText = String(message)
        app.vsMeasureFailedSignal(vsErrorText)
    }

    // ---- RLC meter: open once it has answered a start
    property bool rlcRunning: false
    property Connections rlcWatch: Connections {
        target: instruments.app
        function onRlcStartedSignal() { instruments.rlcRunning = true }
        function onRlcStartFailedSignal(message) { instruments.rlcRunning = false }
    }

    // ---- vibration feeders and blow-off (what the machine configuration has)
    property bool pwmEnabled: false
    property bool blowEnabled: false
    property bool pwmVibrating: false
    property bool pwmVibroDone: true

    function startPWMVibro(freq, dutyCycle, length) {
        if (pwmVibrating)
            return false
        pwmVibroDone = false
        pwmVibrating = true
        app.startPWMVibroSend(freq, dutyCycle, length)
        return true
    }
    function pwmVibroDoneGet() {
        pwmVibroDone = true
        pwmVibrating = false
        app.pwmVibroDoneSignal()
    }

    // ---- device programmer
    property int programmerDout: 10
    property bool programmerWaiting: false    // a programming step or a manual test awaits a result
    property string programmerResult: ""

    // Starts waiting for a programmer verdict; the next result is taken.
    function programmerStartWaiting(waiting) {
        programmerResult = ""
        programmerWaiting = waiting === true
    }
    function programmerResultGet(result) {
        if (!programmerWaiting || programmerResult !== "")
            return false
        programmerResult = String(result)
        programmerWaiting = false
        app.programmerResultSignal(programmerResult)
        return true
    }
}

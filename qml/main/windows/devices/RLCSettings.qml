import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../../elements"

// The RLC meter: its port, the measuring point, and a test measurement set
// up by hand (frequency, circuit) or by an expected value.
BaseWindow {
    id: window
    objectName: "rlcSettings"
    property var app

    title: app.t + qsTr("Настройки измерителя RLC")
    width: 640
    height: 470

    // The test: type 0 R, 1 L, 2 C; manual set-up or by expected value.
    property int testType: 0
    property bool manual: true
    property bool freqLow: false
    property bool parallel: false
    property real expectedValue: 10
    property int expectedUnit: 1
    property bool measuring: false
    property int readingsLeft: 0
    property string resultText: ""

    readonly property var typeLetters: ["R", "L", "C"]
    readonly property var unitNames: [["Ω", "kΩ", "MΩ"], ["μH", "mH", "H"], ["pF", "nF", "μF"]]
    readonly property var unitScales: [[1, 1000, 1000000], [0.000001, 0.001, 1], [1e-12, 1e-9, 1e-6]]

    function setDevice(name, value) {
        app[name] = value
        app.saveSetting("device", name)
    }
    // The expected value in base units (ohm, henry, farad).
    function expectedBase() {
        return expectedValue * unitScales[testType][expectedUnit]
    }
    function measure() {
        resultText = ""
        measuring = true
        app.rlcStart(app.rlcPort !== "" ? app.rlcPort : "/dev/ttyS0")
    }
    function fail(text) {
        measuring = false
        resultText = text
    }

    Connections {
        target: app
        enabled: window.measuring
        function onRlcStartedSignal() {
            if (window.manual)
                app.rlcSetup(window.typeLetters[window.testType], window.freqLow,
                             window.testType === 0 ? false : window.parallel)
            else
                app.rlcSetupValueSend(window.typeLetters[window.testType], window.expectedBase())
        }
        function onRlcStartFailedSignal(message) {
            window.fail(app.t + qsTr("Ошибка настройки измерителя! ") + message)
        }
        function onRlcSetupFailedSignal(message) {
            window.fail(app.t + qsTr("Ошибка настройки измерителя! ") + message)
        }
        function onRlcSetupFinishedSignal() {
            // The first reading after a set-up is discarded.
            window.readingsLeft = 2
            app.rlcMeasure()
        }
        function onRlcMeasureSignal(type, value, strValue) {
            window.readingsLeft -= 1
            if (window.readingsLeft > 0) {
                app.rlcMeasure()
                return
            }
            window.measuring = false
            window.resultText = app.t + qsTr("Результат измерения: ") + strValue
        }
        function onRlcMeasureFailedSignal(message) {
            window.fail(app.t + qsTr("Ошибка измерения! ") + message)
        }
    }

    onVisibleChanged: if (visible) worker.serialPortInfoGet()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        CheckBox {
            objectName: "rlcEnabledBox"
            text: app.t + qsTr("Использовать измеритель")
            checked: app.rlcEnabled
            onClicked: window.setDevice("rlcEnabled", checked)
        }
        RowLayout {
            Label { color: "white"; text: app.t + qsTr("Порт:") }
            SerialPortChooser {
                app: window.app
                Layout.fillWidth: true
                port: app.rlcPort !== "" ? app.rlcPort : "/dev/ttyS0"
                onChosen: window.setDevice("rlcPort", port)
            }
        }
        GridLayout {
            columns: 2
            Label { color: "white"; text: app.t + qsTr("Точка измерения X, мм:") }
            SpinBox {
                decimals: 3
                minimumValue: app.workAreaX1
                maximumValue: app.workAreaX2
                value: app.rlcX
                onEditingFinished: window.setDevice("rlcX", value)
            }
            Label { color: "white"; text: app.t + qsTr("Точка измерения Y, мм:") }
            SpinBox {
                decimals: 3
                minimumValue: app.workAreaY1
                maximumValue: app.workAreaY2
                value: app.rlcY
                onEditingFinished: window.setDevice("rlcY", value)
            }
            Label { color: "white"; text: app.t + qsTr("Высота точки измерения над платформой, мм:") }
            SpinBox {
                decimals: 3
                minimumValue: -500
                maximumValue: 500
                value: app.rlcZ
                onEditingFinished: window.setDevice("rlcZ", value)
            }
        }

        Label { color: "white"; font.bold: true; text: app.t + qsTr("Проверка") }
        RowLayout {
            ExclusiveGroup { id: typeGroup }
            Repeater {
                model: 3
                RadioButton {
                    text: window.typeLetters[index]
                    exclusiveGroup: typeGroup
                    checked: window.testType === index
                    onClicked: window.testType = index
                }
            }
        }
        RowLayout {
            ExclusiveGroup { id: modeGroup }
            RadioButton {
                text: app.t + qsTr("Ручная настройка")
                exclusiveGroup: modeGroup
                checked: window.manual
                onClicked: window.manual = true
            }
            RadioButton {
                text: app.t + qsTr("По ожидаемому значению")
                exclusiveGroup: modeGroup
                checked: !window.manual
                onClicked: window.manual = false
            }
        }
        RowLayout {
            visible: window.manual
            ComboBox {
                model: ["1KHz", "120Hz"]
                currentIndex: window.freqLow ? 1 : 0
                onActivated: window.freqLow = index === 1
            }
            ComboBox {
                enabled: window.testType !== 0
                implicitWidth: 200
                model: [app.t + qsTr("Последовательная"), app.t + qsTr("Параллельная")]
                currentIndex: window.parallel ? 1 : 0
                onActivated: window.parallel = index === 1
            }
        }
        RowLayout {
            visible: !window.manual
            SpinBox {
                decimals: 3
                minimumValue: 0.001
                maximumValue: 999999
                value: window.expectedValue
                onEditingFinished: window.expectedValue = value
            }
            ComboBox {
                model: window.unitNames[window.testType]
                currentIndex: window.expectedUnit
                onActivated: window.expectedUnit = index
            }
        }
        RowLayout {
            Button {
                objectName: "rlcMeasureButton"
                text: app.t + qsTr("Измерить")
                enabled: !window.measuring
                onClicked: window.measure()
            }
            Label {
                objectName: "rlcResult"
                color: "white"
                text: window.resultText
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
        }
        Item { Layout.fillHeight: true }
    }

    Component.onCompleted: app.toolWindows.register("rlcSettings", window)
}

import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import "../../elements"
import "../lib/addComponent.js" as AddComponent

// A component added at a point of the board view (double-click): the
// operator picks the feeder (bank and number, of the enabled banks), the
// designator and the rotation, and may correct the point (machine X, Y).
// "Добавить" creates the component from its feeder as the board view does
// for every component taken from a feeder, centred on the point.
BaseWindow {
    id: window
    objectName: "addNewElement"
    property var app

    title: app.t + qsTr("Добавить компонент")
    width: 420
    height: 300
    minimumWidth: 380
    minimumHeight: 280

    // The banks offered ([{ model, count }]), chosen when the window opens.
    property var choices: []
    // Why the last "Добавить" created nothing; empty when it did.
    property string message: ""

    readonly property var chosenBank: bankBox.currentIndex >= 0 && bankBox.currentIndex < choices.length
                                      ? choices[bankBox.currentIndex] : null
    // The chosen feeder's entry, or null; read again whenever the choice
    // changes.
    property var chosenFeeder: null
    function readFeeder() {
        var bank = chosenBank
        chosenFeeder = bank ? app.getFeeder(bank.model, numberBox.value - 1) : null
    }

    function bankState() {
        var banks = {}
        for (var i = 0; i < AddComponent.BANK_ORDER.length; ++i) {
            var b = AddComponent.BANK_ORDER[i]
            banks[b] = { "enabled": app["feederEnabled" + b] === true, "count": app.feedersInvoker.modelOf(b).count }
        }
        return banks
    }
    function env() {
        return { "workAreaX1": app.workAreaX1, "workAreaX2": app.workAreaX2, "workAreaY1": app.workAreaY1,
                 "workAreaY2": app.workAreaY2, "banks": bankState() }
    }

    // Opens the window for the machine point (x, y). The feeder and the
    // rotation are those of the last component added from a feeder, when
    // that feeder is still offered.
    function openAt(x, y) {
        choices = AddComponent.bankChoices(bankState())
        var last = app.area.lastFeeder
        var bank = 0, number = 1
        for (var i = 0; last && !last.dispenser && i < choices.length; ++i) {
            if (choices[i].model === last.model && last.index < choices[i].count) {
                bank = i
                number = last.index + 1
            }
        }
        bankBox.currentIndex = choices.length > 0 ? bank : -1
        numberBox.value = number
        xField.text = Number(x).toFixed(3)
        yField.text = Number(y).toFixed(3)
        angleField.text = String(app.area.lastRotation)
        designatorField.text = ""
        message = ""
        readFeeder()
        bringToFront()
    }

    function errorText(error) {
        switch (error) {
        case "coordinates": return app.t + qsTr("Координаты X и Y должны быть числами")
        case "outside": return app.t + qsTr("Точка лежит вне рабочей области станка")
        case "noFeeder": return app.t + qsTr("Не выбран питатель")
        case "dispenser": return app.t + qsTr("Выбранный питатель — дозатор, компонент из него не добавить")
        case "noPackage": return app.t + qsTr("В питателе не задан корпус компонента")
        case "rotation": return app.t + qsTr("Поворот должен быть числом")
        }
        return app.t + qsTr("Компонент не добавлен, причина в списке ошибок")
    }

    // "Добавить": the component, or null with the reason shown.
    function add() {
        var bank = chosenBank
        var model = bank ? bank.model : ""
        var index = numberBox.value - 1
        var r = AddComponent.componentAt({ "model": model, "index": index, "designator": designatorField.text,
                                           "angle": angleField.text, "x": xField.text, "y": yField.text },
                                         bank ? app.getFeeder(model, index) : null, env())
        if (r.error !== "") {
            message = errorText(r.error)
            return null
        }
        var el = app.area.createElementFromFeeder(r.model, r.index, r.rX, r.rY, r.angle, 0, r.designator, -1, -1)
        if (!el) {
            message = errorText("")
            return null
        }
        app.area.componentAdded(r.model, r.index, el)
        message = ""
        close()
        return el
    }

    onVisibleChanged: {
        if (!visible && app.saveWindowsPos)
            app.addNewElementPos = Qt.vector4d(x, y, width, height)
    }
    Component.onCompleted: {
        var p = app.addNewElementPos
        if (app.saveWindowsPos && p.z > 0 && p.w > 0) {
            x = p.x
            y = p.y
        }
        app.toolWindows.register("addNewElement", window)
    }

    GridLayout {
        anchors.fill: parent
        anchors.margins: 10
        columns: 2
        rowSpacing: 6

        Text { color: "white"; text: app.t + qsTr("Питатель") }
        RowLayout {
            Layout.fillWidth: true
            ComboBox {
                id: bankBox
                objectName: "bankBox"
                Layout.fillWidth: true
                model: window.choices.map(function(c) { return window.app.feederBanks.sideName(c.model) })
                onCurrentIndexChanged: window.readFeeder()
            }
            Text { color: "white"; text: "№" }
            SpinBox {
                id: numberBox
                objectName: "feederNumber"
                minimumValue: 1
                maximumValue: window.chosenBank ? window.chosenBank.count : 1
                enabled: window.chosenBank !== null
                onValueChanged: window.readFeeder()
            }
        }
        Item { width: 1; height: 1 }
        Text {
            objectName: "feederInfo"
            Layout.fillWidth: true
            color: "#B0BEC5"
            elide: Text.ElideRight
            text: {
                var f = window.chosenFeeder
                if (!window.chosenBank)
                    return app.t + qsTr("Нет включенных банков с питателями")
                if (!f || !(f.packageIndex >= 0))
                    return app.t + qsTr("Питатель не настроен")
                return app.t + qsTr("Корпус") + ": " + f.pack + "   " + app.t + qsTr("Номинал") + ": " + f.partNumber
            }
        }
        Text { color: "white"; text: app.t + qsTr("Обозначение") }
        TextField { id: designatorField; objectName: "designator"; Layout.fillWidth: true }
        Text { color: "white"; text: app.t + qsTr("Поворот, °") }
        TextField { id: angleField; objectName: "angle"; Layout.fillWidth: true }
        Text { color: "white"; text: "X, " + app.t + qsTr("мм") }
        TextField { id: xField; objectName: "pointX"; Layout.fillWidth: true }
        Text { color: "white"; text: "Y, " + app.t + qsTr("мм") }
        TextField { id: yField; objectName: "pointY"; Layout.fillWidth: true }
        Text {
            objectName: "message"
            Layout.columnSpan: 2
            Layout.fillWidth: true
            color: "#FF5252"
            wrapMode: Text.WordWrap
            text: window.message
        }
        Item { Layout.columnSpan: 2; Layout.fillHeight: true }
        RowLayout {
            Layout.columnSpan: 2
            Layout.alignment: Qt.AlignRight
            Button { objectName: "addButton"; text: app.t + qsTr("Добавить"); onClicked: window.add() }
            Button { objectName: "cancelButton"; text: app.t + qsTr("Отмена"); onClicked: window.close() }
        }
    }
}

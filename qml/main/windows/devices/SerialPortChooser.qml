import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15

// A serial port: typed by hand or chosen from the ports the system lists.
// The stored port is always offered, even when it is not listed (a
// pseudo-terminal, a port that is unplugged right now).
RowLayout {
    id: chooser
    property var app
    property string port: ""
    signal chosen(string port)

    function choices() {
        var list = app.serialPortList ? app.serialPortList.slice() : []
        if (port !== "" && list.indexOf(port) < 0)
            list.unshift(port)
        return list
    }

    ComboBox {
        id: box
        objectName: "portBox"
        Layout.fillWidth: true
        editable: true
        model: chooser.choices()
        currentIndex: model.indexOf(chooser.port)
        onAccepted: if (editText !== "" && editText !== chooser.port) chooser.chosen(editText)
        onActivated: if (textAt(index) !== chooser.port) chooser.chosen(textAt(index))
    }
    Button {
        text: app.t + qsTr("Обновить")
        onClicked: worker.serialPortInfoGet()
    }
}

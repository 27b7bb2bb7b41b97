import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4

// A radio button of the dark tool windows: its text light, so that it reads
// on the window's background (grey while the button is disabled).
RadioButton {
    style: RadioButtonStyle {
        label: Text {
            color: control.enabled ? "white" : "#8a9296"
            text: control.text
        }
    }
}

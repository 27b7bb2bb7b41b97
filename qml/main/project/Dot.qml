import QtQuick 2.15

// One solder dot of the project, centred at its design position.
Item {
    id: dot
    property var app
    property real areaScale: 1

    property string model: "L"
    property int index: 0
    property real rX: 0
    property real rY: 0
    property int disabled: 0
    property int preferredRef1: -1
    property int preferredRef2: -1
    property bool deleted: false
    property bool selected: false
    // The point lies outside the board area.
    property bool outOfBounds: false
    property var previews: []
    // Drawn size, mm.
    property real dotSize: 0.5

    width: Math.max(4, dotSize * areaScale)
    height: width
    x: rX * areaScale - width / 2
    y: rY * areaScale - height / 2
    visible: !deleted

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: dot.selected ? (app ? app.elementSelColor : "red") : (app ? app.d1Color : "yellow")
        opacity: dot.disabled !== 0 ? 0.4 : 1
    }
}

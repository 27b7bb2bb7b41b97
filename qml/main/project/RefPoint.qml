import QtQuick 2.15

// One reference mark of the project, centred at its design position.
Item {
    id: ref
    property var app
    property real areaScale: 1

    property int refId: -1
    property real rX: 0
    property real rY: 0
    property int disabled: 0
    property bool indiv: false
    property int type: 0          // 0 circle, 1 rectangle
    property real size: 1         // diameter or X size, mm
    property real size2: 1        // Y size of a rectangle, mm
    property bool inv: false
    property int roi: 50
    property int templateMathCoeff: 80
    property int t1: 150
    property int t2: 100
    property var photo: ""
    property bool deleted: false
    property bool selected: false
    // The point lies outside the board area.
    property bool outOfBounds: false
    property var previews: []
    readonly property real rotRX: rX - size / 2
    readonly property real rotRY: rY - (type === 1 ? size2 : size) / 2
    readonly property real rotWidth: size
    readonly property real rotHeight: type === 1 ? size2 : size

    width: Math.max(6, size * areaScale)
    height: Math.max(6, (type === 1 ? size2 : size) * areaScale)
    x: rX * areaScale - width / 2
    y: rY * areaScale - height / 2
    visible: !deleted

    Rectangle {
        anchors.fill: parent
        radius: ref.type === 0 ? width / 2 : 0
        color: "transparent"
        border.width: 2
        border.color: ref.selected ? (app ? app.elementSelColor : "red")
                                   : (app ? app.refPointColor : "black")
        opacity: ref.disabled !== 0 ? 0.4 : 1
    }
}

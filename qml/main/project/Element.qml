import QtQuick 2.15

// One component of the project, drawn on the board view at its design
// position (corner rX, rY; turned by rot about its centre).
Item {
    id: el
    property var app
    property real areaScale: 1

    property string pack: ""
    property string elementPath: ""
    property string partNumber: ""
    property string model: "L"
    property int index: -1
    property real rX: 0
    property real rY: 0
    property real rot: 0
    property int disabled: 0
    property string designator: ""
    property int preferredRef1: -1
    property int preferredRef2: -1
    property var elPhoto: ""
    property real elWidth: 1
    property real elHeight: 1
    property real elThickness: 1
    property bool overlap: false
    // A placement of the component lies outside the board area.
    property bool outOfBounds: false
    property bool deleted: false
    property bool feederMatches: false
    property bool selected: false
    // Placements of the component on every board of a panel.
    property var previews: []
    readonly property real rotWidth: elHeight * Math.abs(Math.sin(rot * Math.PI / 180))
                                     + elWidth * Math.abs(Math.cos(rot * Math.PI / 180))
    readonly property real rotHeight: elHeight * Math.abs(Math.cos(rot * Math.PI / 180))
                                      + elWidth * Math.abs(Math.sin(rot * Math.PI / 180))

    x: rX * areaScale
    y: rY * areaScale
    width: Math.max(1, elWidth * areaScale)
    height: Math.max(1, elHeight * areaScale)
    rotation: rot
    visible: !deleted
    opacity: app ? app.elementOpacity : 1

    Image {
        anchors.fill: parent
        source: el.elementPath
        asynchronous: true
        fillMode: Image.Stretch
        smooth: false
        opacity: el.disabled !== 0 ? 0.35 : 1
    }
    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.width: el.overlap || el.selected || !el.feederMatches || el.outOfBounds ? 1 : 0
        border.color: el.selected ? (app ? app.elementSelColor : "red")
                                  : el.overlap ? (app ? app.borderColor : "red") : "#FFB300"
    }
}

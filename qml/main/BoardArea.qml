import QtQuick 2.15
import CustomComponents 1.0

// The board area of the start screen: grid, board outline, components,
// reference marks and dots of the open project.
Rectangle {
    id: area
    property var app
    property real pcbX: 0
    property real pcbY: 0
    property real pcbAnchorX: 0
    property real pcbAnchorY: 0
    property real pcbRotation: 0
    // Pixels per millimetre of the view.
    property real viewScale: 3

    color: "#37474F"
    clip: true

    Grid {
        anchors.fill: parent
        color: "#455A64"
        gridStep: 10 * area.viewScale
    }

    Rectangle {
        id: board
        objectName: "board"
        x: 20 + area.pcbX * area.viewScale
        y: 20 + area.pcbY * area.viewScale
        width: app.boardWidth * area.viewScale
        height: app.boardHeight * area.viewScale
        color: "#2E7D32"
        border.color: app.borderColor
        transform: Rotation {
            origin.x: area.pcbAnchorX * area.viewScale
            origin.y: area.pcbAnchorY * area.viewScale
            angle: -area.pcbRotation
        }

        Repeater {
            objectName: "elementView"
            model: app.elementList
            Rectangle {
                x: model.x * area.viewScale - 2
                y: board.height - model.y * area.viewScale - 2
                width: 4
                height: 4
                color: model.disabled ? "grey" : "white"
            }
        }
        Repeater {
            model: app.refList
            Image {
                x: model.x * area.viewScale - width / 2
                y: board.height - model.y * area.viewScale - height / 2
                width: 16
                height: 16
                source: "image://colors/" + app.refPointColor + "-" + (model.type === 0 ? "0" : "1")
            }
        }
        Repeater {
            model: app.dotList
            Rectangle {
                x: model.x * area.viewScale - 2
                y: board.height - model.y * area.viewScale - 2
                width: 4
                height: 4
                radius: 2
                color: app.d1Color
            }
        }
    }

    // A component read from the project.
    function createElement(elementPath, partNumber, model, index, x, y, angle, disabled, designator,
                           preferredRef1, preferredRef2, elPhoto) {
        app.elementList.append({ "elementPath": String(elementPath), "partNumber": String(partNumber),
                                 "model": String(model), "index": Number(index),
                                 "x": Number(x), "y": Number(y), "angle": Number(angle),
                                 "disabled": disabled === true, "designator": String(designator),
                                 "preferredRef1": Number(preferredRef1), "preferredRef2": Number(preferredRef2),
                                 "elPhoto": String(elPhoto) })
    }
    // A reference mark read from the project.
    function setRefPointFull(x, y, disabled, indiv, type, size, size2, inv, roi, templateMathCoeff, t1, t2, photo, id) {
        app.refList.append({ "x": Number(x), "y": Number(y), "disabled": disabled === true,
                             "indiv": indiv === true, "type": Number(type), "size": Number(size),
                             "size2": Number(size2), "inv": inv === true, "roi": Number(roi),
                             "templateMathCoeff": Number(templateMathCoeff), "t1": Number(t1),
                             "t2": Number(t2), "photo": String(photo), "refId": Number(id) })
    }
    // A solder dot read from the project.
    function setDot(model, index, x, y, disabled, preferredRef1, preferredRef2) {
        app.dotList.append({ "model": String(model), "index": Number(index), "x": Number(x), "y": Number(y),
                             "disabled": disabled === true, "preferredRef1": Number(preferredRef1),
                             "preferredRef2": Number(preferredRef2) })
    }
    function pcbSetXY(newX, newY) {
        pcbX = Number(newX)
        pcbY = Number(newY)
    }
    function pcbSetRotation(anchorX, anchorY, rotation) {
        pcbAnchorX = Number(anchorX)
        pcbAnchorY = Number(anchorY)
        pcbRotation = Number(rotation)
    }
}

import QtQuick 2.15
import "../lib/simulatedWorld.js" as World

// Hands the open project's board and the calibration marks to the simulated
// head camera (root signal simWorldSend), whenever the project, the board,
// the panel, the marks' settings, the calibration marks or the camera offset
// change, and each time the head camera starts capturing (marks may have been
// moved on the board since). Without a project the board is taken away and
// the simulated camera shows its calibration plate. The feeders of the
// enabled banks go with it in any case (their pockets hold the parts the
// simulated nozzle picks), again whenever a bank, a nozzle or a tape bank
// changes. The component camera draws the held part at the component
// camera's calibrated scale (camera2MM).
Item {
    id: link
    property var app
    property var camera

    function hasProject() {
        return String(app.projectName) !== "" || app.refCount > 0 || app.elementCount > 0 || app.dotCount > 0
    }

    function live(list) {
        var out = []
        for (var i = 0; i < list.length; ++i)
            if (!list[i].deleted)
                out.push(list[i])
        return out
    }

    function dotSize(dot) {
        var f = Number(dot.index) >= 0 ? app.getFeeder(String(dot.model), Number(dot.index)) : null
        return f && Number(f.dotSize) > 0 ? Number(f.dotSize) : Number(dot.dotSize)
    }

    function input() {
        var free = []
        var m = app.pcbMultiNonstandartModel
        for (var i = 0; i < m.count; ++i) {
            var e = m.get(i)
            free.push({ "x": Number(e.x), "y": Number(e.y), "rot": Number(e.rot) })
        }
        var refs = live(app.refList).map(function(r) {
            return { "rX": r.rX, "rY": r.rY, "indiv": r.indiv, "type": r.type, "size": r.size, "size2": r.size2 }
        })
        var dots = live(app.dotList).map(function(d) { return { "rX": d.rX, "rY": d.rY, "size": dotSize(d) } })
        return {
            "workAreaX1": app.workAreaX1, "workAreaY2": app.workAreaY2,
            "cameraShift": [Number(app.camera1XShift), Number(app.camera1YShift)],
            "board": { "x": app.pcbX, "y": app.pcbY, "width": app.pcbWidth, "height": app.pcbHeight,
                       "anchorX": app.pcbAnchorX, "anchorY": app.pcbAnchorY, "rotation": app.pcbRotation },
            "panel": { "pcbMulti": app.pcbMulti, "pcbMultiNonstandart": app.pcbMultiNonstandart,
                       "pcbMultiCountX": app.pcbMultiCountX, "pcbMultiCountY": app.pcbMultiCountY,
                       "pcbMultiSpacingX": app.pcbMultiSpacingX, "pcbMultiSpacingY": app.pcbMultiSpacingY,
                       "free": free, "freeCount": free.length, "Y2": app.workAreaY2, "bX1": app.boardX1,
                       "bY1": app.boardY1, "fX": app.firstPcbX, "fY": app.firstPcbY },
            "refMode": app.refMode,
            "refs": refs,
            "refDefaults": { "type": app.pcbRefPointType, "size": app.pcbRefPointSize, "size2": app.pcbRefPointSize2 },
            "dots": dots,
            "calib": { "x": app.calibX, "y": app.calibY, "second": app.calib2Enabled, "x2": app.calibX2,
                       "y2": app.calibY2, "type": app.calibRefPointType, "size": app.calibRefPointSize,
                       "size2": app.calibRefPointSize2 }
        }
    }

    function records(model) {
        var out = []
        if (!model || model.enabled === false)
            return out
        for (var i = 0; i < model.count; ++i)
            out.push(model.get(i))
        return out
    }

    function feederInput() {
        return {
            "banks": [{ "letter": "L", "feeders": records(app.leftFeedersModel) },
                      { "letter": "R", "feeders": records(app.rightFeedersModel) },
                      { "letter": "U", "feeders": records(app.upFeedersModel) },
                      { "letter": "B", "feeders": records(app.bottomFeedersModel) }],
            "bandBanks": records(app.bandBankModel),
            "cups": records(app.cupModel)
        }
    }

    // Sends the world now (only the feeders without a project).
    function send() {
        var world = hasProject() ? World.build(input()) : {}
        world.feeders = World.feeders(feederInput())
        var scale = World.componentScale(app.camera2MM)
        if (scale !== null)
            world.componentScale = scale
        app.simWorldSend(world)
    }

    // A change in any feeder, nozzle or tape bank record.
    Repeater {
        model: [app.leftFeedersModel, app.rightFeedersModel, app.upFeedersModel, app.bottomFeedersModel,
                app.bandBankModel, app.cupModel]
        delegate: Item {
            Connections {
                target: modelData
                function onDataChanged() { Qt.callLater(link.send) }
                function onRowsInserted() { Qt.callLater(link.send) }
                function onRowsRemoved() { Qt.callLater(link.send) }
                function onModelReset() { Qt.callLater(link.send) }
            }
        }
    }

    // Everything the world is made of; a change sends it again (once per
    // turn of the event loop, however many values changed).
    readonly property var watched: [
        app.projectName, app.refCount, app.elementCount, app.dotCount,
        app.pcbX, app.pcbY, app.pcbWidth, app.pcbHeight, app.pcbAnchorX, app.pcbAnchorY, app.pcbRotation,
        app.pcbMulti, app.pcbMultiNonstandart, app.pcbMultiCountX, app.pcbMultiCountY,
        app.pcbMultiSpacingX, app.pcbMultiSpacingY, app.pcbMultiNonstandartModel.count, app.firstPcbX, app.firstPcbY,
        app.refMode, app.pcbRefPointType, app.pcbRefPointSize, app.pcbRefPointSize2,
        app.workAreaX1, app.workAreaY2, app.boardX1, app.boardY1,
        app.calibX, app.calibY, app.calibX2, app.calibY2, app.calib2Enabled,
        app.calibRefPointType, app.calibRefPointSize, app.calibRefPointSize2,
        app.camera1XShift, app.camera1YShift, app.camera2MM,
        app.feederEnabledL, app.feederEnabledR, app.feederEnabledU, app.feederEnabledB,
        camera ? camera.capture : false
    ]
    onWatchedChanged: Qt.callLater(link.send)
}

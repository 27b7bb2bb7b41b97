import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15

// Lens calibration of one camera: nine views of the circle-grid pattern,
// the result stored in the settings, and the switch that undistorts frames.
RowLayout {
    id: panel
    property var app
    property var camera
    // "camera1" or "camera2": the prefix of the settings of this camera.
    property string prefix
    // The mode the camera had before the calibration started.
    property string modeBefore: ""
    spacing: 6

    function modeOf(calMode) {
        return calMode === 1 ? "calib1" : calMode === 2 ? "calib2" : modeBefore
    }
    function start() {
        modeBefore = camera.mode.indexOf("calib") === 0 ? "" : camera.mode
        camera.calMode = 1
    }
    function capture() { if (camera.calMode === 1) camera.calMode = 2 }
    function stop() { camera.calMode = 0 }
    function setUndistort(enabled) {
        app[prefix + "CalibrationEnabled"] = enabled && camera.calibrationIsAccepted
        app.saveSetting("device", prefix + "CalibrationEnabled")
    }

    Button {
        objectName: panel.prefix + "LensCalibrationButton"
        text: camera.calMode === 0 ? app.t + qsTr("Калибровка оптики камеры") : app.t + qsTr("Остановить калибровку")
        enabled: camera.opened || camera.calMode !== 0
        onClicked: camera.calMode === 0 ? panel.start() : panel.stop()
    }
    Button {
        objectName: panel.prefix + "LensPhotoButton"
        text: app.t + qsTr("Сделать фото")
        enabled: camera.calMode === 1
        onClicked: panel.capture()
    }
    Rectangle {
        id: flash
        implicitWidth: frames.implicitWidth + 8
        implicitHeight: frames.implicitHeight + 4
        color: "transparent"
        Label {
            id: frames
            anchors.centerIn: parent
            color: flash.color === "#ffffff" ? "black" : "white"
            text: app.t + qsTr("Кадров: ") + camera.calFramesCaptured + app.t + qsTr(" из 9.")
        }
        Timer { id: flashTimer; interval: 300; onTriggered: flash.color = "transparent" }
    }
    CheckBox {
        objectName: panel.prefix + "UndistortBox"
        text: app.t + qsTr("Применить калибровку оптики")
        enabled: camera.calibrationIsAccepted
        checked: app[panel.prefix + "CalibrationEnabled"] === true
        onClicked: panel.setUndistort(checked)
    }

    Connections {
        target: panel.camera
        function onCalModeChanged() { panel.camera.mode = panel.modeOf(panel.camera.calMode) }
        function onBlink() {
            flash.color = "#ffffff"
            flashTimer.restart()
        }
        function onSaveCameraCalibration(cameraMatrix, distCoeffs) {
            panel.app[panel.prefix + "CameraMatrix"] = cameraMatrix
            panel.app[panel.prefix + "DistCoeffs"] = distCoeffs
            panel.app.saveSetting("device", panel.prefix + "CameraMatrix")
            panel.app.saveSetting("device", panel.prefix + "DistCoeffs")
            panel.app.logAdd(panel.app.t + qsTr("Калибровка оптики камеры сохранена"))
        }
        function onCalibrationIsAcceptedChanged() {
            if (!panel.camera.calibrationIsAccepted && panel.app[panel.prefix + "CalibrationEnabled"])
                panel.setUndistort(false)
        }
    }
}

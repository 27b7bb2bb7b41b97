.pragma library
// Individual settings by group of the settings store. Each name is also a
// property of the main window holding the current value; the property's
// initial value is the default used when the store has no value.

var groups = [
    { section: "project", names: [
        "boardHeight", "boardScanRoi", "boardWidth", "finalSoundEnabled",
        "projectAutosave", "projectAutosaveInterval", "projectName", "showFeederOfSelectedElement",
        "softwareRendering", "tallHorFeeders"
    ] },
    { section: "device", names: [
        "afterCalibGcode", "allowBoardOut", "allowCustomPlaceGCode", "allowOutOfBoard",
        "allowRunWithoutFiducials", "autoCalibOnStart", "autoSwithToSimilarFeeders", "autoSwithToSimilarFeedersWhenPlacerEmpty",
        "bandACCamera1Y1", "bandACCamera1Y2", "bandFeederAutoCenterPrevPerf", "basketGcode",
        "blowDelay", "boardMaxHeight", "boardMaxWidth", "boardX1",
        "boardY1", "calib2Enabled", "calib2Gcode", "calibCameraInverse",
        "calibEnabled", "calibGcode", "calibHeight", "calibRefPointSize",
        "calibRefPointSize2", "calibRefPointType", "calibROIPercent", "calibThreshold1",
        "calibThreshold2", "calibX", "calibX2", "calibY",
        "calibY2", "camera1AutoShow", "camera1CalibrationEnabled", "camera1CameraMatrix",
        "camera1Cross", "camera1Delay", "camera1Delay2", "camera1DelayAoi",
        "camera1DistCoeffs", "camera1ElOpacity", "camera1Exposure", "camera1Height",
        "camera1MM", "camera1Mode", "camera1Name", "camera1ShowPercent",
        "camera1ViewType", "camera1XShift", "camera1YShift", "camera2Angle",
        "camera2AutoShow", "camera2CalibrationEnabled", "camera2CameraMatrix", "camera2CheckSize",
        "camera2Cross", "camera2Delay", "camera2DistCoeffs", "camera2Exposure",
        "camera2Height", "camera2MaxElementSize", "camera2MinHeight", "camera2MM",
        "camera2Mode", "camera2Name", "camera2PPMDistance", "camera2ShowPercent",
        "camera2Treshold1", "camera2Treshold2", "camera2ViewType", "camera2X",
        "camera2Y", "cameraACCamera1T1", "cameraACCamera2T1", "cameraACElThickness",
        "cameraACGetX", "cameraACGetY", "cameraACGetZ", "cameraACObj",
        "cameraACVC", "cameraHighRes", "cameraMJPG", "checkCloggingPrepareTime",
        "cupBaseType", "d1CalibGCode", "d1CalibPointX", "d1CalibPointY",
        "d1CalibSize", "d1CalibThreshold1", "d1Color", "d1XShift",
        "d1YShift", "d2Color", "d2XShift", "d2YShift",
        "dispenser1Enabled", "dontStopProgramOnFeederErrors", "enableAllTypesForHorizontalFeeders", "encAutoCalibSizeX",
        "encAutoCalibSizeY", "encCalibSize", "encStepperMaxDivEnabled", "encXEnabled",
        "encYEnabled", "encZEnabled", "endingGcode", "executionAutoShow",
        "feederEnabledB", "feederEnabledL", "feederEnabledR", "feederEnabledU",
        "feederFileB", "feederFileL", "feederFileR", "feederFileU",
        "fieldCalibCountX", "fieldCalibCountY", "fieldCalibrationEnabled", "fieldCalibStartX",
        "fieldCalibStartY", "fieldCalibStepX", "fieldCalibStepY", "iniFile",
        "linuxCncAutoStart", "longPressBRotate", "longPressCRotate", "maxAcc",
        "maxDivX", "maxDivY", "maxDivZ", "maxPcbThickness",
        "maxVel", "maxVelXYLimit", "maxVelZLimit", "minHeigthCompPCB",
        "nozzleOnHeadCheckEnabled", "nozzleOnHeadCheckSpeedXY", "nozzleOnHeadCheckSpeedZ", "nozzleOnHeadCheckX",
        "nozzleOnHeadCheckXYMatchCalib", "nozzleOnHeadCheckY", "nozzleOnHeadCheckZ", "password",
        "pcbCorrX", "pcbCorrY", "postCameraGcode", "postCameraGcode3",
        "preCameraGcode", "preCameraGcode3", "progAutoRestart", "programmerA",
        "programmerEnabled", "programmerInterface", "programmerScriptPath", "programmerWait",
        "programmerX", "programmerY", "programmerZ", "rlcEnabled",
        "rlcPort", "rlcX", "rlcY", "rlcZ",
        "slowPickPlaceSpeed", "slowPlacement", "startingGcode", "tapeChangeGCode",
        "vacuumDelay", "vcCount", "vcdY", "vcX2",
        "vcZBottom", "vsControlType", "vsEnabled", "vsFileName",
        "vsMeasureHighPressure1", "vsMeasureHighPressure2", "workAreaX2", "workAreaY2",
        "workAreaZ1", "workAreaZ2", "zAutoFindMinHeight", "zTravelEnabled"
    ] },
    { section: "execution", names: [
        "calibBeforeRun", "checkChangeFOV", "checkInterval", "checkOrder",
        "checkScanAllRefs", "cupWarningEnabled", "endingGCodeOnUserStop", "maxPcbSetupError",
        "moveCameraToFeederOnOpen", "placementOrder"
    ] },
    { section: "global", names: [
        "elementOpacity", "exportColumnOrder", "exportDesignator", "exportEmptyFeeders",
        "exportFeederModel", "exportFeederNumber", "exportHeaderEnabled", "exportInstalledCount",
        "exportSeparatorType", "exportSortType", "exportToBasketCount", "feederDontImportEmpty",
        "feederElCountInBomCol", "importAddRot", "importCommentCol", "importElACol",
        "importElDesigCol", "importElPackCol", "importElPartNumberCol", "importElXCol",
        "importElYCol", "importFeederAutoAssign12_16mmBank", "importFeederAutoAssign12_16mmFirst", "importFeederAutoAssign12_16mmLast",
        "importFeederAutoAssign8mmBank", "importFeederAutoAssign8mmFirst", "importFeederAutoAssign8mmLast", "importFeederDesigCol",
        "importFeederPackCol", "importFeederPartNumberCol", "importFeederSeparatorType", "importRefPointType",
        "importSeparatorType", "importSide", "importSideCol", "importSideEnabled",
        "importSideInverse", "importSortType", "pcbDPI", "showHints"
    ] },
    { section: "colors", names: [
        "borderColor", "cameraAreaColor", "crossColor", "elementSelColor",
        "feederPreviewColor", "groupSelColor", "refPointColor"
    ] },
    { section: "aoi", names: [
        "aoiDiffPercentLimit", "aoiDiffVisibility", "aoiErosion", "aoiScanAllRefs",
        "aoiThreshold", "aoiVisibility"
    ] },
    { section: "windows", names: [
        "addNewElementPos", "aoiInterfacePos", "camera1WindowPos", "camera2WindowPos",
        "checkInterfacePos", "elementEditPos", "executionInterfacePos", "gCodeInterfacePos",
        "saveWindowsPos", "smtInterfacePos"
    ] },
    { section: "debug", names: [
        "hanoi1X", "hanoi1Y", "hanoi2X", "hanoi2Y",
        "hanoi3X", "hanoi3Y", "hanoiT1", "hanoiT2",
        "hanoiT3", "hanoiT4", "hanoiT5", "sigmaTestASize",
        "sigmaTestRoi", "sigmaTestT1"
    ] },
];

// Keys the program reads but never writes back (they are set by hand or by
// the machine builder).
var neverWritten = [
    "allowCustomPlaceGCode", "bandFeederAutoCenterPrevPerf", "checkCloggingPrepareTime",
    "dispenser1Enabled", "enableAllTypesForHorizontalFeeders", "maxPcbThickness",
    "vsMeasureHighPressure1", "vsMeasureHighPressure2", "gCodeInterfacePos"
];

// Keys written on close but never read back.
var writtenOnly = [
    { section: "windows", name: "pcbSettingsPos" }
];

// Percentages that older stores kept as switches ("true" shown fully,
// "false" hidden); they are read through percentFromStored().
var percentFromSwitch = ["aoiVisibility", "aoiDiffVisibility"];

// The percentage 0..100 of a stored value: a switch (true 100, false 0) or a
// number (rounded, limited to 0..100). Returns { value, ok }: ok is false for
// a value that is neither (value is then `def`); an absent value (undefined,
// null, "") gives `def` and ok.
function percentFromStored(stored, def) {
    if (stored === undefined || stored === null || stored === "")
        return { value: def, ok: true };
    if (stored === true || String(stored).toLowerCase() === "true")
        return { value: 100, ok: true };
    if (stored === false || String(stored).toLowerCase() === "false")
        return { value: 0, ok: true };
    var text = String(stored).trim();
    var n = Number(text);
    if (text === "" || !isFinite(n))
        return { value: def, ok: false };
    return { value: Math.max(0, Math.min(100, Math.round(n))), ok: true };
}

function isWritten(name) {
    return neverWritten.indexOf(name) < 0;
}

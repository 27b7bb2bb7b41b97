import QtQuick 2.15
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import OpenCV 1.0
import "job"
import "machine"
import "project"
import "windows"
import "windows/camera"
import "windows/devices"
import "windows/import"
import "windows/machine"
import "windows/settings"
import "windows/statistics"
import "lib/feeders.js" as Feeders

// The main window of the program: application-wide state (every setting is a
// property of the same name), the signals the back end listens to, the
// functions the back end and the tests call by name (most of them one-line
// delegates), the list models, one instance of each tool window, and the
// operator's start screen. The work is done by child items, each with one
// concern: ModelInvokers, SettingsIo, OperatorMessages, CloseGuard, SettingsLock,
// machine/Instruments, project/FeederBanks, project/ProjectActions,
// windows/ToolWindowRegistry and windows/import/ImportLists.
ApplicationWindow {
    id: main
    objectName: "main"
    width: 1280
    height: 800
    visible: true
    title: t + qsTr("Kestravo — установщик компонентов")

    // ---- interface language
    property string lang: "ru"
    // Prefix of every translated text; blanked on a language change so that
    // every text is translated again.
    property string t: ""
    onLangChanged: {
        translate(lang)
        t = " "
        t = ""
    }

    // ---- state set by the back end
    property bool initVar: false
    property bool settingsLoaded: false
    property string programPath: ""
    property var feederProps: []
    property bool debug1: false
    property var invalidImage
    property bool applicationActive: true
    property string lastProjectFolder: ""
    property string gCodeHelpText: ""
    property string feederListImportHelpText: ""

    // ---- cameras: lists for the settings, the third camera, pictures
    property var cameraList: []
    property var camera1Modes: []
    property var camera2Modes: []
    property var camera3Modes: []
    property string camera3Name: ""
    property var makeQImageResult
    property size makeQImageResultSize: Qt.size(0, 0)
    property var makeAoiResultDiffImage
    property real makeAoiResultDiff: 0
    property vector2d makeAoiResultShift: Qt.vector2d(0, 0)

    // ---- machine link state (the machine state item holds it; these are its names)
    property bool cncStarting: false
    property bool iniFileCorrect: false
    property string iniMesaType: ""
    property bool inputsExist: false
    property bool fieldCalibrationAvailable: false
    MachineState { id: machineState; app: main; gate: gCodeGate }
    property alias machineState: machineState
    property alias cncRunning: machineState.cncRunning
    property alias machineEStop: machineState.machineEStop
    property alias machineOn: machineState.machineOn
    property alias machineXHomed: machineState.machineXHomed
    property alias machineYHomed: machineState.machineYHomed
    property alias machineZHomed: machineState.machineZHomed
    property alias machineAHomed: machineState.machineAHomed
    property alias machineBHomed: machineState.machineBHomed
    property alias machineHomed: machineState.machineHomed
    property alias jointHomed: machineState.jointHomed
    property alias machineHomed2: machineState.machineHomed2
    property alias calibrated: machineState.calibrated
    property alias calibrating: machineState.calibrating
    property alias calibFound: machineState.calibFound
    property alias calibFoundX: machineState.calibFoundX
    property alias calibFoundY: machineState.calibFoundY
    property alias jointPos: machineState.jointPos
    property alias jointBPos: machineState.jointBPos
    property alias jointCPos: machineState.jointCPos
    property alias jointDPos: machineState.jointDPos
    property alias relX: machineState.relX
    property alias relY: machineState.relY
    property alias jointPosXRel: machineState.jointPosXRel
    property alias jointPosYRel: machineState.jointPosYRel
    property alias jointPosZCup: machineState.jointPosZCup
    property alias cameraPosX: machineState.cameraPosX
    property alias cameraPosY: machineState.cameraPosY
    property alias machineSpeed: machineState.machineSpeed
    property alias machineSpeedSliderValue: machineState.machineSpeedSliderValue
    property alias slowSpeed: machineState.slowSpeed
    property alias slowAcc: machineState.slowAcc
    property alias machineError: machineState.machineError
    property alias currVC: machineState.currVC
    property alias debugMode: machineState.debugMode
    property alias doutList: machineState.doutList
    property alias doutState: machineState.doutState
    property alias encoderStep: machineState.encoderStep
    property alias homeBExists: machineState.homeBExists
    property alias halHomeX: machineState.halHomeX
    property alias halHomeY: machineState.halHomeY
    property alias halHomeZ: machineState.halHomeZ
    property alias halHomeB: machineState.halHomeB
    property alias halESTOP: machineState.halESTOP
    property alias halStartPause: machineState.halStartPause
    property alias halSpeedEncoder: machineState.halSpeedEncoder
    property alias programmerErrPin: machineState.programmerErrPin
    property alias programmerSucPin: machineState.programmerSucPin
    property alias prerunDone: machineState.prerunDone
    property alias allowMoveShafts: machineState.allowMoveShafts
    property alias needSlowAcc: machineState.needSlowAcc
    property bool bAxisEnabled: false
    // The G-code channel is idle; `executing`: it is not, or a long activity runs.
    property alias gCodeDone: machineState.gCodeDone
    property alias executing: machineState.executing
    function setActivity(name, running) { machineState.setActivity(name, running) }
    function activityRunning(name) { return machineState.activityRunning(name) }
    function setMachineSpeedSlider(value) { machineState.setMachineSpeedSlider(value) }

    // ---- encoders: readings, scales, the difference watch (the encoder
    // state item holds them; these are its names)
    EncoderState { id: encoderState; app: main; machineState: machineState }
    property alias encoderState: encoderState
    property alias encX: encoderState.encX
    property alias encY: encoderState.encY
    property alias encZ: encoderState.encZ
    property alias stepperX: encoderState.stepperX
    property alias stepperY: encoderState.stepperY
    property alias stepperZ: encoderState.stepperZ
    property alias encStepperXDiv: encoderState.encStepperXDiv
    property alias encStepperYDiv: encoderState.encStepperYDiv
    property alias encStepperZDiv: encoderState.encStepperZDiv
    property alias encStepperXMaxDiv: encoderState.encStepperXMaxDiv
    property alias encStepperYMaxDiv: encoderState.encStepperYMaxDiv
    property alias encStepperZMaxDiv: encoderState.encStepperZMaxDiv
    property alias encoderScaleX: encoderState.encoderScaleX
    property alias encoderScaleY: encoderState.encoderScaleY
    property alias encoderScaleZ: encoderState.encoderScaleZ
    property alias stepperScaleX: encoderState.stepperScaleX
    property alias stepperScaleY: encoderState.stepperScaleY
    property alias stepperScaleZ: encoderState.stepperScaleZ
    property alias encXexist: encoderState.encXexist
    property alias encYexist: encoderState.encYexist
    property alias encZexist: encoderState.encZexist
    property alias homeXExists: encoderState.homeXExists
    property alias homeYExists: encoderState.homeYExists
    property alias homeZExists: encoderState.homeZExists
    property alias noHomeNoEncoderX: encoderState.noHomeNoEncoderX
    property alias noHomeNoEncoderY: encoderState.noHomeNoEncoderY
    property alias noHomeNoEncoderZ: encoderState.noHomeNoEncoderZ
    function checkMaxDiv(axis) { return encoderState.checkMaxDiv(axis) }
    function noHomeNoEncoderWarning() { return encoderState.noHomeNoEncoderWarning() }
    // Every LinuxCNC error but a realtime delay, and every step that cannot
    // go on, raise this: whatever runs stops.
    signal appError(string text)

    // ---- the G-code gate and the job's waiting primitives
    GCodeGate { id: gCodeGate; app: main }
    property alias gCodeGate: gCodeGate
    onGetGcodeDone: gCodeGate.doneGet(successful)
    // Every sender hands G-code here; `onDone(successful)` answers this block.
    function gCodeSend(text, safeH, onDone) { gCodeGate.send(text, safeH, onDone) }
    JobPort { id: jobPort; app: main; machineState: machineState; gate: gCodeGate }
    property alias jobPort: jobPort
    function delayWait(delay, f) { jobPort.steps.delayWait(delay, f) }
    function positionWait(x, y, z, a, f) { jobPort.steps.positionWait(x, y, z, a, f) }
    function gCodeWait(text, safeH, f, enablePauseBefore, enablePauseAfter) {
        jobPort.steps.gCodeWait(text, safeH, f, enablePauseBefore, enablePauseAfter)
    }
    function homeWait(f) { jobPort.steps.homeWait(f) }
    function justCalibrateWait(f) { jobPort.steps.justCalibrateWait(f) }
    // A direct move: nothing unless the G-code channel is idle; false omits an axis.
    function machineMoveTo(x, y, z, a) { return machineState.machineMoveTo(x, y, z, a) }
    function machineWait(x, y, z, a) { return machineState.machineWait(x, y, z, a) }

    // ---- project and run state
    property alias currentCupIndex: machineState.currVC
    property bool closeAllowed: false     // closing with a nozzle on the head confirmed
    property bool saveBeforeCloseOpen: false
    property int bandBankCount: 4
    property int vibroBankCount: 4

    // ---- the open project (board group of the project file)
    property url pcbImage: ""
    property real pcbScale: 1
    property real pcbWidth: 100
    property real pcbHeight: 100
    property real pcbX: 0
    property real pcbY: 0
    property real pcbAnchorX: 0
    property real pcbAnchorY: 0
    property real pcbRotation: 0
    property real pcbThickness: 1.5
    property bool pcbMulti: false
    property real pcbMultiSpacingX: 10
    property real pcbMultiSpacingY: 10
    property int pcbMultiCountX: 2
    property int pcbMultiCountY: 2
    property bool pcbMultiNonstandart: false
    property real firstPcbX: 0
    property real firstPcbY: 0
    property int refMode: 0
    property real pcbRefPointSize: 1
    property real pcbRefPointSize2: 1
    property int pcbRefPointMaxId: 100
    property bool pcbCameraInverse: false
    property int pcbROIPercent: 50
    property int pcbThreshold1: 150
    property int pcbThreshold2: 50
    property int pcbRefTemplateMathCoeff: 80
    property int pcbRefPointType: 0
    property var pcbRefPointPhoto: 0
    property int pcbSelfPlacementOrder: 0
    property int pcbFinishedCount: 0
    property int pcbComponentsMountedCount: 0
    property int pcbComponentsBasketCount: 0
    property int pcbSolderPointsMountedCount: 0
    property int pcbMountTimeInt: 0
    // Mounting time of the project as text, and the stopwatch of the job.
    property string pcbMountTime: "00:00:00"
    property string stopwatchTime: "0:00:00"
    property int stopwatchTimeInt: 0
    property bool projectAoiEnabled: false
    // Placement order of this project (when pcbSelfPlacementOrder is set),
    // and the feeder sort of the project and of the machine.
    property int pcbPlacementOrder: 0
    property bool pcbPlacementFeederSort: true
    property bool placementFeederSort: true
    // Excluded boards of a panel: pcbMultiBan2D[row][col] true.
    property var pcbMultiBan2D: []
    // Lists handed to the back end for ordering (antSortSend, nearestSortSend).
    property var antSortData: []
    property var nearestSortData: []
    // Components, reference marks and dots (objects on the board view).
    property var elementList: []
    property int elementCount: 0
    property var refList: []
    property int refCount: 0
    property var dotList: []
    property int dotCount: 0
    // Overlaps are not computed while a project loads.
    property bool noCalcOverlaps: true
    property bool overlapCheckEnabled: true
    onNoCalcOverlapsChanged: if (!noCalcOverlaps && overlapCheckEnabled) recalculateAllOverlaps()
    // Lower corner of the machine's work area (the settings hold the upper one).
    property real workAreaX1: 0
    property real workAreaY1: 0
    // Pixels per millimetre of the board view.
    property real areaScale: 2
    property string packageBasePath: ""
    // Feeder counts of the banks (from their files).
    property int feederCountL: 0
    property int feederCountR: 0
    property int feederCountB: 0
    property int feederCountU: 0
    // Largest number of project log entries kept.
    property int projectLogMaxCount: 10000

    // ---- individual settings (groups and names in settingsKeys.js)
    property real boardHeight: 100
    property real boardScanRoi: 40
    property real boardWidth: 100
    property bool finalSoundEnabled: true
    property bool projectAutosave: false
    property real projectAutosaveInterval: 5
    property string projectName: ""
    property bool showFeederOfSelectedElement: true
    property bool softwareRendering: false
    property bool tallHorFeeders: true
    property string afterCalibGcode: ""
    property bool allowBoardOut: false
    property bool allowCustomPlaceGCode: false
    property bool allowOutOfBoard: false
    property bool allowRunWithoutFiducials: false
    property bool autoCalibOnStart: false
    property bool autoSwithToSimilarFeeders: false
    property bool autoSwithToSimilarFeedersWhenPlacerEmpty: false
    property real bandACCamera1Y1: 200
    property real bandACCamera1Y2: 150
    property bool bandFeederAutoCenterPrevPerf: false
    property string basketGcode: ""
    property real blowDelay: 0.1
    property real boardMaxHeight: 300
    property real boardMaxWidth: 600
    property real boardX1: 0
    property real boardY1: 0
    property bool calib2Enabled: false
    property string calib2Gcode: ""
    property bool calibCameraInverse: false
    property bool calibEnabled: false
    property string calibGcode: ""
    property real calibHeight: 1.0
    property real calibRefPointSize: 1.0
    property real calibRefPointSize2: 1.0
    property real calibRefPointType: 0
    property real calibROIPercent: 50
    property real calibThreshold1: 150
    property real calibThreshold2: 50
    property real calibX: 0
    property real calibX2: 0
    property real calibY: 0
    property real calibY2: 0
    property bool camera1AutoShow: true
    property bool camera1CalibrationEnabled: false
    property var camera1CameraMatrix: []
    property bool camera1Cross: false
    property real camera1Delay: 500
    property real camera1Delay2: 150
    property real camera1DelayAoi: 300
    property var camera1DistCoeffs: []
    property real camera1ElOpacity: 0.5
    property real camera1Exposure: 50
    property real camera1Height: 50
    property real camera1MM: 20
    property string camera1Mode: ""
    property string camera1Name: ""
    property real camera1ShowPercent: 100
    property real camera1ViewType: 0
    property real camera1XShift: 0
    property real camera1YShift: 0
    property real camera2Angle: 0
    property bool camera2AutoShow: true
    property bool camera2CalibrationEnabled: false
    property var camera2CameraMatrix: []
    property real camera2CheckSize: 1
    property bool camera2Cross: false
    property real camera2Delay: 500
    property var camera2DistCoeffs: []
    property real camera2Exposure: 50
    property real camera2Height: 20
    property real camera2MaxElementSize: 5
    property real camera2MinHeight: 0
    property real camera2MM: 20
    property string camera2Mode: ""
    property string camera2Name: ""
    property real camera2PPMDistance: 50
    property real camera2ShowPercent: 100
    property real camera2Treshold1: 180
    property real camera2Treshold2: 50
    property real camera2ViewType: 0
    property real camera2X: 0
    property real camera2Y: 0
    property real cameraACCamera1T1: 100
    property real cameraACCamera2T1: 100
    property real cameraACElThickness: 1.5
    property real cameraACGetX: 0
    property real cameraACGetY: 0
    property real cameraACGetZ: 10
    property real cameraACObj: 0
    property real cameraACVC: 4
    property bool cameraHighRes: false
    property bool cameraMJPG: false
    property real checkCloggingPrepareTime: 2
    property real cupBaseType: 0
    property string d1CalibGCode: ""
    property real d1CalibPointX: 100
    property real d1CalibPointY: 100
    property real d1CalibSize: 1
    property real d1CalibThreshold1: 150
    property string d1Color: "#2e69ff"
    property real d1XShift: 0
    property real d1YShift: 0
    property string d2Color: "#2eff7d"
    property real d2XShift: 0
    property real d2YShift: 0
    property bool dispenser1Enabled: false
    property bool dontStopProgramOnFeederErrors: false
    property bool enableAllTypesForHorizontalFeeders: false
    property real encAutoCalibSizeX: 200
    property real encAutoCalibSizeY: 200
    property real encCalibSize: 300
    property bool encStepperMaxDivEnabled: false
    property bool encXEnabled: true
    property bool encYEnabled: true
    property bool encZEnabled: true
    property string endingGcode: ""
    property bool executionAutoShow: true
    property bool feederEnabledB: true
    property bool feederEnabledL: false
    property bool feederEnabledR: false
    property bool feederEnabledU: true
    property string feederFileB: ""
    property string feederFileL: ""
    property string feederFileR: ""
    property string feederFileU: ""
    property real fieldCalibCountX: 5
    property real fieldCalibCountY: 5
    property bool fieldCalibrationEnabled: false
    property real fieldCalibStartX: 0
    property real fieldCalibStartY: 0
    property real fieldCalibStepX: 10
    property real fieldCalibStepY: 10
    property string iniFile: ""
    property bool linuxCncAutoStart: true
    property bool longPressBRotate: true
    property bool longPressCRotate: true
    property var maxAcc: []
    property real maxDivX: 2
    property real maxDivY: 2
    property real maxDivZ: 1
    property real maxPcbThickness: 10
    property var maxVel: []
    property real maxVelXYLimit: 500
    property real maxVelZLimit: 150
    property real minHeigthCompPCB: 0
    property bool nozzleOnHeadCheckEnabled: false
    property real nozzleOnHeadCheckSpeedXY: 10
    property real nozzleOnHeadCheckSpeedZ: 5
    property real nozzleOnHeadCheckX: -1
    property bool nozzleOnHeadCheckXYMatchCalib: false
    property real nozzleOnHeadCheckY: -1
    property real nozzleOnHeadCheckZ: 0
    property string password: ""
    property real pcbCorrX: 0
    property real pcbCorrY: 0
    property string postCameraGcode: ""
    property string postCameraGcode3: ""
    property string preCameraGcode: ""
    property string preCameraGcode3: ""
    property bool progAutoRestart: false
    property real programmerA: 0
    property bool programmerEnabled: false
    property real programmerInterface: 0
    property string programmerScriptPath: ""
    property real programmerWait: 5
    property real programmerX: 100
    property real programmerY: 100
    property real programmerZ: 10
    property bool rlcEnabled: false
    property string rlcPort: "/dev/ttyS0"
    property real rlcX: 100
    property real rlcY: 100
    property real rlcZ: 10
    property real slowPickPlaceSpeed: 6000
    property bool slowPlacement: true
    property string startingGcode: ""
    property string tapeChangeGCode: ""
    property real vacuumDelay: 0
    property real vcCount: 6
    property real vcdY: 0
    property real vcX2: 0
    property real vcZBottom: 0
    property real vsControlType: 0
    property bool vsEnabled: false
    property string vsFileName: "/dev/ttyUSB0"
    property real vsMeasureHighPressure1: 0
    property real vsMeasureHighPressure2: 0
    property real workAreaX2: 500
    property real workAreaY2: 500
    property real workAreaZ1: 0
    property real workAreaZ2: 100
    property string zAutoFindMinHeight: "0"
    property bool zTravelEnabled: false
    property bool calibBeforeRun: false
    property bool checkChangeFOV: true
    property real checkInterval: 2
    property real checkOrder: 0
    property bool checkScanAllRefs: true
    property bool cupWarningEnabled: true
    property bool endingGCodeOnUserStop: true
    property real maxPcbSetupError: 0.2
    property bool moveCameraToFeederOnOpen: false
    property real placementOrder: 0
    property real elementOpacity: 1.0
    property var exportColumnOrder: []
    property bool exportDesignator: true
    property bool exportEmptyFeeders: false
    property bool exportFeederModel: true
    property bool exportFeederNumber: true
    property bool exportHeaderEnabled: false
    property bool exportInstalledCount: true
    property real exportSeparatorType: 0
    property real exportSortType: 0
    property bool exportToBasketCount: true
    property bool feederDontImportEmpty: false
    property real feederElCountInBomCol: 3
    property real importAddRot: 1
    property real importCommentCol: 16
    property real importElACol: 5
    property real importElDesigCol: 2
    property real importElPackCol: 0
    property real importElPartNumberCol: 1
    property real importElXCol: 3
    property real importElYCol: 4
    property real importFeederAutoAssign12_16mmBank: 1
    property real importFeederAutoAssign12_16mmFirst: 22
    property real importFeederAutoAssign12_16mmLast: 35
    property real importFeederAutoAssign8mmBank: 0
    property real importFeederAutoAssign8mmFirst: 0
    property real importFeederAutoAssign8mmLast: 42
    property real importFeederDesigCol: 2
    property real importFeederPackCol: 0
    property real importFeederPartNumberCol: 1
    property real importFeederSeparatorType: 0
    property string importRefPointType: "ReperPoint"
    property real importSeparatorType: 0
    property real importSide: 0
    property real importSideCol: 6
    property bool importSideEnabled: true
    property real importSideInverse: 0
    property real importSortType: 0
    property real pcbDPI: 600
    property bool showHints: true
    property string borderColor: "red"
    property string cameraAreaColor: "#ffffff"
    property string crossColor: "#00C476"
    property string elementSelColor: "red"
    property string feederPreviewColor: "#ffff00"
    property string groupSelColor: "#d500ff"
    property string refPointColor: "#000000"
    property real aoiDiffPercentLimit: 10
    // Opacities of the inspection photos and of the red masks, per cent.
    property int aoiDiffVisibility: 100
    property real aoiErosion: 1
    // The inspection scans the marks of every board of a panel.
    property bool aoiScanAllRefs: true
    property real aoiThreshold: 100
    property int aoiVisibility: 100
    property vector4d addNewElementPos: Qt.vector4d(0, 0, 0, 0)
    property vector4d aoiInterfacePos: Qt.vector4d(0, 0, 0, 0)
    property vector4d camera1WindowPos: Qt.vector4d(0, 0, 0, 0)
    property vector4d camera2WindowPos: Qt.vector4d(0, 0, 0, 0)
    property vector4d checkInterfacePos: Qt.vector4d(0, 0, 0, 0)
    property vector4d elementEditPos: Qt.vector4d(0, 0, 0, 0)
    property vector4d executionInterfacePos: Qt.vector4d(0, 0, 0, 0)
    property vector4d gCodeInterfacePos: Qt.vector4d(0, 0, 0, 0)
    property bool saveWindowsPos: false
    property vector4d smtInterfacePos: Qt.vector4d(0, 0, 0, 0)
    property real hanoi1X: 0
    property real hanoi1Y: 0
    property real hanoi2X: 0
    property real hanoi2Y: 0
    property real hanoi3X: 0
    property real hanoi3Y: 0
    property real hanoiT1: 0.5
    property real hanoiT2: 0.5
    property real hanoiT3: 0.5
    property real hanoiT4: 0.5
    property real hanoiT5: 0.5
    property real sigmaTestASize: 0.8
    property real sigmaTestRoi: 10
    property real sigmaTestT1: 90
    property vector4d pcbSettingsPos: Qt.vector4d(0, 0, 0, 0)

    // ---- signals served by Worker
    signal loadPackageList()
    signal quit()
    signal setLastProjectFolder(string projectName)
    signal loadSetting(string section, string name, var def)
    signal saveSetting(string section, string name)
    signal loadSettings()
    signal saveSettings()
    signal savePackageSettings()
    signal openProject(url fileName)
    signal checkFeederBanksMatch(url fileName)
    signal saveProject(url fileName)
    signal saveFeeders(url fileName)
    signal openFeeders(url fileName)
    signal setRefPointCursor(bool visible)
    signal setRefPointCursorColor(color col)
    signal setRefPointCursorType(int type)
    signal iniFileCheck(string iniFile)
    signal encoderScaleSend(string fileName, real eSX, real eSY)
    signal stepperScaleSend(string fileName, real sSX, real sSY)
    signal openFileImport(string name, string delim, int elPackCol, int elPartNumberCol, int elDesigCol, int elXCol, int elYCol, int elACol)
    signal openFeederFileImport(string name, string delim, int feederPackCol, int feederPartNumberCol, int feederDesigCol, int feederCountCol)
    signal readCameraModes(int number)
    signal stopwatchStart()
    signal stopwatchStop()
    signal stopwatchPause()
    signal stopwatchResume()
    signal calcPcbMountTime()
    signal makeQImage(string name)
    signal recalculateOverlaps(var currEl, bool repeat)
    signal recalculateAllOverlaps()
    signal takeScreenShot()
    signal scanStart(real boardWidth, real boardHeight, real scanWidth, real scanHeight, real ppm)
    signal scanStep(real x, real y)
    signal scanFinish(string fileName)
    signal translate(string lang)
    signal iniGetSpeedAcc(string iniFile)
    signal maxVelAccSend(string fileName, real v1, real v2, real v3, real v4, real v5, real v6, real a1, real a2, real a3, real a4)
    signal antSortSend()
    signal nearestSortSend()
    signal feederListExport(string fileURL)
    signal projectDayStatisticsExport(string fileURL)
    signal vsMeasureTimeFreshGet()
    signal calcFieldCalibrationSend(int xCount, int yCount)
    signal fieldCalibrationLoad()
    signal makeAoi(var templateImage, var compareImage, int threshold, int erosionSize)
    // What the simulated head camera sees: the open project's board and the
    // calibration marks (see project/SimulatedWorldLink.qml).
    signal simWorldSend(var world)
    signal pcbSetXY(var newX, var newY)
    signal pcbSetRotation(var anchorX, var anchorY, var rotation)

    // ---- signals served by the machine link
    signal runCnc(string iniFile)
    signal stopCnc()
    signal machineMove(int axis, bool direction, real speed, bool start)
    signal machineMoveIncr(int axis, bool direction, real speed, real distance)
    signal machineMoveStep(int axis, bool direction, real speed)
    signal debugModeSend(bool enabled)
    signal setMachineOn(bool on)
    signal setEstop()
    signal setAbort()
    signal machineHome(bool all)
    signal zUpSend()
    signal setDoutOn(int number, bool on)
    signal sendGCode(string text, bool safeH)
    signal getGcodeDone(bool successful)
    signal maxVelLimitSend(real zLimit, real xyLimit)
    signal feedOverrideSend(int percent, bool apply)
    signal relXYSend(real x, real y)
    signal startPWMVibroSend(int output, int duty, real seconds)
    signal blowDelaySend(real seconds)
    signal zAutoFindSend(bool start, real speed, real step, real limit)
    signal diagOpenedSend(bool opened)
    signal setEncoderEnabled(int axis, bool enabled)
    signal sendShaftsMovingState(bool b, bool c)
    signal allowMoveShaftsSend(bool allowed)
    signal calibXYSend(real x, real y)
    signal needSlowAccSend(bool slow)
    signal currVCHeightSend(real height)
    signal fieldCalibrationEnableSend(bool enabled)
    signal disableHome(int axis, real position)
    signal linuxCncAutoStartSend(bool enabled)

    // ---- signals served by the instruments and the programmer
    signal rlcStart(string port)
    signal rlcMeasure()
    signal rlcSetupValueSend(string type, real value)
    signal rlcSetup(string type, bool freqLow, bool parallel)
    signal vsStartSend(string port)
    signal vsStopSend()
    signal vsMeasure()
    signal programmerScriptStart(string scriptPath, int waitSeconds)

    // ---- instruments, programmer and vibration feeders: state and results
    property var serialPortList: []
    Instruments { id: instruments; app: main }
    property alias instruments: instruments
    property alias vsStarting: instruments.vsStarting
    property alias vsRunning: instruments.vsRunning
    property alias vsMeasureResult: instruments.vsMeasureResult
    property alias vsMeasureTime: instruments.vsMeasureTime
    property alias vsMeasureTimeFresh: instruments.vsMeasureTimeFresh
    property alias vsMeasureBeforeGet: instruments.vsMeasureBeforeGet
    property alias vsMeasureBeforeTime: instruments.vsMeasureBeforeTime
    // Readings every 20 ms instead of 100 ms while the job judges by them.
    property alias vsFastPolling: instruments.vsFastPolling
    property alias pwmVibrating: instruments.pwmVibrating
    property alias pwmVibroDone: instruments.pwmVibroDone
    property alias programmerWaiting: instruments.programmerWaiting
    // Results for the step or window that waits for them.
    signal vsStartedSignal()
    signal vsStartFailedSignal(string message)
    signal vsMeasureSignal(real value)
    signal vsMeasureFailedSignal(string message)
    signal rlcStartedSignal()
    signal rlcStartFailedSignal(string message)
    signal rlcSetupFinishedSignal()
    signal rlcSetupFailedSignal(string message)
    signal rlcMeasureSignal(string type, real value, string strValue)
    signal rlcMeasureFailedSignal(string message)
    signal programmerResultSignal(string result)
    signal pwmVibroDoneSignal()
    function vsStart(fileName) { instruments.vsStart(fileName) }
    function vsStop() { instruments.vsStop() }
    function startPWMVibro(freq, dutyCycle, length) { return instruments.startPWMVibro(freq, dutyCycle, length) }

    // ---- list models
    property ListModel logModel: ListModel {}
    property ListModel errorListModel: ListModel {}
    property ListModel linuxCncErrorModel: ListModel {}
    property ListModel cupModel: ListModel {}
    property ListModel bandBankModel: ListModel {}
    property ListModel vibroBankModel: ListModel {}
    property ListModel packageList: ListModel {}
    property ListModel leftFeedersModel: ListModel { property bool enabled: main.feederEnabledL }
    property ListModel rightFeedersModel: ListModel { property bool enabled: main.feederEnabledR }
    property ListModel bottomFeedersModel: ListModel { property bool enabled: main.feederEnabledB }
    property ListModel upFeedersModel: ListModel { property bool enabled: main.feederEnabledU }
    property ListModel pcbMultiNonstandartModel: ListModel {}
    property ListModel projectLogModel: ListModel {}
    property ListModel projectDayStatisticsM: ListModel {}
    property ListModel importElementModel: ListModel {}
    property ListModel importFeederModel: ListModel {}

    // Points of the work-field calibration: {rX, rY, nX, nY}, row by row.
    property ListModel fieldCalibList: ListModel {}

    // ---- invokers: the back end reads and fills the models through these
    ModelInvokers { id: invokers; app: main }
    property alias feedersInvoker: invokers.feedersInvoker
    property alias projectDayStatisticsMInvoker: invokers.projectDayStatisticsMInvoker
    property alias fieldCalibListInvoker: invokers.fieldCalibListInvoker

    // ---- cameras: the items live here, their windows show them
    Camera {
        id: camera1
        objectName: "camera1"
        visible: false
        name: camera1Name
        formatMode: camera1Mode
        mjpg: cameraMJPG
        exposure: camera1Exposure
        showPercent: camera1ShowPercent
        viewType: camera1ViewType
        calibrationEnabled: camera1CalibrationEnabled
        capture: camera1Window.qmlCapture || camera1Window.userCapture
        onShowError: errorMessage(errorStr, false, "")
        onThreadsConnected: getCameraCalibration(camera1CameraMatrix, camera1DistCoeffs)
    }
    Camera {
        id: camera2
        objectName: "camera2"
        visible: false
        name: camera2Window.deviceName
        formatMode: camera2Mode
        mjpg: cameraMJPG
        exposure: camera2Exposure
        showPercent: camera2ShowPercent
        viewType: camera2ViewType
        calibrationEnabled: camera2CalibrationEnabled
        capture: camera2Window.qmlCapture || camera2Window.userCapture
        onShowError: errorMessage(errorStr, false, "")
        onThreadsConnected: getCameraCalibration(camera2CameraMatrix, camera2DistCoeffs)
    }
    // Pixels per millimetre: of the head camera on the board's top face, and
    // of the component camera at its measuring distance.
    readonly property real camera1PPMCorr: camera1MM
    readonly property real camera2PPM: camera2MM
    // Every step and window asks a camera through its request object.
    CameraRequest { id: headCameraRequest; app: main; camera: camera1; cameraWindow: camera1Window; pixelsPerMm: camera1PPMCorr }
    CameraRequest { id: componentCameraRequest; app: main; camera: camera2; cameraWindow: camera2Window; pixelsPerMm: camera2PPM }
    property alias headCameraRequest: headCameraRequest
    property alias componentCameraRequest: componentCameraRequest
    Camera1Window { id: camera1Window; app: main; camera: camera1 }
    SimulatedWorldLink { id: simulatedWorldLink; app: main; camera: camera1 }
    Camera2Window { id: camera2Window; app: main; camera: camera2 }
    CameraSettings { id: cameraSettings; app: main; headCamera: camera1; componentCamera: camera2 }
    FieldCalibration { id: fieldCalibrationWindow; app: main; camera: camera1 }
    EncoderSettings { id: encoderSettingsWindow; app: main }
    EncoderCalibration { id: encoderCalibrationWindow; app: main }
    CameraAutoCalibration { id: cameraAutoCalibrationWindow; app: main }
    property alias encoderSettingsWindow: encoderSettingsWindow
    property alias encoderCalibrationWindow: encoderCalibrationWindow
    TapeCentring { id: tapeCentringWindow; app: main }
    property alias tapeCentringWindow: tapeCentringWindow
    NozzleSettings { id: nozzleSettingsWindow; app: main }
    property alias nozzleSettingsWindow: nozzleSettingsWindow
    VSSettings { id: vsSettings; app: main }
    RLCSettings { id: rlcSettings; app: main }
    ProgrammerSettings { id: programmerSettings; app: main }
    VibroFeedersSettings { id: vibroFeedersSettings; app: main }
    DeviceSettings { id: deviceSettings; app: main }
    PasswordSettings { id: passwordSettings; app: main }
    ExecutionInterface { id: executionInterface; app: main }
    property alias executionInterface: executionInterface

    // ---- settings password: every way into the machine and camera settings
    // goes through openLocked(name)
    SettingsLock { id: settingsLock; app: main }
    property alias settingsLock: settingsLock
    property alias pwdAccepted: settingsLock.pwdAccepted
    function openLocked(name) { return settingsLock.openLocked(name) }

    // ---- start screen
    menuBar: MainMenu { app: main }
    property alias cncControl: cncStartControl
    CncStartControl { id: cncStartControl; app: main }
    // ./run.sh --demo-job: the program runs the demo job by itself.
    Loader {
        active: demoJob.enabled
        source: "machine/DemoJobDriver.qml"
        onLoaded: {
            item.link = demoJob
            item.app = main
        }
    }

    SplitView {
        anchors.fill: parent
        orientation: Qt.Horizontal

        ColumnLayout {
            Layout.minimumWidth: 300
            width: 340
            spacing: 0
            MachineStatePanel {
                app: main
                Layout.fillWidth: true
            }
            LogView {
                app: main
                Layout.fillWidth: true
                Layout.fillHeight: true
            }
        }
        BoardArea {
            id: area
            objectName: "area"
            app: main
            Layout.fillWidth: true
        }
    }

    ProposeFeederBanksOnProjectOpening { id: proposeFeederBanksOnProjectOpening; app: main }
    SelectFeedersForProject { id: selectFeedersForProject; app: main }
    NotFoundFeedersWorkout { id: notFoundFeedersWorkout; app: main }
    SaveBeforeClose { id: saveBeforeClose; app: main }
    ElementListImportWindow { id: elementListImportWindow; app: main }
    ProjectImportWindow { id: projectImportWindow; app: main }
    FeederListImportWindow { id: feederListImportWindow; app: main }
    FeederListImportAutoAssignWindow { id: feederListImportAutoAssignWindow; app: main; importWindow: feederListImportWindow }
    FeederListImportHelpWindow { id: feederListImportHelpWindow; app: main }
    FeederExportSettings { id: feederExportSettings; app: main }
    ProjectStatistics { id: projectStatisticsWindow; app: main }
    ProjectDayStatistics { id: projectDayStatisticsWindow; app: main }
    ProjectLog { id: projectLogWindow; app: main }
    AddNewElement { id: addNewElement; app: main }
    SmtInterface { id: smtInterface; app: main }
    property alias smtInterface: smtInterface
    CheckInterface { id: checkInterface; app: main }
    property alias checkInterface: checkInterface
    AoiInterface { id: aoiInterface; app: main }
    property alias aoiInterface: aoiInterface
    // The project's pieces, for the windows that use them.
    property alias projectActions: projectActions
    property alias area: area
    property alias proposeFeederBanksOnProjectOpening: proposeFeederBanksOnProjectOpening
    property alias selectFeedersForProject: selectFeedersForProject
    property alias notFoundFeedersWorkout: notFoundFeedersWorkout
    property alias saveBeforeClose: saveBeforeClose
    property alias elementListImportWindow: elementListImportWindow
    property alias projectImportWindow: projectImportWindow
    property alias feederListImportWindow: feederListImportWindow
    property alias feederListImportAutoAssignWindow: feederListImportAutoAssignWindow
    property alias feederListImportHelpWindow: feederListImportHelpWindow
    property alias feederExportSettings: feederExportSettings
    property alias projectStatisticsWindow: projectStatisticsWindow
    property alias projectDayStatisticsWindow: projectDayStatisticsWindow
    property alias projectLogWindow: projectLogWindow
    property alias addNewElement: addNewElement
    ProjectActions {
        id: projectActions
        app: main
        area: area
        feedersInvoker: main.feedersInvoker
        proposeBanksWindow: proposeFeederBanksOnProjectOpening
        selectFeedersWindow: selectFeedersForProject
        notFoundFeedersWindow: notFoundFeedersWorkout
        saveBeforeCloseWindow: saveBeforeClose
    }

    // ---- application-wide keys
    Shortcut { sequence: "F1"; context: Qt.ApplicationShortcut; onActivated: showToolWindow("executionInterface") }
    Shortcut { sequence: "F3"; context: Qt.ApplicationShortcut; onActivated: showToolWindow("checkInterface") }
    Shortcut { sequence: "F4"; context: Qt.ApplicationShortcut; onActivated: showToolWindow("smtInterface") }
    Shortcut { sequence: "F5"; context: Qt.ApplicationShortcut; onActivated: showCameraWindow(1) }
    Shortcut { sequence: "F6"; context: Qt.ApplicationShortcut; onActivated: showCameraWindow(2) }
    // A camera window lights its camera (output 4: off for the head camera,
    // on for the component camera) unless a placement or a check runs.
    function showCameraWindow(number) {
        if (!activityRunning("placement") && !activityRunning("check") && cncRunning)
            setDoutOn(4, number === 2)
        return showToolWindow(number === 2 ? "camera2Window" : "camera1Window")
    }
    Shortcut { sequence: "F12"; context: Qt.ApplicationShortcut; onActivated: closeAllToolWindows() }

    // Tool windows by name; each window registers itself when it is made.
    property alias toolWindows: toolWindows
    ToolWindowRegistry { id: toolWindows; app: main }
    function findToolWindow(name) { return toolWindows.find(name) }
    function showToolWindow(name) { return toolWindows.show(name) }
    function closeAllToolWindows() {
        toolWindows.closeAll()
        messages.errorWindow.close()
    }

    // ---- loading after the back end is wired
    SettingsIo { id: settingsIo; objectName: "settingsIo"; app: main }
    onInitVarChanged: if (initVar) loadOnStart()

    function loadOnStart() {
        settingsIo.loadIndividual()
        loadSettings()
        loadPackageList()
        openAllFeeders()
        if (typeof feedersInvoker.changeAll === "function")
            feedersInvoker.changeAll()
        projectActions.openProjectOnStart()
        settingsLoaded = true
        stopCnc()
        machineState.sendLinkState()
        updateNozzleOnHeadCheck()
        fieldCalibrationLoad()
        logAdd(t + qsTr("Программа запущена"))
    }

    // ---- feeder banks
    FeederBanks { id: feederBanks; app: main }
    property alias feederBanks: feederBanks
    function openAllFeeders() { feederBanks.openAll() }
    function saveAllFeeders() { return feederBanks.saveAll() }
    function openFeedersF(file, model) { feederBanks.openFile(file, model) }
    function feederSuffix(model) { return Feeders.suffixOf(model) }
    // The entry of feeder `number` (from 0) of a bank; unknown letters mean L.
    function getFeeder(model, number) { return feedersInvoker.getFeeder(model, number) }
    function resetFeederBank(model) { feederBanks.reset(model) }
    // Type of every stored feeder field ("int", "real", "bool", "string",
    // "image"), set by the back end.
    property var feederFieldTypes: ({})
    // What a run changes in the feeders: checked writes of stored fields
    // (saved with saveDirtyFeeders) and the run-only state of each feeder.
    FeederState { id: feederState; app: main }
    property alias feederState: feederState
    function setFeederValue(model, index, name, value) { return feederState.setValue(model, index, name, value) }
    function saveDirtyFeeders() { return feederState.saveDirty() }
    function feederRunState(model, index) { return feederState.runState(model, index) }
    function clearFeederRunState() { feederState.clearRunState() }

    // ---- project
    function openProjectSeq(url) { projectActions.openProjectSeq(url) }
    signal feedersChanged()
    onFeedersChanged: projectActions.updateAllFeederMatches()

    // Recomputes the overlaps of a component unless that is switched off.
    function recalculateOverlapsF(el) {
        if (noCalcOverlaps || !overlapCheckEnabled)
            return
        recalculateOverlaps(el, false)
    }

    function zoomOnPCBAndComponentsTrigger() { Qt.callLater(area.zoomOnPCBAndComponents) }

    // The nozzle-on-head check follows its settings.
    property bool nozzleOnHeadCheckActive: false
    function updateNozzleOnHeadCheck() {
        nozzleOnHeadCheckActive = nozzleOnHeadCheckEnabled && nozzleOnHeadCheckX >= 0 && nozzleOnHeadCheckY >= 0
    }

    // ---- closing
    CloseGuard { id: closeGuard; app: main; settingsIo: settingsIo }
    onClosing: closeGuard.closing(close)

    // The quit action of the menu: the same saves, then the application ends.
    function quitProgram() {
        settingsIo.saveAll()
        quit()
    }

    // ---- messages for the operator (called by Worker, the machine link and the windows)
    OperatorMessages { id: messages; app: main }
    function logAdd(message, color) { messages.logAdd(message, color) }
    function errorAdd(text) { messages.errorAdd(text) }
    function errorMessage(text, silent, type) { messages.errorMessage(text, silent, type) }
    function beep() { messages.beep() }

    // ---- functions called by Worker
    // The banks a project was saved with (proposal when opening it).
    function getPreviouslyOpenedFeederBanks(fileName, b, l, u, r) {
        projectActions.previouslyOpenedBanks(fileName, b, l, u, r)
    }
    // Places the first board of a panel after loading.
    function setFirstPcbXY() {}
    function iniFileCorrectGet(correct) { iniFileCorrect = correct === true }
    function iniMesaTypeGet(type) { iniMesaType = String(type) }
    // The lists of the import windows (rows filled by the back end).
    ImportLists { id: importLists; app: main }
    // The coordinates, angles and designators of the components of each
    // group of the placement-list import (same position as its row).
    property var importElementData: []
    function addImportElement(elPack, elPartNumber, designators, count, x, y, angle, designator, model, index1, comment) {
        importLists.addImportElement(elPack, elPartNumber, designators, count, x, y, angle, designator, model, index1,
                                     comment)
    }
    function addImportFeeder(feederPack, feederPartNumber, designators, count) {
        return importLists.addImportFeeder(feederPack, feederPartNumber, designators, count)
    }
    function packageIndexOf(name) { return importLists.packageIndexOf(name) }
    function maxVelGet(v1, v2, v3, v4, v5, v6) { maxVel = [v1, v2, v3, v4, v5, v6] }
    function maxAccGet(a1, a2, a3, a4) { maxAcc = [a1, a2, a3, a4] }
    function inputsExistsGet(exists) { inputsExist = exists === true }
    // Recomputes the drawn rectangles of the components.
    function calcElementRect() {
        elementCount = elementList.length
        refCount = refList.length
        dotCount = dotList.length
    }
    // Assigns feeders to the components after loading.
    function mapFeedersToElements(onStart) { return projectActions.mapFeedersToElements(onStart) }
    function getFieldCalibrationAvailable(available) { fieldCalibrationAvailable = available === true }
    // Adds mounting seconds to today's statistics.
    function projectDayStatisticsAppendSeconds(seconds) { projectStatisticsWindow.appendSeconds(seconds) }
    // Every jog caps the speed by the XY velocity limit.
    function setSlowSpeed() { machineState.setSlowSpeed() }

    // ---- functions called by the machine link
    function cncRunningGet(running) { machineState.cncRunningGet(running) }
    function cncStartFailedGet() { machineState.cncStartFailedGet() }
    function machineOnGet(on) { machineState.machineOnGet(on) }
    function jointPosGet(pos) { machineState.jointPosGet(pos) }
    function jointPos2Get(pos) { machineState.jointPos2Get(pos) }
    function jointHomedGet(x, y, z, a, b) { machineState.jointHomedGet(x, y, z, a, b) }
    function doutGet(number, on) { machineState.doutGet(number, on) }
    function doutListChange(number, on) { machineState.doutGet(number, on) }
    // A LinuxCNC error: any run stops (except on realtime delays).
    function machineErrorGet(error) { machineState.machineErrorGet(error) }
    function linuxCncErrorAdd(error) {
        linuxCncErrorModel.append({ "message": String(error), "time": Qt.formatTime(new Date(), "HH:mm:ss") })
    }
    function encoderStepGet(step) { machineState.encoderStepGet(step) }
    function encoderScaleGet(x, y, z) { encoderState.encoderScaleGet(x, y, z) }
    function stepperScaleGet(x, y, z) { encoderState.stepperScaleGet(x, y, z) }
    // The start/pause key of the machine was pressed: the job screen decides.
    function progStartBtnPressed() { smtInterface.progStartBtnPressed() }
    // The start/stop action of the job screen.
    function startStopF() { return smtInterface.startStopF() }
    function zAutoFindResultGet(result) {}
    function programmerErrPinGet(value) { machineState.programmerErrPin = machineState.halBool(value) }
    function programmerSucPinGet(value) { machineState.programmerSucPin = machineState.halBool(value) }
    function programmerResultGet(result) { return instruments.programmerResultGet(result) }
    function halHomeXGet(value) { machineState.halHomeX = machineState.halBool(value) }
    function halHomeYGet(value) { machineState.halHomeY = machineState.halBool(value) }
    function halHomeZGet(value) { machineState.halHomeZ = machineState.halBool(value) }
    function halHomeBGet(value) { machineState.halHomeB = machineState.halBool(value) }
    function halESTOPGet(value) { machineState.halESTOP = machineState.halBool(value) }
    function halStartPauseGet(value) { machineState.halStartPause = machineState.halBool(value) }
    function halSpeedEncoderGet(value) { machineState.halSpeedEncoder = Number(value) || 0 }
    function halSpeedEncoderIncGet(value) { machineState.halSpeedEncoderInc = Number(value) || 0 }
    function halEncXGet(value) { encoderState.halEncXGet(value) }
    function halEncYGet(value) { encoderState.halEncYGet(value) }
    function halEncZGet(value) { encoderState.halEncZGet(value) }
    function halStepperXGet(value) { encoderState.halStepperXGet(value) }
    function halStepperYGet(value) { encoderState.halStepperYGet(value) }
    function halStepperZGet(value) { encoderState.halStepperZGet(value) }
    function encStepperXDivGet(value) { encoderState.encStepperXDivGet(value) }
    function encStepperYDivGet(value) { encoderState.encStepperYDivGet(value) }
    function encStepperZDivGet(value) { encoderState.encStepperZDivGet(value) }
    function encStepperXMaxDivGet(value) { encoderState.encStepperXMaxDivGet(value) }
    function encStepperYMaxDivGet(value) { encoderState.encStepperYMaxDivGet(value) }
    function encStepperZMaxDivGet(value) { encoderState.encStepperZMaxDivGet(value) }
    function encExistGet(x, y, z) { machineState.encExistGet(x, y, z) }
    function doutListChangeEnabled(number, enabled) { machineState.doutListChangeEnabled(number, enabled) }
    function pwmEnabledGet(enabled) { instruments.pwmEnabled = enabled === true }
    function blowEnabledGet(enabled) { instruments.blowEnabled = enabled === true }
    function homeExistsGet(x, y, z) { machineState.homeExistsGet(x, y, z) }
    function pwmVibroDoneGet() { instruments.pwmVibroDoneGet() }
    // The machine link ran "(vsMeasureBeforeGet)": the current reading is kept.
    function getVsMeasureBeforeGet() { instruments.getVsMeasureBeforeGet() }

    // ---- functions called by the instruments, the pinger and the programmer
    function rlcStartedGet() { rlcStartedSignal() }
    function rlcStartFailedGet(message) {
        errorMessage(message, false, "")
        rlcStartFailedSignal(String(message))
    }
    function rlcMeasureGet(type, value, strValue) { rlcMeasureSignal(String(type), Number(value), String(strValue)) }
    function rlcMeasureFailedGet(message) { rlcMeasureFailedSignal(String(message)) }
    function rlcSetupFailedGet(message) { rlcSetupFailedSignal(String(message)) }
    function rlcSetupFinishedGet() { rlcSetupFinishedSignal() }
    function vsStartedGet() { instruments.vsStartedGet() }
    function vsStartFailedGet(message) { instruments.vsStartFailedGet(message) }
    function vsMeasureGet(value, raw) { instruments.vsMeasureGet(value, raw) }
    function vsMeasureFailedGet(message) { instruments.vsMeasureFailedGet(message) }
    // The card pinger asks to start (true) or stop (false) LinuxCNC.
    function runStopCncFromPingGet(run) { cncStartControl.fromPing(run === true) }
}

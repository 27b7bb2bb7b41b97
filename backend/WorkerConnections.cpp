// Worker: the one-time wiring between the main window, Worker and the device
// workers. Every connection is made by name; a connection that cannot be made
// (a renamed signal or function) is reported at start-up.
#include "backend/Worker.h"

#include "devices/WorkerProgrammer.h"
#include "devices/WorkerRLC.h"
#include "devices/WorkerVS.h"
#include "machine/WorkerCnc.h"
#include "machine/WorkerPing.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QQuickItem>

namespace {

struct Link
{
    QObject *sender;
    const char *signal;
    QObject *receiver;
    const char *slot;
};

int connectAll(std::initializer_list<Link> links)
{
    int failures = 0;
    for (const Link &l : links) {
        if (!l.sender || !l.receiver) {
            qWarning() << "Cannot connect" << (l.signal + 1) << "to" << (l.slot + 1) << ": object missing";
            ++failures;
            continue;
        }
        if (!QObject::connect(l.sender, l.signal, l.receiver, l.slot)) {
            qWarning() << "Cannot connect" << (l.signal + 1) << "to" << (l.slot + 1);
            ++failures;
        }
    }
    return failures;
}

} // namespace

void Worker::setConnections()
{
    if (m_connected)
        return;
    m_connected = true;

    qRegisterMetaType<twoDPoint2fVector>("twoDPoint2fVector");

    QObject *root = m_root;
    QObject *area = m_area;
    WorkerCnc *cnc = m_devices.cnc;
    WorkerRLC *rlc = m_devices.rlc;
    WorkerVS *vs = m_devices.vs;
    WorkerPing *ping = m_devices.ping;
    WorkerProgrammer *programmer = m_devices.programmer;

    int failures = 0;

    // Root signals served by Worker.
    failures += connectAll({
        {root, SIGNAL(loadPackageList()), this, SLOT(loadPackageList())},
        {root, SIGNAL(quit()), this, SLOT(quitGet())},
        {root, SIGNAL(setLastProjectFolder(QString)), this, SLOT(setLastProjectFolder(QString))},
        {root, SIGNAL(loadSetting(QString,QString,QVariant)), this, SLOT(loadSetting(QString,QString,QVariant))},
        {root, SIGNAL(saveSetting(QString,QString)), this, SLOT(saveSetting(QString,QString))},
        {root, SIGNAL(loadSettings()), this, SLOT(loadSettings())},
        {root, SIGNAL(saveSettings()), this, SLOT(saveSettings())},
        {root, SIGNAL(savePackageSettings()), this, SLOT(savePackageSettings())},
        {root, SIGNAL(openProject(QUrl)), this, SLOT(openProject(QUrl))},
        {root, SIGNAL(checkFeederBanksMatch(QUrl)), this, SLOT(checkFeederBanksMatch(QUrl))},
        {root, SIGNAL(saveProject(QUrl)), this, SLOT(saveProject(QUrl))},
        {root, SIGNAL(saveFeeders(QUrl)), this, SLOT(saveFeeders(QUrl))},
        {root, SIGNAL(openFeeders(QUrl)), this, SLOT(openFeeders(QUrl))},
        {root, SIGNAL(setRefPointCursor(bool)), this, SLOT(setRefPointCursor(bool))},
        {root, SIGNAL(setRefPointCursorColor(QColor)), this, SLOT(setRefPointCursorColor(QColor))},
        {root, SIGNAL(setRefPointCursorType(int)), this, SLOT(setRefPointCursorType(int))},
        {root, SIGNAL(iniFileCheck(QString)), this, SLOT(iniFileCheck(QString))},
        {root, SIGNAL(encoderScaleSend(QString,double,double)), this, SLOT(encoderScaleGet(QString,double,double))},
        {root, SIGNAL(stepperScaleSend(QString,double,double)), this, SLOT(stepperScaleGet(QString,double,double))},
        {root, SIGNAL(openFileImport(QString,QString,int,int,int,int,int,int)), this,
         SLOT(openFileImport(QString,QString,int,int,int,int,int,int))},
        {root, SIGNAL(openFeederFileImport(QString,QString,int,int,int,int)), this,
         SLOT(openFeederFileImport(QString,QString,int,int,int,int))},
        {root, SIGNAL(readCameraModes(int)), this, SLOT(readCameraModes(int))},
        {root, SIGNAL(stopwatchStart()), this, SLOT(stopwatchStart())},
        {root, SIGNAL(stopwatchStop()), this, SLOT(stopwatchStop())},
        {root, SIGNAL(stopwatchPause()), this, SLOT(stopwatchPause())},
        {root, SIGNAL(stopwatchResume()), this, SLOT(stopwatchResume())},
        {root, SIGNAL(calcPcbMountTime()), this, SLOT(calcPcbMountTime())},
        {root, SIGNAL(makeQImage(QString)), this, SLOT(makeQImage(QString))},
        {root, SIGNAL(recalculateOverlaps(QVariant,bool)), this, SLOT(recalculateOverlaps(QVariant,bool))},
        {root, SIGNAL(recalculateAllOverlaps()), this, SLOT(recalculateAllOverlaps())},
        {root, SIGNAL(takeScreenShot()), this, SLOT(takeScreenShot())},
        {root, SIGNAL(scanStart(double,double,double,double,double)), this,
         SLOT(scanStart(double,double,double,double,double))},
        {root, SIGNAL(scanStep(double,double)), this, SLOT(scanStep(double,double))},
        {root, SIGNAL(scanFinish(QString)), this, SLOT(scanFinish(QString))},
        {root, SIGNAL(translate(QString)), this, SLOT(translate(QString))},
        {root, SIGNAL(iniGetSpeedAcc(QString)), this, SLOT(iniGetSpeedAcc(QString))},
        {root, SIGNAL(maxVelAccSend(QString,double,double,double,double,double,double,double,double,double,double)),
         this, SLOT(maxVelAccGet(QString,double,double,double,double,double,double,double,double,double,double))},
        {root, SIGNAL(antSortSend()), this, SLOT(antSortGet())},
        {root, SIGNAL(nearestSortSend()), this, SLOT(nearestSortGet())},
        {root, SIGNAL(feederListExport(QString)), this, SLOT(feederListExportGet(QString))},
        {root, SIGNAL(projectDayStatisticsExport(QString)), this, SLOT(projectDayStatisticsExportGet(QString))},
        {root, SIGNAL(vsMeasureTimeFreshGet()), this, SLOT(vsMeasureTimeFreshCalc())},
        {root, SIGNAL(calcFieldCalibrationSend(int,int)), this, SLOT(calcFieldCalibrationGet(int,int))},
        {root, SIGNAL(fieldCalibrationLoad()), this, SLOT(fieldCalibrationLoad())},
        {root, SIGNAL(makeAoi(QVariant,QVariant,int,int)), this, SLOT(makeAoi(QVariant,QVariant,int,int))},
        {root, SIGNAL(simWorldSend(QVariant)), this, SLOT(simWorldGet(QVariant))},
    });

    // Further inputs of Worker.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &Worker::applicationStateChangedGet);
    connect(&m_stopwatchTimer, &QTimer::timeout, this, &Worker::stopwatchTimerTriggered);
    failures += connectAll({
        {cnc, SIGNAL(maxVelSend(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)), this,
         SLOT(maxVelGet(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(maxAccSend(QVariant,QVariant,QVariant,QVariant)), this,
         SLOT(maxAccGet(QVariant,QVariant,QVariant,QVariant))},
    });

    // Worker signals delivered to the main window and the device workers.
    failures += connectAll({
        {this, SIGNAL(errorSend(QVariant)), root, SLOT(errorAdd(QVariant))},
        {this, SIGNAL(showError(QVariant,QVariant,QVariant)), root, SLOT(errorMessage(QVariant,QVariant,QVariant))},
        {this, SIGNAL(sendPreviouslyOpenedFeederBanks(QVariant,QVariant,QVariant,QVariant,QVariant)), root,
         SLOT(getPreviouslyOpenedFeederBanks(QVariant,QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(createElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)),
         area, SLOT(createElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(setRefPoint(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)),
         area, SLOT(setRefPointFull(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(setDot(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)), area,
         SLOT(setDot(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(pcbSetXY(QVariant,QVariant)), area, SLOT(pcbSetXY(QVariant,QVariant))},
        {this, SIGNAL(pcbSetRotation(QVariant,QVariant,QVariant)), area, SLOT(pcbSetRotation(QVariant,QVariant,QVariant))},
        {this, SIGNAL(setFirstPcbXY()), root, SLOT(setFirstPcbXY())},
        {this, SIGNAL(iniFileCorrectSend(QVariant)), root, SLOT(iniFileCorrectGet(QVariant))},
        {this, SIGNAL(iniMesaTypeSend(QVariant)), root, SLOT(iniMesaTypeGet(QVariant))},
        {this, SIGNAL(iniMesaTypeSend(QVariant)), cnc, SLOT(iniMesaTypeGet(QVariant))},
        {this, SIGNAL(iniMesaTypeSend(QVariant)), ping, SLOT(iniMesaTypeGet(QVariant))},
        {this, SIGNAL(iniIPSend(QString)), ping, SLOT(iniIPGet(QString))},
        {this, SIGNAL(addImportElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)),
         root, SLOT(addImportElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(addImportFeeder(QVariant,QVariant,QVariant,QVariant)), root,
         SLOT(addImportFeeder(QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(maxVelSend(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)), root,
         SLOT(maxVelGet(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(maxAccSend(QVariant,QVariant,QVariant,QVariant)), root, SLOT(maxAccGet(QVariant,QVariant,QVariant,QVariant))},
        {this, SIGNAL(inputsExistsSend(QVariant)), root, SLOT(inputsExistsGet(QVariant))},
        {this, SIGNAL(calcElementRectSend()), root, SLOT(calcElementRect())},
        {this, SIGNAL(mapFeedersToElementsSend(QVariant)), root, SLOT(mapFeedersToElements(QVariant))},
        {this, SIGNAL(sendFieldCalibration(twoDPoint2fVector,int,int)), cnc, SLOT(fieldCalibrationGet(twoDPoint2fVector,int,int))},
        {this, SIGNAL(sendFieldCalibrationAvailable(QVariant)), root, SLOT(getFieldCalibrationAvailable(QVariant))},
        {this, SIGNAL(sendFieldCalibrationAvailable(QVariant)), cnc, SLOT(fieldCalibrationAvailableGet(QVariant))},
        {this, SIGNAL(projectDayStatisticsAppendSeconds(QVariant)), root, SLOT(projectDayStatisticsAppendSeconds(QVariant))},
        {root, SIGNAL(pcbSetXY(QVariant,QVariant)), area, SLOT(pcbSetXY(QVariant,QVariant))},
        {root, SIGNAL(pcbSetRotation(QVariant,QVariant,QVariant)), area, SLOT(pcbSetRotation(QVariant,QVariant,QVariant))},
        {root, SIGNAL(machineMove(int,bool,double,bool)), root, SLOT(setSlowSpeed())},
    });

    // Root signals served by the machine link.
    failures += connectAll({
        {root, SIGNAL(runCnc(QString)), cnc, SLOT(runCnc(QString))},
        {root, SIGNAL(stopCnc()), cnc, SLOT(stopCnc())},
        {root, SIGNAL(machineMove(int,bool,double,bool)), cnc, SLOT(machineMoveGet(int,bool,double,bool))},
        {root, SIGNAL(machineMoveIncr(int,bool,double,double)), cnc, SLOT(machineMoveIncrGet(int,bool,double,double))},
        {root, SIGNAL(machineMoveStep(int,bool,double)), cnc, SLOT(machineMoveStepGet(int,bool,double))},
        {root, SIGNAL(debugModeSend(bool)), cnc, SLOT(debugModeGet(bool))},
        {root, SIGNAL(setMachineOn(bool)), cnc, SLOT(machineOnGet(bool))},
        {root, SIGNAL(setEstop()), cnc, SLOT(estopGet())},
        {root, SIGNAL(setAbort()), cnc, SLOT(setAbort())},
        {root, SIGNAL(machineHome(bool)), cnc, SLOT(machineHome(bool))},
        {root, SIGNAL(zUpSend()), cnc, SLOT(zUpGet())},
        {root, SIGNAL(setDoutOn(int,bool)), cnc, SLOT(setDout(int,bool))},
        {root, SIGNAL(sendGCode(QString,bool)), cnc, SLOT(getGCode(QString,bool))},
        {root, SIGNAL(maxVelLimitSend(double,double)), cnc, SLOT(maxVelLimitGet(double,double))},
        {root, SIGNAL(feedOverrideSend(int,bool)), cnc, SLOT(feedOverrideGet(int,bool))},
        {root, SIGNAL(relXYSend(double,double)), cnc, SLOT(relXYGet(double,double))},
        {root, SIGNAL(startPWMVibroSend(int,int,double)), cnc, SLOT(startPWMVibroGet(int,int,double))},
        {root, SIGNAL(blowDelaySend(double)), cnc, SLOT(blowDelayGet(double))},
        {root, SIGNAL(zAutoFindSend(bool,double,double,double)), cnc, SLOT(zAutoFindGet(bool,double,double,double))},
        {root, SIGNAL(diagOpenedSend(bool)), cnc, SLOT(diagOpenedGet(bool))},
        {root, SIGNAL(setEncoderEnabled(int,bool)), cnc, SLOT(encoderEnabledGet(int,bool))},
        {root, SIGNAL(sendShaftsMovingState(bool,bool)), cnc, SLOT(getShaftsMovingState(bool,bool))},
        {root, SIGNAL(allowMoveShaftsSend(bool)), cnc, SLOT(allowMoveShaftsGet(bool))},
        {root, SIGNAL(calibXYSend(double,double)), cnc, SLOT(calibXYGet(double,double))},
        {root, SIGNAL(needSlowAccSend(bool)), cnc, SLOT(needSlowAccGet(bool))},
        {root, SIGNAL(currVCHeightSend(double)), cnc, SLOT(currVCHeightGet(double))},
        {root, SIGNAL(fieldCalibrationEnableSend(bool)), cnc, SLOT(fieldCalibrationEnabledGet(bool))},
        {root, SIGNAL(disableHome(int,double)), cnc, SLOT(disableHomeGet(int,double))},
    });

    // Machine link signals delivered to the main window.
    failures += connectAll({
        {cnc, SIGNAL(showError(QVariant,QVariant,QVariant)), root, SLOT(errorMessage(QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(logAdd(QVariant,QVariant)), root, SLOT(logAdd(QVariant,QVariant))},
        {cnc, SIGNAL(cncRunningSend(QVariant)), root, SLOT(cncRunningGet(QVariant))},
        {cnc, SIGNAL(cncRunningSend(QVariant)), ping, SLOT(cncRunningGet(QVariant))},
        {cnc, SIGNAL(cncStartFailed()), root, SLOT(cncStartFailedGet())},
        {cnc, SIGNAL(machineOnSend(QVariant)), root, SLOT(machineOnGet(QVariant))},
        {cnc, SIGNAL(jointPosSend(QVariant)), root, SLOT(jointPosGet(QVariant))},
        {cnc, SIGNAL(jointPos2Send(QVariant)), root, SLOT(jointPos2Get(QVariant))},
        {cnc, SIGNAL(jointHomedSend(QVariant,QVariant,QVariant,QVariant,QVariant)), root,
         SLOT(jointHomedGet(QVariant,QVariant,QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(doutSend(QVariant,QVariant)), root, SLOT(doutGet(QVariant,QVariant))},
        {cnc, SIGNAL(errorSend(QVariant)), root, SLOT(machineErrorGet(QVariant))},
        {cnc, SIGNAL(errorSend(QVariant)), root, SLOT(linuxCncErrorAdd(QVariant))},
        {cnc, SIGNAL(gCodeDoneSend(bool)), root, SIGNAL(getGcodeDone(bool))},
        {cnc, SIGNAL(maxVelSend(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)), root,
         SLOT(maxVelGet(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(maxAccSend(QVariant,QVariant,QVariant,QVariant)), root, SLOT(maxAccGet(QVariant,QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(encoderStepSend(QVariant)), root, SLOT(encoderStepGet(QVariant))},
        {cnc, SIGNAL(encoderScaleSend(QVariant,QVariant,QVariant)), root, SLOT(encoderScaleGet(QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(stepperScaleSend(QVariant,QVariant,QVariant)), root, SLOT(stepperScaleGet(QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(startSend()), root, SLOT(progStartBtnPressed())},
        {cnc, SIGNAL(zAutoFindResultSend(QVariant)), root, SLOT(zAutoFindResultGet(QVariant))},
        {cnc, SIGNAL(programmerErrPinSend(QVariant)), root, SLOT(programmerErrPinGet(QVariant))},
        {cnc, SIGNAL(programmerSucPinSend(QVariant)), root, SLOT(programmerSucPinGet(QVariant))},
        {cnc, SIGNAL(programmerResultSend(QVariant)), root, SLOT(programmerResultGet(QVariant))},
        {cnc, SIGNAL(halHomeXSend(QVariant)), root, SLOT(halHomeXGet(QVariant))},
        {cnc, SIGNAL(halHomeYSend(QVariant)), root, SLOT(halHomeYGet(QVariant))},
        {cnc, SIGNAL(halHomeZSend(QVariant)), root, SLOT(halHomeZGet(QVariant))},
        {cnc, SIGNAL(halHomeBSend(QVariant)), root, SLOT(halHomeBGet(QVariant))},
        {cnc, SIGNAL(halESTOPSend(QVariant)), root, SLOT(halESTOPGet(QVariant))},
        {cnc, SIGNAL(halStartPauseSend(QVariant)), root, SLOT(halStartPauseGet(QVariant))},
        {cnc, SIGNAL(halSpeedEncoderSend(QVariant)), root, SLOT(halSpeedEncoderGet(QVariant))},
        {cnc, SIGNAL(halSpeedEncoderIncSend(QVariant)), root, SLOT(halSpeedEncoderIncGet(QVariant))},
        {cnc, SIGNAL(halEncXSend(QVariant)), root, SLOT(halEncXGet(QVariant))},
        {cnc, SIGNAL(halEncYSend(QVariant)), root, SLOT(halEncYGet(QVariant))},
        {cnc, SIGNAL(halEncZSend(QVariant)), root, SLOT(halEncZGet(QVariant))},
        {cnc, SIGNAL(halStepperXSend(QVariant)), root, SLOT(halStepperXGet(QVariant))},
        {cnc, SIGNAL(halStepperYSend(QVariant)), root, SLOT(halStepperYGet(QVariant))},
        {cnc, SIGNAL(halStepperZSend(QVariant)), root, SLOT(halStepperZGet(QVariant))},
        {cnc, SIGNAL(encStepperXDivSend(QVariant)), root, SLOT(encStepperXDivGet(QVariant))},
        {cnc, SIGNAL(encStepperYDivSend(QVariant)), root, SLOT(encStepperYDivGet(QVariant))},
        {cnc, SIGNAL(encStepperZDivSend(QVariant)), root, SLOT(encStepperZDivGet(QVariant))},
        {cnc, SIGNAL(encStepperXMaxDivSend(QVariant)), root, SLOT(encStepperXMaxDivGet(QVariant))},
        {cnc, SIGNAL(encStepperYMaxDivSend(QVariant)), root, SLOT(encStepperYMaxDivGet(QVariant))},
        {cnc, SIGNAL(encStepperZMaxDivSend(QVariant)), root, SLOT(encStepperZMaxDivGet(QVariant))},
        {cnc, SIGNAL(encExistSend(QVariant,QVariant,QVariant)), root, SLOT(encExistGet(QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(doutListChangeEnabled(QVariant,QVariant)), root, SLOT(doutListChangeEnabled(QVariant,QVariant))},
        {cnc, SIGNAL(pwmEnabledSend(QVariant)), root, SLOT(pwmEnabledGet(QVariant))},
        {cnc, SIGNAL(blowEnabledSend(QVariant)), root, SLOT(blowEnabledGet(QVariant))},
        {cnc, SIGNAL(homeExistsSend(QVariant,QVariant,QVariant)), root, SLOT(homeExistsGet(QVariant,QVariant,QVariant))},
        {cnc, SIGNAL(pwmVibroDoneSend()), root, SLOT(pwmVibroDoneGet())},
        {cnc, SIGNAL(sendVsMeasureBeforeGet()), root, SLOT(getVsMeasureBeforeGet())},
    });

    // RLC meter.
    failures += connectAll({
        {root, SIGNAL(rlcStart(QString)), rlc, SLOT(runRLC(QString))},
        {root, SIGNAL(rlcMeasure()), rlc, SLOT(read())},
        {root, SIGNAL(rlcSetupValueSend(QString,double)), rlc, SLOT(setup(QString,double))},
        {root, SIGNAL(rlcSetup(QString,bool,bool)), rlc, SLOT(setup(QString,bool,bool))},
        {rlc, SIGNAL(openDone()), root, SLOT(rlcStartedGet())},
        {rlc, SIGNAL(openFailed(QVariant)), root, SLOT(rlcStartFailedGet(QVariant))},
        {rlc, SIGNAL(sendValue(QVariant,QVariant,QVariant)), root, SLOT(rlcMeasureGet(QVariant,QVariant,QVariant))},
        {rlc, SIGNAL(readFailed(QVariant)), root, SLOT(rlcMeasureFailedGet(QVariant))},
        {rlc, SIGNAL(setupFailed(QVariant)), root, SLOT(rlcSetupFailedGet(QVariant))},
        {rlc, SIGNAL(setupDone()), root, SLOT(rlcSetupFinishedGet())},
    });

    // Vacuum sensor.
    failures += connectAll({
        {root, SIGNAL(vsStartSend(QString)), vs, SLOT(runVS(QString))},
        {root, SIGNAL(vsStopSend()), vs, SLOT(stopVS())},
        {root, SIGNAL(vsMeasure()), vs, SLOT(read())},
        {vs, SIGNAL(openDone()), root, SLOT(vsStartedGet())},
        {vs, SIGNAL(openFailed(QVariant)), root, SLOT(vsStartFailedGet(QVariant))},
        {vs, SIGNAL(sendValue(QVariant,QVariant)), root, SLOT(vsMeasureGet(QVariant,QVariant))},
        {vs, SIGNAL(sendValue(QVariant,QVariant)), cnc, SLOT(vsMeasureGet(QVariant,QVariant))},
        {vs, SIGNAL(readFailed(QVariant)), root, SLOT(vsMeasureFailedGet(QVariant))},
        {vs, SIGNAL(showError(QVariant,QVariant,QVariant)), root, SLOT(errorMessage(QVariant,QVariant,QVariant))},
    });

    // Card pinger.
    failures += connectAll({
        {root, SIGNAL(linuxCncAutoStartSend(bool)), ping, SLOT(linuxCncAutoStartGet(bool))},
        {ping, SIGNAL(runStopCncFromPingSend(QVariant)), root, SLOT(runStopCncFromPingGet(QVariant))},
    });

    // Device programmer.
    failures += connectAll({
        {root, SIGNAL(programmerScriptStart(QString,int)), programmer, SLOT(programmerScriptStart(QString,int))},
        {programmer, SIGNAL(programmerScriptResultSend(QVariant)), root, SLOT(programmerResultGet(QVariant))},
        {programmer, SIGNAL(showError(QVariant,QVariant,QVariant)), root, SLOT(errorMessage(QVariant,QVariant,QVariant))},
    });

    m_wiringFailures = failures;
    if (failures > 0)
        qCritical() << "Worker::setConnections:" << failures << "connections could not be made";

    setRootProperty("invalidImage", QImage());
    setRootProperty("initVar", true);

    if (m_store.value(QStringLiteral("device"), QStringLiteral("cameraUseQuirks"), false).toBool()
        && m_cameraQuirksFailed) {
        emit showError(tr("Права пользователя для приложения заданы неправильно!"), false, QString());
    }
}

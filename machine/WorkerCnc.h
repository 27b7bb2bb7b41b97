#pragma once

#include "vision/FieldCalibrationTypes.h"

#include <QObject>
#include <QString>
#include <QVariant>

// The machine link: lives in its own time-critical thread, starts and stops
// LinuxCNC, polls its status, sends commands and executes G-code blocks.
// Its slots are fed by root signals of the main window; its signals go back
// to root functions (wired once by Worker::setConnections).
class WorkerCnc : public QObject
{
    Q_OBJECT
public:
    explicit WorkerCnc(QObject *parent = nullptr);
    ~WorkerCnc() override;

public slots:
    // Starts LinuxCNC with the given machine configuration (ini file).
    void runCnc(QString iniFile);
    // Stops LinuxCNC and clears the machine state.
    void stopCnc();
    // Continuous jog of an axis (start or stop) at a speed.
    void machineMoveGet(int axis, bool direction, double speed, bool start);
    // Incremental jog of an axis by a distance.
    void machineMoveIncrGet(int axis, bool direction, double speed, double distance);
    // One keyboard step of an axis.
    void machineMoveStepGet(int axis, bool direction, double speed);
    // Debug mode of the machine link (extra logging).
    void debugModeGet(bool enabled);
    // Machine power on or off.
    void machineOnGet(bool on);
    // Emergency stop.
    void estopGet();
    // Aborts the running motion and G-code.
    void setAbort();
    // Homes all axes (or only those allowed by the flag).
    void machineHome(bool all);
    // Lifts Z to the safe height.
    void zUpGet();
    // Switches a digital output.
    void setDout(int number, bool on);
    // Executes a G-code block; safeH asks for the safe-height check.
    void getGCode(QString text, bool safeH);
    // Limits of Z and XY speed set by the operator.
    void maxVelLimitGet(double zLimit, double xyLimit);
    // Feed override in percent; the flag applies it at once.
    void feedOverrideGet(int percent, bool apply);
    // Relative XY offset for the following moves.
    void relXYGet(double x, double y);
    // Software PWM of a vibration feeder: output, duty, duration.
    void startPWMVibroGet(int output, int duty, double seconds);
    // Length of the blow-off pulse in seconds.
    void blowDelayGet(double seconds);
    // Z auto-search by the vacuum sensor: start/stop, speed, step, limit.
    void zAutoFindGet(bool start, double speed, double step, double limit);
    // The diagnostics window was opened or closed.
    void diagOpenedGet(bool opened);
    // Encoder supervision of an axis on or off.
    void encoderEnabledGet(int axis, bool enabled);
    // Feeder shafts B and C are moving.
    void getShaftsMovingState(bool b, bool c);
    // Whether feeder shafts may be moved.
    void allowMoveShaftsGet(bool allowed);
    // Calibration point for XY.
    void calibXYGet(double x, double y);
    // Slow acceleration requested for the next moves.
    void needSlowAccGet(bool slow);
    // Height of the current nozzle.
    void currVCHeightGet(double height);
    // Field correction on or off.
    void fieldCalibrationEnabledGet(bool enabled);
    // Disables homing of an axis at a position.
    void disableHomeGet(int axis, double position);
    // Mesa card type read from the machine configuration.
    void iniMesaTypeGet(QVariant type);
    // The field-correction table and its size.
    void fieldCalibrationGet(twoDPoint2fVector table, int width, int height);
    // Whether a field calibration exists.
    void fieldCalibrationAvailableGet(QVariant available);
    // A vacuum sensor reading (for the Z auto-search).
    void vsMeasureGet(QVariant value, QVariant raw);

signals:
    void showError(QVariant message, QVariant silent, QVariant type);
    void logAdd(QVariant message, QVariant color);
    void cncRunningSend(QVariant running);
    void cncStartFailed();
    void machineOnSend(QVariant on);
    void jointPosSend(QVariant xyza);
    void jointPos2Send(QVariant bcd);
    void jointHomedSend(QVariant x, QVariant y, QVariant z, QVariant a, QVariant b);
    void doutSend(QVariant number, QVariant on);
    void errorSend(QVariant error);
    void gCodeDoneSend(bool successfull);
    void maxVelSend(QVariant v1, QVariant v2, QVariant v3, QVariant v4, QVariant v5, QVariant v6);
    void maxAccSend(QVariant a1, QVariant a2, QVariant a3, QVariant a4);
    void encoderStepSend(QVariant step);
    void encoderScaleSend(QVariant x, QVariant y, QVariant z);
    void stepperScaleSend(QVariant x, QVariant y, QVariant z);
    void startSend();
    void zAutoFindResultSend(QVariant result);
    void programmerErrPinSend(QVariant value);
    void programmerSucPinSend(QVariant value);
    void programmerResultSend(QVariant result);
    void halHomeXSend(QVariant value);
    void halHomeYSend(QVariant value);
    void halHomeZSend(QVariant value);
    void halHomeBSend(QVariant value);
    void halESTOPSend(QVariant value);
    void halStartPauseSend(QVariant value);
    void halSpeedEncoderSend(QVariant value);
    void halSpeedEncoderIncSend(QVariant value);
    void halEncXSend(QVariant value);
    void halEncYSend(QVariant value);
    void halEncZSend(QVariant value);
    void halStepperXSend(QVariant value);
    void halStepperYSend(QVariant value);
    void halStepperZSend(QVariant value);
    void encStepperXDivSend(QVariant value);
    void encStepperYDivSend(QVariant value);
    void encStepperZDivSend(QVariant value);
    void encStepperXMaxDivSend(QVariant value);
    void encStepperYMaxDivSend(QVariant value);
    void encStepperZMaxDivSend(QVariant value);
    void encExistSend(QVariant x, QVariant y, QVariant z);
    void doutListChangeEnabled(QVariant number, QVariant enabled);
    void pwmEnabledSend(QVariant enabled);
    void blowEnabledSend(QVariant enabled);
    void homeExistsSend(QVariant x, QVariant y, QVariant z);
    void pwmVibroDoneSend();
    void sendVsMeasureBeforeGet();
};

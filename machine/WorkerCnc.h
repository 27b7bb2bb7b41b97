#pragma once

#include "devices/VibroPwm.h"
#include "machine/CncConfig.h"
#include "machine/GCodeInterpreter.h"
#include "machine/HomingSequence.h"
#include "machine/MachineChannel.h"
#include "machine/ProgrammerLines.h"
#include "machine/ShellDialogue.h"
#include "machine/StartButton.h"
#include "util/FieldCalibrationTypes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTime>
#include <QTimer>
#include <QVariant>

#include <array>
#include <memory>

class QTcpSocket;

// The machine link: lives in its own time-critical thread, starts and stops
// LinuxCNC, polls its status, sends commands and executes G-code blocks.
// Its slots are fed by root signals of the main window; its signals go back
// to root functions (wired once by Worker::setConnections).
//
// Sources: WorkerCnc.cpp (start, stop, shell dialogue), WorkerCncStatus.cpp
// (channels, status poll, errors), WorkerCncCommands.cpp (direct commands),
// WorkerCncGCode.cpp (G-code blocks, Z auto-search).
class WorkerCnc : public QObject
{
    Q_OBJECT
public:
    explicit WorkerCnc(QObject *parent = nullptr);
    // For tests: another channel to the controller, and the outputs the
    // software PWM of the vibration feeders switches (none: it does nothing).
    WorkerCnc(std::unique_ptr<MachineChannel> channel, QObject *parent = nullptr,
              ThreadVibroPWM::OutputsFactory vibroOutputs = {});
    // The halcmd the hardware PWM and the blow-off width are set with.
    void setHalCmd(const QString &program);
    ~WorkerCnc() override;

    bool connected() const { return m_connected; }
    bool idle() const { return m_interp.idle(); }
    bool homing() const { return m_homing; }
    bool machineHomed() const { return m_machineHomed; }
    int shellState() const { return m_dialogue.state(); }
    // Process id of the running LinuxCNC start script (0 when none).
    qint64 linuxCncPid() const;
    const CncConfig &config() const { return m_config; }
    // Takes a machine configuration (runCnc reads it from the files).
    void setConfig(const CncConfig &config);
    const MachineStatus &lastStatus() const { return m_status; }
    // Where the output of LinuxCNC's start script goes.
    static QString linuxCncLogPath();

public slots:
    // Starts LinuxCNC with the given machine configuration (ini file).
    void runCnc(QString iniFile);
    // Stops LinuxCNC and clears the machine state.
    void stopCnc();
    // Continuous jog of an axis (start or stop) at a speed in percent.
    void machineMoveGet(int axis, bool direction, double speed, bool run);
    void machineMoveGet(int axis, bool direction, double speed, bool run, bool maxFeed);
    // Incremental jog of an axis by a distance.
    void machineMoveIncrGet(int axis, bool direction, double speed, double distance);
    // One keyboard step of an axis (0: the smallest step of the axis).
    void machineMoveStepGet(int axis, bool direction, double moveStep);
    // Debug mode: no speed limits and no position clamping.
    void debugModeGet(bool enabled);
    // Machine power on or off.
    void machineOnGet(bool on);
    // Emergency stop.
    void estopGet();
    // True (and an error shown) when LinuxCNC is in E-stop.
    bool checkEstop();
    // Aborts the running motion and G-code.
    void setAbort();
    // Starts (true) or ends (false) the homing sequence.
    void machineHome(bool homing);
    void homeSequence(bool start);
    void unhomeAll();
    // Lifts Z to the safe height.
    void zUpGet();
    // Switches a digital output wired in the HAL file.
    void setDout(int number, bool on);
    void vacuumOnGet(bool on);
    // Jogs (true) or stops (false) the feeder shafts.
    void shaftsMove(bool start);
    // Executes a G-code block; safeH asks for the safe-height check.
    void getGCode(QString text, bool safeH);
    void NMLInterpreter();
    void stopInterpreter(bool successfull);
    // Limits of Z and XY speed set by the operator (units per minute).
    void maxVelLimitGet(double zLimit, double xyLimit);
    // Feed override in percent; `write` stores it as the operator's.
    void feedOverrideGet(int percent, bool write);
    void resetAcc(int axis);
    // Relative XY offset for the following moves.
    void relXYGet(double x, double y);
    // Software PWM of a vibration feeder: output, duty, duration.
    void startPWMVibroGet(int output, int duty, double seconds);
    // Length of the blow-off pulse in seconds.
    void blowDelayGet(double seconds);
    // Z auto-search by the vacuum sensor.
    void zAutoFindGet(bool start, double increment, double feed, double targetPressureDiff);
    void zAutoFindCycle();
    // The diagnostics window was opened or closed.
    void diagOpenedGet(bool opened);
    // Encoder feedback wanted for X (0), Y (1), Z (2); applied at the next start.
    void encoderEnabledGet(int axis, bool enabled);
    // Re-wires the position feedback of an axis in HAL.
    void halSetEncoderEnabled(int number, bool value);
    // Which feeder shafts the start key turns.
    void getShaftsMovingState(bool b, bool c);
    // Whether feeder shafts may be moved.
    void allowMoveShaftsGet(bool allowed);
    // Calibration point for XY (the words XCalib and YCalib).
    void calibXYGet(double x, double y);
    // Gentle accelerations for the next moves.
    void needSlowAccGet(bool slow);
    // Height of the current nozzle.
    void currVCHeightGet(double height);
    // Field correction on or off.
    void fieldCalibrationEnabledGet(bool enabled);
    // Makes an axis home in place at a position.
    void disableHomeGet(int axis, double position);
    // Mesa card type read from the machine configuration.
    void iniMesaTypeGet(QVariant type);
    // The field-correction table and its size.
    void fieldCalibrationGet(twoDPoint2fVector table, int width, int height);
    // Whether a field calibration exists.
    void fieldCalibrationAvailableGet(QVariant available);
    // A vacuum sensor reading (for the Z auto-search).
    void vsMeasureGet(QVariant value, QVariant msecs);

    // Channels and status poll.
    bool startNML();
    void stopNML();
    void NMLCheck();
    void time1() { NMLCheck(); }
    void NMLErrorHandler();
    // Writes one line to LinuxCNC's remote shell.
    void writeAskError(QString text);

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
    void halStartedSend(QVariant started);
    void milageSend(double xMilage, double yMilage, double zMilage);

private:
    class Port;
    void init();
    void onShellLine(const QString &line);
    void onShellConnected();
    void onShellError();
    void onShellDisconnected();
    void connectShell();
    void shellLost();
    void failStart(const QString &message);
    void stopLinuxCnc();
    void applyConfig();
    bool readStatus();
    void takeSoftLimits();
    void publishHal();
    double velocityLimit(int axis) const;
    void scheduleInterpreter(int ms);
    void finishBlock(bool success);

    std::unique_ptr<MachineChannel> m_channel;
    std::unique_ptr<Port> m_port;
    GCodeInterpreter m_interp;
    CncConfig m_config;
    ShellDialogue m_dialogue;
    HomingSequence m_homingSequence;
    StartButton m_startButton;
    ProgrammerLines m_programmerLines;

    QProcess *m_linuxCnc = nullptr;
    QTcpSocket *m_shell = nullptr;
    QByteArray m_shellBuffer;
    QTimer m_pollTimer;
    QTimer m_interpTimer;
    // Counts the blocks ended, so that one ended during a step is reported once.
    quint64 m_blocksEnded = 0;
    QTimer m_autoFindTimer;
    QTimer m_retryTimer;

    MachineStatus m_status;
    bool m_connected = false;
    bool m_runningReported = false;
    bool m_halStarted = false;
    HalPresence m_halPresence;
    QString m_mesaType = QStringLiteral("5i25");
    bool m_machineOn = false;
    std::array<bool, Axes::kCount> m_homed{};
    std::array<bool, 3> m_justHomed{};
    bool m_machineHomed = false;
    bool m_homing = false;
    std::array<double, Axes::kCount> m_softMin{};
    std::array<double, Axes::kCount> m_softMax{};
    std::array<int, 16> m_doutState{};
    std::array<int, 4> m_digitalIn{};
    int m_previousTaskState = 0;
    double m_maxVelZ = 150;
    double m_maxVelXY = 500;
    bool m_debugMode = false;
    bool m_allowMoveShafts = false;
    bool m_shaftBRotate = true;
    bool m_shaftCRotate = true;
    bool m_shaftsMoving = false;
    std::array<bool, 3> m_encoderExists{};
    std::array<bool, 3> m_encoderEnabled{{true, true, true}};
    std::array<double, 3> m_encoderRef{};
    std::array<double, 3> m_stepgenRef{};
    std::array<double, 3> m_lastEncoder{{-1e300, -1e300, -1e300}};
    std::array<double, 3> m_lastStepgen{{-1e300, -1e300, -1e300}};
    std::array<double, 3> m_lastDivergence{};
    std::array<double, 3> m_maxDivergence{};
    HalInputs m_lastHal;
    bool m_halPublished = false;
    double m_blowDelay = 0.1;
    // The vibration of the vibration feeders (hardware or software PWM).
    VibroPwm m_vibro;
    HalCmdRunner m_vibroHal;
    bool m_diagOpened = false;
    QString m_lastError;

    // Z auto-search.
    int m_autoState = 0;
    QList<double> m_autoSamples;
    double m_autoBaseline = -1;
    double m_autoIncrement = 0;
    double m_autoFeed = 0;
    double m_autoTarget = 4.0;
    double m_autoStopHeight = 0;
    bool m_autoMoveStarted = false;
    double m_vsPressure = 0;
    QElapsedTimer m_vsTime;
};

// WorkerCnc: the direct machine commands (power, E-stop, abort, homing, jogs,
// outputs, feeder shafts, encoder feedback) and the operator's options.
#include "machine/WorkerCnc.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QThread>

#include <cmath>

void WorkerCnc::machineOnGet(bool on)
{
    if (!m_connected)
        return;
    if (!on) {
        vacuumOnGet(false);
        m_channel->setTaskState(MachineStatus::Off);
        setAbort();
        return;
    }
    if (checkEstop())
        return;
    m_channel->setTaskState(MachineStatus::EstopReset);
    m_channel->setTaskState(MachineStatus::On);
}

bool WorkerCnc::checkEstop()
{
    if (m_connected)
        readStatus();
    if (m_status.taskState == MachineStatus::Estop) {
        // LinuxCNC starts, and stays after an emergency stop, in its E-stop
        // state. A reset holds only while the E-stop chain is closed: the
        // E-stop signal is active when the state falls back.
        if (m_connected) {
            m_channel->setTaskState(MachineStatus::EstopReset);
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 300) {
                QThread::msleep(10);
                if (readStatus() && m_status.taskState != MachineStatus::Estop && t.elapsed() >= 150)
                    return false;
            }
        }
        emit showError(tr("Сигнал E-STOP активен! Отключите E-STOP и попробуйте снова."), false,
                       QStringLiteral("error"));
        return true;
    }
    return false;
}

void WorkerCnc::estopGet()
{
    m_vibro.stop();
    emit showError(tr("Сработал сигнал E-STOP!"), false, QStringLiteral("error"));
    if (m_connected)
        m_channel->setTaskState(MachineStatus::Estop);
    emit machineOnSend(false);
    stopInterpreter(false);
}

void WorkerCnc::setAbort()
{
    m_vibro.stop();
    if (!m_connected)
        return;
    m_channel->abortTask();
    if (!m_interp.idle())
        stopInterpreter(false);
}

void WorkerCnc::machineHome(bool homing)
{
    if (!m_interp.idle())
        return;
    m_homing = homing;
    if (homing)
        homeSequence(true);
}

void WorkerCnc::homeSequence(bool start)
{
    if (!m_connected)
        return;
    HomingSequence::Commands commands;
    commands.unhome = [this](int axis) { m_channel->unhome(axis); };
    commands.resetAcc = [this](int axis) { resetAcc(axis); };
    commands.home = [this](int axis) { m_channel->home(axis); };
    m_homingSequence.step(start, m_homed, m_config.homeSequence, m_config.homeAxisCount, m_debugMode, commands);
}

void WorkerCnc::unhomeAll()
{
    if (!m_connected)
        return;
    for (int i = 0; i < Axes::kCount; ++i) {
        if (m_debugMode && i < 2)
            continue;
        m_channel->unhome(i);
    }
}

// The jog speed limits of the operator, in units per second.
double WorkerCnc::velocityLimit(int axis) const
{
    if (m_debugMode)
        return 1e30;
    if (axis == 2)
        return m_maxVelZ / 60.0;
    if (axis == 0 || axis == 1) {
        const bool raised = m_status.position[2] > m_config.zMax - 1.0;
        return raised ? m_maxVelXY / 60.0 : m_maxVelXY / 30.0 / 60.0;
    }
    return 1e30;
}

void WorkerCnc::machineMoveGet(int axis, bool direction, double speed, bool run)
{
    machineMoveGet(axis, direction, speed, run, false);
}

void WorkerCnc::machineMoveGet(int axis, bool direction, double speed, bool run, bool maxFeed)
{
    if (!m_interp.idle() || !Axes::valid(axis) || !m_connected)
        return;
    if (!run) {
        m_channel->jogStop(axis);
        return;
    }
    if (speed > m_interp.userFeedOverride() && !maxFeed)
        speed = m_interp.userFeedOverride();
    double velocity = speed / 100.0 * m_config.maxVelocity[axis];
    velocity = std::min(velocity, velocityLimit(axis));
    resetAcc(axis);
    m_channel->jog(axis, direction ? velocity : -velocity);
}

void WorkerCnc::machineMoveIncrGet(int axis, bool direction, double speed, double distance)
{
    if (!Axes::valid(axis) || !m_connected)
        return;
    double velocity = speed / 100.0 * m_config.maxVelocity[axis];
    velocity = std::min(velocity, velocityLimit(axis));
    m_channel->jogIncrement(axis, distance, direction ? velocity : -velocity);
}

void WorkerCnc::machineMoveStepGet(int axis, bool direction, double moveStep)
{
    if (!m_interp.idle() || !Axes::valid(axis) || !m_connected)
        return;
    feedOverrideGet(100, false);
    double step = moveStep;
    if (step == 0) {
        if (axis < 2 && m_config.encoderStep != -1)
            step = m_config.encoderStep;
        else
            step = m_config.stepSize[axis];
    }
    // The controller limits the velocity to the axis maximum.
    m_channel->jogIncrement(axis, step, direction ? 10000.0 : -10000.0);
}

void WorkerCnc::zUpGet()
{
    // Only a machine that stands still, homed, may raise its head on request.
    if (!(m_connected && m_interp.idle() && m_machineHomed && !m_homing))
        return;
    feedOverrideGet(100, false);
    m_channel->jogTo(2, m_config.zMax, 40.0);
}

void WorkerCnc::setDout(int number, bool on)
{
    if (number < 0 || number >= 16 || !m_config.doutEnabled[number] || !m_connected)
        return;
    m_channel->setDigitalOutput(number, on);
}

void WorkerCnc::vacuumOnGet(bool on)
{
    setDout(1, on);
}

void WorkerCnc::shaftsMove(bool start)
{
    if (m_homing || !m_connected)
        return;
    if (start) {
        if (!m_machineOn || !m_allowMoveShafts)
            return;
        if (m_shaftBRotate)
            machineMoveGet(4, true, 40, true, true);
        if (m_shaftCRotate)
            machineMoveGet(5, true, 40, true, true);
        m_shaftsMoving = true;
        return;
    }
    if (m_shaftsMoving) {
        if (m_shaftBRotate)
            m_channel->jogStop(4);
        if (m_shaftCRotate)
            m_channel->jogStop(5);
    }
    m_shaftsMoving = false;
}

void WorkerCnc::getShaftsMovingState(bool b, bool c)
{
    m_shaftBRotate = b;
    m_shaftCRotate = c;
}

void WorkerCnc::allowMoveShaftsGet(bool allowed)
{
    m_allowMoveShafts = allowed;
    if (!allowed)
        shaftsMove(false);
}

void WorkerCnc::maxVelLimitGet(double zLimit, double xyLimit)
{
    m_maxVelZ = zLimit;
    m_maxVelXY = xyLimit;
}

void WorkerCnc::debugModeGet(bool enabled)
{
    m_debugMode = enabled;
}

void WorkerCnc::disableHomeGet(int axis, double position)
{
    qDebug() << "disableHomeGet " << axis;
    if (!m_connected || !Axes::valid(axis))
        return;
    m_channel->homeInPlace(axis, position);
}

void WorkerCnc::iniMesaTypeGet(QVariant type)
{
    const QString t = type.toString();
    // The type becomes part of HAL pin names: only the known cards.
    if (t == QLatin1String("5i25") || t == QLatin1String("7i92"))
        m_mesaType = t;
}

void WorkerCnc::encoderEnabledGet(int axis, bool enabled)
{
    if (axis >= 0 && axis < 3)
        m_encoderEnabled[axis] = enabled;
}

void WorkerCnc::halSetEncoderEnabled(int number, bool value)
{
    if (!m_connected || number < 0 || number > 2 || !m_encoderExists[number])
        return;
    m_channel->halSetEncoderFeedback(number, value);
}

void WorkerCnc::diagOpenedGet(bool opened)
{
    m_diagOpened = opened;
}

void WorkerCnc::startPWMVibroGet(int output, int duty, double seconds)
{
    // The first argument is the vibration frequency in Hz.
    const int frequency = output;
    if (!m_connected) {
        emit pwmVibroDoneSend();
        return;
    }
    m_vibro.setHardware(m_config.pwmEnabled, m_mesaType);
    m_vibro.start(frequency, duty, seconds);
}

void WorkerCnc::blowDelayGet(double seconds)
{
    m_blowDelay = seconds;
    if (m_connected && m_config.blowEnabled)
        m_vibroHal.run(HalCommands::blowWidth(seconds));
}

void WorkerCnc::setHalCmd(const QString &program)
{
    m_vibroHal.setProgram(program);
    m_vibro.setHalCmd(program);
}

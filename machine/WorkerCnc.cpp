#include "machine/WorkerCnc.h"

// The machine link is filled in with the LinuxCNC adapter; until then every
// request is accepted and ignored, so the rest of the program can run.

WorkerCnc::WorkerCnc(QObject *parent)
    : QObject(parent)
{
}

WorkerCnc::~WorkerCnc() = default;

void WorkerCnc::runCnc(QString iniFile)
{
    Q_UNUSED(iniFile)
    // No controller can be started yet: say so instead of leaving the
    // operator waiting for a start that never comes.
    emit cncStartFailed();
}

void WorkerCnc::stopCnc()
{
}

void WorkerCnc::machineMoveGet(int axis, bool direction, double speed, bool start)
{
    Q_UNUSED(axis)
    Q_UNUSED(direction)
    Q_UNUSED(speed)
    Q_UNUSED(start)
}

void WorkerCnc::machineMoveIncrGet(int axis, bool direction, double speed, double distance)
{
    Q_UNUSED(axis)
    Q_UNUSED(direction)
    Q_UNUSED(speed)
    Q_UNUSED(distance)
}

void WorkerCnc::machineMoveStepGet(int axis, bool direction, double speed)
{
    Q_UNUSED(axis)
    Q_UNUSED(direction)
    Q_UNUSED(speed)
}

void WorkerCnc::debugModeGet(bool enabled)
{
    Q_UNUSED(enabled)
}

void WorkerCnc::machineOnGet(bool on)
{
    Q_UNUSED(on)
}

void WorkerCnc::estopGet()
{
}

void WorkerCnc::setAbort()
{
}

void WorkerCnc::machineHome(bool all)
{
    Q_UNUSED(all)
}

void WorkerCnc::zUpGet()
{
}

void WorkerCnc::setDout(int number, bool on)
{
    Q_UNUSED(number)
    Q_UNUSED(on)
}

void WorkerCnc::getGCode(QString text, bool safeH)
{
    Q_UNUSED(text)
    Q_UNUSED(safeH)
    // Nothing can execute the block: report it as failed so that no step
    // waits for an answer forever.
    emit gCodeDoneSend(false);
}

void WorkerCnc::maxVelLimitGet(double zLimit, double xyLimit)
{
    Q_UNUSED(zLimit)
    Q_UNUSED(xyLimit)
}

void WorkerCnc::feedOverrideGet(int percent, bool apply)
{
    Q_UNUSED(percent)
    Q_UNUSED(apply)
}

void WorkerCnc::relXYGet(double x, double y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
}

void WorkerCnc::startPWMVibroGet(int output, int duty, double seconds)
{
    Q_UNUSED(output)
    Q_UNUSED(duty)
    Q_UNUSED(seconds)
}

void WorkerCnc::blowDelayGet(double seconds)
{
    Q_UNUSED(seconds)
}

void WorkerCnc::zAutoFindGet(bool start, double speed, double step, double limit)
{
    Q_UNUSED(start)
    Q_UNUSED(speed)
    Q_UNUSED(step)
    Q_UNUSED(limit)
}

void WorkerCnc::diagOpenedGet(bool opened)
{
    Q_UNUSED(opened)
}

void WorkerCnc::encoderEnabledGet(int axis, bool enabled)
{
    Q_UNUSED(axis)
    Q_UNUSED(enabled)
}

void WorkerCnc::getShaftsMovingState(bool b, bool c)
{
    Q_UNUSED(b)
    Q_UNUSED(c)
}

void WorkerCnc::allowMoveShaftsGet(bool allowed)
{
    Q_UNUSED(allowed)
}

void WorkerCnc::calibXYGet(double x, double y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
}

void WorkerCnc::needSlowAccGet(bool slow)
{
    Q_UNUSED(slow)
}

void WorkerCnc::currVCHeightGet(double height)
{
    Q_UNUSED(height)
}

void WorkerCnc::fieldCalibrationEnabledGet(bool enabled)
{
    Q_UNUSED(enabled)
}

void WorkerCnc::disableHomeGet(int axis, double position)
{
    Q_UNUSED(axis)
    Q_UNUSED(position)
}

void WorkerCnc::iniMesaTypeGet(QVariant type)
{
    Q_UNUSED(type)
}

void WorkerCnc::fieldCalibrationGet(twoDPoint2fVector table, int width, int height)
{
    Q_UNUSED(table)
    Q_UNUSED(width)
    Q_UNUSED(height)
}

void WorkerCnc::fieldCalibrationAvailableGet(QVariant available)
{
    Q_UNUSED(available)
}

void WorkerCnc::vsMeasureGet(QVariant value, QVariant raw)
{
    Q_UNUSED(value)
    Q_UNUSED(raw)
}

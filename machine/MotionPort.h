#pragma once

#include <QString>

// What the G-code interpreter needs from the machine: one absolute move per
// axis, digital outputs, live acceleration and following-error limits, and the
// ways to report a failure.
class MotionPort
{
public:
    virtual ~MotionPort() = default;
    virtual void moveAxis(int axis, double target, double velocity) = 0;
    virtual void setOutput(int index, bool on) = 0;
    virtual void setAccelerationLimit(int axis, int value) = 0;
    virtual void setFollowingErrorLimit(int axis, double value) = 0;
    virtual void requestVacuumReference() = 0;
    // A machine error for the error list (stops a running job).
    virtual void reportError(const QString &text) = 0;
    // A message for the error window.
    virtual void showError(const QString &text) = 0;
    // Emergency stop; the running block ends as failed through finish().
    virtual void emergencyStop() = 0;
};

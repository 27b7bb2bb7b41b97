#pragma once

#include "machine/MachineStatus.h"

#include <QString>

// The machine link's only way to the motion controller: commands that wait for
// their acknowledgement, a status snapshot, the error channel and the HAL
// inputs and settings. Axis numbers are the program's (0..6 = X..D).
class MachineChannel
{
public:
    virtual ~MachineChannel() = default;

    // Opens the command, status and error channels; gives up after the
    // timeout. On failure `error` tells why.
    virtual bool open(double timeoutSeconds, QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Reads the current status; false when it cannot be read.
    virtual bool readStatus(MachineStatus &status) = 0;

    enum class ErrorRead { Nothing, Message, Bad };
    // One message of the error channel, if any.
    virtual ErrorRead readError(QString &text) = 0;

    virtual void setTaskState(int state) = 0;
    virtual void abortTask() = 0;
    virtual void home(int axis) = 0;
    virtual void unhome(int axis) = 0;
    virtual void jog(int axis, double velocity) = 0;
    virtual void jogIncrement(int axis, double increment, double velocity) = 0;
    virtual void jogTo(int axis, double position, double velocity) = 0;
    virtual void jogStop(int axis) = 0;
    // Makes a later home command home the axis where it stands, at `home`.
    virtual void homeInPlace(int axis, double home) = 0;
    virtual void setFollowingError(int axis, double limit) = 0;
    virtual void setDigitalOutput(int index, bool on) = 0;

    // HAL: finds the watched inputs (pin names depend on the FPGA card type).
    virtual HalPresence halOpen(const QString &cardType) = 0;
    virtual void halClose() = 0;
    virtual bool halRead(HalInputs &inputs) = 0;
    // Writes the live acceleration limit of an axis.
    virtual bool halSetAcceleration(int axis, int value) = 0;
    // Position feedback of X, Y or Z from the encoder (true) or the step generator.
    virtual bool halSetEncoderFeedback(int axis, bool encoder) = 0;
};

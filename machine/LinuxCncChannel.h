#pragma once

#include "machine/HalShell.h"
#include "machine/MachineChannel.h"

#include <QList>
#include <QMutex>

#include <memory>

class RCS_CMD_CHANNEL;
class RCS_STAT_CHANNEL;
class NML;
class RCS_CMD_MSG;

// The machine channel over LinuxCNC 2.9: NML command, status and error
// buffers, and HAL through a long-lived halcmd. The only code that knows
// LinuxCNC's message classes, status layout and HAL names. Axis n is joint n
// of the trivkins machine; commands go out as joint jogs in free mode.
class LinuxCncChannel : public MachineChannel
{
public:
    explicit LinuxCncChannel(QString nmlFile = QStringLiteral("/usr/share/linuxcnc/linuxcnc.nml"));
    ~LinuxCncChannel() override;

    bool open(double timeoutSeconds, QString *error) override;
    void close() override;
    bool isOpen() const override;
    bool readStatus(MachineStatus &status) override;
    ErrorRead readError(QString &text) override;

    void setTaskState(int state) override;
    void abortTask() override;
    void home(int axis) override;
    void unhome(int axis) override;
    void jog(int axis, double velocity) override;
    void jogIncrement(int axis, double increment, double velocity) override;
    void jogTo(int axis, double position, double velocity) override;
    void jogStop(int axis) override;
    void homeInPlace(int axis, double home) override;
    void setFollowingError(int axis, double limit) override;
    void setDigitalOutput(int index, bool on) override;

    HalPresence halOpen(const QString &cardType) override;
    void halClose() override;
    bool halRead(HalInputs &inputs) override;
    bool halSetAcceleration(int axis, int value) override;
    bool halSetEncoderFeedback(int axis, bool encoder) override;

    // Switches a digital output and waits for LinuxCNC to acknowledge it;
    // false when the command could not be sent or was not acknowledged.
    bool switchOutput(int index, bool on);

    // Commands that were not acknowledged within their second.
    int unacknowledged() const { return m_unacknowledged; }

private:
    bool send(RCS_CMD_MSG &message);
    // Joint jogs and absolute joint moves need free (joint) mode; motion
    // switches itself to teleop once every joint is homed.
    void ensureJointMode();
    bool peekStatus();
    // Motion homes one joint at a time: further home commands wait here
    // until the joint in flight has finished.
    void sendPendingHome();

    QString m_nmlFile;
    std::unique_ptr<RCS_CMD_CHANNEL> m_command;
    std::unique_ptr<RCS_STAT_CHANNEL> m_status;
    std::unique_ptr<NML> m_error;
    QMutex m_commandMutex;
    int m_unacknowledged = 0;
    QList<int> m_pendingHomes;
    int m_homeInFlight = -1;
    bool m_homeSeenHoming = false;
    double m_homeSentAt = 0;

    HalShell m_hal;
    QString m_cardType;
    QStringList m_readCommands;
};

#include "machine/LinuxCncChannel.h"

#include <QDebug>
#include <QMutexLocker>

// LinuxCNC's headers define macros with common names: they come last.
#include <debugflags.h>
#include <emc.hh>
#include <emcglb.h>
#include <emc_nml.hh>
#include <nml_oi.hh>
#include <rcs.hh>
#include <rcs_print.hh>
#include <timer.hh>

#include <cstring>

namespace {

constexpr double kAckTimeout = 1.0;

QString pinHome(int index)
{
    static const int joints[4] = {0, 1, 2, 4};
    return QStringLiteral("joint.%1.home-sw-in").arg(joints[index]);
}

} // namespace

LinuxCncChannel::LinuxCncChannel(QString nmlFile)
    : m_nmlFile(std::move(nmlFile))
{
}

LinuxCncChannel::~LinuxCncChannel()
{
    close();
}

bool LinuxCncChannel::open(double timeoutSeconds, QString *error)
{
    close();
    const QByteArray file = m_nmlFile.toLocal8Bit();
    if (!(emc_debug & EMC_DEBUG_NML))
        set_rcs_print_destination(RCS_PRINT_TO_NULL);

    const double start = etime();
    for (;;) {
        if (!m_command) {
            m_command.reset(new RCS_CMD_CHANNEL(emcFormat, "emcCommand", "xemc", file.constData()));
            if (!m_command->valid())
                m_command.reset();
        }
        if (!m_status) {
            m_status.reset(new RCS_STAT_CHANNEL(emcFormat, "emcStatus", "xemc", file.constData()));
            if (!m_status->valid())
                m_status.reset();
        }
        // Right after start the buffer exists but holds no state yet.
        if (m_command && m_status && peekStatus()) {
            auto *stat = static_cast<EMC_STAT *>(m_status->get_address());
            if (stat && stat->task.state >= EMC_TASK_STATE_ESTOP)
                break;
        }
        if (etime() - start >= timeoutSeconds) {
            m_command.reset();
            m_status.reset();
            if (error)
                *error = QStringLiteral("command or status channel");
            return false;
        }
        esleep(0.1);
    }
    for (;;) {
        m_error.reset(new NML(nmlErrorFormat, "emcError", "xemc", file.constData()));
        if (m_error->valid())
            break;
        m_error.reset();
        if (etime() - start >= timeoutSeconds) {
            m_command.reset();
            m_status.reset();
            if (error)
                *error = QStringLiteral("error channel");
            return false;
        }
        esleep(0.1);
    }
    return true;
}

void LinuxCncChannel::close()
{
    m_pendingHomes.clear();
    m_homeInFlight = -1;
    halClose();
    m_error.reset();
    m_status.reset();
    m_command.reset();
}

bool LinuxCncChannel::isOpen() const
{
    return m_command && m_status && m_error;
}

// Refreshes the status buffer; true when it holds a status (a peek without
// news leaves the last one in place).
bool LinuxCncChannel::peekStatus()
{
    if (!m_status || !m_status->valid())
        return false;
    const NMLTYPE type = m_status->peek();
    if (type == EMC_STAT_TYPE)
        return true;
    if (type != 0)
        return false;
    const auto *message = static_cast<const RCS_STAT_MSG *>(m_status->get_address());
    return message && message->type == EMC_STAT_TYPE;
}

bool LinuxCncChannel::readStatus(MachineStatus &status)
{
    if (!peekStatus())
        return false;
    const auto *stat = static_cast<const EMC_STAT *>(m_status->get_address());
    if (!stat)
        return false;
    status.taskState = stat->task.state;
    for (int i = 0; i < MachineStatus::kDio; ++i) {
        status.digitalIn[i] = stat->motion.synch_di[i];
        status.digitalOut[i] = stat->motion.synch_do[i];
    }
    for (int i = 0; i < MachineStatus::kAxes; ++i) {
        const EMC_JOINT_STAT &j = stat->motion.joint[i];
        status.position[i] = j.input;
        status.minLimit[i] = j.minPositionLimit;
        status.maxLimit[i] = j.maxPositionLimit;
        status.inPosition[i] = j.inpos != 0;
        status.homed[i] = j.homed != 0;
    }
    sendPendingHome();
    return true;
}

MachineChannel::ErrorRead LinuxCncChannel::readError(QString &text)
{
    text.clear();
    if (!m_error || !m_error->valid())
        return ErrorRead::Bad;
    const NMLTYPE type = m_error->read();
    if (type == 0)
        return ErrorRead::Nothing;
    if (type == -1)
        return ErrorRead::Bad;
    const void *address = m_error->get_address();
    char buffer[256];
    buffer[0] = 0;
    switch (type) {
    case NML_ERROR_TYPE:
    case NML_TEXT_TYPE:
    case NML_DISPLAY_TYPE:
        std::strncpy(buffer, static_cast<const NML_ERROR *>(address)->error, 255);
        buffer[255] = 0;
        break;
    case EMC_OPERATOR_ERROR_TYPE:
    case EMC_OPERATOR_TEXT_TYPE:
    case EMC_OPERATOR_DISPLAY_TYPE:
        std::strncpy(buffer, static_cast<const EMC_OPERATOR_ERROR *>(address)->error, 254);
        buffer[254] = 0;
        break;
    default:
        std::snprintf(buffer, sizeof buffer, "unrecognized error %ld", long(type));
        break;
    }
    text = QString::fromLocal8Bit(buffer);
    return ErrorRead::Message;
}

bool LinuxCncChannel::send(RCS_CMD_MSG &message)
{
    QMutexLocker lock(&m_commandMutex);
    if (!m_command)
        return false;
    if (m_command->write(&message) != 0)
        return false;
    const int serial = message.serial_number;
    const double start = etime();
    for (;;) {
        if (etime() - start >= kAckTimeout) {
            qDebug() << "wait fail";
            ++m_unacknowledged;
            return true;
        }
        if (peekStatus()) {
            const auto *stat = static_cast<const EMC_STAT *>(m_status->get_address());
            if (stat->echo_serial_number == serial)
                return true;
        }
        esleep(0.001);
    }
}

void LinuxCncChannel::ensureJointMode()
{
    if (!peekStatus())
        return;
    const auto *stat = static_cast<const EMC_STAT *>(m_status->get_address());
    if (stat->motion.traj.mode != EMC_TRAJ_MODE_TELEOP)
        return;
    EMC_TRAJ_SET_TELEOP_ENABLE m;
    m.enable = 0;
    send(m);
}

void LinuxCncChannel::setTaskState(int state)
{
    if (state != EMC_TASK_STATE_ON) {
        m_pendingHomes.clear();
        m_homeInFlight = -1;
    }
    EMC_TASK_SET_STATE m;
    m.state = static_cast<EMC_TASK_STATE_ENUM>(state);
    send(m);
    if (state == EMC_TASK_STATE_ON) {
        // Jogs are served in manual mode.
        EMC_TASK_SET_MODE mode;
        mode.mode = EMC_TASK_MODE_MANUAL;
        send(mode);
    }
}

void LinuxCncChannel::abortTask()
{
    m_pendingHomes.clear();
    m_homeInFlight = -1;
    EMC_TASK_ABORT m;
    send(m);
}

void LinuxCncChannel::home(int axis)
{
    if (!Axes::valid(axis) || m_pendingHomes.contains(axis) || m_homeInFlight == axis)
        return;
    m_pendingHomes.append(axis);
    sendPendingHome();
}

void LinuxCncChannel::sendPendingHome()
{
    if (m_pendingHomes.isEmpty() || !peekStatus())
        return;
    const auto *stat = static_cast<const EMC_STAT *>(m_status->get_address());
    if (m_homeInFlight >= 0) {
        const EMC_JOINT_STAT &j = stat->motion.joint[m_homeInFlight];
        if (j.homing)
            m_homeSeenHoming = true;
        const bool finished = (m_homeSeenHoming && !j.homing) || j.homed;
        if (!finished && etime() - m_homeSentAt < 2.0)
            return;
        m_homeInFlight = -1;
    }
    for (int i = 0; i < MachineStatus::kAxes; ++i) {
        if (stat->motion.joint[i].homing)
            return;
    }
    const int axis = m_pendingHomes.takeFirst();
    ensureJointMode();
    EMC_JOINT_HOME m;
    m.joint = axis;
    m_homeInFlight = axis;
    m_homeSeenHoming = false;
    m_homeSentAt = etime();
    send(m);
}

void LinuxCncChannel::unhome(int axis)
{
    if (!Axes::valid(axis))
        return;
    m_pendingHomes.removeAll(axis);
    ensureJointMode();
    EMC_JOINT_UNHOME m;
    m.joint = axis;
    send(m);
}

void LinuxCncChannel::jog(int axis, double velocity)
{
    if (!Axes::valid(axis))
        return;
    ensureJointMode();
    EMC_JOG_CONT m;
    m.joint_or_axis = axis;
    m.vel = velocity;
    m.jjogmode = 1;
    send(m);
}

void LinuxCncChannel::jogIncrement(int axis, double increment, double velocity)
{
    if (!Axes::valid(axis))
        return;
    ensureJointMode();
    EMC_JOG_INCR m;
    m.joint_or_axis = axis;
    m.incr = increment;
    m.vel = velocity;
    m.jjogmode = 1;
    send(m);
}

void LinuxCncChannel::jogTo(int axis, double position, double velocity)
{
    if (!Axes::valid(axis))
        return;
    ensureJointMode();
    EMC_JOG_ABS m;
    m.joint_or_axis = axis;
    m.pos = position;
    m.vel = velocity;
    m.jjogmode = 1;
    send(m);
}

void LinuxCncChannel::jogStop(int axis)
{
    if (!Axes::valid(axis))
        return;
    EMC_JOG_STOP m;
    m.joint_or_axis = axis;
    m.jjogmode = 1;
    send(m);
}

void LinuxCncChannel::homeInPlace(int axis, double home)
{
    if (!Axes::valid(axis))
        return;
    EMC_JOINT_SET_HOMING_PARAMS m;
    m.joint = axis;
    m.home = home;
    m.offset = home;
    m.home_final_vel = 0;
    m.search_vel = 0;
    m.latch_vel = 0;
    m.use_index = 0;
    m.encoder_does_not_reset = 0;
    m.ignore_limits = 0;
    m.is_shared = 0;
    m.home_sequence = 0;
    m.volatile_home = 0;
    m.locking_indexer = 0;
    m.absolute_encoder = 0;
    send(m);
}

void LinuxCncChannel::setFollowingError(int axis, double limit)
{
    if (!Axes::valid(axis))
        return;
    EMC_JOINT_SET_FERROR f;
    f.joint = axis;
    f.ferror = limit;
    send(f);
    EMC_JOINT_SET_MIN_FERROR m;
    m.joint = axis;
    m.ferror = limit;
    send(m);
}

void LinuxCncChannel::setDigitalOutput(int index, bool on)
{
    switchOutput(index, on);
}

bool LinuxCncChannel::switchOutput(int index, bool on)
{
    if (index < 0 || index >= MachineStatus::kDio)
        return false;
    EMC_MOTION_SET_DOUT m;
    m.index = static_cast<unsigned char>(index);
    m.start = on ? 1 : 0;
    m.end = on ? 1 : 0;
    m.now = 1;
    const int before = m_unacknowledged;
    return send(m) && m_unacknowledged == before;
}

HalPresence LinuxCncChannel::halOpen(const QString &cardType)
{
    HalPresence presence;
    halClose();
    // The card type becomes part of pin names: only plain names are taken.
    m_cardType = cardType;
    for (QChar c : cardType) {
        if (!c.isLetterOrNumber()) {
            m_cardType = QStringLiteral("5i25");
            break;
        }
    }
    if (!m_hal.start())
        return presence;
    m_readCommands.clear();
    for (int i = 0; i < 4; ++i)
        m_readCommands << QStringLiteral("getp ") + pinHome(i);
    m_readCommands << QStringLiteral("getp iocontrol.0.emc-enable-in")
                   << QStringLiteral("getp motion.digital-in-01")
                   << QStringLiteral("gets s-pos");
    for (int i = 0; i < 3; ++i)
        m_readCommands << QStringLiteral("getp hm2_%1.0.encoder.0%2.position").arg(m_cardType).arg(i);
    for (int i = 0; i < 3; ++i)
        m_readCommands << QStringLiteral("getp hm2_%1.0.stepgen.0%2.position-fb").arg(m_cardType).arg(i);

    QStringList answers;
    if (!m_hal.run(m_readCommands, &answers) || answers.size() != m_readCommands.size())
        return presence;
    auto found = [&](int i) { return !answers[i].contains(QLatin1String("not found")); };
    for (int i = 0; i < 4; ++i)
        presence.homeSwitch[i] = found(i);
    presence.estopIn = found(4);
    presence.startPause = found(5);
    presence.speedKnob = found(6);
    for (int i = 0; i < 3; ++i) {
        presence.encoder[i] = found(7 + i);
        presence.stepgen[i] = found(10 + i);
    }
    return presence;
}

void LinuxCncChannel::halClose()
{
    m_hal.stop();
    m_readCommands.clear();
}

bool LinuxCncChannel::halRead(HalInputs &inputs)
{
    QStringList answers;
    if (m_readCommands.isEmpty() || !m_hal.run(m_readCommands, &answers)
        || answers.size() != m_readCommands.size())
        return false;
    auto number = [&](int i, double missing) {
        double v = missing;
        if (!HalShell::toNumber(answers[i], &v))
            v = missing;
        return v;
    };
    for (int i = 0; i < 4; ++i)
        inputs.homeSwitch[i] = int(number(i, -1));
    inputs.estopIn = int(number(4, -1));
    inputs.startPause = int(number(5, -1));
    inputs.speedKnob = number(6, -1.0);
    for (int i = 0; i < 3; ++i) {
        inputs.encoder[i] = number(7 + i, -1.0);
        inputs.stepgen[i] = number(10 + i, -1.0);
    }
    return true;
}

bool LinuxCncChannel::halSetAcceleration(int axis, int value)
{
    if (!Axes::valid(axis))
        return false;
    const QString letter = QString(QLatin1Char(Axes::letter(axis))).toLower();
    QStringList answers;
    // Joint and axis limits both exist in 2.9 and both take effect live.
    const bool ok = m_hal.run({QStringLiteral("setp ini.%1.max_acceleration %2").arg(axis).arg(value),
                               QStringLiteral("setp ini.%1.max_acceleration %2").arg(letter).arg(value)},
                              &answers);
    return ok && answers.isEmpty();
}

bool LinuxCncChannel::halSetEncoderFeedback(int axis, bool encoder)
{
    if (axis < 0 || axis > 2)
        return false;
    const QString l = QString(QLatin1Char(Axes::letter(axis))).toLower();
    const QString t = m_cardType;
    QStringList commands;
    if (encoder) {
        commands << QStringLiteral("unlinkp hm2_%1.0.stepgen.0%2.position-fb").arg(t).arg(axis)
                 << QStringLiteral("net %1-pos-fb hm2_%2.0.encoder.0%3.position").arg(l, t).arg(axis)
                 << QStringLiteral("net %1-vel-fb pid.%2.feedback-deriv").arg(l, l);
    } else {
        commands << QStringLiteral("unlinkp hm2_%1.0.encoder.0%2.position").arg(t).arg(axis)
                 << QStringLiteral("net %1-pos-fb hm2_%2.0.stepgen.0%3.position-fb").arg(l, t).arg(axis)
                 << QStringLiteral("unlinkp pid.%1.feedback-deriv").arg(l);
        if (axis < 2)
            commands << QStringLiteral("setp limit1.%1pos.min 0").arg(l)
                     << QStringLiteral("setp limit1.%1neg.max -0").arg(l);
    }
    QStringList answers;
    const bool ok = m_hal.run(commands, &answers);
    for (const QString &a : answers)
        qWarning() << "halcmd:" << a;
    return ok && answers.isEmpty();
}

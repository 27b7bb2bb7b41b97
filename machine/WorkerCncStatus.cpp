// WorkerCnc: the NML channels, the 100 ms status poll with the HAL inputs,
// and the error channel.
#include "machine/WorkerCnc.h"

#include "machine/CncErrorText.h"

#include <QDebug>

#include <cmath>

bool WorkerCnc::startNML()
{
    QString why;
    if (!m_channel->open(10.0, &why)) {
        qDebug() << "NML set-up failed:" << why;
        emit showError(tr("Не удалось установить связь по NML!"), false, QStringLiteral("error"));
        return false;
    }
    m_connected = true;
    m_previousTaskState = 0;
    m_doutState.fill(-1);
    m_halPublished = false;
    m_lastEncoder.fill(-1e300);
    m_lastStepgen.fill(-1e300);
    if (readStatus())
        takeSoftLimits();

    m_halStarted = false;
    m_halPresence = m_channel->halOpen(m_mesaType);
    for (int i = 0; i < 3; ++i)
        m_encoderExists[i] = m_halPresence.encoder[i] && m_config.encoderScale[i] != 0.0;
    m_halStarted = m_halPresence.homeSwitch[0] || m_halPresence.homeSwitch[1] || m_halPresence.homeSwitch[2]
                   || m_halPresence.estopIn || m_halPresence.startPause;
    emit encExistSend(m_encoderExists[0], m_encoderExists[1], m_encoderExists[2]);
    emit halStartedSend(m_halStarted);
    if (m_halStarted) {
        for (int i = 0; i < 3; ++i) {
            if (!m_encoderEnabled[i])
                halSetEncoderEnabled(i, false);
        }
    }
    m_pollTimer.start();
    return true;
}

void WorkerCnc::takeSoftLimits()
{
    m_softMin = m_status.minLimit;
    m_softMax = m_status.maxLimit;
    m_interp.setSoftLimits(m_softMin, m_softMax);
}

void WorkerCnc::stopNML()
{
    m_pollTimer.stop();
    const bool was = m_connected || m_halStarted;
    m_channel->close();
    m_connected = false;
    m_halStarted = false;
    if (was)
        emit halStartedSend(false);
}

bool WorkerCnc::readStatus()
{
    return m_channel->readStatus(m_status);
}

void WorkerCnc::NMLErrorHandler()
{
    if (!m_connected)
        return;
    QString text;
    switch (m_channel->readError(text)) {
    case MachineChannel::ErrorRead::Nothing:
        return;
    case MachineChannel::ErrorRead::Bad:
        qDebug() << "NMLErrorHandler BAD!";
        return;
    case MachineChannel::ErrorRead::Message:
        break;
    }
    const QString result = CncErrorText::translate(text, [this] {
        readStatus();
        return m_status.taskState == MachineStatus::On;
    });
    m_lastError = result;
    if (result.isEmpty())
        return;
    qDebug() << "LinuxCNC:" << text;
    emit errorSend(result);
    estopGet();
}

void WorkerCnc::NMLCheck()
{
    if (!m_connected)
        return;
    NMLErrorHandler();
    if (!m_connected || !readStatus())
        return;
    const MachineStatus &st = m_status;
    // LinuxCNC fills in the joint limits a moment after its status appears.
    if (st.minLimit != m_softMin || st.maxLimit != m_softMax)
        takeSoftLimits();

    for (int i = 0; i < 16; ++i) {
        if (st.digitalOut[i] != m_doutState[i]) {
            m_doutState[i] = st.digitalOut[i];
            emit doutSend(i, st.digitalOut[i] != 0);
        }
    }
    for (int i = 0; i < 4; ++i)
        m_digitalIn[i] = st.digitalIn[i];
    const ProgrammerLines::Events prog = m_programmerLines.poll(st.digitalIn[10], st.digitalIn[11]);
    if (prog.errorChanged)
        emit programmerErrPinSend(st.digitalIn[11]);
    if (prog.successChanged)
        emit programmerSucPinSend(st.digitalIn[10]);
    if (!prog.result.isEmpty())
        emit programmerResultSend(prog.result);

    switch (m_startButton.poll(st.digitalIn[1])) {
    case StartButton::Event::None:
        break;
    case StartButton::Event::Pressed:
        emit startSend();
        shaftsMove(false);
        break;
    case StartButton::Event::ShaftsStart:
        shaftsMove(true);
        break;
    case StartButton::Event::ShaftsStop:
        shaftsMove(false);
        break;
    }

    bool homedChanged = false;
    for (int i = 0; i < Axes::kCount; ++i) {
        if (st.homed[i] != m_homed[i]) {
            m_homed[i] = st.homed[i];
            homedChanged = true;
            if (i < 3 && st.homed[i])
                m_justHomed[i] = true;
        }
    }
    if (homedChanged)
        emit jointHomedSend(m_homed[0], m_homed[1], m_homed[2], m_homed[3], m_config.hasAxis4 ? m_homed[4] : true);

    if (m_homing) {
        const bool all = m_homed[0] && m_homed[1] && m_homed[2] && m_homed[3] && (!m_config.hasAxis4 || m_homed[4]);
        if (all) {
            machineHome(false);
            m_machineHomed = true;
        } else {
            m_machineHomed = false;
            homeSequence(false);
        }
    }

    const bool on = st.taskState == MachineStatus::On;
    if (on != m_machineOn) {
        m_machineOn = on;
        if (!on)
            unhomeAll();
        emit machineOnSend(on);
    }
    if (st.taskState != m_previousTaskState) {
        if (st.taskState == MachineStatus::Estop && m_previousTaskState != 0) {
            emit showError(tr("Сработал сигнал E-STOP!"), false, QStringLiteral("error"));
            stopInterpreter(false);
        }
        m_previousTaskState = st.taskState;
    }

    std::array<double, Axes::kCount> pos{};
    for (int i = 0; i < Axes::kCount; ++i) {
        double p = st.position[i];
        if (std::fabs(p) < 0.001)
            p = 0;
        if (!m_debugMode)
            p = m_softMin[i] > m_softMax[i] ? m_softMax[i] : std::min(std::max(p, m_softMin[i]), m_softMax[i]);
        pos[i] = p;
    }
    double x = pos[0];
    double y = pos[1];
    if (m_interp.fieldCorrectionActive()) {
        const QPointF cell = m_interp.fieldCell(x, y);
        x += cell.x();
        y += cell.y();
    }
    auto f = [](double v) { return QVariant(double(float(v))); };
    emit jointPosSend(QVariantList{f(x), f(y), f(pos[2]), f(pos[3])});
    emit jointPos2Send(QVariantList{f(pos[4]), f(pos[5]), f(pos[6])});

    auto &milage = m_interp.milage();
    if (milage[0] > 10.0 || milage[1] > 10.0 || milage[2] > 10.0) {
        emit milageSend(milage[0], milage[1], milage[2]);
        milage.fill(0);
    }
    publishHal();
}

void WorkerCnc::publishHal()
{
    if (!m_halStarted)
        return;
    HalInputs in;
    if (!m_channel->halRead(in))
        return;
    const HalInputs &old = m_lastHal;
    const bool all = !m_halPublished;
    auto home = [&](int i) {
        const int raw = in.homeSwitch[i];
        return (i < 3 && m_config.homeExists[i]) ? int(!raw) : raw;
    };
    if (all || in.homeSwitch[0] != old.homeSwitch[0])
        emit halHomeXSend(home(0));
    if (all || in.homeSwitch[1] != old.homeSwitch[1])
        emit halHomeYSend(home(1));
    if (all || in.homeSwitch[2] != old.homeSwitch[2])
        emit halHomeZSend(home(2));
    if (all || in.homeSwitch[3] != old.homeSwitch[3])
        emit halHomeBSend(int(!in.homeSwitch[3]));
    if (all || in.estopIn != old.estopIn)
        emit halESTOPSend(int(!in.estopIn));
    if (all || in.startPause != old.startPause)
        emit halStartPauseSend(in.startPause == 0 ? 1 : (in.startPause == 1 ? 0 : in.startPause));
    const int knob = int(in.speedKnob);
    const int oldKnob = int(old.speedKnob);
    if (all || knob != oldKnob) {
        emit halSpeedEncoderIncSend(all ? 0 : knob - oldKnob);
        emit halSpeedEncoderSend(knob);
    }
    m_lastHal = in;
    m_halPublished = true;

    for (int i = 0; i < 3; ++i) {
        if (!m_justHomed[i])
            continue;
        m_encoderRef[i] = in.encoder[i];
        m_stepgenRef[i] = in.stepgen[i];
        m_maxDivergence[i] = 0;
        if (i == 0)
            emit encStepperXMaxDivSend(0);
        else if (i == 1)
            emit encStepperYMaxDivSend(0);
        else
            emit encStepperZMaxDivSend(0);
        m_justHomed[i] = false;
    }
    for (int i = 0; i < 3; ++i) {
        if (m_encoderExists[i] && in.encoder[i] != m_lastEncoder[i]) {
            m_lastEncoder[i] = in.encoder[i];
            const double v = in.encoder[i] - m_encoderRef[i];
            if (i == 0)
                emit halEncXSend(v);
            else if (i == 1)
                emit halEncYSend(v);
            else
                emit halEncZSend(v);
        }
        if (in.stepgen[i] != m_lastStepgen[i]) {
            m_lastStepgen[i] = in.stepgen[i];
            const double v = in.stepgen[i] - m_stepgenRef[i];
            if (i == 0)
                emit halStepperXSend(v);
            else if (i == 1)
                emit halStepperYSend(v);
            else
                emit halStepperZSend(v);
        }
    }
    if (!(m_machineOn && m_machineHomed))
        return;
    for (int i = 0; i < 3; ++i) {
        const double div = (in.stepgen[i] - m_stepgenRef[i]) - (in.encoder[i] - m_encoderRef[i]);
        if (div != m_lastDivergence[i]) {
            m_lastDivergence[i] = div;
            if (i == 0)
                emit encStepperXDivSend(div);
            else if (i == 1)
                emit encStepperYDivSend(div);
            else
                emit encStepperZDivSend(div);
        }
        if (std::fabs(div) > std::fabs(m_maxDivergence[i])) {
            m_maxDivergence[i] = div;
            if (i == 0)
                emit encStepperXMaxDivSend(div);
            else if (i == 1)
                emit encStepperYMaxDivSend(div);
            else
                emit encStepperZMaxDivSend(div);
        }
    }
}

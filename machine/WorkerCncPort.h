#pragma once

#include "machine/MotionPort.h"
#include "machine/WorkerCnc.h"

// The interpreter's view of the machine link.
class WorkerCnc::Port : public MotionPort
{
public:
    explicit Port(WorkerCnc &cnc) : m_cnc(cnc) {}

    void moveAxis(int axis, double target, double velocity) override
    {
        m_cnc.m_channel->jogTo(axis, target, velocity);
    }
    void setOutput(int index, bool on) override { m_cnc.m_channel->setDigitalOutput(index, on); }
    void setAccelerationLimit(int axis, int value) override
    {
        m_cnc.m_channel->halSetAcceleration(axis, value);
    }
    void setFollowingErrorLimit(int axis, double value) override
    {
        m_cnc.m_channel->setFollowingError(axis, value);
    }
    void requestVacuumReference() override { emit m_cnc.sendVsMeasureBeforeGet(); }
    void reportError(const QString &text) override { emit m_cnc.errorSend(text); }
    void showError(const QString &text) override { emit m_cnc.showError(text, false, QStringLiteral("error")); }
    void emergencyStop() override { m_cnc.estopGet(); }

private:
    WorkerCnc &m_cnc;
};

#include "devices/ThreadVibroPWM.h"

#include "devices/DigitalOutputs.h"

#include <QDebug>

ThreadVibroPWM::ThreadVibroPWM(OutputsFactory factory, int frequency, int duty, double length,
                               QObject *parent)
    : QThread(parent)
    , m_factory(std::move(factory))
    , m_plan(SoftwarePwm::makePlan(frequency, duty, length))
{
}

ThreadVibroPWM::~ThreadVibroPWM()
{
    stop();
    wait();
}

void ThreadVibroPWM::stop()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_stopRequested = true;
    if (m_pwm)
        m_pwm->requestStop();
}

void ThreadVibroPWM::run()
{
    std::unique_ptr<DigitalOutputs> outputs = m_factory ? m_factory() : nullptr;
    if (!outputs) {
        qWarning() << "vibration PWM: no command channel";
        return;
    }
    SoftwarePwm pwm(*outputs);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pwm = &pwm;
        if (m_stopRequested)
            pwm.requestStop();
    }
    m_succeeded = pwm.run(m_plan);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pwm = nullptr;
    }
    if (!m_succeeded)
        qWarning() << "vibration PWM: an output command was not acknowledged";
}

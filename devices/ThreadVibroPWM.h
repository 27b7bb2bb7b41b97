#pragma once

#include "devices/SoftwarePwm.h"

#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class DigitalOutputs;

// The software PWM of a vibration feeder in a short-lived thread. The output
// channel is made by the factory when the thread starts and destroyed when it
// ends; without a channel the thread ends at once (nothing is switched).
// finished() reports the end either way.
class ThreadVibroPWM : public QThread
{
    Q_OBJECT
public:
    using OutputsFactory = std::function<std::unique_ptr<DigitalOutputs>()>;

    ThreadVibroPWM(OutputsFactory factory, int frequency, int duty, double length,
                   QObject *parent = nullptr);
    ~ThreadVibroPWM() override;

    const SoftwarePwm::Plan &plan() const { return m_plan; }
    // Ends the vibration within the current phase, output off.
    void stop();
    // False when an output command was not acknowledged or no channel opened.
    bool succeeded() const { return m_succeeded; }

protected:
    void run() override;

private:
    OutputsFactory m_factory;
    SoftwarePwm::Plan m_plan;
    std::mutex m_lock;                  // guards m_pwm and m_stopRequested
    SoftwarePwm *m_pwm = nullptr;
    bool m_stopRequested = false;
    std::atomic<bool> m_succeeded{false};
};

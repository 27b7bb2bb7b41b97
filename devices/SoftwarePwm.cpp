#include "devices/SoftwarePwm.h"

#include "devices/DigitalOutputs.h"

#include <algorithm>
#include <chrono>

namespace {
long long nowMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
}

int SoftwarePwm::usableFrequency(int frequency)
{
    return (frequency >= 5 && frequency <= 20) ? frequency : 20;
}

SoftwarePwm::Plan SoftwarePwm::makePlan(int frequency, int duty, double length)
{
    Plan plan;
    plan.frequency = usableFrequency(frequency);
    plan.duty = std::clamp(duty, 0, 100);
    plan.seconds = length > 0 ? int(length) : 0;
    plan.onMicros = plan.duty * 1000000LL / plan.frequency / 100;
    plan.offMicros = (100 - plan.duty) * 1000000LL / plan.frequency / 100;
    return plan;
}

SoftwarePwm::SoftwarePwm(DigitalOutputs &outputs, int output)
    : m_outputs(outputs)
    , m_output(output)
{
}

void SoftwarePwm::requestStop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
}

bool SoftwarePwm::stopRequested() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stop;
}

bool SoftwarePwm::waitUntil(long long deadlineMicros)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto deadline = std::chrono::steady_clock::time_point(std::chrono::microseconds(deadlineMicros));
    return !m_wake.wait_until(lock, deadline, [this] { return m_stop; });
}

bool SoftwarePwm::run(const Plan &plan)
{
    bool acknowledged = true;
    // Phases are timed against one start time, so the time the controller
    // takes to acknowledge a command does not add up over the periods.
    const long long start = nowMicros();
    const long long period = plan.onMicros + plan.offMicros;
    for (int n = 0; n < plan.periods() && !stopRequested(); ++n) {
        const long long periodStart = start + n * period;
        if (!m_outputs.setDigitalOutput(m_output, false)) {
            acknowledged = false;
            break;
        }
        if (!waitUntil(periodStart + plan.offMicros))
            break;
        if (!m_outputs.setDigitalOutput(m_output, true)) {
            acknowledged = false;
            break;
        }
        if (!waitUntil(periodStart + period))
            break;
    }
    if (!m_outputs.setDigitalOutput(m_output, false))
        acknowledged = false;
    return acknowledged;
}

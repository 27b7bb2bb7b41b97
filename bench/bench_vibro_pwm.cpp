// Timing of the software PWM of the vibration feeders: how far each switch of
// the output lands from its ideal time, with a controller that takes a given
// time to acknowledge each command, and how quickly a stop takes effect.
// Prints the figures; run by hand.
#include "devices/DigitalOutputs.h"
#include "devices/SoftwarePwm.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class TimedOutputs : public DigitalOutputs
{
public:
    explicit TimedOutputs(std::chrono::microseconds ack) : m_ack(ack) {}
    bool setDigitalOutput(int, bool) override
    {
        times.push_back(Clock::now());
        std::this_thread::sleep_for(m_ack);
        return true;
    }
    std::vector<Clock::time_point> times;
private:
    std::chrono::microseconds m_ack;
};

void measure(int frequency, int duty, int seconds, int ackMicros)
{
    TimedOutputs outputs{std::chrono::microseconds(ackMicros)};
    SoftwarePwm pwm(outputs);
    const SoftwarePwm::Plan plan = SoftwarePwm::makePlan(frequency, duty, seconds);
    pwm.run(plan);
    const auto start = outputs.times.front();
    const double period = double(plan.onMicros + plan.offMicros);
    double sum = 0, worst = 0;
    int count = 0;
    for (size_t i = 0; i + 1 < outputs.times.size(); ++i) {
        const double ideal = (i / 2) * period + ((i % 2) ? plan.offMicros : 0);
        const double actual = std::chrono::duration<double, std::micro>(outputs.times[i] - start).count();
        const double error = actual - ideal;
        sum += std::fabs(error);
        worst = std::max(worst, std::fabs(error));
        ++count;
    }
    const double total = std::chrono::duration<double, std::milli>(outputs.times.back() - start).count();
    std::printf("%2d Hz %3d %% %d s, ack %4d us: %zu commands, edge error mean %.0f us, max %.0f us, "
                "run %.1f ms (ideal %.1f ms)\n",
                frequency, duty, seconds, ackMicros, outputs.times.size(), sum / count, worst, total,
                plan.periods() * period / 1000.0);
}

void stopLatency()
{
    TimedOutputs outputs{std::chrono::microseconds(500)};
    SoftwarePwm pwm(outputs);
    std::thread runner([&] { pwm.run(SoftwarePwm::makePlan(5, 50, 10)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(330));
    const auto asked = Clock::now();
    pwm.requestStop();
    runner.join();
    const double latency = std::chrono::duration<double, std::milli>(outputs.times.back() - asked).count();
    std::printf("stop at 5 Hz (200 ms period): output off %.2f ms after the request\n", latency);
}

} // namespace

int main()
{
    for (int ack : {0, 300, 1000}) {
        measure(20, 50, 3, ack);
        measure(5, 20, 2, ack);
        measure(20, 100, 1, ack);
    }
    stopLatency();
    return 0;
}

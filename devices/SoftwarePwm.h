#pragma once

#include <condition_variable>
#include <mutex>

class DigitalOutputs;

// Pulse-width modulation of a digital output by switching it on and off:
// frequency x seconds periods of "off for the off-time, on for the on-time",
// then off. Runs in the calling thread; requestStop() from any thread ends it
// within the current phase and still leaves the output off.
class SoftwarePwm
{
public:
    struct Plan
    {
        int frequency = 20;     // Hz, 5..20
        int duty = 50;          // percent, 0..100
        int seconds = 0;        // whole seconds
        long long onMicros = 0;
        long long offMicros = 0;
        int periods() const { return frequency * seconds; }
    };

    // Frequencies outside 5..20 become 20, the duty is clamped to 0..100 and
    // the length is truncated to whole seconds.
    static Plan makePlan(int frequency, int duty, double length);
    static int usableFrequency(int frequency);

    static constexpr int vibroOutput = 6;

    explicit SoftwarePwm(DigitalOutputs &outputs, int output = vibroOutput);

    // Returns false when an output command was not acknowledged (the loop
    // then stops and tries to leave the output off).
    bool run(const Plan &plan);
    void requestStop();
    bool stopRequested() const;

private:
    // Waits until the deadline (microseconds on the steady clock); false if
    // a stop was requested meanwhile.
    bool waitUntil(long long deadlineMicros);

    DigitalOutputs &m_outputs;
    int m_output;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
};

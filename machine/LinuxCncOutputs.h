#pragma once

#include "devices/DigitalOutputs.h"

#include <memory>

class LinuxCncChannel;

// Digital outputs switched over a command channel of its own, for the
// software PWM of the vibration feeders, which runs in its own thread. Each
// switch waits for LinuxCNC's acknowledgement.
class LinuxCncOutputs : public DigitalOutputs
{
public:
    LinuxCncOutputs();
    ~LinuxCncOutputs() override;

    // Opens the channels; false when LinuxCNC does not answer in time.
    bool open(double timeoutSeconds);
    bool setDigitalOutput(int index, bool on) override;

private:
    std::unique_ptr<LinuxCncChannel> m_channel;
};

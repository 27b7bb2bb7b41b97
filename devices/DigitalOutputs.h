#pragma once

// Switches a digital output of the machine. The machine link implements it;
// setDigitalOutput returns once the controller has acknowledged the command
// (false when it refused it or did not answer).
class DigitalOutputs
{
public:
    virtual ~DigitalOutputs() = default;
    virtual bool setDigitalOutput(int index, bool on) = 0;
};

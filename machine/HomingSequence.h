#pragma once

#include "machine/MachineStatus.h"

#include <array>
#include <functional>

// Homes the axes group by group in ascending HOME_SEQUENCE order: the axes
// of one group home together, the next group starts once all are homed.
class HomingSequence
{
public:
    struct Commands
    {
        std::function<void(int)> unhome;
        std::function<void(int)> resetAcc;
        std::function<void(int)> home;
    };

    // One step. start: begin from the first group (unhoming the axes first).
    // `homed` is updated when the start clears the flags.
    void step(bool start, std::array<bool, Axes::kCount> &homed, const std::array<int, Axes::kCount> &sequence,
              int axisCount, bool skipXY, const Commands &commands);
    int current() const { return m_current; }

private:
    int m_current = 0;
};

#include "machine/HomingSequence.h"

void HomingSequence::step(bool start, std::array<bool, Axes::kCount> &homed,
                          const std::array<int, Axes::kCount> &sequence, int axisCount, bool skipXY,
                          const Commands &commands)
{
    axisCount = std::min(axisCount, int(Axes::kCount));
    if (start) {
        for (int i = 0; i < axisCount; ++i) {
            if (skipXY && i < 2)
                continue;
            commands.unhome(i);
            commands.resetAcc(i);
        }
        homed.fill(false);
        m_current = 0;
    }
    if (axisCount < 1) {
        ++m_current;
        return;
    }
    bool groupHomed = true;
    for (int i = 0; i < axisCount; ++i) {
        if (sequence[i] == m_current && !homed[i])
            groupHomed = false;
    }
    if (groupHomed)
        ++m_current;
    else if (!start)
        return;
    for (int i = 0; i < axisCount; ++i) {
        if (sequence[i] == m_current && !homed[i])
            commands.home(i);
    }
}

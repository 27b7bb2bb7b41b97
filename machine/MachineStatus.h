#pragma once

#include <array>

// One snapshot of the controller's state in the program's own terms: seven
// axes X, Y, Z, A, B, C, D (index 0..6) and sixteen digital lines plus the
// programmer lines 10 and 11.
struct MachineStatus
{
    static constexpr int kAxes = 7;
    static constexpr int kDio = 16;

    enum TaskState { Unknown = 0, Estop = 1, EstopReset = 2, Off = 3, On = 4 };

    int taskState = Unknown;
    std::array<int, kDio> digitalIn{};
    std::array<int, kDio> digitalOut{};
    std::array<double, kAxes> position{};
    std::array<double, kAxes> minLimit{};
    std::array<double, kAxes> maxLimit{};
    std::array<bool, kAxes> inPosition{};
    std::array<bool, kAxes> homed{};
};

// Raw readings of the HAL inputs the machine link watches; -1 where a pin is
// missing.
struct HalInputs
{
    std::array<int, 4> homeSwitch{{-1, -1, -1, -1}}; // X, Y, Z, B
    int estopIn = -1;
    int startPause = -1;
    double speedKnob = -1.0;
    std::array<double, 3> encoder{{-1.0, -1.0, -1.0}};
    std::array<double, 3> stepgen{{-1.0, -1.0, -1.0}};
};

// Which of the watched HAL inputs exist on the running machine.
struct HalPresence
{
    std::array<bool, 4> homeSwitch{};
    bool estopIn = false;
    bool startPause = false;
    bool speedKnob = false;
    std::array<bool, 3> encoder{};
    std::array<bool, 3> stepgen{};
};

namespace Axes {
constexpr int kCount = MachineStatus::kAxes;
inline char letter(int axis) { return (axis >= 0 && axis < kCount) ? "XYZABCD"[axis] : 'X'; }
inline bool valid(int axis) { return axis >= 0 && axis < kCount; }
} // namespace Axes

#pragma once

#include <QMutex>

// Where the simulated cameras are and what the nozzle does: the machine
// position (X, Y, Z in mm, A in degrees) and the nozzle vacuum valve (digital
// output 1) as the machine link last published them. Process-wide, written
// by the GUI thread and read by the capture threads. Every change is handed
// on to the simulated world, whose nozzle picks and releases parts.
class SimulatedStage
{
public:
    struct Position {
        double x = 0;
        double y = 0;
        double z = 0;
        double a = 0;
    };

    static void setPosition(const Position &position);
    static Position position();
    static void setValve(bool on);
    static bool valve();
    // Both at once (the position first, then the valve).
    static void setMachine(const Position &position, bool valve);

private:
    struct State {
        Position position;
        bool valve = false;
    };
    static QMutex &mutex();
    static State &stored();
};

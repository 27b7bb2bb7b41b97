#pragma once

#include <QMutex>

// Where the simulated cameras are: the machine position (X, Y, Z in mm, A in
// degrees) as the machine link last published it. Process-wide, written by
// the GUI thread and read by the capture threads.
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

private:
    static QMutex &mutex();
    static Position &stored();
};

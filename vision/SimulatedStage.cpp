#include "vision/SimulatedStage.h"

#include "vision/SimulatedWorld.h"

QMutex &SimulatedStage::mutex()
{
    static QMutex m;
    return m;
}

SimulatedStage::State &SimulatedStage::stored()
{
    static State s;
    return s;
}

void SimulatedStage::setPosition(const Position &position)
{
    bool valve = false;
    {
        QMutexLocker lock(&mutex());
        stored().position = position;
        valve = stored().valve;
    }
    SimulatedWorld::followMachine(position, valve);
}

SimulatedStage::Position SimulatedStage::position()
{
    QMutexLocker lock(&mutex());
    return stored().position;
}

void SimulatedStage::setValve(bool on)
{
    Position p;
    {
        QMutexLocker lock(&mutex());
        stored().valve = on;
        p = stored().position;
    }
    SimulatedWorld::followMachine(p, on);
}

bool SimulatedStage::valve()
{
    QMutexLocker lock(&mutex());
    return stored().valve;
}

void SimulatedStage::setMachine(const Position &position, bool valve)
{
    {
        QMutexLocker lock(&mutex());
        stored().position = position;
        stored().valve = valve;
    }
    SimulatedWorld::followMachine(position, valve);
}

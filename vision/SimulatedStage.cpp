#include "vision/SimulatedStage.h"

QMutex &SimulatedStage::mutex()
{
    static QMutex m;
    return m;
}

SimulatedStage::Position &SimulatedStage::stored()
{
    static Position p;
    return p;
}

void SimulatedStage::setPosition(const Position &position)
{
    QMutexLocker lock(&mutex());
    stored() = position;
}

SimulatedStage::Position SimulatedStage::position()
{
    QMutexLocker lock(&mutex());
    return stored();
}

// Worker: slots of subsystems that are not built yet. Each keeps its final
// signature so that the wiring and the QML that calls it are complete; the
// bodies arrive with their subsystems.
#include "backend/Worker.h"

void Worker::feederPropsToElements(QVariantList list)
{
    Q_UNUSED(list)
}

void Worker::calcFieldCalibrationGet(int xCount, int yCount)
{
    Q_UNUSED(xCount)
    Q_UNUSED(yCount)
}

void Worker::fieldCalibrationLoad()
{
}

void Worker::makeAoi(QVariant templateImage, QVariant compareImage, int threshold, int erosionSize)
{
    Q_UNUSED(templateImage)
    Q_UNUSED(compareImage)
    Q_UNUSED(threshold)
    Q_UNUSED(erosionSize)
}

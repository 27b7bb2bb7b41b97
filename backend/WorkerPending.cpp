// Worker: slots of subsystems that are not built yet. Each keeps its final
// signature so that the wiring and the QML that calls it are complete; the
// bodies arrive with their subsystems.
#include "backend/Worker.h"

void Worker::feederPropsToElements(QVariantList list)
{
    Q_UNUSED(list)
}

void Worker::iniFileCheck(QString iniFile)
{
    Q_UNUSED(iniFile)
}

void Worker::iniGetSpeedAcc(QString iniFile)
{
    Q_UNUSED(iniFile)
}

void Worker::maxVelAccGet(QString fileName, double v1, double v2, double v3, double v4, double v5, double v6, double a1, double a2, double a3, double a4)
{
    Q_UNUSED(fileName)
    Q_UNUSED(v1)
    Q_UNUSED(v2)
    Q_UNUSED(v3)
    Q_UNUSED(v4)
    Q_UNUSED(v5)
    Q_UNUSED(v6)
    Q_UNUSED(a1)
    Q_UNUSED(a2)
    Q_UNUSED(a3)
    Q_UNUSED(a4)
}

void Worker::encoderScaleGet(QString fileName, double eSX, double eSY)
{
    Q_UNUSED(fileName)
    Q_UNUSED(eSX)
    Q_UNUSED(eSY)
}

void Worker::stepperScaleGet(QString fileName, double sSX, double sSY)
{
    Q_UNUSED(fileName)
    Q_UNUSED(sSX)
    Q_UNUSED(sSY)
}

void Worker::maxVelGet(QVariant v1, QVariant v2, QVariant v3, QVariant v4, QVariant v5, QVariant v6)
{
    Q_UNUSED(v1)
    Q_UNUSED(v2)
    Q_UNUSED(v3)
    Q_UNUSED(v4)
    Q_UNUSED(v5)
    Q_UNUSED(v6)
}

void Worker::maxAccGet(QVariant a1, QVariant a2, QVariant a3, QVariant a4)
{
    Q_UNUSED(a1)
    Q_UNUSED(a2)
    Q_UNUSED(a3)
    Q_UNUSED(a4)
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

// Worker: slots of subsystems that are not built yet. Each keeps its final
// signature so that the wiring and the QML that calls it are complete; the
// bodies arrive with their subsystems.
#include "backend/Worker.h"

void Worker::feederPropsToElements(QVariantList list)
{
    Q_UNUSED(list)
}

void Worker::openFileImport(QString name, QString delim, int elPackCol, int elPartNumberCol, int elDesigCol, int elXCol, int elYCol, int elACol)
{
    Q_UNUSED(name)
    Q_UNUSED(delim)
    Q_UNUSED(elPackCol)
    Q_UNUSED(elPartNumberCol)
    Q_UNUSED(elDesigCol)
    Q_UNUSED(elXCol)
    Q_UNUSED(elYCol)
    Q_UNUSED(elACol)
}

void Worker::openFeederFileImport(QString name, QString delim, int feederPackCol, int feederPartNumberCol, int feederDesigCol, int feederCountCol)
{
    Q_UNUSED(name)
    Q_UNUSED(delim)
    Q_UNUSED(feederPackCol)
    Q_UNUSED(feederPartNumberCol)
    Q_UNUSED(feederDesigCol)
    Q_UNUSED(feederCountCol)
}

void Worker::feederListExportGet(QString fileURL)
{
    Q_UNUSED(fileURL)
}

void Worker::stopwatchStart()
{
}

void Worker::stopwatchStop()
{
}

void Worker::stopwatchPause()
{
}

void Worker::stopwatchResume()
{
}

void Worker::stopwatchTimerTriggered()
{
}

void Worker::calcPcbMountTime()
{
}

QString Worker::calcPcbMountTime2(int seconds)
{
    Q_UNUSED(seconds)
    return QString();
}

void Worker::projectDayStatisticsExportGet(QString fileURL)
{
    Q_UNUSED(fileURL)
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

void Worker::serialPortInfoGet()
{
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

void Worker::vsMeasureTimeFreshCalc()
{
}

void Worker::readCameraList()
{
}

void Worker::readCameraModes(int number)
{
    Q_UNUSED(number)
}

void Worker::makeQImage(QString name)
{
    Q_UNUSED(name)
}

void Worker::takeScreenShot()
{
}

void Worker::scanStart(double boardWidth, double boardHeight, double scanWidth, double scanHeight, double ppm)
{
    Q_UNUSED(boardWidth)
    Q_UNUSED(boardHeight)
    Q_UNUSED(scanWidth)
    Q_UNUSED(scanHeight)
    Q_UNUSED(ppm)
}

void Worker::scanStep(double x, double y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
}

void Worker::scanFinish(QString fileName)
{
    Q_UNUSED(fileName)
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

bool Worker::photoEditorUploadPhoto(QString fileName)
{
    Q_UNUSED(fileName)
    return false;
}

void Worker::clipPhoto(int x, int y, int width, int height, double angle)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
    Q_UNUSED(width)
    Q_UNUSED(height)
    Q_UNUSED(angle)
}

// Worker: slots of subsystems that are not built yet. Each keeps its final
// signature so that the wiring and the QML that calls it are complete; the
// bodies arrive with their subsystems.
#include "backend/Worker.h"

void Worker::openProject(QUrl fileName)
{
    Q_UNUSED(fileName)
}

void Worker::saveProject(QUrl fileName)
{
    Q_UNUSED(fileName)
}

void Worker::openElements(QUrl projectName)
{
    Q_UNUSED(projectName)
}

void Worker::saveElements(QSettings *pSettings)
{
    Q_UNUSED(pSettings)
}

QString Worker::openPcb(QUrl projectName)
{
    Q_UNUSED(projectName)
    return QString();
}

void Worker::savePcb(QSettings *pSettings)
{
    Q_UNUSED(pSettings)
}

void Worker::recalculateOverlaps(QVariant currElVar, bool repeat)
{
    Q_UNUSED(currElVar)
    Q_UNUSED(repeat)
}

void Worker::recalculateAllOverlaps()
{
}

bool Worker::checkProjectHasChanges(QUrl fileName)
{
    Q_UNUSED(fileName)
    return false;
}

void Worker::openFeeders(QUrl fileName)
{
    Q_UNUSED(fileName)
}

void Worker::saveFeeders(QUrl fileName)
{
    Q_UNUSED(fileName)
}

void Worker::checkFeederBanksMatch(QUrl fileName)
{
    Q_UNUSED(fileName)
}

bool Worker::checkFeedersHasChanges(QUrl fileName)
{
    Q_UNUSED(fileName)
    return false;
}

QVariantMap Worker::feederInfo(QString model, int index)
{
    Q_UNUSED(model)
    Q_UNUSED(index)
    return QVariantMap();
}

void Worker::feederPropsToElements(QVariantList list)
{
    Q_UNUSED(list)
}

void Worker::loadPackageList()
{
}

void Worker::savePackageSettings()
{
}

void Worker::reqursivePackageSearch(QFileInfoList list, bool appending)
{
    Q_UNUSED(list)
    Q_UNUSED(appending)
}

QString Worker::getPackageByFilename(QString elPath)
{
    Q_UNUSED(elPath)
    return QString();
}

QVariantMap Worker::elParamsGet(QString fileName)
{
    Q_UNUSED(fileName)
    return QVariantMap();
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

void Worker::saveProjectLog(QSettings *pSettings)
{
    Q_UNUSED(pSettings)
}

QString Worker::openProjectLog(QUrl fileName)
{
    Q_UNUSED(fileName)
    return QString();
}

void Worker::saveProjectStat(QSettings *pSettings)
{
    Q_UNUSED(pSettings)
}

QString Worker::openProjectStat(QUrl fileName)
{
    Q_UNUSED(fileName)
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

void Worker::antSortGet()
{
}

void Worker::nearestSortGet()
{
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

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

void Worker::antSortGet()
{
}

void Worker::nearestSortGet()
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

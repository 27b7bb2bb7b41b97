// Worker: the mounting-time stopwatch and the day statistics export.
#include "backend/Worker.h"

#include "util/FileUrl.h"
#include "backend/ProjectStatistics.h"
#include "util/SafeFile.h"

#include <QFileInfo>
#include <QQuickItem>

void Worker::stopwatchStart()
{
    m_stopwatch.start();
    m_stopwatchTimer.start();
}

void Worker::stopwatchStop()
{
    m_stopwatchTimer.stop();
    m_stopwatch.stop();
}

void Worker::stopwatchPause()
{
    m_stopwatch.pause();
    m_stopwatchTimer.stop();
}

void Worker::stopwatchResume()
{
    if (!m_stopwatch.running())
        return;
    m_stopwatch.resume();
    m_stopwatchTimer.start();
}

void Worker::stopwatchTimerTriggered()
{
    const Stopwatch::Reading r = m_stopwatch.tick();
    setRootProperty("stopwatchTime", r.text);
    setRootProperty("stopwatchTimeInt", r.seconds);
    if (r.added > 0) {
        setRootProperty("pcbMountTimeInt", rootProperty("pcbMountTimeInt").toInt() + r.added);
        calcPcbMountTime();
        emit projectDayStatisticsAppendSeconds(r.added);
    }
}

void Worker::calcPcbMountTime()
{
    setRootProperty("pcbMountTime", ProjectStatistics::mountTimeText(rootProperty("pcbMountTimeInt").toInt()));
}

QString Worker::calcPcbMountTime2(int seconds)
{
    return ProjectStatistics::mountTimeText(seconds);
}

void Worker::projectDayStatisticsExportGet(QString fileURL)
{
    QString path = FileUrl::toLocalPath(fileURL);
    if (!path.endsWith(QLatin1String(".csv")))
        path += QStringLiteral(".csv");
    const QVector<ProjectStatistics::Day> days
        = ProjectStatistics::parseDayStat(invoke(m_projectDayStatisticsMInvoker, "get").toString());
    const QString project = rootProperty("projectName").toString();
    int lines = 0;
    const QString text = ProjectStatistics::exportText(
        days, project.isEmpty() ? QString() : QFileInfo(FileUrl::toLocalPath(project)).fileName(), &lines);
    QString error;
    if (!SafeFile::write(path, text.toUtf8(), &error)) {
        emit showError(tr("Не удалось записать в файл!") + " " + QFileInfo(path).absoluteFilePath() + " (" + error + ")",
                       false, QString());
        return;
    }
    emit showError(tr("Экспорт завершен. Экспортировано записей: %1").arg(lines), true, QStringLiteral("notice"));
}

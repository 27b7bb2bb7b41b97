#include "backend/ProjectStatistics.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <algorithm>

namespace ProjectStatistics {

static const QString dateFormat = QStringLiteral("dd.MM.yyyy");

QVector<Day> parseDayStat(const QString &text)
{
    QVector<Day> days;
    for (const QString &part : text.split('|', Qt::SkipEmptyParts)) {
        const QStringList f = part.split(';');
        if (f.size() < 6)
            continue;
        Day day;
        day.date = QDate::fromString(f.at(0).trimmed(), dateFormat);
        if (!day.date.isValid())
            continue;
        day.pcbCount = f.at(1).toInt();
        day.elementCount = f.at(2).toInt();
        day.solderPointCount = f.at(3).toInt();
        day.basketCount = f.at(4).toInt();
        day.mountTime = f.at(5).toInt();
        days.append(day);
    }
    return days;
}

QString formatDayStat(const QVector<Day> &days)
{
    QString text;
    for (const Day &d : days) {
        text += d.date.toString(dateFormat) + ';' + QString::number(d.pcbCount) + ';'
            + QString::number(d.elementCount) + ';' + QString::number(d.solderPointCount) + ';'
            + QString::number(d.basketCount) + ';' + QString::number(d.mountTime) + '|';
    }
    return text;
}

QString pcbPerHour(int pcbCount, int mountTime)
{
    if (mountTime < 1)
        return QString();
    return QString::number(double(pcbCount) / mountTime * 3600.0, 'f', 1);
}

QString elementsPerHour(int elementCount, int mountTime)
{
    if (mountTime < 1)
        return QString();
    return QString::number(double(elementCount) / mountTime * 3600.0, 'f', 0);
}

QString mountTimeText(int seconds)
{
    const int s = std::max(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString exportText(const QVector<Day> &days, const QString &projectName, int *lines)
{
    const QString rule(117, QLatin1Char('-'));
    QString text = QCoreApplication::translate("ProjectStatistics", "Проект: ")
        + (projectName.isEmpty() ? QCoreApplication::translate("ProjectStatistics", "не открыт") : projectName) + '\n';
    text += rule + '\n';
    text += QCoreApplication::translate("ProjectStatistics",
                                        "Дата;Плат;Компонентов;Точек пайки;Сбросов;Время монтажа;Плат/час;Компонентов/час")
        + '\n';
    text += rule + '\n';
    int count = 0;
    for (const Day &d : days) {
        if (!d.date.isValid())
            continue;
        const double hours = d.mountTime / 3600.0;
        const QString perHour = d.mountTime < 1 ? QStringLiteral("0") : QString::number(d.pcbCount / hours, 'f', 1);
        const QString elPerHour = d.mountTime < 1 ? QStringLiteral("0")
                                                  : QString::number(d.elementCount / hours, 'f', 0);
        text += d.date.toString(dateFormat) + ';' + QString::number(d.pcbCount) + ';'
            + QString::number(d.elementCount) + ';' + QString::number(d.solderPointCount) + ';'
            + QString::number(d.basketCount) + ';' + mountTimeText(d.mountTime) + ';' + perHour + ';' + elPerHour
            + '\n';
        ++count;
    }
    if (lines)
        *lines = count;
    return text;
}

QVariantMap dayRecord(const Day &day)
{
    return {{"date", QDateTime(day.date, QTime(0, 0))},
            {"pcbCount", day.pcbCount},
            {"elementCount", day.elementCount},
            {"solderPointCount", day.solderPointCount},
            {"basketCount", day.basketCount},
            {"mountTime", day.mountTime},
            {"pcbPerHour", pcbPerHour(day.pcbCount, day.mountTime)},
            {"elementsPerHour", elementsPerHour(day.elementCount, day.mountTime)}};
}

bool parseLogLine(const QString &line, LogEntry *entry)
{
    // Time and colour never hold ";", a message may: split at the last two.
    const int second = line.lastIndexOf(';');
    if (second <= 0)
        return false;
    const int first = line.lastIndexOf(';', second - 1);
    if (first < 0)
        return false;
    LogEntry e{line.left(first), line.mid(first + 1, second - first - 1), line.mid(second + 1)};
    if (e.message.isEmpty() || e.time.isEmpty() || e.color.isEmpty())
        return false;
    if (entry)
        *entry = e;
    return true;
}

QString formatLogLine(const LogEntry &entry)
{
    return entry.message + ';' + entry.time + ';' + entry.color;
}

} // namespace ProjectStatistics

#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>
#include <QVector>

// Stored forms of a project's day statistics and log (keys "dayStat" and
// "log" of the project file).
namespace ProjectStatistics {

struct Day
{
    QDate date;
    int pcbCount = 0;
    int elementCount = 0;
    int solderPointCount = 0;
    int basketCount = 0;
    int mountTime = 0;   // seconds
};

// "dd.MM.yyyy;pcb;elements;solder points;basket;seconds|" per day, newest
// first. Parts with fewer than six fields or an impossible date are skipped.
QVector<Day> parseDayStat(const QString &text);
QString formatDayStat(const QVector<Day> &days);

// Boards per hour with one decimal and components per hour without; empty
// while there is no mounting time.
QString pcbPerHour(int pcbCount, int mountTime);
QString elementsPerHour(int elementCount, int mountTime);

// Seconds as "hh:mm:ss" (hours of at least two digits).
QString mountTimeText(int seconds);

// The day statistics as a text table: project, rule, header, rule, one line
// per day. `lines` gets the number of day lines.
QString exportText(const QVector<Day> &days, const QString &projectName, int *lines = nullptr);

// A day as the statistics list holds it.
QVariantMap dayRecord(const Day &day);

struct LogEntry
{
    QString message;
    QString time;
    QString color;
};

// "message;time;color"; a message may itself hold ";". False when one of the
// three is empty.
bool parseLogLine(const QString &line, LogEntry *entry);
QString formatLogLine(const LogEntry &entry);

} // namespace ProjectStatistics

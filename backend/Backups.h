#pragma once

#include <QDate>
#include <QString>

// Dated copies of a file in the folder "backups" beside it, named after the
// file with "_dd_MM_yyyy" of the day appended: the first save of a day keeps
// the state of the file before that save.
namespace Backups {

// Before a file is overwritten: removes the oldest backup of the file when
// there are more than `keepAbove`, then copies the file to today's backup
// unless that exists already. Failures only produce a warning in the log.
void beforeSave(const QString &filePath, int keepAbove, const QDate &today = QDate::currentDate());

QString backupName(const QString &fileName, const QDate &day);

} // namespace Backups

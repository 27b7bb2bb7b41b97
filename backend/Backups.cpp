#include "backend/Backups.h"

#include "util/SafeFile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Backups {

QString backupName(const QString &fileName, const QDate &day)
{
    return fileName + day.toString(QStringLiteral("_dd_MM_yyyy"));
}

void beforeSave(const QString &filePath, int keepAbove, const QDate &today)
{
    const QFileInfo file(filePath);
    QDir dir(file.absolutePath() + "/backups");
    if (!dir.exists() && !QDir().mkpath(dir.absolutePath())) {
        qWarning() << "backups: cannot create" << dir.absolutePath();
        return;
    }
    // Oldest first.
    QFileInfoList existing;
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Time | QDir::Reversed)) {
        if (entry.fileName().startsWith(file.fileName()))
            existing.append(entry);
    }
    if (existing.size() > keepAbove && !QFile::remove(existing.first().absoluteFilePath()))
        qWarning() << "backups: cannot remove" << existing.first().absoluteFilePath();

    const QString today_ = dir.absoluteFilePath(backupName(file.fileName(), today));
    if (!file.exists() || QFile::exists(today_))
        return;
    // Copied through the verified writer: a backup cut by a full disk would
    // be worse than none.
    QFile source(file.absoluteFilePath());
    QString error;
    if (source.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = source.readAll();
        if (bytes.size() != source.size())
            error = source.errorString();
        else if (SafeFile::write(today_, bytes, &error))
            return;
    } else {
        error = source.errorString();
    }
    qWarning() << "backups: cannot copy" << file.absoluteFilePath() << "to" << today_ << ":" << error;
}

} // namespace Backups

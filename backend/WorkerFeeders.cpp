// Worker: feeder bank files.
#include "backend/Worker.h"

#include "backend/Backups.h"
#include "backend/FeederFile.h"
#include "util/FileUrl.h"
#include "backend/IniFile.h"
#include "util/SafeFile.h"

#include <QFileInfo>
#include <QQuickItem>

namespace {

// Number of backups of a feeder file beyond which the oldest one goes.
constexpr int feederBackupsKept = 3;

} // namespace

void Worker::showFileError(const QString &message, const QString &path)
{
    emit showError(message + QFileInfo(path).absoluteFilePath(), false, QString());
}

void Worker::openFeeders(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    // What a save killed midway left beside the file goes first.
    SafeFile::removeLeftovers(path);
    const FeederFile::ReadResult result = FeederFile::read(path, rootProperty("camera1Exposure").toInt());
    switch (result.status) {
    case FeederFile::ReadResult::NotFound:
        showFileError(tr("Файл настроек питателей не найден! Путь к файлу:"), path);
        return;
    case FeederFile::ReadResult::BadExtension:
        emit showError(tr("Расширение открываемого файла не поддерживается!"), false, QString());
        return;
    case FeederFile::ReadResult::ReadError:
        showFileError(tr("Ошибка чтения из файла настроек питателей! Путь к файлу:"), path);
        return;
    case FeederFile::ReadResult::BadCount:
        emit showError(tr("В файле настроек питателей указано недопустимое количество питателей (%1, "
                          "допустимо от 0 до %2). Файл не открыт: ")
                               .arg(result.count)
                               .arg(FeederFile::maxCount)
                           + QFileInfo(path).absoluteFilePath(),
                       false, QString());
        return;
    case FeederFile::ReadResult::Ok:
        break;
    }
    const QByteArray countProperty = "feederCount" + result.bank.toLatin1();
    setRootProperty(countProperty.constData(), result.count);
    invoke(m_feedersInvoker, "changeCount", {result.bank});
    QString lastPack;
    int lastIndex = -1;
    for (int i = 0; i < result.feeders.size(); ++i) {
        const QVariantMap &feeder = result.feeders.at(i);
        const QString pack = feeder.value("pack").toString();
        if (i == 0 || pack != lastPack) {
            lastIndex = pack.isEmpty() ? -1 : m_packages.indexOf(pack);
            lastPack = pack;
        }
        invoke(m_feedersInvoker, "changeOne", {result.bank, i, lastIndex, feeder});
    }
    invoke(m_feedersInvoker, "forceLayout");
    for (const QString &problem : result.problems)
        emit errorSend(problem);
    if (!result.problems.isEmpty()) {
        emit showError(tr("Часть значений в файле питателей неверна (%1) и заменена значениями по умолчанию. "
                          "Список — в окне ошибок. Если сохранить банк, они будут записаны в файл. Путь к файлу:")
                               .arg(result.problems.size())
                           + QFileInfo(path).absoluteFilePath(),
                       false, QString());
    }
}

bool Worker::writeFeederBank(const QString &path, QString *error)
{
    const QString bank = FeederFile::bankOfPath(path);
    const QVariantList entries = invoke(m_feedersInvoker, QByteArray("get" + bank.toLatin1()).constData()).toList();
    QVector<QVariantMap> feeders;
    feeders.reserve(entries.size());
    for (const QVariant &entry : entries)
        feeders.append(entry.toMap());
    const QByteArray countProperty = "feederCount" + bank.toLatin1();
    const QVariant count = rootProperty(countProperty.constData());
    return FeederFile::write(path, count.isValid() ? count.toInt() : feeders.size(), feeders, error);
}

void Worker::saveFeeders(QUrl fileName)
{
    saveFeedersChecked(fileName);
}

bool Worker::saveFeedersChecked(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    if (FeederFile::bankOfPath(path).isEmpty()) {
        emit showError(tr("Расширение открываемого файла не поддерживается!"), false, QString());
        return false;
    }
    if (!isChangeCheckFile(path))
        Backups::beforeSave(path, feederBackupsKept);
    QString error;
    if (!writeFeederBank(path, &error)) {
        emit showError(tr("Ошибка записи в файл настроек питателей! Путь к файлу:") + QFileInfo(path).absoluteFilePath()
                           + " (" + error + ")",
                       false, QString());
        return false;
    }
    return true;
}

bool Worker::checkFeedersHasChanges(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    const QString bank = FeederFile::bankOfPath(path);
    if (bank.isEmpty())
        return true;
    const QString temp = changeCheckPath(QStringLiteral("tempFeeders.") + FeederFile::extensionOfBank(bank));
    if (temp.isEmpty())
        return true;
    QString error;
    if (!writeFeederBank(temp, &error))
        return true;
    return IniFile::differ(temp, path, FeederFile::isCounterKey);
}

QVariantMap Worker::feederInfo(QString model, int index)
{
    return invoke(m_feedersInvoker, "getFeeder", {model, index}).toMap();
}

// Worker: the package base (package pictures and packageBase.ini).
#include "backend/Worker.h"

#include "backend/FileValues.h"
#include "backend/IniFile.h"
#include "backend/MachineRecords.h"
#include "backend/PackageBase.h"
#include "util/FileUrl.h"
#include "util/SafeFile.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QQuickItem>
#include <QTemporaryDir>

#include <memory>

QString Worker::packageBaseIniPath() const
{
    return QFileInfo(m_store.fileName()).absolutePath() + QStringLiteral("/packageBase.ini");
}

QString Worker::getPackageByFilename(QString elPath)
{
    return PackageBase::nameFromPath(elPath);
}

QVariantMap Worker::elParamsGet(QString fileName)
{
    return PackageBase::toMap(PackageBase::parseFileName(fileName));
}

void Worker::reqursivePackageSearch(QFileInfoList list, bool appending)
{
    const QStringList duplicates = m_packages.addFrom(list);
    // A name seen again on a reload is one of the known pictures.
    if (!appending) {
        for (const QString &name : duplicates)
            emit errorSend(tr("В базе найдены одинаковые корпуса с именем: ") + name);
    }
}

void Worker::loadPackageList()
{
    // What a save of the package base killed midway left beside it goes first.
    SafeFile::removeLeftovers(packageBaseIniPath());
    QSettings &store = m_store.settings();
    QString base = store.value(QStringLiteral("packageBasePath")).toString();
    if (base.isEmpty()) {
        base = QStringLiteral("КОРПУСА");
        store.setValue(QStringLiteral("packageBasePath"), base);
        syncStore();
    }
    const QString folder = QDir(base).absolutePath();
    setRootProperty("packageBasePath", folder);

    const bool appending = !m_packages.isEmpty();
    const int firstNew = m_packages.size();
    reqursivePackageSearch(PackageBase::folderEntries(folder), appending);

    PackageBase::MachineFacts facts;
    const int cupCount = m_cupInvoker ? invoke(m_cupInvoker, "getCount").toInt() : MachineRecords::cups().count;
    for (int i = 1; i <= cupCount; ++i) {
        double diameter = 0.1;
        if (!FileValues::toReal(store.value(QStringLiteral("cup%1/cupDiameter").arg(i), 0.1), &diameter))
            diameter = 0.1;
        facts.cupDiameters.append(diameter);
    }
    const QVariantList maxAcc = SettingsStore::plain(rootProperty("maxAcc")).toList();
    facts.maxAccXYZ = maxAcc.isEmpty() ? 0 : maxAcc.first().toDouble();
    facts.cameraT1 = rootProperty("camera2Treshold1").toInt();
    facts.cameraT2 = rootProperty("camera2Treshold2").toInt();
    facts.cameraCheckSize = rootProperty("camera2CheckSize").toInt();

    if (firstNew < m_packages.size()) {
        // Completed keys are written back; the old file stays until the new
        // one is complete.
        IniFileWriter writer(packageBaseIniPath());
        QSettings &source = *writer.settings();
        // A file that cannot be read (or whose values cannot be decoded) is
        // not replaced: the records take the values computed from the names.
        const bool readable = IniFile::copyKeys(packageBaseIniPath(), source);
        if (!readable) {
            emit showError(tr("Файл базы корпусов повреждён: его значения не читаются; он не изменён: %1")
                               .arg(packageBaseIniPath()),
                           false, QString());
        }
        bool anyChanged = false;
        QStringList problems;
        for (int i = firstNew; i < m_packages.size(); ++i) {
            bool changed = false;
            const PackageBase::FileNameParams params = PackageBase::parseFileName(m_packages.file(i));
            if (!params.problem.isEmpty())
                problems.append(params.problem);
            QVariantMap record = PackageBase::completeRecord(source, m_packages.lowerName(i), params, facts,
                                                             &changed, &problems);
            anyChanged = anyChanged || changed;
            record.insert(QStringLiteral("name"), m_packages.name(i));
            record.insert(QStringLiteral("path"), FileUrl::fromLocalPath(m_packages.file(i)));
            invoke(m_packageInvoker, "append", {record});
        }
        // A value that is not a finite number never reaches the file.
        const QString refused = anyChanged ? PackageBase::checkWritten(source) : QString();
        if (!refused.isEmpty()) {
            emit showError(refused, false, QString());
        } else if (anyChanged && readable && !writer.commit()) {
            emit showError(tr("Не удалось записать файл базы корпусов: %1").arg(packageBaseIniPath()) + " ("
                               + writer.errorString() + ")",
                           false, QString());
        }
        for (const QString &problem : problems)
            emit errorSend(problem);
        if (!problems.isEmpty()) {
            emit showError(tr("Часть значений базы корпусов неверна (%1); взяты значения по умолчанию. "
                              "Список — в окне ошибок. Если сохранить базу корпусов, они будут записаны в файл.")
                               .arg(problems.size()),
                           false, QString());
        }
    }

    if (appending) {
        const int added = m_packages.size() - firstNew;
        if (added == 0) {
            emit showError(tr("В базе не найдено новых корпусов."), true, QStringLiteral("notice"));
        } else {
            emit showError(tr("Количество новых корпусов в базе:") + QString::number(added) + tr(".\nОн")
                               + (added == 1 ? QString() : tr("и")) + tr(" в конце списка."),
                           true, QStringLiteral("notice"));
        }
    }
}

void Worker::savePackageSettings()
{
    if (!m_packageInvoker)
        return;
    const QVariantList records = invoke(m_packageInvoker, "getAll").toList();
    QString error;
    if (!PackageBase::writeRecords(packageBaseIniPath(), records, &error)) {
        emit showError(tr("Не удалось записать файл базы корпусов: %1").arg(packageBaseIniPath()) + " (" + error
                           + ")",
                       false, QString());
    }
}

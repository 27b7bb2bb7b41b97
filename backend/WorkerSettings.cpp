// Worker: the settings store and the machine-wide records kept in it.
#include "backend/Worker.h"

#include "backend/MachineRecords.h"

#include <QDebug>
#include <QQuickItem>
#include <QTimer>

void Worker::loadSetting(QString section, QString name, QVariant def)
{
    const QVariant value = m_store.value(section, name, def);
    // A key that is absent and has no default keeps the property's value.
    if (!value.isValid())
        return;
    setRootProperty(name.toLatin1().constData(), value);
}

QVariant Worker::storedSetting(QString section, QString name)
{
    return m_store.value(section, name);
}

void Worker::saveSetting(QString section, QString name)
{
    if (!m_root)
        return;
    const QVariant value = m_root->property(name.toLatin1().constData());
    if (!value.isValid()) {
        qWarning() << "saveSetting: the main window has no property" << name;
        return;
    }
    if (!m_store.setValue(section, name, value)) {
        emit showError(tr("Настройка %1/%2 не записана: значение не является конечным числом").arg(section, name),
                       false, QString());
        return;
    }
    syncStoreSoon();
}

bool Worker::syncStore()
{
    QString error;
    if (m_store.sync(&error))
        return true;
    emit showError(tr("Не удалось записать файл настроек: %1").arg(m_store.fileName()) + " (" + error + ")", false,
                   QString());
    return false;
}

void Worker::syncStoreSoon()
{
    if (m_storeSyncQueued)
        return;
    m_storeSyncQueued = true;
    QTimer::singleShot(0, this, [this]() {
        m_storeSyncQueued = false;
        syncStore();
    });
}

bool Worker::checkSetting(QString name, QSettings *s)
{
    if (!m_root || !s)
        return false;
    return SettingsStore::sameAsStored(m_root->property(name.toLatin1().constData()), name, *s);
}

void Worker::loadSettings()
{
    QSettings &settings = m_store.settings();
    const struct {
        const MachineRecords::Kind &kind;
        QQuickItem *invoker;
    } lists[] = {
        {MachineRecords::cups(), m_cupInvoker},
        {MachineRecords::bandBanks(), m_bandBankInvoker},
        {MachineRecords::vibroBanks(), m_vibroBankInvoker},
    };
    QStringList problems = m_store.takeProblems();
    for (const auto &list : lists) {
        for (const QVariant &record : MachineRecords::readAll(settings, list.kind, &problems))
            invoke(list.invoker, "append", {record});
    }
    const QString openError = m_store.openError();
    if (!openError.isEmpty())
        emit showError(openError, false, QString());
    for (const QString &problem : problems)
        emit errorSend(problem);
    if (!problems.isEmpty()) {
        emit showError(tr("Часть значений в файле настроек неверна (%1); взяты значения по умолчанию. "
                          "Список — в окне ошибок. Файл: %2")
                           .arg(problems.size())
                           .arg(m_store.fileName()),
                       false, QString());
    }
}

void Worker::saveSettings()
{
    QSettings &settings = m_store.settings();
    const struct {
        const MachineRecords::Kind &kind;
        QQuickItem *invoker;
    } lists[] = {
        {MachineRecords::cups(), m_cupInvoker},
        {MachineRecords::bandBanks(), m_bandBankInvoker},
        {MachineRecords::vibroBanks(), m_vibroBankInvoker},
    };
    for (const auto &list : lists) {
        // Without its list the stored records are left as they are.
        QString error;
        if (list.invoker && !MachineRecords::writeAll(settings, list.kind, invoke(list.invoker, "getAll").toList(), &error))
            emit showError(error, false, QString());
    }
    syncStore();
}

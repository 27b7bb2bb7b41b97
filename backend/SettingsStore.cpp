#include "backend/SettingsStore.h"

#include "backend/FileValues.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <QJSValue>

SettingsStore::SettingsStore(const QString &fileName)
    : m_settings(fileName, QSettings::IniFormat)
{
    m_openStatus = m_settings.status();
    if (m_openStatus == QSettings::FormatError) {
        const QString copy =
            fileName + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (QFile::copy(fileName, copy))
            m_damagedCopy = copy;
    }
}

QString SettingsStore::openError() const
{
    const QString path = QFileInfo(m_settings.fileName()).absoluteFilePath();
    switch (m_openStatus) {
    case QSettings::NoError:
        return QString();
    case QSettings::AccessError:
        return QCoreApplication::translate("SettingsStore",
                                           "Файл настроек не читается: %1. Действуют настройки по умолчанию.")
            .arg(path);
    case QSettings::FormatError:
        break;
    }
    if (m_damagedCopy.isEmpty()) {
        return QCoreApplication::translate("SettingsStore",
                                           "Файл настроек повреждён: %1. Непрочитанные настройки взяты по умолчанию; "
                                           "копию файла сохранить не удалось.")
            .arg(path);
    }
    return QCoreApplication::translate("SettingsStore",
                                       "Файл настроек повреждён: %1. Непрочитанные настройки взяты по умолчанию; "
                                       "копия файла: %2")
        .arg(path, m_damagedCopy);
}

QVariant SettingsStore::value(const QString &section, const QString &name, const QVariant &def)
{
    m_settings.beginGroup(section);
    const QVariant v = m_settings.value(name, def);
    const bool stored = m_settings.contains(name);
    m_settings.endGroup();
    const bool number = def.type() == QVariant::Int || def.type() == QVariant::Double
        || def.type() == QVariant::LongLong || def.type() == QVariant::UInt || def.type() == QVariant::ULongLong;
    double d = 0;
    if (stored && number && !FileValues::toReal(v, &d)) {
        m_problems.append(QCoreApplication::translate("SettingsStore",
                                                      "Настройка %1/%2: неверное значение \"%3\" в файле настроек, "
                                                      "взято %4")
                              .arg(section, name, FileValues::shown(v), def.toString()));
        return def;
    }
    return v;
}

QStringList SettingsStore::takeProblems()
{
    QStringList problems;
    problems.swap(m_problems);
    return problems;
}

bool SettingsStore::setValue(const QString &section, const QString &name, const QVariant &value)
{
    const QVariant v = plain(value);
    if (!FileValues::isFinite(v))
        return false;
    m_settings.beginGroup(section);
    m_settings.setValue(name, v);
    m_settings.endGroup();
    return true;
}

void SettingsStore::sync()
{
    m_settings.sync();
}

QVariant SettingsStore::plain(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QJSValue>())
        return plain(value.value<QJSValue>().toVariant());
    if (value.type() == QVariant::List) {
        QVariantList list = value.toList();
        for (QVariant &item : list)
            item = plain(item);
        return list;
    }
    if (value.type() == QVariant::Map) {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            it.value() = plain(it.value());
        return map;
    }
    return value;
}

bool SettingsStore::sameAsStored(const QVariant &current, const QString &name, QSettings &settings)
{
    if (!settings.contains(name))
        return false;
    const QVariant now = plain(current);
    const QVariant stored = settings.value(name);
    if (now == stored)
        return true;
    if (now.type() == QVariant::List || stored.type() == QVariant::List
        || stored.type() == QVariant::StringList || now.type() == QVariant::StringList) {
        const QVariantList a = now.toList();
        const QVariantList b = stored.toList();
        if (a.size() != b.size())
            return false;
        for (int i = 0; i < a.size(); ++i) {
            if (a.at(i) != b.at(i) && a.at(i).toString() != b.at(i).toString())
                return false;
        }
        return true;
    }
    if (now.type() == QVariant::Double || now.type() == QVariant::Int) {
        bool ok = false;
        const double d = stored.toString().toDouble(&ok);
        return ok && d == now.toDouble();
    }
    return now.toString() == stored.toString();
}

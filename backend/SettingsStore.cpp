#include "backend/SettingsStore.h"

#include <QJSValue>

SettingsStore::SettingsStore(const QString &fileName)
    : m_settings(fileName, QSettings::IniFormat)
{
}

QVariant SettingsStore::value(const QString &section, const QString &name, const QVariant &def)
{
    m_settings.beginGroup(section);
    const QVariant v = m_settings.value(name, def);
    m_settings.endGroup();
    return v;
}

void SettingsStore::setValue(const QString &section, const QString &name, const QVariant &value)
{
    m_settings.beginGroup(section);
    m_settings.setValue(name, plain(value));
    m_settings.endGroup();
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

#include "backend/SettingsStore.h"

#include "backend/FileValues.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QJSValue>

SettingsStore::Opening SettingsStore::open(const QString &fileName)
{
    Opening opening;
    opening.path = fileName;
    const QString aside =
        fileName + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    {
        QSettings probe(fileName, QSettings::IniFormat);
        opening.status = probe.status();
        opening.undecodable = opening.status == QSettings::NoError && !FileValues::parseAll(probe);
    }
    if (opening.undecodable) {
        // The file stays whole under another name; a settings object on it
        // would fail on every read.
        if (QFile::rename(fileName, aside)) {
            opening.damagedCopy = aside;
        } else {
            opening.path = QDir::temp().filePath(QStringLiteral("kestravo-settings-%1.ini").arg(QCoreApplication::applicationPid()));
            QFile::remove(opening.path);
        }
    } else if (opening.status == QSettings::FormatError && QFile::copy(fileName, aside)) {
        opening.damagedCopy = aside;
    }
    return opening;
}

SettingsStore::SettingsStore(const QString &fileName)
    : m_fileName(fileName)
    , m_opening(open(fileName))
    , m_settings(m_opening.path, QSettings::IniFormat)
{
}

SettingsStore::~SettingsStore()
{
    if (m_opening.path != m_fileName) {
        m_settings.sync();
        QFile::remove(m_opening.path);
    }
}

QString SettingsStore::openError() const
{
    const QString path = QFileInfo(m_fileName).absoluteFilePath();
    if (m_opening.undecodable) {
        if (m_opening.damagedCopy.isEmpty()) {
            return QCoreApplication::translate("SettingsStore",
                                               "Файл настроек повреждён: %1. Его значения не читаются, отложить его не "
                                               "удалось; действуют настройки по умолчанию, изменения не сохранятся.")
                .arg(path);
        }
        return QCoreApplication::translate("SettingsStore",
                                           "Файл настроек повреждён: %1. Его значения не читаются; файл отложен как "
                                           "%2, действуют настройки по умолчанию.")
            .arg(path, m_opening.damagedCopy);
    }
    switch (m_opening.status) {
    case QSettings::NoError:
        return QString();
    case QSettings::AccessError:
        return QCoreApplication::translate("SettingsStore",
                                           "Файл настроек не читается: %1. Действуют настройки по умолчанию.")
            .arg(path);
    case QSettings::FormatError:
        break;
    }
    if (m_opening.damagedCopy.isEmpty()) {
        return QCoreApplication::translate("SettingsStore",
                                           "Файл настроек повреждён: %1. Непрочитанные настройки взяты по умолчанию; "
                                           "копию файла сохранить не удалось.")
            .arg(path);
    }
    return QCoreApplication::translate("SettingsStore",
                                       "Файл настроек повреждён: %1. Непрочитанные настройки взяты по умолчанию; "
                                       "копия файла: %2")
        .arg(path, m_opening.damagedCopy);
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

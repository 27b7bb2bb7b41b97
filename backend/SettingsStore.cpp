#include "backend/SettingsStore.h"

#include "backend/FileValues.h"
#include "backend/IniFile.h"
#include "backend/IniText.h"
#include "util/SafeFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJSValue>
#include <QStringList>

#include <sys/stat.h>

namespace {

QMap<QString, QVariant> keysOf(QSettings &settings)
{
    QMap<QString, QVariant> keys;
    for (const QString &key : settings.allKeys())
        keys.insert(key, settings.value(key));
    return keys;
}

} // namespace

SettingsStore::Opening SettingsStore::open(const QString &fileName)
{
    Opening opening;
    if (!QFileInfo::exists(fileName))
        return opening;
    const QString aside =
        fileName + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    {
        QSettings probe(fileName, QSettings::IniFormat);
        opening.status = probe.status();
        opening.undecodable = opening.status == QSettings::NoError && !FileValues::parseAll(probe);
    }
    if (opening.undecodable) {
        // The file stays whole under another name; the store starts empty.
        if (QFile::rename(fileName, aside))
            opening.damagedCopy = aside;
    } else if (opening.status == QSettings::FormatError && QFile::copy(fileName, aside)) {
        opening.damagedCopy = aside;
    }
    return opening;
}

SettingsStore::SettingsStore(const QString &fileName)
    : m_fileName(fileName)
    , m_settings(IniFile::detachedSettings())
{
    SafeFile::removeLeftovers(m_fileName);
    m_opening = open(m_fileName);
    m_state = stateOf(m_fileName);
    m_unreadable = !readFile(*m_settings);
    if (m_unreadable)
        qWarning() << "settings store: cannot read" << m_fileName;
    m_base = keysOf(*m_settings);
    m_written = text(nullptr);
}

SettingsStore::~SettingsStore()
{
    if (!hasUnwrittenChanges())
        return;
    QString error;
    if (!sync(&error))
        qWarning() << "settings store: changes not written to" << m_fileName << ":" << error;
}

SettingsStore::FileState SettingsStore::stateOf(const QString &path)
{
    FileState state;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return state;
    state.exists = true;
    state.device = st.st_dev;
    state.inode = st.st_ino;
    state.size = st.st_size;
    state.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return state;
}

bool SettingsStore::readFile(QSettings &into)
{
    into.clear();
    return IniFile::copyKeys(m_fileName, into);
}

QSettings &SettingsStore::settings()
{
    refresh();
    return *m_settings;
}

void SettingsStore::refresh()
{
    if (!m_settings->group().isEmpty())
        return;
    const FileState now = stateOf(m_fileName);
    if (now == m_state)
        return;
    m_state = now;
    // The changes made here since the file was read or written.
    const QMap<QString, QVariant> current = keysOf(*m_settings);
    QMap<QString, QVariant> changed;
    for (auto it = current.constBegin(); it != current.constEnd(); ++it) {
        if (!m_base.contains(it.key()) || m_base.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    QStringList removed;
    for (auto it = m_base.constBegin(); it != m_base.constEnd(); ++it) {
        if (!current.contains(it.key()))
            removed.append(it.key());
    }
    std::unique_ptr<QSettings> file = IniFile::detachedSettings();
    m_unreadable = !readFile(*file);
    if (m_unreadable) {
        qWarning() << "settings store: cannot read" << m_fileName;
        return;
    }
    m_base = keysOf(*file);
    QByteArray fileText;
    IniText::fromSettings(*file, &fileText, nullptr);
    m_written = fileText;
    m_settings->clear();
    for (auto it = m_base.constBegin(); it != m_base.constEnd(); ++it)
        m_settings->setValue(it.key(), it.value());
    for (const QString &key : removed)
        m_settings->remove(key);
    for (auto it = changed.constBegin(); it != changed.constEnd(); ++it)
        m_settings->setValue(it.key(), it.value());
}

QByteArray SettingsStore::text(QString *error)
{
    QByteArray bytes;
    if (!IniText::fromSettings(*m_settings, &bytes, error))
        return QByteArray();
    return bytes;
}

void SettingsStore::markWritten(const QByteArray &text)
{
    m_written = text;
    m_base = keysOf(*m_settings);
    m_state = stateOf(m_fileName);
}

bool SettingsStore::hasUnwrittenChanges()
{
    refresh();
    return text(nullptr) != m_written;
}

bool SettingsStore::sync(QString *error)
{
    refresh();
    QString why;
    const QByteArray bytes = text(&why);
    if (why.isEmpty() && bytes == m_written)
        return true;
    if (why.isEmpty() && m_unreadable)
        why = IniFile::unreadableText();
    if (why.isEmpty() && SafeFile::write(m_fileName, bytes, &why)) {
        markWritten(bytes);
        return true;
    }
    if (error)
        *error = why;
    return false;
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
    refresh();
    m_settings->beginGroup(section);
    const QVariant v = m_settings->value(name, def);
    const bool stored = m_settings->contains(name);
    m_settings->endGroup();
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
    m_settings->beginGroup(section);
    m_settings->setValue(name, v);
    m_settings->endGroup();
    return true;
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

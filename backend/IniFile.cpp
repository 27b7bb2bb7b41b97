#include "backend/IniFile.h"

#include "backend/FileValues.h"
#include "backend/IniText.h"
#include "util/SafeFile.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

IniFileWriter::IniFileWriter(const QString &targetPath)
    : m_target(targetPath)
    , m_settings(IniFile::detachedSettings())
{
}

IniFileWriter::~IniFileWriter() = default;

bool IniFileWriter::commit()
{
    m_error.clear();
    return IniFile::writeSettings(*m_settings, m_target, &m_error);
}

namespace IniFile {

std::unique_ptr<QSettings> detachedSettings()
{
    // One name per object: QSettings shares the keys of objects on one file.
    static QAtomicInt serial;
    const QString name = QStringLiteral("/dev/null/kestravo-detached-%1.ini").arg(serial.fetchAndAddRelaxed(1));
    return std::make_unique<QSettings>(name, QSettings::IniFormat);
}

bool copyKeys(const QString &path, QSettings &settings)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (!info.isFile() || !info.isReadable())
        return false;
    QSettings file(path, QSettings::IniFormat);
    // Values that cannot be decoded would throw out of Qt while reading.
    if (!FileValues::parseAll(file))
        return false;
    for (const QString &key : file.allKeys())
        settings.setValue(key, file.value(key));
    return file.status() != QSettings::AccessError;
}

QString unreadableText()
{
    return QCoreApplication::translate("IniFile", "файл не удалось прочитать, он не перезаписан");
}

bool writeSettings(QSettings &settings, const QString &path, QString *error)
{
    QByteArray text;
    if (!IniText::fromSettings(settings, &text, error))
        return false;
    return SafeFile::write(path, text, error);
}

static bool readable(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

bool differ(const QString &pathA, const QString &pathB, const std::function<bool(const QString &key)> &ignoreValue)
{
    if (!readable(pathA) || !readable(pathB))
        return true;
    QSettings a(pathA, QSettings::IniFormat);
    QSettings b(pathB, QSettings::IniFormat);
    if (a.status() != QSettings::NoError || b.status() != QSettings::NoError || !FileValues::parseAll(a)
        || !FileValues::parseAll(b))
        return true;
    QStringList keysA = a.allKeys();
    QStringList keysB = b.allKeys();
    if (keysA.size() != keysB.size())
        return true;
    keysA.sort();
    keysB.sort();
    for (int i = 0; i < keysA.size(); ++i) {
        if (keysA.at(i) != keysB.at(i))
            return true;
        if (ignoreValue && ignoreValue(keysA.at(i)))
            continue;
        if (a.value(keysA.at(i)) != b.value(keysB.at(i)))
            return true;
    }
    return false;
}

} // namespace IniFile

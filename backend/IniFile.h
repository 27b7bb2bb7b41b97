#pragma once

#include <QSettings>
#include <QString>

#include <functional>
#include <memory>

// Writes an INI file so that the old file survives any failure: the new
// content goes to a temporary file in the same folder, which replaces the old
// file only after it was written completely.
class IniFileWriter
{
public:
    explicit IniFileWriter(const QString &targetPath);
    ~IniFileWriter();
    IniFileWriter(const IniFileWriter &) = delete;
    IniFileWriter &operator=(const IniFileWriter &) = delete;

    // Null when the temporary file could not be created (see errorString()).
    QSettings *settings() { return m_settings.get(); }

    // Flushes the content and replaces the target. False (with errorString())
    // when anything failed; the target is then untouched.
    bool commit();
    QString errorString() const { return m_error; }

private:
    QString m_target;
    QString m_temp;
    std::unique_ptr<QSettings> m_settings;
    QString m_error;
    bool m_committed = false;
};

namespace IniFile {

// True when the two files differ in their keys, or in the value of a key for
// which ignoreValue() is false. A file that cannot be read (or whose values
// cannot be decoded) counts as different.
bool differ(const QString &pathA, const QString &pathB,
            const std::function<bool(const QString &key)> &ignoreValue);

} // namespace IniFile

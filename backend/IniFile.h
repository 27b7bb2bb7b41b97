#pragma once

#include <QSettings>
#include <QString>

#include <functional>
#include <memory>

// Writes an INI file so that the old file survives any failure. The keys are
// gathered in a QSettings that lives in memory only; commit() turns them into
// the INI text QSettings would write and hands it to SafeFile::write(), which
// replaces the target only after the new file was read back identical.
// Nothing is written before commit(), and nothing at all without it.
class IniFileWriter
{
public:
    explicit IniFileWriter(const QString &targetPath);
    ~IniFileWriter();
    IniFileWriter(const IniFileWriter &) = delete;
    IniFileWriter &operator=(const IniFileWriter &) = delete;

    // The keys to write, starting empty. Never null.
    QSettings *settings() { return m_settings.get(); }

    // Writes the keys and replaces the target. False (with errorString())
    // when anything failed; the target is then untouched.
    bool commit();
    QString errorString() const { return m_error; }

private:
    QString m_target;
    std::unique_ptr<QSettings> m_settings;
    QString m_error;
};

namespace IniFile {

// A QSettings (INI format) whose keys live in memory only: its file name lies
// below /dev/null, where nothing can ever be created, so QSettings itself
// never writes anything (its own sync only reports an access error). Fill it
// and write it with writeSettings().
std::unique_ptr<QSettings> detachedSettings();

// Copies every key of the INI file at `path` into `settings` (a file that
// does not exist adds nothing). False when the file exists but cannot be read.
bool copyKeys(const QString &path, QSettings &settings);

// The reason given when a file that exists could not be read and therefore
// is not replaced (its keys would be lost).
QString unreadableText();

// Writes every key of `settings` (at its root group) to `path` through
// SafeFile::write(). False with *error when anything failed; `path` is then
// untouched.
bool writeSettings(QSettings &settings, const QString &path, QString *error);

// True when the two files differ in their keys, or in the value of a key for
// which ignoreValue() is false. A file that cannot be read (or whose values
// cannot be decoded) counts as different.
bool differ(const QString &pathA, const QString &pathB,
            const std::function<bool(const QString &key)> &ignoreValue);

} // namespace IniFile

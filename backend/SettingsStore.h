#pragma once

#include <QByteArray>
#include <QMap>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// The settings store "settings.ini" (INI format). Individual settings live in
// groups ("project", "device", ...) under the names of the main window's
// properties; values keep the store's own variant encoding.
//
// The keys are held in a QSettings that lives in memory; changing them never
// touches the file. sync() writes the file through SafeFile::write(), which
// replaces it only once the new file was read back identical, so a full disk
// can never leave a cut store behind. When the file changes on disk (another
// program, or a QSettings of this one, wrote it), the store reads it again at
// its next use and keeps its own unwritten changes on top, as QSettings does.
class SettingsStore
{
public:
    // Opens the store. When the file cannot be read (access error) or is not
    // a valid INI file (format error), openError() says so; a file with a
    // format error is first copied beside itself (".damaged-" and the time),
    // since writing the store would rewrite it. A file whose values cannot be
    // decoded at all (FileValues::parseAll) is moved aside under that name and
    // the store starts empty; when it cannot be moved, the store is never
    // written over it.
    explicit SettingsStore(const QString &fileName);
    // Writes changes that were not written yet (a failure is only logged:
    // there is nobody left to tell).
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString fileName() const { return m_fileName; }
    // The keys in memory (refreshed first); sync() writes them. The object
    // stays the same for the store's life.
    QSettings &settings();

    // Reads the file again when it changed on disk since it was read or
    // written, keeping the changes not written yet on top. Nothing happens
    // while a group of settings() is open.
    void refresh();

    // Operator text when the file could not be read at opening; empty when
    // it was read (or did not exist yet).
    QString openError() const;

    // The stored value, or def when the key is absent. When def is a number,
    // a stored value that is not a finite number is refused: def is returned
    // and the refusal is kept for takeProblems().
    QVariant value(const QString &section, const QString &name, const QVariant &def = QVariant());

    // Operator texts of the values refused since the last call.
    QStringList takeProblems();

    // Stores a value; script values (JavaScript arrays and objects) are stored
    // as plain lists and maps. Does not sync. Refuses (false, nothing stored)
    // a value that is, or holds, a real that is not finite.
    bool setValue(const QString &section, const QString &name, const QVariant &value);

    // Writes the file when the keys differ from what it holds (as read or
    // last written). False with *error when that failed; the file is then as
    // it was, and the keys stay in memory for the next try. A file that exists
    // but could not be read is never overwritten (its settings would be lost).
    bool sync(QString *error = nullptr);
    // True when the keys differ from what the file holds.
    bool hasUnwrittenChanges();

    // True when a current value equals the stored one of `name` in the current
    // group of `settings` (stored text compares equal to the same value).
    static bool sameAsStored(const QVariant &current, const QString &name, QSettings &settings);

    // QJSValue (script array or object) → QVariantList / QVariantMap,
    // recursively; everything else unchanged.
    static QVariant plain(const QVariant &value);

private:
    // What opening found, before the keys were read.
    struct Opening
    {
        QSettings::Status status = QSettings::NoError;
        bool undecodable = false; // values that cannot be decoded
        QString damagedCopy;      // the damaged file's copy (or its new name)
    };
    static Opening open(const QString &fileName);

    // What tells that the file changed on disk.
    struct FileState
    {
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modified = 0; // nanoseconds
        bool operator==(const FileState &o) const
        {
            return exists == o.exists && device == o.device && inode == o.inode && size == o.size
                && modified == o.modified;
        }
    };
    static FileState stateOf(const QString &path);
    QByteArray text(QString *error);
    // Reads the file into `into` (cleared first); false when it exists but
    // cannot be read.
    bool readFile(QSettings &into);
    // Takes the current keys as what the file holds.
    void markWritten(const QByteArray &text);

    QString m_fileName;
    Opening m_opening;
    std::unique_ptr<QSettings> m_settings;
    QStringList m_problems;
    QMap<QString, QVariant> m_base; // the keys the file holds, as read or last written
    QByteArray m_written;           // the same as INI text
    FileState m_state;              // the file when it was read or last written
    bool m_unreadable = false;
};

#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

// The settings store "settings.ini" (INI format). Individual settings live in
// groups ("project", "device", ...) under the names of the main window's
// properties; values keep the store's own variant encoding.
class SettingsStore
{
public:
    // Opens the store. When the file cannot be read (access error) or is not
    // a valid INI file (format error), openError() says so; a file with a
    // format error is first copied beside itself (".damaged-" and the time),
    // since writing the store would rewrite it. A file whose values cannot be
    // decoded at all (FileValues::parseAll) is moved aside under that name and
    // the store starts empty.
    explicit SettingsStore(const QString &fileName);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString fileName() const { return m_fileName; }
    QSettings &settings() { return m_settings; }

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

    void sync();

    // True when a current value equals the stored one of `name` in the current
    // group of `settings` (stored text compares equal to the same value).
    static bool sameAsStored(const QVariant &current, const QString &name, QSettings &settings);

    // QJSValue (script array or object) → QVariantList / QVariantMap,
    // recursively; everything else unchanged.
    static QVariant plain(const QVariant &value);

private:
    // What opening found; made before the settings object exists.
    struct Opening
    {
        QString path;                                  // the file the settings object uses
        QSettings::Status status = QSettings::NoError;
        bool undecodable = false;                      // values that cannot be decoded
        QString damagedCopy;                           // the damaged file's copy (or its new name)
    };
    static Opening open(const QString &fileName);

    QString m_fileName;
    Opening m_opening;
    QSettings m_settings;
    QStringList m_problems;
};

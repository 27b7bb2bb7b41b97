#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// The settings store "settings.ini" (INI format). Individual settings live in
// groups ("project", "device", ...) under the names of the main window's
// properties; values keep the store's own variant encoding.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &fileName);

    QString fileName() const { return m_settings.fileName(); }
    QSettings &settings() { return m_settings; }

    // The stored value, or def when the key is absent.
    QVariant value(const QString &section, const QString &name, const QVariant &def = QVariant());

    // Stores a value; script values (JavaScript arrays and objects) are stored
    // as plain lists and maps. Does not sync.
    void setValue(const QString &section, const QString &name, const QVariant &value);

    void sync();

    // True when a current value equals the stored one of `name` in the current
    // group of `settings` (stored text compares equal to the same value).
    static bool sameAsStored(const QVariant &current, const QString &name, QSettings &settings);

    // QJSValue (script array or object) → QVariantList / QVariantMap,
    // recursively; everything else unchanged.
    static QVariant plain(const QVariant &value);

private:
    QSettings m_settings;
};

#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>

// The bytes of an INI file exactly as QSettings (INI format, Qt 5.15, no text
// codec) writes them for a set of keys, made in memory so that the writer
// knows what the file on disk must hold and can check it byte for byte.
// QSettings reads them back to the same keys and values.
//
// Layout: sections sorted by name, the keys outside any group first under
// "[General]"; in each section the keys sorted by name, one "key=value" line
// each; a blank line between sections; "\n" line ends.
namespace IniText {

// The file for every key of `settings`, which must be at its root group (no
// group open): false with *error otherwise.
bool fromSettings(QSettings &settings, QByteArray *text, QString *error);

// The pieces, as QSettings encodes them.
QByteArray escapedKey(const QString &key);
QByteArray escapedValue(const QVariant &value);
QString variantToString(const QVariant &value);

} // namespace IniText

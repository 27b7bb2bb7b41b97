#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// Values read from the INI files of the operator's data, taken only when
// they fit: a number must parse, be finite and fit its type. The readers of
// the project, feeder, package-base and settings files refuse anything else
// instead of letting it become 0, a wrapped integer or an infinity.
namespace FileValues {

// A whole number within the range of int ("12", 12); "3.0" and "abc" are not.
bool toWholeNumber(const QVariant &stored, int *value);

// An integer: a whole number, or a real within the range of int whose
// fraction is dropped ("3.5" gives 3).
bool toInt(const QVariant &stored, int *value);

// A finite real.
bool toReal(const QVariant &stored, double *value);

// False when the value, or an item of a list or map in it, is a real that is
// not finite.
bool isFinite(const QVariant &value);

// The first key of the settings whose value is not finite (see isFinite),
// empty when there is none. Writers use it to refuse a file that would hold
// such a value.
QString firstNonFiniteKey(QSettings &settings);

// Parses every value of the settings once. False when that failed: Qt
// decodes an embedded value ("@Variant(...)") by reserving memory for the
// count it holds, so a damaged one of a few bytes can ask for gigabytes and
// throw. Readers call this before their first value and refuse the file
// when it fails; the values are then never touched. An open group is closed
// and opened again as one group.
bool parseAll(QSettings &settings);

// A stored value as the operator sees it in a message, shortened.
QString shown(const QVariant &stored);

} // namespace FileValues

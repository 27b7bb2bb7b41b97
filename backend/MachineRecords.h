#pragma once

#include <QSettings>
#include <QStringList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QVector>

// The machine-wide record lists kept in the settings store: vacuum cups
// (groups "cup1".."cup8"), band feeder banks ("bandBank1".."bandBank4") and
// vibration feeder banks ("vibroBank1".."vibroBank4").
namespace MachineRecords {

struct Field
{
    const char *name;
    QVariant::Type type;
    QVariant defaultValue;
};

struct Kind
{
    QString groupPrefix;
    int count;
    QVector<Field> fields;
};

const Kind &cups();
const Kind &bandBanks();
const Kind &vibroBanks();

// A record with every field at its default ("exists" false).
QVariantMap defaults(const Kind &kind);

// Operator name of record n of a kind ("Насадка №1", ...).
QString recordName(const Kind &kind, int n);

// Record number n (1-based) from the store: the defaults when the group's
// "exists" is not true, otherwise the stored values converted to the field
// types. A value that does not convert, is not finite or does not fit an int
// keeps the default and is reported in `problems` (operator texts).
QVariantMap read(QSettings &store, const Kind &kind, int n, QStringList *problems = nullptr);

// Writes a record as group n with "exists" = true.
void write(QSettings &store, const Kind &kind, int n, const QVariantMap &record);

// Removes group n.
void remove(QSettings &store, const Kind &kind, int n);

// Reads all records of a kind, in order.
QVariantList readAll(QSettings &store, const Kind &kind, QStringList *problems = nullptr);

// Writes the given records as groups 1..size and removes the groups after
// them up to the kind's count. Refuses (false, nothing written, `error`
// naming the record and the key) when a value is a real that is not finite.
bool writeAll(QSettings &store, const Kind &kind, const QVariantList &records, QString *error = nullptr);

} // namespace MachineRecords

#pragma once

#include <QSettings>
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

// Record number n (1-based) from the store: the defaults when the group's
// "exists" is not true, otherwise the stored values converted to the field
// types (a value that does not convert keeps the default).
QVariantMap read(QSettings &store, const Kind &kind, int n);

// Writes a record as group n with "exists" = true.
void write(QSettings &store, const Kind &kind, int n, const QVariantMap &record);

// Removes group n.
void remove(QSettings &store, const Kind &kind, int n);

// Reads all records of a kind, in order.
QVariantList readAll(QSettings &store, const Kind &kind);

// Writes the given records as groups 1..size and removes the groups after
// them up to the kind's count.
void writeAll(QSettings &store, const Kind &kind, const QVariantList &records);

} // namespace MachineRecords

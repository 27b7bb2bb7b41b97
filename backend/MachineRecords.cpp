#include "backend/MachineRecords.h"

namespace MachineRecords {

namespace {

QString groupName(const Kind &kind, int n)
{
    return kind.groupPrefix + QString::number(n);
}

QVariant convert(const QVariant &stored, const Field &field)
{
    QVariant v = stored;
    if (field.type == QVariant::Bool && v.type() == QVariant::String) {
        const QString s = v.toString().trimmed().toLower();
        if (s == QLatin1String("true") || s == QLatin1String("1"))
            return true;
        if (s == QLatin1String("false") || s == QLatin1String("0"))
            return false;
        return field.defaultValue;
    }
    if (!v.convert(int(field.type)))
        return field.defaultValue;
    return v;
}

} // namespace

const Kind &cups()
{
    static const Kind kind{QStringLiteral("cup"), 8, {
        {"exists", QVariant::Bool, false},
        {"cupLength", QVariant::Double, 31.0},
        {"cupDiameter", QVariant::Double, 1.0},
        {"cupDiameter2", QVariant::Double, 1.1},
        {"takeM", QVariant::String, QString()},
        {"setupM", QVariant::String, QString()},
        {"press", QVariant::Double, 1.0},
        {"vsUse", QVariant::Bool, false},
        {"vsPressure", QVariant::Double, 10.0},
        {"vsPressureDiff", QVariant::Double, 5.0},
        {"checkClogging", QVariant::Bool, false},
    }};
    return kind;
}

const Kind &bandBanks()
{
    static const Kind kind{QStringLiteral("bandBank"), 4, {
        {"exists", QVariant::Bool, false},
        {"bankEnabled", QVariant::Bool, false},
        {"position", QVariant::Int, 0},
        {"zShift", QVariant::Double, 0.0},
        {"maxShift", QVariant::Int, 0},
        {"getCoord", QVariant::Double, 0.0},
        {"g1", QVariant::String, QString()},
        {"g2", QVariant::String, QString()},
        {"g3", QVariant::String, QString()},
        {"g4", QVariant::String, QString()},
        {"g1p2c", QVariant::String, QString()},
        {"g2p2c", QVariant::String, QString()},
        {"yRoundEnabled", QVariant::Bool, false},
        {"yRound", QVariant::Double, 200.0},
    }};
    return kind;
}

const Kind &vibroBanks()
{
    static const Kind kind{QStringLiteral("vibroBank"), 4, {
        {"exists", QVariant::Bool, false},
        {"bankEnabled", QVariant::Bool, false},
        {"zShift", QVariant::Double, 0.0},
        {"g1", QVariant::String, QString()},
        {"pwm", QVariant::Bool, false},
        {"pwmFreq", QVariant::Int, 20},
        {"pwmDutyCycle", QVariant::Int, 50},
        {"pwmLength", QVariant::Double, 2.0},
    }};
    return kind;
}

QVariantMap defaults(const Kind &kind)
{
    QVariantMap record;
    for (const Field &f : kind.fields)
        record.insert(QLatin1String(f.name), f.defaultValue);
    return record;
}

QVariantMap read(QSettings &store, const Kind &kind, int n)
{
    QVariantMap record = defaults(kind);
    store.beginGroup(groupName(kind, n));
    const bool exists = convert(store.value(QStringLiteral("exists")), kind.fields.first()).toBool();
    if (exists) {
        for (const Field &f : kind.fields) {
            const QString key = QLatin1String(f.name);
            if (store.contains(key))
                record.insert(key, convert(store.value(key), f));
        }
    }
    store.endGroup();
    return record;
}

void write(QSettings &store, const Kind &kind, int n, const QVariantMap &record)
{
    store.beginGroup(groupName(kind, n));
    for (const Field &f : kind.fields) {
        const QString key = QLatin1String(f.name);
        QVariant value = record.value(key, f.defaultValue);
        if (key == QLatin1String("exists"))
            value = true;
        store.setValue(key, convert(value, f));
    }
    store.endGroup();
}

void remove(QSettings &store, const Kind &kind, int n)
{
    store.remove(groupName(kind, n));
}

QVariantList readAll(QSettings &store, const Kind &kind)
{
    QVariantList records;
    for (int n = 1; n <= kind.count; ++n)
        records.append(read(store, kind, n));
    return records;
}

void writeAll(QSettings &store, const Kind &kind, const QVariantList &records)
{
    const int written = qMin(int(records.size()), kind.count);
    for (int i = 0; i < written; ++i)
        write(store, kind, i + 1, records.at(i).toMap());
    for (int n = written + 1; n <= kind.count; ++n)
        remove(store, kind, n);
}

} // namespace MachineRecords

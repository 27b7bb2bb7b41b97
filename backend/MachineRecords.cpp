#include "backend/MachineRecords.h"

#include "backend/FileValues.h"

#include <QCoreApplication>

#include <cmath>

namespace MachineRecords {

namespace {

QString groupName(const Kind &kind, int n)
{
    return kind.groupPrefix + QString::number(n);
}

QString tr(const char *text)
{
    return QCoreApplication::translate("MachineRecords", text);
}

// A value as the field's type; false (with the default) when it does not
// convert, is not finite or does not fit an int.
bool convert(const QVariant &stored, const Field &field, QVariant *value)
{
    *value = field.defaultValue;
    switch (field.type) {
    case QVariant::Bool:
        if (stored.type() == QVariant::String) {
            const QString s = stored.toString().trimmed().toLower();
            if (s == QLatin1String("true") || s == QLatin1String("1"))
                *value = true;
            else if (s == QLatin1String("false") || s == QLatin1String("0"))
                *value = false;
            else
                return false;
            return true;
        }
        break;
    case QVariant::Int: {
        // Whole numbers; a real value (a script number being written) is
        // rounded when it fits.
        int i = 0;
        double d = 0;
        if (FileValues::toWholeNumber(stored, &i))
            *value = i;
        else if (stored.type() == QVariant::Double && FileValues::toReal(stored, &d) && std::fabs(d) < 2147483647.0)
            *value = qRound(d);
        else
            return false;
        return true;
    }
    case QVariant::Double: {
        double d = 0;
        if (!FileValues::toReal(stored, &d))
            return false;
        *value = d;
        return true;
    }
    default:
        break;
    }
    QVariant v = stored;
    if (!v.convert(int(field.type)))
        return false;
    *value = v;
    return true;
}

QVariant convert(const QVariant &stored, const Field &field)
{
    QVariant value;
    convert(stored, field, &value);
    return value;
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

QString recordName(const Kind &kind, int n)
{
    if (kind.groupPrefix == cups().groupPrefix)
        return tr("Насадка №%1").arg(n);
    if (kind.groupPrefix == bandBanks().groupPrefix)
        return tr("Банк ленточных питателей №%1").arg(n);
    if (kind.groupPrefix == vibroBanks().groupPrefix)
        return tr("Банк вибропитателей №%1").arg(n);
    return groupName(kind, n);
}

QVariantMap read(QSettings &store, const Kind &kind, int n, QStringList *problems)
{
    QVariantMap record = defaults(kind);
    store.beginGroup(groupName(kind, n));
    const bool exists = convert(store.value(QStringLiteral("exists")), kind.fields.first()).toBool();
    if (exists) {
        for (const Field &f : kind.fields) {
            const QString key = QLatin1String(f.name);
            if (!store.contains(key))
                continue;
            const QVariant stored = store.value(key);
            QVariant value;
            if (!convert(stored, f, &value) && problems) {
                problems->append(tr("%1: неверное значение %2 = \"%3\" в файле настроек, взято %4")
                                     .arg(recordName(kind, n), key, FileValues::shown(stored), value.toString()));
            }
            record.insert(key, value);
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

QVariantList readAll(QSettings &store, const Kind &kind, QStringList *problems)
{
    QVariantList records;
    for (int n = 1; n <= kind.count; ++n)
        records.append(read(store, kind, n, problems));
    return records;
}

bool writeAll(QSettings &store, const Kind &kind, const QVariantList &records, QString *error)
{
    const int written = qMin(int(records.size()), kind.count);
    for (int i = 0; i < written; ++i) {
        const QVariantMap record = records.at(i).toMap();
        for (const Field &f : kind.fields) {
            const QVariant value = record.value(QLatin1String(f.name));
            if (!FileValues::isFinite(value)) {
                if (error) {
                    const QString name = recordName(kind, i + 1);
                    *error = tr("Настройки не записаны: %1, значение %2 = %3 не является конечным числом")
                                 .arg(name.left(1).toLower() + name.mid(1), QLatin1String(f.name),
                                      FileValues::shown(value));
                }
                return false;
            }
        }
    }
    for (int i = 0; i < written; ++i)
        write(store, kind, i + 1, records.at(i).toMap());
    for (int n = written + 1; n <= kind.count; ++n)
        remove(store, kind, n);
    return true;
}

} // namespace MachineRecords

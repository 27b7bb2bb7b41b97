#include "backend/FileValues.h"

#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <cmath>
#include <exception>

namespace FileValues {

namespace {

// The open interval of reals whose integer part fits an int.
bool fitsInt(double d)
{
    return std::isfinite(d) && d > -2147483649.0 && d < 2147483648.0;
}

bool isText(const QVariant &v)
{
    return v.type() == QVariant::String || v.type() == QVariant::ByteArray;
}

bool isReal(const QVariant &v)
{
    return v.type() == QVariant::Double || v.userType() == QMetaType::Float;
}

bool isInteger(const QVariant &v)
{
    switch (v.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

// An integer-typed value within the range of int.
bool integerValue(const QVariant &v, int *value)
{
    if (v.userType() == QMetaType::ULongLong || v.userType() == QMetaType::UInt
        || v.userType() == QMetaType::ULong || v.userType() == QMetaType::UShort) {
        const qulonglong u = v.toULongLong();
        if (u > qulonglong(2147483647))
            return false;
        *value = int(u);
        return true;
    }
    const qlonglong l = v.toLongLong();
    if (l < -2147483648LL || l > 2147483647LL)
        return false;
    *value = int(l);
    return true;
}

} // namespace

bool toWholeNumber(const QVariant &stored, int *value)
{
    if (isInteger(stored))
        return integerValue(stored, value);
    if (!isText(stored))
        return false;
    bool ok = false;
    const int i = stored.toString().trimmed().toInt(&ok);
    if (ok)
        *value = i;
    return ok;
}

bool toInt(const QVariant &stored, int *value)
{
    if (toWholeNumber(stored, value))
        return true;
    double d = 0;
    if (!toReal(stored, &d) || !fitsInt(d))
        return false;
    *value = int(d);
    return true;
}

bool toReal(const QVariant &stored, double *value)
{
    double d = 0;
    if (isText(stored)) {
        bool ok = false;
        d = stored.toString().trimmed().toDouble(&ok);
        if (!ok)
            return false;
    } else if (isReal(stored) || isInteger(stored)) {
        d = stored.toDouble();
    } else {
        return false;
    }
    if (!std::isfinite(d))
        return false;
    *value = d;
    return true;
}

bool isFinite(const QVariant &value)
{
    if (isReal(value))
        return std::isfinite(value.toDouble());
    if (value.type() == QVariant::List) {
        for (const QVariant &item : value.toList()) {
            if (!isFinite(item))
                return false;
        }
        return true;
    }
    if (value.type() == QVariant::Map) {
        const QVariantMap map = value.toMap();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            if (!isFinite(it.value()))
                return false;
        }
        return true;
    }
    if (value.type() == QVariant::Hash) {
        const QVariantHash hash = value.toHash();
        for (auto it = hash.constBegin(); it != hash.constEnd(); ++it) {
            if (!isFinite(it.value()))
                return false;
        }
    }
    return true;
}

QString firstNonFiniteKey(QSettings &settings)
{
    for (const QString &key : settings.allKeys()) {
        if (!isFinite(settings.value(key)))
            return key;
    }
    return QString();
}

bool parseAll(QSettings &settings)
{
    // Values are decoded when their section is first read; the keys of the
    // top level take in every section. An open group is closed for that and
    // opened again (as one group).
    const QString group = settings.group();
    while (!settings.group().isEmpty())
        settings.endGroup();
    bool ok = true;
    try {
        settings.allKeys();
    } catch (const std::exception &) {
        ok = false;
    }
    if (!group.isEmpty())
        settings.beginGroup(group);
    return ok;
}

QString shown(const QVariant &stored)
{
    QString text;
    if (isReal(stored))
        text = QString::number(stored.toDouble());
    else if (stored.canConvert<QString>())
        text = stored.toString();
    else
        text = QString::fromLatin1(stored.typeName());
    constexpr int longest = 40;
    if (text.size() > longest)
        text = text.left(longest) + QStringLiteral("…");
    return text;
}

} // namespace FileValues

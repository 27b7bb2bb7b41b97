#include "backend/ProjectFile.h"

#include "backend/IniFile.h"

#include <QUrl>

#include <cmath>

namespace ProjectFile {

const QVector<Key> &pcbKeys()
{
    static const QVector<Key> keys = {
        {"pcbImage", QString()}, {"pcbScale", 1.0}, {"pcbX", 0.0}, {"pcbY", 0.0}, {"pcbAnchorX", 0.0},
        {"pcbAnchorY", 0.0}, {"pcbRotation", 0.0}, {"pcbThickness", 1.5}, {"pcbMulti", false},
        {"pcbMultiSpacingX", 10.0}, {"pcbMultiSpacingY", 10.0}, {"pcbMultiCountX", 2}, {"pcbMultiCountY", 2},
        {"pcbMultiNonstandart", false}, {"firstPcbX", 0.0}, {"firstPcbY", 0.0}, {"refMode", 0},
        {"pcbRefPointSize", 1.0}, {"pcbRefPointSize2", 1.0}, {"pcbRefPointMaxId", 100},
        {"pcbCameraInverse", false}, {"pcbROIPercent", 50}, {"pcbThreshold1", 150}, {"pcbThreshold2", 50},
        {"pcbRefTemplateMathCoeff", 80}, {"pcbRefPointType", 0}, {"pcbRefPointPhoto", QVariant()},
        {"pcbSelfPlacementOrder", 0}, {"pcbFinishedCount", 0}, {"pcbComponentsMountedCount", 0},
        {"pcbComponentsBasketCount", 0}, {"pcbSolderPointsMountedCount", 0}, {"pcbMountTimeInt", 0},
        {"projectAoiEnabled", false}};
    return keys;
}

const QVector<Key> &refKeys()
{
    static const QVector<Key> keys = {
        {"rX", 0.0}, {"rY", 0.0}, {"disabled", 0}, {"indiv", false}, {"type", 0}, {"size", 1.0},
        {"size2", 1.0}, {"inv", false}, {"roi", 50}, {"templateMathCoeff", 80}, {"t1", 150}, {"t2", 100},
        {"photo", QVariant()}, {"id", -1}};
    return keys;
}

const QVector<Key> &elementKeys()
{
    static const QVector<Key> keys = {
        {"pack", QString()}, {"partNumber", QString()}, {"model", QStringLiteral("L")}, {"index", 0},
        {"rX", 0.0}, {"rY", 0.0}, {"angle", 0.0}, {"disabled", 0}, {"designator", QString()},
        {"preferredRef1", -1}, {"preferredRef2", -1}, {"elPhoto", QVariant()}};
    return keys;
}

const QVector<Key> &dotKeys()
{
    static const QVector<Key> keys = {
        {"model", QStringLiteral("L")}, {"index", 0}, {"rX", 0.0}, {"rY", 0.0}, {"disabled", 0},
        {"preferredRef1", -1}, {"preferredRef2", -1}};
    return keys;
}

QString packagePathKey()
{
    return QStringLiteral("elementPath");
}

bool isCounterKey(const QString &key)
{
    return key == QLatin1String("Pcb/pcbComponentsMountedCount")
        || key == QLatin1String("Pcb/pcbComponentsBasketCount") || key == QLatin1String("Pcb/pcbFinishedCount")
        || key == QLatin1String("Pcb/pcbMountTimeInt") || key == QLatin1String("log");
}

namespace {

// URLs are stored as text so that the file stays readable.
QVariant storable(const QVariant &v)
{
    if (v.type() == QVariant::Url)
        return v.toUrl().toString();
    return v;
}

bool toBool(const QVariant &v)
{
    if (v.type() == QVariant::String) {
        const QString s = v.toString().trimmed().toLower();
        return s == QLatin1String("true") || s == QLatin1String("1");
    }
    return v.toBool();
}

// A stored value as the type of the default; the default when it is missing
// or does not convert. Defaults without a type (photos) take the value as it is.
QVariant typed(const QVariant &stored, const QVariant &def)
{
    if (!stored.isValid())
        return def;
    switch (def.type()) {
    case QVariant::Invalid:
        return stored;
    case QVariant::Bool:
        return toBool(stored);
    case QVariant::Int: {
        bool ok = false;
        const int i = stored.toInt(&ok);
        if (ok)
            return i;
        const double d = stored.toDouble(&ok);
        return ok && std::isfinite(d) ? QVariant(int(d)) : def;
    }
    case QVariant::Double: {
        bool ok = false;
        const double d = stored.toDouble(&ok);
        return ok ? QVariant(d) : def;
    }
    case QVariant::String:
        return stored.type() == QVariant::Url ? stored.toUrl().toString() : stored.toString();
    default:
        return stored;
    }
}

void writeGroup(QSettings &s, const QString &group, const QVector<Key> &keys, const QVariantMap &values,
                const QString &extraKey = QString())
{
    s.beginGroup(group);
    for (const Key &key : keys)
        s.setValue(QLatin1String(key.name), storable(values.value(QLatin1String(key.name), key.def)));
    if (!extraKey.isEmpty())
        s.setValue(extraKey, storable(values.value(extraKey, QString())));
    s.endGroup();
}

QVariantMap readGroup(QSettings &s, const QVector<Key> &keys)
{
    QVariantMap values;
    for (const Key &key : keys)
        values.insert(QLatin1String(key.name), typed(s.value(QLatin1String(key.name)), key.def));
    return values;
}

bool isNan(const QVariant &stored)
{
    if (!stored.isValid())
        return false;
    if (stored.type() == QVariant::String)
        return stored.toString().trimmed().compare(QLatin1String("nan"), Qt::CaseInsensitive) == 0;
    return std::isnan(stored.toDouble());
}

// Reads groups prefix + 0..count-1; groups whose coordinates are "nan" are
// reported and skipped.
QVector<QVariantMap> readObjects(QSettings &s, const QString &countKey, const QString &prefix,
                                 const QVector<Key> &keys, const QString &extraKey, QVector<Skipped> *skipped)
{
    QVector<QVariantMap> objects;
    bool ok = false;
    const int count = s.value(countKey, 0).toInt(&ok);
    if (!ok || count <= 0)
        return objects;
    objects.reserve(count);
    for (int i = 0; i < count; ++i) {
        s.beginGroup(prefix + QString::number(i));
        QVariantMap values = readGroup(s, keys);
        if (!extraKey.isEmpty())
            values.insert(extraKey, s.value(extraKey).toString());
        const bool bad = isNan(s.value("rX")) || isNan(s.value("rY"));
        s.endGroup();
        if (bad) {
            if (skipped)
                skipped->append({prefix, i, values});
            continue;
        }
        objects.append(values);
    }
    return objects;
}

} // namespace

void writeDevice(QSettings &s, const QVariantMap &device)
{
    s.beginGroup("device");
    for (const char *key : {"workAreaX1", "workAreaX2", "workAreaY1", "workAreaY2"})
        s.setValue(QLatin1String(key), device.value(QLatin1String(key), 0.0));
    s.endGroup();
}

void writeFeederBanks(QSettings &s, const FeederBanks &banks)
{
    s.beginGroup("feederBanks");
    s.setValue("feederFileB", banks.b);
    s.setValue("feederFileL", banks.l);
    s.setValue("feederFileU", banks.u);
    s.setValue("feederFileR", banks.r);
    s.endGroup();
}

void writePcb(QSettings &s, const QVariantMap &pcb, const QVector<PanelPosition> &panel)
{
    s.beginGroup("Pcb");
    for (const Key &key : pcbKeys())
        s.setValue(QLatin1String(key.name), storable(pcb.value(QLatin1String(key.name), key.def)));
    const int n = std::min<int>(panel.size(), maxPanelPositions);
    for (int i = 0; i < n; ++i) {
        s.beginGroup(QStringLiteral("pcb") + QString::number(i + 1));
        s.setValue("exists", true);
        s.setValue("x", panel.at(i).x);
        s.setValue("y", panel.at(i).y);
        s.setValue("rot", panel.at(i).rot);
        s.endGroup();
    }
    for (int i = n + 1; i <= maxPanelPositions; ++i)
        s.remove(QStringLiteral("pcb") + QString::number(i));
    s.endGroup();
}

void writeRefs(QSettings &s, const QVector<QVariantMap> &refs)
{
    s.setValue("refCount", refs.size());
    for (int i = 0; i < refs.size(); ++i)
        writeGroup(s, QStringLiteral("ref") + QString::number(i), refKeys(), refs.at(i));
}

void writeElements(QSettings &s, const QVector<QVariantMap> &elements)
{
    s.setValue("elementCount", elements.size());
    for (int i = 0; i < elements.size(); ++i)
        writeGroup(s, QStringLiteral("element") + QString::number(i), elementKeys(), elements.at(i),
                   packagePathKey());
}

void writeDots(QSettings &s, const QVector<QVariantMap> &dots)
{
    s.setValue("dotCount", dots.size());
    for (int i = 0; i < dots.size(); ++i)
        writeGroup(s, QStringLiteral("dot") + QString::number(i), dotKeys(), dots.at(i));
}

void writeLog(QSettings &s, const QStringList &log)
{
    s.setValue("log", log);
}

void writeDayStat(QSettings &s, const QString &dayStat)
{
    s.setValue("dayStat", dayStat);
}

void writeAll(QSettings &s, const Data &data)
{
    s.clear();
    writeDevice(s, data.device);
    writeFeederBanks(s, data.feederBanks);
    writePcb(s, data.pcb, data.panel);
    writeRefs(s, data.refs);
    writeElements(s, data.elements);
    writeDots(s, data.dots);
    writeLog(s, data.log);
    writeDayStat(s, data.dayStat);
}

bool save(const QString &path, const Data &data, QString *error)
{
    IniFileWriter writer(path);
    if (!writer.settings()) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    writeAll(*writer.settings(), data);
    if (!writer.commit()) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return true;
}

FeederBanks readFeederBanks(QSettings &s)
{
    FeederBanks banks;
    s.beginGroup("feederBanks");
    banks.b = typed(s.value("feederFileB"), QString()).toString();
    banks.l = typed(s.value("feederFileL"), QString()).toString();
    banks.u = typed(s.value("feederFileU"), QString()).toString();
    banks.r = typed(s.value("feederFileR"), QString()).toString();
    s.endGroup();
    return banks;
}

QVariantMap readPcb(QSettings &s, QVector<PanelPosition> *panel)
{
    s.beginGroup("Pcb");
    const QVariantMap pcb = readGroup(s, pcbKeys());
    if (panel) {
        panel->clear();
        for (int i = 1; i <= maxPanelPositions; ++i) {
            s.beginGroup(QStringLiteral("pcb") + QString::number(i));
            const bool exists = toBool(s.value("exists"));
            if (exists) {
                panel->append({typed(s.value("x"), 0.0).toDouble(), typed(s.value("y"), 0.0).toDouble(),
                               typed(s.value("rot"), 0.0).toDouble()});
            }
            s.endGroup();
            if (!exists)
                break;
        }
    }
    s.endGroup();
    return pcb;
}

QVector<QVariantMap> readRefs(QSettings &s, QVector<Skipped> *skipped)
{
    return readObjects(s, "refCount", "ref", refKeys(), QString(), skipped);
}

QVector<QVariantMap> readElements(QSettings &s, QVector<Skipped> *skipped)
{
    return readObjects(s, "elementCount", "element", elementKeys(), packagePathKey(), skipped);
}

QVector<QVariantMap> readDots(QSettings &s, QVector<Skipped> *skipped)
{
    return readObjects(s, "dotCount", "dot", dotKeys(), QString(), skipped);
}

QStringList readLog(QSettings &s)
{
    return s.value("log").toStringList();
}

QString readDayStat(QSettings &s)
{
    return s.value("dayStat").toString();
}

Data readAll(QSettings &s, QVector<Skipped> *skipped)
{
    Data data;
    s.beginGroup("device");
    for (const QString &key : s.childKeys())
        data.device.insert(key, s.value(key));
    s.endGroup();
    data.feederBanks = readFeederBanks(s);
    data.pcb = readPcb(s, &data.panel);
    data.refs = readRefs(s, skipped);
    data.elements = readElements(s, skipped);
    data.dots = readDots(s, skipped);
    data.log = readLog(s);
    data.dayStat = readDayStat(s);
    return data;
}

} // namespace ProjectFile

#include "backend/ProjectFile.h"

#include "backend/FileValues.h"
#include "backend/IniFile.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>
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

QString tr(const char *text)
{
    return QCoreApplication::translate("ProjectFile", text);
}

// Board values with a narrower range than any value of their type: a scale
// is a factor, a panel count a number of boards.
struct Range
{
    const char *key;
    double min;
    double max;
};
constexpr Range boardRanges[] = {
    {"pcbScale", 1e-6, 1000}, {"pcbThickness", 0, 100}, {"pcbMultiCountX", 1, 100}, {"pcbMultiCountY", 1, 100}};

bool inRange(const char *key, double value)
{
    for (const Range &r : boardRanges) {
        if (qstrcmp(r.key, key) == 0)
            return value >= r.min && value <= r.max;
    }
    return true;
}

// A stored value as the type of the default; the default when it is missing.
// False (with the default) when it is present but does not convert, is not
// finite, or is a real beyond maxReal. Defaults without a type (photos) take
// the value as it is.
bool typed(const QVariant &stored, const QVariant &def, QVariant *value)
{
    *value = def;
    if (!stored.isValid())
        return true;
    switch (def.type()) {
    case QVariant::Bool:
        *value = toBool(stored);
        return true;
    case QVariant::Int: {
        int i = 0;
        if (!FileValues::toInt(stored, &i))
            return false;
        *value = i;
        return true;
    }
    case QVariant::Double: {
        double d = 0;
        if (!FileValues::toReal(stored, &d) || std::fabs(d) > maxReal)
            return false;
        *value = d;
        return true;
    }
    case QVariant::String:
        *value = stored.type() == QVariant::Url ? stored.toUrl().toString() : stored.toString();
        return true;
    default:
        if (!FileValues::isFinite(stored))
            return false;
        *value = stored;
        return true;
    }
}

QVariant typed(const QVariant &stored, const QVariant &def)
{
    QVariant value;
    typed(stored, def, &value);
    return value;
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

// Reads the keys of the current group; the keys whose values were refused
// keep their default and are listed in `refused` as key = "value".
QVariantMap readGroup(QSettings &s, const QVector<Key> &keys, QStringList *refusedKeys, QStringList *refused,
                      bool board = false)
{
    QVariantMap values;
    for (const Key &key : keys) {
        const QVariant stored = s.value(QLatin1String(key.name));
        QVariant value;
        bool ok = typed(stored, key.def, &value);
        if (ok && board && stored.isValid() && (key.def.type() == QVariant::Int || key.def.type() == QVariant::Double))
            ok = inRange(key.name, value.toDouble());
        if (!ok) {
            value = key.def;
            refusedKeys->append(QLatin1String(key.name));
            refused->append(QStringLiteral("%1 = \"%2\"").arg(QLatin1String(key.name), FileValues::shown(stored)));
        }
        values.insert(QLatin1String(key.name), value);
    }
    return values;
}

struct ObjectKind
{
    const char *countKey;
    const char *prefix;
    int maxCount;
};

QString objectName(const QString &prefix, int position, const QString &designator)
{
    if (prefix == QLatin1String("element")) {
        return designator.isEmpty() ? tr("Компонент №%1").arg(position + 1)
                                    : tr("Компонент %1 (№%2)").arg(designator).arg(position + 1);
    }
    if (prefix == QLatin1String("ref"))
        return tr("Реперный знак №%1").arg(position + 1);
    return tr("Точка дозирования №%1").arg(position + 1);
}

QString notLoaded(const QString &prefix, int position, const QString &designator, const QStringList &refused)
{
    const QString text = prefix == QLatin1String("dot") ? tr("%1 не загружена: неверное значение %2")
                                                          : tr("%1 не загружен: неверное значение %2");
    return text.arg(objectName(prefix, position, designator), refused.join(QStringLiteral(", ")));
}

// Reads groups prefix + 0..count-1 that are present in the file, at most
// kind.maxCount; groups with a refused value are reported and skipped, and
// so is a count that is not a whole number, above the limit or larger than
// the groups present.
QVector<QVariantMap> readObjects(QSettings &s, const ObjectKind &kind, const QVector<Key> &keys,
                                 const QString &extraKey, QVector<Skipped> *skipped)
{
    QVector<QVariantMap> objects;
    const QString countKey = QLatin1String(kind.countKey);
    const QString prefix = QLatin1String(kind.prefix);
    const QVariant stored = s.value(countKey);
    if (!stored.isValid())
        return objects;
    int count = 0;
    const bool countOk = FileValues::toWholeNumber(stored, &count) && count >= 0;
    const int limit = countOk ? std::min(count, kind.maxCount) : kind.maxCount;
    if (limit == 0)
        return objects;

    // Positions of the groups present, in order; only the plain spelling of
    // a position names its group.
    QVector<int> positions;
    for (const QString &group : s.childGroups()) {
        if (!group.startsWith(prefix))
            continue;
        bool ok = false;
        const int i = group.midRef(prefix.size()).toInt(&ok);
        if (ok && i >= 0 && i < limit && group.size() == prefix.size() + QString::number(i).size())
            positions.append(i);
    }
    std::sort(positions.begin(), positions.end());
    const int present = positions.size();
    for (const int i : positions) {
        const QString group = prefix + QString::number(i);
        s.beginGroup(group);
        QStringList refusedKeys;
        QStringList refused;
        QVariantMap values = readGroup(s, keys, &refusedKeys, &refused);
        if (!extraKey.isEmpty())
            values.insert(extraKey, s.value(extraKey).toString());
        s.endGroup();
        if (!refused.isEmpty()) {
            if (skipped) {
                skipped->append({prefix, i, refusedKeys, values,
                                 notLoaded(prefix, i, values.value("designator").toString(), refused)});
            }
            continue;
        }
        objects.append(values);
    }

    if (!skipped)
        return objects;
    if (!countOk) {
        skipped->append({countKey, -1, {countKey}, {},
                         tr("Файл проекта повреждён: %1 = \"%2\" не является количеством; загружено найденных в "
                            "файле: %3")
                             .arg(countKey, FileValues::shown(stored))
                             .arg(present)});
    } else if (count > kind.maxCount) {
        skipped->append({countKey, -1, {countKey}, {},
                         tr("Файл проекта повреждён: %1 = %2 больше допустимого (%3); загружено найденных в "
                            "файле: %4")
                             .arg(countKey)
                             .arg(count)
                             .arg(kind.maxCount)
                             .arg(present)});
    } else if (present < count) {
        skipped->append({countKey, -1, {countKey}, {},
                         tr("Файл проекта повреждён: указано %1 = %2, но в файле только %3 из них; загружены "
                            "имеющиеся")
                             .arg(countKey)
                             .arg(count)
                             .arg(present)});
    }
    return objects;
}

// Operator name of the object a written key belongs to.
QString writtenObject(QSettings &s, const QString &key)
{
    const QStringList parts = key.split('/');
    const QString group = parts.first();
    if (parts.size() < 2)
        return tr("проект");
    if (group == QLatin1String("Pcb")) {
        if (parts.size() > 2 && parts.at(1).startsWith(QLatin1String("pcb")))
            return tr("позиция панели №%1").arg(parts.at(1).mid(3));
        return tr("плата");
    }
    if (group == QLatin1String("device"))
        return tr("рабочая область");
    for (const char *prefix : {"element", "ref", "dot"}) {
        const QString p = QLatin1String(prefix);
        bool ok = false;
        const int position = group.startsWith(p) ? group.mid(p.size()).toInt(&ok) : -1;
        if (ok) {
            const QString designator = s.value(group + QStringLiteral("/designator")).toString();
            const QString name = objectName(p, position, designator);
            return name.left(1).toLower() + name.mid(1);
        }
    }
    return group;
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
    const QString refused = checkWritten(*writer.settings());
    if (!refused.isEmpty() || !writer.commit()) {
        if (error)
            *error = refused.isEmpty() ? writer.errorString() : refused;
        return false;
    }
    return true;
}

QString checkWritten(QSettings &s)
{
    const QString key = FileValues::firstNonFiniteKey(s);
    if (key.isEmpty())
        return QString();
    return tr("Проект не сохранён: %1, значение %2 = %3 не является конечным числом")
        .arg(writtenObject(s, key), key.section('/', -1), FileValues::shown(s.value(key)));
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

QVariantMap readPcb(QSettings &s, QVector<PanelPosition> *panel, QVector<Skipped> *skipped)
{
    s.beginGroup("Pcb");
    QStringList refusedKeys;
    QStringList refused;
    const QVariantMap pcb = readGroup(s, pcbKeys(), &refusedKeys, &refused, true);
    if (skipped) {
        for (int i = 0; i < refused.size(); ++i) {
            const QString &key = refusedKeys.at(i);
            skipped->append({QStringLiteral("Pcb"), -1, {key}, {},
                             tr("Плата: неверное значение %1, взято %2").arg(refused.at(i), pcb.value(key).toString())});
        }
    }
    if (panel) {
        panel->clear();
        for (int i = 1; i <= maxPanelPositions; ++i) {
            s.beginGroup(QStringLiteral("pcb") + QString::number(i));
            const bool exists = toBool(s.value("exists"));
            if (exists) {
                static const QVector<Key> positionKeys = {{"x", 0.0}, {"y", 0.0}, {"rot", 0.0}};
                QStringList badKeys;
                QStringList bad;
                const QVariantMap p = readGroup(s, positionKeys, &badKeys, &bad);
                if (bad.isEmpty()) {
                    panel->append({p.value("x").toDouble(), p.value("y").toDouble(), p.value("rot").toDouble()});
                } else if (skipped) {
                    skipped->append({QStringLiteral("Pcb"), i, badKeys, p,
                                     tr("Плата: позиция панели №%1 не загружена: неверное значение %2")
                                         .arg(i)
                                         .arg(bad.join(QStringLiteral(", ")))});
                }
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
    return readObjects(s, {"refCount", "ref", maxRefs}, refKeys(), QString(), skipped);
}

QVector<QVariantMap> readElements(QSettings &s, QVector<Skipped> *skipped)
{
    return readObjects(s, {"elementCount", "element", maxElements}, elementKeys(), packagePathKey(), skipped);
}

QVector<QVariantMap> readDots(QSettings &s, QVector<Skipped> *skipped)
{
    return readObjects(s, {"dotCount", "dot", maxDots}, dotKeys(), QString(), skipped);
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
    if (!FileValues::parseAll(s)) {
        if (skipped)
            skipped->append({QStringLiteral("file"), -1, {}, {}, tr("Файл проекта повреждён: его значения не читаются")});
        return data;
    }
    // The work area at saving is not read back by the program: only the
    // values that are numbers are kept.
    s.beginGroup("device");
    for (const QString &key : s.childKeys()) {
        double value = 0;
        if (FileValues::toReal(s.value(key), &value))
            data.device.insert(key, value);
    }
    s.endGroup();
    data.feederBanks = readFeederBanks(s);
    data.pcb = readPcb(s, &data.panel, skipped);
    data.refs = readRefs(s, skipped);
    data.elements = readElements(s, skipped);
    data.dots = readDots(s, skipped);
    data.log = readLog(s);
    data.dayStat = readDayStat(s);
    return data;
}

} // namespace ProjectFile

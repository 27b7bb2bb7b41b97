#include "backend/PackageBase.h"

#include "backend/FileValues.h"
#include "backend/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace PackageBase {

QString nameFromPath(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const int slash = path.lastIndexOf('/');
    int end = path.lastIndexOf('(');
    if (end <= slash)
        end = path.lastIndexOf('.');
    if (end <= slash)
        end = path.size();
    return path.mid(slash + 1, end - slash - 1);
}

static bool matchReal(const QString &text, const QString &letters, double *value)
{
    const QRegularExpression re(letters + QStringLiteral("([0-9]*\\.[0-9]+|[0-9]+)"),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return false;
    *value = m.captured(1).toDouble();
    return true;
}

static bool matchInt(const QString &text, const QString &letters, int *value)
{
    const QRegularExpression re(letters + QStringLiteral("([0-9]*)"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return false;
    *value = m.captured(1).toInt();
    return true;
}

FileNameParams parseFileName(const QString &path)
{
    FileNameParams p;
    const QString fileName = path.mid(path.lastIndexOf('/') + 1);
    const int open = fileName.indexOf('(');
    p.name = open >= 0 ? fileName.left(open) : nameFromPath(fileName);
    if (!fileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) || open < 0)
        return p;
    const int close = fileName.indexOf(')', open);
    if (close < 0)
        return p;
    const QString params = fileName.mid(open + 1, close - open - 1);

    double a = 0, b = 0, h = 0;
    if (!matchReal(params, QStringLiteral("A"), &a) || !matchReal(params, QStringLiteral("B"), &b)
        || !matchReal(params, QStringLiteral("H"), &h))
        return p;
    double d = 0;
    const bool hasD = matchReal(params, QStringLiteral("D"), &d);
    // Digits enough give sizes beyond any package, or an infinity.
    const std::pair<const char *, double> sizes[] = {{"A", a}, {"B", b}, {"H", h}, {"D", hasD ? d : 0}};
    for (const auto &size : sizes) {
        if (!std::isfinite(size.second) || size.second > maxSize) {
            p.problem = QCoreApplication::translate("PackageBase",
                                                    "Корпус %1: неверный размер %2 = %3 в имени файла, "
                                                    "параметры из имени не взяты")
                            .arg(p.name, QLatin1String(size.first), QString::number(size.second));
            return p;
        }
    }
    p.valid = true;
    p.width = a;
    p.height = b;
    p.thickness = h;
    if (hasD && d > 0)
        p.cupDiameter = d;
    int w = 0;
    if (matchInt(params, QStringLiteral("W"), &w) && w >= 1)
        p.bandWidth = w;
    int pitch = 0;
    if (matchInt(params, QStringLiteral("P"), &pitch) && pitch >= 1)
        p.pitch = pitch;
    int acc = 0;
    if (matchInt(params, QStringLiteral("ACC"), &acc) && acc > 0)
        p.maxAcc = acc;
    p.slowPick = params.contains(QLatin1Char('S'));
    return p;
}

QVariantMap toMap(const FileNameParams &params)
{
    QVariantMap map{{"name", params.name}};
    if (!params.valid)
        return map;
    map.insert("width", params.width);
    map.insert("height", params.height);
    map.insert("thickness", params.thickness);
    map.insert("cupDiameter", params.cupDiameter);
    map.insert("bandWidth", params.bandWidth);
    map.insert("pitch", params.pitch);
    map.insert("maxAcc", params.maxAcc);
    map.insert("slowPick", params.slowPick);
    return map;
}

int bandWidthIndexOfMillimetres(int mm)
{
    switch (mm) {
    case 8: return 0;
    case 12: return 1;
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    case 44: return 5;
    default: return -1;
    }
}

int bandStepIndexOfMillimetres(int mm)
{
    switch (mm) {
    case 4: return 1;
    case 8: return 2;
    case 12: return 3;
    case 16: return 4;
    case 20: return 5;
    default: return -1;
    }
}

const QStringList &storedKeys()
{
    static const QStringList keys = {
        "A", "B", "H", "customPickPoint", "aShift", "bShift", "solderPointCount", "bandStep", "bandWidth",
        "cameraCheckSize", "cameraIndiv", "cameraROIPercent", "cameraT1", "cameraT2", "centerInPlace",
        "centerType", "checkPinDistance", "pinDistanceMaxDev", "cupNumber", "dontThrow", "forbidAngle",
        "indivPress", "indivPressEnabled", "maxAcc", "placeDelay", "release2Comps", "slowPick", "slowPlace",
        "vsCheck"};
    return keys;
}

int chooseCup(const QVector<double> &cupDiameters, double target)
{
    int best = -1;
    int smallest = -1;
    for (int i = 0; i < cupDiameters.size(); ++i) {
        const double d = cupDiameters.at(i);
        if (d <= target && (best < 0 || d > cupDiameters.at(best)))
            best = i;
        if (smallest < 0 || d < cupDiameters.at(smallest))
            smallest = i;
    }
    if (best >= 0)
        return best;
    return smallest >= 0 ? smallest : 0;
}

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PackageBase", text);
}

// A stored value converted to the type of its default; the default when the
// key is absent. False (with the default) when it is present but does not
// convert, is not finite or does not fit an int.
bool typed(const QVariant &stored, const QVariant &def, QVariant *value)
{
    *value = def;
    if (!stored.isValid())
        return true;
    switch (def.type()) {
    case QVariant::Bool:
        if (stored.type() == QVariant::String) {
            const QString s = stored.toString().trimmed().toLower();
            if (s == "true" || s == "1")
                *value = true;
            else if (s == "false" || s == "0" || s.isEmpty())
                *value = false;
            else
                return false;
            return true;
        }
        *value = stored.toBool();
        return true;
    case QVariant::Int: {
        int i = 0;
        if (!FileValues::toWholeNumber(stored, &i))
            return false;
        *value = i;
        return true;
    }
    case QVariant::Double: {
        double d = 0;
        if (!FileValues::toReal(stored, &d))
            return false;
        *value = d;
        return true;
    }
    default: {
        QVariant v = stored;
        if (!v.convert(int(def.type())))
            return false;
        *value = v;
        return true;
    }
    }
}

} // namespace

QVariantMap completeRecord(QSettings &ini, const QString &group, const FileNameParams &params,
                           const MachineFacts &facts, bool *changed, QStringList *problems)
{
    if (changed)
        *changed = false;
    ini.beginGroup(group);
    QVariantMap record;
    auto keep = [&](const QString &key, const QVariant &computed) {
        if (ini.contains(key)) {
            const QVariant stored = ini.value(key);
            QVariant value;
            if (!typed(stored, computed, &value) && problems) {
                problems->append(tr("Корпус %1: неверное значение %2 = \"%3\" в packageBase.ini, взято %4")
                                     .arg(group, key, FileValues::shown(stored), value.toString()));
            }
            record.insert(key, value);
        } else {
            ini.setValue(key, computed);
            record.insert(key, computed);
            if (changed)
                *changed = true;
        }
    };
    auto size = [&](const QString &key, double fromName) {
        const double computed = fromName > 0 ? fromName : 1.0;
        keep(key, computed);
        const double value = record.value(key).toDouble();
        if (value > maxSize) {
            if (problems) {
                problems->append(tr("Корпус %1: неверное значение %2 = \"%3\" в packageBase.ini, взято %4")
                                     .arg(group, key, FileValues::shown(ini.value(key)), QString::number(computed)));
            }
            record.insert(key, computed);
        } else if (value <= 0) {
            record.insert(key, 1.0);
        }
    };
    size("A", params.valid ? params.width : 0);
    size("B", params.valid ? params.height : 0);
    size("H", params.valid ? params.thickness : 0);
    const double a = record.value("A").toDouble();
    const double b = record.value("B").toDouble();

    keep("customPickPoint", false);
    keep("aShift", 0.0);
    keep("bShift", 0.0);
    keep("solderPointCount", 2);

    const double target = params.cupDiameter > 0 ? params.cupDiameter : 0.6 * std::min(a, b);
    keep("cupNumber", chooseCup(facts.cupDiameters, target));

    double maxAcc = 100;
    if (params.maxAcc > 0 && facts.maxAccXYZ > 0)
        maxAcc = std::min(100.0, params.maxAcc / facts.maxAccXYZ * 100.0);
    keep("maxAcc", maxAcc);

    int bandWidth = bandWidthIndexOfMillimetres(params.bandWidth);
    if (bandWidth < 0)
        bandWidth = b <= 3.3 ? 0 : b < 7 ? 1 : b < 11 ? 2 : b < 18 ? 3 : 4;
    keep("bandWidth", bandWidth);

    int bandStep = bandStepIndexOfMillimetres(params.pitch);
    if (bandStep < 0)
        bandStep = a <= 0.5 ? 0 : a < 3.4 ? 1 : a < 7.4 ? 2 : a < 10.2 ? 3 : a < 14.2 ? 4 : 5;
    keep("bandStep", bandStep);

    keep("slowPick", params.slowPick);
    keep("centerInPlace", false);
    keep("centerType", 0);
    keep("checkPinDistance", false);
    keep("pinDistanceMaxDev", 15);
    keep("cameraIndiv", false);
    keep("cameraROIPercent", 100);
    keep("cameraT1", facts.cameraT1);
    keep("cameraT2", facts.cameraT2);
    keep("cameraCheckSize", facts.cameraCheckSize);
    keep("forbidAngle", false);
    keep("dontThrow", false);
    keep("slowPlace", false);
    keep("placeDelay", 0);
    keep("indivPressEnabled", false);
    keep("indivPress", 1.0);
    keep("vsCheck", true);
    keep("release2Comps", false);
    ini.endGroup();
    return record;
}

QFileInfoList folderEntries(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return {};
    dir.setNameFilters({"*.png", "*.bmp", "*.jpg"});
    dir.setFilter(QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    dir.setSorting(QDir::Name | QDir::DirsLast);
    return dir.entryInfoList();
}

void search(const QFileInfoList &entries, QHash<QString, int> &knownLower, SearchResult &result)
{
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink())
            continue;
        if (entry.isDir()) {
            search(folderEntries(entry.absoluteFilePath()), knownLower, result);
            continue;
        }
        const QString path = entry.absoluteFilePath();
        const QString name = nameFromPath(path);
        const QString lower = name.toLower();
        if (knownLower.contains(lower)) {
            result.duplicates.append(name);
            continue;
        }
        knownLower.insert(lower, knownLower.size());
        result.names.append(name);
        result.files.append(path);
    }
}

bool writeRecords(const QString &iniPath, const QVariantList &records, QString *error)
{
    IniFileWriter writer(iniPath);
    QSettings *out = writer.settings();
    // Groups of packages that are not in the list (a folder not mounted, a
    // picture renamed) are kept as they are; a file that cannot be read is
    // therefore not replaced.
    if (!IniFile::copyKeys(iniPath, *out)) {
        if (error)
            *error = IniFile::unreadableText();
        return false;
    }
    for (const QVariant &r : records) {
        const QVariantMap record = r.toMap();
        const QString name = record.value("name").toString();
        if (name.isEmpty())
            continue;
        out->beginGroup(name.toLower());
        for (const QString &key : storedKeys()) {
            if (record.contains(key))
                out->setValue(key, record.value(key));
        }
        out->endGroup();
    }
    const QString refused = checkWritten(*out);
    if (!refused.isEmpty()) {
        if (error)
            *error = refused;
        return false;
    }
    if (!writer.commit()) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return true;
}

QString checkWritten(QSettings &ini)
{
    const QString key = FileValues::firstNonFiniteKey(ini);
    if (key.isEmpty())
        return QString();
    return tr("База корпусов не записана: корпус %1, значение %2 = %3 не является конечным числом")
        .arg(key.section('/', 0, 0), key.section('/', -1), FileValues::shown(ini.value(key)));
}

} // namespace PackageBase

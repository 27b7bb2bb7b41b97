#include "backend/FeederFile.h"

#include "backend/FileValues.h"
#include "backend/IniFile.h"
#include "backend/PackageBase.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QSettings>

namespace FeederFile {

QString bankOfPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("leftFeeders"))
        return QStringLiteral("L");
    if (suffix == QLatin1String("rightFeeders"))
        return QStringLiteral("R");
    if (suffix == QLatin1String("bottomFeeders"))
        return QStringLiteral("B");
    if (suffix == QLatin1String("upFeeders"))
        return QStringLiteral("U");
    return QString();
}

QString extensionOfBank(const QString &bank)
{
    if (bank == QLatin1String("L"))
        return QStringLiteral("leftFeeders");
    if (bank == QLatin1String("R"))
        return QStringLiteral("rightFeeders");
    if (bank == QLatin1String("B"))
        return QStringLiteral("bottomFeeders");
    if (bank == QLatin1String("U"))
        return QStringLiteral("upFeeders");
    return QString();
}

QVariantMap fieldTypeNames()
{
    QVariantMap names;
    for (const Field &field : fields()) {
        switch (field.type) {
        case FieldType::Int: names.insert(field.name, QStringLiteral("int")); break;
        case FieldType::Real: names.insert(field.name, QStringLiteral("real")); break;
        case FieldType::Bool: names.insert(field.name, QStringLiteral("bool")); break;
        case FieldType::String: names.insert(field.name, QStringLiteral("string")); break;
        case FieldType::Image: names.insert(field.name, QStringLiteral("image")); break;
        }
    }
    return names;
}

QString packagePathKey()
{
    return QStringLiteral("elementPath");
}

const QVector<Field> &fields()
{
    using T = FieldType;
    static const QVector<Field> list = {
        {"cupNumber", T::Int}, {"partNumber", T::String}, {"comment", T::String}, {"bandWidth", T::Int},
        {"type", T::Int}, {"gCode", T::String}, {"pack", T::String}, {"rot", T::Real}, {"maxAcc", T::Int},
        {"customPlaceGCodeEnabled", T::Bool}, {"customPlaceGCode", T::String}, {"caseX", T::Real},
        {"caseY", T::Real}, {"caseZ", T::Real}, {"cutX2", T::Real}, {"cutY2", T::Real},
        {"cutDistance", T::Real}, {"caseRowsX", T::Int}, {"caseRowsY", T::Int}, {"caseCurrNumber", T::Int},
        {"caseStopEnabled", T::Bool}, {"centering", T::Int}, {"shiftEnabled", T::Bool},
        {"centeringZ", T::Real}, {"centeringCount", T::Real}, {"centerInPlace", T::Bool},
        {"centerType", T::Int}, {"checkPinDistance", T::Bool}, {"pinDistanceMaxDev", T::Int},
        {"cameraIndiv", T::Bool}, {"cameraROIPercent", T::Int}, {"cameraT1", T::Int}, {"cameraT2", T::Int},
        {"cameraCheckSize", T::Int}, {"forbidAngle", T::Bool}, {"camera2Photo", T::Image},
        {"camera2MatchPercent", T::Int}, {"dontThrow", T::Bool}, {"forceProgramStopOnFeederError", T::Bool},
        {"unqueued", T::Bool}, {"releaseEl", T::Bool}, {"setCount", T::Int}, {"basketCount", T::Int},
        {"inTape", T::Int}, {"inTapeStop", T::Int}, {"inTapeNow", T::Int}, {"tapeEnabled", T::Bool},
        {"elPhoto", T::Image}, {"placerX", T::String}, {"placerY", T::String}, {"templMatch", T::Real},
        {"camera1Roi", T::Int}, {"camera1T1", T::Int}, {"camera1T2", T::Int}, {"camera1Inv", T::Bool},
        {"placerLessPhotos", T::Bool}, {"placerType", T::Int}, {"placerTemplateType", T::Int},
        {"placerTemplateHighRes", T::Int}, {"camera1Exposure", T::Int}, {"debugCounter", T::Int},
        {"elFlippedEnabled", T::Bool}, {"elFlippedPhoto", T::Image}, {"elFlippedMatchPercent", T::Int},
        {"elFlippedGCode", T::String}, {"elFlippedRemoveGCode", T::String}, {"elFlippedAction", T::Int},
        {"bankNumber", T::Int}, {"bandStep", T::Int}, {"dotSize", T::Real}, {"slowPick", T::Bool},
        {"slowPlace", T::Bool}, {"placeDelay", T::Int}, {"indivPressEnabled", T::Bool},
        {"indivPress", T::Real}, {"pickRetryCount", T::Int}, {"rlcEnabled", T::Bool},
        {"rlcPercent1", T::Int}, {"rlcPercent2", T::Int}, {"rlcRotation", T::Int}, {"rlcValue", T::Real},
        {"rlcType", T::Int}, {"rlcUnit", T::Int}, {"programmerEnabled", T::Bool}, {"vsCheck", T::Bool},
        {"release2Comps", T::Bool}, {"release2CompsDone", T::Bool}, {"bandSemiStep", T::Int},
        {"placerManualStep", T::Bool}, {"placerManualStepX", T::Real}, {"placerManualStepY", T::Real},
        {"dropType", T::Int}};
    return list;
}

QString imageToText(const QVariant &stored)
{
    if (stored.type() != QVariant::Image)
        return stored.toString();
    const QImage image = stored.value<QImage>();
    if (image.isNull())
        return QString();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

QVariant textToImage(const QVariant &value)
{
    const QString text = value.toString();
    const int comma = text.indexOf(',');
    if (value.type() != QVariant::String || !text.startsWith(QLatin1String("data:image/")) || comma < 0
        || !text.left(comma).endsWith(QLatin1String(";base64")))
        return value;
    QImage image;
    if (!image.loadFromData(QByteArray::fromBase64(text.mid(comma + 1).toLatin1())))
        return value;
    return image;
}

namespace {

bool present(const QVariant &v)
{
    return v.isValid() && !(v.type() == QVariant::String && v.toString().isEmpty());
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
    return QCoreApplication::translate("FeederFile", text);
}

QString feederName(const QString &bank, int number)
{
    QString side;
    if (bank == QLatin1String("L"))
        side = tr("слева");
    else if (bank == QLatin1String("R"))
        side = tr("справа");
    else if (bank == QLatin1String("U"))
        side = tr("сверху");
    else
        side = tr("снизу");
    return tr("Питатель №%1 (%2)").arg(number).arg(side);
}

// The default of a field whose key is missing.
QVariant missing(const Field &field, int globalExposure)
{
    if (field.name == QLatin1String("maxAcc"))
        return 100;
    if (field.name == QLatin1String("pickRetryCount"))
        return 1;
    if (field.name == QLatin1String("camera1Exposure"))
        return globalExposure;
    switch (field.type) {
    case FieldType::Int:
        return 0;
    case FieldType::Real:
        return 0.0;
    case FieldType::Bool:
        return false;
    case FieldType::String:
    case FieldType::Image:
        return QString();
    }
    return QVariant();
}

// A field's value; false (with the default of a missing key) when the stored
// value is present but does not fit the field's type.
bool readField(QSettings &s, const Field &field, int globalExposure, QVariant *value)
{
    const QVariant stored = s.value(field.name);
    *value = missing(field, globalExposure);
    if (!present(stored))
        return true;
    if (field.name == QLatin1String("camera1Exposure")) {
        // Not a number ("auto"): the global exposure.
        bool ok = false;
        const int exposure = stored.toString().toInt(&ok);
        if (ok)
            *value = exposure;
        return true;
    }
    switch (field.type) {
    case FieldType::Int: {
        int i = 0;
        if (!FileValues::toInt(stored, &i))
            return false;
        *value = i;
        return true;
    }
    case FieldType::Real: {
        double d = 0;
        if (!FileValues::toReal(stored, &d))
            return false;
        *value = d;
        return true;
    }
    case FieldType::Bool:
        *value = toBool(stored);
        return true;
    case FieldType::String:
        *value = stored.toString();
        return true;
    case FieldType::Image:
        *value = imageToText(stored);
        return true;
    }
    return true;
}

} // namespace

ReadResult read(const QString &path, int globalExposure)
{
    ReadResult result;
    const QFileInfo info(path);
    if (!info.isFile()) {
        result.status = ReadResult::NotFound;
        return result;
    }
    result.bank = bankOfPath(path);
    if (result.bank.isEmpty()) {
        result.status = ReadResult::BadExtension;
        return result;
    }
    if (!info.isReadable()) {
        result.status = ReadResult::ReadError;
        return result;
    }
    QSettings s(path, QSettings::IniFormat);
    if (!FileValues::parseAll(s)) {
        result.status = ReadResult::ReadError;
        return result;
    }
    const QVariant countValue = s.value("count", 0);
    int count = 0;
    const bool countOk = FileValues::toWholeNumber(countValue, &count);
    if (s.status() != QSettings::NoError) {
        result.status = ReadResult::ReadError;
        return result;
    }
    if (!countOk || count < 0 || count > maxCount) {
        result.status = ReadResult::BadCount;
        result.count = countOk ? count : -1;
        return result;
    }
    result.count = count;
    QString lastPack;
    for (int i = 1; i <= count; ++i) {
        s.beginGroup(QStringLiteral("feeder") + result.bank + QString::number(i));
        if (!toBool(s.value("exists"))) {
            s.endGroup();
            break;
        }
        QVariantMap feeder;
        for (const Field &field : fields()) {
            QVariant value;
            if (!readField(s, field, globalExposure, &value)) {
                result.problems.append(tr("%1: неверное значение %2 = \"%3\", взято %4")
                                           .arg(feederName(result.bank, i), field.name,
                                                FileValues::shown(s.value(field.name)), value.toString()));
            }
            feeder.insert(field.name, value);
        }
        if (s.contains("centerPins") && toBool(s.value("centerPins")))
            feeder.insert("centerType", 2);
        if (s.contains("centerCorners") && toBool(s.value("centerCorners")))
            feeder.insert("centerType", 3);
        if (feeder.value("pack").toString().isEmpty()) {
            const QString picture = s.value(packagePathKey()).toString();
            feeder.insert("pack", PackageBase::nameFromPath(picture));
        }
        s.endGroup();
        result.feeders.append(feeder);
    }
    return result;
}

bool write(const QString &path, int count, const QVector<QVariantMap> &feeders, QString *error)
{
    const QString bank = bankOfPath(path);
    if (bank.isEmpty()) {
        if (error)
            *error = QStringLiteral("unknown extension");
        return false;
    }
    IniFileWriter writer(path);
    QSettings *s = writer.settings();
    if (!s) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    s->setValue("count", count);
    for (int i = 0; i < feeders.size(); ++i) {
        const QVariantMap &feeder = feeders.at(i);
        s->beginGroup(QStringLiteral("feeder") + bank + QString::number(i + 1));
        s->setValue("exists", true);
        for (const Field &field : fields()) {
            const QVariant value = feeder.value(field.name);
            s->setValue(field.name, field.type == FieldType::Image ? textToImage(value) : value);
        }
        s->endGroup();
    }
    const QString nonFinite = FileValues::firstNonFiniteKey(*s);
    if (!nonFinite.isEmpty()) {
        if (error) {
            const int number = nonFinite.section('/', 0, 0).mid(int(qstrlen("feeder")) + bank.size()).toInt();
            const QString name = feederName(bank, number);
            *error = tr("Файл питателей не записан: %1, значение %2 = %3 не является конечным числом")
                         .arg(name.left(1).toLower() + name.mid(1), nonFinite.section('/', -1),
                              FileValues::shown(s->value(nonFinite)));
        }
        return false;
    }
    if (!writer.commit()) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return true;
}

bool isCounterKey(const QString &key)
{
    return key.endsWith(QLatin1String("setCount")) || key.endsWith(QLatin1String("basketCount"))
        || key.endsWith(QLatin1String("release2CompsDone")) || key.endsWith(QLatin1String("debugCounter"));
}

} // namespace FeederFile

#include "backend/FeederFile.h"

#include "backend/IniFile.h"
#include "backend/PackageBase.h"

#include <QBuffer>
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

QVariant readField(QSettings &s, const Field &field, int globalExposure)
{
    const QVariant stored = s.value(field.name);
    const bool has = present(stored);
    if (field.name == QLatin1String("maxAcc") && !has)
        return 100;
    if (field.name == QLatin1String("pickRetryCount") && !has)
        return 1;
    if (field.name == QLatin1String("camera1Exposure")) {
        bool ok = false;
        const int value = stored.toString().toInt(&ok);
        return ok ? value : globalExposure;
    }
    switch (field.type) {
    case FieldType::Int: {
        bool ok = false;
        const int i = stored.toInt(&ok);
        if (ok)
            return i;
        return int(stored.toDouble());
    }
    case FieldType::Real: {
        const double d = stored.toDouble();
        return qIsFinite(d) ? d : 0.0;
    }
    case FieldType::Bool:
        return has && toBool(stored);
    case FieldType::String:
        return has ? stored.toString() : QString();
    case FieldType::Image:
        return has ? imageToText(stored) : QString();
    }
    return QVariant();
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
    const QVariant countValue = s.value("count", 0);
    bool countOk = false;
    const int count = countValue.toInt(&countOk);
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
        for (const Field &field : fields())
            feeder.insert(field.name, readField(s, field, globalExposure));
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

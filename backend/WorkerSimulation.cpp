// Worker: the world the simulated head camera sees (the open project's
// boards, marks and dots, the calibration marks) and the feeders whose parts
// the simulated nozzle picks, set by the main window.
#include "backend/Worker.h"

#include "vision/MatImage.h"
#include "vision/SimulatedScene.h"
#include "vision/SimulatedWorld.h"

#include <QBuffer>
#include <QDebug>
#include <QJSValue>

#include <cmath>

namespace {

QVariant plain(const QVariant &v)
{
    return v.userType() == qMetaTypeId<QJSValue>() ? v.value<QJSValue>().toVariant() : v;
}

} // namespace

void Worker::simWorldGet(QVariant world)
{
    world = plain(world);
    SimulatedWorld w;
    QString error;
    if (!SimulatedWorld::fromVariant(world.toMap(), &w, &error)) {
        SimulatedWorld::clearCurrent();
        qDebug() << "Simulated world refused:" << error;
        emit showError(tr("Имитатор камеры не смог показать плату проекта: описание платы неверно."), true,
                       QStringLiteral("warning"));
        return;
    }
    SimulatedWorld::setCurrent(w);
}

void Worker::simWorldSetBoardDisplacement(double dx, double dy, double angle)
{
    SimulatedWorld::Displacement d;
    d.dx = std::isfinite(dx) ? dx : 0;
    d.dy = std::isfinite(dy) ? dy : 0;
    d.angle = std::isfinite(angle) ? angle : 0;
    SimulatedWorld::setDisplacement(d);
}

QVariantMap Worker::simWorld() const
{
    return SimulatedWorld::current().toVariant();
}

QVariantMap Worker::simWorldBoardDisplacement() const
{
    const SimulatedWorld::Displacement d = SimulatedWorld::displacement();
    return QVariantMap{{QStringLiteral("dx"), d.dx}, {QStringLiteral("dy"), d.dy}, {QStringLiteral("angle"), d.angle}};
}

QVariantList Worker::simWorldReleases() const
{
    return SimulatedWorld::releases();
}

bool Worker::simWorldHoldsPart() const
{
    return SimulatedWorld::holdsPart();
}

void Worker::simWorldResetParts()
{
    SimulatedWorld::resetParts();
}

bool Worker::simWorldSetTapeOffset(const QString &bank, int index, double dx, double dy)
{
    return SimulatedWorld::setTapeOffset(bank, index, dx, dy);
}

void Worker::simWorldClearTapeOffsets()
{
    SimulatedWorld::clearTapeOffsets();
}

bool Worker::simWorldSetPickError(QString bank, int index, double dx, double dy, double turn, QVariant missPattern)
{
    SimulatedWorld::PickError e;
    e.dx = dx;
    e.dy = dy;
    e.turn = turn;
    QString error;
    if (!SimulatedWorld::Pattern::fromVariant(plain(missPattern), &e.miss, &error)) {
        qWarning() << "Simulated pick error refused:" << error;
        return false;
    }
    if (!SimulatedWorld::setPickError(bank, index, e)) {
        qWarning() << "Simulated pick error refused for feeder" << bank << index;
        return false;
    }
    return true;
}

bool Worker::simWorldSetRlcError(QString bank, int index, double factor, QVariant partsPattern)
{
    SimulatedWorld::RlcError e;
    e.factor = factor;
    QString error;
    if (!SimulatedWorld::Pattern::fromVariant(plain(partsPattern), &e.parts, &error)) {
        qWarning() << "Simulated RLC error refused:" << error;
        return false;
    }
    if (!SimulatedWorld::setRlcError(bank, index, e)) {
        qWarning() << "Simulated RLC error refused for feeder" << bank << index << "factor" << factor;
        return false;
    }
    return true;
}

bool Worker::simWorldSetLooseParts(QString bank, int index, QVariant parts)
{
    QVector<SimulatedWorld::LoosePart> list;
    QString error;
    if (!SimulatedWorld::loosePartsFromVariant(plain(parts), &list, &error) ||
        !SimulatedWorld::setLooseParts(bank, index, list)) {
        qWarning() << "Simulated loose parts refused for feeder" << bank << index << error;
        return false;
    }
    return true;
}

void Worker::simWorldClearErrors()
{
    SimulatedWorld::clearFaults();
}

QString Worker::simWorldPartPhoto(double width, double height, bool flipped)
{
    const cv::Mat photo = SimulatedWorld::partPhoto(width, height, flipped, SimulatedScene::kPixelsPerMm);
    if (photo.empty()) {
        qWarning() << "No photo of a simulated part of" << width << "x" << height << "mm";
        return QString();
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    MatImage::toRgbImage(photo).save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

namespace {

bool finiteNumber(const QVariant &v, double *out)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    *out = d;
    return true;
}

} // namespace

bool Worker::simWorldSetTableObject(QVariantMap object)
{
    SimulatedWorld::TableObject o;
    if (object.isEmpty()) {
        SimulatedWorld::setTableObject(o);
        return true;
    }
    o.round = object.value(QStringLiteral("round")).toBool();
    double x = 0, y = 0;
    if (!finiteNumber(object.value(QStringLiteral("x")), &x) || !finiteNumber(object.value(QStringLiteral("y")), &y) ||
        !finiteNumber(object.value(QStringLiteral("angle"), 0), &o.angle) ||
        !finiteNumber(object.value(QStringLiteral("width")), &o.width) ||
        !finiteNumber(object.value(QStringLiteral("height"), object.value(QStringLiteral("width"))), &o.height) ||
        !finiteNumber(object.value(QStringLiteral("thickness"), 1), &o.thickness) ||
        !finiteNumber(object.value(QStringLiteral("pickZ")), &o.pickZ) || o.width <= 0 || o.height <= 0)
        return false;
    o.centre = QPointF(x, y);
    o.present = true;
    SimulatedWorld::setTableObject(o);
    return true;
}

QVariantMap Worker::simWorldTableObject() const
{
    const SimulatedWorld::TableObject o = SimulatedWorld::tableObjectNow();
    return QVariantMap{{QStringLiteral("present"), o.present}, {QStringLiteral("round"), o.round},
                       {QStringLiteral("x"), o.centre.x()},    {QStringLiteral("y"), o.centre.y()},
                       {QStringLiteral("angle"), o.angle},     {QStringLiteral("width"), o.width},
                       {QStringLiteral("height"), o.height},   {QStringLiteral("thickness"), o.thickness},
                       {QStringLiteral("pickZ"), o.pickZ}};
}

bool Worker::simWorldSetCameraFaults(QVariantMap faults)
{
    SimulatedWorld::CameraFaults f;
    double dx = 0, dy = 0, x = 0, y = 0;
    if (!finiteNumber(faults.value(QStringLiteral("headDx"), 0), &dx) ||
        !finiteNumber(faults.value(QStringLiteral("headDy"), 0), &dy))
        return false;
    f.headError = QPointF(dx, dy);
    if (faults.contains(QStringLiteral("componentX")) || faults.contains(QStringLiteral("componentY"))) {
        if (!finiteNumber(faults.value(QStringLiteral("componentX")), &x) ||
            !finiteNumber(faults.value(QStringLiteral("componentY")), &y))
            return false;
        f.componentFixed = true;
        f.component = QPointF(x, y);
    }
    SimulatedWorld::setCameraFaults(f);
    return true;
}

bool Worker::simWorldRemovePlacedPart(int index)
{
    return SimulatedWorld::removePlacedPart(index);
}

bool Worker::simWorldMovePlacedPart(int index, double dx, double dy, double angle)
{
    return SimulatedWorld::movePlacedPart(index, dx, dy, angle);
}

bool Worker::simWorldAddPlacedPart(double x, double y, double angle, double width, double height)
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(angle) || !(width > 0) || !(height > 0) ||
        !std::isfinite(width) || !std::isfinite(height))
        return false;
    SimulatedWorld::addPlacedPart({QPointF(x, y), angle, width, height});
    return true;
}

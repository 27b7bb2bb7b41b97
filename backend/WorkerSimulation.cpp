// Worker: the world the simulated head camera sees (the open project's
// boards, marks and dots, the calibration marks) and the feeders whose parts
// the simulated nozzle picks, set by the main window.
#include "backend/Worker.h"

#include "vision/SimulatedWorld.h"

#include <QDebug>
#include <QJSValue>

#include <cmath>

void Worker::simWorldGet(QVariant world)
{
    if (world.userType() == qMetaTypeId<QJSValue>())
        world = world.value<QJSValue>().toVariant();
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

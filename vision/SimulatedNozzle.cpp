#include "vision/SimulatedNozzle.h"

#include <cmath>

namespace {

QPointF turned(const QPointF &v, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    return QPointF(v.x() * c - v.y() * s, v.x() * s + v.y() * c);
}

// Whether `point` lies on a part of w x h centred at `centre`, turned by
// `angle` degrees.
bool onPart(const QPointF &point, const QPointF &centre, double w, double h, double angle)
{
    const QPointF local = turned(point - centre, -angle);
    return std::fabs(local.x()) <= w / 2 && std::fabs(local.y()) <= h / 2;
}

} // namespace

QVariantMap SimulatedNozzle::Release::toVariant() const
{
    return QVariantMap{{QStringLiteral("bank"), part.bank},
                       {QStringLiteral("feeder"), part.feeder},
                       {QStringLiteral("pocket"), part.pocket},
                       {QStringLiteral("width"), part.width},
                       {QStringLiteral("height"), part.height},
                       {QStringLiteral("thickness"), part.thickness},
                       {QStringLiteral("x"), nozzle.x()},
                       {QStringLiteral("y"), nozzle.y()},
                       {QStringLiteral("a"), a},
                       {QStringLiteral("partX"), centre.x()},
                       {QStringLiteral("partY"), centre.y()},
                       {QStringLiteral("partAngle"), angle},
                       {QStringLiteral("onBoard"), onBoard}};
}

SimulatedNozzle::Event SimulatedNozzle::follow(SimulatedWorld &world, const SimulatedWorld::Displacement &d,
                                               const SimulatedStage::Position &position, bool valve)
{
    m_valve = valve;
    const QPointF nozzle(position.x, position.y);
    if (!valve) {
        if (!m_holds)
            return Event::None;
        Release r;
        r.part = m_held;
        r.nozzle = nozzle;
        r.a = position.a;
        r.centre = nozzle + heldOffset(position.a);
        r.angle = heldAngle(position.a);
        r.onBoard = world.onBoard(r.centre, d);
        if (r.onBoard)
            world.placedParts.append({r.centre, r.angle, m_held.width, m_held.height});
        m_releases.append(r);
        m_holds = false;
        m_held = Part();
        return Event::Released;
    }
    if (m_holds)
        return Event::None;
    for (SimulatedWorld::Feeder &f : world.feeders) {
        if (!(position.z <= f.pickZ + kPickToleranceMm))
            continue;
        for (int i = 0; i < f.pockets.size(); ++i) {
            const QPointF &centre = f.pockets.at(i);
            if (!f.hasPart(i) || !onPart(nozzle, centre, f.width, f.height, f.angle))
                continue;
            if (!f.refills) {
                f.taken.resize(f.pockets.size());
                f.taken[i] = true;
            }
            m_held.bank = f.bank;
            m_held.feeder = f.index;
            m_held.pocket = i;
            m_held.width = f.width;
            m_held.height = f.height;
            m_held.thickness = f.thickness;
            // A positive A turns the nozzle clockwise seen from above, as
            // the program's angles run (a board turned counter-clockwise by
            // the marks is met with a negative A).
            m_offset0 = turned(centre - nozzle, position.a);
            m_angle0 = f.angle + position.a;
            m_holds = true;
            return Event::Picked;
        }
    }
    return Event::None;
}

QPointF SimulatedNozzle::heldOffset(double a) const
{
    return turned(m_offset0, -a);
}

double SimulatedNozzle::heldAngle(double a) const
{
    return m_angle0 - a;
}

void SimulatedNozzle::clear()
{
    *this = SimulatedNozzle();
}

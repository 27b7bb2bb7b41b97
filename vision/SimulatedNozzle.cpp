#include "vision/SimulatedNozzle.h"

#include <QLineF>

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
                       {QStringLiteral("loose"), part.loose},
                       {QStringLiteral("width"), part.width},
                       {QStringLiteral("height"), part.height},
                       {QStringLiteral("thickness"), part.thickness},
                       {QStringLiteral("x"), nozzle.x()},
                       {QStringLiteral("y"), nozzle.y()},
                       {QStringLiteral("z"), z},
                       {QStringLiteral("a"), a},
                       {QStringLiteral("partX"), centre.x()},
                       {QStringLiteral("partY"), centre.y()},
                       {QStringLiteral("partAngle"), angle},
                       {QStringLiteral("onBoard"), onBoard},
                       {QStringLiteral("flipped"), flipped},
                       {QStringLiteral("onPlacer"), !placerBank.isEmpty()},
                       {QStringLiteral("placerBank"), placerBank},
                       {QStringLiteral("placerFeeder"), placerFeeder},
                       {QStringLiteral("tableObject"), part.tableObject}};
}

SimulatedNozzle::Event SimulatedNozzle::follow(SimulatedWorld &world, const SimulatedWorld::Displacement &d,
                                               const SimulatedStage::Position &position, bool valve)
{
    m_valve = valve;
    const QPointF nozzle(position.x, position.y);
    if (!valve) {
        m_missed = false;
        if (!m_holds)
            return Event::None;
        Release r;
        r.part = m_held;
        r.nozzle = nozzle;
        r.z = position.z;
        r.a = position.a;
        r.centre = nozzle + heldOffset(position.a);
        r.angle = heldAngle(position.a);
        r.flipped = m_held.flipped;
        r.onBoard = !m_held.tableObject && world.onBoard(r.centre, d);
        if (m_held.tableObject) {
            SimulatedWorld::TableObject &o = world.tableObject;
            o.present = true;
            o.centre = r.centre;
            o.angle = r.angle;
        } else if (r.onBoard) {
            world.placedParts.append({r.centre, r.angle, m_held.width, m_held.height});
        } else {
            for (SimulatedWorld::Feeder &f : world.feeders) {
                if (!f.loose || !f.onPlacer(r.centre))
                    continue;
                // A part let go from high enough turns over as it falls.
                if (position.z - f.pickZ >= SimulatedWorld::kFlipDropHeightMm)
                    r.flipped = !r.flipped;
                SimulatedWorld::LoosePart lying;
                lying.centre = r.centre;
                lying.angle = r.angle;
                lying.flipped = r.flipped;
                lying.width = m_held.width;
                lying.height = m_held.height;
                f.parts.append(lying);
                r.placerBank = f.bank;
                r.placerFeeder = f.index;
                break;
            }
        }
        m_releases.append(r);
        m_holds = false;
        m_held = Part();
        return Event::Released;
    }
    if (m_holds || m_missed)
        return Event::None;
    return pick(world, position);
}

SimulatedNozzle::Event SimulatedNozzle::pick(SimulatedWorld &world, const SimulatedStage::Position &position)
{
    const QPointF nozzle(position.x, position.y);
    SimulatedWorld::TableObject &o = world.tableObject;
    if (o.present && position.z <= o.pickZ + kPickToleranceMm &&
        (o.round ? QLineF(nozzle, o.centre).length() <= o.width / 2
                 : onPart(nozzle, o.centre, o.width, o.height, o.angle))) {
        o.present = false;
        m_held = Part();
        m_held.width = o.width;
        m_held.height = o.round ? o.width : o.height;
        m_held.thickness = o.thickness;
        m_held.tableObject = true;
        m_held.round = o.round;
        m_offset0 = turned(o.centre - nozzle, position.a);
        m_angle0 = o.angle + position.a;
        m_holds = true;
        return Event::Picked;
    }
    for (SimulatedWorld::Feeder &f : world.feeders) {
        if (!(position.z <= f.pickZ + kPickToleranceMm))
            continue;
        if (f.loose) {
            for (int i = 0; i < f.parts.size(); ++i) {
                const SimulatedWorld::LoosePart part = f.parts.at(i);
                if (!onPart(nozzle, part.centre, part.width, part.height, part.angle))
                    continue;
                if (f.pickError.miss.hits(f.attempts++)) {
                    m_missed = true;
                    return Event::None;
                }
                f.parts.remove(i);
                take(f, part.centre, part.angle, part.flipped, position);
                m_held.loose = true;
                m_held.width = part.width;
                m_held.height = part.height;
                return Event::Picked;
            }
            continue;
        }
        for (int i = 0; i < f.pockets.size(); ++i) {
            const QPointF &centre = f.pockets.at(i);
            if (!f.hasPart(i) || !onPart(nozzle, centre, f.width, f.height, f.angle))
                continue;
            if (f.pickError.miss.hits(f.attempts++)) {
                m_missed = true;
                return Event::None;
            }
            if (!f.refills) {
                f.taken.resize(f.pockets.size());
                f.taken[i] = true;
            }
            take(f, centre, f.angle, false, position);
            m_held.pocket = i;
            return Event::Picked;
        }
    }
    return Event::None;
}

void SimulatedNozzle::take(SimulatedWorld::Feeder &f, const QPointF &centre, double angle, bool flipped,
                           const SimulatedStage::Position &position)
{
    m_held = Part();
    m_held.bank = f.bank;
    m_held.feeder = f.index;
    m_held.width = f.width;
    m_held.height = f.height;
    m_held.thickness = f.thickness;
    m_held.flipped = flipped;
    const int n = f.partsTaken++;
    if (f.rlcMode) {
        m_held.rlcMode = f.rlcMode;
        m_held.rlcValue = f.rlcValue * (f.rlcError.parts.hits(n) ? f.rlcError.factor : 1.0);
    }
    // A positive A turns the nozzle clockwise seen from above, as the
    // program's angles run (a board turned counter-clockwise by the marks is
    // met with a negative A). The pick error moves and turns the part further
    // in machine axes as they are at the pick.
    const QPointF nozzle(position.x, position.y);
    m_offset0 = turned(centre - nozzle + QPointF(f.pickError.dx, f.pickError.dy), position.a);
    m_angle0 = angle + f.pickError.turn + position.a;
    m_holds = true;
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

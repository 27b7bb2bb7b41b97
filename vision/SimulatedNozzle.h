#pragma once

#include "vision/SimulatedStage.h"
#include "vision/SimulatedWorld.h"

#include <QPointF>
#include <QString>
#include <QVariantMap>
#include <QVector>

// The nozzle of the simulated machine, driven only by what a machine does:
// the head position and the nozzle vacuum valve (output 1).
//
// With the valve on, an empty nozzle that is at a pocket's pick height (Z at
// or below the feeder's pick Z + kPickToleranceMm) with its tip on a part in
// that pocket takes the part: it holds it as it lay, off-centre by as much as
// the nozzle missed the part's centre. Valve off lets a held part go where
// it is then: on a board (the part stays there) or anywhere else (the
// basket). Every release is recorded.
class SimulatedNozzle
{
public:
    static constexpr double kPickToleranceMm = 0.3;

    enum class Event { None, Picked, Released };

    // Where a part came from and its size.
    struct Part {
        QString bank;
        int feeder = -1;
        int pocket = -1;
        double width = 1;
        double height = 1;
        double thickness = 1;
    };
    struct Release {
        Part part;
        QPointF nozzle; // nozzle position at the release
        double a = 0; // nozzle angle A at the release
        QPointF centre; // where the part's centre landed
        double angle = 0; // the part's turn there, counter-clockwise
        bool onBoard = false;

        QVariantMap toVariant() const;
    };

    // Takes the machine state: picks or releases as described above and
    // says which happened. A pick marks the pocket taken in `world`; a
    // release on a board adds the part to the world's placed parts.
    Event follow(SimulatedWorld &world, const SimulatedWorld::Displacement &d,
                 const SimulatedStage::Position &position, bool valve);

    bool valve() const { return m_valve; }
    bool holds() const { return m_holds; }
    const Part &heldPart() const { return m_held; }
    // The held part's centre against the nozzle and its turn, with the
    // nozzle at angle `a` (meaningless when nothing is held).
    QPointF heldOffset(double a) const;
    double heldAngle(double a) const;

    const QVector<Release> &releases() const { return m_releases; }
    // Empty nozzle, valve off, no releases.
    void clear();

private:
    bool m_valve = false;
    bool m_holds = false;
    Part m_held;
    // The held part's centre against the nozzle and its turn with the
    // nozzle at A = 0.
    QPointF m_offset0;
    double m_angle0 = 0;
    QVector<Release> m_releases;
};

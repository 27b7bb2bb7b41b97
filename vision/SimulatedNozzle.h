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
// that pocket, or on a part lying on a loose-part feeder's placer, takes the
// part: it holds it as it lay, off-centre by as much as the nozzle missed
// the part's centre, plus the feeder's pick error. A pick that the feeder's
// miss pattern marks leaves the part where it is, and the nozzle stays empty
// until the valve goes off. Valve off lets a held part go where it is then:
// on a board (the part stays there), over a placer (it lies there again,
// turned over when let go from SimulatedWorld::kFlipDropHeightMm or more
// above the placer's pick height) or anywhere else (the basket). Every
// release is recorded.
class SimulatedNozzle
{
public:
    static constexpr double kPickToleranceMm = 0.3;

    enum class Event { None, Picked, Released };

    // Where a part came from, its size and what the RLC meter measures of
    // it (the feeder's value, times its RLC error for a marked part).
    struct Part {
        QString bank;
        int feeder = -1;
        int pocket = -1; // -1 for a loose part
        double width = 1;
        double height = 1;
        double thickness = 1;
        bool loose = false;
        bool flipped = false; // upside down
        char rlcMode = 0;
        double rlcValue = 0;
        // The calibration object of the table (no feeder, no pocket).
        bool tableObject = false;
        bool round = false;
    };
    struct Release {
        Part part;
        QPointF nozzle; // nozzle position at the release
        double z = 0;
        double a = 0; // nozzle angle A at the release
        QPointF centre; // where the part's centre landed
        double angle = 0; // the part's turn there, counter-clockwise
        bool onBoard = false;
        bool flipped = false; // it lies upside down there
        QString placerBank; // the placer it landed on; empty for none
        int placerFeeder = -1;

        QVariantMap toVariant() const;
    };

    // Takes the machine state: picks or releases as described above and
    // says which happened. A pick marks the pocket taken in `world` (or
    // takes the loose part off its placer); a release on a board adds the
    // part to the world's placed parts, one over a placer to its parts. The
    // world's calibration object is picked the same way and lies on the
    // table again wherever it is let go.
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
    Event pick(SimulatedWorld &world, const SimulatedStage::Position &position);
    void take(SimulatedWorld::Feeder &f, const QPointF &centre, double angle, bool flipped,
              const SimulatedStage::Position &position);

    bool m_valve = false;
    bool m_holds = false;
    // A pick went wrong with the valve on: nothing more until it goes off.
    bool m_missed = false;
    Part m_held;
    // The held part's centre against the nozzle and its turn with the
    // nozzle at A = 0.
    QPointF m_offset0;
    double m_angle0 = 0;
    QVector<Release> m_releases;
};

#pragma once

#include <QPointF>
#include <QVector>

#include <array>

// Which components of a board overlap. A component's footprint is its body
// rectangle (w x h, centre at its corner plus half the size) rotated by its
// angle about the centre; two components overlap when their footprints share
// area (touching edges is not an overlap). Components with a zero width or
// height, and deleted ones, take no part.
namespace Overlaps {

struct Footprint
{
    double rX = 0;
    double rY = 0;
    double rot = 0;   // degrees
    double w = 0;
    double h = 0;
    bool deleted = false;
};

using Corners = std::array<QPointF, 4>;
Corners corners(const Footprint &f);

// True when the footprints share area.
bool intersect(const Footprint &a, const Footprint &b);

// The overlap flag of every component (sort and sweep over the extents).
QVector<bool> all(const QVector<Footprint> &footprints);

// After component `changed` moved, turned or was deleted: the new flags, given
// the flags before the change. Only the changed component, the ones it touches
// now and the ones flagged before are recomputed.
QVector<bool> update(const QVector<Footprint> &footprints, const QVector<bool> &before, int changed);

} // namespace Overlaps

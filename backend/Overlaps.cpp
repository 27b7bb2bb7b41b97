#include "backend/Overlaps.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Overlaps {

namespace {

constexpr double pi = 3.14159265358979323846;
// Shared area thinner than this (mm) is taken as touching.
constexpr double touching = 1e-9;

bool takesPart(const Footprint &f)
{
    return !f.deleted && f.w != 0 && f.h != 0 && std::isfinite(f.rX) && std::isfinite(f.rY)
        && std::isfinite(f.rot) && std::isfinite(f.w) && std::isfinite(f.h);
}

struct Extent
{
    double x1, y1, x2, y2;
};

Extent extentOf(const Corners &c)
{
    Extent e{c[0].x(), c[0].y(), c[0].x(), c[0].y()};
    for (const QPointF &p : c) {
        e.x1 = std::min(e.x1, p.x());
        e.x2 = std::max(e.x2, p.x());
        e.y1 = std::min(e.y1, p.y());
        e.y2 = std::max(e.y2, p.y());
    }
    return e;
}

// Separating axis test of two convex quadrilaterals.
bool separated(const Corners &a, const Corners &b)
{
    for (const Corners *poly : {&a, &b}) {
        for (int i = 0; i < 2; ++i) {
            const QPointF edge = (*poly)[i + 1] - (*poly)[i];
            const QPointF axis(-edge.y(), edge.x());
            const double len = std::hypot(axis.x(), axis.y());
            if (len == 0)
                continue;
            double minA = 1e300, maxA = -1e300, minB = 1e300, maxB = -1e300;
            for (const QPointF &p : a) {
                const double d = (p.x() * axis.x() + p.y() * axis.y()) / len;
                minA = std::min(minA, d);
                maxA = std::max(maxA, d);
            }
            for (const QPointF &p : b) {
                const double d = (p.x() * axis.x() + p.y() * axis.y()) / len;
                minB = std::min(minB, d);
                maxB = std::max(maxB, d);
            }
            if (maxA <= minB + touching || maxB <= minA + touching)
                return true;
        }
    }
    return false;
}

struct Prepared
{
    Corners corners;
    Extent extent;
    bool active;
};

QVector<Prepared> prepare(const QVector<Footprint> &footprints)
{
    QVector<Prepared> out(footprints.size());
    for (int i = 0; i < footprints.size(); ++i) {
        out[i].active = takesPart(footprints.at(i));
        if (out[i].active) {
            out[i].corners = corners(footprints.at(i));
            out[i].extent = extentOf(out[i].corners);
        }
    }
    return out;
}

bool touches(const Prepared &a, const Prepared &b)
{
    if (a.extent.x2 <= b.extent.x1 || b.extent.x2 <= a.extent.x1 || a.extent.y2 <= b.extent.y1
        || b.extent.y2 <= a.extent.y1)
        return false;
    return !separated(a.corners, b.corners);
}

bool overlapsAny(const QVector<Prepared> &p, int i)
{
    if (!p.at(i).active)
        return false;
    for (int j = 0; j < p.size(); ++j) {
        if (j != i && p.at(j).active && touches(p.at(i), p.at(j)))
            return true;
    }
    return false;
}

} // namespace

Corners corners(const Footprint &f)
{
    const double a = f.rot * pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double hw = f.w / 2;
    const double hh = f.h / 2;
    const double cx = f.rX + hw;
    const double cy = f.rY + hh;
    return {QPointF(cx - hw * c + hh * s, cy - hh * c - hw * s), QPointF(cx + hw * c + hh * s, cy - hh * c + hw * s),
            QPointF(cx + hw * c - hh * s, cy + hh * c + hw * s), QPointF(cx - hw * c - hh * s, cy + hh * c - hw * s)};
}

bool intersect(const Footprint &a, const Footprint &b)
{
    if (!takesPart(a) || !takesPart(b))
        return false;
    const Corners ca = corners(a);
    const Corners cb = corners(b);
    Prepared pa{ca, extentOf(ca), true};
    Prepared pb{cb, extentOf(cb), true};
    return touches(pa, pb);
}

QVector<bool> all(const QVector<Footprint> &footprints)
{
    const QVector<Prepared> p = prepare(footprints);
    QVector<bool> flags(footprints.size(), false);
    QVector<int> order;
    order.reserve(p.size());
    for (int i = 0; i < p.size(); ++i) {
        if (p.at(i).active)
            order.append(i);
    }
    std::sort(order.begin(), order.end(),
              [&p](int a, int b) { return p.at(a).extent.x1 < p.at(b).extent.x1; });
    // Sweep along X: only components whose X extents meet are compared.
    for (int k = 0; k < order.size(); ++k) {
        const Prepared &a = p.at(order.at(k));
        for (int m = k + 1; m < order.size(); ++m) {
            const Prepared &b = p.at(order.at(m));
            if (b.extent.x1 >= a.extent.x2)
                break;
            if (flags.at(order.at(k)) && flags.at(order.at(m)))
                continue;
            if (touches(a, b)) {
                flags[order.at(k)] = true;
                flags[order.at(m)] = true;
            }
        }
    }
    return flags;
}

QVector<bool> update(const QVector<Footprint> &footprints, const QVector<bool> &before, int changed)
{
    QVector<bool> flags = before;
    flags.resize(footprints.size());
    if (changed < 0 || changed >= footprints.size())
        return flags;
    int flagged = 0;
    for (int i = 0; i < flags.size(); ++i)
        flagged += flags.at(i) && i != changed ? 1 : 0;
    // With many flagged neighbours the sweep over all is cheaper.
    if (flagged > 32)
        return all(footprints);
    const QVector<Prepared> p = prepare(footprints);
    // Neighbours that overlapped before may have overlapped only the changed one.
    for (int i = 0; i < p.size(); ++i) {
        if (i != changed && flags.at(i))
            flags[i] = overlapsAny(p, i);
    }
    bool found = false;
    if (p.at(changed).active) {
        for (int j = 0; j < p.size(); ++j) {
            if (j != changed && p.at(j).active && touches(p.at(changed), p.at(j))) {
                flags[j] = true;
                found = true;
            }
        }
    }
    flags[changed] = found;
    return flags;
}

} // namespace Overlaps

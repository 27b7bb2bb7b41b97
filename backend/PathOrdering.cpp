#include "backend/PathOrdering.h"

#include "backend/ACO.h"

#include <cmath>
#include <algorithm>
#include <limits>
#include <vector>

namespace PathOrdering {

namespace {

QVector<int> identity(int n)
{
    QVector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    return order;
}

QVector<QPointF> relative(const QVector<QPointF> &points)
{
    QVector<QPointF> rel(points.size());
    if (points.isEmpty())
        return rel;
    const QPointF first = points.first();
    for (int i = 0; i < points.size(); ++i)
        rel[i] = points.at(i) - first;
    return rel;
}

// Greedy walk from point 0 with a cost and a straight-distance tie-break.
template <typename Cost>
QVector<int> greedy(const QVector<QPointF> &p, Cost cost, double *total)
{
    const int n = p.size();
    QVector<int> remaining = identity(n);
    QVector<int> order;
    order.reserve(n);
    order.append(0);
    remaining.remove(0);
    int current = 0;
    double sum = 0;
    while (!remaining.isEmpty()) {
        float bestCost = std::numeric_limits<float>::infinity();
        float bestDistance = std::numeric_limits<float>::infinity();
        int best = -1;
        const QPointF c = p.at(current);
        for (int k = 0; k < remaining.size(); ++k) {
            const QPointF q = p.at(remaining.at(k));
            const double dx = q.x() - c.x();
            const double dy = q.y() - c.y();
            const float value = cost(dx, dy);
            if (value < bestCost) {
                bestCost = value;
                bestDistance = float(std::sqrt(dx * dx + dy * dy));
                best = k;
            } else if (value == bestCost) {
                const float distance = float(std::sqrt(dx * dx + dy * dy));
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = k;
                }
            }
        }
        if (best < 0)
            best = 0;    // every cost unusable (not a number): keep the given order
        current = remaining.at(best);
        remaining.remove(best);
        order.append(current);
        if (std::isfinite(bestCost))
            sum += bestCost;
    }
    *total = sum;
    return order;
}

} // namespace

double pathLength(const QVector<QPointF> &points, const QVector<int> &order)
{
    double length = 0;
    for (int k = 1; k < order.size(); ++k) {
        const QPointF d = points.at(order.at(k)) - points.at(order.at(k - 1));
        length += std::hypot(d.x(), d.y());
    }
    return length;
}

Result greedyByDistance(const QVector<QPointF> &points)
{
    Result result;
    result.order = identity(points.size());
    if (points.size() < 2)
        return result;
    const QVector<QPointF> rel = relative(points);
    result.givenCost = pathLength(rel, result.order);
    double total = 0;
    const QVector<int> order =
        greedy(rel, [](double dx, double dy) { return float(std::sqrt(dx * dx + dy * dy)); }, &total);
    result.newCost = total;
    if (result.improved())
        result.order = order;
    return result;
}

Result antOrder(const QVector<QPointF> &points)
{
    const int n = points.size();
    if (n > ColonyLimit)
        return greedyByDistance(points);
    Result result;
    result.order = identity(n);
    if (n < 2)
        return result;
    const QVector<QPointF> rel = relative(points);
    result.givenCost = pathLength(rel, result.order);
    result.newCost = result.givenCost;

    ACO colony(100 - n, n, 0, 1.0, 30.0, 100.0, 0.5, 2.0);
    colony.init();
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j)
            colony.connectCities(i, j);
    }
    for (int i = 0; i < n; ++i)
        colony.setCityPosition(i, rel.at(i).x(), rel.at(i).y());
    if (!colony.optimize(3))
        return result;
    const std::vector<int> &route = colony.bestRoute();
    QVector<int> order;
    for (int city : route) {
        if (city < 0 || city >= n)
            return result;
        order.append(city);
    }
    if (order.size() != n || order.first() != 0)
        return result;
    result.newCost = colony.getBestLength();
    if (result.improved())
        result.order = order;
    return result;
}

bool AxisLimits::usable() const
{
    return std::isfinite(velocity) && std::isfinite(acceleration) && velocity > 0 && acceleration > 0;
}

double axisTime(double s, const AxisLimits &limits)
{
    const double v = limits.velocity;
    const double a = limits.acceleration;
    if (s <= v * v / a)
        return std::sqrt(2 * s / a);
    return 2 * v / a + (s - v * v / a) / v;
}

float moveCost(double dx, double dy, const AxisLimits &x, const AxisLimits &y)
{
    if (!x.usable() || !y.usable())
        return float(std::sqrt(dx * dx + dy * dy));
    return float(std::max(axisTime(std::fabs(dx), x), axisTime(std::fabs(dy), y)));
}

double orderCost(const QVector<QPointF> &points, const QVector<int> &order, const AxisLimits &x,
                 const AxisLimits &y)
{
    double cost = 0;
    for (int k = 1; k < order.size(); ++k) {
        const QPointF d = points.at(order.at(k)) - points.at(order.at(k - 1));
        cost += moveCost(d.x(), d.y(), x, y);
    }
    return cost;
}

// Longest distance an axis covers within the time t (the inverse of axisTime).
static double reachWithin(double t, const AxisLimits &limits)
{
    const double v = limits.velocity;
    const double a = limits.acceleration;
    const double full = v * v / a;
    if (t <= std::sqrt(2 * full / a))
        return a * t * t / 2;
    if (t < 2 * v / a)
        return full;
    return full + (t - 2 * v / a) * v;
}

Result nearestOrder(const QVector<QPointF> &points, const AxisLimits &x, const AxisLimits &y)
{
    Result result;
    const int n = points.size();
    result.order = identity(n);
    if (n < 2)
        return result;
    const QVector<QPointF> rel = relative(points);
    result.givenCost = orderCost(rel, result.order, x, y);
    if (!x.usable() || !y.usable()) {
        double total = 0;
        const QVector<int> order =
            greedy(rel, [&](double dx, double dy) { return moveCost(dx, dy, x, y); }, &total);
        result.newCost = total;
        if (result.improved())
            result.order = order;
        return result;
    }

    // The remaining points in their given order; a candidate whose X or Y
    // distance alone takes longer than the best cost so far is passed over
    // without computing its cost.
    std::vector<double> rx(size_t(n - 1)), ry(size_t(n - 1));
    std::vector<int> id(size_t(n - 1));
    for (int i = 1; i < n; ++i) {
        rx[size_t(i - 1)] = rel.at(i).x();
        ry[size_t(i - 1)] = rel.at(i).y();
        id[size_t(i - 1)] = i;
    }
    QVector<int> order;
    order.reserve(n);
    order.append(0);
    double cx = rel.at(0).x(), cy = rel.at(0).y();
    double total = 0;
    size_t left = size_t(n - 1);
    while (left > 0) {
        float bestCost = std::numeric_limits<float>::infinity();
        float bestDistance = std::numeric_limits<float>::infinity();
        double reachX = std::numeric_limits<double>::infinity();
        double reachY = reachX;
        size_t best = 0;
        bool found = false;
        for (size_t k = 0; k < left; ++k) {
            const double dx = rx[k] - cx;
            const double dy = ry[k] - cy;
            const double ax = std::fabs(dx), ay = std::fabs(dy);
            if (ax > reachX || ay > reachY)
                continue;
            const float value = float(std::max(axisTime(ax, x), axisTime(ay, y)));
            if (value < bestCost) {
                bestCost = value;
                bestDistance = float(std::sqrt(dx * dx + dy * dy));
                best = k;
                found = true;
                // Margin for the rounding of the cost to single precision.
                const double t = double(bestCost) * (1 + 1e-6) + 1e-9;
                reachX = reachWithin(t, x) * (1 + 1e-9) + 1e-9;
                reachY = reachWithin(t, y) * (1 + 1e-9) + 1e-9;
            } else if (value == bestCost) {
                const float distance = float(std::sqrt(dx * dx + dy * dy));
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = k;
                }
            }
        }
        if (!found)
            best = 0;
        else
            total += bestCost;
        order.append(id[best]);
        cx = rx[best];
        cy = ry[best];
        rx.erase(rx.begin() + long(best));
        ry.erase(ry.begin() + long(best));
        id.erase(id.begin() + long(best));
        --left;
    }
    result.newCost = total;
    if (result.improved())
        result.order = order;
    return result;
}

} // namespace PathOrdering

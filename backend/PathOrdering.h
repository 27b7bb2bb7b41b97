#pragma once

#include <QPointF>
#include <QVector>

// Orders of points on the board that shorten the head's travel. Every order
// keeps the first point first and holds every point exactly once, also when
// several points share one spot.
namespace PathOrdering {

struct Result
{
    QVector<int> order;     // positions in the given list, new order
    double givenCost = 0;   // cost of the given order
    double newCost = 0;     // cost of the new order
    bool improved() const { return givenCost > newCost; }
};

// Largest list the ant colony orders; longer lists take the greedy walk.
constexpr int ColonyLimit = 60;

// Length of the open path through the points in the given order.
double pathLength(const QVector<QPointF> &points, const QVector<int> &order);

// Reference marks: the ant colony (100 - n ants, 3 iterations) up to 60
// points, the greedy walk by straight distance above. Falls back to the
// given order when the colony cannot finish.
Result antOrder(const QVector<QPointF> &points);

// Greedy walk by straight distance.
Result greedyByDistance(const QVector<QPointF> &points);

// Limits of one axis: maximum velocity (mm/s) and acceleration (mm/s²).
struct AxisLimits
{
    double velocity = 0;
    double acceleration = 0;
    bool usable() const;
};

// Travel time of one axis over the distance s (seconds).
double axisTime(double s, const AxisLimits &limits);

// Cost of a move: the longer of the X and Y travel times; the straight
// distance when either axis has no usable limits. Single precision.
float moveCost(double dx, double dy, const AxisLimits &x, const AxisLimits &y);

// Placements: greedy walk by the travel-time cost, ties broken by the
// shorter straight distance.
Result nearestOrder(const QVector<QPointF> &points, const AxisLimits &x, const AxisLimits &y);

// Cost of a given order under the travel-time cost.
double orderCost(const QVector<QPointF> &points, const QVector<int> &order, const AxisLimits &x,
                 const AxisLimits &y);

} // namespace PathOrdering

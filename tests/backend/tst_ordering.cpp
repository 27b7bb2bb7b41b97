// Orders of reference marks (ant colony) and placements (nearest walk by
// travel time): fixed small cases checked against the exact optimum,
// degenerate inputs and the cost model.
#include "backend/PathOrdering.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using PathOrdering::AxisLimits;
using Points = QVector<QPointF>;
using Order = QVector<int>;

namespace {

bool isPermutationFromZero(const QVector<int> &order, int n)
{
    if (order.size() != n || (n > 0 && order.first() != 0))
        return false;
    QVector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < n; ++i) {
        if (sorted.at(i) != i)
            return false;
    }
    return true;
}

// Points of a board with marks at its corners, scaled.
QVector<QPointF> scaled(const QVector<QPointF> &p, double scale)
{
    QVector<QPointF> out;
    for (const QPointF &q : p)
        out.append(q * scale);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QVector<QPointF>)
Q_DECLARE_METATYPE(PathOrdering::AxisLimits)

class TestOrdering : public QObject
{
    Q_OBJECT

private slots:
    void antOrderCases_data()
    {
        QTest::addColumn<Points>("points");
        QTest::addColumn<double>("length"); // of the shortest open path
        QTest::addColumn<Order>("order");   // empty: any order of that length
        QTest::newRow("one") << Points{{3, 4}} << 0.0 << Order{0};
        // A, C, B with B between A and C.
        QTest::newRow("marks on a line")
            << Points{{0, 0}, {20, 0}, {10, 0}} << 20.0 << Order{0, 2, 1};
        QTest::newRow("optimal order is kept")
            << Points{{5, 5}, {10, 5}, {10, 50}, {60, 50}} << 100.0 << Order{0, 1, 2, 3};
        // Marks sharing a spot: the colony still ends, with every mark once.
        QTest::newRow("pair at one spot among others")
            << Points{{0, 0}, {30, 0}, {10, 0}, {10, 0}, {20, 0}} << 30.0 << Order();
        // 61 marks on a line, given from both ends inwards: beyond the colony's
        // limit the greedy walk goes along.
        Points line;
        Order along;
        for (int i = 0; i <= 30; ++i) {
            line.append(QPointF(i, 0));
            if (i < 30)
                line.append(QPointF(60 - i, 0));
        }
        for (int x = 0; x <= 60; ++x)
            along.append(x <= 30 ? 2 * x : 2 * (60 - x) + 1);
        QTest::newRow("long list takes the greedy walk") << line << 60.0 << along;
    }

    void antOrderCases()
    {
        QFETCH(Points, points);
        QFETCH(double, length);
        QFETCH(Order, order);
        const PathOrdering::Result r = PathOrdering::antOrder(points);
        QVERIFY(isPermutationFromZero(r.order, points.size()));
        if (!order.isEmpty())
            QCOMPARE(r.order, order);
        QVERIFY(std::isfinite(r.newCost));
        QVERIFY(std::fabs(PathOrdering::pathLength(points, r.order) - length) < 1e-9);
        Order given;
        for (int i = 0; i < points.size(); ++i)
            given.append(i);
        const double givenLength = PathOrdering::pathLength(points, given);
        QVERIFY(std::fabs(r.givenCost - givenLength) < 1e-9);
        QCOMPARE(r.improved(), givenLength > length + 1e-9);
        if (r.improved())
            QVERIFY(std::fabs(r.newCost - length) < 1e-9);
    }

    void colonyIndependentOfScale()
    {
        // The weights 1/d^30 leave double range below and above a millimetre;
        // the order must not depend on the unit.
        const QVector<QPointF> shape{{0, 0}, {4, 3}, {1, 0}, {3, 3}, {2, 1}, {0, 3}};
        const PathOrdering::Result mm = PathOrdering::antOrder(shape);
        QVERIFY(mm.improved());
        for (double scale : {1e-4, 1e-3, 1e3, 1e5}) {
            const PathOrdering::Result r = PathOrdering::antOrder(scaled(shape, scale));
            QCOMPARE(r.order, mm.order);
            QVERIFY(std::fabs(r.newCost / scale - mm.newCost) < 1e-6 * mm.newCost);
        }
    }

    void axisTime_data()
    {
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("expected");
        // v = 100 mm/s, a = 1000 mm/s²: v² / a = 10 mm.
        QTest::newRow("zero") << 0.0 << 0.0;
        QTest::newRow("short") << 5.0 << std::sqrt(0.01);
        QTest::newRow("at the limit") << 10.0 << std::sqrt(0.02);
        QTest::newRow("long") << 30.0 << 0.2 + 0.2;
    }

    void axisTime()
    {
        QFETCH(double, s);
        QFETCH(double, expected);
        QVERIFY(std::fabs(PathOrdering::axisTime(s, {100, 1000}) - expected) < 1e-12);
    }

    void diagonalCostsAsMuchAsOneAxis()
    {
        const AxisLimits l{100, 1000};
        const float x = PathOrdering::moveCost(10, 0, l, l);
        QCOMPARE(PathOrdering::moveCost(0, 10, l, l), x);
        QCOMPARE(PathOrdering::moveCost(10, 10, l, l), x);
        // Different limits: the slower axis decides.
        QCOMPARE(PathOrdering::moveCost(10, 10, l, {50, 1000}), float(PathOrdering::axisTime(10, {50, 1000})));
    }

    void nearestOrderCases_data()
    {
        QTest::addColumn<Points>("points");
        QTest::addColumn<AxisLimits>("limits"); // of both axes
        QTest::addColumn<Order>("order");
        const AxisLimits l{100, 1000};
        // From the start, (10, 10) and (10, 0) cost the same; the shorter wins
        // although it is listed later (taking (10, 10) first would cost as much).
        QTest::newRow("tie broken by straight distance")
            << Points{{0, 0}, {10, 10}, {50, 50}, {10, 0}} << l << Order{0, 3, 1, 2};
        QTest::newRow("walk") << Points{{0, 0}, {50, 0}, {5, 1}, {100, 100}, {52, 3}, {10, 0}}
                              << AxisLimits{200, 2000} << Order{0, 2, 5, 1, 4, 3};
        QTest::newRow("given order kept when not better")
            << Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}} << l << Order{0, 1, 2, 3};
        // Unusable limits: the straight distance, for points far apart (beyond
        // any time the walk's first guess would allow).
        const Points far{{0, 0}, {3e6, 0}, {1e6, 0}, {2e6, 0}};
        const Order byDistance{0, 2, 3, 1};
        QTest::newRow("no acceleration") << far << AxisLimits{100, 0} << byDistance;
        QTest::newRow("negative velocity") << far << AxisLimits{-5, 100} << byDistance;
        QTest::newRow("not a number") << far << AxisLimits{std::nan(""), 100} << byDistance;
    }

    void nearestOrderCases()
    {
        QFETCH(Points, points);
        QFETCH(AxisLimits, limits);
        QFETCH(Order, order);
        const PathOrdering::Result r = PathOrdering::nearestOrder(points, limits, limits);
        QCOMPARE(r.order, order);
        QCOMPARE(r.improved(), order != Order({0, 1, 2, 3}));
        const double cost = PathOrdering::orderCost(points, order, limits, limits);
        QVERIFY2(std::fabs(r.newCost - cost) < 1e-5 * std::max(1.0, cost),
                 qPrintable(QString::number(r.newCost)));
        if (!limits.usable()) {
            QCOMPARE(PathOrdering::moveCost(3, 4, limits, {100, 1000}), 5.0f);
            QCOMPARE(r.newCost, 3e6);
        }
    }
};

QTEST_GUILESS_MAIN(TestOrdering)
#include "tst_ordering.moc"

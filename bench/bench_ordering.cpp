// Orders of reference marks and placements: path length against the best
// known order and time.
//   colony: 3 to 60 marks, against the exact optimum (dynamic programming)
//           up to 13 marks, the best of many 2-opt restarts above;
//   nearest walk: 5,000 placements, against the given order and against the
//           walk's order improved by 2-opt.
#include "backend/PathOrdering.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using PathOrdering::AxisLimits;

namespace {

QVector<QPointF> randomPoints(int n, double width, double height, std::mt19937 &rng)
{
    std::uniform_real_distribution<double> x(0, width), y(0, height);
    QVector<QPointF> p;
    for (int i = 0; i < n; ++i)
        p.append(QPointF(x(rng), y(rng)));
    return p;
}

// Marks of a panel: two per board at opposite corners, boards in a grid,
// listed board by board.
QVector<QPointF> panelMarks(int n, std::mt19937 &rng)
{
    std::uniform_real_distribution<double> jitter(-1, 1);
    QVector<QPointF> p;
    const int boards = (n + 1) / 2;
    const int cols = int(std::ceil(std::sqrt(double(boards))));
    for (int b = 0; b < boards && p.size() < n; ++b) {
        const double ox = (b % cols) * 55.0, oy = (b / cols) * 42.0;
        p.append(QPointF(ox + 3 + jitter(rng), oy + 3 + jitter(rng)));
        if (p.size() < n)
            p.append(QPointF(ox + 47 + jitter(rng), oy + 37 + jitter(rng)));
    }
    return p;
}

double dist(const QPointF &a, const QPointF &b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

// Shortest open path starting at point 0 (Held–Karp).
double exactOptimum(const QVector<QPointF> &p)
{
    const int n = p.size();
    const int m = n - 1;
    if (m <= 0)
        return 0;
    const size_t states = size_t(1) << m;
    std::vector<double> best(states * size_t(m), 1e300);
    for (int j = 0; j < m; ++j)
        best[(size_t(1) << j) * size_t(m) + size_t(j)] = dist(p[0], p[j + 1]);
    for (size_t set = 1; set < states; ++set) {
        for (int j = 0; j < m; ++j) {
            if (!(set & (size_t(1) << j)))
                continue;
            const double here = best[set * size_t(m) + size_t(j)];
            if (here >= 1e300)
                continue;
            for (int k = 0; k < m; ++k) {
                if (set & (size_t(1) << k))
                    continue;
                const size_t next = set | (size_t(1) << k);
                double &slot = best[next * size_t(m) + size_t(k)];
                slot = std::min(slot, here + dist(p[j + 1], p[k + 1]));
            }
        }
    }
    double result = 1e300;
    for (int j = 0; j < m; ++j)
        result = std::min(result, best[(states - 1) * size_t(m) + size_t(j)]);
    return result;
}

template <typename Cost>
double orderLength(const std::vector<int> &order, Cost cost)
{
    double sum = 0;
    for (size_t k = 1; k < order.size(); ++k)
        sum += cost(order[k - 1], order[k]);
    return sum;
}

// 2-opt on an open path whose first point stays first, until no reversal
// helps or the time budget is spent.
template <typename Cost>
void twoOpt(std::vector<int> &order, Cost cost, qint64 budgetMs)
{
    QElapsedTimer timer;
    timer.start();
    const int n = int(order.size());
    bool improved = true;
    while (improved && timer.elapsed() < budgetMs) {
        improved = false;
        for (int i = 1; i < n - 1; ++i) {
            for (int j = i + 1; j < n; ++j) {
                const double before = cost(order[i - 1], order[i]) + (j + 1 < n ? cost(order[j], order[j + 1]) : 0);
                const double after = cost(order[i - 1], order[j]) + (j + 1 < n ? cost(order[i], order[j + 1]) : 0);
                if (after < before - 1e-9) {
                    std::reverse(order.begin() + i, order.begin() + j + 1);
                    improved = true;
                }
            }
        }
    }
}

double bestOfRestarts(const QVector<QPointF> &p, int restarts, std::mt19937 &rng)
{
    auto cost = [&](int a, int b) { return dist(p[a], p[b]); };
    double best = 1e300;
    std::vector<int> order(size_t(p.size()));
    for (int r = 0; r < restarts; ++r) {
        for (int i = 0; i < p.size(); ++i)
            order[size_t(i)] = i;
        std::shuffle(order.begin() + 1, order.end(), rng);
        twoOpt(order, cost, 10000);
        best = std::min(best, orderLength(order, cost));
    }
    return best;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void colony()
{
    std::printf("Ant colony (100 - n ants, 3 iterations); median of 5 layouts per size\n");
    std::printf("%5s %-7s %12s %12s %12s %10s %10s\n", "marks", "layout", "given/best", "colony/best", "worst", "ms median", "ms max");
    std::mt19937 rng(12345);
    const int sizes[] = {3, 4, 6, 8, 10, 13, 16, 20, 30, 40, 50, 60};
    for (const char *layout : {"random", "panel"}) {
        for (int n : sizes) {
            std::vector<double> ratios, givenRatios, times;
            for (int sample = 0; sample < 5; ++sample) {
                const QVector<QPointF> p = QString(layout) == "random" ? randomPoints(n, 300, 200, rng) : panelMarks(n, rng);
                const double best = n <= 13 ? exactOptimum(p) : bestOfRestarts(p, 200, rng);
                QElapsedTimer timer;
                timer.start();
                const PathOrdering::Result r = PathOrdering::antOrder(p);
                times.push_back(timer.nsecsElapsed() / 1e6);
                std::vector<int> order(r.order.begin(), r.order.end());
                ratios.push_back(PathOrdering::pathLength(p, r.order) / best);
                givenRatios.push_back(r.givenCost / best);
            }
            std::printf("%5d %-7s %12.3f %12.3f %12.3f %10.2f %10.2f\n", n, layout, median(givenRatios), median(ratios),
                        *std::max_element(ratios.begin(), ratios.end()), median(times),
                        *std::max_element(times.begin(), times.end()));
        }
    }
}

void nearest()
{
    const AxisLimits x{500, 3000}, y{400, 2500};
    std::mt19937 rng(777);
    const QVector<QPointF> p = randomPoints(5000, 300, 200, rng);
    std::vector<double> times;
    PathOrdering::Result r;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        r = PathOrdering::nearestOrder(p, x, y);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    auto cost = [&](int a, int b) { return double(PathOrdering::moveCost(p[b].x() - p[a].x(), p[b].y() - p[a].y(), x, y)); };
    std::vector<int> improved(r.order.begin(), r.order.end());
    QElapsedTimer timer;
    timer.start();
    twoOpt(improved, cost, 60000);
    const double twoOptMs = timer.elapsed();
    const double walkCost = orderLength(std::vector<int>(r.order.begin(), r.order.end()), cost);
    const double optCost = orderLength(improved, cost);
    std::printf("\nNearest walk, 5000 placements on 300 x 200 mm, X %g mm/s %g mm/s², Y %g mm/s %g mm/s²\n",
                x.velocity, x.acceleration, y.velocity, y.acceleration);
    std::printf("  time: median %.1f ms, max %.1f ms\n", median(times), *std::max_element(times.begin(), times.end()));
    std::printf("  cost: given %.2f s, walk %.2f s (%.1f %% of given), walk + 2-opt %.2f s (walk is %.3f x that; 2-opt took %.0f ms)\n",
                r.givenCost, walkCost, 100.0 * walkCost / r.givenCost, optCost, walkCost / optCost, twoOptMs);
}

} // namespace

int main()
{
    colony();
    nearest();
    return 0;
}

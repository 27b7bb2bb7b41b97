// Overlapping components: rotated footprints, the full sweep and the
// incremental update after one component changed.
#include "backend/Overlaps.h"

#include <QRandomGenerator>
#include <QTest>

using Overlaps::Footprint;
Q_DECLARE_METATYPE(Overlaps::Footprint)

namespace {

// Every pair compared: the reference the faster paths must agree with.
QVector<bool> bruteForce(const QVector<Footprint> &f)
{
    QVector<bool> flags(f.size(), false);
    for (int i = 0; i < f.size(); ++i) {
        for (int j = i + 1; j < f.size(); ++j) {
            if (Overlaps::intersect(f.at(i), f.at(j)))
                flags[i] = flags[j] = true;
        }
    }
    return flags;
}

} // namespace

class TestOverlaps : public QObject
{
    Q_OBJECT

private slots:
    void pairs_data()
    {
        QTest::addColumn<Footprint>("a");
        QTest::addColumn<Footprint>("b");
        QTest::addColumn<bool>("overlap");
        // Turned 30° counter-clockwise, the far end rises onto a small part.
        QTest::newRow("at 30°") << Footprint{0, 0, 30, 6, 1, false} << Footprint{5, 1.5, 0, 0.5, 0.5, false} << true;
        QTest::newRow("touching edge") << Footprint{0, 0, 0, 2, 1, false} << Footprint{2, 0, 0, 2, 1, false} << false;
        // A long body turned 90° reaches a neighbour it would miss unturned.
        QTest::newRow("turned into neighbour") << Footprint{0, 0, 90, 6, 1, false} << Footprint{2, -2.4, 0, 2, 1, false}
                                               << true;
        // Extents overlap, bodies do not: two squares turned 45° side by side.
        QTest::newRow("diamonds apart") << Footprint{0, 0, 45, 2, 2, false} << Footprint{2.9, 0, 45, 2, 2, false}
                                        << false;
        QTest::newRow("diamonds meet") << Footprint{0, 0, 45, 2, 2, false} << Footprint{2.7, 0, 45, 2, 2, false} << true;
    }

    void pairs()
    {
        QFETCH(Footprint, a);
        QFETCH(Footprint, b);
        QTEST(Overlaps::intersect(a, b), "overlap");
        QTEST(Overlaps::intersect(b, a), "overlap");
        QFETCH(bool, overlap);
        QCOMPARE(Overlaps::all({a, b}), QVector<bool>({overlap, overlap}));
    }

    void movingUpdatesOldAndNewNeighbours()
    {
        QVector<Footprint> f{{0, 0, 0, 2, 1, false},
                             {1, 0, 0, 2, 1, false},
                             {10, 0, 0, 2, 1, false},
                             {10.5, 0.5, 0, 2, 1, false},
                             {20, 0, 0, 2, 1, false}};
        QVector<bool> flags = Overlaps::all(f);
        QCOMPARE(flags, QVector<bool>({true, true, true, true, false}));
        f[1].rX = 5; // moved off its neighbour
        flags = Overlaps::update(f, flags, 1);
        QCOMPARE(flags, QVector<bool>({false, false, true, true, false}));
        f[1].rX = 10.2; // onto the pair
        flags = Overlaps::update(f, flags, 1);
        QCOMPARE(flags, QVector<bool>({false, true, true, true, false}));
        f[1].rX = 20.5; // onto the one alone
        flags = Overlaps::update(f, flags, 1);
        QCOMPARE(flags, QVector<bool>({false, true, true, true, true}));
    }

    void sweepAndUpdateAgreeWithPairs()
    {
        QRandomGenerator random(20261206);
        QVector<Footprint> f;
        for (int i = 0; i < 300; ++i) {
            f.append({random.bounded(100.0), random.bounded(100.0), double(random.bounded(8) * 45 - 180),
                      0.5 + random.bounded(5.0), 0.3 + random.bounded(3.0), false});
        }
        QVector<bool> flags = Overlaps::all(f);
        QCOMPARE(flags, bruteForce(f));
        QVERIFY(flags.count(true) > 20 && flags.count(false) > 20);
        for (int step = 0; step < 400; ++step) {
            const int i = random.bounded(f.size());
            f[i].rX = random.bounded(100.0);
            f[i].rY = random.bounded(100.0);
            f[i].rot = random.bounded(360.0) - 180;
            f[i].deleted = random.bounded(20) == 0;
            flags = Overlaps::update(f, flags, i);
            QCOMPARE(flags, bruteForce(f));
        }
    }
};

QTEST_GUILESS_MAIN(TestOverlaps)
#include "tst_overlaps.moc"

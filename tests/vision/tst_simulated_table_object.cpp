// The simulated machine's calibration object (a chip or a disk on the table
// that the nozzle picks like a pocket part and puts down where it lets it
// go, seen by the head camera and, held, by the component camera) and the
// placed parts a test leaves out, moves or adds for the inspection.
#include "Near.h"
#include "SimulatedWorldFixture.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

#include <cmath>

using namespace Sim;

namespace {

SimulatedWorld::TableObject object(bool round)
{
    SimulatedWorld::TableObject o;
    o.present = true;
    o.round = round;
    o.centre = QPointF(150, 100);
    o.width = round ? 3 : 3.2;
    o.height = round ? 3 : 1.6;
    o.thickness = 1.5;
    o.pickZ = 39.5;
    return o;
}

// A board from (100, 300) to (200, 380) and nothing else.
SimulatedWorld boardWorld()
{
    SimulatedWorld w;
    SimulatedWorld::Board b;
    b.outline = {QPointF(100, 300), QPointF(200, 300), QPointF(200, 380), QPointF(100, 380)};
    w.boards.append(b);
    w.cameraShift = QPointF(-30, 20);
    return w;
}

// The one outline in the middle of the frame, as the calibration looks for it.
Recognised element(const cv::Mat &frame, int roi)
{
    RecognitionSettings settings;
    settings.mode = QStringLiteral("element");
    settings.param1 = 100;
    settings.param2 = 1;
    settings.targetSize = kPpm;
    settings.targetSize2 = kPpm;
    settings.roiPercent = roi;
    return recogniseFrame(frame, settings);
}

} // namespace

class TestSimulatedTableObject : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetSimulation(); }
    void cleanupTestCase() { resetSimulation(); }

    // The head camera finds the object where it lies, through its offset
    // and, mounted off where the program believes it, beyond it.
    void seenByTheHeadCamera()
    {
        const QPointF headError(0.3, -0.2);
        SimulatedWorld::setCurrent(boardWorld());
        SimulatedWorld::setTableObject(object(false));
        SimulatedWorld::setCameraFaults({headError, false, {}});
        QVERIFY(SimulatedWorld::hasCurrent());
        // The camera at (179.6, 80.3) looks at (149.6, 100.3) plus its error;
        // the object's centre (150, 100) lies right of and below that.
        const SimulatedStage::Position camera = at(179.6, 80.3, kTravel);
        const QPointF seen = QPointF(149.6, 100.3) + headError;
        const Recognised r = element(render(QStringLiteral("sim:board"), camera), 50);
        QVERIFY(r.found);
        VERIFY_NEAR(r.x, (150 - seen.x()) * kPpm, 0.5);
        VERIFY_NEAR(r.y, (seen.y() - 100) * kPpm, 0.5);
        // A new world (the project changed) keeps it.
        SimulatedWorld::setCurrent(boardWorld());
        QVERIFY(SimulatedWorld::tableObjectNow().present);
        // Taken away: nothing to find.
        SimulatedWorld::setTableObject({});
        QVERIFY(!element(render(QStringLiteral("sim:board"), camera), 50).found);
    }

    // Picked off-centre, turned a quarter, put down elsewhere: it lies where
    // the nozzle let it go, with the nozzle's miss turned along, and is not a
    // part on a board even over one. Held, the component camera shows it
    // where it hangs: off the middle by the nozzle's miss (a chip by its
    // ends, a disk whole); one standing at a fixed place sees the nozzle's
    // distance from it as well.
    void pickedAndPutDown_data()
    {
        QTest::addColumn<bool>("round");
        QTest::addColumn<QPointF>("release");
        QTest::addColumn<bool>("fixed"); // the component camera
        QTest::newRow("chip on the table, camera standing at (250.25, 79.8)") << false << QPointF(60, 60) << true;
        QTest::newRow("disk over the board") << true << QPointF(150, 340) << false;
    }
    void pickedAndPutDown()
    {
        QFETCH(bool, round);
        QFETCH(QPointF, release);
        QFETCH(bool, fixed);
        SimulatedWorld::setCurrent(boardWorld());
        SimulatedWorld::setTableObject(object(round));
        QVERIFY(pickAt(150.4, 99.7, 39.5));
        QCOMPARE(SimulatedWorld::heldPartRound(), round);
        QVERIFY(!SimulatedWorld::tableObjectNow().present);

        SimulatedWorld::setCameraFaults({QPointF(), fixed, QPointF(250.25, 79.8)});
        const double ppm = SimulatedWorld::currentComponentPixelsPerMm();
        const Recognised seen = element(render(QStringLiteral("sim:component"), at(250, 80, 60)), 80);
        QVERIFY(seen.found);
        const QPointF hangs(-0.4, 0.3); // the object's centre minus the nozzle
        const QPointF off = hangs + (fixed ? QPointF(250, 80) - QPointF(250.25, 79.8) : QPointF());
        VERIFY_NEAR(seen.x, off.x() * ppm, 1);
        VERIFY_NEAR(seen.y, off.y() * ppm, 1);
        VERIFY_NEAR(std::max(seen.width, seen.height), (round ? 3 : 3.2) * ppm, 3);

        releaseAt(release.x(), release.y(), 39.5, 90);
        QVERIFY(!SimulatedWorld::holdsPart());
        const SimulatedWorld::TableObject o = SimulatedWorld::tableObjectNow();
        QVERIFY(o.present);
        // (-0.4, 0.3) from the nozzle at A 0 is (0.3, 0.4) at A 90.
        QVERIFY2(std::hypot(o.centre.x() - release.x() - 0.3, o.centre.y() - release.y() - 0.4) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2").arg(o.centre.x()).arg(o.centre.y())));
        VERIFY_NEAR(o.angle, -90, 1e-9);
        QVERIFY(SimulatedWorld::current().placedParts.isEmpty());
        const QVariantMap r = SimulatedWorld::releases().last().toMap();
        QVERIFY(r.value(QStringLiteral("tableObject")).toBool());
        QVERIFY(!r.value(QStringLiteral("onBoard")).toBool());
    }

    // Placed parts as an inspection test wants them.
    void placedPartsChanged()
    {
        SimulatedWorld::setCurrent(boardWorld());
        SimulatedWorld::addPlacedPart({QPointF(120, 320), 0, 1.6, 0.8});
        SimulatedWorld::addPlacedPart({QPointF(140, 330), 90, 2, 1.25});
        SimulatedWorld::addPlacedPart({QPointF(160, 340), 0, 1.6, 0.8});
        QVERIFY(SimulatedWorld::movePlacedPart(1, 0.5, -0.25, 10));
        QVERIFY(SimulatedWorld::removePlacedPart(0));
        const QVector<SimulatedWorld::PlacedPart> parts = SimulatedWorld::current().placedParts;
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts.at(0).centre, QPointF(140.5, 329.75));
        QCOMPARE(parts.at(0).angle, 100.0);
        QCOMPARE(parts.at(1).centre, QPointF(160, 340));
        // The head camera no longer sees the part left out.
        const cv::Mat left = render(QStringLiteral("sim:board"), at(150, 300, kTravel));
        const cv::Mat kept = render(QStringLiteral("sim:board"), at(190, 320, kTravel));
        auto brightest = [](const cv::Mat &m) {
            cv::Mat grey;
            cv::cvtColor(m, grey, cv::COLOR_BGR2GRAY);
            double lo = 0, hi = 0;
            cv::minMaxLoc(grey, &lo, &hi);
            return hi;
        };
        QVERIFY(brightest(left) < 150);
        QVERIFY(brightest(kept) > 200);
    }
};

QTEST_GUILESS_MAIN(TestSimulatedTableObject)
#include "tst_simulated_table_object.moc"

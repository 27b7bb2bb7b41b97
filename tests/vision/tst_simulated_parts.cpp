// The simulated machine's parts: the nozzle picks them from feeder pockets
// and lets them go on the board or into the basket, driven only by the head
// position and valve 1; the component camera shows the held part. The
// calibration object (a chip or a disk on the table that the nozzle picks
// like a pocket part and puts down where it lets it go, seen by the head
// camera and, held, by the component camera) and the placed parts a test
// leaves out, moves or adds for the inspection. Faults and loose parts:
// pick errors kept with their feeder, picks that miss by a pattern, loose
// parts on a placer told upright from upside down by the program's own
// template search and turned over by a drop from high enough; the value of
// the held part for the RLC meter.
#include "Near.h"
#include "SimulatedWorldFixture.h"
#include "util/NozzleStateFile.h"
#include "vision/CameraWorker.h"
#include "vision/MatImage.h"
#include "vision/SimulatedNozzle.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/imgproc.hpp>

#include <cmath>

using namespace Sim;

namespace {

// A board 100 x 80 mm from (100, 300) to (200, 380), and three feeders:
//   B0, a tape of 0603 parts (1.6 x 0.8), pockets every 4 mm along Y about
//       (60, 20), pick Z 19.45;
//   L2, a tray of 2 x 2 parts of 3.2 x 1.6 turned by 90 degrees, at (20, 100),
//       (30, 100), (20, 110), (30, 110), pick Z 22;
//   U1, a strip of three 2 x 1.25 parts from (250, 450) to (258, 450).
QVariantMap worldMap()
{
    QVariantMap tape = feeder("B", 0, {{60, 16}, {60, 20}, {60, 24}}, 19.45, 1.6, 0.8, 0.45);
    tape["refills"] = true;
    tape["angle"] = 0;
    QVariantMap tray = feeder("L", 2, {{20, 100}, {30, 100}, {20, 110}, {30, 110}}, 22, 3.2, 1.6, 0.6);
    tray["angle"] = 90;
    QVariantMap strip = feeder("U", 1, {{250, 450}, {254, 450}, {258, 450}}, 21, 2, 1.25, 0.5);
    strip["angle"] = 0;
    return QVariantMap{{"boards", QVariantList{points({{100, 300}, {200, 300}, {200, 380}, {100, 380}})}},
                       {"pivot", point(100, 380)},
                       {"cameraShift", point(-30, 5)},
                       {"feeders", QVariantList{tape, tray, strip}}};
}

// One pick and release: where and how, and what the nozzle records.
struct PickAndRelease {
    QPointF pick;
    double pickZ;
    QPointF target;
    double a;
    QString bank;
    int feeder, pocket;
    QPointF landed;
    double angle;
    bool onBoard;
    double boardDx = 0; // the real board lies moved against the project
};


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


constexpr double kLooseZ = 21;
const QPointF kCameraShift(-30, 15);

// Three feeders:
//   L0, a tray of 3.2 x 1.6 parts lying along X at (20, 100) and (30, 100),
//       pick Z 22;
//   B1, a tape of 0603 parts (1.6 x 0.8), pockets every 4 mm along Y about
//       (60, 20), pick Z 19.45, no value for the RLC meter;
//   U2, loose 5 x 2.5 parts on a placer of one 32 x 24 mm window centred on
//       (300, 100), pick Z 21, the parts laid by each test.
QVariantMap faultsWorldMap()
{
    QVariantMap tray = feeder("L", 0, {{20, 100}, {30, 100}}, 22, 3.2, 1.6, 0.6);
    tray["angle"] = 0;
    QVariantMap tape = feeder("B", 1, {{60, 16}, {60, 20}, {60, 24}}, 19.45, 1.6, 0.8, 0.45);
    tape["refills"] = true;
    QVariantMap loose = feeder("U", 2, {}, kLooseZ, 5, 2.5, 1);
    loose.remove("pockets");
    loose["loose"] = true;
    loose["placer"] = QVariantList{QVariant(QVariantList{300, 100, 32, 24})};
    return QVariantMap{{"cameraShift", point(kCameraShift)},
                       {"feeders", QVariantList{tray, tape, loose}}};
}

void setFaultsWorld(const QVariantMap &map = faultsWorldMap())
{
    QVariantMap m = map;
    m["componentScale"] = 20;
    setWorld(m);
}

// The head camera's frame with `seen` (machine coordinates) in its centre.
cv::Mat headFrame(const QPointF &seen)
{
    return render(QStringLiteral("sim:board"), at(seen - kCameraShift, kTravel));
}

// The head camera's loose-part search for the U2 parts as the program sets
// it up for a feeder with template search: "placerTemplateCenter" with the feeder's
// upright and upside-down photos, the template match coefficient camera1T2
// at 60 (a photo of the top scores up to about 40 % on an upturned part,
// so the feeder default 30 would take it for an upright one) and
// elFlippedMatchPercent at its default 80.
// Pixels from the frame centre, degrees.
struct LooseFound : Sim::Recognised {
    bool flipped = false;
};

LooseFound searchLoose(const cv::Mat &frame, bool flippedEnabled)
{
    CameraWorker w;
    w.setName(QStringLiteral("camera1"));
    w.setMode(QStringLiteral("placerTemplateCenter"));
    w.setShowPercent(100);
    w.setTemplMult(0.3);
    w.setTemplateType(1);
    w.setTemplMatchCoeff(60);
    w.setFlippedTemplMatchCoeff(80);
    w.setFlippedEnabled(flippedEnabled);
    const double ppm = SimulatedScene::kPixelsPerMm;
    w.setCompareImage(MatImage::toRgbImage(SimulatedWorld::partPhoto(5, 2.5, false, ppm)));
    w.setCompareFlippedImage(MatImage::toRgbImage(SimulatedWorld::partPhoto(5, 2.5, true, ppm)));
    QSignalSpy obj(&w, &CameraWorker::objSend);
    QSignalSpy flipped(&w, &CameraWorker::flippedSend);
    w.processMat(frame, true);
    LooseFound r;
    static_cast<Sim::Recognised &>(r) = Sim::resultOf(obj);
    r.flipped = obj.size() == 1 && !flipped.isEmpty() && flipped.last().at(0).toBool();
    return r;
}

} // namespace

Q_DECLARE_METATYPE(PickAndRelease)

class TestSimulatedParts : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetSimulation(); }
    void cleanupTestCase() { resetSimulation(); }

    // One pick and one release through the stage as the camera items feed
    // it: what was taken, where it landed, turned by the nozzle's turn
    // between pick and release (a positive A turns it clockwise seen from
    // above, the parts' angles run counter-clockwise), on the board or not,
    // as the release record tells.
    void pickAndRelease_data()
    {
        QTest::addColumn<PickAndRelease>("row");
        // The nozzle 0.3 mm right of the part's centre: the part hangs 0.3 mm
        // left of the nozzle, and lands so after a quarter turn clockwise
        // (above it).
        QTest::newRow("strip, picked off-centre")
            << PickAndRelease{{254.3, 450}, 21, {160, 350}, 90, "U", 1, 1, {160, 350.3}, -90, true};
        QTest::newRow("just off the board's edge")
            << PickAndRelease{{60, 20}, 19.45, {200.5, 340}, 0, "B", 0, 1, {200.5, 340}, 0, false};
        // A release counts by where the board really is.
        QTest::newRow("on the board moved 20 mm right")
            << PickAndRelease{{60, 20}, 19.45, {210, 340}, 0, "B", 0, 1, {210, 340}, 0, true, 20};
    }
    void pickAndRelease()
    {
        QFETCH(PickAndRelease, row);
        const auto &[pick, pickZ, target, a, bank, feeder, pocket, landed, angle, onBoard,
                     boardDx] = row;
        setWorld(worldMap());
        SimulatedWorld::setDisplacement({boardDx, 0, 0});
        QVERIFY(pickAt(pick.x(), pick.y(), pickZ));
        releaseAt(target.x(), target.y(), 20, a);
        QVERIFY(!SimulatedWorld::holdsPart());
        QCOMPARE(SimulatedWorld::releases().size(), 1);
        const QVariantMap r = lastRelease();
        QCOMPARE(r.value("bank").toString(), bank);
        QCOMPARE(r.value("feeder").toInt(), feeder);
        QCOMPARE(r.value("pocket").toInt(), pocket);
        QCOMPARE(QPointF(r.value("x").toDouble(), r.value("y").toDouble()), target);
        QCOMPARE(r.value("a").toDouble(), a);
        const QPointF centre(r.value("partX").toDouble(), r.value("partY").toDouble());
        QVERIFY2(std::hypot(centre.x() - landed.x(), centre.y() - landed.y()) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2").arg(centre.x()).arg(centre.y())));
        VERIFY_NEAR(r.value("partAngle").toDouble(), angle, 1e-9);
        QCOMPARE(r.value("onBoard").toBool(), onBoard);
        const QVector<SimulatedWorld::PlacedPart> placed = SimulatedWorld::current().placedParts;
        QCOMPARE(placed.size(), onBoard ? 1 : 0);
        if (onBoard)
            QCOMPARE(placed.first().centre, centre);
    }

    // Nothing is taken unless the nozzle is at pick height on a part that is
    // there.
    void noPick_data()
    {
        QTest::addColumn<QPointF>("nozzle");
        QTest::addColumn<double>("z");
        QTest::addColumn<bool>("trayEmptied");

        QTest::newRow("just too high") << QPointF(60, 20) << 19.45 + SimulatedNozzle::kPickToleranceMm + 0.01 << false;
        QTest::newRow("tray pocket already taken") << QPointF(20, 100) << 22.0 << true;
    }
    void noPick()
    {
        QFETCH(QPointF, nozzle);
        QFETCH(double, z);
        QFETCH(bool, trayEmptied);
        setWorld(worldMap());
        if (trayEmptied) {
            QVERIFY(pickAt(20, 100, 22));
            releaseAt(300, 30, 20);
        }
        SimulatedStage::setMachine(at(nozzle, kTravel), false);
        SimulatedStage::setMachine(at(nozzle, z), false);
        SimulatedStage::setMachine(at(nozzle, z), true);
        SimulatedStage::setMachine(at(nozzle, kTravel), true);
        QVERIFY(!SimulatedWorld::holdsPart());
        SimulatedStage::setMachine(at(150, 340, 20), false);
        QCOMPARE(SimulatedWorld::releases().size(), trayEmptied ? 1 : 0);
        QVERIFY(SimulatedWorld::current().placedParts.isEmpty());
    }

    // The component camera shows the held part turning with A, and the
    // program's own recognition finds it at minus that angle (the part turns
    // clockwise seen from above); an empty nozzle shows nothing to find. A
    // pick error moves and turns the part beyond the nozzle's own miss, in
    // machine axes as they are at the pick.
    void componentCameraShowsHeldPart_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<QPointF>("miss");  // nozzle minus part centre at the pick
        QTest::addColumn<QPointF>("error"); // mm
        QTest::addColumn<double>("turn");
        QTest::addColumn<double>("scale"); // pixels per mm
        const QPointF none;
        // At the simulated machine's own scale a turn of a tenth of a
        // degree shows.
        QTest::newRow("A 90.4 at 120 pixels per mm") << 90.4 << QPointF(0.3, -0.2) << none << 0.0 << 120.0;
        QTest::newRow("(0.10, 0.20) mm, -0.8 degrees on a 0.2 mm miss, nozzle turned to 10")
            << 10.0 << QPointF(0.2, -0.1) << QPointF(0.10, 0.20) << -0.8 << 120.0;
    }
    void componentCameraShowsHeldPart()
    {
        QFETCH(double, a);
        QFETCH(QPointF, miss);
        QFETCH(QPointF, error);
        QFETCH(double, turn);
        QFETCH(double, scale);
        QVariantMap map = worldMap();
        map["componentScale"] = scale;
        setWorld(map);
        QVERIFY(SimulatedWorld::setPickError("L", 2, {error.x(), error.y(), turn, {}}));
        QVERIFY(!recogniseHeld(a, 3.2, 1.6, scale).found);
        // The tray's parts lie turned by 90 degrees: pick one at A = -90 so
        // that it hangs along X with the nozzle at 0 (the nozzle's turn back
        // to 0 is a quarter turn counter-clockwise).
        SimulatedStage::setMachine(at(30 + miss.x(), 100 + miss.y(), 22, -90), true);
        QVERIFY(SimulatedWorld::holdsPart());
        SimulatedStage::setPosition(at(0, 0, kTravel, a));
        const Recognised f = recogniseHeld(a, 3.2, 1.6, scale);
        QVERIFY(f.found);
        VERIFY_NEAR(fold(f.angle - (turn - a), 90), 0, scale < 100 ? 0.3 : 0.1);
        const bool across = std::fabs(std::fmod(std::fabs(a), 180.0) - 90) < 45;
        VERIFY_NEAR(across ? f.height : f.width, 3.2 * scale, 0.1 * scale);
        VERIFY_NEAR(across ? f.width : f.height, 1.6 * scale, 0.1 * scale);
        // The part minus the nozzle at the pick, turned with the nozzle from
        // the pick to A; the camera looks up, so machine Y runs down the
        // picture's rows.
        const QPointF offset = turned(error - miss, -90 - a);
        VERIFY_NEAR(f.x / scale, offset.x(), 0.01);
        VERIFY_NEAR(f.y / scale, offset.y(), 0.01);
    }

    // The head camera finds the object where it lies, through its offset
    // and, mounted off where the program believes it, beyond it.
    void seenByTheHeadCamera()
    {
        const QPointF headError(0.3, -0.2);
        setWorld(worldMap());
        SimulatedWorld::setTableObject(object(false));
        SimulatedWorld::setCameraFaults({headError, false, {}});
        QVERIFY(SimulatedWorld::hasCurrent());
        // The camera at (179.6, 95.3) looks at (149.6, 100.3) plus its error;
        // the object's centre (150, 100) lies right of and below that.
        const SimulatedStage::Position camera = at(179.6, 95.3, kTravel);
        const QPointF seen = QPointF(149.6, 100.3) + headError;
        const Recognised r = element(render(QStringLiteral("sim:board"), camera), 50);
        QVERIFY(r.found);
        VERIFY_NEAR(r.x, (150 - seen.x()) * kPpm, 0.5);
        VERIFY_NEAR(r.y, (seen.y() - 100) * kPpm, 0.5);
        // A new world (the project changed) keeps it.
        setWorld(worldMap());
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
        setWorld(worldMap());
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
        setWorld(worldMap());
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
        const cv::Mat left = render(QStringLiteral("sim:board"), at(150, 315, kTravel));
        const cv::Mat kept = render(QStringLiteral("sim:board"), at(190, 335, kTravel));
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

    // A pick error stays with its feeder when the world is described again
    // (the program sends it on every feeder change) and goes with
    // clearFaults.
    void pickErrorKeptAndCleared()
    {
        SimulatedWorld::PickError e{0.25, -0.1, 2, {}};
        QVERIFY(SimulatedWorld::setPickError("L", 0, e));
        setFaultsWorld();
        setFaultsWorld();
        QVERIFY(pickAt(20, 100, 22));
        QPointF offset;
        double angle = 0, width = 0, height = 0;
        QVERIFY(SimulatedWorld::heldPart(at(0, 0, kTravel), &offset, &angle, &width, &height));
        QVERIFY(std::hypot(offset.x() - 0.25, offset.y() + 0.1) < 1e-9);
        QCOMPARE(angle, 2.0);
        releaseAt(500, 500, 30);

        SimulatedWorld::clearFaults();
        setFaultsWorld();
        QVERIFY(pickAt(30, 100, 22));
        QVERIFY(SimulatedWorld::heldPart(at(0, 0, kTravel), &offset, &angle, &width, &height));
        QCOMPARE(offset, QPointF());
        QVERIFY(!SimulatedWorld::setPickError("X", 0, e));
    }

    // Picks that the miss pattern marks leave the part where it lies: the
    // nozzle holds nothing (so the component camera shows nothing, as for
    // any empty nozzle) and the vacuum sensor emulator learns of an open
    // nozzle. A pattern that is refused leaves the one given unchanged.
    void missPattern_data()
    {
        QTest::addColumn<QVariant>("pattern");
        QTest::addColumn<QString>("held"); // per pick: 1 held, 0 missed; empty: refused
        QTest::newRow("every third pick (3)") << QVariant(3) << "110110";
        QTest::newRow("every other, first missed (\"x.\")") << QVariant("x.") << "010101";
        QTest::newRow("never (0)") << QVariant(0) << "111111";
        QTest::newRow("number as text") << QVariant("3") << "";
    }
    void missPattern()
    {
        QFETCH(QVariant, pattern);
        QFETCH(QString, held);
        SimulatedWorld::PickError e;
        e.miss.marks = QStringLiteral("unchanged");
        QString error;
        QCOMPARE(SimulatedWorld::Pattern::fromVariant(pattern, &e.miss, &error), !held.isEmpty());
        QCOMPARE(error.isEmpty(), !held.isEmpty());
        if (held.isEmpty()) {
            QCOMPARE(e.miss.marks, QStringLiteral("unchanged"));
            return;
        }
        QTemporaryDir dir;
        const QString state = dir.filePath("nozzle");
        SimulatedWorld::setNozzleStateFile(state);
        setFaultsWorld();
        QVERIFY(SimulatedWorld::setPickError("B", 1, e));
        QString seen;
        for (int i = 0; i < held.size(); ++i) {
            const bool holds = pickAt(60, 20, 19.45);
            seen += holds ? QLatin1Char('1') : QLatin1Char('0');
            NozzleStateFile::State s;
            QVERIFY(NozzleStateFile::read(state, &s));
            QVERIFY(s.valve);
            QCOMPARE(s.part, holds);
            releaseAt(300, 30, 20);
        }
        QCOMPARE(seen, held);
        QCOMPARE(SimulatedWorld::releases().size(), held.count(QLatin1Char('1')));
    }

    // The program's loose-part search (template search with flipped-part
    // detection, the feeder's photos from partPhoto) finds each part where
    // it lies, with its angle (over a full turn for an upright part: its
    // pin-1 dot tells), and tells an upturned part from an upright one.
    void looseFaceTold_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<bool>("flipped");
        QTest::newRow("upright, 30 degrees") << 30.0 << false;
        QTest::newRow("upside down, -100 degrees") << -100.0 << true;
    }
    void looseFaceTold()
    {
        QFETCH(double, angle);
        QFETCH(bool, flipped);
        setFaultsWorld();
        QVERIFY(SimulatedWorld::setLooseParts("U", 2, {{QPointF(300.3, 99.8), angle, flipped}}));
        const cv::Mat frame = headFrame(QPointF(300, 100));

        const LooseFound r = searchLoose(frame, true);
        QVERIFY(r.found);
        QCOMPARE(r.flipped, flipped);
        // An upturned part has no dot: its angle is known up to a half turn,
        // and less closely than an upright part's (its pad is as long as it
        // is wide, and its rim a pixel at the search's scale); it does not
        // need to be: the part is turned over where it lies and looked at
        // again.
        VERIFY_NEAR(fold(r.angle - angle, flipped ? 180 : 360), 0, flipped ? 3 : 0.5);
        // 0.3 mm right and 0.2 mm down in the picture, at 20 pixels per mm
        // (within 0.075 mm: the search area's centre is a whole pixel; 0.1
        // mm for an upturned part).
        const double near = flipped ? 2 : 1.5;
        VERIFY_NEAR(r.x, 6, near);
        VERIFY_NEAR(r.y, 4, near);
        // Without flipped-part detection an upturned part is not found.
        QCOMPARE(searchLoose(frame, false).found, !flipped);
    }

    // A part let go over a placer lies there again, turned over when the
    // nozzle was 10 mm or more above the placer's pick height; the program's
    // search then sees the face that is up.
    void dropTurnsOver_data()
    {
        QTest::addColumn<bool>("heldFlipped");
        QTest::addColumn<double>("height"); // above the pick height
        QTest::addColumn<bool>("landsFlipped");
        QTest::newRow("upright, 9.9 mm") << false << 9.9 << false;
        QTest::newRow("upright, 10 mm") << false << 10.0 << true;
        QTest::newRow("upside down, 12 mm") << true << 12.0 << false;
    }
    void dropTurnsOver()
    {
        QFETCH(bool, heldFlipped);
        QFETCH(double, height);
        QFETCH(bool, landsFlipped);
        const QPointF drop(310, 95);
        setFaultsWorld();
        QVERIFY(SimulatedWorld::setLooseParts("U", 2, {{QPointF(300, 100), 0, heldFlipped}}));
        QVERIFY(pickAt(300, 100, kLooseZ));
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 0);
        releaseAt(drop.x(), drop.y(), kLooseZ + height);

        const QVariantMap r = lastRelease();
        QVERIFY(r.value("onPlacer").toBool());
        const QVariantList parts = feederState("U", 2).value("parts").toList();
        QCOMPARE(parts.size(), 1);
        QCOMPARE(r.value("flipped").toBool(), landsFlipped);
        const QVariantMap lying = parts.first().toMap();
        QCOMPARE(lying.value("flipped").toBool(), landsFlipped);
        QCOMPARE(lying.value("x").toDouble(), drop.x());
        QCOMPARE(lying.value("y").toDouble(), drop.y());
        const LooseFound seen = searchLoose(headFrame(drop), true);
        QVERIFY(seen.found);
        QCOMPARE(seen.flipped, landsFlipped);
        // It can be picked from there again.
        QVERIFY(pickAt(drop.x(), drop.y(), kLooseZ));
    }

    // The nozzle state file carries the value of the held part for the RLC
    // meter emulator; the feeder's RLC error multiplies the parts its
    // pattern marks.
    void heldPartValue()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("nozzle");
        SimulatedWorld::setNozzleStateFile(path);
        NozzleStateFile::State s;
        // 100 nF capacitors on the tape, every second one measuring half
        // as much again.
        setFaultsWorld(withFeederValue(withFeederValue(faultsWorldMap(), 1, "rlcMode", "C"), 1, "rlcValue", 1e-7));
        QVERIFY(SimulatedWorld::setRlcError("B", 1, SimulatedWorld::RlcError{1.5, {QStringLiteral("01")}}));
        for (double value : {1e-7, 1.5e-7, 1e-7}) {
            QVERIFY(pickAt(60, 20, 19.45));
            QVERIFY(NozzleStateFile::read(path, &s));
            QCOMPARE(s.rlcMode, 'C');
            VERIFY_NEAR(s.rlcValue / value, 1, 1e-9);
            releaseAt(470, 120, 30);
        }
    }
};

QTEST_GUILESS_MAIN(TestSimulatedParts)
#include "tst_simulated_parts.moc"

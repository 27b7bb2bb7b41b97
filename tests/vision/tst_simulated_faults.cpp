// Faults and loose parts of the simulated machine, driven only by the head
// position and valve 1: pick errors kept with their feeder, picks that miss
// by a pattern, loose parts on a placer drawn for the head camera and told
// upright from upside down by the program's own template search, picked, and
// turned over by a drop from high enough; the value of the held part for the
// RLC meter.
#include "Near.h"
#include "SimulatedWorldFixture.h"
#include "util/NozzleStateFile.h"
#include "vision/CameraWorker.h"
#include "vision/MatImage.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace Sim;

namespace {

constexpr double kLooseZ = 21;
const QPointF kCameraShift(-30, 15);

QVariantMap loosePart(double x, double y, double angle, bool flipped)
{
    return QVariantMap{{"x", x}, {"y", y}, {"angle", angle}, {"flipped", flipped}};
}

// Three feeders:
//   L0, a tray of 3.2 x 1.6 parts lying along X at (20, 100) and (30, 100),
//       pick Z 22, resistors of 4.7 kOhm;
//   B1, a tape of 0603 parts (1.6 x 0.8), pockets every 4 mm along Y about
//       (60, 20), pick Z 19.45, no value for the RLC meter;
//   U2, loose 5 x 2.5 parts on a placer of two 32 x 24 mm windows centred on
//       (300, 100) and (340, 100), pick Z 21: upright at (295, 98) turned by
//       30 degrees, upside down at (306, 104) turned by -60, upright at
//       (340, 100).
QVariantMap worldMap()
{
    QVariantMap tray = feeder("L", 0, {{20, 100}, {30, 100}}, 22, 3.2, 1.6, 0.6);
    tray["angle"] = 0;
    tray["rlcMode"] = "R";
    tray["rlcValue"] = 4700;
    QVariantMap tape = feeder("B", 1, {{60, 16}, {60, 20}, {60, 24}}, 19.45, 1.6, 0.8, 0.45);
    tape["refills"] = true;
    QVariantMap loose = feeder("U", 2, {}, kLooseZ, 5, 2.5, 1);
    loose.remove("pockets");
    loose["loose"] = true;
    loose["placer"] = QVariantList{QVariant(QVariantList{300, 100, 32, 24}), QVariant(QVariantList{340, 100, 32, 24})};
    loose["parts"] = QVariantList{loosePart(295, 98, 30, false), loosePart(306, 104, -60, true),
                                  loosePart(340, 100, 0, false)};
    return QVariantMap{{"cameraShift", point(kCameraShift)},
                       {"feeders", QVariantList{tray, tape, loose}}};
}

void setFaultsWorld(const QVariantMap &map = worldMap(), double componentScale = 20)
{
    QVariantMap m = map;
    m["componentScale"] = componentScale;
    setWorld(m);
}

QVariantMap withoutFeeder(int index)
{
    QVariantMap map = worldMap();
    QVariantList feeders = map.value("feeders").toList();
    feeders.removeAt(index);
    map["feeders"] = feeders;
    return map;
}

// The head camera's frame with `seen` (machine coordinates) in its centre.
cv::Mat headFrame(const QPointF &seen)
{
    return render(QStringLiteral("sim:board"), at(seen - kCameraShift, kTravel));
}

// The grey of the point `seen` in the head camera's frame centred on `centre`.
int grey(const cv::Mat &bgr, const QPointF &seen, const QPointF &centre)
{
    return Sim::grey(bgr, 320 + (seen.x() - centre.x()) * kPpm, 240 - (seen.y() - centre.y()) * kPpm);
}

// The head camera's loose-part search as the program sets it up for a
// feeder with template search: "placerTemplateCenter" with the feeder's
// upright and upside-down photos, the template match coefficient camera1T2
// at 60 (a photo of the top scores up to about 40 % on an upturned part,
// so the feeder default 30 would take it for an upright one) and
// elFlippedMatchPercent at its default 80.
struct LooseFound {
    bool found = false;
    bool flipped = false;
    double x = 0, y = 0, angle = 0; // pixels from the frame centre, degrees
};

LooseFound searchLoose(const cv::Mat &frame, double width, double height, bool flippedEnabled)
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
    w.setCompareImage(MatImage::toRgbImage(SimulatedWorld::partPhoto(width, height, false, ppm)));
    w.setCompareFlippedImage(MatImage::toRgbImage(SimulatedWorld::partPhoto(width, height, true, ppm)));
    QSignalSpy obj(&w, &CameraWorker::objSend);
    QSignalSpy flipped(&w, &CameraWorker::flippedSend);
    w.processMat(frame, true);
    LooseFound r;
    if (obj.size() != 1)
        return r;
    r.found = obj[0][0].toBool();
    r.x = obj[0][1].toDouble();
    r.y = obj[0][2].toDouble();
    r.angle = obj[0][3].toDouble();
    r.flipped = !flipped.isEmpty() && flipped.last().at(0).toBool();
    return r;
}

} // namespace

class TestSimulatedFaults : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetSimulation(); }
    void cleanupTestCase() { resetSimulation(); }

    // A pick error stays with its feeder when the world is described again
    // (the program sends it on every feeder change), reaches a feeder that
    // is described only later, and goes with clearFaults.
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
        const QVariantMap shown = feederState("L", 0).value("pickError").toMap();
        QCOMPARE(shown.value("dx").toDouble(), 0.25);
        QCOMPARE(shown.value("turn").toDouble(), 2.0);
        releaseAt(500, 500, 30);

        // The tape is not described yet when its error is set.
        setFaultsWorld(withoutFeeder(1));
        e.dx = -0.3;
        e.turn = 0;
        QVERIFY(SimulatedWorld::setPickError("B", 1, e));
        setFaultsWorld();
        QVERIFY(pickAt(60, 20, 19.45));
        QVERIFY(SimulatedWorld::heldPart(at(0, 0, kTravel), &offset, &angle, &width, &height));
        QVERIFY(std::hypot(offset.x() + 0.3, offset.y() + 0.1) < 1e-9);
        releaseAt(500, 500, 30);

        SimulatedWorld::clearFaults();
        setFaultsWorld();
        QVERIFY(pickAt(30, 100, 22));
        QVERIFY(SimulatedWorld::heldPart(at(0, 0, kTravel), &offset, &angle, &width, &height));
        QCOMPARE(offset, QPointF());
        QCOMPARE(angle, 0.0);

        // Feeders and values refused.
        QVERIFY(!SimulatedWorld::setPickError("X", 0, e));
        e.dx = qQNaN();
        QVERIFY(!SimulatedWorld::setPickError("L", 0, e));
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
        QTest::newRow("every pick (1)") << QVariant(1) << "000000";
        QTest::newRow("every other, first missed (\"x.\")") << QVariant("x.") << "010101";
        QTest::newRow("the first of three (\"X--\")") << QVariant("X--") << "011011";
        QTest::newRow("never (0)") << QVariant(0) << "111111";
        QTest::newRow("never (nothing)") << QVariant() << "111111";
        QTest::newRow("number as text") << QVariant("3") << "";
        QTest::newRow("not whole") << QVariant(2.5) << "";
        QTest::newRow("too long a period") << QVariant(1001) << "";
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
        const QVariantMap f = feederState("B", 1);
        QCOMPARE(f.value("attempts").toInt(), held.size());
        QCOMPARE(f.value("partsTaken").toInt(), held.count(QLatin1Char('1')));
        QCOMPARE(SimulatedWorld::releases().size(), held.count(QLatin1Char('1')));
    }

    // A missed pick leaves a tray's part in its pocket; the nozzle stays
    // empty while the valve stays on, whatever it touches, and tries again
    // only after the valve was off.
    void missedPickLeavesThePart()
    {
        setFaultsWorld();
        QVERIFY(SimulatedWorld::setPickError("L", 0, {0, 0, 0, {QStringLiteral("10")}}));
        QVERIFY(!pickAt(20, 100, 22));
        SimulatedStage::setMachine(at(30, 100, kTravel), true);
        SimulatedStage::setMachine(at(30, 100, 22), true);
        QVERIFY(!SimulatedWorld::holdsPart());
        QCOMPARE(feederState("L", 0).value("attempts").toInt(), 1);
        QCOMPARE(feederState("L", 0).value("taken").toList(), QVariantList());
        SimulatedStage::setMachine(at(30, 100, kTravel), false);
        QVERIFY(pickAt(20, 100, 22));
        QCOMPARE(feederState("L", 0).value("taken").toList(), QVariantList{0});
    }

    // The head camera sees the placer's windows (a light grey plate) and
    // the loose parts on them: an upright part's dark body and bright pin-1
    // dot, an upturned part's dark body with a bright pad in its middle.
    void headCameraShowsLooseParts()
    {
        setFaultsWorld();
        const QPointF centre(305, 100);
        const cv::Mat frame = headFrame(centre);
        const int plate = grey(frame, QPointF(290, 110), centre);
        VERIFY_NEAR(plate, 125, 10);
        QVERIFY(grey(frame, QPointF(295, 98), centre) < 80); // the upright part's body
        QVERIFY(grey(frame, QPointF(306, 104), centre) > 190); // the upturned part's pad
        // The upright part's pin-1 dot: 0.84 mm towards its -X end, 0.53 mm
        // towards +Y, turned by 30 degrees.
        QVERIFY(grey(frame, QPointF(295, 98) + turned(QPointF(-0.84, 0.53), 30), centre) > 200);
    }

    // The program's loose-part search (template search with flipped-part
    // detection, the feeder's photos from partPhoto) finds each part where
    // it lies, with its angle (over a full turn for an upright part: its
    // pin-1 dot tells), and tells an upturned part from an upright one.
    void looseFaceTold_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("angle");
        QTest::addColumn<bool>("flipped");
        QTest::newRow("upright, 30 degrees") << 5.0 << 2.5 << 30.0 << false;
        QTest::newRow("upright, -150 degrees") << 5.0 << 2.5 << -150.0 << false;
        QTest::newRow("upside down, -100 degrees") << 5.0 << 2.5 << -100.0 << true;
        QTest::newRow("6 x 3, upside down, -20 degrees") << 6.0 << 3.0 << -20.0 << true;
        QTest::newRow("4 x 2, upright, -60 degrees") << 4.0 << 2.0 << -60.0 << false;
    }
    void looseFaceTold()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, angle);
        QFETCH(bool, flipped);
        setFaultsWorld();
        QVERIFY(SimulatedWorld::setLooseParts("U", 2, {{QPointF(300.3, 99.8), angle, flipped, width, height}}));
        const cv::Mat frame = headFrame(QPointF(300, 100));

        const LooseFound r = searchLoose(frame, width, height, true);
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
        QCOMPARE(searchLoose(frame, width, height, false).found, !flipped);
    }

    // The program's contour search (a loose-part feeder searched by
    // contours, camera1T1 at its default 150): with the picture inverted
    // (camera1Inv) it finds a part by its dark body, upright or upturned
    // alike (the pad of the underside lies inside the body's outline), in
    // the middle of the part and along it. Not inverted it sees only the
    // bright terminals, dot and pad, none of them the part's size.
    void looseContours_data()
    {
        QTest::addColumn<bool>("flipped");
        QTest::addColumn<bool>("inverse");
        QTest::addColumn<bool>("found");
        QTest::newRow("upright, inverted") << false << true << true;
        QTest::newRow("upturned, inverted") << true << true << true;
        QTest::newRow("upturned, not inverted") << true << false << false;
    }
    void looseContours()
    {
        QFETCH(bool, flipped);
        QFETCH(bool, inverse);
        QFETCH(bool, found);
        setFaultsWorld();
        QVERIFY(SimulatedWorld::setLooseParts("U", 2, {{QPointF(302, 99), 30, flipped}}));
        CameraWorker w;
        w.setMode(QStringLiteral("placerContours"));
        w.setParam1(150);
        w.setInverse(inverse);
        w.setRoiPercent(60);
        w.setTargetSize(5 * 20);
        w.setTargetSize2(2.5 * 20);
        w.setShowPercent(100);
        QSignalSpy obj(&w, &CameraWorker::objSend);
        QSignalSpy all(&w, &CameraWorker::objArraySend);
        w.processMat(headFrame(QPointF(300, 100)), true);
        QCOMPARE(obj.size(), 1);
        QCOMPARE(obj[0][0].toBool(), found);
        QCOMPARE(all.size(), 1);
        const QList<qreal> xs = all[0][0].value<QList<qreal>>();
        const QList<qreal> ys = all[0][1].value<QList<qreal>>();
        const QList<qreal> angles = all[0][2].value<QList<qreal>>();
        QCOMPARE(xs.size(), found ? 1 : 0);
        if (!found)
            return;
        // 2 mm right and 1 mm down in the picture, turned by 30 degrees
        // counter-clockwise: clockwise in the picture's rows-down sense.
        VERIFY_NEAR(xs.first(), 40, 1.5);
        VERIFY_NEAR(ys.first(), 20, 1.5);
        VERIFY_NEAR(fold(angles.first() + 30, 180), 0, 1);
    }

    // The nozzle takes a loose part as it takes a pocket's part, holding it
    // as it lay: the program picks at minus the found angle, so that the part
    // lies along X with the nozzle back at A 0. It is gone from the placer,
    // and a pick that the feeder's pattern misses leaves it there.
    void loosePartPicked()
    {
        setFaultsWorld(worldMap(), 120);
        QVERIFY(SimulatedWorld::setPickError("U", 2, {0, 0, 0, {QStringLiteral("10")}}));
        QVERIFY(!pickAt(295, 98, kLooseZ, -30));
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 3);
        SimulatedStage::setMachine(at(295, 98, kTravel, -30), false);
        QVERIFY(pickAt(295, 98, kLooseZ, -30));
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 2);
        const LooseFound upturned = searchLoose(headFrame(QPointF(306, 104)), 5, 2.5, true);
        QVERIFY(upturned.found && upturned.flipped);
        QVERIFY(grey(headFrame(QPointF(295, 98)), QPointF(295, 98), QPointF(295, 98)) > 115); // the plate

        SimulatedStage::setMachine(at(250, 80, kTravel, 0), true);
        const Recognised f = recogniseHeld(0, 5, 2.5, 120);
        QVERIFY(f.found);
        VERIFY_NEAR(fold(f.angle, 90), 0, 0.1);
        VERIFY_NEAR(f.width, 5 * 120, 0.1 * 120);
        QVERIFY(std::hypot(f.x, f.y) < 0.01 * 120);

        releaseAt(470, 120, 30);
        QVariantMap r = lastRelease();
        QCOMPARE(r.value("loose").toBool(), true);
        QCOMPARE(r.value("pocket").toInt(), -1);
        QCOMPARE(r.value("flipped").toBool(), false);
        QCOMPARE(r.value("onPlacer").toBool(), false);

        // The upturned part, picked 0.2 mm beside its centre along its own X
        // (at A 60, as the program turns to it) and let go at A 0; the third
        // pick would miss again ("10" over and over) without a new error.
        QVERIFY(SimulatedWorld::setPickError("U", 2, SimulatedWorld::PickError()));
        QVERIFY(pickAt(306 + 0.2 * std::cos(-M_PI / 3), 104 + 0.2 * std::sin(-M_PI / 3), kLooseZ, 60));
        releaseAt(470, 120, 30);
        r = lastRelease();
        QCOMPARE(r.value("flipped").toBool(), true);
        VERIFY_NEAR(r.value("partX").toDouble(), 469.8, 1e-9);
        VERIFY_NEAR(r.value("partY").toDouble(), 120, 1e-9);
        VERIFY_NEAR(r.value("partAngle").toDouble(), 0, 1e-9);
    }

    // A part let go over a placer lies there again, turned over when the
    // nozzle was 10 mm or more above the placer's pick height; the program's
    // search then sees the face that is up. A part let go beside the
    // windows goes to the basket.
    void dropTurnsOver_data()
    {
        QTest::addColumn<bool>("heldFlipped");
        QTest::addColumn<double>("height"); // above the pick height
        QTest::addColumn<QPointF>("drop");
        QTest::addColumn<bool>("onPlacer");
        QTest::addColumn<bool>("landsFlipped");
        const QPointF inside(310, 95);
        QTest::newRow("upright, 9.9 mm") << false << 9.9 << inside << true << false;
        QTest::newRow("upright, 10 mm") << false << 10.0 << inside << true << true;
        QTest::newRow("upside down, 12 mm") << true << 12.0 << inside << true << false;
        QTest::newRow("upright, second window") << false << 15.0 << QPointF(350, 108) << true << true;
        QTest::newRow("beside the windows") << false << 15.0 << QPointF(300, 115) << false << false;
    }
    void dropTurnsOver()
    {
        QFETCH(bool, heldFlipped);
        QFETCH(double, height);
        QFETCH(QPointF, drop);
        QFETCH(bool, onPlacer);
        QFETCH(bool, landsFlipped);
        setFaultsWorld();
        QVERIFY(SimulatedWorld::setLooseParts("U", 2, {{QPointF(300, 100), 0, heldFlipped}}));
        QVERIFY(pickAt(300, 100, kLooseZ));
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 0);
        releaseAt(drop.x(), drop.y(), kLooseZ + height);

        const QVariantMap r = lastRelease();
        QCOMPARE(r.value("onPlacer").toBool(), onPlacer);
        QCOMPARE(r.value("placerBank").toString(), onPlacer ? QStringLiteral("U") : QString());
        QCOMPARE(r.value("placerFeeder").toInt(), onPlacer ? 2 : -1);
        const QVariantList parts = feederState("U", 2).value("parts").toList();
        QCOMPARE(parts.size(), onPlacer ? 1 : 0);
        if (!onPlacer)
            return;
        QCOMPARE(r.value("flipped").toBool(), landsFlipped);
        const QVariantMap lying = parts.first().toMap();
        QCOMPARE(lying.value("flipped").toBool(), landsFlipped);
        QCOMPARE(lying.value("x").toDouble(), drop.x());
        QCOMPARE(lying.value("y").toDouble(), drop.y());
        const LooseFound seen = searchLoose(headFrame(drop), 5, 2.5, true);
        QVERIFY(seen.found);
        QCOMPARE(seen.flipped, landsFlipped);
        // It can be picked from there again.
        QVERIFY(pickAt(drop.x(), drop.y(), kLooseZ));
    }

    // The parts on a placer stay as the nozzle left them when the world is
    // described again; resetParts lays them out anew (the test's own parts
    // while they are set), clearFaults brings back the described ones.
    void loosePartsKept()
    {
        setFaultsWorld();
        QVERIFY(pickAt(340, 100, kLooseZ));
        releaseAt(470, 120, 30);
        setFaultsWorld();
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 2);
        SimulatedWorld::resetParts();
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 3);

        SimulatedWorld::LoosePart p{QPointF(330, 95), 12};
        QVERIFY(SimulatedWorld::setLooseParts("U", 2, {p, p}));
        setFaultsWorld();
        QVariantList parts = feederState("U", 2).value("parts").toList();
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts.first().toMap().value("angle").toDouble(), 12.0);
        QCOMPARE(parts.first().toMap().value("width").toDouble(), 5.0); // the feeder's size
        QVERIFY(pickAt(330, 95, kLooseZ));
        releaseAt(470, 120, 30);
        setFaultsWorld();
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 1);
        SimulatedWorld::resetParts();
        QCOMPARE(feederState("U", 2).value("parts").toList().size(), 2);
        SimulatedWorld::clearFaults();
        parts = feederState("U", 2).value("parts").toList();
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts.at(1).toMap().value("flipped").toBool(), true);
        p.angle = qInf();
        QVERIFY(!SimulatedWorld::setLooseParts("U", 2, {p}));
    }

    // The nozzle state file follows valve and part for the vacuum sensor
    // emulator (the valve on an empty nozzle: the miss pattern) and carries
    // the value of the held part for the RLC meter emulator; the feeder's RLC error multiplies the parts its
    // pattern marks.
    void heldPartValue()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("nozzle");
        SimulatedWorld::setNozzleStateFile(path);
        setFaultsWorld();
        NozzleStateFile::State s;
        QVERIFY(pickAt(60, 20, 19.45));
        QVERIFY(NozzleStateFile::read(path, &s));
        QVERIFY(s.part);
        QCOMPARE(s.rlcMode, char(0));
        releaseAt(470, 120, 30);
        QVERIFY(pickAt(20, 100, 22));
        QVERIFY(NozzleStateFile::read(path, &s));
        QCOMPARE(s.rlcMode, 'R');
        QCOMPARE(s.rlcValue, 4700.0);
        releaseAt(470, 120, 30);
        QVERIFY(NozzleStateFile::read(path, &s));
        QVERIFY(!s.valve && !s.part);
        QCOMPARE(s.rlcMode, char(0));
        // Only the file itself is left in the folder.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"nozzle"});
        QVERIFY(!NozzleStateFile::read(dir.filePath("missing"), &s));

        // 100 nF capacitors on the tape, every second one measuring half
        // as much again.
        setFaultsWorld(withFeederValue(withFeederValue(worldMap(), 1, "rlcMode", "C"), 1, "rlcValue", 1e-7));
        const SimulatedWorld::RlcError e{1.5, {QStringLiteral("01")}};
        QVERIFY(SimulatedWorld::setRlcError("B", 1, e));
        const QList<double> expected{1e-7, 1.5e-7, 1e-7, 1.5e-7};
        for (double value : expected) {
            QVERIFY(pickAt(60, 20, 19.45));
            QVERIFY(NozzleStateFile::read(path, &s));
            QCOMPARE(s.rlcMode, 'C');
            VERIFY_NEAR(s.rlcValue / value, 1, 1e-9);
            releaseAt(470, 120, 30);
        }
        QVERIFY(!SimulatedWorld::setRlcError("B", 1, SimulatedWorld::RlcError{0, {}}));
    }

    // A loose part's photos look as the head camera sees the part
    // (looseFaceTold finds parts with them); a size that is none gives none.
    void noPhotoOfNoSize()
    {
        for (bool flipped : {false, true}) {
            QVERIFY(SimulatedWorld::partPhoto(0, 2.5, flipped, kPpm).empty());
            QVERIFY(SimulatedWorld::partPhoto(1000, 2, flipped, kPpm).empty());
        }
    }
};

QTEST_GUILESS_MAIN(TestSimulatedFaults)
#include "tst_simulated_faults.moc"

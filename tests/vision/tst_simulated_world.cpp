// The world of the simulated head camera: the project's marks where the
// machine sees them, found by the camera's own recognition, with the real
// board moved and turned against the project; the descriptions it takes;
// the simulated cameras' scenes and their frames through the real capture
// code.
// The tapes of the tape feeders: the sprocket holes are found by the
// program's own hole recognition where the tape lies, also when the real
// tape lies off its feeder's pick point, and the tape stays where it is when
// the program stores a new pick point.
#include "Near.h"
#include "SimulatedWorldFixture.h"
#include "vision/CameraCapture.h"

#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <opencv2/imgproc.hpp>

using namespace Sim;

namespace {

// A board 80 x 60 mm with a round mark at each of two corners and one
// mark under test; the pivot is the first corner mark. The calibration mark
// lies on the table.
const QPointF kPivot(105, 395);
const QPointF kMarkUnderTest(150, 380);
const QPointF kTableMark(30, 250);

QVariantMap mark(const QPointF &at, const QString &shape, double size, double size2)
{
    return QVariantMap{{"x", at.x()}, {"y", at.y()}, {"shape", shape}, {"size", size}, {"size2", size2}};
}

QVariantMap worldMap(const QString &shape, double size, double size2, const QPointF &shift)
{
    return QVariantMap{
        {"boards", QVariantList{points({{100, 400}, {180, 400}, {180, 340}, {100, 340}})}},
        {"marks", QVariantList{mark(kPivot, "round", 1, 1), mark(QPointF(175, 345), "round", 1, 1),
                               mark(kMarkUnderTest, shape, size, size2)}},
        {"dots", QVariantList{QVariantMap{{"x", 160}, {"y", 370}, {"size", 0.5}}}},
        {"tableMarks", QVariantList{mark(kTableMark, "round", 1, 1)}},
        {"pivot", point(kPivot)},
        {"cameraShift", point(shift)}};
}

// The marks' world with a tray (4.7 kOhm resistors, an 8 mm tape) and a
// loose-part feeder with one placer window.
QVariantMap describedWorld()
{
    QVariantMap tray = feeder("L", 0, {{20, 100}, {30, 100}}, 22, 3.2, 1.6, 0.6);
    tray["rlcMode"] = "R";
    tray["rlcValue"] = 4700;
    tray["tape"] = QVariantMap{{"pick", point(20, 100)}, {"holeOffset", 3.5}, {"holeSide", -1}, {"width", 8}};
    QVariantMap loose = feeder("U", 2, {}, 21, 5, 2.5, 1);
    loose["loose"] = true;
    loose["placer"] = QVariantList{QVariant(QVariantList{300, 100, 32, 24})};
    QVariantMap m = worldMap("round", 1, 1, QPointF(-30, 15));
    m["feeders"] = QVariantList{tray, loose};
    return m;
}

// The head camera's recognition as the program sets it up for a mark.
Recognised recognise(const cv::Mat &frame, const QString &shape, double size, double size2)
{
    RecognitionSettings settings;
    settings.mode = shape == QLatin1String("square") ? QStringLiteral("square") : QStringLiteral("circle");
    settings.targetSize = size * kPpm;
    settings.targetSize2 = size2 * kPpm;
    return recogniseFrame(frame, settings);
}

cv::Mat frameAt(const QPointF &machine) { return render(QStringLiteral("sim:board"), at(machine)); }


constexpr int kFrameWidth = 1280;

// Along and across the tape of a bank (bottom and upper banks run along Y),
// and the side of the pockets the holes lie on.
struct BankGeometry {
    bool alongY;
    int holeSide;
};

BankGeometry geometry(const QString &bank)
{
    if (bank == QLatin1String("B"))
        return {true, -1};
    if (bank == QLatin1String("U"))
        return {true, 1};
    if (bank == QLatin1String("R"))
        return {false, -1};
    return {false, 1};
}

// A tape feeder of 0603 parts at `pick`, pockets every 4 mm.
QVariantMap tapeFeeder(const QString &bank, int index, const QPointF &pick, double holeOffset, double width)
{
    const BankGeometry g = geometry(bank);
    QVector<QPointF> pockets;
    for (int i = -2; i <= 2; ++i)
        pockets.append(pick + (g.alongY ? QPointF(0, 4 * i) : QPointF(4 * i, 0)));
    QVariantMap f = feeder(bank, index, pockets, 19.45, 1.6, 0.8, 0.45);
    f["refills"] = true;
    f["angle"] = 0;
    f["tape"] = QVariantMap{{"pick", point(pick)}, {"alongY", g.alongY}, {"holeOffset", holeOffset},
                            {"holeSide", g.holeSide}, {"width", width}};
    return f;
}

// A board elsewhere (the scene shows the world only when it has one) and
// the feeders given.
void setFeeders(const QVariantList &feeders)
{
    setWorld(QVariantMap{{"boards", QVariantList{points({{200, 300}, {300, 300}, {300, 380}})}},
                         {"cameraShift", point(-30, 15)},
                         {"feeders", feeders}});
}

// The head camera's hole search as the tape centring sets it: a 7 mm wide
// search region, threshold 200, holes of 1.6 mm, the camera's own size
// tolerance.
Recognised findHole(const QPointF &seen)
{
    // The camera centre on `seen`.
    const cv::Mat frame = render(QStringLiteral("sim:board"), at(seen + QPointF(30, -15)), kFrameWidth, 960);
    RecognitionSettings s;
    s.mode = QStringLiteral("hole");
    s.param1 = 200;
    s.param2 = 250;
    s.targetSize = 1.6 * kPpm;
    s.targetSize2 = 1.6 * kPpm;
    s.tolerance = 5;
    s.roiPercent = int(100 * 7 * kPpm / kFrameWidth);
    return recogniseFrame(frame, s);
}

// The hole nearest to the pick point, 2 mm along the tape towards lower X or
// Y, for a tape lying where its record says.
QPointF expectedHole(const QString &bank, const QPointF &pick, double holeOffset)
{
    const BankGeometry g = geometry(bank);
    const QPointF across = g.alongY ? QPointF(g.holeSide * holeOffset, 0) : QPointF(0, g.holeSide * holeOffset);
    const QPointF along = g.alongY ? QPointF(0, -2) : QPointF(-2, 0);
    return pick + across + along;
}


// Centre of the bright pixels (above a level) of a frame.
cv::Point2d brightCentre(const cv::Mat &bgr, int level)
{
    cv::Mat grey, mask;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    cv::threshold(grey, mask, level, 255, cv::THRESH_BINARY);
    const cv::Moments m = cv::moments(mask, true);
    return m.m00 > 0 ? cv::Point2d(m.m10 / m.m00, m.m01 / m.m00) : cv::Point2d(-1, -1);
}

} // namespace

class TestSimulatedWorld : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetSimulation(); }

    // The camera goes where the program sends it for the mark (its design
    // position less the camera offset, plus an approach error) and the
    // recognition reports the mark's offset from the frame centre in pixels,
    // image Y downwards, wherever the real board lies: the program takes x /
    // ppm + X + shift, -y / ppm + Y + shift for the real mark. The
    // calibration mark belongs to the table and stays where it is.
    void markFoundAtItsPixelOffset_data()
    {
        QTest::addColumn<QPointF>("design");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<QPointF>("shift");    // camera1XShift, camera1YShift
        QTest::addColumn<QPointF>("approach"); // camera centre minus design position, mm
        QTest::addColumn<QPointF>("moved");    // the real board against the project
        QTest::addColumn<double>("turn");      // degrees about the pivot
        const QPointF offset(-30, 15);
        const QPointF mark = kMarkUnderTest;
        QTest::newRow("round, board turned -1.2 deg and moved")
            << mark << "round" << QSizeF(1.5, 1.5) << offset << QPointF(-0.6, 0.3)
            << QPointF(0.25, 0.4) << -1.2;
        QTest::newRow("square 1.2 x 0.8, moved") << mark << "square" << QSizeF(1.2, 0.8) << offset
                                                 << QPointF(1.3, -0.7) << QPointF(0.3, -0.2) << 0.0;
        QTest::newRow("table mark, board moved and turned")
            << kTableMark << "round" << QSizeF(1, 1) << offset << QPointF(0.5, 0.25) << QPointF(1.5, -0.8)
            << 2.0;
    }
    void markFoundAtItsPixelOffset()
    {
        QFETCH(QPointF, design);
        QFETCH(QString, shape);
        QFETCH(QSizeF, size);
        QFETCH(QPointF, shift);
        QFETCH(QPointF, approach);
        QFETCH(QPointF, moved);
        QFETCH(double, turn);
        setWorld(worldMap(shape, size.width(), size.height(), shift));
        SimulatedWorld::setDisplacement({moved.x(), moved.y(), turn});

        // Where the real mark is: turned about the pivot, then moved.
        const QPointF real =
            design == kTableMark ? design : kPivot + turned(design - kPivot, turn) + moved;
        const QPointF machine = design - shift + approach;
        const QPointF seen = machine + shift;
        const Recognised f = recognise(frameAt(machine), shape, size.width(), size.height());
        QVERIFY(f.found);
        VERIFY_NEAR(f.x, (real.x() - seen.x()) * kPpm, 0.5);
        VERIFY_NEAR(f.y, -(real.y() - seen.y()) * kPpm, 0.5);
    }

    // Away from every mark the recognition finds nothing: a solder dot is
    // no mark.
    void nothingFoundAwayFromTheMarks()
    {
        setWorld(worldMap("round", 1, 1, QPointF()));
        QVERIFY(!recognise(frameAt(QPointF(160, 370)), "round", 1, 1).found);
    }

    // With no world the head camera keeps showing the calibration plate
    // (round marks every 10 mm), which is also its own scene.
    void withoutAWorldTheBoardSceneIsThePlate()
    {
        const cv::Mat plate = render(QStringLiteral("sim:plate"), at(100, 50));
        cv::Mat diff;
        cv::absdiff(plate, render(QStringLiteral("sim:board"), at(100, 50)), diff);
        QCOMPARE(cv::countNonZero(diff.reshape(1)), 0);

        setWorld(worldMap("round", 1, 1, QPointF()));
        cv::absdiff(plate, render(QStringLiteral("sim:board"), at(100, 50)), diff);
        QVERIFY(cv::countNonZero(diff.reshape(1)) > 0);
        cv::absdiff(plate, render(QStringLiteral("plate"), at(100, 50)), diff);
        QCOMPARE(cv::countNonZero(diff.reshape(1)), 0);
    }

    // The simulated machine's settings store converts head camera pixels
    // with the scale the head camera scenes are drawn at; the component
    // camera draws at the scale the settings give it, which the world must
    // take.
    void simulatedSettingsUseTheSceneScale()
    {
        const QSettings settings(QStringLiteral(KESTRAVO_SIM_SETTINGS), QSettings::IniFormat);
        QVERIFY(settings.contains("device/camera1MM"));
        QCOMPARE(settings.value("device/camera1MM").toDouble(), SimulatedScene::kPixelsPerMm);
        QVERIFY(settings.contains("device/camera2MM"));
        SimulatedWorld world;
        QString error;
        QVERIFY2(SimulatedWorld::fromVariant({{"componentScale", settings.value("device/camera2MM")}}, &world, &error),
                 qPrintable(error));
        QCOMPARE(world.componentPixelsPerMm, settings.value("device/camera2MM").toDouble());
    }

    // Descriptions the world takes, and those it refuses whole: one row for
    // the number check every value goes through.
    void descriptions_data()
    {
        QTest::addColumn<QVariantMap>("map");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("drawn"); // marks and dots
        QTest::addColumn<int>("feeders");
        const QVariantMap good = describedWorld();
        // The whole world with `key` set to `value`.
        const auto with = [&good](const QString &key, const QVariant &value) {
            QVariantMap m = good;
            m[key] = value;
            return m;
        };
        QTest::newRow("whole world") << good << true << 4 << 2;
        QTest::newRow("mark not at a number") << with("marks", QVariantList{mark(QPointF(qQNaN(), 2), "round", 1, 1)})
                                              << false << 0 << 0;
    }
    void descriptions()
    {
        QFETCH(QVariantMap, map);
        QFETCH(bool, accepted);
        QFETCH(int, drawn);
        QFETCH(int, feeders);
        SimulatedWorld world;
        world.marks.append(SimulatedWorld::Mark()); // replaced only when accepted
        QString error;
        QCOMPARE(SimulatedWorld::fromVariant(map, &world, &error), accepted);
        QCOMPARE(error.isEmpty(), accepted);
        if (!accepted) {
            QCOMPARE(world.marks.size(), 1);
            return;
        }
        QCOMPARE(world.marks.size() + world.dots.size(), drawn);
        QCOMPARE(world.feeders.size(), feeders);
        QCOMPARE(world.componentPixelsPerMm,
                 map.value("componentScale", SimulatedWorld::kDefaultComponentPixelsPerMm).toDouble());
        // The description comes back as it went in.
        SimulatedWorld again;
        QVERIFY(SimulatedWorld::fromVariant(world.toVariant(), &again, nullptr));
        QCOMPARE(again.toVariant(), world.toVariant());
    }

    // The camera looks where the hole should be (a little off, as a real
    // approach is); the recognition reports the real hole's offset from the
    // frame centre in pixels, image Y downwards.
    void holeFoundWhereTheTapeLies_data()
    {
        QTest::addColumn<QString>("bank");
        QTest::addColumn<double>("holeOffset");
        QTest::addColumn<double>("width");
        QTest::addColumn<QPointF>("tapeOffset");
        QTest::addColumn<QPointF>("cameraError");
        QTest::newRow("U, 12 mm, tape off (-0.6, 0.35)") << "U" << 5.5 << 12.0 << QPointF(-0.6, 0.35) << QPointF();
        QTest::newRow("R, 24 mm, tape off (0.45, 0.2), camera off")
            << "R" << 11.5 << 24.0 << QPointF(0.45, 0.2) << QPointF(-0.1, 0.1);
    }
    void holeFoundWhereTheTapeLies()
    {
        QFETCH(QString, bank);
        QFETCH(double, holeOffset);
        QFETCH(double, width);
        QFETCH(QPointF, tapeOffset);
        QFETCH(QPointF, cameraError);
        const QPointF pick(120, 60);
        setFeeders({tapeFeeder(bank, 3, pick, holeOffset, width)});
        QVERIFY(SimulatedWorld::setTapeOffset(bank, 3, tapeOffset.x(), tapeOffset.y()));

        const QPointF centre = expectedHole(bank, pick, holeOffset) + cameraError;
        const Recognised r = findHole(centre);
        QVERIFY(r.found);
        const QPointF hole = expectedHole(bank, pick, holeOffset) + tapeOffset;
        VERIFY_WITHIN(r.x, (hole.x() - centre.x()) * kPpm, 1.0);
        VERIFY_WITHIN(r.y, (centre.y() - hole.y()) * kPpm, 1.0);
    }

    // The program centres the feeder and stores the hole's pick point: the
    // world gets the new record, and the tape does not follow it.
    void tapeStaysWhenTheRecordMoves()
    {
        const QPointF pick(60, 20);
        const QPointF offset(0.4, -0.3);
        setFeeders({tapeFeeder("B", 0, pick, 3.5, 8)});
        QVERIFY(SimulatedWorld::setTapeOffset("B", 0, offset.x(), offset.y()));
        const QPointF hole = expectedHole("B", pick, 3.5) + offset;

        setFeeders({tapeFeeder("B", 0, pick + offset, 3.5, 8)});
        const Recognised r = findHole(hole);
        QVERIFY(r.found);
        VERIFY_WITHIN(r.x, 0, 1.0);
        VERIFY_WITHIN(r.y, 0, 1.0);
        const QVariantMap tape = SimulatedWorld::current().toVariant().value("feeders").toList().at(0).toMap()
                                     .value("tape").toMap();
        QCOMPARE(tape.value("shift").toList(), point(0, 0));
        QCOMPARE(SimulatedWorld::current().feeders.at(0).pockets.at(2), pick + offset);

        // Back where its record says.
        SimulatedWorld::clearTapeOffsets();
        QCOMPARE(SimulatedWorld::current().feeders.at(0).pockets.at(2), pick + offset);
        setFeeders({tapeFeeder("B", 0, pick, 3.5, 8)});
        QCOMPARE(SimulatedWorld::current().feeders.at(0).pockets.at(2), pick);
    }

    // The parts lie in the real tape: the nozzle at the record's pick point
    // holds its part off by the tape's offset.
    void partsLieInTheRealTape()
    {
        const QPointF pick(60, 20);
        setFeeders({tapeFeeder("B", 0, pick, 3.5, 8)});
        QVERIFY(SimulatedWorld::setTapeOffset("B", 0, 0.3, 0.2));
        const SimulatedStage::Position p = at(pick, 19.45);
        SimulatedWorld::followMachine(p, true);
        QPointF offset;
        double angle = 0, w = 0, h = 0;
        QVERIFY(SimulatedWorld::heldPart(p, &offset, &angle, &w, &h));
        VERIFY_NEAR(offset.x(), 0.3, 1e-9);
        VERIFY_NEAR(offset.y(), 0.2, 1e-9);
        SimulatedWorld::followMachine(p, false);
    }

    // A round mark lies on every 10 mm of the board; the camera at (X, Y)
    // sees the board point (X, Y) in the frame centre, Y upwards.
    void boardMovesWithMachine()
    {
        const double ppm = SimulatedScene::kPixelsPerMm;
        const double markCol = 320.0 + 0.75 * ppm, markRow = 240.0 - 1.5 * ppm;
        SimulatedScene scene("sim:board");
        cv::Mat frame;
        scene.render(frame, 640, 480, at(99.25, 48.5), 0);
        QCOMPARE(frame.cols, 640);
        QCOMPARE(frame.rows, 480);
        // Only the marks are near white; look at the one near the centre.
        const int r = int(2 * SimulatedScene::kPixelsPerMm);
        cv::Rect around(int(markCol) - r, int(markRow) - r, 2 * r, 2 * r);
        const cv::Point2d c = brightCentre(frame(around), 190);
        VERIFY_NEAR(c.x + around.x, markCol, 0.6);
        VERIFY_NEAR(c.y + around.y, markRow, 0.6);
        // Its size: 1 mm across.
        cv::Mat grey;
        cv::cvtColor(frame(around), grey, cv::COLOR_BGR2GRAY);
        const double area = cv::countNonZero(grey > 190);
        const double expected = M_PI * std::pow(SimulatedScene::kMarkDiameterMm / 2 * SimulatedScene::kPixelsPerMm, 2);
        VERIFY_NEAR(area, expected, expected * 0.15);
    }

    // The real capture code on the simulated component camera: it opens,
    // streams and shows the scene, in its one mode, 1280 x 960, whatever is
    // asked.
    void capturesFromSimulatedCamera()
    {
        const QString scene = QStringLiteral("sim:component");
        const int width = 1280, height = 960;
        SimulatedStage::setPosition(at(30, 40));
        CameraCapture capture;
        QSignalSpy frames(&capture, &CameraCapture::frameCaptured);
        capture.setName(scene);
        capture.setCapture(true);
        QVERIFY(capture.isOpened());
        QCOMPARE(capture.frameWidth(), width);
        QCOMPARE(capture.frameHeight(), height);
        QCOMPARE(capture.commandsRun().size(), 0); // no exposure tool for it

        cv::Mat frame;
        QVERIFY(frames.count() > 0 || frames.wait(1000));
        QVERIFY(capture.takeFrame(frame, nullptr));

        QCOMPARE(frame.cols, width);
        QCOMPARE(frame.rows, height);
        cv::Mat expected;
        SimulatedScene(scene).render(expected, width, height, at(30, 40), 0);
        cv::Mat diff;
        cv::absdiff(frame, expected, diff);
        const cv::Scalar mean = cv::mean(diff);
        QVERIFY2(mean[0] < 4 && mean[1] < 4 && mean[2] < 4,
                 qPrintable(QStringLiteral("mean difference %1 %2 %3").arg(mean[0]).arg(mean[1]).arg(mean[2])));
    }

    void unknownSimulatedNameFailsToOpen()
    {
        CameraCapture capture;
        capture.setName(QStringLiteral("sim:/no/such/folder"));
        capture.setRestartInterval(100000);
        capture.setCapture(true);
        QVERIFY(!capture.isOpened());
        QVERIFY(capture.restartTimerActive());
    }
};

QTEST_GUILESS_MAIN(TestSimulatedWorld)
#include "tst_simulated_world.moc"

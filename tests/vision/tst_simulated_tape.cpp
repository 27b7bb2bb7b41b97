// The tapes of the simulated tape feeders as the head camera sees them: the
// sprocket holes are found by the program's own hole recognition where the
// tape lies, also when the real tape lies off its feeder's pick point, and
// the tape stays where it is when the program stores a new pick point.
#include "Near.h"
#include "SimulatedWorldFixture.h"

#include <QtTest>

using namespace Sim;

namespace {

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

} // namespace

class TestSimulatedTape : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetSimulation(); }

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
};

QTEST_MAIN(TestSimulatedTape)
#include "tst_simulated_tape.moc"

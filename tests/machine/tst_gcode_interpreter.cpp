// The G-code interpreter over a recording machine: exact command lists for
// parsing, limits, accelerations, outputs, dwells and completion.
#include "machine/GCodeInterpreter.h"

#include <QTest>

#include <limits>

namespace {

// Records every command as text and moves the simulated axes at once.
class RecordingPort : public MotionPort
{
public:
    QStringList log;
    GCodeInterpreter *interp = nullptr;

    void moveAxis(int axis, double target, double velocity) override
    {
        log << QStringLiteral("move %1 %2 v%3").arg(Axes::letter(axis)).arg(target).arg(velocity);
    }
    void setOutput(int index, bool on) override { log << QStringLiteral("out %1 %2").arg(index).arg(on ? "on" : "off"); }
    void setAccelerationLimit(int axis, int value) override
    {
        log << QStringLiteral("acc %1 %2").arg(Axes::letter(axis)).arg(value);
    }
    void setFollowingErrorLimit(int axis, double value) override
    {
        log << QStringLiteral("ferror %1 %2").arg(Axes::letter(axis)).arg(value);
    }
    void requestVacuumReference() override { log << QStringLiteral("vacuum reference"); }
    void reportError(const QString &text) override { log << QStringLiteral("error: ") + text; }
    void showError(const QString &text) override { log << QStringLiteral("show: ") + text; }
    void emergencyStop() override
    {
        log << QStringLiteral("estop");
        interp->finish();
    }
};

GCodeInterpreter::AxisSettings machine()
{
    GCodeInterpreter::AxisSettings s;
    s.maxVelocity = {300, 300, 100, 1000, 100, 100, -1};
    s.maxAcceleration = {3000, 3000, 2000, 20000, 1000, 1000, -1};
    s.softMin = {-5, -5, -5, -100000, -100000, -100000, 0};
    s.softMax = {500, 500, 30, 100000, 100000, 100000, 0};
    s.ferror = {10, 10, 8};
    s.zMax = 25;
    s.zMaxText = QStringLiteral("z25.000");
    return s;
}

struct Run
{
    bool finished = false;
    bool success = false;
    QList<int> waits;
};

} // namespace

class TestGCodeInterpreter : public QObject
{
    Q_OBJECT

    RecordingPort port;
    GCodeInterpreter *interp = nullptr;
    MachineStatus status;

    // Runs a block to its end; every move arrives at once (after being seen
    // under way), every wait is recorded.
    Run run(const QString &text, int maxSteps = 100)
    {
        Run r;
        port.log.clear();
        if (interp->accept(text, false) != GCodeInterpreter::Accept::Started)
            return r;
        for (int i = 0; i < maxSteps; ++i) {
            const int before = port.log.size();
            const GCodeInterpreter::Step s = interp->step(status);
            if (s.kind == GCodeInterpreter::Step::Finished) {
                r.finished = true;
                r.success = s.success;
                return r;
            }
            r.waits << s.delayMs;
            for (int k = before; k < port.log.size(); ++k) {
                const QStringList w = port.log[k].split(QLatin1Char(' '));
                if (w[0] == QLatin1String("move")) {
                    const int axis = QStringLiteral("XYZABCD").indexOf(w[1]);
                    // One status under way, then arrived.
                    MachineStatus moving = status;
                    moving.inPosition[axis] = false;
                    interp->step(moving);
                    status.position[axis] = w[2].toDouble();
                }
            }
        }
        return r;
    }

    // Runs a block to its end: exactly these commands, and success unless the
    // block stopped the machine or showed the operator a message.
    void expectRun(const QString &block, const QStringList &commands)
    {
        const Run r = run(block);
        QVERIFY(r.finished);
        QCOMPARE(port.log, commands);
        const bool refused = commands.contains(QStringLiteral("estop"))
                             || !commands.filter(QStringLiteral("show: ")).isEmpty();
        QCOMPARE(r.success, !refused);
        QVERIFY(interp->idle());
    }

private slots:
    void init()
    {
        delete interp;
        interp = new GCodeInterpreter(port);
        port.interp = interp;
        interp->configure(machine());
        port.log.clear();
        status = MachineStatus();
        status.inPosition.fill(true);
        status.digitalIn[0] = 1;
        status.position = {10, 10, 25, 0, 0, 0, 0};
    }

    void cleanupTestCase() { delete interp; }

    // Blocks and the commands they send; a refused block ends as failed and
    // no later line runs.
    void blocks_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("relative") << "g0 x++4 y--2,5" << QStringList{"move X 14 v300", "move Y 7.5 v300"};
        QTest::newRow("decimal comma and point") << "g0 x12,5 a.5" << QStringList{"move X 12.5 v300", "move A 0.5 v1000"};
        QTest::newRow("within tolerance") << "g0 x10.05 y9.95 a0.005" << QStringList{};
        QTest::newRow("feed mode stays") << "g1 f600 y20\nx30 y30"
                                         << QStringList{"move Y 20 v10", "move X 30 v10", "move Y 30 v10"};
        QTest::newRow("negative feed at its magnitude") << "g1 f-600 x20" << QStringList{"move X 20 v10"};
        QTest::newRow("comment") << "g0 x20 (then y20)" << QStringList{"move X 20 v300"};
        QTest::newRow("zMax word") << "g0 zMax\ng0 Z10\ng0 ZMAX" << QStringList{"move Z 10 v100", "move Z 25 v100"};
        QTest::newRow("B forward") << "g0 b++4\nb++4" << QStringList{"move B 4 v100", "move B 8 v100"};
        QTest::newRow("outputs") << "m64 p1\nm65 p1\nm64 p7\nm64p15\nm65 p0"
                                 << QStringList{"out 1 on", "out 0 on", "out 1 off", "out 7 on", "out 15 on", "out 0 off"};
        QTest::newRow("the job's speed prefixes")
            << "G0 X12.500 Y5.000\ng1 f3000  acc500 z10 \ng1 f1800 x20 a0.0"
            << QStringList{"move X 12.5 v300", "move Y 5 v300", "acc Z 500", "move Z 10 v50", "move X 20 v30"};
        QTest::newRow("other words are not this interpreter's") << "g90 x20 t1 n5" << QStringList{"move X 20 v300"};
        QTest::newRow("macros") << "(setlowerrorlimit)\n(vsmeasurebeforeget)\n(restoreerrorlimit)"
                                << QStringList{"ferror X 0.5", "ferror Y 0.5", "ferror Z 0.5", "vacuum reference",
                                               "ferror X 10", "ferror Y 10", "ferror Z 8"};
        QTest::newRow("empty lines") << "\n\ng0 y40\r\n\n" << QStringList{"move Y 40 v300"};
        // Soft limits: a target just outside snaps to the limit (at the
        // upper one: tst_cnc_sim), one further out stops the machine and no
        // later line runs.
        QTest::newRow("just below min snaps") << "g0 z-5.005" << QStringList{"move Z -4.95 v100"};
        QTest::newRow("above max refused")
            << "g0 x100\ng0  X500.02 (far)\ng0 x1"
            << QStringList{"move X 100 v300",
                           "error: Перемещение, заданное командой \"g0 x500.02 (far)\" выходит за допустимый диапазон!",
                           "estop"};
        // Lines refused before anything is sent, with a message that names
        // the word.
        auto repeated = [](const char *w, const char *line) {
            return QStringList{QStringLiteral("show: Повторное слово \"%1\" в строке \"%2\"!").arg(w, line)};
        };
        auto output = [](const char *w, const char *line) {
            return QStringList{QStringLiteral("show: Недопустимый номер выхода \"%1\" в строке \"%2\"!").arg(w, line)};
        };
        QTest::newRow("not a plain number") << "g0 x1e400\ng0 y5"
                                            << QStringList{"show: Неверное слово \"x1e400\" в строке \"g0 x1e400\"!"};
        // One word twice.
        QTest::newRow("z and znozzle") << "g0 z5 znozzle2" << repeated("znozzle2", "g0 z5 znozzle2");
        QTest::newRow("output twice") << "m64 p1 p2" << repeated("p2", "m64 p1 p2");
        // Outputs the machine does not have (0 to 15).
        QTest::newRow("output 16 off") << "m65 p16" << output("p16", "m65 p16");
        QTest::newRow("output 2.5") << "m64 p2.5" << output("p2.5", "m64 p2.5");
        QTest::newRow("output without number")
            << "m64\nm64 p1" << QStringList{"show: В строке \"m64\" не задан номер выхода!"};
        QTest::newRow("dwell without time") << "g4 x5" << QStringList{"show: В строке \"g4 x5\" не задано время паузы!"};
        QTest::newRow("zero feed") << "g1 f0 x20" << QStringList{"show: Недопустимая подача в строке \"g1 f0 x20\"!"};
    }

    void blocks()
    {
        QFETCH(QString, block);
        QFETCH(QStringList, commands);
        expectRun(block, commands);
    }

    void rapidModeIsTheDefaultAndModalAcrossBlocks()
    {
        expectRun("g4 p0\nx30", QStringList{"move X 30 v300"});
        QVERIFY(run("g1 f1200 x40").success);
        expectRun("g4 p0\nx50", QStringList{"move X 50 v20"});
    }

    void blockWithoutCommandsEndsAtOnce()
    {
        QCOMPARE(interp->accept(QStringLiteral("x10 y20"), false), GCodeInterpreter::Accept::DoneAtOnce);
        QVERIFY(interp->idle());
    }

    void zNozzle()
    {
        expectRun("g0 znozzle2", QStringList{}); // no nozzle height: the safe height, already held
        status.position[2] = 5;
        expectRun("g0 znozzle2", QStringList{"move Z 25 v100"});
        interp->setCurrVCHeight(3);
        expectRun("g0 zNozzle2,5", QStringList{"move Z 5.5 v100"});
    }

    void relativeOffsetsAndCalibrationWords()
    {
        interp->setRelXY(1.5, -2);
        interp->setCalibXY(120.456, 80);
        expectRun("g0 x100 y100\ng0 x++5\ng0 XCalib YCalib",
                  {"move X 101.5 v300", "move Y 98 v300", "move X 106.5 v300", "move X 121.96 v300",
                   "move Y 78 v300"});
    }

    void accelerationPins_data()
    {
        QTest::addColumn<int>("override");
        QTest::addColumn<bool>("slow");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("half speed g0 sets every axis")
            << 50 << false << "g0 x20"
            << QStringList{"acc X 1500", "acc Y 1500", "acc Z 1000", "acc A 10000", "acc B 500", "acc C 500",
                           "move X 20 v300"};
        QTest::newRow("gentle set-up moves") << 100 << true << "g1 f6000 acc2000 x20"
                                             << QStringList{"acc X 450", "move X 20 v100"};
        QTest::newRow("line acc below the operator's")
            << 100 << false << "g1 f600 acc250,5 y20\ng1 y30" << QStringList{"acc Y 250", "move Y 20 v10", "move Y 30 v10"};
        QTest::newRow("never below 1") << 100 << false << "g1 f600 acc0.2 y20" << QStringList{"acc Y 1", "move Y 20 v10"};
    }

    void accelerationPins()
    {
        QFETCH(int, override);
        QFETCH(bool, slow);
        QFETCH(QString, block);
        QFETCH(QStringList, commands);
        interp->feedOverride(override, true);
        interp->setNeedSlowAcc(slow);
        expectRun(block, commands);
    }

    void fieldCorrection()
    {
        QVector<QVector<QPointF>> grid(3, QVector<QPointF>(3, QPointF(0.1, -0.2)));
        grid[2][2] = QPointF(0.3, 0.4);
        interp->setFieldCorrection(grid, 3, 3);
        interp->setFieldCorrectionEnabled(true);
        status.position[0] = 1;
        status.position[1] = 1;
        expectRun("g0 x1 y1", QStringList{}); // not available yet: within tolerance
        interp->setFieldCorrectionAvailable(true);
        status.position[0] = 0.5;
        status.position[1] = 0.5;
        expectRun("g0 x1.5 y1.5", QStringList{"move X 1.2 v300", "move Y 1.1 v300"});
        QCOMPARE(interp->fieldCell(1.2, 1.1), QPointF(0.3, 0.4));
        // Outside the table, or no number at all: no index is ever made of it.
        QCOMPARE(interp->fieldCell(-1.5, 1), QPointF());
        QCOMPARE(interp->fieldCell(3.0, 0.0), QPointF());
        QCOMPARE(interp->fieldCell(1e300, 1.0), QPointF());
        QCOMPARE(interp->fieldCell(std::numeric_limits<double>::quiet_NaN(), 1.0), QPointF());
    }

    void dwell_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("wait");
        QTest::newRow("half a second") << "g4 p0.5" << 500;
        QTest::newRow("huge") << "g4 p99999999" << 3600 * 1000;
    }

    void dwell()
    {
        QFETCH(QString, block);
        QFETCH(int, wait);
        const Run r = run(block);
        QVERIFY(r.success);
        QCOMPARE(r.waits, QList<int>{wait});
        QCOMPARE(port.log, QStringList{});
    }

    void refusedFeedLeavesTheModalFeed()
    {
        QVERIFY(run("g1 f600 x20").success);
        QVERIFY(!run("g1 f0.0001 x30").success);
        expectRun("g4 p0\nx40", QStringList{"move X 40 v10"});
    }

    // Targets that are not finite numbers: from the status, from the offsets
    // and heights added to the text, from the correction table.
    void nonFiniteTargets_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("nanAxis");     // status position NaN on this axis, -1 none
        QTest::addColumn<QString>("setting"); // what else is not finite
        QTest::addColumn<bool>("field");      // field correction on
        QTest::addColumn<QStringList>("commands");
        auto unknown = [](char axis, const char *line) {
            return QStringList{QStringLiteral("show: Положение оси %1 неизвестно: строка \"%2\" не выполнена!")
                                   .arg(QLatin1Char(axis)).arg(line)};
        };
        auto correction = [](const char *line) {
            return QStringList{QStringLiteral("show: Поправка поля для строки \"%1\" не является конечным числом!").arg(line)};
        };
        QTest::newRow("absolute from NaN") << "g0 x5\ng0 y5" << 0 << "" << false << unknown('X', "g0 x5");
        QTest::newRow("NaN Y under an X move, corrected") << "g0 x1.5" << 1 << "" << true << unknown('Y', "g0 x1.5");
        QTest::newRow("NaN offset") << "g0 x5" << -1 << "relX nan" << false
                                    << QStringList{"show: Цель слова \"x5\" в строке \"g0 x5\" не является конечным числом!"};
        QTest::newRow("NaN cell under the target") << "g0 x1.5 y1.5" << -1 << "cell nan" << true
                                                   << correction("g0 x1.5 y1.5");
        QTest::newRow("infinite cell under the head, relative") << "g0 x++1 y1.5" << -1 << "here inf" << true
                                                                << correction("g0 x++1 y1.5");
    }

    void nonFiniteTargets()
    {
        QFETCH(QString, block);
        QFETCH(int, nanAxis);
        QFETCH(QString, setting);
        QFETCH(bool, field);
        QFETCH(QStringList, commands);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QVector<QVector<QPointF>> grid(3, QVector<QPointF>(3, QPointF(0.1, -0.2)));
        status.position[0] = 0.5;
        status.position[1] = 0.5;
        if (setting == "cell nan")
            grid[2][2] = QPointF(0.1, nan);
        if (setting == "here inf")
            grid[1][1] = QPointF(inf, 0); // where the head stands
        if (setting == "relX nan")
            interp->setRelXY(nan, 0);
        interp->setFieldCorrection(grid, 3, 3);
        interp->setFieldCorrectionEnabled(field);
        interp->setFieldCorrectionAvailable(true);
        if (nanAxis >= 0)
            status.position[nanAxis] = nan;
        expectRun(block, commands);
    }

    void positionLostDuringAMoveStopsTheMachine()
    {
        QCOMPARE(interp->accept(QStringLiteral("g0 x100\ng0 y20"), false), GCodeInterpreter::Accept::Started);
        QCOMPARE(interp->step(status).kind, GCodeInterpreter::Step::Wait);
        MachineStatus lost = status;
        lost.position[0] = std::numeric_limits<double>::quiet_NaN();
        const GCodeInterpreter::Step s = interp->step(lost);
        QCOMPARE(s.kind, GCodeInterpreter::Step::Finished);
        QVERIFY(!s.success);
        QCOMPARE(port.log, (QStringList{"move X 100 v300", "estop",
                                        "show: Положение оси X неизвестно: строка \"g0 x100\" не выполнена!"}));
    }

    // The soft limits hold for the corrected target, the one the axis is sent to.
    void fieldCorrectionWithinTheSoftLimits()
    {
        // Cells [row = ceil y][column = ceil x]; the correction is subtracted.
        QVector<QVector<QPointF>> grid(3, QVector<QPointF>(4, QPointF()));
        grid[2][1] = QPointF(0, -0.4); // y 1.95 -> 2.35
        grid[1][3] = QPointF(0.5, 0);  // x 2.1 -> 1.6
        interp->setFieldCorrection(grid, 4, 3);
        interp->setFieldCorrectionEnabled(true);
        interp->setFieldCorrectionAvailable(true);
        interp->setSoftLimits({0, 0, -5, -100000, -100000, -100000, 0}, {2, 2, 30, 100000, 100000, 100000, 0});
        status.position[0] = 0.5;
        status.position[1] = 0.5;
        expectRun("g0 x1 y1.95",
                  {"error: Перемещение, заданное командой \"g0 x1 y1.95\" выходит за допустимый диапазон!", "estop"});
        expectRun("g0 x2.1 y1", {"move X 1.6 v300", "move Y 1 v300"});
    }

    void safeHeightWordWithoutSafeHeightFails()
    {
        GCodeInterpreter::AxisSettings s = machine();
        s.zMax = 0;
        s.zMaxText = QStringLiteral("zMax");
        interp->configure(s);
        expectRun("g0 x20\ng0 zMax",
                  {"move X 20 v300", "show: Безопасная высота оси Z не задана (HOME в ini-файле "
                                     "равен 0): строка \"g0 zMax\" не выполнена!"});
    }

    void moveSeenArrivingWithinToleranceIsDone()
    {
        QCOMPARE(interp->accept(QStringLiteral("g0 y30"), false), GCodeInterpreter::Accept::Started);
        interp->step(status);
        MachineStatus st = status;
        st.position[1] = 29.5; // in position, under way seen by the position change
        QCOMPARE(interp->step(st).kind, GCodeInterpreter::Step::Finished);
    }

    // The sensor may answer half a second late; silent at the second look
    // too, it stops the machine (tst_cnc_sim, on the machine).
    void safeHeightSensorIsLookedAtTwice()
    {
        status.position[2] = 10;
        QCOMPARE(interp->accept(QStringLiteral("g0 zmax"), false), GCodeInterpreter::Accept::Started);
        QCOMPARE(interp->step(status).delayMs, GCodeInterpreter::kPollMs);
        MachineStatus moving = status;
        moving.inPosition[2] = false;
        interp->step(moving);
        status.position[2] = 25;
        status.digitalIn[0] = 0;
        QCOMPARE(interp->step(status).delayMs, 500);
        status.digitalIn[0] = 1;
        const GCodeInterpreter::Step s = interp->step(status);
        QCOMPARE(s.kind, GCodeInterpreter::Step::Finished);
        QVERIFY(s.success);
        QCOMPARE(port.log, QStringList{"move Z 25 v100"});
    }

    void words_data()
    {
        QTest::addColumn<QString>("line");
        // Each word as text:key:value, "!" after the text when it is not valid,
        // "r" after the value when relative, "i" when digits only.
        QTest::addColumn<QStringList>("words");
        QTest::newRow("joined") << "g0x5y-6acc2znozzle1.5" << QStringList{"g0:g:0i", "x5:x:5i", "y-6:y:-6", "acc2:acc:2i",
                                                                         "znozzle1.5:znozzle:1.5"};
        QTest::newRow("exponent") << "x1e400 y2" << QStringList{"x1e400!", "y2:y:2i"};
        QTest::newRow("overflow") << "p1" + QString(400, QLatin1Char('0')) << QStringList{"p1" + QString(400, QLatin1Char('0')) + "!"};
        QTest::newRow("two marks") << "x1.2.3 y1,2.3" << QStringList{"x1.2.3!", "y1,2.3!"};
        QTest::newRow("no number") << "x y++ z+ a-- b+-1 c++-1" << QStringList{"x!", "y++!", "z+!", "a--!", "b+-1!", "c++-1!"};
        QTest::newRow("relative is for axes") << "f++1 znozzle++1" << QStringList{"f++1!", "znozzle++1!"};
        QTest::newRow("whole command numbers") << "g1.5 m64.0 g+1" << QStringList{"g1.5!", "m64.0!", "g+1!"};
        QTest::newRow("glued junk") << "x5; y5* 7 (" << QStringList{"x5;!", "y5*!", "7!", "(!"};
    }

    void words()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QStringList seen;
        for (const GCodeWord &w : GCodeWords::split(line)) {
            if (!w.valid) {
                seen << w.text + "!";
                continue;
            }
            seen << QStringLiteral("%1:%2:%3%4%5")
                        .arg(w.text, w.key)
                        .arg(w.value)
                        .arg(w.relative ? "r" : "")
                        .arg(w.integer ? "i" : "");
        }
        QCOMPARE(seen, words);
    }
};

QTEST_GUILESS_MAIN(TestGCodeInterpreter)
#include "tst_gcode_interpreter.moc"

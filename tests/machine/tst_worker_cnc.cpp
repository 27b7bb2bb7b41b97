// WorkerCnc's glue over a recording channel: which commands its slots send,
// range checks, the conditions of raising Z, blocks without a controller,
// the status poll's signals and the Z auto-search. What the real LinuxCNC
// does with them is in tst_cnc_sim.
#include "TestSupport.h"
#include "machine/MachineChannel.h"
#include "machine/WorkerCnc.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeChannel : public MachineChannel
{
public:
    QStringList log;
    MachineStatus status;
    HalInputs hal;
    HalPresence presence;
    bool opens = true;
    bool open_ = false;

    bool open(double, QString *error) override
    {
        if (!opens && error)
            *error = QStringLiteral("no");
        open_ = opens;
        return opens;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool readStatus(MachineStatus &s) override
    {
        s = status;
        return true;
    }
    ErrorRead readError(QString &) override { return ErrorRead::Nothing; }
    void setTaskState(int state) override
    {
        log << QStringLiteral("state %1").arg(state);
        status.taskState = state;
    }
    void abortTask() override { log << QStringLiteral("abort"); }
    void home(int axis) override { log << QStringLiteral("home %1").arg(axis); }
    void unhome(int axis) override { log << QStringLiteral("unhome %1").arg(axis); }
    void jog(int axis, double v) override { log << QStringLiteral("jog %1 %2").arg(axis).arg(v); }
    void jogIncrement(int axis, double i, double v) override
    {
        log << QStringLiteral("incr %1 %2 %3").arg(axis).arg(i).arg(v);
    }
    void jogTo(int axis, double p, double v) override { log << QStringLiteral("to %1 %2 %3").arg(axis).arg(p).arg(v); }
    void jogStop(int axis) override { log << QStringLiteral("stop %1").arg(axis); }
    void homeInPlace(int axis, double h) override { log << QStringLiteral("home in place %1 %2").arg(axis).arg(h); }
    void setFollowingError(int axis, double l) override { log << QStringLiteral("ferror %1 %2").arg(axis).arg(l); }
    void setDigitalOutput(int i, bool on) override { log << QStringLiteral("dout %1 %2").arg(i).arg(on); }
    HalPresence halOpen(const QString &) override { return presence; }
    void halClose() override {}
    bool halRead(HalInputs &in) override
    {
        in = hal;
        return true;
    }
    bool halSetAcceleration(int axis, int v) override
    {
        log << QStringLiteral("acc %1 %2").arg(axis).arg(v);
        return true;
    }
    bool halSetEncoderFeedback(int axis, bool e) override
    {
        log << QStringLiteral("feedback %1 %2").arg(axis).arg(e);
        return true;
    }
};

} // namespace

class TestWorkerCnc : public QObject
{
    Q_OBJECT

    FakeChannel *ch = nullptr;
    WorkerCnc *cnc = nullptr;

    void open()
    {
        QVERIFY(cnc->startNML());
        ch->log.clear();
    }
    // Opens with the speeds, steps and safe height of a machine.
    void openConfigured()
    {
        CncConfig c;
        c.maxVelocity = {300, 300, 100, 1000, 100, 100, -1};
        c.maxAcceleration = {3000, 3000, 2000, 20000, 1000, 1000, -1};
        c.stepSize = {0.0125, 0.0125, 0.01, 0.1, 0.1, 0.1, 0};
        c.zMax = 25;
        cnc->setConfig(c);
        open();
    }

private slots:
    void init()
    {
        ch = new FakeChannel;
        ch->status.taskState = MachineStatus::Off;
        ch->status.inPosition.fill(true);
        ch->status.minLimit = {-5, -5, -5, -1000, -1000, -1000, 0};
        ch->status.maxLimit = {500, 500, 30, 1000, 1000, 1000, 0};
        ch->status.digitalIn[1] = 1;
        cnc = new WorkerCnc(std::unique_ptr<MachineChannel>(ch));
    }

    void cleanup()
    {
        delete cnc;
        cnc = nullptr;
    }

    void startRefusesBadConfigurations_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("hal");
        QTest::addColumn<QString>("error");
        QTest::newRow("no ini") << QString() << QString()
                                << "Ini-файл конфигурации машины, указанный в настройках, не найден!";
        QTest::newRow("other display")
            << "[DISPLAY]\nDISPLAY = axis\n" << "net out motion.digital-out-03\n"
            << "Для успешного запуска в ini-файле конфигурации машины параметр DISPLAY секции DISPLAY должен быть "
               "равен linuxcncrsh  --path /";
    }

    void startRefusesBadConfigurations()
    {
        QFETCH(QString, ini);
        QFETCH(QString, hal);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("m a$(x)"));
        if (!ini.isNull())
            QVERIFY(TestSupport::writeFile(name + ".ini", ini.toUtf8()));
        if (!hal.isNull())
            QVERIFY(TestSupport::writeFile(name + ".hal", hal.toUtf8()));
        QSignalSpy failed(cnc, &WorkerCnc::cncStartFailed);
        QSignalSpy running(cnc, &WorkerCnc::cncRunningSend);
        QSignalSpy errors(cnc, &WorkerCnc::showError);
        cnc->runCnc(QStringLiteral("file://") + name + ".ini");
        QCOMPARE(failed.size(), 1);
        QCOMPARE(running.size(), 0); // nothing ran, nothing is reported as stopped
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().at(0).toString(), error);
        QCOMPARE(cnc->linuxCncPid(), 0);
    }

    void commandsNeedOpenChannels()
    {
        QSignalSpy done(cnc, &WorkerCnc::gCodeDoneSend);
        cnc->machineOnGet(true);
        cnc->machineMoveGet(0, true, 50, true);
        cnc->machineMoveIncrGet(0, true, 50, 1);
        cnc->setDout(0, true);
        cnc->getGCode(QStringLiteral("g0 x10"), false);
        QCOMPARE(ch->log, QStringList{});
        // A block while closed ends at once as failed.
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.first().at(0).toBool(), false);
    }

    // A refused block reaches the operator with its message and ends once as
    // failed: a bad number, a move outside the limits (stopped inside the
    // step, its completion not sent twice) and a block while another runs
    // (that one goes on: tst_cnc_sim).
    void refusedBlockEndsOnceWithItsMessage_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QStringList>("channel");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bad number") << QString() << "g0 x1e400" << QStringList{}
                                    << "Неверное слово \"x1e400\" в строке \"g0 x1e400\"!";
        QTest::newRow("outside the limits") << QString() << "g0 y600" << QStringList{"state 1"}
                                            << "Сработал сигнал E-STOP!";
        QTest::newRow("another block runs")
            << "g4 p0.3" << "g0 x20" << QStringList{}
            << "Блок G-кода не принят: выполняется предыдущий блок. Не принят: \"g0 x20\"";
    }

    void refusedBlockEndsOnceWithItsMessage()
    {
        QFETCH(QString, running);
        QFETCH(QString, block);
        QFETCH(QStringList, channel);
        QFETCH(QString, shown);
        openConfigured();
        ch->status.position = {10, 10, 25, 0, 0, 0, 0};
        if (!running.isEmpty())
            cnc->getGCode(running, false);
        QSignalSpy done(cnc, &WorkerCnc::gCodeDoneSend);
        QSignalSpy errors(cnc, &WorkerCnc::showError);
        cnc->getGCode(block, false); // refused within this call
        QCOMPARE(cnc->idle(), running.isEmpty());
        QCOMPARE(ch->log, channel);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().at(0).toString(), shown);
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.first().at(0).toBool(), false);
    }

    void axisAndOutputRanges()
    {
        open();
        for (int axis : {-1, 7, 100}) {
            cnc->machineMoveGet(axis, true, 50, true);
            cnc->machineMoveGet(axis, true, 50, false);
            cnc->machineMoveIncrGet(axis, true, 50, 1);
            cnc->machineMoveStepGet(axis, true, 1);
            cnc->disableHomeGet(axis, 0);
            cnc->resetAcc(axis);
            cnc->halSetEncoderEnabled(axis, true);
            cnc->encoderEnabledGet(axis, false);
        }
        for (int output : {-1, 16, 64})
            cnc->setDout(output, true);
        cnc->setDout(1, true); // no HAL file read: no output is wired
        QCOMPARE(ch->log, QStringList{});
    }

    void jogCommandsAndSpeedLimits()
    {
        openConfigured();
        cnc->maxVelLimitGet(120, 600);
        cnc->feedOverrideGet(50, true);
        cnc->NMLCheck();
        ch->log.clear();
        cnc->machineMoveGet(2, false, 80, true);
        cnc->machineMoveGet(2, false, 80, false);
        cnc->machineMoveGet(0, true, 100, true);
        cnc->machineMoveGet(4, true, 40, true, true);
        cnc->machineMoveIncrGet(1, false, 100, 3);
        cnc->machineMoveStepGet(1, true, 0.25);
        cnc->machineMoveStepGet(0, false, 0);
        // Z: 50 % (the operator's cap) of 100, limited to 120 / 60; X and Y with
        // the head down: 600 / 30 / 60; a feeder shaft at full feed; the steps.
        QCOMPARE(ch->log, (QStringList{"jog 2 -2", "stop 2", "jog 0 0.333333", "jog 4 40", "incr 1 3 -0.333333",
                                       "incr 1 0.25 10000", "incr 0 0.0125 -10000"}));
    }

    // Raising the head once homed: tst_cnc_sim.
    void noRaisingZBeforeHoming()
    {
        open();
        cnc->zUpGet();
        QCOMPARE(ch->log, QStringList{});
    }

    // Switching the machine off also ends what runs (switching it on:
    // tst_cnc_sim).
    void machineOffAborts()
    {
        open();
        cnc->machineOnGet(false);
        QCOMPARE(ch->log, (QStringList{"state 3", "abort"}));
    }

    void pollPublishesPositionsOutputsAndEstop()
    {
        open();
        QSignalSpy positions(cnc, &WorkerCnc::jointPosSend);
        QSignalSpy outputs(cnc, &WorkerCnc::doutSend);
        QSignalSpy machineOn(cnc, &WorkerCnc::machineOnSend);
        QSignalSpy errors(cnc, &WorkerCnc::showError);
        ch->status.position = {12.0004, 600, -0.0004, 90, 1, 2, 3};
        ch->status.digitalOut[4] = 1;
        cnc->NMLCheck();
        QCOMPARE(positions.size(), 1);
        QCOMPARE(positions.first().at(0).toList(), (QVariantList{12.0004f, 500.0, 0.0, 90.0}));
        QCOMPARE(outputs.size(), 16); // every output once at first
        ch->status.taskState = MachineStatus::On;
        cnc->NMLCheck();
        QCOMPARE(machineOn.last().at(0).toBool(), true);
        ch->status.taskState = MachineStatus::Estop;
        cnc->NMLCheck();
        QCOMPARE(machineOn.last().at(0).toBool(), false);
        QCOMPARE(errors.last().at(0).toString(), QStringLiteral("Сработал сигнал E-STOP!"));
    }

    void halInputsArePublishedWhenTheyChange()
    {
        ch->presence.estopIn = true;
        ch->hal.estopIn = 1;
        ch->hal.speedKnob = 7.6;
        open();
        QSignalSpy estop(cnc, &WorkerCnc::halESTOPSend);
        QSignalSpy knob(cnc, &WorkerCnc::halSpeedEncoderIncSend);
        cnc->NMLCheck();
        cnc->NMLCheck();
        QCOMPARE(estop.size(), 1);
        QCOMPARE(estop.first().at(0).toInt(), 0);
        ch->hal.speedKnob = 9.2;
        cnc->NMLCheck();
        QCOMPARE(knob.last().at(0).toInt(), 2);
    }

    void autoSearch_data()
    {
        QTest::addColumn<QVector<double>>("readings");
        QTest::addColumn<double>("zAfter");
        QTest::addColumn<QString>("result");
        QTest::newRow("vacuum changes") << (QVector<double>(11, 50.0) << 60 << 70 << 80 << 90) << 9.5 << "Ok";
        QTest::newRow("nothing met") << QVector<double>(14, 50.0) << 8.1 << "notFound";
    }

    void autoSearch()
    {
        QFETCH(QVector<double>, readings);
        QFETCH(double, zAfter);
        QFETCH(QString, result);
        open();
        ch->status.position[2] = 10;
        QSignalSpy results(cnc, &WorkerCnc::zAutoFindResultSend);
        cnc->vsMeasureGet(50.0, 0);
        cnc->zAutoFindGet(true, 2.0, 1.5, 0);
        for (int i = 0; i < readings.size() && results.isEmpty(); ++i) {
            cnc->vsMeasureGet(readings[i], 0);
            if (i == 10)
                ch->status.position[2] = zAfter;
            cnc->zAutoFindCycle();
        }
        QCOMPARE(results.size(), 1);
        QCOMPARE(results.first().at(0).toString(), result);
        QCOMPARE(ch->log.first(), QStringLiteral("ferror 0 0.5"));
        QVERIFY(ch->log.contains(QStringLiteral("ferror 2 0.25")));
        QVERIFY(ch->log.contains(QStringLiteral("incr 2 2 -1.5")));
        QCOMPARE(ch->log.mid(ch->log.size() - 4), (QStringList{"stop 2", "ferror 0 10", "ferror 1 10", "ferror 2 10"}));
    }

    void autoSearchWithoutFreshReadingsTimesOut()
    {
        open();
        QSignalSpy results(cnc, &WorkerCnc::zAutoFindResultSend);
        cnc->zAutoFindGet(true, 2.0, 1.5, 4);
        QVERIFY(results.wait(2000));
        QCOMPARE(results.first().at(0).toString(), QStringLiteral("timeoutError"));
        // Z never moved, the lowered following-error limits are restored all the same.
        QCOMPARE(ch->log.mid(3), (QStringList{"ferror 0 10", "ferror 1 10", "ferror 2 10"}));
    }

    void autoSearchThatCannotMove()
    {
        open();
        QSignalSpy results(cnc, &WorkerCnc::zAutoFindResultSend);
        cnc->vsMeasureGet(50.0, 0);
        cnc->zAutoFindGet(true, 2.0, 0, 4);
        QCOMPARE(results.size(), 1);
        QCOMPARE(results.first().at(0).toString(), QStringLiteral("notFound"));
        QCOMPARE(ch->log, QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestWorkerCnc)
#include "tst_worker_cnc.moc"

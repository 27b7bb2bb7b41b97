// The machine link against the real LinuxCNC running the simulated machine,
// started through the program's own path (runCnc, shell dialogue, NML).
#include "SimMachine.h"

#include "machine/LinuxCncChannel.h"
#include "machine/WorkerCnc.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

namespace {

// Positions come back through the servo loop in floating point.
bool near(double a, double b)
{
    return qAbs(a - b) < 1e-5;
}

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toString();
    return out;
}

} // namespace

class TestCncSim : public QObject
{
    Q_OBJECT

    SimMachine m_sim;
    WorkerCnc *m_cnc = nullptr;

    const MachineStatus &status()
    {
        return m_cnc->lastStatus();
    }
    double pos(int axis) { return status().position[axis]; }

    bool startCnc()
    {
        QSignalSpy running(m_cnc, &WorkerCnc::cncRunningSend);
        QSignalSpy failed(m_cnc, &WorkerCnc::cncStartFailed);
        m_cnc->runCnc(QStringLiteral("file://") + m_sim.iniPath());
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 40000 && m_cnc->shellState() != ShellDialogue::Configured && failed.isEmpty())
            QTest::qWait(50);
        return failed.isEmpty() && m_cnc->connected() && !running.isEmpty() && running.last().at(0).toBool();
    }

    // Runs a block and waits for its end; -1 when none came.
    int runBlock(const QString &text, int timeoutMs = 20000, qint64 *elapsed = nullptr)
    {
        QSignalSpy done(m_cnc, &WorkerCnc::gCodeDoneSend);
        QElapsedTimer t;
        t.start();
        m_cnc->getGCode(text, false);
        if (done.isEmpty() && !done.wait(timeoutMs))
            return -1;
        if (elapsed)
            *elapsed = t.elapsed();
        return done.first().at(0).toBool() ? 1 : 0;
    }

    bool powerOnAndHome()
    {
        if (!m_cnc->connected())
            return false;
        m_cnc->machineOnGet(true);
        if (!QTest::qWaitFor([&] { return status().taskState == MachineStatus::On; }, 5000))
            return false;
        m_cnc->machineHome(true);
        QElapsedTimer t;
        t.start();
        // C is not part of the homed check: wait for it as well.
        while (t.elapsed() < 20000 && !(m_cnc->machineHomed() && !m_cnc->homing() && status().homed[5]))
            QTest::qWait(20);
        // Homing ends with Z travelling to its home position (the safe height).
        t.restart();
        while (t.elapsed() < 5000 && !(status().inPosition[2] && near(pos(2), 25.0)))
            QTest::qWait(20);
        return m_cnc->machineHomed();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sim.isValid());
        m_cnc = new WorkerCnc(this);
        // Everything the operator would see, for the log of a failing run.
        connect(m_cnc, &WorkerCnc::showError, this, [](const QVariant &m) { qInfo() << "showError:" << m.toString(); });
        connect(m_cnc, &WorkerCnc::errorSend, this, [](const QVariant &m) { qInfo() << "errorSend:" << m.toString(); });
        QVERIFY2(startCnc(), qPrintable(QStringLiteral("LinuxCNC did not start; see ") + WorkerCnc::linuxCncLogPath()));
    }

    void cleanupTestCase()
    {
        if (m_cnc)
            m_cnc->stopCnc();
        QTRY_VERIFY_WITH_TIMEOUT(SimMachine::linuxCncProcesses().isEmpty(), 15000);
    }

    void startReadsTheConfiguration()
    {
        const CncConfig &c = m_cnc->config();
        QCOMPARE(c.zMax, 25.0);
        QCOMPARE(c.zMaxText, QStringLiteral("z25.000"));
        QCOMPARE(c.homeAxisCount, 6);
        QVERIFY(c.doutEnabled[0] && c.doutEnabled[10] && !c.doutEnabled[3]);
        QCOMPARE(status().maxLimit[0], 500.0);
        QCOMPARE(status().minLimit[2], -5.0);
    }

    void machineOnAndHomingByGroups()
    {
        QSignalSpy homed(m_cnc, &WorkerCnc::jointHomedSend);
        QVERIFY(powerOnAndHome());
        // Z (group 0) homes before X and Y (group 1), and those before A, B, C.
        int zFirst = -1, xFirst = -1, aFirst = -1;
        for (int i = 0; i < homed.size(); ++i) {
            if (zFirst < 0 && homed[i][2].toBool())
                zFirst = i;
            if (xFirst < 0 && homed[i][0].toBool())
                xFirst = i;
            if (aFirst < 0 && homed[i][3].toBool())
                aFirst = i;
        }
        QVERIFY(zFirst >= 0 && xFirst > zFirst && aFirst > xFirst);
        QCOMPARE(homed.last()[0].toBool() && homed.last()[1].toBool() && homed.last()[4].toBool(), true);
        QVERIFY2(near(pos(2), 25.0), qPrintable(QString::number(pos(2), 'f', 6)));
    }

    void jogs()
    {
        QCOMPARE(runBlock(QStringLiteral("g0 x100 y100")), 1);
        QVERIFY(near(pos(0), 100.0));
        // Continuous jog: moves while running, stops on request.
        m_cnc->maxVelLimitGet(150, 3000);
        m_cnc->machineMoveGet(0, true, 50, true);
        QTest::qWait(300);
        m_cnc->machineMoveGet(0, true, 50, false);
        QTRY_VERIFY(status().inPosition[0]);
        const double afterJog = pos(0);
        QVERIFY2(afterJog > 105 && afterJog < 250, qPrintable(QString::number(afterJog)));
        QTest::qWait(200);
        QCOMPARE(pos(0), afterJog);
        // Incremental jog by 2 mm backwards.
        m_cnc->machineMoveIncrGet(0, false, 50, 2.0);
        QTRY_VERIFY(near(pos(0), afterJog - 2.0) && status().inPosition[0]);
        // Single steps: the given one, then the smallest step, which for X
        // and Y is one count of the encoder (1 / ENCODER_SCALE of X).
        m_cnc->machineMoveStepGet(1, true, 0.5);
        QTRY_VERIFY(near(pos(1), 100.5) && status().inPosition[1]);
        m_cnc->machineMoveStepGet(1, false, 0);
        QTRY_VERIFY(near(pos(1), 100.5 - 1.0 / 200) && status().inPosition[1]);
    }

    void raiseZ()
    {
        QCOMPARE(runBlock(QStringLiteral("g0 z5")), 1);
        QVERIFY2(near(pos(2), 5.0), qPrintable(QString::number(pos(2), 'f', 6)));
        m_cnc->zUpGet();
        QTRY_VERIFY_WITH_TIMEOUT(near(pos(2), 25.0) && status().inPosition[2], 5000);
    }

    void blockMovesEveryAxisToItsTarget()
    {
        QCOMPARE(runBlock(QStringLiteral("g0 x50 y60 (first line)\ng1 f3000 acc500 z10 a90\n"
                                         "\ng0 b5,5\nb++4")),
                 1);
        const double targets[] = {50.0, 60.0, 10.0, 90.0, 9.5};
        for (int axis = 0; axis < 5; ++axis)
            QVERIFY2(near(pos(axis), targets[axis]),
                     qPrintable(QStringLiteral("axis %1 at %2").arg(axis).arg(pos(axis))));
        // A g1 line's acceleration goes to the joint's and the axis's live
        // limit; a g0 puts it back.
        QCOMPARE(runBlock(QStringLiteral("g1 f3000 acc500 z11")), 1);
        QCOMPARE(SimMachine::halcmd({QStringLiteral("getp"), QStringLiteral("ini.2.max_acceleration")}), QStringLiteral("500"));
        QCOMPARE(SimMachine::halcmd({QStringLiteral("getp"), QStringLiteral("ini.z.max_acceleration")}), QStringLiteral("500"));
        QCOMPARE(runBlock(QStringLiteral("g0 z12")), 1);
        QCOMPARE(SimMachine::halcmd({QStringLiteral("getp"), QStringLiteral("ini.2.max_acceleration")}), QStringLiteral("2000"));
    }

    // The simulated card's encoders and step generators follow the joints.
    // The encoder divides the strip's real counts by the configured scale:
    // a strip with 201 counts per millimetre against ENCODER_SCALE 200 reads
    // 0.5 % long, and the link publishes that (relative to homing). A slip
    // puts the step generator ahead of the head.
    void simulatedEncodersFollowTheJoints()
    {
        QCOMPARE(m_cnc->config().encoderScale[0], 200.0);
        // HAL prints its values with a few digits less than a double has.
        auto close = [](double v, double expected) { return qAbs(v - expected) < 1e-4; };
        auto value = [](const QString &pin) {
            return SimMachine::halcmd({QStringLiteral("getp"), pin}).trimmed().toDouble();
        };
        const QString enc0 = QStringLiteral("hm2_5i25.0.encoder.00.position");
        const QString step0 = QStringLiteral("hm2_5i25.0.stepgen.00.position-fb");
        QCOMPARE(runBlock(QStringLiteral("g0 x100 y50 z10")), 1);
        QTRY_VERIFY(close(value(enc0), 100.0));
        QVERIFY(close(value(step0), 100.0));
        QVERIFY(close(value(QStringLiteral("hm2_5i25.0.encoder.01.position")), 50.0));
        QVERIFY(close(value(QStringLiteral("hm2_5i25.0.stepgen.01.position-fb")), 50.0));
        QVERIFY(close(value(QStringLiteral("hm2_5i25.0.encoder.02.position")), 10.0));
        QVERIFY(close(value(QStringLiteral("hm2_5i25.0.stepgen.02.position-fb")), 10.0));

        QSignalSpy enc(m_cnc, &WorkerCnc::halEncXSend);
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("sim-strip-x.counts-per-mm"), QStringLiteral("201")});
        QTRY_VERIFY(close(value(enc0), 100.5));
        QTRY_VERIFY(!enc.isEmpty());
        const double at100 = enc.last().at(0).toDouble();
        QCOMPARE(runBlock(QStringLiteral("g0 x200")), 1);
        QTRY_VERIFY(close(enc.last().at(0).toDouble() - at100, 100.5));
        QVERIFY(close(value(step0), 200.0));

        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("sim-step-x.offset"), QStringLiteral("2.5")});
        QTRY_VERIFY(close(value(step0), 202.5));
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("sim-step-x.offset"), QStringLiteral("0")});
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("sim-strip-x.counts-per-mm"), QStringLiteral("200")});
        QTRY_VERIFY(close(value(enc0), 200.0) && close(value(step0), 200.0));
    }

    void shortMovesAreWaitedFor()
    {
        // Each line starts from where the previous one really ended.
        for (const double x : {50.3, 50.9, 50.2, 50.45}) {
            QCOMPARE(runBlock(QStringLiteral("g0 x%1").arg(x)), 1);
            QVERIFY2(near(pos(0), x), qPrintable(QStringLiteral("%1 at %2").arg(pos(0)).arg(x)));
            QVERIFY(status().inPosition[0]);
        }
        QCOMPARE(runBlock(QStringLiteral("g0 y60.4\ng0 y59.7\ng0 y60.1")), 1);
        QVERIFY(near(pos(1), 60.1));
    }

    void outputsAndDwell()
    {
        QCOMPARE(runBlock(QStringLiteral("m64 p1\nm64 p8")), 1);
        QTRY_VERIFY(status().digitalOut[1] == 1 && status().digitalOut[0] == 1 && status().digitalOut[8] == 1);
        QCOMPARE(runBlock(QStringLiteral("m65 p1\nm65 p8")), 1);
        QTRY_VERIFY(status().digitalOut[1] == 0 && status().digitalOut[8] == 0);
        QCOMPARE(status().digitalOut[0], 1); // the compressor stays on
        qint64 ms = 0;
        QCOMPARE(runBlock(QStringLiteral("g4 p0.6"), 5000, &ms), 1);
        QVERIFY2(ms >= 600 && ms < 1500, qPrintable(QString::number(ms)));
        QCOMPARE(runBlock(QStringLiteral("g4 p-3"), 5000, &ms), 1);
        QVERIFY2(ms < 500, qPrintable(QString::number(ms)));
    }

    // The software PWM of the vibration feeders on output 6: its own command
    // channel switches the output with the planned periods and leaves it off.
    void softwarePwmOnOutputSix()
    {
        LinuxCncChannel watch;
        QString error;
        QVERIFY2(watch.open(5.0, &error), qPrintable(error));
        QSignalSpy done(m_cnc, &WorkerCnc::pwmVibroDoneSend);
        QElapsedTimer t;
        t.start();
        m_cnc->startPWMVibroGet(10, 50, 1.0); // 10 Hz, half on, one second
        QList<qint64> rising, falling;
        bool last = false;
        MachineStatus st;
        while (done.isEmpty() && t.elapsed() < 5000) {
            if (watch.readStatus(st)) {
                const bool on = st.digitalOut[6] == 1;
                if (on && !last)
                    rising << t.elapsed();
                if (!on && last)
                    falling << t.elapsed();
                last = on;
            }
            QTest::qWait(1);
        }
        QCOMPARE(done.size(), 1);
        QVERIFY2(t.elapsed() >= 950 && t.elapsed() < 1600, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(rising.size() >= 9 && rising.size() <= 11, qPrintable(QString::number(rising.size())));
        // Periods of 100 ms and pulses of 50 ms, within the machine's answer times.
        for (int i = 1; i < rising.size(); ++i)
            QVERIFY2(qAbs(rising.at(i) - rising.at(i - 1) - 100) <= 25,
                     qPrintable(QStringLiteral("period %1").arg(rising.at(i) - rising.at(i - 1))));
        for (int i = 0; i < rising.size() && i < falling.size(); ++i) {
            if (falling.at(i) > rising.at(i))
                QVERIFY2(qAbs(falling.at(i) - rising.at(i) - 50) <= 25,
                         qPrintable(QStringLiteral("pulse %1").arg(falling.at(i) - rising.at(i))));
        }
        QTest::qWait(150);
        QVERIFY(watch.readStatus(st));
        QCOMPARE(st.digitalOut[6], 0);

        // Stopped early by an abort: done follows at once and the output is off.
        done.clear();
        m_cnc->startPWMVibroGet(10, 50, 5.0);
        QTest::qWait(230);
        m_cnc->setAbort();
        QVERIFY(done.wait(1000));
        QTest::qWait(150);
        QVERIFY(watch.readStatus(st));
        QCOMPARE(st.digitalOut[6], 0);
        watch.close();
    }

    // The device programmer's verdict comes on digital inputs 10 (success)
    // and 11 (error), driven here through HAL.
    void programmerInputsThroughHal()
    {
        QSignalSpy result(m_cnc, &WorkerCnc::programmerResultSend);
        QSignalSpy success(m_cnc, &WorkerCnc::programmerSucPinSend);
        QSignalSpy failure(m_cnc, &WorkerCnc::programmerErrPinSend);
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("motion.digital-in-10"), QStringLiteral("1")});
        QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 2000);
        QCOMPARE(result.first().at(0).toString(), QStringLiteral("success"));
        QVERIFY(!success.isEmpty());
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("motion.digital-in-10"), QStringLiteral("0")});
        QTRY_VERIFY_WITH_TIMEOUT(success.size() >= 2, 2000);
        result.clear();
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("motion.digital-in-11"), QStringLiteral("1")});
        QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 2000);
        QCOMPARE(result.first().at(0).toString(), QStringLiteral("error"));
        QVERIFY(!failure.isEmpty());
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("motion.digital-in-11"), QStringLiteral("0")});
        QTRY_VERIFY_WITH_TIMEOUT(failure.size() >= 2, 2000);
    }

    void safeHeightSensorFailing()
    {
        QCOMPARE(runBlock(QStringLiteral("g0 z10")), 1);
        QCOMPARE(runBlock(QStringLiteral("g0 zmax")), 1); // the sensor answers
        QCOMPARE(runBlock(QStringLiteral("g0 z10")), 1);
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("safe-height-ok.in1"), QStringLiteral("0")});
        QSignalSpy errors(m_cnc, &WorkerCnc::showError);
        qint64 ms = 0;
        const int result = runBlock(QStringLiteral("g0 zMax"), 10000, &ms);
        SimMachine::halcmd({QStringLiteral("setp"), QStringLiteral("safe-height-ok.in1"), QStringLiteral("1")});
        QCOMPARE(result, 0);
        QVERIFY(ms >= 500); // one re-check half a second later
        QVERIFY(texts(errors).contains(QStringLiteral("Датчик безопасной высоты не сработал! Аварийное отключение!")));
        QTRY_COMPARE(status().taskState, int(MachineStatus::Estop));
        QVERIFY(powerOnAndHome());
    }

    void softLimitRefusal()
    {
        QSignalSpy machineErrors(m_cnc, &WorkerCnc::errorSend);
        QCOMPARE(runBlock(QStringLiteral("g0 x100\ng0 x500.005 (snapped)\ng0 y600")), 0);
        QVERIFY2(near(pos(0), 499.95), qPrintable(QString::number(pos(0), 'f', 6)));
        QCOMPARE(texts(machineErrors),
                 QStringList{QStringLiteral("Перемещение, заданное командой \"g0 y600\" выходит за допустимый диапазон!")});
        QTRY_COMPARE(status().taskState, int(MachineStatus::Estop));
        QVERIFY(powerOnAndHome());
    }

    void abortAndEstopInTheMiddleOfABlock_data()
    {
        QTest::addColumn<bool>("estop");
        QTest::newRow("abort") << false;
        QTest::newRow("E-stop") << true;
    }

    void abortAndEstopInTheMiddleOfABlock()
    {
        QFETCH(bool, estop);
        QCOMPARE(runBlock(QStringLiteral("g0 x10 y60.1")), 1);
        QSignalSpy done(m_cnc, &WorkerCnc::gCodeDoneSend);
        m_cnc->getGCode(QStringLiteral("g1 f3000 x400\ng0 y300"), false);
        QTest::qWait(300);
        QVERIFY(done.isEmpty());
        if (estop)
            m_cnc->estopGet();
        else
            m_cnc->setAbort();
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.first().at(0).toBool(), false);
        QTest::qWait(500);
        QVERIFY(pos(0) < 390);
        QVERIFY2(near(pos(1), 60.1), qPrintable(QString::number(pos(1), 'f', 6)));
        QCOMPARE(done.size(), 1);
        if (estop) {
            QTRY_COMPARE(status().taskState, int(MachineStatus::Estop));
            QVERIFY(powerOnAndHome());
        }
    }

    // The second block is refused at once (its sender is answered); the
    // first one still runs to its end on the real machine.
    void blockWhileAnotherRunsIsRefusedAtOnce()
    {
        QSignalSpy done(m_cnc, &WorkerCnc::gCodeDoneSend);
        m_cnc->getGCode(QStringLiteral("g0 x200"), false);
        m_cnc->getGCode(QStringLiteral("g0 x300"), false);
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.at(0).at(0).toBool(), false);
        QVERIFY(done.wait(10000));
        QCOMPARE(done.size(), 2);
        QCOMPARE(done.at(1).at(0).toBool(), true);
        QTest::qWait(300);
        QCOMPARE(done.size(), 2);
        QVERIFY2(near(pos(0), 200.0), qPrintable(QString::number(pos(0), 'f', 6)));
    }

    void homeInPlaceAtAGivenPosition()
    {
        m_cnc->disableHomeGet(0, 123.5);
        QVERIFY(powerOnAndHome());
        QVERIFY2(near(pos(0), 123.5), qPrintable(QString::number(pos(0), 'f', 6)));
    }

    void startKeyOnTheMachine()
    {
        QSignalSpy start(m_cnc, &WorkerCnc::startSend);
        QSignalSpy key(m_cnc, &WorkerCnc::halStartPauseSend);
        SimMachine::halcmd({QStringLiteral("sets"), QStringLiteral("start-pause"), QStringLiteral("0")});
        QTRY_VERIFY(!key.isEmpty() && key.last().at(0).toInt() == 1);
        QTest::qWait(200);
        SimMachine::halcmd({QStringLiteral("sets"), QStringLiteral("start-pause"), QStringLiteral("1")});
        QTRY_VERIFY(key.last().at(0).toInt() == 0);
        QTRY_COMPARE(start.size(), 1);
    }

    void linuxCncKilledInTheMiddleOfABlock()
    {
        QCOMPARE(runBlock(QStringLiteral("g0 x100")), 1);
        QSignalSpy done(m_cnc, &WorkerCnc::gCodeDoneSend);
        QSignalSpy errors(m_cnc, &WorkerCnc::showError);
        QSignalSpy running(m_cnc, &WorkerCnc::cncRunningSend);
        m_cnc->getGCode(QStringLiteral("g1 f600 x10"), false);
        QTest::qWait(300);
        const qint64 group = m_cnc->linuxCncPid();
        QVERIFY(group > 0);
        ::kill(-pid_t(group), SIGKILL);
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().at(0).toBool(), false);
        QVERIFY(texts(errors).contains(QStringLiteral("Связь с LinuxCNC прервана!")));
        QVERIFY(!m_cnc->connected());
        QVERIFY(!running.isEmpty() && !running.last().at(0).toBool());
        // A block now ends at once as failed.
        QCOMPARE(runBlock(QStringLiteral("g0 x20"), 1000), 0);
        // A new start works and the machine moves again.
        QVERIFY(startCnc());
        QVERIFY(powerOnAndHome());
        QCOMPARE(runBlock(QStringLiteral("g0 x30")), 1);
        QVERIFY2(near(pos(0), 30.0), qPrintable(QString::number(pos(0), 'f', 6)));
    }

    void nothingLeftAfterStop()
    {
        m_cnc->stopCnc();
        QVERIFY(!m_cnc->connected());
        QTRY_VERIFY_WITH_TIMEOUT(SimMachine::linuxCncProcesses().isEmpty(), 15000);
    }

    void linuxCncDoesNotOutliveTheLink()
    {
        // As at program exit: the link is deleted while LinuxCNC runs.
        WorkerCnc *previous = m_cnc;
        m_cnc = new WorkerCnc;
        const bool started = startCnc();
        delete m_cnc;
        m_cnc = previous;
        QVERIFY(started);
        // The realtime part ends a moment after the start script.
        QTRY_VERIFY_WITH_TIMEOUT(SimMachine::linuxCncProcesses().isEmpty(), 5000);
    }
};

QTEST_GUILESS_MAIN(TestCncSim)
#include "tst_cnc_sim.moc"

// Vibration feeders: the software PWM over a recording output double, its
// thread, the hardware PWM and blow-off commands run through a fake halcmd.
// The software PWM's timing and its stop by an abort are measured on the
// machine (tst_cnc_sim).
#include "TestSupport.h"
#include "devices/DigitalOutputs.h"
#include "devices/HalCommands.h"
#include "devices/SoftwarePwm.h"
#include "devices/ThreadVibroPWM.h"
#include "devices/VibroPwm.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <mutex>

namespace {

// Records every output switch as 1 (on) or 0 (off); refuses commands after
// refuseAfter of them when set.
struct Recording
{
    std::mutex lock;
    QString switches;
    int refuseAfter = -1;

    QString pattern()
    {
        std::lock_guard<std::mutex> guard(lock);
        return switches;
    }
};

class RecordingOutputs : public DigitalOutputs
{
public:
    explicit RecordingOutputs(std::shared_ptr<Recording> recording) : m_recording(std::move(recording)) {}
    bool setDigitalOutput(int, bool on) override
    {
        std::lock_guard<std::mutex> guard(m_recording->lock);
        if (m_recording->refuseAfter >= 0 && m_recording->switches.size() >= m_recording->refuseAfter)
            return false;
        m_recording->switches += on ? '1' : '0';
        return true;
    }
private:
    std::shared_ptr<Recording> m_recording;
};

ThreadVibroPWM::OutputsFactory factoryFor(const std::shared_ptr<Recording> &recording)
{
    return [recording] { return std::make_unique<RecordingOutputs>(recording); };
}

QString periods(int n, const QString &last = QStringLiteral("0"))
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += QStringLiteral("01");
    return text + last;
}

// A halcmd that appends its arguments as one line to the log next to it.
QString writeFakeHalcmd(const QString &folder)
{
    const QString path = folder + QStringLiteral("/halcmd");
    TestSupport::writeScript(path, "echo \"$*\" >> \"$(dirname \"$0\")/halcmd.log\"");
    return path;
}

QStringList logLines(const QString &folder)
{
    const QByteArray log = TestSupport::contentOf(folder + QStringLiteral("/halcmd.log"));
    return QString::fromUtf8(log).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestVibro : public QObject
{
    Q_OBJECT
private slots:
    void plan_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("duty");
        QTest::addColumn<double>("length");
        QTest::addColumn<int>("usedFrequency");
        QTest::addColumn<int>("usedDuty");
        QTest::addColumn<int>("periodCount");
        QTest::addColumn<qint64>("on");
        QTest::addColumn<qint64>("off");
        QTest::newRow("25 Hz is 20") << 25 << 50 << 1.0 << 20 << 50 << 20 << 25000LL << 25000LL;
        QTest::newRow("2.7 s runs 2 s") << 5 << 20 << 2.7 << 5 << 20 << 10 << 40000LL << 160000LL;
        QTest::newRow("duty above 100") << 20 << 180 << 1.0 << 20 << 100 << 20 << 50000LL << 0LL;
        QTest::newRow("7 Hz truncates") << 7 << 33 << 1.0 << 7 << 33 << 7 << 47142LL << 95714LL;
        QTest::newRow("negative length") << 10 << 50 << -1.0 << 10 << 50 << 0 << 50000LL << 50000LL;
    }

    void plan()
    {
        QFETCH(int, frequency);
        QFETCH(int, duty);
        QFETCH(double, length);
        QFETCH(int, usedFrequency);
        QFETCH(int, usedDuty);
        QFETCH(int, periodCount);
        QFETCH(qint64, on);
        QFETCH(qint64, off);
        const SoftwarePwm::Plan p = SoftwarePwm::makePlan(frequency, duty, length);
        QCOMPARE(p.frequency, usedFrequency);
        QCOMPARE(p.duty, usedDuty);
        QCOMPARE(p.periods(), periodCount);
        QCOMPARE(qint64(p.onMicros), on);
        QCOMPARE(qint64(p.offMicros), off);
    }

    void unacknowledgedCommandStops()
    {
        auto recording = std::make_shared<Recording>();
        recording->refuseAfter = 3;
        RecordingOutputs outputs(recording);
        SoftwarePwm pwm(outputs);
        QVERIFY(!pwm.run(SoftwarePwm::makePlan(20, 50, 5)));
        QCOMPARE(recording->pattern(), QStringLiteral("010"));
    }

    void threadWithoutChannel()
    {
        ThreadVibroPWM thread([] { return std::unique_ptr<DigitalOutputs>(); }, 20, 50, 3.0);
        thread.start();
        QVERIFY(thread.wait(1000));
        QVERIFY(!thread.succeeded());
    }

    // The whole command list: hardwareThroughHalcmd. A frequency from 5 to
    // 20 Hz is kept, a duty above 100 % is full.
    void hardwareCommands()
    {
        QCOMPARE(HalCommands::hardwarePwmStart(QStringLiteral("5i25"), 12, 5).at(0).at(2), QStringLiteral("12"));
        QCOMPARE(HalCommands::hardwarePwmStart(QStringLiteral("5i25"), 12, 250).at(1).at(2), QStringLiteral("1"));
    }

    void hardwareThroughHalcmd()
    {
        QTemporaryDir dir;
        const QString halcmd = writeFakeHalcmd(dir.path());
        VibroPwm vibro(HalCmdRunner(halcmd), nullptr);
        vibro.setHardware(true, QStringLiteral("7i92"));
        QSignalSpy done(&vibro, &VibroPwm::done);
        QElapsedTimer clock;
        clock.start();
        vibro.start(4, 35, 1.5);
        QCOMPARE(logLines(dir.path()), (QStringList{"setp hm2_7i92.0.pwmgen.pwm_frequency 20",
                                                    "setp hm2_7i92.0.pwmgen.00.value 0.35",
                                                    "sets vibro-enable true"}));
        vibro.start(10, 50, 1.0);   // a second start while vibrating is dropped
        QCOMPARE(logLines(dir.path()).size(), 3);
        QVERIFY(done.wait(3000));
        QVERIFY2(clock.elapsed() >= 1450, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(logLines(dir.path()).mid(3), QStringList{"sets vibro-enable false"});
        // Stopped early: off at once, done once.
        vibro.start(10, 50, 5.0);
        vibro.stop();
        QCOMPARE(done.count(), 2);
        QCOMPARE(logLines(dir.path()).last(), QStringLiteral("sets vibro-enable false"));
        QTest::qWait(200);
        QCOMPARE(done.count(), 2);

        HalCmdRunner runner(halcmd);
        QVERIFY(runner.run(HalCommands::blowWidth(0.05)));
        QCOMPARE(logLines(dir.path()).last(), QStringLiteral("setp oneshot-blow.width 0.05"));
        // A halcmd that cannot be started is reported, not fatal.
        HalCmdRunner missing(dir.filePath("no-such-halcmd"));
        QVERIFY(!missing.run(HalCommands::blowWidth(0.1)));
    }

    void softwareController()
    {
        auto recording = std::make_shared<Recording>();
        VibroPwm vibro(HalCmdRunner(QStringLiteral("/nonexistent/halcmd")), factoryFor(recording));
        vibro.setHardware(false, QString());
        QSignalSpy done(&vibro, &VibroPwm::done);
        vibro.start(20, 50, 1.0);
        QVERIFY(vibro.isRunning());
        vibro.start(20, 50, 1.0);   // dropped
        QVERIFY(done.wait(3000));
        QVERIFY(!vibro.isRunning());
        QCOMPARE(recording->pattern(), periods(20));
        QTest::qWait(100);
        QCOMPARE(done.count(), 1);
        // Stopped early, still done once and off.
        const int switched = recording->pattern().size();
        vibro.start(5, 50, 10.0);
        QTRY_VERIFY(recording->pattern().size() > switched);
        vibro.stop();
        QVERIFY(done.wait(1000));
        QCOMPARE(done.count(), 2);
        QVERIFY(recording->pattern().endsWith('0'));
    }
};

QTEST_GUILESS_MAIN(TestVibro)
#include "tst_vibro.moc"

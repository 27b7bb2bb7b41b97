// The RLC meter worker over its emulator on a pseudo-terminal: opening with
// its retry, set-up, readings and every fault (a refused set-up and over
// range, as the meter's window shows them, are in tst_device_windows).
// Short answer limits, except one row per limit at the meter's real timing.
#include "InstrumentFixture.h"

#include <QElapsedTimer>
#include <QtTest>

#include <memory>

namespace {
const QString noAnswer = QStringLiteral("Нет ответа от измерителя.");
// The meter's own limits, which the program keeps.
constexpr int realOpenMs = 1500, realSetupMs = 2500, realReadMs = 1500;
}

class TestRlcWorker : public QObject
{
    Q_OBJECT

    std::unique_ptr<RlcEmulator> emulator;
    std::unique_ptr<WorkerRLC> worker;

    // A silent meter is the row at the real timing: a new worker with its
    // own limits. Every other row keeps the quick ones.
    static bool real(RlcEmulatorFault fault) { return fault == RlcEmulatorFault::Silent; }
    void openWithFault(RlcEmulatorFault fault)
    {
        if (real(fault))
            worker = std::make_unique<WorkerRLC>();
        QVERIFY(InstrumentFixture::open(*worker, *emulator));
        emulator->setFault(fault);
        emulator->clearCommands();
    }

private slots:
    void init()
    {
        emulator = std::make_unique<RlcEmulator>();
        emulator->setReading('R', 'A', 12345, 3);
        worker = std::make_unique<WorkerRLC>();
        worker->setLimits(InstrumentFixture::quickRlc());
    }
    void cleanup()
    {
        worker.reset();
        emulator.reset();
    }

    void opening_data()
    {
        QTest::addColumn<RlcEmulatorFault>("fault");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("tries");   // open limits run out before the verdict
        QTest::newRow("left in set-up mode") << RlcEmulatorFault::StuckInSetup
                                             << QStringList{"A", "[BXXXXXX]", "A"} << 1;
        QTest::newRow("silent, real time") << RlcEmulatorFault::Silent << QStringList{"A", "[BXXXXXX]"} << 2;
    }
    void opening()
    {
        QFETCH(RlcEmulatorFault, fault);
        QFETCH(QStringList, commands);
        QFETCH(int, tries);
        emulator = std::make_unique<RlcEmulator>(fault);   // the fault shows from the start
        if (real(fault))
            worker = std::make_unique<WorkerRLC>();
        QSignalSpy opened(worker.get(), &WorkerRLC::openDone);
        QSignalSpy failed(worker.get(), &WorkerRLC::openFailed);
        QElapsedTimer clock;
        clock.start();
        worker->runRLC(emulator->portName());
        QTRY_COMPARE_WITH_TIMEOUT(opened.count() + failed.count(), 1, 5000);
        const int openMs = real(fault) ? realOpenMs : InstrumentFixture::quickRlc().openMs;
        QVERIFY2(clock.elapsed() >= tries * openMs - 50, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(opened.count(), real(fault) ? 0 : 1);   // a silent meter does not open
        if (real(fault))
            QCOMPARE(failed.at(0).at(0).toString(), noAnswer);
        QVERIFY(InstrumentFixture::settled(*worker));   // no second retry, no late signal
        QCOMPARE(emulator->commands(), commands);
        QCOMPARE(opened.count() + failed.count(), 1);
    }

    // Set-up for the value of 100 nF.
    void setup_data()
    {
        QTest::addColumn<RlcEmulatorFault>("fault");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("failure");
        QTest::newRow("reply split") << RlcEmulatorFault::SplitReply << QStringList{"S", "[ECRSAM2]"} << QString();
        QTest::newRow("silent, real time") << RlcEmulatorFault::Silent << QStringList{"S", "[BXXXXXX]"} << noAnswer;
    }
    void setup()
    {
        QFETCH(RlcEmulatorFault, fault);
        QFETCH(QStringList, commands);
        QFETCH(QString, failure);
        openWithFault(fault);
        QSignalSpy done(worker.get(), &WorkerRLC::setupDone);
        QSignalSpy failed(worker.get(), &WorkerRLC::setupFailed);
        QElapsedTimer clock;
        clock.start();
        worker->setup(QStringLiteral("C"), 1e-7);
        QTRY_COMPARE_WITH_TIMEOUT(done.count() + failed.count(), 1, 4000);
        if (real(fault))
            QVERIFY2(clock.elapsed() >= realSetupMs - 50, qPrintable(QString::number(clock.elapsed())));
        if (failure.isEmpty())
            QCOMPARE(emulator->lastSetup(), commands.at(1));
        else
            QCOMPARE(failed.at(0).at(0).toString(), failure);
        QCOMPARE(done.count(), failure.isEmpty() ? 1 : 0);
        QVERIFY(InstrumentFixture::settled(*worker));   // the set-up limit has been stopped
        QCOMPARE(done.count() + failed.count(), 1);
        QCOMPARE(emulator->commands(), commands);
    }

    void reading_data()
    {
        QTest::addColumn<RlcEmulatorFault>("fault");
        QTest::addColumn<int>("busyReadings");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("requests");
        QTest::newRow("six busy, then the value") << RlcEmulatorFault::BusyThenValue << 6 << QString() << 7;
        QTest::newRow("seventh busy fails") << RlcEmulatorFault::Busy << 0
                                            << QStringLiteral("Слишком долгая подстройка диапазона.") << 7;
        QTest::newRow("36-character line") << RlcEmulatorFault::ShortLine << 0 << noAnswer << 1;
        QTest::newRow("silent, real time") << RlcEmulatorFault::Silent << 0 << noAnswer << 1;
        QTest::newRow("garbage") << RlcEmulatorFault::Garbage << 0 << noAnswer << 1;
        QTest::newRow("unplugged") << RlcEmulatorFault::Unplug << 0 << noAnswer << 1;
        QTest::newRow("letters in the value")
            << RlcEmulatorFault::BadDigits << 0
            << QStringLiteral("Некорректный ответ измерителя: |")
                   + QString::fromLatin1(RlcEmulator::readingLine('R', 'A', 12345, 3)).replace(5, 5, "12O45") + "|"
            << 1;
    }
    void reading()
    {
        QFETCH(RlcEmulatorFault, fault);
        QFETCH(int, busyReadings);
        QFETCH(QString, failure);
        QFETCH(int, requests);
        openWithFault(fault);
        emulator->setBusyReadings(busyReadings);
        QSignalSpy values(worker.get(), &WorkerRLC::sendValue);
        QSignalSpy failed(worker.get(), &WorkerRLC::readFailed);
        QElapsedTimer clock;
        clock.start();
        worker->read();
        QTRY_COMPARE_WITH_TIMEOUT(values.count() + failed.count(), 1, 3000);
        if (real(fault))
            QVERIFY2(clock.elapsed() >= realReadMs - 50, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(emulator->commands().join(QString()), QString(requests, QLatin1Char('N')));
        if (failure.isEmpty()) {
            QCOMPARE(values.at(0).at(0).toString(), QStringLiteral("R"));
            QCOMPARE(values.at(0).at(1).toDouble(), 12345.0);
            QCOMPARE(values.at(0).at(2).toString(), QStringLiteral("12.345kΩ"));
        } else {
            QCOMPARE(failed.at(0).at(0).toString(), failure);
        }
        QVERIFY(InstrumentFixture::settled(*worker));   // the answer limit is not left running
        QCOMPARE(values.count() + failed.count(), 1);
    }

    // Busy readings of separate requests do not add up: four each, more
    // than the six one request may take together.
    void busyCountStartsOverWithEachRequest()
    {
        openWithFault(RlcEmulatorFault::BusyThenValue);
        QSignalSpy values(worker.get(), &WorkerRLC::sendValue);
        QSignalSpy failed(worker.get(), &WorkerRLC::readFailed);
        for (int i = 1; i <= 2; ++i) {
            emulator->setBusyReadings(4);
            worker->read();
            QTRY_COMPARE_WITH_TIMEOUT(values.count() + failed.count(), i, 3000);
        }
        QCOMPARE(failed.count(), 0);
    }

    void readingDiscardsStaleBytes()
    {
        // A half line left over from before must not glue onto the answer.
        emulator->setReading('R', 'A', 10000, 3);
        openWithFault(RlcEmulatorFault::Garbage);
        QSignalSpy failed(worker.get(), &WorkerRLC::readFailed);
        QSignalSpy values(worker.get(), &WorkerRLC::sendValue);
        worker->read();
        QVERIFY(failed.wait(2500));
        emulator->setFault(RlcEmulatorFault::None);
        worker->read();
        QVERIFY(values.wait(2500));
        QCOMPARE(values.at(0).at(1).toDouble(), 10000.0);
    }
};

QTEST_GUILESS_MAIN(TestRlcWorker)
#include "tst_rlc_worker.moc"

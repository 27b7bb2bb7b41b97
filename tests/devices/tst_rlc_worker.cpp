// The RLC meter worker over its emulator on a pseudo-terminal: opening with
// its retry, set-up by value and by parameters, readings and every fault.
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
    WorkerRLC::Limits limits;

    // A new worker with its own limits for a row at the real timing, or the
    // quick ones.
    void useLimits(bool real)
    {
        if (real) {
            worker = std::make_unique<WorkerRLC>();
            limits = worker->limits();
        } else {
            limits = InstrumentFixture::quickRlc();
            worker->setLimits(limits);
        }
    }
    void openWithFault(RlcEmulatorFault fault)
    {
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
        useLimits(false);
    }
    void cleanup()
    {
        worker.reset();
        emulator.reset();
    }

    void opening_data()
    {
        QTest::addColumn<RlcEmulatorFault>("fault");
        QTest::addColumn<bool>("real");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("tries");   // open limits run out before the verdict
        QTest::newRow("answers") << RlcEmulatorFault::None << false << true << QStringList{"A"} << 0;
        QTest::newRow("left in set-up mode") << RlcEmulatorFault::StuckInSetup << false << true
                                             << QStringList{"A", "[BXXXXXX]", "A"} << 1;
        QTest::newRow("silent") << RlcEmulatorFault::Silent << false << false << QStringList{"A", "[BXXXXXX]"} << 2;
        QTest::newRow("silent, real time") << RlcEmulatorFault::Silent << true << false
                                           << QStringList{"A", "[BXXXXXX]"} << 2;
    }
    void opening()
    {
        QFETCH(RlcEmulatorFault, fault);
        QFETCH(bool, real);
        QFETCH(bool, opens);
        QFETCH(QStringList, commands);
        QFETCH(int, tries);
        emulator = std::make_unique<RlcEmulator>(fault);   // the fault shows from the start
        useLimits(real);
        QSignalSpy opened(worker.get(), &WorkerRLC::openDone);
        QSignalSpy failed(worker.get(), &WorkerRLC::openFailed);
        QElapsedTimer clock;
        clock.start();
        worker->runRLC(emulator->portName());
        QTRY_COMPARE_WITH_TIMEOUT(opened.count() + failed.count(), 1, 5000);
        QVERIFY2(clock.elapsed() >= tries * (real ? realOpenMs : limits.openMs) - 50, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(opened.count(), opens ? 1 : 0);
        if (!opens)
            QCOMPARE(failed.at(0).at(0).toString(), noAnswer);
        QVERIFY(InstrumentFixture::settled(*worker));   // no second retry, no late signal
        QCOMPARE(emulator->commands(), commands);
        QCOMPARE(opened.count() + failed.count(), 1);
    }

    void portThatCannotOpen()
    {
        QSignalSpy failed(worker.get(), &WorkerRLC::openFailed);
        worker->runRLC(QStringLiteral("/nonexistent/ttyRLC"));
        QCOMPARE(failed.count(), 1);
        const QString message = failed.at(0).at(0).toString();
        QVERIFY(message.startsWith(QStringLiteral("Ошибка открытия порта: ")));
        QVERIFY(message.size() > 23);
    }

    void setup_data()
    {
        QTest::addColumn<RlcEmulatorFault>("fault");
        QTest::addColumn<bool>("real");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariantList>("arguments");   // [value] or [freqLow, parallel]
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("failure");
        const auto none = RlcEmulatorFault::None;
        QTest::newRow("150 ohm") << none << false << "R" << QVariantList{150.0} << QStringList{"S", "[ERRPBM1]"}
                                 << QString();
        QTest::newRow("100 nF, reply split") << RlcEmulatorFault::SplitReply << false << "C" << QVariantList{1e-7}
                                             << QStringList{"S", "[ECRSAM2]"} << QString();
        QTest::newRow("L 1 kHz series") << none << false << "L" << QVariantList{false, false}
                                        << QStringList{"S", "[ELRSAA0]"} << QString();
        QTest::newRow("refused") << RlcEmulatorFault::SetupRefused << false << "R" << QVariantList{150.0}
                                 << QStringList{"S", "[ERRPBM1]", "[BXXXXXX]"}
                                 << QStringLiteral("Измеритель отклонил настройку.");
        QTest::newRow("silent") << RlcEmulatorFault::Silent << false << "R" << QVariantList{150.0}
                                << QStringList{"S", "[BXXXXXX]"} << noAnswer;
        QTest::newRow("silent, real time") << RlcEmulatorFault::Silent << true << "R" << QVariantList{150.0}
                                           << QStringList{"S", "[BXXXXXX]"} << noAnswer;
    }
    void setup()
    {
        QFETCH(RlcEmulatorFault, fault);
        QFETCH(bool, real);
        QFETCH(QString, type);
        QFETCH(QVariantList, arguments);
        QFETCH(QStringList, commands);
        QFETCH(QString, failure);
        useLimits(real);
        openWithFault(fault);
        QSignalSpy done(worker.get(), &WorkerRLC::setupDone);
        QSignalSpy failed(worker.get(), &WorkerRLC::setupFailed);
        QElapsedTimer clock;
        clock.start();
        if (arguments.size() == 1)
            worker->setup(type, arguments.at(0).toDouble());
        else
            worker->setup(type, arguments.at(0).toBool(), arguments.at(1).toBool());
        QTRY_COMPARE_WITH_TIMEOUT(done.count() + failed.count(), 1, 4000);
        if (fault == RlcEmulatorFault::Silent)
            QVERIFY2(clock.elapsed() >= (real ? realSetupMs : limits.setupMs) - 50, qPrintable(QString::number(clock.elapsed())));
        if (failure.isEmpty()) {
            QCOMPARE(done.count(), 1);
            QCOMPARE(emulator->lastSetup(), commands.at(1));
        } else {
            QCOMPARE(failed.at(0).at(0).toString(), failure);
        }
        QVERIFY(InstrumentFixture::settled(*worker));   // the set-up limit has been stopped
        QCOMPARE(done.count() + failed.count(), 1);
        QCOMPARE(emulator->commands(), commands);
    }

    void reading_data()
    {
        QTest::addColumn<RlcEmulatorFault>("fault");
        QTest::addColumn<bool>("real");
        QTest::addColumn<int>("busyReadings");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("requests");
        QTest::newRow("value") << RlcEmulatorFault::None << false << 0 << QString() << 1;
        QTest::newRow("six busy, then the value") << RlcEmulatorFault::BusyThenValue << false << 6 << QString() << 7;
        QTest::newRow("seventh busy fails") << RlcEmulatorFault::Busy << false << 0
                                            << QStringLiteral("Слишком долгая подстройка диапазона.") << 7;
        QTest::newRow("over range") << RlcEmulatorFault::OverRange << false << 0
                                    << QStringLiteral("Переполнение шкалы") << 1;
        QTest::newRow("36-character line") << RlcEmulatorFault::ShortLine << false << 0 << noAnswer << 1;
        QTest::newRow("silent") << RlcEmulatorFault::Silent << false << 0 << noAnswer << 1;
        QTest::newRow("silent, real time") << RlcEmulatorFault::Silent << true << 0 << noAnswer << 1;
        QTest::newRow("garbage") << RlcEmulatorFault::Garbage << false << 0 << noAnswer << 1;
        QTest::newRow("unplugged") << RlcEmulatorFault::Unplug << false << 0 << noAnswer << 1;
        QTest::newRow("letters in the value")
            << RlcEmulatorFault::BadDigits << false << 0
            << QStringLiteral("Некорректный ответ измерителя: |")
                   + QString::fromLatin1(RlcEmulator::readingLine('R', 'A', 12345, 3)).replace(5, 5, "12O45") + "|"
            << 1;
    }
    void reading()
    {
        QFETCH(RlcEmulatorFault, fault);
        QFETCH(bool, real);
        QFETCH(int, busyReadings);
        QFETCH(QString, failure);
        QFETCH(int, requests);
        useLimits(real);
        openWithFault(fault);
        emulator->setBusyReadings(busyReadings);
        QSignalSpy values(worker.get(), &WorkerRLC::sendValue);
        QSignalSpy failed(worker.get(), &WorkerRLC::readFailed);
        QElapsedTimer clock;
        clock.start();
        worker->read();
        QTRY_COMPARE_WITH_TIMEOUT(values.count() + failed.count(), 1, 3000);
        if (real)
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

    void busyCountStartsOverWithEachRequest()
    {
        emulator->setReading('C', 'B', 47000, 2);
        openWithFault(RlcEmulatorFault::Busy);
        QSignalSpy values(worker.get(), &WorkerRLC::sendValue);
        QSignalSpy failed(worker.get(), &WorkerRLC::readFailed);
        worker->read();
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 3000);
        // After a failure a single busy reading is repeated, not failed at once.
        emulator->setFault(RlcEmulatorFault::BusyThenValue);
        emulator->setBusyReadings(1);
        emulator->clearCommands();
        worker->read();
        QTRY_COMPARE_WITH_TIMEOUT(values.count(), 1, 3000);
        QCOMPARE(emulator->commands(), (QStringList{"N", "N"}));
        QCOMPARE(values.at(0).at(2).toString(), QStringLiteral("4700.0nF"));
        // Busy readings of separate successful requests do not add up either.
        for (int i = 0; i < 4; ++i) {
            emulator->setBusyReadings(4);
            worker->read();
            QTRY_COMPARE_WITH_TIMEOUT(values.count(), i + 2, 3000);
        }
        QCOMPARE(failed.count(), 1);
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

// The RLC meter worker over its emulator on a pseudo-terminal: opening with
// its retry, set-up by value and by parameters, readings and every fault.
#include "devices/WorkerRLC.h"
#include "devices/emulators/RlcEmulator.h"

#include <QElapsedTimer>
#include <QtTest>


namespace {
const QString noAnswer = QStringLiteral("Нет ответа от измерителя.");

// Opens the worker on the emulator and waits for remote mode.
bool openOn(WorkerRLC &worker, RlcEmulator &emulator)
{
    QSignalSpy opened(&worker, &WorkerRLC::openDone);
    worker.runRLC(emulator.portName());
    return opened.wait(4000) || opened.count() == 1;
}
}

class TestRlcWorker : public QObject
{
    Q_OBJECT
private slots:
    void opening_data();
    void opening();
    void portThatCannotOpen();
    void setup_data();
    void setup();
    void setupWithoutAnswer();
    void reading_data();
    void reading();
    void busyCountStartsOverWithEachRequest();
    void readingDiscardsStaleBytes();
};

void TestRlcWorker::opening_data()
{
    QTest::addColumn<RlcEmulatorFault>("fault");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    QTest::newRow("answers") << RlcEmulatorFault::None << true << QStringList{"A"} << 0 << 1500;
    QTest::newRow("split reply") << RlcEmulatorFault::SplitReply << true << QStringList{"A"} << 0 << 1500;
    QTest::newRow("left in set-up mode") << RlcEmulatorFault::StuckInSetup << true
                                         << QStringList{"A", "[BXXXXXX]", "A"} << 1450 << 3500;
    QTest::newRow("silent") << RlcEmulatorFault::Silent << false << QStringList{"A", "[BXXXXXX]"} << 2950 << 4500;
}

void TestRlcWorker::opening()
{
    QFETCH(RlcEmulatorFault, fault);
    QFETCH(bool, opens);
    QFETCH(QStringList, commands);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    RlcEmulator emulator(fault);
    WorkerRLC worker;
    QSignalSpy opened(&worker, &WorkerRLC::openDone);
    QSignalSpy failed(&worker, &WorkerRLC::openFailed);
    QElapsedTimer clock;
    clock.start();
    worker.runRLC(emulator.portName());
    QTRY_COMPARE_WITH_TIMEOUT(opened.count() + failed.count(), 1, 5000);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
    QCOMPARE(opened.count(), opens ? 1 : 0);
    if (!opens)
        QCOMPARE(failed.at(0).at(0).toString(), noAnswer);
    QTest::qWait(1700);   // nothing further: no second retry, no late signal
    QCOMPARE(emulator.commands(), commands);
    QCOMPARE(opened.count() + failed.count(), 1);
}

void TestRlcWorker::portThatCannotOpen()
{
    WorkerRLC worker;
    QSignalSpy failed(&worker, &WorkerRLC::openFailed);
    worker.runRLC(QStringLiteral("/nonexistent/ttyRLC"));
    QCOMPARE(failed.count(), 1);
    const QString message = failed.at(0).at(0).toString();
    QVERIFY(message.startsWith(QStringLiteral("Ошибка открытия порта: ")));
    QVERIFY(message.size() > 23);
}

void TestRlcWorker::setup_data()
{
    QTest::addColumn<RlcEmulatorFault>("fault");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariantList>("arguments");   // [value] or [freqLow, parallel]
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("failure");
    QTest::newRow("150 ohm") << RlcEmulatorFault::None << "R" << QVariantList{150.0}
                             << QStringList{"S", "[ERRPBM1]"} << QString();
    QTest::newRow("2.5 mH") << RlcEmulatorFault::None << "1" << QVariantList{0.0025}
                            << QStringList{"S", "[ELRSAM1]"} << QString();
    QTest::newRow("100 nF, reply split") << RlcEmulatorFault::SplitReply << "C" << QVariantList{1e-7}
                                         << QStringList{"S", "[ECRSAM2]"} << QString();
    QTest::newRow("C 120 Hz parallel") << RlcEmulatorFault::None << "C" << QVariantList{true, true}
                                       << QStringList{"S", "[ECRPBA0]"} << QString();
    QTest::newRow("L 1 kHz series") << RlcEmulatorFault::None << "L" << QVariantList{false, false}
                                    << QStringList{"S", "[ELRSAA0]"} << QString();
    QTest::newRow("refused") << RlcEmulatorFault::SetupRefused << "R" << QVariantList{150.0}
                             << QStringList{"S", "[ERRPBM1]", "[BXXXXXX]"}
                             << QStringLiteral("Измеритель отклонил настройку.");
}

void TestRlcWorker::setup()
{
    QFETCH(RlcEmulatorFault, fault);
    QFETCH(QString, type);
    QFETCH(QVariantList, arguments);
    QFETCH(QStringList, commands);
    QFETCH(QString, failure);
    RlcEmulator emulator;
    WorkerRLC worker;
    QVERIFY(openOn(worker, emulator));
    emulator.setFault(fault);
    emulator.clearCommands();
    QSignalSpy done(&worker, &WorkerRLC::setupDone);
    QSignalSpy failed(&worker, &WorkerRLC::setupFailed);
    if (arguments.size() == 1)
        worker.setup(type, arguments.at(0).toDouble());
    else
        worker.setup(type, arguments.at(0).toBool(), arguments.at(1).toBool());
    QTRY_COMPARE_WITH_TIMEOUT(done.count() + failed.count(), 1, 3000);
    QCOMPARE(emulator.commands(), commands);
    if (failure.isEmpty()) {
        QCOMPARE(done.count(), 1);
        QCOMPARE(emulator.lastSetup(), commands.at(1));
    } else {
        QCOMPARE(failed.at(0).at(0).toString(), failure);
    }
    QTest::qWait(2700);   // the set-up limit has been stopped
    QCOMPARE(done.count() + failed.count(), 1);
}

void TestRlcWorker::setupWithoutAnswer()
{
    RlcEmulator emulator;
    WorkerRLC worker;
    QVERIFY(openOn(worker, emulator));
    emulator.setFault(RlcEmulatorFault::Silent);
    emulator.clearCommands();
    QSignalSpy failed(&worker, &WorkerRLC::setupFailed);
    QElapsedTimer clock;
    clock.start();
    worker.setup(QStringLiteral("R"), 150.0);
    QVERIFY(failed.wait(4000));
    QVERIFY2(clock.elapsed() >= 2450, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(failed.at(0).at(0).toString(), noAnswer);
    QTest::qWait(100);
    QCOMPARE(emulator.commands(), (QStringList{"S", "[BXXXXXX]"}));
}

void TestRlcWorker::reading_data()
{
    QTest::addColumn<RlcEmulatorFault>("fault");
    QTest::addColumn<int>("busyReadings");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("requests");
    QTest::newRow("value") << RlcEmulatorFault::None << 0 << QString() << 1;
    QTest::newRow("split reply") << RlcEmulatorFault::SplitReply << 0 << QString() << 1;
    QTest::newRow("six busy, then the value") << RlcEmulatorFault::BusyThenValue << 6 << QString() << 7;
    QTest::newRow("seventh busy fails") << RlcEmulatorFault::Busy << 0
                                        << QStringLiteral("Слишком долгая подстройка диапазона.") << 7;
    QTest::newRow("over range") << RlcEmulatorFault::OverRange << 0 << QStringLiteral("Переполнение шкалы") << 1;
    QTest::newRow("36-character line") << RlcEmulatorFault::ShortLine << 0 << noAnswer << 1;
    QTest::newRow("silent") << RlcEmulatorFault::Silent << 0 << noAnswer << 1;
    QTest::newRow("garbage") << RlcEmulatorFault::Garbage << 0 << noAnswer << 1;
    QTest::newRow("unplugged") << RlcEmulatorFault::Unplug << 0 << noAnswer << 1;
    QTest::newRow("letters in the value")
        << RlcEmulatorFault::BadDigits << 0
        << QStringLiteral("Некорректный ответ измерителя: |")
               + QString::fromLatin1(RlcEmulator::readingLine('R', 'A', 12345, 3)).replace(5, 5, "12O45") + "|"
        << 1;
}

void TestRlcWorker::reading()
{
    QFETCH(RlcEmulatorFault, fault);
    QFETCH(int, busyReadings);
    QFETCH(QString, failure);
    QFETCH(int, requests);
    RlcEmulator emulator;
    emulator.setReading('R', 'A', 12345, 3);
    WorkerRLC worker;
    QVERIFY(openOn(worker, emulator));
    emulator.setFault(fault);
    emulator.setBusyReadings(busyReadings);
    emulator.clearCommands();
    QSignalSpy values(&worker, &WorkerRLC::sendValue);
    QSignalSpy failed(&worker, &WorkerRLC::readFailed);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count() + failed.count(), 1, 3000);
    QStringList expected;
    for (int i = 0; i < requests; ++i)
        expected.append(QStringLiteral("N"));
    QCOMPARE(emulator.commands(), expected);
    if (failure.isEmpty()) {
        QCOMPARE(values.at(0).at(0).toString(), QStringLiteral("R"));
        QCOMPARE(values.at(0).at(1).toDouble(), 12345.0);
        QCOMPARE(values.at(0).at(2).toString(), QStringLiteral("12.345kΩ"));
    } else {
        QCOMPARE(failed.at(0).at(0).toString(), failure);
    }
    QTest::qWait(1700);   // the answer limit is not left running
    QCOMPARE(values.count() + failed.count(), 1);
}

void TestRlcWorker::busyCountStartsOverWithEachRequest()
{
    RlcEmulator emulator(RlcEmulatorFault::Busy);
    emulator.setReading('C', 'B', 47000, 2);
    WorkerRLC worker;
    QVERIFY(openOn(worker, emulator));
    QSignalSpy values(&worker, &WorkerRLC::sendValue);
    QSignalSpy failed(&worker, &WorkerRLC::readFailed);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 3000);
    // After a failure a single busy reading is repeated, not failed at once.
    emulator.setFault(RlcEmulatorFault::BusyThenValue);
    emulator.setBusyReadings(1);
    emulator.clearCommands();
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 1, 3000);
    QCOMPARE(emulator.commands(), (QStringList{"N", "N"}));
    QCOMPARE(values.at(0).at(2).toString(), QStringLiteral("4700.0nF"));
    // Busy readings of separate successful requests do not add up either.
    for (int i = 0; i < 4; ++i) {
        emulator.setBusyReadings(4);
        worker.read();
        QTRY_COMPARE_WITH_TIMEOUT(values.count(), i + 2, 3000);
    }
    QCOMPARE(failed.count(), 1);
}

void TestRlcWorker::readingDiscardsStaleBytes()
{
    RlcEmulator emulator;
    WorkerRLC worker;
    QVERIFY(openOn(worker, emulator));
    // A half line left over from before must not glue onto the answer.
    emulator.setFault(RlcEmulatorFault::Garbage);
    QSignalSpy failed(&worker, &WorkerRLC::readFailed);
    QSignalSpy values(&worker, &WorkerRLC::sendValue);
    worker.read();
    QVERIFY(failed.wait(2500));
    emulator.setFault(RlcEmulatorFault::None);
    worker.read();
    QVERIFY(values.wait(2500));
    QCOMPARE(values.at(0).at(1).toDouble(), 10000.0);
}

QTEST_GUILESS_MAIN(TestRlcWorker)
#include "tst_rlc_worker.moc"

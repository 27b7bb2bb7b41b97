// The vacuum sensor worker over its emulator on a pseudo-terminal: the real
// QSerialPort code opens the emulator's port; one row per emulator fault.
// Short limits, except one row per limit at the sensor's real timing.
#include "InstrumentFixture.h"

#include <QElapsedTimer>
#include <QtTest>

#include <memory>

namespace {
const QString noAnswer = QStringLiteral("Нет ответа от датчика.");
const QString handshakeFailed = QStringLiteral("Нет ответа от датчика разрежения! Возможно выбран не тот порт!");
const QString badValue = QStringLiteral("Получено некорректное значение с датчика! ");
}

class TestVsWorker : public QObject
{
    Q_OBJECT

    std::unique_ptr<VsEmulator> emulator;
    std::unique_ptr<WorkerVS> worker;
    WorkerVS::Limits limits;

    void useLimits(const WorkerVS::Limits &l)
    {
        limits = l;
        worker->setLimits(l);
    }

private slots:
    void init()
    {
        emulator = std::make_unique<VsEmulator>();
        QVERIFY(emulator->isValid());
        worker = std::make_unique<WorkerVS>();
        useLimits(InstrumentFixture::quickVs());
    }
    void cleanup()
    {
        worker.reset();
        emulator.reset();
    }

    void faults_data()
    {
        QTest::addColumn<VsEmulatorFault>("fault");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("failure");   // readFailed text, or openFailed text when it does not open;
                                                // empty: every reading is 12.5
        QTest::addColumn<bool>("openAfter");

        QTest::newRow("silent") << VsEmulatorFault::Silent << false << handshakeFailed << true;
        QTest::newRow("garbage") << VsEmulatorFault::Garbage << false << handshakeFailed << true;
        QTest::newRow("bad digits") << VsEmulatorFault::BadDigits << true << badValue + "|PS:1 P.kPa T24C|" << true;
        QTest::newRow("split reply") << VsEmulatorFault::SplitReply << true << QString() << true;
        QTest::newRow("double reply") << VsEmulatorFault::DoubleReply << true << QString() << true;
        QTest::newRow("late, real time") << VsEmulatorFault::Late << true << noAnswer << false;
        QTest::newRow("unplug") << VsEmulatorFault::Unplug << true << noAnswer << false;
    }
    void faults()
    {
        QFETCH(VsEmulatorFault, fault);
        QFETCH(bool, opens);
        QFETCH(QString, failure);
        QFETCH(bool, openAfter);
        // A late sensor is late from its first reading on, after the handshake,
        // and is the row at the real answer limit.
        const bool late = fault == VsEmulatorFault::Late;
        emulator->setFault(late ? VsEmulatorFault::None : fault);
        emulator->setPressures({12.5});
        if (late) {
            worker = std::make_unique<WorkerVS>();   // its own limits, but no start-up pause
            WorkerVS::Limits l = worker->limits();
            l.startupPauseMs = 0;
            useLimits(l);
        }
        QSignalSpy opened(worker.get(), &WorkerVS::openDone);
        QSignalSpy openFailed(worker.get(), &WorkerVS::openFailed);
        QSignalSpy errors(worker.get(), &WorkerVS::showError);
        QSignalSpy values(worker.get(), &WorkerVS::sendValue);
        QSignalSpy readFailed(worker.get(), &WorkerVS::readFailed);

        worker->runVS(emulator->portName());
        if (!opens) {
            QTRY_COMPARE_WITH_TIMEOUT(openFailed.count(), 1, 9000);
            QCOMPARE(openFailed.at(0).at(0).toString(), failure);
            QCOMPARE(errors.count(), 1);
            QCOMPARE(errors.at(0).at(0).toString(), failure);
            QCOMPARE(opened.count(), 0);
            QVERIFY(!worker->isRecognised());
            QCOMPARE(worker->isOpen(), openAfter);   // the port stays open, unrecognised
            // The first request and the repeats, then the handshake stops.
            QVERIFY(InstrumentFixture::settled(*worker));
            QCOMPARE(emulator->requestCount(), limits.handshakeRepeats + 1);
            QCOMPARE(openFailed.count(), 1);
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 6000);
        QCOMPARE(openFailed.count(), 0);
        if (late)
            emulator->setFault(fault);
        const int before = emulator->requestCount();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 3 && readFailed.isEmpty(); ++i) {
            const int got = values.count();
            worker->read();
            QTRY_VERIFY_WITH_TIMEOUT(values.count() > got || !readFailed.isEmpty(), 2500);
        }
        QVERIFY(emulator->requestCount() > before);
        if (failure.isEmpty()) {
            QCOMPARE(readFailed.count(), 0);
            QCOMPARE(values.count(), 3);
            for (const QList<QVariant> &v : values)
                QCOMPARE(v.at(0).toDouble(), 12.5);
            // A second answer line to the same request must not be taken.
            QTest::qWait(200);
            QCOMPARE(values.count(), 3);
        } else {
            QCOMPARE(readFailed.count(), 1);
            QCOMPARE(readFailed.at(0).at(0).toString(), failure);
            if (late) {
                QVERIFY2(clock.elapsed() >= 1500 - 50, qPrintable(QString::number(clock.elapsed())));
                QTest::qWait(2300 - limits.readMs + 300);   // the late answer has come
            } else {
                QTest::qWait(100);
            }
            // Unplugged after two good readings; a late answer is never taken.
            QCOMPARE(values.count(), fault == VsEmulatorFault::Unplug ? 2 : 0);
        }
        QCOMPARE(worker->isOpen(), openAfter);
    }

    // The handshake at the sensor's real timing: the start-up pause, then the
    // first request and ten repeats, each given 500 ms.
    void silentSensorAtRealTiming()
    {
        emulator->setFault(VsEmulatorFault::Silent);
        worker = std::make_unique<WorkerVS>();   // its own limits
        QSignalSpy openFailed(worker.get(), &WorkerVS::openFailed);
        QElapsedTimer clock;
        clock.start();
        worker->runVS(emulator->portName());
        QTRY_COMPARE_WITH_TIMEOUT(openFailed.count(), 1, 10000);
        QVERIFY2(clock.elapsed() >= 6450, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(emulator->requestCount(), 11);
    }

    // The worker sends the running mean (its window: vsAverage in
    // tst_device_protocols).
    void sendsTheRunningMean()
    {
        // The first answer belongs to the handshake; a repeat would eat one.
        WorkerVS::Limits l = limits;
        l.handshakeRepeatMs = 2000;
        useLimits(l);
        emulator->setPressures({99, 10, 20});
        QSignalSpy opened(worker.get(), &WorkerVS::openDone);
        QSignalSpy values(worker.get(), &WorkerVS::sendValue);
        worker->runVS(emulator->portName());
        QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 4000);
        for (int i = 1; i <= 2; ++i) {
            worker->read();
            QTRY_COMPARE_WITH_TIMEOUT(values.count(), i, 2000);
        }
        QCOMPARE(values.at(1).at(0).toDouble(), 15.0);
    }

    void portThatCannotOpen()
    {
        QSignalSpy openFailed(worker.get(), &WorkerVS::openFailed);
        QSignalSpy errors(worker.get(), &WorkerVS::showError);
        worker->runVS(QStringLiteral("/nonexistent/ttyVS"));
        QCOMPARE(openFailed.count(), 1);
        QVERIFY(openFailed.at(0).at(0).toString().startsWith(
            QStringLiteral("Датчик разрежения: ошибка открытия порта: ")));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0), openFailed.at(0).at(0));
    }
};

QTEST_GUILESS_MAIN(TestVsWorker)
#include "tst_vs_worker.moc"

// The vacuum sensor worker over its emulator on a pseudo-terminal: the real
// QSerialPort code opens the emulator's port; one row per emulator fault.
#include "devices/VsProtocol.h"
#include "devices/WorkerVS.h"
#include "devices/emulators/VsEmulator.h"
#include "util/NozzleStateFile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>


namespace {
const QString noAnswer = QStringLiteral("Нет ответа от датчика.");
const QString handshakeFailed = QStringLiteral("Нет ответа от датчика разрежения! Возможно выбран не тот порт!");
const QString badValue = QStringLiteral("Получено некорректное значение с датчика! ");
}

class TestVsWorker : public QObject
{
    Q_OBJECT
private slots:
    void faults_data();
    void faults();
    void silentSensorGetsElevenRequests();
    void averagesTheLastFive();
    void portThatCannotOpen();
    void requestAfterStop();
    void reopenStartsOver();
    void emulatorProgram();
    void readingFollowsNozzle_data();
    void readingFollowsNozzle();
    void emulatorProgramReadsNozzle();
};

void TestVsWorker::faults_data()
{
    QTest::addColumn<VsEmulatorFault>("fault");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("failure");   // readFailed text, or openFailed text when it does not open
    QTest::addColumn<double>("value");      // -1: no value
    QTest::addColumn<bool>("openAfter");

    QTest::newRow("none") << VsEmulatorFault::None << true << QString() << 12.5 << true;
    QTest::newRow("silent") << VsEmulatorFault::Silent << false << handshakeFailed << -1.0 << true;
    QTest::newRow("garbage") << VsEmulatorFault::Garbage << false << handshakeFailed << -1.0 << true;
    QTest::newRow("no reading") << VsEmulatorFault::NoReading << true
                                << badValue + "|PS:1 SENSOR FAULT|" << -1.0 << true;
    QTest::newRow("bad digits") << VsEmulatorFault::BadDigits << true
                                << badValue + "|PS:1 P.kPa T24C|" << -1.0 << true;
    QTest::newRow("comma") << VsEmulatorFault::Comma << true << QString() << 12.5 << true;
    QTest::newRow("split reply") << VsEmulatorFault::SplitReply << true << QString() << 12.5 << true;
    QTest::newRow("double reply") << VsEmulatorFault::DoubleReply << true << QString() << 12.5 << true;
    QTest::newRow("late") << VsEmulatorFault::Late << true << noAnswer << -1.0 << false;
    QTest::newRow("unplug") << VsEmulatorFault::Unplug << true << noAnswer << -1.0 << false;
}

void TestVsWorker::faults()
{
    QFETCH(VsEmulatorFault, fault);
    QFETCH(bool, opens);
    QFETCH(QString, failure);
    QFETCH(double, value);
    QFETCH(bool, openAfter);

    VsEmulator emulator(fault);
    QVERIFY(emulator.isValid());
    emulator.setPressures({12.5});
    WorkerVS worker;
    QSignalSpy opened(&worker, &WorkerVS::openDone);
    QSignalSpy openFailed(&worker, &WorkerVS::openFailed);
    QSignalSpy errors(&worker, &WorkerVS::showError);
    QSignalSpy values(&worker, &WorkerVS::sendValue);
    QSignalSpy readFailed(&worker, &WorkerVS::readFailed);

    worker.runVS(emulator.portName());
    if (!opens) {
        QTRY_COMPARE_WITH_TIMEOUT(openFailed.count(), 1, 9000);
        QCOMPARE(openFailed.at(0).at(0).toString(), failure);
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), failure);
        QCOMPARE(errors.at(0).at(2).toString(), QStringLiteral("error"));
        QCOMPARE(opened.count(), 0);
        QVERIFY(!worker.isRecognised());
        QCOMPARE(worker.isOpen(), openAfter);   // the port stays open, unrecognised
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 6000);
    QCOMPARE(openFailed.count(), 0);
    if (fault == VsEmulatorFault::Late)
        QTest::qWait(2600);   // late answers to the handshake repeats drain away
    const int before = emulator.requestCount();
    for (int i = 0; i < 3 && readFailed.isEmpty(); ++i) {
        const int got = values.count();
        worker.read();
        QTRY_VERIFY_WITH_TIMEOUT(values.count() > got || !readFailed.isEmpty(), 2500);
    }
    QVERIFY(emulator.requestCount() > before);
    if (value >= 0) {
        QCOMPARE(readFailed.count(), 0);
        QCOMPARE(values.count(), 3);
        for (const QList<QVariant> &v : values)
            QCOMPARE(v.at(0).toDouble(), value);
        // A second answer line to the same request must not be taken.
        QTest::qWait(200);
        QCOMPARE(values.count(), 3);
    } else {
        QCOMPARE(readFailed.count(), 1);
        QCOMPARE(readFailed.at(0).at(0).toString(), failure);
        QTest::qWait(fault == VsEmulatorFault::Late ? 1000 : 100);
        // Unplugged after two good readings; a late answer is never taken.
        QCOMPARE(values.count(), fault == VsEmulatorFault::Unplug ? 2 : 0);
    }
    QCOMPARE(worker.isOpen(), openAfter);
}

void TestVsWorker::silentSensorGetsElevenRequests()
{
    VsEmulator emulator(VsEmulatorFault::Silent);
    WorkerVS worker;
    QSignalSpy openFailed(&worker, &WorkerVS::openFailed);
    QElapsedTimer clock;
    clock.start();
    worker.runVS(emulator.portName());
    QTRY_COMPARE_WITH_TIMEOUT(openFailed.count(), 1, 10000);
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(emulator.requestCount(), 11);
    // The 1 s start-up pause, the first request and ten repeats 500 ms apart.
    QVERIFY2(elapsed >= 6400 && elapsed < 9000, qPrintable(QString::number(elapsed)));
    QTest::qWait(1200);
    QCOMPARE(emulator.requestCount(), 11);   // the handshake stopped
    QCOMPARE(openFailed.count(), 1);
    // Unrecognised, a request starts no answer limit.
    QSignalSpy readFailed(&worker, &WorkerVS::readFailed);
    worker.read();
    QTest::qWait(1800);
    QCOMPARE(readFailed.count(), 0);
}

void TestVsWorker::averagesTheLastFive()
{
    VsEmulator emulator;
    // The first answer belongs to the handshake.
    emulator.setPressures({99, 10, 10, 10, 10, 20, 20});
    WorkerVS worker;
    QSignalSpy opened(&worker, &WorkerVS::openDone);
    QSignalSpy values(&worker, &WorkerVS::sendValue);
    worker.runVS(emulator.portName());
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 4000);
    QList<double> means;
    for (int i = 0; i < 6; ++i) {
        const qint64 before = VsProtocol::clockMsecs();
        worker.read();
        QTRY_COMPARE_WITH_TIMEOUT(values.count(), i + 1, 2000);
        means.append(values.last().at(0).toDouble());
        const double stamp = values.last().at(1).toDouble();
        QVERIFY(stamp >= before && stamp <= VsProtocol::clockMsecs());
    }
    QCOMPARE(means, (QList<double>{10, 10, 10, 10, 12, 14}));
}

void TestVsWorker::portThatCannotOpen()
{
    WorkerVS worker;
    QSignalSpy openFailed(&worker, &WorkerVS::openFailed);
    QSignalSpy errors(&worker, &WorkerVS::showError);
    worker.runVS(QStringLiteral("/nonexistent/ttyVS"));
    QCOMPARE(openFailed.count(), 1);
    QVERIFY(openFailed.at(0).at(0).toString().startsWith(
        QStringLiteral("Датчик разрежения: ошибка открытия порта: ")));
    QVERIFY(openFailed.at(0).at(0).toString().size() > 42);   // the port's reason follows
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0), openFailed.at(0).at(0));
    QCOMPARE(errors.at(0).at(1).toBool(), false);
}

void TestVsWorker::requestAfterStop()
{
    VsEmulator emulator;
    WorkerVS worker;
    QSignalSpy opened(&worker, &WorkerVS::openDone);
    QSignalSpy readFailed(&worker, &WorkerVS::readFailed);
    worker.runVS(emulator.portName());
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 4000);
    worker.stopVS();
    QVERIFY(!worker.isOpen());
    const int requests = emulator.requestCount();
    worker.read();
    QCOMPARE(readFailed.count(), 1);
    QCOMPARE(readFailed.at(0).at(0).toString(), noAnswer);
    QTest::qWait(100);
    QCOMPARE(emulator.requestCount(), requests);
}

void TestVsWorker::reopenStartsOver()
{
    VsEmulator emulator;
    emulator.setPressures({1, 40, 40, 1, 10});
    WorkerVS worker;
    QSignalSpy opened(&worker, &WorkerVS::openDone);
    QSignalSpy values(&worker, &WorkerVS::sendValue);
    worker.runVS(emulator.portName());
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 4000);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 1, 2000);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 2, 2000);
    QCOMPARE(values.last().at(0).toDouble(), 40.0);
    // A new start forgets the readings of the last one.
    worker.runVS(emulator.portName());
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 2, 4000);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 3, 2000);
    QCOMPARE(values.last().at(0).toDouble(), 10.0);
}

void TestVsWorker::emulatorProgram()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vacuum"));
    QProcess program;
    program.start(QStringLiteral(VS_EMULATOR), {"--link", link, "--pressure", "33.5"});
    QVERIFY(program.waitForReadyRead(5000));
    const QString pty = QString::fromLocal8Bit(program.readLine()).trimmed();
    QVERIFY(pty.startsWith(QStringLiteral("/dev/pts/")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), pty);

    WorkerVS worker;
    QSignalSpy opened(&worker, &WorkerVS::openDone);
    QSignalSpy values(&worker, &WorkerVS::sendValue);
    worker.runVS(link);
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 4000);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 1, 2000);
    QCOMPARE(values.at(0).at(0).toDouble(), 33.5);
    worker.stopVS();

    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());

    QProcess wrong;
    wrong.start(QStringLiteral(VS_EMULATOR), {"--fault", "sleepy"});
    QVERIFY(wrong.waitForFinished(5000));
    QCOMPARE(wrong.exitCode(), 2);
    QVERIFY(wrong.readAllStandardError().contains("silent"));
}

// On the simulated machine the emulator reads the nozzle state file that the
// program writes: the air with the valve off, an open nozzle with the valve on
// and no part, the set pressure with a part held.
void TestVsWorker::readingFollowsNozzle_data()
{
    QTest::addColumn<bool>("file");
    QTest::addColumn<bool>("valve");
    QTest::addColumn<bool>("part");
    QTest::addColumn<double>("kPa");
    QTest::newRow("no file yet") << false << false << false << VsEmulator::kValveOffKPa;
    QTest::newRow("valve off") << true << false << false << VsEmulator::kValveOffKPa;
    QTest::newRow("valve on, nozzle empty") << true << true << false << VsEmulator::kOpenNozzleKPa;
    QTest::newRow("valve on, part held") << true << true << true << 42.5;
}

void TestVsWorker::readingFollowsNozzle()
{
    QFETCH(bool, file);
    QFETCH(bool, valve);
    QFETCH(bool, part);
    QFETCH(double, kPa);
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("nozzle"));
    if (file) {
        NozzleStateFile::State s;
        s.valve = valve;
        s.part = part;
        QVERIFY(NozzleStateFile::write(state, s, nullptr));
    }
    VsEmulator emulator;
    emulator.setPressures({42.5});
    emulator.setNozzleStateFile(state);
    WorkerVS worker;
    QSignalSpy opened(&worker, &WorkerVS::openDone);
    QSignalSpy values(&worker, &WorkerVS::sendValue);
    worker.runVS(emulator.portName());
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 4000);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 1, 2000);
    QCOMPARE(values.at(0).at(0).toDouble(), kPa);
}

// The emulator program as ./run.sh starts it, with the nozzle state file.
void TestVsWorker::emulatorProgramReadsNozzle()
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("sim-nozzle"));
    NozzleStateFile::State s;
    s.valve = true;
    QVERIFY(NozzleStateFile::write(state, s, nullptr));
    QProcess program;
    program.start(QStringLiteral(VS_EMULATOR), {"--link", dir.filePath("vacuum"), "--nozzle", state});
    QVERIFY(program.waitForReadyRead(5000));
    WorkerVS worker;
    QSignalSpy opened(&worker, &WorkerVS::openDone);
    QSignalSpy values(&worker, &WorkerVS::sendValue);
    worker.runVS(dir.filePath("vacuum"));
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 4000);
    worker.read();
    QTRY_COMPARE_WITH_TIMEOUT(values.count(), 1, 2000);
    QCOMPARE(values.at(0).at(0).toDouble(), VsEmulator::kOpenNozzleKPa);
    worker.stopVS();
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestVsWorker)
#include "tst_vs_worker.moc"

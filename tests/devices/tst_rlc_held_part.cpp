// The RLC meter emulator on the simulated machine: it answers the value of
// the part the simulated nozzle holds (told through the nozzle state file),
// read by the real meter worker. Without a held part it answers its set
// reading.
#include "InstrumentFixture.h"

#include "devices/RlcProtocol.h"
#include "util/NozzleStateFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

struct Measured {
    bool ok = false;
    QString mode;
    double value = 0;
    QString text;
    QString failure;
};

Measured measure(WorkerRLC &worker)
{
    QSignalSpy values(&worker, &WorkerRLC::sendValue);
    QSignalSpy failed(&worker, &WorkerRLC::readFailed);
    worker.read();
    Measured m;
    if (!values.wait(3000) && values.isEmpty()) {
        if (!failed.isEmpty())
            m.failure = failed.first().at(0).toString();
        return m;
    }
    m.ok = true;
    m.mode = values.first().at(0).toString();
    m.value = values.first().at(1).toDouble();
    m.text = values.first().at(2).toString();
    return m;
}

} // namespace

class TestRlcHeldPart : public QObject
{
    Q_OBJECT
private slots:
    // The reading the meter would show for a value, decoded as the meter
    // worker decodes it: the value again to five digits, or over range.
    void readingFor_data()
    {
        QTest::addColumn<char>("mode");
        QTest::addColumn<char>("freq");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("reading");
        QTest::addColumn<int>("exponent");
        QTest::newRow("4.7 kOhm") << 'R' << 'A' << 4700.0 << true << 47000 << 2;
        QTest::newRow("10 kOhm") << 'R' << 'A' << 10000.0 << true << 10000 << 3;
        QTest::newRow("0.5 Ohm") << 'R' << 'B' << 0.5 << true << 500 << 0;
        QTest::newRow("10 MOhm") << 'R' << 'A' << 1e7 << true << 10000 << 6;
        QTest::newRow("1 GOhm: over range") << 'R' << 'A' << 1e9 << false << 0 << 0;
        QTest::newRow("2.5 mH at 1 kHz") << 'L' << 'A' << 2.5e-3 << true << 25000 << 0;
        QTest::newRow("10 H at 120 Hz") << 'L' << 'B' << 10.0 << true << 10000 << 3;
        QTest::newRow("100 nF at 1 kHz") << 'C' << 'A' << 1e-7 << true << 10000 << 2;
        QTest::newRow("100 nF at 120 Hz") << 'C' << 'B' << 1e-7 << true << 10000 << 1;
        QTest::newRow("12.3 pF at 1 kHz: tenths of a pF") << 'C' << 'A' << 12.3e-12 << true << 123 << 0;
        QTest::newRow("nothing") << 'C' << 'A' << 0.0 << true << 0 << 0;
        QTest::newRow("1 F: over range") << 'C' << 'A' << 1.0 << false << 0 << 0;
        QTest::newRow("negative") << 'R' << 'A' << -5.0 << false << 0 << 0;
        QTest::newRow("not a number") << 'R' << 'A' << qQNaN() << false << 0 << 0;
        QTest::newRow("no such mode") << 'Q' << 'A' << 5.0 << false << 0 << 0;
    }
    void readingFor()
    {
        QFETCH(char, mode);
        QFETCH(char, freq);
        QFETCH(double, value);
        QFETCH(bool, fits);
        QFETCH(int, reading);
        QFETCH(int, exponent);
        int r = -1, e = -1;
        QCOMPARE(RlcEmulator::readingFor(mode, freq, value, &r, &e), fits);
        if (!fits)
            return;
        QCOMPARE(r, reading);
        QCOMPARE(e, exponent);
        const RlcProtocol::Reading decoded = RlcProtocol::decode(RlcEmulator::readingLine(mode, freq, r, e));
        QCOMPARE(decoded.kind, RlcProtocol::Reading::Value);
        QVERIFY2(std::fabs(decoded.value - value) <= std::fabs(value) * 1e-4, qPrintable(QString::number(decoded.value)));
    }

    // What the meter worker reads with the emulator following a nozzle
    // state file.
    void answersTheHeldPart_data()
    {
        QTest::addColumn<QString>("file"); // "": none given; "missing": a path without a file
        QTest::addColumn<bool>("part");
        QTest::addColumn<char>("mode");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("lowFrequency"); // set up at 120 Hz first
        QTest::addColumn<QString>("expectedMode");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("failure");
        QTest::newRow("no state file") << "" << false << char(0) << 0.0 << false << "R" << 12345.0 << "12.345kΩ"
                                       << QString();
        QTest::newRow("state file not written yet")
            << "missing" << false << char(0) << 0.0 << false << "R" << 12345.0 << "12.345kΩ" << QString();
        QTest::newRow("valve on, nozzle empty")
            << "nozzle" << false << char(0) << 0.0 << false << "R" << 12345.0 << "12.345kΩ" << QString();
        QTest::newRow("a part without a value")
            << "nozzle" << true << char(0) << 0.0 << false << "R" << 12345.0 << "12.345kΩ" << QString();
        QTest::newRow("4.7 kOhm resistor") << "nozzle" << true << 'R' << 4700.0 << false << "R" << 4700.0 << "4700.0Ω"
                                           << QString();
        QTest::newRow("2.5 mH inductor") << "nozzle" << true << 'L' << 2.5e-3 << false << "L" << 2.5e-3 << "2500.0μH"
                                         << QString();
        QTest::newRow("100 nF capacitor at 120 Hz")
            << "nozzle" << true << 'C' << 1e-7 << true << "C" << 1e-7 << "100.00nF" << QString();
        QTest::newRow("beyond the largest range")
            << "nozzle" << true << 'R' << 5e9 << false << "" << 0.0 << "" << QStringLiteral("Переполнение шкалы");
    }
    void answersTheHeldPart()
    {
        QFETCH(QString, file);
        QFETCH(bool, part);
        QFETCH(char, mode);
        QFETCH(double, value);
        QFETCH(bool, lowFrequency);
        QFETCH(QString, expectedMode);
        QFETCH(double, expected);
        QFETCH(QString, text);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        RlcEmulator emulator;
        emulator.setReading('R', 'A', 12345, 3);
        if (!file.isEmpty())
            emulator.setNozzleStateFile(dir.filePath(file));
        if (file == QLatin1String("nozzle")) {
            NozzleStateFile::State s;
            s.valve = true;
            s.part = part;
            s.rlcMode = mode;
            s.rlcValue = value;
            QVERIFY(NozzleStateFile::write(dir.filePath(file), s, nullptr));
        }
        WorkerRLC worker;
        QVERIFY(InstrumentFixture::open(worker, emulator));
        if (lowFrequency) {
            QSignalSpy done(&worker, &WorkerRLC::setupDone);
            worker.setup(QStringLiteral("C"), true, false);
            QVERIFY(done.wait(3000));
            QCOMPARE(emulator.lastSetup(), QStringLiteral("[ECRSBA0]"));
        }
        const Measured m = measure(worker);
        QCOMPARE(m.ok, failure.isEmpty());
        QCOMPARE(m.failure, failure);
        if (!m.ok)
            return;
        QCOMPARE(m.mode, expectedMode);
        QVERIFY2(std::fabs(m.value - expected) <= expected * 1e-4, qPrintable(QString::number(m.value)));
        QCOMPARE(m.text, text);
    }
};

QTEST_GUILESS_MAIN(TestRlcHeldPart)
#include "tst_rlc_held_part.moc"

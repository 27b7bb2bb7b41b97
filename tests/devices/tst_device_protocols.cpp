// The instrument protocols as plain data: line framing, the RLC meter's
// set-up commands and reading lines, the vacuum sensor's reply lines, the
// running mean and the freshness of readings.
#include "devices/LineFramer.h"
#include "devices/RlcProtocol.h"
#include "devices/VsProtocol.h"
#include "devices/emulators/RlcEmulator.h"

#include <QtTest>

#include <cmath>

using Lines = QList<QByteArray>;

class TestDeviceProtocols : public QObject
{
    Q_OBJECT
private slots:
    void framing_data()
    {
        QTest::addColumn<Lines>("chunks");
        QTest::addColumn<Lines>("lines");
        QTest::newRow("split between CR and LF") << Lines{"abc\r", "\ndef\r\n"}
                                                 << Lines{"abc", "def"};
        QTest::newRow("two lines at once") << Lines{"x\r\ny\r\n"} << Lines{"x", "y"};
        QTest::newRow("lone LF is data") << Lines{"a\nb\r\n"} << Lines{"a\nb"};
        QTest::newRow("unfinished") << Lines{"abc"} << Lines{};
    }

    void framing()
    {
        QFETCH(Lines, chunks);
        QFETCH(Lines, lines);
        LineFramer framer;
        Lines got;
        for (const QByteArray &chunk : chunks)
            got += framer.feed(chunk);
        QCOMPARE(got, lines);
    }

    void framingCapsLongLines()
    {
        LineFramer framer(256);
        QCOMPARE(framer.feed(QByteArray(1000, 'x')), Lines{});
        // The overlong line is dropped whole; the next one comes through.
        QCOMPARE(framer.feed("tail\r\nnext\r\n"), Lines{"next"});
        QCOMPARE(framer.overflowCount(), 1);
        // A line of exactly the limit still passes.
        QCOMPARE(framer.feed(QByteArray(256, 'y') + "\r\n"), Lines{QByteArray(256, 'y')});
        // A reset forgets a partial line.
        framer.feed("partial");
        framer.reset();
        QCOMPARE(framer.feed("whole\r\n"), Lines{"whole"});
    }

    void setupForValue_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("command");
        QTest::newRow("type digit 0 is R") << "0" << 5e6 << "[ERRPBM6]";
        QTest::newRow("2.5 mH") << "L" << 0.0025 << "[ELRSAM1]";
        QTest::newRow("type digit 1 is L, 20 H parallel") << "1" << 20.0 << "[ELRPBM5]";
        QTest::newRow("type digit 2 is C, 10 uF parallel") << "2" << 1e-5 << "[ECRPBM3]";
        QTest::newRow("unknown type") << "X" << 1.0 << "";
    }

    void setupForValue()
    {
        QFETCH(QString, type);
        QFETCH(double, value);
        QFETCH(QString, command);
        QCOMPARE(RlcProtocol::setupForValue(RlcProtocol::modeFromType(type), value), command);
    }

    void setupForParameters_data()
    {
        QTest::addColumn<char>("mode");
        QTest::addColumn<bool>("freqLow");
        QTest::addColumn<bool>("parallel");
        QTest::addColumn<QString>("command");
        QTest::newRow("C 120 Hz parallel") << 'C' << true << true << "[ECRPBA0]";
        QTest::newRow("no mode") << char(0) << true << false << "SBA0]";
    }

    void setupForParameters()
    {
        QFETCH(char, mode);
        QFETCH(bool, freqLow);
        QFETCH(bool, parallel);
        QFETCH(QString, command);
        QCOMPARE(RlcProtocol::setupForParameters(mode, freqLow, parallel), command);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        // Reading 12345 at every exponent of each mode and frequency: the value
        // at exponent 0 (each further exponent is ten times more) and the texts.
        struct Range { char mode, freq; double atZero; const char *texts[8]; };
        const Range ranges[] = {
            {'R', 'A', 12.345, {"12.345Ω", "123.45Ω", "1234.5Ω", "12.345kΩ", "123.45kΩ", "1234.5kΩ", "12.345MΩ", ""}},
            {'L', 'A', 1.2345e-3, {"1234.5μH", "12.345mH", "123.45mH", "1234.5mH", "12.345H", "123.45H", "1234.5H"}},
            {'L', 'B', 1.2345e-2, {"12.345mH", "123.45mH", "1234.5mH", "12.345H", "123.45H", "1234.5H", "12345H"}},
            {'C', 'A', 1.2345e-9, {"1234.5pF", "12.345nF", "123.45nF", "1234.5nF", "12.345μF", "123.45μF", "1234.5μF"}},
            {'C', 'B', 1.2345e-8, {"12.345nF", "123.45nF", "1234.5nF", "12.345μF", "123.45μF", "1234.5μF", "12.345mF"}},
        };
        for (const Range &range : ranges) {
            for (int e = 0; e < 8 && range.texts[e]; ++e) {
                QTest::addRow("%c %c e%d", range.mode, range.freq, e)
                    << RlcEmulator::readingLine(range.mode, range.freq, 12345, e) << QString(QChar(range.mode))
                    << range.atZero * std::pow(10.0, e) << QString::fromUtf8(range.texts[e]);
            }
        }
        QTest::newRow("C A e3 r47") << RlcEmulator::readingLine('C', 'A', 47, 3) << "C" << 4.7e-9 << QString("4.7nF");
    }

    void decode()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, mode);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(line.size(), 37);
        const RlcProtocol::Reading reading = RlcProtocol::decode(line);
        QCOMPARE(reading.kind, RlcProtocol::Reading::Value);
        QCOMPARE(QString(QChar(reading.mode)), mode);
        QVERIFY2(qAbs(reading.value - value) <= 1e-9 * qAbs(value),
                 qPrintable(QString::number(reading.value, 'g', 12)));
        QCOMPARE(reading.text, text);
    }

    void decodeRejects_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        const QByteArray good = RlcEmulator::readingLine('R', 'A', 12345, 3);
        QTest::newRow("busy") << RlcEmulator::readingLine('C', 'A', 80000, 0) << int(RlcProtocol::Reading::Busy);
        QTest::newRow("over range") << RlcEmulator::readingLine('L', 'B', 90000, 2) << int(RlcProtocol::Reading::OverRange);
        QTest::newRow("letter in value") << QByteArray(good).replace(7, 1, "O") << int(RlcProtocol::Reading::Invalid);
        QTest::newRow("36 characters") << good.left(36) << int(RlcProtocol::Reading::Invalid);
    }

    void decodeRejects()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        const RlcProtocol::Reading reading = RlcProtocol::decode(line);
        QCOMPARE(int(reading.kind), kind);
        QCOMPARE(reading.value, 0.0);
    }

    void vsPressure_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("kPa");
        QTest::newRow("comma") << QByteArray("PS:1 P12,34kPa T24C") << true << 12.34;
        QTest::newRow("no digits") << QByteArray("PS:1 P.kPa") << false << 0.0;
        QTest::newRow("no PS:") << QByteArray("P12.34kPa") << false << 0.0;
        QTest::newRow("no pressure") << QByteArray("PS:1 SENSOR FAULT") << false << 0.0;
    }

    void vsPressure()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, ok);
        QFETCH(double, kPa);
        double got = -1;
        QCOMPARE(VsProtocol::parsePressure(line, &got), ok);
        if (ok)
            QCOMPARE(got, kPa);
        else
            QCOMPARE(got, -1.0);
    }

    void vsAverage()
    {
        VsAverage average;
        QCOMPARE(average.add(10), 10.0);
        QCOMPARE(average.add(20), 15.0);
        average.clear();
        for (int i = 0; i < 4; ++i)
            average.add(10);
        QCOMPARE(average.add(20), 12.0);
        QCOMPARE(average.add(20), 14.0);   // the oldest 10 is dropped
        QCOMPARE(average.count(), 5);
    }

    void vsFreshness_data()
    {
        QTest::addColumn<double>("stamp");
        QTest::addColumn<qint64>("now");
        QTest::addColumn<bool>("fresh");
        // The clock runs on past what would be midnight (86 400 000 ms).
        QTest::newRow("99 ms across midnight") << 86399950.0 << qint64(86400049) << true;
        QTest::newRow("100 ms") << 86399950.0 << qint64(86400050) << false;
        QTest::newRow("a day later") << 1000.0 << qint64(86401000) << false;
    }

    void vsFreshness()
    {
        QFETCH(double, stamp);
        QFETCH(qint64, now);
        QFETCH(bool, fresh);
        QCOMPARE(VsProtocol::isFresh(stamp, now), fresh);
    }
};

QTEST_GUILESS_MAIN(TestDeviceProtocols)
#include "tst_device_protocols.moc"

// Checks and editors of the machine configuration on both ini layouts.
#include "TestSupport.h"
#include "machine/IniCheck.h"
#include "machine/IniEditor.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char *kNewLayout = R"([DISPLAY]
DISPLAY = linuxcncrsh --path /
[TRAJ]
COORDINATES = XYZAB
[AXIS_X]
MAX_VELOCITY = 300
MAX_ACCELERATION = 3000
MIN_LIMIT = -5
MAX_LIMIT = 450
[JOINT_0]
MAX_VELOCITY = 300
MAX_ACCELERATION = 3000
STEPGEN_MAXVEL = 360
STEPGEN_MAXACCEL = 4500
MIN_LIMIT = -5
MAX_LIMIT = 450
ENCODER_SCALE = 200
STEP_SCALE = 80
[JOINT_1]
MAX_VELOCITY = 250
MAX_ACCELERATION = 2000
STEPGEN_MAXVEL = 300
STEPGEN_MAXACCEL = 3000
MIN_LIMIT = 0
MAX_LIMIT = 380.5
ENCODER_SCALE = 200
STEP_SCALE = 80
[JOINT_2]
MAX_VELOCITY = 100
MAX_ACCELERATION = 1500
STEPGEN_MAXVEL = 120
STEPGEN_MAXACCEL = 2250
MIN_LIMIT = -2
MAX_LIMIT = 40
[JOINT_3]
MAX_VELOCITY = 1000
MAX_ACCELERATION = 20000
STEPGEN_MAXVEL = 1200
STEPGEN_MAXACCEL = 30000
[JOINT_4]
MAX_VELOCITY = 100
STEPGEN_MAXVEL = 120
HOME_SEQUENCE = 4
[JOINT_5]
MAX_VELOCITY = 100
STEPGEN_MAXVEL = 120
[EMCMOT]
MAX_VELOCITY = 1
)";

// The same machine in the older layout: one [AXIS_n] section per axis.
QString oldLayout()
{
    QString t = QString::fromLatin1(kNewLayout);
    t.remove(t.indexOf(QLatin1String("[AXIS_X]")), t.indexOf(QLatin1String("[JOINT_0]")) - t.indexOf(QLatin1String("[AXIS_X]")));
    t.replace(QLatin1String("[JOINT_"), QLatin1String("[AXIS_"));
    return t;
}

} // namespace

class TestMachineConfig : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString &name, const QString &text)
    {
        const QString path = dir.filePath(name);
        TestSupport::writeFile(path, text.toUtf8());
        return path;
    }

private slots:
    void checkAcceptsBothLayouts_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::newRow("2.9") << QString::fromLatin1(kNewLayout);
        QTest::newRow("older") << oldLayout();
    }

    void checkAcceptsBothLayouts()
    {
        QFETCH(QString, ini);
        const QString path = write(QStringLiteral("m.ini"), ini);
        write(QStringLiteral("m.hal"), QStringLiteral("loadrt hm2_eth board_ip=\"192.168.1.121\" # card\n"));
        const IniCheck::Result r = IniCheck::check(path);
        QVERIFY2(r.correct, qPrintable(r.error));
        QCOMPARE(r.workAreaX2, 450.0);
        QCOMPARE(r.workAreaY2, 380.5);
        QCOMPARE(r.workAreaZ1, -2.0);
        QCOMPARE(r.workAreaZ2, 40.0);
        QVERIFY(r.bAxisEnabled);
        QVERIFY(r.inputsExist);
        QVERIFY(r.halRead);
        QCOMPARE(r.cardType, QStringLiteral("7i92"));
        QCOMPARE(r.cardAddress, QStringLiteral("192.168.1.121"));

        const IniCheck::Speeds s = IniCheck::speeds(path);
        QVERIFY(s.correct);
        QCOMPARE(s.velocity, (std::array<double, 6>{{300, 250, 100, 1000, 100, 100}}));
        QCOMPARE(s.acceleration, (std::array<double, 4>{{3000, 2000, 1500, 20000}}));
        // Speeds of axes 0..5 and accelerations of axes 0..3 must all be numbers.
        const QString broken = write(QStringLiteral("b.ini"), QString(ini).replace("MAX_ACCELERATION = 20000", ""));
        QCOMPARE(IniCheck::speeds(broken).error,
                 QStringLiteral("MAX_ACCELERATION в разделе %1 указан неправильно!")
                     .arg(ini.contains("[JOINT_3]") ? "JOINT_3" : "AXIS_3"));
    }

    void checkFailures_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("error");
        QTest::newRow("display") << "DISPLAY = linuxcncrsh --path /" << "DISPLAY = linuxcncrsh"
                                 << IniCheck::displayText();
        QTest::newRow("missing limit") << "MIN_LIMIT = -2\n" << "\n"
                                       << QStringLiteral("MIN_LIMIT в разделе JOINT_2 указан неправильно!");
    }

    void checkFailures()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, error);
        const QString path = write(QStringLiteral("f.ini"), QString::fromLatin1(kNewLayout).replace(from, to));
        const IniCheck::Result r = IniCheck::check(path);
        QCOMPARE(r.correct, error.isEmpty());
        QCOMPARE(r.error, error);
        QVERIFY(!r.halRead); // no HAL file beside it: defaults
        QCOMPARE(r.cardType, QStringLiteral("5i25"));
        QCOMPARE(r.cardAddress, QStringLiteral("10.10.10.10"));
    }

    // A commented-out Ethernet card is no card: the defaults stay.
    void commentedOutCard()
    {
        QString type, address;
        IniCheck::scanCard(QStringLiteral("#loadrt hm2_eth board_ip=\"10.0.0.7\"\n"), &type, &address);
        QCOMPARE(type, QStringLiteral("5i25"));
        QCOMPARE(address, QStringLiteral("10.10.10.10"));
    }

    void speedEditorOnBothLayouts_data() { checkAcceptsBothLayouts_data(); }

    void speedEditorOnBothLayouts()
    {
        QFETCH(QString, ini);
        // Every axis needs its keys: add the accelerations the sample lacks.
        ini.replace(QLatin1String("HOME_SEQUENCE = 4"), QLatin1String("HOME_SEQUENCE = 4\nMAX_ACCELERATION = 1"));
        const QString path = write(QStringLiteral("s.ini"), ini);
        QVERIFY(IniEditor::edit(path, IniEditor::speedChanges({400, 350.5, 80, 1200, 90, 95}, {4000, 2500, 1200, 30000})));
        const QString text = QString::fromUtf8(TestSupport::contentOf(path));
        QVERIFY(text.contains(QLatin1String("MAX_VELOCITY = 350.500\nMAX_ACCELERATION = 2500\nSTEPGEN_MAXVEL = 420.600\nSTEPGEN_MAXACCEL = 3750\n")));
        QVERIFY(text.contains(QLatin1String("STEPGEN_MAXACCEL = 45000")));
        QVERIFY(text.contains(QLatin1String("[EMCMOT]\nMAX_VELOCITY = 1\n"))); // another section stays
        if (text.contains(QLatin1String("[AXIS_X]")))
            QVERIFY(text.contains(QLatin1String("[AXIS_X]\nMAX_VELOCITY = 400.000\nMAX_ACCELERATION = 4000\n")));
        const IniCheck::Speeds s = IniCheck::speeds(path);
        QVERIFY2(s.correct, qPrintable(s.error));
        QCOMPARE(s.velocity[1], 350.5);
        QCOMPARE(s.acceleration[3], 30000.0);
    }

    void missingKeyOrFileChangesNothing()
    {
        QString ini = QString::fromLatin1(kNewLayout);
        ini.replace(QLatin1String("STEPGEN_MAXACCEL = 30000\n"), QString()); // axis 3
        const QString path = write(QStringLiteral("m3.ini"), ini);
        QVERIFY(!IniEditor::edit(path, IniEditor::speedChanges({1, 2, 3, 4, 5, 6}, {1, 2, 3, 4})));
        QCOMPARE(TestSupport::contentOf(path), ini.toUtf8());
        QVERIFY(!IniEditor::edit(dir.filePath(QStringLiteral("none.ini")), IniEditor::scaleChanges("STEP_SCALE", 1, 2)));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("none.ini"))));
        QCOMPARE(IniCheck::check(dir.filePath(QStringLiteral("none.ini"))).error, IniCheck::missingIniText());
    }

    void aSectionEndsAtAnyHeader()
    {
        // The key after [EMCMOT] must not be taken for axis 5's.
        QStringList lines = QString::fromLatin1("[JOINT_5]\nMAX_VELOCITY = 100\n[EMCMOT]\nSTEPGEN_MAXVEL = 7\n").split('\n');
        QVERIFY(!IniEditor::apply(lines, {{5, QStringLiteral("STEPGEN_MAXVEL"), QStringLiteral("1")}}));
        QCOMPARE(lines.join('\n'), QStringLiteral("[JOINT_5]\nMAX_VELOCITY = 100\n[EMCMOT]\nSTEPGEN_MAXVEL = 7\n"));
    }
};

QTEST_GUILESS_MAIN(TestMachineConfig)
#include "tst_machine_config.moc"

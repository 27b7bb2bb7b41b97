// The machine link's small pieces: error texts, the start key, the shell
// dialogue's failures and what start-up reads from the configuration (homing
// by groups and the dialogue that succeeds run against the real LinuxCNC in
// tst_cnc_sim).
#include "machine/CncConfig.h"
#include "machine/CncErrorText.h"
#include "machine/ProgrammerLines.h"
#include "machine/ShellDialogue.h"
#include "machine/StartButton.h"

#include <QTest>

class TestCncUnits : public QObject
{
    Q_OBJECT

private slots:
    void errorTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("result");
        QTest::newRow("realtime delay") << "Unexpected realtime delay on task 0" << true << "";
        QTest::newRow("following error Z") << "joint 2 following error" << true << "Ошибка следования по оси Z";
        QTest::newRow("following error unknown joint") << "joint 9 following error" << true
                                                       << "Ошибка следования по оси X";
        QTest::newRow("negative soft limit on") << "Exceeded negative soft limit on joint 1" << true
                                                << "Достигнут нижний предел перемещения по оси Y";
        QTest::newRow("soft limit off") << "Exceeded positive soft limit on joint 3" << false << "";
        QTest::newRow("other") << "command (EMC_JOG_ABS) cannot be executed" << false
                               << "command (EMC_JOG_ABS) cannot be executed";
    }

    void errorTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, on);
        QFETCH(QString, result);
        int asked = 0;
        QCOMPARE(CncErrorText::translate(text, [&] { ++asked; return on; }), result);
        QCOMPARE(asked, text.contains(QLatin1String("soft limit")) ? 1 : 0);
    }

    // Held for 1 s (ten polls), the key starts the feeder shafts and its
    // release stops them; a shorter press is the start key.
    void startKeyHeldStartsTheShafts()
    {
        StartButton key;
        QList<StartButton::Event> seen;
        for (int v : {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}) {
            const StartButton::Event e = key.poll(v);
            if (e != StartButton::Event::None)
                seen << e;
        }
        QCOMPARE(seen, (QList<StartButton::Event>{StartButton::Event::ShaftsStart, StartButton::Event::ShaftsStop}));
    }

    void programmerVerdict()
    {
        ProgrammerLines lines;
        auto text = [](const ProgrammerLines::Events &e) {
            return QStringLiteral("%1%2 %3").arg(e.successChanged ? "s" : "-", e.errorChanged ? "e" : "-", e.result);
        };
        QCOMPARE(text(lines.poll(0, 0)), QStringLiteral("-- "));
        QCOMPARE(text(lines.poll(1, 0)), QStringLiteral("s- success"));
        QCOMPARE(text(lines.poll(1, 0)), QStringLiteral("-- "));
        QCOMPARE(text(lines.poll(0, 0)), QStringLiteral("s- "));
        QCOMPARE(text(lines.poll(0, 1)), QStringLiteral("-e error"));
        QCOMPARE(text(lines.poll(1, 0)), QStringLiteral("se ")); // both at once: the error line wins
        QCOMPARE(text(lines.poll(1, 0)), QStringLiteral("-- "));
    }

    void helloRefused()
    {
        ShellDialogue d;
        QStringList out;
        d.begin();
        d.feed(QStringLiteral("Connected to localhost."), out);
        QCOMPARE(d.feed(QStringLiteral("HELLO NAK"), out), ShellDialogue::Event::HelloFailed);
        QCOMPARE(d.state(), ShellDialogue::Idle);
    }

    void the21stRefusalEndsTheStartAndEveryStartCountsAgain()
    {
        ShellDialogue d;
        QStringList out;
        const QString refused = QStringLiteral("Unable to connect to remote host: Connection refused");
        for (int round = 0; round < 2; ++round) {
            d.begin();
            for (int i = 0; i < 20; ++i)
                QCOMPARE(d.feed(refused, out), ShellDialogue::Event::Retry);
            if (round == 0) {
                // A start given up by the operator: the next one counts from zero.
                d.reset();
                continue;
            }
            QCOMPARE(d.feed(refused, out), ShellDialogue::Event::RefusedTooOften);
            QCOMPARE(d.state(), ShellDialogue::Idle);
        }
    }

    // The older layout, one [AXIS_n] section per joint (the 2.9 layout of the
    // simulated machine is read in tst_cnc_sim).
    void configurationOfTheOlderLayout()
    {
        const QString ini = QStringLiteral(
            "[DISPLAY]\nDISPLAY = LinuxCNCrsh --PATH /\n"
            "[AXIS_0]\nMAX_VELOCITY = 300\nMAX_ACCELERATION = 3000\nSCALE = 80\n"
            "FERROR = 2\nENCODER_SCALE = -200\nSTEP_SCALE = 80\nHOME_SEQUENCE = 1.7\n"
            "[AXIS_1]\nMAX_VELOCITY = 250\nSTEP_SCALE = 40\n[AXIS_2]\nHOME = 25\n# HOME = 3\nHOME_SEQUENCE = 0\n"
            "[AXIS_3]\n[AXIS_4]\n");
        const CncConfig c = CncConfig::fromIni(ini);
        QVERIFY(c.displayIsRemoteShell());
        QCOMPARE(c.maxVelocity[0], 300.0);
        QCOMPARE(c.maxVelocity[1], 250.0);
        QCOMPARE(c.maxAcceleration[0], 3000.0);
        QCOMPARE(c.homeSequence[0], 1);
        QCOMPARE(c.stepSize[0], 1.0 / 80);
        QCOMPARE(c.stepSize[1], 1.0 / 40);
        QCOMPARE(c.ferror[0], 2.0);
        QCOMPARE(c.ferror[1], 10.0);
        QCOMPARE(c.encoderScale[0], -200.0);
        QCOMPARE(c.encoderStep, 1.0 / 200);
        QCOMPARE(c.zMax, 25.0);
        QCOMPARE(c.zMaxText, QStringLiteral("z25.000"));
        QVERIFY(c.hasAxis4);
        QCOMPARE(c.homeAxisCount, 5);
    }

    void displayAndSafeHeight_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("shell");
        QTest::addColumn<double>("zMax");
        QTest::addColumn<QString>("zMaxText");
        QTest::newRow("not a number") << "[DISPLAY]\nDISPLAY = axis\n[AXIS_2]\nHOME = high\n" << false << 0.0 << "zMax";
        QTest::newRow("fraction") << "[DISPLAY]\nDISPLAY = linuxcncrsh --path /tmp\n[AXIS_2]\nHOME = 31.5\n" << true
                                  << 31.5 << "z31.500";
    }

    void displayAndSafeHeight()
    {
        QFETCH(QString, ini);
        QFETCH(bool, shell);
        QFETCH(double, zMax);
        QFETCH(QString, zMaxText);
        const CncConfig c = CncConfig::fromIni(ini);
        QCOMPARE(c.displayIsRemoteShell(), shell);
        QCOMPARE(c.zMax, zMax);
        QCOMPARE(c.zMaxText, zMaxText);
    }

    void halTokens()
    {
        CncConfig c;
        c.scanHal(QStringLiteral("net vac motion.digital-out-01 => hm2.gpio.001\n"
                                 "# net lamp motion.digital-out-04\n"
                                 "net spare motion.digital-out-12 # spare output\n"
                                 "setp x # motion.digital-out-05\n"
                                 "net home-x hm2.gpio.010 => joint.0.home-sw-in\n"
                                 "#net home-y hm2.gpio.011\n"
                                 "net vibro-enable pwm.0.enable\n"
                                 "setp oneshot-blow.width 0.1\n"));
        std::array<bool, 16> outputs{};
        outputs[1] = outputs[12] = true;
        QCOMPARE(c.doutEnabled, outputs);
        QCOMPARE(c.homeExists, (std::array<bool, 3>{{true, false, false}}));
        QVERIFY(c.pwmEnabled);
        QVERIFY(c.blowEnabled);
    }
};

QTEST_GUILESS_MAIN(TestCncUnits)
#include "tst_cnc_units.moc"

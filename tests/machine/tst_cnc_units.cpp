// The machine link's small pieces: error texts, homing groups, the start key,
// the shell dialogue and what start-up reads from the configuration.
#include "machine/CncConfig.h"
#include "machine/CncErrorText.h"
#include "machine/HomingSequence.h"
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
        QTest::newRow("homing busy") << "homing already in progress" << true << "";
        QTest::newRow("unhome") << "Cannot unhome while moving, joint 1" << true << "";
        QTest::newRow("following error Z") << "joint 2 following error" << true << "Ошибка следования по оси Z";
        QTest::newRow("following error unknown joint") << "joint 9 following error" << true
                                                       << "Ошибка следования по оси X";
        QTest::newRow("negative soft limit on") << "Exceeded negative soft limit on joint 1" << true
                                                << "Достигнут нижний предел перемещения по оси Y";
        QTest::newRow("positive soft limit on") << "Exceeded positive soft limit on joint 3" << true
                                                << "Достигнут верхний предел перемещения по оси A";
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

    void homingGoesGroupByGroup()
    {
        QStringList log;
        HomingSequence::Commands c;
        c.unhome = [&](int a) { log << QStringLiteral("unhome %1").arg(a); };
        c.resetAcc = [&](int a) { log << QStringLiteral("acc %1").arg(a); };
        c.home = [&](int a) { log << QStringLiteral("home %1").arg(a); };
        HomingSequence seq;
        std::array<bool, Axes::kCount> homed{};
        homed.fill(true);
        // Z first, then X and Y together, A and B last; group 1 has no member.
        const std::array<int, Axes::kCount> order{{2, 2, 0, 3, 3, 0, 0}};
        seq.step(true, homed, order, 5, false, c);
        QCOMPARE(log, (QStringList{"unhome 0", "acc 0", "unhome 1", "acc 1", "unhome 2", "acc 2", "unhome 3", "acc 3",
                                   "unhome 4", "acc 4", "home 2"}));
        QCOMPARE(homed, (std::array<bool, Axes::kCount>{}));
        log.clear();
        seq.step(false, homed, order, 5, false, c);
        QCOMPARE(log, QStringList{}); // still waiting for Z
        homed[2] = true;
        seq.step(false, homed, order, 5, false, c);
        QCOMPARE(log, QStringList{}); // group 1 is empty: passed over next time
        seq.step(false, homed, order, 5, false, c);
        QCOMPARE(log, (QStringList{"home 0", "home 1"}));
        log.clear();
        homed[0] = homed[1] = true;
        seq.step(false, homed, order, 5, false, c);
        QCOMPARE(log, (QStringList{"home 3", "home 4"}));
    }

    void homingSkipsXYInDebugMode()
    {
        QStringList log;
        HomingSequence::Commands c;
        c.unhome = [&](int a) { log << QStringLiteral("unhome %1").arg(a); };
        c.resetAcc = [](int) {};
        c.home = [&](int a) { log << QStringLiteral("home %1").arg(a); };
        HomingSequence seq;
        std::array<bool, Axes::kCount> homed{};
        seq.step(true, homed, std::array<int, Axes::kCount>{}, 4, true, c);
        QCOMPARE(log, (QStringList{"unhome 2", "unhome 3", "home 0", "home 1", "home 2", "home 3"}));
    }

    void startKey_data()
    {
        QTest::addColumn<int>("pressedPolls");
        QTest::addColumn<QList<int>>("events");
        using E = StartButton::Event;
        QTest::newRow("0.9 s") << 9 << QList<int>{int(E::Pressed)};
        QTest::newRow("1 s") << 10 << QList<int>{int(E::ShaftsStart), int(E::ShaftsStop)};
    }

    void startKey()
    {
        QFETCH(int, pressedPolls);
        QFETCH(QList<int>, events);
        StartButton key;
        QList<int> seen;
        auto poll = [&](int v) {
            const StartButton::Event e = key.poll(v);
            if (e != StartButton::Event::None)
                seen << int(e);
        };
        poll(1);
        poll(1);
        for (int i = 0; i < pressedPolls; ++i)
            poll(0);
        poll(1);
        poll(1);
        QCOMPARE(seen, events);
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

    void shellDialogue()
    {
        ShellDialogue d;
        QStringList out;
        d.begin();
        QCOMPARE(d.feed(QStringLiteral("Trying 127.0.0.1..."), out), ShellDialogue::Event::None);
        QCOMPARE(d.feed(QStringLiteral("Connected to localhost."), out), ShellDialogue::Event::Connected);
        QCOMPARE(out, QStringList{"hello EMC user 1.0"});
        out.clear();
        QCOMPARE(d.feed(QStringLiteral("HELLO ACK EMCNETSVR 1.1"), out), ShellDialogue::Event::Configured);
        QCOMPARE(out, (QStringList{"set verbose on", "set enable EMCTOO", "set mode manual", "set task_plan_init"}));
        QCOMPARE(d.state(), ShellDialogue::Configured);
        QCOMPARE(d.feed(QStringLiteral("SET MODE NAK"), out), ShellDialogue::Event::None);
        QCOMPARE(d.feed(QStringLiteral("Connection closed by foreign host."), out), ShellDialogue::Event::Closed);
        QCOMPARE(d.state(), ShellDialogue::Idle);
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

    void configurationOfBothLayouts_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::newRow("2.9 joints and axes") << QStringLiteral(
            "[DISPLAY]\nDISPLAY = LinuxCNCrsh --PATH /\n"
            "[AXIS_X]\nMAX_VELOCITY = 999\n[JOINT_0]\nMAX_VELOCITY = 300\nMAX_ACCELERATION = 3000\nSCALE = 80\n"
            "FERROR = 2\nENCODER_SCALE = -200\nSTEP_SCALE = 80\nHOME_SEQUENCE = 1.7\n"
            "[JOINT_1]\nMAX_VELOCITY = 250\nSTEP_SCALE = 40\n[JOINT_2]\nHOME = 25\nHOME_SEQUENCE = 0\n"
            "[JOINT_3]\n[JOINT_4]\n");
        QTest::newRow("older axis sections") << QStringLiteral(
            "[DISPLAY]\nDISPLAY = linuxcncrsh --path /\n"
            "[AXIS_0]\nMAX_VELOCITY = 300\nMAX_ACCELERATION = 3000\nSCALE = 80\n"
            "FERROR = 2\nENCODER_SCALE = -200\nSTEP_SCALE = 80\nHOME_SEQUENCE = 1.7\n"
            "[AXIS_1]\nMAX_VELOCITY = 250\nSTEP_SCALE = 40\n[AXIS_2]\nHOME = 25\n# HOME = 3\nHOME_SEQUENCE = 0\n"
            "[AXIS_3]\n[AXIS_4]\n");
    }

    void configurationOfBothLayouts()
    {
        QFETCH(QString, ini);
        const CncConfig c = CncConfig::fromIni(ini);
        QVERIFY(c.displayIsRemoteShell());
        QCOMPARE(c.maxVelocity[0], 300.0);
        QCOMPARE(c.maxVelocity[1], 250.0);
        QCOMPARE(c.maxVelocity[2], -1.0);
        QCOMPARE(c.maxAcceleration[0], 3000.0);
        QCOMPARE(c.maxAcceleration[1], -1.0);
        QCOMPARE(c.homeSequence[0], 1);
        QCOMPARE(c.stepSize[0], 1.0 / 80);
        QCOMPARE(c.stepSize[1], 1.0 / 40);
        QCOMPARE(c.stepSize[2], 0.0);
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
        QTest::newRow("no path") << "[DISPLAY]\nDISPLAY = linuxcncrsh\n[JOINT_2]\nHOME = 0\n" << false << 0.0 << "zMax";
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
        QCOMPARE(c.homeAxisCount, 4);
        QVERIFY(!c.hasAxis4);
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

// The instrument windows and root functions over the real back end (main
// window, device threads, wiring) with the instrument emulators on
// pseudo-terminals and real programmer scripts.
#include "TestSupport.h"

#include "app/ApplicationShell.h"
#include "devices/emulators/RlcEmulator.h"
#include "devices/emulators/VsEmulator.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

class TestDeviceWindows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ApplicationShell> m_shell;

    QObject *root() const { return m_shell->root(); }
    QObject *window(const char *name) const { return root()->findChild<QObject *>(QLatin1String(name)); }
    QString script(const QString &name, const QByteArray &body)
    {
        const QString path = m_dir.filePath(name);
        TestSupport::writeScript(path, body);
        return QUrl::fromLocalFile(path).toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        TestSupport::installMessageCollector();
        m_shell = std::make_unique<ApplicationShell>();
        ApplicationShell::Options options;
        options.settingsFile = m_dir.filePath(QStringLiteral("settings.ini"));
        QVERIFY(m_shell->start(options));
        QCOMPARE(TestSupport::collectedWarnings(), QStringList());
        for (const char *name : {"vsSettings", "rlcSettings", "programmerSettings", "vibroFeedersSettings"})
            QVERIFY2(window(name), name);
        QVERIFY(root()->property("serialPortList").canConvert<QVariantList>());
    }

    void cleanupTestCase()
    {
        // Emulators that go away at the end of a case leave "port lost"
        // notes; the windows' scripts must not warn at all.
        QCOMPARE(TestSupport::collectedWarnings().filter(QStringLiteral("qrc:")), QStringList());
        m_shell.reset();
    }

    // The readings through the root (start, values, their time stamps) are
    // in tests/qml/machine/vs_polling; here the settings window.
    void vacuumSensorWindow()
    {
        VsEmulator emulator;
        emulator.setPressures({40.0});
        QSignalSpy readings(root(), SIGNAL(vsMeasureSignal(double)));
        root()->setProperty("vsEnabled", true);
        QMetaObject::invokeMethod(root(), "vsStart", Q_ARG(QVariant, emulator.portName()));
        QVERIFY(root()->property("vsStarting").toBool());
        QTRY_VERIFY_WITH_TIMEOUT(root()->property("vsRunning").toBool(), 4000);
        QVERIFY(!root()->property("vsStarting").toBool());

        // The settings window asks every 100 ms while it is open.
        QObject *w = window("vsSettings");
        QMetaObject::invokeMethod(w, "show");
        const int shown = readings.count();
        QTRY_VERIFY_WITH_TIMEOUT(readings.count() - shown >= 3, 3000);
        QMetaObject::invokeMethod(w, "close");
        QVERIFY(w->property("resultText").toString().contains(QStringLiteral("40.0 кПа")));

        // Switched off meanwhile: the next reading stops the sensor.
        root()->setProperty("vsEnabled", false);
        QMetaObject::invokeMethod(root(), "vsMeasure");
        QTRY_VERIFY_WITH_TIMEOUT(!root()->property("vsRunning").toBool(), 2000);
    }

    void rlcTestMeasurement_data()
    {
        QTest::addColumn<bool>("manual");
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("unit");
        QTest::addColumn<RlcEmulatorFault>("fault");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("result");
        QTest::newRow("100 nF expected") << false << 2 << 100.0 << 1 << RlcEmulatorFault::None
                                         << QStringList{"A", "S", "[ECRSAM2]", "N", "N"}
                                         << QStringLiteral("Результат измерения: 12.345kΩ");
        QTest::newRow("set-up refused") << true << 1 << 0.0 << 0 << RlcEmulatorFault::SetupRefused
                                        << QStringList{"A", "S", "[ELRSAA0]", "[BXXXXXX]"}
                                        << QStringLiteral("Ошибка настройки измерителя! Измеритель отклонил настройку.");
        QTest::newRow("over range") << true << 0 << 0.0 << 0 << RlcEmulatorFault::OverRange
                                    << QStringList{"A", "S", "[ERRSAA0]", "N"}
                                    << QStringLiteral("Ошибка измерения! Переполнение шкалы");
    }

    void rlcTestMeasurement()
    {
        QFETCH(bool, manual);
        QFETCH(int, type);
        QFETCH(double, value);
        QFETCH(int, unit);
        QFETCH(RlcEmulatorFault, fault);
        QFETCH(QStringList, commands);
        QFETCH(QString, result);
        RlcEmulator emulator(fault);
        emulator.setReading('R', 'A', 12345, 3);
        root()->setProperty("rlcPort", emulator.portName());
        QObject *w = window("rlcSettings");
        w->setProperty("manual", manual);
        w->setProperty("testType", type);
        w->setProperty("expectedValue", value);
        w->setProperty("expectedUnit", unit);
        QMetaObject::invokeMethod(w, "measure");
        QVERIFY(w->property("measuring").toBool());
        QTRY_VERIFY_WITH_TIMEOUT(!w->property("measuring").toBool(), 6000);
        const QString text = w->property("resultText").toString();
        QVERIFY2(text == result, qPrintable(text + QStringLiteral(" instead of ") + result));
        QCOMPARE(emulator.commands(), commands);
    }

    // A late second verdict: tests/qml/job/instruments.
    void programmerByExecutable()
    {
        QObject *w = window("programmerSettings");
        root()->setProperty("programmerInterface", 1);
        root()->setProperty("programmerWait", 1);
        root()->setProperty("programmerScriptPath", script(QStringLiteral("prog.sh"), "exit 0"));
        QSignalSpy results(root(), SIGNAL(programmerResultSignal(QString)));
        QMetaObject::invokeMethod(w, "program");
        QVERIFY(root()->property("programmerWaiting").toBool());
        // Manual programming makes the machine busy until its verdict.
        QVERIFY(root()->property("executing").toBool());
        QVERIFY(results.wait(4000));
        QCOMPARE(w->property("resultText").toString(), QStringLiteral("Успех!"));
        QVERIFY(!root()->property("programmerWaiting").toBool());
        QVERIFY(!root()->property("executing").toBool());
    }

    void programmerByMachineOutput()
    {
        QObject *w = window("programmerSettings");
        root()->setProperty("programmerInterface", 0);
        root()->setProperty("programmerWait", 2);
        QSignalSpy outputs(root(), SIGNAL(setDoutOn(int,bool)));
        QSignalSpy results(root(), SIGNAL(programmerResultSignal(QString)));
        QMetaObject::invokeMethod(w, "program");
        QTRY_COMPARE_WITH_TIMEOUT(outputs.count(), 2, 1500);
        QCOMPARE(outputs.at(0), (QList<QVariant>{10, true}));
        QCOMPARE(outputs.at(1), (QList<QVariant>{10, false}));
        QVERIFY(results.wait(2000));
        QCOMPARE(results.at(0).at(0).toString(), QStringLiteral("timeout"));
        QCOMPARE(w->property("resultText").toString(), QStringLiteral("Таймаут"));
    }

    void vibrationTestRun()
    {
        QObject *w = window("vibroFeedersSettings");
        QObject *banks = root()->property("vibroBankModel").value<QObject *>();
        QVERIFY(banks);
        QVERIFY(banks->property("count").toInt() > 0);
        w->setProperty("bank", 0);
        QMetaObject::invokeMethod(banks, "setProperty", Q_ARG(int, 0), Q_ARG(QString, "pwmFreq"), Q_ARG(QVariant, 12));
        QMetaObject::invokeMethod(banks, "setProperty", Q_ARG(int, 0), Q_ARG(QString, "pwmDutyCycle"), Q_ARG(QVariant, 35));
        QMetaObject::invokeMethod(banks, "setProperty", Q_ARG(int, 0), Q_ARG(QString, "pwmLength"), Q_ARG(QVariant, 1.5));
        QSignalSpy starts(root(), SIGNAL(startPWMVibroSend(int,int,double)));
        QSignalSpy done(root(), SIGNAL(pwmVibroDoneSignal()));
        QMetaObject::invokeMethod(w, "test");
        QCOMPARE(starts.count(), 1);
        QCOMPARE(starts.at(0), (QList<QVariant>{12, 35, 1.5}));
        QVERIFY(root()->property("pwmVibrating").toBool());
        QVERIFY(!root()->property("pwmVibroDone").toBool());
        QMetaObject::invokeMethod(root(), "pwmVibroDoneGet");
        QCOMPARE(done.count(), 1);
        QVERIFY(!root()->property("pwmVibrating").toBool());
        QVERIFY(root()->property("pwmVibroDone").toBool());
    }
};

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    TestDeviceWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_device_windows.moc"

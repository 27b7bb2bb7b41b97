// The back end as the program brings it up: main window, device threads,
// Worker and the wiring between them; the settings store on disk.
#include "TestSupport.h"

#include "app/ApplicationShell.h"
#include "backend/Worker.h"
#include "machine/WorkerCnc.h"

#include <QFile>
#include <QJSValue>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestWiring : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ApplicationShell> m_shell;

    QString settingsFile() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    // True once the individual settings were written to the store (the
    // start-up itself only records the package base folder there).
    bool settingsStored() const
    {
        return QSettings(settingsFile(), QSettings::IniFormat).contains(QStringLiteral("project/boardHeight"));
    }

    void startShell(bool cameraQuirksFailed = false)
    {
        m_shell.reset();
        m_shell = std::make_unique<ApplicationShell>();
        ApplicationShell::Options options;
        options.settingsFile = settingsFile();
        options.cameraQuirksFailed = cameraQuirksFailed;
        QVERIFY(m_shell->start(options));
    }

    QObject *root() const { return m_shell->root(); }

    QObject *model(const char *name) const { return root()->property(name).value<QObject *>(); }

    QString lastLogLine() const
    {
        QObject *log = model("logModel");
        const int count = log->property("count").toInt();
        if (count == 0)
            return QString();
        QJSValue entry;
        QMetaObject::invokeMethod(log, "get", Q_RETURN_ARG(QJSValue, entry), Q_ARG(int, count - 1));
        return entry.property(QStringLiteral("color")).toString() + QLatin1Char('|')
               + entry.property(QStringLiteral("message")).toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        TestSupport::installMessageCollector();
    }

    void init()
    {
        QFile::remove(settingsFile());
        TestSupport::resetCollectedWarnings();
    }

    void cleanup() { m_shell.reset(); }

    void startsWithoutWarningsAndEveryConnectionIsMade()
    {
        startShell();
        QCOMPARE(m_shell->worker()->wiringFailures(), 0);
        QCOMPARE(TestSupport::collectedWarnings(), QStringList());
        QCOMPARE(root()->property("initVar").toBool(), true);
        QCOMPARE(root()->property("settingsLoaded").toBool(), true);
    }

    void gCodeDoneComesBackThroughTheMachineThread()
    {
        startShell();
        QSignalSpy done(root(), SIGNAL(getGcodeDone(bool)));
        QMetaObject::invokeMethod(root(), "sendGCode", Q_ARG(QString, QStringLiteral("g0 x10 y10")), Q_ARG(bool, false));
        QVERIFY(done.wait(5000));
        QCOMPARE(done.count(), 1);
        // No controller answers yet: the block is reported as not done.
        QCOMPARE(done.at(0).at(0).toBool(), false);
    }

    void machineLinkStateReachesTheMainWindow()
    {
        startShell();
        WorkerCnc *cnc = m_shell->deviceWorkers().cnc;
        QMetaObject::invokeMethod(root(), "runCnc", Q_ARG(QString, QStringLiteral("/nowhere/machine.ini")));
        QTRY_VERIFY(lastLogLine().startsWith(QStringLiteral("red|")));
        QCOMPARE(root()->property("cncRunning").toBool(), false);

        QMetaObject::invokeMethod(cnc, "cncRunningSend", Qt::QueuedConnection, Q_ARG(QVariant, true));
        QTRY_COMPARE(root()->property("cncRunning").toBool(), true);
        QCOMPARE(lastLogLine(), QStringLiteral("white|LinuxCNC запущен"));

        const QVariantList position{1.5, -2.0, 10.0, 90.0};
        QMetaObject::invokeMethod(cnc, "jointPosSend", Qt::QueuedConnection, Q_ARG(QVariant, position));
        QTRY_COMPARE(root()->property("jointPos").value<QJSValue>().toVariant().toList(),
                     position);

        QMetaObject::invokeMethod(cnc, "logAdd", Qt::QueuedConnection, Q_ARG(QVariant, QStringLiteral("проверка")),
                                  Q_ARG(QVariant, QStringLiteral("yellow")));
        QTRY_COMPARE(lastLogLine(), QStringLiteral("yellow|проверка"));
    }

    void closingIsRefusedWithANozzleOnTheHeadElseWritesTheSettings()
    {
        QVERIFY(!QFile::exists(settingsFile()));
        startShell();
        auto *window = qobject_cast<QQuickWindow *>(root());
        QVERIFY(window);
        root()->setProperty("currentCupIndex", 2);
        window->close();
        QVERIFY(window->isVisible());
        QVERIFY(!settingsStored()); // the defaults, nothing written yet
        root()->setProperty("currentCupIndex", -1);
        window->close();
        QVERIFY(!window->isVisible());

        QSettings stored(settingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("project/boardHeight").toDouble(), 100.0);
        QVERIFY(stored.contains("windows/pcbSettingsPos"));
        // Keys that are only read are never written back.
        QVERIFY(!stored.contains("device/maxPcbThickness"));
        QVERIFY(!stored.contains("windows/gCodeInterfacePos"));
        // The records: eight cups, four band and four vibro banks.
        QCOMPARE(stored.value("cup8/exists").toBool(), true);
        QVERIFY(stored.contains("bandBank4/yRound"));
        QVERIFY(stored.contains("vibroBank4/pwmFreq"));
    }

    void storedValuesAreLoadedAndAChangedCupSurvivesARestart()
    {
        {
            QSettings s(settingsFile(), QSettings::IniFormat);
            s.setValue("project/boardWidth", 123.5);
            s.setValue("device/camera1Name", QStringLiteral("Камера над столом"));
            s.setValue("device/slowPlacement", false);
            s.setValue("cup3/exists", true);
            s.setValue("cup3/cupLength", 40.5);
            s.setValue("cup3/takeM", QStringLiteral("g0 x1"));
        }
        startShell();
        QCOMPARE(root()->property("boardWidth").toDouble(), 123.5);
        QCOMPARE(root()->property("camera1Name").toString(), QStringLiteral("Камера над столом"));
        QCOMPARE(root()->property("slowPlacement").toBool(), false);
        QCOMPARE(model("cupModel")->property("count").toInt(), 8);
        QJSValue cup3;
        QMetaObject::invokeMethod(model("cupModel"), "get", Q_RETURN_ARG(QJSValue, cup3), Q_ARG(int, 2));
        QCOMPARE(cup3.property("takeM").toString(), QStringLiteral("g0 x1"));

        QVERIFY(QMetaObject::invokeMethod(model("cupModel"), "setProperty", Q_ARG(int, 2),
                                          Q_ARG(QString, QStringLiteral("cupLength")), Q_ARG(QVariant, 42.25)));
        QMetaObject::invokeMethod(root(), "saveSettings");
        startShell();
        QMetaObject::invokeMethod(model("cupModel"), "get", Q_RETURN_ARG(QJSValue, cup3), Q_ARG(int, 2));
        QCOMPARE(cup3.property("cupLength").toNumber(), 42.25);
        QCOMPARE(cup3.property("takeM").toString(), QStringLiteral("g0 x1"));
    }
};

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    TestWiring test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wiring.moc"

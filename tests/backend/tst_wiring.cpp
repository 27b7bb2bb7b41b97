// The back end as the program brings it up: main window, device threads,
// Worker and the wiring between them; the settings store on disk.
#include "TestSupport.h"

#include "app/ApplicationShell.h"
#include "backend/Worker.h"
#include "devices/WorkerProgrammer.h"
#include "devices/WorkerRLC.h"
#include "devices/WorkerVS.h"
#include "machine/WorkerCnc.h"
#include "machine/WorkerPing.h"

#include <QFile>
#include <QJSValue>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <QVector4D>

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

    QObject *objectByRole(const QString &role) const
    {
        const DeviceWorkers d = m_shell->deviceWorkers();
        if (role == QLatin1String("root"))
            return root();
        if (role == QLatin1String("worker"))
            return m_shell->worker();
        if (role == QLatin1String("area"))
            return root()->findChild<QQuickItem *>(QStringLiteral("area"));
        if (role == QLatin1String("cnc"))
            return d.cnc;
        if (role == QLatin1String("rlc"))
            return d.rlc;
        if (role == QLatin1String("vs"))
            return d.vs;
        if (role == QLatin1String("ping"))
            return d.ping;
        if (role == QLatin1String("programmer"))
            return d.programmer;
        return nullptr;
    }

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

    void cleanup()
    {
        // The rows of the connection table share one program: each row
        // removes only its own connection.
        if (QLatin1String(QTest::currentTestFunction()) != QLatin1String("everyWiredConnectionExists"))
            m_shell.reset();
    }

    void startsWithoutWarningsAndEveryConnectionIsMade()
    {
        startShell();
        QCOMPARE(m_shell->worker()->wiringFailures(), 0);
        QCOMPARE(TestSupport::collectedWarnings(), QStringList());
        QCOMPARE(root()->property("initVar").toBool(), true);
        QCOMPARE(root()->property("settingsLoaded").toBool(), true);
        // Every device worker exists in a thread of its own.
        const DeviceWorkers d = m_shell->deviceWorkers();
        const QList<QObject *> workers = {d.cnc, d.rlc, d.vs, d.ping, d.programmer};
        QSet<QThread *> threads;
        for (QObject *w : workers) {
            QVERIFY(w);
            QVERIFY(w->thread() != QThread::currentThread());
            threads.insert(w->thread());
        }
        QCOMPARE(threads.size(), 5);
        QCOMPARE(d.cnc->thread()->priority(), QThread::TimeCriticalPriority);
    }

    void everyWiredConnectionExists_data()
    {
        QTest::addColumn<QString>("senderRole");
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("receiverRole");
        QTest::addColumn<QString>("slot");

        // Root signals served by Worker (slot name differs where given).
        const QStringList toWorker = {
            "loadPackageList()", "quit()|quitGet()", "setLastProjectFolder(QString)",
            "loadSetting(QString,QString,QVariant)", "saveSetting(QString,QString)", "loadSettings()",
            "saveSettings()", "savePackageSettings()", "openProject(QUrl)", "checkFeederBanksMatch(QUrl)",
            "saveProject(QUrl)", "saveFeeders(QUrl)", "openFeeders(QUrl)", "setRefPointCursor(bool)",
            "setRefPointCursorColor(QColor)", "setRefPointCursorType(int)", "iniFileCheck(QString)",
            "encoderScaleSend(QString,double,double)|encoderScaleGet(QString,double,double)",
            "stepperScaleSend(QString,double,double)|stepperScaleGet(QString,double,double)",
            "openFileImport(QString,QString,int,int,int,int,int,int)",
            "openFeederFileImport(QString,QString,int,int,int,int)", "readCameraModes(int)",
            "stopwatchStart()", "stopwatchStop()", "stopwatchPause()", "stopwatchResume()",
            "calcPcbMountTime()", "makeQImage(QString)", "recalculateOverlaps(QVariant,bool)",
            "recalculateAllOverlaps()", "takeScreenShot()", "scanStart(double,double,double,double,double)",
            "scanStep(double,double)", "scanFinish(QString)", "translate(QString)", "iniGetSpeedAcc(QString)",
            "maxVelAccSend(QString,double,double,double,double,double,double,double,double,double,double)"
            "|maxVelAccGet(QString,double,double,double,double,double,double,double,double,double,double)",
            "antSortSend()|antSortGet()", "nearestSortSend()|nearestSortGet()",
            "feederListExport(QString)|feederListExportGet(QString)",
            "projectDayStatisticsExport(QString)|projectDayStatisticsExportGet(QString)",
            "vsMeasureTimeFreshGet()|vsMeasureTimeFreshCalc()",
            "calcFieldCalibrationSend(int,int)|calcFieldCalibrationGet(int,int)", "fieldCalibrationLoad()",
            "makeAoi(QVariant,QVariant,int,int)", "simWorldSend(QVariant)|simWorldGet(QVariant)"};
        for (const QString &row : toWorker) {
            const QString signal = row.section('|', 0, 0);
            const QString slot = row.contains('|') ? row.section('|', 1, 1) : signal;
            QTest::newRow(qPrintable("root." + signal)) << "root" << signal << "worker" << slot;
        }

        // Root signals served by the device workers.
        const QStringList toDevices = {
            "cnc|runCnc(QString)", "cnc|stopCnc()",
            "cnc|machineMove(int,bool,double,bool)|machineMoveGet(int,bool,double,bool)",
            "cnc|machineMoveIncr(int,bool,double,double)|machineMoveIncrGet(int,bool,double,double)",
            "cnc|machineMoveStep(int,bool,double)|machineMoveStepGet(int,bool,double)",
            "cnc|debugModeSend(bool)|debugModeGet(bool)", "cnc|setMachineOn(bool)|machineOnGet(bool)",
            "cnc|setEstop()|estopGet()", "cnc|setAbort()", "cnc|machineHome(bool)", "cnc|zUpSend()|zUpGet()",
            "cnc|setDoutOn(int,bool)|setDout(int,bool)", "cnc|sendGCode(QString,bool)|getGCode(QString,bool)",
            "cnc|maxVelLimitSend(double,double)|maxVelLimitGet(double,double)",
            "cnc|feedOverrideSend(int,bool)|feedOverrideGet(int,bool)", "cnc|relXYSend(double,double)|relXYGet(double,double)",
            "cnc|startPWMVibroSend(int,int,double)|startPWMVibroGet(int,int,double)",
            "cnc|blowDelaySend(double)|blowDelayGet(double)",
            "cnc|zAutoFindSend(bool,double,double,double)|zAutoFindGet(bool,double,double,double)",
            "cnc|diagOpenedSend(bool)|diagOpenedGet(bool)", "cnc|setEncoderEnabled(int,bool)|encoderEnabledGet(int,bool)",
            "cnc|sendShaftsMovingState(bool,bool)|getShaftsMovingState(bool,bool)",
            "cnc|allowMoveShaftsSend(bool)|allowMoveShaftsGet(bool)", "cnc|calibXYSend(double,double)|calibXYGet(double,double)",
            "cnc|needSlowAccSend(bool)|needSlowAccGet(bool)", "cnc|currVCHeightSend(double)|currVCHeightGet(double)",
            "cnc|fieldCalibrationEnableSend(bool)|fieldCalibrationEnabledGet(bool)",
            "cnc|disableHome(int,double)|disableHomeGet(int,double)",
            "rlc|rlcStart(QString)|runRLC(QString)", "rlc|rlcMeasure()|read()",
            "rlc|rlcSetupValueSend(QString,double)|setup(QString,double)", "rlc|rlcSetup(QString,bool,bool)|setup(QString,bool,bool)",
            "vs|vsStartSend(QString)|runVS(QString)", "vs|vsStopSend()|stopVS()", "vs|vsMeasure()|read()",
            "ping|linuxCncAutoStartSend(bool)|linuxCncAutoStartGet(bool)",
            "programmer|programmerScriptStart(QString,int)"};
        for (const QString &row : toDevices) {
            const QString receiver = row.section('|', 0, 0);
            const QString signal = row.section('|', 1, 1);
            const QString slot = row.count('|') == 2 ? row.section('|', 2, 2) : signal;
            QTest::newRow(qPrintable("root." + signal + " -> " + receiver)) << "root" << signal << receiver << slot;
        }

        // Signals towards the main window, its board area and the device workers.
        const QString v1 = "(QVariant)", v2 = "(QVariant,QVariant)", v3 = "(QVariant,QVariant,QVariant)";
        const QStringList back = {
            "worker|errorSend" + v1 + "|root|errorAdd" + v1,
            "worker|showError" + v3 + "|root|errorMessage" + v3,
            "worker|sendPreviouslyOpenedFeederBanks(QVariant,QVariant,QVariant,QVariant,QVariant)|root|getPreviouslyOpenedFeederBanks(QVariant,QVariant,QVariant,QVariant,QVariant)",
            "worker|createElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)|area|createElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)",
            "worker|setRefPoint(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)|area|setRefPointFull(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)",
            "worker|setDot(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)|area|setDot(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)",
            "worker|pcbSetXY" + v2 + "|area|pcbSetXY" + v2,
            "worker|pcbSetRotation" + v3 + "|area|pcbSetRotation" + v3,
            "worker|setFirstPcbXY()|root|setFirstPcbXY()",
            "worker|iniFileCorrectSend" + v1 + "|root|iniFileCorrectGet" + v1,
            "worker|iniMesaTypeSend" + v1 + "|root|iniMesaTypeGet" + v1,
            "worker|iniMesaTypeSend" + v1 + "|cnc|iniMesaTypeGet" + v1,
            "worker|iniMesaTypeSend" + v1 + "|ping|iniMesaTypeGet" + v1,
            "worker|iniIPSend(QString)|ping|iniIPGet(QString)",
            "worker|addImportElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)|root|addImportElement(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)",
            "worker|addImportFeeder(QVariant,QVariant,QVariant,QVariant)|root|addImportFeeder(QVariant,QVariant,QVariant,QVariant)",
            "worker|maxVelSend(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)|root|maxVelGet(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)",
            "worker|maxAccSend(QVariant,QVariant,QVariant,QVariant)|root|maxAccGet(QVariant,QVariant,QVariant,QVariant)",
            "worker|inputsExistsSend" + v1 + "|root|inputsExistsGet" + v1,
            "worker|calcElementRectSend()|root|calcElementRect()",
            "worker|mapFeedersToElementsSend" + v1 + "|root|mapFeedersToElements" + v1,
            "worker|sendFieldCalibration(twoDPoint2fVector,int,int)|cnc|fieldCalibrationGet(twoDPoint2fVector,int,int)",
            "worker|sendFieldCalibrationAvailable" + v1 + "|root|getFieldCalibrationAvailable" + v1,
            "worker|sendFieldCalibrationAvailable" + v1 + "|cnc|fieldCalibrationAvailableGet" + v1,
            "worker|projectDayStatisticsAppendSeconds" + v1 + "|root|projectDayStatisticsAppendSeconds" + v1,
            "root|pcbSetXY" + v2 + "|area|pcbSetXY" + v2,
            "root|pcbSetRotation" + v3 + "|area|pcbSetRotation" + v3,
            "root|machineMove(int,bool,double,bool)|root|setSlowSpeed()",
            "cnc|maxVelSend(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)|worker|maxVelGet(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)",
            "cnc|maxAccSend(QVariant,QVariant,QVariant,QVariant)|worker|maxAccGet(QVariant,QVariant,QVariant,QVariant)",
            "cnc|showError" + v3 + "|root|errorMessage" + v3,
            "cnc|logAdd" + v2 + "|root|logAdd" + v2,
            "cnc|cncRunningSend" + v1 + "|root|cncRunningGet" + v1,
            "cnc|cncRunningSend" + v1 + "|ping|cncRunningGet" + v1,
            "cnc|cncStartFailed()|root|cncStartFailedGet()",
            "cnc|machineOnSend" + v1 + "|root|machineOnGet" + v1,
            "cnc|jointPosSend" + v1 + "|root|jointPosGet" + v1,
            "cnc|jointPos2Send" + v1 + "|root|jointPos2Get" + v1,
            "cnc|jointHomedSend(QVariant,QVariant,QVariant,QVariant,QVariant)|root|jointHomedGet(QVariant,QVariant,QVariant,QVariant,QVariant)",
            "cnc|doutSend" + v2 + "|root|doutGet" + v2,
            "cnc|errorSend" + v1 + "|root|machineErrorGet" + v1,
            "cnc|errorSend" + v1 + "|root|linuxCncErrorAdd" + v1,
            "cnc|maxVelSend(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)|root|maxVelGet(QVariant,QVariant,QVariant,QVariant,QVariant,QVariant)",
            "cnc|maxAccSend(QVariant,QVariant,QVariant,QVariant)|root|maxAccGet(QVariant,QVariant,QVariant,QVariant)",
            "cnc|encoderStepSend" + v1 + "|root|encoderStepGet" + v1,
            "cnc|encoderScaleSend" + v3 + "|root|encoderScaleGet" + v3,
            "cnc|stepperScaleSend" + v3 + "|root|stepperScaleGet" + v3,
            "cnc|startSend()|root|progStartBtnPressed()",
            "cnc|zAutoFindResultSend" + v1 + "|root|zAutoFindResultGet" + v1,
            "cnc|programmerErrPinSend" + v1 + "|root|programmerErrPinGet" + v1,
            "cnc|programmerSucPinSend" + v1 + "|root|programmerSucPinGet" + v1,
            "cnc|programmerResultSend" + v1 + "|root|programmerResultGet" + v1,
            "cnc|encExistSend" + v3 + "|root|encExistGet" + v3,
            "cnc|doutListChangeEnabled" + v2 + "|root|doutListChangeEnabled" + v2,
            "cnc|pwmEnabledSend" + v1 + "|root|pwmEnabledGet" + v1,
            "cnc|blowEnabledSend" + v1 + "|root|blowEnabledGet" + v1,
            "cnc|homeExistsSend" + v3 + "|root|homeExistsGet" + v3,
            "cnc|pwmVibroDoneSend()|root|pwmVibroDoneGet()",
            "cnc|sendVsMeasureBeforeGet()|root|getVsMeasureBeforeGet()",
            "rlc|openDone()|root|rlcStartedGet()",
            "rlc|openFailed" + v1 + "|root|rlcStartFailedGet" + v1,
            "rlc|sendValue" + v3 + "|root|rlcMeasureGet" + v3,
            "rlc|readFailed" + v1 + "|root|rlcMeasureFailedGet" + v1,
            "rlc|setupFailed" + v1 + "|root|rlcSetupFailedGet" + v1,
            "rlc|setupDone()|root|rlcSetupFinishedGet()",
            "vs|openDone()|root|vsStartedGet()",
            "vs|openFailed" + v1 + "|root|vsStartFailedGet" + v1,
            "vs|sendValue" + v2 + "|root|vsMeasureGet" + v2,
            "vs|sendValue" + v2 + "|cnc|vsMeasureGet" + v2,
            "vs|readFailed" + v1 + "|root|vsMeasureFailedGet" + v1,
            "vs|showError" + v3 + "|root|errorMessage" + v3,
            "ping|runStopCncFromPingSend" + v1 + "|root|runStopCncFromPingGet" + v1,
            "programmer|programmerScriptResultSend" + v1 + "|root|programmerResultGet" + v1,
            "programmer|showError" + v3 + "|root|errorMessage" + v3,
        };
        for (const QString &row : back) {
            const QStringList p = row.split('|');
            QTest::newRow(qPrintable(p[0] + "." + p[1] + " -> " + p[2])) << p[0] << p[1] << p[2] << p[3];
        }
        // The HAL input and encoder signals: "...Send" to the root's "...Get".
        const QStringList hal = {"halHomeX", "halHomeY", "halHomeZ", "halHomeB", "halESTOP", "halStartPause",
                                 "halSpeedEncoder", "halSpeedEncoderInc", "halEncX", "halEncY", "halEncZ",
                                 "halStepperX", "halStepperY", "halStepperZ", "encStepperXDiv", "encStepperYDiv",
                                 "encStepperZDiv", "encStepperXMaxDiv", "encStepperYMaxDiv", "encStepperZMaxDiv"};
        for (const QString &name : hal)
            QTest::newRow(qPrintable("cnc." + name)) << "cnc" << name + "Send(QVariant)" << "root" << name + "Get(QVariant)";
    }

    void everyWiredConnectionExists()
    {
        QFETCH(QString, senderRole);
        QFETCH(QString, signal);
        QFETCH(QString, receiverRole);
        QFETCH(QString, slot);
        if (!m_shell)
            startShell();
        QObject *sender = objectByRole(senderRole);
        QObject *receiver = objectByRole(receiverRole);
        QVERIFY(sender);
        QVERIFY(receiver);
        const QByteArray sig = "2" + signal.toLatin1();
        const QByteArray sl = "1" + slot.toLatin1();
        // disconnect() is true only when exactly this connection existed.
        QVERIFY2(QObject::disconnect(sender, sig.constData(), receiver, sl.constData()),
                 qPrintable(senderRole + "." + signal + " -> " + receiverRole + "." + slot));
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

    void missingSettingsFileGivesDefaultsAndIsWrittenOnClose()
    {
        QVERIFY(!QFile::exists(settingsFile()));
        startShell();
        QCOMPARE(root()->property("boardHeight").toDouble(), 100.0);
        QCOMPARE(root()->property("d1Color").toString(), QStringLiteral("#2e69ff"));
        QCOMPARE(root()->property("rlcPort").toString(), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(root()->property("maxPcbSetupError").toDouble(), 0.2);
        QVERIFY(!settingsStored());

        auto *window = qobject_cast<QQuickWindow *>(root());
        QVERIFY(window);
        window->close();
        QVERIFY(settingsStored());

        QSettings stored(settingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("project/boardHeight").toDouble(), 100.0);
        QCOMPARE(stored.value("colors/refPointColor").toString(), QStringLiteral("#000000"));
        QCOMPARE(stored.value("windows/pcbSettingsPos").isValid(), true);
        // Keys that are only read are never written back.
        QVERIFY(!stored.contains("device/maxPcbThickness"));
        QVERIFY(!stored.contains("windows/gCodeInterfacePos"));
        // The records: eight cups, four band and four vibro banks.
        QCOMPARE(stored.value("cup8/exists").toBool(), true);
        QCOMPARE(stored.value("cup1/cupDiameter2").toDouble(), 1.1);
        QCOMPARE(stored.value("bandBank4/yRound").toDouble(), 200.0);
        QCOMPARE(stored.value("vibroBank2/pwmFreq").toInt(), 20);
    }

    void storedValuesAreLoadedIntoTheMainWindow()
    {
        {
            QSettings s(settingsFile(), QSettings::IniFormat);
            s.setValue("project/boardWidth", 123.5);
            s.setValue("device/camera1Name", QStringLiteral("Камера над столом"));
            s.setValue("device/slowPlacement", false);
            s.setValue("windows/saveWindowsPos", false);
            s.setValue("windows/camera1WindowPos", QVariant::fromValue(QVector4D(1, 2, 3, 4)));
            s.setValue("cup3/exists", true);
            s.setValue("cup3/cupLength", 40.5);
            s.setValue("cup3/takeM", QStringLiteral("g0 x1"));
            s.setValue("cup4/exists", false);
            s.setValue("cup4/cupLength", 99);
        }
        startShell();
        QCOMPARE(root()->property("boardWidth").toDouble(), 123.5);
        QCOMPARE(root()->property("camera1Name").toString(), QStringLiteral("Камера над столом"));
        QCOMPARE(root()->property("slowPlacement").toBool(), false);
        // Window positions are read only when they are to be kept.
        QCOMPARE(root()->property("camera1WindowPos").value<QVector4D>(), QVector4D(0, 0, 0, 0));

        QObject *cups = model("cupModel");
        QCOMPARE(cups->property("count").toInt(), 8);
        QJSValue cup3, cup4;
        QMetaObject::invokeMethod(cups, "get", Q_RETURN_ARG(QJSValue, cup3), Q_ARG(int, 2));
        QMetaObject::invokeMethod(cups, "get", Q_RETURN_ARG(QJSValue, cup4), Q_ARG(int, 3));
        QCOMPARE(cup3.property("cupLength").toNumber(), 40.5);
        QCOMPARE(cup3.property("takeM").toString(), QStringLiteral("g0 x1"));
        // A record that does not exist gets the defaults.
        QCOMPARE(cup4.property("cupLength").toNumber(), 31.0);
        QCOMPARE(model("bandBankModel")->property("count").toInt(), 4);
        QCOMPARE(model("vibroBankModel")->property("count").toInt(), 4);
    }

    void scriptArrayIsStoredAsAList()
    {
        startShell();
        QJSValue array = m_shell->engine().evaluate(QStringLiteral("[1.5, 2, 3]"));
        root()->setProperty("camera1CameraMatrix", QVariant::fromValue(array));
        QMetaObject::invokeMethod(root(), "saveSetting", Q_ARG(QString, QStringLiteral("device")),
                                  Q_ARG(QString, QStringLiteral("camera1CameraMatrix")));
        QMetaObject::invokeMethod(root(), "saveSettings");

        // Read from the file, a list comes back as the list of its texts.
        QSettings stored(settingsFile(), QSettings::IniFormat);
        const QVariant value = stored.value("device/camera1CameraMatrix");
        QCOMPARE(value.type(), QVariant::StringList);
        QCOMPARE(value.toStringList(), (QStringList{"1.5", "2", "3"}));

        root()->setProperty("camera1CameraMatrix", QVariant::fromValue(m_shell->engine().evaluate("[]")));
        QMetaObject::invokeMethod(root(), "loadSetting", Q_ARG(QString, QStringLiteral("device")),
                                  Q_ARG(QString, QStringLiteral("camera1CameraMatrix")), Q_ARG(QVariant, QVariant()));
        const QJSValue back = root()->property("camera1CameraMatrix").value<QJSValue>();
        QVERIFY(back.isArray());
        QCOMPARE(back.property("length").toInt(), 3);
        QCOMPARE(back.property(0).toNumber(), 1.5);
    }

    void checkSettingComparesWithTheStore()
    {
        startShell();
        QMetaObject::invokeMethod(root(), "saveSetting", Q_ARG(QString, QStringLiteral("project")),
                                  Q_ARG(QString, QStringLiteral("boardHeight")));
        QMetaObject::invokeMethod(root(), "saveSettings");
        QSettings stored(settingsFile(), QSettings::IniFormat);
        stored.beginGroup("project");
        QVERIFY(m_shell->worker()->checkSetting(QStringLiteral("boardHeight"), &stored));
        root()->setProperty("boardHeight", 120);
        QVERIFY(!m_shell->worker()->checkSetting(QStringLiteral("boardHeight"), &stored));
        QVERIFY(!m_shell->worker()->checkSetting(QStringLiteral("boardWidth"), &stored)); // not stored
    }

    void changedCupRecordSurvivesARestart()
    {
        startShell();
        QVERIFY(QMetaObject::invokeMethod(model("cupModel"), "setProperty", Q_ARG(int, 0),
                                          Q_ARG(QString, QStringLiteral("cupLength")), Q_ARG(QVariant, 42.25)));
        QMetaObject::invokeMethod(root(), "saveSettings");
        m_shell.reset();
        startShell();
        QJSValue cup1;
        QMetaObject::invokeMethod(model("cupModel"), "get", Q_RETURN_ARG(QJSValue, cup1), Q_ARG(int, 0));
        QCOMPARE(cup1.property("cupLength").toNumber(), 42.25);
        QCOMPARE(model("cupModel")->property("count").toInt(), 8);
    }

    void closingWithANozzleOnTheHeadIsRefused()
    {
        startShell();
        auto *window = qobject_cast<QQuickWindow *>(root());
        root()->setProperty("currentCupIndex", 2);
        window->close();
        QVERIFY(window->isVisible());
        QVERIFY(!settingsStored()); // nothing saved yet
        root()->setProperty("currentCupIndex", -1);
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(settingsStored());
    }

    void quirksWithoutRootRightsIsReported()
    {
        {
            QSettings s(settingsFile(), QSettings::IniFormat);
            s.setValue("device/cameraUseQuirks", true);
        }
        startShell(true);
        QCOMPARE(lastLogLine(), QStringLiteral("red|Ошибка: Права пользователя для приложения заданы неправильно!"));
    }

    void setLastProjectFolderKeepsSpecialNames_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("folder");
        QTest::newRow("url") << "file:///home/op/boards/board.project" << "file:///home/op/boards";
        QTest::newRow("spaces and Cyrillic") << "file:///home/op/мои платы/board 1.project" << "file:///home/op/мои платы";
        QTest::newRow("percent-encoded") << "file:///home/op/my%20boards/b.project" << "file:///home/op/my boards";
        QTest::newRow("plain path") << "/home/op/boards/b.project" << "file:///home/op/boards";
    }

    void setLastProjectFolderKeepsSpecialNames()
    {
        QFETCH(QString, project);
        QFETCH(QString, folder);
        if (!m_shell)
            startShell();
        QMetaObject::invokeMethod(root(), "setLastProjectFolder", Q_ARG(QString, project));
        QCOMPARE(root()->property("lastProjectFolder").toString(), folder);
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

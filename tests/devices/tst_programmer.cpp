// The device programmer: the operator's executable run with real scripts,
// and the simulated machine's own programmer as its settings name it. A
// second of the wait lasts 300 ms, except in the row at the real timing.
#include "TestSupport.h"
#include "devices/WorkerProgrammer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <cerrno>
#include <csignal>

using TestSupport::contentOf;
using TestSupport::writeScript;

namespace {
// Long enough for a shell to start on a loaded machine.
constexpr int quickSecond = 300;
}

class TestProgrammer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeScript(m_dir.filePath("ok.sh"), "exit 0"));
        QVERIFY(writeScript(m_dir.filePath("fail.sh"), "exit 3"));
        QVERIFY(writeScript(m_dir.filePath("slow.sh"), "echo $$ > \"$(dirname \"$0\")/slow-pid\"\nsleep 3"));
        QVERIFY(writeScript(m_dir.filePath("crash.sh"), "kill -SEGV $$"));
        QVERIFY(writeScript(m_dir.filePath("odd name; touch injected.sh"), "exit 0"));
    }
    void cleanup() { qunsetenv("KESTRAVO_SIM_PROGRAMMER_RESULT"); }

    void script_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("asUrl");
        QTest::addColumn<int>("wait");
        QTest::addColumn<int>("secondMs");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("error");   // start of the error window text; empty: none
        const QString scriptError = QStringLiteral("Ошибка скрипта программатора:\n");
        QTest::newRow("exit 0, file URL") << "ok.sh" << true << 5 << quickSecond << "success" << QString();
        QTest::newRow("exit 0, plain path") << "ok.sh" << false << 5 << quickSecond << "success" << QString();
        QTest::newRow("exit 3") << "fail.sh" << true << 5 << quickSecond << "3" << scriptError;
        // 0: the worker's own second, which must be 1000 ms.
        QTest::newRow("sleeps past the wait, real time") << "slow.sh" << true << 1 << 0 << "timeout" << QString();
        QTest::newRow("missing path") << "missing.sh" << true << 5 << quickSecond << "error" << scriptError;
        QTest::newRow("crashes") << "crash.sh" << true << 5 << quickSecond << "error"
                                 << scriptError;
        QTest::newRow("shell characters in the name") << "odd name; touch injected.sh" << true << 5 << 100
                                                      << "success" << QString();
    }

    void script()
    {
        QFETCH(QString, script);
        QFETCH(bool, asUrl);
        QFETCH(int, wait);
        QFETCH(int, secondMs);
        QFETCH(QString, result);
        QFETCH(QString, error);
        const QString path = m_dir.filePath(script);
        WorkerProgrammer worker;
        if (secondMs > 0)
            worker.setSecondMs(secondMs);
        else
            secondMs = 1000;
        QSignalSpy results(&worker, &WorkerProgrammer::programmerScriptResultSend);
        QSignalSpy errors(&worker, &WorkerProgrammer::showError);
        QElapsedTimer clock;
        clock.start();
        worker.programmerScriptStart(asUrl ? QUrl::fromLocalFile(path).toString() : path, wait);
        if (result == "timeout")
            QVERIFY2(clock.elapsed() >= wait * secondMs,
                     qPrintable(QString::number(clock.elapsed())));
        QVERIFY(clock.elapsed() < wait * secondMs + 1500);
        QCOMPARE(results.count(), 1);
        QCOMPARE(results.at(0).at(0).toString(), result);
        if (error.isEmpty()) {
            QCOMPARE(errors.count(), 0);
        } else {
            QCOMPARE(errors.count(), 1);
            const QString text = errors.at(0).at(0).toString();
            QVERIFY2(text.startsWith(error), qPrintable(text));
            QCOMPARE(errors.at(0).at(1).toBool(), false);
            QCOMPARE(errors.at(0).at(2).toString(), QStringLiteral("error"));
            if (result == "3")
                QVERIFY(text.endsWith(QStringLiteral("\nКод ошибки: 3")));
        }
        QVERIFY(!QFile::exists(m_dir.filePath("injected")));
        QVERIFY(!QFile::exists(QDir::current().filePath("injected")));
    }

    void timedOutScriptIsEnded()
    {
        WorkerProgrammer worker;
        worker.setSecondMs(quickSecond);
        QSignalSpy results(&worker, &WorkerProgrammer::programmerScriptResultSend);
        QFile::remove(m_dir.filePath("slow-pid"));
        worker.programmerScriptStart(QUrl::fromLocalFile(m_dir.filePath("slow.sh")).toString(), 1);
        QCOMPARE(results.at(0).at(0).toString(), QStringLiteral("timeout"));
        const pid_t pid = pid_t(contentOf(m_dir.filePath("slow-pid")).trimmed().toInt());
        QVERIFY(pid > 0);
        // The script no longer runs once its verdict is out.
        const int alive = ::kill(pid, 0);
        const int error = errno;
        QCOMPARE(alive, -1);
        QCOMPARE(error, ESRCH);
    }

    // The run folder of the simulated machine as the project's scripts lay it
    // out: the settings store names the stand-in programmer, with programming
    // off. It succeeds unless the test writes its results file (results of the
    // next runs, the last one staying) or sets its environment variable; every
    // run is logged beside it.
    void simulatedProgrammer_data()
    {
        QTest::addColumn<QString>("resultsFile"); // null: no file
        QTest::addColumn<QString>("environment"); // null: not set
        QTest::addColumn<int>("wait");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("fileAfter");
        QTest::addColumn<QString>("log");
        QTest::newRow("succeeds") << QString() << QString() << 5 << QStringList{"success", "success"} << QString()
                                  << "0\n0\n";
        QTest::newRow("fails with 3, then succeeds")
            << "3 0" << QString() << 5 << QStringList{"3", "success", "success"} << "0\n" << "3\n0\n0\n";
        QTest::newRow("the environment wins over the file")
            << "3 0" << "4" << 5 << QStringList{"4", "4"} << "3 0" << "4\n4\n";
        QTest::newRow("hangs past the wait") << "hang" << QString() << 1 << QStringList{"timeout"} << "hang"
                                             << "hang\n";
    }

    void simulatedProgrammer()
    {
        QFETCH(QString, resultsFile);
        QFETCH(QString, environment);
        QFETCH(int, wait);
        QFETCH(QStringList, results);
        QFETCH(QString, fileAfter);
        QFETCH(QString, log);
        QTemporaryDir run;
        QString error;
        const QString settingsFile = TestSupport::prepareSimRunFolder(QStringLiteral(KESTRAVO_SIM_DIR), run.path(), &error);
        QVERIFY2(!settingsFile.isEmpty(), qPrintable(error));
        QSettings settings(settingsFile, QSettings::IniFormat);
        QCOMPARE(settings.value("device/programmerEnabled").toString(), QStringLiteral("false"));
        QCOMPARE(settings.value("device/programmerInterface").toInt(), 1);
        const QString script = settings.value("device/programmerScriptPath").toString();
        QCOMPARE(script, QUrl::fromLocalFile(run.filePath("sim-programmer")).toString());

        const QString results_ = run.filePath("sim-programmer-result");
        if (!resultsFile.isNull())
            QVERIFY(TestSupport::writeFile(results_, resultsFile.toUtf8()));
        if (!environment.isNull())
            qputenv("KESTRAVO_SIM_PROGRAMMER_RESULT", environment.toUtf8());
        WorkerProgrammer worker;
        worker.setSecondMs(quickSecond);
        QSignalSpy sent(&worker, &WorkerProgrammer::programmerScriptResultSend);
        QSignalSpy errors(&worker, &WorkerProgrammer::showError);
        for (int i = 0; i < results.size(); ++i)
            worker.programmerScriptStart(script, wait);
        QStringList got;
        for (const QList<QVariant> &s : sent)
            got.append(s.at(0).toString());
        QCOMPARE(got, results);
        QCOMPARE(errors.count(),
                 results.size() - results.count("success") - results.count("timeout"));
        QCOMPARE(QFile::exists(results_), !fileAfter.isNull());
        QCOMPARE(QString::fromUtf8(contentOf(results_)).trimmed(), fileAfter.trimmed());
        QCOMPARE(QString::fromUtf8(contentOf(run.filePath("sim-programmer.log"))), log);
    }
};

QTEST_GUILESS_MAIN(TestProgrammer)
#include "tst_programmer.moc"

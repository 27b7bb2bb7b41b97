// The device programmer: the operator's executable run with real scripts. A
// second of the wait lasts 300 ms, except in the row at the real timing.
#include "TestSupport.h"
#include "devices/WorkerProgrammer.h"

#include <QElapsedTimer>
#include <QFile>
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

    void script_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("wait");
        QTest::addColumn<int>("secondMs");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("error");   // start of the error window text; empty: none
        const QString scriptError = QStringLiteral("Ошибка скрипта программатора:\n");
        QTest::newRow("exit 0") << "ok.sh" << 5 << quickSecond << "success" << QString();
        QTest::newRow("exit 3") << "fail.sh" << 5 << quickSecond << "3" << scriptError;
        // 0: the worker's own second, which must be 1000 ms.
        QTest::newRow("sleeps past the wait, real time") << "slow.sh" << 1 << 0 << "timeout" << QString();
        QTest::newRow("missing path") << "missing.sh" << 5 << quickSecond << "error" << scriptError;
        QTest::newRow("crashes") << "crash.sh" << 5 << quickSecond << "error"
                                 << scriptError;
        QTest::newRow("shell characters in the name") << "odd name; touch injected.sh" << 5 << 100
                                                      << "success" << QString();
    }

    void script()
    {
        QFETCH(QString, script);
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
        worker.programmerScriptStart(QUrl::fromLocalFile(path).toString(), wait);
        if (result == "timeout")
            QVERIFY2(clock.elapsed() >= wait * secondMs,
                     qPrintable(QString::number(clock.elapsed())));
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
};

QTEST_GUILESS_MAIN(TestProgrammer)
#include "tst_programmer.moc"

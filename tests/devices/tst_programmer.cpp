// The device programmer: the operator's executable run with real scripts.
#include "devices/WorkerProgrammer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace {
bool writeScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                               | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}
}

class TstProgrammer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void script_data();
    void script();
    void timedOutScriptIsEnded();

private:
    QTemporaryDir m_dir;
};

void TstProgrammer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeScript(m_dir.filePath("ok.sh"), "exit 0"));
    QVERIFY(writeScript(m_dir.filePath("fail.sh"), "exit 3"));
    QVERIFY(writeScript(m_dir.filePath("slow.sh"), "sleep 3\ntouch \"$(dirname \"$0\")/slow-finished\""));
    QVERIFY(writeScript(m_dir.filePath("crash.sh"), "kill -SEGV $$"));
    QVERIFY(writeScript(m_dir.filePath("odd name; touch injected.sh"), "exit 0"));
    QFile plain(m_dir.filePath("not-executable.sh"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\nexit 0\n");
}

void TstProgrammer::script_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("asUrl");
    QTest::addColumn<int>("wait");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("error");   // start of the error window text; empty: none
    const QString scriptError = QStringLiteral("Ошибка скрипта программатора:\n");
    QTest::newRow("exit 0, file URL") << "ok.sh" << true << 5 << "success" << QString();
    QTest::newRow("exit 0, plain path") << "ok.sh" << false << 5 << "success" << QString();
    QTest::newRow("exit 3") << "fail.sh" << true << 5 << "3" << scriptError;
    QTest::newRow("sleeps past the wait") << "slow.sh" << true << 1 << "timeout" << QString();
    QTest::newRow("missing path") << "missing.sh" << true << 5 << "error" << scriptError;
    QTest::newRow("not executable") << "not-executable.sh" << true << 5 << "error" << scriptError;
    QTest::newRow("crashes") << "crash.sh" << true << 5 << "error" << scriptError;
    QTest::newRow("shell characters in the name") << "odd name; touch injected.sh" << true << 5
                                                  << "success" << QString();
}

void TstProgrammer::script()
{
    QFETCH(QString, script);
    QFETCH(bool, asUrl);
    QFETCH(int, wait);
    QFETCH(QString, result);
    QFETCH(QString, error);
    const QString path = m_dir.filePath(script);
    WorkerProgrammer worker;
    QSignalSpy results(&worker, &WorkerProgrammer::programmerScriptResultSend);
    QSignalSpy errors(&worker, &WorkerProgrammer::showError);
    QElapsedTimer clock;
    clock.start();
    worker.programmerScriptStart(asUrl ? QUrl::fromLocalFile(path).toString() : path, wait);
    QVERIFY(clock.elapsed() < wait * 1000 + 1500);
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

void TstProgrammer::timedOutScriptIsEnded()
{
    WorkerProgrammer worker;
    QSignalSpy results(&worker, &WorkerProgrammer::programmerScriptResultSend);
    worker.programmerScriptStart(QUrl::fromLocalFile(m_dir.filePath("slow.sh")).toString(), 1);
    QCOMPARE(results.at(0).at(0).toString(), QStringLiteral("timeout"));
    QTest::qWait(3000);
    QVERIFY(!QFile::exists(m_dir.filePath("slow-finished")));
}

QTEST_GUILESS_MAIN(TstProgrammer)
#include "tst_programmer.moc"

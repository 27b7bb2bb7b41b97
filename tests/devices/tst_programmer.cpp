// The device programmer: the operator's executable run with real scripts, and
// the verdict read from the programmer's two digital inputs.
#include "devices/ProgrammerInputs.h"
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
    void inputs_data();
    void inputs();

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

void TstProgrammer::inputs_data()
{
    // Polls as "s,e" pairs; the expected events as "E<e>" (error pin changed),
    // "S<s>" (success pin changed) and the result word, per poll.
    QTest::addColumn<QStringList>("polls");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("success rises and falls") << QStringList{"0,0", "1,0", "1,0", "0,0"}
                                             << QStringList{"", "S1 success", "", "S0"};
    QTest::newRow("error rises and falls") << QStringList{"0,1", "0,1", "0,0"}
                                           << QStringList{"E1 error", "", "E0"};
    QTest::newRow("both rise together") << QStringList{"1,1", "0,0"}
                                        << QStringList{"E1 S1 error", "E0 S0"};
    QTest::newRow("error after success") << QStringList{"1,0", "1,1", "0,0"}
                                         << QStringList{"S1 success", "E1 error", "E0 S0"};
    QTest::newRow("success after error") << QStringList{"0,1", "1,1", "1,0"}
                                         << QStringList{"E1 error", "S1 success", "E0"};
}

void TstProgrammer::inputs()
{
    QFETCH(QStringList, polls);
    QFETCH(QStringList, events);
    ProgrammerInputs inputs;
    QStringList got;
    for (const QString &poll : polls) {
        const QStringList pins = poll.split(',');
        const ProgrammerInputs::Events e = inputs.update(pins.at(0).toInt(), pins.at(1).toInt());
        QStringList words;
        if (e.errorPinChanged)
            words << QStringLiteral("E%1").arg(e.errorPin);
        if (e.successPinChanged)
            words << QStringLiteral("S%1").arg(e.successPin);
        if (!e.result.isEmpty())
            words << e.result;
        got << words.join(' ');
    }
    QCOMPARE(got, events);
}

QTEST_GUILESS_MAIN(TstProgrammer)
#include "tst_programmer.moc"

// The real program started as a process: single instance, POSIX signals,
// identity and working directory.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kReady[] = "kestravo: main window loaded";

// A run folder handed to the operator user, with a Desktop folder in its
// home when `withDesktop`.
class RunFolder : public TestSupport::ProgramFolder
{
public:
    explicit RunFolder(bool withDesktop = false)
        : ProgramFolder(QStringLiteral(KESTRAVO_BINARY))
    {
        if (withDesktop)
            QDir(home()).mkpath(QStringLiteral("Desktop"));
        handToOperator();
    }
};

// Reads the process's standard error until a text appears.
bool waitForOutput(QProcess &process, QByteArray &seen, const QByteArray &text, int timeoutMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!seen.contains(text)) {
        if (timer.elapsed() > timeoutMs || process.state() == QProcess::NotRunning)
            break;
        process.waitForReadyRead(200);
        seen += process.readAllStandardError();
    }
    seen += process.readAllStandardError();
    return seen.contains(text);
}

QByteArray procStatusLine(qint64 pid, const QByteArray &key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).simplified();
    return {};
}

void stop(std::unique_ptr<QProcess> &p)
{
    if (p && p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
    }
}

} // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private slots:
    void secondInstanceIsRefusedAndACrashLeavesNoLock()
    {
        RunFolder folder;
        auto first = folder.start();
        QByteArray err1;
        QVERIFY2(waitForOutput(*first, err1, kReady), err1.constData());

        RunFolder other;
        auto second = other.start();
        QVERIFY(second->waitForFinished(20000));
        const QByteArray err2 = second->readAllStandardError();
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 255); // main returned -1
        QVERIFY2(err2.contains("Невозможно запустить второй экземпляр программы!"), err2.constData());
        QVERIFY(!err2.contains(kReady));
        QCOMPARE(first->state(), QProcess::Running);

        // A crash (kill -9) leaves the instance segment behind; the next
        // start releases it and runs.
        first->kill();
        QVERIFY(first->waitForFinished(5000));
        auto third = folder.start();
        QByteArray err3;
        QVERIFY2(waitForOutput(*third, err3, kReady), err3.constData());
        stop(third);
    }

    // One start of the program: its working folder, its identity (observable
    // only when the test runs as root) and the POSIX signals that only log.
    void runsAsTheOperatorOnTheDesktopAndSignalsOnlyLog()
    {
        RunFolder folder(true);
        auto p = folder.start();
        QByteArray err;
        QVERIFY2(waitForOutput(*p, err, kReady), err.constData());
        const qint64 pid = p->processId();
        const QString cwd = QFile::symLinkTarget(QStringLiteral("/proc/%1/cwd").arg(pid));
        QCOMPARE(cwd, QDir(folder.home() + "/Desktop").canonicalPath());
        if (getuid() == 0) {
            QCOMPARE(procStatusLine(pid, "Uid"), QByteArray("1000 1000 1000 1000"));
            QCOMPARE(procStatusLine(pid, "Gid"), QByteArray("1000 1000 1000 1000"));
            const QList<QByteArray> groups = procStatusLine(pid, "Groups").split(' ');
            QVERIFY2(!groups.contains("0"), procStatusLine(pid, "Groups").constData());
        }
        ::kill(pid_t(pid), SIGINT);
        QVERIFY2(waitForOutput(*p, err, "SIGNAL:  2"), err.constData());
        QVERIFY(err.contains("Caught signal: Interrupt"));
        ::kill(pid_t(pid), SIGTERM);
        QVERIFY2(waitForOutput(*p, err, "SIGNAL:  15"), err.constData());
        QVERIFY(err.contains("Caught signal: Terminated"));
        QVERIFY(!p->waitForFinished(700));
        QCOMPARE(p->state(), QProcess::Running);
        stop(p);
    }
};

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    QCoreApplication app(argc, argv);
    TestProcess test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_process.moc"

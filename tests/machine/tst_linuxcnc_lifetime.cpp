// The LinuxCNC that the program starts ends with the program on every exit
// the program sees, and a LinuxCNC left behind by an exit it could not see
// (or started by hand) never becomes the one the program talks to.
// Runs the real program and the real LinuxCNC of the simulated machine.
#include "TestSupport.h"
#include "machine/LinuxCncProcesses.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint16 kShellPort = 5007;

// The program with a settings store that starts the simulated machine's
// LinuxCNC 5 s after start, as ./run.sh prepares it.
class RunFolder : public TestSupport::ProgramFolder
{
public:
    RunFolder()
        : ProgramFolder(QStringLiteral(KESTRAVO_BINARY))
    {
        for (const char *name : {"kestravo_sim.ini", "kestravo_sim.hal", "kestravo_sim.tbl"})
            TestSupport::writeFile(filePath(QStringLiteral("linuxcnc/") + name),
                                   TestSupport::contentOf(QStringLiteral(KESTRAVO_SIM_DIR "/") + name));
        const QByteArray settings = "[device]\nlinuxCncAutoStart=true\niniFile=file://"
                                    + QFile::encodeName(iniFile()) + "\ncameraUseQuirks=false\n"
                                    + "\n[windows]\nsaveWindowsPos=false\n";
        TestSupport::writeFile(filePath(QStringLiteral("settings.ini")), settings);
        handToOperator();
    }

    QString iniFile() const { return filePath(QStringLiteral("linuxcnc/kestravo_sim.ini")); }
};

// Reads the program's standard error until the LinuxCNC it started answers;
// the number of that LinuxCNC's process group, or 0.
pid_t waitForShell(QProcess &process, QByteArray &seen, int timeoutMs = 60000)
{
    static const QRegularExpression connected(QStringLiteral("LinuxCNC shell connected, process group (\\d+)"));
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const QRegularExpressionMatch m = connected.match(QString::fromLocal8Bit(seen));
        if (m.hasMatch())
            return pid_t(m.captured(1).toInt());
        if (timer.elapsed() > timeoutMs || process.state() == QProcess::NotRunning)
            return 0;
        process.waitForReadyRead(200);
        seen += process.readAllStandardError();
    }
}

bool waitGroupGone(pid_t group, int timeoutMs)
{
    return QTest::qWaitFor([group] { return !LinuxCncProcesses::groupAlive(group); }, timeoutMs);
}

// Quits the program as the menu does (SIGHUP); true when it ended normally
// and took its LinuxCNC with it.
bool hangUpAndCheckLinuxCncGone(QProcess &program, pid_t group)
{
    ::kill(pid_t(program.processId()), SIGHUP);
    return program.waitForFinished(30000) && program.exitStatus() == QProcess::NormalExit
        && program.exitCode() == 0 && waitGroupGone(group, 5000);
}

bool shellAnswers()
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), kShellPort);
    return socket.waitForConnected(1000);
}

// A virtual X display of the test's own, which the test can take away.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
        m_xvfb.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-ac", "-nolisten", "tcp", "-screen", "0",
                                              "1280x800x24"});
        if (!m_xvfb.waitForStarted(5000))
            return;
        QElapsedTimer timer;
        timer.start();
        QByteArray out;
        while (!out.contains('\n') && timer.elapsed() < 10000) {
            m_xvfb.waitForReadyRead(200);
            out += m_xvfb.readAllStandardOutput();
        }
        if (out.contains('\n'))
            m_display = QStringLiteral(":") + QString::fromLatin1(out.trimmed());
    }
    ~VirtualDisplay() { close(); }
    QString display() const { return m_display; }
    void close()
    {
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.kill();
            m_xvfb.waitForFinished(5000);
        }
    }

private:
    QProcess m_xvfb;
    QString m_display;
};

// Ends whatever a failed check left running.
struct Cleanup
{
    std::vector<std::unique_ptr<QProcess> *> programs;
    std::vector<pid_t> groups;
    ~Cleanup()
    {
        for (auto *p : programs) {
            if (*p && (*p)->state() != QProcess::NotRunning) {
                (*p)->kill();
                (*p)->waitForFinished(5000);
            }
        }
        for (pid_t g : groups)
            LinuxCncProcesses::stopGroup(g, 10000, 3000);
    }
};

} // namespace

class TestLinuxCncLifetime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QFile::exists(QStringLiteral("/tmp/linuxcnc.lock")) && !shellAnswers(),
                 "another LinuxCNC runs on this machine");
    }

    // The program ends without passing through its own quit: its X server
    // goes away, and the program ends through exit().
    void lostDisplayStopsLinuxCnc()
    {
        RunFolder folder;
        VirtualDisplay x;
        QVERIFY2(!x.display().isEmpty(), "Xvfb did not start");
        auto p = folder.start(x.display());
        Cleanup cleanup{{&p}, {}};
        QByteArray err;
        const pid_t group = waitForShell(*p, err);
        QVERIFY2(group > 0, err.constData());
        cleanup.groups.push_back(group);
        QVERIFY(LinuxCncProcesses::groupAlive(group));

        x.close();
        QVERIFY(p->waitForFinished(30000));
        err += p->readAllStandardError();
        QVERIFY2(err.contains("X11 connection broke"), err.constData());
        QVERIFY2(waitGroupGone(group, 20000), "LinuxCNC outlived the program");
        QVERIFY(!shellAnswers());
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/linuxcnc.lock")));
    }

    // SIGHUP (the terminal went away; ./run.sh sends it on Ctrl+C) quits as
    // the menu does.
    void hangupQuitsAndStopsLinuxCnc()
    {
        RunFolder folder;
        auto p = folder.start();
        Cleanup cleanup{{&p}, {}};
        QByteArray err;
        const pid_t group = waitForShell(*p, err);
        QVERIFY2(group > 0, err.constData());
        cleanup.groups.push_back(group);

        QVERIFY2(hangUpAndCheckLinuxCncGone(*p, group), "the program did not quit, or LinuxCNC outlived it");
        QVERIFY(!shellAnswers());
    }

    // Killed, the program cannot stop its LinuxCNC; the next start stops
    // that one first and talks to its own.
    void killedProgramsLinuxCncIsReplaced()
    {
        RunFolder folder;
        auto first = folder.start();
        Cleanup cleanup{{&first}, {}};
        QByteArray err1;
        const pid_t left = waitForShell(*first, err1);
        QVERIFY2(left > 0, err1.constData());
        cleanup.groups.push_back(left);
        first->kill();
        QVERIFY(first->waitForFinished(5000));
        QTest::qWait(500);
        QVERIFY2(LinuxCncProcesses::groupAlive(left), "the killed program's LinuxCNC should still run");

        auto second = folder.start();
        cleanup.programs.push_back(&second);
        QByteArray err2;
        const pid_t own = waitForShell(*second, err2);
        QVERIFY2(own > 0, err2.constData());
        cleanup.groups.push_back(own);
        QVERIFY(own != left);
        QVERIFY2(err2.contains("Stopping the LinuxCNC left behind by an earlier run"), err2.constData());
        QVERIFY(!LinuxCncProcesses::groupAlive(left));
        // Still connected a while later: the shell it reached was its own.
        QTest::qWait(3000);
        err2 += second->readAllStandardError();
        QVERIFY2(!err2.contains("LinuxCNC shell connection lost"), err2.constData());
        QVERIFY(LinuxCncProcesses::groupListensOn(own, kShellPort));

        QVERIFY(hangUpAndCheckLinuxCncGone(*second, own));
    }

    // A LinuxCNC the program did not start (by hand, or by an older
    // program) holds the shell port: the program waits for its own.
    void foreignLinuxCncIsNotTakenForOwn()
    {
        RunFolder folder;
        QProcess foreign;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.insert("HOME", folder.home());
        foreign.setProcessEnvironment(env);
        foreign.setStandardInputFile(QProcess::nullDevice());
        foreign.setStandardOutputFile(QDir::tempPath() + "/kestravo-test-foreign-linuxcnc.log");
        foreign.setStandardErrorFile(QDir::tempPath() + "/kestravo-test-foreign-linuxcnc.log", QIODevice::Append);
        QStringList args{QStringLiteral("linuxcnc"), folder.iniFile()};
        if (::getuid() == 0)
            args = QStringList{"--reuid=1000", "--regid=1000", "--clear-groups", "setsid"} + args;
        foreign.start(::getuid() == 0 ? QStringLiteral("setpriv") : QStringLiteral("setsid"), args);
        QVERIFY(foreign.waitForStarted(5000));
        const pid_t foreignGroup = pid_t(foreign.processId());
        Cleanup cleanup{{}, {foreignGroup}};
        QVERIFY2(QTest::qWaitFor(shellAnswers, 30000),
                 "the LinuxCNC started by hand did not come up");
        QVERIFY(LinuxCncProcesses::groupListensOn(foreignGroup, kShellPort));

        auto p = folder.start();
        cleanup.programs.push_back(&p);
        QByteArray err;
        const pid_t own = waitForShell(*p, err);
        QVERIFY2(own > 0, err.constData());
        cleanup.groups.push_back(own);
        QVERIFY(own != foreignGroup);
        QVERIFY(LinuxCncProcesses::groupListensOn(own, kShellPort));
        QVERIFY(waitGroupGone(foreignGroup, 20000));
        QTest::qWait(2000);
        err += p->readAllStandardError();
        QVERIFY2(!err.contains("LinuxCNC shell connection lost"), err.constData());
        foreign.waitForFinished(1000);

        QVERIFY(hangUpAndCheckLinuxCncGone(*p, own));
    }
};

QTEST_GUILESS_MAIN(TestLinuxCncLifetime)
#include "tst_linuxcnc_lifetime.moc"

// The card watch: reading ping's output, and the start/stop requests with a
// stand-in ping program whose answers the test chooses.
#include "TestSupport.h"
#include "machine/PingReply.h"
#include "machine/WorkerPing.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestPing : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString fakePing;

    // The next answers of the stand-in: "up" (0.3 ms), "slow" (1.2 ms), "down".
    void answer(const QString &state)
    {
        TestSupport::writeFile(dir.filePath(QStringLiteral("state")), state.toUtf8());
    }

private slots:
    void initTestCase()
    {
        fakePing = dir.filePath(QStringLiteral("ping"));
        const QByteArray script =
            "echo \"$@\" >> \"$(dirname \"$0\")/args\"\n"
            "state=$(cat \"$(dirname \"$0\")/state\")\n"
            "echo \"PING $1 ($1) 56(84) bytes of data.\"\n"
            "case $state in\n"
            " up) echo \"64 bytes from $1: icmp_seq=1 ttl=64 time=0.312 ms\";;\n"
            " slow) echo \"64 bytes from $1: icmp_seq=1 ttl=64 time=1.20 ms\";;\n"
            " forbidden) echo 'ping: sendmsg: Operation not permitted' >&2;;\n"
            "esac";
        QVERIFY(TestSupport::writeScript(fakePing, script));
        answer(QStringLiteral("down"));
    }

    void replies_data()
    {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("exactly 1 ms") << "64 bytes: icmp_seq=1 TTL=64 time=1.0 ms\n" << "" << true;
        QTest::newRow("1.2 ms") << "64 bytes: icmp_seq=1 ttl=64 time=1.2 ms\n" << "" << false;
        QTest::newRow("no reply") << "1 packets transmitted, 0 received\n" << "" << false;
        QTest::newRow("not permitted") << "" << "ping: sendmsg: Operation not permitted\n" << true;
        QTest::newRow("garbled time") << "ttl=64 time=abc ms\n" << "" << false;
    }

    void replies()
    {
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(bool, reachable);
        QCOMPARE(PingReply::reachable(out, err), reachable);
    }

    void pingRunsTheProgramWithArguments()
    {
        WorkerPing w;
        w.setPingProgram(fakePing);
        answer(QStringLiteral("up"));
        QVERIFY(w.PING(QStringLiteral("10.0.0.7 ; touch $HOME/x"), false));
        QCOMPARE(TestSupport::contentOf(dir.filePath(QStringLiteral("args"))),
                 QByteArray("10.0.0.7 ; touch $HOME/x -c 1 -W 1\n"));
        QVERIFY(!w.PING(QString(), false));
        QVERIFY(!w.PING(QStringLiteral("-f"), false));
        answer(QStringLiteral("forbidden"));
        QVERIFY(w.PING(QStringLiteral("10.0.0.7"), false));
    }

    void watchOnlyTheEthernetCardWithAutoStart()
    {
        WorkerPing w;
        QVERIFY(!w.watching());
        w.iniMesaTypeGet(QStringLiteral("7i92"));
        QVERIFY(w.watching());
        QCOMPARE(w.interval(), 6000);
        w.linuxCncAutoStartGet(false);
        QVERIFY(!w.watching());
        w.linuxCncAutoStartGet(true);
        QVERIFY(w.watching());
        w.iniMesaTypeGet(QStringLiteral("5i25"));
        QVERIFY(!w.watching());
    }

    void twoEqualResultsStartOrStop()
    {
        WorkerPing w;
        w.setPingProgram(fakePing);
        w.iniIPGet(QStringLiteral("10.10.10.10"));
        QSignalSpy requests(&w, &WorkerPing::runStopCncFromPingSend);
        answer(QStringLiteral("up"));
        w.ping();
        QCOMPARE(w.interval(), 2000);
        QCOMPARE(requests.size(), 0); // the first reply alone does nothing
        w.ping();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.last().at(0).toBool(), true);
        w.cncRunningGet(true);
        w.ping();
        QCOMPARE(requests.size(), 1); // up and running: nothing to do
        answer(QStringLiteral("slow"));
        w.ping();
        QCOMPARE(requests.size(), 1);
        w.ping();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests.last().at(0).toBool(), false);
    }
};

QTEST_GUILESS_MAIN(TestPing)
#include "tst_ping.moc"

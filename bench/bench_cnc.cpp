// Machine link benchmark on the simulated machine (the real LinuxCNC):
//  1. a block of short moves: its wall time against the sum of the moves' own
//     motion times (trapezoidal profile at the axis's velocity and
//     acceleration limits);
//  2. latency from sendGCode (the slot) to the first motion command;
//  3. CPU used by the idle 100 ms status poll (this process and its halcmd).
//
//   bench_cnc [MOVES=200] [STEP_MM=2] [IDLE_SECONDS=10]
#include "machine/LinuxCncChannel.h"
#include "machine/WorkerCnc.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

// Forwards to LinuxCNC and notes when the first move of a block goes out.
class TimingChannel : public LinuxCncChannel
{
public:
    QElapsedTimer *clock = nullptr;
    qint64 firstMoveNs = -1;
    void jogTo(int axis, double position, double velocity) override
    {
        if (clock && firstMoveNs < 0)
            firstMoveNs = clock->nsecsElapsed();
        LinuxCncChannel::jogTo(axis, position, velocity);
    }
};

double motionTime(double distance, double velocity, double acceleration)
{
    if (distance * acceleration >= velocity * velocity)
        return distance / velocity + velocity / acceleration;
    return 2.0 * std::sqrt(distance / acceleration);
}

// CPU seconds (user + system) of a process from /proc.
double cpuSeconds(long pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = f.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

QList<long> children()
{
    QList<long> out;
    for (const QString &d : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const long pid = d.toLong(&ok);
        if (!ok)
            continue;
        QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = f.readAll();
        if (text.mid(text.lastIndexOf(')') + 2).split(' ').value(1).toLong() == long(getpid()))
            out << pid;
    }
    return out;
}

bool wait(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (done())
            return true;
        QTest::qWait(10);
    }
    return done();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int moves = argc > 1 ? atoi(argv[1]) : 200;
    const double step = argc > 2 ? atof(argv[2]) : 2.0;
    const int idleSeconds = argc > 3 ? atoi(argv[3]) : 10;

    QTemporaryDir dir;
    const QDir sim(QStringLiteral(KESTRAVO_SIM_DIR));
    for (const QString &name : sim.entryList(QDir::Files))
        QFile::copy(sim.filePath(name), dir.filePath(name));
    if (geteuid() == 0) {
        if (chown(QFile::encodeName(dir.path()).constData(), 1000, 1000) != 0)
            perror("chown");
    }

    auto *channel = new TimingChannel;
    WorkerCnc cnc{std::unique_ptr<MachineChannel>(channel)};
    cnc.runCnc(dir.filePath(QStringLiteral("kestravo_sim.ini")));
    if (!wait([&] { return cnc.shellState() == ShellDialogue::Configured; }, 40000)) {
        fprintf(stderr, "LinuxCNC did not start (see %s)\n", qPrintable(WorkerCnc::linuxCncLogPath()));
        return 1;
    }
    cnc.machineOnGet(true);
    cnc.machineHome(true);
    if (!wait([&] { return cnc.machineHomed() && !cnc.homing(); }, 20000)) {
        fprintf(stderr, "homing failed\n");
        return 1;
    }
    QTest::qWait(1000);

    QSignalSpy done(&cnc, &WorkerCnc::gCodeDoneSend);
    auto runBlock = [&](const QString &text, qint64 *wallNs, qint64 *latencyNs) {
        done.clear();
        QElapsedTimer clock;
        channel->clock = &clock;
        channel->firstMoveNs = -1;
        clock.start();
        cnc.getGCode(text, false);
        if (done.isEmpty())
            done.wait(600000);
        if (wallNs)
            *wallNs = clock.nsecsElapsed();
        if (latencyNs)
            *latencyNs = channel->firstMoveNs;
        channel->clock = nullptr;
        return !done.isEmpty() && done.first().at(0).toBool();
    };

    // 1. Short moves of X back and forth.
    const CncConfig &config = cnc.config();
    runBlock(QStringLiteral("g0 x100 y100 z25"), nullptr, nullptr);
    QString block;
    double motion = 0;
    for (int i = 0; i < moves; ++i) {
        block += QStringLiteral("g0 x%1\n").arg(i % 2 == 0 ? 100 + step : 100.0);
        motion += motionTime(step, config.maxVelocity[0], config.maxAcceleration[0]);
    }
    qint64 wall = 0;
    const bool ok = runBlock(block, &wall, nullptr);
    printf("block of %d moves of %.2f mm: %s, wall %.3f s, motion %.3f s, ratio %.3f (target < 1.10)\n", moves, step,
           ok ? "done" : "FAILED", wall / 1e9, motion, wall / 1e9 / motion);

    // For comparison: the same moves sent directly, waiting on the status in a
    // tight loop (what LinuxCNC itself needs per move).
    {
        MachineStatus st;
        QElapsedTimer t;
        double direct = 0;
        for (int i = 0; i < 20; ++i) {
            const double target = i % 2 == 0 ? 100 + step : 100.0;
            t.start();
            channel->jogTo(0, target, config.maxVelocity[0]);
            const qint64 sent = t.nsecsElapsed();
            bool seenMoving = false;
            for (;;) {
                channel->readStatus(st);
                if (!st.inPosition[0] || std::fabs(st.position[0] - target) > 1e-6)
                    seenMoving = true;
                if (seenMoving && st.inPosition[0] && std::fabs(st.position[0] - target) < 1e-6)
                    break;
                usleep(200);
            }
            direct += t.nsecsElapsed() / 1e9;
            if (i == 0)
                printf("  first direct move: command %.3f ms, total %.3f ms\n", sent / 1e6, t.nsecsElapsed() / 1e6);
        }
        printf("direct moves: %.3f ms each against %.3f ms of motion\n", direct / 20 * 1000,
               motionTime(step, config.maxVelocity[0], config.maxAcceleration[0]) * 1000);
    }

    // 2. Latency to the first motion command, 20 single-line blocks.
    QList<double> latencies;
    for (int i = 0; i < 20; ++i) {
        qint64 latency = 0;
        runBlock(QStringLiteral("g0 y%1").arg(i % 2 == 0 ? 110 : 100), nullptr, &latency);
        latencies << latency / 1e6;
    }
    std::sort(latencies.begin(), latencies.end());
    printf("sendGCode to first motion command: median %.3f ms, max %.3f ms (target < 10 ms)\n",
           latencies[latencies.size() / 2], latencies.last());

    // 3. Idle poll CPU.
    QTest::qWait(500);
    const QList<long> kids = children();
    auto total = [&] {
        double t = cpuSeconds(getpid());
        for (long k : kids)
            t += cpuSeconds(k);
        return t;
    };
    const double before = total();
    QElapsedTimer idle;
    idle.start();
    QTest::qWait(idleSeconds * 1000);
    const double used = total() - before;
    printf("idle status poll: %.2f %% of one core over %d s (this process and %d helper process(es); target < 1 %%)\n",
           100.0 * used / (idle.elapsed() / 1000.0), idleSeconds, int(kids.size()));

    cnc.stopCnc();
    return ok ? 0 : 1;
}

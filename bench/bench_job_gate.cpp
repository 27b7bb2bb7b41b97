// Job engine benchmark in the whole program (main window, back end, device
// threads; no LinuxCNC): the machine link is detached and a probe answers
// every block itself, as the machine link would, one event-loop turn later.
//  1. the G-code gate's overhead per block, from handing a block to the gate
//     (`gCodeSend`) to the main window's `sendGCode` emission: for an idle
//     channel, and for a queue of blocks handed over at once, each answered
//     as soon as it is emitted (then: the cost of queueing a block, and the
//     time from a block's completion to the emission of the next one);
//  2. positionWait's reaction time, from a position reaching the main window
//     (`jointPosGet([...])`) to its continuation being called; beside it the
//     cost of a position update while the wait is not yet satisfied and with
//     no wait pending.
//
//   bench_job_gate [BLOCKS=2000] [QUEUE=1000] [MOVES=2000]
#include "app/ApplicationShell.h"
#include "machine/WorkerCnc.h"
#include "tests/support/MachineLinkProbe.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJSEngine>
#include <QJSValue>
#include <QQmlEngine>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// Script side of the benchmark, run in the program's own engine so that the
// calls into the main window are the ones a step script makes.
const char *driverScript = R"JS(
(function(root, probe) {
    var d = { dones: 0 }
    function onDone(ok) { if (ok) d.dones++ }
    function cont() { probe.mark() }
    d.clockCost = function(n) {
        var t0 = probe.nsecs()
        for (var i = 0; i < n; ++i)
            probe.nsecs()
        return (probe.nsecs() - t0) / n
    }
    d.sendOne = function(text) {
        var t0 = probe.nsecs()
        root.gCodeSend(text, false, onDone)
        return t0
    }
    d.sendMany = function(n) {
        var t0 = probe.nsecs()
        for (var i = 0; i < n; ++i)
            root.gCodeSend("G0 X" + (i % 100) + ".000", false, onDone)
        return [t0, probe.nsecs()]
    }
    d.position = function(x) {
        var t0 = probe.nsecs()
        root.jointPosGet([x, 0, 0, 0])
        return [t0, probe.nsecs()]
    }
    d.arm = function(x) { root.positionWait(x, 0, false, false, cont) }
    return d
})
)JS";

struct Stats
{
    double median = 0, p99 = 0, max = 0, mean = 0;
};

Stats stats(std::vector<double> v)
{
    Stats s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.p99 = v[std::min(v.size() - 1, size_t(double(v.size()) * 0.99))];
    s.max = v.back();
    double sum = 0;
    for (double x : v)
        sum += x;
    s.mean = sum / double(v.size());
    return s;
}

void print(const char *what, const Stats &s)
{
    printf("%-52s median %7.1f  mean %7.1f  p99 %7.1f  max %8.1f us\n", what, s.median, s.mean, s.p99, s.max);
}

bool spin(QApplication &app, const std::function<bool()> &done, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        app.processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

bool check(const QJSValue &v, const char *what)
{
    if (v.isError()) {
        fprintf(stderr, "%s: %s\n", what, qPrintable(v.toString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    const int blocks = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const int queueLength = argc > 2 ? std::max(2, atoi(argv[2])) : 1000;
    const int moves = argc > 3 ? std::max(1, atoi(argv[3])) : 2000;

    QTemporaryDir dir;
    const QString settingsFile = dir.filePath("settings.ini");
    {
        QFile f(settingsFile);
        if (!f.open(QIODevice::WriteOnly) || f.write("[device]\nlinuxCncAutoStart=false\n") < 0) {
            fprintf(stderr, "the settings file could not be written\n");
            return 1;
        }
    }
    ApplicationShell shell;
    ApplicationShell::Options options;
    options.settingsFile = settingsFile;
    if (!shell.start(options)) {
        fprintf(stderr, "the main window could not be loaded\n");
        return 1;
    }
    QObject *root = shell.root();
    MachineLinkProbe probe(root, shell.deviceWorkers().cnc);
    if (!probe.detached()) {
        fprintf(stderr, "the machine link could not be detached\n");
        return 1;
    }
    QQmlEngine::setObjectOwnership(&probe, QQmlEngine::CppOwnership);
    QQmlEngine::setObjectOwnership(root, QQmlEngine::CppOwnership);
    QJSEngine &engine = shell.engine();
    QJSValue factory = engine.evaluate(QString::fromUtf8(driverScript), QStringLiteral("bench_job_gate.js"));
    QJSValue d = factory.call({engine.newQObject(root), engine.newQObject(&probe)});
    if (!check(d, "driver"))
        return 1;
    const auto gateIdle = [&]() { return root->property("gCodeDone").toBool(); };
    spin(app, [] { return false; }, 300); // let the start-up settle

    const double clockNs = d.property("clockCost").call({10000}).toNumber();
    printf("clock read from the script: %.2f us (included once in every figure below)\n\n", clockNs / 1000.0);

    // ---- 1a. idle channel
    {
        QJSValue sendOne = d.property("sendOne");
        std::vector<double> latency;
        for (int i = 0; i < blocks; ++i) {
            const int before = probe.sentAt.size();
            const QJSValue t0 = sendOne.call({QStringLiteral("G0 X%1.000").arg(i % 100)});
            if (!check(t0, "gCodeSend") || probe.sentAt.size() != before + 1) {
                fprintf(stderr, "block %d was not emitted at once on an idle channel\n", i);
                return 1;
            }
            latency.push_back((double(probe.sentAt.last()) - t0.toNumber()) / 1000.0);
            if (!spin(app, gateIdle)) {
                fprintf(stderr, "the gate did not become idle after block %d\n", i);
                return 1;
            }
        }
        if (d.property("dones").toInt() != blocks) {
            fprintf(stderr, "%d completions for %d blocks\n", d.property("dones").toInt(), blocks);
            return 1;
        }
        printf("G-code gate, idle channel, %d blocks\n", blocks);
        print("  gCodeSend -> sendGCode emitted", stats(latency));
    }

    // ---- 1b. a queue handed over at once, each block answered at once
    {
        d.setProperty("dones", 0);
        const int first = probe.sentAt.size();
        const int firstAnswer = probe.answeredAt.size();
        const QJSValue times = d.property("sendMany").call({queueLength});
        if (!check(times, "sendMany"))
            return 1;
        const double t0 = times.property(0).toNumber();
        const double t1 = times.property(1).toNumber();
        if (!spin(app, [&] { return d.property("dones").toInt() == queueLength && gateIdle(); })) {
            fprintf(stderr, "the queue did not drain: %d of %d done\n", d.property("dones").toInt(), queueLength);
            return 1;
        }
        if (probe.sentAt.size() - first != queueLength) {
            fprintf(stderr, "%d blocks emitted for %d handed over\n", probe.sentAt.size() - first, queueLength);
            return 1;
        }
        std::vector<double> next;
        for (int k = 0; k + 1 < queueLength; ++k)
            next.push_back(double(probe.sentAt[first + k + 1] - probe.answeredAt[firstAnswer + k]) / 1000.0);
        printf("\nG-code gate, %d blocks handed over at once, each answered when emitted\n", queueLength);
        printf("  handing all over: %.2f ms, %.1f us per block (the first is emitted at once)\n",
               (t1 - t0) / 1e6, (t1 - t0) / 1000.0 / queueLength);
        print("  completion -> next block emitted", stats(next));
        printf("  first handed over -> last emitted: %.1f ms, %.1f us per block (with one event-loop turn each)\n",
               (double(probe.sentAt.last()) - t0) / 1e6, (double(probe.sentAt.last()) - t0) / 1000.0 / queueLength);
    }

    // ---- 2. positionWait's reaction to a position
    {
        QMetaObject::invokeMethod(root, "setActivity", Q_ARG(QVariant, QStringLiteral("bench")), Q_ARG(QVariant, true));
        QJSValue arm = d.property("arm");
        QJSValue position = d.property("position");
        std::vector<double> idle, waiting, reaction;
        for (int i = 0; i < moves; ++i) {
            const double x = 10 + (i % 100);
            QJSValue t = position.call({x - 1});
            idle.push_back((t.property(1).toNumber() - t.property(0).toNumber()) / 1000.0);
            const int sent = probe.sentAt.size();
            if (!check(arm.call({x}), "positionWait") || probe.sentAt.size() != sent + 1) {
                fprintf(stderr, "positionWait %d sent no move\n", i);
                return 1;
            }
            if (!spin(app, gateIdle))
                return 1;
            t = position.call({x - 0.5});
            waiting.push_back((t.property(1).toNumber() - t.property(0).toNumber()) / 1000.0);
            const int marks = probe.marks.size();
            t = position.call({x});
            if (probe.marks.size() != marks + 1) {
                fprintf(stderr, "positionWait %d did not continue when the machine arrived\n", i);
                return 1;
            }
            reaction.push_back((double(probe.marks.last()) - t.property(0).toNumber()) / 1000.0);
        }
        QMetaObject::invokeMethod(root, "setActivity", Q_ARG(QVariant, QStringLiteral("bench")), Q_ARG(QVariant, false));
        printf("\npositionWait, %d moves\n", moves);
        print("  jointPosGet -> continuation called", stats(reaction));
        print("  jointPosGet, wait pending, not there yet", stats(waiting));
        print("  jointPosGet, nothing waiting", stats(idle));
    }

    fflush(stdout);
    shell.stopDeviceThreads();
    std::_Exit(0);
}

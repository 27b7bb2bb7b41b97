// Start-up benchmark: time from starting the program's process to the end of
// the QML-side loading (the program prints "kestravo: main window loaded"
// once its main window is built, wired and has loaded its settings), and the
// peak resident memory of the process at that point and after one second of
// running.
//
//   bench_startup PATH_TO_KESTRAVO [RUNS=10] [PLATFORM=offscreen]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

long statusKb(qint64 pid, const char *key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).simplified().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s PATH_TO_KESTRAVO [RUNS] [PLATFORM]\n", argv[0]);
        return 2;
    }
    const QString binary = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? atoi(argv[2]) : 10;
    const QString platform = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("offscreen");

    std::vector<double> times;
    std::vector<long> peaksAtReady;
    std::vector<long> peaksAfter;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("home");
        QDir(dir.path()).mkpath("runtime");
        const QString program = dir.filePath("kestravo");
        QFile::copy(binary, program);
        chmod(QFile::encodeName(dir.path()).constData(), 0755);
        chmod(QFile::encodeName(dir.filePath("runtime")).constData(), 0700);
        if (getuid() == 0) {
            for (const QString &p : {dir.path(), program, dir.filePath("home"), dir.filePath("runtime")})
                chown(QFile::encodeName(p).constData(), 1000, 1000);
        }

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", platform);
        env.insert("QT_QUICK_BACKEND", "software");
        env.insert("HOME", dir.filePath("home"));
        env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
        process.setProcessEnvironment(env);

        QElapsedTimer timer;
        timer.start();
        process.start(program, QStringList());
        QByteArray err;
        while (!err.contains("kestravo: main window loaded") && process.state() != QProcess::NotRunning
               && timer.elapsed() < 60000) {
            process.waitForReadyRead(5);
            err += process.readAllStandardError();
        }
        const double ms = timer.nsecsElapsed() / 1e6;
        if (!err.contains("kestravo: main window loaded")) {
            fprintf(stderr, "run %d: the program did not load:\n%s\n", i + 1, err.constData());
            return 1;
        }
        const long peak = statusKb(process.processId(), "VmHWM:");
        QThread::msleep(1000);
        const long peakLater = statusKb(process.processId(), "VmHWM:");
        process.kill();
        process.waitForFinished(5000);
        times.push_back(ms);
        peaksAtReady.push_back(peak);
        peaksAfter.push_back(peakLater);
        printf("run %2d: %7.1f ms to loaded, peak RSS %6.1f MiB (%6.1f MiB after 1 s)\n", i + 1, ms, peak / 1024.0,
               peakLater / 1024.0);
    }
    std::sort(times.begin(), times.end());
    const long maxPeak = *std::max_element(peaksAfter.begin(), peaksAfter.end());
    printf("start to loaded: median %.1f ms, min %.1f ms, max %.1f ms over %d runs (platform %s)\n",
           times[times.size() / 2], times.front(), times.back(), runs, qPrintable(platform));
    printf("peak resident memory: %.1f MiB\n", maxPeak / 1024.0);
    return 0;
}

#include "machine/LinuxCncProcesses.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTextStream>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace LinuxCncProcesses {

namespace {

std::atomic<pid_t> g_group{0};
std::mutex g_pathMutex;
QString g_recordPathOverride;

// State and process group of one process from /proc/PID/stat, read with
// system calls only. False when the process is gone.
bool readStat(pid_t pid, char &state, pid_t &group)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n <= 0)
        return false;
    buf[n] = '\0';
    // The command name in parentheses may hold blanks and parentheses.
    const char *close = std::strrchr(buf, ')');
    if (!close)
        return false;
    int ppid = 0, pgrp = 0;
    if (std::sscanf(close + 1, " %c %d %d", &state, &ppid, &pgrp) != 3)
        return false;
    group = pid_t(pgrp);
    return true;
}

template<typename F>
void forEachProcess(F &&f)
{
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return;
    while (dirent *e = ::readdir(proc)) {
        char *end = nullptr;
        const long pid = std::strtol(e->d_name, &end, 10);
        if (pid <= 0 || !end || *end != '\0')
            continue;
        if (!f(pid_t(pid)))
            break;
    }
    ::closedir(proc);
}

void sleepMs(int ms)
{
    timespec ts{ms / 1000, long(ms % 1000) * 1000000L};
    while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

bool waitGone(pid_t group, int waitMs)
{
    for (int waited = 0;; waited += 50) {
        if (!groupAlive(group))
            return true;
        if (waited >= waitMs)
            return false;
        sleepMs(50);
    }
}

void exitGuard()
{
    const pid_t group = g_group.exchange(0);
    if (group <= 0)
        return;
    // The start script cleans up LinuxCNC once its display program ends.
    stopGroup(group, 10000, 3000);
    QFile::remove(recordFilePath());
}

} // namespace

bool groupAlive(pid_t group)
{
    if (group <= 0)
        return false;
    bool alive = false;
    forEachProcess([&](pid_t pid) {
        char state = 0;
        pid_t pgrp = 0;
        if (readStat(pid, state, pgrp) && pgrp == group && state != 'Z' && state != 'X')
            alive = true;
        return !alive;
    });
    return alive;
}

bool stopGroup(pid_t group, int termWaitMs, int killWaitMs)
{
    if (group <= 1)
        return false;
    if (::kill(-group, SIGTERM) != 0 && errno == ESRCH)
        return true;
    if (waitGone(group, termWaitMs))
        return true;
    ::kill(-group, SIGKILL);
    return waitGone(group, killWaitMs);
}

QString recordFilePath()
{
    std::lock_guard<std::mutex> lock(g_pathMutex);
    if (!g_recordPathOverride.isEmpty())
        return g_recordPathOverride;
    return QDir::tempPath() + QStringLiteral("/kestravo-linuxcnc-%1.pgid").arg(::geteuid());
}

void setRecordFilePathForTest(const QString &path)
{
    std::lock_guard<std::mutex> lock(g_pathMutex);
    g_recordPathOverride = path;
}

void recordGroup(pid_t group)
{
    g_group = group;
    const QString path = recordFilePath();
    QFile::remove(path);
    QFile file(path);
    const QByteArray text = QByteArray::number(int(group)) + '\n';
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush())
        qWarning() << "Cannot record the LinuxCNC process group in" << path << file.errorString();
}

void clearGroup()
{
    g_group = 0;
    QFile::remove(recordFilePath());
}

pid_t recordedGroup()
{
    return g_group;
}

pid_t staleGroup()
{
    QFile file(recordFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const int group = file.read(32).trimmed().toInt(&ok);
    file.close();
    if (!ok || group <= 1 || group == int(::getpgrp()))
        return 0;
    // The recorded number is a LinuxCNC only while its leader still is the
    // start script that made the group: a reused number is left alone.
    char state = 0;
    pid_t pgrp = 0;
    if (!readStat(pid_t(group), state, pgrp) || pgrp != pid_t(group) || state == 'Z')
        return 0;
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(group));
    if (!cmdline.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> args = cmdline.readAll().split('\0');
    for (int i = 0; i < qMin(2, args.size()); ++i) {
        if (args.at(i) == "linuxcnc" || args.at(i).endsWith("/linuxcnc"))
            return pid_t(group);
    }
    return 0;
}

void installExitGuard()
{
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(exitGuard); });
}

bool groupListensOn(pid_t group, quint16 port)
{
    // Listening sockets on the port, by inode.
    QSet<QByteArray> inodes;
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile f(QString::fromLatin1(table));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        f.readLine(); // header
        while (!f.atEnd()) {
            const QList<QByteArray> cols = f.readLine().simplified().split(' ');
            if (cols.size() < 10 || cols.at(3) != "0A")
                continue;
            const QByteArray local = cols.at(1);
            const int colon = local.lastIndexOf(':');
            bool ok = false;
            if (colon < 0 || local.mid(colon + 1).toUInt(&ok, 16) != port || !ok)
                continue;
            inodes.insert(cols.at(9));
        }
    }
    if (inodes.isEmpty())
        return false;
    bool found = false;
    forEachProcess([&](pid_t pid) {
        char state = 0;
        pid_t pgrp = 0;
        if (!readStat(pid, state, pgrp) || pgrp != group)
            return true;
        const QString fdDir = QStringLiteral("/proc/%1/fd").arg(pid);
        const QStringList fds = QDir(fdDir).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : fds) {
            char target[64];
            const ssize_t n = ::readlink(QFile::encodeName(fdDir + '/' + fd).constData(), target, sizeof target - 1);
            if (n <= 0)
                continue;
            const QByteArray link(target, int(n));
            if (link.startsWith("socket:[") && link.endsWith(']') && inodes.contains(link.mid(8, link.size() - 9))) {
                found = true;
                return false;
            }
        }
        return true;
    });
    return found;
}

} // namespace LinuxCncProcesses

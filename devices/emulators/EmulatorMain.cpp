#include "devices/emulators/EmulatorMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}
}

namespace EmulatorMain {

bool publish(const QString &ptyPath, const QString &linkPath)
{
    if (linkPath.isEmpty()) {
        std::printf("%s\n", qPrintable(ptyPath));
        std::fflush(stdout);
        return true;
    }
    const QFileInfo existing(linkPath);
    if (existing.isSymLink())
        QFile::remove(linkPath);
    else if (existing.exists()) {
        std::fprintf(stderr, "%s exists and is not a link; not replaced\n", qPrintable(linkPath));
        return false;
    }
    if (!QFile::link(ptyPath, linkPath)) {
        std::fprintf(stderr, "cannot create the link %s\n", qPrintable(linkPath));
        return false;
    }
    std::printf("%s\n", qPrintable(ptyPath));
    std::fflush(stdout);
    return true;
}

void removeLink(const QString &linkPath, const QString &ptyPath)
{
    const QFileInfo link(linkPath);
    if (!linkPath.isEmpty() && link.isSymLink() && link.symLinkTarget() == ptyPath)
        QFile::remove(linkPath);
}

void quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace EmulatorMain

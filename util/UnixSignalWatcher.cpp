#include "util/UnixSignalWatcher.h"

#include <QDebug>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// One socket pair for the whole process: [0] written by the handler, [1] read.
int g_sockets[2] = {-1, -1};

void signalHandler(int signal)
{
    const int saved = errno;
    const qint32 number = signal;
    ssize_t written = ::write(g_sockets[0], &number, sizeof(number));
    (void)written;
    errno = saved;
}
} // namespace

UnixSignalWatcher::UnixSignalWatcher(QObject *parent)
    : QObject(parent)
{
    if (g_sockets[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_sockets) != 0) {
        qWarning() << "UnixSignalWatcher: socketpair: " << strerror(errno);
        g_sockets[0] = g_sockets[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignalWatcher::readSignal);
}

UnixSignalWatcher::~UnixSignalWatcher()
{
    // Handlers write to the process-wide socket pair, which stays open; they
    // are returned to the defaults so that nobody is left without a reader.
    for (int signal : qAsConst(m_watched)) {
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void UnixSignalWatcher::watchForSignal(int signal)
{
    if (m_watched.contains(signal)) {
        qDebug() << "Already watching for signal" << signal;
        return;
    }
    if (g_sockets[0] < 0)
        return;
    struct sigaction action {};
    action.sa_handler = signalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(signal, &action, nullptr) != 0) {
        qWarning() << "UnixSignalWatcher: sigaction: " << strerror(errno);
        return;
    }
    m_watched.insert(signal);
}

void UnixSignalWatcher::readSignal()
{
    qint32 number = 0;
    const ssize_t got = ::read(g_sockets[1], &number, sizeof(number));
    if (got != sizeof(number))
        return;
    qDebug() << "Caught signal:" << strsignal(number);
    emit unixSignal(number);
}

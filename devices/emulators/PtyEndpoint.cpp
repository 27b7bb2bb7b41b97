#include "devices/emulators/PtyEndpoint.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyEndpoint::PtyEndpoint(QObject *parent)
    : QObject(parent)
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    termios raw {};
    if (tcgetattr(m_slave, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyEndpoint::readMaster);
}

PtyEndpoint::~PtyEndpoint()
{
    unplug();
}

void PtyEndpoint::readMaster()
{
    QByteArray bytes;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

void PtyEndpoint::writeNow(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
    }
}

void PtyEndpoint::send(const QByteArray &bytes, int parts, int gapMs)
{
    if (parts <= 1 || bytes.size() < 2) {
        writeNow(bytes);
        return;
    }
    const int step = (bytes.size() + parts - 1) / parts;
    for (int i = 0; i * step < bytes.size(); ++i) {
        const QByteArray piece = bytes.mid(i * step, step);
        if (i == 0)
            writeNow(piece);
        else
            sendLater(piece, i * gapMs);
    }
}

void PtyEndpoint::sendLater(const QByteArray &bytes, int delayMs)
{
    QTimer::singleShot(delayMs, this, [this, bytes] { writeNow(bytes); });
}

void PtyEndpoint::unplug()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

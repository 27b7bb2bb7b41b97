#include "machine/WorkerPing.h"

#include "machine/PingReply.h"

#include <QDebug>
#include <QProcess>

WorkerPing::WorkerPing(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(6000);
    connect(&m_timer, &QTimer::timeout, this, &WorkerPing::ping);
}

void WorkerPing::updateTimer()
{
    const bool watch = m_autoStart && m_cardType == QLatin1String("7i92");
    if (watch && !m_timer.isActive())
        m_timer.start();
    else if (!watch)
        m_timer.stop();
}

void WorkerPing::linuxCncAutoStartGet(bool enabled)
{
    m_autoStart = enabled;
    updateTimer();
}

void WorkerPing::iniMesaTypeGet(QVariant type)
{
    m_cardType = type.toString();
    updateTimer();
}

void WorkerPing::iniIPGet(QString address)
{
    m_address = address;
}

void WorkerPing::cncRunningGet(QVariant running)
{
    m_cncRunning = running.toBool();
}

void WorkerPing::ping()
{
    m_timer.setInterval(2000);
    const bool r = PING(m_address, true);
    if (r == m_previous) {
        if (r && !m_cncRunning)
            emit runStopCncFromPingSend(true);
        else if (!r && m_cncRunning)
            emit runStopCncFromPingSend(false);
    }
    m_previous = r;
}

bool WorkerPing::PING(QString host_address, bool show_results)
{
    // An address is one argument and never an option.
    if (host_address.isEmpty() || host_address.startsWith(QLatin1Char('-')))
        return false;
    QProcess p;
    p.start(m_program, {host_address, QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-W"), QStringLiteral("1")});
    if (!p.waitForFinished(1500)) {
        p.kill();
        p.waitForFinished(500);
    }
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    const bool reachable = PingReply::reachable(out, err);
    if (show_results)
        qDebug() << "ping" << host_address << (reachable ? "reachable" : "unreachable");
    return reachable;
}

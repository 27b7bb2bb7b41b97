#include "backend/Stopwatch.h"

#include <QElapsedTimer>
#include <QString>
#include <QTime>

#include <memory>

Stopwatch::Stopwatch(Clock now)
    : m_now(std::move(now))
{
    if (!m_now) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        m_now = [timer]() { return timer->elapsed(); };
    }
}

void Stopwatch::start()
{
    m_running = true;
    m_paused = false;
    m_startedAt = m_now();
    m_accumulated = 0;
}

void Stopwatch::stop()
{
    if (m_running && !m_paused)
        m_accumulated += m_now() - m_startedAt;
    m_running = false;
    m_paused = false;
}

void Stopwatch::pause()
{
    if (!m_running || m_paused)
        return;
    m_accumulated += m_now() - m_startedAt;
    m_paused = true;
}

void Stopwatch::resume()
{
    if (!m_running || !m_paused)
        return;
    m_paused = false;
    m_startedAt = m_now();
}

Stopwatch::Reading Stopwatch::tick()
{
    const qint64 total = m_accumulated + (ticking() ? m_now() - m_startedAt : 0);
    const QTime time = QTime(0, 0).addMSecs(int(total % (24LL * 3600 * 1000)));
    Reading r;
    r.text = time.toString(QStringLiteral("h:mm:ss"));
    r.seconds = time.hour() * 3600 + time.minute() * 60 + time.second();
    if (m_last >= 0 && r.seconds > m_last && r.seconds - m_last < 3)
        r.added = r.seconds - m_last;
    m_last = r.seconds;
    return r;
}

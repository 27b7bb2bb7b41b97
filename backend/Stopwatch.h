#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// The mounting-time stopwatch of a job: started, paused, resumed and stopped
// by the job; ticked twice a second, each tick tells how many whole seconds
// to add to the project's mounting time. Jumps of 3 s or more and readings
// that went back (a new start) add nothing.
class Stopwatch
{
public:
    // now(): a monotonic clock in milliseconds.
    using Clock = std::function<qint64()>;
    explicit Stopwatch(Clock now = Clock());

    void start();
    void stop();
    // A pause or resume given twice counts once.
    void pause();
    void resume();

    bool running() const { return m_running; }
    bool paused() const { return m_paused; }
    // True while the ticks should come (running and not paused).
    bool ticking() const { return m_running && !m_paused; }

    struct Reading
    {
        QString text;       // "h:mm:ss" (as a time of day)
        int seconds = 0;    // whole seconds of that text
        int added = 0;      // seconds to add to the mounting time
    };
    Reading tick();

private:
    Clock m_now;
    bool m_running = false;
    bool m_paused = false;
    qint64 m_startedAt = 0;     // clock at the last start or resume
    qint64 m_accumulated = 0;   // milliseconds before the last pause
    int m_last = -1;            // last whole-second reading, -1 before the first tick
};

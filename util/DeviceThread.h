#pragma once

#include <QMutex>
#include <QThread>

#include <functional>

// A thread that hosts exactly one worker object. The worker is created inside
// run(), so that it lives in this thread; the start-up mutex, locked by the
// constructor and unlocked by run() once the worker exists, lets the start-up
// code wait for it. The worker is deleted in this thread when its event loop
// ends.
template <class W>
class DeviceThread : public QThread
{
public:
    using Factory = std::function<W *()>;

    // `make` builds the worker inside the thread (plain `new W` when empty).
    explicit DeviceThread(QObject *parent = nullptr, Factory make = Factory())
        : QThread(parent), m_make(std::move(make))
    {
        m_startup.lock();
    }

    ~DeviceThread() override
    {
        quit();
        wait();
    }

    // Blocks until run() has created the worker (call after start()) and
    // returns it.
    W *waitForWorker()
    {
        m_startup.lock();
        m_startup.unlock();
        return m_worker;
    }

    W *worker() const { return m_worker; }

protected:
    void run() override
    {
        m_worker = m_make ? m_make() : new W();
        m_startup.unlock();
        exec();
        delete m_worker;
        m_worker = nullptr;
    }

private:
    Factory m_make;
    W *m_worker = nullptr;
    QMutex m_startup;
};

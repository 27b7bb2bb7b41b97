#pragma once

#include <QMutex>
#include <QThread>

class WorkerCnc;
class WorkerRLC;
class WorkerVS;
class WorkerPing;
class WorkerProgrammer;

// A thread that hosts exactly one device worker. The worker is created inside
// run(), so that it lives in this thread; the start-up mutex, locked by the
// constructor and unlocked by run() once the worker exists, lets the start-up
// code wait for it.
template <class W>
class DeviceThread : public QThread
{
public:
    DeviceThread()
    {
        m_startup.lock();
    }

    ~DeviceThread() override
    {
        quit();
        wait();
    }

    // Blocks until run() has created the worker (call after start()).
    void waitForWorker()
    {
        m_startup.lock();
        m_startup.unlock();
    }

    W *worker() const { return m_worker; }

protected:
    void run() override
    {
        m_worker = new W();
        m_startup.unlock();
        exec();
        delete m_worker;
        m_worker = nullptr;
    }

private:
    W *m_worker = nullptr;
    QMutex m_startup;
};

class ThreadCnc : public DeviceThread<WorkerCnc> {};
class ThreadRLC : public DeviceThread<WorkerRLC> {};
class ThreadVS : public DeviceThread<WorkerVS> {};
class ThreadPing : public DeviceThread<WorkerPing> {};
class ThreadProgrammer : public DeviceThread<WorkerProgrammer> {};

// The device workers as Worker::setConnections() wires them.
struct DeviceWorkers
{
    WorkerCnc *cnc = nullptr;
    WorkerRLC *rlc = nullptr;
    WorkerVS *vs = nullptr;
    WorkerPing *ping = nullptr;
    WorkerProgrammer *programmer = nullptr;
};

// The five device threads, started in the fixed order machine link, RLC
// meter, vacuum sensor, card pinger, programmer.
class DeviceThreads
{
public:
    DeviceThreads();
    ~DeviceThreads();

    void start();
    // Asks every thread to leave its event loop (does not wait).
    void quit();
    // Asks and waits; used where the process goes on afterwards (tests).
    void quitAndWait();

    DeviceWorkers workers() const;

private:
    ThreadCnc m_cnc;
    ThreadRLC m_rlc;
    ThreadVS m_vs;
    ThreadPing m_ping;
    ThreadProgrammer m_programmer;
};

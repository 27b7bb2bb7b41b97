#pragma once

#include "backend/DeviceWorkers.h"
#include "util/DeviceThread.h"

class ThreadCnc : public DeviceThread<WorkerCnc> {};
class ThreadRLC : public DeviceThread<WorkerRLC> {};
class ThreadVS : public DeviceThread<WorkerVS> {};
class ThreadPing : public DeviceThread<WorkerPing> {};
class ThreadProgrammer : public DeviceThread<WorkerProgrammer> {};

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

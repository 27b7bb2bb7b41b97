#include "app/DeviceThreads.h"

#include "devices/WorkerProgrammer.h"
#include "devices/WorkerRLC.h"
#include "devices/WorkerVS.h"
#include "machine/WorkerCnc.h"
#include "machine/WorkerPing.h"

DeviceThreads::DeviceThreads() = default;

DeviceThreads::~DeviceThreads()
{
    quitAndWait();
}

void DeviceThreads::start()
{
    m_cnc.start();
    m_cnc.setPriority(QThread::TimeCriticalPriority);
    m_cnc.waitForWorker();
    m_rlc.start();
    m_rlc.waitForWorker();
    m_vs.start();
    m_vs.waitForWorker();
    m_ping.start();
    m_ping.waitForWorker();
    m_programmer.start();
    m_programmer.waitForWorker();
}

void DeviceThreads::quit()
{
    m_cnc.quit();
    m_rlc.quit();
    m_vs.quit();
    m_ping.quit();
    m_programmer.quit();
}

void DeviceThreads::quitAndWait()
{
    quit();
    m_cnc.wait();
    m_rlc.wait();
    m_vs.wait();
    m_ping.wait();
    m_programmer.wait();
}

DeviceWorkers DeviceThreads::workers() const
{
    return {m_cnc.worker(), m_rlc.worker(), m_vs.worker(), m_ping.worker(), m_programmer.worker()};
}

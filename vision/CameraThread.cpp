#include "vision/CameraThread.h"

#include "vision/CameraWorker.h"

CameraThread::CameraThread(QObject *parent)
    : QThread(parent)
{
    m_startMutex.lock();
}

CameraThread::~CameraThread()
{
    quit();
    wait();
}

CameraWorker *CameraThread::waitForWorker()
{
    m_startMutex.lock();
    m_startMutex.unlock();
    return m_worker;
}

void CameraThread::run()
{
    m_worker = new CameraWorker;
    m_startMutex.unlock();
    exec();
    delete m_worker;
    m_worker = nullptr;
}

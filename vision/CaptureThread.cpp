#include "vision/CaptureThread.h"

#include "vision/CameraCapture.h"

CaptureThread::CaptureThread(QObject *parent)
    : QThread(parent)
{
    m_startMutex.lock();
}

CaptureThread::~CaptureThread()
{
    quit();
    wait();
}

CameraCapture *CaptureThread::waitForCapture()
{
    m_startMutex.lock();
    m_startMutex.unlock();
    return m_capture;
}

void CaptureThread::run()
{
    m_capture = new CameraCapture;
    m_startMutex.unlock();
    exec();
    delete m_capture;
    m_capture = nullptr;
}

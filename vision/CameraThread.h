#pragma once

#include <QMutex>
#include <QThread>

class CameraWorker;

// Hosts one CameraWorker, created inside run() so that it lives here.
class CameraThread : public QThread
{
    Q_OBJECT
public:
    explicit CameraThread(QObject *parent = nullptr);
    ~CameraThread() override;

    // Blocks until run() has created the worker.
    CameraWorker *waitForWorker();
    CameraWorker *worker() const { return m_worker; }

protected:
    void run() override;

private:
    QMutex m_startMutex;
    CameraWorker *m_worker = nullptr;
};

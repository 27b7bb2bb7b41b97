#pragma once

#include <QMutex>
#include <QThread>

class CameraCapture;

// Hosts one CameraCapture, created inside run() so that it lives here.
class CaptureThread : public QThread
{
    Q_OBJECT
public:
    explicit CaptureThread(QObject *parent = nullptr);
    ~CaptureThread() override;

    // Blocks until run() has created the capture object.
    CameraCapture *waitForCapture();
    CameraCapture *capture() const { return m_capture; }

protected:
    void run() override;

private:
    QMutex m_startMutex;
    CameraCapture *m_capture = nullptr;
};

#pragma once

#include "vision/FrameConverter.h"
#include "vision/VideoDevice.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <opencv2/core.hpp>

#include <linux/videodev2.h>

#include <functional>
#include <memory>
#include <vector>

// Captures frames from one camera: opens the device by its path, negotiates
// format and size, streams through memory-mapped driver buffers, converts the
// wanted frames to packed BGR and publishes the newest one to the processing
// object. Watches for stalls and reopens the device. Lives in its
// CaptureThread; all slots and timers run there.
class CameraCapture : public QObject
{
    Q_OBJECT
public:
    // The largest frame the conversion buffers hold.
    static constexpr int kMaxWidth = 1280;
    static constexpr int kMaxHeight = 1024;
    static constexpr std::size_t kBufferBytes = std::size_t(kMaxWidth) * kMaxHeight * 3;
    static constexpr int kRequestedBuffers = 6;

    using DeviceFactory = std::function<std::unique_ptr<VideoDevice>(const QString &name)>;

    explicit CameraCapture(QObject *parent = nullptr);
    ~CameraCapture() override;

    // Where devices come from (the real or simulated camera by name unless
    // replaced).
    void setDeviceFactory(DeviceFactory factory) { m_factory = std::move(factory); }
    // Frame size asked for at the next open (640x480 unless set).
    void setRequestedSize(int width, int height);
    // Time without a frame after which the device is reopened (5000 ms).
    void setStallTimeout(int ms) { m_stallTimeoutMs = ms; }
    void setRestartInterval(int ms) { m_restartTimer.setInterval(ms); }

    // For the processing object: copies the published frame into `out`, asks
    // for the next one and tells whether it is in colour. False when nothing
    // has been published yet.
    bool takeFrame(cv::Mat &out, bool *color);

    bool isOpened() const { return m_opened; }
    bool isCapturing() const { return m_capture; }
    QString openedName() const { return m_openedName; }
    int frameWidth() const { return m_width; }
    int frameHeight() const { return m_height; }
    int restartTries() const { return m_captureRestartTry; }
    bool frameTimerActive() const { return m_frameTimer.isActive(); }
    bool restartTimerActive() const { return m_restartTimer.isActive(); }
    // The v4l2-ctl argument lists of the exposure commands for a device.
    static QList<QStringList> exposureCommands(int exposure, const QString &device, bool all);
    // The commands run since the object was made (for diagnostics and tests).
    const QList<QStringList> &commandsRun() const { return m_commandsRun; }
    void setRunCommands(bool run) { m_runCommands = run; }

signals:
    void openedChanged(bool opened);
    void sendSize(int width, int height);
    void frameCaptured();
    void showError(QString errorStr);

public slots:
    void setCapture(bool capture);
    void setCapture(bool capture, bool user, bool restart);
    void sendCtls();
    void setName(QString name);
    void setMode(QString mode);
    void setMjpg(bool mjpg);
    void setExposure(int exposure);
    void captureFrame();
    void captureRestart();

private:
    enum class ReadResult { Ok, Dropped, Failed };

    int xioctl(unsigned long request, void *arg);
    bool openDevice();
    void closeDevice();
    void releaseDevice();
    ReadResult readFrame();
    bool convert(const std::uint8_t *data, std::size_t bytes);
    void runExposure(const QList<QStringList> &commands);

    bool m_capture = false;
    QString m_name;
    QString m_openedName;
    bool m_opened = false;
    QTimer m_frameTimer;
    QTimer m_restartTimer;
    QString m_mode;
    cv::Mat m_frame;
    QMutex m_mutex;
    bool m_frameColor = true;
    bool m_frameWanted = true;
    bool m_framePublished = false;
    int m_width = 0;
    int m_height = 0;
    int m_requestedWidth = 640;
    int m_requestedHeight = 480;
    bool m_mjpg = false;
    int m_exposure = 50;
    int m_captureRestartTry = 0;
    struct v4l2_format m_fmt;
    int m_fd = -1;
    struct MappedBuffer {
        void *start = nullptr;
        std::size_t length = 0;
    };
    std::vector<MappedBuffer> m_buffers;
    bool m_streaming = false;
    bool m_color = true;
    // Two conversion buffers: the published frame points into the front one
    // while the next frame is converted into the back one; they are swapped
    // under the mutex.
    std::vector<std::uint8_t> m_front;
    std::vector<std::uint8_t> m_back;
    FrameConverter m_converter;

    DeviceFactory m_factory;
    std::unique_ptr<VideoDevice> m_device;
    int m_stallTimeoutMs = 5000;
    bool m_runCommands = true;
    QList<QStringList> m_commandsRun;
};

#include "vision/CameraCapture.h"

#include <QDebug>
#include <QProcess>

#include <cerrno>
#include <cstdio>
#include <cstring>

CameraCapture::CameraCapture(QObject *parent)
    : QObject(parent),
      m_front(kBufferBytes, 0),
      m_back(kBufferBytes, 0),
      m_factory(&VideoDevice::forName)
{
    std::memset(&m_fmt, 0, sizeof m_fmt);
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setInterval(1);
    m_restartTimer.setSingleShot(true);
    m_restartTimer.setInterval(3000);
    connect(&m_frameTimer, &QTimer::timeout, this, &CameraCapture::captureFrame);
    connect(&m_restartTimer, &QTimer::timeout, this, &CameraCapture::captureRestart);
}

CameraCapture::~CameraCapture()
{
    m_frameTimer.stop();
    m_restartTimer.stop();
    if (m_fd != -1)
        closeDevice();
}

void CameraCapture::setRequestedSize(int width, int height)
{
    m_requestedWidth = width;
    m_requestedHeight = height;
}

bool CameraCapture::takeFrame(cv::Mat &out, bool *color)
{
    QMutexLocker lock(&m_mutex);
    m_frameWanted = true;
    if (color)
        *color = m_frameColor;
    if (!m_framePublished || m_frame.empty())
        return false;
    m_frame.copyTo(out);
    return true;
}

// --- device access

int CameraCapture::xioctl(unsigned long request, void *arg)
{
    int r = m_device->ioctl(m_fd, request, arg);
    int tries = 4;
    while (r == -1 && (errno == EINTR || errno == EAGAIN || errno == ETIMEDOUT) && tries > 0) {
        --tries;
        r = m_device->ioctl(m_fd, request, arg);
    }
    if (r == -1 && (errno == EINTR || errno == EAGAIN || errno == ETIMEDOUT))
        fprintf(stderr, "V4L2_CORE: ioctl (%i) retried %i times - giving up: %s)\n",
                static_cast<int>(request), 4, strerror(errno));
    return r;
}

bool CameraCapture::openDevice()
{
    releaseDevice();
    m_device = m_factory ? m_factory(m_name) : nullptr;
    if (!m_device)
        return false;
    const QByteArray path = m_name.toLocal8Bit();
    const char *dev = path.constData();

    if (m_device->checkDevice(m_name) == -1) {
        if (errno == ENOTTY)
            fprintf(stderr, "%s is no device\n", dev);
        else
            fprintf(stderr, "Cannot identify '%s': %d, %s\n", dev, errno, strerror(errno));
        releaseDevice();
        return false;
    }
    m_fd = m_device->open(m_name);
    if (m_fd == -1) {
        fprintf(stderr, "Cannot open '%s': %d, %s\n", dev, errno, strerror(errno));
        releaseDevice();
        return false;
    }

    struct v4l2_capability cap;
    std::memset(&cap, 0, sizeof cap);
    if (xioctl(VIDIOC_QUERYCAP, &cap) == -1) {
        if (errno == EINVAL)
            fprintf(stderr, "%s is no V4L2 device\n", dev);
        else
            qWarning() << "VIDIOC_QUERYCAP error";
        releaseDevice();
        return false;
    }
    if (!(cap.capabilities & V4L2_CAP_VIDEO_CAPTURE)) {
        fprintf(stderr, "%s is no video capture device\n", dev);
        releaseDevice();
        return false;
    }
    if (!(cap.capabilities & V4L2_CAP_STREAMING)) {
        fprintf(stderr, "%s does not support streaming i/o\n", dev);
        releaseDevice();
        return false;
    }

    struct v4l2_format fmt;
    std::memset(&fmt, 0, sizeof fmt);
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    fmt.fmt.pix.width = static_cast<__u32>(m_requestedWidth);
    fmt.fmt.pix.height = static_cast<__u32>(m_requestedHeight);
    fmt.fmt.pix.pixelformat = m_mjpg ? V4L2_PIX_FMT_MJPEG : V4L2_PIX_FMT_YUYV;
    fmt.fmt.pix.field = V4L2_FIELD_ANY;
    if (xioctl(VIDIOC_S_FMT, &fmt) == -1) {
        std::memset(&fmt, 0, sizeof fmt);
        fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        fmt.fmt.pix.width = 640;
        fmt.fmt.pix.height = 480;
        fmt.fmt.pix.pixelformat = V4L2_PIX_FMT_YUYV;
        fmt.fmt.pix.field = V4L2_FIELD_ANY;
        if (xioctl(VIDIOC_S_FMT, &fmt) == -1) {
            qWarning() << "VIDIOC_S_FMT error  ";
            releaseDevice();
            return false;
        }
        qDebug() << "lowRes!";
    }

    struct v4l2_streamparm parm;
    std::memset(&parm, 0, sizeof parm);
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    parm.parm.capture.timeperframe.numerator = 1;
    parm.parm.capture.timeperframe.denominator = 30;
    m_device->ioctl(m_fd, VIDIOC_S_PARM, &parm);
    m_device->ioctl(m_fd, VIDIOC_G_PARM, &parm);

    std::memset(&m_fmt, 0, sizeof m_fmt);
    m_fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(VIDIOC_G_FMT, &m_fmt) == -1) {
        qWarning() << "VIDIOC_G_FMT error";
        releaseDevice();
        return false;
    }
    const __u32 width = m_fmt.fmt.pix.width;
    const __u32 height = m_fmt.fmt.pix.height;
    // The conversion buffers hold at most kMaxWidth x kMaxHeight; a larger
    // (or empty) frame cannot be shown and the device is refused.
    if (width < 2 || height < 2 || width > __u32(kMaxWidth) || height > __u32(kMaxHeight)) {
        fprintf(stderr, "%s: frame size %ux%u not supported (at most %dx%d)\n", dev, width, height,
                kMaxWidth, kMaxHeight);
        releaseDevice();
        return false;
    }
    // Drivers that report too little.
    __u32 min = width * 2;
    if (m_fmt.fmt.pix.bytesperline < min)
        m_fmt.fmt.pix.bytesperline = min;
    min = m_fmt.fmt.pix.bytesperline * height;
    if (m_fmt.fmt.pix.sizeimage < min)
        m_fmt.fmt.pix.sizeimage = min;

    m_width = int(width);
    m_height = int(height);
    qDebug() << " _width  " << m_width << "  _height " << m_height;
    emit sendSize(m_width, m_height);

    struct v4l2_requestbuffers req;
    std::memset(&req, 0, sizeof req);
    req.count = kRequestedBuffers;
    req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    req.memory = V4L2_MEMORY_MMAP;
    if (xioctl(VIDIOC_REQBUFS, &req) == -1) {
        if (errno == EINVAL)
            qWarning() << m_name << " does not support memory mapping";
        else
            qWarning() << "VIDIOC_REQBUFS error";
        releaseDevice();
        return false;
    }
    if (req.count < 2) {
        fprintf(stderr, "Insufficient buffer memory on %s\n", dev);
        releaseDevice();
        return false;
    }
    if (req.count > 32) {
        fprintf(stderr, "Too many buffers granted on %s\n", dev);
        releaseDevice();
        return false;
    }

    for (__u32 i = 0; i < req.count; ++i) {
        struct v4l2_buffer buf;
        std::memset(&buf, 0, sizeof buf);
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (xioctl(VIDIOC_QUERYBUF, &buf) == -1) {
            qWarning() << "VIDIOC_QUERYBUF error";
            releaseDevice();
            return false;
        }
        void *start = m_device->mmap(buf.length, m_fd, buf.m.offset);
        if (!start) {
            qWarning() << "mmap error";
            releaseDevice();
            return false;
        }
        m_buffers.push_back({start, buf.length});
    }

    for (std::size_t i = 0; i < m_buffers.size(); ++i) {
        struct v4l2_buffer buf;
        std::memset(&buf, 0, sizeof buf);
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = __u32(i);
        if (xioctl(VIDIOC_QBUF, &buf) == -1) {
            qWarning() << "VIDIOC_QBUF error";
            releaseDevice();
            return false;
        }
    }
    enum v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(VIDIOC_STREAMON, &type) == -1) {
        qWarning() << "VIDIOC_STREAMON error";
        releaseDevice();
        return false;
    }
    m_streaming = true;
    m_opened = true;
    m_openedName = m_name;
    sendCtls();
    return true;
}

// Gives back whatever a (partly) open device holds: stream, mappings, driver
// buffers and descriptor.
void CameraCapture::releaseDevice()
{
    if (m_device && m_fd != -1) {
        if (m_streaming) {
            enum v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            if (xioctl(VIDIOC_STREAMOFF, &type) == -1)
                qWarning() << "VIDIOC_STREAMOFF error";
        }
        for (const MappedBuffer &b : m_buffers) {
            if (m_device->munmap(b.start, b.length) == -1) {
                qWarning() << "munmap error";
                break;
            }
        }
        if (m_device->close(m_fd) == -1)
            qWarning() << "camera close error";
    }
    m_streaming = false;
    m_buffers.clear();
    m_fd = -1;
    m_opened = false;
}

void CameraCapture::closeDevice()
{
    releaseDevice();
    m_device.reset();
}

// --- state machine

void CameraCapture::setCapture(bool capture)
{
    setCapture(capture, true, false);
}

void CameraCapture::setCapture(bool capture, bool user, bool restart)
{
    const bool wasOpened = m_opened;
    m_capture = capture;
    bool open = false;
    if (restart) {
        m_capture = true;
        if (m_opened)
            closeDevice();
        open = true;
    } else if (!m_opened) {
        open = m_capture && !wasOpened;
    } else if (m_openedName != m_name) {
        closeDevice();
        open = m_capture;
    } else {
        open = m_capture && !m_opened;
    }

    bool skipFinish = false;
    if (open && !openDevice()) {
        m_opened = false;
        if (wasOpened) {
            emit openedChanged(false);
            skipFinish = true;
        } else {
            if (m_capture || restart) {
                m_restartTimer.start();
                if (user)
                    m_captureRestartTry = 0;
            }
            m_frameTimer.stop();
            return;
        }
    }
    if (!skipFinish && m_opened != wasOpened)
        emit openedChanged(m_opened);

    if (m_capture || restart) {
        if (m_opened) {
            m_captureRestartTry = 0;
            m_frameTimer.start();
            return;
        }
        m_restartTimer.start();
        if (user)
            m_captureRestartTry = 0;
    }
    if (m_opened) {
        m_captureRestartTry = 0;
        m_frameTimer.start();
    } else {
        m_frameTimer.stop();
    }
}

void CameraCapture::captureRestart()
{
    qDebug() << "captureRestart    _capture  " << m_capture << "  _opened  " << m_opened
             << "  _captureRestartTry  " << m_captureRestartTry;
    if (!m_capture || m_opened)
        return;
    const int tries = m_captureRestartTry++;
    if (tries >= 5) {
        emit showError(tr("Не удалось захватить изображение с камеры!"));
        return;
    }
    setCapture(false, false, true);
}

void CameraCapture::setName(QString name)
{
    m_name = name;
    if (m_opened) {
        m_frameTimer.stop();
        setCapture(false, false, true);
    }
}

void CameraCapture::setMode(QString mode)
{
    m_mode = mode;
    m_color = true;
}

void CameraCapture::setMjpg(bool mjpg)
{
    m_mjpg = mjpg;
}

// --- exposure

QList<QStringList> CameraCapture::exposureCommands(int exposure, const QString &device, bool all)
{
    const QString e = QString::number(exposure);
    const QString d = QStringLiteral("--device=") + device;
    QList<QStringList> commands;
    if (all)
        commands << QStringList{QStringLiteral("--set-ctrl=exposure_auto=1,exposure_absolute=") + e +
                                    QStringLiteral(",exposure_auto_priority=0,white_balance_temperature_auto=0"),
                                d};
    commands << QStringList{QStringLiteral("--set-ctrl=exposure_auto=1,exposure_absolute=") + e, d};
    commands << QStringList{QStringLiteral("--set-ctrl=auto_exposure=1,exposure_time_absolute=") + e, d};
    return commands;
}

void CameraCapture::runExposure(const QList<QStringList> &commands)
{
    for (const QStringList &args : commands) {
        m_commandsRun.append(args);
        if (!m_runCommands)
            continue;
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral("v4l2-ctl"), args);
        if (process.waitForStarted(2000) && !process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(1000);
        }
    }
}

void CameraCapture::sendCtls()
{
    if (!VideoDevice::isDevicePath(m_name))
        return;
    runExposure(exposureCommands(m_exposure, m_name, true));
}

void CameraCapture::setExposure(int exposure)
{
    m_exposure = exposure;
    if (!m_opened || !VideoDevice::isDevicePath(m_openedName))
        return;
    runExposure(exposureCommands(m_exposure, m_openedName, false));
}

// --- frame loop

bool CameraCapture::convert(const std::uint8_t *data, std::size_t bytes)
{
    const std::size_t frameBytes = std::size_t(m_width) * m_height * 3;
    switch (m_fmt.fmt.pix.pixelformat) {
    case V4L2_PIX_FMT_YUYV: {
        const std::size_t wanted = std::size_t(m_width) * m_height * 2;
        FrameConverter::yuyvToBgr(data, std::min(bytes, wanted), m_back.data(), std::min(frameBytes, m_back.size()));
        return true;
    }
    case V4L2_PIX_FMT_MJPEG:
        if (!m_converter.mjpegToBgr(data, bytes, m_width, m_height, m_back.data(), m_back.size())) {
            qWarning() << "MJPEG frame could not be decoded; dropped";
            return false;
        }
        return true;
    default:
        qWarning() << "v4l2 pixel format error";
        return true;
    }
}

CameraCapture::ReadResult CameraCapture::readFrame()
{
    struct v4l2_buffer buf;
    std::memset(&buf, 0, sizeof buf);
    buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buf.memory = V4L2_MEMORY_MMAP;
    if (xioctl(VIDIOC_DQBUF, &buf) == -1) {
        if (errno != EAGAIN && errno != EIO)
            qWarning() << "VIDIOC_DQBUF error";
        return ReadResult::Failed;
    }
    if (buf.index >= m_buffers.size()) {
        qWarning() << "VIDIOC_DQBUF returned a buffer index out of range:" << buf.index << "; frame dropped";
        return ReadResult::Dropped;
    }
    bool converted = true;
    if (m_capture) {
        const MappedBuffer &mapped = m_buffers[buf.index];
        converted = convert(static_cast<const std::uint8_t *>(mapped.start),
                            std::min<std::size_t>(buf.bytesused, mapped.length));
    }
    if (xioctl(VIDIOC_QBUF, &buf) == -1) {
        qWarning() << "VIDIOC_QBUF error";
        return ReadResult::Failed;
    }
    return converted ? ReadResult::Ok : ReadResult::Dropped;
}

void CameraCapture::captureFrame()
{
    if (!m_opened)
        return;
    const int ready = m_device->waitReadable(m_fd, m_stallTimeoutMs);
    if (ready == 0 || (ready < 0 && errno != EINTR)) {
        if (ready == 0)
            fprintf(stderr, "select timeout\n");
        else
            fprintf(stderr, "select error %d, %s\n", errno, strerror(errno));
        setCapture(false, false, true);
        return;
    }
    if (ready < 0) {
        m_frameTimer.start();
        return;
    }
    const ReadResult result = readFrame();
    if (result == ReadResult::Failed) {
        if (m_capture)
            setCapture(false, false, true);
        return;
    }
    if (!m_capture)
        return;
    if (result == ReadResult::Dropped) {
        m_frameTimer.start();
        return;
    }
    bool wanted;
    {
        QMutexLocker lock(&m_mutex);
        std::swap(m_front, m_back);
        m_frame = cv::Mat(m_height, m_width, CV_8UC3, m_front.data());
        m_framePublished = true;
        wanted = m_frameWanted;
        m_frameWanted = false;
        m_frameColor = m_color;
    }
    if (wanted)
        emit frameCaptured();
    m_frameTimer.start();
}

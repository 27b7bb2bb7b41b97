#include "vision/SimulatedDevice.h"

extern "C" {
#include <mjpegtools/jpegutils.h>
}

#include <QThread>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>

SimulatedDevice::SimulatedDevice()
{
    m_clock.start();
}

int SimulatedDevice::checkDevice(const QString &path)
{
    m_scene = SimulatedScene(path);
    if (!m_scene.isValid()) {
        errno = ENOENT;
        return -1;
    }
    return 0;
}

int SimulatedDevice::open(const QString &path)
{
    if (!m_scene.isValid())
        m_scene = SimulatedScene(path);
    if (!m_scene.isValid() || m_open) {
        errno = m_open ? EBUSY : ENOENT;
        return -1;
    }
    m_open = true;
    m_scene.fixedSize(&m_width, &m_height);
    return kFd;
}

int SimulatedDevice::close(int fd)
{
    if (fd != kFd || !m_open) {
        errno = EBADF;
        return -1;
    }
    m_open = false;
    m_streaming = false;
    m_buffers.clear();
    return 0;
}

int SimulatedDevice::ioctl(int fd, unsigned long request, void *arg)
{
    if (fd != kFd || !m_open) {
        errno = EBADF;
        return -1;
    }
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto *cap = static_cast<struct v4l2_capability *>(arg);
        std::memset(cap, 0, sizeof *cap);
        std::strncpy(reinterpret_cast<char *>(cap->driver), "kestravo-sim", sizeof cap->driver - 1);
        std::strncpy(reinterpret_cast<char *>(cap->card), "Simulated camera", sizeof cap->card - 1);
        cap->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_DEVICE_CAPS;
        cap->device_caps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        return 0;
    }
    case VIDIOC_S_FMT: {
        auto *fmt = static_cast<struct v4l2_format *>(arg);
        if (m_streaming) {
            errno = EBUSY;
            return -1;
        }
        if (fmt->type != V4L2_BUF_TYPE_VIDEO_CAPTURE ||
            (fmt->fmt.pix.pixelformat != V4L2_PIX_FMT_YUYV && fmt->fmt.pix.pixelformat != V4L2_PIX_FMT_MJPEG)) {
            errno = EINVAL;
            return -1;
        }
        // Like a driver: the nearest size it can give, in steps of 16 pixels,
        // or the one size a camera with a single mode has.
        if (!m_scene.fixedSize(&m_width, &m_height)) {
            m_width = std::clamp(int(fmt->fmt.pix.width) / 16 * 16, 160, 1280);
            m_height = std::clamp(int(fmt->fmt.pix.height) / 16 * 16, 120, 960);
        }
        m_pixelFormat = fmt->fmt.pix.pixelformat;
        [[fallthrough]];
    }
    case VIDIOC_G_FMT: {
        auto *fmt = static_cast<struct v4l2_format *>(arg);
        fmt->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        fmt->fmt.pix.width = __u32(m_width);
        fmt->fmt.pix.height = __u32(m_height);
        fmt->fmt.pix.pixelformat = m_pixelFormat;
        fmt->fmt.pix.field = V4L2_FIELD_NONE;
        fmt->fmt.pix.bytesperline = m_pixelFormat == V4L2_PIX_FMT_YUYV ? __u32(m_width * 2) : 0;
        fmt->fmt.pix.sizeimage = __u32(m_width * m_height * (m_pixelFormat == V4L2_PIX_FMT_YUYV ? 2 : 3));
        return 0;
    }
    case VIDIOC_S_PARM:
    case VIDIOC_G_PARM: {
        auto *parm = static_cast<struct v4l2_streamparm *>(arg);
        parm->parm.capture.timeperframe.numerator = 1;
        parm->parm.capture.timeperframe.denominator = kFramesPerSecond;
        return 0;
    }
    case VIDIOC_REQBUFS: {
        auto *req = static_cast<struct v4l2_requestbuffers *>(arg);
        if (req->memory != V4L2_MEMORY_MMAP || m_streaming) {
            errno = EINVAL;
            return -1;
        }
        req->count = std::min<__u32>(req->count, 4);
        m_buffers.assign(req->count, Buffer());
        const std::size_t bytes = std::size_t(m_width) * m_height * (m_pixelFormat == V4L2_PIX_FMT_YUYV ? 2 : 3);
        for (Buffer &b : m_buffers)
            b.data.assign(bytes, 0);
        return 0;
    }
    case VIDIOC_QUERYBUF:
    case VIDIOC_QBUF: {
        auto *buf = static_cast<struct v4l2_buffer *>(arg);
        if (buf->index >= m_buffers.size()) {
            errno = EINVAL;
            return -1;
        }
        Buffer &b = m_buffers[buf->index];
        buf->length = __u32(b.data.size());
        buf->m.offset = __u32(buf->index * kOffsetStep);
        if (request == VIDIOC_QBUF)
            b.queued = true;
        return 0;
    }
    case VIDIOC_DQBUF:
        return fillBuffer(static_cast<struct v4l2_buffer *>(arg));
    case VIDIOC_STREAMON:
        m_streaming = true;
        m_nextFrameMs = m_clock.elapsed();
        return 0;
    case VIDIOC_STREAMOFF:
        m_streaming = false;
        for (Buffer &b : m_buffers)
            b.queued = false;
        return 0;
    default:
        errno = ENOTTY;
        return -1;
    }
}

void *SimulatedDevice::mmap(std::size_t length, int fd, std::int64_t offset)
{
    const std::size_t index = std::size_t(offset / kOffsetStep);
    if (fd != kFd || index >= m_buffers.size() || length > m_buffers[index].data.size()) {
        errno = EINVAL;
        return nullptr;
    }
    m_buffers[index].mapped = true;
    return m_buffers[index].data.data();
}

int SimulatedDevice::munmap(void *start, std::size_t length)
{
    Q_UNUSED(length)
    for (Buffer &b : m_buffers) {
        if (b.data.data() == start && b.mapped) {
            b.mapped = false;
            return 0;
        }
    }
    errno = EINVAL;
    return -1;
}

bool SimulatedDevice::frameDue() const
{
    return m_clock.elapsed() >= m_nextFrameMs;
}

int SimulatedDevice::waitReadable(int fd, int timeoutMs)
{
    if (fd != kFd || !m_open || !m_streaming) {
        errno = EBADF;
        return -1;
    }
    const bool anyQueued = std::any_of(m_buffers.begin(), m_buffers.end(), [](const Buffer &b) { return b.queued; });
    const qint64 wait = m_nextFrameMs - m_clock.elapsed();
    if (!anyQueued || wait > timeoutMs) {
        QThread::msleep(static_cast<unsigned long>(timeoutMs));
        return 0;
    }
    if (wait > 0)
        QThread::msleep(static_cast<unsigned long>(wait));
    return 1;
}

int SimulatedDevice::fillBuffer(struct v4l2_buffer *buf)
{
    if (!m_streaming || !frameDue()) {
        errno = EAGAIN;
        return -1;
    }
    auto it = std::find_if(m_buffers.begin(), m_buffers.end(), [](const Buffer &b) { return b.queued; });
    if (it == m_buffers.end()) {
        errno = EAGAIN;
        return -1;
    }
    m_scene.render(m_picture, m_width, m_height, SimulatedStage::position(), m_sequence);
    std::size_t used;
    if (m_pixelFormat == V4L2_PIX_FMT_YUYV) {
        bgrToYuyv(m_picture, it->data.data());
        used = std::size_t(m_width) * m_height * 2;
    } else {
        used = bgrToJpeg(m_picture, it->data.data(), it->data.size());
    }
    it->queued = false;
    buf->index = __u32(it - m_buffers.begin());
    buf->bytesused = __u32(used);
    buf->length = __u32(it->data.size());
    buf->sequence = __u32(m_sequence++);
    // A steady rate: the next frame is due one period later (no catching up
    // after a pause).
    const qint64 period = 1000 / kFramesPerSecond;
    m_nextFrameMs = std::max(m_nextFrameMs + period, m_clock.elapsed());
    return 0;
}

void SimulatedDevice::bgrToYuyv(const cv::Mat &bgr, std::uint8_t *dst)
{
    for (int row = 0; row < bgr.rows; ++row) {
        const std::uint8_t *s = bgr.ptr<std::uint8_t>(row);
        for (int col = 0; col + 1 < bgr.cols; col += 2) {
            int yv[2], us = 0, vs = 0;
            for (int k = 0; k < 2; ++k) {
                const int b = s[3 * (col + k)], g = s[3 * (col + k) + 1], r = s[3 * (col + k) + 2];
                yv[k] = ((66 * r + 129 * g + 25 * b + 128) >> 8) + 16;
                us += ((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128;
                vs += ((112 * r - 94 * g - 18 * b + 128) >> 8) + 128;
            }
            dst[0] = std::uint8_t(std::clamp(yv[0], 0, 255));
            dst[1] = std::uint8_t(std::clamp(us / 2, 0, 255));
            dst[2] = std::uint8_t(std::clamp(yv[1], 0, 255));
            dst[3] = std::uint8_t(std::clamp(vs / 2, 0, 255));
            dst += 4;
        }
    }
}

std::size_t SimulatedDevice::bgrToJpeg(const cv::Mat &bgr, std::uint8_t *dst, std::size_t capacity)
{
    cv::Mat ycrcb;
    cv::cvtColor(bgr, ycrcb, cv::COLOR_BGR2YCrCb);
    std::vector<cv::Mat> planes;
    cv::split(ycrcb, planes);
    cv::Mat cr, cb;
    cv::resize(planes[1], cr, cv::Size(bgr.cols / 2, bgr.rows / 2), 0, 0, cv::INTER_AREA);
    cv::resize(planes[2], cb, cv::Size(bgr.cols / 2, bgr.rows / 2), 0, 0, cv::INTER_AREA);
    cv::Mat y = planes[0].clone();
    const int n = encode_jpeg_raw(dst, int(capacity), 85, 0, 420, bgr.cols, bgr.rows, y.data, cb.data, cr.data);
    return n > 0 ? std::size_t(n) : 0;
}

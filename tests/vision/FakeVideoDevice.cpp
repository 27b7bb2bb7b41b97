#include "FakeVideoDevice.h"

#include <cerrno>
#include <cstring>

static constexpr int kFakeFd = 77;

int FakeVideoDevice::checkDevice(const QString &)
{
    if (m_state->unplugged) {
        errno = ENOENT;
        return -1;
    }
    return 0;
}

int FakeVideoDevice::open(const QString &)
{
    ++m_state->opens;
    ++m_state->openFds;
    return kFakeFd;
}

int FakeVideoDevice::close(int fd)
{
    if (fd != kFakeFd) {
        errno = EBADF;
        return -1;
    }
    ++m_state->closes;
    --m_state->openFds;
    return 0;
}

int FakeVideoDevice::ioctl(int fd, unsigned long request, void *arg)
{
    if (fd != kFakeFd) {
        errno = EBADF;
        return -1;
    }
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto *cap = static_cast<v4l2_capability *>(arg);
        cap->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        return 0;
    }
    case VIDIOC_S_FMT: {
        auto *fmt = static_cast<v4l2_format *>(arg);
        m_state->requestedFormats.push_back(fmt->fmt.pix.pixelformat);
        m_state->requestedSizes.emplace_back(int(fmt->fmt.pix.width), int(fmt->fmt.pix.height));
        ++m_sFmtCalls;
        if (m_state->fault == FakeFault::FormatRefusedOnce && m_sFmtCalls == 1) {
            errno = EINVAL;
            return -1;
        }
        m_format = fmt->fmt.pix.pixelformat;
        m_width = int(fmt->fmt.pix.width);
        m_height = int(fmt->fmt.pix.height);
        if (m_state->fault == FakeFault::Oversize) {
            m_width = 1920;
            m_height = 1080;
        }
        return 0;
    }
    case VIDIOC_G_FMT: {
        auto *fmt = static_cast<v4l2_format *>(arg);
        fmt->fmt.pix.width = __u32(m_width);
        fmt->fmt.pix.height = __u32(m_height);
        fmt->fmt.pix.pixelformat = m_format;
        fmt->fmt.pix.bytesperline = 0; // a driver that reports too little
        fmt->fmt.pix.sizeimage = 0;
        return 0;
    }
    case VIDIOC_S_PARM:
    case VIDIOC_G_PARM:
        return 0;
    case VIDIOC_REQBUFS: {
        auto *req = static_cast<v4l2_requestbuffers *>(arg);
        req->count = 4;
        const std::size_t bytes = std::size_t(m_width) * m_height * 2;
        m_buffers.assign(req->count, std::vector<std::uint8_t>(bytes, 0));
        m_queued.assign(req->count, false);
        return 0;
    }
    case VIDIOC_QUERYBUF: {
        auto *buf = static_cast<v4l2_buffer *>(arg);
        buf->length = __u32(m_buffers.at(buf->index).size());
        buf->m.offset = buf->index * 4096;
        return 0;
    }
    case VIDIOC_QBUF: {
        auto *buf = static_cast<v4l2_buffer *>(arg);
        if (buf->index >= m_buffers.size()) {
            errno = EINVAL;
            return -1;
        }
        m_queued[buf->index] = true;
        return 0;
    }
    case VIDIOC_DQBUF: {
        auto *buf = static_cast<v4l2_buffer *>(arg);
        std::size_t i = 0;
        while (i < m_queued.size() && !m_queued[i])
            ++i;
        if (i == m_queued.size() || m_state->unplugged) {
            errno = m_state->unplugged ? ENODEV : EAGAIN;
            return -1;
        }
        m_queued[i] = false;
        std::size_t used = m_buffers[i].size();
        if (m_state->fill)
            used = m_state->fill(m_buffers[i].data(), m_buffers[i].size(), m_format, m_state->framesDelivered);
        ++m_state->framesDelivered;
        buf->index = __u32(i);
        buf->bytesused = __u32(used);
        if (m_state->fault == FakeFault::BadIndex) {
            buf->index = 99;
        } else if (m_state->fault == FakeFault::OverlongBytesUsed) {
            buf->bytesused = __u32(m_buffers[i].size() * 4);
        }
        return 0;
    }
    case VIDIOC_STREAMON:
    case VIDIOC_STREAMOFF:
        return 0;
    default:
        errno = ENOTTY;
        return -1;
    }
}

void *FakeVideoDevice::mmap(std::size_t length, int fd, std::int64_t offset)
{
    const std::size_t index = std::size_t(offset / 4096);
    if (fd != kFakeFd || index >= m_buffers.size() || length > m_buffers[index].size())
        return nullptr;
    if (m_state->fault == FakeFault::MmapFails && index == 2)
        return nullptr;
    ++m_state->mapped;
    return m_buffers[index].data();
}

int FakeVideoDevice::munmap(void *, std::size_t)
{
    --m_state->mapped;
    return 0;
}

int FakeVideoDevice::waitReadable(int fd, int)
{
    if (fd != kFakeFd) {
        errno = EBADF;
        return -1;
    }
    if (m_state->fault == FakeFault::Unplug && m_state->framesDelivered >= m_state->framesBeforeUnplug)
        m_state->unplugged = true;
    if (m_state->fault == FakeFault::Stall || m_state->unplugged)
        return 0;
    return 1;
}

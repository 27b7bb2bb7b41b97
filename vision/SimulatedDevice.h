#pragma once

#include "vision/SimulatedScene.h"
#include "vision/VideoDevice.h"

#include <QElapsedTimer>

#include <opencv2/core.hpp>

#include <linux/videodev2.h>

#include <vector>

// A simulated camera that behaves like a V4L2 driver: it accepts YUYV or
// MJPEG formats, grants memory-mapped buffers and fills one at a steady frame
// rate with the scene named by the camera's configured name.
class SimulatedDevice : public VideoDevice
{
public:
    static constexpr int kFramesPerSecond = 30;

    SimulatedDevice();

    int checkDevice(const QString &path) override;
    int open(const QString &path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void *arg) override;
    void *mmap(std::size_t length, int fd, std::int64_t offset) override;
    int munmap(void *start, std::size_t length) override;
    int waitReadable(int fd, int timeoutMs) override;

    // Encodes a BGR picture as a camera would send it.
    static void bgrToYuyv(const cv::Mat &bgr, std::uint8_t *dst);
    static std::size_t bgrToJpeg(const cv::Mat &bgr, std::uint8_t *dst, std::size_t capacity);

private:
    static constexpr int kFd = 1000;
    static constexpr std::int64_t kOffsetStep = 1 << 24;

    struct Buffer {
        std::vector<std::uint8_t> data;
        bool queued = false;
        bool mapped = false;
    };

    bool frameDue() const;
    int fillBuffer(struct v4l2_buffer *buf);

    SimulatedScene m_scene;
    bool m_open = false;
    bool m_streaming = false;
    int m_width = 640;
    int m_height = 480;
    std::uint32_t m_pixelFormat = V4L2_PIX_FMT_YUYV;
    std::vector<Buffer> m_buffers;
    QElapsedTimer m_clock;
    qint64 m_nextFrameMs = 0;
    long m_sequence = 0;
    cv::Mat m_picture;
};

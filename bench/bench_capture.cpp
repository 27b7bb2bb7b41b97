// Capture-to-display cost per frame on one core: YUYV and MJPEG frames of
// 640x480 and 1280x720 go through the real capture code (dequeue, conversion
// to BGR, hand-over under the mutex), the processing object's copy, and the
// shown image. The camera is a stand-in device that always has a frame
// ready, so the figures are pure processing time.
//
// Usage: bench_capture [frames]   (default 300 per case)
#include "vision/CameraCapture.h"
#include "vision/CameraWorker.h"
#include "vision/SimulatedDevice.h"
#include "vision/SimulatedScene.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <linux/videodev2.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sched.h>
#include <vector>

namespace {

// Serves one encoded frame again and again.
class ReadyDevice : public VideoDevice
{
public:
    ReadyDevice(std::vector<std::uint8_t> frame, std::uint32_t format, int w, int h)
        : m_frame(std::move(frame)), m_format(format), m_w(w), m_h(h)
    {
    }
    int checkDevice(const QString &) override { return 0; }
    int open(const QString &) override { return 3; }
    int close(int) override { return 0; }
    int ioctl(int, unsigned long request, void *arg) override
    {
        switch (request) {
        case VIDIOC_QUERYCAP:
            static_cast<v4l2_capability *>(arg)->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
            return 0;
        case VIDIOC_S_FMT:
        case VIDIOC_G_FMT: {
            auto *f = static_cast<v4l2_format *>(arg);
            f->fmt.pix.width = __u32(m_w);
            f->fmt.pix.height = __u32(m_h);
            f->fmt.pix.pixelformat = m_format;
            return 0;
        }
        case VIDIOC_REQBUFS:
            static_cast<v4l2_requestbuffers *>(arg)->count = 2;
            m_buffers.assign(2, m_frame);
            return 0;
        case VIDIOC_QUERYBUF: {
            auto *b = static_cast<v4l2_buffer *>(arg);
            b->length = __u32(m_frame.size());
            b->m.offset = b->index * 4096;
            return 0;
        }
        case VIDIOC_DQBUF: {
            auto *b = static_cast<v4l2_buffer *>(arg);
            b->index = m_next;
            m_next = 1 - m_next;
            b->bytesused = __u32(m_frame.size());
            return 0;
        }
        default:
            return 0;
        }
    }
    void *mmap(std::size_t, int, std::int64_t offset) override { return m_buffers[std::size_t(offset / 4096)].data(); }
    int munmap(void *, std::size_t) override { return 0; }
    int waitReadable(int, int) override { return 1; }

private:
    std::vector<std::uint8_t> m_frame;
    std::vector<std::vector<std::uint8_t>> m_buffers;
    std::uint32_t m_format;
    int m_w, m_h;
    unsigned m_next = 0;
};

std::vector<std::uint8_t> encodedFrame(std::uint32_t format, int w, int h)
{
    SimulatedScene scene("sim:board");
    cv::Mat bgr;
    scene.render(bgr, w, h, SimulatedStage::Position(), 0);
    std::vector<std::uint8_t> data(std::size_t(w) * h * 3);
    if (format == V4L2_PIX_FMT_YUYV) {
        data.resize(std::size_t(w) * h * 2);
        SimulatedDevice::bgrToYuyv(bgr, data.data());
    } else {
        data.resize(SimulatedDevice::bgrToJpeg(bgr, data.data(), data.size()));
    }
    return data;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(10, atoi(argv[1])) : 300;

    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    if (sched_setaffinity(0, sizeof one, &one) != 0)
        fprintf(stderr, "could not pin to one core: %s\n", strerror(errno));

    printf("%-6s %-10s %12s %16s %16s\n", "format", "size", "convert ms", "+hand-over ms", "+shown image ms");
    struct Case {
        const char *name;
        std::uint32_t format;
        int w, h;
    } cases[] = {{"YUYV", V4L2_PIX_FMT_YUYV, 640, 480}, {"YUYV", V4L2_PIX_FMT_YUYV, 1280, 720},
                 {"MJPEG", V4L2_PIX_FMT_MJPEG, 640, 480}, {"MJPEG", V4L2_PIX_FMT_MJPEG, 1280, 720}};
    for (const Case &c : cases) {
        const std::vector<std::uint8_t> data = encodedFrame(c.format, c.w, c.h);

        // Conversion alone.
        std::vector<std::uint8_t> bgr(std::size_t(c.w) * c.h * 3);
        FrameConverter converter;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < frames; ++i) {
            if (c.format == V4L2_PIX_FMT_YUYV)
                FrameConverter::yuyvToBgr(data.data(), data.size(), bgr.data(), bgr.size());
            else
                converter.mjpegToBgr(data.data(), data.size(), c.w, c.h, bgr.data(), bgr.size());
        }
        const double convertMs = double(t.nsecsElapsed()) / 1e6 / frames;

        // The capture's frame step and the processing object's copy.
        CameraCapture capture;
        capture.setDeviceFactory([&](const QString &) {
            return std::make_unique<ReadyDevice>(data, c.format, c.w, c.h);
        });
        capture.setRequestedSize(c.w, c.h);
        capture.setMjpg(c.format == V4L2_PIX_FMT_MJPEG);
        capture.setName(QStringLiteral("bench"));
        capture.setCapture(true);
        cv::Mat frame;
        t.restart();
        for (int i = 0; i < frames; ++i) {
            capture.captureFrame();
            capture.takeFrame(frame, nullptr);
        }
        const double handOverMs = double(t.nsecsElapsed()) / 1e6 / frames;

        // And the shown image made from it.
        CameraWorker worker;
        worker.setShowPercent(100);
        t.restart();
        for (int i = 0; i < frames; ++i) {
            capture.captureFrame();
            capture.takeFrame(frame, nullptr);
            worker.processMat(frame, true);
        }
        const double shownMs = double(t.nsecsElapsed()) / 1e6 / frames;
        printf("%-6s %4dx%-5d %12.3f %16.3f %16.3f\n", c.name, c.w, c.h, convertMs, handOverMs, shownMs);
    }
    return 0;
}

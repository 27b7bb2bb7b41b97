#pragma once

#include "vision/VideoDevice.h"

#include <linux/videodev2.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Faults the fake camera can show, one per test row.
enum class FakeFault {
    None,
    FormatRefusedOnce,  // the first VIDIOC_S_FMT fails, 640x480 YUYV is accepted
    Oversize,           // the driver answers with 1920x1080
    MmapFails,          // the third mapping fails
    BadIndex,           // VIDIOC_DQBUF answers with an index out of range
    OverlongBytesUsed,  // bytesused larger than the buffer
    Stall,              // no frame ever becomes ready
    Unplug,             // frames stop and the device node disappears
};

// What the fake camera did; shared by every device the factory makes, so a
// test sees opens and closes across reopens.
struct FakeCameraState {
    FakeFault fault = FakeFault::None;
    // Frames delivered before an Unplug fault strikes.
    int framesBeforeUnplug = 2;
    bool unplugged = false;
    int opens = 0;
    int closes = 0;
    int openFds = 0;
    int mapped = 0;
    int framesDelivered = 0;
    std::vector<std::uint32_t> requestedFormats;
    std::vector<std::pair<int, int>> requestedSizes;
    // Fills one driver buffer with a frame; returns bytesused.
    std::function<std::size_t(std::uint8_t *data, std::size_t length, std::uint32_t pixelFormat, int frame)> fill;
};

class FakeVideoDevice : public VideoDevice
{
public:
    explicit FakeVideoDevice(std::shared_ptr<FakeCameraState> state) : m_state(std::move(state)) {}

    int checkDevice(const QString &path) override;
    int open(const QString &path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void *arg) override;
    void *mmap(std::size_t length, int fd, std::int64_t offset) override;
    int munmap(void *start, std::size_t length) override;
    int waitReadable(int fd, int timeoutMs) override;

private:
    std::shared_ptr<FakeCameraState> m_state;
    std::uint32_t m_format = V4L2_PIX_FMT_YUYV;
    int m_width = 640;
    int m_height = 480;
    std::vector<std::vector<std::uint8_t>> m_buffers;
    std::vector<bool> m_queued;
    int m_sFmtCalls = 0;
};

#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// The narrow interface through which the capture reaches a camera: the calls
// of the Video4Linux2 API that it uses, with their return values and errno.
// Implemented by the real device (libv4l2), by the simulated camera and by
// the fakes of the tests.
class VideoDevice
{
public:
    virtual ~VideoDevice();

    // 0 when the path names a character device; otherwise -1 with errno set
    // (ENOTTY when it exists but is no character device).
    virtual int checkDevice(const QString &path) = 0;
    virtual int open(const QString &path) = 0;
    virtual int close(int fd) = 0;
    virtual int ioctl(int fd, unsigned long request, void *arg) = 0;
    virtual void *mmap(std::size_t length, int fd, std::int64_t offset) = 0;
    virtual int munmap(void *start, std::size_t length) = 0;
    // Waits until a frame can be dequeued: 1 ready, 0 time-out, -1 error.
    virtual int waitReadable(int fd, int timeoutMs) = 0;
    // Whether the exposure tool can be pointed at this device.
    virtual bool takesExposureCommands() const { return false; }

    // The device for a configured camera name: a path under /dev is a V4L2
    // device, any other name the simulated camera.
    static std::unique_ptr<VideoDevice> forName(const QString &name);
    static bool isDevicePath(const QString &name);
};

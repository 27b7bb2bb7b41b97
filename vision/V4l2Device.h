#pragma once

#include "vision/VideoDevice.h"

// A real Video4Linux2 camera through libv4l2.
class V4l2Device : public VideoDevice
{
public:
    int checkDevice(const QString &path) override;
    int open(const QString &path) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void *arg) override;
    void *mmap(std::size_t length, int fd, std::int64_t offset) override;
    int munmap(void *start, std::size_t length) override;
    int waitReadable(int fd, int timeoutMs) override;
    bool takesExposureCommands() const override { return true; }
};

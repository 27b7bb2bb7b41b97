#include "vision/V4l2Device.h"

#include <libv4l2.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/select.h>
#include <sys/stat.h>

int V4l2Device::checkDevice(const QString &path)
{
    struct stat st;
    if (::stat(path.toLocal8Bit().constData(), &st) == -1)
        return -1;
    if (!S_ISCHR(st.st_mode)) {
        errno = ENOTTY;
        return -1;
    }
    return 0;
}

int V4l2Device::open(const QString &path)
{
    return v4l2_open(path.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK, 0);
}

int V4l2Device::close(int fd)
{
    return v4l2_close(fd);
}

int V4l2Device::ioctl(int fd, unsigned long request, void *arg)
{
    return v4l2_ioctl(fd, request, arg);
}

void *V4l2Device::mmap(std::size_t length, int fd, std::int64_t offset)
{
    void *p = v4l2_mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, offset);
    return p == MAP_FAILED ? nullptr : p;
}

int V4l2Device::munmap(void *start, std::size_t length)
{
    return v4l2_munmap(start, length);
}

int V4l2Device::waitReadable(int fd, int timeoutMs)
{
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(fd, &fds);
    struct timeval tv;
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = (timeoutMs % 1000) * 1000;
    const int r = ::select(fd + 1, &fds, nullptr, nullptr, &tv);
    if (r > 0)
        return 1;
    return r;
}

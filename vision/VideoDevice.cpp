#include "vision/VideoDevice.h"

#include "vision/SimulatedDevice.h"
#include "vision/V4l2Device.h"

VideoDevice::~VideoDevice() = default;

bool VideoDevice::isDevicePath(const QString &name)
{
    return name.startsWith(QLatin1String("/dev/"));
}

std::unique_ptr<VideoDevice> VideoDevice::forName(const QString &name)
{
    if (isDevicePath(name))
        return std::make_unique<V4l2Device>();
    return std::make_unique<SimulatedDevice>();
}

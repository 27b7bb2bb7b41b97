#pragma once

#include "util/DeviceThread.h"

class CameraCapture;
class CameraWorker;

// The two threads of a camera: the capture object and the processing object,
// each created inside its thread's run() so that it lives there.
class CaptureThread : public DeviceThread<CameraCapture>
{
public:
    using DeviceThread::DeviceThread;
};

class CameraThread : public DeviceThread<CameraWorker>
{
public:
    using DeviceThread::DeviceThread;
};

#pragma once

class WorkerCnc;
class WorkerRLC;
class WorkerVS;
class WorkerPing;
class WorkerProgrammer;

// The device workers as Worker::setConnections() wires them; each lives in a
// thread of its own that the composing code owns.
struct DeviceWorkers
{
    WorkerCnc *cnc = nullptr;
    WorkerRLC *rlc = nullptr;
    WorkerVS *vs = nullptr;
    WorkerPing *ping = nullptr;
    WorkerProgrammer *programmer = nullptr;
};

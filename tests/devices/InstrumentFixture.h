#pragma once

// Shared set-up of the instrument tests: the workers over their emulators
// with short answer limits, so that a fault that ends in a time-out costs a
// fraction of a second. The rows that keep the real limits prove the
// program's own timing.
#include "devices/WorkerRLC.h"
#include "devices/WorkerVS.h"
#include "devices/emulators/RlcEmulator.h"
#include "devices/emulators/VsEmulator.h"

#include <QSignalSpy>
#include <QTest>

namespace InstrumentFixture {

// Long enough for an answer over the pseudo-terminal on a loaded machine
// (a split reply takes 80 ms), short against the real limits.
inline WorkerRLC::Limits quickRlc()
{
    WorkerRLC::Limits limits;
    limits.openMs = 400;
    limits.setupMs = 600;
    limits.readMs = 400;
    return limits;
}

inline WorkerVS::Limits quickVs()
{
    WorkerVS::Limits limits;
    limits.startupPauseMs = 0;
    limits.handshakeRepeatMs = 100;
    limits.readMs = 400;
    return limits;
}

// Opens the meter worker on the emulator and waits for remote mode.
inline bool open(WorkerRLC &worker, const RlcEmulator &emulator)
{
    QSignalSpy opened(&worker, &WorkerRLC::openDone);
    worker.runRLC(emulator.portName());
    return opened.wait(4000) || opened.count() == 1;
}

// After a verdict: no limit is left running, so no late second signal can
// follow, and the bytes still under way have arrived.
template<class Worker>
bool settled(const Worker &worker)
{
    const bool waiting = worker.isAwaitingAnswer();
    QTest::qWait(150);
    return !waiting && !worker.isAwaitingAnswer();
}

} // namespace InstrumentFixture

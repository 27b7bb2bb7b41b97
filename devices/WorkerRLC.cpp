#include "devices/WorkerRLC.h"

// The meter protocol is added with the serial instruments.

WorkerRLC::WorkerRLC(QObject *parent)
    : QObject(parent)
{
}

void WorkerRLC::runRLC(QString port)
{
    Q_UNUSED(port)
}

void WorkerRLC::read()
{
}

void WorkerRLC::setup(QString type, double value)
{
    Q_UNUSED(type)
    Q_UNUSED(value)
}

void WorkerRLC::setup(QString type, bool freqLow, bool parallel)
{
    Q_UNUSED(type)
    Q_UNUSED(freqLow)
    Q_UNUSED(parallel)
}

#include "devices/WorkerVS.h"

// The sensor protocol is added with the serial instruments.

WorkerVS::WorkerVS(QObject *parent)
    : QObject(parent)
{
}

void WorkerVS::runVS(QString port)
{
    Q_UNUSED(port)
}

void WorkerVS::stopVS()
{
}

void WorkerVS::read()
{
}

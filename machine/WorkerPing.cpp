#include "machine/WorkerPing.h"

// Card pinging is added with the machine link; until then the card is
// never reported, so LinuxCNC is only started by the operator.

WorkerPing::WorkerPing(QObject *parent)
    : QObject(parent)
{
}

void WorkerPing::linuxCncAutoStartGet(bool enabled)
{
    Q_UNUSED(enabled)
}

void WorkerPing::iniMesaTypeGet(QVariant type)
{
    Q_UNUSED(type)
}

void WorkerPing::iniIPGet(QString address)
{
    Q_UNUSED(address)
}

void WorkerPing::cncRunningGet(QVariant running)
{
    Q_UNUSED(running)
}

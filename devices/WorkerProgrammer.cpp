#include "devices/WorkerProgrammer.h"

// The script runner is added with the device programmer.

WorkerProgrammer::WorkerProgrammer(QObject *parent)
    : QObject(parent)
{
}

void WorkerProgrammer::programmerScriptStart(QString scriptPath, int waitSeconds)
{
    Q_UNUSED(scriptPath)
    Q_UNUSED(waitSeconds)
}

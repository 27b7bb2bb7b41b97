#include "machine/LinuxCncOutputs.h"

#include "machine/LinuxCncChannel.h"

LinuxCncOutputs::LinuxCncOutputs()
    : m_channel(std::make_unique<LinuxCncChannel>())
{
}

LinuxCncOutputs::~LinuxCncOutputs()
{
    m_channel->close();
}

bool LinuxCncOutputs::open(double timeoutSeconds)
{
    QString error;
    return m_channel->open(timeoutSeconds, &error);
}

bool LinuxCncOutputs::setDigitalOutput(int index, bool on)
{
    return m_channel->isOpen() && m_channel->switchOutput(index, on);
}

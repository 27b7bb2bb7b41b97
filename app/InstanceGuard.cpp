#include "app/InstanceGuard.h"

#include <QDebug>

InstanceGuard::InstanceGuard(const QString &semaphoreKey, const QString &segmentKey)
    : m_semaphore(semaphoreKey, 1, QSystemSemaphore::Open)
    , m_segmentKey(segmentKey)
{
}

bool InstanceGuard::acquire()
{
    if (!m_semaphore.acquire())
        qWarning() << "Instance semaphore:" << m_semaphore.errorString();

    {
        // Attaching and detaching again removes a segment whose last user
        // died without detaching (the detach of the last user deletes it).
        QSharedMemory stale(m_segmentKey);
        stale.attach(QSharedMemory::ReadWrite);
    }

    m_segment.setKey(m_segmentKey);
    if (m_segment.attach(QSharedMemory::ReadWrite)) {
        m_segment.detach();
        m_semaphore.release();
        return false;
    }
    if (!m_segment.create(1, QSharedMemory::ReadWrite))
        qWarning() << "Instance segment:" << m_segment.errorString();
    m_semaphore.release();
    return true;
}

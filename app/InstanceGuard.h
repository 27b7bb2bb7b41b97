#pragma once

#include <QSharedMemory>
#include <QString>
#include <QSystemSemaphore>

// Refuses a second running instance of the program. A one-byte shared memory
// segment exists while an instance runs; a semaphore serialises the check.
// A segment left behind by a crashed instance (nobody attached) is released
// before the check, so a start after a crash succeeds.
class InstanceGuard
{
public:
    InstanceGuard(const QString &semaphoreKey = QStringLiteral("KESTRAVO"),
                  const QString &segmentKey = QStringLiteral("kestravo"));

    // True when this process is now the one running instance.
    bool acquire();

private:
    QSystemSemaphore m_semaphore;
    QString m_segmentKey;
    QSharedMemory m_segment;
};

#include "machine/ShellDialogue.h"

void ShellDialogue::begin()
{
    m_state = Connecting;
    m_refusals = 0;
}

ShellDialogue::Event ShellDialogue::feed(const QString &line, QStringList &out)
{
    if (line.contains(QLatin1String("Connection closed by foreign host"))) {
        m_state = Idle;
        return Event::Closed;
    }
    switch (m_state) {
    case Connecting:
        if (line.contains(QLatin1String("Connected to localhost."))) {
            m_state = Greeted;
            out << QStringLiteral("hello EMC user 1.0");
            return Event::Connected;
        }
        if (line.contains(QLatin1String("Unable to connect to remote host: Connection refused"))) {
            if (++m_refusals < kMaxRefusals + 1)
                return Event::Retry;
            m_state = Idle;
            m_refusals = 0;
            return Event::RefusedTooOften;
        }
        return Event::None;
    case Greeted:
        if (!line.contains(QLatin1String("HELLO ACK"))) {
            m_state = Idle;
            return Event::HelloFailed;
        }
        m_state = Acknowledged;
        out << QStringLiteral("set verbose on") << QStringLiteral("set enable EMCTOO")
            << QStringLiteral("set mode manual") << QStringLiteral("set task_plan_init");
        m_state = Configured;
        return Event::Configured;
    default:
        return Event::None;
    }
}

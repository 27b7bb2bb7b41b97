#include "machine/ProgrammerLines.h"

ProgrammerLines::Events ProgrammerLines::poll(int success, int error)
{
    Events ev;
    ev.errorChanged = error != m_error;
    ev.successChanged = success != m_success;
    if (ev.successChanged && !ev.errorChanged) {
        m_success = success;
        if (success != 0)
            ev.result = QStringLiteral("success");
        return ev;
    }
    if (ev.errorChanged) {
        m_error = error;
        if (error != 0)
            ev.result = QStringLiteral("error");
        m_success = success;
    }
    return ev;
}

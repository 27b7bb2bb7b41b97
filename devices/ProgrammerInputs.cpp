#include "devices/ProgrammerInputs.h"

ProgrammerInputs::Events ProgrammerInputs::update(int success, int error)
{
    Events events;
    events.successPin = success;
    events.errorPin = error;
    const bool errorChanged = error != m_error;
    const bool successChanged = success != m_success;
    events.errorPinChanged = errorChanged;
    events.successPinChanged = successChanged;
    if (successChanged && !errorChanged) {
        m_success = success;
        if (success)
            events.result = QStringLiteral("success");
        return events;
    }
    if (errorChanged) {
        m_error = error;
        if (error)
            events.result = QStringLiteral("error");
        m_success = success;
    }
    return events;
}

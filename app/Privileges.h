#pragma once

#include <QString>

// Identity handling of the start-up: a short stay with root rights (to reload
// the camera driver with quirks) and then the drop to the operator's user.
namespace Privileges {

constexpr unsigned kOperatorId = 1000;

struct DropResult
{
    bool ok = true;
    QString error; // why the process still has root rights
};

// setuid(0); returns its result (0 when root rights were obtained).
int tryGainRoot();

// Drops to user and group 1000 (with that user's supplementary groups).
// Fails only when the process had root rights and still has them afterwards;
// a process that never had them keeps its identity.
DropResult dropToOperator();

} // namespace Privileges

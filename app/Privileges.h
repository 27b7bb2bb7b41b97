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

// Runs `work` with the effective user and group 1000 when the process has root
// rights (otherwise as it is), then returns to root. Objects that outlive the
// root phase, such as the single-instance lock, are so owned by the operator
// and can be released by the program after its drop.
template <class F>
auto asOperator(F &&work);

// setuid(0); returns its result (0 when root rights were obtained).
int tryGainRoot();

// Drops to user and group 1000 (with that user's supplementary groups).
// Fails only when the process had root rights and still has them afterwards;
// a process that never had them keeps its identity.
DropResult dropToOperator();

bool beginOperatorScope();
void endOperatorScope(bool entered);

template <class F>
auto asOperator(F &&work)
{
    const bool entered = beginOperatorScope();
    struct Restore
    {
        bool entered;
        ~Restore() { endOperatorScope(entered); }
    } restore{entered};
    return work();
}

} // namespace Privileges

#include "app/Privileges.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace Privileges {

bool beginOperatorScope()
{
    if (geteuid() != 0)
        return false;
    if (setegid(kOperatorId) != 0)
        return false;
    if (seteuid(kOperatorId) != 0) {
        setegid(0);
        return false;
    }
    return true;
}

void endOperatorScope(bool entered)
{
    if (!entered)
        return;
    if (seteuid(0) != 0 || setegid(0) != 0)
        perror("kestravo: returning to root rights");
}

int tryGainRoot()
{
    return setuid(0);
}

DropResult dropToOperator()
{
    DropResult result;
    const bool hadRoot = geteuid() == 0 || getuid() == 0;
    QString why;

    if (hadRoot) {
        // Leave root's supplementary groups behind; take the operator's own
        // (serial ports and cameras are usually reached through them).
        const passwd *pw = getpwuid(kOperatorId);
        int rc = pw ? initgroups(pw->pw_name, kOperatorId) : -1;
        if (rc != 0) {
            const gid_t gid = kOperatorId;
            if (setgroups(1, &gid) != 0)
                why = QStringLiteral("setgroups: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        }
    }
    if (setgid(kOperatorId) != 0 && why.isEmpty() && hadRoot)
        why = QStringLiteral("setgid(%1): %2").arg(kOperatorId).arg(QString::fromLocal8Bit(strerror(errno)));
    if (setuid(kOperatorId) != 0 && why.isEmpty() && hadRoot)
        why = QStringLiteral("setuid(%1): %2").arg(kOperatorId).arg(QString::fromLocal8Bit(strerror(errno)));

    if (hadRoot && (getuid() == 0 || geteuid() == 0 || getgid() == 0 || getegid() == 0)) {
        result.ok = false;
        result.error = why.isEmpty() ? QStringLiteral("root rights are still held") : why;
    }
    return result;
}

} // namespace Privileges

#pragma once

#include <QString>

// Reads the output of one "ping -c 1": the card counts as reachable when it
// answered within a millisecond (or when the system forbids sending, which
// the card's own network set-up causes on some machines).
class PingReply
{
public:
    static bool reachable(const QString &standardOutput, const QString &standardError);
    // The reply time in milliseconds of the first reply line, or -1.
    static double replyTime(const QString &standardOutput);
};

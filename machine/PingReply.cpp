#include "machine/PingReply.h"

#include <QStringList>

bool PingReply::reachable(const QString &standardOutput, const QString &standardError)
{
    if (standardError.contains(QLatin1String("ping: sendmsg: Operation not permitted")))
        return true;
    const double t = replyTime(standardOutput);
    return t >= 0 && t <= 1.0;
}

double PingReply::replyTime(const QString &standardOutput)
{
    for (const QString &line : standardOutput.split(QLatin1Char('\n'))) {
        if (!line.contains(QLatin1String("ttl"), Qt::CaseInsensitive))
            continue;
        const int from = line.indexOf(QLatin1String("time="));
        if (from < 0)
            return -1;
        const int to = line.indexOf(QLatin1String(" ms"), from);
        if (to < 0)
            return -1;
        bool ok = false;
        const double t = line.mid(from + 5, to - from - 5).toDouble(&ok);
        return ok ? t : -1;
    }
    return -1;
}

#include "util/FileUrl.h"

namespace FileUrl {

QString toLocalPath(const QString &urlOrPath)
{
    if (urlOrPath.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(urlOrPath).toLocalFile();
    if (urlOrPath.startsWith(QLatin1String("qrc:"), Qt::CaseInsensitive))
        return QLatin1Char(':') + QUrl(urlOrPath).path();
    return urlOrPath;
}

QString toLocalPath(const QUrl &url)
{
    if (url.isLocalFile())
        return url.toLocalFile();
    if (url.scheme() == QLatin1String("qrc"))
        return QLatin1Char(':') + url.path();
    // A plain path handed over as a relative URL.
    return url.toString(QUrl::PreferLocalFile);
}

QString fromLocalPath(const QString &path)
{
    return QUrl::fromLocalFile(path).toString();
}

} // namespace FileUrl

#include "vision/CameraListing.h"

#include "vision/VideoDevice.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

QStringList CameraListing::camerasFromListing(const QStringList &paths)
{
    QStringList result;
    for (QString path : paths) {
        while (path.endsWith(QLatin1Char('\n')) || path.endsWith(QLatin1Char('\r')))
            path.chop(1);
        if (path.isEmpty() || path.right(6) == QLatin1String("index1"))
            continue;
        result << path;
    }
    return result;
}

QStringList CameraListing::modesFromFormats(const QString &output)
{
    static const QString marker = QStringLiteral("Size: Discrete ");
    QStringList modes;
    const QStringList lines = output.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const int at = line.indexOf(marker);
        if (at < 0)
            continue;
        const QString size = line.mid(at + marker.size()).trimmed();
        const int x = size.indexOf(QLatin1Char('x'));
        if (x <= 0)
            continue;
        bool okW = false, okH = false;
        const int w = size.left(x).toInt(&okW);
        const QString rest = size.mid(x + 1);
        const int end = rest.indexOf(QRegularExpression(QStringLiteral("[^0-9]")));
        const int h = (end < 0 ? rest : rest.left(end)).toInt(&okH);
        if (!okW || !okH || w <= 0 || h <= 0)
            continue;
        const QString mode = QStringLiteral("%1x%2").arg(w).arg(h);
        if (!modes.contains(mode))
            modes << mode;
    }
    return modes;
}

const QStringList &CameraListing::simulatedCameras()
{
    static const QStringList names{QStringLiteral("sim:board"), QStringLiteral("sim:component")};
    return names;
}

QStringList CameraListing::cameras(const QString &folder)
{
    QDir dir(folder);
    QStringList paths;
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &n : names)
        paths << dir.absoluteFilePath(n);
    return camerasFromListing(paths) + simulatedCameras();
}

QStringList CameraListing::modes(const QString &name, QString *error)
{
    if (!VideoDevice::isDevicePath(name))
        return {QStringLiteral("640x480"), QStringLiteral("1280x720"), QStringLiteral("1280x960")};
    QProcess process;
    process.start(QStringLiteral("v4l2-ctl"), {QStringLiteral("--list-formats-ext"), QStringLiteral("-d"), name});
    if (!process.waitForStarted(3000) || !process.waitForFinished(5000)) {
        if (error)
            *error = process.errorString();
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return modesFromFormats(QString::fromLocal8Bit(process.readAllStandardOutput()));
}

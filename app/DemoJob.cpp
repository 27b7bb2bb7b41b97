#include "app/DemoJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QMetaObject>
#include <QQuickWindow>

#include <cstdio>

DemoJobOptions DemoJobOptions::fromEnvironment(const QProcessEnvironment &env)
{
    DemoJobOptions o;
    o.enabled = env.value(QStringLiteral("KESTRAVO_DEMO_JOB")) == QLatin1String("1");
    o.screenshotPath = env.value(QStringLiteral("KESTRAVO_DEMO_JOB_SCREENSHOT"));
    if (o.screenshotPath.isEmpty())
        o.screenshotPath = QDir::temp().filePath(QStringLiteral("kestravo-demo-job.png"));
    const QString timeout = env.value(QStringLiteral("KESTRAVO_DEMO_JOB_TIMEOUT"));
    if (!timeout.isEmpty()) {
        bool ok = false;
        const int seconds = timeout.trimmed().toInt(&ok);
        if (ok && seconds > 0 && seconds <= kMaxTimeoutSeconds)
            o.timeoutSeconds = seconds;
        else
            o.warning = QStringLiteral("KESTRAVO_DEMO_JOB_TIMEOUT=%1 is not a number of seconds from 1 to %2; "
                                       "using %3")
                            .arg(timeout)
                            .arg(kMaxTimeoutSeconds)
                            .arg(kDefaultTimeoutSeconds);
    }
    return o;
}

DemoJobLink::DemoJobLink(const DemoJobOptions &options, QObject *parent)
    : QObject(parent), m_options(options)
{
}

void DemoJobLink::print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

bool DemoJobLink::saveScreenshot(QObject *window, const QString &path)
{
    auto *quickWindow = qobject_cast<QQuickWindow *>(window);
    const QImage image = quickWindow ? quickWindow->grabWindow() : QImage();
    if (!image.isNull() && image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "kestravo: could not write the screenshot %s (%s)\n", qPrintable(path),
                 image.isNull() ? "the window gave no picture" : "the file could not be written");
    return false;
}

void DemoJobLink::finish(int status)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

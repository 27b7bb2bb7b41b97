#include "TestSupport.h"

#include <QDir>
#include <QMutex>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace TestSupport {

namespace {
QMutex g_mutex;
QStringList g_warnings;
QtMessageHandler g_previous = nullptr;

void collector(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg) {
        QMutexLocker lock(&g_mutex);
        g_warnings.append(message);
    }
    if (g_previous)
        g_previous(type, context, message);
    else
        fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
} // namespace

void prepareHeadlessEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    const QString runtime = QDir::tempPath() + QStringLiteral("/kestravo-test-runtime-") + QString::number(getuid());
    QDir().mkpath(runtime);
    chmod(QFile::encodeName(runtime).constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
}

void installMessageCollector()
{
    g_previous = qInstallMessageHandler(collector);
}

QStringList collectedWarnings()
{
    QMutexLocker lock(&g_mutex);
    return g_warnings;
}

void resetCollectedWarnings()
{
    QMutexLocker lock(&g_mutex);
    g_warnings.clear();
}

} // namespace TestSupport

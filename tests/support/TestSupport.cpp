#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <pwd.h>
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
// Copies one file; with `replace`, @RUN@ in it becomes `runDir`.
bool copyFile(const QString &source, const QString &target, const QString &runDir, bool replace, QString *error)
{
    QFile in(source);
    QByteArray data = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    if (replace)
        data.replace("@RUN@", QFile::encodeName(runDir));
    if (!in.isOpen() || !writeFile(target, data)) {
        *error = QStringLiteral("cannot copy %1 to %2").arg(source, target);
        return false;
    }
    return true;
}

} // namespace

QString prepareSimRunFolder(const QString &simDir, const QString &runDir, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    const QDir sim(simDir);
    const QDir run(runDir);
    const QString settingsFile = run.filePath(QStringLiteral("settings.ini"));
    if (!copyFile(sim.filePath(QStringLiteral("settings.ini")), settingsFile, runDir, true, error))
        return QString();
    run.mkpath(QStringLiteral("logs"));
    // The projects and feeder files name files by absolute path too.
    const QStringList withPlaceholder{QStringLiteral(".project"), QStringLiteral("Feeders")};
    for (const QString &folder : {QStringLiteral("packages"), QStringLiteral("projects")}) {
        run.mkpath(folder);
        QDirIterator it(sim.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            bool replace = false;
            for (const QString &suffix : withPlaceholder)
                replace = replace || source.endsWith(suffix);
            const QString target = run.filePath(folder + QLatin1Char('/') + QDir(sim.filePath(folder)).relativeFilePath(source));
            if (!copyFile(source, target, runDir, replace, error))
                return QString();
        }
    }
    // The simulated device programmer, which the settings store names.
    const QString programmer = run.filePath(QStringLiteral("sim-programmer"));
    if (!copyFile(sim.filePath(QStringLiteral("sim-programmer")), programmer, runDir, false, error))
        return QString();
    if (!QFile::setPermissions(programmer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                               QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther)) {
        *error = QStringLiteral("cannot make %1 executable").arg(programmer);
        return QString();
    }
    return settingsFile;
}

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

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

bool writeScript(const QString &path, const QByteArray &body)
{
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    return writeFile(path, "#!/bin/sh\n" + body + "\n") && QFile::setPermissions(path, everyone);
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool setModified(const QString &path, const QDateTime &when)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime);
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

OrdinaryUser::OrdinaryUser(const QStringList &paths)
{
    if (!runningAsRoot())
        return;
    const struct passwd *nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    for (const QString &path : paths)
        if (::chown(QFile::encodeName(path).constData(), uid, static_cast<gid_t>(-1)) != 0)
            m_ok = false;
    m_switched = m_ok && ::seteuid(uid) == 0;
    m_ok = m_switched;
}

OrdinaryUser::~OrdinaryUser()
{
    if (m_switched && ::seteuid(0) != 0)
        std::abort();
}

} // namespace TestSupport

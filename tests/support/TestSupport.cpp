#include "TestSupport.h"

#include <QDebug>
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

namespace {

void chownTree(const QString &path, uid_t uid, gid_t gid)
{
    if (::chown(QFile::encodeName(path).constData(), uid, gid) != 0)
        qWarning() << "chown failed" << path;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &fi : entries) {
        if (fi.isDir() && !fi.isSymLink())
            chownTree(fi.filePath(), uid, gid);
        else if (::lchown(QFile::encodeName(fi.filePath()).constData(), uid, gid) != 0)
            qWarning() << "chown failed" << fi.filePath();
    }
}

} // namespace

ProgramFolder::ProgramFolder(const QString &binary)
{
    QDir dir(m_dir.path());
    dir.mkpath(QStringLiteral("home"));
    dir.mkpath(QStringLiteral("runtime"));
    if (!QFile::copy(binary, program()))
        qWarning() << "cannot copy" << binary;
}

void ProgramFolder::handToOperator() const
{
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(filePath(QStringLiteral("runtime"))).constData(), 0700);
    if (::getuid() == 0)
        chownTree(m_dir.path(), 1000, 1000);
}

std::unique_ptr<QProcess> ProgramFolder::start(const QString &display) const
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (display.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("DISPLAY"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
    }
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), filePath(QStringLiteral("runtime")));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(program(), QStringList());
    return process;
}

} // namespace TestSupport

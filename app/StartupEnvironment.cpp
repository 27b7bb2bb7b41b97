#include "app/StartupEnvironment.h"

#include "app/ApplicationShell.h"
#include "backend/FileValues.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QDebug>
#include <QFile>
#include <QQuickWindow>
#include <QTimer>

#include <cerrno>
#include <cstdio>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace StartupEnvironment {

QString enterWorkingDirectory(const QString &home)
{
    const QString desktop = home + QStringLiteral("/Desktop/");
    const QString dir = QDir(desktop).exists() ? desktop : home;
    QDir::setCurrent(dir);
    return dir;
}

void prepareEnvironment()
{
    setenv("QT_OPENGL_NO_SANITY_CHECK", "1", 1);
    setenv("vblank_mode", "0", 1);
    QLocale::setDefault(QLocale(QStringLiteral("en_EN")));
}

QString settingsPathForProgram(const QString &argv0)
{
    return QFileInfo(argv0).absolutePath() + QStringLiteral("/settings.ini");
}

StartupSettings readStartupSettings(const QString &settingsPath)
{
    QSettings settings(settingsPath, QSettings::IniFormat);
    StartupSettings result;
    // A store whose values cannot be decoded gives the defaults; the settings
    // store reports it once the window is up.
    if (!FileValues::parseAll(settings))
        return result;
    result.softwareRendering = settings.value(QStringLiteral("project/softwareRendering"), false).toBool();
    result.cameraHighRes = settings.value(QStringLiteral("device/cameraHighRes"), false).toBool();
    result.cameraUseQuirks = settings.value(QStringLiteral("device/cameraUseQuirks"), false).toBool();
    return result;
}

void applySoftwareRendering(bool softwareRendering)
{
    if (softwareRendering)
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    else
        unsetenv("LIBGL_ALWAYS_SOFTWARE");
}

QString systemTool(const QString &name)
{
    static const QStringList dirs = {
        QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
        QStringLiteral("/sbin"), QStringLiteral("/bin")};
    return QStandardPaths::findExecutable(name, dirs);
}

int runProgram(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return -1;
    std::vector<QByteArray> storage;
    storage.push_back(QFile::encodeName(program));
    for (const QString &a : arguments)
        storage.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void reloadCameraDriverWithQuirks()
{
    const QString modprobe = systemTool(QStringLiteral("modprobe"));
    if (modprobe.isEmpty()) {
        qWarning() << "modprobe not found: camera quirks not applied";
        return;
    }
    runProgram(modprobe, {QStringLiteral("-r"), QStringLiteral("uvcvideo")});
    runProgram(modprobe, {QStringLiteral("uvcvideo"), QStringLiteral("quirks=128")});
}

void setKeyboardRepeat()
{
    // Only an X display has a keyboard repeat to set.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const QString xset = systemTool(QStringLiteral("xset"));
    if (xset.isEmpty())
        return;
    QProcess::startDetached(xset, {QStringLiteral("r"), QStringLiteral("rate"),
                                   QStringLiteral("660"), QStringLiteral("10")});
}

void scheduleScreenshotFromEnvironment(ApplicationShell &shell)
{
    const QString path = qEnvironmentVariable("KESTRAVO_SCREENSHOT");
    if (path.isEmpty())
        return;
    const bool quitAfter = qEnvironmentVariable("KESTRAVO_SCREENSHOT_QUIT") == QLatin1String("1");
    QObject *root = shell.root();
    QTimer::singleShot(1500, root, [root, path, quitAfter]() {
        auto *window = qobject_cast<QQuickWindow *>(root);
        const QImage image = window ? window->grabWindow() : QImage();
        if (!image.isNull() && image.save(path, "PNG"))
            fprintf(stdout, "Screenshot of the main window: %s\n", qPrintable(path));
        else
            fprintf(stderr, "kestravo: could not write the screenshot %s (%s)\n", qPrintable(path),
                    image.isNull() ? "the window gave no picture" : "the file could not be written");
        fflush(stdout);
        if (quitAfter)
            QMetaObject::invokeMethod(root, "quitProgram");
    });
}

} // namespace StartupEnvironment

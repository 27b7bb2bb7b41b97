#pragma once

#include <QString>
#include <QStringList>

class ApplicationShell;

// The start-up steps that prepare the process before the application object
// exists: working directory, environment variables, locale, start-up settings
// and the camera driver quirks.
namespace StartupEnvironment {

struct StartupSettings
{
    bool softwareRendering = false;
    bool cameraHighRes = false;
    bool cameraUseQuirks = false;
};

// "<home>/Desktop/" when it exists, otherwise the home folder; made current.
QString enterWorkingDirectory(const QString &home);

// QT_OPENGL_NO_SANITY_CHECK, vblank_mode and the numeric locale.
void prepareEnvironment();

// The settings store beside the program file named by argv[0].
QString settingsPathForProgram(const QString &argv0);
StartupSettings readStartupSettings(const QString &settingsPath);

// LIBGL_ALWAYS_SOFTWARE set or removed as the setting asks.
void applySoftwareRendering(bool softwareRendering);

// Finds a system tool in the fixed system folders (never through PATH).
QString systemTool(const QString &name);

// Runs a program with an argument list, no shell; waits for it; returns its
// exit status or -1 when it could not be run.
int runProgram(const QString &program, const QStringList &arguments);

// Reloads the UVC camera driver with quirks (needs root rights).
void reloadCameraDriverWithQuirks();

// Keyboard auto-repeat of the X display: 660 ms delay, 10 per second.
void setKeyboardRepeat();

// For runs without a display: when KESTRAVO_SCREENSHOT names a file, the main
// window is written there as PNG shortly after start-up and the path printed;
// with KESTRAVO_SCREENSHOT_QUIT=1 the program then quits through its own quit
// action (settings are saved as on a normal quit).
void scheduleScreenshotFromEnvironment(ApplicationShell &shell);

} // namespace StartupEnvironment

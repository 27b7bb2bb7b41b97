#pragma once

#include <QString>

class QCoreApplication;

// Shared start of the emulator programs: prints the pseudo-terminal's path
// and, with --link PATH, makes PATH a symbolic link to it (an existing link
// there is replaced, any other file is left alone).
namespace EmulatorMain {

bool publish(const QString &ptyPath, const QString &linkPath);
void removeLink(const QString &linkPath, const QString &ptyPath);
// Ends the event loop on SIGINT and SIGTERM.
void quitOnSignals(QCoreApplication &app);

} // namespace EmulatorMain

#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A private copy of the simulated machine configuration of sim/linuxcnc, and
// helpers that look at and drive the running LinuxCNC from outside.
class SimMachine
{
public:
    SimMachine();
    bool isValid() const { return m_ok; }
    QString iniPath() const;
    QString dir() const { return m_dir.path(); }

    // Runs halcmd with the arguments; its output.
    static QString halcmd(const QStringList &args, int *exitCode = nullptr);
    // Process ids of LinuxCNC's programs that still run.
    static QStringList linuxCncProcesses();

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

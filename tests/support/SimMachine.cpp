#include "SimMachine.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

SimMachine::SimMachine()
{
    if (!m_dir.isValid())
        return;
    const QDir source(QStringLiteral(KESTRAVO_SIM_DIR));
    m_ok = true;
    for (const QString &name : source.entryList(QDir::Files))
        m_ok = m_ok && QFile::copy(source.filePath(name), m_dir.filePath(name));
    // LinuxCNC writes its parameter file beside the ini; as root the
    // realtime part runs as the operator.
    if (::geteuid() == 0) {
        m_ok = m_ok && ::chown(QFile::encodeName(m_dir.path()).constData(), 1000, 1000) == 0;
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                | QFile::ReadOther | QFile::ExeOther | QFile::WriteOther);
    }
}

QString SimMachine::iniPath() const
{
    return m_dir.filePath(QStringLiteral("kestravo_sim.ini"));
}

QString SimMachine::halcmd(const QStringList &args, int *exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("halcmd"), args);
    p.waitForFinished(5000);
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromLocal8Bit(p.readAll()).trimmed();
}

QStringList SimMachine::linuxCncProcesses()
{
    QStringList found;
    for (const QString &name : {QStringLiteral("linuxcnc"), QStringLiteral("linuxcncrsh"), QStringLiteral("milltask"),
                                QStringLiteral("linuxcncsvr"), QStringLiteral("rtapi_app"), QStringLiteral("io")}) {
        QProcess p;
        p.start(QStringLiteral("pgrep"), {QStringLiteral("-x"), name});
        p.waitForFinished(3000);
        const QString out = QString::fromLocal8Bit(p.readAll()).trimmed();
        if (!out.isEmpty())
            found << name + QLatin1Char(':') + out.split(QLatin1Char('\n')).join(QLatin1Char(','));
    }
    return found;
}

#include "devices/HalCommands.h"

#include "devices/SoftwarePwm.h"

#include <QDebug>
#include <QProcess>

#include <algorithm>

namespace HalCommands {

QString dutyFraction(int dutyPercent)
{
    return QString::number(std::clamp(dutyPercent, 0, 100) / 100.0, 'g', 6);
}

QList<QStringList> hardwarePwmStart(const QString &mesaType, int frequency, int dutyPercent)
{
    const QString generator = QStringLiteral("hm2_%1.0.pwmgen.").arg(mesaType);
    return {
        {QStringLiteral("setp"), generator + QStringLiteral("pwm_frequency"),
         QString::number(SoftwarePwm::usableFrequency(frequency))},
        {QStringLiteral("setp"), generator + QStringLiteral("00.value"), dutyFraction(dutyPercent)},
        {QStringLiteral("sets"), QStringLiteral("vibro-enable"), QStringLiteral("true")},
    };
}

QList<QStringList> hardwarePwmStop()
{
    return {{QStringLiteral("sets"), QStringLiteral("vibro-enable"), QStringLiteral("false")}};
}

QStringList blowWidth(double seconds)
{
    return {QStringLiteral("setp"), QStringLiteral("oneshot-blow.width"),
            QString::number(std::max(0.0, seconds), 'g', 6)};
}

} // namespace HalCommands

HalCmdRunner::HalCmdRunner(QString program)
    : m_program(std::move(program))
{
}

bool HalCmdRunner::run(const QStringList &arguments) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(m_program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(5000)) {
        qWarning().noquote() << "halcmd could not be started:" << process.errorString();
        return false;
    }
    if (!process.waitForFinished(10000)) {
        qWarning().noquote() << "halcmd did not finish:" << arguments.join(' ');
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok)
        qWarning().noquote() << "halcmd failed:" << arguments.join(' ') << "code" << process.exitCode();
    return ok;
}

int HalCmdRunner::run(const QList<QStringList> &commands) const
{
    int succeeded = 0;
    for (const QStringList &arguments : commands)
        succeeded += run(arguments) ? 1 : 0;
    return succeeded;
}

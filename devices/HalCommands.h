#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// halcmd argument lists for the vibration feeders' hardware PWM and the
// blow-off one-shot, and a runner that executes them.
namespace HalCommands {

// Duty cycle as a fraction in shortest form ("0.35"), clamped to 0..1.
QString dutyFraction(int dutyPercent);
// Sets the frequency and duty of the card's PWM generator and enables it.
QList<QStringList> hardwarePwmStart(const QString &mesaType, int frequency, int dutyPercent);
QList<QStringList> hardwarePwmStop();
// The width in seconds of the blow-off pulse.
QStringList blowWidth(double seconds);

} // namespace HalCommands

// Runs halcmd with argument lists (never through a shell). The program is
// "halcmd" from PATH unless another path is given.
class HalCmdRunner
{
public:
    explicit HalCmdRunner(QString program = QStringLiteral("halcmd"));
    void setProgram(const QString &program) { m_program = program; }
    QString program() const { return m_program; }

    // Runs each command in turn; returns how many ran with exit code 0.
    int run(const QList<QStringList> &commands) const;
    bool run(const QStringList &arguments) const;

private:
    QString m_program;
};

#pragma once

#include <QProcess>
#include <QStringList>

// A long-lived halcmd reading commands from its standard input, so that HAL
// values are read and set without starting a process each time. Every request
// waits for its own answer. Commands are built by the program from fixed pin
// names and numbers; a command with a line break is refused.
class HalShell
{
public:
    explicit HalShell(QString program = QStringLiteral("halcmd"));
    ~HalShell();

    bool start();
    void stop();
    bool isRunning() const;

    // Runs the commands in order; `answers` gets the output lines they
    // produced (errors included). False when halcmd did not answer in time.
    bool run(const QStringList &commands, QStringList *answers = nullptr, int timeoutMs = 1000);

    // Reads pins with getp: one entry per pin, empty when the pin is missing.
    bool read(const QStringList &pins, QStringList &values, int timeoutMs = 1000);

    // Value of a getp/gets answer as a number (TRUE/FALSE as 1/0).
    static bool toNumber(const QString &answer, double *value);

private:
    QString m_program;
    QProcess m_process;
    QByteArray m_buffer;
    unsigned m_sync = 0;
};

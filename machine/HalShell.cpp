#include "machine/HalShell.h"

#include <QElapsedTimer>

HalShell::HalShell(QString program)
    : m_program(std::move(program))
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

HalShell::~HalShell()
{
    stop();
}

bool HalShell::start()
{
    if (isRunning())
        return true;
    m_buffer.clear();
    // -k: keep going after a failed command; -s: plain values; -f: commands
    // from standard input.
    m_process.start(m_program, {QStringLiteral("-k"), QStringLiteral("-s"), QStringLiteral("-f")});
    if (!m_process.waitForStarted(5000))
        return false;
    // halcmd attaches to HAL before reading; a first round trip proves it.
    return run({});
}

void HalShell::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(1000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

bool HalShell::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

bool HalShell::run(const QStringList &commands, QStringList *answers, int timeoutMs)
{
    if (!isRunning())
        return false;
    QByteArray request;
    for (const QString &c : commands) {
        if (c.contains(QLatin1Char('\n')) || c.contains(QLatin1Char('\r')))
            return false;
        request += c.toLocal8Bit() + '\n';
    }
    // A signal that never exists: its error line marks the end of the answers.
    const QByteArray marker = "kestravo-sync-" + QByteArray::number(++m_sync);
    request += "gets " + marker + '\n';
    m_process.write(request);

    QElapsedTimer clock;
    clock.start();
    for (;;) {
        m_buffer += m_process.readAll();
        int end = m_buffer.indexOf(marker);
        if (end >= 0) {
            int lineEnd = m_buffer.indexOf('\n', end);
            if (lineEnd >= 0) {
                const QByteArray text = m_buffer.left(end);
                m_buffer.remove(0, lineEnd + 1);
                if (answers) {
                    answers->clear();
                    QList<QByteArray> lines = text.split('\n');
                    lines.removeLast(); // the start of the marker line
                    for (const QByteArray &l : lines)
                        answers->append(QString::fromLocal8Bit(l).trimmed());
                }
                return true;
            }
        }
        const int left = timeoutMs - int(clock.elapsed());
        if (left <= 0 || !isRunning())
            return false;
        m_process.waitForReadyRead(left);
    }
}

bool HalShell::read(const QStringList &pins, QStringList &values, int timeoutMs)
{
    QStringList commands;
    for (const QString &p : pins)
        commands << QStringLiteral("getp ") + p;
    QStringList answers;
    values.clear();
    if (!run(commands, &answers, timeoutMs) || answers.size() != pins.size())
        return false;
    for (const QString &a : answers)
        values << (a.contains(QLatin1String("not found")) ? QString() : a);
    return true;
}

bool HalShell::toNumber(const QString &answer, double *value)
{
    if (answer == QLatin1String("TRUE")) {
        *value = 1.0;
        return true;
    }
    if (answer == QLatin1String("FALSE")) {
        *value = 0.0;
        return true;
    }
    bool ok = false;
    const double v = answer.toDouble(&ok);
    if (ok)
        *value = v;
    return ok;
}

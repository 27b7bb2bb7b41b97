#pragma once

#include <QString>
#include <QStringList>

// The start-up dialogue with LinuxCNC's remote shell (port 5007), driven by the
// lines a telnet client would print: "Connected to localhost.",
// "Unable to connect to remote host: Connection refused",
// "Connection closed by foreign host" and the shell's own answers.
class ShellDialogue
{
public:
    enum State { Idle = 0, Connecting = 1, Greeted = 2, Acknowledged = 3, Configured = 4 };
    enum class Event {
        None,
        Retry,        // connect again in a second
        Connected,    // greeting sent: open the NML channels now
        Configured,   // the shell is set up: apply the feed override
        RefusedTooOften,
        HelloFailed,
        Closed,
    };

    static constexpr int kMaxRefusals = 20;

    // A new start: counts refusals from zero.
    void begin();
    void reset() { m_state = Idle; }
    // One line from the shell; `out` gets the lines to write back.
    Event feed(const QString &line, QStringList &out);
    // The channel set-up after the greeting failed.
    void channelsFailed() { m_state = Idle; }

    State state() const { return m_state; }
    int refusals() const { return m_refusals; }

private:
    State m_state = Idle;
    int m_refusals = 0;
};

#pragma once

#include "devices/emulators/PtyEndpoint.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

// Faults the RLC meter emulator can show.
enum class RlcEmulatorFault {
    None,
    Silent,        // never answers
    Garbage,       // answers readings with a long run of bytes without a line end
    SplitReply,    // each line in three pieces, 40 ms apart
    Busy,          // every reading is 80000 (range not settled)
    BusyThenValue, // the first busyReadings readings of each request are 80000
    OverRange,     // every reading is 90000
    SetupRefused,  // refuses every set-up command
    StuckInSetup,  // starts in set-up mode, ignores "A" until it is left
    Unplug,        // unplugged at the first reading request
    ShortLine,     // reading lines one character short
    BadDigits,     // letters in the value field
};

// An RLC meter on a pseudo-terminal, speaking the meter's command set:
// "A" remote mode, "S" set-up mode, "[E...]" set-up command, "[BXXXXXX]"
// leave set-up, "N" one reading (a 37-character line).
//
// On the simulated machine it reads the nozzle state file that the program
// writes (NozzleStateFile) at every reading request: while the nozzle holds
// a part with a value, the reading is that value in the part's mode (at the
// frequency of the last set-up, 1 kHz before any), over range when it does
// not fit the meter's largest range. Otherwise, and without a state file,
// it answers the set reading.
class RlcEmulator : public QObject
{
    Q_OBJECT
public:
    explicit RlcEmulator(RlcEmulatorFault fault = RlcEmulatorFault::None, QObject *parent = nullptr);

    static bool faultFromName(const QString &name, RlcEmulatorFault *fault);
    static QStringList faultNames();
    // The reading line for mode, frequency letter, 5-digit value and exponent.
    static QByteArray readingLine(char mode, char freq, int value, int exponent);
    // The 5-digit reading and exponent that give `value` (ohm, henry, farad)
    // for mode 'R', 'L' or 'C' at frequency letter `freq` with the most
    // digits; false when it is above the largest range or not a finite
    // number from 0.
    static bool readingFor(char mode, char freq, double value, int *reading, int *exponent);

    bool isValid() const { return m_pty.isValid(); }
    QString portName() const { return m_pty.slavePath(); }
    void setFault(RlcEmulatorFault fault) { m_fault = fault; }
    void setReading(char mode, char freq, int value, int exponent);
    void setBusyReadings(int count) { m_busyReadings = count; }
    void setNozzleStateFile(const QString &path) { m_stateFile = path; }

    // What the program sent, command by command ("A", "S", "[ERRPBM1]", "N").
    QStringList commands() const { return m_commands; }
    void clearCommands() { m_commands.clear(); }
    QString lastSetup() const { return m_lastSetup; }
    bool isRemote() const { return m_remote; }

private:
    void onBytes(const QByteArray &bytes);
    void command(const QString &text);
    void reply(const QByteArray &line);
    // The reading of the part on the nozzle; false when there is none.
    bool heldPartReading(char *mode, int *value, int *exponent) const;
    char setupFrequency() const;

    PtyEndpoint m_pty;
    RlcEmulatorFault m_fault;
    QByteArray m_input;
    QStringList m_commands;
    QString m_lastSetup;
    bool m_remote = false;
    bool m_inSetup = false;
    char m_mode = 'R', m_freq = 'A';
    int m_value = 10000, m_exponent = 3;
    int m_busyReadings = 2;
    int m_busySent = 0;
    QString m_stateFile;
};

Q_DECLARE_METATYPE(RlcEmulatorFault)

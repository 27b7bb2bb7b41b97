#pragma once

#include "devices/emulators/PtyEndpoint.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

// Faults the vacuum sensor emulator can show.
enum class VsEmulatorFault {
    None,
    Silent,       // never answers
    Garbage,      // answers with a long run of bytes without a line end
    NoReading,    // answers "PS:" lines without a pressure
    BadDigits,    // "P.kPa": a reading whose digits form no number
    Comma,        // decimal comma: P12,34kPa
    SplitReply,   // each answer in three pieces, 30 ms apart
    DoubleReply,  // two answer lines to one request
    Late,         // answers lateMs (2300 ms unless set) after the request
    Unplug,       // unplugged at the request after the first three answers
};

// A vacuum sensor on a pseudo-terminal: answers each request "M" LF with a
// line such as "PS:1 P12.34kPa T24C" CR LF.
//
// On the simulated machine it reads the nozzle state file that the program
// writes (NozzleStateFile) at every request: with the valve off the nozzle
// sees the air (kValveOffKPa), with the valve on and no part the air flows
// through the open nozzle (kOpenNozzleKPa), and a held part closes it (the
// set pressures). Without a state file it always answers the set pressures.
class VsEmulator : public QObject
{
    Q_OBJECT
public:
    explicit VsEmulator(VsEmulatorFault fault = VsEmulatorFault::None, QObject *parent = nullptr);

    static bool faultFromName(const QString &name, VsEmulatorFault *fault);
    static QStringList faultNames();

    bool isValid() const { return m_pty.isValid(); }
    QString portName() const { return m_pty.slavePath(); }
    void setFault(VsEmulatorFault fault) { m_fault = fault; }
    // Pressures of the following answers, in turn; the last one repeats.
    void setPressures(const QList<double> &kPa) { m_pressures = kPa; }
    int requestCount() const { return m_requests; }
    void setLateMs(int msecs) { m_lateMs = msecs; }
    void setNozzleStateFile(const QString &path) { m_stateFile = path; }

    static constexpr double kValveOffKPa = 0.2;
    static constexpr double kOpenNozzleKPa = 3.5;

private:
    void onBytes(const QByteArray &bytes);
    void answer();
    QByteArray readingLine();

    PtyEndpoint m_pty;
    VsEmulatorFault m_fault;
    QList<double> m_pressures{25.0};
    QString m_stateFile;
    QByteArray m_input;
    int m_requests = 0;
    int m_answers = 0;
    int m_lateMs = 2300;
};

Q_DECLARE_METATYPE(VsEmulatorFault)

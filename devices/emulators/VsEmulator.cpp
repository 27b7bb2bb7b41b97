#include "devices/emulators/VsEmulator.h"

#include "util/NozzleStateFile.h"

namespace {
const struct { const char *name; VsEmulatorFault fault; } faultTable[] = {
    {"none", VsEmulatorFault::None},
    {"silent", VsEmulatorFault::Silent},
    {"garbage", VsEmulatorFault::Garbage},
    {"no-reading", VsEmulatorFault::NoReading},
    {"bad-digits", VsEmulatorFault::BadDigits},
    {"comma", VsEmulatorFault::Comma},
    {"split-reply", VsEmulatorFault::SplitReply},
    {"double-reply", VsEmulatorFault::DoubleReply},
    {"late", VsEmulatorFault::Late},
    {"unplug", VsEmulatorFault::Unplug},
};
}

VsEmulator::VsEmulator(VsEmulatorFault fault, QObject *parent)
    : QObject(parent)
    , m_pty(this)
    , m_fault(fault)
{
    connect(&m_pty, &PtyEndpoint::received, this, &VsEmulator::onBytes);
}

bool VsEmulator::faultFromName(const QString &name, VsEmulatorFault *fault)
{
    for (const auto &entry : faultTable) {
        if (name == QLatin1String(entry.name)) {
            *fault = entry.fault;
            return true;
        }
    }
    return false;
}

QStringList VsEmulator::faultNames()
{
    QStringList names;
    for (const auto &entry : faultTable)
        names.append(QString::fromLatin1(entry.name));
    return names;
}

void VsEmulator::onBytes(const QByteArray &bytes)
{
    m_input += bytes;
    int end;
    while ((end = m_input.indexOf('\n')) >= 0) {
        const QByteArray request = m_input.left(end).trimmed();
        m_input.remove(0, end + 1);
        if (request == "M") {
            ++m_requests;
            answer();
        }
    }
}

QByteArray VsEmulator::readingLine()
{
    double kPa = m_pressures.isEmpty() ? 0.0
                 : m_pressures.size() == 1 ? m_pressures.first() : m_pressures.takeFirst();
    if (!m_stateFile.isEmpty()) {
        NozzleStateFile::State nozzle;
        NozzleStateFile::read(m_stateFile, &nozzle);
        if (!nozzle.valve)
            kPa = kValveOffKPa;
        else if (!nozzle.part)
            kPa = kOpenNozzleKPa;
    }
    QByteArray value = QByteArray::number(kPa, 'f', 2);
    if (m_fault == VsEmulatorFault::Comma)
        value.replace('.', ',');
    return "PS:1 P" + value + "kPa T24C\r\n";
}

void VsEmulator::answer()
{
    switch (m_fault) {
    case VsEmulatorFault::Silent:
        return;
    case VsEmulatorFault::Garbage:
        m_pty.send(QByteArray(300, '\x7f'));
        return;
    case VsEmulatorFault::NoReading:
        m_pty.send("PS:1 SENSOR FAULT\r\n");
        return;
    case VsEmulatorFault::BadDigits:
        m_pty.send("PS:1 P.kPa T24C\r\n");
        return;
    case VsEmulatorFault::SplitReply:
        m_pty.send(readingLine(), 3, 30);
        return;
    case VsEmulatorFault::DoubleReply: {
        const QByteArray first = readingLine();
        m_pty.send(first + "PS:1 P99.00kPa T24C\r\n");
        return;
    }
    case VsEmulatorFault::Late:
        m_pty.sendLater(readingLine(), m_lateMs);
        return;
    case VsEmulatorFault::Unplug:
        if (m_answers >= 3) {
            m_pty.unplug();
            return;
        }
        break;
    case VsEmulatorFault::None:
    case VsEmulatorFault::Comma:
        break;
    }
    ++m_answers;
    m_pty.send(readingLine());
}

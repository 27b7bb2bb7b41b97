#include "devices/emulators/RlcEmulator.h"

#include "util/NozzleStateFile.h"

#include <cmath>

namespace {
const struct { const char *name; RlcEmulatorFault fault; } faultTable[] = {
    {"none", RlcEmulatorFault::None},
    {"silent", RlcEmulatorFault::Silent},
    {"garbage", RlcEmulatorFault::Garbage},
    {"split-reply", RlcEmulatorFault::SplitReply},
    {"busy", RlcEmulatorFault::Busy},
    {"busy-then-value", RlcEmulatorFault::BusyThenValue},
    {"over-range", RlcEmulatorFault::OverRange},
    {"setup-refused", RlcEmulatorFault::SetupRefused},
    {"stuck-in-setup", RlcEmulatorFault::StuckInSetup},
    {"unplug", RlcEmulatorFault::Unplug},
    {"short-line", RlcEmulatorFault::ShortLine},
    {"bad-digits", RlcEmulatorFault::BadDigits},
};
}

RlcEmulator::RlcEmulator(RlcEmulatorFault fault, QObject *parent)
    : QObject(parent)
    , m_pty(this)
    , m_fault(fault)
{
    m_inSetup = fault == RlcEmulatorFault::StuckInSetup;
    connect(&m_pty, &PtyEndpoint::received, this, &RlcEmulator::onBytes);
}

bool RlcEmulator::faultFromName(const QString &name, RlcEmulatorFault *fault)
{
    for (const auto &entry : faultTable) {
        if (name == QLatin1String(entry.name)) {
            *fault = entry.fault;
            return true;
        }
    }
    return false;
}

QStringList RlcEmulator::faultNames()
{
    QStringList names;
    for (const auto &entry : faultTable)
        names.append(QString::fromLatin1(entry.name));
    return names;
}

QByteArray RlcEmulator::readingLine(char mode, char freq, int value, int exponent)
{
    // Mode, frequency, value and exponent, then the fields this program
    // does not read (secondary value, its exponent, flags).
    QByteArray line;
    line += mode;
    line += ' ';
    line += freq;
    line += "  ";
    line += QByteArray::number(value).rightJustified(5, '0');
    line += char('0' + exponent);
    line += " S  D 00123 4 Q 0081 OK  ";
    return line.leftJustified(37, ' ', true);
}

bool RlcEmulator::readingFor(char mode, char freq, double value, int *reading, int *exponent)
{
    // One count of the reading at exponent 0, in base units (the meter's
    // decoding, the other way round).
    double unit = 0;
    if (mode == 'R')
        unit = 1e-3;
    else if (mode == 'L')
        unit = freq == 'A' ? 1e-7 : 1e-6;
    else if (mode == 'C')
        unit = freq == 'A' ? 1e-13 : 1e-12;
    if (unit == 0 || !std::isfinite(value) || value < 0)
        return false;
    for (int e = 0; e <= 6; ++e) {
        const double r = std::round(value / (unit * std::pow(10.0, e)));
        if (r < 80000) {
            *reading = int(r);
            *exponent = e;
            return true;
        }
    }
    return false;
}

char RlcEmulator::setupFrequency() const
{
    // "[E" + mode (two letters) + circuit + frequency + range + "]".
    if (m_lastSetup.size() > 5 && (m_lastSetup.at(5) == QLatin1Char('A') || m_lastSetup.at(5) == QLatin1Char('B')))
        return m_lastSetup.at(5).toLatin1();
    return 'A';
}

bool RlcEmulator::heldPartReading(char *mode, int *value, int *exponent) const
{
    if (m_stateFile.isEmpty())
        return false;
    NozzleStateFile::State state;
    if (!NozzleStateFile::read(m_stateFile, &state) || !state.part || !state.rlcMode)
        return false;
    *mode = state.rlcMode;
    if (!readingFor(state.rlcMode, setupFrequency(), state.rlcValue, value, exponent)) {
        *value = 90000;
        *exponent = 0;
    }
    return true;
}

void RlcEmulator::setReading(char mode, char freq, int value, int exponent)
{
    m_mode = mode;
    m_freq = freq;
    m_value = value;
    m_exponent = exponent;
}

void RlcEmulator::onBytes(const QByteArray &bytes)
{
    m_input += bytes;
    while (!m_input.isEmpty()) {
        if (m_input.startsWith('[')) {
            const int end = m_input.indexOf(']');
            if (end < 0)
                return;   // the rest of the bracket is still on its way
            const QString text = QString::fromLatin1(m_input.left(end + 1));
            m_input.remove(0, end + 1);
            command(text);
        } else {
            const QString text = QString(QChar(m_input.at(0)));
            m_input.remove(0, 1);
            if (text.trimmed().isEmpty())
                continue;
            command(text);
        }
    }
}

void RlcEmulator::reply(const QByteArray &line)
{
    if (m_fault == RlcEmulatorFault::Silent)
        return;
    if (m_fault == RlcEmulatorFault::SplitReply)
        m_pty.send(line + "\r\n", 3, 40);
    else
        m_pty.send(line + "\r\n");
}

void RlcEmulator::command(const QString &text)
{
    m_commands.append(text);
    if (text == "A") {
        if (m_inSetup)
            return;
        m_remote = true;
        m_busySent = 0;
        reply("REMOTE READY.");
    } else if (text == "[BXXXXXX]") {
        m_inSetup = false;
        reply("SETUP EXIT.");
    } else if (text == "S") {
        if (!m_remote)
            return;
        m_inSetup = true;
        reply("SETUP READY.");
    } else if (text.startsWith("[E")) {
        if (!m_inSetup)
            return;
        if (m_fault == RlcEmulatorFault::SetupRefused) {
            reply(text.toLatin1() + " ERROR.");
            return;
        }
        m_lastSetup = text;
        m_inSetup = false;
        reply("SETUP EXIT.");
    } else if (text == "N") {
        if (!m_remote || m_inSetup)
            return;
        char mode = m_mode, freq = m_freq;
        int value = m_value, exponent = m_exponent;
        if (heldPartReading(&mode, &value, &exponent))
            freq = setupFrequency();
        switch (m_fault) {
        case RlcEmulatorFault::Unplug:
            m_pty.unplug();
            return;
        case RlcEmulatorFault::Garbage:
            m_pty.send(QByteArray(300, 'Z'));
            return;
        case RlcEmulatorFault::Busy:
            reply(readingLine(mode, freq, 80000, 0));
            return;
        case RlcEmulatorFault::BusyThenValue:
            if (m_busySent < m_busyReadings) {
                ++m_busySent;
                reply(readingLine(mode, freq, 80000, 0));
                return;
            }
            m_busySent = 0;
            break;
        case RlcEmulatorFault::OverRange:
            reply(readingLine(mode, freq, 90000, 0));
            return;
        case RlcEmulatorFault::ShortLine:
            reply(readingLine(mode, freq, value, exponent).left(36));
            return;
        case RlcEmulatorFault::BadDigits: {
            QByteArray line = readingLine(mode, freq, value, exponent);
            line.replace(5, 5, "12O45");
            reply(line);
            return;
        }
        default:
            break;
        }
        reply(readingLine(mode, freq, value, exponent));
    }
}

#include "devices/RlcProtocol.h"

#include <cmath>

namespace RlcProtocol {

const char remoteCommand[] = "A";
const char leaveSetupCommand[] = "[BXXXXXX]";
const char setupCommand[] = "S";
const char readCommand[] = "N";

char modeFromType(const QString &type)
{
    if (type.isEmpty())
        return 0;
    switch (type.at(0).toLatin1()) {
    case '1': case 'L': return 'L';
    case '2': case 'C': return 'C';
    case '0': case 'R': return 'R';
    default: return 0;
    }
}

int rangeDigit(char mode, double v)
{
    // Upper limits of the ranges 0..5; a value beyond them takes range 6.
    static const double r[] = {20, 200, 2000, 20000, 200000, 2000000};
    static const double l[] = {0.002, 0.02, 0.2, 2, -1, 200};   // range 4 is not used
    static const double c[] = {2e-9, 2e-8, 2e-6, 2e-5, 2e-4, 0.002};
    const double *limits = mode == 'R' ? r : mode == 'L' ? l : mode == 'C' ? c : nullptr;
    if (!limits)
        return 0;
    for (int digit = 0; digit < 6; ++digit) {
        if (v < limits[digit])
            return digit;
    }
    return 6;
}

QString setupForValue(char mode, double value)
{
    const int digit = rangeDigit(mode, value);
    switch (mode) {
    case 'R':
        return QStringLiteral("[ERRPBM%1]").arg(digit);
    case 'L':
        return QStringLiteral("[ELR") + (value >= 20 ? "PB" : "SA") + QStringLiteral("M%1]").arg(digit);
    case 'C':
        return QStringLiteral("[ECR") + (value > 2e-7 ? "PB" : "SA") + QStringLiteral("M%1]").arg(digit);
    default:
        return QString();
    }
}

QString setupForParameters(char mode, bool freqLow, bool parallel)
{
    QString command;
    if (mode == 'L' || mode == 'C' || mode == 'R')
        command = QStringLiteral("[E") + QChar(mode) + QChar('R');
    command += parallel ? "P" : "S";
    command += freqLow ? "B" : "A";
    command += "A0]";
    return command;
}

namespace {

// Divisor, decimals and unit of the display text for each exponent.
struct TextStep { double divisor; int decimals; const char *unit; };

const TextStep lHigh[7] = {{1e-6, 1, "μH"}, {1e-3, 3, "mH"}, {1e-3, 2, "mH"}, {1e-3, 1, "mH"},
                           {1, 3, "H"}, {1, 2, "H"}, {1, 1, "H"}};
const TextStep lLow[7] = {{1e-3, 3, "mH"}, {1e-3, 2, "mH"}, {1e-3, 1, "mH"}, {1, 3, "H"},
                          {1, 2, "H"}, {1, 1, "H"}, {1, 0, "H"}};
const TextStep rAny[7] = {{1, 3, "Ω"}, {1, 2, "Ω"}, {1, 1, "Ω"}, {1e3, 3, "kΩ"},
                          {1e3, 2, "kΩ"}, {1e3, 1, "kΩ"}, {1e6, 3, "MΩ"}};
const TextStep cHigh[7] = {{1e-12, 1, "pF"}, {1e-9, 3, "nF"}, {1e-9, 2, "nF"}, {1e-9, 1, "nF"},
                           {1e-6, 3, "μF"}, {1e-6, 2, "μF"}, {1e-6, 1, "μF"}};
const TextStep cLow[7] = {{1e-9, 3, "nF"}, {1e-9, 2, "nF"}, {1e-9, 1, "nF"}, {1e-6, 3, "μF"},
                          {1e-6, 2, "μF"}, {1e-6, 1, "μF"}, {1e-3, 3, "mF"}};

bool allDigits(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return false;
    for (const char c : bytes) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

Reading decode(const QByteArray &line)
{
    Reading reading;
    if (line.size() != readingLength)
        return reading;
    const QByteArray digits = line.mid(5, 5);
    const QByteArray exponent = line.mid(10, 1);
    if (!allDigits(digits) || !allDigits(exponent))
        return reading;
    const int r = digits.toInt();
    const int e = exponent.toInt();
    const char mode = line.at(0);
    if (mode != 'L' && mode != 'C' && mode != 'R')
        return reading;
    reading.mode = mode;
    if (r == busyReading) {
        reading.kind = Reading::Busy;
        return reading;
    }
    if (r == overRangeReading) {
        reading.kind = Reading::OverRange;
        return reading;
    }
    const bool freqHigh = line.at(2) == 'A';
    const double scale = std::pow(10.0, e);
    const TextStep *steps = nullptr;
    switch (mode) {
    case 'L':
        reading.value = scale * r / (freqHigh ? 1e7 : 1e6);
        steps = freqHigh ? lHigh : lLow;
        break;
    case 'C':
        reading.value = scale * r / (freqHigh ? 1e13 : 1e12);
        steps = freqHigh ? cHigh : cLow;
        break;
    default:
        reading.value = r * scale / 1000;
        steps = rAny;
        break;
    }
    if (e <= 6) {
        const TextStep &step = steps[e];
        reading.text = QString::number(reading.value / step.divisor, 'f', step.decimals)
                       + QString::fromUtf8(step.unit);
    }
    reading.kind = Reading::Value;
    return reading;
}

} // namespace RlcProtocol

#pragma once

#include <QByteArray>
#include <QString>

// The RLC meter's command texts and the decoding of its 37-character reading
// lines.
namespace RlcProtocol {

constexpr int readingLength = 37;
constexpr int busyReading = 80000;
constexpr int overRangeReading = 90000;

extern const char remoteCommand[];     // "A"
extern const char leaveSetupCommand[]; // "[BXXXXXX]"
extern const char setupCommand[];      // "S"
extern const char readCommand[];       // "N"

// 'L', 'C', 'R' from the first character of a component type ("1"/"L",
// "2"/"C", "0"/"R"); 0 for anything else.
char modeFromType(const QString &type);
// The range digit 0..6 for an expected value in base units.
int rangeDigit(char mode, double value);
// "[ERRPBM1]" and the like for an expected value; empty without a mode.
QString setupForValue(char mode, double value);
// "[ECRPBA0]" and the like: automatic range with the given frequency and
// circuit. The mode may be 0 (then the mode prefix is left out).
QString setupForParameters(char mode, bool freqLow, bool parallel);

struct Reading
{
    enum Kind { Value, Busy, OverRange, Invalid };
    Kind kind = Invalid;
    char mode = 0;      // L, C or R
    double value = 0;   // base units: H, F, ohm
    QString text;       // "12.345kΩ"; empty for an exponent beyond 6
};

// Decodes one reading line (37 characters, CR LF removed). Digits that do
// not convert and unknown mode letters give Invalid.
Reading decode(const QByteArray &line);

} // namespace RlcProtocol

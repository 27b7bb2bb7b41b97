#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// The vacuum sensor's reply lines, the running mean of its readings and the
// clock that stamps them.
namespace VsProtocol {

extern const char request[];   // "M" LF

// True when the line is the sensor's answer at all (contains "PS:").
bool isSensorLine(const QByteArray &line);
// The pressure in kPa of a reading line; false when the line holds no
// reading or its digits do not form a number.
bool parsePressure(const QByteArray &line, double *kPa);

// Milliseconds of a clock that only moves forward (not the wall clock), so
// that the age of a reading does not jump at midnight or on a clock change.
qint64 clockMsecs();
// A reading stamped at msecs is fresh at now when it is at most 99 ms old.
bool isFresh(double msecs, qint64 now);

} // namespace VsProtocol

// The mean of the last five readings.
class VsAverage
{
public:
    static constexpr int depth = 5;

    double add(double reading);
    void clear() { m_readings.clear(); }
    int count() const { return m_readings.size(); }

private:
    QList<double> m_readings;
};

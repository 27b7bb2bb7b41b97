#include "devices/VsProtocol.h"

#include <QRegularExpression>

#include <chrono>

namespace VsProtocol {

const char request[] = "M\n";

bool isSensorLine(const QByteArray &line)
{
    return line.contains("PS:");
}

bool parsePressure(const QByteArray &line, double *kPa)
{
    if (!isSensorLine(line))
        return false;
    static const QRegularExpression pattern(QStringLiteral(" *P([0-9]*).([0-9]*)kPa"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(line));
    if (!match.hasMatch())
        return false;
    const QString whole = match.captured(1);
    const QString fraction = match.captured(2);
    if (whole.isEmpty() && fraction.isEmpty())
        return false;
    bool ok = false;
    const double value = (whole + QLatin1Char('.') + fraction).toDouble(&ok);
    if (!ok)
        return false;
    *kPa = value;
    return true;
}

qint64 clockMsecs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool isFresh(double msecs, qint64 now)
{
    const double age = double(now) - msecs;
    return age >= -99 && age <= 99;
}

} // namespace VsProtocol

double VsAverage::add(double reading)
{
    if (m_readings.size() >= depth)
        m_readings.removeFirst();
    m_readings.append(reading);
    double sum = 0;
    for (const double r : m_readings)
        sum += r;
    return sum / m_readings.size();
}

#pragma once

#include <QByteArray>
#include <QList>

// Splits a byte stream from a serial instrument into lines ending in CR LF.
// A line that grows past the limit without its CR LF is dropped whole, so a
// device that talks without line ends cannot grow the buffer without bound.
class LineFramer
{
public:
    static constexpr int defaultLimit = 256;

    explicit LineFramer(int limit = defaultLimit);

    // Appends bytes; returns the lines they complete, without CR LF.
    QList<QByteArray> feed(const QByteArray &bytes);
    // Forgets any partial line.
    void reset();
    // Lines dropped for being too long since the last reset.
    int overflowCount() const { return m_overflows; }

private:
    QByteArray m_line;
    int m_limit;
    int m_overflows = 0;
    bool m_skipping = false;
};

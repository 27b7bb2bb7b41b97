#include "devices/LineFramer.h"

LineFramer::LineFramer(int limit)
    : m_limit(limit)
{
}

QList<QByteArray> LineFramer::feed(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    for (const char c : bytes) {
        const bool lineEnd = c == '\n' && !m_line.isEmpty() && m_line.back() == '\r';
        if (lineEnd) {
            m_line.chop(1);
            if (!m_skipping)
                lines.append(m_line);
            m_line.clear();
            m_skipping = false;
            continue;
        }
        m_line.append(c);
        if (m_line.size() > m_limit + 1) {   // room for the CR of the line end
            // Keep only the last byte, which may be the CR of the line end.
            if (!m_skipping)
                ++m_overflows;
            m_skipping = true;
            m_line = m_line.right(1);
        }
    }
    return lines;
}

void LineFramer::reset()
{
    m_line.clear();
    m_skipping = false;
    m_overflows = 0;
}

#include "backend/BomList.h"

#include "backend/TextTable.h"

#include <algorithm>
#include <cmath>

namespace BomList {

QChar separatorOf(const QString &text)
{
    return text.size() == 1 ? text.at(0) : QLatin1Char('\t');
}

QVector<Line> read(const QString &text, const Settings &st)
{
    QVector<Line> out;
    const int needed = std::max(st.packCol, st.partNumberCol);
    if (needed < 0)
        return out;
    // Empty cells are kept so that the columns stay in place.
    for (const QString &raw : TextTable::lines(text)) {
        const QStringList f = TextTable::split(raw, st.separator);
        if (f.size() <= needed)
            continue;
        Line line;
        line.pack = f.at(st.packCol).trimmed();
        line.partNumber = f.at(st.partNumberCol).trimmed();
        if (st.designatorCol >= 0 && st.designatorCol < noColumn && st.designatorCol < f.size())
            line.designators = f.at(st.designatorCol).trimmed();
        if (st.countCol >= 0 && st.countCol < noColumn && st.countCol < f.size()) {
            QString count = f.at(st.countCol).trimmed();
            count.replace(QLatin1Char(','), QLatin1Char('.'));
            bool ok = false;
            const double v = count.toDouble(&ok);
            line.count = ok && std::isfinite(v) && std::fabs(v) < 2e9 ? int(v) : 0;
        }
        if (line.pack.isEmpty() && line.partNumber.isEmpty())
            continue;
        out.append(line);
    }
    if (st.countCol >= 0 && st.countCol < noColumn)
        std::stable_sort(out.begin(), out.end(), [](const Line &a, const Line &b) { return a.count > b.count; });
    return out;
}

} // namespace BomList

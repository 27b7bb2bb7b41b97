#include "backend/PlacementList.h"

#include "backend/TextTable.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace PlacementList {

QString Group::designators() const
{
    QStringList list;
    list.reserve(lines.size());
    for (const Line &l : lines)
        list.append(l.designator);
    return list.join(QStringLiteral(", "));
}

QChar separatorOf(const QString &text)
{
    return text.size() == 1 ? text.at(0) : QLatin1Char(' ');
}

bool isSide(const QString &field, int side)
{
    const QString s = field.trimmed().toLower();
    if (side == 0)
        return s == QLatin1String("t") || s == QLatin1String("top") || s == QLatin1String("toplayer")
            || s == QLatin1String("f.cu");
    return s == QLatin1String("b") || s == QLatin1String("bottom") || s == QLatin1String("bottomlayer")
        || s == QLatin1String("b.cu");
}

Result read(const QString &text, const Settings &st, const QVector<Feeder> &feeders)
{
    Result result;
    const bool commaIsPoint = st.separator != QLatin1Char(',');
    int needed = std::max({st.designatorCol, st.xCol, st.yCol, st.angleCol});
    if (st.packCol < noColumn)
        needed = std::max(needed, st.packCol);

    QHash<QString, int> groupOf;   // package + part number → group
    for (const QString &raw : TextTable::lines(text)) {
        const QStringList f = TextTable::split(raw, st.separator);
        if (f.size() <= needed || needed < 0)
            continue;
        Line line;
        if (!TextTable::toNumber(f.at(st.xCol), commaIsPoint, &line.x)
            || !TextTable::toNumber(f.at(st.yCol), commaIsPoint, &line.y)
            || !TextTable::toNumber(f.at(st.angleCol), commaIsPoint, &line.angle))
            continue;
        if (st.sideEnabled && (st.sideCol < 0 || st.sideCol >= f.size() || !isSide(f.at(st.sideCol), st.side)))
            continue;
        line.designator = f.at(st.designatorCol).trimmed();
        const QString pack = st.packCol < noColumn ? f.at(st.packCol).trimmed() : QString();
        const QString partNumber = st.partNumberCol >= 0 && st.partNumberCol < f.size()
            ? f.at(st.partNumberCol).trimmed() : QString();
        const QString comment = st.commentCol >= 0 && st.commentCol < noColumn && st.commentCol < f.size()
            ? f.at(st.commentCol).trimmed() : QString();

        const QString key = pack + QChar(1) + partNumber;
        auto it = groupOf.find(key);
        if (it == groupOf.end()) {
            Group g;
            g.pack = pack;
            g.partNumber = partNumber;
            g.comment = comment;
            result.groups.append(g);
            it = groupOf.insert(key, result.groups.size() - 1);
        }
        result.groups[it.value()].lines.append(line);
        ++result.accepted;
    }
    if (result.accepted == 0)
        return result;

    auto minima = [&result](double *minX, double *minY) {
        *minX = std::numeric_limits<double>::max();
        *minY = std::numeric_limits<double>::max();
        for (const Group &g : qAsConst(result.groups)) {
            for (const Line &l : g.lines) {
                *minX = std::min(*minX, l.x);
                *minY = std::min(*minY, l.y);
            }
        }
    };
    double minX = 0, minY = 0;
    if (st.side == 1) {
        minima(&minX, &minY);
        for (Group &g : result.groups) {
            for (Line &l : g.lines) {
                if (st.sideInverse == 0) {
                    l.x = minX - l.x;
                    l.angle = 180 - l.angle;
                } else {
                    l.y = minY - l.y;
                    l.angle = -l.angle;
                }
            }
        }
    }
    minima(&minX, &minY);
    for (Group &g : result.groups) {
        for (Line &l : g.lines) {
            l.x = l.x - minX + st.boardX1;
            l.y = l.y - minY + st.boardY1;
        }
    }

    // Feeders without a package hold nothing and match nothing.
    QVector<QPair<QString, QString>> keys;
    keys.reserve(feeders.size());
    for (const Feeder &f : feeders)
        keys.append({f.pack.toLower(), f.partNumber.toLower()});
    for (Group &g : result.groups) {
        const QString pack = g.pack.toLower();
        const QString part = g.partNumber.toLower();
        for (int i = 0; i < feeders.size(); ++i) {
            const Feeder &f = feeders.at(i);
            if (!f.pack.isEmpty() && keys.at(i).first == pack && keys.at(i).second == part) {
                g.model = f.bank;
                g.index = f.index;
                break;
            }
        }
    }
    std::stable_sort(result.groups.begin(), result.groups.end(),
                     [](const Group &a, const Group &b) { return a.lines.size() > b.lines.size(); });
    return result;
}

} // namespace PlacementList

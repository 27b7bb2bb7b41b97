// Worker: the orders of reference marks and placements that the job scripts
// ask for through the root properties "antSortData" and "nearestSortData".
#include "backend/PathOrdering.h"
#include "backend/SettingsStore.h"
#include "backend/Worker.h"

#include <QJSValue>
#include <QQmlEngine>

namespace {

// The list of a root property as script values, and their positions.
struct ScriptList
{
    QJSValue array;
    QVariantList plain;
    bool isScript = false;
    QVector<QPointF> points;
};

QPointF pointOf(const QJSValue &object)
{
    return QPointF(object.property(QStringLiteral("rX")).toNumber(), object.property(QStringLiteral("rY")).toNumber());
}

QPointF pointOf(const QVariant &entry)
{
    if (QObject *object = entry.value<QObject *>())
        return QPointF(object->property("rX").toDouble(), object->property("rY").toDouble());
    const QVariantMap map = entry.toMap();
    return QPointF(map.value(QStringLiteral("rX")).toDouble(), map.value(QStringLiteral("rY")).toDouble());
}

ScriptList readList(const QVariant &value)
{
    ScriptList list;
    if (value.userType() == qMetaTypeId<QJSValue>()) {
        list.isScript = true;
        list.array = value.value<QJSValue>();
        const int length = list.array.property(QStringLiteral("length")).toInt();
        for (int i = 0; i < length; ++i)
            list.points.append(pointOf(list.array.property(quint32(i))));
        return list;
    }
    list.plain = value.toList();
    for (const QVariant &entry : qAsConst(list.plain))
        list.points.append(pointOf(entry));
    return list;
}

PathOrdering::AxisLimits limitsOf(const QVariantList &velocities, const QVariantList &accelerations, int axis)
{
    PathOrdering::AxisLimits limits;
    if (axis < velocities.size())
        limits.velocity = velocities.at(axis).toDouble();
    if (axis < accelerations.size())
        limits.acceleration = accelerations.at(axis).toDouble();
    return limits;
}

} // namespace

// Writes the list in the new order back to the root property.
static void writeOrdered(Worker *worker, QQmlEngine *engine, const char *name, const ScriptList &list,
                         const QVector<int> &order)
{
    if (list.isScript) {
        if (!engine)
            return;
        QJSValue ordered = engine->newArray(uint(order.size()));
        for (int k = 0; k < order.size(); ++k)
            ordered.setProperty(quint32(k), list.array.property(quint32(order.at(k))));
        worker->root()->setProperty(name, QVariant::fromValue(ordered));
        return;
    }
    QVariantList ordered;
    for (int k : order)
        ordered.append(list.plain.at(k));
    worker->root()->setProperty(name, ordered);
}

void Worker::antSortGet()
{
    if (!m_root)
        return;
    const ScriptList list = readList(rootProperty("antSortData"));
    if (list.points.size() < 2)
        return;
    const PathOrdering::Result result = PathOrdering::antOrder(list.points);
    if (result.improved())
        writeOrdered(this, m_engine, "antSortData", list, result.order);
}

void Worker::nearestSortGet()
{
    if (!m_root)
        return;
    const ScriptList list = readList(rootProperty("nearestSortData"));
    if (list.points.size() < 2)
        return;
    const QVariantList velocities = SettingsStore::plain(rootProperty("maxVel")).toList();
    const QVariantList accelerations = SettingsStore::plain(rootProperty("maxAcc")).toList();
    const PathOrdering::Result result = PathOrdering::nearestOrder(
        list.points, limitsOf(velocities, accelerations, 0), limitsOf(velocities, accelerations, 1));
    if (result.improved())
        writeOrdered(this, m_engine, "nearestSortData", list, result.order);
}

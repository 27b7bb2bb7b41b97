// Worker: overlapping components of the open project.
#include "backend/Worker.h"

#include "backend/Overlaps.h"

namespace {

Overlaps::Footprint footprintOf(QObject *element)
{
    Overlaps::Footprint f;
    f.rX = element->property("rX").toDouble();
    f.rY = element->property("rY").toDouble();
    f.rot = element->property("rot").toDouble();
    f.w = element->property("elWidth").toDouble();
    f.h = element->property("elHeight").toDouble();
    f.deleted = element->property("deleted").toBool();
    return f;
}

void apply(const QList<QObject *> &elements, const QVector<bool> &before, const QVector<bool> &after)
{
    for (int i = 0; i < elements.size(); ++i) {
        if (before.at(i) != after.at(i))
            elements.at(i)->setProperty("overlap", after.at(i));
    }
}

} // namespace

void Worker::recalculateOverlaps(QVariant currElVar, bool repeat)
{
    QObject *element = currElVar.value<QObject *>();
    if (!element)
        return;
    const Overlaps::Footprint own = footprintOf(element);
    if (own.w == 0 || own.h == 0)
        return;
    const bool wasOverlapping = element->property("overlap").toBool();
    if (repeat && !wasOverlapping && !m_fullOverlapRun)
        return;

    const QList<QObject *> elements = rootObjectList("elementList");
    int changed = elements.indexOf(element);
    QVector<Overlaps::Footprint> footprints;
    QVector<bool> before;
    footprints.reserve(elements.size() + 1);
    before.reserve(elements.size() + 1);
    for (QObject *e : elements) {
        footprints.append(footprintOf(e));
        before.append(e->property("overlap").toBool());
    }
    QList<QObject *> objects = elements;
    if (changed < 0) {
        // Not (or no longer) in the list: compared with the others all the same.
        objects.append(element);
        footprints.append(own);
        before.append(wasOverlapping);
        changed = objects.size() - 1;
    }
    apply(objects, before, Overlaps::update(footprints, before, changed));
}

void Worker::recalculateAllOverlaps()
{
    m_fullOverlapRun = true;
    const QList<QObject *> elements = rootObjectList("elementList");
    QVector<Overlaps::Footprint> footprints;
    QVector<bool> before;
    footprints.reserve(elements.size());
    before.reserve(elements.size());
    for (QObject *e : elements) {
        footprints.append(footprintOf(e));
        before.append(e->property("overlap").toBool());
    }
    apply(elements, before, Overlaps::all(footprints));
    m_fullOverlapRun = false;
}

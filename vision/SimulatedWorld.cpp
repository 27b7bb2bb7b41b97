#include "vision/SimulatedWorld.h"

#include "util/NozzleStateFile.h"
#include "vision/SimulatedNozzle.h"

#include <QDebug>
#include <QHash>
#include <QVariantList>

#include <algorithm>
#include <cmath>

namespace {

QPointF turned(const QPointF &v, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    return QPointF(v.x() * c - v.y() * s, v.x() * s + v.y() * c);
}

bool toNumber(const QVariant &v, double *out)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    *out = d;
    return true;
}

bool toPoint(const QVariant &v, QPointF *out)
{
    const QVariantList list = v.toList();
    double x = 0, y = 0;
    if (list.size() != 2 || !toNumber(list.at(0), &x) || !toNumber(list.at(1), &y))
        return false;
    *out = QPointF(x, y);
    return true;
}

// A mark or a dot: its centre and sizes. Returns false for a bad value;
// `drawn` tells whether it has a size at all.
bool toMark(const QVariant &v, SimulatedWorld::Mark *mark, bool *drawn, QString *error)
{
    const QVariantMap m = v.toMap();
    double x = 0, y = 0, size = 0;
    if (!toNumber(m.value(QStringLiteral("x")), &x) || !toNumber(m.value(QStringLiteral("y")), &y) ||
        !toNumber(m.value(QStringLiteral("size")), &size)) {
        *error = QStringLiteral("a mark or dot needs finite x, y and size");
        return false;
    }
    double size2 = size, angle = 0;
    if (m.contains(QStringLiteral("size2")) && !toNumber(m.value(QStringLiteral("size2")), &size2)) {
        *error = QStringLiteral("a mark's size2 is not a finite number");
        return false;
    }
    if (m.contains(QStringLiteral("angle")) && !toNumber(m.value(QStringLiteral("angle")), &angle)) {
        *error = QStringLiteral("a mark's angle is not a finite number");
        return false;
    }
    const QString shape = m.value(QStringLiteral("shape"), QStringLiteral("round")).toString();
    if (shape != QLatin1String("round") && shape != QLatin1String("square")) {
        *error = QStringLiteral("unknown mark shape \"%1\"").arg(shape);
        return false;
    }
    mark->centre = QPointF(x, y);
    mark->shape = shape == QLatin1String("square") ? SimulatedWorld::Shape::Square : SimulatedWorld::Shape::Round;
    mark->size = size;
    mark->size2 = size2;
    mark->angle = angle;
    *drawn = size > 0 && (mark->shape == SimulatedWorld::Shape::Round || size2 > 0);
    return true;
}

bool toMarks(const QVariant &v, QVector<SimulatedWorld::Mark> *marks, QString *error)
{
    for (const QVariant &item : v.toList()) {
        SimulatedWorld::Mark mark;
        bool drawn = false;
        if (!toMark(item, &mark, &drawn, error))
            return false;
        if (drawn)
            marks->append(mark);
    }
    return true;
}

QVariantList pointValue(const QPointF &p) { return {p.x(), p.y()}; }

QVariantList marksValue(const QVector<SimulatedWorld::Mark> &marks)
{
    QVariantList list;
    for (const SimulatedWorld::Mark &m : marks) {
        list.append(QVariantMap{{QStringLiteral("x"), m.centre.x()},
                                {QStringLiteral("y"), m.centre.y()},
                                {QStringLiteral("shape"), m.shape == SimulatedWorld::Shape::Square
                                                              ? QStringLiteral("square")
                                                              : QStringLiteral("round")},
                                {QStringLiteral("size"), m.size},
                                {QStringLiteral("size2"), m.size2},
                                {QStringLiteral("angle"), m.angle}});
    }
    return list;
}

bool toTape(const QVariant &v, SimulatedWorld::Tape *t, QString *error)
{
    const QVariantMap m = v.toMap();
    double side = 0;
    if (!toPoint(m.value(QStringLiteral("pick")), &t->pick) ||
        !toNumber(m.value(QStringLiteral("holeOffset")), &t->holeOffset) ||
        !toNumber(m.value(QStringLiteral("holeSide")), &side) || !toNumber(m.value(QStringLiteral("width")), &t->width)) {
        *error = QStringLiteral("a tape needs a pick point and finite holeOffset, holeSide and width");
        return false;
    }
    if (side != -1 && side != 1) {
        *error = QStringLiteral("a tape's holeSide is -1 or 1");
        return false;
    }
    if (!(t->holeOffset > 0 && t->holeOffset < t->width - SimulatedWorld::kHoleEdgeMm) || t->width > 100) {
        *error = QStringLiteral("a tape's holes do not lie between its edges");
        return false;
    }
    t->holeSide = int(side);
    t->alongY = m.value(QStringLiteral("alongY")).toBool();
    t->present = true;
    return true;
}

bool toFeeder(const QVariant &v, SimulatedWorld::Feeder *f, bool *hasParts, QString *error)
{
    const QVariantMap m = v.toMap();
    f->bank = m.value(QStringLiteral("bank")).toString();
    if (f->bank != QLatin1String("L") && f->bank != QLatin1String("R") && f->bank != QLatin1String("U") &&
        f->bank != QLatin1String("B")) {
        *error = QStringLiteral("unknown feeder bank \"%1\"").arg(f->bank);
        return false;
    }
    double index = 0, current = 0;
    if (!toNumber(m.value(QStringLiteral("index")), &index) || index < 0 || index > SimulatedWorld::kMaxFeeders) {
        *error = QStringLiteral("a feeder's index is not a number from 0");
        return false;
    }
    f->index = int(index);
    if (m.contains(QStringLiteral("current")) && !toNumber(m.value(QStringLiteral("current")), &current)) {
        *error = QStringLiteral("a feeder's current pocket is not a finite number");
        return false;
    }
    f->current = int(std::max(-1.0, std::min(current, double(SimulatedWorld::kMaxItems))));
    f->refills = m.value(QStringLiteral("refills")).toBool();
    if (!toNumber(m.value(QStringLiteral("pickZ")), &f->pickZ) ||
        !toNumber(m.value(QStringLiteral("width")), &f->width) ||
        !toNumber(m.value(QStringLiteral("height")), &f->height) ||
        !toNumber(m.value(QStringLiteral("thickness"), 0), &f->thickness) ||
        !toNumber(m.value(QStringLiteral("angle"), 0), &f->angle)) {
        *error = QStringLiteral("a feeder needs finite pickZ, width, height, thickness and angle");
        return false;
    }
    for (const QVariant &p : m.value(QStringLiteral("pockets")).toList()) {
        QPointF at;
        if (!toPoint(p, &at)) {
            *error = QStringLiteral("a pocket is not a pair of finite numbers");
            return false;
        }
        f->pockets.append(at);
    }
    f->taken.fill(false, f->pockets.size());
    if (m.contains(QStringLiteral("tape")) && !toTape(m.value(QStringLiteral("tape")), &f->tape, error))
        return false;
    const QString mode = m.value(QStringLiteral("rlcMode")).toString();
    if (!mode.isEmpty() && mode != QLatin1String("R") && mode != QLatin1String("L") && mode != QLatin1String("C")) {
        *error = QStringLiteral("unknown RLC mode \"%1\"").arg(mode);
        return false;
    }
    double value = 0;
    if (m.contains(QStringLiteral("rlcValue")) && !toNumber(m.value(QStringLiteral("rlcValue")), &value)) {
        *error = QStringLiteral("a feeder's RLC value is not a finite number");
        return false;
    }
    if (!mode.isEmpty() && value > 0) {
        f->rlcMode = mode.at(0).toLatin1();
        f->rlcValue = value;
    }
    f->loose = m.value(QStringLiteral("loose")).toBool();
    if (f->loose) {
        for (const QVariant &v : m.value(QStringLiteral("placer")).toList()) {
            const QVariantList r = v.toList();
            double x = 0, y = 0, w = 0, h = 0;
            if (r.size() != 4 || !toNumber(r.at(0), &x) || !toNumber(r.at(1), &y) || !toNumber(r.at(2), &w) ||
                !toNumber(r.at(3), &h)) {
                *error = QStringLiteral("a placer window is not four finite numbers");
                return false;
            }
            if (w > 0 && h > 0)
                f->placer.append(QRectF(x - w / 2, y - h / 2, w, h));
        }
        QVector<SimulatedWorld::LoosePart> parts;
        if (!SimulatedWorld::loosePartsFromVariant(m.value(QStringLiteral("parts")), &parts, error))
            return false;
        for (SimulatedWorld::LoosePart &p : parts) {
            if (p.width <= 0 || p.height <= 0) {
                p.width = f->width;
                p.height = f->height;
            }
        }
        f->describedParts = f->initialParts = f->parts = parts;
    }
    *hasParts = f->width > 0 && f->height > 0 && (f->loose ? !f->placer.isEmpty() : !f->pockets.isEmpty());
    return true;
}

QVariantList loosePartsValue(const QVector<SimulatedWorld::LoosePart> &parts)
{
    QVariantList list;
    for (const SimulatedWorld::LoosePart &p : parts)
        list.append(QVariantMap{{QStringLiteral("x"), p.centre.x()},
                                {QStringLiteral("y"), p.centre.y()},
                                {QStringLiteral("angle"), p.angle},
                                {QStringLiteral("flipped"), p.flipped},
                                {QStringLiteral("width"), p.width},
                                {QStringLiteral("height"), p.height}});
    return list;
}

QVariantMap feederValue(const SimulatedWorld::Feeder &f)
{
    QVariantList pockets, taken;
    for (int i = 0; i < f.pockets.size(); ++i) {
        pockets.append(QVariant(pointValue(f.pockets.at(i))));
        if (!f.hasPart(i))
            taken.append(i);
    }
    QVariantMap map{{QStringLiteral("bank"), f.bank},           {QStringLiteral("index"), f.index},
                    {QStringLiteral("refills"), f.refills},     {QStringLiteral("pockets"), pockets},
                    {QStringLiteral("taken"), taken},           {QStringLiteral("pickZ"), f.pickZ},
                    {QStringLiteral("width"), f.width},         {QStringLiteral("height"), f.height},
                    {QStringLiteral("thickness"), f.thickness}, {QStringLiteral("angle"), f.angle},
                    {QStringLiteral("current"), f.current},     {QStringLiteral("attempts"), f.attempts},
                    {QStringLiteral("partsTaken"), f.partsTaken}};
    if (f.rlcMode) {
        map.insert(QStringLiteral("rlcMode"), QString(QLatin1Char(f.rlcMode)));
        map.insert(QStringLiteral("rlcValue"), f.rlcValue);
    }
    if (f.loose) {
        QVariantList placer;
        for (const QRectF &r : f.placer)
            placer.append(QVariant(QVariantList{r.center().x(), r.center().y(), r.width(), r.height()}));
        map.insert(QStringLiteral("loose"), true);
        map.insert(QStringLiteral("placer"), placer);
        map.insert(QStringLiteral("parts"), loosePartsValue(f.parts));
    }
    map.insert(QStringLiteral("pickError"), QVariantMap{{QStringLiteral("dx"), f.pickError.dx},
                                                        {QStringLiteral("dy"), f.pickError.dy},
                                                        {QStringLiteral("turn"), f.pickError.turn},
                                                        {QStringLiteral("miss"), f.pickError.miss.marks}});
    map.insert(QStringLiteral("rlcError"), QVariantMap{{QStringLiteral("factor"), f.rlcError.factor},
                                                       {QStringLiteral("parts"), f.rlcError.parts.marks}});
    if (f.tape.present) {
        const SimulatedWorld::Tape &t = f.tape;
        map.insert(QStringLiteral("tape"), QVariantMap{{QStringLiteral("pick"), pointValue(t.pick)},
                                                       {QStringLiteral("alongY"), t.alongY},
                                                       {QStringLiteral("holeOffset"), t.holeOffset},
                                                       {QStringLiteral("holeSide"), t.holeSide},
                                                       {QStringLiteral("width"), t.width},
                                                       {QStringLiteral("shift"), pointValue(t.shift)}});
    }
    return map;
}

// Moves a tape (and the parts in its pockets) to `shift` from its record.
void shiftTape(SimulatedWorld::Feeder &f, const QPointF &shift)
{
    const QPointF by = shift - f.tape.shift;
    for (QPointF &p : f.pockets)
        p += by;
    f.tape.shift = shift;
}

// Faults set for a feeder by bank and index, kept for the worlds to come.
struct Faults {
    bool hasPick = false;
    SimulatedWorld::PickError pick;
    bool hasRlc = false;
    SimulatedWorld::RlcError rlc;
    bool hasParts = false;
    QVector<SimulatedWorld::LoosePart> parts; // a size of 0: the feeder's

    void applyTo(SimulatedWorld::Feeder &f) const
    {
        if (hasPick)
            f.pickError = pick;
        if (hasRlc)
            f.rlcError = rlc;
        if (hasParts && f.loose) {
            QVector<SimulatedWorld::LoosePart> lying = parts;
            for (SimulatedWorld::LoosePart &p : lying) {
                if (p.width <= 0 || p.height <= 0) {
                    p.width = f.width;
                    p.height = f.height;
                }
            }
            f.initialParts = f.parts = lying;
        }
    }
};

bool validFeeder(const QString &bank, int index)
{
    return (bank == QLatin1String("L") || bank == QLatin1String("R") || bank == QLatin1String("U") ||
            bank == QLatin1String("B")) &&
           index >= 0 && index <= SimulatedWorld::kMaxFeeders;
}

struct Stored {
    SimulatedWorld world;
    SimulatedWorld::Displacement displacement;
    SimulatedWorld::CameraFaults cameraFaults;
    SimulatedNozzle nozzle;
    QString stateFile;
    // Where real tapes lie (their pick point), by bank letter and index.
    QHash<QString, QPointF> tapeAt;
    NozzleStateFile::State written;
    bool stateWritten = false;
    QHash<QString, Faults> faults;
};

Stored &stored()
{
    static Stored s;
    return s;
}

} // namespace

bool SimulatedWorld::isEmpty() const
{
    for (const Feeder &f : feeders)
        if (f.loose)
            return false;
    return boards.isEmpty() && marks.isEmpty() && dots.isEmpty() && tableMarks.isEmpty() && placedParts.isEmpty() &&
           !tableObject.present;
}

bool SimulatedWorld::Feeder::onPlacer(const QPointF &point) const
{
    for (const QRectF &r : placer)
        if (r.contains(point))
            return true;
    return false;
}

bool SimulatedWorld::Pattern::hits(int count) const
{
    if (marks.isEmpty() || count < 0)
        return false;
    const QChar c = marks.at(count % marks.size());
    return c == QLatin1Char('1') || c == QLatin1Char('x') || c == QLatin1Char('X');
}

bool SimulatedWorld::Pattern::fromVariant(const QVariant &v, Pattern *pattern, QString *error)
{
    constexpr int kLongest = 1000;
    Pattern p;
    if (!v.isValid() || v.isNull()) {
        *pattern = p;
        return true;
    }
    if (v.type() == QVariant::String) {
        const QString text = v.toString();
        for (const QChar c : text) {
            if (!QStringLiteral("01xX.-").contains(c)) {
                *error = QStringLiteral("a pattern has characters other than 0, 1, x, X, '.' and '-'");
                return false;
            }
        }
        if (text.size() > kLongest) {
            *error = QStringLiteral("a pattern is longer than %1 picks").arg(kLongest);
            return false;
        }
        p.marks = text;
        *pattern = p;
        return true;
    }
    bool ok = false;
    const double n = v.toDouble(&ok);
    if (!ok || !std::isfinite(n) || n < 0 || n > kLongest || n != std::floor(n)) {
        *error = QStringLiteral("a pattern is neither a text nor a whole number from 0 to %1").arg(kLongest);
        return false;
    }
    if (n > 0)
        p.marks = QString(int(n) - 1, QLatin1Char('0')) + QLatin1Char('1');
    *pattern = p;
    return true;
}

bool SimulatedWorld::loosePartsFromVariant(const QVariant &v, QVector<LoosePart> *parts, QString *error)
{
    QVector<LoosePart> list;
    const QVariantList items = v.toList();
    if (items.size() > kMaxItems) {
        *error = QStringLiteral("more than %1 loose parts").arg(kMaxItems);
        return false;
    }
    for (const QVariant &item : items) {
        const QVariantMap m = item.toMap();
        LoosePart p;
        double x = 0, y = 0;
        if (!toNumber(m.value(QStringLiteral("x")), &x) || !toNumber(m.value(QStringLiteral("y")), &y) ||
            !toNumber(m.value(QStringLiteral("angle"), 0), &p.angle) ||
            !toNumber(m.value(QStringLiteral("width"), 0), &p.width) ||
            !toNumber(m.value(QStringLiteral("height"), 0), &p.height)) {
            *error = QStringLiteral("a loose part needs finite x, y, angle, width and height");
            return false;
        }
        p.centre = QPointF(x, y);
        p.flipped = m.value(QStringLiteral("flipped")).toBool();
        list.append(p);
    }
    *parts = list;
    return true;
}

bool SimulatedWorld::onBoard(const QPointF &point, const Displacement &d) const
{
    for (const Board &b : boards) {
        // Crossings of a ray to the right with the displaced outline.
        bool inside = false;
        const int n = b.outline.size();
        for (int i = 0, j = n - 1; i < n; j = i++) {
            const QPointF p = placed(b.outline.at(i), d);
            const QPointF q = placed(b.outline.at(j), d);
            if ((p.y() > point.y()) != (q.y() > point.y()) &&
                point.x() < (q.x() - p.x()) * (point.y() - p.y()) / (q.y() - p.y()) + p.x())
                inside = !inside;
        }
        if (inside)
            return true;
    }
    return false;
}

QPointF SimulatedWorld::placed(const QPointF &point, const Displacement &d) const
{
    return pivot + turned(point - pivot, d.angle) + QPointF(d.dx, d.dy);
}

bool SimulatedWorld::fromVariant(const QVariantMap &map, SimulatedWorld *world, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    SimulatedWorld w;
    int items = 0;
    for (const QVariant &b : map.value(QStringLiteral("boards")).toList()) {
        Board board;
        for (const QVariant &corner : b.toList()) {
            QPointF p;
            if (!toPoint(corner, &p)) {
                *error = QStringLiteral("a board corner is not a pair of finite numbers");
                return false;
            }
            board.outline.append(p);
        }
        if (board.outline.size() < 3) {
            *error = QStringLiteral("a board outline needs at least 3 corners");
            return false;
        }
        items += board.outline.size();
        if (items > kMaxItems) {
            *error = QStringLiteral("more than %1 items").arg(kMaxItems);
            return false;
        }
        w.boards.append(board);
    }
    const QVariantList marks = map.value(QStringLiteral("marks")).toList();
    const QVariantList dots = map.value(QStringLiteral("dots")).toList();
    const QVariantList tableMarks = map.value(QStringLiteral("tableMarks")).toList();
    if (items + marks.size() + dots.size() + tableMarks.size() > kMaxItems) {
        *error = QStringLiteral("more than %1 items").arg(kMaxItems);
        return false;
    }
    if (!toMarks(marks, &w.marks, error) || !toMarks(tableMarks, &w.tableMarks, error))
        return false;
    for (const QVariant &v : dots) {
        Mark m;
        bool drawn = false;
        if (!toMark(v, &m, &drawn, error))
            return false;
        if (drawn)
            w.dots.append(Dot{m.centre, m.size});
    }
    const QVariantList feeders = map.value(QStringLiteral("feeders")).toList();
    if (feeders.size() > kMaxFeeders) {
        *error = QStringLiteral("more than %1 feeders").arg(kMaxFeeders);
        return false;
    }
    for (const QVariant &v : feeders) {
        Feeder f;
        bool hasParts = false;
        if (!toFeeder(v, &f, &hasParts, error))
            return false;
        items += f.pockets.size() + f.placer.size() + f.parts.size();
        if (items > kMaxItems) {
            *error = QStringLiteral("more than %1 items").arg(kMaxItems);
            return false;
        }
        if (hasParts)
            w.feeders.append(f);
    }
    const QVariant pivot = map.value(QStringLiteral("pivot"));
    if (pivot.isValid() && !toPoint(pivot, &w.pivot)) {
        *error = QStringLiteral("the pivot is not a pair of finite numbers");
        return false;
    }
    const QVariant shift = map.value(QStringLiteral("cameraShift"));
    if (shift.isValid() && !toPoint(shift, &w.cameraShift)) {
        *error = QStringLiteral("the camera shift is not a pair of finite numbers");
        return false;
    }
    const QVariant scale = map.value(QStringLiteral("componentScale"));
    if (scale.isValid()) {
        bool ok = false;
        const double v = scale.toDouble(&ok);
        if (!ok || !std::isfinite(v) || v < kMinComponentPixelsPerMm || v > kMaxComponentPixelsPerMm) {
            *error = QStringLiteral("the component camera scale is not a number from %1 to %2")
                         .arg(kMinComponentPixelsPerMm)
                         .arg(kMaxComponentPixelsPerMm);
            return false;
        }
        w.componentPixelsPerMm = v;
    }
    *world = w;
    return true;
}

QVariantMap SimulatedWorld::toVariant() const
{
    QVariantList boardList;
    for (const Board &b : boards) {
        QVariantList corners;
        for (const QPointF &c : b.outline)
            corners.append(QVariant(pointValue(c)));
        boardList.append(QVariant(corners));
    }
    QVariantList feederList;
    for (const Feeder &f : feeders)
        feederList.append(feederValue(f));
    QVariantList partList;
    for (const PlacedPart &p : placedParts)
        partList.append(QVariantMap{{QStringLiteral("x"), p.centre.x()},
                                    {QStringLiteral("y"), p.centre.y()},
                                    {QStringLiteral("angle"), p.angle},
                                    {QStringLiteral("width"), p.width},
                                    {QStringLiteral("height"), p.height}});
    QVariantList dotList;
    for (const Dot &d : dots)
        dotList.append(QVariantMap{{QStringLiteral("x"), d.centre.x()},
                                   {QStringLiteral("y"), d.centre.y()},
                                   {QStringLiteral("size"), d.diameter}});
    return QVariantMap{{QStringLiteral("boards"), boardList},
                       {QStringLiteral("marks"), marksValue(marks)},
                       {QStringLiteral("dots"), dotList},
                       {QStringLiteral("tableMarks"), marksValue(tableMarks)},
                       {QStringLiteral("feeders"), feederList},
                       {QStringLiteral("placedParts"), partList},
                       {QStringLiteral("pivot"), pointValue(pivot)},
                       {QStringLiteral("cameraShift"), pointValue(cameraShift)},
                       {QStringLiteral("componentScale"), componentPixelsPerMm}};
}

QMutex &SimulatedWorld::mutex()
{
    static QMutex m;
    return m;
}

void SimulatedWorld::setCurrent(const SimulatedWorld &world)
{
    QMutexLocker lock(&mutex());
    SimulatedWorld next = world;
    const SimulatedWorld &old = stored().world;
    for (Feeder &f : next.feeders) {
        const auto pinned = stored().tapeAt.constFind(f.key());
        if (f.tape.present && pinned != stored().tapeAt.constEnd())
            shiftTape(f, *pinned - f.tape.pick);
    }
    next.placedParts = old.placedParts + world.placedParts;
    next.tableObject = old.tableObject;
    for (Feeder &f : next.feeders) {
        const auto faults = stored().faults.constFind(f.key());
        if (faults != stored().faults.constEnd())
            faults->applyTo(f);
        for (const Feeder &o : old.feeders) {
            if (o.bank == f.bank && o.index == f.index) {
                if (o.pockets == f.pockets && f.current >= o.current)
                    f.taken = o.taken;
                // The parts on a placer stay as the nozzle left them.
                if (f.loose && o.loose && o.placer == f.placer && o.initialParts == f.initialParts)
                    f.parts = o.parts;
                f.attempts = o.attempts;
                f.partsTaken = o.partsTaken;
                break;
            }
        }
    }
    stored().world = next;
}

void SimulatedWorld::clearCurrent()
{
    setCurrent(SimulatedWorld());
}

SimulatedWorld SimulatedWorld::current()
{
    QMutexLocker lock(&mutex());
    return stored().world;
}

bool SimulatedWorld::hasCurrent()
{
    QMutexLocker lock(&mutex());
    return !stored().world.isEmpty();
}

void SimulatedWorld::setDisplacement(const Displacement &d)
{
    QMutexLocker lock(&mutex());
    stored().displacement = d;
}

SimulatedWorld::Displacement SimulatedWorld::displacement()
{
    QMutexLocker lock(&mutex());
    return stored().displacement;
}

bool SimulatedWorld::setTapeOffset(const QString &bank, int index, double dx, double dy)
{
    if (!std::isfinite(dx) || !std::isfinite(dy) || std::fabs(dx) > kMaxTapeOffsetMm ||
        std::fabs(dy) > kMaxTapeOffsetMm)
        return false;
    QMutexLocker lock(&mutex());
    Stored &s = stored();
    for (Feeder &f : s.world.feeders) {
        if (f.bank != bank || f.index != index || !f.tape.present)
            continue;
        const QPointF offset(dx, dy);
        s.tapeAt.insert(f.key(), f.tape.pick + offset);
        shiftTape(f, offset);
        return true;
    }
    return false;
}

void SimulatedWorld::clearTapeOffsets()
{
    QMutexLocker lock(&mutex());
    Stored &s = stored();
    s.tapeAt.clear();
    for (Feeder &f : s.world.feeders)
        shiftTape(f, QPointF());
}

void SimulatedWorld::followMachine(const SimulatedStage::Position &position, bool valve)
{
    QString path;
    NozzleStateFile::State state;
    {
        QMutexLocker lock(&mutex());
        Stored &s = stored();
        s.nozzle.follow(s.world, s.displacement, position, valve);
        state.valve = s.nozzle.valve();
        state.part = s.nozzle.holds();
        if (state.part) {
            state.rlcMode = s.nozzle.heldPart().rlcMode;
            state.rlcValue = s.nozzle.heldPart().rlcValue;
        }
        if (s.stateFile.isEmpty() || (s.stateWritten && s.written == state))
            return;
        s.written = state;
        s.stateWritten = true;
        path = s.stateFile;
    }
    QString error;
    if (!NozzleStateFile::write(path, state, &error))
        qWarning() << "Simulated nozzle: cannot write" << path << ":" << error;
}

double SimulatedWorld::currentComponentPixelsPerMm()
{
    QMutexLocker lock(&mutex());
    return stored().world.componentPixelsPerMm;
}

bool SimulatedWorld::heldPart(const SimulatedStage::Position &position, QPointF *offset, double *angle,
                              double *width, double *height)
{
    QMutexLocker lock(&mutex());
    const SimulatedNozzle &n = stored().nozzle;
    if (!n.holds())
        return false;
    *offset = n.heldOffset(position.a);
    *angle = n.heldAngle(position.a);
    *width = n.heldPart().width;
    *height = n.heldPart().height;
    return true;
}

bool SimulatedWorld::valveOn()
{
    QMutexLocker lock(&mutex());
    return stored().nozzle.valve();
}

bool SimulatedWorld::holdsPart()
{
    QMutexLocker lock(&mutex());
    return stored().nozzle.holds();
}

QVariantList SimulatedWorld::releases()
{
    QMutexLocker lock(&mutex());
    QVariantList list;
    for (const SimulatedNozzle::Release &r : stored().nozzle.releases())
        list.append(r.toVariant());
    return list;
}

void SimulatedWorld::resetParts()
{
    QMutexLocker lock(&mutex());
    Stored &s = stored();
    s.nozzle.clear();
    s.world.placedParts.clear();
    for (Feeder &f : s.world.feeders) {
        f.taken.fill(false, f.pockets.size());
        f.parts = f.initialParts;
        f.attempts = 0;
        f.partsTaken = 0;
    }
    s.stateWritten = false;
}

void SimulatedWorld::setNozzleStateFile(const QString &path)
{
    QMutexLocker lock(&mutex());
    stored().stateFile = path;
    stored().stateWritten = false;
}

bool SimulatedWorld::setPickError(const QString &bank, int index, const PickError &error)
{
    if (!validFeeder(bank, index) || !std::isfinite(error.dx) || !std::isfinite(error.dy) ||
        !std::isfinite(error.turn))
        return false;
    QMutexLocker lock(&mutex());
    Faults &faults = stored().faults[bank + QString::number(index)];
    faults.hasPick = true;
    faults.pick = error;
    for (Feeder &f : stored().world.feeders) {
        if (f.bank == bank && f.index == index) {
            f.pickError = error;
            f.attempts = 0;
        }
    }
    return true;
}

bool SimulatedWorld::setRlcError(const QString &bank, int index, const RlcError &error)
{
    if (!validFeeder(bank, index) || !std::isfinite(error.factor) || !(error.factor > 0))
        return false;
    QMutexLocker lock(&mutex());
    Faults &faults = stored().faults[bank + QString::number(index)];
    faults.hasRlc = true;
    faults.rlc = error;
    for (Feeder &f : stored().world.feeders) {
        if (f.bank == bank && f.index == index) {
            f.rlcError = error;
            f.partsTaken = 0;
        }
    }
    return true;
}

bool SimulatedWorld::setLooseParts(const QString &bank, int index, const QVector<LoosePart> &parts)
{
    if (!validFeeder(bank, index) || parts.size() > kMaxItems)
        return false;
    for (const LoosePart &p : parts) {
        if (!std::isfinite(p.centre.x()) || !std::isfinite(p.centre.y()) || !std::isfinite(p.angle) ||
            !std::isfinite(p.width) || !std::isfinite(p.height))
            return false;
    }
    QMutexLocker lock(&mutex());
    Faults &faults = stored().faults[bank + QString::number(index)];
    faults.hasParts = true;
    faults.parts = parts;
    for (Feeder &f : stored().world.feeders)
        if (f.bank == bank && f.index == index)
            faults.applyTo(f);
    return true;
}

void SimulatedWorld::clearFaults()
{
    QMutexLocker lock(&mutex());
    Stored &s = stored();
    s.faults.clear();
    for (Feeder &f : s.world.feeders) {
        f.pickError = PickError();
        f.rlcError = RlcError();
        f.attempts = 0;
        f.partsTaken = 0;
        if (f.initialParts != f.describedParts)
            f.initialParts = f.parts = f.describedParts;
    }
}

void SimulatedWorld::setCameraFaults(const CameraFaults &faults)
{
    QMutexLocker lock(&mutex());
    stored().cameraFaults = faults;
}

SimulatedWorld::CameraFaults SimulatedWorld::cameraFaults()
{
    QMutexLocker lock(&mutex());
    return stored().cameraFaults;
}

void SimulatedWorld::setTableObject(const TableObject &object)
{
    QMutexLocker lock(&mutex());
    stored().world.tableObject = object;
}

SimulatedWorld::TableObject SimulatedWorld::tableObjectNow()
{
    QMutexLocker lock(&mutex());
    return stored().world.tableObject;
}

bool SimulatedWorld::heldPartRound()
{
    QMutexLocker lock(&mutex());
    const SimulatedNozzle &n = stored().nozzle;
    return n.holds() && n.heldPart().round;
}

bool SimulatedWorld::removePlacedPart(int index)
{
    QMutexLocker lock(&mutex());
    QVector<PlacedPart> &parts = stored().world.placedParts;
    if (index < 0 || index >= parts.size())
        return false;
    parts.remove(index);
    return true;
}

bool SimulatedWorld::movePlacedPart(int index, double dx, double dy, double angle)
{
    QMutexLocker lock(&mutex());
    QVector<PlacedPart> &parts = stored().world.placedParts;
    if (index < 0 || index >= parts.size() || !std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(angle))
        return false;
    parts[index].centre += QPointF(dx, dy);
    parts[index].angle += angle;
    return true;
}

void SimulatedWorld::addPlacedPart(const PlacedPart &part)
{
    QMutexLocker lock(&mutex());
    stored().world.placedParts.append(part);
}

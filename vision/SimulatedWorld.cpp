#include "vision/SimulatedWorld.h"

#include "util/NozzleStateFile.h"
#include "vision/SimulatedNozzle.h"

#include <QDebug>
#include <QHash>
#include <QVariantList>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Colours (BGR): the table, the solder mask, the bare laminate around a
// mark, copper, solder paste.
const cv::Scalar kTable(72, 74, 78);
const cv::Scalar kMask(40, 90, 30);
const cv::Scalar kClearance(20, 45, 15);
const cv::Scalar kCopper(200, 230, 240);
const cv::Scalar kPaste(140, 140, 140);
// A placed part: its body and its two terminals.
const cv::Scalar kPartBody(60, 60, 60);
const cv::Scalar kTerminal(220, 220, 225);
// The clear ring around a mark, mm beyond its edge.
constexpr double kClearanceMm = 1.0;
// Corners are drawn at sixteenths of a pixel.
constexpr int kShift = 4;
// A paper tape, the feeder floor seen through its holes, an empty pocket.
const cv::Scalar kPaper(228, 230, 232);
const cv::Scalar kFeederFloor(38, 40, 42);
const cv::Scalar kPocket(25, 25, 25);
// Room around a part in its pocket, mm on every side.
constexpr double kPocketMarginMm = 0.15;

QPointF turned(const QPointF &v, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    return QPointF(v.x() * c - v.y() * s, v.x() * s + v.y() * c);
}

// Machine millimetres to pixels of one frame.
struct View {
    QPointF centre; // the machine point in the centre of the frame
    double ppm = 1;
    int width = 0;
    int height = 0;

    cv::Point toPixel(const QPointF &p) const
    {
        const double x = width / 2.0 + (p.x() - centre.x()) * ppm;
        const double y = height / 2.0 - (p.y() - centre.y()) * ppm;
        return cv::Point(int(std::lround(x * (1 << kShift))), int(std::lround(y * (1 << kShift))));
    }
    int radius(double mm) const { return int(std::lround(mm * ppm * (1 << kShift))); }
    // Whether something within `reach` mm of `p` can show in the frame.
    bool shows(const QPointF &p, double reach) const
    {
        const double halfW = width / 2.0 / ppm + reach + 1;
        const double halfH = height / 2.0 / ppm + reach + 1;
        return std::fabs(p.x() - centre.x()) <= halfW && std::fabs(p.y() - centre.y()) <= halfH;
    }
};

void fillPolygon(cv::Mat &bgr, const View &view, const QVector<QPointF> &corners, const cv::Scalar &colour)
{
    std::vector<cv::Point> poly;
    poly.reserve(size_t(corners.size()));
    for (const QPointF &c : corners)
        poly.push_back(view.toPixel(c));
    const cv::Point *points = poly.data();
    const int count = int(poly.size());
    cv::fillPoly(bgr, &points, &count, 1, colour, cv::LINE_AA, kShift);
}

// Corners of a rectangle w x h centred at `centre`, its own axes turned by
// `angle` degrees, grown by `grow` mm on every side.
QVector<QPointF> rectangle(const QPointF &centre, double w, double h, double angle, double grow)
{
    const double hw = w / 2 + grow, hh = h / 2 + grow;
    QVector<QPointF> corners;
    for (const QPointF &c : {QPointF(-hw, -hh), QPointF(hw, -hh), QPointF(hw, hh), QPointF(-hw, hh)})
        corners.append(centre + turned(c, angle));
    return corners;
}

void drawMark(cv::Mat &bgr, const View &view, const SimulatedWorld::Mark &m, const QPointF &centre, double angle)
{
    const double reach = std::hypot(m.size, m.size2) / 2 + kClearanceMm;
    if (!view.shows(centre, reach))
        return;
    if (m.shape == SimulatedWorld::Shape::Round) {
        cv::circle(bgr, view.toPixel(centre), view.radius(m.size / 2 + kClearanceMm), kClearance, cv::FILLED,
                   cv::LINE_AA, kShift);
        cv::circle(bgr, view.toPixel(centre), view.radius(m.size / 2), kCopper, cv::FILLED, cv::LINE_AA, kShift);
        return;
    }
    fillPolygon(bgr, view, rectangle(centre, m.size, m.size2, angle, kClearanceMm), kClearance);
    fillPolygon(bgr, view, rectangle(centre, m.size, m.size2, angle, 0), kCopper);
}

// A two-terminal part seen from above or below: a dark body with bright
// terminals across its ends (each a fifth of its width).
void drawPart(cv::Mat &bgr, const View &view, const QPointF &centre, double w, double h, double angle)
{
    if (!view.shows(centre, std::hypot(w, h) / 2))
        return;
    fillPolygon(bgr, view, rectangle(centre, w, h, angle, 0), kPartBody);
    const double pad = w * 0.1875;
    for (int side = -1; side <= 1; side += 2) {
        const QPointF c = centre + turned(QPointF(side * (w - pad) / 2, 0), angle);
        fillPolygon(bgr, view, rectangle(c, pad, h, angle, 0), kTerminal);
    }
}

// A tape feeder's paper tape: its sprocket holes and its pockets with the
// parts they hold.
void drawTape(cv::Mat &bgr, const View &view, const SimulatedWorld::Feeder &f)
{
    const SimulatedWorld::Tape &t = f.tape;
    const QPointF pick = t.pick + t.shift;
    if (!view.shows(pick, SimulatedWorld::kTapeReachMm + t.width))
        return;
    // Along and across the tape.
    const QPointF u = t.alongY ? QPointF(0, 1) : QPointF(1, 0);
    const QPointF v = t.alongY ? QPointF(1, 0) : QPointF(0, 1);
    const double side = t.holeSide < 0 ? -1.0 : 1.0;
    const QPointF holeLine = pick + v * (side * t.holeOffset);
    const QPointF outerEdge = holeLine - v * (side * SimulatedWorld::kHoleEdgeMm);
    const QPointF innerEdge = outerEdge + v * (side * t.width);
    const double reach = SimulatedWorld::kTapeReachMm;
    fillPolygon(bgr, view, {outerEdge - u * reach, outerEdge + u * reach, innerEdge + u * reach, innerEdge - u * reach},
                kPaper);
    const double pitch = SimulatedWorld::kHolePitchMm;
    // Holes 2 mm along either way from the pick point, then every 4 mm.
    const double first = SimulatedWorld::kHoleToPickMm - std::floor((reach + SimulatedWorld::kHoleToPickMm) / pitch) * pitch;
    for (double a = first; a <= reach; a += pitch) {
        const QPointF c = holeLine + u * a;
        if (view.shows(c, SimulatedWorld::kHoleDiameterMm))
            cv::circle(bgr, view.toPixel(c), view.radius(SimulatedWorld::kHoleDiameterMm / 2), kFeederFloor, cv::FILLED,
                       cv::LINE_AA, kShift);
    }
    for (int i = 0; i < f.pockets.size(); ++i) {
        const QPointF &c = f.pockets.at(i);
        if (!view.shows(c, std::hypot(f.width, f.height)))
            continue;
        fillPolygon(bgr, view, rectangle(c, f.width, f.height, f.angle, kPocketMarginMm), kPocket);
        if (f.hasPart(i))
            drawPart(bgr, view, c, f.width, f.height, f.angle);
    }
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
    *hasParts = f->width > 0 && f->height > 0 && !f->pockets.isEmpty();
    return true;
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
                    {QStringLiteral("current"), f.current}};
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

QString tapeKey(const QString &bank, int index) { return bank + QString::number(index); }

// Moves a tape (and the parts in its pockets) to `shift` from its record.
void shiftTape(SimulatedWorld::Feeder &f, const QPointF &shift)
{
    const QPointF by = shift - f.tape.shift;
    for (QPointF &p : f.pockets)
        p += by;
    f.tape.shift = shift;
}

struct Stored {
    SimulatedWorld world;
    SimulatedWorld::Displacement displacement;
    SimulatedNozzle nozzle;
    QString stateFile;
    // Where real tapes lie (their pick point), by bank letter and index.
    QHash<QString, QPointF> tapeAt;
    NozzleStateFile::State written;
    bool stateWritten = false;
};

Stored &stored()
{
    static Stored s;
    return s;
}

} // namespace

bool SimulatedWorld::isEmpty() const
{
    return boards.isEmpty() && marks.isEmpty() && dots.isEmpty() && tableMarks.isEmpty() && placedParts.isEmpty();
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

void SimulatedWorld::draw(cv::Mat &bgr, const QPointF &machine, const Displacement &d, double pixelsPerMm) const
{
    bgr.setTo(kTable);
    View view;
    view.centre = machine + cameraShift;
    view.ppm = pixelsPerMm;
    view.width = bgr.cols;
    view.height = bgr.rows;

    for (const Feeder &f : feeders) {
        if (f.tape.present)
            drawTape(bgr, view, f);
    }
    for (const Board &b : boards) {
        QVector<QPointF> corners;
        double minX = HUGE_VAL, maxX = -HUGE_VAL, minY = HUGE_VAL, maxY = -HUGE_VAL;
        for (const QPointF &c : b.outline) {
            const QPointF p = placed(c, d);
            corners.append(p);
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y());
            maxY = std::max(maxY, p.y());
        }
        const QPointF middle((minX + maxX) / 2, (minY + maxY) / 2);
        if (view.shows(middle, std::max(maxX - minX, maxY - minY) / 2))
            fillPolygon(bgr, view, corners, kMask);
    }
    for (const Dot &dot : dots) {
        const QPointF c = placed(dot.centre, d);
        if (view.shows(c, dot.diameter))
            cv::circle(bgr, view.toPixel(c), view.radius(dot.diameter / 2), kPaste, cv::FILLED, cv::LINE_AA, kShift);
    }
    for (const PlacedPart &p : placedParts)
        drawPart(bgr, view, p.centre, p.width, p.height, p.angle);
    for (const Mark &m : marks)
        drawMark(bgr, view, m, placed(m.centre, d), m.angle + d.angle);
    for (const Mark &m : tableMarks)
        drawMark(bgr, view, m, m.centre, m.angle);
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
        items += f.pockets.size();
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
        const auto pinned = stored().tapeAt.constFind(tapeKey(f.bank, f.index));
        if (f.tape.present && pinned != stored().tapeAt.constEnd())
            shiftTape(f, *pinned - f.tape.pick);
    }
    next.placedParts = old.placedParts + world.placedParts;
    for (Feeder &f : next.feeders) {
        for (const Feeder &o : old.feeders) {
            if (o.bank == f.bank && o.index == f.index) {
                if (o.pockets == f.pockets && f.current >= o.current)
                    f.taken = o.taken;
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
        s.tapeAt.insert(tapeKey(bank, index), f.tape.pick + offset);
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
        if (s.stateFile.isEmpty() ||
            (s.stateWritten && s.written.valve == state.valve && s.written.part == state.part))
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
    for (Feeder &f : s.world.feeders)
        f.taken.fill(false, f.pockets.size());
    s.stateWritten = false;
}

void SimulatedWorld::setNozzleStateFile(const QString &path)
{
    QMutexLocker lock(&mutex());
    stored().stateFile = path;
    stored().stateWritten = false;
}

#include "vision/SimulatedWorld.h"

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
// The clear ring around a mark, mm beyond its edge.
constexpr double kClearanceMm = 1.0;
// Corners are drawn at sixteenths of a pixel.
constexpr int kShift = 4;

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

struct Stored {
    SimulatedWorld world;
    SimulatedWorld::Displacement displacement;
};

Stored &stored()
{
    static Stored s;
    return s;
}

} // namespace

bool SimulatedWorld::isEmpty() const
{
    return boards.isEmpty() && marks.isEmpty() && dots.isEmpty() && tableMarks.isEmpty();
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
    QVariantList dotList;
    for (const Dot &d : dots)
        dotList.append(QVariantMap{{QStringLiteral("x"), d.centre.x()},
                                   {QStringLiteral("y"), d.centre.y()},
                                   {QStringLiteral("size"), d.diameter}});
    return QVariantMap{{QStringLiteral("boards"), boardList},
                       {QStringLiteral("marks"), marksValue(marks)},
                       {QStringLiteral("dots"), dotList},
                       {QStringLiteral("tableMarks"), marksValue(tableMarks)},
                       {QStringLiteral("pivot"), pointValue(pivot)},
                       {QStringLiteral("cameraShift"), pointValue(cameraShift)}};
}

QMutex &SimulatedWorld::mutex()
{
    static QMutex m;
    return m;
}

void SimulatedWorld::setCurrent(const SimulatedWorld &world)
{
    QMutexLocker lock(&mutex());
    stored().world = world;
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

// SimulatedWorld: what the head camera sees of the world (boards, tapes,
// placers, parts), and the photos of loose parts.
#include "vision/SimulatedWorld.h"

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
// A placer (the light grey plate loose parts lie on) and the two faces of
// a loose part. Both show the dark moulded body with bright terminals, so
// that an outline search finds either face by its dark body. The top has a
// bright marking dot at its pin-1 corner (so its angle is known over a full
// turn); the underside has no dot but a large bright pad in the middle of
// the body, three quarters of it each way, with a dark rim round it. The
// two differ all over the body: in the program's template search (placer
// modes, edge templates at 0.3) a photo of the top scores at most about
// 45 % on an upturned part of 3 to 8 mm and 84 % or more on an upright one;
// a photo of the underside 80 % or more on an upturned one.
const cv::Scalar kPlacer(130, 125, 120);
const cv::Scalar kMarking(235, 235, 235);
// The underside's pad, as a share of the body between the terminals.
constexpr double kUndersidePad = 0.75;
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

// The calibration object: a chip as a placed part, or a bright disk.
void drawTableObject(cv::Mat &bgr, const View &view, const SimulatedWorld::TableObject &o)
{
    if (!o.present)
        return;
    if (!o.round) {
        drawPart(bgr, view, o.centre, o.width, o.height, o.angle);
        return;
    }
    if (view.shows(o.centre, o.width))
        cv::circle(bgr, view.toPixel(o.centre), view.radius(o.width / 2), kTerminal, cv::FILLED, cv::LINE_AA, kShift);
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

// A part lying loose on a placer, seen from above (see the colours).
void drawLoosePart(cv::Mat &bgr, const View &view, const SimulatedWorld::LoosePart &p)
{
    const double w = p.width, h = p.height;
    if (!view.shows(p.centre, std::hypot(w, h) / 2))
        return;
    fillPolygon(bgr, view, rectangle(p.centre, w, h, p.angle, 0), kPartBody);
    const double pad = w * 0.1875;
    for (int side = -1; side <= 1; side += 2) {
        const QPointF c = p.centre + turned(QPointF(side * (w - pad) / 2, 0), p.angle);
        fillPolygon(bgr, view, rectangle(c, pad, h, p.angle, 0), kTerminal);
    }
    if (p.flipped) {
        const double body = w - 2 * pad;
        fillPolygon(bgr, view, rectangle(p.centre, body * kUndersidePad, h * kUndersidePad, p.angle, 0), kMarking);
        return;
    }
    // Pin 1: at the part's own -X end, on its +Y side.
    const double r = std::min(h, w - 2 * pad) * 0.18;
    const QPointF dot = p.centre + turned(QPointF(-w / 2 + pad + 1.6 * r, h / 2 - 1.6 * r), p.angle);
    cv::circle(bgr, view.toPixel(dot), view.radius(r), kMarking, cv::FILLED, cv::LINE_AA, kShift);
}

} // namespace

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
    for (const Feeder &f : feeders) {
        for (const QRectF &r : f.placer) {
            if (view.shows(r.center(), std::hypot(r.width(), r.height()) / 2))
                fillPolygon(bgr, view, rectangle(r.center(), r.width(), r.height(), 0, 0), kPlacer);
        }
    }
    for (const Dot &dot : dots) {
        const QPointF c = placed(dot.centre, d);
        if (view.shows(c, dot.diameter))
            cv::circle(bgr, view.toPixel(c), view.radius(dot.diameter / 2), kPaste, cv::FILLED, cv::LINE_AA, kShift);
    }
    for (const PlacedPart &p : placedParts)
        drawPart(bgr, view, p.centre, p.width, p.height, p.angle);
    drawTableObject(bgr, view, tableObject);
    for (const Feeder &f : feeders)
        for (const LoosePart &p : f.parts)
            drawLoosePart(bgr, view, p);
    for (const Mark &m : marks)
        drawMark(bgr, view, m, placed(m.centre, d), m.angle + d.angle);
    for (const Mark &m : tableMarks)
        drawMark(bgr, view, m, m.centre, m.angle);
}

cv::Mat SimulatedWorld::partPhoto(double width, double height, bool flipped, double pixelsPerMm)
{
    if (!(width > 0) || !(height > 0) || !(pixelsPerMm > 0) || !std::isfinite(width * height * pixelsPerMm))
        return cv::Mat();
    const double cols = (width + 2 * kPhotoMarginMm) * pixelsPerMm;
    const double rows = (height + 2 * kPhotoMarginMm) * pixelsPerMm;
    if (cols > 4096 || rows > 4096)
        return cv::Mat();
    cv::Mat bgr(std::max(1, int(std::lround(rows))), std::max(1, int(std::lround(cols))), CV_8UC3, kPlacer);
    // The part's centre in the middle of the picture (between pixels when
    // a side is even), where a template's centre is taken to be.
    View view;
    view.ppm = pixelsPerMm;
    view.width = bgr.cols;
    view.height = bgr.rows;
    view.centre = QPointF(0.5 / pixelsPerMm, -0.5 / pixelsPerMm);
    LoosePart part;
    part.flipped = flipped;
    part.width = width;
    part.height = height;
    drawLoosePart(bgr, view, part);
    return bgr;
}

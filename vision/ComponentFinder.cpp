#include "vision/ComponentFinder.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr double degrees = 180.0 / CV_PI;

// Leaves only a central band across the component in the direction of the
// expected angle: two rotated rectangles either side are blanked.
void blankSides(cv::Mat &area, double supposedAngle)
{
    const float w = float(area.cols), h = float(area.rows);
    const double a = supposedAngle / degrees;
    const cv::Point2f centre(w / 2, h / 2);
    const cv::Point2f along(float(std::cos(a)), float(std::sin(a)));
    for (int side : {-1, 1}) {
        const cv::RotatedRect band(centre + along * (side * w / 2.5f), cv::Size2f(w / 2, w + h), float(supposedAngle));
        cv::Point2f corners[4];
        band.points(corners);
        std::vector<cv::Point> polygon;
        for (const cv::Point2f &p : corners)
            polygon.push_back(cv::Point(cvRound(p.x), cvRound(p.y)));
        cv::fillConvexPoly(area, polygon, cv::Scalar(0));
    }
}

bool touchesBorder(const cv::RotatedRect &r, int width, int height)
{
    cv::Point2f corners[4];
    r.points(corners);
    for (const cv::Point2f &p : corners) {
        if (p.x <= 1 || p.x >= width - 1 || p.y <= 1 || p.y >= height - 1)
            return true;
    }
    return false;
}

double distanceToSegment(cv::Point2f p, cv::Point2f a, cv::Point2f b)
{
    const cv::Point2f ab = b - a;
    const double len2 = ab.dot(ab);
    double t = len2 > 0 ? (p - a).dot(ab) / len2 : 0;
    t = std::max(0.0, std::min(1.0, t));
    const cv::Point2f q = a + ab * float(t);
    return std::hypot(p.x - q.x, p.y - q.y);
}

} // namespace

void ComponentFinder::measurePins(const std::vector<cv::Point2f> &pinsIn, RecognitionResult &result)
{
    result.hasPins = true;
    result.pinCount = int(pinsIn.size());
    result.pinCountCorrect = false;
    result.avgPinDist = result.minPinDist = result.maxPinDist = 0;
    if (pinsIn.size() <= 3)
        return;
    std::vector<cv::Point2f> pins = pinsIn;
    if (pins.size() >= 11) {
        // A stray pin far from the others is left out of the rectangle.
        cv::Point2f mean(0, 0);
        for (const auto &p : pins)
            mean += p;
        mean *= 1.0f / float(pins.size());
        std::vector<std::pair<double, size_t>> dist;
        for (size_t i = 0; i < pins.size(); ++i)
            dist.push_back({std::hypot(pins[i].x - mean.x, pins[i].y - mean.y), i});
        std::sort(dist.begin(), dist.end());
        if (dist.back().first - dist[dist.size() - 2].first > 10)
            pins.erase(pins.begin() + long(dist.back().second));
    }
    const cv::RotatedRect rect = Recognition::minAreaRect(pins);
    cv::Point2f c[4];
    rect.points(c);
    // A pin belongs to every side it lies on. A side whose pins all lie on
    // another side too holds only the end pins of two rows (the short sides
    // of a two-row package) and is left out, unless no side has a pin of its own.
    constexpr double onSide = 3.0;
    std::vector<std::vector<size_t>> members(4);
    std::vector<int> sidesOf(pins.size(), 0);
    for (size_t i = 0; i < pins.size(); ++i)
        for (int s = 0; s < 4; ++s)
            if (distanceToSegment(pins[i], c[s], c[(s + 1) % 4]) <= onSide) {
                members[size_t(s)].push_back(i);
                ++sidesOf[i];
            }
    std::vector<std::vector<cv::Point2f>> sides;
    for (int pass = 0; pass < 2 && sides.empty(); ++pass) {
        for (const auto &m : members) {
            const bool ownPin = std::any_of(m.begin(), m.end(), [&](size_t i) { return sidesOf[i] == 1; });
            if (m.size() < 2 || (pass == 0 && !ownPin))
                continue;
            std::vector<cv::Point2f> side;
            for (size_t i : m)
                side.push_back(pins[i]);
            sides.push_back(side);
        }
    }
    double sum = 0, minD = 0, maxD = 0;
    int n = 0;
    for (const auto &side : sides) {
        if (side.size() < 2)
            continue;
        cv::Vec4f line;
        cv::fitLine(side, line, cv::DIST_L2, 0, 0.01, 0.01);
        const cv::Point2f far(line[2] + 3000 * line[0], line[3] + 3000 * line[1]);
        std::vector<std::pair<double, cv::Point2f>> ordered;
        for (const auto &p : side)
            ordered.push_back({std::hypot(p.x - far.x, p.y - far.y), p});
        std::sort(ordered.begin(), ordered.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (size_t i = 1; i < ordered.size(); ++i) {
            const cv::Point2f d = ordered[i].second - ordered[i - 1].second;
            const double dist = std::hypot(d.x, d.y);
            minD = n == 0 ? dist : std::min(minD, dist);
            maxD = n == 0 ? dist : std::max(maxD, dist);
            sum += dist;
            ++n;
        }
    }
    if (n == 0)
        return;
    result.pinCountCorrect = true;
    result.avgPinDist = sum / n;
    result.minPinDist = minD;
    result.maxPinDist = maxD;
}

bool ComponentFinder::edgeAngle(const std::vector<cv::Point2f> &centroids, double supposedAngle, double *angle)
{
    if (centroids.size() < 17)
        return false;
    // The band holds the lead rows running in the direction of the expected
    // angle on both sides of the centre: take the fuller side, and in it the
    // leads nearest to the middle of the band.
    const double a = supposedAngle / degrees;
    const cv::Point2f dir(float(std::cos(a)), float(std::sin(a)));
    std::vector<cv::Point2f> sides[2];
    for (const auto &p : centroids)
        sides[p.x * dir.y - p.y * dir.x > 0 ? 1 : 0].push_back(p);
    const std::vector<cv::Point2f> &row = sides[0].size() >= sides[1].size() ? sides[0] : sides[1];
    if (row.size() < 2)
        return false;
    std::vector<std::pair<double, cv::Point2f>> ranked;
    for (const auto &p : row)
        ranked.push_back({std::fabs(p.dot(dir)), p});
    std::sort(ranked.begin(), ranked.end(), [](const auto &l, const auto &r) { return l.first < r.first; });
    std::vector<cv::Point2f> nearest;
    for (size_t i = 0; i < std::min<size_t>(8, ranked.size()); ++i)
        nearest.push_back(ranked[i].second);
    cv::Vec4f line;
    cv::fitLine(nearest, line, cv::DIST_L2, 0, 0.01, 0.01);
    std::vector<cv::Point2f> kept;
    for (const auto &p : row) {
        const double d = std::fabs((p.x - line[2]) * line[1] - (p.y - line[3]) * line[0]);
        if (d <= 10)
            kept.push_back(p);
    }
    if (kept.size() >= 2)
        cv::fitLine(kept, line, cv::DIST_L2, 0, 0.01, 0.01);
    const double result = line[0] == 0 ? 90.0 : std::atan(double(line[1]) / double(line[0])) * degrees;
    *angle = Recognition::fold(result, 45);
    return std::isfinite(*angle);
}

RecognitionResult ComponentFinder::find(cv::Mat &area, Kind kind, const RecognitionParams &params) const
{
    RecognitionResult result;
    if (area.empty())
        return result;
    Recognition::threshold(area, params);
    if (kind == Corners)
        blankSides(area, params.supposedAngle);
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(area, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
    if (contours.size() > size_t(Recognition::maxContours)) {
        result.tooManyContours = true;
        return result;
    }
    const double minArea = params.param2 * Recognition::areaScale(area.size());
    std::vector<cv::Point> points;
    std::vector<cv::Point2f> centroids;
    std::vector<double> areas;
    const cv::Point2f half(float(area.cols / 2), float(area.rows / 2));
    for (int i = 0; i < int(contours.size()); ++i) {
        const auto &c = contours[size_t(i)];
        const cv::Rect r = cv::boundingRect(c);
        const bool dust = double(r.width) * r.height <= minArea;
        cv::drawContours(area, contours, i, cv::Scalar(dust ? Recognition::rejectedGrey : Recognition::acceptedGrey),
                         dust ? 1 : 3, cv::LINE_8);
        if (dust)
            continue;
        points.insert(points.end(), c.begin(), c.end());
        if (kind != Element) {
            const cv::Point2d p = Recognition::centroid(c);
            centroids.push_back(cv::Point2f(float(p.x), float(p.y)) - half);
            areas.push_back(cv::contourArea(c));
        }
    }
    if (kind == Corners && !areas.empty()) {
        // Leads cut by the band edges are slivers whose centroids leave the
        // lead row: only whole leads define the edge.
        std::vector<double> sorted = areas;
        std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
        const double median = sorted[sorted.size() / 2];
        std::vector<cv::Point2f> whole;
        for (size_t i = 0; i < centroids.size(); ++i)
            if (areas[i] >= 0.7 * median)
                whole.push_back(centroids[i]);
        centroids.swap(whole);
    }
    if (points.size() < 2) {
        if (kind == Pins)
            measurePins(centroids, result);
        return result;
    }
    const cv::RotatedRect rect = Recognition::minAreaRect(points);
    // A component cut by the border of the analysed area cannot be measured.
    const bool cut = kind != Corners && touchesBorder(rect, area.cols, area.rows);
    if (kind == Element || cut) {
        cv::Point2f corners[4];
        rect.points(corners);
        for (int i = 0; i < 4; ++i)
            cv::line(area, corners[i], corners[(i + 1) % 4], cv::Scalar(Recognition::acceptedGrey), 2);
    }

    double angle = rect.angle;
    double sizeX = rect.size.width, sizeY = rect.size.height;
    if (angle < -45) {
        angle += 90;
        std::swap(sizeX, sizeY);
    }
    result.hasExAngle = true;
    result.exAngle = rect.angle + (rect.size.width < rect.size.height ? 90 : 0);

    if (kind == Pins) {
        for (const auto &p : centroids)
            cv::circle(area, p + half, 3, cv::Scalar(Recognition::acceptedGrey), 1);
        if (!centroids.empty()) {
            cv::Point2f mean(0, 0);
            for (const auto &p : centroids)
                mean += p;
            mean *= 1.0f / float(centroids.size());
            cv::circle(area, mean + half, 6, cv::Scalar(Recognition::acceptedGrey), 1);
        }
        measurePins(centroids, result);
        const double target = params.supposedAngle + 90;
        for (int i = 0; i < 5; ++i) {
            if (angle < target - 3)
                angle += 90;
            else if (angle > target + 3)
                angle -= 90;
            else
                break;
        }
    } else if (kind == Corners) {
        for (const auto &p : centroids)
            cv::circle(area, p + half, 3, cv::Scalar(Recognition::acceptedGrey), 3);
        double edge = 0;
        if (edgeAngle(centroids, params.supposedAngle, &edge))
            angle = edge;
    }

    const double x = rect.center.x - area.cols / 2;
    const double y = rect.center.y - area.rows / 2;
    result.x = x;
    result.y = y;
    result.angle = angle + params.cameraAngle;
    result.sizeX = sizeX;
    result.sizeY = sizeY;
    const bool finite = std::isfinite(x) && std::isfinite(y) && std::isfinite(result.angle) && std::isfinite(sizeX) &&
                        std::isfinite(sizeY);
    const bool inside = std::fabs(x) <= area.cols / 2 && std::fabs(y) <= area.rows / 2;
    result.found = !cut && finite && inside;
    if (!finite) {
        result.x = result.y = result.angle = result.sizeX = result.sizeY = 0;
    }
    return result;
}

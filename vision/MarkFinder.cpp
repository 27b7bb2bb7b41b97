#include "vision/MarkFinder.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace {

std::vector<cv::Point> referenceCircle()
{
    cv::Mat image = cv::Mat::zeros(256, 256, CV_8UC1);
    cv::circle(image, cv::Point(128, 128), 100, cv::Scalar(255), cv::FILLED, cv::LINE_8);
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(image, contours, cv::RETR_TREE, cv::CHAIN_APPROX_SIMPLE);
    return contours.empty() ? std::vector<cv::Point>() : contours.front();
}

double cosineAt(cv::Point p1, cv::Point p2, cv::Point p0)
{
    const double dx1 = p1.x - p0.x, dy1 = p1.y - p0.y;
    const double dx2 = p2.x - p0.x, dy2 = p2.y - p0.y;
    return (dx1 * dx2 + dy1 * dy2) / std::sqrt((dx1 * dx1 + dy1 * dy1) * (dx2 * dx2 + dy2 * dy2) + 1e-10);
}

void draw(cv::Mat &area, const std::vector<std::vector<cv::Point>> &contours, int i, bool accepted)
{
    cv::drawContours(area, contours, i, cv::Scalar(accepted ? Recognition::acceptedGrey : Recognition::rejectedGrey),
                     accepted ? 2 : 1, cv::LINE_8);
}

} // namespace

MarkFinder::MarkFinder()
    : m_circle(referenceCircle()),
      m_holeElement(cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7)))
{
}

RecognitionResult MarkFinder::find(cv::Mat &area, Kind kind, const RecognitionParams &params) const
{
    if (area.empty())
        return RecognitionResult();
    return kind == Square ? findSquare(area, params) : findRound(area, kind == Hole, params);
}

RecognitionResult MarkFinder::findRound(cv::Mat &area, bool hole, const RecognitionParams &params) const
{
    RecognitionResult result;
    Recognition::threshold(area, params);
    if (hole)
        cv::dilate(area, area, m_holeElement, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT);
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(area, contours, cv::RETR_TREE, cv::CHAIN_APPROX_SIMPLE);
    if (contours.size() > size_t(Recognition::maxContours)) {
        result.tooManyContours = true;
        return result;
    }
    int accepted = 0;
    for (int i = 0; i < int(contours.size()); ++i) {
        const auto &c = contours[size_t(i)];
        const double d = cv::matchShapes(c, m_circle, cv::CONTOURS_MATCH_I3, 0);
        const cv::Rect r = cv::boundingRect(c);
        const int s = (r.width + r.height) / 2;
        const bool ok = d < params.param2 * 0.0001 && Recognition::inSizeWindow(s, params.targetSize, params.tolerance) &&
                        cv::contourArea(c) > 40;
        draw(area, contours, i, ok);
        if (!ok)
            continue;
        if (++accepted == 1) {
            const cv::Point2d c0 = Recognition::centroid(c);
            result.x = c0.x - area.cols / 2;
            result.y = c0.y - area.rows / 2;
        }
    }
    result.found = accepted == 1;
    if (!result.found)
        result.x = result.y = 0;
    return result;
}

bool MarkFinder::isSquareCandidate(const std::vector<cv::Point> &p, const cv::Size &area)
{
    if (p.size() != 4 || std::fabs(cv::contourArea(p)) <= 100 || !cv::isContourConvex(p))
        return false;
    double maxCosine = 0;
    for (int j = 2; j < 5; ++j)
        maxCosine = std::max(maxCosine, std::fabs(cosineAt(p[size_t(j % 4)], p[size_t(j - 2)], p[size_t(j - 1)])));
    if (maxCosine >= 0.3)
        return false;
    for (const cv::Point &v : p) {
        if (v.x < 4 || v.x >= area.width - 3 || v.y < 4 || v.y >= area.height - 3)
            return false;
    }
    return true;
}

RecognitionResult MarkFinder::findSquare(cv::Mat &area, const RecognitionParams &params) const
{
    RecognitionResult result;
    Recognition::threshold(area, params);
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(area, contours, cv::RETR_TREE, cv::CHAIN_APPROX_SIMPLE);
    if (contours.size() > size_t(Recognition::maxContours)) {
        result.tooManyContours = true;
        return result;
    }
    int accepted = 0;
    for (int i = 0; i < int(contours.size()); ++i) {
        const auto &c = contours[size_t(i)];
        std::vector<cv::Point> polygon;
        cv::approxPolyDP(c, polygon, cv::arcLength(c, true) * 0.02, true);
        bool ok = isSquareCandidate(polygon, area.size());
        if (ok) {
            const cv::Rect r = cv::boundingRect(polygon);
            ok = Recognition::inSizeWindow(r.width, params.targetSize, params.tolerance) &&
                 Recognition::inSizeWindow(r.height, params.targetSize2, params.tolerance);
        }
        draw(area, contours, i, ok);
        if (!ok)
            continue;
        if (++accepted == 1) {
            const cv::Point2d c0 = Recognition::centroid(c);
            result.x = c0.x - area.cols / 2;
            result.y = c0.y - area.rows / 2;
        }
    }
    result.found = accepted == 1;
    if (!result.found)
        result.x = result.y = 0;
    return result;
}

#include "SyntheticFrames.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <random>

namespace Synthetic {

namespace {

constexpr int shiftBits = 4;

cv::Point toBig(cv::Point2d p)
{
    // Small pixel x covers big pixels x*s .. x*s+s-1, whose centre is x*s + (s-1)/2.
    const double f = 1 << shiftBits;
    return cv::Point(int(std::lround((p.x * scale + (scale - 1) / 2.0) * f)),
                     int(std::lround((p.y * scale + (scale - 1) / 2.0) * f)));
}

} // namespace

Canvas::Canvas(int width, int height, int background)
    : big(height * scale, width * scale, CV_8UC1, cv::Scalar(background)), size(width, height)
{
}

void Canvas::disc(cv::Point2d centre, double radius, int grey)
{
    cv::circle(big, toBig(centre), int(std::lround(radius * scale * (1 << shiftBits))), cv::Scalar(grey), cv::FILLED,
               cv::LINE_8, shiftBits);
}

void Canvas::rect(cv::Point2d centre, cv::Size2d s, double angleDeg, int grey)
{
    std::vector<cv::Point2d> points = {along(centre, angleDeg, -s.width / 2, -s.height / 2),
                                       along(centre, angleDeg, s.width / 2, -s.height / 2),
                                       along(centre, angleDeg, s.width / 2, s.height / 2),
                                       along(centre, angleDeg, -s.width / 2, s.height / 2)};
    polygon(points, grey);
}

void Canvas::polygon(const std::vector<cv::Point2d> &points, int grey)
{
    std::vector<cv::Point> big_;
    for (const auto &p : points)
        big_.push_back(toBig(p));
    cv::fillConvexPoly(big, big_, cv::Scalar(grey), cv::LINE_8, shiftBits);
}

cv::Mat Canvas::frame() const
{
    cv::Mat out;
    cv::resize(big, out, size, 0, 0, cv::INTER_AREA);
    return out;
}

cv::Point2d along(cv::Point2d centre, double angleDeg, double u, double v)
{
    // Angles as minAreaRect reports them: clockwise on screen (y down).
    const double a = angleDeg * CV_PI / 180;
    return cv::Point2d(centre.x + u * std::cos(a) - v * std::sin(a), centre.y + u * std::sin(a) + v * std::cos(a));
}

void addNoise(cv::Mat &frame, double sigma, unsigned seed)
{
    cv::Mat noise(frame.size(), CV_32F);
    cv::theRNG().state = seed;
    cv::randn(noise, 0, sigma);
    cv::Mat f;
    frame.convertTo(f, CV_32F);
    f += noise;
    f.convertTo(frame, CV_8U);
}

void addGradient(cv::Mat &frame, double fromLeft, double toRight)
{
    cv::Mat f;
    frame.convertTo(f, CV_32F);
    for (int x = 0; x < f.cols; ++x)
        f.col(x) += fromLeft + (toRight - fromLeft) * x / std::max(1, f.cols - 1);
    f.convertTo(frame, CV_8U);
}

void addDust(cv::Mat &frame, int count, int grey, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> x(0, frame.cols - 1), y(0, frame.rows - 1);
    for (int i = 0; i < count; ++i)
        cv::circle(frame, cv::Point(x(rng), y(rng)), 1, cv::Scalar(grey), cv::FILLED);
}

void blur(cv::Mat &frame, double sigma)
{
    cv::GaussianBlur(frame, frame, cv::Size(0, 0), sigma);
}

cv::Mat texture(cv::Size size, unsigned seed)
{
    cv::Mat t(size, CV_8UC1);
    cv::theRNG().state = seed;
    cv::randu(t, 0, 255);
    cv::GaussianBlur(t, t, cv::Size(0, 0), 4);
    cv::normalize(t, t, 0, 255, cv::NORM_MINMAX);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> x(10, size.width - 10), y(10, size.height - 10), g(0, 1);
    for (int i = 0; i < 6; ++i)
        cv::rectangle(t, cv::Rect(x(rng) - 8, y(rng) - 5, 16 + 4 * i, 10 + 2 * i), cv::Scalar(g(rng) ? 255 : 0),
                      cv::FILLED);
    cv::line(t, cv::Point(5, 5), cv::Point(size.width / 2, size.height - 8), cv::Scalar(255), 4);
    return t;
}

void pasteRotated(cv::Mat &frame, const cv::Mat &patch, cv::Point2d centre, double angleDeg)
{
    cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(float((patch.cols - 1) / 2.0), float((patch.rows - 1) / 2.0)),
                                        angleDeg, 1.0);
    m.at<double>(0, 2) += centre.x - (patch.cols - 1) / 2.0;
    m.at<double>(1, 2) += centre.y - (patch.rows - 1) / 2.0;
    cv::Mat mask(patch.size(), CV_8UC1, cv::Scalar(255)), warped, warpedMask;
    cv::warpAffine(patch, warped, m, frame.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT);
    cv::warpAffine(mask, warpedMask, m, frame.size(), cv::INTER_NEAREST, cv::BORDER_CONSTANT);
    warped.copyTo(frame, warpedMask);
}

} // namespace Synthetic

#include "vision/Recognition.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace Recognition {

bool inSizeWindow(double size, double target, int tolerance)
{
    return target * (100 - tolerance) / 100.0 < size && size < target * (100 + tolerance) / 100.0;
}

cv::RotatedRect normalizedRect(cv::RotatedRect rect)
{
    // Newer OpenCV reports (0, 90], older [-90, 0); a quarter turn with the
    // sides swapped describes the same rectangle.
    for (int i = 0; i < 4 && rect.angle >= 0; ++i) {
        rect.angle -= 90;
        std::swap(rect.size.width, rect.size.height);
    }
    for (int i = 0; i < 4 && rect.angle < -90; ++i) {
        rect.angle += 90;
        std::swap(rect.size.width, rect.size.height);
    }
    return rect;
}

cv::RotatedRect minAreaRect(const std::vector<cv::Point> &points)
{
    return normalizedRect(cv::minAreaRect(points));
}

cv::RotatedRect minAreaRect(const std::vector<cv::Point2f> &points)
{
    return normalizedRect(cv::minAreaRect(points));
}

cv::Point2d centroid(const std::vector<cv::Point> &contour)
{
    const cv::Moments m = cv::moments(contour);
    if (m.m00 == 0) {
        const cv::Rect r = cv::boundingRect(contour);
        return cv::Point2d(r.x + (r.width - 1) / 2.0, r.y + (r.height - 1) / 2.0);
    }
    return cv::Point2d(m.m10 / m.m00, m.m01 / m.m00);
}

double areaScale(const cv::Size &area)
{
    return double(area.width) * 3 * area.height / 307200.0;
}

void threshold(cv::Mat &area, const RecognitionParams &params)
{
    cv::threshold(area, area, params.param1, 255, cv::THRESH_TOZERO);
    if (params.thresholdCopy)
        *params.thresholdCopy = area.clone();
}

double fold(double angle, double limit)
{
    if (!std::isfinite(angle))
        return angle;
    while (angle >= limit)
        angle -= 2 * limit;
    while (angle < -limit)
        angle += 2 * limit;
    return angle;
}

} // namespace Recognition

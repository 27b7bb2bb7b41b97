#include "vision/PlacerContoursFinder.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

RecognitionResult PlacerContoursFinder::find(cv::Mat &area, const RecognitionParams &params) const
{
    RecognitionResult result;
    result.hasObjArray = true;
    if (area.empty())
        return result;
    const double minArea = Recognition::areaScale(area.size());
    Recognition::threshold(area, params);
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> hierarchy;
    cv::findContours(area, contours, hierarchy, cv::RETR_TREE, cv::CHAIN_APPROX_SIMPLE);
    if (contours.size() > size_t(Recognition::maxContours)) {
        result.hasObjArray = false;
        result.tooManyContours = true;
        return result;
    }
    const double shortTarget = std::min(params.targetSize, params.targetSize2);
    const double longTarget = std::max(params.targetSize, params.targetSize2);
    const bool targetWide = params.targetSize >= params.targetSize2;
    for (int i = 0; i < int(contours.size()); ++i) {
        const cv::RotatedRect r = Recognition::minAreaRect(contours[size_t(i)]);
        bool ok = r.size.area() > minArea && hierarchy[size_t(i)][3] < 0;
        if (ok) {
            cv::Point2f corners[4];
            r.points(corners);
            for (const cv::Point2f &p : corners) {
                if (p.x <= 5 || p.x >= area.cols - 5 || p.y <= 5 || p.y >= area.rows - 5)
                    ok = false;
            }
        }
        const double shortSide = std::min(r.size.width, r.size.height);
        const double longSide = std::max(r.size.width, r.size.height);
        ok = ok && shortSide >= 0.5 * shortTarget && shortSide <= 1.5 * shortTarget && longSide >= 0.5 * longTarget &&
             longSide <= 1.5 * longTarget;
        cv::drawContours(area, contours, i, cv::Scalar(ok ? Recognition::acceptedGrey : Recognition::rejectedGrey),
                         ok ? 2 : 1, cv::LINE_8);
        if (!ok)
            continue;
        const bool rectWide = r.size.width >= r.size.height;
        const double angle = r.angle + (rectWide != targetWide ? 90 : 0);
        result.centersX.append(r.center.x - area.cols / 2);
        result.centersY.append(r.center.y - area.rows / 2);
        result.angles.append(angle);
        result.found = true;
        result.x = r.center.x - area.cols / 2;
        result.y = r.center.y - area.rows / 2;
        // Two short axis lines through the centre.
        const double a = r.angle * CV_PI / 180;
        const cv::Point2f u(float(std::cos(a)), float(std::sin(a))), v(-u.y, u.x);
        const float hw = 0.3f * r.size.width, hh = 0.3f * r.size.height;
        cv::line(area, r.center - u * hw, r.center + u * hw, cv::Scalar(Recognition::acceptedGrey), 1);
        cv::line(area, r.center - v * hh, r.center + v * hh, cv::Scalar(Recognition::acceptedGrey), 1);
    }
    return result;
}

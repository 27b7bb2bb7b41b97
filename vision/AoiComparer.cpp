#include "vision/AoiComparer.h"

#include "vision/MatImage.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

AoiComparer::Result AoiComparer::failed()
{
    Result r;
    r.diffImage = QImage(1, 1, QImage::Format_RGBA8888);
    r.diffImage.fill(QColor(255, 0, 0, 255));
    r.diff = 100;
    r.shift = QPointF(0, 0);
    return r;
}

namespace {

cv::Mat bgrOf(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const cv::Mat mat = MatImage::toMat(rgb, true); // 24-bit RGB arrives as BGR
    return mat;
}

} // namespace

AoiComparer::Result AoiComparer::compare(const QImage &reference, const QImage &clip, int threshold, int erosion)
{
    if (reference.isNull() || clip.isNull() || reference.width() <= 1 || reference.height() <= 1 ||
        clip.width() <= 1 || clip.height() <= 1 || reference.width() <= clip.width() ||
        reference.height() <= clip.height())
        return failed();
    const cv::Mat first = bgrOf(reference);
    const cv::Mat second = bgrOf(clip);
    if (first.empty() || second.empty())
        return failed();

    cv::Mat response;
    cv::matchTemplate(first, second, response, cv::TM_CCOEFF_NORMED);
    cv::Point best;
    cv::minMaxLoc(response, nullptr, nullptr, nullptr, &best);
    Result result;
    result.shift = QPointF((first.cols - second.cols) / 2 - best.x, (first.rows - second.rows) / 2 - best.y);

    cv::Mat cut = first(cv::Rect(best.x, best.y, second.cols, second.rows)), hsv1, hsv2, delta;
    cv::cvtColor(cut, hsv1, cv::COLOR_BGR2HSV);
    cv::cvtColor(second, hsv2, cv::COLOR_BGR2HSV);
    cv::absdiff(hsv1, hsv2, delta);

    cv::Mat mask = cv::Mat::zeros(second.rows, second.cols, CV_8UC4); // R, G, B, A
    const double limit = threshold;
    for (int y = 0; y < delta.rows; ++y) {
        const cv::Vec3b *d = delta.ptr<cv::Vec3b>(y);
        cv::Vec4b *m = mask.ptr<cv::Vec4b>(y);
        for (int x = 0; x < delta.cols; ++x) {
            const double dh = d[x][0], ds = d[x][1], dv = d[x][2];
            if (dv <= 14)
                continue;
            if (std::sqrt(dh * dh * dh + ds * ds + dv * dv) > limit)
                m[x] = cv::Vec4b(255, 0, 0, 255);
        }
    }
    const int e = std::max(0, erosion);
    const cv::Mat element = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * e + 1, 2 * e + 1));
    cv::erode(mask, mask, element, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::morphologyDefaultBorderValue());

    int count = 0;
    for (int y = 0; y < mask.rows; ++y) {
        const cv::Vec4b *m = mask.ptr<cv::Vec4b>(y);
        for (int x = 0; x < mask.cols; ++x)
            if (m[x][0])
                ++count;
    }
    result.diff = double(count) / (double(second.cols) * second.rows) * 100;
    result.diffImage = QImage(mask.data, mask.cols, mask.rows, int(mask.step), QImage::Format_RGBA8888).copy();
    return result;
}

#include "vision/TemplateMatcher.h"

#include "vision/MatImage.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

cv::Mat TemplateMatcher::greyOf(const QImage &image)
{
    if (image.isNull() || image.width() <= 1 || image.height() <= 1)
        return cv::Mat();
    QImage source = image;
    if (source.format() != QImage::Format_ARGB32 && source.format() != QImage::Format_ARGB32_Premultiplied &&
        source.format() != QImage::Format_RGB32 && source.format() != QImage::Format_Indexed8 &&
        source.format() != QImage::Format_Grayscale8 && source.format() != QImage::Format_RGB888)
        source = source.convertToFormat(QImage::Format_RGB32);
    const cv::Mat mat = MatImage::toMat(source, true);
    cv::Mat grey;
    if (mat.channels() == 4)
        cv::cvtColor(mat, grey, cv::COLOR_BGRA2GRAY);
    else if (mat.channels() == 3)
        cv::cvtColor(mat, grey, cv::COLOR_BGR2GRAY);
    else
        grey = mat;
    return grey;
}

cv::Mat TemplateMatcher::edges(const cv::Mat &grey)
{
    cv::Mat blurred, lap, out;
    cv::GaussianBlur(grey, blurred, cv::Size(3, 3), 0);
    cv::Laplacian(blurred, lap, CV_16S, 3, 1, 0);
    cv::convertScaleAbs(lap, out);
    return out;
}

TemplateMatcher::Prepared TemplateMatcher::prepare(const cv::Mat &grey, double mult, int templateType)
{
    Prepared p;
    if (grey.empty() || !(mult > 0))
        return p;
    const int w = int(grey.cols * mult), h = int(grey.rows * mult);
    if (w < 1 || h < 1)
        return p;
    cv::resize(grey, p.plain, cv::Size(w, h), 0, 0, cv::INTER_LANCZOS4);
    p.search = templateType == 1 ? edges(p.plain) : p.plain.clone();
    p.full = grey.clone();
    return p;
}

cv::Mat TemplateMatcher::rotation(const cv::Size &image, double degrees)
{
    const float side = float(std::max(image.width, image.height));
    return cv::getRotationMatrix2D(cv::Point2f(side / 2, side / 2), degrees, 1.0);
}

cv::Mat TemplateMatcher::rotate(const cv::Mat &image, double degrees)
{
    const int side = std::max(image.cols, image.rows);
    cv::Mat out;
    cv::warpAffine(image, out, rotation(image.size(), degrees), cv::Size(side, side), cv::INTER_LINEAR,
                   cv::BORDER_CONSTANT, cv::Scalar(0));
    return out;
}

TemplateMatcher::AngleMatch TemplateMatcher::searchAngles(const cv::Mat &image, const cv::Mat &templ, int from, int to,
                                                          int step, int method, const AngleMatch *start)
{
    AngleMatch best = start ? *start : AngleMatch();
    best.from = from;
    best.to = to;
    // Trials a tenth of a degree apart differ less than the sampling grid
    // does: they are compared by the height of the peak between the pixels.
    const bool fine = step == 1;
    double bestScore = best.value;
    cv::Mat response;
    for (int a = from; a <= to; a += step) {
        const cv::Mat rotated = rotate(image, a / 10.0);
        if (rotated.cols < templ.cols || rotated.rows < templ.rows)
            continue;
        cv::matchTemplate(rotated, templ, response, method);
        double maxVal = 0;
        cv::Point maxLoc;
        cv::minMaxLoc(response, nullptr, &maxVal, nullptr, &maxLoc);
        const double score = fine ? peakHeight(response, maxLoc) : maxVal;
        if (std::isfinite(score) && score > bestScore) {
            bestScore = score;
            best.value = maxVal;
            best.angle = a;
            best.location = maxLoc;
        }
    }
    return best;
}

double TemplateMatcher::peakHeight(const cv::Mat &r, cv::Point p)
{
    double h = r.at<float>(p.y, p.x);
    const double c = h;
    if (p.x > 0 && p.x < r.cols - 1) {
        const double l = r.at<float>(p.y, p.x - 1), rr = r.at<float>(p.y, p.x + 1), d = l - 2 * c + rr;
        if (d < 0)
            h -= (l - rr) * (l - rr) / (8 * d);
    }
    if (p.y > 0 && p.y < r.rows - 1) {
        const double u = r.at<float>(p.y - 1, p.x), dn = r.at<float>(p.y + 1, p.x), d = u - 2 * c + dn;
        if (d < 0)
            h -= (u - dn) * (u - dn) / (8 * d);
    }
    return h;
}

cv::Point2d TemplateMatcher::refinePeak(const cv::Mat &r, cv::Point p)
{
    cv::Point2d out(p.x, p.y);
    auto at = [&](int y, int x) { return double(r.at<float>(y, x)); };
    if (p.x > 0 && p.x < r.cols - 1) {
        const double l = at(p.y, p.x - 1), c = at(p.y, p.x), rr = at(p.y, p.x + 1);
        const double d = l - 2 * c + rr;
        if (d < 0)
            out.x += std::max(-0.5, std::min(0.5, 0.5 * (l - rr) / d));
    }
    if (p.y > 0 && p.y < r.rows - 1) {
        const double u = at(p.y - 1, p.x), c = at(p.y, p.x), dn = at(p.y + 1, p.x);
        const double d = u - 2 * c + dn;
        if (d < 0)
            out.y += std::max(-0.5, std::min(0.5, 0.5 * (u - dn) / d));
    }
    return out;
}

TemplateMatcher::Result TemplateMatcher::matchReference(const cv::Mat &area, const cv::Mat &templ, int minCoeff)
{
    Result result;
    if (templ.empty() || area.cols < templ.cols + 10 || area.rows < templ.rows + 10)
        return result;
    cv::Mat response;
    cv::matchTemplate(area, templ, response, cv::TM_CCOEFF_NORMED);
    double maxVal = 0;
    cv::Point maxLoc;
    cv::minMaxLoc(response, nullptr, &maxVal, nullptr, &maxLoc);
    result.matched = true;
    result.coeff = std::isfinite(maxVal) ? maxVal * 100 : 0;
    result.x = maxLoc.x - (area.cols - templ.cols) / 2;
    result.y = maxLoc.y - (area.rows - templ.rows) / 2;
    result.found = result.coeff > minCoeff;
    return result;
}

namespace {

struct Scaled
{
    cv::Mat search, plain;
};

Scaled scaleArea(const cv::Mat &area, double mult, int templateType)
{
    Scaled s;
    const int w = int(area.cols * mult), h = int(area.rows * mult);
    if (w < 1 || h < 1)
        return s;
    cv::resize(area, s.plain, cv::Size(w, h), 0, 0, cv::INTER_LANCZOS4);
    s.search = templateType == 1 ? TemplateMatcher::edges(s.plain) : s.plain;
    return s;
}

// The final match at the winning angle: centre in unrotated search-area
// pixels (frame scale) and the coefficient.
cv::Point2d applyAffine(const cv::Mat &m, cv::Point2d p)
{
    return cv::Point2d(m.at<double>(0, 0) * p.x + m.at<double>(0, 1) * p.y + m.at<double>(0, 2),
                       m.at<double>(1, 0) * p.x + m.at<double>(1, 1) * p.y + m.at<double>(1, 2));
}

// Matches the unscaled photo on the full-size search area turned by `angle`
// (tenths of a degree) in a small window around the expected place of
// `centre` (unrotated frame pixels). Gives the refined centre and the height
// of the match peak; false when the window does not fit.
bool matchFull(const cv::Mat &area, const cv::Mat &full, double angle, const cv::Point2d &centre,
               cv::Point2d *found, double *height)
{
    if (area.empty() || full.empty())
        return false;
    constexpr int margin = 4;
    const cv::Mat forward = TemplateMatcher::rotation(area.size(), angle / 10.0);
    const cv::Point2d expected = applyAffine(forward, centre);
    const cv::Mat rotated = TemplateMatcher::rotate(area, angle / 10.0);
    const cv::Rect window(int(std::lround(expected.x - (full.cols - 1) / 2.0)) - margin,
                          int(std::lround(expected.y - (full.rows - 1) / 2.0)) - margin, full.cols + 2 * margin,
                          full.rows + 2 * margin);
    if ((window & cv::Rect(0, 0, rotated.cols, rotated.rows)) != window)
        return false;
    cv::Mat response;
    cv::matchTemplate(rotated(window), full, response, cv::TM_CCOEFF_NORMED);
    cv::Point maxLoc;
    cv::minMaxLoc(response, nullptr, nullptr, nullptr, &maxLoc);
    const cv::Point2d peak = TemplateMatcher::refinePeak(response, maxLoc);
    const cv::Point2d at(window.x + peak.x + (full.cols - 1) / 2.0, window.y + peak.y + (full.rows - 1) / 2.0);
    cv::Mat inverse;
    cv::invertAffineTransform(forward, inverse);
    *found = applyAffine(inverse, at);
    *height = TemplateMatcher::peakHeight(response, maxLoc);
    return true;
}

// Refines a centre and angle found at the reduced scale on the full-size
// images: the angle climbs by tenths of a degree while the match peak of the
// unscaled photo grows (the reduced images cannot tell neighbouring tenths
// apart), then settles between the tenths on a parabola through the best
// and its two neighbours; the centre is the match at that angle.
void refineFull(const cv::Mat &area, const cv::Mat &full, int from, int to, double *angle, cv::Point2d *centre)
{
    constexpr int maxSteps = 15;
    cv::Point2d found;
    double best = 0;
    if (!matchFull(area, full, *angle, *centre, &found, &best))
        return;
    *centre = found;
    double lower = 0, upper = 0;
    cv::Point2d ignored;
    if (!matchFull(area, full, *angle - 1, *centre, &ignored, &lower)
        || !matchFull(area, full, *angle + 1, *centre, &ignored, &upper))
        return;
    const int direction = upper > lower ? 1 : -1;
    double ahead = direction > 0 ? upper : lower;
    double behind = direction > 0 ? lower : upper;
    // The climb stays within the angles that the search covered.
    for (int step = 0; step < maxSteps && ahead > best && *angle + 2 * direction >= from
                       && *angle + 2 * direction <= to;
         ++step) {
        *angle += direction;
        behind = best;
        best = ahead;
        if (!matchFull(area, full, *angle + direction, *centre, &found, &ahead))
            return;
    }
    lower = direction > 0 ? behind : ahead;
    upper = direction > 0 ? ahead : behind;
    const double d = lower - 2 * best + upper;
    double shift = 0;
    if (d < 0)
        shift = std::max(-0.5, std::min(0.5, 0.5 * (lower - upper) / d));
    double h = 0;
    if (matchFull(area, full, *angle + shift, *centre, &found, &h)) {
        *angle += shift;
        *centre = found;
    }
}

void finish(const cv::Mat &image, const cv::Mat &templ, const TemplateMatcher::AngleMatch &match, const cv::Mat &area,
            const cv::Mat &full, TemplateMatcher::Result &result)
{
    const int angle = match.angle;
    // The scale actually applied (the scaled size is rounded down).
    const double sx = double(image.cols) / area.cols, sy = double(image.rows) / area.rows;
    const cv::Mat rotated = TemplateMatcher::rotate(image, angle / 10.0);
    cv::Mat response;
    cv::matchTemplate(rotated, templ, response, cv::TM_CCOEFF_NORMED);
    double maxVal = 0;
    cv::Point maxLoc;
    cv::minMaxLoc(response, nullptr, &maxVal, nullptr, &maxLoc);
    const cv::Point2d peak = TemplateMatcher::refinePeak(response, maxLoc);
    const cv::Point2d centre(peak.x + (templ.cols - 1) / 2.0, peak.y + (templ.rows - 1) / 2.0);
    cv::Mat inverse;
    cv::invertAffineTransform(TemplateMatcher::rotation(image.size(), angle / 10.0), inverse);
    const cv::Point2d u = applyAffine(inverse, centre);
    // Pixel centres: scaled pixel i covers the frame around (i + 0.5) / scale - 0.5.
    cv::Point2d frame((u.x + 0.5) / sx - 0.5, (u.y + 0.5) / sy - 0.5);
    double refined = angle;
    refineFull(area, full, match.from, match.to, &refined, &frame);
    result.x = frame.x - area.cols / 2;
    result.y = frame.y - area.rows / 2;
    result.angle = -refined / 10.0;
}

} // namespace

TemplateMatcher::Result TemplateMatcher::matchComponent(const cv::Mat &area, const Prepared &templ, double mult,
                                                        int templateType, double supposedAngle, int minCoeff)
{
    Result result;
    if (!templ.valid() || !(mult > 0))
        return result;
    if (int(area.cols * mult) - templ.search.cols + 1 <= 10 || int(area.rows * mult) - templ.search.rows + 1 <= 10)
        return result;
    const Scaled s = scaleArea(area, mult, templateType);
    if (s.search.empty())
        return result;
    const int centre = int(std::lround(10 * supposedAngle));
    AngleMatch best = searchAngles(s.search, templ.search, centre - 200, centre + 200, 50, cv::TM_CCORR_NORMED);
    const int coarse = best.angle;
    best = searchAngles(s.search, templ.search, coarse - 30, coarse + 30, 10, cv::TM_CCORR_NORMED);
    best = searchAngles(s.plain, templ.plain, best.angle - 9, best.angle + 9, 1, cv::TM_CCOEFF_NORMED);
    // The refinement on the full-size images may move within the middle stage's angles.
    best.from = coarse - 30;
    best.to = coarse + 30;
    if (best.angle < -1800) {
        best.angle += 3600;
        best.from += 3600;
        best.to += 3600;
    }
    result.matched = true;
    result.coeff = best.value * 100;
    finish(s.plain, templ.plain, best, area, templ.full, result);
    result.angle = Recognition::fold(result.angle, 45);
    result.found = result.coeff > minCoeff;
    return result;
}

namespace {

// Coarse and middle stages over the search (edge) images, both orientations
// 180 degrees apart; the fine stage over the plain grey images.
TemplateMatcher::AngleMatch fullCircle(const Scaled &image, const TemplateMatcher::Prepared &templ)
{
    using TM = TemplateMatcher;
    TM::AngleMatch best = TM::searchAngles(image.search, templ.search, -1800, 1750, 50, cv::TM_CCORR_NORMED);
    const int coarse = best.angle;
    best = TM::searchAngles(image.search, templ.search, coarse - 30, coarse + 30, 10, cv::TM_CCORR_NORMED);
    best = TM::searchAngles(image.search, templ.search, coarse + 1770, coarse + 1830, 10, cv::TM_CCORR_NORMED, &best);
    const int middle = best.angle;
    best = TM::searchAngles(image.plain, templ.plain, middle - 9, middle + 9, 1, cv::TM_CCOEFF_NORMED);
    // The refinement on the full-size images may move within the middle stage's angles.
    const int turned = middle >= coarse - 30 && middle <= coarse + 30 ? coarse : coarse + 1800;
    best.from = turned - 30;
    best.to = turned + 30;
    if (best.angle < -1800) {
        best.angle += 3600;
        best.from += 3600;
        best.to += 3600;
    }
    if (best.angle >= 1800) {
        best.angle -= 3600;
        best.from -= 3600;
        best.to -= 3600;
    }
    return best;
}

} // namespace

TemplateMatcher::Result TemplateMatcher::matchPlaced(const cv::Mat &area, const Prepared &templ,
                                                     const Prepared &flippedTempl, bool flippedEnabled, double mult,
                                                     int templateType, int minCoeff, int minFlippedCoeff)
{
    Result result;
    if (!templ.valid() || !(mult > 0))
        return result;
    const Scaled s = scaleArea(area, mult, templateType);
    if (s.search.empty())
        return result;
    auto fits = [&](const Prepared &t) {
        return s.search.cols > t.search.cols + 10 && s.search.rows > t.search.rows + 10;
    };
    if (!fits(templ) || (flippedEnabled && (!flippedTempl.valid() || !fits(flippedTempl))))
        return result;
    const AngleMatch straight = fullCircle(s, templ);
    result.matched = true;
    result.coeff = straight.value * 100;
    if (result.coeff > minCoeff) {
        result.found = true;
        finish(s.plain, templ.plain, straight, area, templ.full, result);
        return result;
    }
    if (flippedEnabled) {
        const AngleMatch flipped = fullCircle(s, flippedTempl);
        if (flipped.value * 100 > minFlippedCoeff) {
            result.found = true;
            result.flipped = true;
            result.coeff = flipped.value * 100;
            finish(s.plain, flippedTempl.plain, flipped, area, flippedTempl.full, result);
            return result;
        }
    }
    finish(s.plain, templ.plain, straight, area, templ.full, result);
    return result;
}

int TemplateMatcher::centerSearchSide(const cv::Size &photo, double mult)
{
    int s = int(1.6 * std::max(photo.width, photo.height));
    if (s < 200 && mult > 0)
        s += int(10 / mult);
    return s;
}

int TemplateMatcher::componentSearchSide(const cv::Size &photo, const cv::Size &frame)
{
    const int s = int(1.6 * std::max(photo.width, photo.height));
    return s > 0 && s <= std::min(frame.width, frame.height) ? s : 0;
}

void TemplateMatcher::drawOutline(cv::Mat &area, cv::Point2d centre, cv::Size size, double angle)
{
    const cv::RotatedRect r(cv::Point2f(float(centre.x), float(centre.y)), cv::Size2f(float(size.width), float(size.height)),
                            float(angle));
    cv::Point2f c[4];
    r.points(c);
    for (int i = 0; i < 4; ++i)
        cv::line(area, c[i], c[(i + 1) % 4], cv::Scalar(i % 2 ? 70 : 255), 2);
}

// Recognition speed and accuracy: per-mode processing time of one frame
// (median, one core) at 640x480 and 1280x720, and the centre and angle
// errors on synthetic frames with exact ground truth.
#include "../tests/vision/SyntheticFrames.h"

#include "vision/CameraWorker.h"
#include "vision/ComponentFinder.h"
#include "vision/MarkFinder.h"
#include "vision/MatImage.h"
#include "vision/TemplateMatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

struct Scene
{
    cv::Mat frame;
    QImage photo;
};

// A frame for each mode, scaled with the frame size.
Scene sceneFor(const QString &mode, cv::Size size)
{
    const double k = size.width / 640.0;
    const cv::Point2d c(size.width / 2.0 + 3.3 * k, size.height / 2.0 - 2.2 * k);
    Synthetic::Canvas canvas(size.width, size.height, 25);
    Scene s;
    if (mode == "circle" || mode == "hole") {
        canvas.disc(c, 10 * k, 220);
    } else if (mode == "square") {
        canvas.rect(c, {20 * k, 20 * k}, 0, 220);
    } else if (mode == "placerContours") {
        for (int i = 0; i < 6; ++i)
            canvas.rect({size.width * (0.3 + 0.08 * i), size.height * (0.4 + 0.04 * (i % 3))}, {40 * k, 20 * k},
                        15.0 * i, 220);
    } else if (mode == "element" || mode == "corners") {
        canvas.rect(c, {200 * k, 100 * k}, 7, 220);
    } else if (mode == "pins") {
        for (int side : {-1, 1})
            for (int i = 0; i < 8; ++i)
                canvas.rect(Synthetic::along(c, 3, (-3.5 + i) * 20 * k, side * 60 * k), {8 * k, 16 * k}, 3, 230);
    }
    s.frame = canvas.frame();
    if (mode.contains("emplate")) {
        const cv::Mat t = Synthetic::texture({int(100 * k), int(70 * k)}, 3);
        s.frame = Synthetic::texture(size, 99) * 0.5 + 40;
        Synthetic::pasteRotated(s.frame, t, c, mode == "template" ? 4 : 37);
        s.photo = MatImage::toGreyImage(t);
    }
    Synthetic::addNoise(s.frame, 2, 5);
    return s;
}

void timing()
{
    const QStringList modes = {"",        "circle", "hole",           "square",         "placerContours",
                               "element", "pins",   "corners",        "templateRef",    "template",
                               "placerTemplate",    "placerTemplateCenter"};
    std::printf("Processing time per BGR frame, one core, median (90th percentile) in ms\n");
    std::printf("%-22s %18s %18s\n", "mode", "640x480", "1280x720");
    for (const QString &mode : modes) {
        std::printf("%-22s", mode.isEmpty() ? "(display only)" : qPrintable(mode));
        for (cv::Size size : {cv::Size(640, 480), cv::Size(1280, 720)}) {
            const double k = size.width / 640.0;
            const Scene scene = sceneFor(mode, size);
            CameraWorker w;
            w.setMode(mode);
            w.setParam1(120);
            w.setParam2(5);
            w.setTargetSize((mode == "square" ? 20 : mode == "placerContours" ? 40 : 20) * k);
            w.setTargetSize2((mode == "placerContours" ? 20 : 20) * k);
            w.setTargetSizeTolerance(15);
            w.setRoiPercent(mode == "element" || mode == "pins" || mode == "corners" ? 80 : 50);
            w.setShowPercent(100);
            w.setViewType(2);
            w.setTemplMatchCoeff(50);
            if (!scene.photo.isNull()) {
                w.setCompareImage(scene.photo);
                w.setCompareNonrotatedImage(scene.photo);
            }
            // Frames arrive in colour from the capture.
            cv::Mat bgr;
            cv::cvtColor(scene.frame, bgr, cv::COLOR_GRAY2BGR);
            std::vector<double> ms;
            const int runs = mode.contains("emplate") ? 15 : 60;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer t;
                t.start();
                w.processMat(bgr, true);
                ms.push_back(double(t.nsecsElapsed()) / 1e6);
            }
            std::printf("   %7.2f (%7.2f)", median(ms), percentile(ms, 0.9));
        }
        std::printf("\n");
    }
}

void accuracy()
{
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> off(-20, 20), ang(-40, 40), frac(0, 1);
    std::vector<double> circleErr, elementErr, elementAngle, templErr, templAngle, placerErr, placerAngle;
    MarkFinder marks;
    ComponentFinder components;
    for (int i = 0; i < 60; ++i) {
        const cv::Point2d c(320 + off(rng), 240 + off(rng));
        {
            Synthetic::Canvas canvas(640, 480, 25);
            canvas.disc(c, 12, 220);
            cv::Mat f = canvas.frame();
            cv::Mat area = f(CameraWorker::searchArea(640, 480, 50));
            RecognitionParams p;
            p.param1 = 120;
            p.targetSize = 24;
            p.tolerance = 15;
            const auto r = marks.find(area, MarkFinder::Circle, p);
            if (r.found)
                circleErr.push_back(std::hypot(r.x - (c.x - 320), r.y - (c.y - 240)));
        }
        {
            const double a = ang(rng);
            Synthetic::Canvas canvas(640, 480, 25);
            canvas.rect(c, {200, 100}, a, 220);
            cv::Mat f = canvas.frame();
            cv::Mat area = f(CameraWorker::searchArea(640, 480, 80));
            RecognitionParams p;
            p.param1 = 120;
            p.param2 = 5;
            const auto r = components.find(area, ComponentFinder::Element, p);
            if (r.found) {
                elementErr.push_back(std::hypot(r.x - (c.x - 320), r.y - (c.y - 240)));
                elementAngle.push_back(std::fabs(Recognition::fold(r.angle - a, 45)));
            }
        }
        if (i < 20) {
            const double a = ang(rng) / 2;
            const cv::Mat t = Synthetic::texture({240, 160}, 17);
            cv::Mat f = Synthetic::texture({640, 480}, 99) * 0.5 + 40;
            Synthetic::pasteRotated(f, t, c, a);
            const auto prepared = TemplateMatcher::prepare(t, 0.3, 1);
            const cv::Mat area = f(cv::Rect(128, 48, 384, 384));
            const auto r = TemplateMatcher::matchComponent(area, prepared, 0.3, 1, 0, 50);
            templErr.push_back(std::hypot(r.x - (c.x - 320), r.y - (c.y - 240)));
            templAngle.push_back(std::fabs(Recognition::fold(r.angle - a, 45)));
            const double b = ang(rng) * 4;
            cv::Mat g = Synthetic::texture({640, 480}, 98) * 0.5 + 40;
            const cv::Mat small = Synthetic::texture({160, 100}, 23);
            Synthetic::pasteRotated(g, small, c, b);
            const auto ps = TemplateMatcher::prepare(small, 0.3, 1);
            const auto q = TemplateMatcher::matchPlaced(g(cv::Rect(160, 120, 320, 240)), ps, {}, false, 0.3, 1, 50, 50);
            placerErr.push_back(std::hypot(q.x - (c.x - 320), q.y - (c.y - 240)));
            placerAngle.push_back(std::fabs(Recognition::fold(q.angle - b, 180)));
        }
    }
    std::printf("\nAccuracy on clean synthetic frames (median / 90th percentile / worst)\n");
    auto line = [](const char *what, const std::vector<double> &v, const char *unit) {
        std::printf("%-34s %6.3f / %6.3f / %6.3f %s (n=%zu)\n", what, median(v), percentile(v, 0.9),
                    v.empty() ? 0 : *std::max_element(v.begin(), v.end()), unit, v.size());
    };
    line("circle centre error", circleErr, "px");
    line("element centre error", elementErr, "px");
    line("element angle error", elementAngle, "deg");
    line("template (nozzle) centre error", templErr, "px");
    line("template (nozzle) angle error", templAngle, "deg");
    line("placerTemplate centre error", placerErr, "px");
    line("placerTemplate angle error", placerAngle, "deg");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    cv::setNumThreads(1);
    timing();
    accuracy();
    return 0;
}

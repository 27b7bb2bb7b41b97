// Outline recognition on synthetic frames with exact ground truth: round
// and square marks, components lying in view, components on the nozzle by
// outline, pins and edge.
#include "Near.h"
#include "SyntheticFrames.h"

#include "vision/CameraWorker.h"
#include "vision/ComponentFinder.h"
#include "vision/MarkFinder.h"
#include "vision/PlacerContoursFinder.h"
#include "vision/Recognition.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

using Synthetic::Canvas;

Q_DECLARE_METATYPE(cv::Point2d)
Q_DECLARE_METATYPE(cv::Size2d)

namespace {

enum Disturbance { Clean = 0, Noise = 1, Blur = 2, Light = 4, Dust = 8 };

void disturb(cv::Mat &frame, int how)
{
    if (how & Blur)
        Synthetic::blur(frame, 1.2);
    if (how & Light)
        Synthetic::addGradient(frame, -15, 25);
    if (how & Noise)
        Synthetic::addNoise(frame, 4, 1234);
    if (how & Dust)
        Synthetic::addDust(frame, 40, 255, 99);
}

// The centred search area of a frame, as the camera worker takes it.
cv::Mat searchArea(cv::Mat &frame, int roiPercent)
{
    return frame(CameraWorker::searchArea(frame.cols, frame.rows, roiPercent));
}

RecognitionParams markParams(double target, int tolerance = 10)
{
    RecognitionParams p;
    p.param1 = 100;
    p.param2 = 50;
    p.targetSize = target;
    p.targetSize2 = target;
    p.tolerance = tolerance;
    return p;
}

} // namespace

class TestRecognition : public QObject
{
    Q_OBJECT

private slots:
    void rectangleAnglesFollowOneConvention_data()
    {
        QTest::addColumn<double>("angle");
        for (double a : {-80.0, -10.5, 0.0, 45.0, 90.0})
            QTest::addRow("%g", a) << a;
    }
    // Whatever the OpenCV build reports, the angle lies in [-90, 0) and the
    // long side keeps its direction.
    void rectangleAnglesFollowOneConvention()
    {
        QFETCH(double, angle);
        Canvas c(400, 400, 0);
        c.rect({200, 200}, {160, 60}, angle, 255);
        cv::Mat frame = c.frame();
        std::vector<std::vector<cv::Point>> contours;
        cv::findContours(frame, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
        QCOMPARE(int(contours.size()), 1);
        const cv::RotatedRect r = Recognition::minAreaRect(contours[0]);
        QVERIFY(r.angle >= -90 && r.angle < 0);
        const double longAngle = r.size.width >= r.size.height ? r.angle : r.angle + 90;
        VERIFY_NEAR(Recognition::fold(longAngle - angle, 90), 0, 0.5);
    }

    // Round marks, holes and rectangular marks found to a fraction of a
    // pixel, also through noise, blur, uneven light and dust; a rectangle
    // of the wrong way round is no mark.
    void mark_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<cv::Point2d>("centre");
        QTest::addColumn<cv::Size2d>("size"); // of a rectangle
        QTest::addColumn<int>("disturbance");
        QTest::addColumn<double>("accuracy");
        QTest::addColumn<bool>("found");
        const int circle = MarkFinder::Circle, hole = MarkFinder::Hole, square = MarkFinder::Square;
        const cv::Size2d disc;
        QTest::newRow("circle clean") << circle << cv::Point2d(331.37, 228.81) << disc << int(Clean) << 0.1 << true;
        QTest::newRow("circle dust") << circle << cv::Point2d(322.1, 239.3) << disc << int(Dust | Noise) << 0.25 << true;
        QTest::newRow("hole noise blur") << hole << cv::Point2d(301.3, 249.6) << disc << int(Noise | Blur) << 0.25 << true;
        QTest::newRow("rectangle noise, uneven light") << square << cv::Point2d(319.4, 241.1) << cv::Size2d(40, 24)
                                                      << int(Noise | Light) << 0.25 << true;
        QTest::newRow("wrong way round") << square << cv::Point2d(319.4, 241.1) << cv::Size2d(24, 40) << int(Clean)
                                         << 0.0 << false;
    }
    void mark()
    {
        QFETCH(int, kind);
        QFETCH(cv::Point2d, centre);
        QFETCH(cv::Size2d, size);
        QFETCH(int, disturbance);
        QFETCH(double, accuracy);
        QFETCH(bool, found);
        Canvas c(640, 480, 30);
        if (kind == MarkFinder::Square)
            c.rect(centre, size, 0, 220);
        else
            c.disc(centre, 20, 220);
        cv::Mat frame = c.frame();
        disturb(frame, disturbance);
        cv::Mat area = searchArea(frame, 50);
        // A hole is found after one dilation by the 7 x 7 ellipse: 3 px more
        // radius. Rectangles are looked for as 40 x 24.
        RecognitionParams p = markParams(kind == MarkFinder::Hole ? 46 : 40);
        if (kind == MarkFinder::Square)
            p.targetSize2 = 24;
        const RecognitionResult r = MarkFinder().find(area, MarkFinder::Kind(kind), p);
        QVERIFY(!r.tooManyContours);
        QCOMPARE(r.found, found);
        if (found) {
            VERIFY_NEAR(r.x, centre.x - 320, accuracy);
            VERIFY_NEAR(r.y, centre.y - 240, accuracy);
        }
    }

    // No mark, or more than one, is no result.
    void markRejected_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("scene");
        QTest::newRow("two marks") << int(MarkFinder::Circle) << "two";
        QTest::newRow("square shape") << int(MarkFinder::Circle) << "square";
        QTest::newRow("two squares") << int(MarkFinder::Square) << "two squares";
    }
    void markRejected()
    {
        QFETCH(int, kind);
        QFETCH(QString, scene);
        Canvas c(640, 480, 30);
        if (scene == "two") {
            c.disc({300, 240}, 20, 220);
            c.disc({360, 250}, 20, 220);
        } else if (scene == "square") {
            c.rect({320, 240}, {36, 36}, 0, 220);
        } else if (scene == "two squares") {
            c.rect({290, 240}, {30, 30}, 0, 220);
            c.rect({350, 240}, {30, 30}, 0, 220);
        }
        cv::Mat frame = c.frame();
        cv::Mat area = searchArea(frame, 50);
        const RecognitionResult r =
            MarkFinder().find(area, MarkFinder::Kind(kind), markParams(kind == MarkFinder::Square ? 30 : 40));
        QVERIFY(!r.found);
        QCOMPARE(r.x, 0.0);
        QCOMPARE(r.y, 0.0);
    }

    // s = (w + h) / 2 must lie strictly inside T(100 - p)/100 .. T(100 + p)/100.
    void sizeWindowIsStrict_data()
    {
        QTest::addColumn<double>("target");
        QTest::addColumn<bool>("found");
        // An integer disc of radius 20: bounding box 41 x 41.
        QTest::newRow("lower edge") << 41 / 0.95 << false;
        QTest::newRow("just inside lower edge") << 40.99 / 0.95 << true;
        QTest::newRow("upper edge") << 41 / 1.05 << false;
        QTest::newRow("just inside upper edge") << 41.01 / 1.05 << true;
    }
    void sizeWindowIsStrict()
    {
        QFETCH(double, target);
        QFETCH(bool, found);
        cv::Mat area(200, 200, CV_8UC1, cv::Scalar(0));
        cv::circle(area, {100, 100}, 20, cv::Scalar(255), cv::FILLED, cv::LINE_8);
        RecognitionParams p = markParams(target, 5);
        QCOMPARE(MarkFinder().find(area, MarkFinder::Circle, p).found, found);
    }

    // A contour of area 40 is never a mark; one of 45 is.
    void minimumArea_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("found");
        QTest::newRow("area 40") << 9 << false;
        QTest::newRow("area 45") << 10 << true;
    }
    void minimumArea()
    {
        QFETCH(int, width);
        QFETCH(bool, found);
        cv::Mat area(100, 100, CV_8UC1, cv::Scalar(0));
        cv::rectangle(area, cv::Rect(40, 40, width, 6), cv::Scalar(255), cv::FILLED);
        RecognitionParams p = markParams((width + 6) / 2, 20);
        p.param2 = 100000; // any shape
        QCOMPARE(MarkFinder().find(area, MarkFinder::Circle, p).found, found);
    }

    void squareCandidateBorder_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("candidate");
        QTest::newRow("x 3") << 3 << false;
        QTest::newRow("x 4") << 4 << true;
    }
    // A vertex within 3 pixels of the search-area border disqualifies.
    void squareCandidateBorder()
    {
        QFETCH(int, left);
        QFETCH(bool, candidate);
        const std::vector<cv::Point> square = {{left, 20}, {left + 30, 20}, {left + 30, 50}, {left, 50}};
        QCOMPARE(MarkFinder::isSquareCandidate(square, cv::Size(100, 100)), candidate);
        const std::vector<cv::Point> right = {{100 - left, 20}, {70 - left, 20}, {70 - left, 50}, {100 - left, 50}};
        QCOMPARE(MarkFinder::isSquareCandidate(right, cv::Size(100, 100)), candidate);
    }

    void tooManyContours()
    {
        cv::Mat area(300, 300, CV_8UC1, cv::Scalar(0));
        for (int y = 2; y < 298; y += 6)
            for (int x = 2; x < 298; x += 6)
                area.at<uchar>(y, x) = 255;
        for (int kind : {int(MarkFinder::Circle), int(MarkFinder::Square)}) {
            cv::Mat copy = area.clone();
            const RecognitionResult r = MarkFinder().find(copy, MarkFinder::Kind(kind), markParams(20));
            QVERIFY(r.tooManyContours);
            QVERIFY(!r.found);
        }
        cv::Mat copy = area.clone();
        QVERIFY(PlacerContoursFinder().find(copy, markParams(20)).tooManyContours);
        copy = area.clone();
        QVERIFY(ComponentFinder().find(copy, ComponentFinder::Element, markParams(20)).tooManyContours);
    }

    void placerContours()
    {
        Canvas c(640, 480, 20);
        const std::vector<std::pair<cv::Point2d, double>> parts = {
            {{200.3, 150.6}, 20}, {{420.7, 160.2}, -35}, {{310.1, 330.4}, 3}};
        for (const auto &p : parts)
            c.rect(p.first, {60, 30}, p.second, 200);
        c.rect({560, 400}, {20, 20}, 0, 200);      // too small
        c.rect({320, 477}, {60, 30}, 0, 200);      // at the border
        c.rect({100, 380}, {90, 50}, 0, 200);      // too large...
        c.rect({100, 380}, {60, 30}, 0, 20);       // ...with a hole of the right size
        cv::Mat frame = c.frame();
        Synthetic::addNoise(frame, 3, 7);
        RecognitionParams p = markParams(60);
        p.targetSize2 = 30;
        const RecognitionResult r = PlacerContoursFinder().find(frame, p);
        QVERIFY(r.found);
        QCOMPARE(r.centersX.size(), 3);
        for (const auto &part : parts) {
            bool matched = false;
            for (int i = 0; i < r.centersX.size(); ++i) {
                if (std::hypot(r.centersX[i] - (part.first.x - 320), r.centersY[i] - (part.first.y - 240)) < 0.25) {
                    matched = true;
                    // Parts of 60 x 30 px: the outline gives the angle to about half a degree.
                    VERIFY_NEAR(Recognition::fold(r.angles[i] - part.second, 90), 0, 0.5);
                }
            }
            QVERIFY(matched);
        }
        QCOMPARE(r.x, r.centersX.last());
    }

    void element_data()
    {
        QTest::addColumn<cv::Point2d>("centre");
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("disturbance");
        QTest::addColumn<double>("posAccuracy");
        QTest::addColumn<double>("angleAccuracy");
        QTest::newRow("12.3") << cv::Point2d(331.4, 228.7) << 12.3 << int(Clean) << 0.1 << 0.1;
        QTest::newRow("7 blur light dust") << cv::Point2d(310.6, 245.3) << 7.0 << int(Blur | Light | Dust) << 0.3 << 0.25;
    }
    void element()
    {
        QFETCH(cv::Point2d, centre);
        QFETCH(double, angle);
        QFETCH(int, disturbance);
        QFETCH(double, posAccuracy);
        QFETCH(double, angleAccuracy);
        Canvas c(640, 480, 25);
        c.rect(centre, {200, 100}, angle, 210);
        cv::Mat frame = c.frame();
        disturb(frame, disturbance);
        cv::Mat area = searchArea(frame, 80);
        RecognitionParams p = markParams(200);
        p.param2 = 5;
        p.cameraAngle = 0.25;
        const RecognitionResult r = ComponentFinder().find(area, ComponentFinder::Element, p);
        QVERIFY(r.found);
        VERIFY_NEAR(r.x, centre.x - 320, posAccuracy);
        VERIFY_NEAR(r.y, centre.y - 240, posAccuracy);
        VERIFY_NEAR(r.angle, 0.25 + angle, angleAccuracy);
        VERIFY_NEAR(r.sizeX, 200, 2.5);
        VERIFY_NEAR(r.sizeY, 100, 2.5);
        QVERIFY(r.hasExAngle);
        VERIFY_NEAR(Recognition::fold(r.exAngle - angle, 90), 0, angleAccuracy);
    }

    void elementCutByBorder()
    {
        Canvas c(640, 480, 25);
        c.rect({320, 240}, {600, 100}, 3, 210);
        cv::Mat frame = c.frame();
        cv::Mat area = searchArea(frame, 80);
        RecognitionParams p = markParams(200);
        p.param2 = 5;
        QVERIFY(!ComponentFinder().find(area, ComponentFinder::Element, p).found);
        // The edge search takes what it sees.
        cv::Mat again = c.frame();
        cv::Mat area2 = searchArea(again, 80);
        QVERIFY(ComponentFinder().find(area2, ComponentFinder::Corners, p).found);
    }

    void pins_data()
    {
        QTest::addColumn<int>("rows");   // 2 = two rows (SO), 4 = four sides (QFP)
        QTest::addColumn<int>("perRow");
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("angle");
        QTest::addColumn<bool>("stray");
        QTest::newRow("SO-16") << 2 << 8 << 20.0 << 0.7 << false;
        QTest::newRow("QFP-20") << 4 << 5 << 18.0 << 1.0 << false;
        QTest::newRow("SO-16 with a stray blob") << 2 << 8 << 20.0 << 0.7 << true;
    }
    void pins()
    {
        QFETCH(int, rows);
        QFETCH(int, perRow);
        QFETCH(double, pitch);
        QFETCH(double, angle);
        QFETCH(bool, stray);
        const cv::Point2d centre(321.3, 238.4);
        const double span = (perRow - 1) * pitch;
        const double rowGap = rows == 2 ? 120 : span + 40;
        Canvas c(640, 480, 20);
        c.rect(centre, {span + 30, rowGap - 30}, angle, 60); // the body stays below the threshold
        for (int side = 0; side < rows; ++side)
            for (int i = 0; i < perRow; ++i) {
                const double u = -span / 2 + i * pitch;
                const double v = (side % 2 ? 1 : -1) * rowGap / 2;
                const cv::Point2d at = side < 2 ? Synthetic::along(centre, angle, u, v) : Synthetic::along(centre, angle, v, u);
                c.rect(at, side < 2 ? cv::Size2d(8, 16) : cv::Size2d(16, 8), angle, 230);
            }
        if (stray)
            c.disc(Synthetic::along(centre, angle, 0, 200), 6, 230);
        cv::Mat frame = c.frame();
        Synthetic::addNoise(frame, 3, 11);
        cv::Mat area = searchArea(frame, 100);
        RecognitionParams p = markParams(200);
        p.param1 = 120;
        p.param2 = 5;
        const RecognitionResult r = ComponentFinder().find(area, ComponentFinder::Pins, p);
        QVERIFY(r.hasPins);
        QCOMPARE(r.pinCount, rows * perRow + (stray ? 1 : 0));
        QVERIFY(r.pinCountCorrect);
        VERIFY_NEAR(r.avgPinDist, pitch, 0.2);
        VERIFY_NEAR(r.minPinDist, pitch, 0.4);
        VERIFY_NEAR(r.maxPinDist, pitch, 0.4);
        if (!stray) {
            QVERIFY(r.found);
            VERIFY_NEAR(r.angle, angle + 90, 0.2);
            VERIFY_NEAR(r.x, centre.x - 320, 0.25);
            VERIFY_NEAR(r.y, centre.y - 240, 0.25);
        }
    }

    void pinsTooFew()
    {
        RecognitionResult r;
        ComponentFinder::measurePins({{0, 0}, {10, 0}, {20, 0}}, r);
        QVERIFY(r.hasPins);
        QCOMPARE(r.pinCount, 3);
        QVERIFY(!r.pinCountCorrect);
        QCOMPARE(r.avgPinDist, 0.0);
        // Four pins in a square: every side has its two pins.
        ComponentFinder::measurePins({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, r);
        QCOMPARE(r.pinCount, 4);
        QVERIFY(r.pinCountCorrect);
        VERIFY_NEAR(r.avgPinDist, 10, 1e-3);
    }

    // A many-lead component turned by 92 degrees, supposed near 90: the edge
    // through the lead row in the band gives the angle.
    void corners()
    {
        const double angle = 92;
        const cv::Point2d centre(318.7, 242.2);
        Canvas c(640, 480, 20);
        for (int side : {-1, 1})
            for (int i = 0; i < 30; ++i)
                c.rect(Synthetic::along(centre, angle, -145 + i * 10, side * 110), {5, 14}, angle, 230);
        cv::Mat frame = c.frame();
        Synthetic::addNoise(frame, 3, 5);
        RecognitionParams p = markParams(200);
        p.param1 = 120;
        p.param2 = 1;
        p.supposedAngle = 90;
        const RecognitionResult r = ComponentFinder().find(frame, ComponentFinder::Corners, p);
        QVERIFY(r.found);
        VERIFY_NEAR(r.angle, Recognition::fold(angle, 45), 0.2);
    }
};

QTEST_GUILESS_MAIN(TestRecognition)
#include "tst_recognition.moc"

// Recognition on real camera frames, against the ground truth stated with
// the pictures (measured values: about +-2 px).
#include "Near.h"
#include "vision/ComponentFinder.h"
#include "vision/MarkFinder.h"
#include "vision/Recognition.h"
#include "vision/TemplateMatcher.h"

#include <QtTest>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace {

cv::Mat greyFixture(const char *name)
{
    const QByteArray path = qgetenv("KESTRAVO_FIXTURES") + "/images/" + name;
    cv::Mat bgr = cv::imread(path.constData(), cv::IMREAD_COLOR), grey;
    if (!bgr.empty())
        cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    return grey;
}

// The search area of `percent` around the image centre, inverted when the
// object is darker than its background (the camera's "inverse" option).
cv::Mat area(cv::Mat &grey, int percent, bool inverse)
{
    const int w = grey.cols * percent / 100 / 2 * 2, h = grey.rows * percent / 100 / 2 * 2;
    cv::Mat a = grey(cv::Rect((grey.cols - w) / 2, (grey.rows - h) / 2, w, h));
    if (inverse)
        cv::bitwise_not(a, a);
    return a;
}

} // namespace

class TestRealFrames : public QObject
{
    Q_OBJECT

private slots:
    // SO-8 on the nozzle against a white diffuser, turned by about 35 degrees.
    void so8OnNozzle()
    {
        cv::Mat grey = greyFixture("bed_atmega_SO8.png");
        QVERIFY(!grey.empty());
        cv::Mat a = area(grey, 100, true);
        RecognitionParams p;
        p.param1 = 200;
        p.param2 = 500; // leads and specks are dust
        p.frameWidth = grey.cols;
        p.frameHeight = grey.rows;
        const RecognitionResult r = ComponentFinder().find(a, ComponentFinder::Element, p);
        QVERIFY(r.found);
        VERIFY_NEAR(r.x, 495.3 - 500, 2);
        VERIFY_NEAR(r.y, 552.0 - 500, 2);
        VERIFY_NEAR(std::max(r.sizeX, r.sizeY), 301.8, 4);
        VERIFY_NEAR(std::min(r.sizeX, r.sizeY), 292.5, 4);
        VERIFY_NEAR(std::fabs(Recognition::fold(r.angle, 45)), 35, 10);
    }

    // A round fiducial of a real board, the camera a few pixels off its
    // centre.
    void fiducial()
    {
        const QPointF centre(1363.3, 392.2);
        cv::Mat grey = greyFixture("rpi_raw.jpg");
        QVERIFY(!grey.empty());
        const cv::Point camera(int(centre.x()) + 7, int(centre.y()) - 5);
        const cv::Rect view = cv::Rect(camera.x - 60, camera.y - 60, 120, 120) & cv::Rect(0, 0, grey.cols, grey.rows);
        cv::Mat a = grey(view).clone();
        RecognitionParams p;
        p.param1 = 150;
        p.param2 = 100;
        p.targetSize = 21.5;
        p.tolerance = 10;
        const RecognitionResult r = MarkFinder().find(a, MarkFinder::Circle, p);
        QVERIFY(r.found);
        const double x = view.x + a.cols / 2 + r.x, y = view.y + a.rows / 2 + r.y;
        QVERIFY2(std::hypot(x - centre.x(), y - centre.y()) < 2, qPrintable(QString("%1 %2").arg(x).arg(y)));
    }

    // A sprocket hole of a tape: darker than the tape, so the area is
    // inverted; the hole search dilates it by 3 px of radius.
    void sprocketHole()
    {
        const QPointF centre(298.5, 45.5);
        cv::Mat grey = greyFixture("cam.jpg");
        QVERIFY(!grey.empty());
        const cv::Rect view = cv::Rect(int(centre.x()) + 4 - 40, int(centre.y()) - 3 - 40, 80, 80) &
                              cv::Rect(0, 0, grey.cols, grey.rows);
        cv::Mat a = grey(view).clone();
        cv::bitwise_not(a, a);
        RecognitionParams p;
        p.param1 = 140;
        p.param2 = 200;
        p.targetSize = 34; // about 28 px across, plus the dilation
        p.tolerance = 20;
        const RecognitionResult r = MarkFinder().find(a, MarkFinder::Hole, p);
        QVERIFY(r.found);
        const double x = view.x + a.cols / 2 + r.x, y = view.y + a.rows / 2 + r.y;
        QVERIFY2(std::hypot(x - centre.x(), y - centre.y()) < 2, qPrintable(QString("%1 %2").arg(x).arg(y)));
    }

    // Two head-camera frames before and after a small move: matching a part
    // of the first in the second gives the move.
    void tapeMove()
    {
        cv::Mat first = greyFixture("headcam0.png"), second = greyFixture("headcam1.png");
        QVERIFY(!first.empty() && !second.empty());
        const cv::Mat templ = first(cv::Rect(300, 50, 200, 100)).clone();
        const cv::Mat view = second(cv::Rect(250, 25, 300, 150));
        const TemplateMatcher::Result r = TemplateMatcher::matchReference(view, templ, 50);
        QVERIFY(r.found);
        // The part sat centred in the view before the move; the picture moved
        // against the camera.
        VERIFY_WITHIN(std::fabs(r.x), 14, 1);
        VERIFY_WITHIN(r.y, 0, 1);
    }
};

QTEST_GUILESS_MAIN(TestRealFrames)
#include "tst_real_frames.moc"

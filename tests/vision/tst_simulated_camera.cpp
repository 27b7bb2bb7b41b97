// The simulated camera: its scenes, and frames through the real capture code.
#include "Near.h"
#include "SimulatedWorldFixture.h"
#include "vision/CameraCapture.h"
#include "vision/SimulatedScene.h"
#include "vision/SimulatedStage.h"

#include <QSignalSpy>
#include <QtTest>

#include <opencv2/imgproc.hpp>

using Sim::at;

namespace {

// Centre of the bright pixels (above a level) of a frame.
cv::Point2d brightCentre(const cv::Mat &bgr, int level)
{
    cv::Mat grey, mask;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    cv::threshold(grey, mask, level, 255, cv::THRESH_BINARY);
    const cv::Moments m = cv::moments(mask, true);
    return m.m00 > 0 ? cv::Point2d(m.m10 / m.m00, m.m01 / m.m00) : cv::Point2d(-1, -1);
}

} // namespace

class TestSimulatedCamera : public QObject
{
    Q_OBJECT

private slots:
    // A round mark lies on every 10 mm of the board; the camera at (X, Y)
    // sees the board point (X, Y) in the frame centre, Y upwards.
    void boardMovesWithMachine()
    {
        const double ppm = SimulatedScene::kPixelsPerMm;
        const double markCol = 320.0 + 0.75 * ppm, markRow = 240.0 - 1.5 * ppm;
        SimulatedScene scene("sim:board");
        cv::Mat frame;
        scene.render(frame, 640, 480, at(99.25, 48.5), 0);
        QCOMPARE(frame.cols, 640);
        QCOMPARE(frame.rows, 480);
        // Only the marks are near white; look at the one near the centre.
        const int r = int(2 * SimulatedScene::kPixelsPerMm);
        cv::Rect around(int(markCol) - r, int(markRow) - r, 2 * r, 2 * r);
        const cv::Point2d c = brightCentre(frame(around), 190);
        VERIFY_NEAR(c.x + around.x, markCol, 0.6);
        VERIFY_NEAR(c.y + around.y, markRow, 0.6);
        // Its size: 1 mm across.
        cv::Mat grey;
        cv::cvtColor(frame(around), grey, cv::COLOR_BGR2GRAY);
        const double area = cv::countNonZero(grey > 190);
        const double expected = M_PI * std::pow(SimulatedScene::kMarkDiameterMm / 2 * SimulatedScene::kPixelsPerMm, 2);
        VERIFY_NEAR(area, expected, expected * 0.15);
    }

    // The real capture code on the simulated component camera: it opens,
    // streams and shows the scene, in its one mode, 1280 x 960, whatever is
    // asked.
    void capturesFromSimulatedCamera()
    {
        const QString scene = QStringLiteral("sim:component");
        const int width = 1280, height = 960;
        SimulatedStage::setPosition(at(30, 40));
        CameraCapture capture;
        QSignalSpy frames(&capture, &CameraCapture::frameCaptured);
        capture.setName(scene);
        capture.setCapture(true);
        QVERIFY(capture.isOpened());
        QCOMPARE(capture.frameWidth(), width);
        QCOMPARE(capture.frameHeight(), height);
        QCOMPARE(capture.commandsRun().size(), 0); // no exposure tool for it

        cv::Mat frame;
        QVERIFY(frames.count() > 0 || frames.wait(1000));
        QVERIFY(capture.takeFrame(frame, nullptr));

        QCOMPARE(frame.cols, width);
        QCOMPARE(frame.rows, height);
        cv::Mat expected;
        SimulatedScene(scene).render(expected, width, height, at(30, 40), 0);
        cv::Mat diff;
        cv::absdiff(frame, expected, diff);
        const cv::Scalar mean = cv::mean(diff);
        QVERIFY2(mean[0] < 4 && mean[1] < 4 && mean[2] < 4,
                 qPrintable(QStringLiteral("mean difference %1 %2 %3").arg(mean[0]).arg(mean[1]).arg(mean[2])));
    }

    void unknownSimulatedNameFailsToOpen()
    {
        CameraCapture capture;
        capture.setName(QStringLiteral("sim:/no/such/folder"));
        capture.setRestartInterval(100000);
        capture.setCapture(true);
        QVERIFY(!capture.isOpened());
        QVERIFY(capture.restartTimerActive());
    }
};

QTEST_GUILESS_MAIN(TestSimulatedCamera)
#include "tst_simulated_camera.moc"

// The camera worker running the recognition modes on frames: the signals it
// sends, the search areas, calibration frames and component templates.
#include "Near.h"
#include "SyntheticFrames.h"

#include "vision/CameraWorker.h"
#include "vision/LensCalibration.h"
#include "vision/MatImage.h"

#include <QSignalSpy>
#include <QtTest>

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

namespace {

cv::Mat markFrame(cv::Point2d centre)
{
    Synthetic::Canvas c(640, 480, 30);
    c.disc(centre, 10, 220);
    cv::Mat grey = c.frame(), bgr;
    cv::cvtColor(grey, bgr, cv::COLOR_GRAY2BGR);
    return bgr;
}

void setUpCircle(CameraWorker &w)
{
    w.setMode("circle");
    w.setParam1(120);
    w.setParam2(50);
    w.setTargetSize(20);
    w.setTargetSizeTolerance(15);
    w.setRoiPercent(50);
    w.setShowPercent(100);
}

// A circle-grid view for the calibration modes.
cv::Mat gridFrame()
{
    cv::Mat frame(480, 640, CV_8UC3, cv::Scalar(255, 255, 255));
    const auto points = LensCalibration::calcPoints(LensCalibration::boardSize(), 1);
    for (const auto &p : points)
        cv::circle(frame, cv::Point(int(150 + p.x * 30), int(60 + p.y * 33)), 9, cv::Scalar(0, 0, 0), cv::FILLED,
                   cv::LINE_AA);
    return frame;
}

} // namespace

class TestCameraWorkerModes : public QObject
{
    Q_OBJECT

private slots:

    void circleResultIsRelativeToTheCentre()
    {
        CameraWorker w;
        setUpCircle(w);
        QSignalSpy obj(&w, &CameraWorker::objSend);
        w.processMat(markFrame({333.3, 228.6}), true);
        QCOMPARE(obj.size(), 1);
        QCOMPARE(obj[0][0].toBool(), true);
        VERIFY_NEAR(obj[0][1].toDouble(), 13.3, 0.1);
        VERIFY_NEAR(obj[0][2].toDouble(), -11.4, 0.1);
        // The mark outside the search area is not seen.
        w.processMat(markFrame({100, 100}), true);
        QCOMPARE(obj.size(), 2);
        QCOMPARE(obj[1][0].toBool(), false);
    }

    void tooManyContoursFlag()
    {
        CameraWorker w;
        setUpCircle(w);
        w.setViewType(2);
        QSignalSpy flag(&w, &CameraWorker::tooManyContoursSend);
        QSignalSpy obj(&w, &CameraWorker::objSend);
        cv::Mat dots(480, 640, CV_8UC3, cv::Scalar(0, 0, 0));
        for (int y = 121; y < 360; y += 4)
            for (int x = 161; x < 480; x += 4)
                dots.at<cv::Vec3b>(y, x) = cv::Vec3b(255, 255, 255);
        w.processMat(dots, true);
        w.processMat(dots, true);
        QCOMPARE(flag.size(), 1);
        QCOMPARE(flag[0][0].toBool(), true);
        QCOMPARE(obj.last()[0].toBool(), false);
        w.processMat(markFrame({320, 240}), true);
        QCOMPARE(flag.size(), 2);
        QCOMPARE(flag[1][0].toBool(), false);
        QCOMPARE(obj.last()[0].toBool(), true);
    }

    // Zero percentages and a zero template factor are clamped or skipped,
    // never an exception inside the slot.
    void degenerateSettings()
    {
        CameraWorker w;
        setUpCircle(w);
        w.setRoiPercent(0);
        w.setShowPercent(0);
        QSignalSpy obj(&w, &CameraWorker::objSend);
        QSignalSpy shown(&w, &CameraWorker::frameProcessed);
        const QStringList modes = {"circle", "hole", "square", "placerContours", "element", "pins", "corners",
                                   "placerTemplate", "placerTemplateCenter", "templateRef", "template", "scan", ""};
        QImage photo(60, 40, QImage::Format_RGB32);
        photo.fill(Qt::gray);
        w.setTemplMult(0);
        w.setCompareImage(photo);
        w.setCompareFlippedImage(photo);
        w.setCompareNonrotatedImage(photo);
        for (const QString &mode : modes) {
            w.setMode(mode);
            w.processMat(markFrame({320, 240}), true);
        }
        QCOMPARE(shown.size(), modes.size());
        QCOMPARE(CameraWorker::searchArea(640, 480, 1), cv::Rect(317, 238, 6, 4));
    }

    void elementSignals()
    {
        CameraWorker w;
        w.setMode("element");
        w.setParam1(100);
        w.setParam2(5);
        w.setRoiPercent(80);
        w.setCameraAngle(1.0);
        QSignalSpy obj(&w, &CameraWorker::objSend);
        QSignalSpy ex(&w, &CameraWorker::exAngleSend);
        Synthetic::Canvas c(640, 480, 20);
        c.rect({325.5, 236.25}, {160, 80}, -8, 220);
        w.processMat(c.frame(), false);
        // Position and size through the worker: the simulated machine's
        // tests (recogniseFrame); here the camera angle and the extra angle.
        QCOMPARE(obj.size(), 1);
        QCOMPARE(obj[0][0].toBool(), true);
        VERIFY_NEAR(obj[0][3].toDouble(), -8 + 1, 0.1);
        QCOMPARE(ex.size(), 1);
        VERIFY_NEAR(ex[0][0].toDouble(), -8, 0.1);
    }

    // Capturing calibration views: each capture returns to "calib1". Nine
    // views of the same flat grid cannot be a calibration: the ninth ends the
    // mode either way and clears the views.
    void calibrationFrames()
    {
        CameraWorker w;
        w.getSize(640, 480);
        QSignalSpy captured(&w, &CameraWorker::calFramesCapturedSend);
        QSignalSpy calMode(&w, &CameraWorker::sendCalMode);
        QSignalSpy blink(&w, &CameraWorker::sendBlink);
        QSignalSpy accepted(&w, &CameraWorker::calibrationIsAcceptedSend);
        const cv::Mat grid = gridFrame();
        w.setMode("calib1");
        QCOMPARE(captured.size(), 0);
        w.processMat(grid, true);
        QCOMPARE(captured.size(), 0);
        QCOMPARE(w.displayImage().size(), QSize(640, 480));
        for (int i = 1; i <= 2; ++i) {
            w.setMode("calib2");
            w.processMat(grid, true);
            QCOMPARE(captured.last()[0].toInt(), i);
            QCOMPARE(calMode.last()[0].toInt(), 1);
            QCOMPARE(w.mode(), int(CameraWorker::ModeCalib1));
            // Further frames in "calib1" capture nothing.
            w.processMat(grid, true);
            QCOMPARE(w.calibrationFrames(), i);
        }
        QCOMPARE(blink.size(), 2);
        for (int i = 2; i < 9; ++i) {
            w.setMode("calib2");
            w.processMat(grid, true);
        }
        QCOMPARE(calMode.last()[0].toInt(), 0);
        QCOMPARE(w.mode(), int(CameraWorker::ModeNone));
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(captured.last()[0].toInt(), 0);
        QCOMPARE(w.calibrationFrames(), 0);
    }

    // A stored calibration is loaded, reported and applied to frames.
    void storedCalibrationUndistorts()
    {
        CameraWorker w;
        w.getSize(640, 480);
        QSignalSpy accepted(&w, &CameraWorker::calibrationIsAcceptedSend);
        const QVariantList matrix = {1000.0, 0.0, 640.0, 0.0, 1000.0, 480.0, 0.0, 0.0, 2.0};
        const QVariantList dist = {-0.3, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
        w.getCameraCalibration(matrix, dist);
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(accepted[0][0].toBool(), true);
        QVERIFY(w.calibrationValid());
        setUpCircle(w);
        w.setMode("");
        // A mark near the corner moves outwards when barrel distortion is removed.
        const cv::Mat frame = markFrame({100, 100});
        w.processMat(frame, true);
        const QImage plain = w.displayImage();
        w.getCalibrationEnabled(true);
        w.processMat(frame, true);
        const QImage undistorted = w.displayImage();
        QVERIFY(plain != undistorted);
        QVERIFY(qGray(plain.pixel(100, 100)) > 150);
        QVERIFY(qGray(undistorted.pixel(100, 100)) < 150);

        w.getCameraCalibration({}, {});
        QCOMPARE(accepted.last()[0].toBool(), false);
        w.processMat(frame, true);
        QCOMPARE(w.displayImage(), plain);
    }

    // The component camera's template photo was mirrored for display: the
    // worker mirrors it back.
    void componentTemplateMirrored()
    {
        CameraWorker w;
        w.setName("camera2");
        w.setMode("template");
        w.setTemplMatchCoeff(70);
        const cv::Mat photo = Synthetic::texture({200, 120}, 31);
        cv::Mat frame(480, 640, CV_8UC1, cv::Scalar(60));
        Synthetic::pasteRotated(frame, photo, {326, 235}, 0);
        cv::Mat shown;
        cv::flip(photo, shown, 0);
        QSignalSpy obj(&w, &CameraWorker::objSend);
        w.setCompareImage(MatImage::toGreyImage(shown));
        w.processMat(frame, false);
        QCOMPARE(obj.last()[0].toBool(), true);
        VERIFY_NEAR(obj.last()[1].toDouble(), 6, 1);
        VERIFY_NEAR(obj.last()[2].toDouble(), -5, 1);
        VERIFY_NEAR(obj.last()[3].toDouble(), 0, 0.5);
    }

    void placerTemplateCenterTooLarge()
    {
        CameraWorker w;
        w.setMode("placerTemplateCenter");
        QImage photo(320, 100, QImage::Format_RGB32); // 1.6 x 320 = 512 > 480
        photo.fill(Qt::gray);
        w.setCompareImage(photo);
        QSignalSpy obj(&w, &CameraWorker::objSend);
        QSignalSpy shown(&w, &CameraWorker::frameProcessed);
        w.processMat(cv::Mat(480, 640, CV_8UC1, cv::Scalar(60)), false);
        QCOMPARE(obj.size(), 1);
        QCOMPARE(obj[0][0].toBool(), false);
        QCOMPARE(shown.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCameraWorkerModes)
#include "tst_camera_worker_modes.moc"

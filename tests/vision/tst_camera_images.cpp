// Pictures around the cameras: board scan, photo clips, image conversions
// and the photo of the processing object.
#include "Near.h"
#include "vision/BoardScan.h"
#include "vision/CameraWorker.h"
#include "vision/MatImage.h"
#include "vision/PhotoClipper.h"

#include <QImageReader>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage field(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A photo with a distinct colour in each quadrant.
QImage quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

bool near(QRgb a, QColor b, int tolerance = 30)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

} // namespace

class TestCameraImages : public QObject
{
    Q_OBJECT

private slots:
    // The board's picture is at 600 dpi; a feature of a field keeps its
    // size and place in millimetres there.
    void boardScanScalesFrames()
    {
        const double ppmm = 600 / 25.4;
        BoardScan scan;
        QVERIFY(scan.start(30, 30, 10, 10, 25));
        QCOMPARE(scan.picture().size(), QSize(qRound(30 * ppmm), qRound(30 * ppmm)));
        QImage frame = field(250, 250, Qt::black); // 10 x 10 mm at 25 px/mm
        QPainter(&frame).fillRect(QRect(150, 50, 50, 25), Qt::white); // 2 x 1 mm at (6, 2) mm
        QVERIFY(scan.addField(frame, 10, 20));
        QCOMPARE(scan.fieldsAdded(), 1);
        const QRectF expected((10 + 6) * ppmm, (20 + 2) * ppmm, 2 * ppmm, 1 * ppmm);
        int white = 0;
        QRect bounds;
        for (int y = 0; y < scan.picture().height(); ++y) {
            for (int x = 0; x < scan.picture().width(); ++x) {
                if (qGray(scan.picture().pixel(x, y)) > 128) {
                    ++white;
                    bounds |= QRect(x, y, 1, 1);
                }
            }
        }
        VERIFY_NEAR(white, expected.width() * expected.height(),
                    expected.width() * 2 + expected.height() * 2);
        VERIFY_WITHIN(bounds.left(), expected.left(), 1);
        VERIFY_WITHIN(bounds.top(), expected.top(), 1);
        VERIFY_WITHIN(bounds.right(), expected.right() - 1, 1);
        VERIFY_WITHIN(bounds.bottom(), expected.bottom() - 1, 1);
    }

    void boardScanSavesPng()
    {
        QTemporaryDir dir;
        BoardScan scan;
        QVERIFY(scan.start(10, 5, 5, 5, 20));
        QVERIFY(scan.addField(field(100, 100, Qt::red), 0, 0));
        const QString written = scan.save("file://" + dir.filePath("board"));
        QCOMPARE(written, dir.filePath("board.png"));
        QImageReader reader(written);
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage back = reader.read();
        QCOMPARE(back.size(), scan.picture().size());
        QCOMPARE(qRound(back.dotsPerMeterX() * 0.0254), 600);
        QVERIFY(near(back.pixel(10, 10), Qt::red, 0));
        // Nothing else is left in the folder.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"board.png"});
        // An unwritable place is reported, not half-written.
        QVERIFY(scan.save(dir.filePath("no/such/folder/board.png")).isEmpty());
        QVERIFY(!scan.error().isEmpty());
    }

    void boardScanRefusesBadInput()
    {
        BoardScan scan;
        QVERIFY(!scan.start(5000, 5000, 5, 5, 20));
        QVERIFY(!scan.isStarted());
        QVERIFY(!scan.error().isEmpty());
        QVERIFY(!scan.addField(field(10, 10, Qt::red), 0, 0));
    }

    // The corners of a clip of a photo with a colour in each quadrant. Turned
    // by 90°, the photo is rotated by -90° (counter-clockwise), so its
    // right-hand quadrants come to the top. The corner that centres a clip on
    // the photo centre, as the inspection computes it (x = W/2 + h/2,
    // y = H/2 - w/2 for 90°), gives a clip centred there.
    void clip_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("inset");            // of the corners looked at
        QTest::addColumn<QVariantList>("corners"); // top left, top right, bottom left, bottom right
        const QVariantList upright{QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue), QColor(Qt::yellow)};
        const QVariantList turned{QColor(Qt::green), QColor(Qt::yellow), QColor(Qt::red), QColor(Qt::blue)};
        QTest::newRow("no turn") << QRect(90, 45, 20, 10) << 0 << 0 << upright;
        QTest::newRow("turned, centred") << QRect(110, 40, 20, 20) << 90 << 2 << turned;
    }
    void clip()
    {
        QFETCH(QRect, rect);
        QFETCH(int, angle);
        QFETCH(int, inset);
        QFETCH(QVariantList, corners);
        const QImage clip = PhotoClipper::clip(quadrants(200, 100), rect.x(), rect.y(), rect.width(), rect.height(), angle);
        QCOMPARE(clip.size(), rect.size());
        QCOMPARE(clip.format(), QImage::Format_RGB32);
        const int r = rect.width() - 1 - inset, b = rect.height() - 1 - inset;
        const QPoint at[] = {{inset, inset}, {r, inset}, {inset, b}, {r, b}};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(near(clip.pixel(at[i]), corners.at(i).value<QColor>()), qPrintable(QString::number(i)));
    }

    void clipRefusesNonsense()
    {
        QVERIFY(PhotoClipper::clip(QImage(), 0, 0, 10, 10, 0).isNull());
        QVERIFY(PhotoClipper::clip(quadrants(20, 20), 0, 0, 0, 10, 0).isNull());
        // Outside the photo: black, not a crash.
        const QImage outside = PhotoClipper::clip(quadrants(20, 20), 500, 500, 4, 4, 30);
        QCOMPARE(outside.size(), QSize(4, 4));
        QCOMPARE(qGray(outside.pixel(1, 1)), 0);
    }

    void imageToMatrix_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<int>("channels");
        QTest::newRow("RGB32 view reduced") << int(QImage::Format_RGB32) << false << 3;
        QTest::newRow("indexed") << int(QImage::Format_Indexed8) << false << 1;
        QTest::newRow("RGB888 swapped") << int(QImage::Format_RGB888) << true << 3;
    }
    void imageToMatrix()
    {
        QFETCH(int, format);
        QFETCH(bool, copy);
        QFETCH(int, channels);
        QImage image = field(8, 6, QColor(10, 20, 30)).convertToFormat(QImage::Format(format));
        if (format == QImage::Format_Indexed8)
            image = MatImage::toGreyImage(cv::Mat(6, 8, CV_8UC1, cv::Scalar(77)));
        const cv::Mat mat = MatImage::toMat(image, copy);
        QCOMPARE(mat.cols, 8);
        QCOMPARE(mat.rows, 6);
        QCOMPARE(mat.channels(), channels);
        if (channels == 1) {
            QCOMPARE(int(mat.at<uchar>(5, 7)), 77);
        } else {
            // Blue, green, red in memory order for every colour format.
            const uchar *p = mat.ptr<uchar>(5) + 7 * channels;
            QCOMPARE(int(p[0]), 30);
            QCOMPARE(int(p[1]), 20);
            QCOMPARE(int(p[2]), 10);
        }
    }

    // Even sizes, centred.
    void searchAreas()
    {
        QCOMPARE(CameraWorker::searchArea(640, 480, 33), cv::Rect(215, 161, 210, 158));
        QCOMPARE(CameraWorker::searchArea(641, 481, 100), cv::Rect(0, 0, 640, 480));
    }

    // Photos: camera2 looks upwards, its photos are mirrored top to bottom.
    void photoMirroredForComponentCamera_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("mirrored");
        QTest::newRow("camera1") << "camera1" << false;
        QTest::newRow("camera2") << "camera2" << true;
    }
    void photoMirroredForComponentCamera()
    {
        QFETCH(QString, name);
        QFETCH(bool, mirrored);
        CameraWorker worker;
        worker.setName(name);
        QSignalSpy ready(&worker, &CameraWorker::photoReady);
        cv::Mat frame(480, 640, CV_8UC3, cv::Scalar(0, 0, 0));
        frame(cv::Rect(0, 0, 640, 10)).setTo(cv::Scalar(255, 255, 255));
        worker.processMat(frame, true);
        QCOMPARE(ready.count(), 0);
        worker.requestPhotoGet();
        worker.processMat(frame, true);
        QCOMPARE(ready.count(), 1);
        const QImage photo = worker.photoImage();
        QCOMPARE(photo.size(), QSize(640, 480));
        QCOMPARE(qGray(photo.pixel(5, 2)), mirrored ? 0 : 255);
        QCOMPARE(qGray(photo.pixel(5, 477)), mirrored ? 255 : 0);
        worker.processMat(frame, true);
        QCOMPARE(ready.count(), 1); // once per request
    }
};

QTEST_MAIN(TestCameraImages)
#include "tst_camera_images.moc"

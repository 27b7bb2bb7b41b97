// Lens calibration from circle-grid views rendered through a known camera,
// and the work-field grid: its file and correction table.
#include "Near.h"
#include "vision/FieldCalibration.h"
#include "vision/LensCalibration.h"

#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

namespace {

struct Camera
{
    cv::Mat matrix;
    cv::Mat dist;
};

Camera trueCamera(int width, int height, double f)
{
    Camera c;
    c.matrix = (cv::Mat_<double>(3, 3) << f, 0, width / 2, 0, f, height / 2, 0, 0, 1);
    c.dist = (cv::Mat_<double>(5, 1) << -0.28, 0.09, 0, 0, 0);
    return c;
}

// The grid seen in one pose: every circle as the polygon its outline
// projects to, dark on white.
cv::Mat renderGrid(const Camera &cam, cv::Size size, cv::Vec3d rvec, cv::Vec3d tvec)
{
    const float s = LensCalibration::squareSize();
    const auto centres = LensCalibration::calcPoints(LensCalibration::boardSize(), s);
    cv::Mat big(size.height * 4, size.width * 4, CV_8UC1, cv::Scalar(255));
    for (const auto &c : centres) {
        std::vector<cv::Point3f> outline;
        for (int k = 0; k < 48; ++k) {
            const double a = 2 * CV_PI * k / 48;
            outline.push_back(c + cv::Point3f(float(0.3 * s * std::cos(a)), float(0.3 * s * std::sin(a)), 0));
        }
        std::vector<cv::Point2f> image;
        cv::projectPoints(outline, rvec, tvec, cam.matrix, cam.dist, image);
        std::vector<cv::Point> poly;
        for (const auto &p : image)
            poly.push_back(cv::Point(int(std::lround((p.x * 4 + 1.5) * 16)), int(std::lround((p.y * 4 + 1.5) * 16))));
        cv::fillConvexPoly(big, poly, cv::Scalar(0), cv::LINE_8, 4);
    }
    cv::Mat frame;
    cv::resize(big, frame, size, 0, 0, cv::INTER_AREA);
    return frame;
}

std::vector<std::pair<cv::Vec3d, cv::Vec3d>> poses()
{
    // The grid is 0.175 x 0.25 m; the camera looks from about 0.6 m.
    std::vector<std::pair<cv::Vec3d, cv::Vec3d>> list;
    const double tilts[][2] = {{0, 0},     {0.35, 0},   {-0.35, 0}, {0, 0.35},   {0, -0.35},  {0.25, 0.25},
                               {-0.25, 0.3}, {0.3, -0.25}, {-0.3, -0.3}, {0.1, 0.4}, {0.4, 0.1}};
    int i = 0;
    for (const auto &t : tilts) {
        const double dx = (i % 3 - 1) * 0.06, dy = (i % 2) * 0.04 - 0.02;
        list.push_back({cv::Vec3d(t[0], t[1], 0.05 * (i % 4)), cv::Vec3d(-0.09 + dx, -0.125 + dy, 0.55 + 0.02 * (i % 3))});
        ++i;
    }
    return list;
}

} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT

private slots:
    void objectPoints()
    {
        const auto p = LensCalibration::calcPoints({4, 11}, 0.025f);
        QCOMPARE(int(p.size()), 44);
        const std::pair<int, cv::Point3f> expected[] = {
            {0, {0, 0, 0}}, {3, {0.15f, 0, 0}}, {4, {0.025f, 0.025f, 0}}, {7, {0.175f, 0.025f, 0}}, {43, {0.15f, 0.25f, 0}}};
        for (const auto &e : expected)
            QVERIFY(cv::norm(p[size_t(e.first)] - e.second) < 1e-6);
    }

    void storageScale_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("k");
        QTest::newRow("800") << 800 << 1.6;
        QTest::newRow("1920") << 1920 << 1280.0 / 1920;
        QTest::newRow("0") << 0 << 1.0;
    }
    // The exact ratio: widths between 640 and 1280 and above 1280 scale too
    // (640: recoversCamera).
    void storageScale()
    {
        QFETCH(int, width);
        QFETCH(double, k);
        QCOMPARE(LensCalibration::storageScale(width), k);
    }

    void recoversCamera()
    {
        const int width = 640, height = 480;
        const double f = 520;
        const Camera truth = trueCamera(width, height, f);
        LensCalibration lens;
        int seen = 0;
        for (const auto &pose : poses()) {
            const cv::Mat frame = renderGrid(truth, {width, height}, pose.first, pose.second);
            std::vector<cv::Point2f> centres;
            if (!LensCalibration::findPattern(frame, &centres))
                continue;
            lens.addFrame(centres);
            if (++seen == LensCalibration::framesNeeded)
                break;
        }
        QCOMPARE(seen, LensCalibration::framesNeeded);
        QVERIFY(lens.run({width, height}));
        QVERIFY(lens.isValid());
        QVERIFY2(lens.rms() < 0.3, qPrintable(QString::number(lens.rms())));
        const cv::Mat &m = lens.cameraMatrix();
        QVERIFY2(std::fabs(m.at<double>(0, 0) - f) / f < 0.01, qPrintable(QString::number(m.at<double>(0, 0))));
        QVERIFY(std::fabs(m.at<double>(1, 1) - f) / f < 0.01);
        // The principal point stays fixed at the image centre.
        QCOMPARE(m.at<double>(0, 2), (width - 1) / 2.0);
        QCOMPARE(m.at<double>(1, 2), (height - 1) / 2.0);
        const cv::Mat &d = lens.distCoeffs();
        QCOMPARE(d.rows * d.cols, 8);
        VERIFY_NEAR(d.at<double>(0), truth.dist.at<double>(0), 0.02);
        VERIFY_NEAR(d.at<double>(1), truth.dist.at<double>(1), 0.05);

        // Distorted points map back to where the true model puts them.
        std::vector<cv::Point2f> distorted;
        for (int y = height / 8; y < height; y += height / 4)
            for (int x = width / 8; x < width; x += width / 4)
                distorted.push_back(cv::Point2f(float(x), float(y)));
        std::vector<cv::Point2f> mine, theirs;
        cv::undistortPoints(distorted, mine, m, d, cv::noArray(), m);
        cv::undistortPoints(distorted, theirs, truth.matrix, truth.dist, cv::noArray(), truth.matrix);
        for (size_t i = 0; i < mine.size(); ++i)
            QVERIFY2(cv::norm(mine[i] - theirs[i]) < 1.0, qPrintable(QString::number(cv::norm(mine[i] - theirs[i]))));

        // Undistorting a rendered view makes the grid's rows straight again.
        cv::Mat view = renderGrid(truth, {width, height}, poses()[0].first, poses()[0].second), straight;
        QVERIFY(lens.undistort(view, &straight));
        std::vector<cv::Point2f> centres;
        QVERIFY(LensCalibration::findPattern(straight, &centres));
        double worst = 0;
        for (int row = 0; row < 11; ++row) {
            std::vector<cv::Point2f> line(centres.begin() + row * 4, centres.begin() + row * 4 + 4);
            cv::Vec4f l;
            cv::fitLine(line, l, cv::DIST_L2, 0, 0.01, 0.01);
            for (const auto &p : line)
                worst = std::max(worst, double(std::fabs((p.x - l[2]) * l[1] - (p.y - l[3]) * l[0])));
        }
        QVERIFY2(worst < 0.5, qPrintable(QString::number(worst)));

        // Stored for 1280 pixels and loaded again at this width: the same matrix.
        const auto stored = lens.storedMatrix(width);
        QCOMPARE(stored[0], m.at<double>(0, 0) * 1280 / width);
        LensCalibration loaded;
        loaded.load(stored, lens.storedDistCoeffs());
        QVERIFY(loaded.run({width, height}));
        QVERIFY(cv::norm(loaded.cameraMatrix() - m) < 1e-9);
        cv::Mat a, b;
        QVERIFY(loaded.undistort(view, &a));
        QVERIFY(lens.undistort(view, &b));
        QCOMPARE(cv::norm(a, b, cv::NORM_INF), 0.0);
        // Another frame size rebuilds the maps from the stored form.
        cv::Mat half;
        cv::resize(view, half, {width / 2, height / 2});
        QVERIFY(loaded.undistort(half, &a));
        QCOMPARE(loaded.mapSize(), cv::Size(width / 2, height / 2));
        VERIFY_NEAR(loaded.cameraMatrix().at<double>(0, 0), m.at<double>(0, 0) / 2, 1e-9);
    }

    void invalidCalibrations_data()
    {
        QTest::addColumn<QVector<double>>("matrix");
        QTest::addColumn<QVector<double>>("dist");
        QTest::newRow("empty") << QVector<double>() << QVector<double>();
        QTest::newRow("identity") << QVector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1} << QVector<double>(8, 0.0);
        QTest::newRow("not a number") << QVector<double>{qQNaN(), 0, 640, 0, 1000, 480, 0, 0, 1} << QVector<double>(8, 0.0);
        QTest::newRow("infinite coefficient")
            << QVector<double>{1000, 0, 640, 0, 1000, 480, 0, 0, 1} << QVector<double>{qInf(), 0, 0, 0, 0, 0, 0, 0};
    }
    void invalidCalibrations()
    {
        QFETCH(QVector<double>, matrix);
        QFETCH(QVector<double>, dist);
        LensCalibration lens;
        lens.load(std::vector<double>(matrix.begin(), matrix.end()), std::vector<double>(dist.begin(), dist.end()));
        QVERIFY(!lens.run({640, 480}));
        cv::Mat frame(480, 640, CV_8UC1, cv::Scalar(7)), out;
        QVERIFY(!lens.undistort(frame, &out));
        QVERIFY(out.empty());
    }

    void fieldFileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("fieldCalibration.ini");
        FieldCalibration cal;
        cal.xCount = 3;
        cal.yCount = 2;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                cal.points.append({10.0 + 50 * c, 20.0 + 40 * r, 10.0 + 50 * c + 0.125 * c - 0.0625, 20.0 + 40 * r + 0.1 / 3});
        QString error;
        QVERIFY(cal.write(path, &error));
        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.value("version").toInt(), 1);
        QCOMPARE(raw.value("xCount").toInt(), 3);
        QCOMPARE(raw.value("yCount").toInt(), 2);
        QCOMPARE(raw.value("4/rX").toDouble(), 60.0);
        FieldCalibration back;
        QVERIFY(back.read(path, &error));
        QCOMPARE(back.xCount, 3);
        QCOMPARE(back.yCount, 2);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(back.points[i].rX, cal.points[i].rX);
            QCOMPARE(back.points[i].nX, cal.points[i].nX);
            QCOMPARE(back.points[i].nY, cal.points[i].nY);
        }
        // A smaller grid written later leaves no groups of the old one.
        FieldCalibration small;
        small.xCount = 1;
        small.yCount = 1;
        small.points.append({1, 2, 3, 4});
        QVERIFY(small.write(path, &error));
        QSettings again(path, QSettings::IniFormat);
        QVERIFY(!again.contains("4/rX"));
    }

    void fieldFileRejected_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("wrong version") << QByteArray("[General]\nversion=2\nxCount=1\nyCount=1\n[0]\nrX=1\nrY=1\nnX=1\nnY=1\n");
        QTest::newRow("missing point") << QByteArray("[General]\nversion=1\nxCount=2\nyCount=1\n[0]\nrX=1\nrY=1\nnX=1\nnY=1\n");
        QTest::newRow("text value") << QByteArray("[General]\nversion=1\nxCount=1\nyCount=1\n[0]\nrX=a\nrY=1\nnX=1\nnY=1\n");
        QTest::newRow("zero columns") << QByteArray("[General]\nversion=1\nxCount=0\nyCount=1\n");
        QTest::newRow("huge grid") << QByteArray("[General]\nversion=1\nxCount=100000\nyCount=100000\n");
    }
    void fieldFileRejected()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile f(dir.filePath("fieldCalibration.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        FieldCalibration cal;
        QString error;
        QVERIFY(!cal.read(f.fileName(), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!cal.read(dir.filePath("missing.ini"), &error));
    }

    // Offsets that grow linearly over the grid are reproduced exactly
    // between the points; near the grid the edge value holds; far away none.
    void fieldTable()
    {
        FieldCalibration cal;
        cal.xCount = 4;
        cal.yCount = 3;
        auto dx = [](double x, double y) { return 0.001 * x + 0.0005 * y; };
        auto dy = [](double x, double y) { return -0.002 * x + 0.25; Q_UNUSED(y) };
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) {
                const double x = 30 + 100 * c, y = 40 + 80 * r;
                cal.points.append({x, y, x + dx(x, y), y + dy(x, y)});
            }
        const twoDPoint2fVector t = cal.table(500, 300);
        QCOMPARE(t.size(), 300);
        QCOMPARE(t[0].size(), 500);
        for (QPoint p : {QPoint(30, 40), QPoint(77, 91), QPoint(330, 200), QPoint(211, 150)}) {
            VERIFY_NEAR(t[p.y()][p.x()].x(), dx(p.x(), p.y()), 1e-9);
            VERIFY_NEAR(t[p.y()][p.x()].y(), dy(p.x(), p.y()), 1e-9);
        }
        // 15 mm left of the grid: the value at its edge; 25 mm: none.
        VERIFY_NEAR(t[100][15].x(), dx(30, 100), 1e-9);
        QCOMPARE(t[100][5], QPointF(0, 0));
        QCOMPARE(t[299][100], QPointF(0, 0)); // 59 mm below the last row
        QCOMPARE(t[215][100].y(), dy(100, 0)); // 15 mm below: edge value
    }

};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"

// Template matching: a textured photo found again rotated, shifted and
// upside down; the margins that decide whether matching is tried at all.
#include "Near.h"
#include "SyntheticFrames.h"

#include "vision/Recognition.h"
#include "vision/TemplateMatcher.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

Q_DECLARE_METATYPE(cv::Point2d)

namespace {

// A busy background that the template does not match.
cv::Mat background(cv::Size size)
{
    cv::Mat frame = Synthetic::texture(size, 4242);
    frame = frame * 0.5 + 40;
    return frame;
}

cv::Mat centredSquare(const cv::Mat &frame, int side)
{
    return frame(cv::Rect((frame.cols - side) / 2, (frame.rows - side) / 2, side, side));
}

} // namespace

class TestTemplateMatching : public QObject
{
    Q_OBJECT

private slots:
    void componentOnNozzle_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("supposed");
        QTest::addColumn<cv::Point2d>("centre");
        QTest::addColumn<int>("templateType");
        QTest::newRow("-12.6 edges") << -12.6 << 0.0 << cv::Point2d(322.0, 238.5) << 1;
        QTest::newRow("-12.6 grey") << -12.6 << 0.0 << cv::Point2d(322.0, 238.5) << 0;
        QTest::newRow("93 near -90") << 93.0 << -90.0 << cv::Point2d(318.3, 241.7) << 1;
    }
    void componentOnNozzle()
    {
        QFETCH(double, angle);
        QFETCH(double, supposed);
        QFETCH(cv::Point2d, centre);
        QFETCH(int, templateType);
        const cv::Mat photo = Synthetic::texture({240, 160}, 17);
        cv::Mat frame = background({640, 480});
        Synthetic::pasteRotated(frame, photo, centre, angle);
        Synthetic::addNoise(frame, 2, 3);
        const int side = TemplateMatcher::componentSearchSide(photo.size(), frame.size());
        QCOMPARE(side, 384);
        const cv::Mat area = centredSquare(frame, side);
        const auto templ = TemplateMatcher::prepare(photo, 0.3, templateType);
        const auto r = TemplateMatcher::matchComponent(area, templ, 0.3, templateType, supposed, 80);
        QVERIFY(r.matched);
        QVERIFY2(r.found, qPrintable(QString::number(r.coeff)));
        VERIFY_NEAR(r.angle, Recognition::fold(angle, 45), 0.2);
        VERIFY_NEAR(r.x, centre.x - 320, 0.5);
        VERIFY_NEAR(r.y, centre.y - 240, 0.5);
    }

    void placedAnyRotation_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<bool>("upsideDown");
        QTest::newRow("-121.7") << -121.7 << false;
        QTest::newRow("flipped 25") << 25.0 << true;
    }
    void placedAnyRotation()
    {
        QFETCH(double, angle);
        QFETCH(bool, upsideDown);
        const cv::Mat photo = Synthetic::texture({160, 100}, 23);
        cv::Mat mirrored;
        cv::flip(photo, mirrored, 1);
        cv::Mat frame = background({640, 480});
        const cv::Point2d centre(331.6, 228.3);
        Synthetic::pasteRotated(frame, upsideDown ? mirrored : photo, centre, angle);
        const cv::Mat area = frame(cv::Rect(160, 120, 320, 240)); // the search area at 50 %
        const auto templ = TemplateMatcher::prepare(photo, 0.3, 1);
        const auto flippedTempl = TemplateMatcher::prepare(mirrored, 0.3, 1);
        const auto r = TemplateMatcher::matchPlaced(area, templ, flippedTempl, true, 0.3, 1, 80, 80);
        QVERIFY2(r.found, qPrintable(QString::number(r.coeff)));
        QCOMPARE(r.flipped, upsideDown);
        // A 160 x 100 photo is matched at 48 x 30 pixels: about half a degree at worst.
        VERIFY_NEAR(Recognition::fold(r.angle - angle, 180), 0, 0.2);
        QVERIFY(r.angle >= -180 && r.angle <= 180);
        VERIFY_NEAR(r.x, centre.x - 320, 0.5);
        VERIFY_NEAR(r.y, centre.y - 240, 0.5);
        // Without the flipped template an upside-down part is not found, but
        // the best position still comes back.
        if (upsideDown) {
            const auto plain = TemplateMatcher::matchPlaced(area, templ, flippedTempl, false, 0.3, 1, 80, 80);
            QVERIFY(!plain.found);
            QVERIFY(plain.matched);
        }
    }

    void referenceMark()
    {
        cv::Mat frame = background({640, 480});
        const cv::Mat mark = Synthetic::texture({40, 40}, 5);
        mark.copyTo(frame(cv::Rect(317, 207, 40, 40)));
        cv::Mat area = frame(cv::Rect(160, 120, 320, 240));
        const auto r = TemplateMatcher::matchReference(area, mark, 80);
        QVERIFY(r.found);
        // Centred position: 160 + (320 - 40) / 2 = 300, 120 + (240 - 40) / 2 = 220.
        QCOMPARE(r.x, 17.0);
        QCOMPARE(r.y, -13.0);
        QVERIFY(r.coeff > 99);
        const auto strict = TemplateMatcher::matchReference(area, Synthetic::texture({40, 40}, 6), 80);
        QVERIFY(!strict.found);
        QVERIFY(strict.matched);
    }

    void margins_data()
    {
        QTest::addColumn<int>("templateSide");
        QTest::addColumn<bool>("matched");
        QTest::newRow("9 px smaller") << 91 << false;
        QTest::newRow("10 px smaller") << 90 << true;
    }
    void margins()
    {
        QFETCH(int, templateSide);
        QFETCH(bool, matched);
        const cv::Mat area = Synthetic::texture({100, 100}, 9);
        // Scale 1: the area as it is. Both modes want 10 pixels of room.
        const auto templ = TemplateMatcher::prepare(area(cv::Rect(0, 0, templateSide, templateSide)).clone(), 1.0, 0);
        QCOMPARE(TemplateMatcher::matchComponent(area, templ, 1.0, 0, 0, 80).matched, matched);
        const cv::Mat same = area(cv::Rect(0, 0, templateSide, templateSide)).clone();
        QCOMPARE(TemplateMatcher::matchReference(area, same, 80).matched, matched);
    }

    void unusableInput()
    {
        const cv::Mat area = Synthetic::texture({100, 100}, 9);
        QVERIFY(!TemplateMatcher::prepare(area, 0, 1).valid());
        QVERIFY(!TemplateMatcher::prepare(cv::Mat(), 0.3, 1).valid());
        const auto templ = TemplateMatcher::prepare(area(cv::Rect(0, 0, 30, 30)).clone(), 0.3, 1);
        QVERIFY(!TemplateMatcher::matchComponent(area, templ, 0, 1, 0, 80).matched);
        QVERIFY(!TemplateMatcher::matchPlaced(area, templ, {}, false, 0, 1, 80, 80).matched);
        QVERIFY(!TemplateMatcher::matchReference(area, cv::Mat(), 80).matched);
    }

    void centerSearchSide()
    {
        QCOMPARE(TemplateMatcher::centerSearchSide({100, 60}, 0.3), 160 + 33);
        QCOMPARE(TemplateMatcher::centerSearchSide({200, 60}, 0.3), 320);
        QCOMPARE(TemplateMatcher::componentSearchSide({300, 60}, {640, 480}), 480);
        QCOMPARE(TemplateMatcher::componentSearchSide({301, 60}, {640, 480}), 0);
    }
};

QTEST_GUILESS_MAIN(TestTemplateMatching)
#include "tst_template_matching.moc"

// Inspection by image difference: a clip found in its reference photo, the
// differing pixels counted after erosion.
#include "vision/AoiComparer.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QImage noise(int w, int h, quint32 seed, int top = 256)
{
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(rng.bounded(top), rng.bounded(top), rng.bounded(top)));
    return image;
}

int redPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) && qAlpha(image.pixel(x, y)) == 255)
                ++n;
    return n;
}

} // namespace

class TestAoi : public QObject
{
    Q_OBJECT

private slots:
    // A clip cut right of and below the reference's centre is found there.
    void shift()
    {
        const QImage reference = noise(200, 150, 1);
        const QImage clip = reference.copy(QRect(QPoint(55, 31), QSize(120, 90)));
        const AoiComparer::Result r = AoiComparer::compare(reference, clip, 100, 1);
        QCOMPARE(r.shift, QPointF(-15, -1));
        QCOMPARE(r.diff, 0.0);
        QCOMPARE(r.diffImage.size(), QSize(120, 90));
        QCOMPARE(r.diffImage.format(), QImage::Format_RGBA8888);
        QCOMPARE(redPixels(r.diffImage), 0);
    }

    void alteredBlocks_data()
    {
        QTest::addColumn<int>("erosion");
        QTest::addColumn<int>("expected");
        // A white 10 x 10 block and a lone white pixel on noise of values
        // below 150 differ.
        QTest::newRow("erosion 0") << 0 << 101;
        QTest::newRow("erosion 2") << 2 << 36;
    }
    void alteredBlocks()
    {
        QFETCH(int, erosion);
        QFETCH(int, expected);
        QImage reference(160, 120, QImage::Format_RGB32);
        reference.fill(QColor(40, 90, 160));
        QPainter(&reference).drawImage(20, 15, noise(120, 90, 5, 150));
        QImage clip = reference.copy(20, 15, 120, 90);
        {
            QPainter p(&clip);
            p.fillRect(QRect(30, 40, 10, 10), Qt::white);
        }
        clip.setPixel(100, 10, qRgb(255, 255, 255));
        const AoiComparer::Result r = AoiComparer::compare(reference, clip, 30, erosion);
        const int n = redPixels(r.diffImage);
        QCOMPARE(n, expected);
        QCOMPARE(r.diff, n * 100.0 / (120 * 90));
        QCOMPARE(r.shift, QPointF(0, 0));
    }

    // Differences in value of 14 or less never count.
    void smallValueChangesIgnored()
    {
        QImage reference(60, 60, QImage::Format_RGB32);
        reference.fill(QColor(100, 100, 100));
        QPainter(&reference).fillRect(QRect(10, 10, 20, 20), QColor(200, 60, 60));
        QImage clip = reference.copy(5, 5, 50, 50);
        QPainter(&clip).fillRect(QRect(0, 0, 50, 50), QColor(114, 114, 114));
        QPainter(&clip).fillRect(QRect(5, 5, 20, 20), QColor(200, 60, 60));
        const AoiComparer::Result r = AoiComparer::compare(reference, clip, 1, 0);
        QCOMPARE(r.diff, 0.0);
    }

    // A clip as wide as its reference cannot be placed in it.
    void unusable()
    {
        const AoiComparer::Result r = AoiComparer::compare(noise(100, 80, 1), noise(100, 60, 2), 100, 1);
        QCOMPARE(r.diff, 100.0);
        QCOMPARE(r.shift, QPointF(0, 0));
        QCOMPARE(r.diffImage.size(), QSize(1, 1));
        QCOMPARE(r.diffImage.pixel(0, 0), qRgba(255, 0, 0, 255));
    }
};

QTEST_GUILESS_MAIN(TestAoi)
#include "tst_aoi.moc"

// Conversion of camera frames (YUYV and MJPEG) into packed BGR.
#include "Near.h"
#include "vision/FrameConverter.h"

extern "C" {
#include <mjpegtools/jpegutils.h>
}

#include <QtTest>

#include <vector>

namespace {

// One YUYV group with the same chroma for both pixels.
std::vector<std::uint8_t> group(int y0, int u, int y1, int v)
{
    return {std::uint8_t(y0), std::uint8_t(u), std::uint8_t(y1), std::uint8_t(v)};
}

// Blue, green and red of pixel i.
QVector<int> pixel(const std::vector<std::uint8_t> &bgr, int i)
{
    return {bgr[3 * i], bgr[3 * i + 1], bgr[3 * i + 2]};
}

// A JPEG of flat planes (luma y, chroma cb/cr), as a camera would send.
std::vector<std::uint8_t> flatJpeg(int w, int h, int y, int cb, int cr, int splitY = -1)
{
    std::vector<std::uint8_t> Y(std::size_t(w) * h, std::uint8_t(y));
    if (splitY >= 0) { // right half white
        for (int row = 0; row < h; ++row)
            for (int col = w / 2; col < w; ++col)
                Y[std::size_t(row) * w + col] = std::uint8_t(splitY);
    }
    std::vector<std::uint8_t> U(std::size_t(w / 2) * (h / 2), std::uint8_t(cb));
    std::vector<std::uint8_t> V(std::size_t(w / 2) * (h / 2), std::uint8_t(cr));
    std::vector<std::uint8_t> out(std::size_t(w) * h * 3);
    const int n = encode_jpeg_raw(out.data(), int(out.size()), 95, 0, 420, w, h, Y.data(), U.data(), V.data());
    out.resize(n > 0 ? std::size_t(n) : 0);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<std::uint8_t>)

class TestFrameConversion : public QObject
{
    Q_OBJECT

private slots:
    // Known colours from flat JPEG planes (luma y, chroma u = cb, v = cr),
    // taken as ITU-R BT.601 studio range; YUYV: yuyvMatchesFormulaEverywhere.
    void mjpegColours_data()
    {
        QTest::addColumn<QVector<int>>("yuv");
        QTest::addColumn<QVector<int>>("bgr");
        using V = QVector<int>;
        QTest::newRow("grey") << V{128, 128, 128} << V{112, 112, 112};
        QTest::newRow("red") << V{81, 90, 240} << V{0, 0, 222};
    }
    void mjpegColours()
    {
        QFETCH(QVector<int>, yuv);
        QFETCH(QVector<int>, bgr);
        const int w = 64, h = 48;
        std::vector<std::uint8_t> dst(std::size_t(w) * h * 3, 7);
        const auto jpeg = flatJpeg(w, h, yuv[0], yuv[1], yuv[2]);
        QVERIFY(!jpeg.empty());
        FrameConverter converter;
        QVERIFY(converter.mjpegToBgr(jpeg.data(), jpeg.size(), w, h, dst.data(), dst.size()));
        // JPEG is lossy: a flat plane comes back within a few levels.
        const int near = 3;
        for (int i : {0, w * h / 2 + 5, w * h - 1}) {
            const QVector<int> p = pixel(dst, i);
            VERIFY_WITHIN(p[0], bgr[0], near);
            VERIFY_WITHIN(p[1], bgr[1], near);
            VERIFY_WITHIN(p[2], bgr[2], near);
        }
    }

    // Only whole groups that both buffers hold are converted; nothing beyond
    // them is read or written, in short tails and in long runs (the
    // vectorised path) alike.
    void yuyvBounds_data()
    {
        QTest::addColumn<int>("srcBytes");
        QTest::addColumn<int>("dstBytes");
        QTest::addColumn<int>("pixels");
        QTest::newRow("partial source group dropped") << 14 << 24 << 6;
        QTest::newRow("destination limits") << 16 << 13 << 4;
        QTest::newRow("long run, destination limits") << 37 * 4 << 33 * 6 + 5 << 66;
    }
    void yuyvBounds()
    {
        QFETCH(int, srcBytes);
        QFETCH(int, dstBytes);
        QFETCH(int, pixels);
        std::vector<std::uint8_t> src(std::size_t(srcBytes) + 4, 128);
        for (std::size_t i = 0; i < src.size(); i += 2)
            src[i] = 235;
        std::vector<std::uint8_t> dst(40 * 6, 7);
        QCOMPARE(FrameConverter::yuyvToBgr(src.data(), std::size_t(srcBytes), dst.data(), std::size_t(dstBytes)),
                 std::size_t(pixels));
        for (std::size_t i = 0; i < dst.size(); ++i)
            QCOMPARE(int(dst[i]), int(i) < pixels * 3 ? 255 : 7);
    }

    // Every luma with a sweep of both chroma values, in long runs (the
    // vectorised path) and in short tails: each pixel as the integer formula
    // gives it.
    void yuyvMatchesFormulaEverywhere()
    {
        std::vector<std::uint8_t> src;
        for (int u = 0; u < 256; u += 3)
            for (int v = 0; v < 256; v += 5)
                for (int y = 0; y < 256; y += 7) {
                    const auto g = group(y, u, 255 - y, v);
                    src.insert(src.end(), g.begin(), g.end());
                }
        src.resize(src.size() - 8); // not a whole number of steps
        std::vector<std::uint8_t> dst(src.size() / 4 * 6 + 1, 7);
        QCOMPARE(FrameConverter::yuyvToBgr(src.data(), src.size(), dst.data(), dst.size() - 1), src.size() / 2);
        auto clamp = [](int x) { return x < 0 ? 0 : (x > 255 ? 255 : x); };
        for (std::size_t g = 0; g < src.size() / 4; ++g) {
            const int d = src[4 * g + 1] - 128, e = src[4 * g + 3] - 128;
            for (int k = 0; k < 2; ++k) {
                const int c = src[4 * g + 2 * k] - 16;
                const std::uint8_t *p = &dst[6 * g + 3 * k];
                if (p[2] != clamp((298 * c + 409 * e + 128) >> 8) ||
                    p[1] != clamp((298 * c - 100 * d - 208 * e + 128) >> 8) ||
                    p[0] != clamp((298 * c + 516 * d + 128) >> 8))
                    QFAIL(qPrintable(QStringLiteral("group %1 pixel %2").arg(g).arg(k)));
            }
        }
        QCOMPARE(int(dst.back()), 7);
    }

    // Left half black, right half white: the decoded pixels keep their place.
    void mjpegGeometry()
    {
        const int w = 64, h = 32;
        const auto jpeg = flatJpeg(w, h, 16, 128, 128, 235);
        std::vector<std::uint8_t> dst(std::size_t(w) * h * 3, 7);
        FrameConverter converter;
        QVERIFY(converter.mjpegToBgr(jpeg.data(), jpeg.size(), w, h, dst.data(), dst.size()));
        for (int row : {0, h / 2, h - 1}) {
            QVERIFY(pixel(dst, row * w + 2)[1] < 5);
            QVERIFY(pixel(dst, row * w + w / 2 - 4)[1] < 5);
            QVERIFY(pixel(dst, row * w + w / 2 + 4)[1] > 210);
            QVERIFY(pixel(dst, row * w + w - 1)[1] > 210);
        }
    }

    // A frame that is not a JPEG of the negotiated size is refused and the
    // output keeps its contents.
    void mjpegRefused_data()
    {
        QTest::addColumn<std::vector<std::uint8_t>>("data");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("dstBytes");
        const auto good = flatJpeg(64, 48, 128, 128, 128);
        const QSize size(64, 48);
        QTest::newRow("garbage") << std::vector<std::uint8_t>(5000, 0x55) << size << 64 * 48 * 3;
        QTest::newRow("other size") << flatJpeg(32, 16, 128, 128, 128) << size << 64 * 48 * 3;
        QTest::newRow("output too small") << good << size << 64 * 48 * 3 - 1;
        QTest::newRow("odd width") << good << QSize(63, 48) << 64 * 48 * 3;
    }
    void mjpegRefused()
    {
        QFETCH(std::vector<std::uint8_t>, data);
        QFETCH(QSize, size);
        QFETCH(int, dstBytes);
        std::vector<std::uint8_t> dst(std::size_t(64) * 48 * 3, 7);
        FrameConverter converter;
        QVERIFY(!converter.mjpegToBgr(data.data(), data.size(), size.width(), size.height(), dst.data(),
                                      std::size_t(dstBytes)));
        QVERIFY(std::all_of(dst.begin(), dst.end(), [](std::uint8_t v) { return v == 7; }));
    }
};

QTEST_GUILESS_MAIN(TestFrameConversion)
#include "tst_frame_conversion.moc"

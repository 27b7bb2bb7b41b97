#include "vision/FrameConverter.h"

extern "C" {
#include <mjpegtools/jpegutils.h>
}

#include <algorithm>

namespace {

inline std::uint8_t clamp255(int v)
{
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Lookup tables of the YUYV coefficients; built once.
struct YuvTables {
    int y[256];   // 298 * (Y - 16) + 128
    int rv[256];  // 409 * (V - 128)
    int gu[256];  // -100 * (U - 128)
    int gv[256];  // -208 * (V - 128)
    int bu[256];  // 516 * (U - 128)
    YuvTables()
    {
        for (int i = 0; i < 256; ++i) {
            y[i] = 298 * (i - 16) + 128;
            rv[i] = 409 * (i - 128);
            gu[i] = -100 * (i - 128);
            gv[i] = -208 * (i - 128);
            bu[i] = 516 * (i - 128);
        }
    }
};

const YuvTables &yuvTables()
{
    static const YuvTables tables;
    return tables;
}

} // namespace

std::size_t FrameConverter::yuyvToBgr(const std::uint8_t *src, std::size_t srcBytes,
                                      std::uint8_t *dst, std::size_t dstBytes)
{
    if (!src || !dst)
        return 0;
    const std::size_t groups = std::min(srcBytes / 4, dstBytes / 6);
    const YuvTables &t = yuvTables();
    for (std::size_t g = 0; g < groups; ++g) {
        const std::uint8_t *s = src + g * 4;
        std::uint8_t *d = dst + g * 6;
        const int u = s[1];
        const int v = s[3];
        const int r = t.rv[v];
        const int gg = t.gu[u] + t.gv[v];
        const int b = t.bu[u];
        const int c0 = t.y[s[0]];
        const int c1 = t.y[s[2]];
        d[0] = clamp255((c0 + b) >> 8);
        d[1] = clamp255((c0 + gg) >> 8);
        d[2] = clamp255((c0 + r) >> 8);
        d[3] = clamp255((c1 + b) >> 8);
        d[4] = clamp255((c1 + gg) >> 8);
        d[5] = clamp255((c1 + r) >> 8);
    }
    return groups * 2;
}

void FrameConverter::yuv420ToBgr(const std::uint8_t *y, const std::uint8_t *cb, const std::uint8_t *cr,
                                 int width, int height, std::uint8_t *dst)
{
    const int cw = width / 2;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t *yr = y + static_cast<std::size_t>(row) * width;
        const std::uint8_t *cbr = cb + static_cast<std::size_t>(row / 2) * cw;
        const std::uint8_t *crr = cr + static_cast<std::size_t>(row / 2) * cw;
        std::uint8_t *d = dst + static_cast<std::size_t>(row) * width * 3;
        for (int col = 0; col < width; ++col) {
            const int ci = std::min(col / 2, cw - 1);
            const int c = yr[col] - 16;
            const int u = cbr[ci] - 128;
            const int v = crr[ci] - 128;
            d[0] = clamp255(c + ((454 * u) >> 8));
            d[1] = clamp255(c - ((88 * u + 183 * v) >> 8));
            d[2] = clamp255(c + ((359 * v) >> 8));
            d += 3;
        }
    }
}

QMutex &FrameConverter::decodeMutex()
{
    static QMutex mutex;
    return mutex;
}

bool FrameConverter::mjpegToBgr(const std::uint8_t *src, std::size_t srcBytes, int width, int height,
                                std::uint8_t *dst, std::size_t dstBytes)
{
    if (!src || !dst || width < 2 || height < 2 || srcBytes < 4 || srcBytes > 0x7fffffff)
        return false;
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    if (dstBytes < pixels * 3)
        return false;
    const std::size_t chroma = static_cast<std::size_t>(width / 2) * (height / 2);
    // The decoder takes a writable pointer; decode a private copy so that the
    // driver's buffer is never written.
    m_jpeg.assign(src, src + srcBytes);
    m_y.resize(pixels);
    m_cb.resize(chroma);
    m_cr.resize(chroma);
    int result;
    {
        QMutexLocker lock(&decodeMutex());
        result = decode_jpeg_raw(m_jpeg.data(), static_cast<int>(srcBytes), 0 /* not interlaced */,
                                 420, width, height, m_y.data(), m_cb.data(), m_cr.data());
    }
    if (result != 0)
        return false;
    yuv420ToBgr(m_y.data(), m_cb.data(), m_cr.data(), width, height, dst);
    return true;
}

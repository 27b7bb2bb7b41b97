#include "vision/FrameConverter.h"

extern "C" {
#include <mjpegtools/jpegutils.h>
}

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

namespace {

// Scalar conversion of `groups` YUYV groups.
void yuyvGroups(const std::uint8_t *src, std::size_t groups, std::uint8_t *dst)
{
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
}

#ifdef __SSE2__
// One pixel's products from int16 pairs (C, D) / (C, E) / (D, E) in each
// 32-bit lane of x = (C0, D)(C1, E)(C0', D')(C1', E'): the same integer
// formula as yuyvGroups, four pixels at a time.
inline void yuyvPixels(__m128i x, __m128i &b, __m128i &g, __m128i &r)
{
    const __m128i round = _mm_set1_epi32(128);
    const __m128i c = _mm_and_si128(x, _mm_set1_epi32(0xffff));
    const __m128i de = _mm_srli_epi32(x, 16);
    const __m128i d = _mm_shuffle_epi32(de, _MM_SHUFFLE(2, 2, 0, 0));
    const __m128i e = _mm_shuffle_epi32(de, _MM_SHUFFLE(3, 3, 1, 1));
    const __m128i cd = _mm_or_si128(c, _mm_slli_epi32(d, 16));
    const __m128i ce = _mm_or_si128(c, _mm_slli_epi32(e, 16));
    const __m128i dePairs = _mm_or_si128(d, _mm_slli_epi32(e, 16));
    const auto pair = [](int low, int high) {
        return _mm_set1_epi32(int(std::uint32_t(std::uint16_t(std::int16_t(high))) << 16 |
                                  std::uint16_t(std::int16_t(low))));
    };
    b = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(cd, pair(298, 516)), round), 8);
    r = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(ce, pair(298, 409)), round), 8);
    const __m128i y = _mm_madd_epi16(c, pair(298, 0));
    const __m128i uv = _mm_madd_epi16(dePairs, pair(-100, -208));
    g = _mm_srai_epi32(_mm_add_epi32(_mm_add_epi32(y, uv), round), 8);
}
#endif

} // namespace

std::size_t FrameConverter::yuyvToBgr(const std::uint8_t *src, std::size_t srcBytes,
                                      std::uint8_t *dst, std::size_t dstBytes)
{
    if (!src || !dst)
        return 0;
    const std::size_t groups = std::min(srcBytes / 4, dstBytes / 6);
    std::size_t g = 0;
#ifdef __SSE2__
    // Four groups (eight pixels) per step. Each pixel is stored as four
    // bytes, the fourth overwritten by the next pixel, so the step needs one
    // group of room after it; the rest is done by the scalar code.
    const __m128i zero = _mm_setzero_si128();
    const __m128i bias = _mm_set_epi16(128, 16, 128, 16, 128, 16, 128, 16);
    for (; g + 5 <= groups; g += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + 4 * g));
        __m128i b0, g0, r0, b1, g1, r1;
        yuyvPixels(_mm_sub_epi16(_mm_unpacklo_epi8(v, zero), bias), b0, g0, r0);
        yuyvPixels(_mm_sub_epi16(_mm_unpackhi_epi8(v, zero), bias), b1, g1, r1);
        // Saturating packs clamp to 0..255.
        const __m128i b = _mm_packus_epi16(_mm_packs_epi32(b0, b1), zero);
        const __m128i gr = _mm_packus_epi16(_mm_packs_epi32(g0, g1), zero);
        const __m128i r = _mm_packus_epi16(_mm_packs_epi32(r0, r1), zero);
        const __m128i bg = _mm_unpacklo_epi8(b, gr);
        const __m128i rz = _mm_unpacklo_epi8(r, zero);
        alignas(16) std::uint32_t pixels[8];
        _mm_store_si128(reinterpret_cast<__m128i *>(pixels), _mm_unpacklo_epi16(bg, rz));
        _mm_store_si128(reinterpret_cast<__m128i *>(pixels + 4), _mm_unpackhi_epi16(bg, rz));
        std::uint8_t *d = dst + 6 * g;
        for (int i = 0; i < 8; ++i)
            std::memcpy(d + 3 * i, &pixels[i], 4);
    }
#endif
    yuyvGroups(src + 4 * g, groups - g, dst + 6 * g);
    return groups * 2;
}

void FrameConverter::yuv420ToBgr(const std::uint8_t *y, const std::uint8_t *cb, const std::uint8_t *cr,
                                 int width, int height, std::uint8_t *dst)
{
    const int cw = width / 2;
    const int ch = height / 2;
    if (cw < 1 || ch < 1)
        return;
    for (int row = 0; row < height; ++row) {
        // An odd last row uses the last chroma row.
        const int cRow = std::min(row / 2, ch - 1);
        const std::uint8_t *yr = y + static_cast<std::size_t>(row) * width;
        const std::uint8_t *cbr = cb + static_cast<std::size_t>(cRow) * cw;
        const std::uint8_t *crr = cr + static_cast<std::size_t>(cRow) * cw;
        std::uint8_t *d = dst + static_cast<std::size_t>(row) * width * 3;
        // Two pixels per chroma sample; an odd last column uses the last
        // sample.
        for (int col = 0; col < width; col += 2) {
            const int ci = std::min(col / 2, cw - 1);
            const int u = cbr[ci] - 128;
            const int v = crr[ci] - 128;
            const int b = (454 * u) >> 8;
            const int g = (88 * u + 183 * v) >> 8;
            const int r = (359 * v) >> 8;
            const int pixels = col + 1 < width ? 2 : 1;
            for (int k = 0; k < pixels; ++k) {
                const int c = yr[col + k] - 16;
                d[0] = clamp255(c + b);
                d[1] = clamp255(c - g);
                d[2] = clamp255(c + r);
                d += 3;
            }
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
    // Camera JPEGs have even sizes; odd ones have no 4:2:0 layout the decoder
    // documents, so they are refused rather than guessed.
    if (!src || !dst || width < 2 || height < 2 || width % 2 || height % 2 || srcBytes < 4 ||
        srcBytes > 0x7fffffff)
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

#pragma once

#include <QMutex>

#include <cstddef>
#include <cstdint>
#include <vector>

// Converts raw camera frames into packed 24-bit BGR (blue, green, red; rows
// without padding). Integer fixed-point arithmetic with factors scaled by 256.
// Never reads or writes beyond the sizes it is given.
class FrameConverter
{
public:
    // YUYV (Y0 U Y1 V per two pixels). Converts the whole 4-byte groups that
    // both the source (srcBytes) and the destination (dstBytes, 6 bytes per
    // group) hold. Returns the number of pixels written.
    static std::size_t yuyvToBgr(const std::uint8_t *src, std::size_t srcBytes,
                                 std::uint8_t *dst, std::size_t dstBytes);

    // MJPEG: decodes a JPEG of exactly width x height (both even) into planar 4:2:0 and
    // converts it into dst (width * height * 3 bytes needed). Returns false,
    // leaving dst untouched, when the data is not such a JPEG or dst is too
    // small. Decoding is serialised across the process.
    bool mjpegToBgr(const std::uint8_t *src, std::size_t srcBytes, int width, int height,
                    std::uint8_t *dst, std::size_t dstBytes);

    // Planar 4:2:0 (full-size Y; Cb and Cr of width / 2 x height / 2) to BGR.
    static void yuv420ToBgr(const std::uint8_t *y, const std::uint8_t *cb, const std::uint8_t *cr,
                            int width, int height, std::uint8_t *dst);

private:
    static QMutex &decodeMutex();

    std::vector<std::uint8_t> m_jpeg;
    std::vector<std::uint8_t> m_y;
    std::vector<std::uint8_t> m_cb;
    std::vector<std::uint8_t> m_cr;
};

#pragma once

#include <QImage>
#include <QPointF>

// Inspection of a placed component: the clip just taken is found in the
// larger reference photo and the differing pixels are counted.
class AoiComparer
{
public:
    struct Result
    {
        QImage diffImage;  // 32-bit RGBA, opaque red where the images differ
        double diff = 100; // percent of differing pixels
        QPointF shift;     // pixels
    };

    static Result compare(const QImage &reference, const QImage &clip, int threshold, int erosion);
    // The fixed result of unusable input.
    static Result failed();
};

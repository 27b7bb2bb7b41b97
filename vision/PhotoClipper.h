#pragma once

#include <QImage>

// Cuts a turned part out of a photo: the photo is rotated by -angle degrees
// about its centre (smoothly, onto a canvas that holds the whole turned
// photo), the point (x, y) of the unturned photo is carried along, and the
// width x height rectangle whose top-left corner is that carried point is
// kept. The result is a 32-bit RGB image; parts outside the turned photo are
// black.
class PhotoClipper
{
public:
    static QImage clip(const QImage &photo, int x, int y, int width, int height, double angle);
};

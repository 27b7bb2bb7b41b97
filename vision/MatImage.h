#pragma once

#include <QImage>
#include <QVector>

#include <opencv2/core.hpp>

// Conversions between QImage (the QML side) and OpenCV matrices.
class MatImage
{
public:
    // 32-bit (A)RGB images become four-channel matrices over the image data
    // (copied when `copy` is set; a 32-bit RGB image without copy is reduced
    // to three channels); 8-bit indexed and grayscale images one channel;
    // 24-bit RGB is always copied with red and blue swapped. Other formats
    // give an empty matrix and a warning.
    static cv::Mat toMat(const QImage &image, bool copy);

    // A BGR or grey matrix as a 24-bit RGB image (a deep copy).
    static QImage toRgbImage(const cv::Mat &mat);
    // A one-channel matrix as an 8-bit indexed image with the grey table.
    static QImage toGreyImage(const cv::Mat &mat);

    // 256 opaque greys (entry v: red = green = blue = v).
    static const QVector<QRgb> &greyTable();
};

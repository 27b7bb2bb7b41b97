#include "vision/MatImage.h"

#include <QDebug>

#include <opencv2/imgproc.hpp>

const QVector<QRgb> &MatImage::greyTable()
{
    static const QVector<QRgb> table = [] {
        QVector<QRgb> t(256);
        for (int i = 0; i < 256; ++i)
            t[i] = qRgb(i, i, i);
        return t;
    }();
    return table;
}

cv::Mat MatImage::toMat(const QImage &image, bool copy)
{
    // QImage::bits() would detach; constBits() keeps the shared data, and the
    // matrix only reads it unless a copy is made.
    uchar *data = const_cast<uchar *>(image.constBits());
    const size_t step = size_t(image.bytesPerLine());
    switch (image.format()) {
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: {
        cv::Mat mat(image.height(), image.width(), CV_8UC4, data, step);
        return copy ? mat.clone() : mat;
    }
    case QImage::Format_RGB32: {
        cv::Mat mat(image.height(), image.width(), CV_8UC4, data, step);
        if (copy)
            return mat.clone();
        cv::Mat three;
        cv::cvtColor(mat, three, cv::COLOR_BGRA2BGR);
        return three;
    }
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: {
        cv::Mat mat(image.height(), image.width(), CV_8UC1, data, step);
        return copy ? mat.clone() : mat;
    }
    case QImage::Format_RGB888: {
        if (!copy)
            qWarning() << "MatImage: a 24-bit RGB image is always copied";
        cv::Mat mat(image.height(), image.width(), CV_8UC3, data, step);
        cv::Mat bgr;
        cv::cvtColor(mat, bgr, cv::COLOR_RGB2BGR);
        return bgr;
    }
    default:
        qWarning() << "MatImage: unhandled image format" << int(image.format());
        return cv::Mat();
    }
}

QImage MatImage::toRgbImage(const cv::Mat &mat)
{
    if (mat.empty())
        return QImage();
    cv::Mat rgb;
    if (mat.channels() == 1)
        cv::cvtColor(mat, rgb, cv::COLOR_GRAY2RGB);
    else if (mat.channels() == 4)
        cv::cvtColor(mat, rgb, cv::COLOR_BGRA2RGB);
    else
        cv::cvtColor(mat, rgb, cv::COLOR_BGR2RGB);
    return QImage(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888).copy();
}

QImage MatImage::toGreyImage(const cv::Mat &mat)
{
    if (mat.empty())
        return QImage();
    cv::Mat grey;
    if (mat.channels() == 3)
        cv::cvtColor(mat, grey, cv::COLOR_BGR2GRAY);
    else if (mat.channels() == 4)
        cv::cvtColor(mat, grey, cv::COLOR_BGRA2GRAY);
    else
        grey = mat;
    QImage image(grey.data, grey.cols, grey.rows, int(grey.step), QImage::Format_Indexed8);
    image.setColorTable(greyTable());
    return image.copy();
}

#include "vision/FieldCalibration.h"

#include "util/SafeFile.h"

#include <QFile>
#include <QPainter>
#include <QSettings>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

bool FieldCalibration::write(const QString &path, QString *error) const
{
    if (!isComplete()) {
        *error = QStringLiteral("incomplete grid");
        return false;
    }
    QString text;
    text += QStringLiteral("[General]\nversion=1\nxCount=%1\nyCount=%2\n").arg(xCount).arg(yCount);
    for (int i = 0; i < points.size(); ++i) {
        const Point &p = points[i];
        text += QStringLiteral("\n[%1]\nrX=%2\nrY=%3\nnX=%4\nnY=%5\n")
                    .arg(i)
                    .arg(p.rX, 0, 'g', 15)
                    .arg(p.rY, 0, 'g', 15)
                    .arg(p.nX, 0, 'g', 15)
                    .arg(p.nY, 0, 'g', 15);
    }
    return SafeFile::write(path, text.toUtf8(), error);
}

bool FieldCalibration::read(const QString &path, QString *error)
{
    if (!QFile::exists(path)) {
        *error = QStringLiteral("no file");
        return false;
    }
    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError || s.value(QStringLiteral("version")).toInt() != 1) {
        *error = QStringLiteral("unreadable");
        return false;
    }
    bool okX = false, okY = false;
    const int xc = s.value(QStringLiteral("xCount")).toInt(&okX);
    const int yc = s.value(QStringLiteral("yCount")).toInt(&okY);
    if (!okX || !okY || xc < 1 || yc < 1 || xc > 10000 || yc > 10000 || qint64(xc) * yc > 1000000) {
        *error = QStringLiteral("bad grid size");
        return false;
    }
    QVector<Point> read;
    for (int i = 0; i < xc * yc; ++i) {
        s.beginGroup(QString::number(i));
        Point p;
        bool ok[4] = {false, false, false, false};
        p.rX = s.value(QStringLiteral("rX")).toDouble(&ok[0]);
        p.rY = s.value(QStringLiteral("rY")).toDouble(&ok[1]);
        p.nX = s.value(QStringLiteral("nX")).toDouble(&ok[2]);
        p.nY = s.value(QStringLiteral("nY")).toDouble(&ok[3]);
        s.endGroup();
        if (!(ok[0] && ok[1] && ok[2] && ok[3]) || !std::isfinite(p.rX + p.rY + p.nX + p.nY)) {
            *error = QStringLiteral("bad point %1").arg(i);
            return false;
        }
        read.append(p);
    }
    xCount = xc;
    yCount = yc;
    points = read;
    return true;
}

FieldCalibration::Stats FieldCalibration::stats() const
{
    Stats st;
    if (points.isEmpty())
        return st;
    for (const Point &p : points) {
        st.dXAvg += std::fabs(p.nX - p.rX);
        st.dYAvg += std::fabs(p.rY - p.nY);
        st.dRAvg += std::hypot(p.nX - p.rX, p.nY - p.rY);
    }
    st.dXAvg /= points.size();
    st.dYAvg /= points.size();
    st.dRAvg /= points.size();
    return st;
}

QVector<double> FieldCalibration::rowAngles() const
{
    QVector<double> angles;
    if (!isComplete())
        return angles;
    for (int row = 0; row < yCount; ++row) {
        std::vector<cv::Point2f> measured;
        for (int col = 0; col < xCount; ++col) {
            const Point &p = points[row * xCount + col];
            measured.push_back(cv::Point2f(float(p.nX), float(p.nY)));
        }
        if (measured.size() < 2) {
            angles.append(0);
            continue;
        }
        cv::Vec4f line;
        cv::fitLine(measured, line, cv::DIST_L2, 0, 0.01, 0.01);
        angles.append(std::atan2(double(line[1]), double(line[0])) * 180 / CV_PI);
    }
    return angles;
}

QImage FieldCalibration::errorPicture() const
{
    double maxX = 0, maxY = 0;
    for (const Point &p : points) {
        maxX = std::max(maxX, p.rX);
        maxY = std::max(maxY, p.rY);
    }
    const int w = std::min(20000, int(maxX * 10) + 100), h = std::min(20000, int(maxY * 10) + 100);
    QImage image(std::max(w, 100), std::max(h, 100), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::red, 3));
    for (const Point &p : points) {
        const QPointF at(50 + p.rX * 10, 50 + p.rY * 10);
        painter.drawPoint(at);
        painter.drawLine(at, at + QPointF((p.nX - p.rX) * 10 * 250, (p.nY - p.rY) * 10 * 250));
    }
    return image;
}

namespace {

// Index of the cell and the fraction within it for a value in an ascending
// list of positions (clamped to the ends).
void locate(const QVector<double> &pos, double v, int *i, double *t)
{
    if (pos.size() < 2 || v <= pos.first()) {
        *i = 0;
        *t = 0;
        return;
    }
    if (v >= pos.last()) {
        *i = pos.size() - 2;
        *t = 1;
        return;
    }
    int k = int(std::upper_bound(pos.begin(), pos.end(), v) - pos.begin()) - 1;
    k = std::max(0, std::min(k, pos.size() - 2));
    const double span = pos[k + 1] - pos[k];
    *i = k;
    *t = span > 0 ? (v - pos[k]) / span : 0;
}

} // namespace

struct FieldCalibration::Grid
{
    QVector<double> xs, ys;   // ascending column and row positions
    QVector<QPointF> offsets; // [row][column] in that order
    int columns = 0;

    QPointF at(int r, int c) const { return offsets[r * columns + c]; }
};

FieldCalibration::Grid FieldCalibration::grid() const
{
    Grid g;
    if (!isComplete())
        return g;
    // Column positions from the first row, row positions from the first
    // column, sorted so that a grid measured in either direction works.
    QVector<int> colOrder(xCount), rowOrder(yCount);
    for (int i = 0; i < xCount; ++i)
        colOrder[i] = i;
    for (int i = 0; i < yCount; ++i)
        rowOrder[i] = i;
    std::sort(colOrder.begin(), colOrder.end(), [&](int a, int b) { return points[a].rX < points[b].rX; });
    std::sort(rowOrder.begin(), rowOrder.end(),
              [&](int a, int b) { return points[a * xCount].rY < points[b * xCount].rY; });
    for (int c : colOrder)
        g.xs.append(points[c].rX);
    for (int r : rowOrder)
        g.ys.append(points[r * xCount].rY);
    g.columns = xCount;
    for (int r : rowOrder)
        for (int c : colOrder) {
            const Point &p = points[r * xCount + c];
            g.offsets.append(QPointF(p.nX - p.rX, p.nY - p.rY));
        }
    return g;
}

QPointF FieldCalibration::offsetIn(const Grid &g, double x, double y)
{
    if (g.offsets.isEmpty())
        return QPointF();
    if (x < g.xs.first() - margin || x > g.xs.last() + margin || y < g.ys.first() - margin || y > g.ys.last() + margin)
        return QPointF();
    int ci = 0, ri = 0;
    double tx = 0, ty = 0;
    locate(g.xs, x, &ci, &tx);
    locate(g.ys, y, &ri, &ty);
    const int c1 = std::min(ci + 1, g.xs.size() - 1), r1 = std::min(ri + 1, g.ys.size() - 1);
    const QPointF top = g.at(ri, ci) * (1 - tx) + g.at(ri, c1) * tx;
    const QPointF bottom = g.at(r1, ci) * (1 - tx) + g.at(r1, c1) * tx;
    return top * (1 - ty) + bottom * ty;
}

QPointF FieldCalibration::offsetAt(double x, double y) const
{
    return offsetIn(grid(), x, y);
}

twoDPoint2fVector FieldCalibration::table(int width, int height) const
{
    twoDPoint2fVector t;
    if (width <= 0 || height <= 0)
        return t;
    const Grid g = grid();
    t.resize(height);
    for (int y = 0; y < height; ++y) {
        QVector<QPointF> &row = t[y];
        row.resize(width);
        for (int x = 0; x < width; ++x)
            row[x] = offsetIn(g, x, y);
    }
    return t;
}

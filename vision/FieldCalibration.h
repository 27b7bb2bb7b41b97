#pragma once

#include "util/FieldCalibrationTypes.h"

#include <QImage>
#include <QString>
#include <QVector>

// The measured work-field grid: points where the head camera should have
// found the calibration marks (rX, rY) and where it found them (nX, nY),
// row by row; its file and the per-millimetre correction table.
class FieldCalibration
{
public:
    struct Point
    {
        double rX = 0, rY = 0, nX = 0, nY = 0;
    };

    struct Stats
    {
        double dXAvg = 0, dYAvg = 0, dRAvg = 0;
    };

    int xCount = 0;
    int yCount = 0;
    QVector<Point> points; // xCount * yCount, row by row

    bool isComplete() const { return xCount > 0 && yCount > 0 && points.size() == xCount * yCount; }

    // Writes the file (replacing any old one only once complete).
    bool write(const QString &path, QString *error) const;
    // Reads the file; false when it is missing or inconsistent.
    bool read(const QString &path, QString *error);

    Stats stats() const;
    // Angle (degrees) of a least-squares line through each measured row.
    QVector<double> rowAngles() const;
    // The errors drawn 250 times enlarged, 10 pixels per millimetre.
    QImage errorPicture() const;

    // Offsets (measured - nominal) for every millimetre of a work area of
    // width x height mm, indexed [y][x]. Bilinear between measured points;
    // up to 20 mm outside the grid the nearest edge value holds, farther out
    // there is no correction.
    twoDPoint2fVector table(int width, int height) const;
    // The offset at one position (the table's rule).
    QPointF offsetAt(double x, double y) const;

    static constexpr double margin = 20;

private:
    struct Grid;
    Grid grid() const;
    static QPointF offsetIn(const Grid &g, double x, double y);
};

#pragma once

#include <QImage>
#include <QString>

// Composes a picture of a whole board from head-camera frames at 600 dots
// per inch. Each frame covers one field of the scan; it is scaled from the
// camera's pixels per millimetre to the picture's and placed centred on its
// field. Picture pixel (0, 0) is the board corner the field offsets are
// measured from.
class BoardScan
{
public:
    static constexpr double kDotsPerInch = 600.0;
    static constexpr double kPixelsPerMm = kDotsPerInch / 25.4;
    // Largest picture accepted (pixels), about 600 x 400 mm.
    static constexpr qint64 kMaxPixels = 14200LL * 9500LL;

    // Prepares an empty (black) picture. False with error() when the sizes
    // are not usable.
    bool start(double boardWidth, double boardHeight, double scanWidth, double scanHeight, double ppm);
    // Adds a frame for the field whose corner lies (x, y) mm from the board
    // corner. False with error() before start() or with an empty frame.
    bool addField(const QImage &frame, double x, double y);
    // Writes the picture as PNG (".png" appended when missing), never leaving
    // a half-written file. Returns the file name written, or empty with error().
    QString save(const QString &fileName);

    bool isStarted() const { return !m_picture.isNull(); }
    const QImage &picture() const { return m_picture; }
    QString error() const { return m_error; }
    int fieldsAdded() const { return m_fields; }

private:
    QImage m_picture;
    double m_scanWidth = 0;
    double m_scanHeight = 0;
    double m_ppm = 0;
    int m_fields = 0;
    QString m_error;
};

#pragma once

#include <QMutex>
#include <QPointF>
#include <QString>
#include <QVariantMap>
#include <QVector>

#include <opencv2/core.hpp>

// What the simulated head camera sees on the machine table: the open
// project's boards, their reference marks and solder dots, and the
// calibration marks fixed to the table, all in machine coordinates (mm,
// X to the right, Y upwards).
//
// The real board need not lie where the project puts it: a displacement turns
// the board items by `angle` degrees (counter-clockwise seen from above, that
// is with X right and Y up) about the world's `pivot` and then moves them by
// (dx, dy) mm. The program names its first reference mark as the pivot (the
// centre of the first board when it has none). Table marks never move.
//
// The head camera is `cameraShift` away from the nozzle: with the machine at
// (X, Y) it sees the point (X, Y) + cameraShift in the centre of its frame.
//
// One world is process-wide (setCurrent, current), like SimulatedStage:
// written by the GUI thread, read by the capture threads.
class SimulatedWorld
{
public:
    enum class Shape { Round, Square };

    struct Mark {
        QPointF centre;
        Shape shape = Shape::Round;
        double size = 1;  // diameter, or the side along the mark's own X
        double size2 = 1; // the side along the mark's own Y (square marks)
        double angle = 0; // turn of the mark's own axes, degrees counter-clockwise
    };
    struct Dot {
        QPointF centre;
        double diameter = 0.5;
    };
    struct Board {
        QVector<QPointF> outline; // corners, in order
    };
    struct Displacement {
        double dx = 0;
        double dy = 0;
        double angle = 0;
    };

    QVector<Board> boards;
    QVector<Mark> marks; // on the boards
    QVector<Dot> dots;
    QVector<Mark> tableMarks;
    QPointF pivot;
    QPointF cameraShift;

    // Largest number of items a world may hold.
    static constexpr int kMaxItems = 100000;

    bool isEmpty() const;

    // Where a point of a board item lies after the displacement.
    QPointF placed(const QPointF &point, const Displacement &d) const;

    // Draws into `bgr` (8-bit, three channels, any size) what the head
    // camera sees with the machine at `machine`, at `pixelsPerMm`: the seen
    // point in the centre of the frame, machine Y upwards in the picture.
    void draw(cv::Mat &bgr, const QPointF &machine, const Displacement &d, double pixelsPerMm) const;

    // The world described by a map of plain values:
    //   "boards": [[[x, y], ...], ...]       outlines, at least 3 corners each
    //   "marks", "tableMarks": [{"x", "y", "shape": "round" | "square",
    //                            "size", "size2", "angle"}, ...]
    //   "dots": [{"x", "y", "size"}, ...]
    //   "pivot": [x, y], "cameraShift": [x, y]
    // Missing lists are empty; missing size2 is size, missing angle 0. Items
    // of no size (0 or less) are left out. Returns false, with the reason in
    // `error`, for anything else that is not a finite number where one is
    // expected, or for more than kMaxItems items.
    static bool fromVariant(const QVariantMap &map, SimulatedWorld *world, QString *error);
    // The same description (for tests and diagnostics).
    QVariantMap toVariant() const;

    // The process-wide world; an empty one means none.
    static void setCurrent(const SimulatedWorld &world);
    static void clearCurrent();
    static SimulatedWorld current();
    static bool hasCurrent();
    // The displacement of the real board, kept when the world is replaced.
    static void setDisplacement(const Displacement &d);
    static Displacement displacement();

private:
    static QMutex &mutex();
};

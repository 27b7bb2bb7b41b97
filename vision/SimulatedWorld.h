#pragma once

#include "vision/SimulatedStage.h"

#include <QMutex>
#include <QPointF>
#include <QRectF>
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
// The feeders hold parts in their pockets: tape pockets are refilled as the
// tape moves on, every tray or strip pocket holds one part. The nozzle
// (SimulatedNozzle) takes them out and lets them go on the board, where the
// head camera then sees them, or elsewhere (into the basket).
//
// A tape feeder's tape is drawn for the head camera: white paper with its
// sprocket holes every 4 mm on the perforation line, 2 mm along the tape
// from the pick point, and its pockets with their parts. A real tape may lie
// off the pick point its feeder record gives (setTapeOffset): the holes and
// the parts then lie off by as much, and they stay where they are when the
// program stores a new pick point, as a loaded tape would.
//
// A loose-part feeder (kind 2) has no pockets: its parts lie on its placer
// area, the windows the head camera searches, at their own positions and
// angles, some of them upside down. The head camera sees them there (see
// drawLoosePart for how an upturned part looks), the nozzle picks them as it
// picks from a pocket, and a part let go over a placer lies there again:
// turned over when the nozzle was kFlipDropHeightMm or more above that
// feeder's pick height, as it was held otherwise.
//
// Faults of a feeder (settable from tests, kept when the world is described
// again): a pick error, the part sitting on the nozzle off by (dx, dy) mm
// and turned by `turn` degrees beyond the nozzle's own miss; a miss pattern,
// picks that leave the part where it lies; and an RLC error, parts whose
// value the meter measures times a factor.
//
// One world is process-wide (setCurrent, current), like SimulatedStage:
// written by the GUI thread, read by the capture threads. The process-wide
// world also follows the machine (followMachine): the nozzle position and
// its vacuum valve.
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
    // A part lying loose on a placer, in machine coordinates.
    struct LoosePart {
        QPointF centre;
        double angle = 0; // counter-clockwise, degrees
        bool flipped = false; // upside down
        double width = 0; // 0: the size of its feeder's parts
        double height = 0;

        bool operator==(const LoosePart &o) const
        {
            return centre == o.centre && angle == o.angle && flipped == o.flipped && width == o.width &&
                   height == o.height;
        }
    };
    // Which picks of a feeder go wrong: `marks` is read again and again
    // from its start, one character per pick ("1" or "x": this one; "0",
    // "." or "-": not this one); an empty pattern never.
    struct Pattern {
        QString marks;
        bool hits(int count) const;
        // A pattern from a number n (every n-th: n - 1 times "0", then "1";
        // 0: never) or a text of the characters above. False, with the reason,
        // for anything else.
        static bool fromVariant(const QVariant &v, Pattern *pattern, QString *error);
    };
    struct PickError {
        double dx = 0; // mm, machine axes as at the pick
        double dy = 0;
        double turn = 0; // degrees counter-clockwise
        Pattern miss; // picks that leave the part where it lies
    };
    struct RlcError {
        double factor = 1; // the measured value is the part's times this ...
        Pattern parts; // ... for the parts taken that the pattern marks
    };
    // A feeder and the parts in its pockets. Every part has the size of the
    // feeder's package and lies turned by `angle` degrees counter-clockwise.
    // The paper tape of a tape feeder, across it from the outer edge: 1.75
    // mm to the perforation line (holes of 1.5 mm every 4 mm), then
    // `holeOffset` mm to the pocket centres, the rest of `width` beyond.
    struct Tape {
        bool present = false;
        QPointF pick;              // the pick point of the feeder's record
        bool alongY = true;        // the tape runs along machine Y
        double holeOffset = 3.5;   // pocket centre line to perforation line, mm
        int holeSide = -1;         // the holes lie towards lower (-1) or higher (+1) X or Y
        double width = 8;          // mm
        QPointF shift;             // where the real tape lies against `pick`
    };
    struct Feeder {
        QString bank; // "L", "R", "U" or "B"
        int index = 0; // from 0 within the bank
        bool refills = false; // tape: a taken pocket holds a part again
        QVector<QPointF> pockets;
        QVector<bool> taken; // per pocket: its part has been taken
        double pickZ = 0; // nozzle height that touches a part
        double width = 1; // along the part's own X
        double height = 1;
        double thickness = 1;
        double angle = 0;
        int current = 0; // the feeder's next pocket as the program counts it
        Tape tape;       // tape feeders only
        // Loose parts (instead of pockets): the placer's windows, the parts
        // lying there now, after resetParts, and as the description gave them.
        bool loose = false;
        QVector<QRectF> placer;
        QVector<LoosePart> parts;
        QVector<LoosePart> initialParts;
        QVector<LoosePart> describedParts;
        // What the RLC meter measures of a part: 'R', 'L' or 'C' (0: no
        // value) and the value in ohm, henry or farad.
        char rlcMode = 0;
        double rlcValue = 0;
        // Faults, and the picks they count.
        PickError pickError;
        RlcError rlcError;
        int attempts = 0; // times the nozzle tried to take a part
        int partsTaken = 0; // parts it took

        bool hasPart(int pocket) const { return refills || !taken.value(pocket, false); }
        bool onPlacer(const QPointF &point) const;
        QString key() const { return bank + QString::number(index); }
    };
    // A part that landed on a board, in machine coordinates.
    struct PlacedPart {
        QPointF centre;
        double angle = 0; // counter-clockwise, degrees
        double width = 1;
        double height = 1;
    };
    struct Displacement {
        double dx = 0;
        double dy = 0;
        double angle = 0;
    };
    // The calibration object of the camera position calibration: a chip (a
    // part like a pocket's) or a bright disk lying on the table, picked by
    // the nozzle as a pocket part is and put down wherever the nozzle lets
    // it go. It stays when the world is replaced.
    struct TableObject {
        bool present = false;
        bool round = false;
        QPointF centre;
        double angle = 0; // counter-clockwise, degrees
        double width = 1; // the disk's diameter
        double height = 1;
        double thickness = 1;
        double pickZ = 0; // nozzle height that touches it
    };

    QVector<Board> boards;
    QVector<Mark> marks; // on the boards
    QVector<Dot> dots;
    QVector<Mark> tableMarks;
    QVector<Feeder> feeders;
    QVector<PlacedPart> placedParts;
    TableObject tableObject;
    QPointF pivot;
    QPointF cameraShift;
    // Scale of the component camera's picture: pixels per millimetre of the
    // held part (the settings' calibrated scale of that camera).
    double componentPixelsPerMm = kDefaultComponentPixelsPerMm;

    static constexpr double kDefaultComponentPixelsPerMm = 20.0;
    // A part let go this far or further above a placer's pick height turns
    // over as it falls.
    static constexpr double kFlipDropHeightMm = 10.0;
    // Placer around a part in partPhoto, mm on every side.
    static constexpr double kPhotoMarginMm = 0.5;
    // Bounds of a component camera scale.
    static constexpr double kMinComponentPixelsPerMm = 1.0;
    static constexpr double kMaxComponentPixelsPerMm = 500.0;

    // Sprocket holes of a tape: pitch, diameter, distance from the outer
    // edge to their centres, and the along-tape distance from the pick point
    // to the nearest one (mm). The holes are drawn a little larger than a
    // real tape's 1.5 to 1.6 mm: the camera's hole search closes their
    // blurred edge, and measures them at the 1.6 mm it looks for with either
    // threshold of the tape centring.
    static constexpr double kHolePitchMm = 4.0;
    static constexpr double kHoleDiameterMm = 1.65;
    static constexpr double kHoleEdgeMm = 1.75;
    static constexpr double kHoleToPickMm = 2.0;
    // A tape is drawn this far along either way from its pick point.
    static constexpr double kTapeReachMm = 30.0;
    // Largest offset of a real tape from its feeder's pick point.
    static constexpr double kMaxTapeOffsetMm = 20.0;

    // Largest number of items a world may hold.
    static constexpr int kMaxItems = 100000;
    // Largest number of feeders.
    static constexpr int kMaxFeeders = 10000;

    // Nothing for the head camera to show: no board, mark, dot, placed part
    // or placer (tapes alone do not count: the scene then shows its plate;
    // the pockets of other feeders are not drawn).
    bool isEmpty() const;

    // Whether `point` (machine coordinates) lies on one of the boards after
    // the displacement.
    bool onBoard(const QPointF &point, const Displacement &d) const;

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
    //   "componentScale": pixels per mm of the component camera (1 ... 500)
    //   "feeders": [{"bank", "index", "refills", "pockets": [[x, y], ...],
    //                "pickZ", "width", "height", "thickness", "angle",
    //                "current", "rlcMode": "R" | "L" | "C", "rlcValue",
    //                "loose": true, "placer": [[x, y, width, height], ...],
    //                "parts": [{"x", "y", "angle", "flipped"}, ...],
    //                "tape"}, ...]
    //   (a placer window is a rectangle centred on (x, y); a loose feeder
    //   needs no pockets)
    //   "tape" (tape feeders): {"pick": [x, y], "alongY", "holeOffset",
    //                "holeSide": -1 | 1, "width"} (holeOffset above 0 and
    //                below width - 1.75)
    // Missing lists are empty; missing size2 is size, missing angle 0. Items
    // of no size (0 or less) are left out, so are feeders whose parts have
    // no size or that have neither pockets nor a placer. A value for the RLC
    // meter that is not above 0 is none. Returns false, with the reason in
    // `error`, for anything else
    // that is not a finite number where one is expected, for a bank that is
    // not one of the four, or for more than kMaxItems items.
    static bool fromVariant(const QVariantMap &map, SimulatedWorld *world, QString *error);
    // Loose parts described as [{"x", "y", "angle", "flipped", "width",
    // "height"}, ...]; a missing angle is 0, a missing or zero size is the
    // feeder's. False, with the reason, for a value that is not finite.
    static bool loosePartsFromVariant(const QVariant &v, QVector<LoosePart> *parts, QString *error);
    // The same description (for tests and diagnostics), with each feeder's
    // state: "taken" pockets, "attempts", "partsTaken", and its faults as
    // "pickError": {"dx", "dy", "turn", "miss"} and "rlcError": {"factor",
    // "parts"}.
    QVariantMap toVariant() const;

    // A loose part of w x h mm as the head camera sees it at `pixelsPerMm`,
    // lying at angle 0 in the middle of kPhotoMarginMm of placer: the
    // template photo of a loose-part search (8-bit, three channels).
    static cv::Mat partPhoto(double width, double height, bool flipped, double pixelsPerMm);

    // The process-wide world; an empty one means none. A new world keeps
    // the parts that landed on the boards and the taken pockets of each
    // feeder that kept its pockets, unless the feeder counts from an earlier
    // pocket than before (it was loaded again).
    static void setCurrent(const SimulatedWorld &world);
    static void clearCurrent();
    static SimulatedWorld current();
    static bool hasCurrent();
    // The displacement of the real board, kept when the world is replaced.
    static void setDisplacement(const Displacement &d);
    static Displacement displacement();
    // The real tape of feeder `index` of `bank` lies (dx, dy) mm away from
    // the pick point its record gives now, and stays there when the world
    // is replaced with another pick point for it. False (nothing changes)
    // when the current world has no such tape feeder or an offset is not a
    // finite number of at most kMaxTapeOffsetMm. clearTapeOffsets() puts
    // every tape back where its record says.
    static bool setTapeOffset(const QString &bank, int index, double dx, double dy);
    static void clearTapeOffsets();

    // The process-wide nozzle follows the machine: position and valve 1.
    static void followMachine(const SimulatedStage::Position &position, bool valve);
    // What the nozzle holds: false when it is empty; otherwise the part's
    // size and, with the nozzle at `position`, where its centre is against
    // the nozzle (machine axes, mm) and its turn (degrees counter-clockwise).
    // The component camera's scale of the current world (pixels per mm).
    static double currentComponentPixelsPerMm();
    static bool heldPart(const SimulatedStage::Position &position, QPointF *offset, double *angle, double *width,
                         double *height);
    // Whether valve 1 is on and whether the nozzle holds a part.
    static bool valveOn();
    static bool holdsPart();
    // Every part let go so far, oldest first (SimulatedNozzle::Release maps).
    static QVariantList releases();
    // Forgets the parts on the boards, the taken pockets, the held part and
    // the releases: a fresh table with full feeders.
    static void resetParts();
    // A file that tells other programs (the vacuum sensor and RLC meter
    // emulators) about the valve and the held part, rewritten whenever they
    // change; empty for none.
    static void setNozzleStateFile(const QString &path);

    // Faults of feeder `index` (from 0) of `bank`, now and in every world
    // described later, until clearFaults. Setting one starts its pattern
    // again with the feeder's next pick. False for a bank that is not one
    // of the four, a negative index or a value that is not finite.
    static bool setPickError(const QString &bank, int index, const PickError &error);
    static bool setRlcError(const QString &bank, int index, const RlcError &error);
    // The parts lying on the placer of loose-part feeder `index` of `bank`
    // now and after resetParts, instead of those the description gives.
    static bool setLooseParts(const QString &bank, int index, const QVector<LoosePart> &parts);
    // Forgets every fault and every setLooseParts.
    static void clearFaults();

    // Where the cameras really are against what the program believes: the
    // head camera sees `headError` mm beyond its offset, and the component
    // camera, when `componentFixed`, looks up from `component` (machine
    // coordinates) instead of always at the nozzle.
    struct CameraFaults {
        QPointF headError;
        bool componentFixed = false;
        QPointF component;
    };
    static void setCameraFaults(const CameraFaults &faults);
    static CameraFaults cameraFaults();

    // The calibration object on the table (not present: none); a held one
    // stays on the nozzle.
    static void setTableObject(const TableObject &object);
    static TableObject tableObjectNow();
    // Whether the nozzle holds a round object (the disk).
    static bool heldPartRound();
    // The parts on the boards as a test wants them: one left out, one moved
    // by (dx, dy) mm and turned by `angle` degrees counter-clockwise, one
    // put there. False for an index that is not a placed part.
    static bool removePlacedPart(int index);
    static bool movePlacedPart(int index, double dx, double dy, double angle);
    static void addPlacedPart(const PlacedPart &part);

private:
    static QMutex &mutex();
};

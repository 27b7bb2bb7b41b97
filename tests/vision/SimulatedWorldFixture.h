#pragma once

// What the tests of the simulated machine share: machine positions, world
// descriptions, the process-wide state put back between cases, the moves of
// a pick and a release, the cameras' frames and the program's own
// recognition run on them.
#include "vision/SimulatedScene.h"
#include "vision/SimulatedStage.h"
#include "vision/SimulatedWorld.h"

#include <QPointF>
#include <QString>
#include <QVariant>

#include <opencv2/core.hpp>

namespace Sim {

constexpr double kPpm = SimulatedScene::kPixelsPerMm;
constexpr double kTravel = 40;

inline SimulatedStage::Position at(double x, double y, double z = 0, double a = 0)
{
    return SimulatedStage::Position{x, y, z, a};
}
inline SimulatedStage::Position at(const QPointF &p, double z = 0, double a = 0) { return at(p.x(), p.y(), z, a); }
QVariantList point(double x, double y);
inline QVariantList point(const QPointF &p) { return point(p.x(), p.y()); }
QVariantList points(const QVector<QPointF> &list);

// A feeder description with the keys every feeder has.
QVariantMap feeder(const QString &bank, int index, const QVector<QPointF> &pockets, double pickZ, double width,
                   double height, double thickness);
// `map` with key `key` of its feeder `index` set to `value` (nothing for an
// empty key).
QVariantMap withFeederValue(QVariantMap map, int index, const QString &key, const QVariant &value);

// No world, nothing displaced, no faults, no table object, no tape offsets,
// no nozzle state file, full feeders, the nozzle empty at travel height with
// the valve off.
void resetSimulation();
// The world a description makes made current; a refused description ends
// the test run.
void setWorld(const QVariantMap &map);
// The current world's description of a feeder, and the last release.
QVariantMap feederState(const QString &bank, int index);
QVariantMap lastRelease();

// Through the stage as the camera items feed it: down to z over (x, y),
// valve on, up to travel height, telling whether the nozzle holds a part;
// and down, valve off, up.
bool pickAt(double x, double y, double z, double a = 0);
void releaseAt(double x, double y, double z, double a = 0);

cv::Mat render(const QString &scene, const SimulatedStage::Position &p, int width = 640, int height = 480);
// Degrees folded into -period/2 .. period/2.
double fold(double degrees, double period);
// `p` turned by `degrees` counter-clockwise.
QPointF turned(const QPointF &p, double degrees);

// The camera worker as the camera item runs it, fed one frame: what it
// reports.
struct Recognised {
    bool found = false;
    double x = 0, y = 0, angle = 0, width = 0, height = 0;
};

struct RecognitionSettings {
    QString mode;
    int param1 = 150;
    int param2 = 50;
    double targetSize = 0;   // pixels
    double targetSize2 = 0;  // pixels
    int tolerance = 15;      // per cent
    int roiPercent = 50;
};

// The result a worker reported once on `objSend` (not found when it
// reported none or more than one).
Recognised resultOf(const QList<QList<QVariant>> &objSend);
Recognised recogniseFrame(const cv::Mat &frame, const RecognitionSettings &settings);
// The component camera's frame (1280 x 960) with the nozzle at A, recognised
// as a part on the nozzle ("element") of width x height mm at `ppm` pixels
// per mm.
Recognised recogniseHeld(double a, double width, double height, double ppm);

} // namespace Sim

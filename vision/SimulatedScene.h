#pragma once

#include "vision/SimulatedStage.h"

#include <QString>
#include <QStringList>

#include <opencv2/core.hpp>

// What a simulated camera shows, chosen by the camera's configured name
// (a leading "sim:" is optional):
//   "board" ("sim:")    the head camera over the simulated world (the open
//                       project's boards, marks and dots and the calibration
//                       marks, SimulatedWorld) at the machine's X and Y; while
//                       no world is set, the calibration plate below;
//   "plate"             a calibration plate seen from above: pads, tracks and
//                       round marks every 10 mm, moving with X and Y;
//   "component"         the part the simulated nozzle holds, seen from
//                       below, turning with A (nothing when it is empty), at
//                       the simulated world's component scale, in frames of
//                       1280 x 960;
//   a file path         that image;
//   a folder path       the images of the folder, one after another.
// An empty name is no camera at all.
class SimulatedScene
{
public:
    enum class Kind { Board, Plate, Component, File, Folder, Invalid };

    // Pixels per millimetre of the head camera scenes (the component camera
    // draws at the scale the simulated world gives it).
    static constexpr double kPixelsPerMm = 20.0;
    // Distance between the round marks of the plate, millimetres.
    static constexpr double kMarkPitchMm = 10.0;
    static constexpr double kMarkDiameterMm = 1.0;

    explicit SimulatedScene(const QString &name = QString());

    Kind kind() const { return m_kind; }
    // The one frame size of a scene whose camera has a single mode (the
    // component camera: 1280 x 960, fine enough to measure a small part's
    // turn); false for the others, which draw at any size.
    bool fixedSize(int *width, int *height) const;
    bool isValid() const { return m_kind != Kind::Invalid; }
    // Why the name does not describe a scene (empty when valid).
    QString error() const { return m_error; }

    // Draws frame number `index` of width x height into `bgr` (8-bit, three
    // channels) with the camera at `position`.
    void render(cv::Mat &bgr, int width, int height, const SimulatedStage::Position &position, long index);

private:
    void renderPlate(cv::Mat &bgr, const SimulatedStage::Position &position);
    void renderComponent(cv::Mat &bgr, const SimulatedStage::Position &position);
    void renderImage(cv::Mat &bgr, const cv::Mat &image);

    Kind m_kind = Kind::Invalid;
    QString m_error;
    cv::Mat m_image;
    QStringList m_files;
    QString m_loadedFile;
};

#pragma once

#include "vision/SimulatedStage.h"

#include <QString>
#include <QStringList>

#include <opencv2/core.hpp>

// What a simulated camera shows, chosen by the camera's configured name
// (a leading "sim:" is optional):
//   "board" ("sim:")    a board seen from above with pads, tracks and round
//                       marks, moving with the machine's X and Y;
//   "component"         a component held on the nozzle, seen from below,
//                       turning with A;
//   a file path         that image;
//   a folder path       the images of the folder, one after another.
// An empty name is no camera at all.
class SimulatedScene
{
public:
    enum class Kind { Board, Component, File, Folder, Invalid };

    // Pixels per millimetre of the drawn scenes.
    static constexpr double kPixelsPerMm = 20.0;
    // Distance between the round marks of the board, millimetres.
    static constexpr double kMarkPitchMm = 10.0;
    static constexpr double kMarkDiameterMm = 1.0;

    explicit SimulatedScene(const QString &name = QString());

    Kind kind() const { return m_kind; }
    bool isValid() const { return m_kind != Kind::Invalid; }
    // Why the name does not describe a scene (empty when valid).
    QString error() const { return m_error; }

    // Draws frame number `index` of width x height into `bgr` (8-bit, three
    // channels) with the camera at `position`.
    void render(cv::Mat &bgr, int width, int height, const SimulatedStage::Position &position, long index);

private:
    void renderBoard(cv::Mat &bgr, const SimulatedStage::Position &position);
    void renderComponent(cv::Mat &bgr, const SimulatedStage::Position &position);
    void renderImage(cv::Mat &bgr, const cv::Mat &image);

    Kind m_kind = Kind::Invalid;
    QString m_error;
    cv::Mat m_image;
    QStringList m_files;
    QString m_loadedFile;
};

#pragma once

#include <opencv2/core.hpp>

#include <vector>

// Frames drawn with known geometry. Shapes are drawn at eight times the size
// and reduced by area averaging, so edges carry exact partial coverage and
// positions are exact to a fraction of a pixel. Coordinates are pixel-index
// coordinates of the final frame (pixel i covers i - 0.5 .. i + 0.5).
namespace Synthetic {

constexpr int scale = 8;

// A drawing surface at the enlarged scale.
struct Canvas
{
    Canvas(int width, int height, int background);
    cv::Mat big;
    cv::Size size;

    void disc(cv::Point2d centre, double radius, int grey);
    void rect(cv::Point2d centre, cv::Size2d size, double angleDeg, int grey);
    void polygon(const std::vector<cv::Point2d> &points, int grey);
    // The final frame.
    cv::Mat frame() const;
};

// Points of a rectangle's grid in frame coordinates: (u, v) measured along
// the rectangle's axes from its centre.
cv::Point2d along(cv::Point2d centre, double angleDeg, double u, double v);

void addNoise(cv::Mat &frame, double sigma, unsigned seed);
void addGradient(cv::Mat &frame, double fromLeft, double toRight);
void addDust(cv::Mat &frame, int count, int grey, unsigned seed);
void blur(cv::Mat &frame, double sigma);

// Smoothed random texture with some strong shapes (template photos).
cv::Mat texture(cv::Size size, unsigned seed);
// Pastes `patch` rotated by `angleDeg` (OpenCV sense: counter-clockwise on
// screen) with its centre at `centre` into `frame`.
void pasteRotated(cv::Mat &frame, const cv::Mat &patch, cv::Point2d centre, double angleDeg);

} // namespace Synthetic

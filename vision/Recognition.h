#pragma once

#include <QList>

#include <opencv2/core.hpp>

#include <vector>

// Parameters of the outline recognition modes, as set on the camera.
struct RecognitionParams
{
    int param1 = 50;            // threshold level
    int param2 = 50;            // shape tolerance / dust size factor
    double targetSize = 1.0;    // expected size, pixels
    double targetSize2 = 1.0;   // expected second size, pixels
    int tolerance = 5;          // size tolerance, percent
    double supposedAngle = 0;   // expected component angle, degrees
    double cameraAngle = 0;     // added to reported component angles
    int frameWidth = 640;       // the whole frame (border checks)
    int frameHeight = 480;
    // When set, receives a copy of the search area right after thresholding.
    cv::Mat *thresholdCopy = nullptr;
};

// What one analysed search area gives. Only the parts flagged as present are
// reported by the camera worker.
struct RecognitionResult
{
    bool tooManyContours = false;
    bool found = false;
    double x = 0, y = 0, angle = 0, sizeX = 0, sizeY = 0;

    bool hasExAngle = false;
    double exAngle = 0;

    bool hasObjArray = false;
    QList<qreal> centersX, centersY, angles;

    bool hasPins = false;
    bool pinCountCorrect = false;
    int pinCount = 0;
    double avgPinDist = 0, minPinDist = 0, maxPinDist = 0;
};

// Helpers shared by the outline modes.
namespace Recognition {

constexpr int maxContours = 2000;
constexpr int rejectedGrey = 70;
constexpr int acceptedGrey = 255;

// Strict size window: T(100-p)/100 < s < T(100+p)/100.
bool inSizeWindow(double size, double target, int tolerance);

// Minimum-area rectangle with its angle in [-90, 0) whatever convention
// the OpenCV build uses (the sides follow the angle).
cv::RotatedRect minAreaRect(const std::vector<cv::Point> &points);
cv::RotatedRect minAreaRect(const std::vector<cv::Point2f> &points);
cv::RotatedRect normalizedRect(cv::RotatedRect rect);

// The centroid of a contour (first moments over the area).
cv::Point2d centroid(const std::vector<cv::Point> &contour);

// Minimum area scaled with the search area: 3 pixels at 640 x 480.
double areaScale(const cv::Size &area);

// Thresholds the area in place (to zero at `param1`); keeps the copy the
// parameters ask for.
void threshold(cv::Mat &area, const RecognitionParams &params);

// Folds an angle into [-limit, limit) by steps of 2 * limit.
double fold(double angle, double limit);

} // namespace Recognition

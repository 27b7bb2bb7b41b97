#pragma once

#include "vision/Recognition.h"

// A component held on the nozzle, seen from below: by its whole outline
// ("element"), by its pins ("pins") or by the edge near an expected angle
// ("corners"). Works in place on the grey search area.
class ComponentFinder
{
public:
    enum Kind { Element, Pins, Corners };

    RecognitionResult find(cv::Mat &area, Kind kind, const RecognitionParams &params) const;

    // Pin rows of the pin centroids (relative positions): count, and the
    // average, smallest and largest distance between neighbouring pins
    // along the sides of their rectangle. Sides with fewer than two pins
    // are skipped; with no usable side the result is not correct.
    static void measurePins(const std::vector<cv::Point2f> &pins, RecognitionResult &result);

    // The angle of the edge through the centroids nearest to the line through
    // the centre in the direction `supposedAngle`, folded into +-45 degrees;
    // false with fewer than 17 centroids.
    static bool edgeAngle(const std::vector<cv::Point2f> &centroids, double supposedAngle, double *angle);
};

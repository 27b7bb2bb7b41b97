#pragma once

#include "vision/Recognition.h"

// All components lying in the search area, by their outline: every outer
// contour whose least-area rectangle has about the expected sides.
class PlacerContoursFinder
{
public:
    RecognitionResult find(cv::Mat &area, const RecognitionParams &params) const;
};

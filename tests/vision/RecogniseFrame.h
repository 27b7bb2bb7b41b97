#pragma once

#include <QString>

#include <opencv2/core.hpp>

// Runs the camera worker, as the camera item does, on one frame and returns
// what it reports.
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

Recognised recogniseFrame(const cv::Mat &frame, const RecognitionSettings &settings);

#pragma once

#include "vision/Recognition.h"

// Reference marks on the board: round marks, round holes and square or
// rectangular marks. Works in place on the grey search area: thresholds it
// and draws every contour into it.
class MarkFinder
{
public:
    enum Kind { Circle, Hole, Square };

    MarkFinder();

    RecognitionResult find(cv::Mat &area, Kind kind, const RecognitionParams &params) const;

    // Whether a polygon of four vertices is a square candidate in an area
    // of the given size (convex, area above 100, right angles, off the border).
    static bool isSquareCandidate(const std::vector<cv::Point> &polygon, const cv::Size &area);

private:
    RecognitionResult findRound(cv::Mat &area, bool hole, const RecognitionParams &params) const;
    RecognitionResult findSquare(cv::Mat &area, const RecognitionParams &params) const;

    std::vector<cv::Point> m_circle;
    cv::Mat m_holeElement;
};

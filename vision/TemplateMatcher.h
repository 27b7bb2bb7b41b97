#pragma once

#include "vision/Recognition.h"

#include <QImage>

// Finding objects by comparison with an earlier photo: prepared templates
// and the template recognition modes. Plain code over grey matrices.
class TemplateMatcher
{
public:
    struct Prepared
    {
        cv::Mat search; // scaled, edge image when edge templates are used
        cv::Mat plain;  // scaled grey
        cv::Mat full;   // unscaled grey (final refinement)
        bool valid() const { return !search.empty() && !plain.empty(); }
    };

    struct AngleMatch
    {
        int angle = 0;      // tenths of a degree, as rotated
        double value = -2;  // best maximum of the last stage
        cv::Point location;
        int from = 0;       // the angles the last stage searched
        int to = 0;
    };

    struct Result
    {
        bool found = false;
        bool matched = false; // a template was compared (the coefficient is meaningful)
        bool flipped = false;
        double x = 0, y = 0, angle = 0;
        double coeff = 0;     // percent
        bool badSearchArea = false;
    };

    // Grey matrix of a photo as the camera item hands it over.
    static cv::Mat greyOf(const QImage &image);
    // Scaled by `mult` (Lanczos) and, for type 1, turned into the edge image.
    static Prepared prepare(const cv::Mat &grey, double mult, int templateType);
    static cv::Mat edges(const cv::Mat &grey);
    // Rotated about the centre of a square canvas of the larger side.
    static cv::Mat rotate(const cv::Mat &image, double degrees);
    static cv::Mat rotation(const cv::Size &image, double degrees);

    // Best angle over the trials `from`..`to` by `step` (tenths of a degree),
    // starting from `best` (kept on ties).
    static AngleMatch searchAngles(const cv::Mat &image, const cv::Mat &templ, int from, int to, int step, int method,
                                   const AngleMatch *start = nullptr);
    // Peak position refined to sub-pixel accuracy (parabola through the
    // neighbours in x and in y).
    static cv::Point2d refinePeak(const cv::Mat &response, cv::Point peak);
    // Height of the parabolas through the peak and its neighbours.
    static double peakHeight(const cv::Mat &response, cv::Point peak);

    // Reference mark by an unrotated photo: offset of the best position from
    // the centred one.
    static Result matchReference(const cv::Mat &area, const cv::Mat &templ, int minCoeff);

    // Component on the nozzle near `supposedAngle`. `area` is the grey search
    // area in frame pixels.
    static Result matchComponent(const cv::Mat &area, const Prepared &templ, double mult, int templateType,
                                 double supposedAngle, int minCoeff);

    // Component in a tray at any rotation, optionally upside down.
    static Result matchPlaced(const cv::Mat &area, const Prepared &templ, const Prepared &flippedTempl, bool flippedEnabled,
                              double mult, int templateType, int minCoeff, int minFlippedCoeff);

    // Side of the square search area of "placerTemplateCenter" for a
    // template photo of the given size.
    static int centerSearchSide(const cv::Size &photo, double mult);
    // Side of the square search area of "template" (0 when it does not fit).
    static int componentSearchSide(const cv::Size &photo, const cv::Size &frame);

    // The rotated outline of a matched template, in search-area pixels.
    static void drawOutline(cv::Mat &area, cv::Point2d centre, cv::Size size, double angle);
};

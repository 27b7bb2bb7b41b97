#pragma once

#include <opencv2/core.hpp>

#include <vector>

// Lens calibration with an asymmetric circle grid: collected pattern views,
// the camera matrix and distortion coefficients, their stored form (scaled
// to a frame 1280 pixels wide) and the undistortion maps.
class LensCalibration
{
public:
    static constexpr int framesNeeded = 9;

    LensCalibration();

    static cv::Size boardSize() { return cv::Size(4, 11); }
    static float squareSize() { return 0.025f; }
    // Scale between this frame width and the stored 1280-pixel form.
    static double storageScale(int frameWidth);
    // Object points of the grid, row by row.
    static std::vector<cv::Point3f> calcPoints(cv::Size boardSize, float squareSize);

    // Looks for the pattern in a grey or colour frame.
    static bool findPattern(const cv::Mat &frame, std::vector<cv::Point2f> *centres);

    int frameCount() const { return int(m_imagePoints.size()); }
    void addFrame(const std::vector<cv::Point2f> &centres) { m_imagePoints.push_back(centres); }
    void clearFrames() { m_imagePoints.clear(); }

    // From the collected frames, or (without frames) from the loaded
    // matrix. Builds the maps for `imageSize` when valid. Returns validity.
    bool run(cv::Size imageSize, int flags = 0);
    // Takes the stored form (nine matrix values, eight coefficients).
    void load(const std::vector<double> &storedMatrix, const std::vector<double> &distCoeffs);

    bool isValid() const { return m_valid; }
    double rms() const { return m_rms; }
    const cv::Mat &cameraMatrix() const { return m_cameraMatrix; }
    const cv::Mat &distCoeffs() const { return m_distCoeffs; }
    // Nine matrix values multiplied by the storage scale, eight coefficients.
    std::vector<double> storedMatrix(int frameWidth) const;
    std::vector<double> storedDistCoeffs() const;

    // Remaps a frame; the maps are rebuilt when the size changed. False
    // (frame untouched) without a valid calibration.
    bool undistort(const cv::Mat &frame, cv::Mat *out);
    cv::Size mapSize() const { return m_mapSize; }

private:
    bool buildMaps(cv::Size size);

    std::vector<std::vector<cv::Point2f>> m_imagePoints;
    cv::Mat m_cameraMatrix; // for frames of m_matrixWidth
    cv::Mat m_distCoeffs;
    std::vector<double> m_stored; // the 1280-wide form of the last load
    int m_matrixWidth = 0;
    cv::Mat m_map1, m_map2;
    cv::Size m_mapSize;
    bool m_valid = false;
    double m_rms = 0;
};

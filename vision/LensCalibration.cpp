#include "vision/LensCalibration.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/features2d.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>

LensCalibration::LensCalibration()
    : m_cameraMatrix(cv::Mat::eye(3, 3, CV_64F)), m_distCoeffs(cv::Mat::zeros(8, 1, CV_64F))
{
}

double LensCalibration::storageScale(int frameWidth)
{
    return frameWidth > 0 ? 1280.0 / frameWidth : 1.0;
}

std::vector<cv::Point3f> LensCalibration::calcPoints(cv::Size boardSize, float squareSize)
{
    std::vector<cv::Point3f> corners;
    for (int i = 0; i < boardSize.height; ++i)
        for (int j = 0; j < boardSize.width; ++j)
            corners.push_back(cv::Point3f(float((2 * j + i % 2) * squareSize), float(i * squareSize), 0));
    return corners;
}

bool LensCalibration::findPattern(const cv::Mat &frame, std::vector<cv::Point2f> *centres)
{
    if (frame.empty())
        return false;
    return cv::findCirclesGrid(frame, boardSize(), *centres, cv::CALIB_CB_ASYMMETRIC_GRID,
                               cv::SimpleBlobDetector::create());
}

namespace {

bool allFinite(const cv::Mat &m)
{
    for (int r = 0; r < m.rows; ++r)
        for (int c = 0; c < m.cols; ++c)
            if (!std::isfinite(m.at<double>(r, c)))
                return false;
    return true;
}

} // namespace

bool LensCalibration::run(cv::Size imageSize, int flags)
{
    m_valid = false;
    const bool fromFrames = !m_imagePoints.empty();
    if (imageSize.width <= 0 || imageSize.height <= 0)
        return false;
    if (fromFrames) {
        m_cameraMatrix = cv::Mat::eye(3, 3, CV_64F);
        m_cameraMatrix.at<double>(0, 2) = imageSize.width / 2;
        m_cameraMatrix.at<double>(1, 2) = imageSize.height / 2;
        if (flags & cv::CALIB_FIX_ASPECT_RATIO)
            m_cameraMatrix.at<double>(0, 0) = 4.0 / 3.0;
        cv::Mat dist = cv::Mat::zeros(8, 1, CV_64F);
        const std::vector<std::vector<cv::Point3f>> objectPoints(m_imagePoints.size(),
                                                                 calcPoints(boardSize(), squareSize()));
        std::vector<cv::Mat> rvecs, tvecs;
        try {
            m_rms = cv::calibrateCamera(objectPoints, m_imagePoints, imageSize, m_cameraMatrix, dist, rvecs, tvecs,
                                        flags | cv::CALIB_FIX_PRINCIPAL_POINT | cv::CALIB_FIX_K4 | cv::CALIB_FIX_K5,
                                        cv::TermCriteria(cv::TermCriteria::COUNT + cv::TermCriteria::EPS, 30,
                                                         std::numeric_limits<double>::epsilon()));
        } catch (const cv::Exception &) {
            return false;
        }
        std::printf("RMS error reported by calibrateCamera: %g\n", m_rms);
        std::fflush(stdout);
        m_distCoeffs = cv::Mat::zeros(8, 1, CV_64F);
        for (int i = 0; i < std::min(8, int(dist.total())); ++i)
            m_distCoeffs.at<double>(i) = dist.at<double>(i);
    } else {
        m_cameraMatrix = cv::Mat::eye(3, 3, CV_64F);
        if (m_stored.size() >= 9) {
            const double k = storageScale(imageSize.width);
            m_cameraMatrix.at<double>(0, 0) = m_stored[0] / k;
            m_cameraMatrix.at<double>(0, 2) = m_stored[2] / k;
            m_cameraMatrix.at<double>(1, 1) = m_stored[4] / k;
            m_cameraMatrix.at<double>(1, 2) = m_stored[5] / k;
        }
    }
    m_matrixWidth = imageSize.width;
    const bool finite = allFinite(m_cameraMatrix) && allFinite(m_distCoeffs);
    const bool identity = m_cameraMatrix.at<double>(0, 0) == 1 && m_cameraMatrix.at<double>(1, 1) == 1 &&
                          m_cameraMatrix.at<double>(2, 2) == 1;
    // A stored identity (the value before any calibration) is no calibration
    // at whatever scale it is read back.
    const bool storedIdentity = !fromFrames && (m_stored.size() < 9 || (m_stored[0] == 1 && m_stored[4] == 1));
    const bool positive = m_cameraMatrix.at<double>(0, 0) > 0 && m_cameraMatrix.at<double>(1, 1) > 0;
    m_valid = finite && positive && (fromFrames || (!identity && !storedIdentity));
    if (fromFrames && m_valid) {
        // Later size changes rebuild the maps from the stored form.
        m_stored = storedMatrix(imageSize.width);
    }
    if (m_valid)
        m_valid = buildMaps(imageSize);
    return m_valid;
}

void LensCalibration::load(const std::vector<double> &storedMatrix, const std::vector<double> &distCoeffs)
{
    m_imagePoints.clear();
    m_stored = storedMatrix.size() >= 9 ? storedMatrix : std::vector<double>();
    m_distCoeffs = cv::Mat::zeros(8, 1, CV_64F);
    for (int i = 0; i < std::min(8, int(distCoeffs.size())); ++i)
        m_distCoeffs.at<double>(i) = distCoeffs[size_t(i)];
    m_map1.release();
    m_map2.release();
    m_mapSize = cv::Size();
    m_valid = false;
}

std::vector<double> LensCalibration::storedMatrix(int frameWidth) const
{
    const double k = storageScale(frameWidth);
    std::vector<double> values;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            values.push_back(m_cameraMatrix.at<double>(r, c) * k);
    return values;
}

std::vector<double> LensCalibration::storedDistCoeffs() const
{
    std::vector<double> values;
    for (int i = 0; i < 8; ++i)
        values.push_back(m_distCoeffs.at<double>(i));
    return values;
}

bool LensCalibration::buildMaps(cv::Size size)
{
    if (size.width != m_matrixWidth && m_stored.size() >= 9) {
        // Another frame width: the matrix follows from the stored form.
        const double k = storageScale(size.width);
        m_cameraMatrix = cv::Mat::eye(3, 3, CV_64F);
        m_cameraMatrix.at<double>(0, 0) = m_stored[0] / k;
        m_cameraMatrix.at<double>(0, 2) = m_stored[2] / k;
        m_cameraMatrix.at<double>(1, 1) = m_stored[4] / k;
        m_cameraMatrix.at<double>(1, 2) = m_stored[5] / k;
        m_matrixWidth = size.width;
    }
    try {
        const cv::Mat newMatrix = cv::getOptimalNewCameraMatrix(m_cameraMatrix, m_distCoeffs, size, 1, size, nullptr, true);
        cv::initUndistortRectifyMap(m_cameraMatrix, m_distCoeffs, cv::Mat(), newMatrix, size, CV_16SC2, m_map1, m_map2);
    } catch (const cv::Exception &) {
        m_map1.release();
        m_map2.release();
        m_mapSize = cv::Size();
        return false;
    }
    m_mapSize = size;
    return true;
}

bool LensCalibration::undistort(const cv::Mat &frame, cv::Mat *out)
{
    if (!m_valid || frame.empty())
        return false;
    if (m_mapSize != frame.size() && !buildMaps(frame.size()))
        return false;
    if (m_mapSize != frame.size())
        return false;
    cv::remap(frame, *out, m_map1, m_map2, cv::INTER_LINEAR, cv::BORDER_CONSTANT);
    return true;
}

// Lens calibration in the camera worker: pattern views, the computation and
// the stored form.
#include "vision/CameraWorker.h"

#include "vision/MatImage.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

QImage CameraWorker::calibrationFrame(cv::Mat &input, bool color)
{
    Q_UNUSED(color)
    cv::Mat frame;
    if (input.channels() == 1)
        cv::cvtColor(input, frame, cv::COLOR_GRAY2BGR);
    else if (input.channels() == 4)
        cv::cvtColor(input, frame, cv::COLOR_BGRA2BGR);
    else
        frame = input.clone();
    std::vector<cv::Point2f> centres;
    const bool found = LensCalibration::findPattern(frame, &centres);
    if (found && m_mode == ModeCalib2) {
        m_lens.addFrame(centres);
        emit calFramesCapturedSend(m_lens.frameCount());
        emit sendBlink();
        if (m_lens.frameCount() < LensCalibration::framesNeeded) {
            emit sendCalMode(1);
            m_mode = ModeCalib1;
            m_modeText = QStringLiteral("calib1");
        } else {
            emit sendCalMode(0);
            m_mode = ModeNone;
            m_modeText.clear();
            if (!runCalibration(frame.size(), 0, true))
                emit showError(tr("Калибровка провалена!"));
            m_lens.clearFrames();
            emit calFramesCapturedSend(0);
        }
    }
    if (!centres.empty())
        cv::drawChessboardCorners(frame, LensCalibration::boardSize(), centres, found);
    return MatImage::toRgbImage(frame);
}

void CameraWorker::calcPoints(cv::Size boardSize, float squareSize, std::vector<cv::Point3f> &corners)
{
    corners = LensCalibration::calcPoints(boardSize, squareSize);
}

bool CameraWorker::runCalibration(cv::Size imageSize, int flags, bool sendCalibration)
{
    const bool valid = m_lens.run(imageSize, flags);
    if (valid && sendCalibration) {
        QVariantList matrix, coeffs;
        for (double v : m_lens.storedMatrix(imageSize.width))
            matrix.append(v);
        for (double v : m_lens.storedDistCoeffs())
            coeffs.append(v);
        emit saveCameraCalibration(matrix, coeffs);
    }
    emit calibrationIsAcceptedSend(valid);
    return valid;
}

void CameraWorker::getCameraCalibration(QVariantList newCameraMatrix, QVariantList newDistCoeffs)
{
    std::vector<double> matrix, coeffs;
    bool ok = newCameraMatrix.size() >= 9 && newDistCoeffs.size() >= 8;
    for (int i = 0; ok && i < 9; ++i)
        matrix.push_back(newCameraMatrix.at(i).toDouble(&ok));
    for (int i = 0; ok && i < 8; ++i)
        coeffs.push_back(newDistCoeffs.at(i).toDouble(&ok));
    if (!ok) {
        matrix.clear();
        coeffs.clear();
    }
    m_lens.load(matrix, coeffs);
    runCalibration(cv::Size(m_frameWidth, m_frameHeight), 0, false);
}

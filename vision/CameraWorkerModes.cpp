// The recognition modes of the camera worker: each frame's search area is
// handed to the plain recognition classes and their results are sent.
#include "vision/CameraWorker.h"

#include <QDebug>

#include <opencv2/imgproc.hpp>

#include <cmath>

RecognitionParams CameraWorker::params() const
{
    RecognitionParams p;
    p.param1 = m_param1;
    p.param2 = m_param2;
    p.targetSize = m_targetSize;
    p.targetSize2 = m_targetSize2;
    p.tolerance = m_targetSizeTolerance;
    p.supposedAngle = m_supposedAngle;
    p.cameraAngle = m_cameraAngle;
    p.frameWidth = m_frameWidth;
    p.frameHeight = m_frameHeight;
    return p;
}

void CameraWorker::sendMatchCoeff(qreal coeff)
{
    if (coeff == m_lastMatchCoeff)
        return;
    m_lastMatchCoeff = coeff;
    emit matchCoeffSend(coeff);
}

void CameraWorker::sendOutline(const RecognitionResult &r)
{
    setTooManyContours(r.tooManyContours);
    if (r.tooManyContours) {
        emit objSend(false, 0, 0, 0, 0, 0);
        return;
    }
    if (r.hasObjArray)
        emit objArraySend(r.centersX, r.centersY, r.angles);
    if (r.hasPins)
        emit pinsSend(r.pinCountCorrect, r.pinCount, r.avgPinDist, r.minPinDist, r.maxPinDist);
    if (r.hasExAngle)
        emit exAngleSend(r.exAngle);
    if (r.found)
        emit objSend(true, r.x, r.y, r.angle, r.sizeX, r.sizeY);
    else
        emit objSend(false, 0, 0, 0, 0, 0);
}

namespace {

cv::Size sizeOf(const QImage &image)
{
    return cv::Size(image.width(), image.height());
}

bool usable(const QImage &image)
{
    return !image.isNull() && image.width() > 1 && image.height() > 1;
}

cv::Rect squareArea(const cv::Mat &frame, int side)
{
    return cv::Rect((frame.cols - side) / 2, (frame.rows - side) / 2, side, side);
}

void drawMark(cv::Mat &area, cv::Point2d centre)
{
    cv::circle(area, cv::Point(cvRound(centre.x), cvRound(centre.y)), 2, cv::Scalar(250), 3);
}

} // namespace

bool CameraWorker::analyse(cv::Mat &grey, cv::Rect roi, cv::Mat *display)
{
    const bool templateMode =
        m_mode == ModePlacerTemplate || m_mode == ModePlacerTemplateCenter || m_mode == ModeTemplateRef || m_mode == ModeTemplate;
    if (m_mode == ModeTemplate) {
        const int side = TemplateMatcher::componentSearchSide(sizeOf(m_compareImage), grey.size());
        if (side > 0)
            roi = squareArea(grey, side);
    } else if (m_mode == ModePlacerTemplateCenter) {
        int side = usable(m_compareImage) ? TemplateMatcher::centerSearchSide(sizeOf(m_compareImage), m_templMult) : 0;
        if (m_flippedEnabled && !m_compareFlippedImage.isNull())
            side = std::max(side, TemplateMatcher::centerSearchSide(sizeOf(m_compareFlippedImage), m_templMult));
        if (side > std::min(grey.cols, grey.rows)) {
            emit objSend(false, 0, 0, 0, 0, 0);
            qDebug().noquote() << QString::fromUtf8("неверные размеры области поиска в алгоритме поиска по шаблону!");
            return false;
        }
        if (side > 0)
            roi = squareArea(grey, side);
    }
    roi &= cv::Rect(0, 0, grey.cols, grey.rows);

    cv::Mat unprocessed;
    if (m_viewType == 0) {
        setTooManyContours(false);
        unprocessed = grey.clone();
    }
    if (roi.area() <= 0) {
        emit objSend(false, 0, 0, 0, 0, 0);
        *display = unprocessed.empty() ? grey : unprocessed;
        return true;
    }
    cv::Mat area = grey(roi);
    if (m_inverse && !templateMode)
        cv::bitwise_not(area, area);

    cv::Mat thresholdCopy;
    RecognitionParams p = params();
    if (m_viewType == 1)
        p.thresholdCopy = &thresholdCopy;

    qreal coeff = 0;
    switch (m_mode) {
    case ModeCircle:
    case ModeHole:
    case ModeSquare:
        sendOutline(m_markFinder.find(area,
                                      m_mode == ModeCircle ? MarkFinder::Circle
                                                           : m_mode == ModeHole ? MarkFinder::Hole : MarkFinder::Square,
                                      p));
        break;
    case ModePlacerContours:
        sendOutline(m_placerFinder.find(area, p));
        break;
    case ModeElement:
    case ModePins:
    case ModeCorners:
        sendOutline(m_componentFinder.find(area,
                                           m_mode == ModeElement ? ComponentFinder::Element
                                                                 : m_mode == ModePins ? ComponentFinder::Pins
                                                                                      : ComponentFinder::Corners,
                                           p));
        break;
    case ModeTemplateRef: {
        if (m_nonrotatedTemplate.empty()) {
            emit objSend(false, 0, 0, 0, 0, 0);
            break;
        }
        const TemplateMatcher::Result r = TemplateMatcher::matchReference(area, m_nonrotatedTemplate, m_templMatchCoeff);
        coeff = r.matched ? r.coeff : 0;
        if (r.found) {
            const cv::Point2d centre(r.x + (area.cols - m_nonrotatedTemplate.cols) / 2 + m_nonrotatedTemplate.cols / 2.0,
                                     r.y + (area.rows - m_nonrotatedTemplate.rows) / 2 + m_nonrotatedTemplate.rows / 2.0);
            drawMark(area, centre);
            TemplateMatcher::drawOutline(area, centre, m_nonrotatedTemplate.size(), 0);
            emit objSend(true, r.x, r.y, 0, 0, 0);
        } else {
            emit objSend(false, 0, 0, 0, 0, 0);
        }
        break;
    }
    case ModeTemplate: {
        if (!m_template.valid()) {
            emit objSend(false, 0, 0, 0, 0, 0);
            break;
        }
        const TemplateMatcher::Result r = TemplateMatcher::matchComponent(area, m_template, m_templMult, m_templateType,
                                                                          m_supposedAngle, m_templMatchCoeff);
        coeff = r.matched ? r.coeff : 0;
        const cv::Point2d centre(r.x + area.cols / 2, r.y + area.rows / 2);
        if (r.found) {
            drawMark(area, centre);
            TemplateMatcher::drawOutline(area, centre, sizeOf(m_compareImage), -r.angle);
            emit objSend(true, r.x, r.y, r.angle + m_cameraAngle, 0, 0);
        } else {
            emit objSend(false, r.x, r.y, r.matched ? r.angle + m_cameraAngle : 0, 0, 0);
        }
        break;
    }
    case ModePlacerTemplate:
    case ModePlacerTemplateCenter: {
        if (!m_template.valid()) {
            emit objSend(false, 0, 0, 0, 0, 0);
            break;
        }
        const TemplateMatcher::Result r =
            TemplateMatcher::matchPlaced(area, m_template, m_flippedTemplate, m_flippedEnabled, m_templMult, m_templateType,
                                         m_templMatchCoeff, m_flippedTemplMatchCoeff);
        coeff = r.matched ? r.coeff : 0;
        if (m_mode == ModePlacerTemplateCenter)
            cv::rectangle(area, cv::Rect(0, 0, area.cols, area.rows), cv::Scalar(255), 2);
        if (r.found)
            emit flippedSend(r.flipped);
        if (r.matched) {
            const QSize size = r.flipped ? m_compareFlippedImage.size() : m_compareImage.size();
            TemplateMatcher::drawOutline(area, cv::Point2d(r.x + area.cols / 2, r.y + area.rows / 2),
                                         cv::Size(size.width(), size.height()), -r.angle);
        }
        emit objSend(r.found, r.x, r.y, r.matched ? r.angle : 0, 0, 0);
        break;
    }
    default:
        break;
    }
    sendMatchCoeff(coeff);

    if (m_viewType == 0) {
        *display = unprocessed;
    } else if (m_viewType == 1 && !thresholdCopy.empty()) {
        // The frame as it was before the drawings, with the thresholded area.
        cv::Mat shown = grey.clone();
        thresholdCopy.copyTo(shown(roi));
        *display = shown;
    } else {
        *display = grey;
    }
    return true;
}

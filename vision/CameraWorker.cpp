#include "vision/CameraWorker.h"

#include "vision/CameraCapture.h"
#include "vision/MatImage.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>
#include <QUrl>

#include <opencv2/imgproc.hpp>

CameraWorker::CameraWorker(QObject *parent)
    : QObject(parent)
{
}

int CameraWorker::modeNumber(const QString &mode, int previous)
{
    static const char *const texts[] = {"", "calib1", "calib2", "scan", "circle", "hole", "square",
                                        "placerContours", "placerTemplate", "placerTemplateCenter",
                                        "templateRef", "element", "pins", "corners", "template"};
    for (int i = 0; i < int(sizeof texts / sizeof texts[0]); ++i) {
        if (mode == QLatin1String(texts[i]))
            return i;
    }
    return previous;
}

cv::Rect CameraWorker::searchArea(int frameWidth, int frameHeight, int roiPercent)
{
    int w = frameWidth * roiPercent / 100;
    int h = frameHeight * roiPercent / 100;
    if (w % 2)
        --w;
    if (h % 2)
        --h;
    w = std::max(0, std::min(w, frameWidth));
    h = std::max(0, std::min(h, frameHeight));
    return cv::Rect((frameWidth - w) / 2, (frameHeight - h) / 2, w, h);
}

cv::Rect CameraWorker::shownArea(int frameWidth, int frameHeight, int showPercent)
{
    const int p = showPercent <= 0 ? 100 : std::min(showPercent, 100);
    const int w = std::max(1, frameWidth * p / 100);
    const int h = std::max(1, frameHeight * p / 100);
    return cv::Rect((frameWidth - w) / 2, (frameHeight - h) / 2, w, h);
}

QImage CameraWorker::displayImage() const
{
    QMutexLocker lock(&m_displayMutex);
    return m_display;
}

QImage CameraWorker::photoImage() const
{
    QMutexLocker lock(&m_displayMutex);
    return m_photo;
}

bool CameraWorker::saveDisplayImage(const QString &fileName) const
{
    const QString path = fileName.startsWith(QLatin1String("file:")) ? QUrl(fileName).toLocalFile() : fileName;
    if (path.isEmpty())
        return false;
    QMutexLocker lock(&m_displayMutex);
    if (m_display.isNull())
        return false;
    QSaveFile file(path);
    const QByteArray format = QFileInfo(path).suffix().toLatin1();
    return file.open(QIODevice::WriteOnly) &&
           m_display.save(&file, format.isEmpty() ? "PNG" : format.constData()) && file.commit();
}

// --- settings

void CameraWorker::setName(QString name) { m_name = name; }

void CameraWorker::setMode(QString mode)
{
    m_modeText = mode;
    m_mode = modeNumber(mode, m_mode);
    if ((m_mode != ModeCalib1 && m_mode != ModeCalib2) || mode == QLatin1String("template"))
        emit calFramesCapturedSend(0);
}

void CameraWorker::setFormatMode(QString formatMode) { m_formatMode = formatMode; }
void CameraWorker::setCameraAngle(qreal angle) { m_cameraAngle = angle; }
void CameraWorker::setInverse(bool inverse) { m_inverse = inverse; }
void CameraWorker::setRoiPercent(int percent) { m_roiPercent = std::max(0, std::min(percent, 100)); }

void CameraWorker::setCompareImage(QImage image)
{
    QMutexLocker lock(&m_displayMutex);
    m_compareImage = image;
}

void CameraWorker::setCompareNonrotatedImage(QImage image)
{
    QMutexLocker lock(&m_displayMutex);
    m_compareNonrotatedImage = image;
}

void CameraWorker::setCompareFlippedImage(QImage image)
{
    QMutexLocker lock(&m_displayMutex);
    m_compareFlippedImage = image;
}

// Templates are prepared by the template matching modes.
void CameraWorker::recalcTemplates() {}
void CameraWorker::recalcNonrotatedTemplates() {}
void CameraWorker::recalcFlippedTemplates() {}

void CameraWorker::setTemplMult(qreal mult) { m_templMult = mult; }
void CameraWorker::setTemplateType(int type) { m_templateType = type; }
void CameraWorker::setShowPercent(int percent) { m_showPercent = percent; }
void CameraWorker::setViewType(int type) { m_viewType = type; }
void CameraWorker::setTargetSize(qreal size) { m_targetSize = size; }
void CameraWorker::setTargetSize2(qreal size) { m_targetSize2 = size; }
void CameraWorker::setTargetSizeTolerance(int tolerance) { m_targetSizeTolerance = tolerance; }
void CameraWorker::setParam1(int value) { m_param1 = value; }
void CameraWorker::setParam2(int value) { m_param2 = value; }
void CameraWorker::setTemplMatchCoeff(int value) { m_templMatchCoeff = value; }
void CameraWorker::setFlippedTemplMatchCoeff(int value) { m_flippedTemplMatchCoeff = value; }
void CameraWorker::setFlippedEnabled(bool enabled) { m_flippedEnabled = enabled; }
void CameraWorker::openedGet(bool opened) { Q_UNUSED(opened) }

void CameraWorker::getSize(int width, int height)
{
    m_frameWidth = width;
    m_frameHeight = height;
}

void CameraWorker::setTooManyContours(bool tooMany)
{
    if (tooMany == m_tooManyContours)
        return;
    m_tooManyContours = tooMany;
    emit tooManyContoursSend(tooMany);
}

void CameraWorker::getCameraCalibration(QVariantList newCameraMatrix, QVariantList newDistCoeffs)
{
    m_cameraMatrix = newCameraMatrix;
    m_distCoeffs = newDistCoeffs;
}

void CameraWorker::getCalibrationEnabled(bool enabled) { m_calibrationEnabled = enabled; }
void CameraWorker::getDoNotUpdate(bool doNotUpdate) { m_doNotUpdate = doNotUpdate; }
void CameraWorker::getSupposedAngle(qreal angle) { m_supposedAngle = angle; }
void CameraWorker::requestPhotoGet() { m_photoRequested = true; }

// --- frames

void CameraWorker::processFrame()
{
    if (!m_capture)
        return;
    bool color = true;
    if (!m_capture->takeFrame(m_frame, &color))
        return;
    processMat(m_frame, color);
}

void CameraWorker::processMat(const cv::Mat &input, bool color)
{
    if (input.empty())
        return;
    cv::Mat frame = input;
    const cv::Rect roi = searchArea(frame.cols, frame.rows, m_roiPercent);

    if (m_frameClock.isValid()) {
        const qint64 t = m_frameClock.restart();
        m_fps = 0.8 * m_fps + 0.2 * (t > 0 ? 1000.0 / double(t) : 20.0);
    } else {
        m_frameClock.start();
    }
    emit fpsChanged(m_fps);

    if (m_photoRequested) {
        cv::Mat shot;
        if (m_name == QLatin1String("camera2"))
            cv::flip(frame, shot, 0);
        else
            shot = frame;
        QImage photo = MatImage::toRgbImage(shot);
        {
            QMutexLocker lock(&m_displayMutex);
            m_photo = photo;
        }
        m_photoRequested = false;
        emit photoReady();
    }

    if (m_doNotUpdate)
        return;

    QImage display;
    if (m_mode == ModeNone || m_mode == ModeScan || m_mode == ModeCalib1 || m_mode == ModeCalib2) {
        setTooManyContours(false);
        const cv::Rect shown = m_mode == ModeScan ? roi : shownArea(frame.cols, frame.rows, m_showPercent);
        display = MatImage::toRgbImage(frame(shown));
    } else {
        // The recognition modes work on one grey channel; until they analyse
        // the search area the grey frame is what they show.
        cv::Mat grey;
        if (color && frame.channels() == 3)
            cv::cvtColor(frame, grey, cv::COLOR_BGR2GRAY);
        else
            grey = frame;
        display = MatImage::toGreyImage(grey(shownArea(grey.cols, grey.rows, m_showPercent)));
    }
    publish(display);
}

void CameraWorker::publish(const QImage &image)
{
    {
        QMutexLocker lock(&m_displayMutex);
        m_display = image;
    }
    emit updated2();
    emit frameProcessed();
}

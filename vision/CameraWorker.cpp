#include "vision/CameraWorker.h"

#include "vision/CameraCapture.h"
#include "vision/MatImage.h"
#include "util/SafeFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMutexLocker>
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
    const QByteArray format = QFileInfo(path).suffix().toLatin1();
    QByteArray bytes;
    {
        QMutexLocker lock(&m_displayMutex);
        if (m_display.isNull())
            return false;
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly) || !m_display.save(&buffer, format.isEmpty() ? "PNG" : format.constData()))
            return false;
    }
    return SafeFile::write(path, bytes, nullptr);
}

// --- settings

void CameraWorker::setName(QString name) { m_name = name; }

void CameraWorker::setMode(QString mode)
{
    m_modeText = mode;
    m_mode = modeNumber(mode, m_mode);
    if ((m_mode != ModeCalib1 && m_mode != ModeCalib2) || mode == QLatin1String("template")) {
        m_lens.clearFrames();
        emit calFramesCapturedSend(0);
    }
}

void CameraWorker::setFormatMode(QString formatMode) { m_formatMode = formatMode; }
void CameraWorker::setCameraAngle(qreal angle) { m_cameraAngle = angle; }
void CameraWorker::setInverse(bool inverse) { m_inverse = inverse; }
// An empty search area cannot be analysed: at least 1 %.
void CameraWorker::setRoiPercent(int percent) { m_roiPercent = std::max(1, std::min(percent, 100)); }

namespace {

bool usable(const QImage &image)
{
    return !image.isNull() && image.width() > 1 && image.height() > 1;
}

} // namespace

void CameraWorker::setCompareImage(QImage image)
{
    {
        QMutexLocker lock(&m_displayMutex);
        // The component camera's photos were mirrored for display.
        m_compareImage = m_name == QLatin1String("camera2") ? image.mirrored(false, true) : image;
    }
    if (usable(image))
        recalcTemplates();
}

void CameraWorker::setCompareNonrotatedImage(QImage image)
{
    {
        QMutexLocker lock(&m_displayMutex);
        m_compareNonrotatedImage = image;
    }
    if (usable(image))
        recalcNonrotatedTemplates();
}

void CameraWorker::setCompareFlippedImage(QImage image)
{
    {
        QMutexLocker lock(&m_displayMutex);
        m_compareFlippedImage = image;
    }
    if (usable(image))
        recalcFlippedTemplates();
}

void CameraWorker::recalcTemplates()
{
    if (usable(m_compareImage))
        m_template = TemplateMatcher::prepare(TemplateMatcher::greyOf(m_compareImage), m_templMult, m_templateType);
}

void CameraWorker::recalcNonrotatedTemplates()
{
    if (usable(m_compareNonrotatedImage))
        m_nonrotatedTemplate = TemplateMatcher::greyOf(m_compareNonrotatedImage);
}

void CameraWorker::recalcFlippedTemplates()
{
    if (usable(m_compareFlippedImage))
        m_flippedTemplate =
            TemplateMatcher::prepare(TemplateMatcher::greyOf(m_compareFlippedImage), m_templMult, m_templateType);
}

void CameraWorker::setTemplMult(qreal mult)
{
    if (mult == m_templMult)
        return;
    m_templMult = mult;
    recalcTemplates();
    recalcFlippedTemplates();
}

void CameraWorker::setTemplateType(int type)
{
    if (type == m_templateType)
        return;
    m_templateType = type;
    recalcTemplates();
    recalcFlippedTemplates();
}

void CameraWorker::setShowPercent(int percent) { m_showPercent = std::max(1, std::min(percent, 100)); }
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

    if (m_mode == ModeCalib1 || m_mode == ModeCalib2) {
        publish(calibrationFrame(frame, color));
        return;
    }

    if (m_calibrationEnabled && m_lens.isValid()) {
        cv::Mat undistorted;
        if (m_lens.undistort(frame, &undistorted))
            frame = undistorted;
    }

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
    if (m_mode == ModeNone || m_mode == ModeScan) {
        setTooManyContours(false);
        const cv::Rect shown = m_mode == ModeScan ? roi : shownArea(frame.cols, frame.rows, m_showPercent);
        if (shown.area() > 0)
            display = MatImage::toRgbImage(frame(shown));
    } else {
        // Recognition works on one grey channel, in place.
        cv::Mat grey;
        if (frame.channels() == 3)
            cv::cvtColor(frame, grey, cv::COLOR_BGR2GRAY);
        else if (frame.channels() == 4)
            cv::cvtColor(frame, grey, cv::COLOR_BGRA2GRAY);
        else
            grey = frame.clone();
        Q_UNUSED(color)
        cv::Mat source;
        if (!analyse(grey, roi, &source))
            return;
        const cv::Rect shown = shownArea(source.cols, source.rows, m_showPercent);
        display = MatImage::toGreyImage(source(shown));
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

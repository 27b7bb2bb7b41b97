#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>

#include "vision/ComponentFinder.h"
#include "vision/LensCalibration.h"
#include "vision/MarkFinder.h"
#include "vision/PlacerContoursFinder.h"
#include "vision/TemplateMatcher.h"

#include <opencv2/core.hpp>

class CameraCapture;

// Turns camera frames into the shown image, photos and (with the
// recognition modes) measurements. Lives in its CameraThread; the camera item
// reaches it by queued signals, and it reads frames from the capture object
// of the same camera.
class CameraWorker : public QObject
{
    Q_OBJECT
public:
    // Mode numbers of the mode texts.
    enum Mode {
        ModeNone = 0, ModeCalib1, ModeCalib2, ModeScan, ModeCircle, ModeHole, ModeSquare, ModePlacerContours,
        ModePlacerTemplate, ModePlacerTemplateCenter, ModeTemplateRef, ModeElement, ModePins, ModeCorners,
        ModeTemplate
    };

    explicit CameraWorker(QObject *parent = nullptr);

    // The capture object to take frames from (set once by the item).
    void setCapture(CameraCapture *capture) { m_capture = capture; }

    // The shown image and the last photo, under the display lock.
    QImage displayImage() const;
    QImage photoImage() const;
    // Saves the shown image to a file under the display lock.
    bool saveDisplayImage(const QString &fileName) const;

    static int modeNumber(const QString &mode, int previous);
    // The centred search area of a frame for a percentage of its size.
    static cv::Rect searchArea(int frameWidth, int frameHeight, int roiPercent);
    // The centred crop of a frame for a percentage of its size.
    static cv::Rect shownArea(int frameWidth, int frameHeight, int showPercent);

    int mode() const { return m_mode; }
    QString name() const { return m_name; }
    qreal fps() const { return m_fps; }

signals:
    void objSend(bool found, qreal shiftX, qreal shiftY, qreal shiftA, qreal sizeX, qreal sizeY);
    void objArraySend(QList<qreal> objCentersX, QList<qreal> objCentersY, QList<qreal> objsA);
    void pinsSend(bool pinCountCorrect, int pinCount, qreal avgPinDist, qreal minPinDist, qreal maxPinDist);
    void exAngleSend(qreal exAngle);
    void matchCoeffSend(qreal coeff);
    void flippedSend(bool flipped);
    void tooManyContoursSend(bool newTooManyContours);
    void showError(QString errorStr);
    void fpsChanged(qreal fps);
    void photoReady();
    void updated2();
    void frameProcessed();
    void sendBlink();
    void sendCalMode(int mode);
    void calFramesCapturedSend(int count);
    void calibrationIsAcceptedSend(bool accepted);
    void saveCameraCalibration(QVariantList cameraMatrix, QVariantList distCoeffs);

public slots:
    void setName(QString name);
    void setMode(QString mode);
    void setFormatMode(QString formatMode);
    void setCameraAngle(qreal angle);
    void setInverse(bool inverse);
    void setRoiPercent(int percent);
    void setCompareImage(QImage image);
    void setCompareNonrotatedImage(QImage image);
    void setCompareFlippedImage(QImage image);
    void recalcTemplates();
    void recalcNonrotatedTemplates();
    void recalcFlippedTemplates();
    void setTemplMult(qreal mult);
    void setTemplateType(int type);
    void setShowPercent(int percent);
    void setViewType(int type);
    void setTargetSize(qreal size);
    void setTargetSize2(qreal size);
    void setTargetSizeTolerance(int tolerance);
    void setParam1(int value);
    void setParam2(int value);
    void setTemplMatchCoeff(int value);
    void setFlippedTemplMatchCoeff(int value);
    void setFlippedEnabled(bool enabled);
    void processFrame();
    void openedGet(bool opened);
    void getSize(int width, int height);
    void setTooManyContours(bool tooMany);
    void getCameraCalibration(QVariantList newCameraMatrix, QVariantList newDistCoeffs);
    void getCalibrationEnabled(bool enabled);
    void getDoNotUpdate(bool doNotUpdate);
    void getSupposedAngle(qreal angle);
    void requestPhotoGet();
    // Object points of the circle grid, row by row.
    void calcPoints(cv::Size boardSize, float squareSize, std::vector<cv::Point3f> &corners);
    // Lens calibration from the captured pattern views (or, without any,
    // from the loaded matrix); stores and reports the result.
    bool runCalibration(cv::Size imageSize, int flags, bool sendCalibration);

    // Processes one frame given directly (the tests and the benchmark).
    void processMat(const cv::Mat &frame, bool color);

    int calibrationFrames() const { return m_lens.frameCount(); }
    bool calibrationValid() const { return m_lens.isValid(); }

private:
    void publish(const QImage &image);
    // Lens calibration modes: looks for the pattern and collects views.
    QImage calibrationFrame(cv::Mat &frame, bool color);
    // Runs the recognition mode on the grey frame; false when the frame is
    // skipped altogether (nothing published).
    bool analyse(cv::Mat &grey, cv::Rect roi, cv::Mat *display);
    void sendOutline(const RecognitionResult &result);
    void sendMatchCoeff(qreal coeff);
    RecognitionParams params() const;

    CameraCapture *m_capture = nullptr; // outlives this object (see CameraItem)
    QString m_name;
    QString m_modeText;
    int m_mode = ModeNone;
    QString m_formatMode;
    qreal m_cameraAngle = 0;
    bool m_inverse = false;
    int m_roiPercent = 50;
    int m_showPercent = 0;
    int m_viewType = 0;
    int m_param1 = 50;
    int m_param2 = 50;
    int m_templMatchCoeff = 80;
    int m_flippedTemplMatchCoeff = 80;
    bool m_flippedEnabled = false;
    qreal m_targetSize = 1.0;
    qreal m_targetSize2 = 1.0;
    int m_targetSizeTolerance = 5;
    qreal m_templMult = 0.3;
    int m_templateType = 1;
    bool m_doNotUpdate = false;
    bool m_photoRequested = false;
    bool m_calibrationEnabled = false;
    qreal m_supposedAngle = 0;
    bool m_tooManyContours = false;
    int m_frameWidth = 640;
    int m_frameHeight = 480;
    qreal m_fps = 0;
    QElapsedTimer m_frameClock;

    mutable QMutex m_displayMutex;
    QImage m_photo;
    QImage m_compareImage;
    QImage m_compareNonrotatedImage;
    QImage m_compareFlippedImage;
    QImage m_display;

    cv::Mat m_frame;

    MarkFinder m_markFinder;
    PlacerContoursFinder m_placerFinder;
    ComponentFinder m_componentFinder;
    TemplateMatcher::Prepared m_template;
    TemplateMatcher::Prepared m_flippedTemplate;
    cv::Mat m_nonrotatedTemplate;
    qreal m_lastMatchCoeff = 0;
    LensCalibration m_lens;
};

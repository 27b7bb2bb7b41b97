#pragma once

#include <QImage>
#include <QList>
#include <QMutex>
#include <QPointF>
#include <QPointer>
#include <QQuickImageProvider>
#include <QQuickPaintedItem>
#include <QVariantList>
#include <QVector>

class CameraCapture;
class CameraThread;
class CameraWorker;
class CaptureThread;
class QQmlEngine;

// The camera element of the user interface ("Camera" in module "OpenCV"):
// paints the newest processed frame, serves photos as an image provider
// registered under its object name, and owns the capture thread and the
// processing thread of its camera. QML drives it through its properties;
// results come back as read-only properties and signals.
class CameraItem : public QQuickPaintedItem, public QQuickImageProvider
{
    Q_OBJECT
    Q_PROPERTY(qreal param1 READ param1 WRITE setParam1 NOTIFY param1Changed)
    Q_PROPERTY(qreal param2 READ param2 WRITE setParam2 NOTIFY param2Changed)
    Q_PROPERTY(qreal templMatchCoeff READ templMatchCoeff WRITE setTemplMatchCoeff NOTIFY templMatchCoeffChanged)
    Q_PROPERTY(qreal flippedEnabled READ flippedEnabled WRITE setFlippedEnabled NOTIFY flippedEnabledChanged)
    Q_PROPERTY(qreal flippedTemplMatchCoeff READ flippedTemplMatchCoeff WRITE setFlippedTemplMatchCoeff NOTIFY flippedTemplMatchCoeffChanged)
    Q_PROPERTY(QString mode MEMBER m_mode NOTIFY modeChanged)
    Q_PROPERTY(QString formatMode MEMBER m_formatMode NOTIFY formatModeChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(bool inverse MEMBER m_inverse NOTIFY inverseChanged)
    Q_PROPERTY(int roiPercent READ roiPercent WRITE setRoiPercent NOTIFY roiPercentChanged)
    Q_PROPERTY(int showPercent MEMBER m_showPercent NOTIFY showPercentChanged)
    Q_PROPERTY(int viewType MEMBER m_viewType NOTIFY viewTypeChanged)
    Q_PROPERTY(qreal targetSize MEMBER m_targetSize NOTIFY targetSizeChanged)
    Q_PROPERTY(qreal targetSize2 MEMBER m_targetSize2 NOTIFY targetSize2Changed)
    Q_PROPERTY(int targetSizeTolerance MEMBER m_targetSizeTolerance NOTIFY targetSizeToleranceChanged)
    Q_PROPERTY(bool opened READ opened NOTIFY openedChanged)
    Q_PROPERTY(bool tooManyContours READ tooManyContours NOTIFY tooManyContoursChanged)
    Q_PROPERTY(bool capture MEMBER m_capture NOTIFY captureChanged)
    Q_PROPERTY(int frameWidth READ frameWidth NOTIFY frameWidthChanged)
    Q_PROPERTY(int frameHeight READ frameHeight NOTIFY frameHeightChanged)
    Q_PROPERTY(bool pinCountCorrect READ pinCountCorrect NOTIFY pinCountCorrectChanged)
    Q_PROPERTY(int pinCount READ pinCount NOTIFY pinCountChanged)
    Q_PROPERTY(qreal avgPinDist READ avgPinDist NOTIFY avgPinDistChanged)
    Q_PROPERTY(qreal minPinDist READ minPinDist NOTIFY minPinDistChanged)
    Q_PROPERTY(qreal maxPinDist READ maxPinDist NOTIFY maxPinDistChanged)
    Q_PROPERTY(bool objFound READ objFound NOTIFY objFoundChanged)
    Q_PROPERTY(qreal objCenterX READ objCenterX NOTIFY objCenterXChanged)
    Q_PROPERTY(qreal objCenterY READ objCenterY NOTIFY objCenterYChanged)
    Q_PROPERTY(int objWidth READ objWidth NOTIFY objWidthChanged)
    Q_PROPERTY(int objHeight READ objHeight NOTIFY objHeightChanged)
    Q_PROPERTY(qreal exAngle READ exAngle NOTIFY exAngleChanged)
    Q_PROPERTY(qreal objAngle READ objAngle NOTIFY objAngleChanged)
    Q_PROPERTY(qreal matchCoeff READ matchCoeff NOTIFY matchCoeffChanged)
    Q_PROPERTY(bool flipped READ flipped NOTIFY flippedChanged)
    Q_PROPERTY(QList<qreal> objCentersX READ objCentersX NOTIFY objArrayChanged)
    Q_PROPERTY(QList<qreal> objCentersY READ objCentersY NOTIFY objArrayChanged)
    Q_PROPERTY(QList<qreal> objsA READ objsA NOTIFY objArrayChanged)
    Q_PROPERTY(qreal cameraAngle MEMBER m_cameraAngle NOTIFY cameraAngleChanged)
    Q_PROPERTY(QImage photo READ photo NOTIFY photoChanged)
    Q_PROPERTY(QImage compareImage MEMBER m_compareImage NOTIFY compareImageChanged)
    Q_PROPERTY(QImage compareNonrotatedImage MEMBER m_compareNonrotatedImage NOTIFY compareNonrotatedImageChanged)
    Q_PROPERTY(QImage compareFlippedImage MEMBER m_compareFlippedImage NOTIFY compareFlippedImageChanged)
    Q_PROPERTY(qreal templMult MEMBER m_templMult NOTIFY templMultChanged)
    Q_PROPERTY(int templateType MEMBER m_templateType NOTIFY templateTypeChanged)
    Q_PROPERTY(int calMode MEMBER m_calMode NOTIFY calModeChanged)
    Q_PROPERTY(int calFramesCaptured READ calFramesCaptured NOTIFY calFramesCapturedChanged)
    Q_PROPERTY(bool calibrationIsAccepted READ calibrationIsAccepted NOTIFY calibrationIsAcceptedChanged)
    Q_PROPERTY(bool calibrationEnabled MEMBER m_calibrationEnabled NOTIFY calibrationEnabledChanged)
    Q_PROPERTY(bool doNotUpdate MEMBER m_doNotUpdate NOTIFY doNotUpdateChanged)
    Q_PROPERTY(QPointF c1 READ c1 NOTIFY cornersChanged)
    Q_PROPERTY(QPointF c2 READ c2 NOTIFY cornersChanged)
    Q_PROPERTY(QPointF c3 READ c3 NOTIFY cornersChanged)
    Q_PROPERTY(QPointF c4 READ c4 NOTIFY cornersChanged)
    Q_PROPERTY(bool mjpg MEMBER m_mjpg NOTIFY mjpgChanged)
    Q_PROPERTY(qreal supposedAngle MEMBER m_supposedAngle NOTIFY supposedAngleChanged)
    Q_PROPERTY(int exposure MEMBER m_exposure NOTIFY exposureChanged)
    Q_PROPERTY(qreal fps MEMBER m_fps NOTIFY fpsChanged)

public:
    explicit CameraItem(QQuickItem *parent = nullptr);
    ~CameraItem() override;

    // Start-up option of the program: the cameras made by `engine` ask their
    // devices for 1280x960 frames instead of 640x480.
    static void setHighResolution(QQmlEngine *engine, bool on);
    static bool highResolution(const QQmlEngine *engine);

    void paint(QPainter *painter) override;
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The processed image shown now (empty before the first frame).
    QImage displayImage() const;
    CameraWorker *worker() const { return m_worker; }
    CameraCapture *captureObject() const { return m_captureObject; }
    bool threadsAreConnected() const { return m_threadsConnected; }

    qreal param1() const { return m_param1; }
    void setParam1(qreal v);
    qreal param2() const { return m_param2; }
    void setParam2(qreal v);
    qreal templMatchCoeff() const { return m_templMatchCoeff; }
    void setTemplMatchCoeff(qreal v);
    qreal flippedEnabled() const { return m_flippedEnabled; }
    void setFlippedEnabled(qreal v);
    qreal flippedTemplMatchCoeff() const { return m_flippedTemplMatchCoeff; }
    void setFlippedTemplMatchCoeff(qreal v);
    QString name() const { return m_name; }
    void setName(const QString &name);
    int roiPercent() const { return m_roiPercent; }
    void setRoiPercent(int percent);

    bool opened() const { return m_opened; }
    bool tooManyContours() const { return m_tooManyContours; }
    int frameWidth() const { return m_frameWidth; }
    int frameHeight() const { return m_frameHeight; }
    bool pinCountCorrect() const { return m_pinCountCorrect; }
    int pinCount() const { return m_pinCount; }
    qreal avgPinDist() const { return m_avgPinDist; }
    qreal minPinDist() const { return m_minPinDist; }
    qreal maxPinDist() const { return m_maxPinDist; }
    bool objFound() const { return m_objFound; }
    qreal objCenterX() const { return m_objCenterX; }
    qreal objCenterY() const { return m_objCenterY; }
    int objWidth() const { return m_objWidth; }
    int objHeight() const { return m_objHeight; }
    qreal exAngle() const { return m_exAngle; }
    qreal objAngle() const { return m_objAngle; }
    qreal matchCoeff() const { return m_matchCoeff; }
    bool flipped() const { return m_flipped; }
    QList<qreal> objCentersX() const { return m_objCentersX; }
    QList<qreal> objCentersY() const { return m_objCentersY; }
    QList<qreal> objsA() const { return m_objsA; }
    QImage photo() const;
    int calFramesCaptured() const { return m_calFramesCaptured; }
    bool calibrationIsAccepted() const { return m_calibrationIsAccepted; }
    QPointF c1() const { return m_c[0]; }
    QPointF c2() const { return m_c[1]; }
    QPointF c3() const { return m_c[2]; }
    QPointF c4() const { return m_c[3]; }

signals:
    void param1Changed(int value);
    void param2Changed(int value);
    void templMatchCoeffChanged(int value);
    void flippedEnabledChanged(bool value);
    void flippedTemplMatchCoeffChanged(int value);
    void modeChanged(QString mode);
    void formatModeChanged(QString formatMode);
    void nameChanged(QString name);
    void inverseChanged(bool inverse);
    void roiPercentChanged(int roiPercent);
    void showPercentChanged(int showPercent);
    void viewTypeChanged(int viewType);
    void targetSizeChanged(qreal targetSize);
    void targetSize2Changed(qreal targetSize2);
    void targetSizeToleranceChanged(int targetSizeTolerance);
    void openedChanged(bool opened);
    void tooManyContoursChanged(bool tooManyContours);
    void captureChanged(bool capture);
    void frameWidthChanged(int frameWidth);
    void frameHeightChanged(int frameHeight);
    void pinCountCorrectChanged(bool pinCountCorrect);
    void pinCountChanged(int pinCount);
    void avgPinDistChanged(qreal avgPinDist);
    void minPinDistChanged(qreal minPinDist);
    void maxPinDistChanged(qreal maxPinDist);
    void objFoundChanged(bool objFound);
    void objCenterXChanged(qreal objCenterX);
    void objCenterYChanged(qreal objCenterY);
    void objWidthChanged(int objWidth);
    void objHeightChanged(int objHeight);
    void exAngleChanged(qreal exAngle);
    void objAngleChanged(qreal objAngle);
    void matchCoeffChanged(qreal matchCoeff);
    void flippedChanged(bool flipped);
    void objArrayChanged();
    void cameraAngleChanged(qreal cameraAngle);
    void photoChanged(QImage photo);
    void compareImageChanged(QImage compareImage);
    void compareNonrotatedImageChanged(QImage compareNonrotatedImage);
    void compareFlippedImageChanged(QImage compareFlippedImage);
    void templMultChanged(qreal templMult);
    void templateTypeChanged(int templateType);
    void calModeChanged(int calMode);
    void calFramesCapturedChanged(int calFramesCaptured);
    void calibrationIsAcceptedChanged(bool calibrationIsAccepted);
    void calibrationEnabledChanged(bool calibrationEnabled);
    void doNotUpdateChanged(bool doNotUpdate);
    void cornersChanged();
    void mjpgChanged(bool mjpg);
    void supposedAngleChanged(qreal supposedAngle);
    void exposureChanged(int exposure);
    void fpsChanged(qreal fps);

    void objectNameInit(QString name);
    void showError(QString errorStr);
    void updated();
    void updated2();
    void frameProcessed();
    void blink();
    void saveCameraCalibration(QVariantList cameraMatrix, QVariantList distCoeffs);
    void getCameraCalibration(QVariantList newCameraMatrix, QVariantList newDistCoeffs);
    void requestPhotoSend();
    void threadsConnected();

public slots:
    void connectThreads();
    void setOpened(bool opened);
    void setTooManyContours(bool tooMany);
    void setSize(int width, int height);
    void getObj(bool found, qreal centerX, qreal centerY, qreal angle, qreal sizeX, qreal sizeY);
    void getFlipped(bool flipped);
    void getMatchCoeff(qreal coeff);
    void getExAngle(qreal angle);
    void getObjArray(QList<qreal> objCentersX, QList<qreal> objCentersY, QList<qreal> objsA);
    void getPins(bool pinCountCorrect, int pinCount, qreal avgPinDist, qreal minPinDist, qreal maxPinDist);
    void calibrationIsAcceptedGet(bool accepted);
    void calFramesCapturedGet(int count);
    void setCalMode(int mode);
    void setFps(qreal fps);
    bool makePhoto();
    Q_INVOKABLE bool makeScan();
    Q_INVOKABLE void requestPhoto();
    Q_INVOKABLE void clipPhoto(int x, int y, int width, int height, qreal angle);
    Q_INVOKABLE void grab(QString fileName);
    // Loads a template from `source` (a data URL, "image://worker/camera2_B0"
    // and other provider ids, a file URL or path; "" takes it away) into the
    // compare image of `kind`: "" (the template), "nonrotated" or "flipped".
    // A source that gives no picture takes the template away too, tells the
    // operator (showError) and answers false.
    Q_INVOKABLE bool loadTemplate(QString source, QString kind = QString());

protected:
    void componentComplete() override;

private slots:
    void followMachinePosition();
    void followMachineOutputs();

private:
    void registerProvider();

    QPointer<CameraThread> m_cameraThread;
    QPointer<CaptureThread> m_captureThread;
    CameraWorker *m_worker = nullptr;
    CameraCapture *m_captureObject = nullptr;
    bool m_threadsConnected = false;
    bool m_providerRegistered = false;
    QPointer<QObject> m_positionSource;
    QVector<QRgb> m_greyTable;

    qreal m_param1 = 50;
    qreal m_param2 = 50;
    qreal m_templMatchCoeff = 80;
    qreal m_flippedEnabled = 0;
    qreal m_flippedTemplMatchCoeff = 80;
    QString m_mode;
    QString m_formatMode;
    QString m_name;
    bool m_inverse = false;
    int m_roiPercent = 50;
    int m_showPercent = 100;
    int m_viewType = 0;
    qreal m_targetSize = 1;
    qreal m_targetSize2 = 1;
    int m_targetSizeTolerance = 5;
    bool m_opened = false;
    bool m_tooManyContours = false;
    bool m_capture = false;
    int m_frameWidth = 1280;
    int m_frameHeight = 960;
    bool m_pinCountCorrect = false;
    int m_pinCount = 0;
    qreal m_avgPinDist = 0;
    qreal m_minPinDist = 0;
    qreal m_maxPinDist = 0;
    bool m_objFound = false;
    qreal m_objCenterX = 0;
    qreal m_objCenterY = 0;
    int m_objWidth = 0;
    int m_objHeight = 0;
    qreal m_exAngle = 0;
    qreal m_objAngle = 0;
    qreal m_matchCoeff = 0;
    bool m_flipped = false;
    QList<qreal> m_objCentersX;
    QList<qreal> m_objCentersY;
    QList<qreal> m_objsA;
    qreal m_cameraAngle = 0;
    mutable QMutex m_photoMutex;
    QImage m_photo;
    QImage m_clipPhoto;
    QImage m_compareImage;
    QImage m_compareNonrotatedImage;
    QImage m_compareFlippedImage;
    qreal m_templMult = 0.3;
    int m_templateType = 1;
    int m_calMode = 0;
    int m_calFramesCaptured = 0;
    bool m_calibrationIsAccepted = false;
    bool m_calibrationEnabled = false;
    bool m_doNotUpdate = false;
    QPointF m_c[4];
    bool m_mjpg = false;
    qreal m_supposedAngle = 0;
    int m_exposure = 50;
    qreal m_fps = 0;
};

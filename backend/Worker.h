#pragma once

#include "backend/DeviceWorkers.h"
#include "backend/OpModel.h"
#include "backend/PackageIndex.h"
#include "backend/SettingsStore.h"
#include "backend/Stopwatch.h"
#include "util/FieldCalibrationTypes.h"
#include "util/UnixSignalWatcher.h"

#include <QColor>
#include <QCursor>
#include <QFileInfoList>
#include <QImage>
#include <QPointer>
#include <QQuickImageProvider>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QVector>

#include <QHash>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class BoardScan;
class QQmlEngine;
class QQuickItem;
class QTranslator;

// The back-end object of the QML user interface. Owns the settings store,
// reads and writes the operator's files, answers utility requests, and once at
// start-up wires every root signal of the main window to the slot that serves
// it and every device-worker signal back to a root function.
//
// The slots are grouped by concern in several source files:
//   Worker.cpp             construction, named items of the main window
//   WorkerSettings.cpp     settings store and machine records
//   WorkerConnections.cpp  the wiring of setConnections()
//   WorkerShell.cpp        language, help texts, cursor, application state
//   WorkerPackages.cpp     package base (the packages found: PackageIndex)
//   WorkerProject.cpp      project file, change check
//   WorkerFeeders.cpp      feeder bank files
//   WorkerOverlaps.cpp     overlapping components
//   WorkerImport.cpp       placement list and BOM import, feeder list export
//   WorkerStatistics.cpp   mounting-time stopwatch, day statistics export
//   WorkerOrdering.cpp     orders of reference marks and placements
//   WorkerMachineConfig.cpp machine configuration checks and editors
//   WorkerCalibration.cpp  work-field calibration grid and correction table
//   WorkerAoi.cpp          inspection against reference photos
//   WorkerDevices.cpp      serial port list, freshness of vacuum readings
//   WorkerPending.cpp      slots of subsystems that are not built yet
//   WorkerImages.cpp       camera lists, pictures, photo editor, board scan
//   WorkerSimulation.cpp   the world the simulated head camera sees
class Worker : public QObject, public QQuickImageProvider
{
    Q_OBJECT
public:
    // root: the main window; engine: the engine that built it. The settings
    // store is "settings.ini" in the program's folder unless a file is named.
    Worker(QQmlEngine *engine, QObject *root, const DeviceWorkers &devices,
           const QString &settingsFile = QString(), QObject *parent = nullptr);

    static QString defaultSettingsFile();
    ~Worker() override;

    QObject *root() const { return m_root; }
    SettingsStore &store() { return m_store; }
    QTranslator *translator() const { return m_translator.get(); }
    // Connections of setConnections() that could not be made (0 when sound).
    int wiringFailures() const { return m_wiringFailures; }
    // Camera quirks were asked for but the rights to reload the camera driver
    // could not be obtained at start-up: setConnections() tells the operator.
    void setCameraQuirksFailed(bool failed) { m_cameraQuirksFailed = failed; }
    // Speeds (units per second) and accelerations of the machine configuration.
    const QVariantList &machineMaxVelocities() const { return m_machineMaxVel; }
    const QVariantList &machineMaxAccelerations() const { return m_machineMaxAcc; }
    const QCursor &refPointCursor() const { return m_refPointCursor; }
    QImage refPointCursorImage() const { return m_refPointImage; }

public slots:
    // --- wiring and settings store
    void setConnections();
    void loadSetting(QString section, QString name, QVariant def);
    // The value stored under a key as the store holds it (invalid when absent),
    // for settings whose stored form is converted on the QML side.
    QVariant storedSetting(QString section, QString name);
    void saveSetting(QString section, QString name);
    void loadSettings();
    void saveSettings();
    bool checkSetting(QString name, QSettings *s);

    // --- project file
    // Opens a project: board, components, marks, dots, log and statistics.
    void openProject(QUrl fileName);
    // Saves the open project (with a backup of the previous file).
    void saveProject(QUrl fileName);
    // Reads the components, marks and dots of a project file.
    void openElements(QUrl projectName);
    // Writes the components, marks and dots into a project file.
    void saveElements(QSettings *pSettings);
    // Reads the board description; returns an error text or empty.
    QString openPcb(QUrl projectName);
    // Writes the board description.
    void savePcb(QSettings *pSettings);
    // Recomputes the overlaps of one component (and its neighbours).
    void recalculateOverlaps(QVariant currElVar, bool repeat);
    // Recomputes the overlaps of every component.
    void recalculateAllOverlaps();
    // True when the open project differs from its file.
    bool checkProjectHasChanges(QUrl fileName);
    // True when the named file exists.
    bool checkFileExistance(QUrl fileName);
    // Remembers the folder of a project as the start folder of file dialogs.
    void setLastProjectFolder(QString projectName);

    // --- feeder banks
    // Opens a feeder bank file into its bank.
    void openFeeders(QUrl fileName);
    // Saves a bank into its feeder file.
    void saveFeeders(QUrl fileName);
    // The same, telling whether the file was written (the operator was told
    // why not; the old file stays as it was).
    bool saveFeedersChecked(QUrl fileName);
    // Compares a project's feeder banks with the open ones.
    void checkFeederBanksMatch(QUrl fileName);
    // True when a bank differs from its file.
    bool checkFeedersHasChanges(QUrl fileName);
    // The entry of one feeder.
    QVariantMap feederInfo(QString model, int index);
    // Copies feeder properties to the components of the given list.
    void feederPropsToElements(QVariantList list);

    // --- package base
    // Reads the package base folder into the package list.
    void loadPackageList();
    // Writes the package base settings.
    void savePackageSettings();
    // Searches folders for package pictures.
    void reqursivePackageSearch(QFileInfoList list, bool appending);
    // The package name derived from a package picture file name.
    QString getPackageByFilename(QString elPath);
    // Package parameters from a package picture file name.
    QVariantMap elParamsGet(QString fileName);

    // --- component and feeder list import and export
    // Imports a CAD placement list with the given separator and columns.
    void openFileImport(QString name, QString delim, int elPackCol, int elPartNumberCol, int elDesigCol,
                        int elXCol, int elYCol, int elACol);
    // Imports a feeder list (bill of materials) with the given columns.
    void openFeederFileImport(QString name, QString delim, int feederPackCol, int feederPartNumberCol,
                              int feederDesigCol, int feederCountCol);
    // Exports the feeder list to a file.
    void feederListExportGet(QString fileURL);

    // --- statistics, mounting time, project log
    void stopwatchStart();
    void stopwatchStop();
    void stopwatchPause();
    void stopwatchResume();
    // Counts the mounting time while the stopwatch runs.
    void stopwatchTimerTriggered();
    // Computes the mounting time of the board.
    void calcPcbMountTime();
    // Formats a number of seconds as a mounting time.
    QString calcPcbMountTime2(int seconds);
    void saveProjectLog(QSettings *pSettings);
    QString openProjectLog(QUrl fileName);
    void saveProjectStat(QSettings *pSettings);
    QString openProjectStat(QUrl fileName);
    // Exports the day statistics to a file.
    void projectDayStatisticsExportGet(QString fileURL);

    // --- machine configuration
    // Checks the LinuxCNC configuration (ini and HAL files).
    void iniFileCheck(QString iniFile);
    // Reads the speeds and accelerations of the configuration.
    void iniGetSpeedAcc(QString iniFile);
    // Writes speeds and accelerations into the configuration.
    void maxVelAccGet(QString fileName, double v1, double v2, double v3, double v4, double v5, double v6,
                      double a1, double a2, double a3, double a4);
    // Writes encoder scales into the configuration (refused, file untouched,
    // when a scale is 0 or not a finite number).
    void encoderScaleGet(QString fileName, double eSX, double eSY);
    // Writes step generator scales into the configuration (refused likewise).
    void stepperScaleGet(QString fileName, double sSX, double sSY);
    // Lists the serial ports for the instrument settings.
    void serialPortInfoGet();
    // Speeds reported by the machine link.
    void maxVelGet(QVariant v1, QVariant v2, QVariant v3, QVariant v4, QVariant v5, QVariant v6);
    // Accelerations reported by the machine link.
    void maxAccGet(QVariant a1, QVariant a2, QVariant a3, QVariant a4);
    // Computes how fresh a vacuum reading must be.
    void vsMeasureTimeFreshCalc();
    // Now on the clock that stamps vacuum readings (ms, forward only).
    double vsClock() const;

    // --- ordering
    // Orders the reference marks (ant colony).
    void antSortGet();
    // Orders the placements (nearest walk).
    void nearestSortGet();

    // --- cameras, images, field calibration, inspection
    // Lists the cameras.
    void readCameraList();
    // Lists the modes of a camera.
    void readCameraModes(int number);
    // Makes an image from a file for the image provider.
    void makeQImage(QString name);
    // Saves a screenshot of the program.
    void takeScreenShot();
    // Prepares an empty picture for a board scan.
    void scanStart(double boardWidth, double boardHeight, double scanWidth, double scanHeight, double ppm);
    // Adds the current head camera frame to the board scan.
    void scanStep(double x, double y);
    // Writes the board scan as PNG.
    void scanFinish(QString fileName);
    // Computes the field-correction table from the measured grid.
    void calcFieldCalibrationGet(int xCount, int yCount);
    // Loads the field-correction table and sends it to the machine link.
    void fieldCalibrationLoad();
    // Compares the photo of a placed component with its template; either
    // may be an image or a picture kept as a data URL.
    void makeAoi(QVariant templateImage, QVariant compareImage, int threshold, int erosionSize);
    // A picture (an image, or already a data URL) as the data URL that
    // records keep ("data:image/png;base64,..."); empty for none.
    QString imageDataUrl(QVariant image);
    // Loads a photo into the photo editor.
    bool photoEditorUploadPhoto(QString fileName);
    // Cuts a rotated part out of the photo.
    void clipPhoto(int x, int y, int width, int height, double angle);

    // --- the simulated machine
    // The world the simulated head camera shows (SimulatedWorld's map); an
    // empty map takes it away. A description the world refuses clears it and
    // tells the operator.
    void simWorldGet(QVariant world);
    // Where the real board lies against the project: turned by `angle`
    // degrees about the world's pivot, then moved by (dx, dy) mm.
    void simWorldSetBoardDisplacement(double dx, double dy, double angle);
    // The world shown now (SimulatedWorld's map) and the displacement
    // ({"dx", "dy", "angle"}).
    QVariantMap simWorld() const;
    QVariantMap simWorldBoardDisplacement() const;
    // Every part the simulated nozzle let go, oldest first: {"bank",
    // "feeder", "pocket", "width", "height", "thickness", "x", "y", "a" (the
    // nozzle), "partX", "partY", "partAngle" (where the part landed),
    // "onBoard"}.
    QVariantList simWorldReleases() const;
    // Whether the simulated nozzle holds a part now.
    bool simWorldHoldsPart() const;
    // Empty nozzle, full feeders, no parts on the boards, no releases.
    void simWorldResetParts();
    // The real tape of tape feeder `index` (from 0) of bank `bank` lies (dx,
    // dy) mm off the pick point its record gives now, and stays there when
    // the program stores another one. False when the simulated world has no
    // such tape or an offset is not a number of at most 20 mm.
    bool simWorldSetTapeOffset(const QString &bank, int index, double dx, double dy);
    // Every simulated tape back where its feeder record says.
    void simWorldClearTapeOffsets();
    // Faults of feeder `index` (from 0) of bank `bank` ("L", "R", "U",
    // "B"), kept when the world is sent again (SimulatedWorld): every part
    // the nozzle takes sits (dx, dy) mm off (machine axes at the pick) and
    // `turn` degrees (counter-clockwise) turned beyond the nozzle's own
    // miss; `missPattern` (a number n: every n-th pick; or a text such as
    // "001", read over and over, "1" a missed pick) leaves parts where they
    // lie. False, with a diagnostic, for a feeder or value it refuses.
    bool simWorldSetPickError(QString bank, int index, double dx, double dy, double turn, QVariant missPattern);
    // The RLC meter emulator measures the parts of that feeder marked by
    // `partsPattern` (as above, over the parts taken; 1 for every part) at
    // `factor` times their value.
    bool simWorldSetRlcError(QString bank, int index, double factor, QVariant partsPattern);
    // The parts lying on the placer of loose-part feeder `index` of `bank`:
    // [{"x", "y", "angle", "flipped"}, ...] (machine mm, degrees
    // counter-clockwise; "width" and "height" when not the feeder's), now
    // and after simWorldResetParts.
    bool simWorldSetLooseParts(QString bank, int index, QVariant parts);
    // Forgets every pick error, RLC error and simWorldSetLooseParts.
    void simWorldClearErrors();
    // A loose part of width x height mm as the simulated head camera sees
    // it, upright or upside down, at angle 0 with 0.5 mm of placer around:
    // a photo for a feeder's elPhoto / elFlippedPhoto ("data:image/png;base64,...").
    QString simWorldPartPhoto(double width, double height, bool flipped);
    // The calibration object on the simulated table: {"x", "y", "angle",
    // "width", "height", "thickness", "pickZ", "round"}; an empty map takes
    // it away. False (nothing changed) for a value that is not a finite
    // number or a size that is not positive.
    bool simWorldSetTableObject(QVariantMap object);
    // Where it lies now ({"present", "x", "y", "angle", ...}).
    QVariantMap simWorldTableObject() const;
    // The cameras off where the program believes them: {"headDx", "headDy"}
    // (the head camera sees that much beyond its offset) and, when given,
    // {"componentX", "componentY"} (the component camera stands there
    // instead of always at the nozzle). An empty map: no faults. False for a
    // value that is not a finite number.
    bool simWorldSetCameraFaults(QVariantMap faults);
    // The parts on the boards (simWorld()["placedParts"] order): leave one
    // out, move one by (dx, dy) mm and turn it by `angle` degrees
    // counter-clockwise, or put one there. False for an index that is not
    // a placed part or a value that is not a finite number.
    bool simWorldRemovePlacedPart(int index);
    bool simWorldMovePlacedPart(int index, double dx, double dy, double angle);
    bool simWorldAddPlacedPart(double x, double y, double angle, double width, double height);

    // --- this object
    void setRefPointCursor(bool visible);
    void setRefPointCursorColor(QColor col);
    void setRefPointCursorType(int type);
    void repaintRefPoint();
    void paintCircle(QImage *image);
    void paintSquare(QImage *image);
    void translate(QString lang);
    void readGCodeHelp(QString lang);
    void sigHandler(int signal);
    void quitGet();
    void applicationStateChangedGet(Qt::ApplicationState state);
    // The operator's attention sound (errors, panels): the system beep.
    void beep();
    // Beeps given since start.
    int beepCount() const { return m_beepCount; }

public:
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

signals:
    void createElement(QVariant elementPath, QVariant partNumber, QVariant model, QVariant index, QVariant x,
                       QVariant y, QVariant angle, QVariant disabled, QVariant designator, QVariant preferredRef1,
                       QVariant preferredRef2, QVariant elPhoto);
    void setRefPoint(QVariant x, QVariant y, QVariant disabled, QVariant indiv, QVariant type, QVariant size,
                     QVariant size2, QVariant inv, QVariant roi, QVariant templateMathCoeff, QVariant t1,
                     QVariant t2, QVariant photo, QVariant id);
    void setDot(QVariant model, QVariant index, QVariant x, QVariant y, QVariant disabled, QVariant preferredRef1,
                QVariant preferredRef2);
    void pcbSetXY(QVariant newX, QVariant newY);
    void pcbSetRotation(QVariant anchorX, QVariant anchorY, QVariant rotation);
    void setFirstPcbXY();
    void addImportElement(QVariant elPack, QVariant elPartNumber, QVariant designators, QVariant count,
                          QVariant x, QVariant y, QVariant angle, QVariant designator, QVariant model,
                          QVariant index1, QVariant comment);
    void addImportFeeder(QVariant feederPack, QVariant feederPartNumber, QVariant designators, QVariant count);
    void iniFileCorrectSend(QVariant correct);
    void iniMesaTypeSend(QVariant type);
    void iniIPSend(QString address);
    void maxVelSend(QVariant v1, QVariant v2, QVariant v3, QVariant v4, QVariant v5, QVariant v6);
    void maxAccSend(QVariant a1, QVariant a2, QVariant a3, QVariant a4);
    void calcElementRectSend();
    void mapFeedersToElementsSend(QVariant onStart);
    void inputsExistsSend(QVariant exists);
    void sendPreviouslyOpenedFeederBanks(QVariant fileName, QVariant b, QVariant l, QVariant u, QVariant r);
    void showError(QVariant message, QVariant silent, QVariant type);
    void showError(QVariant message, QVariant silent);
    void showError(QVariant message);
    void errorSend(QVariant message);
    void sendFieldCalibration(twoDPoint2fVector table, int width, int height);
    void sendFieldCalibrationAvailable(QVariant available);
    void projectDayStatisticsAppendSeconds(QVariant seconds);

private:
    QQuickItem *findItem(const char *objectName) const;
    // Tells the operator and returns true when a scale may not be written.
    bool refuseScales(const QString &kind, double x, double y);
    QVariant invoke(QObject *invoker, const char *function, const QVariantList &args = {}) const;
    void setRootProperty(const char *name, const QVariant &value);
    QVariant rootProperty(const char *name) const;
    // The QML objects of a root list property (a script array of objects).
    QList<QObject *> rootObjectList(const char *name) const;

    // Package base: the packages found so far, in the order of the package
    // list of the main window.
    QString packageBaseIniPath() const;
    PackageIndex m_packages;

    // Settings store: writes it now, telling the operator when that failed;
    // syncStoreSoon() writes it on the next turn of the event loop (once for
    // a burst of changed settings).
    bool syncStore();
    void syncStoreSoon();
    bool m_storeSyncQueued = false;

    // Project: the steps of saving into an open settings object, and reading.
    void writeProject(QSettings &settings);
    QString openPcbFrom(QSettings &settings, const QString &projectPath);
    void openElementsFrom(QSettings &settings);
    bool readable(QSettings &settings, const QString &path);
    void openProjectStatFrom(QSettings &settings);
    void openProjectLogFrom(QSettings &settings);
    // Private folder of this process for the change checks.
    QString changeCheckPath(const QString &fileName);
    bool isChangeCheckFile(const QString &path) const;
    std::unique_ptr<QTemporaryDir> m_changeCheckDir;

    // Feeder banks.
    bool writeFeederBank(const QString &path, QString *error);
    // A photo of a feeder by its image id: "camera2_B0" (component camera
    // template), "B0" (the part on a placer), "flipped_B0" (the part upside
    // down); a null image when there is none, or (with a message) when it
    // does not decode.
    static bool isFeederPhotoId(const QString &id);
    QImage feederPhoto(const QString &id);
    void showFileError(const QString &message, const QString &path);

    // Mounting time of the running job.
    Stopwatch m_stopwatch;

    // Overlaps: true while every component is being recomputed.
    bool m_fullOverlapRun = false;

    // Fields in the order the design describes them.
    int m_cursorShape = 0;
    QColor m_cursorColor = Qt::black;
    QTimer m_stopwatchTimer;
    // Images served to QML by id: the last screenshot of the main window
    // ("screenShot"), the photo loaded into the photo editor
    // ("photoEditorUploadPhoto") and the part of it clipped there
    // ("photoEditorUploadPhotoClipped").
    QImage m_screenShot;
    QImage m_editorPhoto;
    QImage m_editorClip;
    OpModel m_opModel;
    OpModel m_missedModel;
    UnixSignalWatcher m_signalWatcher;
    QVector<QRgb> m_greyTable;
    std::shared_ptr<BoardScan> m_boardScan;

    QQmlEngine *m_engine = nullptr;
    QPointer<QObject> m_root;
    DeviceWorkers m_devices;
    SettingsStore m_store;
    QVariantList m_feederProps;
    QImage m_refPointImage;
    QCursor m_refPointCursor;
    bool m_refPointCursorShown = false;
    std::unique_ptr<QTranslator> m_translator;
    bool m_connected = false;
    int m_wiringFailures = 0;
    bool m_cameraQuirksFailed = false;
    int m_beepCount = 0;
    QVariantList m_machineMaxVel;
    QVariantList m_machineMaxAcc;

    // Named items of the main window.
    QPointer<QQuickItem> m_cupInvoker;
    QPointer<QQuickItem> m_pcbMultiNonstandartInvoker;
    QPointer<QQuickItem> m_bandBankInvoker;
    QPointer<QQuickItem> m_vibroBankInvoker;
    QPointer<QQuickItem> m_feedersInvoker;
    QPointer<QQuickItem> m_projectLogInvoker;
    QPointer<QQuickItem> m_projectDayStatisticsMInvoker;
    QPointer<QQuickItem> m_fieldCalibListInvoker;
    QPointer<QQuickItem> m_packageInvoker;
    QPointer<QQuickItem> m_elementView;
    QPointer<QQuickItem> m_area;
    QPointer<QQuickItem> m_camera1;
    QPointer<QQuickItem> m_camera2;
};

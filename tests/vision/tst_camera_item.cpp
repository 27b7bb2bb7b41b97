// The camera item on its own: image provider, and the frame pipeline of its
// two threads on a simulated camera.
#include "vision/CameraItem.h"
#include "vision/SimulatedStage.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestCameraItem : public QObject
{
    Q_OBJECT

private slots:
    // Once it has a device name, the item serves its pictures to the QML
    // engine under its object name, a blank pixel for anything it has not;
    // the engine's provider outlives the item safely.
    void registeredAsImageProvider()
    {
        qmlRegisterType<CameraItem>("OpenCV", 1, 0, "Camera");
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick 2.15\nimport OpenCV 1.0\n"
                          "Item { Camera { objectName: \"camA\"; name: \"sim:board\" }\n"
                          "       Camera { objectName: \"camB\" } }",
                          QUrl());
        QScopedPointer<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        QVERIFY(engine.imageProvider("camA"));
        QVERIFY(!engine.imageProvider("camB"));
        auto *provider = static_cast<QQuickImageProvider *>(engine.imageProvider("camA"));
        QSize size;
        QCOMPARE(provider->requestImage("invalid", &size, QSize()).size(), QSize(1, 1));
        QCOMPARE(size, QSize(1, 1));
        QCOMPARE(provider->requestImage("photo", &size, QSize()).size(), QSize(1, 1));
        root.reset();
        QCOMPARE(provider->requestImage("photo", &size, QSize()).size(), QSize(1, 1));
    }

    // The pipeline of the item's threads on the simulated board: frames reach
    // the processing object, the shown image appears, a requested photo comes
    // back as the photo property (grey, 32-bit), and the clip is served.
    void framesThroughTheThreads()
    {
        SimulatedStage::Position p;
        p.x = 100;
        p.y = 50;
        SimulatedStage::setPosition(p);
        CameraItem item;
        item.setObjectName(QStringLiteral("camera1"));
        QSignalSpy connected(&item, &CameraItem::threadsConnected);
        QSignalSpy opened(&item, &CameraItem::openedChanged);
        QSignalSpy processed(&item, &CameraItem::frameProcessed);
        QSignalSpy photo(&item, &CameraItem::photoChanged);
        item.setProperty("name", QStringLiteral("sim:board"));
        item.setProperty("capture", true);
        QVERIFY(connected.count() == 1 || connected.wait(3000));
        QVERIFY(opened.count() == 1 || opened.wait(3000));
        QVERIFY(item.opened());
        QCOMPARE(item.frameWidth(), 640);
        QCOMPARE(item.frameHeight(), 480);
        QVERIFY(processed.wait(3000));
        QCOMPARE(item.displayImage().size(), QSize(640, 480));
        QTRY_VERIFY(item.property("fps").toReal() > 0);

        item.requestPhoto();
        QVERIFY(photo.wait(3000));
        const QImage shot = item.photo();
        QCOMPARE(shot.size(), QSize(640, 480));
        QCOMPARE(shot.format(), QImage::Format_RGB32);
        const QRgb centre = shot.pixel(320, 240); // the mark under the camera
        QCOMPARE(qRed(centre), qGreen(centre));
        QCOMPARE(qGreen(centre), qBlue(centre));
        QVERIFY(qGray(centre) > 170);

        item.clipPhoto(310, 230, 20, 20, 0);
        QSize size;
        const QImage clip = item.requestImage(QStringLiteral("clipPhoto"), &size, QSize());
        QCOMPARE(size, QSize(20, 20));
        QVERIFY(qGray(clip.pixel(10, 10)) > 170);

        // The shown image saved to a file.
        QTemporaryDir dir;
        item.grab(dir.filePath("shown.png"));
        QCOMPARE(QImage(dir.filePath("shown.png")).size(), QSize(640, 480));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be saved"));
        item.grab(dir.filePath("missing/folder/shown.png"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"shown.png"});
    }
};

QTEST_MAIN(TestCameraItem)
#include "tst_camera_item.moc"

// The capture state machine and frame loop, behind a fake camera.
#include "FakeVideoDevice.h"
#include "Near.h"

#include "vision/CameraCapture.h"
#include "vision/FrameConverter.h"

extern "C" {
#include <mjpegtools/jpegutils.h>
}

#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kDevice = QStringLiteral("/dev/v4l/by-path/fake-video-index0");

// Every YUYV group of frame n: luma 235 - 10 n (two pixels), neutral chroma,
// so frame 0 is white and every later one a darker flat grey.
std::size_t fillGrey(std::uint8_t *data, std::size_t length, std::uint32_t format, int frame)
{
    if (format != V4L2_PIX_FMT_YUYV)
        return 0;
    for (std::size_t i = 0; i + 3 < length; i += 4) {
        data[i] = data[i + 2] = std::uint8_t(235 - 10 * frame);
        data[i + 1] = data[i + 3] = 128;
    }
    return length;
}

// Grey level of a frame made by fillGrey.
int greyOf(int frame)
{
    const std::uint8_t src[4] = {std::uint8_t(235 - 10 * frame), 128, std::uint8_t(235 - 10 * frame), 128};
    std::uint8_t dst[6];
    FrameConverter::yuyvToBgr(src, 4, dst, 6);
    return dst[0];
}

struct Rig {
    std::shared_ptr<FakeCameraState> state = std::make_shared<FakeCameraState>();
    CameraCapture capture;
    QSignalSpy opened{&capture, &CameraCapture::openedChanged};
    QSignalSpy sizes{&capture, &CameraCapture::sendSize};
    QSignalSpy frames{&capture, &CameraCapture::frameCaptured};
    QSignalSpy errors{&capture, &CameraCapture::showError};

    explicit Rig(FakeFault fault = FakeFault::None)
    {
        state->fault = fault;
        state->fill = fillGrey;
        auto s = state;
        capture.setDeviceFactory([s](const QString &) { return std::make_unique<FakeVideoDevice>(s); });
        capture.setRunCommands(false);
        capture.setRestartInterval(5);
        capture.setStallTimeout(10);
        capture.setName(kDevice);
    }
};

} // namespace

class TestCameraCapture : public QObject
{
    Q_OBJECT

private slots:
    void opensStreamsAndPublishes()
    {
        Rig rig;
        rig.capture.setCapture(true);
        QVERIFY(rig.capture.isOpened());
        QCOMPARE(rig.opened.count(), 1);
        QCOMPARE(rig.opened.at(0).at(0).toBool(), true);
        QCOMPARE(rig.sizes.count(), 1);
        QCOMPARE(rig.sizes.at(0).at(0).toInt(), 640);
        QCOMPARE(rig.sizes.at(0).at(1).toInt(), 480);
        QCOMPARE(rig.state->mapped, 4);
        QCOMPARE(rig.state->requestedFormats, std::vector<std::uint32_t>{V4L2_PIX_FMT_YUYV});
        QVERIFY(rig.capture.frameTimerActive());

        rig.capture.captureFrame();
        QCOMPARE(rig.frames.count(), 1);
        cv::Mat frame;
        bool color = false;
        QVERIFY(rig.capture.takeFrame(frame, &color));
        QVERIFY(color);
        QCOMPARE(frame.cols, 640);
        QCOMPARE(frame.rows, 480);
        QCOMPARE(int(frame.at<cv::Vec3b>(0, 0)[0]), greyOf(0));
        QCOMPARE(int(frame.at<cv::Vec3b>(479, 639)[2]), greyOf(0));
    }

    // At most one notification is outstanding: frames that arrive before the
    // processing object takes one are published silently, and the copy it
    // takes is the newest and stays intact while later frames arrive.
    void handOverOneAtATime()
    {
        Rig rig;
        rig.capture.setCapture(true);
        rig.capture.captureFrame();
        rig.capture.captureFrame();
        rig.capture.captureFrame();
        QCOMPARE(rig.frames.count(), 1);
        cv::Mat frame;
        QVERIFY(rig.capture.takeFrame(frame, nullptr));
        QCOMPARE(int(frame.at<cv::Vec3b>(100, 100)[1]), greyOf(2));
        rig.capture.captureFrame();
        QCOMPARE(rig.frames.count(), 2);
        rig.capture.captureFrame();
        QCOMPARE(int(frame.at<cv::Vec3b>(100, 100)[1]), greyOf(2));
        cv::Mat next;
        QVERIFY(rig.capture.takeFrame(next, nullptr));
        QCOMPARE(int(next.at<cv::Vec3b>(100, 100)[1]), greyOf(4));
    }

    // A fault that makes an open fail leaves nothing behind: no open
    // descriptor, no mapping (some buffers were mapped when the third
    // fails), no opened state; the restart timer takes over. A frame larger
    // than the conversion buffers is refused before any buffer is asked for.
    void failedOpenReleasesEverything_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("oversize format") << int(FakeFault::Oversize);
        QTest::newRow("mapping fails") << int(FakeFault::MmapFails);
    }
    void failedOpenReleasesEverything()
    {
        QFETCH(int, fault);
        Rig rig{static_cast<FakeFault>(fault)};
        rig.capture.setCapture(true);
        QVERIFY(!rig.capture.isOpened());
        QCOMPARE(rig.opened.count(), 0);
        QCOMPARE(rig.state->openFds, 0);
        QCOMPARE(rig.state->mapped, 0);
        QVERIFY(rig.capture.restartTimerActive());
        QVERIFY(!rig.capture.frameTimerActive());
        QCOMPARE(rig.capture.commandsRun().size(), 0);
    }

    void refusedFormatFallsBackToLowRes()
    {
        Rig rig(FakeFault::FormatRefusedOnce);
        rig.capture.setRequestedSize(1280, 960);
        rig.capture.setMjpg(true);
        QTest::ignoreMessage(QtDebugMsg, "lowRes!");
        rig.capture.setCapture(true);
        QVERIFY(rig.capture.isOpened());
        QCOMPARE(rig.state->requestedFormats,
                 (std::vector<std::uint32_t>{V4L2_PIX_FMT_MJPEG, V4L2_PIX_FMT_YUYV}));
        QCOMPARE(rig.state->requestedSizes, (std::vector<std::pair<int, int>>{{1280, 960}, {640, 480}}));
        QCOMPARE(rig.sizes.at(0).at(0).toInt(), 640);
    }

    // Frames the driver hands over wrongly: a buffer index out of range is
    // dropped (the device stays open, the loop goes on); conversion stops at
    // the mapped buffer whatever bytesused claims.
    void badFrames_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("published");
        QTest::newRow("buffer index out of range") << int(FakeFault::BadIndex) << false;
        QTest::newRow("bytesused beyond the buffer") << int(FakeFault::OverlongBytesUsed) << true;
    }
    void badFrames()
    {
        QFETCH(int, fault);
        QFETCH(bool, published);
        Rig rig(static_cast<FakeFault>(fault));
        rig.capture.setCapture(true);
        rig.capture.captureFrame();
        QCOMPARE(rig.frames.count(), published ? 1 : 0);
        QVERIFY(rig.capture.isOpened());
        QVERIFY(rig.capture.frameTimerActive());
        cv::Mat frame;
        QCOMPARE(rig.capture.takeFrame(frame, nullptr), published);
        if (published)
            QCOMPARE(int(frame.at<cv::Vec3b>(479, 639)[0]), 255);
    }

    // A frame that does not decode is dropped; the next good one is shown.
    void decodeFailureDropsFrame()
    {
        Rig rig;
        rig.capture.setMjpg(true);
        rig.state->fill = [](std::uint8_t *data, std::size_t length, std::uint32_t format, int frame) -> std::size_t {
            if (format != V4L2_PIX_FMT_MJPEG)
                return 0;
            if (frame == 0) {
                std::memset(data, 0x55, 1000);
                return 1000;
            }
            std::vector<std::uint8_t> y(640 * 480, 200), c(320 * 240, 128);
            const int n = encode_jpeg_raw(data, int(length), 90, 0, 420, 640, 480, y.data(), c.data(), c.data());
            return std::size_t(std::max(n, 0));
        };
        rig.capture.setCapture(true);
        QVERIFY(rig.capture.isOpened());
        rig.capture.captureFrame();
        QCOMPARE(rig.frames.count(), 0);
        QVERIFY(rig.capture.isOpened());
        rig.capture.captureFrame();
        QCOMPARE(rig.frames.count(), 1);
        cv::Mat frame;
        QVERIFY(rig.capture.takeFrame(frame, nullptr));
        VERIFY_WITHIN(int(frame.at<cv::Vec3b>(240, 320)[1]), 200 - 16, 2);
    }

    // No frame within the stall time: the device is closed and opened again
    // at once, without telling anyone it was closed; MJPEG asked for
    // meanwhile takes effect then.
    void stallReopensWithoutClosedNotice()
    {
        Rig rig;
        rig.capture.setCapture(true);
        rig.capture.setMjpg(true);
        QCOMPARE(rig.state->opens, 1);
        rig.state->fault = FakeFault::Stall;
        rig.capture.captureFrame();
        QCOMPARE(rig.capture.openedName(), kDevice);
        QCOMPARE(rig.state->opens, 2);
        QCOMPARE(rig.state->closes, 1);
        QCOMPARE(rig.state->openFds, 1);
        QCOMPARE(rig.state->mapped, 4);
        QVERIFY(rig.capture.isOpened());
        QCOMPARE(rig.opened.count(), 1);
        QCOMPARE(rig.state->requestedFormats,
                 (std::vector<std::uint32_t>{V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_MJPEG}));
    }

    // Unplugged while capturing: the reopen fails (opened goes false once),
    // the restart timer retries, and on its sixth firing the operator is
    // told; the retries then stop. A new request by the user starts the
    // count again, and the camera, back, is opened.
    void unplugRetriesThenTellsOperator()
    {
        Rig rig(FakeFault::Unplug);
        rig.capture.setCapture(true);
        rig.capture.captureFrame();
        rig.capture.captureFrame();
        QCOMPARE(rig.frames.count(), 1);
        rig.capture.captureFrame(); // stalls: unplugged
        QVERIFY(!rig.capture.isOpened());
        QCOMPARE(rig.opened.count(), 2);
        QCOMPARE(rig.opened.at(1).at(0).toBool(), false);
        QCOMPARE(rig.state->openFds, 0);
        QCOMPARE(rig.state->mapped, 0);
        QVERIFY(rig.errors.wait(2000));
        QCOMPARE(rig.errors.count(), 1);
        QCOMPARE(rig.errors.at(0).at(0).toString(), QStringLiteral("Не удалось захватить изображение с камеры!"));
        QCOMPARE(rig.capture.restartTries(), 6);
        QVERIFY(!rig.capture.restartTimerActive());
        QTest::qWait(50);
        QCOMPARE(rig.errors.count(), 1);
        QCOMPARE(rig.state->openFds, 0);

        rig.state->fault = FakeFault::None;
        rig.state->unplugged = false;
        rig.capture.setCapture(true);
        QVERIFY(rig.capture.isOpened());
        QCOMPARE(rig.capture.restartTries(), 0);
        QCOMPARE(rig.opened.count(), 3);
    }

    // setCapture(false) keeps the device open and streaming; the loop stops
    // after at most one more frame, which is not published.
    void captureOffKeepsDeviceOpen()
    {
        Rig rig;
        rig.capture.setCapture(true);
        rig.capture.captureFrame();
        rig.capture.setCapture(false);
        QVERIFY(rig.capture.isOpened());
        QCOMPARE(rig.opened.count(), 1);
        const int delivered = rig.state->framesDelivered;
        QTRY_VERIFY(!rig.capture.frameTimerActive());
        QTest::qWait(30);
        QCOMPARE(rig.state->framesDelivered, delivered + 1);
        QVERIFY(!rig.capture.frameTimerActive());
        QCOMPARE(rig.frames.count(), 1);
    }

    void exposureCommandsForOpenDevice()
    {
        Rig rig;
        rig.capture.setExposure(70); // nothing open: nothing run
        QCOMPARE(rig.capture.commandsRun().size(), 0);
        rig.capture.setCapture(true);
        // The three commands, with the device as one argument each.
        QCOMPARE(rig.capture.commandsRun(),
                 (QList<QStringList>{{"--set-ctrl=exposure_auto=1,exposure_absolute=70,exposure_auto_priority=0,"
                                      "white_balance_temperature_auto=0",
                                      "--device=" + kDevice},
                                     {"--set-ctrl=exposure_auto=1,exposure_absolute=70", "--device=" + kDevice},
                                     {"--set-ctrl=auto_exposure=1,exposure_time_absolute=70", "--device=" + kDevice}}));
    }

    // The real device code on a character device that is no camera: nothing
    // opens and no descriptor is left behind.
    void realDeviceRefusal()
    {
        const int before = QDir(QStringLiteral("/proc/self/fd")).count();
        CameraCapture capture;
        capture.setRunCommands(false);
        capture.setRestartInterval(100000);
        QSignalSpy opened(&capture, &CameraCapture::openedChanged);
        capture.setName(QStringLiteral("/dev/null"));
        capture.setCapture(true);
        QVERIFY(!capture.isOpened());
        QCOMPARE(opened.count(), 0);
        QVERIFY(capture.restartTimerActive());
        QCOMPARE(QDir(QStringLiteral("/proc/self/fd")).count(), before);
        QCOMPARE(capture.commandsRun().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCameraCapture)
#include "tst_camera_capture.moc"

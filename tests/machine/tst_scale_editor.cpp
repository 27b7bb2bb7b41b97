// The scale editor of the machine configuration: the encoder and step
// generator scales of X and Y are written into the ini file, and a scale
// that is 0 or not a finite number is refused with an operator message
// while the file stays byte for byte as it was.
#include "TestSupport.h"
#include "app/DeviceThreads.h"
#include "backend/Worker.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <limits>

namespace {

const char *kIni = R"([DISPLAY]
DISPLAY = linuxcncrsh --path /
[JOINT_0]
SCALE = 80
STEP_SCALE = 80
ENCODER_SCALE = 400
[JOINT_1]
STEP_SCALE = 80
ENCODER_SCALE = -400
[JOINT_2]
STEP_SCALE = 80
ENCODER_SCALE = 200
)";

const double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestScaleEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Worker> m_worker;
    QString m_ini;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_ini = m_dir->filePath(QStringLiteral("machine.ini"));
        QVERIFY(TestSupport::writeFile(m_ini, kIni));
        m_worker = std::make_unique<Worker>(nullptr, nullptr, DeviceWorkers{},
                                            m_dir->filePath(QStringLiteral("settings.ini")));
    }
    void cleanup()
    {
        m_worker.reset();
        m_dir.reset();
    }

    // Usable scales (a negative one too: a reversed strip) are written; 0 and
    // numbers that are not finite are refused and the file stays as it was.
    // No leftover is left beside it either way.
    void scalesWrittenOrRefused_data()
    {
        QTest::addColumn<bool>("encoder");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QByteArray>("expected");   // empty: refused
        QByteArray enc(kIni);
        enc.replace("ENCODER_SCALE = 400", "ENCODER_SCALE = 402.000000");
        enc.replace("ENCODER_SCALE = -400", "ENCODER_SCALE = -400.000000");
        QByteArray step(kIni);
        step.replace("STEP_SCALE = 80\nENCODER_SCALE = 400", "STEP_SCALE = 402.000000\nENCODER_SCALE = 400");
        step.replace("STEP_SCALE = 80\nENCODER_SCALE = -400", "STEP_SCALE = -400.000000\nENCODER_SCALE = -400");
        QTest::newRow("encoder") << true << 402.0 << -400.0 << enc;
        QTest::newRow("step generator") << false << 402.0 << -400.0 << step;
        QTest::newRow("encoder Y 0") << true << 400.0 << 0.0 << QByteArray();
        QTest::newRow("step X NaN") << false << kNaN << 80.0 << QByteArray();
    }
    void scalesWrittenOrRefused()
    {
        QFETCH(bool, encoder);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QByteArray, expected);
        QSignalSpy errors(m_worker.get(), SIGNAL(showError(QVariant, QVariant, QVariant)));
        const QString url = QUrl::fromLocalFile(m_ini).toString();
        if (encoder)
            m_worker->encoderScaleGet(url, x, y);
        else
            m_worker->stepperScaleGet(url, x, y);
        QCOMPARE(TestSupport::contentOf(m_ini), expected.isEmpty() ? QByteArray(kIni) : expected);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("machine")),
                 QStringList{QStringLiteral("machine.ini")});
        QCOMPARE(errors.count(), expected.isEmpty() ? 1 : 0);
        if (!expected.isEmpty())
            return;
        const QString text = errors.at(0).at(0).toString();
        QVERIFY2(text.contains(QStringLiteral("Недопустимый масштабный коэффициент"))
                     && text.contains(encoder ? QStringLiteral("ENCODER_SCALE") : QStringLiteral("STEP_SCALE")),
                 qPrintable(text));
        QCOMPARE(errors.at(0).at(1).toBool(), false);
    }
};

QTEST_MAIN(TestScaleEditor)
#include "tst_scale_editor.moc"

// The change check of project and feeder files: counters do not count as
// changes, a file that cannot be read does.
#include "DataSamples.h"
#include "TestSupport.h"

#include "backend/FeederFile.h"
#include "backend/IniFile.h"
#include "backend/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TestChangeCheck : public QObject
{
    Q_OBJECT

private slots:
    void changeCheckIgnoresCounters_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("changed");
        QTest::newRow("mounted") << "Pcb/pcbComponentsMountedCount" << QVariant(99) << false;
        QTest::newRow("basket") << "Pcb/pcbComponentsBasketCount" << QVariant(3) << false;
        QTest::newRow("finished") << "Pcb/pcbFinishedCount" << QVariant(5) << false;
        QTest::newRow("mount time") << "Pcb/pcbMountTimeInt" << QVariant(3600) << false;
        QTest::newRow("log") << "log" << QVariant(QStringList{"x;y;z"}) << false;
        QTest::newRow("solder points count") << "Pcb/pcbSolderPointsMountedCount" << QVariant(4) << true;
        QTest::newRow("day statistics") << "dayStat" << QVariant("01.12.2026;1;1;1;1;1|") << true;
        QTest::newRow("component moved") << "element2/rX" << QVariant(10.124) << true;
        QTest::newRow("board picture") << "Pcb/pcbImage" << QVariant("file:///other.png") << true;
        QTest::newRow("key added") << "element2/extra" << QVariant(1) << true;
    }

    void changeCheckIgnoresCounters()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QTemporaryDir dir;
        const QString a = dir.filePath("a.project");
        const QString b = dir.filePath("b.project");
        QVERIFY(ProjectFile::save(a, sampleProject(), nullptr));
        QVERIFY(ProjectFile::save(b, sampleProject(), nullptr));
        QVERIFY(!IniFile::differ(a, b, ProjectFile::isCounterKey));
        {
            QSettings s(b, QSettings::IniFormat);
            s.setValue(key, value);
        }
        QTEST(IniFile::differ(a, b, ProjectFile::isCounterKey), "changed");

        // Feeder counters.
        const QString fa = dir.filePath("a.leftFeeders");
        const QString fb = dir.filePath("b.leftFeeders");
        QVERIFY(FeederFile::write(fa, 2, {sampleFeeder(0), sampleFeeder(1)}, nullptr));
        QVERIFY(FeederFile::write(fb, 2, {sampleFeeder(0), sampleFeeder(1)}, nullptr));
        {
            QSettings s(fb, QSettings::IniFormat);
            s.setValue("feederL1/setCount", 1234);
            s.setValue("feederL2/basketCount", 7);
            s.setValue("feederL2/release2CompsDone", true);
            s.setValue("feederL1/debugCounter", 9);
        }
        QVERIFY(!IniFile::differ(fa, fb, FeederFile::isCounterKey));
        {
            QSettings s(fb, QSettings::IniFormat);
            s.setValue("feederL2/inTapeNow", 1);
        }
        QVERIFY(IniFile::differ(fa, fb, FeederFile::isCounterKey));
    }

    void changeCheckUnreadableFileCountsAsChanged()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.project");
        QVERIFY(ProjectFile::save(a, sampleProject(), nullptr));
        QVERIFY(IniFile::differ(a, dir.filePath("missing.project"), ProjectFile::isCounterKey));
        QVERIFY(IniFile::differ(dir.filePath("missing.project"), a, ProjectFile::isCounterKey));
        QVERIFY(IniFile::differ(a, dir.path(), ProjectFile::isCounterKey));
        if (!runningAsRoot()) {
            const QString b = dir.filePath("b.project");
            QVERIFY(QFile::copy(a, b));
            QVERIFY(QFile::setPermissions(b, QFileDevice::WriteOwner));
            QVERIFY(IniFile::differ(a, b, ProjectFile::isCounterKey));
        }
    }
};

int runChangeCheckTests(int argc, char **argv)
{
    TestChangeCheck test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_change_check.moc"

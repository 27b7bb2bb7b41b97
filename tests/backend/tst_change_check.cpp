// The change check of project and feeder files: counters do not count as
// changes, a file that cannot be read does.
#include "DataSamples.h"
#include "TestSupport.h"

#include "backend/FeederFile.h"
#include "backend/IniFile.h"
#include "backend/ProjectFile.h"

#include <QFile>
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
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("changed");
        const QString project = ".project";
        const QString feeders = ".leftFeeders";
        QTest::newRow("mounted") << project << "Pcb/pcbComponentsMountedCount" << QVariant(99) << false;
        QTest::newRow("basket") << project << "Pcb/pcbComponentsBasketCount" << QVariant(3) << false;
        QTest::newRow("finished") << project << "Pcb/pcbFinishedCount" << QVariant(5) << false;
        QTest::newRow("mount time") << project << "Pcb/pcbMountTimeInt" << QVariant(3600) << false;
        QTest::newRow("log") << project << "log" << QVariant(QStringList{"x;y;z"}) << false;
        QTest::newRow("solder points count")
            << project << "Pcb/pcbSolderPointsMountedCount" << QVariant(4) << true;
        QTest::newRow("day statistics") << project << "dayStat" << QVariant("01.12.2026;1;1;1;1;1|") << true;
        QTest::newRow("component moved") << project << "element2/rX" << QVariant(10.124) << true;
        QTest::newRow("board picture") << project << "Pcb/pcbImage" << QVariant("file:///other.png") << true;
        QTest::newRow("key added") << project << "element2/extra" << QVariant(1) << true;
        QTest::newRow("feeder set count") << feeders << "feederL1/setCount" << QVariant(1234) << false;
        QTest::newRow("feeder basket") << feeders << "feederL2/basketCount" << QVariant(7) << false;
        QTest::newRow("feeder two released") << feeders << "feederL2/release2CompsDone" << QVariant(true)
                                             << false;
        QTest::newRow("feeder debug counter") << feeders << "feederL1/debugCounter" << QVariant(9) << false;
        QTest::newRow("feeder tape position") << feeders << "feederL2/inTapeNow" << QVariant(1) << true;
    }

    void changeCheckIgnoresCounters()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        const bool project = suffix == ".project";
        const auto isCounter = project ? ProjectFile::isCounterKey : FeederFile::isCounterKey;
        QTemporaryDir dir;
        const QString a = dir.filePath("a" + suffix);
        const QString b = dir.filePath("b" + suffix);
        for (const QString &path : {a, b}) {
            QVERIFY(project ? ProjectFile::save(path, sampleProject(), nullptr)
                            : FeederFile::write(path, 2, {sampleFeeder(0), sampleFeeder(1)}, nullptr));
        }
        QVERIFY(!IniFile::differ(a, b, isCounter));
        {
            QSettings s(b, QSettings::IniFormat);
            s.setValue(key, value);
        }
        QTEST(IniFile::differ(a, b, isCounter), "changed");
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

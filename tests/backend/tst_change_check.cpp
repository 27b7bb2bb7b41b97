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
        const auto row = [](const char *suffix, const char *name, const char *key,
                            const QVariant &value, bool changed) {
            QTest::newRow(name) << QString(suffix) << QString(key) << value << changed;
        };
        const char *project = ".project";
        row(project, "mounted", "Pcb/pcbComponentsMountedCount", 99, false);
        row(project, "solder points count", "Pcb/pcbSolderPointsMountedCount", 4, true);
        row(project, "component moved", "element2/rX", 10.124, true);
        row(project, "key added", "element2/extra", 1, true);
        const char *feeders = ".leftFeeders";
        row(feeders, "feeder set count", "feederL1/setCount", 1234, false);
        row(feeders, "feeder tape position", "feederL2/inTapeNow", 1, true);
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
            const QVector<QVariantMap> feeders{sampleFeeder(0), sampleFeeder(1)};
            QVERIFY(project ? ProjectFile::save(path, sampleProject(), nullptr)
                            : FeederFile::write(path, 2, feeders, nullptr));
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
        const QString b = dir.filePath("b.project");
        QVERIFY(QFile::copy(a, b));
        QVERIFY(QFile::setPermissions(b, QFileDevice::WriteOwner));
        OrdinaryUser user({dir.path(), a, b});
        QVERIFY(user.ok());
        QVERIFY(IniFile::differ(a, b, ProjectFile::isCounterKey));
    }
};

int runChangeCheckTests(int argc, char **argv)
{
    TestChangeCheck test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_change_check.moc"

// The project file: every key written and read back, defaults, a panel that
// shrinks, and a failed save that leaves what stood there.
#include "DataSamples.h"
#include "TestSupport.h"

#include "backend/PackageBase.h"
#include "backend/ProjectFile.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void projectRoundTripEveryKey()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("board one.project");
        const ProjectFile::Data written = sampleProject();
        QString error;
        QVERIFY2(ProjectFile::save(path, written, &error), qPrintable(error));

        QSettings s(path, QSettings::IniFormat);
        QVector<ProjectFile::Skipped> skipped;
        const ProjectFile::Data read = ProjectFile::readAll(s, &skipped);
        QVERIFY(skipped.isEmpty());
        QCOMPARE(read.feederBanks.b, written.feederBanks.b);
        QCOMPARE(read.feederBanks.l, written.feederBanks.l);
        QCOMPARE(read.feederBanks.u, QString());
        QCOMPARE(read.feederBanks.r, written.feederBanks.r);
        for (const ProjectFile::Key &key : ProjectFile::pcbKeys()) {
            const QString name = QLatin1String(key.name);
            QCOMPARE(read.pcb.value(name).toString(), written.pcb.value(name).toString());
            if (key.def.isValid())
                QCOMPARE(read.pcb.value(name).type(), key.def.type());
        }
        QCOMPARE(read.panel.size(), 4);
        QCOMPARE(read.panel.at(1).x, 110.5);
        QCOMPARE(read.panel.at(2).rot, -90.0);
        auto compareObjects = [](const QVector<QVariantMap> &a, const QVector<QVariantMap> &b) {
            QCOMPARE(a.size(), b.size());
            for (int i = 0; i < a.size(); ++i) {
                for (auto it = b.at(i).constBegin(); it != b.at(i).constEnd(); ++it)
                    QCOMPARE(a.at(i).value(it.key()).toString(), it.value().toString());
            }
        };
        compareObjects(read.refs, written.refs);
        compareObjects(read.elements, written.elements);
        compareObjects(read.dots, written.dots);
        QCOMPARE(read.log, written.log);
        QCOMPARE(read.dayStat, written.dayStat);
        QCOMPARE(read.device.value("workAreaY2").toDouble(), 302.5);
    }

    void projectMissingKeysTakeDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.project");
        {
            QSettings s(path, QSettings::IniFormat);
            s.setValue("elementCount", 1);
            s.setValue("element0/rX", 1);
            s.setValue("element0/rY", 2);
            // No "pack": the package comes from the picture path.
            s.setValue("element0/elementPath", "file:///base/chips/SOT23(A2.9B1.3H1.1W8P4).png");
        }
        QSettings s(path, QSettings::IniFormat);
        const auto elements = ProjectFile::readElements(s, nullptr);
        QCOMPARE(elements.size(), 1);
        QCOMPARE(elements.at(0).value("model").toString(), QString("L"));
        QCOMPARE(elements.at(0).value("index").toInt(), 0);
        QCOMPARE(PackageBase::nameFromPath(elements.at(0).value(ProjectFile::packagePathKey()).toString()),
                 QString("SOT23"));

        // A file that does not exist reads as an empty project.
        QSettings none(dir.filePath("none.project"), QSettings::IniFormat);
        QVector<ProjectFile::Skipped> skipped;
        const ProjectFile::Data empty = ProjectFile::readAll(none, &skipped);
        QVERIFY(empty.elements.isEmpty() && empty.refs.isEmpty() && empty.dots.isEmpty());
        QVERIFY(skipped.isEmpty());
    }

    void projectPanelShrinks()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("panel.project");
        {
            QSettings s(path, QSettings::IniFormat);
            ProjectFile::writePcb(s, {}, {{1, 1, 0}, {2, 2, 0}, {3, 3, 0}, {4, 4, 0}, {5, 5, 0}});
        }
        {
            // Written over the old content without clearing it first.
            QSettings s(path, QSettings::IniFormat);
            ProjectFile::writePcb(s, {}, {{1, 1, 0}, {2, 2, 90}, {3, 3, 180}});
        }
        QSettings s(path, QSettings::IniFormat);
        QVERIFY(!s.contains("Pcb/pcb4/exists"));
        QVERIFY(!s.contains("Pcb/pcb5/x"));
        QVector<ProjectFile::PanelPosition> panel;
        ProjectFile::readPcb(s, &panel);
        QCOMPARE(panel.size(), 3);
        QCOMPARE(panel.at(2).rot, 180.0);

        // Reading stops at the first position without "exists".
        s.setValue("Pcb/pcb2/exists", false);
        ProjectFile::readPcb(s, &panel);
        QCOMPARE(panel.size(), 1);
    }

    void projectSaveFailureKeepsWhatStandsThere()
    {
        // The replacement fails: a folder stands where the file should go.
        QTemporaryDir dir;
        const QString path = dir.filePath("taken.project");
        QVERIFY(writeFile(path + "/inside", "keep"));
        QString error;
        QVERIFY(!ProjectFile::save(path, sampleProject(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(contentOf(path + "/inside"), QByteArray("keep"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

int runProjectFileTests(int argc, char **argv)
{
    TestProjectFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_project_file.moc"

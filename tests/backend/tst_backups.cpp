// Backups of projects and feeder banks: one a day, the oldest removed.
#include "TestSupport.h"

#include "backend/Backups.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void projectBackupRotation_data()
    {
        QTest::addColumn<int>("earlier"); // backups of earlier days; ten are kept
        QTest::addColumn<bool>("oldestGoes");
        QTest::newRow("as many as kept") << 10 << false;
        QTest::newRow("one more") << 11 << true;
    }

    void projectBackupRotation()
    {
        QFETCH(int, earlier);
        QTemporaryDir dir;
        const QString path = dir.filePath("job.project");
        QVERIFY(writeFile(path, "current"));
        const QDate today(2026, 12, 6);
        // The backups of earlier days, and one of another project.
        for (int i = 1; i <= earlier; ++i) {
            const QString b = dir.filePath("backups/" + Backups::backupName("job.project", today.addDays(-i)));
            QVERIFY(writeFile(b, "x"));
            QVERIFY(setModified(b, QDateTime(today.addDays(-i), QTime(12, 0))));
        }
        QVERIFY(writeFile(dir.filePath("backups/other.project_01_12_2026"), "x"));
        QVERIFY(setModified(dir.filePath("backups/other.project_01_12_2026"), QDateTime(today.addDays(-100), QTime(12, 0))));

        Backups::beforeSave(path, 10, today);
        const QStringList left = QDir(dir.filePath("backups")).entryList(QDir::Files);
        QTEST(!left.contains(Backups::backupName("job.project", today.addDays(-earlier))),
              "oldestGoes");
        QVERIFY(left.contains(Backups::backupName("job.project", today.addDays(-10))));
        QVERIFY(left.contains("other.project_01_12_2026"));
        QCOMPARE(contentOf(dir.filePath("backups/" + Backups::backupName("job.project", today))), QByteArray("current"));
        QCOMPARE(left.size(), 12);
    }

    void projectBackupOncePerDay()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("day.project");
        const QDate today(2026, 12, 6);
        for (int save = 0; save < 12; ++save) {
            Backups::beforeSave(path, 10, today);
            QVERIFY(writeFile(path, QByteArray::number(save)));
        }
        const QStringList left = QDir(dir.filePath("backups")).entryList(QDir::Files);
        QCOMPARE(left, QStringList({Backups::backupName("day.project", today)}));
        // The backup holds the state before the first save that had a file.
        QCOMPARE(contentOf(dir.filePath("backups/" + left.first())), QByteArray("0"));
    }
};

int runBackupsTests(int argc, char **argv)
{
    TestBackups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backups.moc"

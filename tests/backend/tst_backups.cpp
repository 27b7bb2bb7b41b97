// Backups of projects and feeder banks: one a day, the oldest removed.
#include "TestSupport.h"

#include "backend/Backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void projectBackupRotation()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("job.project");
        QVERIFY(writeFile(path, "current"));
        const QDate today(2026, 12, 6);
        // Eleven backups of earlier days, and one of another project.
        for (int i = 1; i <= 11; ++i) {
            const QString b = dir.filePath("backups/" + Backups::backupName("job.project", today.addDays(-i)));
            QVERIFY(writeFile(b, "x"));
            QVERIFY(setModified(b, QDateTime(today.addDays(-i), QTime(12, 0))));
        }
        QVERIFY(writeFile(dir.filePath("backups/other.project_01_12_2026"), "x"));
        QVERIFY(setModified(dir.filePath("backups/other.project_01_12_2026"), QDateTime(today.addDays(-100), QTime(12, 0))));

        Backups::beforeSave(path, 10, today);
        const QStringList left = QDir(dir.filePath("backups")).entryList(QDir::Files);
        QVERIFY(!left.contains(Backups::backupName("job.project", today.addDays(-11))));
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

    void feederBackupRotationOverFiveDays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bank.leftFeeders");
        QVERIFY(writeFile(path, "v0"));
        const QDate first(2026, 12, 1);
        for (int day = 0; day < 5; ++day) {
            Backups::beforeSave(path, 3, first.addDays(day));
            const QString b = dir.filePath("backups/" + Backups::backupName("bank.leftFeeders", first.addDays(day)));
            if (QFile::exists(b))
                QVERIFY(setModified(b, QDateTime(first.addDays(day), QTime(9, 0))));
            QVERIFY(writeFile(path, "v" + QByteArray::number(day + 1)));
        }
        const QStringList left = QDir(dir.filePath("backups")).entryList(QDir::Files);
        QCOMPARE(left.size(), 4);
        QVERIFY(!left.contains(Backups::backupName("bank.leftFeeders", first)));
    }
};

int runBackupsTests(int argc, char **argv)
{
    TestBackups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backups.moc"

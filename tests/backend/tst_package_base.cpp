// The package base: picture file names, record completion, cup choice,
// the folder search and the writer that keeps unknown groups.
#include "TestSupport.h"

#include "backend/PackageBase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TestPackageBase : public QObject
{
    Q_OBJECT

private slots:
    void packageFileNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("thickness");
        QTest::addColumn<int>("bandWidth");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<double>("cup");
        QTest::addColumn<double>("acc");
        QTest::addColumn<bool>("slow");
        QTest::addColumn<QString>("name");

        QTest::newRow("full") << "/base/SOT23(A2.9B1.3H1.1W8P4).png" << true << 2.9 << 1.3 << 1.1 << 8 << 4 << 0.0
                              << -1.0 << false << "SOT23";
        QTest::newRow("lower case, upper extension")
            << "/b/0603(a1.6b0.8h0.45).PNG" << true << 1.6 << 0.8 << 0.45 << -1 << -1 << 0.0 << -1.0 << false << "0603";
        QTest::newRow("integers, cup, acc, slow")
            << "QFP64(A12B12H1.6D3.5ACC2000S).png" << true << 12.0 << 12.0 << 1.6 << -1 << -1 << 3.5 << 2000.0 << true
            << "QFP64";
        QTest::newRow("H missing") << "SOD123(A2.7B1.6W8).png" << false << 0.0 << 0.0 << 0.0 << -1 << -1 << 0.0 << -1.0
                                   << false << "SOD123";
        QTest::newRow("jpg has no parameters")
            << "/b/SOT23(A2.9B1.3H1.1).jpg" << false << 0.0 << 0.0 << 0.0 << -1 << -1 << 0.0 << -1.0 << false << "SOT23";
        QTest::newRow("no brackets") << "/b/c/TQFP-32.png" << false << 0.0 << 0.0 << 0.0 << -1 << -1 << 0.0 << -1.0
                                     << false << "TQFP-32";
    }

    void packageFileNames()
    {
        QFETCH(QString, path);
        const PackageBase::FileNameParams p = PackageBase::parseFileName(path);
        QTEST(p.valid, "valid");
        QTEST(p.name, "name");
        if (!p.valid)
            return;
        QTEST(p.width, "width");
        QTEST(p.height, "height");
        QTEST(p.thickness, "thickness");
        QTEST(p.bandWidth, "bandWidth");
        QTEST(p.pitch, "pitch");
        QTEST(p.cupDiameter, "cup");
        QTEST(p.maxAcc, "acc");
        QTEST(p.slowPick, "slow");
    }

    void packageNameFromPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("last bracket") << "/a/R(0805)(A2B1.25H0.5).png" << "R(0805)";
        QTest::newRow("dots in name") << "/a/b/SOT-23.5.png" << "SOT-23.5";
        QTest::newRow("url") << "file:///home/op/КОРПУСА/ЧИП(A1B1H1).png" << "ЧИП";
    }

    void packageNameFromPath()
    {
        QFETCH(QString, path);
        QTEST(PackageBase::nameFromPath(path), "name");
    }

    void packageRecordCompletion_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<int>("bandWidth");
        QTest::addColumn<int>("bandStep");
        QTest::addColumn<double>("maxAcc");
        QTest::addColumn<bool>("slowPick");

        // Tape width and pitch from the file name, else from the size.
        QTest::newRow("SOT23 W8 P4") << "SOT23(A2.9B1.3H1.1W8P4).png" << 2.9 << 1.3 << 0 << 1 << 100.0 << false;
        QTest::newRow("W44 P20") << "X(A4B3H1W44P20).png" << 4.0 << 3.0 << 5 << 5 << 100.0 << false;
        QTest::newRow("odd W and P from size") << "X(A4B3H1W10P6).png" << 4.0 << 3.0 << 0 << 2 << 100.0 << false;
        QTest::newRow("B 3.3 → 8 mm, A 0.5 → 2 mm") << "X(A0.5B3.3H1).png" << 0.5 << 3.3 << 0 << 0 << 100.0 << false;
        QTest::newRow("B 3.31 → 12 mm") << "X(A3.4B3.31H1).png" << 3.4 << 3.31 << 1 << 2 << 100.0 << false;
        QTest::newRow("B 18 → 32 mm") << "X(A14.2B18H1).png" << 14.2 << 18.0 << 4 << 5 << 100.0 << false;
        QTest::newRow("acceleration") << "X(A1B1H1ACC500).png" << 1.0 << 1.0 << 0 << 1 << 50.0 << false;
        QTest::newRow("acceleration capped") << "X(A1B1H1ACC5000).png" << 1.0 << 1.0 << 0 << 1 << 100.0 << false;
        QTest::newRow("slow pick") << "X(A1B1H1S).png" << 1.0 << 1.0 << 0 << 1 << 100.0 << true;
    }

    void packageRecordCompletion()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        QSettings ini(dir.filePath("packageBase.ini"), QSettings::IniFormat);
        PackageBase::MachineFacts facts;
        facts.cupDiameters = {0.4, 0.7, 1.0, 1.5, 2.5};
        facts.maxAccXYZ = 1000;
        facts.cameraT1 = 170;
        facts.cameraT2 = 40;
        facts.cameraCheckSize = 3;
        const PackageBase::FileNameParams params = PackageBase::parseFileName(file);
        bool changed = false;
        const QVariantMap r = PackageBase::completeRecord(ini, params.name.toLower(), params, facts, &changed);
        QVERIFY(changed);
        QTEST(r.value("A").toDouble(), "a");
        QTEST(r.value("B").toDouble(), "b");
        QTEST(r.value("bandWidth").toInt(), "bandWidth");
        QTEST(r.value("bandStep").toInt(), "bandStep");
        QTEST(r.value("maxAcc").toDouble(), "maxAcc");
        QTEST(r.value("slowPick").toBool(), "slowPick");
        QCOMPARE(r.value("cameraT2").toInt(), 40); // the machine's own
        // Every stored key is now in the file, with the record's values.
        ini.sync();
        QSettings back(dir.filePath("packageBase.ini"), QSettings::IniFormat);
        back.beginGroup(params.name.toLower());
        for (const QString &key : PackageBase::storedKeys()) {
            QVERIFY2(back.contains(key), qPrintable(key));
            QCOMPARE(back.value(key).toString(), r.value(key).toString());
        }
        // A second completion adds nothing.
        QSettings again(dir.filePath("packageBase.ini"), QSettings::IniFormat);
        PackageBase::completeRecord(again, params.name.toLower(), params, facts, &changed);
        QVERIFY(!changed);
    }

    void packageRecordKeepsStoredValues()
    {
        QTemporaryDir dir;
        QSettings ini(dir.filePath("packageBase.ini"), QSettings::IniFormat);
        ini.beginGroup("sot23");
        ini.setValue("A", 3.5);
        ini.setValue("B", 0);         // not above 0: reads as 1
        ini.setValue("bandWidth", 2); // the operator's choice stays
        ini.setValue("slowPick", "true");
        ini.setValue("cupNumber", 4);
        ini.endGroup();
        PackageBase::MachineFacts facts;
        facts.cupDiameters = {0.4, 0.7};
        bool changed = false;
        const QVariantMap r = PackageBase::completeRecord(ini, "sot23",
                                                          PackageBase::parseFileName("SOT23(A2.9B1.3H1.1W8P4).png"),
                                                          facts, &changed);
        QVERIFY(changed); // the other keys were added
        QCOMPARE(r.value("A").toDouble(), 3.5);
        QCOMPARE(r.value("B").toDouble(), 1.0);
        QCOMPARE(r.value("H").toDouble(), 1.1);
        QCOMPARE(r.value("bandWidth").toInt(), 2);
        QCOMPARE(r.value("bandStep").toInt(), 1);
        QCOMPARE(r.value("slowPick").toBool(), true);
        QCOMPARE(r.value("cupNumber").toInt(), 4);
    }

    void packageCupChoice_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("cup");
        // Cups 0.4, 0.7, 1.0, 1.0, 2.5: target 0.6 × min(A, B) or D.
        QTest::newRow("0603: target 0.48") << "X(A1.6B0.8H0.45).png" << 0;
        QTest::newRow("exactly 1.0 wins, first of equals") << "X(A2B2H1D1).png" << 2;
    }

    void packageCupChoice()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        QSettings ini(dir.filePath("p.ini"), QSettings::IniFormat);
        PackageBase::MachineFacts facts;
        facts.cupDiameters = {0.4, 0.7, 1.0, 1.0, 2.5};
        const QVariantMap r = PackageBase::completeRecord(ini, "x", PackageBase::parseFileName(file), facts);
        QTEST(r.value("cupNumber").toInt(), "cup");
        QCOMPARE(PackageBase::chooseCup({0.7, 0.5, 0.9}, 0.1), 1); // none small enough: the smallest
        QCOMPARE(PackageBase::chooseCup({}, 1.0), 0);
    }

    void packageSearchFindsDuplicatesAndSkipsLinks()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("base/SOT23(A2.9B1.3H1.1).png"), "x"));
        QVERIFY(writeFile(dir.filePath("base/chips/0603(A1.6B0.8H0.45).jpg"), "x"));
        QVERIFY(writeFile(dir.filePath("base/chips/old/sot23.bmp"), "x"));   // same name, other case: duplicate
        QVERIFY(writeFile(dir.filePath("base/notes.txt"), "x"));             // not a picture
        QVERIFY(writeFile(dir.filePath("outside/QFN16(A3B3H0.9).png"), "x"));
        QVERIFY(QFile::link(dir.filePath("outside"), dir.filePath("base/linked")));

        QHash<QString, int> known;
        PackageBase::SearchResult found;
        PackageBase::search(PackageBase::folderEntries(dir.filePath("base")), known, found);
        QCOMPARE(found.names, QStringList({"SOT23", "0603"}));
        QCOMPARE(found.duplicates, QStringList({"sot23"}));
        QCOMPARE(found.files.at(0), QFileInfo(dir.filePath("base/SOT23(A2.9B1.3H1.1).png")).absoluteFilePath());
        QVERIFY(PackageBase::folderEntries(dir.filePath("missing")).isEmpty());
    }

    void packageWriteKeepsUnknownGroups()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("packageBase.ini");
        {
            QSettings ini(path, QSettings::IniFormat);
            ini.setValue("unmounted/A", 7.5);
            ini.setValue("sot23/A", 1.0);
        }
        QVariantList records;
        QVariantMap sot{{"name", "SOT23"}, {"A", 2.9}, {"B", 1.3}, {"H", 1.1}, {"cupNumber", 1}, {"path", "file:///x"}};
        QVariantMap cyr{{"name", "Чип"}, {"A", 1.0}, {"vsCheck", false}};
        records << sot << cyr;
        QString error;
        QVERIFY2(PackageBase::writeRecords(path, records, &error), qPrintable(error));
        QSettings back(path, QSettings::IniFormat);
        QCOMPARE(back.value("unmounted/A").toDouble(), 7.5);
        QCOMPARE(back.value("sot23/A").toDouble(), 2.9);
        QCOMPARE(back.value("sot23/cupNumber").toInt(), 1);
        QVERIFY(!back.contains("sot23/path"));
        QVERIFY(!back.contains("sot23/name"));
        QCOMPARE(back.value(QString("чип/vsCheck")).toBool(), false);
    }
};

int runPackageBaseTests(int argc, char **argv)
{
    TestPackageBase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_package_base.moc"

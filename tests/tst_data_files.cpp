// File formats of the operator's data: package base, project file, feeder
// files, backups and change checks, written to real files and read back.
#include "backend/Backups.h"
#include "backend/FeederFile.h"
#include "backend/IniFile.h"
#include "backend/PackageBase.h"
#include "backend/ProjectFile.h"
#include "backend/ProjectStatistics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

void touch(const QString &path, const QByteArray &content = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void setAge(const QString &path, const QDateTime &when)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT

private slots:
    // ---- package base
    void packageFileNames_data();
    void packageFileNames();
    void packageNameFromPath_data();
    void packageNameFromPath();
    void packageRecordCompletion_data();
    void packageRecordCompletion();
    void packageRecordKeepsStoredValues();
    void packageCupChoice_data();
    void packageCupChoice();
    void packageSearchFindsDuplicatesAndSkipsLinks();
    void packageWriteKeepsUnknownGroups();

    // ---- project file
    void projectRoundTripEveryKey();
    void projectMissingKeysTakeDefaults();
    void projectPanelShrinks();
    void projectNanGroupsReported();
    void projectConsecutiveGroups();
    void projectSaveFailureKeepsOldFile();

    // ---- feeder files
    void feederRoundTripEveryField();
    void feederStopsAtMissingExists();
    void feederLegacyKeysAndDefaults();
    void feederBadFiles_data();
    void feederBadFiles();
    void feederBankOfExtension();

    // ---- backups and change checks
    void projectBackupRotation();
    void projectBackupOncePerDay();
    void feederBackupRotationOverFiveDays();
    void changeCheckIgnoresCounters_data();
    void changeCheckIgnoresCounters();
    void changeCheckUnreadableFileCountsAsChanged();

    // ---- day statistics and log
    void dayStatParsing();
    void logLines_data();
    void logLines();
};

// ---------------------------------------------------------------- packages

void TestDataFiles::packageFileNames_data()
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
    QTest::newRow("lower s is not slow") << "X(A1B1H1s).png" << true << 1.0 << 1.0 << 1.0 << -1 << -1 << 0.0
                                         << -1.0 << false << "X";
    QTest::newRow("empty W and P") << "X(A1B1H1WP).png" << true << 1.0 << 1.0 << 1.0 << -1 << -1 << 0.0 << -1.0
                                   << false << "X";
    QTest::newRow("leading point") << "X(A.5B.25H1).png" << true << 0.5 << 0.25 << 1.0 << -1 << -1 << 0.0 << -1.0
                                   << false << "X";
    QTest::newRow("H missing") << "SOD123(A2.7B1.6W8).png" << false << 0.0 << 0.0 << 0.0 << -1 << -1 << 0.0 << -1.0
                               << false << "SOD123";
    QTest::newRow("jpg has no parameters")
        << "/b/SOT23(A2.9B1.3H1.1).jpg" << false << 0.0 << 0.0 << 0.0 << -1 << -1 << 0.0 << -1.0 << false << "SOT23";
    QTest::newRow("no brackets") << "/b/c/TQFP-32.png" << false << 0.0 << 0.0 << 0.0 << -1 << -1 << 0.0 << -1.0
                                 << false << "TQFP-32";
}

void TestDataFiles::packageFileNames()
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
    const QVariantMap map = PackageBase::toMap(p);
    QCOMPARE(map.value("width").toDouble(), p.width);
    QCOMPARE(map.value("slowPick").toBool(), p.slowPick);
}

void TestDataFiles::packageNameFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("with parameters") << "/a/b/SOT23(A2.9B1.3H1.1).png" << "SOT23";
    QTest::newRow("last bracket") << "/a/R(0805)(A2B1.25H0.5).png" << "R(0805)";
    QTest::newRow("no bracket") << "/a/b/SOIC-8.png" << "SOIC-8";
    QTest::newRow("dots in name") << "/a/b/SOT-23.5.png" << "SOT-23.5";
    QTest::newRow("dot in folder only") << "/a.b/SOT" << "SOT";
    QTest::newRow("url") << "file:///home/op/КОРПУСА/ЧИП(A1B1H1).png" << "ЧИП";
}

void TestDataFiles::packageNameFromPath()
{
    QFETCH(QString, path);
    QTEST(PackageBase::nameFromPath(path), "name");
}

void TestDataFiles::packageRecordCompletion_data()
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
    QTest::newRow("W12 P8") << "X(A4B3H1W12P8).png" << 4.0 << 3.0 << 1 << 2 << 100.0 << false;
    QTest::newRow("W44 P20") << "X(A4B3H1W44P20).png" << 4.0 << 3.0 << 5 << 5 << 100.0 << false;
    QTest::newRow("odd W and P from size") << "X(A4B3H1W10P6).png" << 4.0 << 3.0 << 0 << 2 << 100.0 << false;
    QTest::newRow("B 3.3 → 8 mm, A 0.5 → 2 mm") << "X(A0.5B3.3H1).png" << 0.5 << 3.3 << 0 << 0 << 100.0 << false;
    QTest::newRow("B 3.31 → 12 mm") << "X(A3.4B3.31H1).png" << 3.4 << 3.31 << 1 << 2 << 100.0 << false;
    QTest::newRow("B 7 → 16 mm") << "X(A7.4B7H1).png" << 7.4 << 7.0 << 2 << 3 << 100.0 << false;
    QTest::newRow("B 11 → 24 mm") << "X(A10.2B11H1).png" << 10.2 << 11.0 << 3 << 4 << 100.0 << false;
    QTest::newRow("B 18 → 32 mm") << "X(A14.2B18H1).png" << 14.2 << 18.0 << 4 << 5 << 100.0 << false;
    QTest::newRow("acceleration") << "X(A1B1H1ACC500).png" << 1.0 << 1.0 << 0 << 1 << 50.0 << false;
    QTest::newRow("acceleration capped") << "X(A1B1H1ACC5000).png" << 1.0 << 1.0 << 0 << 1 << 100.0 << false;
    QTest::newRow("slow pick") << "X(A1B1H1S).png" << 1.0 << 1.0 << 0 << 1 << 100.0 << true;
    QTest::newRow("jpg: defaults") << "SOT23(A2.9B1.3H1.1).jpg" << 1.0 << 1.0 << 0 << 1 << 100.0 << false;
}

void TestDataFiles::packageRecordCompletion()
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
    QCOMPARE(r.value("cameraT1").toInt(), 170);
    QCOMPARE(r.value("cameraT2").toInt(), 40);
    QCOMPARE(r.value("cameraCheckSize").toInt(), 3);
    QCOMPARE(r.value("solderPointCount").toInt(), 2);
    QCOMPARE(r.value("pinDistanceMaxDev").toInt(), 15);
    QCOMPARE(r.value("cameraROIPercent").toInt(), 100);
    QCOMPARE(r.value("vsCheck").toBool(), true);
    QCOMPARE(r.value("indivPress").toDouble(), 1.0);
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

void TestDataFiles::packageRecordKeepsStoredValues()
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
    QCOMPARE(r.value("cupNumber").type(), QVariant::Int);
}

void TestDataFiles::packageCupChoice_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("cup");
    // Cups 0.4, 0.7, 1.0, 1.0, 2.5: target 0.6 × min(A, B) or D.
    QTest::newRow("0603: target 0.48") << "X(A1.6B0.8H0.45).png" << 0;
    QTest::newRow("exactly 1.0 wins, first of equals") << "X(A2B2H1D1).png" << 2;
    QTest::newRow("target 1.2") << "X(A2B2H1).png" << 2;
    QTest::newRow("big body") << "X(A10B8H2).png" << 4;
    QTest::newRow("smaller than every cup") << "X(A0.4B0.2H0.2).png" << 0;
}

void TestDataFiles::packageCupChoice()
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

void TestDataFiles::packageSearchFindsDuplicatesAndSkipsLinks()
{
    QTemporaryDir dir;
    touch(dir.filePath("base/SOT23(A2.9B1.3H1.1).png"));
    touch(dir.filePath("base/chips/0603(A1.6B0.8H0.45).png"));
    touch(dir.filePath("base/chips/old/sot23.bmp"));     // same name, other case: duplicate
    touch(dir.filePath("base/notes.txt"));                // not a picture
    touch(dir.filePath("outside/QFN16(A3B3H0.9).png"));
    QVERIFY(QFile::link(dir.filePath("outside"), dir.filePath("base/linked")));

    QHash<QString, int> known;
    PackageBase::SearchResult found;
    PackageBase::search(PackageBase::folderEntries(dir.filePath("base")), known, found);
    QCOMPARE(found.names, QStringList({"SOT23", "0603"}));
    QCOMPARE(found.duplicates, QStringList({"sot23"}));
    QCOMPARE(found.files.at(0), QFileInfo(dir.filePath("base/SOT23(A2.9B1.3H1.1).png")).absoluteFilePath());

    // A reload finds the new pictures only; the known ones come back as
    // duplicates, which the caller does not report.
    touch(dir.filePath("base/new/R0805(A2B1.25H0.5).jpg"));
    PackageBase::SearchResult again;
    PackageBase::search(PackageBase::folderEntries(dir.filePath("base")), known, again);
    QCOMPARE(again.names, QStringList({"R0805"}));
    QCOMPARE(again.duplicates.size(), 3);

    QVERIFY(PackageBase::folderEntries(dir.filePath("missing")).isEmpty());
}

void TestDataFiles::packageWriteKeepsUnknownGroups()
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
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"packageBase.ini"}));
}

// ---------------------------------------------------------------- projects

namespace {

ProjectFile::Data sampleProject()
{
    ProjectFile::Data d;
    d.device = {{"workAreaX1", 1.5}, {"workAreaX2", 401.0}, {"workAreaY1", 2.0}, {"workAreaY2", 302.5}};
    d.feederBanks = {"file:///p/Нижний.bottomFeeders", "file:///p/a b.leftFeeders", "", "file:///p/r.rightFeeders"};
    // Every board key with a value other than its default.
    for (const ProjectFile::Key &key : ProjectFile::pcbKeys()) {
        QVariant v;
        switch (key.def.type()) {
        case QVariant::Bool: v = !key.def.toBool(); break;
        case QVariant::Int: v = key.def.toInt() + 7; break;
        case QVariant::Double: v = key.def.toDouble() + 0.125; break;
        case QVariant::String: v = QStringLiteral("file:///p/плата 1.png"); break;
        default: v = QStringLiteral("photo-data"); break;
        }
        d.pcb.insert(QLatin1String(key.name), v);
    }
    d.panel = {{10, 20, 0}, {110.5, 20, 90}, {10, 140, -90}, {110, 140, 180}};
    for (int i = 0; i < 3; ++i) {
        d.refs.append({{"rX", 5.0 + i}, {"rY", 6.25 * i}, {"disabled", i == 1 ? 1 : 0}, {"indiv", i == 2},
                       {"type", i % 2}, {"size", 1.2}, {"size2", 0.8}, {"inv", true}, {"roi", 40 + i},
                       {"templateMathCoeff", 75}, {"t1", 140}, {"t2", 90}, {"photo", QString()}, {"id", 101 + i}});
    }
    const char *designators[] = {"R1", "C12", "U3; main", "D\"4\"", ""};
    for (int i = 0; i < 5; ++i) {
        d.elements.append({{"pack", i == 2 ? "SOIC-8" : "0603"}, {"partNumber", QString("PN,%1").arg(i)},
                           {"model", QString("LRBUL").mid(i, 1)}, {"index", i - 1}, {"rX", 10.123 + i},
                           {"rY", -3.5 + i}, {"angle", -90.0 + 45 * i}, {"disabled", i == 4 ? 2 : 0},
                           {"designator", QString::fromUtf8(designators[i])}, {"preferredRef1", i == 0 ? 101 : -1},
                           {"preferredRef2", i == 0 ? 102 : -1}, {"elPhoto", QString()},
                           {"elementPath", "file:///base/0603(A1.6B0.8H0.45).png"}});
    }
    d.dots.append({{"model", "U"}, {"index", 2}, {"rX", 1.5}, {"rY", 2.5}, {"disabled", 0},
                   {"preferredRef1", -1}, {"preferredRef2", 103}});
    d.log = QStringList{"Проект открыт;06.12.2026 10:00:00;white", "Ошибка: a, b; c;06.12.2026 10:01:00;red"};
    d.dayStat = "06.12.2026;1;20;40;0;600|05.12.2026;3;60;120;1;1800|";
    return d;
}

} // namespace

void TestDataFiles::projectRoundTripEveryKey()
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

void TestDataFiles::projectMissingKeysTakeDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.project");
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue("refCount", 1);
        s.setValue("ref0/rX", 3);
        s.setValue("elementCount", 1);
        s.setValue("element0/rX", 1);
        s.setValue("element0/rY", 2);
        // No "pack": the package comes from the picture path.
        s.setValue("element0/elementPath", "file:///base/chips/SOT23(A2.9B1.3H1.1W8P4).png");
        s.setValue("dotCount", 1);
        s.setValue("dot0/rY", 4);
    }
    QSettings s(path, QSettings::IniFormat);
    QVector<ProjectFile::PanelPosition> panel;
    const QVariantMap pcb = ProjectFile::readPcb(s, &panel);
    for (const ProjectFile::Key &key : ProjectFile::pcbKeys())
        QCOMPARE(pcb.value(QLatin1String(key.name)), key.def);
    QVERIFY(panel.isEmpty());
    const auto refs = ProjectFile::readRefs(s, nullptr);
    QCOMPARE(refs.size(), 1);
    QCOMPARE(refs.at(0).value("t2").toInt(), 100);
    QCOMPARE(refs.at(0).value("id").toInt(), -1);
    QCOMPARE(refs.at(0).value("roi").toInt(), 50);
    const auto elements = ProjectFile::readElements(s, nullptr);
    QCOMPARE(elements.at(0).value("model").toString(), QString("L"));
    QCOMPARE(elements.at(0).value("index").toInt(), 0);
    QCOMPARE(elements.at(0).value("preferredRef2").toInt(), -1);
    QCOMPARE(PackageBase::nameFromPath(elements.at(0).value(ProjectFile::packagePathKey()).toString()),
             QString("SOT23"));
    const auto dots = ProjectFile::readDots(s, nullptr);
    QCOMPARE(dots.at(0).value("rY").toDouble(), 4.0);
    QCOMPARE(dots.at(0).value("model").toString(), QString("L"));

    // A file that does not exist reads as an empty project.
    QSettings none(dir.filePath("none.project"), QSettings::IniFormat);
    QVector<ProjectFile::Skipped> skipped;
    const ProjectFile::Data empty = ProjectFile::readAll(none, &skipped);
    QVERIFY(empty.elements.isEmpty() && empty.refs.isEmpty() && empty.dots.isEmpty());
    QCOMPARE(empty.pcb.value("pcbThickness").toDouble(), 1.5);
}

void TestDataFiles::projectPanelShrinks()
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

void TestDataFiles::projectNanGroupsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("nan.project");
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue("elementCount", 3);
        s.setValue("element0/rX", 1);
        s.setValue("element0/designator", "R1");
        s.setValue("element1/rX", "nan");
        s.setValue("element1/designator", "R2");
        s.setValue("element1/pack", "0603");
        s.setValue("element2/rY", "NaN");
        s.setValue("refCount", 2);
        s.setValue("ref0/rY", "nan");
        s.setValue("ref1/rX", 4);
        s.setValue("dotCount", 1);
        s.setValue("dot0/rX", "nan");
    }
    QSettings s(path, QSettings::IniFormat);
    QVector<ProjectFile::Skipped> skipped;
    const ProjectFile::Data d = ProjectFile::readAll(s, &skipped);
    QCOMPARE(d.elements.size(), 1);
    QCOMPARE(d.elements.at(0).value("designator").toString(), QString("R1"));
    QCOMPARE(d.refs.size(), 1);
    QCOMPARE(d.dots.size(), 0);
    QCOMPARE(skipped.size(), 4);
    QCOMPARE(skipped.at(0).kind, QString("ref"));
    QCOMPARE(skipped.at(1).kind, QString("element"));
    QCOMPARE(skipped.at(1).position, 1);
    QCOMPARE(skipped.at(1).values.value("designator").toString(), QString("R2"));
    QCOMPARE(skipped.at(1).values.value("pack").toString(), QString("0603"));
    QCOMPARE(skipped.at(3).kind, QString("dot"));
}

void TestDataFiles::projectConsecutiveGroups()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("c.project");
    ProjectFile::Data d = sampleProject();
    QVERIFY(ProjectFile::save(path, d, nullptr));
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.value("elementCount").toInt(), 5);
    for (int i = 0; i < 5; ++i)
        QVERIFY(s.childGroups().contains(QString("element%1").arg(i)));
    QVERIFY(!s.childGroups().contains("element5"));
    QCOMPARE(s.value("element4/disabled").toInt(), 2);
}

void TestDataFiles::projectSaveFailureKeepsOldFile()
{
    // The replacement fails: a folder stands where the file should go.
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("taken.project");
        touch(path + "/inside", "keep");
        QString error;
        QVERIFY(!ProjectFile::save(path, sampleProject(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(contentOf(path + "/inside"), QByteArray("keep"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        // Nor can a file be made in a folder that does not exist.
        QVERIFY(!ProjectFile::save(dir.filePath("no/such/folder.project"), sampleProject(), &error));
        QVERIFY(!FeederFile::write(dir.filePath("no/such/bank.leftFeeders"), 0, {}, &error));
        QVERIFY(!PackageBase::writeRecords(dir.filePath("no/such/packageBase.ini"), {}, &error));
    }
    if (runningAsRoot())
        QSKIP("permissions do not bind root");
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.project");
    QVERIFY(ProjectFile::save(path, sampleProject(), nullptr));
    const QByteArray before = contentOf(path);
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ProjectFile::Data changed = sampleProject();
    changed.elements.clear();
    QString error;
    QVERIFY(!ProjectFile::save(path, changed, &error));
    QVERIFY(!error.isEmpty());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(contentOf(path), before);
}

// ---------------------------------------------------------------- feeders

namespace {

QVariantMap sampleFeeder(int i)
{
    QVariantMap f;
    for (const FeederFile::Field &field : FeederFile::fields()) {
        switch (field.type) {
        case FeederFile::FieldType::Int: f.insert(field.name, 3 + i + field.name.size()); break;
        case FeederFile::FieldType::Real: f.insert(field.name, 0.25 + i + field.name.size()); break;
        case FeederFile::FieldType::Bool: f.insert(field.name, (i + field.name.size()) % 2 == 0); break;
        case FeederFile::FieldType::String: f.insert(field.name, field.name + QString(", текст %1; x").arg(i)); break;
        case FeederFile::FieldType::Image: f.insert(field.name, QString()); break;
        }
    }
    f.insert("pack", i == 1 ? "SOT23" : "0603");
    return f;
}

} // namespace

void TestDataFiles::feederRoundTripEveryField()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Левый Банк.leftFeeders");
    QVector<QVariantMap> written;
    for (int i = 0; i < 4; ++i)
        written.append(sampleFeeder(i));
    QImage photo(8, 6, QImage::Format_RGB32);
    photo.fill(Qt::red);
    written[2].insert("elPhoto", photo);
    written[3].insert("packageSettings", QVariantMap{{"A", 1}}); // runtime only
    QString error;
    QVERIFY2(FeederFile::write(path, 6, written, &error), qPrintable(error));

    QSettings raw(path, QSettings::IniFormat);
    QCOMPARE(raw.value("count").toInt(), 6);
    QVERIFY(raw.value("feederL1/exists").toBool());
    QVERIFY(!raw.contains("feederL4/packageSettings"));
    QVERIFY(!raw.childGroups().contains("feederL5"));
    QCOMPARE(raw.childGroups().size(), 4);

    const FeederFile::ReadResult r = FeederFile::read(path, 55);
    QCOMPARE(r.status, FeederFile::ReadResult::Ok);
    QCOMPARE(r.bank, QString("L"));
    QCOMPARE(r.count, 6);
    QCOMPARE(r.feeders.size(), 4);
    for (int i = 0; i < 4; ++i) {
        for (const FeederFile::Field &field : FeederFile::fields()) {
            if (field.type == FeederFile::FieldType::Image)
                continue;
            QCOMPARE(r.feeders.at(i).value(field.name), written.at(i).value(field.name));
        }
    }
    // Photos come back as image texts that are written as images again.
    const QString photoText = r.feeders.at(2).value("elPhoto").toString();
    QVERIFY(photoText.startsWith("data:image/png;base64,"));
    const QImage back = FeederFile::textToImage(photoText).value<QImage>();
    QCOMPARE(back.size(), QSize(8, 6));
    QCOMPARE(back.pixel(3, 3), QColor(Qt::red).rgb());
    QCOMPARE(r.feeders.at(1).value("elPhoto").toString(), QString());
    QVERIFY(FeederFile::write(path, 6, r.feeders, &error));
    QCOMPARE(QSettings(path, QSettings::IniFormat).value("feederL3/elPhoto").type(), QVariant::Image);
    QCOMPARE(FeederFile::textToImage("not an image"), QVariant("not an image"));
}

void TestDataFiles::feederStopsAtMissingExists()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("b.leftFeeders");
    QVector<QVariantMap> feeders{sampleFeeder(0), sampleFeeder(1), sampleFeeder(2), sampleFeeder(3), sampleFeeder(4)};
    QVERIFY(FeederFile::write(path, 10, feeders, nullptr));
    {
        QSettings s(path, QSettings::IniFormat);
        s.remove("feederL4/exists");
    }
    const FeederFile::ReadResult r = FeederFile::read(path, 50);
    QCOMPARE(r.count, 10);
    QCOMPARE(r.feeders.size(), 3);
}

void TestDataFiles::feederLegacyKeysAndDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.upFeeders");
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue("count", 4);
        s.setValue("feederU1/exists", true);
        s.setValue("feederU1/centerCorners", true);
        s.setValue("feederU1/elementPath", "file:///base/SOT23(A2.9B1.3H1.1).png");
        s.setValue("feederU2/exists", "true");
        s.setValue("feederU2/centerPins", true);
        s.setValue("feederU2/pack", "0805");
        s.setValue("feederU2/camera1Exposure", "auto");
        s.setValue("feederU3/exists", true);
        s.setValue("feederU3/centerPins", false);
        s.setValue("feederU3/centerType", 1);
        s.setValue("feederU3/camera1Exposure", 12);
        s.setValue("feederU3/maxAcc", QVariant()); // written empty
        s.setValue("feederU3/pickRetryCount", 0);
    }
    const FeederFile::ReadResult r = FeederFile::read(path, 77);
    QCOMPARE(r.status, FeederFile::ReadResult::Ok);
    QCOMPARE(r.feeders.size(), 3);
    QCOMPARE(r.feeders.at(0).value("centerType").toInt(), 3);
    QCOMPARE(r.feeders.at(0).value("pack").toString(), QString("SOT23"));
    QCOMPARE(r.feeders.at(1).value("centerType").toInt(), 2);
    QCOMPARE(r.feeders.at(1).value("pack").toString(), QString("0805"));
    QCOMPARE(r.feeders.at(2).value("centerType").toInt(), 1);
    // Missing keys: 0, false or empty, except these.
    QCOMPARE(r.feeders.at(0).value("maxAcc").toInt(), 100);
    QCOMPARE(r.feeders.at(2).value("maxAcc").toInt(), 100);
    QCOMPARE(r.feeders.at(0).value("pickRetryCount").toInt(), 1);
    QCOMPARE(r.feeders.at(2).value("pickRetryCount").toInt(), 0);
    QCOMPARE(r.feeders.at(0).value("camera1Exposure").toInt(), 77);
    QCOMPARE(r.feeders.at(1).value("camera1Exposure").toInt(), 77);
    QCOMPARE(r.feeders.at(2).value("camera1Exposure").toInt(), 12);
    QCOMPARE(r.feeders.at(0).value("type").toInt(), 0);
    QCOMPARE(r.feeders.at(0).value("vsCheck").toBool(), false);
    QCOMPARE(r.feeders.at(0).value("customPlaceGCode").toString(), QString());
    QCOMPARE(r.feeders.at(0).value("dotSize").toDouble(), 0.0);
}

void TestDataFiles::feederBadFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::newRow("missing") << "none.leftFeeders" << QByteArray() << int(FeederFile::ReadResult::NotFound);
    QTest::newRow("other extension") << "bank.feeders" << QByteArray("count=1\n")
                                     << int(FeederFile::ReadResult::BadExtension);
    QTest::newRow("absurd count") << "big.rightFeeders" << QByteArray("[General]\ncount=100000\n")
                                  << int(FeederFile::ReadResult::BadCount);
    QTest::newRow("negative count") << "neg.rightFeeders" << QByteArray("[General]\ncount=-3\n")
                                    << int(FeederFile::ReadResult::BadCount);
    QTest::newRow("count not a number") << "nan.rightFeeders" << QByteArray("[General]\ncount=lots\n")
                                        << int(FeederFile::ReadResult::BadCount);
    QTest::newRow("largest count") << "max.bottomFeeders" << QByteArray("[General]\ncount=200\n")
                                   << int(FeederFile::ReadResult::Ok);
}

void TestDataFiles::feederBadFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    if (!content.isEmpty())
        touch(dir.filePath(name), content);
    QTEST(int(FeederFile::read(dir.filePath(name), 50).status), "status");
    QVERIFY(!FeederFile::write(dir.filePath("x.txt"), 1, {}, nullptr));
    QVERIFY(!QFile::exists(dir.filePath("x.txt")));
}

void TestDataFiles::feederBankOfExtension()
{
    QCOMPARE(FeederFile::bankOfPath("/a/b.leftFeeders"), QString("L"));
    QCOMPARE(FeederFile::bankOfPath("/a/b.rightFeeders"), QString("R"));
    QCOMPARE(FeederFile::bankOfPath("/a/b.bottomFeeders"), QString("B"));
    QCOMPARE(FeederFile::bankOfPath("/a/b.upFeeders"), QString("U"));
    QCOMPARE(FeederFile::bankOfPath("/a/b.upfeeders"), QString());
    QCOMPARE(FeederFile::bankOfPath("/a/upFeeders"), QString());
    for (const QString bank : {"L", "R", "B", "U"})
        QCOMPARE(FeederFile::bankOfPath("x." + FeederFile::extensionOfBank(bank)), bank);
}

// ---------------------------------------------------------------- backups

void TestDataFiles::projectBackupRotation()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("job.project");
    touch(path, "current");
    const QDate today(2026, 12, 6);
    // Eleven backups of earlier days, and one of another project.
    for (int i = 1; i <= 11; ++i) {
        const QString b = dir.filePath("backups/" + Backups::backupName("job.project", today.addDays(-i)));
        touch(b);
        setAge(b, QDateTime(today.addDays(-i), QTime(12, 0)));
    }
    touch(dir.filePath("backups/other.project_01_12_2026"));
    setAge(dir.filePath("backups/other.project_01_12_2026"), QDateTime(today.addDays(-100), QTime(12, 0)));

    Backups::beforeSave(path, 10, today);
    const QStringList left = QDir(dir.filePath("backups")).entryList(QDir::Files);
    QVERIFY(!left.contains(Backups::backupName("job.project", today.addDays(-11))));
    QVERIFY(left.contains(Backups::backupName("job.project", today.addDays(-10))));
    QVERIFY(left.contains("other.project_01_12_2026"));
    QCOMPARE(contentOf(dir.filePath("backups/" + Backups::backupName("job.project", today))), QByteArray("current"));
    QCOMPARE(left.size(), 12);
}

void TestDataFiles::projectBackupOncePerDay()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("day.project");
    const QDate today(2026, 12, 6);
    for (int save = 0; save < 12; ++save) {
        Backups::beforeSave(path, 10, today);
        touch(path, QByteArray::number(save));
    }
    const QStringList left = QDir(dir.filePath("backups")).entryList(QDir::Files);
    QCOMPARE(left, QStringList({Backups::backupName("day.project", today)}));
    // The backup holds the state before the first save that had a file.
    QCOMPARE(contentOf(dir.filePath("backups/" + left.first())), QByteArray("0"));
}

void TestDataFiles::feederBackupRotationOverFiveDays()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bank.leftFeeders");
    touch(path, "v0");
    const QDate first(2026, 12, 1);
    for (int day = 0; day < 5; ++day) {
        Backups::beforeSave(path, 3, first.addDays(day));
        const QString b = dir.filePath("backups/" + Backups::backupName("bank.leftFeeders", first.addDays(day)));
        if (QFile::exists(b))
            setAge(b, QDateTime(first.addDays(day), QTime(9, 0)));
        touch(path, "v" + QByteArray::number(day + 1));
    }
    const QStringList left = QDir(dir.filePath("backups")).entryList(QDir::Files);
    QCOMPARE(left.size(), 4);
    QVERIFY(!left.contains(Backups::backupName("bank.leftFeeders", first)));
}

// ---------------------------------------------------------------- change checks

void TestDataFiles::changeCheckIgnoresCounters_data()
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

void TestDataFiles::changeCheckIgnoresCounters()
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

void TestDataFiles::changeCheckUnreadableFileCountsAsChanged()
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

// ---------------------------------------------------------------- statistics

void TestDataFiles::dayStatParsing()
{
    const auto days = ProjectStatistics::parseDayStat(
        "06.12.2026;2;40;80;1;1800|31.02.2026;1;1;1;1;1|05.12.2026;1;2;3;4|04.12.2026;0;0;0;0;0|");
    QCOMPARE(days.size(), 2);
    QCOMPARE(days.at(0).date, QDate(2026, 12, 6));
    QCOMPARE(days.at(1).date, QDate(2026, 12, 4));
    const QVariantMap r = ProjectStatistics::dayRecord(days.at(0));
    QCOMPARE(r.value("pcbPerHour").toString(), QString("4.0"));
    QCOMPARE(r.value("elementsPerHour").toString(), QString("80"));
    QCOMPARE(ProjectStatistics::dayRecord(days.at(1)).value("pcbPerHour").toString(), QString());
    QCOMPARE(ProjectStatistics::dayRecord(days.at(1)).value("elementsPerHour").toString(), QString());
    QCOMPARE(ProjectStatistics::formatDayStat(days), QString("06.12.2026;2;40;80;1;1800|04.12.2026;0;0;0;0;0|"));
}

void TestDataFiles::logLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("color");
    QTest::newRow("plain") << "Плата готова;06.12.2026 10:00:00;white" << true << "Плата готова" << "white";
    QTest::newRow("message with ;") << "Ошибка: a; b;06.12.2026 10:00:00;red" << true << "Ошибка: a; b" << "red";
    QTest::newRow("one ;") << "text;red" << false << "" << "";
    QTest::newRow("empty time") << "text;;red" << false << "" << "";
    QTest::newRow("empty colour") << "text;10:00;" << false << "" << "";
    QTest::newRow("empty message") << ";10:00;red" << false << "" << "";
}

void TestDataFiles::logLines()
{
    QFETCH(QString, line);
    ProjectStatistics::LogEntry e;
    QTEST(ProjectStatistics::parseLogLine(line, &e), "ok");
    QFETCH(bool, ok);
    if (!ok)
        return;
    QTEST(e.message, "message");
    QTEST(e.color, "color");
    QCOMPARE(ProjectStatistics::formatLogLine(e), line);
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_data_files.moc"

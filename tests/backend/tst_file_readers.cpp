// The readers of the operator's files given damaged content: object counts
// that lie, values that are not numbers, not finite or beyond any sensible
// size. Every case reads only what is really there and names what it refused
// in an operator text (that the project, feeder and package readers keep only
// finite values and leave the file as it was, their fuzz targets check on any
// input). The writers refuse a value that is not a finite number.
#include "TestSupport.h"

#include "backend/FeederFile.h"
#include "backend/FileValues.h"
#include "backend/IniFile.h"
#include "backend/MachineRecords.h"
#include "backend/PackageBase.h"
#include "backend/ProjectFile.h"
#include "backend/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>

using namespace TestSupport;

Q_DECLARE_METATYPE(std::function<bool(const QString &, QString *)>)

namespace {

QStringList messagesOf(const QVector<ProjectFile::Skipped> &skipped)
{
    QStringList messages;
    for (const ProjectFile::Skipped &s : skipped)
        messages.append(s.message);
    return messages;
}

QByteArray general(const QByteArray &counts)
{
    return "[General]\n" + counts + "\n";
}

// A component group as the program writes it.
QByteArray element(int position, const QByteArray &designator, const QByteArray &extra = QByteArray())
{
    QByteArray group = "[element" + QByteArray::number(position) + "]\npack=0603\nmodel=B\nindex=0\nrX="
        + QByteArray::number(10 + position) + "\nrY=5\nangle=90\ndisabled=0\ndesignator=" + designator + "\n";
    // A later key of the same name wins in the file.
    return group + extra;
}

QByteArray ref(int position, const QByteArray &extra = QByteArray())
{
    return "[ref" + QByteArray::number(position) + "]\nrX=" + QByteArray::number(100 + position)
        + "\nrY=7\nsize=1\nid=" + QByteArray::number(101 + position) + "\n" + extra;
}

QByteArray dot(int position, const QByteArray &extra = QByteArray())
{
    return "[dot" + QByteArray::number(position) + "]\nmodel=U\nindex=1\nrX=" + QByteArray::number(50 + position)
        + "\nrY=3\n" + extra;
}

// The operator texts of a damaged object count (`count` as "key = value").
QString fewer(const QString &count, int found)
{
    return QString("Файл проекта повреждён: указано %1, но в файле только %2 из них; загружены "
                   "имеющиеся")
        .arg(count)
        .arg(found);
}

QString notACount(const QString &count, int found)
{
    return QString("Файл проекта повреждён: %1 не является количеством; загружено найденных в "
                   "файле: %2")
        .arg(count)
        .arg(found);
}

// Settings of a QVariant holding a double infinity, as QSettings stores one.
const QByteArray variantInfinity = "@Variant(\\0\\0\\0\\x6\\x7f\\xf0\\0\\0\\0\\0\\0\\0)";
// A list that claims 2^31 - 1 items: decoding it reserves 16 GB.
const QByteArray variantHugeList = "@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)";

// A row of a table of single values (columns line, key, value, messages):
// "key=stored" read as `value`; when `taken` is given the stored value is
// refused, in the text `format` (%1 the key, %2 the stored text, %3 `taken`).
void valueRow(const char *name, const QString &format, const QByteArray &key,
              const QByteArray &stored, const QVariant &value, const QString &taken = QString())
{
    QStringList messages;
    if (!taken.isNull()) {
        const QString shown = stored == variantInfinity ? QString("inf")
                                                        : QString::fromUtf8(stored);
        messages.append(format.arg(QString::fromLatin1(key), shown, taken));
    }
    QTest::newRow(name) << key + '=' + stored << QString::fromLatin1(key) << value << messages;
}

void valueColumns()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("messages");
}

} // namespace

class TestFileReaders : public QObject
{
    Q_OBJECT

private slots:
    void projectObjects_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("read"); // marks and dots by rX, components by designator
        QTest::addColumn<QStringList>("messages");

        const QByteArray two = element(0, "R1") + element(1, "R2");
        QTest::newRow("intact") << general("refCount=1\nelementCount=2\ndotCount=1") + ref(0) + two
                                       + dot(0)
                                << QStringList{"mark 100", "R1", "R2", "dot 50"} << QStringList();
        QTest::newRow("element count 2^28")
            << general("elementCount=268435456") + two << QStringList{"R1", "R2"}
            << QStringList{"Файл проекта повреждён: elementCount = 268435456 больше допустимого (20000); "
                           "загружено найденных в файле: 2"};
        QTest::newRow("a group missing in the middle")
            << general("elementCount=3") + element(0, "R1") + element(2, "R3")
            << QStringList{"R1", "R3"} << QStringList{fewer("elementCount = 3", 2)};
        QTest::newRow("count 3.0")
            << general("elementCount=3.0") + two + element(2, "R3") << QStringList{"R1", "R2", "R3"}
            << QStringList{notACount("elementCount = \"3.0\"", 3)};
        QTest::newRow("negative count")
            << general("refCount=-2") + ref(0) << QStringList{"mark 100"}
            << QStringList{notACount("refCount = \"-2\"", 1)};
        QTest::newRow("component rX stored as a double infinity")
            << general("elementCount=1") + element(0, "C7", "rX=" + variantInfinity + "\n")
            << QStringList()
            << QStringList{"Компонент C7 (№1) не загружен: неверное значение rX = \"inf\""};
        QTest::newRow("several damages at once")
            << general("refCount=2\nelementCount=4\ndotCount=x") + ref(0) + element(0, "R1")
                   + element(1, "R2", "rY=1e300\n") + dot(0)
            << QStringList{"mark 100", "R1", "dot 50"}
            << QStringList{fewer("refCount = 2", 1),
                           "Компонент R2 (№2) не загружен: неверное значение rY = \"1e300\"",
                           fewer("elementCount = 4", 2), notACount("dotCount = \"x\"", 1)};
    }

    void projectObjects()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath("damaged.project");
        QVERIFY(writeFile(path, content));
        QVector<ProjectFile::Skipped> skipped;
        ProjectFile::Data data;
        {
            QSettings s(path, QSettings::IniFormat);
            data = ProjectFile::readAll(s, &skipped);
        }
        QStringList read;
        for (const QVariantMap &r : data.refs)
            read.append("mark " + r.value("rX").toString());
        for (const QVariantMap &e : data.elements)
            read.append(e.value("designator").toString());
        for (const QVariantMap &d : data.dots)
            read.append("dot " + d.value("rX").toString());
        QTEST(read, "read");
        QTEST(messagesOf(skipped), "messages");
        // Nothing read is a default standing in for a missing group or value.
        for (const QVariantMap &e : data.elements)
            QCOMPARE(e.value("pack").toString(), QString("0603"));
    }

    void projectBoardValues_data()
    {
        valueColumns();
        const QString board = "Плата: неверное значение %1 = \"%2\", взято %3";
        valueRow("scale 0.05", board, "pcbScale", "0.05", 0.05);
        valueRow("scale nan", board, "pcbScale", "nan", 1.0, "1");
        valueRow("scale 0", board, "pcbScale", "0", 1.0, "1");
        valueRow("panel columns 1e10", board, "pcbMultiCountX", "1e10", 2, "2");
        valueRow("mark photo as a double infinity", board, "pcbRefPointPhoto", variantInfinity,
                 QVariant(), "");
        QTest::newRow("panel position x inf")
            << QByteArray("pcbMulti=true\npcb1\\exists=true\npcb1\\x=1\npcb1\\y=2\npcb1\\rot=0\npcb2\\exists=true\n"
                          "pcb2\\x=inf\npcb2\\y=2\npcb2\\rot=0\npcb3\\exists=true\npcb3\\x=3\npcb3\\y=4\npcb3\\rot=90")
            << "pcbMulti" << QVariant(true)
            << QStringList{"Плата: позиция панели №2 не загружена: неверное значение x = \"inf\""};
    }

    void projectBoardValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QTemporaryDir dir;
        const QString path = dir.filePath("board.project");
        const QByteArray content = "[Pcb]\npcbImage=file:///b.png\n" + line + "\n";
        QVERIFY(writeFile(path, content));
        QVector<ProjectFile::Skipped> skipped;
        QVector<ProjectFile::PanelPosition> panel;
        QVariantMap pcb;
        {
            QSettings s(path, QSettings::IniFormat);
            pcb = ProjectFile::readPcb(s, &panel, &skipped);
        }
        QCOMPARE(pcb.value(key), value);
        QTEST(messagesOf(skipped), "messages");
        QCOMPARE(pcb.value("pcbImage").toString(), QString("file:///b.png"));
        QCOMPARE(pcb.size(), ProjectFile::pcbKeys().size());
        if (key == QLatin1String("pcbMulti")) {
            // The refused position is skipped; the others keep their own places.
            QCOMPARE(panel.size(), 2);
            QCOMPARE(panel.at(0).x, 1.0);
            QCOMPARE(panel.at(1).x, 3.0);
            QCOMPARE(panel.at(1).rot, 90.0);
            QCOMPARE(skipped.at(0).position, 2);
        }
    }

    void writersRefuseNonFinite_data()
    {
        using Write = std::function<bool(const QString &, QString *)>;
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<Write>("write");
        QTest::addColumn<QString>("message");
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        // A small project with one value made non-finite by `spoil`.
        const auto project = [](const std::function<void(ProjectFile::Data &)> &spoil) {
            return Write([spoil](const QString &path, QString *error) {
                ProjectFile::Data d;
                d.panel = {{10, 20, 0}};
                d.elements = {{{"designator", "R1"}, {"rX", 1.0}}, {{"designator", "R2"}, {"rX", 3.0}}};
                spoil(d);
                return ProjectFile::save(path, d, error);
            });
        };
        const QString text = "Проект не сохранён: %1, значение %2 не является конечным числом";
        QTest::newRow("component rX nan")
            << "job.project" << project([nan](ProjectFile::Data &d) { d.elements[1]["rX"] = nan; })
            << text.arg("компонент R2 (№2)", "rX = nan");
        QTest::newRow("panel position -inf")
            << "job.project" << project([inf](ProjectFile::Data &d) { d.panel[0].rot = -inf; })
            << text.arg("позиция панели №1", "rot = -inf");
        QTest::newRow("photo list holding nan")
            << "job.project" << project([nan](ProjectFile::Data &d) { d.pcb["pcbRefPointPhoto"] = QVariantList{1.0, nan}; })
            << text.arg("плата", "pcbRefPointPhoto = QVariantList");
        QTest::newRow("feeder rot inf") << "bank.leftFeeders" << Write([inf](const QString &path, QString *error) {
            const QVariantMap good{{"pack", "0603"}, {"rot", 90.0}};
            const QVariantMap bad{{"pack", "SOT23"}, {"rot", inf}};
            return FeederFile::write(path, 2, {good, bad}, error);
        }) << "Файл питателей не записан: питатель №2 (слева), значение rot = inf не является конечным числом";
        QTest::newRow("package A inf") << "packageBase.ini" << Write([inf](const QString &path, QString *error) {
            const QVariantList records{QVariantMap{{"name", "0603"}, {"A", 1.6}}, QVariantMap{{"name", "SOT23"}, {"A", inf}}};
            return PackageBase::writeRecords(path, records, error);
        }) << "База корпусов не записана: корпус sot23, значение A = inf не является конечным числом";
    }

    void writersRefuseNonFinite()
    {
        QFETCH(QString, fileName);
        QFETCH(std::function<bool(const QString &, QString *)>, write);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        const QByteArray old("[sot23]\nA=2.9\n");
        QVERIFY(writeFile(path, old));
        QString error;
        QVERIFY(!write(path, &error));
        QTEST(error, "message");
        QCOMPARE(contentOf(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{fileName});
    }

    void feederValues_data()
    {
        valueColumns();
        const QString feeder = "Питатель №2 (слева): неверное значение %1 = \"%2\", взято %3";
        valueRow("cup 1e10", feeder, "cupNumber", "1e10", 0, "0");
        valueRow("acceleration abc takes 100", feeder, "maxAcc", "abc", 100, "100");
        valueRow("exposure auto takes the global one", feeder, "camera1Exposure", "auto", 42);
        valueRow("empty value is a missing one", feeder, "maxAcc", "", 100);
    }

    void feederValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QTemporaryDir dir;
        const QString path = dir.filePath("bank.leftFeeders");
        const QByteArray content = "[General]\ncount=3\n[feederL1]\nexists=true\ncupNumber=1\nrot=90\npack=0603\n"
                                   "[feederL2]\nexists=true\npack=SOT23\ncomment=main reel\n"
                                   + line + "\n[feederL3]\nexists=true\ncupNumber=2\n";
        QVERIFY(writeFile(path, content));
        const FeederFile::ReadResult r = FeederFile::read(path, 42);
        QCOMPARE(r.status, FeederFile::ReadResult::Ok);
        // Every feeder keeps its place in the bank.
        QCOMPARE(r.feeders.size(), 3);
        QCOMPARE(r.feeders.at(1).value(key), value);
        QCOMPARE(r.feeders.at(1).value("pack").toString(), QString("SOT23"));
        QCOMPARE(r.feeders.at(1).value("comment").toString(), QString("main reel"));
        QCOMPARE(r.feeders.at(0).value("cupNumber").toInt(), 1);
        QCOMPARE(r.feeders.at(0).value("rot").toDouble(), 90.0);
        QCOMPARE(r.feeders.at(2).value("cupNumber").toInt(), 2);
        QTEST(r.problems, "messages");
    }

    void packageFileNameSizes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("problem");
        const QString digits(309, QLatin1Char('9'));
        QTest::newRow("largest size") << "/b/BIG(A1000B1000H1000).png" << true << QString();
        QTest::newRow("A parses to infinity")
            << "/b/X(A" + digits + "B1H1).png" << false
            << "Корпус X: неверный размер A = inf в имени файла, параметры из имени не взяты";
        QTest::newRow("H 2 m") << "/b/SOIC8(A4.9B6H2000).png" << false
                               << "Корпус SOIC8: неверный размер H = 2000 в имени файла, параметры из имени не взяты";
    }

    void packageFileNameSizes()
    {
        QFETCH(QString, file);
        const PackageBase::FileNameParams p = PackageBase::parseFileName(file);
        QTEST(p.valid, "valid");
        QTEST(p.problem, "problem");
    }

    void packageIniValues_data()
    {
        valueColumns();
        const QString package
            = "Корпус sot23: неверное значение %1 = \"%2\" в packageBase.ini, взято %3";
        // The file name gives A 2.9, B 1.3: cup 1 (0.7 mm) for the target 0.78.
        valueRow("A inf", package, "A", "inf", 2.9, "2.9");
        valueRow("A 5 m", package, "A", "5000", 2.9, "2.9");
        valueRow("slow pick maybe", package, "slowPick", "maybe", false, "false");
    }

    void packageIniValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QTemporaryDir dir;
        const QString path = dir.filePath("packageBase.ini");
        // Every stored key is present: completing adds nothing and writes nothing.
        QByteArray content = "[sot23]\n";
        for (const QString &k : PackageBase::storedKeys()) {
            if (k != key)
                content += k.toLatin1() + (k == "A" ? "=2.9\n" : k == "B" ? "=1.3\n" : k == "H" ? "=1.1\n"
                                           : k == "maxAcc" ? "=100\n" : k == "cupNumber" ? "=1\n" : "=0\n");
        }
        content += line + "\n";
        QVERIFY(writeFile(path, content));
        PackageBase::MachineFacts facts;
        facts.cupDiameters = {0.4, 0.7, 1.0};
        QStringList problems;
        bool changed = true;
        QVariantMap r;
        {
            QSettings ini(path, QSettings::IniFormat);
            r = PackageBase::completeRecord(ini, "sot23", PackageBase::parseFileName("SOT23(A2.9B1.3H1.1W8P4).png"),
                                            facts, &changed, &problems);
        }
        QVERIFY(!changed);
        QCOMPARE(r.value(key), value);
        QTEST(problems, "messages");
        QCOMPARE(contentOf(path), content);
    }

    void settingsFileStatus_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: no file
        QTest::addColumn<bool>("folder");          // a folder stands where the file should be
        QTest::addColumn<QString>("message");      // %1 the path, %2 the copy
        QTest::newRow("no file yet") << QByteArray() << false << QString();
        QTest::newRow("intact") << QByteArray("[device]\nworkAreaX2=500\n") << false << QString();
        QTest::newRow("section without its bracket")
            << QByteArray("[device]\nworkAreaX2=500\n[project\nprojectName=x\n") << false
            << "Файл настроек повреждён: %1. Непрочитанные настройки взяты по умолчанию; копия файла: %2";
        QTest::newRow("not readable") << QByteArray() << true
                                      << "Файл настроек не читается: %1. Действуют настройки по умолчанию.";
    }

    void settingsFileStatus()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, folder);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        if (!content.isEmpty())
            QVERIFY(writeFile(path, content));
        if (folder)
            QVERIFY(QDir().mkpath(path));
        SettingsStore store(path);
        QStringList copies = QDir(dir.path()).entryList({"settings.ini.damaged-*"}, QDir::Files);
        if (message.isEmpty())
            QCOMPARE(store.openError(), QString());
        else
            QCOMPARE(store.openError(), QString(message).replace("%1", path).replace(
                                            "%2", copies.isEmpty() ? QString() : dir.filePath(copies.first())));
        if (!message.isEmpty() && !folder) {
            QCOMPARE(copies.size(), 1);
            QCOMPARE(contentOf(dir.filePath(copies.first())), content);
            // What could be read is there.
            QCOMPARE(store.value("device", "workAreaX2", 400).toInt(), 500);
        } else {
            QVERIFY(copies.isEmpty());
        }
        if (!content.isEmpty())
            QCOMPARE(contentOf(path), content);
    }

    void settingsNumbers_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QVariant>("def");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("messages");
        auto refused = [](const QString &stored, const QString &taken) {
            return QStringList{
                QString("Настройка device/x: неверное значение \"%1\" в файле настроек, взято %2").arg(stored, taken)};
        };
        QTest::newRow("number") << QByteArray("12.5") << QVariant(3.0) << QVariant("12.5") << QStringList();
        QTest::newRow("inf") << QByteArray("inf") << QVariant(3.0) << QVariant(3.0) << refused("inf", "3");
        QTest::newRow("text setting keeps its text") << QByteArray("abc") << QVariant("z") << QVariant("abc")
                                                     << QStringList();
    }

    void settingsNumbers()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QVariant, def);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        const QByteArray content = "[device]\n" + (stored.isEmpty() ? QByteArray() : "x=" + stored + "\n");
        QVERIFY(writeFile(path, content));
        SettingsStore store(path);
        QTEST(store.value("device", "x", def), "value");
        QTEST(store.takeProblems(), "messages");
        QVERIFY(store.takeProblems().isEmpty());
        QCOMPARE(contentOf(path), content);
    }

    void machineRecordValues_data()
    {
        valueColumns();
        const QString cup = "Насадка №2: неверное значение %1 = \"%2\" в файле настроек, взято %3";
        valueRow("diameter nan", cup, "cupDiameter", "nan", 1.0, "1");
        valueRow("press as a double infinity", cup, "press", variantInfinity, 1.0, "1");
        valueRow("vacuum check maybe", cup, "vsUse", "maybe", false, "false");
    }

    void machineRecordValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        const QByteArray content = "[cup1]\nexists=true\ncupDiameter=0.4\n[cup2]\nexists=true\ntakeM=m64 p1\n" + line
            + "\n[vibroBank1]\nexists=true\npwmFreq=1e10\n";
        QVERIFY(writeFile(path, content));
        QStringList problems;
        QVariantList cups;
        QVariantList vibro;
        {
            QSettings s(path, QSettings::IniFormat);
            cups = MachineRecords::readAll(s, MachineRecords::cups(), &problems);
            vibro = MachineRecords::readAll(s, MachineRecords::vibroBanks(), &problems);
        }
        QCOMPARE(cups.size(), 8);
        QCOMPARE(cups.at(1).toMap().value(key), value);
        QCOMPARE(cups.at(1).toMap().value("takeM").toString(), QString("m64 p1"));
        QCOMPARE(cups.at(0).toMap().value("cupDiameter").toDouble(), 0.4);
        QCOMPARE(vibro.at(0).toMap().value("pwmFreq").toInt(), 20);
        QTEST(QStringList(problems.mid(0, problems.size() - 1)), "messages");
        QCOMPARE(problems.last(),
                 QString("Банк вибропитателей №1: неверное значение pwmFreq = \"1e10\" в файле настроек, взято 20"));
        QCOMPARE(contentOf(path), content);
    }

    void settingsWritersRefuseNonFinite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        const QByteArray content = "[cup1]\nexists=true\ncupDiameter=0.4\n[device]\nworkAreaX2=500\n";
        QVERIFY(writeFile(path, content));
        {
            SettingsStore store(path);
            QVERIFY(!store.setValue("device", "workAreaX2", std::numeric_limits<double>::infinity()));
            QVERIFY(!store.setValue("device", "maxVel", QVariantList{100.0, std::nan("")}));
            QVERIFY(store.setValue("device", "maxAcc", QVariantList{100.0, 50}));
            QVariantList cups = MachineRecords::readAll(store.settings(), MachineRecords::cups());
            QVariantMap cup = cups.at(0).toMap();
            cup["cupDiameter"] = std::nan("");
            cups[0] = cup;
            QString error;
            QVERIFY(!MachineRecords::writeAll(store.settings(), MachineRecords::cups(), cups, &error));
            QCOMPARE(error, QString("Настройки не записаны: насадка №1, значение cupDiameter = nan не является конечным "
                                    "числом"));
            store.sync();
        }
        QSettings back(path, QSettings::IniFormat);
        QCOMPARE(back.value("device/workAreaX2").toString(), QString("500"));
        QVERIFY(!back.contains("device/maxVel"));
        QCOMPARE(back.value("device/maxAcc").toStringList(), QStringList({"100", "50"}));
        QCOMPARE(back.value("cup1/cupDiameter").toString(), QString("0.4"));
        QVERIFY(!back.contains("cup2/exists"));
    }

    void fileValueConversions_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("wholeOk");
        QTest::addColumn<bool>("intOk");
        QTest::addColumn<int>("intValue");
        QTest::addColumn<bool>("realOk");
        QTest::addColumn<double>("realValue");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow(" -7 ") << QVariant(" -7 ") << true << true << -7 << true << -7.0;
        QTest::newRow("3.0") << QVariant("3.0") << false << true << 3 << true << 3.0;
        QTest::newRow("-3.9") << QVariant("-3.9") << false << true << -3 << true << -3.9;
        QTest::newRow("1e10") << QVariant("1e10") << false << false << 0 << true << 1e10;
        QTest::newRow("2147483647") << QVariant("2147483647") << true << true << 2147483647 << true << 2147483647.0;
        QTest::newRow("2147483648") << QVariant("2147483648") << false << false << 0 << true << 2147483648.0;
        QTest::newRow("2147483647.5") << QVariant("2147483647.5") << false << true << 2147483647 << true << 2147483647.5;
        QTest::newRow("inf") << QVariant("inf") << false << false << 0 << false << 0.0;
        QTest::newRow("double inf") << QVariant(inf) << false << false << 0 << false << 0.0;
        QTest::newRow("list") << QVariant(QVariantList{1}) << false << false << 0 << false << 0.0;
    }

    void fileValueConversions()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, intValue);
        QFETCH(double, realValue);
        int whole = 0;
        int i = 0;
        double d = 0;
        QTEST(FileValues::toWholeNumber(stored, &whole), "wholeOk");
        const bool intOk = FileValues::toInt(stored, &i);
        QTEST(intOk, "intOk");
        if (intOk)
            QCOMPARE(i, intValue);
        const bool realOk = FileValues::toReal(stored, &d);
        QTEST(realOk, "realOk");
        if (realOk)
            QCOMPARE(d, realValue);
    }

    void undecodableFiles_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("section");   // where the damaged value is
        QTest::newRow("project, top level") << "project" << "General";
        QTest::newRow("feeder bank") << "feeders" << "feederL1";
        QTest::newRow("package base, writing") << "packageWrite" << "other";
        QTest::newRow("change check") << "differ" << "Pcb";
        QTest::newRow("settings store") << "settings" << "device";
    }

    void undecodableFiles()
    {
        QFETCH(QString, reader);
        QFETCH(QString, section);
        QTemporaryDir dir;
        const QString name = reader == "feeders" ? "bank.leftFeeders"
            : reader == "settings"                ? "settings.ini"
            : reader.startsWith("package")       ? "packageBase.ini"
                                                  : "job.project";
        const QString path = dir.filePath(name);
        const QByteArray content = "[General]\nelementCount=1\ncount=1\n[" + section.toLatin1() + "]\nexists=true\nrX=1\nA=2\nbad="
            + variantHugeList + "\n[feederL1]\nexists=true\n[element0]\ndesignator=R1\n";
        QVERIFY(writeFile(path, content));

        if (reader == "project") {
            QVector<ProjectFile::Skipped> skipped;
            QSettings s(path, QSettings::IniFormat);
            const ProjectFile::Data d = ProjectFile::readAll(s, &skipped);
            QVERIFY(d.elements.isEmpty() && d.refs.isEmpty() && d.dots.isEmpty() && d.pcb.isEmpty());
            QCOMPARE(messagesOf(skipped), QStringList{"Файл проекта повреждён: его значения не читаются"});
            QCOMPARE(skipped.at(0).kind, QString("file"));
        } else if (reader == "feeders") {
            const FeederFile::ReadResult r = FeederFile::read(path, 50);
            QCOMPARE(r.status, FeederFile::ReadResult::ReadError);
            QVERIFY(r.feeders.isEmpty());
        } else if (reader == "packageWrite") {
            QString error;
            QVERIFY(!PackageBase::writeRecords(path, {QVariantMap{{"name", "0603"}, {"A", 1.6}}}, &error));
            QCOMPARE(error, IniFile::unreadableText());
        } else if (reader == "differ") {
            const QString other = dir.filePath("other.project");
            QVERIFY(writeFile(other, "[General]\nelementCount=1\n"));
            QVERIFY(IniFile::differ(path, other, nullptr));
            QVERIFY(IniFile::differ(other, path, nullptr));
        } else {
            QString aside;
            {
                SettingsStore store(path);
                const QStringList moved = QDir(dir.path()).entryList({"settings.ini.damaged-*"}, QDir::Files);
                QCOMPARE(moved.size(), 1);
                aside = dir.filePath(moved.first());
                QCOMPARE(store.openError(), QString("Файл настроек повреждён: %1. Его значения не читаются; файл отложен как "
                                                    "%2, действуют настройки по умолчанию.")
                                                .arg(path, aside));
                // The store starts empty and keeps working.
                QCOMPARE(store.value("device", "workAreaX2", 400).toInt(), 400);
                QVERIFY(MachineRecords::readAll(store.settings(), MachineRecords::cups()).size() == 8);
                QVERIFY(store.setValue("device", "workAreaX2", 450));
                store.sync();
            }
            // The damaged file is kept whole; the new store holds the new value.
            QCOMPARE(contentOf(aside), content);
            QCOMPARE(QSettings(path, QSettings::IniFormat).value("device/workAreaX2").toInt(), 450);
            return;
        }
        // A group left open stays open around the check.
        QSettings s(path, QSettings::IniFormat);
        s.beginGroup("General");
        QVERIFY(!FileValues::parseAll(s));
        QCOMPARE(s.group(), QString("General"));
        QCOMPARE(contentOf(path), content);
    }
};

QTEST_GUILESS_MAIN(TestFileReaders)
#include "tst_file_readers.moc"

// The readers of the operator's files given damaged content: object counts
// that lie, values that are not numbers, not finite or beyond any sensible
// size. Every case reads only what is really there, names what it refused in
// an operator text, and leaves the file on disk as it was. The writers refuse
// a value that is not a finite number.
#include "TestSupport.h"

#include "backend/FeederFile.h"
#include "backend/FileValues.h"
#include "backend/IniFile.h"
#include "backend/MachineRecords.h"
#include "backend/PackageBase.h"
#include "backend/ProjectFile.h"
#include "backend/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace TestSupport;

namespace {

QStringList messagesOf(const QVector<ProjectFile::Skipped> &skipped)
{
    QStringList messages;
    for (const ProjectFile::Skipped &s : skipped)
        messages.append(s.message);
    return messages;
}

QStringList valuesOf(const QVector<QVariantMap> &objects, const QString &key)
{
    QStringList values;
    for (const QVariantMap &o : objects)
        values.append(o.value(key).toString());
    return values;
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

// Settings of a QVariant holding a double infinity, as QSettings stores one.
const QByteArray variantInfinity = "@Variant(\\0\\0\\0\\x6\\x7f\\xf0\\0\\0\\0\\0\\0\\0)";
// A list that claims 2^31 - 1 items: decoding it reserves 16 GB.
const QByteArray variantHugeList = "@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)";

} // namespace

class TestFileReaders : public QObject
{
    Q_OBJECT

private slots:
    void projectObjects_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("refs");       // rX of the marks read
        QTest::addColumn<QStringList>("elements");   // designators of the components read
        QTest::addColumn<QStringList>("dots");       // rX of the dots read
        QTest::addColumn<QStringList>("messages");

        const QByteArray two = element(0, "R1") + element(1, "R2");
        QTest::newRow("intact") << QByteArray("[General]\nrefCount=1\nelementCount=2\ndotCount=1\n") + ref(0) + two + dot(0)
                                << QStringList{"100"} << QStringList{"R1", "R2"} << QStringList{"50"} << QStringList();
        QTest::newRow("element count 2^28")
            << QByteArray("[General]\nelementCount=268435456\n") + two << QStringList() << QStringList{"R1", "R2"}
            << QStringList()
            << QStringList{"Файл проекта повреждён: elementCount = 268435456 больше допустимого (20000); загружено "
                           "найденных в файле: 2"};
        QTest::newRow("element count a million, no groups")
            << QByteArray("[General]\nelementCount=1000000\n") << QStringList() << QStringList() << QStringList()
            << QStringList{"Файл проекта повреждён: elementCount = 1000000 больше допустимого (20000); загружено "
                           "найденных в файле: 0"};
        QTest::newRow("five marks, three groups")
            << QByteArray("[General]\nrefCount=5\n") + ref(0) + ref(1) + ref(2) << QStringList{"100", "101", "102"}
            << QStringList() << QStringList()
            << QStringList{"Файл проекта повреждён: указано refCount = 5, но в файле только 3 из них; загружены имеющиеся"};
        QTest::newRow("mark count above the board's limit")
            << QByteArray("[General]\nrefCount=51\n") + ref(0) << QStringList{"100"} << QStringList() << QStringList()
            << QStringList{"Файл проекта повреждён: refCount = 51 больше допустимого (50); загружено найденных в файле: 1"};
        QTest::newRow("a group missing in the middle")
            << QByteArray("[General]\nelementCount=3\n") + element(0, "R1") + element(2, "R3") << QStringList()
            << QStringList{"R1", "R3"} << QStringList()
            << QStringList{"Файл проекта повреждён: указано elementCount = 3, но в файле только 2 из них; загружены "
                           "имеющиеся"};
        QTest::newRow("groups beyond the count stay unread")
            << QByteArray("[General]\nelementCount=1\n") + two << QStringList() << QStringList{"R1"} << QStringList()
            << QStringList();
        QTest::newRow("count 3.0")
            << QByteArray("[General]\nelementCount=3.0\n") + two + element(2, "R3") << QStringList()
            << QStringList{"R1", "R2", "R3"} << QStringList()
            << QStringList{"Файл проекта повреждён: elementCount = \"3.0\" не является количеством; загружено найденных в "
                           "файле: 3"};
        QTest::newRow("count abc")
            << QByteArray("[General]\ndotCount=abc\n") + dot(0) << QStringList() << QStringList() << QStringList{"50"}
            << QStringList{"Файл проекта повреждён: dotCount = \"abc\" не является количеством; загружено найденных в "
                           "файле: 1"};
        QTest::newRow("negative count")
            << QByteArray("[General]\nrefCount=-2\n") + ref(0) << QStringList{"100"} << QStringList() << QStringList()
            << QStringList{"Файл проекта повреждён: refCount = \"-2\" не является количеством; загружено найденных в "
                           "файле: 1"};
        QTest::newRow("count zero") << QByteArray("[General]\nelementCount=0\n") + two << QStringList() << QStringList()
                                    << QStringList() << QStringList();
        QTest::newRow("component rX inf")
            << QByteArray("[General]\nelementCount=2\n") + element(0, "R1") + element(1, "R2", "rX=inf\n")
            << QStringList() << QStringList{"R1"} << QStringList()
            << QStringList{"Компонент R2 (№2) не загружен: неверное значение rX = \"inf\""};
        QTest::newRow("component rX abc")
            << QByteArray("[General]\nelementCount=2\n") + element(0, "R1", "rX=abc\n") + element(1, "R2")
            << QStringList() << QStringList{"R2"} << QStringList()
            << QStringList{"Компонент R1 (№1) не загружен: неверное значение rX = \"abc\""};
        QTest::newRow("component rX empty")
            << QByteArray("[General]\nelementCount=1\n") + element(0, "R1", "rX=\n") << QStringList() << QStringList()
            << QStringList() << QStringList{"Компонент R1 (№1) не загружен: неверное значение rX = \"\""};
        QTest::newRow("component rX stored as a double infinity")
            << QByteArray("[General]\nelementCount=1\n") + element(0, "C7", "rX=" + variantInfinity + "\n")
            << QStringList() << QStringList() << QStringList()
            << QStringList{"Компонент C7 (№1) не загружен: неверное значение rX = \"inf\""};
        QTest::newRow("component without designator, rY nan, angle 1e7")
            << QByteArray("[General]\nelementCount=1\n") + element(0, "", "rY=nan\nangle=1e7\n") << QStringList()
            << QStringList() << QStringList()
            << QStringList{"Компонент №1 не загружен: неверное значение rY = \"nan\", angle = \"1e7\""};
        QTest::newRow("component feeder number 1e10")
            << QByteArray("[General]\nelementCount=1\n") + element(0, "U1", "index=1e10\n") << QStringList()
            << QStringList() << QStringList()
            << QStringList{"Компонент U1 (№1) не загружен: неверное значение index = \"1e10\""};
        QTest::newRow("component disabled -inf")
            << QByteArray("[General]\nelementCount=1\n") + element(0, "U2", "disabled=-inf\n") << QStringList()
            << QStringList() << QStringList()
            << QStringList{"Компонент U2 (№1) не загружен: неверное значение disabled = \"-inf\""};
        QTest::newRow("component feeder number 3.7 is 3")
            << QByteArray("[General]\nelementCount=1\n") + element(0, "U3", "index=3.7\n") << QStringList()
            << QStringList{"U3"} << QStringList() << QStringList();
        QTest::newRow("mark size nan")
            << QByteArray("[General]\nrefCount=2\n") + ref(0, "size=nan\n") + ref(1) << QStringList{"101"}
            << QStringList() << QStringList()
            << QStringList{"Реперный знак №1 не загружен: неверное значение size = \"nan\""};
        QTest::newRow("dot rX -inf")
            << QByteArray("[General]\ndotCount=2\n") + dot(0) + dot(1, "rX=-inf\n") << QStringList() << QStringList()
            << QStringList{"50"} << QStringList{"Точка дозирования №2 не загружена: неверное значение rX = \"-inf\""};
        QTest::newRow("several damages at once")
            << QByteArray("[General]\nrefCount=2\nelementCount=4\ndotCount=x\n") + ref(0) + element(0, "R1")
                   + element(1, "R2", "rY=1e300\n") + dot(0)
            << QStringList{"100"} << QStringList{"R1"} << QStringList{"50"}
            << QStringList{"Файл проекта повреждён: указано refCount = 2, но в файле только 1 из них; загружены имеющиеся",
                           "Компонент R2 (№2) не загружен: неверное значение rY = \"1e300\"",
                           "Файл проекта повреждён: указано elementCount = 4, но в файле только 2 из них; загружены "
                           "имеющиеся",
                           "Файл проекта повреждён: dotCount = \"x\" не является количеством; загружено найденных в "
                           "файле: 1"};
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
        QTEST(valuesOf(data.refs, "rX"), "refs");
        QTEST(valuesOf(data.elements, "designator"), "elements");
        QTEST(valuesOf(data.dots, "rX"), "dots");
        QTEST(messagesOf(skipped), "messages");
        // Nothing read is a default standing in for a missing group or value.
        for (const QVariantMap &e : data.elements) {
            QCOMPARE(e.value("pack").toString(), QString("0603"));
            QVERIFY(std::isfinite(e.value("rX").toDouble()) && std::isfinite(e.value("rY").toDouble()));
        }
        QCOMPARE(contentOf(path), content);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"damaged.project"});
    }

    void projectBoardValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("messages");

        auto refused = [](const QString &key, const QString &stored, const QString &taken) {
            return QStringList{QString("Плата: неверное значение %1 = \"%2\", взято %3").arg(key, stored, taken)};
        };
        QTest::newRow("scale 0.05") << QByteArray("pcbScale=0.05") << "pcbScale" << QVariant(0.05) << QStringList();
        QTest::newRow("scale nan") << QByteArray("pcbScale=nan") << "pcbScale" << QVariant(1.0)
                                   << refused("pcbScale", "nan", "1");
        QTest::newRow("scale inf") << QByteArray("pcbScale=inf") << "pcbScale" << QVariant(1.0)
                                   << refused("pcbScale", "inf", "1");
        QTest::newRow("scale 0") << QByteArray("pcbScale=0") << "pcbScale" << QVariant(1.0) << refused("pcbScale", "0", "1");
        QTest::newRow("scale -1") << QByteArray("pcbScale=-1") << "pcbScale" << QVariant(1.0)
                                  << refused("pcbScale", "-1", "1");
        QTest::newRow("scale abc") << QByteArray("pcbScale=abc") << "pcbScale" << QVariant(1.0)
                                   << refused("pcbScale", "abc", "1");
        QTest::newRow("panel columns 1e10") << QByteArray("pcbMultiCountX=1e10") << "pcbMultiCountX" << QVariant(2)
                                            << refused("pcbMultiCountX", "1e10", "2");
        QTest::newRow("panel columns 0") << QByteArray("pcbMultiCountX=0") << "pcbMultiCountX" << QVariant(2)
                                         << refused("pcbMultiCountX", "0", "2");
        QTest::newRow("panel rows 1000") << QByteArray("pcbMultiCountY=1000") << "pcbMultiCountY" << QVariant(2)
                                         << refused("pcbMultiCountY", "1000", "2");
        QTest::newRow("panel rows 12") << QByteArray("pcbMultiCountY=12") << "pcbMultiCountY" << QVariant(12)
                                       << QStringList();
        QTest::newRow("thickness -1") << QByteArray("pcbThickness=-1") << "pcbThickness" << QVariant(1.5)
                                      << refused("pcbThickness", "-1", "1.5");
        QTest::newRow("board x -inf") << QByteArray("pcbX=-inf") << "pcbX" << QVariant(0.0) << refused("pcbX", "-inf", "0");
        QTest::newRow("rotation 1e7") << QByteArray("pcbRotation=1e7") << "pcbRotation" << QVariant(0.0)
                                      << refused("pcbRotation", "1e7", "0");
        QTest::newRow("mount time 2e9 seconds") << QByteArray("pcbMountTimeInt=2000000000") << "pcbMountTimeInt"
                                                << QVariant(2000000000) << QStringList();
        QTest::newRow("mount time 1e10") << QByteArray("pcbMountTimeInt=1e10") << "pcbMountTimeInt" << QVariant(0)
                                         << refused("pcbMountTimeInt", "1e10", "0");
        QTest::newRow("mark photo as a double infinity")
            << QByteArray("pcbRefPointPhoto=") + variantInfinity << "pcbRefPointPhoto" << QVariant()
            << refused("pcbRefPointPhoto", "inf", "");
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
        for (const QVariant &v : pcb)
            QVERIFY(FileValues::isFinite(v));
        if (key == QLatin1String("pcbMulti")) {
            // The refused position is skipped; the others keep their own places.
            QCOMPARE(panel.size(), 2);
            QCOMPARE(panel.at(0).x, 1.0);
            QCOMPARE(panel.at(1).x, 3.0);
            QCOMPARE(panel.at(1).rot, 90.0);
            QCOMPARE(skipped.at(0).position, 2);
        }
        QCOMPARE(contentOf(path), content);
    }

    void projectWriterRefusesNonFinite_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("message");
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("component rX nan") << "element" << nan
                                          << "Проект не сохранён: компонент R2 (№2), значение rX = nan не является конечным "
                                             "числом";
        QTest::newRow("mark size inf") << "ref" << inf
                                       << "Проект не сохранён: реперный знак №1, значение size = inf не является конечным "
                                          "числом";
        QTest::newRow("dot rY -inf") << "dot" << -inf
                                     << "Проект не сохранён: точка дозирования №1, значение rY = -inf не является конечным "
                                        "числом";
        QTest::newRow("board scale inf") << "Pcb" << inf
                                         << "Проект не сохранён: плата, значение pcbScale = inf не является конечным числом";
        QTest::newRow("panel position nan") << "panel" << nan
                                            << "Проект не сохранён: позиция панели №1, значение rot = nan не является "
                                               "конечным числом";
        QTest::newRow("work area inf") << "device" << inf
                                       << "Проект не сохранён: рабочая область, значение workAreaX2 = inf не является "
                                          "конечным числом";
        QTest::newRow("photo list holding nan") << "photo" << nan
                                                << "Проект не сохранён: плата, значение pcbRefPointPhoto = QVariantList не "
                                                   "является конечным числом";
    }

    void projectWriterRefusesNonFinite()
    {
        QFETCH(QString, what);
        QFETCH(double, value);
        ProjectFile::Data d;
        d.device = {{"workAreaX1", 0.0}, {"workAreaX2", 400.0}};
        d.pcb = {{"pcbScale", 0.1}};
        d.panel = {{10, 20, 0}};
        d.refs = {{{"rX", 1.0}, {"rY", 2.0}, {"size", 1.0}}};
        d.elements = {{{"designator", "R1"}, {"rX", 1.0}, {"rY", 2.0}}, {{"designator", "R2"}, {"rX", 3.0}, {"rY", 4.0}}};
        d.dots = {{{"rX", 1.0}, {"rY", 2.0}}};
        if (what == "element")
            d.elements[1]["rX"] = value;
        else if (what == "ref")
            d.refs[0]["size"] = value;
        else if (what == "dot")
            d.dots[0]["rY"] = value;
        else if (what == "Pcb")
            d.pcb["pcbScale"] = value;
        else if (what == "panel")
            d.panel[0].rot = value;
        else if (what == "device")
            d.device["workAreaX2"] = value;
        else
            d.pcb["pcbRefPointPhoto"] = QVariantList{1.0, value};

        QTemporaryDir dir;
        const QString path = dir.filePath("job.project");
        QVERIFY(writeFile(path, "[General]\nelementCount=0\n"));
        QString error;
        QVERIFY(!ProjectFile::save(path, d, &error));
        QTEST(error, "message");
        QCOMPARE(contentOf(path), QByteArray("[General]\nelementCount=0\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"job.project"});
    }

    void feederValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("messages");

        auto refused = [](const QString &key, const QString &stored, const QString &taken) {
            return QStringList{
                QString("Питатель №2 (слева): неверное значение %1 = \"%2\", взято %3").arg(key, stored, taken)};
        };
        QTest::newRow("cup 3") << QByteArray("cupNumber=3") << "cupNumber" << QVariant(3) << QStringList();
        QTest::newRow("cup 1e10") << QByteArray("cupNumber=1e10") << "cupNumber" << QVariant(0)
                                  << refused("cupNumber", "1e10", "0");
        QTest::newRow("cup abc") << QByteArray("cupNumber=abc") << "cupNumber" << QVariant(0)
                                 << refused("cupNumber", "abc", "0");
        QTest::newRow("cup nan") << QByteArray("cupNumber=nan") << "cupNumber" << QVariant(0)
                                 << refused("cupNumber", "nan", "0");
        QTest::newRow("cup stored as a double infinity") << QByteArray("cupNumber=") + variantInfinity << "cupNumber"
                                                         << QVariant(0) << refused("cupNumber", "inf", "0");
        QTest::newRow("cup 2.0") << QByteArray("cupNumber=2.0") << "cupNumber" << QVariant(2) << QStringList();
        QTest::newRow("acceleration abc takes 100") << QByteArray("maxAcc=abc") << "maxAcc" << QVariant(100)
                                                    << refused("maxAcc", "abc", "100");
        QTest::newRow("retries -1e12") << QByteArray("pickRetryCount=-1e12") << "pickRetryCount" << QVariant(1)
                                       << refused("pickRetryCount", "-1e12", "1");
        QTest::newRow("rotation inf") << QByteArray("rot=inf") << "rot" << QVariant(0.0) << refused("rot", "inf", "0");
        QTest::newRow("rotation abc") << QByteArray("rot=abc") << "rot" << QVariant(0.0) << refused("rot", "abc", "0");
        QTest::newRow("tray x nan") << QByteArray("caseX=nan") << "caseX" << QVariant(0.0)
                                    << refused("caseX", "nan", "0");
        QTest::newRow("rotation -90.5") << QByteArray("rot=-90.5") << "rot" << QVariant(-90.5) << QStringList();
        QTest::newRow("exposure auto takes the global one") << QByteArray("camera1Exposure=auto") << "camera1Exposure"
                                                           << QVariant(42) << QStringList();
        QTest::newRow("empty value is a missing one") << QByteArray("maxAcc=") << "maxAcc" << QVariant(100)
                                                      << QStringList();
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
        for (const QVariantMap &f : r.feeders) {
            for (const QVariant &v : f)
                QVERIFY(FileValues::isFinite(v));
        }
        QCOMPARE(contentOf(path), content);
    }

    void feederCounts_data()
    {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("feeders");
        QTest::newRow("3") << QByteArray("3") << int(FeederFile::ReadResult::Ok) << 2;
        QTest::newRow("3.0") << QByteArray("3.0") << int(FeederFile::ReadResult::BadCount) << 0;
        QTest::newRow("abc") << QByteArray("abc") << int(FeederFile::ReadResult::BadCount) << 0;
        QTest::newRow("1e10") << QByteArray("1e10") << int(FeederFile::ReadResult::BadCount) << 0;
        QTest::newRow("2^31") << QByteArray("2147483648") << int(FeederFile::ReadResult::BadCount) << 0;
        QTest::newRow("double infinity") << variantInfinity << int(FeederFile::ReadResult::BadCount) << 0;
    }

    void feederCounts()
    {
        QFETCH(QByteArray, count);
        QTemporaryDir dir;
        const QString path = dir.filePath("b.rightFeeders");
        const QByteArray content = "[General]\ncount=" + count + "\n[feederR1]\nexists=true\n[feederR2]\nexists=true\n";
        QVERIFY(writeFile(path, content));
        const FeederFile::ReadResult r = FeederFile::read(path, 50);
        QTEST(int(r.status), "status");
        QTEST(int(r.feeders.size()), "feeders");
        QVERIFY(r.count <= FeederFile::maxCount);
        QCOMPARE(contentOf(path), content);
    }

    void feederWriterRefusesNonFinite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bank.leftFeeders");
        QVERIFY(writeFile(path, "[General]\ncount=0\n"));
        QVariantMap good{{"pack", "0603"}, {"rot", 90.0}};
        QVariantMap bad{{"pack", "SOT23"}, {"rot", std::numeric_limits<double>::infinity()}};
        QString error;
        QVERIFY(!FeederFile::write(path, 2, {good, bad}, &error));
        QCOMPARE(error, QString("Файл питателей не записан: питатель №2 (слева), значение rot = inf не является конечным "
                                "числом"));
        bad["rot"] = QVariant();
        bad["caseZ"] = std::nan("");
        QVERIFY(!FeederFile::write(path, 2, {good, bad}, &error));
        QVERIFY2(error.contains("caseZ = nan"), qPrintable(error));
        QCOMPARE(contentOf(path), QByteArray("[General]\ncount=0\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bank.leftFeeders"});
        bad.remove("caseZ");
        QVERIFY2(FeederFile::write(path, 2, {good, bad}, &error), qPrintable(error));
        QCOMPARE(FeederFile::read(path, 50).feeders.size(), 2);
    }

    void packageFileNameSizes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("problem");
        const QString digits(309, QLatin1Char('9'));
        QTest::newRow("sizes fine") << "/b/SOT23(A2.9B1.3H1.1D0.8).png" << true << QString();
        QTest::newRow("largest size") << "/b/BIG(A1000B1000H1000).png" << true << QString();
        QTest::newRow("A parses to infinity")
            << "/b/X(A" + digits + "B1H1).png" << false
            << "Корпус X: неверный размер A = inf в имени файла, параметры из имени не взяты";
        QTest::newRow("H 2 m") << "/b/SOIC8(A4.9B6H2000).png" << false
                               << "Корпус SOIC8: неверный размер H = 2000 в имени файла, параметры из имени не взяты";
        QTest::newRow("cup 1e250 mm") << "/b/Q(A1B1H1D1" + QString(250, QLatin1Char('0')) + ").png" << false
                                      << "Корпус Q: неверный размер D = 1e+250 в имени файла, параметры из имени не взяты";
    }

    void packageFileNameSizes()
    {
        QFETCH(QString, file);
        const PackageBase::FileNameParams p = PackageBase::parseFileName(file);
        QTEST(p.valid, "valid");
        QTEST(p.problem, "problem");
        for (const QVariant &v : PackageBase::toMap(p))
            QVERIFY(FileValues::isFinite(v));
        // Completing the record writes finite sizes only.
        QTemporaryDir dir;
        const QString iniPath = dir.filePath("packageBase.ini");
        {
            QSettings ini(iniPath, QSettings::IniFormat);
            PackageBase::MachineFacts facts;
            facts.cupDiameters = {0.4, 1.0};
            const QVariantMap r = PackageBase::completeRecord(ini, p.name.toLower(), p, facts);
            for (const QVariant &v : r)
                QVERIFY(FileValues::isFinite(v));
            QVERIFY(PackageBase::checkWritten(ini).isEmpty());
        }
        const QByteArray written = contentOf(iniPath);
        QVERIFY(!written.contains("inf"));
        QVERIFY(written.contains(p.valid ? "\nA=" : "\nA=1\n"));
    }

    void packageIniValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("messages");

        auto refused = [](const QString &key, const QString &stored, const QString &taken) {
            return QStringList{
                QString("Корпус sot23: неверное значение %1 = \"%2\" в packageBase.ini, взято %3").arg(key, stored, taken)};
        };
        // The file name gives A 2.9, B 1.3: cup 1 (0.7 mm) for the target 0.78.
        QTest::newRow("A 3.5") << QByteArray("A=3.5") << "A" << QVariant(3.5) << QStringList();
        QTest::newRow("A inf") << QByteArray("A=inf") << "A" << QVariant(2.9) << refused("A", "inf", "2.9");
        QTest::newRow("A 5 m") << QByteArray("A=5000") << "A" << QVariant(2.9) << refused("A", "5000", "2.9");
        QTest::newRow("A 0 reads as 1") << QByteArray("A=0") << "A" << QVariant(1.0) << QStringList();
        QTest::newRow("H abc") << QByteArray("H=abc") << "H" << QVariant(1.1) << refused("H", "abc", "1.1");
        QTest::newRow("cup 1e10") << QByteArray("cupNumber=1e10") << "cupNumber" << QVariant(1)
                                  << refused("cupNumber", "1e10", "1");
        QTest::newRow("cup as a double infinity") << QByteArray("cupNumber=") + variantInfinity << "cupNumber"
                                                  << QVariant(1) << refused("cupNumber", "inf", "1");
        QTest::newRow("acceleration nan") << QByteArray("maxAcc=nan") << "maxAcc" << QVariant(100.0)
                                          << refused("maxAcc", "nan", "100");
        QTest::newRow("slow pick maybe") << QByteArray("slowPick=maybe") << "slowPick" << QVariant(false)
                                         << refused("slowPick", "maybe", "false");
        QTest::newRow("tape width 2") << QByteArray("bandWidth=2") << "bandWidth" << QVariant(2) << QStringList();
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
        for (const QVariant &v : r)
            QVERIFY(FileValues::isFinite(v));
        QCOMPARE(contentOf(path), content);
    }

    void packageWriterRefusesNonFinite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("packageBase.ini");
        QVERIFY(writeFile(path, "[sot23]\nA=2.9\n"));
        QVariantList records{QVariantMap{{"name", "0603"}, {"A", 1.6}},
                             QVariantMap{{"name", "SOT23"}, {"A", std::numeric_limits<double>::infinity()}}};
        QString error;
        QVERIFY(!PackageBase::writeRecords(path, records, &error));
        QCOMPARE(error, QString("База корпусов не записана: корпус sot23, значение A = inf не является конечным числом"));
        QCOMPARE(contentOf(path), QByteArray("[sot23]\nA=2.9\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"packageBase.ini"});
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
        QTest::newRow("nan for an int") << QByteArray("nan") << QVariant(7) << QVariant(7) << refused("nan", "7");
        QTest::newRow("abc") << QByteArray("abc") << QVariant(7) << QVariant(7) << refused("abc", "7");
        QTest::newRow("text setting keeps its text") << QByteArray("abc") << QVariant("z") << QVariant("abc")
                                                     << QStringList();
        QTest::newRow("missing") << QByteArray() << QVariant(7) << QVariant(7) << QStringList();
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
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("messages");
        auto refused = [](const QString &key, const QString &stored, const QString &taken) {
            return QStringList{
                QString("Насадка №2: неверное значение %1 = \"%2\" в файле настроек, взято %3").arg(key, stored, taken)};
        };
        QTest::newRow("diameter 0.8") << QByteArray("cupDiameter=0.8") << "cupDiameter" << QVariant(0.8) << QStringList();
        QTest::newRow("diameter nan") << QByteArray("cupDiameter=nan") << "cupDiameter" << QVariant(1.0)
                                      << refused("cupDiameter", "nan", "1");
        QTest::newRow("length inf") << QByteArray("cupLength=inf") << "cupLength" << QVariant(31.0)
                                    << refused("cupLength", "inf", "31");
        QTest::newRow("press as a double infinity") << QByteArray("press=") + variantInfinity << "press" << QVariant(1.0)
                                                    << refused("press", "inf", "1");
        QTest::newRow("pressure abc") << QByteArray("vsPressure=abc") << "vsPressure" << QVariant(10.0)
                                      << refused("vsPressure", "abc", "10");
        QTest::newRow("vacuum check maybe") << QByteArray("vsUse=maybe") << "vsUse" << QVariant(false)
                                            << refused("vsUse", "maybe", "false");
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
        QTest::newRow("12") << QVariant("12") << true << true << 12 << true << 12.0;
        QTest::newRow(" -7 ") << QVariant(" -7 ") << true << true << -7 << true << -7.0;
        QTest::newRow("3.0") << QVariant("3.0") << false << true << 3 << true << 3.0;
        QTest::newRow("-3.9") << QVariant("-3.9") << false << true << -3 << true << -3.9;
        QTest::newRow("1e10") << QVariant("1e10") << false << false << 0 << true << 1e10;
        QTest::newRow("2147483647") << QVariant("2147483647") << true << true << 2147483647 << true << 2147483647.0;
        QTest::newRow("2147483648") << QVariant("2147483648") << false << false << 0 << true << 2147483648.0;
        QTest::newRow("2147483647.5") << QVariant("2147483647.5") << false << true << 2147483647 << true << 2147483647.5;
        QTest::newRow("-2147483648.5") << QVariant("-2147483648.5") << false << true << int(-2147483648LL) << true
                                       << -2147483648.5;
        QTest::newRow("inf") << QVariant("inf") << false << false << 0 << false << 0.0;
        QTest::newRow("nan") << QVariant("nan") << false << false << 0 << false << 0.0;
        QTest::newRow("abc") << QVariant("abc") << false << false << 0 << false << 0.0;
        QTest::newRow("empty") << QVariant("") << false << false << 0 << false << 0.0;
        QTest::newRow("double inf") << QVariant(inf) << false << false << 0 << false << 0.0;
        QTest::newRow("double 5.5") << QVariant(5.5) << false << true << 5 << true << 5.5;
        QTest::newRow("int 4") << QVariant(4) << true << true << 4 << true << 4.0;
        QTest::newRow("long long 2^40") << QVariant(qlonglong(1) << 40) << false << false << 0 << true << 1099511627776.0;
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
        QTest::newRow("project, a component") << "project" << "element0";
        QTest::newRow("feeder bank") << "feeders" << "feederL1";
        QTest::newRow("package base, completing") << "packages" << "sot23";
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
        } else if (reader == "packages") {
            QSettings ini(path, QSettings::IniFormat);
            QVERIFY(!FileValues::parseAll(ini));
            QCOMPARE(ini.group(), QString());
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

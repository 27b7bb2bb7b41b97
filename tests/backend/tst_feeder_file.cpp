// The feeder bank files: every field written and read back, legacy keys,
// files that cannot be read.
#include "DataSamples.h"
#include "TestSupport.h"

#include "backend/FeederFile.h"

#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TestFeederFile : public QObject
{
    Q_OBJECT

private slots:
    void feederRoundTripEveryField()
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

    void feederStopsAtMissingExists()
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

    void feederLegacyKeysAndDefaults()
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
            s.setValue("feederU3/exists", true);
            s.setValue("feederU3/centerPins", false);
            s.setValue("feederU3/centerType", 1);
        }
        const FeederFile::ReadResult r = FeederFile::read(path, 77);
        QCOMPARE(r.status, FeederFile::ReadResult::Ok);
        QCOMPARE(r.feeders.size(), 3);
        QCOMPARE(r.feeders.at(0).value("centerType").toInt(), 3);
        QCOMPARE(r.feeders.at(0).value("pack").toString(), QString("SOT23"));
        QCOMPARE(r.feeders.at(1).value("centerType").toInt(), 2);
        QCOMPARE(r.feeders.at(1).value("pack").toString(), QString("0805"));
        QCOMPARE(r.feeders.at(2).value("centerType").toInt(), 1);
    }

    void feederBadFiles_data()
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
        QTest::newRow("count 3.0") << "whole.rightFeeders" << QByteArray("[General]\ncount=3.0\n")
                                   << int(FeederFile::ReadResult::BadCount);
        QTest::newRow("largest count") << "max.bottomFeeders" << QByteArray("[General]\ncount=200\n")
                                       << int(FeederFile::ReadResult::Ok);
    }

    void feederBadFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        if (!content.isEmpty())
            QVERIFY(writeFile(dir.filePath(name), content));
        QTEST(int(FeederFile::read(dir.filePath(name), 50).status), "status");
    }

    void feederBankOfExtension()
    {
        QCOMPARE(FeederFile::bankOfPath("/a/b.upFeeders"), QString("U"));
        QCOMPARE(FeederFile::bankOfPath("/a/b.upfeeders"), QString());
        QCOMPARE(FeederFile::bankOfPath("/a/upFeeders"), QString());
        for (const QString bank : {"L", "R", "B", "U"})
            QCOMPARE(FeederFile::bankOfPath("x." + FeederFile::extensionOfBank(bank)), bank);
        // A file of no bank is not written.
        QTemporaryDir dir;
        QVERIFY(!FeederFile::write(dir.filePath("x.txt"), 1, {}, nullptr));
        QVERIFY(!QFile::exists(dir.filePath("x.txt")));
    }
};

int runFeederFileTests(int argc, char **argv)
{
    TestFeederFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_feeder_file.moc"

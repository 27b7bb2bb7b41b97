#include "backend/PackageBase.h"
#include "backend/PackageIndex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The package index over picture trees made in a temporary folder: discovery
// order, names found again, lookups by name with and without case, a reload
// that appends.
class TestPackageIndex : public QObject
{
    Q_OBJECT

    static void makeFiles(const QString &root, const QStringList &files)
    {
        for (const QString &file : files) {
            const QString path = root + QLatin1Char('/') + file;
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }

private slots:
    void indexesTheTree_data()
    {
        QTest::addColumn<QStringList>("first");      // pictures before the first search
        QTest::addColumn<QStringList>("second");     // pictures added before a reload
        QTest::addColumn<QStringList>("names");      // the index, in order
        QTest::addColumn<QStringList>("duplicates"); // of both searches
        QTest::addColumn<QString>("lookup");
        QTest::addColumn<int>("position");

        const QStringList tree = {"b/SOT23(A2.9B1.3H1.1).png", "a0805.png", "c/d/QFN16.png", "c/readme.txt"};
        const QStringList names = {"a0805", "SOT23", "QFN16"};
        QTest::newRow("other case") << tree << QStringList() << names << QStringList() << "qfn16" << 2;
        QTest::newRow("unknown") << tree << QStringList() << names << QStringList() << "SOT223" << -1;
        QTest::newRow("same name in another case is found again")
            << QStringList{"x/Chip.png", "y/CHIP.bmp"} << QStringList() << QStringList{"Chip"}
            << QStringList{"CHIP"} << "CHIP" << 0;
        QTest::newRow("reload appends only new names")
            << QStringList{"m.png"} << QStringList{"k.png", "n/M.png"} << QStringList{"m", "k"}
            << QStringList{"m", "M"} << "k" << 1;
    }

    void indexesTheTree()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QStringList, names);
        QFETCH(QStringList, duplicates);
        QFETCH(QString, lookup);
        QFETCH(int, position);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        makeFiles(dir.path(), first);
        PackageIndex index;
        QStringList found = index.addFrom(PackageBase::folderEntries(dir.path()));
        if (!second.isEmpty()) {
            makeFiles(dir.path(), second);
            found += index.addFrom(PackageBase::folderEntries(dir.path()));
        }

        QStringList indexed;
        for (int i = 0; i < index.size(); ++i) {
            indexed << index.name(i);
            QCOMPARE(index.lowerName(i), index.name(i).toLower());
            QCOMPARE(PackageBase::nameFromPath(index.file(i)), index.name(i));
            QVERIFY(QFileInfo(index.file(i)).isAbsolute());
            QCOMPARE(index.indexOf(index.name(i)), i);
        }
        QCOMPARE(indexed, names);
        QCOMPARE(found, duplicates);
        QCOMPARE(index.indexOf(lookup), position);
    }
};

QTEST_GUILESS_MAIN(TestPackageIndex)
#include "tst_package_index.moc"

// Placement lists and BOMs as real tools write them.
#include "backend/BomList.h"
#include "backend/PlacementList.h"
#include "backend/TextTable.h"

#include <QFile>
#include <QTest>
#include <QTextCodec>

Q_DECLARE_METATYPE(PlacementList::Settings)

namespace {

QString fixture(const QString &name)
{
    QFile f(qEnvironmentVariable("KESTRAVO_FIXTURES") + "/cad/" + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return TextTable::decode(f.readAll());
}

// The line of a designator (the first when it repeats).
const PlacementList::Line *find(const PlacementList::Result &r, const QString &designator,
                                const PlacementList::Group **group = nullptr)
{
    for (const PlacementList::Group &g : r.groups) {
        for (const PlacementList::Line &l : g.lines) {
            if (l.designator == designator) {
                if (group)
                    *group = &g;
                return &l;
            }
        }
    }
    return nullptr;
}

double minX(const PlacementList::Result &r)
{
    double m = 1e300;
    for (const PlacementList::Group &g : r.groups)
        for (const PlacementList::Line &l : g.lines)
            m = std::min(m, l.x);
    return m;
}

PlacementList::Settings columns(QChar sep, int desig, int value, int pack, int x, int y, int rot, int side)
{
    PlacementList::Settings s;
    s.separator = sep;
    s.designatorCol = desig;
    s.partNumberCol = value;
    s.packCol = pack;
    s.xCol = x;
    s.yCol = y;
    s.angleCol = rot;
    s.sideCol = side;
    s.sideEnabled = side >= 0;
    s.boardX1 = 10;
    s.boardY1 = 20;
    return s;
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void decoding()
    {
        const QString text = QStringLiteral("R1;0603;-17.71mil;1,5\r\nЧип;C2\r\n");
        QByteArray le("\xFF\xFE", 2);
        le += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QCOMPARE(TextTable::decode(le), text);
        QByteArray be = QTextCodec::codecForName("UTF-16BE")->fromUnicode(text);
        if (be.startsWith("\xFE\xFF"))
            be = be.mid(2);
        QCOMPARE(TextTable::decode(QByteArray("\xFE\xFF", 2) + be), text);
        QCOMPARE(TextTable::decode("\xEF\xBB\xBF" + text.toUtf8()), text);
        QCOMPARE(TextTable::lines(text), QStringList({"R1;0603;-17.71mil;1,5", "Чип;C2"}));
    }

    void splitting_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("blanks fold") << "C1   100u\t\t 0603  1.0" << " " << QStringList{"C1", "100u", "0603", "1.0"};
        QTest::newRow("quoted blank") << "\"LED 1\" red \"0805 x\"" << " " << QStringList{"LED 1", "red", "0805 x"};
        QTest::newRow("comma keeps empty") << "C1,,0603,,5" << "," << QStringList{"C1", "", "0603", "", "5"};
        QTest::newRow("quoted comma") << "\"C1\",\"10uF, 16V\",\"1.5mm\"" << "," << QStringList{"C1", "10uF, 16V", "1.5mm"};
        QTest::newRow("doubled quote") << "\"5\"\" disk\";x" << ";" << QStringList{"5\" disk", "x"};
    }

    void splitting()
    {
        QFETCH(QString, line);
        QFETCH(QString, separator);
        QTEST(TextTable::split(line, separator.at(0)), "fields");
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("commaIsPoint");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << " -52.07 " << true << true << -52.07;
        QTest::newRow("mm") << "58.674mm" << true << true << 58.674;
        QTest::newRow("mm with comma") << "12,5mm" << true << true << 12.5;
        QTest::newRow("comma not a point") << "12,5" << false << false << 0.0;
        QTest::newRow("mil") << "-17.71mil" << true << true << -17.71 * 0.0254;
        QTest::newRow("empty") << "" << true << false << 0.0;
        QTest::newRow("infinite") << "inf" << true << false << 0.0;
    }

    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, commaIsPoint);
        QFETCH(double, value);
        double v = 0;
        QTEST(TextTable::toNumber(text, commaIsPoint, &v), "ok");
        QFETCH(bool, ok);
        if (ok)
            QVERIFY2(qAbs(v - value) < 1e-9, qPrintable(QString::number(v)));
    }

    void fixtures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<PlacementList::Settings>("settings");
        QTest::addColumn<int>("accepted");
        // Two components of the file: their distance and angles are the file's.
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        QTest::addColumn<double>("angleA");
        QTest::addColumn<double>("angleB");
        QTest::addColumn<QString>("packA");

        QTest::newRow("KiCad 2014") << "kicad-example-F.Cu.pos" << columns(' ', 0, 1, 2, 3, 4, 5, 6) << 95 << "C1"
                                    << "R1" << 128.905 - 74.041 << -52.07 - -78.994 << 0.0 << 270.0
                                    << "Capacitors_SMD:c";
        QTest::newRow("Altium") << "altium-example.csv" << columns(',', 0, 10, 1, 2, 3, 9, 8) << 29 << "C1" << "R10"
                                << 58.674 - 60.833 << 7.2263 - 51.562 << 90.0 << 180.0 << "NICHICON_A";
        QTest::newRow("Eagle, package unused") << "EAT001.mnt" << columns(' ', 0, 4, PlacementList::noColumn, 1, 2, 3, -1)
                                               << 16 << "C5" << "C28" << 23.70 - 9.31 << 23.50 - 8.66 << 180.0 << 0.0
                                               << "";
        QTest::newRow("EasyEDA, tabs") << "PickAndPlace_PCB_DodecaRGB_v2_2024-11-22.csv"
                                       << columns(' ', 0, 10, 1, 2, 3, 9, 8) << 177 << "C1" << "C2" << 2.55 - -2.55
                                       << 54.5 - 55.1 << 60.0 << 112.0 << "C0402";
    }

    void fixtures()
    {
        QFETCH(QString, file);
        QFETCH(PlacementList::Settings, settings);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(double, dx);
        QFETCH(double, dy);
        const PlacementList::Result r = PlacementList::read(fixture(file), settings, {});
        QTEST(r.accepted, "accepted");
        int lines = 0;
        for (const PlacementList::Group &g : r.groups)
            lines += g.lines.size();
        QCOMPARE(lines, r.accepted);
        const PlacementList::Group *group = nullptr;
        const PlacementList::Line *la = find(r, a, &group);
        const PlacementList::Line *lb = find(r, b);
        QVERIFY(la && lb);
        QVERIFY2(qAbs((la->x - lb->x) - dx) < 1e-9, qPrintable(QString::number(la->x - lb->x)));
        QVERIFY2(qAbs((la->y - lb->y) - dy) < 1e-9, qPrintable(QString::number(la->y - lb->y)));
        QTEST(la->angle, "angleA");
        QTEST(lb->angle, "angleB");
        QTEST(group->pack, "packA");
        QCOMPARE(minX(r), 10.0);
        // Largest group first.
        for (int i = 1; i < r.groups.size(); ++i)
            QVERIFY(r.groups.at(i - 1).lines.size() >= r.groups.at(i).lines.size());
    }

    void panelRepeatsDesignators()
    {
        const PlacementList::Result r = PlacementList::read(fixture("RFD-Panel-top.pos"),
                                                            columns(' ', 0, 1, 2, 3, 4, 5, 6), {});
        QCOMPARE(r.accepted, 109);
        // The three fiducials F1 of a row of the panel stay three lines.
        int fiducials = 0;
        for (const PlacementList::Group &g : r.groups) {
            if (g.pack == "FIDUCIAL-1X2")
                fiducials += g.lines.size();
        }
        QVERIFY(fiducials >= 3);
        const PlacementList::Group *logo = nullptr;
        find(r, "U2", &logo);
        QVERIFY(logo);
        QCOMPARE(logo->lines.size(), 9);
        QCOMPARE(logo->lines.at(1).x - logo->lines.at(0).x, 175.768 - 149.86);
    }

    void bottomSideIsMirrored_data()
    {
        QTest::addColumn<int>("inverse");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("angle");
        // CN1 (0.05, 36.55, 0°) and CN2 (0.1, 74.5, 180°) of the EasyEDA file.
        QTest::newRow("mirror in X") << 0 << 10.05 << 20.0 << 180.0;
        QTest::newRow("mirror in Y") << 1 << 10.0 << 20.0 + 74.5 - 36.55 << 0.0;
    }

    void bottomSideIsMirrored()
    {
        QFETCH(int, inverse);
        PlacementList::Settings s = columns(' ', 0, 10, 1, 2, 3, 9, 8);
        s.side = 1;
        s.sideInverse = inverse;
        const PlacementList::Result r
            = PlacementList::read(fixture("PickAndPlace_PCB_DodecaRGB_v2_2024-11-22.csv"), s, {});
        QCOMPARE(r.accepted, 2);
        const PlacementList::Line *cn1 = find(r, "CN1");
        QVERIFY(cn1);
        QFETCH(double, x);
        QFETCH(double, y);
        QVERIFY2(qAbs(cn1->x - x) < 1e-9, qPrintable(QString::number(cn1->x)));
        QVERIFY2(qAbs(cn1->y - y) < 1e-9, qPrintable(QString::number(cn1->y)));
        QTEST(cn1->angle, "angle");
    }

    void edgeCases()
    {
        // Blank separator: a decimal comma reads as a point.
        PlacementList::Result r = PlacementList::read("\"LED 1\" red 0805 12,5mm 3.25 90 top\n",
                                                      columns(' ', 0, 1, 2, 3, 4, 5, 6), {});
        QCOMPARE(r.accepted, 1);

        // Comma separator: decimal commas are not numbers; such lines are skipped.
        r = PlacementList::read("R1,10k,0603,1.5,2,0,top\nR2,10k,0603,\"1,5\",2,0,top\nR3,10k,0603,1.5,x,0,top\n",
                                columns(',', 0, 1, 2, 3, 4, 5, 6), {});
        QCOMPARE(r.accepted, 1);

        // Empty fields keep the columns in place.
        r = PlacementList::read("R1,,0603,1.5,2,90,top\n", columns(',', 0, 1, 2, 3, 4, 5, 6), {});
        QCOMPARE(r.accepted, 1);
        QCOMPARE(r.groups.first().partNumber, QString());
        QCOMPARE(r.groups.first().pack, QString("0603"));
        QCOMPARE(r.groups.first().lines.first().angle, 90.0);

        // Only bottom components with the top side wanted: nothing.
        r = PlacementList::read("R1 10k 0603 1 2 0 bottom\nR2 10k 0603 1 2 0 B\n", columns(' ', 0, 1, 2, 3, 4, 5, 6),
                                {});
        QCOMPARE(r.accepted, 0);

        // A line without the side column fails the side filter.
        r = PlacementList::read("R1 10k 0603 1 2 0\nR2 10k 0603 1 2 0 Top\n", columns(' ', 0, 1, 2, 3, 4, 5, 6), {});
        QCOMPARE(r.accepted, 1);
        QCOMPARE(r.groups.first().lines.first().designator, QString("R2"));

        // Lines with too few fields, headers and trailers are skipped.
        r = PlacementList::read("# Ref Val Package PosX PosY Rot Side\nR1 10k\n## End\nR2 10k 0603 1 2 0 top\n",
                                columns(' ', 0, 1, 2, 3, 4, 5, 6), {});
        QCOMPARE(r.accepted, 1);

        // The comment column, and the largest group first.
        PlacementList::Settings s = columns(' ', 0, 1, 2, 3, 4, 5, -1);
        s.commentCol = 6;
        r = PlacementList::read("C1 1u 0603 1 1 0 x7r\nR1 1k 0603 1 1 0\nR2 1k 0603 2 1 0\n", s, {});
        QCOMPARE(r.groups.first().partNumber, QString("1k"));
        QCOMPARE(r.groups.first().designators(), QString("R1, R2"));
        QCOMPARE(r.groups.last().comment, QString("x7r"));
    }

    void feederMatchingIgnoresCase()
    {
        const QVector<PlacementList::Feeder> feeders = {
            {"L", 0, "", ""},              // empty feeder: matches nothing
            {"L", 1, "0805", "10k"},
            {"R", 0, "0603", "10K"},
            {"B", 4, "0603", "10k"},       // later in the search order
        };
        const PlacementList::Result r = PlacementList::read("R1 10k 0603 1 1 0\nX1 9 SOT 1 1 0\nR2 \"\" \"\" 1 1 0\n",
                                                            columns(' ', 0, 1, 2, 3, 4, 5, -1), feeders);
        const PlacementList::Group *g = nullptr;
        find(r, "R1", &g);
        QCOMPARE(g->model, QString("R"));
        QCOMPARE(g->index, 0);
        find(r, "X1", &g);
        QCOMPARE(g->model, QString());
        QCOMPARE(g->index, -1);
    }

    void bom()
    {
        BomList::Settings s;
        s.separator = ';';
        s.packCol = 0;
        s.partNumberCol = 1;
        s.designatorCol = 2;
        s.countCol = 3;
        const QString text = "0603;10k;R1,R2;2\n0805;;C1;1,0\nSOT23;BC847;\"Q1; Q2; Q3\";3\n;;;\nshort\n0402;1k;;0\n";
        QVector<BomList::Line> lines = BomList::read(text, s);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0).pack, QString("SOT23"));
        QCOMPARE(lines.at(0).designators, QString("Q1; Q2; Q3"));
        QCOMPARE(lines.at(0).count, 3);
        QCOMPARE(lines.at(2).pack, QString("0805"));
        QCOMPARE(lines.at(2).count, 1);             // "1,0"
        QCOMPARE(lines.at(2).partNumber, QString()); // the empty cell kept the columns
        QCOMPARE(lines.at(3).count, 0);
        QCOMPARE(BomList::separatorOf("Табуляция"), QChar('\t'));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"

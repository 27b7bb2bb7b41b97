// Placement list import benchmark: a 20,000-line list (300 kinds of parts)
// read by the reader alone and through the real program (the import
// window's groups included).
//
//   bench_import [RUNS=5]
#include "app/ApplicationShell.h"
#include "backend/PlacementList.h"
#include "backend/TextTable.h"
#include "backend/Worker.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.at(v.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QString path = dir.filePath("big.csv");
    {
        QRandomGenerator r(5);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("\"Designator\",\"Footprint\",\"Mid X\",\"Mid Y\",\"Layer\",\"Rotation\",\"Comment\"\r\n");
        for (int i = 0; i < 20000; ++i) {
            const int kind = r.bounded(300);
            f.write(QStringLiteral("\"D%1\",\"PKG%2\",\"%3mm\",\"%4mm\",\"T\",\"%5\",\"V%6\"\r\n")
                        .arg(i)
                        .arg(kind % 40)
                        .arg(r.bounded(300.0), 0, 'f', 4)
                        .arg(r.bounded(200.0), 0, 'f', 4)
                        .arg(r.bounded(4) * 90)
                        .arg(kind)
                        .toUtf8());
        }
    }
    PlacementList::Settings s;
    s.separator = QLatin1Char(',');
    s.designatorCol = 0;
    s.packCol = 1;
    s.xCol = 2;
    s.yCol = 3;
    s.sideCol = 4;
    s.angleCol = 5;
    s.partNumberCol = 6;

    std::vector<double> reader, program;
    QElapsedTimer t;
    int groups = 0, accepted = 0;
    for (int run = 0; run < runs; ++run) {
        t.start();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const PlacementList::Result r = PlacementList::read(TextTable::decode(f.readAll()), s, {});
        reader.push_back(t.nsecsElapsed() / 1e6);
        groups = r.groups.size();
        accepted = r.accepted;
    }

    ApplicationShell shell;
    ApplicationShell::Options options;
    options.settingsFile = dir.filePath("settings.ini");
    if (!shell.start(options))
        return 1;
    QObject *root = shell.root();
    root->setProperty("importCommentCol", 16);
    root->setProperty("importSideEnabled", true);
    root->setProperty("importSideCol", 4);
    QObject *model = root->property("importElementModel").value<QObject *>();
    for (int run = 0; run < runs; ++run) {
        QMetaObject::invokeMethod(model, "clear");
        t.start();
        shell.worker()->openFileImport(QUrl::fromLocalFile(path).toString(), ",", 1, 6, 0, 2, 3, 5);
        program.push_back(t.nsecsElapsed() / 1e6);
    }
    const int shown = model->property("count").toInt();

    printf("placement list: 20000 lines, %d accepted, %d groups (%d in the import window)\n", accepted, groups, shown);
    printf("reader alone:              %8.1f ms\n", median(reader));
    printf("through the program:       %8.1f ms   (target < 1000)\n", median(program));
    fflush(stdout);
    shell.stopDeviceThreads();
    std::_Exit(0);
}

// Project data benchmark: a project of 5,000 components, 40 reference marks
// and 500 dots with four banks of 100 feeders, in the real main window
// (offscreen). Measures opening the banks, opening the project (reading the
// file and creating the board objects), saving it, the change check and the
// full overlap recalculation, plus the overlap sweep alone.
//
//   bench_project [RUNS=5]
#include "app/ApplicationShell.h"
#include "backend/FeederFile.h"
#include "backend/Overlaps.h"
#include "backend/ProjectFile.h"
#include "backend/Worker.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QStringList packages = {"0402", "0603", "0805", "1206", "SOT23", "SOT223", "SOIC8", "SOIC16",
                              "QFN16", "QFN32", "TQFP32", "TQFP64", "SOD123", "SMA", "SMB", "LQFP100",
                              "R2010", "C1210", "DPAK", "SOT89"};

void makePackageBase(const QString &folder)
{
    QRandomGenerator r(7);
    QDir().mkpath(folder);
    for (const QString &p : packages) {
        const double a = 0.8 + r.bounded(8.0);
        const double b = 0.5 + r.bounded(6.0);
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::gray);
        image.save(folder + QStringLiteral("/%1(A%2B%3H1).png").arg(p).arg(a, 0, 'f', 2).arg(b, 0, 'f', 2));
    }
}

QString writeBank(const QString &folder, const QString &bank)
{
    QVector<QVariantMap> feeders;
    for (int i = 0; i < 100; ++i) {
        QVariantMap f;
        for (const FeederFile::Field &field : FeederFile::fields()) {
            switch (field.type) {
            case FeederFile::FieldType::Int: f.insert(field.name, 1); break;
            case FeederFile::FieldType::Real: f.insert(field.name, 1.5); break;
            case FeederFile::FieldType::Bool: f.insert(field.name, false); break;
            default: f.insert(field.name, QString()); break;
            }
        }
        f.insert("type", 3);
        f.insert("pack", packages.at(i % packages.size()));
        f.insert("partNumber", QStringLiteral("PN-%1-%2").arg(bank).arg(i));
        feeders.append(f);
    }
    const QString path = folder + "/bank." + FeederFile::extensionOfBank(bank);
    FeederFile::write(path, 100, feeders, nullptr);
    return path;
}

QString writeProject(const QString &folder)
{
    QRandomGenerator r(11);
    ProjectFile::Data d;
    const QStringList banks = {"B", "U", "R", "L"};
    for (int i = 0; i < 5000; ++i) {
        const QString bank = banks.at(i % 4);
        const int feeder = (i / 4) % 100;
        d.elements.append({{"pack", packages.at(feeder % packages.size())},
                           {"partNumber", QStringLiteral("PN-%1-%2").arg(bank).arg(feeder)},
                           {"model", bank}, {"index", feeder}, {"rX", r.bounded(280.0)}, {"rY", r.bounded(280.0)},
                           {"angle", double(r.bounded(4) * 90 - 90)}, {"disabled", 0},
                           {"designator", QStringLiteral("D%1").arg(i)}, {"preferredRef1", -1},
                           {"preferredRef2", -1}, {"elPhoto", QString()}});
    }
    for (int i = 0; i < 40; ++i)
        d.refs.append({{"rX", r.bounded(280.0)}, {"rY", r.bounded(280.0)}, {"id", 101 + i}});
    for (int i = 0; i < 500; ++i)
        d.dots.append({{"model", "U"}, {"index", 99}, {"rX", r.bounded(280.0)}, {"rY", r.bounded(280.0)}});
    const QString path = folder + "/big.project";
    ProjectFile::save(path, d, nullptr);
    // The same project after a long life: a full log of 10,000 entries.
    for (int i = 0; i < 10000; ++i)
        d.log.append(QStringLiteral("Компонент D%1 установлен;06.12.2026 10:%2:00;white").arg(i).arg(i % 60, 2, 10, QLatin1Char('0')));
    ProjectFile::save(folder + "/big-log.project", d, nullptr);
    return path;
}

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
    makePackageBase(dir.filePath("base"));
    const QString settingsFile = dir.filePath("settings.ini");
    {
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue("packageBasePath", dir.filePath("base"));
        for (const QString bank : {"B", "U", "R", "L"}) {
            s.setValue("device/feederEnabled" + bank, true);
            s.setValue("device/feederFile" + bank, QUrl::fromLocalFile(writeBank(dir.path(), bank)).toString());
        }
    }
    const QUrl project = QUrl::fromLocalFile(writeProject(dir.path()));

    ApplicationShell shell;
    ApplicationShell::Options options;
    options.settingsFile = settingsFile;
    if (!shell.start(options)) {
        fprintf(stderr, "the main window could not be loaded\n");
        return 1;
    }
    QObject *root = shell.root();
    Worker *worker = shell.worker();

    std::vector<double> banks, open, save, check, overlaps;
    QElapsedTimer t;
    for (int run = 0; run < runs; ++run) {
        t.start();
        for (const QString bank : {"B", "U", "R", "L"})
            worker->openFeeders(QUrl(root->property(QByteArray("feederFile" + bank.toLatin1()).constData()).toString()));
        banks.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        QMetaObject::invokeMethod(root, "openProjectSeq", Q_ARG(QVariant, project.toString()));
        open.push_back(t.nsecsElapsed() / 1e6);
        const int count = root->property("elementCount").toInt();
        if (count != 5000) {
            fprintf(stderr, "opened %d components instead of 5000\n", count);
            return 1;
        }

        const QUrl copy = QUrl::fromLocalFile(dir.filePath("copy.project"));
        t.start();
        worker->saveProject(copy);
        save.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        const bool changed = worker->checkProjectHasChanges(copy);
        check.push_back(t.nsecsElapsed() / 1e6);
        if (changed) {
            fprintf(stderr, "the change check found changes in a project just saved\n");
            return 1;
        }

        t.start();
        worker->recalculateAllOverlaps();
        overlaps.push_back(t.nsecsElapsed() / 1e6);
        app.processEvents();
    }

    // The same project with a full log.
    std::vector<double> openLog, saveLog;
    const QUrl withLog = QUrl::fromLocalFile(dir.filePath("big-log.project"));
    for (int run = 0; run < runs; ++run) {
        t.start();
        QMetaObject::invokeMethod(root, "openProjectSeq", Q_ARG(QVariant, withLog.toString()));
        openLog.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        worker->saveProject(QUrl::fromLocalFile(dir.filePath("copy-log.project")));
        saveLog.push_back(t.nsecsElapsed() / 1e6);
    }

    // The sweep alone on the same kind of board.
    QRandomGenerator r(3);
    QVector<Overlaps::Footprint> footprints;
    for (int i = 0; i < 5000; ++i)
        footprints.append({r.bounded(280.0), r.bounded(280.0), double(r.bounded(4) * 90 - 90),
                           0.8 + r.bounded(8.0), 0.5 + r.bounded(6.0), false});
    std::vector<double> sweep;
    for (int run = 0; run < runs; ++run) {
        t.start();
        const QVector<bool> flags = Overlaps::all(footprints);
        sweep.push_back(t.nsecsElapsed() / 1e6);
        if (run == 0)
            printf("overlapping components on the random board: %d of 5000\n", int(flags.count(true)));
    }

    printf("project: 5000 components, 40 marks, 500 dots; banks: 4 x 100 feeders; %d runs, medians\n", runs);
    printf("open four banks:              %8.1f ms\n", median(banks));
    printf("open project (with objects):  %8.1f ms   (target < 2000)\n", median(open));
    printf("save project:                 %8.1f ms   (target < 300)\n", median(save));
    printf("change check:                 %8.1f ms\n", median(check));
    printf("overlaps, all components:     %8.1f ms   (target < 50)\n", median(overlaps));
    printf("overlap sweep alone:          %8.1f ms\n", median(sweep));
    printf("with a 10,000-entry log: open %8.1f ms, save %8.1f ms\n", median(openLog), median(saveLog));
    fflush(stdout);
    shell.stopDeviceThreads();
    std::_Exit(0);
}

// Fuzz target of the project reader: the input is a project file. What is
// read must be bounded by the groups present and the limits, hold no value
// that is not finite, name every refusal, and save and read back unchanged.
//
// Run by hand for longer, e.g.
//   build/fuzz/fuzz_project_reader -dict=fuzz/ini.dict -max_total_time=600 build/fuzz/corpus-fuzz_project_reader fuzz/seeds/project
#include "backend/FileValues.h"
#include "backend/ProjectFile.h"
#include "fuzz/FuzzFiles.h"

#include <QFile>
#include <QSettings>

#include <cmath>

namespace {

using FuzzFiles::fail;

void checkObjects(const QVector<QVariantMap> &objects, int groups, int limit, const char *what)
{
    if (objects.size() > groups || objects.size() > limit)
        fail(what, QStringLiteral("%1 read, %2 groups, limit %3").arg(objects.size()).arg(groups).arg(limit));
    for (const QVariantMap &o : objects) {
        FuzzFiles::requireFinite(o, what);
        for (const char *key : {"rX", "rY"}) {
            if (std::fabs(o.value(QLatin1String(key)).toDouble()) > ProjectFile::maxReal)
                fail(what, QLatin1String(key));
        }
    }
}

ProjectFile::Data readChecked(const QString &path, QVector<ProjectFile::Skipped> *skipped)
{
    ProjectFile::Data data;
    {
        QSettings s(path, QSettings::IniFormat);
        data = ProjectFile::readAll(s, skipped);
    }
    checkObjects(data.refs, FuzzFiles::groupsNamed(path, "ref"), ProjectFile::maxRefs, "marks");
    checkObjects(data.elements, FuzzFiles::groupsNamed(path, "element"), ProjectFile::maxElements, "components");
    checkObjects(data.dots, FuzzFiles::groupsNamed(path, "dot"), ProjectFile::maxDots, "dots");
    FuzzFiles::requireFinite(data.pcb, "board");
    FuzzFiles::requireFinite(data.device, "work area");
    if (data.panel.size() > ProjectFile::maxPanelPositions)
        fail("panel positions");
    for (const ProjectFile::PanelPosition &p : data.panel) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.rot))
            fail("panel position");
    }
    const double scale = data.pcb.value("pcbScale").toDouble();
    if (!(scale > 0))
        fail("board scale", QString::number(scale));
    for (const ProjectFile::Skipped &s : *skipped) {
        if (s.message.isEmpty())
            fail("refusal without a message", s.kind);
    }
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = FuzzFiles::iniText(data, size);
    const FuzzFiles::File file(text, QStringLiteral(".project"));
    QVector<ProjectFile::Skipped> skipped;
    const ProjectFile::Data read = readChecked(file.path(), &skipped);
    {
        QFile f(file.path());
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != text)
            fail("the file changed on reading");
    }

    // What was read can be saved, and reads back the same and clean.
    const QString savedPath = FuzzFiles::scratchPath(QStringLiteral(".project"));
    QString error;
    if (!ProjectFile::save(savedPath, read, &error))
        fail("what was read cannot be saved", error);
    QVector<ProjectFile::Skipped> again;
    const ProjectFile::Data back = readChecked(savedPath, &again);
    QFile::remove(savedPath);
    if (!again.isEmpty())
        fail("the saved file reads with refusals", again.first().message);
    if (back.refs.size() != read.refs.size() || back.elements.size() != read.elements.size()
        || back.dots.size() != read.dots.size() || back.panel.size() != read.panel.size())
        fail("the saved file reads back other objects");
    for (int i = 0; i < read.elements.size(); ++i) {
        for (const char *key : {"designator", "rX", "rY", "angle", "index"}) {
            if (read.elements.at(i).value(QLatin1String(key)) != back.elements.at(i).value(QLatin1String(key)))
                fail("a component reads back otherwise", QLatin1String(key));
        }
    }
    return 0;
}

// Fuzz target of the package base: the first line is a package picture's
// file name, the rest is packageBase.ini. The name's parameters and the
// completed records must hold only finite, sensible values, nothing that is
// not finite may be written, and a saved base must read back clean.
//
// Run by hand for longer, e.g.
//   build/fuzz/fuzz_package_reader -dict=fuzz/ini.dict -max_total_time=600 build/fuzz/corpus-fuzz_package_reader fuzz/seeds/packages
#include "backend/FileValues.h"
#include "backend/PackageBase.h"
#include "fuzz/FuzzFiles.h"

#include <QFile>
#include <QSettings>

#include <cmath>

namespace {

using FuzzFiles::fail;

// At most this many groups of a file are completed per input.
constexpr int groupsPerInput = 20;

void checkName(const PackageBase::FileNameParams &p)
{
    FuzzFiles::requireFinite(PackageBase::toMap(p), "file name parameters");
    if (!p.valid)
        return;
    for (double size : {p.width, p.height, p.thickness, p.cupDiameter}) {
        if (!std::isfinite(size) || size < 0 || size > PackageBase::maxSize)
            fail("size from a file name", QString::number(size));
    }
    if (!p.problem.isEmpty())
        fail("a valid name with a problem", p.problem);
}

void checkRecord(const QVariantMap &r)
{
    FuzzFiles::requireFinite(r, "package record");
    for (const char *key : {"A", "B", "H"}) {
        const double v = r.value(QLatin1String(key)).toDouble();
        if (!(v > 0) || v > PackageBase::maxSize)
            fail("package size", QLatin1String(key));
    }
    for (const QString &key : PackageBase::storedKeys()) {
        if (!r.contains(key))
            fail("record key missing", key);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = FuzzFiles::iniText(data, size);
    const int newline = text.indexOf('\n');
    const QString fileName = QString::fromUtf8(newline < 0 ? text : text.left(newline));
    const QByteArray ini = newline < 0 ? QByteArray() : text.mid(newline + 1);

    const PackageBase::FileNameParams params = PackageBase::parseFileName(fileName);
    checkName(params);
    if (PackageBase::nameFromPath(fileName).size() > fileName.size())
        fail("name longer than the path");

    const FuzzFiles::File file(ini, QStringLiteral(".ini"));
    PackageBase::MachineFacts facts;
    facts.cupDiameters = {0.4, 0.7, 1.0, 1.5};
    facts.maxAccXYZ = 1000;
    QVariantList records;
    QStringList problems;
    {
        QSettings s(file.path(), QSettings::IniFormat);
        if (!FileValues::parseAll(s))
            return 0;
        QStringList groups = s.childGroups().mid(0, groupsPerInput);
        groups.append(params.name.toLower());
        for (const QString &group : groups) {
            if (group.isEmpty())
                continue;
            bool changed = false;
            QVariantMap r = PackageBase::completeRecord(s, group, group == params.name.toLower() ? params
                                                                                                  : PackageBase::FileNameParams(),
                                                        facts, &changed, &problems);
            checkRecord(r);
            r.insert(QStringLiteral("name"), group);
            records.append(r);
        }
        // The completed keys may be written.
        const QString refused = PackageBase::checkWritten(s);
        if (!refused.isEmpty())
            fail("completing wrote a value that is not finite", refused);
    }
    for (const QString &problem : problems) {
        if (problem.isEmpty())
            fail("empty problem text");
    }

    // Saved, the records read back without problems.
    QString error;
    if (!PackageBase::writeRecords(file.path(), records, &error))
        return 0;
    // Read from a new name: QSettings keeps parsed files by name and misses a
    // replacement of equal size within the same millisecond.
    const QString savedPath = FuzzFiles::scratchPath(QStringLiteral(".ini"));
    if (!QFile::copy(file.path(), savedPath))
        fail("cannot copy the saved base");
    {
        QSettings back(savedPath, QSettings::IniFormat);
        if (!FileValues::parseAll(back))
            fail("the saved base cannot be decoded");
        for (const QVariant &r : records) {
            const QString group = r.toMap().value("name").toString().toLower();
            QStringList again;
            bool changed = false;
            checkRecord(
                PackageBase::completeRecord(back, group, PackageBase::FileNameParams(), facts, &changed, &again));
            if (!again.isEmpty())
                fail("the saved base reads with problems", again.first());
        }
    }
    QFile::remove(savedPath);
    return 0;
}

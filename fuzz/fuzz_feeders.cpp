// Fuzz target of the feeder reader: the first byte chooses the bank (the
// file's extension; "L", "R", "B", "U" or any byte modulo 4), the rest is the file. What is read must stay within
// the count, the limit and the groups present, hold only finite numbers of
// the fields' types, and save and read back unchanged.
//
// Run by hand for longer, e.g.
//   build/fuzz/fuzz_feeder_reader -dict=fuzz/ini.dict -max_total_time=600 build/fuzz/corpus-fuzz_feeder_reader fuzz/seeds/feeders
#include "backend/FeederFile.h"
#include "backend/FileValues.h"
#include "fuzz/FuzzFiles.h"

#include <QFile>

#include <cmath>
#include <cstring>

namespace {

using FuzzFiles::fail;

FeederFile::ReadResult readChecked(const QString &path)
{
    const FeederFile::ReadResult r = FeederFile::read(path, 50);
    if (r.status != FeederFile::ReadResult::Ok) {
        if (!r.feeders.isEmpty())
            fail("feeders read from a refused file");
        return r;
    }
    if (r.count < 0 || r.count > FeederFile::maxCount || r.feeders.size() > r.count)
        fail("feeder count", QStringLiteral("%1 of %2").arg(r.feeders.size()).arg(r.count));
    if (r.feeders.size() > FuzzFiles::groupsNamed(path, QStringLiteral("feeder") + r.bank))
        fail("more feeders than groups");
    for (const QVariantMap &f : r.feeders) {
        FuzzFiles::requireFinite(f, "feeder");
        for (const FeederFile::Field &field : FeederFile::fields()) {
            const QVariant v = f.value(field.name);
            const bool typed = field.type == FeederFile::FieldType::Int    ? v.type() == QVariant::Int
                : field.type == FeederFile::FieldType::Real                ? v.type() == QVariant::Double
                : field.type == FeederFile::FieldType::Bool                ? v.type() == QVariant::Bool
                                                                           : v.type() == QVariant::String;
            if (!typed)
                fail("feeder field type", field.name);
        }
    }
    for (const QString &problem : r.problems) {
        if (problem.isEmpty())
            fail("empty problem text");
    }
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The bank's letter, or any other byte modulo 4.
    static const char banks[] = "LRBU";
    const char *letter = std::strchr(banks, data[0]);
    const QString bank = QString(QLatin1Char(letter && data[0] ? *letter : banks[data[0] % 4]));
    const QString extension = QStringLiteral(".") + FeederFile::extensionOfBank(bank);
    const QByteArray text = FuzzFiles::iniText(data + 1, size - 1);
    const FuzzFiles::File file(text, extension);
    const FeederFile::ReadResult read = readChecked(file.path());
    {
        QFile f(file.path());
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != text)
            fail("the file changed on reading");
    }
    if (read.status != FeederFile::ReadResult::Ok)
        return 0;

    // What was read can be saved, and reads back the same and clean.
    const QString savedPath = FuzzFiles::scratchPath(extension);
    QString error;
    if (!FeederFile::write(savedPath, read.count, read.feeders, &error))
        fail("what was read cannot be saved", error);
    const FeederFile::ReadResult back = readChecked(savedPath);
    QFile::remove(savedPath);
    if (back.status != FeederFile::ReadResult::Ok || !back.problems.isEmpty() || back.count != read.count
        || back.feeders.size() != read.feeders.size())
        fail("the saved bank reads back otherwise", back.problems.value(0));
    for (int i = 0; i < read.feeders.size(); ++i) {
        for (const FeederFile::Field &field : FeederFile::fields()) {
            if (field.type != FeederFile::FieldType::Image
                && read.feeders.at(i).value(field.name) != back.feeders.at(i).value(field.name))
                fail("a feeder field reads back otherwise", field.name);
        }
    }
    return 0;
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <cstddef>
#include <cstdint>

// Shared pieces of the fuzz targets of the file readers.
namespace FuzzFiles {

// The input as INI text, with every way of starting a value with "@" taken
// out: Qt decodes "@Variant(...)" itself and reserves memory for whatever
// count it holds (the readers refuse such a file through FileValues::parseAll,
// which catches the std::bad_alloc; under AddressSanitizer the allocation is
// reported instead of thrown, so the fuzzer leaves those to the unit tests).
QByteArray iniText(const uint8_t *data, size_t size);

// Writes content to a new file (name with the given suffix) in a private
// folder on a memory file system. Each input gets its own name: QSettings
// keeps parsed files by name and could miss a change of equal size.
class File
{
public:
    File(const QByteArray &content, const QString &suffix);
    ~File();
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    const QString &path() const { return m_path; }

private:
    QString m_path;
};

// A path for a further file of this input (removed with it by the caller).
QString scratchPath(const QString &suffix);

// Number of groups at the top level of an INI file named prefix + a number.
int groupsNamed(const QString &path, const QString &prefix);

// Stops the fuzzer (a finding) with the reason printed.
[[noreturn]] void fail(const char *what, const QString &detail = QString());

// Fails unless every value of the map is finite (FileValues::isFinite).
void requireFinite(const QVariantMap &values, const char *what);

} // namespace FuzzFiles

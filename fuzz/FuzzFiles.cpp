#include "fuzz/FuzzFiles.h"

#include "backend/FileValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace FuzzFiles {

namespace {

// Made once, removed at exit; kept as plain bytes, which outlive the
// static objects that exit destroys.
const char *folderPath = nullptr;

QString folder()
{
    if (!folderPath) {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString dir = base + QStringLiteral("/kestravo-fuzz-") + QString::number(QCoreApplication::applicationPid());
        QDir().mkpath(dir);
        folderPath = strdup(QFile::encodeName(dir).constData());
        std::atexit([] { QDir(QFile::decodeName(folderPath)).removeRecursively(); });
    }
    return QFile::decodeName(folderPath);
}

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QByteArray iniText(const uint8_t *data, size_t size)
{
    QByteArray text(reinterpret_cast<const char *>(data), int(size));
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == '@') {
            text[i] = '#';
            continue;
        }
        if (text.at(i) != '\\' || i + 1 >= text.size())
            continue;
        // An escape whose value, at any of its digits, is "@" (0x40): the
        // reader's digits run on and its value is cut to 16 bits.
        bool at = false;
        quint32 value = 0;
        if (text.at(i + 1) == 'x') {
            for (int j = i + 2; j < text.size() && hexValue(text.at(j)) >= 0; ++j) {
                value = (value << 4) | quint32(hexValue(text.at(j)));
                at = at || (value & 0xffff) == 0x40;
            }
        } else {
            for (int j = i + 1; j < text.size() && isOctal(text.at(j)); ++j) {
                value = (value << 3) | quint32(text.at(j) - '0');
                at = at || (value & 0xffff) == 0x40;
            }
        }
        if (at)
            text[i] = '/';
    }
    return text;
}

File::File(const QByteArray &content, const QString &suffix)
    : m_path(scratchPath(suffix))
{
    QFile f(m_path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        fail("cannot write the input file", m_path);
}

File::~File()
{
    QFile::remove(m_path);
}

QString scratchPath(const QString &suffix)
{
    static quint64 counter = 0;
    return folder() + QStringLiteral("/f") + QString::number(++counter) + suffix;
}

int groupsNamed(const QString &path, const QString &prefix)
{
    QSettings s(path, QSettings::IniFormat);
    const QRegularExpression name(QStringLiteral("^") + QRegularExpression::escape(prefix) + QStringLiteral("[0-9]+$"));
    int n = 0;
    for (const QString &group : s.childGroups()) {
        if (name.match(group).hasMatch())
            ++n;
    }
    return n;
}

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "FUZZ INVARIANT BROKEN: %s %s\n", what, detail.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

void requireFinite(const QVariantMap &values, const char *what)
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        if (!FileValues::isFinite(it.value()))
            fail(what, it.key());
    }
}

} // namespace FuzzFiles

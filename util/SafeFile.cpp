#include "util/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeFile {

namespace {

QMutex hookMutex;
DamageHook damageHook;

QString tr(const char *text)
{
    return QCoreApplication::translate("SafeFile", text);
}

QString systemError(int code)
{
    return qt_error_string(code);
}

// Closes a descriptor when it goes out of scope.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// The path that a save of `path` really replaces: the file a symbolic link
// points to, otherwise `path` itself, made absolute.
QString targetOf(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString resolved = info.canonicalFilePath();
        if (!resolved.isEmpty())
            return resolved;
    }
    return info.absoluteFilePath();
}

// Permission bits of a file created now, as open() would give them (the
// process mask is read without changing it: other threads may create files).
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return 0666 & ~mode_t(mask);
            }
        }
    }
    return 0644;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool writeAll(int fd, const QByteArray &bytes, QString *error)
{
    const char *p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = tr("ошибка записи: %1").arg(n < 0 ? systemError(errno) : tr("записано 0 байт"));
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Reads the file at `path` back through a descriptor of its own and compares
// it with `bytes`; `written` is the file that was written.
bool readsBackAs(const QByteArray &path, const struct stat &written, const QByteArray &bytes, QString *error)
{
    Fd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat st;
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        *error = tr("не удалось прочитать записанный файл: %1").arg(systemError(errno));
        return false;
    }
    if (!sameFile(st, written)) {
        *error = tr("временный файл подменён во время записи");
        return false;
    }
    if (st.st_size != bytes.size()) {
        *error = tr("на диске %1 байт вместо %2").arg(qint64(st.st_size)).arg(bytes.size());
        return false;
    }
    QByteArray chunk(qMin<qint64>(qMax<qint64>(bytes.size(), 1), 1 << 20), Qt::Uninitialized);
    qint64 offset = 0;
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), size_t(chunk.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = tr("не удалось прочитать записанный файл: %1").arg(systemError(errno));
            return false;
        }
        if (n == 0)
            break;
        if (offset + n > bytes.size()
            || std::memcmp(chunk.constData(), bytes.constData() + offset, size_t(n)) != 0) {
            *error = tr("записанный файл не совпадает с данными");
            return false;
        }
        offset += n;
    }
    if (offset != bytes.size()) {
        *error = tr("на диске %1 байт вместо %2").arg(offset).arg(bytes.size());
        return false;
    }
    return true;
}

// Creates and locks the temporary file; the lock tells removeLeftovers() that
// the file is in use. Fills `tempPath` and `st`.
int createTemp(const QString &target, QByteArray *tempPath, struct stat *st, QString *error)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 3; ++attempt) {
        QByteArray name = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                            + QStringLiteral(".XXXXXX"));
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            *error = tr("не удалось создать временный файл в папке %1: %2")
                         .arg(QDir::toNativeSeparators(info.absolutePath()), systemError(errno));
            return -1;
        }
        // Held by a cleanup that got to it before the lock: it is going, try
        // again. A file system without locks (ENOLCK and the like) leaves
        // the file unlocked, and such a cleanup skips it for the same reason.
        const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        struct stat byPath;
        if (!taken && ::fstat(fd, st) == 0 && ::lstat(name.constData(), &byPath) == 0 && sameFile(*st, byPath)) {
            *tempPath = name;
            return fd;
        }
        ::close(fd);
    }
    *error = tr("не удалось создать временный файл в папке %1").arg(QDir::toNativeSeparators(info.absolutePath()));
    return -1;
}

} // namespace

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    QString dummy;
    QString &why = error ? *error : dummy;
    why.clear();
    if (path.isEmpty()) {
        why = tr("не задано имя файла");
        return false;
    }
    const QString target = targetOf(path);
    removeLeftovers(target);

    QByteArray temp;
    struct stat tempStat;
    Fd fd(createTemp(target, &temp, &tempStat, &why));
    if (fd.get() < 0)
        return false;
    auto fail = [&temp]() {
        ::unlink(temp.constData());
        return false;
    };

    const QByteArray targetName = QFile::encodeName(target);
    struct stat old;
    const bool hadOld = ::stat(targetName.constData(), &old) == 0;
    if (::fchmod(fd.get(), hadOld ? (old.st_mode & 07777) : newFileMode()) != 0) {
        why = tr("не удалось задать права файла: %1").arg(systemError(errno));
        return fail();
    }
    // Keeps the owner of the old file where allowed (a save by the
    // administrator must not take the file away from the operator's account);
    // refused, the file stays the writer's own.
    if (hadOld && (old.st_uid != tempStat.st_uid || old.st_gid != tempStat.st_gid)) {
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd.get(), uid_t(-1), old.st_gid);
    }

    if (!writeAll(fd.get(), bytes, &why))
        return fail();
    {
        QMutexLocker lock(&hookMutex);
        if (damageHook)
            damageHook(QFile::decodeName(temp));
    }
    if (::fsync(fd.get()) != 0) {
        why = tr("не удалось сбросить файл на диск: %1").arg(systemError(errno));
        return fail();
    }
    // The pages are clean now: dropped from the cache, the read-back comes
    // from the disk itself where the file system keeps one.
    (void)::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
    if (!readsBackAs(temp, tempStat, bytes, &why))
        return fail();

    if (::rename(temp.constData(), targetName.constData()) != 0) {
        why = tr("не удалось заменить файл: %1").arg(systemError(errno));
        return fail();
    }
    // The lock goes with the descriptor; the file was flushed and read back,
    // so closing it cannot lose data any more.
    fd.reset();

    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // File systems that cannot flush a folder say EINVAL: nothing to wait for.
    if (dir.get() < 0 || (::fsync(dir.get()) != 0 && errno != EINVAL)) {
        why = tr("новый файл записан, но папку не удалось сбросить на диск: %1").arg(systemError(errno));
        return false;
    }
    return true;
}

bool isLeftoverName(const QString &fileName, const QString &targetName)
{
    if (targetName.isEmpty())
        return false;
    const QString prefix = QLatin1Char('.') + targetName + QLatin1Char('.');
    if (!fileName.startsWith(prefix))
        return false;
    const QStringRef rest = fileName.midRef(prefix.size());
    if (rest.size() != 6 && !(rest.size() == 11 && rest.endsWith(QLatin1String(".lock"))))
        return false;
    for (int i = 0; i < 6; ++i) {
        const QChar c = rest.at(i);
        const ushort u = c.unicode();
        const bool alnum = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
        if (!alnum)
            return false;
    }
    return true;
}

int removeLeftovers(const QString &path)
{
    if (path.isEmpty())
        return 0;
    const QFileInfo target(targetOf(path));
    const QDir folder(target.absolutePath());
    int removed = 0;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (!isLeftoverName(name, target.fileName()))
            continue;
        const QByteArray file = QFile::encodeName(folder.absoluteFilePath(name));
        // Only regular files are opened at all (opening a device can act).
        struct stat opened, byPath;
        if (::lstat(file.constData(), &byPath) != 0 || !S_ISREG(byPath.st_mode))
            continue;
        Fd fd(::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
            continue;
        // A save in progress holds the lock on its temporary file.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::lstat(file.constData(), &byPath) != 0 || !sameFile(opened, byPath))
            continue;
        if (::unlink(file.constData()) == 0)
            ++removed;
    }
    return removed;
}

void setDamageHookForTests(DamageHook hook)
{
    QMutexLocker lock(&hookMutex);
    damageHook = std::move(hook);
}

} // namespace SafeFile

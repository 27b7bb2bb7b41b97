// Saving files so that a save either leaves exactly the new bytes on disk or
// fails, says so and leaves the old file byte for byte: the INI text made in
// memory, the verified writer (with a damaged temporary file, and as root on
// a really full disk), the leftovers of saves killed midway, and the
// operator's error messages in the real program.
#include "../backend/DataSamples.h"
#include "TestSupport.h"

#include "app/ApplicationShell.h"
#include "backend/IniFile.h"
#include "backend/IniText.h"
#include "backend/ProjectFile.h"
#include "backend/SettingsStore.h"
#include "backend/Worker.h"
#include "util/SafeFile.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::function<void(const QString &)>)
Q_DECLARE_METATYPE(std::function<bool(const QString &)>)

using namespace TestSupport;

namespace {

// Every name in a folder, hidden ones included.
QStringList namesIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

// Damages the temporary file of the next saves as a full disk would.
class Damage
{
public:
    explicit Damage(std::function<void(const QString &)> how)
    {
        SafeFile::setDamageHookForTests([this, how](const QString &temp) {
            ++m_count;
            how(temp);
        });
    }
    ~Damage() { SafeFile::setDamageHookForTests(nullptr); }
    int count() const { return m_count; }

private:
    int m_count = 0;
};

void truncateTo(const QString &path, qint64 size)
{
    QVERIFY(::truncate(QFile::encodeName(path).constData(), size) == 0);
}

// A project in two versions: 0 (the old file) and 1 (the new one, larger
// than 16 KiB so that a cut at a write buffer's boundary would show).
ProjectFile::Data projectData(int version)
{
    ProjectFile::Data d = sampleProject();
    for (int i = 0; version == 1 && i < 150; ++i)
        d.elements.append(d.elements.at(i % 5));
    return d;
}

QByteArray linuxCncIni()
{
    QByteArray text = "# machine\n[TRAJ]\nAXES = 6\n";
    for (int i = 0; i < 6; ++i) {
        text += "\n[JOINT_" + QByteArray::number(i) + "]\nMAX_VELOCITY = 10.000\nSTEPGEN_MAXVEL = 12.000\n"
                "MAX_ACCELERATION = 100\nSTEPGEN_MAXACCEL = 150\nSTEP_SCALE = 80.000000\n";
    }
    return text;
}

// The bytes a version of the project gives when saved on a roomy disk.
QByteArray projectBytes(int version)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("board.project"));
    return ProjectFile::save(path, projectData(version), nullptr) ? contentOf(path) : QByteArray();
}

// A small tmpfs mounted for the length of a test (root only).
class SmallDisk
{
public:
    explicit SmallDisk(const QString &folder) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                                QStringLiteral("-o"), QStringLiteral("size=512k"),
                                                                QStringLiteral("tmpfs"), folder})
            == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_folder});
    }
    bool mounted() const { return m_mounted; }
    qint64 freeBytes() const
    {
        struct statvfs st;
        if (::statvfs(QFile::encodeName(m_folder).constData(), &st) != 0)
            return -1;
        return qint64(st.f_bavail) * qint64(st.f_frsize);
    }
    // Fills the disk so that `free` bytes stay free; false when it holds less.
    bool leaveFree(qint64 free, const QString &fillerName)
    {
        const qint64 fill = freeBytes() - free;
        const int fd = ::open(QFile::encodeName(m_folder + QLatin1Char('/') + fillerName).constData(),
                              O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        const bool filled = fd >= 0 && (fill == 0 || (fill > 0 && ::posix_fallocate(fd, 0, fill) == 0));
        if (fd >= 0)
            ::close(fd);
        return filled && freeBytes() == free;
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace

class TestSafeSave;
Q_DECLARE_METATYPE(std::function<void(TestSafeSave *, const QString &)>)

class TestSafeSave : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ApplicationShell> m_shell;
    QTemporaryDir m_shellDir;

    Worker *worker() const { return m_shell->worker(); }
    QObject *root() const { return m_shell->root(); }

    void startShell()
    {
        if (m_shell)
            return;
        m_shell = std::make_unique<ApplicationShell>();
        ApplicationShell::Options options;
        options.settingsFile = m_shellDir.filePath(QStringLiteral("settings.ini"));
        QVERIFY(m_shell->start(options));
    }

private slots:
    void cleanup()
    {
        SafeFile::setDamageHookForTests(nullptr);
    }

    // ---- the INI text made in memory
    void iniTextAsQSettingsWritesIt_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");

        QByteArray binary;
        for (int i = 0; i < 256; ++i)
            binary.append(char(i));
        const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");

        QTest::newRow("third") << "d" << QVariant(1.0 / 3);
        QTest::newRow("leading space") << "s" << QVariant(QStringLiteral(" lead"));
        QTest::newRow("trailing space") << "s" << QVariant(QStringLiteral("trail "));
        QTest::newRow("separators") << "s" << QVariant(QStringLiteral("a;b,c=d"));
        QTest::newRow("quotes and backslash") << "s" << QVariant(QStringLiteral("say \"hi\" \\ there"));
        QTest::newRow("at sign") << "s" << QVariant(QStringLiteral("@home"));
        QTest::newRow("nul inside") << "s" << QVariant(withNul);
        QTest::newRow("control characters") << "s" << QVariant(QStringLiteral("t\tn\nr\ra\ab\bf\fv\v\x01\x1f\x7f"));
        QTest::newRow("hex digit after a code") << "s" << QVariant(QStringLiteral("я1a Fй0"));
        QTest::newRow("empty list") << "l" << QVariant(QStringList());
        QTest::newRow("list of one") << "l" << QVariant(QStringList{"one"});
        QTest::newRow("list") << "l" << QVariant(QStringList{"a", "b c", " d ", "e,f", "@g", "Ж"});
        QTest::newRow("variant list of one") << "l" << QVariant(QVariantList{7});
        QTest::newRow("mixed variant list") << "l" << QVariant(QVariantList{"a", 2, true, QVariantList{1, 2}});
        QTest::newRow("binary bytes") << "y" << QVariant(binary);
        QTest::newRow("point") << "p" << QVariant(QPoint(3, -4));
        QTest::newRow("rect") << "r" << QVariant(QRect(1, 2, 30, 40));
        QTest::newRow("size") << "z" << QVariant(QSize(640, 480));
        QTest::newRow("date and time") << "t" << QVariant(QDateTime(QDate(2024, 5, 17), QTime(13, 45, 7, 120), Qt::UTC));
        QTest::newRow("invalid") << "i" << QVariant();
        QTest::newRow("key with space") << "with space" << QVariant(1);
        QTest::newRow("cyrillic key") << "ключ" << QVariant(1);
        QTest::newRow("nested key") << "a/b/c" << QVariant(1);
        QTest::newRow("group general") << "general/y" << QVariant(1);
    }

    void iniTextAsQSettingsWritesIt()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        const auto fill = [&](QSettings &s) {
            s.setValue(QStringLiteral("zz/last"), QStringLiteral("end"));
            s.setValue(key, value);
            s.setValue(QStringLiteral("first"), 1);
            s.setValue(QStringLiteral("Key/other"), 2);
        };
        QTemporaryDir dir;
        const QString byQt = dir.filePath(QStringLiteral("qt.ini"));
        {
            QSettings qt(byQt, QSettings::IniFormat);
            fill(qt);
            qt.sync();
            QCOMPARE(qt.status(), QSettings::NoError);
        }
        std::unique_ptr<QSettings> ours = IniFile::detachedSettings();
        fill(*ours);
        QByteArray text;
        QString error;
        QVERIFY2(IniText::fromSettings(*ours, &text, &error), qPrintable(error));
        QCOMPARE(text, contentOf(byQt));
    }

    void iniTextNeedsTheRootGroup()
    {
        std::unique_ptr<QSettings> s = IniFile::detachedSettings();
        s->setValue(QStringLiteral("a"), 1);
        s->beginGroup(QStringLiteral("g"));
        QByteArray text;
        QString error;
        QVERIFY(!IniText::fromSettings(*s, &text, &error));
        QVERIFY(!error.isEmpty());
    }

    // ---- the verified writer
    void writesExactlyTheBytes_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("bytes");

        QByteArray big(3 * 1024 * 1024 + 17, Qt::Uninitialized);
        for (int i = 0; i < big.size(); ++i)
            big[i] = char((i * 131) ^ (i >> 9));
        QTest::newRow("new file") << QByteArray() << QByteArray("fresh\n");
        QTest::newRow("shorter") << QByteArray(40000, 'o') << QByteArray("short");
        QTest::newRow("longer, binary") << QByteArray("old") << big;
    }

    void writesExactlyTheBytes()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file.bin"));
        if (!old.isEmpty())
            QVERIFY(writeFile(path, old));
        QString error;
        QVERIFY2(SafeFile::write(path, bytes, &error), qPrintable(error));
        QVERIFY(error.isEmpty());
        QCOMPARE(contentOf(path), bytes);
        QCOMPARE(namesIn(dir.path()), QStringList{"file.bin"});
    }

    void followsASymbolicLink()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
        const QString real = dir.filePath(QStringLiteral("real/data.ini"));
        const QString link = dir.filePath(QStringLiteral("data.ini"));
        QVERIFY(writeFile(real, "old"));
        QVERIFY(QFile::link(real, link));
        QVERIFY(SafeFile::write(link, "new", nullptr));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contentOf(real), QByteArray("new"));
        QCOMPARE(namesIn(dir.filePath(QStringLiteral("real"))), QStringList{"data.ini"});
    }

    void damagedTemporaryFileFails_data()
    {
        using Hurt = std::function<void(const QString &)>;
        QTest::addColumn<Hurt>("damage");
        QTest::addColumn<QString>("reason");

        QTest::newRow("last byte missing")
            << Hurt([](const QString &t) { truncateTo(t, QFileInfo(t).size() - 1); })
            << "на диске 40000 байт вместо 40001";
        QTest::newRow("a byte changed") << Hurt([](const QString &t) {
            QFile f(t);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(20000);
            f.write("#");
        }) << "не совпадает";
        QTest::newRow("file replaced") << Hurt([](const QString &t) {
            QVERIFY(QFile::remove(t));
            QVERIFY(writeFile(t, QByteArray(40001, 'n')));
        }) << "подменён";
    }

    void damagedTemporaryFileFails()
    {
        QFETCH(std::function<void(const QString &)>, damage);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.ini"));
        const QByteArray old("old content\n");
        QVERIFY(writeFile(path, old));
        const QByteArray bytes(40001, 'n');
        Damage broken(damage);
        QString error;
        QVERIFY(!SafeFile::write(path, bytes, &error));
        QCOMPARE(broken.count(), 1);
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(contentOf(path), old);
        QCOMPARE(namesIn(dir.path()), QStringList{"data.ini"});
    }

    void missingFolderFails()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!SafeFile::write(dir.filePath(QStringLiteral("no/such/file")), "x", &error));
        QVERIFY(error.contains(QStringLiteral("no/such")));
        QVERIFY(!SafeFile::write(QString(), "x", &error));
        QVERIFY(!error.isEmpty());
    }

    // Every writer hands its bytes to the verified writer: on a disk with
    // too little room the old file stays whole and the reason is given.
    void projectOnAFullDisk()
    {
        if (!runningAsRoot())
            QSKIP("mounting a small tmpfs needs root");
        const QByteArray old = projectBytes(0);
        const QByteArray meant = projectBytes(1);
        QVERIFY(!old.isEmpty() && meant.size() > 16 * 1024 && old != meant);

        QTemporaryDir base;
        SmallDisk disk(base.filePath(QStringLiteral("disk")));
        if (!disk.mounted())
            QSKIP("mount -t tmpfs failed here");
        const QString folder = base.filePath(QStringLiteral("disk"));
        const QString path = folder + QStringLiteral("/board.project");
        const qint64 page = 4096;
        const qint64 needed = (meant.size() + page - 1) / page * page;
        int saved = 0, refused = 0;
        // Free space from none to a little more than the new file needs.
        for (qint64 free = 0; free <= needed + 2 * page; free += page) {
            for (const QString &name : namesIn(folder))
                QVERIFY(QFile::remove(folder + QLatin1Char('/') + name));
            QString error;
            QVERIFY2(ProjectFile::save(path, projectData(0), &error), qPrintable(error));
            QVERIFY(disk.leaveFree(free, QStringLiteral("filler")));
            const bool ok = ProjectFile::save(path, projectData(1), &error);
            const QByteArray now = contentOf(path);
            if (ok) {
                ++saved;
                QVERIFY2(now == meant, qPrintable(QStringLiteral("%1 bytes free: saved, but %2 bytes on disk instead of %3")
                                                      .arg(free)
                                                      .arg(now.size())
                                                      .arg(meant.size())));
            } else {
                ++refused;
                QVERIFY2(!error.isEmpty(), qPrintable(QStringLiteral("%1 bytes free: no reason given").arg(free)));
                QVERIFY2(now == old, qPrintable(QStringLiteral("%1 bytes free: old file changed").arg(free)));
            }
            QCOMPARE(namesIn(folder), QStringList({"board.project", "filler"}));
        }
        QVERIFY(saved > 0);
        QVERIFY(refused > 0);
    }

    void settingsStoreKeepsUnwrittenChanges()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        SettingsStore store(path);
        store.setValue(QStringLiteral("device"), QStringLiteral("speed"), 5);
        QVERIFY(!QFileInfo::exists(path)); // nothing written before sync()
        QVERIFY(store.hasUnwrittenChanges());
        {
            Damage cut([](const QString &temp) { truncateTo(temp, 3); });
            QString error;
            QVERIFY(!store.sync(&error));
            QVERIFY(!error.isEmpty());
        }
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(store.hasUnwrittenChanges());
        QCOMPARE(store.value(QStringLiteral("device"), QStringLiteral("speed")).toInt(), 5);
        QVERIFY(store.sync());
        QVERIFY(!store.hasUnwrittenChanges());
        QCOMPARE(contentOf(path), QByteArray("[device]\nspeed=5\n"));
        // Written when the store goes with changes still unwritten.
        {
            SettingsStore again(path);
            again.setValue(QStringLiteral("device"), QStringLiteral("speed"), 6);
        }
        QCOMPARE(contentOf(path), QByteArray("[device]\nspeed=6\n"));
    }

    void settingsStoreMergesChangesMadeOnDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        QVERIFY(writeFile(path, "[device]\nspeed=1\nkept=x\n"));
        SettingsStore store(path);
        store.setValue(QStringLiteral("device"), QStringLiteral("speed"), 2);
        {
            // Another writer, after the store read the file.
            QSettings other(path, QSettings::IniFormat);
            other.setValue(QStringLiteral("device/added"), QStringLiteral("y"));
            other.setValue(QStringLiteral("device/speed"), 9);
            other.remove(QStringLiteral("device/kept"));
        }
        QCOMPARE(store.value(QStringLiteral("device"), QStringLiteral("added")).toString(), QStringLiteral("y"));
        QVERIFY(store.sync());
        // The store's own change wins over the file's for the same key.
        QCOMPARE(contentOf(path), QByteArray("[device]\nadded=y\nspeed=2\n"));
    }

    void settingsStoreNeverOverwritesAnUnreadableFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        QVERIFY(writeFile(path, "[device]\nspeed=1\n"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0200) == 0);
        {
            OrdinaryUser user({dir.path(), path});
            QVERIFY(user.ok());
            SettingsStore store(path);
            store.setValue(QStringLiteral("device"), QStringLiteral("other"), 2);
            QString error;
            QVERIFY(!store.sync(&error));
            QCOMPARE(error, IniFile::unreadableText());
        }
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
        QCOMPARE(contentOf(path), QByteArray("[device]\nspeed=1\n"));
    }

    // ---- leftovers of killed saves
    void leftoversGoAtTheNextSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("board.project"));
        QVERIFY(writeFile(path, "old"));
        const QStringList leftovers{".board.project.Ab12Cd", ".board.project.Qwerty.lock"};
        // Five or seven characters, other characters, another ending or file.
        const QStringList others{".board.project.Ab12C", ".board.project.Ab12Cde", ".board.project.Ab-2Cd",
                                 ".board.project.Ab12Cd.bak", ".other.project.Ab12Cd", "board.project.Ab12Cd"};
        for (const QString &name : leftovers + others)
            QVERIFY(writeFile(dir.filePath(name), "left"));
        // A folder or a link of that name is not a temporary file.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral(".board.project.Folder")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("board.project.Ab12Cd")),
                            dir.filePath(QStringLiteral(".board.project.LinkTo"))));
        QVERIFY(SafeFile::write(path, "new", nullptr));
        QStringList expected = others + QStringList{"board.project", ".board.project.Folder", ".board.project.LinkTo"};
        expected.sort();
        QCOMPARE(namesIn(dir.path()), expected);
    }

    void leftoverOfARunningSaveStays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("board.project"));
        const QString running = dir.filePath(QStringLiteral(".board.project.Runnin"));
        QVERIFY(writeFile(running, "half"));
        // The lock a save holds on its temporary file while it runs.
        const int fd = ::open(QFile::encodeName(running).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        QVERIFY(::flock(fd, LOCK_EX) == 0);
        QVERIFY(SafeFile::write(path, "new", nullptr));
        QVERIFY(QFileInfo::exists(running));
        ::close(fd);
        QCOMPARE(SafeFile::removeLeftovers(path), 1);
        QCOMPARE(namesIn(dir.path()), QStringList{"board.project"});
    }

    void killedSaveLeavesOnlyItsTemporaryFile_data()
    {
        using Step = std::function<bool(const QString &)>;
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<Step>("save");
        QTest::addColumn<Step>("next");
        const Step saveProject = [](const QString &path) { return ProjectFile::save(path, projectData(1), nullptr); };
        const Step saveStore = [](const QString &path) {
            SettingsStore store(path);
            for (int i = 0; i < 2000; ++i)
                store.setValue(QStringLiteral("device"), QStringLiteral("key%1").arg(i), i);
            return store.sync();
        };
        QTest::newRow("project, then saved again") << "board.project" << saveProject << saveProject;
        QTest::newRow("settings store, then opened") << "settings.ini" << saveStore << Step([](const QString &path) {
            SettingsStore store(path);
            return store.value(QStringLiteral("device"), QStringLiteral("old")).toInt() == 1;
        });
    }

    void killedSaveLeavesOnlyItsTemporaryFile()
    {
        // A save killed by the file size limit (SIGXFSZ) in a child process.
        using Step = std::function<bool(const QString &)>;
        QFETCH(QString, fileName);
        QFETCH(Step, save);
        QFETCH(Step, next);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        const QByteArray old("[device]\nold=1\n");
        QVERIFY(writeFile(path, old));
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            struct rlimit size = {16 * 1024, 16 * 1024};
            struct rlimit core = {0, 0};
            ::setrlimit(RLIMIT_FSIZE, &size);
            ::setrlimit(RLIMIT_CORE, &core);
            ::prctl(PR_SET_DUMPABLE, 0);
            ::signal(SIGXFSZ, SIG_DFL);
            save(path);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ, "the save was not killed by the size limit");
        QCOMPARE(contentOf(path), old);
        const QStringList names = namesIn(dir.path());
        QCOMPARE(names.size(), 2);
        QVERIFY2(SafeFile::isLeftoverName(names.first(), fileName), qPrintable(names.first()));
        QCOMPARE(QFileInfo(dir.filePath(names.first())).size(), qint64(16 * 1024));
        QVERIFY(next(path));
        QCOMPARE(namesIn(dir.path()), QStringList{fileName});
    }

    // ---- the real program
    void operatorIsToldWhenASaveFails_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<std::function<void(TestSafeSave *, const QString &)>>("save");
        using Save = std::function<void(TestSafeSave *, const QString &)>;
        const QByteArray ini("[old]\nkept=1\n");
        QTest::newRow("project") << "board.project" << ini << Save([](TestSafeSave *t, const QString &path) {
            t->worker()->saveProject(QUrl::fromLocalFile(path));
        });
        QTest::newRow("feeder bank") << "bank.bottomFeeders" << ini << Save([](TestSafeSave *t, const QString &path) {
            t->worker()->saveFeeders(QUrl::fromLocalFile(path));
        });
        QTest::newRow("settings store") << "settings.ini" << ini << Save([](TestSafeSave *t, const QString &) {
            t->root()->setProperty("boardHeight", t->root()->property("boardHeight").toDouble() + 1);
            t->worker()->saveSetting(QStringLiteral("project"), QStringLiteral("boardHeight"));
            t->worker()->saveSettings();
        });
        QTest::newRow("package base") << "packageBase.ini" << ini << Save([](TestSafeSave *t, const QString &) {
            t->worker()->savePackageSettings();
        });
        QTest::newRow("LinuxCNC ini") << "machine.ini" << linuxCncIni() << Save([](TestSafeSave *t, const QString &path) {
            t->worker()->maxVelAccGet(path, 1, 2, 3, 4, 5, 6, 10, 20, 30, 40);
        });
    }

    void operatorIsToldWhenASaveFails()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, old);
        QFETCH(std::function<void(TestSafeSave *, const QString &)>, save);
        startShell();
        // Files of the settings folder go there; the others to a folder of their own.
        QTemporaryDir dir;
        const bool beside = fileName == QLatin1String("settings.ini") || fileName == QLatin1String("packageBase.ini");
        const QString path = (beside ? m_shellDir.path() : dir.path()) + QLatin1Char('/') + fileName;
        QVERIFY(writeFile(path, old));
        QSignalSpy errors(worker(), SIGNAL(showError(QVariant, QVariant, QVariant)));
        {
            Damage cut([](const QString &temp) { truncateTo(temp, 1); });
            save(this, path);
            QVERIFY(cut.count() >= 1);
        }
        // Told loudly, with the file and the reason (what came out on disk).
        QStringList told;
        bool loud = false;
        for (const QList<QVariant> &e : errors) {
            told.append(e.at(0).toString());
            if (told.last().contains(fileName) && told.last().contains(QStringLiteral("байт")))
                loud = !e.at(1).toBool();
        }
        QVERIFY2(loud, qPrintable(told.join(QLatin1String(" | "))));
        QCOMPARE(contentOf(path), old);
        QVERIFY(namesIn(QFileInfo(path).absolutePath()).filter(QStringLiteral(".") + fileName).isEmpty());
    }

    void leftoversGoWhenTheProgramOpensAProject()
    {
        startShell();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("board.project"));
        QVERIFY(writeFile(path, "[old]\nkept=1\n"));
        const QString temp = dir.filePath(QStringLiteral(".board.project.k1ll3d"));
        const QString lock = temp + QStringLiteral(".lock");
        const QString stranger = dir.filePath(QStringLiteral(".board.project.keep"));
        QVERIFY(writeFile(temp, "half a file"));
        QVERIFY(writeFile(lock, "1234\n"));
        QVERIFY(writeFile(stranger, "not ours"));
        worker()->openProject(QUrl::fromLocalFile(path));
        QVERIFY(!QFileInfo::exists(temp));
        QVERIFY(!QFileInfo::exists(lock));
        QVERIFY(QFileInfo::exists(stranger));
    }
};

int main(int argc, char **argv)
{
    TestSupport::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    TestSafeSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_safe_save.moc"

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Shared helpers of the test programs.
namespace TestSupport {

// Prepares a headless environment before the application object exists:
// offscreen platform, software Qt Quick, a private XDG_RUNTIME_DIR.
void prepareHeadlessEnvironment();

// Messages (warnings and worse) that Qt or QML printed since the last reset;
// collected by a message handler installed by installMessageCollector().
void installMessageCollector();
QStringList collectedWarnings();
void resetCollectedWarnings();

// Lays out a run folder as ./run.sh does for the simulated machine: the
// settings store, the package base, the projects and the device programmer
// (sim-programmer) of `simDir` copied into `runDir`, with the placeholder
// @RUN@ in the settings store, the projects and the feeder files replaced by
// `runDir`. Returns the settings store's path,
// or an empty string (with the reason in `error`).
QString prepareSimRunFolder(const QString &simDir, const QString &runDir, QString *error);

// Files: writes `content` (making the folders); false when that failed.
bool writeFile(const QString &path, const QByteArray &content);
// Writes a shell script ("#!/bin/sh", then `body`) that anyone may run.
bool writeScript(const QString &path, const QByteArray &body);
// The bytes of a file, empty when it cannot be read.
QByteArray contentOf(const QString &path);
bool setModified(const QString &path, const QDateTime &when);
bool runningAsRoot();

// Root reads and writes whatever the permissions say. While one of these
// lives, a test running as root works with the file rights of the ordinary
// user "nobody", who first becomes the owner of `paths` (files and folders
// the test made), so that checks of unreadable and unwritable files bind;
// for anyone else it changes nothing. ok() is false when the switch failed.
class OrdinaryUser
{
public:
    explicit OrdinaryUser(const QStringList &paths);
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser &) = delete;
    OrdinaryUser &operator=(const OrdinaryUser &) = delete;
    bool ok() const { return m_ok; }

private:
    bool m_switched = false;
    bool m_ok = true;
};

// A private folder holding a copy of the program (`binary`), a home folder
// and a runtime folder. handToOperator() gives the whole folder to the
// operator user (1000) that the program drops to when started as root, once
// the test has put its files in. start() runs the copy headless, or on the X
// display `display` when one is given.
class ProgramFolder
{
public:
    explicit ProgramFolder(const QString &binary);
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString program() const { return filePath(QStringLiteral("kestravo")); }
    QString home() const { return filePath(QStringLiteral("home")); }
    void handToOperator() const;
    std::unique_ptr<QProcess> start(const QString &display = {}) const;

private:
    QTemporaryDir m_dir;
};

} // namespace TestSupport

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Every file the program keeps is replaced through here, so that a save either
// leaves exactly the new bytes on disk or fails and leaves the old file as it
// was. Short writes, a full disk, a quota and a failing flush are all caught by
// reading the written file back before it replaces the old one; the success of
// a write call or of a flush alone proves nothing.
namespace SafeFile {

// Writes `bytes` to a hidden temporary file beside `path` (".<name>.XXXXXX"),
// flushes it to the disk, reads it back and compares size and content, gives it
// the permissions (and, when allowed, the owner) of the old file and only then
// renames it over `path` and flushes the folder. On any failure the temporary
// file is removed, `path` is untouched, and *error (when given) says why.
// A symbolic link at `path` is followed: the file it points to is replaced.
bool write(const QString &path, const QByteArray &bytes, QString *error);

// Removes what saves of `path` that were killed midway left beside it: its
// temporary files ".<name>.XXXXXX" (six letters or digits) and the lock files
// ".<name>.XXXXXX.lock" of earlier versions of the writer. Nothing else is
// touched. A temporary file of a save that is running right now (in this or
// another process) is locked by that save and stays. Returns how many files
// were removed.
int removeLeftovers(const QString &path);

// True when `fileName` (a name without folder) is one that removeLeftovers()
// removes for a target named `targetName`.
bool isLeftoverName(const QString &fileName, const QString &targetName);

// Test seam: when set, called with the temporary file's path after all bytes
// were written and before the file is checked, so that a test can damage it as
// a full disk would. Not for the program itself.
using DamageHook = std::function<void(const QString &tempPath)>;
void setDamageHookForTests(DamageHook hook);

} // namespace SafeFile

#pragma once

#include <QString>

#include <sys/types.h>

// The LinuxCNC that the program starts runs in a process group of its own
// (the start script, its display program linuxcncrsh, the task, the NML
// server and the realtime part). This records that group so that it is
// stopped on every exit of the program that the program sees (its own quit,
// exit() from a library such as a lost X connection), and so that a group
// left behind by an exit it could not see (SIGKILL, a crash) is stopped at
// the next start before a new LinuxCNC is started.
namespace LinuxCncProcesses {

// True while some process other than a zombie belongs to the group.
bool groupAlive(pid_t group);

// SIGTERM to the whole group, then SIGKILL when it has not ended after
// termWaitMs; true when the group is gone. Only system calls: safe in an
// exit handler.
bool stopGroup(pid_t group, int termWaitMs, int killWaitMs);

// The group of the running LinuxCNC, or 0. Recording also writes the group
// to recordFilePath(); clearing removes that file.
void recordGroup(pid_t group);
void clearGroup();
pid_t recordedGroup();

// Where the group is kept across program runs (beside LinuxCNC's log).
QString recordFilePath();

// A group that an earlier run of the program recorded and that still runs a
// LinuxCNC start script as its leader; 0 when there is none.
pid_t staleGroup();

// Stops the recorded group when the process ends through exit(). Installed
// once; later calls do nothing.
void installExitGuard();

// True when a process of the group listens on the local TCP port: the remote
// shell at that port belongs to the LinuxCNC this group runs.
bool groupListensOn(pid_t group, quint16 port);

// For tests: the file that recordGroup() writes.
void setRecordFilePathForTest(const QString &path);

} // namespace LinuxCncProcesses

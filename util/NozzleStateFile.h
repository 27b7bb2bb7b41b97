#pragma once

#include <QString>

// A small text file in which the simulated machine tells other programs of
// the simulation (the vacuum sensor emulator) what its nozzle does:
//   valve=0|1
//   part=0|1
// It is replaced whole (written beside, then renamed over), so a reader sees
// either the old or the new state, never a torn one.
namespace NozzleStateFile {

struct State {
    bool valve = false; // nozzle vacuum valve (output 1) on
    bool part = false;  // the nozzle holds a part
};

bool write(const QString &path, const State &state, QString *error);
// A missing or unreadable file reads as the valve off and no part; false then.
bool read(const QString &path, State *state);

} // namespace NozzleStateFile

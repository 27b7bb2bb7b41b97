#pragma once

#include <QString>

// A small text file in which the simulated machine tells other programs of
// the simulation (the vacuum sensor and RLC meter emulators) what its nozzle
// does:
//   valve=0|1
//   part=0|1
//   rlcMode=R|L|C          (only while a part with a known value is held)
//   rlcValue=<number>      the value the meter measures of it: ohm, henry
//                          or farad
// It is replaced whole (written beside, then renamed over), so a reader sees
// either the old or the new state, never a torn one.
namespace NozzleStateFile {

struct State {
    bool valve = false; // nozzle vacuum valve (output 1) on
    bool part = false;   // the nozzle holds a part
    char rlcMode = 0;    // 'R', 'L', 'C' of the held part; 0 when it has no value
    double rlcValue = 0; // base units

    bool operator==(const State &o) const
    {
        return valve == o.valve && part == o.part && rlcMode == o.rlcMode && rlcValue == o.rlcValue;
    }
    bool operator!=(const State &o) const { return !(*this == o); }
};

bool write(const QString &path, const State &state, QString *error);
// A missing or unreadable file reads as the valve off and no part; false then.
// A part's value is read only with the valve on and the part held, and only
// when it is a finite number above 0 with one of the three modes.
bool read(const QString &path, State *state);

} // namespace NozzleStateFile

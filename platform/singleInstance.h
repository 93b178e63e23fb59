// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One running copy of the program per user and program file. The claim is a kernel lock on
// an open file, which the system drops when the process ends in any way, so a crashed or
// killed copy never blocks the next start. Windows created within one process share it.
namespace titrova::singleInstance {

// A lock on one file, held while the object lives. Two opens of the file conflict even
// within one process.
class Lock {
public:
    enum State {
        Held,      // this object holds the lock
        Refused,   // another holder has it: another copy runs
        Unguarded, // no lock can be taken there; a lone copy must start all the same
    };

    explicit Lock(const QString &path);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

    State state() const { return m_state; }

private:
    State m_state = Unguarded;
    qintptr m_handle = -1; // the open lock file; on Windows the mutex
};

// This user's and this program file's lock, in the runtime folder; empty when there is none.
QString lockPath();

// False only when another copy holds the lock; the first call takes it.
bool claim();

} // namespace titrova::singleInstance

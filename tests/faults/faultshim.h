// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Replaces write, fdatasync and renameat (what the file is saved with), and watches fsync, in every
// program that links it, so that a test can make saving a file fail or die at a chosen call.
// Linked, not preloaded: a preloaded library would come before the sanitizer runtime, which
// must be first.
extern "C" {

enum FaultPoint {
    FaultNone = 0,
    FaultWrite = 1,  // the first write to a file in the target's folder
    FaultCommit = 2, // the call that would give the target its name
    FaultSync = 3,   // the flush of a file in the target's folder
};

// From now on the call at point fails with error, or, when error is 0, kills the process
// (SIGKILL, after writing half the data at FaultWrite). FaultNone disarms.
void faultshim_arm(const char *target, int point, int error);

// The folder that fsync was last called on, "" before any.
const char *faultshim_last_folder_synced();
}

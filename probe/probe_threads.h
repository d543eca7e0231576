// The probe threads alive in the process, so that the program can let them end before it does.
// Under Wine, ending the process while threads wait inside an echo now and then leaves the exit
// waiting forever on a lock of the platform's own; with no echo under way the exit is clean.
#pragma once

#include <cstddef>
#include <cstdint>

// Counts `count` probe threads about to start. Once closing has begun it never returns: the
// calling worker waits there, holding nothing, until the process ends.
void AdmitProbeThreads(size_t count);
// One admitted thread has ended, or `count` admitted ones were never started.
void ProbeThreadsEnded(size_t count = 1);
// Admits no more probe threads and waits up to `timeoutMs` for those alive to end. True when none
// is left; a thread stuck in name resolution, say, keeps it false.
bool CloseProbing(uint32_t timeoutMs);

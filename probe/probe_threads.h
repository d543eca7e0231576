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
// Echoes out at once in the whole process: Wine serves 256 and refuses the rest after sending them.
// Each probe thread alive holds one.
inline constexpr size_t kMaxEchoesInFlight = 128;
// Takes up to `wanted` of the slots the probe threads leave, for echoes sent without a thread of
// their own; returns how many. None once closing has begun.
size_t TakeEchoSlots(size_t wanted);
void ReturnEchoSlots(size_t count);
// Admits no more probe threads and echo slots, and waits up to `timeoutMs` for the threads alive
// to end and the slots to come back. True when none is left; a thread stuck in name resolution,
// say, keeps it false.
bool CloseProbing(uint32_t timeoutMs);

// What a process holds, for the soak: threads, open descriptors and private memory (Linux).
#pragma once

#include <cstdint>
#include <string>

struct ProcessStats {
  long threads = 0;
  long descriptors = 0;
  long privateKiB = 0;
};

// Hands the memory the allocator keeps free (in every thread's arena) back to the system, so that
// what stays counted is memory in use.
void ReturnFreeMemory();

// `processId` 0 means this process. False when the figures cannot be read.
bool ReadProcessStats(uint32_t processId, ProcessStats& stats);

// "threads 12, descriptors 240, private 5120 KiB"
std::string DescribeProcessStats(const ProcessStats& stats);

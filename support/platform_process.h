// Identity of the calling thread and process, the local time, and the system's name and version.
#pragma once

#include <cstdint>

#include "support/text.h"

namespace platform {

uint32_t CurrentThreadId();
uint32_t CurrentProcessId();

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
};
TimeOfDay LocalTimeOfDay();

struct DateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int utcOffsetMinutes = 0;  // east of UTC, as in force at that moment
};
// The local time and its offset from UTC, read at one instant.
DateTime LocalDateTime();

// Milliseconds since an arbitrary start; wraps like the Windows tick count.
uint32_t TickCount();

// The operating system's name and version as it really is, compatibility shims aside:
// "Windows 10.0.19045", "Linux 6.1.0-18-amd64". Empty when it cannot be read.
Text SystemVersionText();

}  // namespace platform

// Identity of the calling thread and process, and the local time.
#pragma once

#include <cstdint>

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
};
DateTime LocalDateTime();

// Milliseconds since an arbitrary start; wraps like the Windows tick count.
uint32_t TickCount();

}  // namespace platform

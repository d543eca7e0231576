#include <sys/utsname.h>
#include <unistd.h>

#include <ctime>

#include "support/platform_process.h"

namespace platform {

uint32_t CurrentThreadId() { return static_cast<uint32_t>(gettid()); }
uint32_t CurrentProcessId() { return static_cast<uint32_t>(getpid()); }

TimeOfDay LocalTimeOfDay() {
  const time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  return {local.tm_hour, local.tm_min, local.tm_sec};
}

DateTime LocalDateTime() {
  const time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int>(local.tm_gmtoff / 60)};
}

uint32_t TickCount() {
  struct timespec ts {};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                               static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

Text SystemVersionText() {
  struct utsname system {};
  if (uname(&system) != 0) return Text();
  return FromUtf8(system.sysname) + L" " + FromUtf8(system.release);
}

}  // namespace platform

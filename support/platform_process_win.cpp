#include <windows.h>

#include <type_traits>

#include "support/platform_process.h"
#include "support/windows_version.h"

namespace platform {
namespace {

// ntdll's exports are __stdcall: on 32-bit x86 a pointer without it would unbalance the stack.
using RtlGetVersionFunction = LONG(NTAPI*)(OSVERSIONINFOW*);
static_assert(std::is_same_v<RtlGetVersionFunction, LONG(__stdcall*)(OSVERSIONINFOW*)>,
              "RtlGetVersion is called as __stdcall");

// Minutes between the local time and UTC; exact for every zone, none is offset by seconds.
int MinutesBetween(const SYSTEMTIME& local, const SYSTEMTIME& utc) {
  FILETIME localFile{};
  FILETIME utcFile{};
  if (!SystemTimeToFileTime(&local, &localFile) || !SystemTimeToFileTime(&utc, &utcFile)) return 0;
  const auto ticks = [](const FILETIME& f) {
    return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) |
                                  f.dwLowDateTime);
  };
  constexpr long long kTicksPerMinute = 60LL * 10000000LL;
  return static_cast<int>((ticks(localFile) - ticks(utcFile)) / kTicksPerMinute);
}

}  // namespace

uint32_t CurrentThreadId() { return GetCurrentThreadId(); }
uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

TimeOfDay LocalTimeOfDay() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond};
}

DateTime LocalDateTime() {
  // Both from one instant, so that a change of daylight saving time cannot fall between them.
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  utc.wMilliseconds = 0;
  SYSTEMTIME now{};
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &now)) now = utc;
  return {now.wYear,
          now.wMonth,
          now.wDay,
          now.wHour,
          now.wMinute,
          now.wSecond,
          MinutesBetween(now, utc)};
}

uint32_t TickCount() { return GetTickCount(); }

Text SystemVersionText() {
  // GetVersionExW answers what the manifest claims to support, not what runs.
  HMODULE const ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void*>(ntdll ? GetProcAddress(ntdll, "RtlGetVersion") : nullptr));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (rtlGetVersion == nullptr || rtlGetVersion(&version) != 0) return Text();
  return WindowsVersionText(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
}

}  // namespace platform

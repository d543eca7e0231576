#include <windows.h>

#include <tlhelp32.h>

#include "support/handle_win.h"
#include "tests/probe/cpu_time.h"

double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  const auto value = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime) /
           10000.0;
  };
  return value(kernel) + value(user);
}

int ProcessThreadCount() {
  FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot.valid()) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID == self) ++count;
  }
  return count;
}

// Wine shows the Unix file system as drive Z:.
std::string ProcFolder() { return "Z:\\proc"; }

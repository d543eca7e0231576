#include "tests/gui/thread_hold.h"

namespace {

void CloseEventFiles(const DEBUG_EVENT& event) {
  if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile) {
    CloseHandle(event.u.CreateProcessInfo.hFile);
  }
  if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile) {
    CloseHandle(event.u.LoadDll.hFile);
  }
}

// Exceptions of the process are its own business, except the break-in of the attach.
DWORD ContinueStatus(const DEBUG_EVENT& event) {
  if (event.dwDebugEventCode != EXCEPTION_DEBUG_EVENT) return DBG_CONTINUE;
  return event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT
             ? DBG_CONTINUE
             : DBG_EXCEPTION_NOT_HANDLED;
}

bool IsAttachBreakpoint(const DEBUG_EVENT& event) {
  return event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
         event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT;
}

DWORD Remaining(ULONGLONG end) {
  const ULONGLONG now = GetTickCount64();
  return now >= end ? 0 : static_cast<DWORD>(end - now);
}

}  // namespace

bool ThreadHold::HoldNewThreads(DWORD processId, int count, int timeoutMs,
                                const std::function<void()>& trigger,
                                const std::function<void(int index)>& started, Text& error) {
  if (!DebugActiveProcess(processId)) {
    error = L"cannot attach to the process";
    return false;
  }
  // The process must live on when the driver ends.
  DebugSetProcessKillOnExit(FALSE);
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  DEBUG_EVENT event{};

  // The attach reports the process, its threads and modules, then a break-in thread stops at a
  // breakpoint and ends. Everything up to a quiet moment after that belongs to the attach.
  bool attached = false;
  for (;;) {
    const DWORD wait = attached ? 300 : Remaining(end);
    if (!WaitForDebugEvent(&event, wait)) break;
    CloseEventFiles(event);
    if (IsAttachBreakpoint(event)) attached = true;
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, ContinueStatus(event));
  }
  if (!attached) {
    DebugActiveProcessStop(processId);
    error = L"the attach did not complete";
    return false;
  }

  trigger();
  while (Held() < count) {
    if (!WaitForDebugEvent(&event, Remaining(end))) break;
    CloseEventFiles(event);
    if (event.dwDebugEventCode == CREATE_THREAD_DEBUG_EVENT) {
      HANDLE const thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, event.dwThreadId);
      if (thread != nullptr && SuspendThread(thread) != static_cast<DWORD>(-1)) {
        started(Held());
        threads_.push_back(thread);
      } else if (thread != nullptr) {
        CloseHandle(thread);
      }
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, ContinueStatus(event));
  }
  DebugActiveProcessStop(processId);
  if (Held() < count) {
    error = L"only " + ToText(Held()) + L" of " + ToText(count) + L" threads started";
    return false;
  }
  return true;
}

void ThreadHold::Release() {
  for (HANDLE thread : threads_) {
    ResumeThread(thread);
    CloseHandle(thread);
  }
  threads_.clear();
}

#include <windows.h>

#include <thread>

#include "support/handle_win.h"
#include "tests/common/thread_end.h"

// A waiter on the thread's handle, not a thread_local's destructor: under mingw-w64's winpthreads
// one ran at a thread's exit into a freed mutex (std::system_error, page faults in the heap).
void NotifyWhenThisThreadEnds(std::function<void()> notify) {
  FileHandle thread(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId()));
  if (!thread.valid()) return;
  std::thread([thread = std::move(thread), notify = std::move(notify)] {
    WaitForSingleObject(thread.get(), INFINITE);
    notify();
  }).detach();
}
